// Detection time with optimisation over a growing fire. The critical heat release rate is
// the one at which the ceiling jet at the spacing L reaches the activation temperature;
// from the moment the fire reaches it, a table of 500 one-second steps gives for each
// step the time the sensor would respond if the fire stopped growing then. The detection
// time is the first tabulated time above the minimum of the times before it: the point at
// which the curve stops falling.
#pragma once

#include "uCalcRecord.h"

#include <QString>
#include <QStringList>

namespace OptimisedText {
inline const QString NotDetected = QStringLiteral("Пожар не будет обнаружен");
inline const QString DetectionTimePrefix = QStringLiteral("Время обнаружения: ");
inline const QString StepComputed = QStringLiteral("расчет");    // row 7 = 0
inline const QString StepStop = QStringLiteral("стоп");          // row 7 = 1
inline const QString StepNoResponse = QStringLiteral("нет срабатывания"); // row 7 = −1
}

// Steps of the time table.
constexpr int32_t OptimisedSteps = 500;
// Row 6 and row 7 of a step at which the sensor cannot respond.
constexpr long double OptimisedNoResponse = -1;

// Reads param1 (H), param2 (L), param4 (F), param5 (η), param6 (v), param7 (ψ),
// param8 (Qн), param10 (T0), param11 (Tact), param12 (RTI), param13 (n), param14 (b),
// param15 (tst), param16 (vv) and method.
// Sets TimeResult := 0 and tbl_stop := 0, then writes value1 (0.36·H), value2
// (d = L − 0.36·H, not rounded, but a difference within the rounding of
// the number formats counts as 0; d < 0 near field, d ≥ 0 far field), value3 (Qcr, kW),
// value4 (Fcr, m²). If F < Fcr the fire is not detectable: TimeResult := −1 and nothing
// else is written. Otherwise value5 (tcr; not written for an unknown method, which then
// grows from 0 s), value6 (ucr), value7, then tbl (8 rows × 501 columns; row 0 and
// column 0 hold 0), tbl_time := 500, and TimeResult / tbl_stop from the turning point
// (TimeResult 0 and tbl_stop 0 when there is none), CalculatedVOP := true.
// A step at which the sensor cannot respond (the gas never exceeds Tact, or the
// logarithm's argument is infinite, zero, negative or undefined) gets row 6 and row 7 :=
// OptimisedNoResponse and takes no part in the running minimum or the turning point. If no
// step responds, TimeResult := −1 and CalculatedVOP is left as it was (the table is kept).
// Any other undefined or infinite intermediate value (zero heat of the fire load, zero
// height, Tact not above T0, a fire that cannot grow) also ends with TimeResult := −1,
// leaving the fields from that value on as they were; no infinite or undefined number
// is ever stored. Returns true when TimeResult ≠ −1.
bool CalcCP(TCalcParamsOrvann& cp);

// The run's announcement for TimeResult: "Пожар не будет обнаружен" for −1, otherwise
// "Время обнаружения: " + Round(TimeResult) + " сек".
QString OptimisedResultText(const TCalcParamsOrvann& cp);

// The run's debug log, written on every accepted run: param1 … param14 (name, tab, value
// in the general number format); an empty line; value1 … value7; an empty line; then for
// each column i = 1 … tbl_time: i, a tab, rows 1 … 6 each as Round(x·100)/100 in the
// general format followed by a tab, and "расчет" (row 7 = 0), "стоп" (row 7 = 1) or
// "нет срабатывания" (a step without response).
QStringList OptimisedDebugLines(const TCalcParamsOrvann& cp);
