// Duration of the initial fire stage: the two volume formulas, their boundary, the
// minutes-to-seconds conversion and the refusal for a mix that cannot burn.
#include "CalcTestRecord.h"
#include "LocaleGuard.h"
#include "uInitialStage.h"

#include <gtest/gtest.h>

namespace {

// Worked by hand: P = 0.0108² · 13000 · 0.0145 = 0.02198664;
// small volumes 0.0094 · 600 · (1000 / P)^(1/3) = 201.32 s; with g = 50 the large-volume
// formula gives 0.089 · 600 · (1.23 / P)^(1/3) = 204.23 s. 0.01 s covers our hand digits.
TCalcParamsOrvann StageRecord(long double volume)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param3 = volume;
    cp.value11 = 10; // minutes, as entered
    cp.value13 = 50;
    cp.CalculatedVOP = true;
    return cp;
}

TEST(InitialStage, DefaultFireLoadInASmallZone)
{
    TCalcParamsOrvann cp = StageRecord(500);
    EXPECT_EQ(CalcInitialStageDuration(cp), TInitialStageStatus::Ok);
    EXPECT_EQ(cp.value11, 600);
    EXPECT_NEAR(double(cp.value12), 201.32, 0.01);
    EXPECT_TRUE(cp.CalculatedNSP);
    EXPECT_FALSE(cp.CalculatedVOP);
    LocaleGuard ru(LocaleGuard::Russian());
    EXPECT_EQ(InitialStageResultText(cp, TInitialStageStatus::Ok),
              QStringLiteral("Продолжительность начальной стадии пожара: 201 сек"));
}

TEST(InitialStage, VolumeOfExactly3000UsesTheSmallVolumeFormula)
{
    TCalcParamsOrvann cp = StageRecord(3000);
    CalcInitialStageDuration(cp);
    EXPECT_NEAR(double(cp.value12), 201.32, 0.01);

    cp = StageRecord(3000.5L);
    CalcInitialStageDuration(cp);
    EXPECT_NEAR(double(cp.value12), 204.23, 0.01);

    // The reduced fire load enters only the large-volume formula.
    cp = StageRecord(500);
    cp.value13 = 500;
    CalcInitialStageDuration(cp);
    EXPECT_NEAR(double(cp.value12), 201.32, 0.01);
}

TEST(InitialStage, MixThatCannotBurnIsRefused)
{
    struct Case { const char* what; void (*set)(TCalcParamsOrvann&); };
    const Case cases[] = {
        { "no flame spread", [](TCalcParamsOrvann& cp) { cp.param6 = 0; } },
        { "no burnout", [](TCalcParamsOrvann& cp) { cp.param7 = 0; } },
        { "no heat of combustion", [](TCalcParamsOrvann& cp) { cp.param8 = 0; } },
        { "no heat, large volume", [](TCalcParamsOrvann& cp) { cp.param8 = 0; cp.param3 = 5000; } },
    };
    for (const Case& c : cases) {
        TCalcParamsOrvann cp = StageRecord(500);
        c.set(cp);
        cp.value12 = 180;
        cp.CalculatedNSP = false;
        EXPECT_EQ(CalcInitialStageDuration(cp), TInitialStageStatus::ZeroFireProperties) << c.what;
        EXPECT_EQ(cp.value11, 600) << c.what; // still stored in seconds
        EXPECT_EQ(cp.value12, 180) << c.what;
        EXPECT_FALSE(cp.CalculatedNSP) << c.what;
        EXPECT_TRUE(cp.CalculatedVOP) << c.what;
        EXPECT_TRUE(NonFiniteFields(cp).empty()) << c.what;
        EXPECT_EQ(InitialStageResultText(cp, TInitialStageStatus::ZeroFireProperties),
                  QStringLiteral("Расчет НСП невозможен: у выбранной горючей нагрузки нулевая скорость "
                                 "распространения пламени, скорость выгорания или теплота сгорания"));
    }
}

} // namespace
