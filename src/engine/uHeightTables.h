// Detection time by the normative height tables: the standard detection-time run's
// calculation. The fire grows with the square of time; the sensors lie on a square grid
// of spacing L. For the zone height and sensor class the tables give the greatest
// permitted spacing and the smallest detectable heat release rate; the detection time is
// the time the fire needs to reach a critical heat release rate plus the sensor's
// inertia time, both rounded to whole seconds (ties to even) before they are added.
#pragma once

#include "uCalcRecord.h"

#include <QString>
#include <QStringList>

// Texts the standard run shows for its outcomes (status bar and message box).
namespace HeightTablesText {
inline const QString FireTooWeak =
    QStringLiteral("Пожар не будет обнаружен (требуется увеличить площадь горючей нагрузки)");
inline const QString SpacingTooWide =
    QStringLiteral("Пожар не будет обнаружен (требуется уменьшить расстояние между извещателями)");
inline const QString HeightOver16 =
    QStringLiteral("Расчет невозможен: для высоты помещения более 16 м нормативные таблицы не содержат данных");
inline const QString NotComputable =
    QStringLiteral("Расчет невозможен: при заданных исходных данных время обнаружения не определено");
inline const QString DetectionTimePrefix = QStringLiteral("Время обнаружения: ");
}

// Zone heights below this use CalcCPSimple2, from it on CalcCPSimple3 (m).
constexpr long double HeightTablesUpperBranchFrom = 9.0L;

// Heights below 9 m (Table A). Reads param1 (H), param2 (L), param4 (F), param5 (η),
// param6 (v), param7 (ψ), param8 (Qн), param10 (T0), param11 (Tact), param12 (RTI) and
// BOSClass (1 = A2, 2 = A3). Writes value1s (Q), value2s (Qmin = 250), value3s (Lmax),
// value4s (α), value7s (Qcr), value8s (tQ), value9s (tin = Round(RTI / 0.894)),
// value10s, VOPResult and the flags; a failing path stops at its check and leaves every
// later field as it was.
// value10s outcomes: a time ≥ 0 (VOPResult := value10s, CalculatedVOP := true,
// CalculatedNSP := false); Outcome::FireTooWeak (Q < Qmin) or Outcome::SpacingTooWide
// (L > Lmax), both with CalculatedVOP := true; Outcome::NotComputable when the zone is
// higher than 9 m (no row of Table A), the class is not 1 or 2, the fire cannot grow (α ≤ 0) or the
// critical-rate formula is undefined for the temperatures entered (b + c·(Tact − T0) ≤ 0);
// the flags are then unchanged. A height of 1 m or less uses the first rows of Table A.
// Returns true when a detection time was found.
bool CalcCPSimple2(TCalcParamsOrvann& cp);

// Heights of 9 m and more (Table B; exactly 9 m uses the 9 … 10 m row). Reads the same
// fields. Writes value1s (Q), value2s (Qmin), value3s (Lmax), value4s (α), value5s (K),
// value6s (L · 1000 / K), value7s (Qcr = max(value6s, Qmin)), value8s (tQ),
// value9s (tin = Round(RTI / 0.447)), value10s, VOPResult and the flags, with the
// outcomes of CalcCPSimple2, plus Outcome::HeightOver16 for a zone above 16 m (after
// value1s; flags unchanged). Outcome::NotComputable here means a height below 9 m, an
// unknown class or α ≤ 0. Returns true when a detection time was found.
bool CalcCPSimple3(TCalcParamsOrvann& cp);

// The run's choice: CalcCPSimple3 when param1 ≥ 9, else CalcCPSimple2.
bool CalcHeightTables(TCalcParamsOrvann& cp);

// The height-table figures of `cp` for its inputs and its present spacing param2: a copy
// of the record with value1s … value10s set to 0 and then written by CalcHeightTables
// (fields a failing path does not reach stay 0). The quick recalculation rewrites
// value1s … value8s with ceiling-jet figures and param2 with the spacing of the layout
// whenever sensors move or the zone is selected again, so the record alone no longer
// holds the figures of this method; the report of the standard run prints these instead.
// `cp` itself is not changed.
TCalcParamsOrvann HeightTableFigures(const TCalcParamsOrvann& cp);

// The text the standard run announces for the record's value10s: one of the outcome
// texts above, or "Время обнаружения: " + Round(VOPResult) + " сек".
QString HeightTablesResultText(const TCalcParamsOrvann& cp);

// The part of the runs' debug logs that shows the dialog's inputs, and the whole debug log
// of the fire-load run: param1 … param16; an empty line; value11, value13, value13calc,
// param06calc, param07calc, param08calc (16 + 1 + 6 lines). Each line is the field name, a
// tab and the value in the general number format (texts as they are).
QStringList RecordInputDebugLines(const TCalcParamsOrvann& cp);

// The standard run's debug log (debug mode): param1 … param16; an empty line; value11,
// value13, value13calc, param06calc, param07calc, param08calc; an empty line; value1 …
// value6, value1s, value2s, value3s, value4s0, value4s, value5s … value10s. Each line is
// the field name, a tab and the value in the general number format (texts as they are).
QStringList HeightTablesDebugLines(const TCalcParamsOrvann& cp);
