// Duration of the initial stage of a fire: see uInitialStage.h.
#include "uInitialStage.h"

#include "uNumberText.h"

#include <cmath>

TInitialStageStatus CalcInitialStageDuration(TCalcParamsOrvann& cp)
{
    // The dialog takes the reduced duration in minutes; the record keeps seconds.
    cp.value11 = cp.value11 * 60;

    const long double v = cp.param6, psi = cp.param7, heat = cp.param8;
    const long double p = v * v * heat * psi;
    // A mix that does not spread, burn out or release heat has no initial stage to
    // scale: the cube root's argument would be infinite.
    if (!std::isfinite(p) || !(p > 0))
        return TInitialStageStatus::ZeroFireProperties;

    long double duration;
    if (cp.param3 > InitialStageLargeVolumeAbove)
        duration = 1e-2L * 8.9L * cp.value11 * std::cbrt((0.01L * cp.value13 + 0.73L) / p);
    else
        duration = 1e-2L * 0.94L * cp.value11 * std::cbrt(1000 / p);
    if (!std::isfinite(duration))
        return TInitialStageStatus::ZeroFireProperties;

    cp.value12 = duration;
    cp.CalculatedNSP = true;
    cp.CalculatedVOP = false;
    return TInitialStageStatus::Ok;
}

QString InitialStageResultText(const TCalcParamsOrvann& cp, TInitialStageStatus status)
{
    if (status != TInitialStageStatus::Ok)
        return InitialStageText::ZeroFireProperties;
    return InitialStageText::DurationPrefix + FormatSeconds(cp.value12);
}
