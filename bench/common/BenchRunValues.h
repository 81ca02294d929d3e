// The accepted dialog of a standard run as the benchmarks make it: one furniture-and-paper
// load of 50 MJ/m² on a 3 m × 18,000 m³ mix and a spacing of 1.73 m, which on a
// 100 m × 60 m zone lays out 35 rows by 58 columns, 2,030 sensors.
#pragma once

#include "uCalcRuns.h"
#include "uFireClasses.h"
#include "uFireLoadMix.h"

constexpr long double BenchGridSpacing = 1.73L;

inline TCalcDialogValues BenchStandardRunValues(const TRoom& room)
{
    TCalcDialogValues values = CalcDialogInitialValues(CalcDialogSetup(TCalcRun::Standard, room));
    values.seParam2 = BenchGridSpacing;
    TFireLoad load;
    load.Id = 1;
    load.ListId = 1;
    load.Name = QStringLiteral("Мебель + бумага");
    load.P1LowestHeat = 14002;
    load.P2LinearFlameSpeed = 0.022L;
    load.P3BurnoutSpeed = 0.021L;
    load.PFlammableLoad = 50;
    load.CCC = 0.97L;
    values.FireLoads = { load };
    SetFireLoadMix(values, CalcFireLoad(values.FireLoads, DefaultFireLoadMixRules(), 3, 18000));
    return values;
}
