// Duration of the initial stage of a fire (the time to flashover): the entered reduced
// duration scaled by the fire properties of the chosen mix, by one of two formulas chosen
// by the zone volume.
#pragma once

#include "uCalcRecord.h"

#include <QString>

namespace InitialStageText {
inline const QString ZeroFireProperties = QStringLiteral(
    "Расчет НСП невозможен: у выбранной горючей нагрузки нулевая скорость распространения "
    "пламени, скорость выгорания или теплота сгорания");
inline const QString DurationPrefix = QStringLiteral("Продолжительность начальной стадии пожара: ");
}

// Volumes above this use the large-volume formula (m³); exactly 3000 uses the small one.
constexpr long double InitialStageLargeVolumeAbove = 3000.0L;

enum class TInitialStageStatus {
    Ok,
    ZeroFireProperties, // v, ψ or Qн of the mix is zero (or the result would be undefined)
};

// Reads param3 (V, m³), param6 (v), param7 (ψ), param8 (Qн), value13 (g, reduced fire
// load, kg/m²) and value11 (reduced duration in MINUTES, as the dialog entered it).
// Always converts value11 to seconds (value11 := value11 · 60). Then, with
// P := v² · Qн · ψ:
//   V > 3000: value12 := 0.089 · value11 · ((0.01·g + 0.73) / P)^(1/3)
//   V ≤ 3000: value12 := 0.0094 · value11 · (1000 / P)^(1/3)
// and CalculatedNSP := true, CalculatedVOP := false; returns Ok.
// When P is not positive or the duration would be infinite or undefined, returns
// ZeroFireProperties and leaves value12 and the flags as they were.
TInitialStageStatus CalcInitialStageDuration(TCalcParamsOrvann& cp);

// The run's message: "Продолжительность начальной стадии пожара: " + Round(value12) + " сек"
// for Ok, the refusal text otherwise.
QString InitialStageResultText(const TCalcParamsOrvann& cp, TInitialStageStatus status);
