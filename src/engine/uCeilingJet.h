// Detection time by Alpert's ceiling-jet correlations: the model of the quick
// recalculation after sensors move. The fire is taken to have grown to its full area F
// and to burn steadily; the detection time is the time to cover F plus the response time
// of a heat sensor (response time index RTI) at the critical distance in the steady jet.
#pragma once

#include "uCalcRecord.h"

#include <QString>

namespace CeilingJetText {
inline const QString NotDetected = QStringLiteral("При заданных условиях пожар не будет обнаружен");
inline const QString DetectionTimePrefix = QStringLiteral("Время обнаружения: ");
}

// Gas velocities above this are taken as this value in the response time (m/s).
constexpr long double CeilingJetVelocityLimit = 0.8L;

// Reads param1 (H), param2 (L), param4 (F), param5 (η), param6 (v), param7 (ψ),
// param8 (Qн), param9 (q), param10 (T0), param11 (Tact), param12 (RTI), param13 (n),
// param14 (b), param15 (tst), param16 (vv) and method (1 … 5).
// Writes, in this order: value1s (tF, time to cover F; not written for an unknown
// method), value2s (Q, kW), value1 (0.36·H), value2 (d = L − 0.36·H rounded to 4
// decimals; d > 0 selects the far field, d ≤ 0 the near field), value3s (Tg, K),
// value4s0 (u0, m/s), value4s (u0 limited to 0.8), value5s (tr), value6s (tF + tr),
// VOPResult (= value6s), value7s (burnt mass by value6s; not written for an unknown
// method), value8s (F·q), CalculatedVOP := true, CalculatedNSP := false.
// Not detected: value6s := Outcome::NotDetected (−1) and CalculatedVOP := true, and the
// fields after the failing step keep their values (VOPResult, CalculatedNSP included).
// That happens when the gas never exceeds Tact (the ratio (Tg − T0)/(Tg − Tact) is not
// a finite number above 1: a colder gas, a gas at Tact within rounding, Tact not above
// T0), when Q, H or L is zero or negative, and whenever any intermediate value would be
// infinite or undefined (no flame spread for methods 1, 2 and 5, method 4 without a
// stabilisation time); no such value is ever stored. An unknown method (0 in a fresh
// record) counts the fire as covering F at 0 s.
// Returns true when the fire is detected.
bool CalcCPSimple(TCalcParamsOrvann& cp);

// The quick recalculation's text for the record's value6s: the "not detected" text or
// "Время обнаружения: " + Round(value6s) + " сек".
QString CeilingJetResultText(const TCalcParamsOrvann& cp);
