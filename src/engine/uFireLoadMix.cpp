// Fire-load combination and the chart recommendation: see uFireLoadMix.h.
#include "uFireLoadMix.h"

#include "uNumberText.h"

#include <algorithm>
#include <cmath>

namespace {

// The ten properties of TFireLoad in selector order.
constexpr std::array<long double TFireLoad::*, FireLoadPropertyCount> Properties = {
    &TFireLoad::P1LowestHeat,      &TFireLoad::P2LinearFlameSpeed, &TFireLoad::P3BurnoutSpeed,
    &TFireLoad::P4SmokeFormingAbility, &TFireLoad::P5OxygenConsumption, &TFireLoad::P6AllocationCO2,
    &TFireLoad::P6AllocationCO,    &TFireLoad::P6AllocationHCl,    &TFireLoad::PFlammableLoad,
    &TFireLoad::CCC,
};

// Rounding to 3 decimals as the dialog shows its figures: ×1000, nearest, ×0.001.
long double Round3(long double x)
{
    return RoundHalfEven(x * 1000) * 0.001L;
}

QString Text(long double x)
{
    return FormatGeneral(x);
}

} // namespace

TFireLoadMixRules DefaultFireLoadMixRules()
{
    TFireLoadMixRules rules;
    rules.fill(TMixRule::Average);
    rules[fpP2LinearFlameSpeed] = TMixRule::Max;
    return rules;
}

TMixRule MixRuleFromIndex(int index)
{
    switch (index) {
    case 0:
        return TMixRule::Max;
    case 2:
        return TMixRule::Min;
    default:
        return TMixRule::Average;
    }
}

const std::vector<TSmallChartCurve>& SmallVolumeChart()
{
    static const std::vector<TSmallChartCurve> chart = {
        {3, 3, 9e-8L, -6e-4L, 1.4974L},
        {6, 6, 5e-8L, -4e-4L, 1.1955L},
        {12, 12, 5e-8L, -3.4e-4L, 0.9748L},
    };
    return chart;
}

const std::vector<TLargeChartBand>& LargeVolumeChart()
{
    static const std::vector<TLargeChartBand> chart = {
        {4.8L, 4.8L, {{70, 4, 0.4783L, -7.1263L, 34.445L}}},
        {6.6L, 6.6L,
         {{14, 1.8L, 15.445L, -60.51L, 85.66L},
          {119, 1.8L, 12.949L, -49.754L, 70.075L},
          {640, 1.8L, -1.9644L, 2.5369L, 17.336L}}},
        {7.2L, 7.2L,
         {{66, 4.8L, 1.1076L, -11.382L, 40.052L},
          {155, 4.8L, 0.8792L, -9.332L, 35.092L},
          {200, 4.8L, 0.8443L, -8.8815L, 33.196L}}},
        {9.1L, 9.1L,
         {{60, 5, 0.332L, -5.21L, 28.94L},
          {160, 5, 0.371L, -5.4L, 27.78L},
          {250, 5, 0.333L, -4.875L, 24.45L},
          {550, 2.5L, 0.1841L, -3.022L, 15.98L}}},
    };
    return chart;
}

long double SmallChartSeconds(const TSmallChartCurve& curve, long double A)
{
    return curve.a * A * A * A + curve.b * A * A + curve.c * A;
}

long double LargeChartMinutes(const TLargeChartRow& row, long double K)
{
    K = std::min(K, row.Kmax);
    return row.a * K * K * K + row.b * K * K + row.c * K;
}

TDesignChartReading ReadDesignChart(long double h, long double V, long double q)
{
    TDesignChartReading r;
    if (!std::isfinite(h) || !std::isfinite(V) || !std::isfinite(q))
        return r;
    r.Large = V > SmallVolumeChartLimit;
    if (!r.Large) {
        const auto& chart = SmallVolumeChart();
        for (size_t i = 0; i < chart.size(); ++i)
            if (h >= chart[i].hMin)
                r.Band = int(i);
        if (r.Band < 0)
            return r;
        const TSmallChartCurve& curve = chart[size_t(r.Band)];
        r.Equivalent = V / h * curve.H0;
        r.Value = SmallChartSeconds(curve, r.Equivalent);
        return r;
    }
    const auto& chart = LargeVolumeChart();
    for (size_t i = 0; i < chart.size(); ++i)
        if (h >= chart[i].hMin)
            r.Band = int(i);
    if (r.Band < 0)
        return r;
    const TLargeChartBand& band = chart[size_t(r.Band)];
    r.Equivalent = V / h * band.H0 / 10000;
    for (size_t i = 0; i < band.rows.size(); ++i)
        if (q <= band.rows[i].qMax) {
            r.Row = int(i);
            break;
        }
    if (r.Row >= 0)
        r.Value = LargeChartMinutes(band.rows[size_t(r.Row)], r.Equivalent);
    return r;
}

TNSPRecommendation RecommendNSPDuration(long double h, long double V, long double q)
{
    TNSPRecommendation r;
    const TDesignChartReading reading = ReadDesignChart(h, V, q);
    if (reading.Band < 0)
        r.Warning = FireLoadMixText::NoHeightData;
    else if (!reading.HasValue())
        r.Warning = FireLoadMixText::NoFireLoadData;
    else
        r.Minutes = RoundToInt(reading.Large ? reading.Value : reading.Value / 60);
    return r;
}

TFireLoadMix CalcFireLoad(const std::vector<TFireLoad>& loads, const TFireLoadMixRules& rules,
                          long double h, long double V)
{
    TFireLoadMix mix;
    if (loads.empty())
        return mix;
    mix.Computed = true;

    TFireLoad maximum = loads.front();
    TFireLoad minimum = loads.front();
    std::array<long double, FireLoadPropertyCount> sums {};

    const TFireLoad& first = loads.front();
    long double value13 = first.P1LowestHeat * first.PFlammableLoad / ReducedFireLoadHeat;
    QString v13 = Text(first.PFlammableLoad) + "*" + Text(first.P1LowestHeat) + "/13800";
    QString p06 = Text(first.P2LinearFlameSpeed);
    QString p07 = Text(first.PFlammableLoad) + "*" + Text(first.P3BurnoutSpeed);
    QString p08 = Text(first.PFlammableLoad) + "*" + Text(first.P1LowestHeat);

    for (size_t i = 0; i < loads.size(); ++i) {
        const TFireLoad& item = loads[i];
        const long double q = item.PFlammableLoad;
        if (i > 0) {
            value13 += item.P1LowestHeat * q / ReducedFireLoadHeat;
            v13 += " + " + Text(q) + "*" + Text(item.P1LowestHeat) + "/13800";
            p07 += " + " + Text(q) + "*" + Text(item.P3BurnoutSpeed);
            p08 += " + " + Text(q) + "*" + Text(item.P1LowestHeat);
            p06 += "; " + Text(item.P2LinearFlameSpeed);
            for (auto field : Properties) {
                maximum.*field = std::max(maximum.*field, item.*field);
                minimum.*field = std::min(minimum.*field, item.*field);
            }
        }
        for (int p = fpP1LowestHeat; p <= fpP6AllocationHCl; ++p)
            sums[p] += item.*Properties[p] * q;
        sums[fpPFlammableLoad] += q;
        sums[fpCCC] += item.CCC;
    }

    const long double Q = sums[fpPFlammableLoad];
    mix.TotalLoad = Q;
    mix.ZeroTotal = (Q == 0);
    std::array<long double, FireLoadPropertyCount> average {};
    for (int p = fpP1LowestHeat; p <= fpP6AllocationHCl; ++p)
        average[p] = mix.ZeroTotal ? 0 : sums[p] / Q; // no mean of nothing: see ZeroTotal
    average[fpPFlammableLoad] = Q;
    average[fpCCC] = sums[fpCCC] / static_cast<long double>(loads.size());

    for (int p = 0; p < FireLoadPropertyCount; ++p) {
        long double value = average[p];
        if (rules[p] == TMixRule::Max)
            value = maximum.*Properties[p];
        else if (rules[p] == TMixRule::Min)
            value = minimum.*Properties[p];
        mix.FireLoadFinal.*Properties[p] = value;
    }

    for (int p = 0; p < FireLoadPropertyCount; ++p) {
        const long double value = mix.FireLoadFinal.*Properties[p];
        mix.PropertyTexts[p] = Text(p == fpP1LowestHeat ? RoundHalfEven(value) : Round3(value));
    }
    mix.FireLoadFinalText = Text(Q);

    mix.value13calc = v13;
    mix.FLFinal_param06calc = p06;
    mix.FLFinal_param07calc = "(" + p07 + ")/" + Text(Q);
    mix.FLFinal_param08calc = "(" + p08 + ")/" + Text(Q);

    mix.value13 = RoundHalfEven(value13);
    mix.value13Text = Text(mix.value13);

    mix.Recommendation = RecommendNSPDuration(h, V, mix.value13);
    return mix;
}
