// Detection time with optimisation over a growing fire: see uOptimised.h.
#include "uOptimised.h"

#include "uNumberText.h"

#include <cmath>
#include <numbers>
#include <optional>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// Temperatures equal up to the rounding of the correlations' powers.
bool SameTemperature(long double a, long double b)
{
    return std::fabs(a - b) <= 1e-12L * std::fmax(std::fabs(a), std::fabs(b));
}

bool NotDetectable(TCalcParamsOrvann& cp)
{
    cp.TimeResult = Outcome::NotDetected;
    return false;
}

// Time for the fire to grow to the critical area by the fire-development method.
std::optional<long double> TimeToCriticalArea(const TCalcParamsOrvann& cp, long double fcr)
{
    const long double v = cp.param6;
    switch (cp.method) {
    case 1: return std::sqrt(fcr / (Pi * v * v));
    case 2: return fcr / (cp.param13 * v * cp.param14);
    case 3: return 0.0L;
    case 4: return cp.param15;
    case 5: return std::sqrt(fcr / (v * cp.param16));
    default: return std::nullopt;
    }
}

// Burning area at the time t, never above F; methods 3 and 4 burn the critical area.
long double BurningArea(const TCalcParamsOrvann& cp, long double t, long double fcr)
{
    const long double v = cp.param6;
    long double area = 0;
    switch (cp.method) {
    case 1: area = (v * t) * (v * t) * Pi; break;
    case 2: area = cp.param13 * cp.param14 * v * t; break;
    case 3:
    case 4: area = fcr; break;
    case 5: area = t * t * v * cp.param16; break;
    default: area = 0; break;
    }
    return cp.param4 < area ? cp.param4 : area;
}

} // namespace

bool CalcCP(TCalcParamsOrvann& cp)
{
    const long double h = cp.param1, l = cp.param2, f = cp.param4;
    const long double t0 = cp.param10, tact = cp.param11, rti = cp.param12;
    const long double heatPerArea = cp.param5 * cp.param7 * cp.param8; // η · ψ · Qн

    cp.TimeResult = 0;
    cp.tbl_stop = 0;

    cp.value1 = 0.36L * h;
    long double d = l - cp.value1;
    // A spacing typed as 0.36·H differs from the computed 0.36·H only by the rounding of
    // the two number formats; it is meant as d = 0, the boundary of the far field.
    if (std::fabs(d) <= 1e-12L * std::fmax(std::fabs(l), std::fabs(cp.value1)))
        d = 0;
    cp.value2 = d;
    const bool farField = d >= 0;

    // The correlations need a ceiling, a sensor distance and an activation temperature
    // above the initial one; without them no critical rate exists.
    if (!(h > 0) || (farField && !(l > 0)) || !(tact > t0))
        return NotDetectable(cp);

    const long double rise = tact - t0;
    const long double qcr = farField ? std::pow(rise * h / 5.38L, 1.5L) * l
                                     : std::pow(std::pow(h, 5.0L / 3) * rise / 16.9L, 1.5L);
    if (!std::isfinite(qcr) || !(qcr > 0))
        return NotDetectable(cp);
    cp.value3 = qcr;

    // A fire load that releases no heat never reaches the critical rate.
    if (!(heatPerArea > 0))
        return NotDetectable(cp);
    const long double fcr = qcr / heatPerArea;
    if (!std::isfinite(fcr))
        return NotDetectable(cp);
    cp.value4 = fcr;
    if (f < fcr)
        return NotDetectable(cp);

    // An unknown method has no growth law: its table starts at 0 s with no area, so no
    // step responds.
    long double tcr = 0;
    const auto grow = TimeToCriticalArea(cp, fcr);
    if (grow && (!std::isfinite(*grow) || *grow < 0))
        return NotDetectable(cp); // a fire that does not spread never reaches Fcr
    if (grow)
        tcr = *grow;

    const long double ucr = farField ? 0.197L * std::cbrt(qcr) * std::sqrt(h) / std::pow(l, 5.0L / 6)
                                     : 0.946L * std::cbrt(qcr / h);
    if (!std::isfinite(ucr) || !(ucr > 0))
        return NotDetectable(cp);
    const long double responseAt1K = rti / std::sqrt(ucr) * std::log(rise + 1);
    if (!std::isfinite(responseAt1K))
        return NotDetectable(cp);
    if (grow)
        cp.value5 = tcr;
    cp.value6 = ucr;
    cp.value7 = responseAt1K;

    cp.tbl.assign(8, TEArray(OptimisedSteps + 1, 0.0L));
    bool responded = false;
    bool turned = false;
    long double minimum = -1;
    for (int32_t i = 1; i <= OptimisedSteps; ++i) {
        const long double t = i + tcr;
        const long double area = BurningArea(cp, t, fcr);
        const long double q = heatPerArea * area;
        long double tg, u;
        if (farField) {
            tg = 5.38L * std::pow(q / l, 2.0L / 3) / h + t0;
            u = 0.197L * std::cbrt(q) * std::sqrt(h) / std::pow(l, 5.0L / 6);
        } else {
            tg = 16.9L * std::pow(q, 2.0L / 3) / std::pow(h, 5.0L / 3) + t0;
            u = 0.946L * std::cbrt(q / h);
        }
        cp.tbl[1][i] = t;
        cp.tbl[2][i] = area;
        cp.tbl[3][i] = q;
        cp.tbl[4][i] = tg;
        cp.tbl[5][i] = u;

        // The sensor responds only to gas hotter than Tact (ratio finite and above 1);
        // gas at Tact would need an infinite time. A steady fire of exactly the critical
        // area (methods 3 and 4, or F = Fcr) heats the gas to Tact up to rounding, so a
        // difference within rounding counts as equal.
        const long double ratio = (tg - t0) / (tg - tact);
        long double td = 0;
        bool responds = std::isfinite(ratio) && ratio > 1 && u > 0 && !SameTemperature(tg, tact);
        if (responds) {
            td = rti / std::sqrt(u) * std::log(ratio) + t;
            responds = std::isfinite(td);
        }
        if (!responds) {
            cp.tbl[6][i] = OptimisedNoResponse;
            cp.tbl[7][i] = OptimisedNoResponse;
        } else {
            cp.tbl[6][i] = td;
            if (!responded) {
                minimum = td;
                responded = true;
            }
            if (minimum >= td) {
                cp.tbl[7][i] = 0;
                minimum = td;
            } else {
                cp.tbl[7][i] = 1;
                if (!turned) {
                    cp.TimeResult = td;
                    cp.tbl_stop = i;
                    turned = true;
                }
            }
        }
        cp.tbl_time = i;
    }

    if (!responded)
        return NotDetectable(cp);
    cp.CalculatedVOP = true;
    return true;
}

QString OptimisedResultText(const TCalcParamsOrvann& cp)
{
    if (cp.TimeResult == Outcome::NotDetected)
        return OptimisedText::NotDetected;
    return OptimisedText::DetectionTimePrefix + FormatSeconds(cp.TimeResult);
}

QStringList OptimisedDebugLines(const TCalcParamsOrvann& cp)
{
    QStringList lines;
    const long double params[] = { cp.param1, cp.param2,  cp.param3,  cp.param4,  cp.param5,
                                   cp.param6, cp.param7,  cp.param8,  cp.param9,  cp.param10,
                                   cp.param11, cp.param12, cp.param13, cp.param14 };
    for (int i = 0; i < 14; ++i)
        lines << QStringLiteral("param%1\t").arg(i + 1) + FormatGeneral(params[i]);
    lines << QString();
    const long double values[] = { cp.value1, cp.value2, cp.value3, cp.value4,
                                   cp.value5, cp.value6, cp.value7 };
    for (int i = 0; i < 7; ++i)
        lines << QStringLiteral("value%1\t").arg(i + 1) + FormatGeneral(values[i]);
    lines << QString();

    auto cell = [&cp](int row, int col) -> long double {
        if (row < 0 || static_cast<size_t>(row) >= cp.tbl.size())
            return 0;
        const TEArray& r = cp.tbl[static_cast<size_t>(row)];
        return col >= 0 && static_cast<size_t>(col) < r.size() ? r[static_cast<size_t>(col)] : 0;
    };
    for (int32_t i = 1; i <= cp.tbl_time; ++i) {
        QString line = QString::number(i) + QLatin1Char('\t');
        for (int row = 1; row <= 6; ++row)
            line += FormatGeneral(RoundHalfEven(cell(row, i) * 100) / 100) + QLatin1Char('\t');
        const long double mark = cell(7, i);
        line += mark == 0 ? OptimisedText::StepComputed
              : mark == OptimisedNoResponse ? OptimisedText::StepNoResponse
                                            : OptimisedText::StepStop;
        lines << line;
    }
    return lines;
}
