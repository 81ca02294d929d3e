// Fire-load combination: the combined properties under the rules, value13 and its
// rounding, the four formula texts, the chart recommendation with its band limits, and
// the refusal of a mix without any amount.
#include "LocaleGuard.h"
#include "uFireLoadMix.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

TFireLoad Load(long double q, long double p1, long double p2 = 0, long double p3 = 0, long double ccc = 0)
{
    TFireLoad f;
    f.PFlammableLoad = q;
    f.P1LowestHeat = p1;
    f.P2LinearFlameSpeed = p2;
    f.P3BurnoutSpeed = p3;
    f.CCC = ccc;
    return f;
}

// Two loads of the worked example: q = 10 of a reference-like material and q = 5 of a
// faster-spreading one.
std::vector<TFireLoad> WorkedMix()
{
    return {Load(10, 13800, 0.0108L, 0.0145L, 0.9L), Load(5, 13000, 0.02L, 0.01L, 0.8L)};
}

} // namespace

TEST(FireLoadMix, WorkedExampleUnderCommaLocale)
{
    LocaleGuard ru(LocaleGuard::Russian());
    const TFireLoadMix m = CalcFireLoad(WorkedMix(), DefaultFireLoadMixRules(), 3, 300);
    ASSERT_TRUE(m.Computed);
    EXPECT_FALSE(m.ZeroTotal);
    EXPECT_EQ(m.value13calc, "10*13800/13800 + 5*13000/13800");
    EXPECT_EQ(m.FLFinal_param06calc, "0,0108; 0,02");
    EXPECT_EQ(m.FLFinal_param07calc, "(10*0,0145 + 5*0,01)/15");
    EXPECT_EQ(m.FLFinal_param08calc, "(10*13800 + 5*13000)/15");
    EXPECT_EQ(m.value13, 15); // 10 + 4.71
    EXPECT_EQ(m.value13Text, "15");

    // Initial rules: the maximum flame speed, the weighted means elsewhere, the total amount.
    EXPECT_EQ(m.FireLoadFinal.P2LinearFlameSpeed, 0.02L);
    EXPECT_NEAR(double(m.FireLoadFinal.P3BurnoutSpeed), 0.013, 1e-15);
    EXPECT_NEAR(double(m.FireLoadFinal.P1LowestHeat), 203000.0 / 15, 1e-9);
    EXPECT_EQ(m.FireLoadFinal.PFlammableLoad, 15);
    EXPECT_NEAR(double(m.FireLoadFinal.CCC), 0.85, 1e-15); // the plain mean, not weighted
    EXPECT_EQ(m.TotalLoad, 15);
    EXPECT_TRUE(m.FireLoadFinal.Name.isEmpty());

    EXPECT_EQ(m.PropertyTexts[fpP1LowestHeat], "13533"); // shown as a whole number
    EXPECT_EQ(m.PropertyTexts[fpP3BurnoutSpeed], "0,013");
    EXPECT_EQ(m.PropertyTexts[fpP2LinearFlameSpeed], "0,02");
    EXPECT_EQ(m.PropertyTexts[fpCCC], "0,85");
    EXPECT_EQ(m.FireLoadFinalText, "15");

    EXPECT_EQ(m.Recommendation.Minutes, 7); // A = 300, t = 397.65 s
    EXPECT_TRUE(m.Recommendation.Warning.isEmpty());
}

TEST(FireLoadMix, TextsFollowTheUsersSeparator)
{
    LocaleGuard en(LocaleGuard::English());
    const TFireLoadMix m = CalcFireLoad(WorkedMix(), DefaultFireLoadMixRules(), 3, 300);
    EXPECT_EQ(m.FLFinal_param06calc, "0.0108; 0.02");
    EXPECT_EQ(m.FLFinal_param07calc, "(10*0.0145 + 5*0.01)/15");
    EXPECT_EQ(m.PropertyTexts[fpCCC], "0.85");
}

TEST(FireLoadMix, SingleLoadGivesItsOwnValuesUnderEveryRule)
{
    LocaleGuard ru(LocaleGuard::Russian());
    const std::vector<TFireLoad> one = {Load(2.5L, 16700, 0.015L, 0.012L, 0.95L)};
    for (TMixRule rule : {TMixRule::Max, TMixRule::Average, TMixRule::Min}) {
        TFireLoadMixRules rules;
        rules.fill(rule);
        const TFireLoadMix m = CalcFireLoad(one, rules, 3, 300);
        EXPECT_EQ(m.FireLoadFinal.P1LowestHeat, 16700);
        // The mean q·v / q may differ from v in the last bit of the extended real.
        EXPECT_NEAR(double(m.FireLoadFinal.P2LinearFlameSpeed), 0.015, 1e-17);
        EXPECT_NEAR(double(m.FireLoadFinal.P3BurnoutSpeed), 0.012, 1e-17);
        EXPECT_NEAR(double(m.FireLoadFinal.CCC), 0.95, 1e-17);
        EXPECT_EQ(m.FireLoadFinal.PFlammableLoad, 2.5L); // its amount, under every rule
        EXPECT_EQ(m.value13calc, "2,5*16700/13800");
        EXPECT_EQ(m.FLFinal_param06calc, "0,015");
        EXPECT_EQ(m.FLFinal_param07calc, "(2,5*0,012)/2,5");
        EXPECT_EQ(m.FLFinal_param08calc, "(2,5*16700)/2,5");
    }
}

TEST(FireLoadMix, MaximumAndMinimumRunOverTheWholeList)
{
    // Item 0 holds the extremes of P1 (largest) and P2 (smallest); later items must not
    // displace them, and the other extremes come from the middle of the list.
    std::vector<TFireLoad> loads = {Load(1, 40000, 0.001L, 0.02L), Load(1, 10000, 0.05L, 0.001L),
                                    Load(1, 20000, 0.01L, 0.03L)};
    loads[1].P4SmokeFormingAbility = 500;
    loads[2].P6AllocationHCl = 0.2L;
    TFireLoadMixRules max, min;
    max.fill(TMixRule::Max);
    min.fill(TMixRule::Min);
    const TFireLoadMix hi = CalcFireLoad(loads, max, 3, 300);
    const TFireLoadMix lo = CalcFireLoad(loads, min, 3, 300);
    EXPECT_EQ(hi.FireLoadFinal.P1LowestHeat, 40000);
    EXPECT_EQ(hi.FireLoadFinal.P2LinearFlameSpeed, 0.05L);
    EXPECT_EQ(hi.FireLoadFinal.P3BurnoutSpeed, 0.03L);
    EXPECT_EQ(hi.FireLoadFinal.P4SmokeFormingAbility, 500);
    EXPECT_EQ(hi.FireLoadFinal.P6AllocationHCl, 0.2L);
    EXPECT_EQ(lo.FireLoadFinal.P1LowestHeat, 10000);
    EXPECT_EQ(lo.FireLoadFinal.P2LinearFlameSpeed, 0.001L);
    EXPECT_EQ(lo.FireLoadFinal.P3BurnoutSpeed, 0.001L);
    EXPECT_EQ(lo.FireLoadFinal.P4SmokeFormingAbility, 0);
    // Equal amounts: the weighted mean is the plain mean.
    const TFireLoadMix avg = CalcFireLoad(loads, DefaultFireLoadMixRules(), 3, 300);
    EXPECT_NEAR(double(avg.FireLoadFinal.P1LowestHeat), 70000.0 / 3, 1e-9);
    EXPECT_EQ(avg.FireLoadFinal.P2LinearFlameSpeed, 0.05L); // flame speed: maximum by default
    // A selector position reads as its rule; a stray position counts as the average.
    EXPECT_EQ(MixRuleFromIndex(0), TMixRule::Max);
    EXPECT_EQ(MixRuleFromIndex(1), TMixRule::Average);
    EXPECT_EQ(MixRuleFromIndex(2), TMixRule::Min);
    EXPECT_EQ(MixRuleFromIndex(-1), TMixRule::Average);
}

// value13 is the rounded sum, not the sum of rounded terms; halves go to the even number.
TEST(FireLoadMix, Value13RoundedAfterTheSumTiesToEven)
{
    auto value13 = [](std::vector<TFireLoad> loads) {
        return CalcFireLoad(loads, DefaultFireLoadMixRules(), 3, 300).value13;
    };
    EXPECT_EQ(value13({Load(16.5L, 13800)}), 16);
    EXPECT_EQ(value13({Load(17.5L, 13800)}), 18);
    EXPECT_EQ(value13({Load(10.4L, 13800), Load(10.4L, 13800)}), 21); // 20.8, not 10 + 10
    EXPECT_EQ(value13({Load(6, 27600), Load(0.5L, 13800)}), 12);         // 12.5 -> 12
}

TEST(FireLoadMix, EmptyListComputesNothing)
{
    const TFireLoadMix m = CalcFireLoad({}, DefaultFireLoadMixRules(), 3, 300);
    EXPECT_FALSE(m.Computed);
    EXPECT_TRUE(m.value13calc.isEmpty());
    EXPECT_EQ(m.Recommendation.Minutes, -1);
}

// Every load added with amount 0: no division by zero, the means are 0 and the run says
// so, so that the dialog refuses to start.
TEST(FireLoadMix, ZeroTotalIsReportedNotDividedBy)
{
    LocaleGuard ru(LocaleGuard::Russian());
    const TFireLoadMix m =
        CalcFireLoad({Load(0, 13800, 0.01L, 0.02L, 0.9L), Load(0, 12000, 0.03L, 0.01L, 0.7L)},
                     DefaultFireLoadMixRules(), 3, 300);
    ASSERT_TRUE(m.Computed);
    EXPECT_TRUE(m.ZeroTotal);
    EXPECT_FALSE(FireLoadMixText::ZeroTotal.isEmpty());
    EXPECT_EQ(m.FireLoadFinal.P1LowestHeat, 0);
    EXPECT_EQ(m.FireLoadFinal.P3BurnoutSpeed, 0);
    EXPECT_EQ(m.FireLoadFinal.P2LinearFlameSpeed, 0.03L); // the maximum still stands
    EXPECT_NEAR(double(m.FireLoadFinal.CCC), 0.8, 1e-15);
    EXPECT_EQ(m.value13, 0);
    for (const QString& text : m.PropertyTexts)
        EXPECT_FALSE(text.contains("NAN") || text.contains("INF")) << text.toStdString();
    EXPECT_EQ(m.FLFinal_param07calc, "(0*0,02 + 0*0,01)/0");
    // Any amount at all is a valid mix.
    EXPECT_FALSE(CalcFireLoad({Load(0, 13800), Load(0.001L, 13800)}, DefaultFireLoadMixRules(), 3, 300).ZeroTotal);
}

// Small-volume chart (V <= 3000 m³): heights at a band limit belong to the upper band.
TEST(NSPRecommendation, SmallVolumeBands)
{
    struct Case { long double h, V; int minutes; };
    const Case cases[] = {
        {3, 300, 7},       // A = 300: 397.65 s
        {3, 600, 12},      // H0 = 3 from 3 m
        {5.99L, 600, 7},   // still H0 = 3
        {6, 600, 10},      // H0 = 6 from 6 m: A = 600, 584.1 s
        {11.99L, 1200, 10},
        {12, 1200, 13},    // H0 = 12 from 12 m: 766.56 s
        {4, 3000, 23},     // V = 3000 still reads the small chart
    };
    for (const Case& c : cases) {
        const TNSPRecommendation r = RecommendNSPDuration(c.h, c.V, 100);
        EXPECT_EQ(r.Minutes, c.minutes) << double(c.h) << " m, " << double(c.V) << " m³";
        EXPECT_TRUE(r.Warning.isEmpty());
    }
    const TNSPRecommendation low = RecommendNSPDuration(2.99L, 300, 100);
    EXPECT_EQ(low.Minutes, -1);
    EXPECT_EQ(low.Warning, FireLoadMixText::NoHeightData);
}

// Large-volume chart: height limits go to the upper band, fire-load limits to the lower.
TEST(NSPRecommendation, LargeVolumeBandLimits)
{
    struct Case { long double h, V, q; int minutes; };
    const Case cases[] = {
        {10, 20000, 100, 35}, // row 8, K = 1.82: 34.909
        {4.8L, 10000, 70, 28}, {5, 10000, 70, 27},
        {6.59L, 10000, 70, 21},  // still 4.8 m band
        {6.6L, 10000, 14, 41}, {7, 10000, 14, 40}, {7, 10000, 15, 33},
        {7, 10000, 119, 33}, {7, 10000, 120, 17}, {7, 10000, 640, 17},
        {7.19L, 10000, 14, 40},  // still 6.6 m band
        {7.2L, 10000, 66, 30}, {8, 10000, 66, 28}, {8, 10000, 67, 25},
        {8, 10000, 155, 25}, {8, 10000, 156, 23}, {8, 10000, 200, 23},
        {9.09L, 10000, 66, 25},  // still 7.2 m band
        {9.1L, 10000, 60, 24}, {10, 10000, 60, 22}, {10, 10000, 61, 21},
        {10, 10000, 160, 21}, {10, 10000, 161, 18}, {10, 10000, 250, 18},
        {10, 10000, 251, 12}, {10, 10000, 550, 12},
        {4, 3000, 100, 23}, // 4 m and V <= 3000: the small chart with H0 = 3
    };
    for (const Case& c : cases) {
        const TNSPRecommendation r = RecommendNSPDuration(c.h, c.V, c.q);
        EXPECT_EQ(r.Minutes, c.minutes) << double(c.h) << " m, " << double(c.V) << " m³, q " << double(c.q);
        EXPECT_TRUE(r.Warning.isEmpty());
    }

    struct Refusal { long double h, V, q; const QString* warning; };
    const Refusal refusals[] = {
        {4, 3001, 10, &FireLoadMixText::NoHeightData},
        {4.79L, 10000, 10, &FireLoadMixText::NoHeightData},
        {5, 10000, 71, &FireLoadMixText::NoFireLoadData},
        {7, 10000, 641, &FireLoadMixText::NoFireLoadData},
        {8, 10000, 201, &FireLoadMixText::NoFireLoadData},
        {10, 10000, 551, &FireLoadMixText::NoFireLoadData},
    };
    for (const Refusal& c : refusals) {
        const TNSPRecommendation r = RecommendNSPDuration(c.h, c.V, c.q);
        EXPECT_EQ(r.Minutes, -1) << double(c.h) << " m, q " << double(c.q);
        EXPECT_EQ(r.Warning, *c.warning) << double(c.h) << " m, q " << double(c.q);
    }
}

TEST(NSPRecommendation, KLimitedToKmax)
{
    // Row 10 (Kmax 2.5): every volume past K = 2.5 reads the same value.
    EXPECT_EQ(RecommendNSPDuration(10, 25000, 300).Minutes, 23); // K = 2.275
    EXPECT_EQ(RecommendNSPDuration(10, 100000, 300).Minutes, 24);
    EXPECT_EQ(RecommendNSPDuration(10, 1000000, 300).Minutes, 24);
    // Row 1 (Kmax 1.8): the unlimited cubic would turn up again past its minimum.
    const int atKmax = RecommendNSPDuration(6.6L, 18000, 10).Minutes;
    EXPECT_EQ(atKmax, 48); // 15.445·1.8³ − 60.51·1.8² + 85.66·1.8 = 48.21
    EXPECT_EQ(RecommendNSPDuration(6.6L, 200000, 10).Minutes, 48); // K = 20 would give 101069
}

TEST(NSPRecommendation, NonNumbersGiveNoValue)
{
    const TNSPRecommendation r = RecommendNSPDuration(std::nan(""), 300, 10);
    EXPECT_EQ(r.Minutes, -1);
    EXPECT_EQ(r.Warning, FireLoadMixText::NoHeightData);
}

// The chart reading behind the recommendation and the drawn charts: which curve a zone
// reads and where, so that the drawn point sits on the curve of its band.
TEST(NSPRecommendation, ChartReadingNamesTheCurveAndTheEquivalentVolume)
{
    const TDesignChartReading small = ReadDesignChart(6.5L, 600, 10);
    EXPECT_FALSE(small.Large);
    EXPECT_EQ(small.Band, 1); // the 6 m curve
    EXPECT_NEAR(double(small.Equivalent), 600 / 6.5 * 6, 1e-12);
    EXPECT_EQ(small.Value, SmallChartSeconds(SmallVolumeChart()[1], small.Equivalent));

    const TDesignChartReading large = ReadDesignChart(10, 20000, 100);
    EXPECT_TRUE(large.Large);
    EXPECT_EQ(large.Band, 3);
    EXPECT_EQ(large.Row, 1); // 60 < q <= 160
    EXPECT_NEAR(double(large.Equivalent), 1.82, 1e-15);
    EXPECT_NEAR(double(large.Value), 34.909, 1e-3);

    // Beyond Kmax the reading is the curve's flat end, and the equivalent volume is kept.
    const TDesignChartReading far = ReadDesignChart(9.1L, 200000, 300);
    EXPECT_NEAR(double(far.Equivalent), 20, 1e-12);
    EXPECT_EQ(far.Value, LargeChartMinutes(LargeVolumeChart()[3].rows[3], 2.5L));

    EXPECT_FALSE(ReadDesignChart(10, 20000, 551).HasValue());
    EXPECT_EQ(ReadDesignChart(10, 20000, 551).Band, 3);
    EXPECT_FALSE(ReadDesignChart(4.7L, 20000, 10).HasValue());
    EXPECT_EQ(ReadDesignChart(4.7L, 20000, 10).Band, -1);
}
