// Detection time with optimisation: the critical rate by field, the refusal at the
// critical area, the turning-point rule of the time table, and steps at which the sensor
// cannot respond.
#include "CalcTestRecord.h"
#include "LocaleGuard.h"
#include "uOptimised.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace {

// Reference figures were computed independently in double precision from the
// correlations; 1e-9 relative covers that reference's rounding.
void ExpectRel(long double actual, double expected, const char* what)
{
    EXPECT_NEAR(double(actual), expected, std::fabs(expected) * 1e-9) << what;
}

TEST(Optimised, FarFieldWorkedFiguresAndTurningPoint)
{
    TCalcParamsOrvann cp = DefaultRecord(); // H = 3, L = 5: d = 3.92, far field
    EXPECT_TRUE(CalcCP(cp));
    ExpectRel(cp.value1, 1.08, "0.36 H");
    ExpectRel(cp.value2, 3.92, "d");
    ExpectRel(cp.value3, 526.7062355630435, "Qcr");
    ExpectRel(cp.value4, 3.1046639290482965, "Fcr");
    ExpectRel(cp.value5, 92.04678118803065, "tcr");
    ExpectRel(cp.value6, 0.7206781193243363, "ucr");
    ExpectRel(cp.value7, 218.72135737668094, "response 1 K above Tact");
    EXPECT_EQ(cp.tbl_time, 500);
    EXPECT_EQ(cp.tbl_stop, 40);
    ExpectRel(cp.TimeResult, 182.31275718374712, "TimeResult");
    EXPECT_TRUE(cp.CalculatedVOP);
    LocaleGuard ru(LocaleGuard::Russian());
    EXPECT_EQ(OptimisedResultText(cp), QStringLiteral("Время обнаружения: 182 сек"));
}

TEST(Optimised, TableShapeAndTheFirstRiseAboveTheRunningMinimum)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param2 = 0.5L; // near field
    CalcCP(cp);
    ExpectRel(cp.value3, 56.76270284249395, "near-field Qcr");
    ASSERT_EQ(cp.tbl.size(), 8u);
    for (const TEArray& row : cp.tbl)
        ASSERT_EQ(row.size(), 501u);
    EXPECT_TRUE(std::all_of(cp.tbl[0].begin(), cp.tbl[0].end(), [](long double x) { return x == 0; }));
    for (size_t r = 0; r < 8; ++r)
        EXPECT_EQ(cp.tbl[r][0], 0) << r;

    // Independently of how the loop is written: the stop is the first step whose time
    // lies above every earlier one's minimum, and all steps before it fall or stay.
    const int stop = cp.tbl_stop;
    ASSERT_EQ(stop, 19);
    long double minimum = cp.tbl[6][1];
    for (int i = 1; i < stop; ++i) {
        EXPECT_LE(cp.tbl[6][i], minimum) << i;
        minimum = cp.tbl[6][i];
        EXPECT_EQ(cp.tbl[7][i], 0) << i;
    }
    EXPECT_GT(cp.tbl[6][stop], minimum);
    EXPECT_EQ(cp.tbl[7][stop], 1);
    EXPECT_EQ(cp.TimeResult, cp.tbl[6][stop]); // the rise, not the minimum itself
    ExpectRel(cp.TimeResult, 68.96403430439247, "near-field TimeResult");
    // Row 1 is the time since ignition, row 2 the circle area, never above F.
    ExpectRel(cp.tbl[1][1], 1 + 30.217317623871228, "t(1)");
    EXPECT_LE(*std::max_element(cp.tbl[2].begin(), cp.tbl[2].end()), cp.param4);
}

TEST(Optimised, TurningPointComesByTheStepAfterTheAreaReachesF)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param12 = 2000; // a slow sensor keeps the times falling while the fire grows
    CalcCP(cp);
    int firstFull = 0;
    for (int i = 1; i <= cp.tbl_time && !firstFull; ++i)
        if (cp.tbl[2][i] == cp.param4)
            firstFull = i;
    ASSERT_GT(firstFull, 0);
    ASSERT_GT(cp.tbl_stop, 0);
    EXPECT_LE(cp.tbl_stop, firstFull + 1);
    // From full area on Q is constant and the time grows by exactly 1 s per step.
    EXPECT_NEAR(double(cp.tbl[6][firstFull + 2] - cp.tbl[6][firstFull + 1]), 1.0, 1e-9);
}

TEST(Optimised, TimesFallingForAllStepsGiveNoTurningPoint)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param4 = 1e6L;
    cp.param12 = 50000;
    cp.TimeResult = 99;
    cp.tbl_stop = 7;
    EXPECT_TRUE(CalcCP(cp));
    EXPECT_EQ(cp.TimeResult, 0);
    EXPECT_EQ(cp.tbl_stop, 0);
    EXPECT_EQ(cp.tbl_time, 500);
    EXPECT_TRUE(cp.CalculatedVOP);
    LocaleGuard ru(LocaleGuard::Russian());
    EXPECT_EQ(OptimisedResultText(cp), QStringLiteral("Время обнаружения: 0 сек"));
}

TEST(Optimised, SpacingOfExactlyNearFieldRadiusIsFarField)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 5;
    cp.param2 = 0.36L * 5;
    CalcCP(cp);
    EXPECT_EQ(cp.value2, 0);
    // Far field: ((Tact − T0) · H / 5.38)^1.5 · L.
    ExpectRel(cp.value3, std::pow(40.0 * 5 / 5.38, 1.5) * 1.8, "far-field Qcr");

    // The same spacing typed as a double (the dialog's own number format) is the same
    // boundary, not a hair's breadth inside the near field.
    cp.param2 = static_cast<long double>(1.8);
    CalcCP(cp);
    EXPECT_EQ(cp.value2, 0);
    ExpectRel(cp.value3, std::pow(40.0 * 5 / 5.38, 1.5) * 1.8, "far-field Qcr from a double");

    cp.param2 = 1.79L;
    CalcCP(cp);
    EXPECT_LT(cp.value2, 0);
    ExpectRel(cp.value3, std::pow(std::pow(5.0, 5.0 / 3) * 40 / 16.9, 1.5), "near-field Qcr");
}

TEST(Optimised, AreaBelowTheCriticalOneIsRefusedWithoutTouchingTheTable)
{
    TCalcParamsOrvann cp = DefaultRecord();
    CalcCP(cp);
    const TParamArray table = cp.tbl;
    cp.param4 = cp.value4 * (1 - 1e-9L);
    cp.value5 = -5;
    cp.CalculatedVOP = false;
    EXPECT_FALSE(CalcCP(cp));
    EXPECT_EQ(cp.TimeResult, Outcome::NotDetected);
    EXPECT_EQ(cp.tbl_stop, 0);
    EXPECT_EQ(cp.value5, -5);
    EXPECT_EQ(cp.tbl, table);
    EXPECT_EQ(cp.tbl_time, 500);
    EXPECT_FALSE(cp.CalculatedVOP);
    EXPECT_EQ(OptimisedResultText(cp), QStringLiteral("Пожар не будет обнаружен"));
}

TEST(Optimised, AreaEqualToTheCriticalOneIsAcceptedButNeverHotEnough)
{
    // Once the fire covers F = Fcr the gas stands at Tact: the sensor never responds.
    TCalcParamsOrvann cp = DefaultRecord();
    CalcCP(cp);
    cp.param4 = cp.value4;
    cp.value5 = -5;
    cp.CalculatedVOP = false;
    EXPECT_FALSE(CalcCP(cp));
    ExpectRel(cp.value5, 92.04678118803065, "tcr written: accepted");
    EXPECT_EQ(cp.tbl_time, 500);
    EXPECT_EQ(cp.tbl[6][1], OptimisedNoResponse);
    EXPECT_EQ(cp.tbl[7][500], OptimisedNoResponse);
    EXPECT_EQ(cp.TimeResult, Outcome::NotDetected);
    EXPECT_EQ(cp.tbl_stop, 0);
    EXPECT_FALSE(cp.CalculatedVOP);
    EXPECT_TRUE(NonFiniteFields(cp).empty());
}

TEST(Optimised, SteadyLiquidBurningStaysAtTheActivationTemperature)
{
    for (int32_t method : { 3, 4 }) {
        TCalcParamsOrvann cp = DefaultRecord();
        cp.method = method;
        cp.param15 = 20;
        EXPECT_FALSE(CalcCP(cp)) << method;
        EXPECT_EQ(cp.TimeResult, Outcome::NotDetected) << method;
        EXPECT_EQ(cp.value5, method == 3 ? 0 : 20) << method;
        EXPECT_TRUE(NonFiniteFields(cp).empty()) << method;
    }
}

TEST(Optimised, DegenerateInputsAreNotDetectable)
{
    struct Case { const char* what; void (*set)(TCalcParamsOrvann&); };
    const Case cases[] = {
        { "no heat of combustion", [](TCalcParamsOrvann& cp) { cp.param8 = 0; } },
        { "no burnout", [](TCalcParamsOrvann& cp) { cp.param7 = 0; } },
        { "zero height", [](TCalcParamsOrvann& cp) { cp.param1 = 0; } },
        { "zero height and spacing", [](TCalcParamsOrvann& cp) { cp.param1 = 0; cp.param2 = 0; } },
        { "activation at the initial temperature", [](TCalcParamsOrvann& cp) { cp.param11 = 293; } },
        { "activation below the initial temperature", [](TCalcParamsOrvann& cp) { cp.param11 = 250; } },
        { "no flame spread", [](TCalcParamsOrvann& cp) { cp.param6 = 0; } },
        { "no front, rectangular growth", [](TCalcParamsOrvann& cp) { cp.method = 2; cp.param13 = 2; } },
        { "unknown method", [](TCalcParamsOrvann& cp) { cp.method = 0; } },
    };
    for (const Case& c : cases) {
        TCalcParamsOrvann cp = DefaultRecord();
        c.set(cp);
        EXPECT_FALSE(CalcCP(cp)) << c.what;
        EXPECT_EQ(cp.TimeResult, Outcome::NotDetected) << c.what;
        EXPECT_FALSE(cp.CalculatedVOP) << c.what;
        EXPECT_TRUE(NonFiniteFields(cp).empty()) << c.what;
    }
}

TEST(OptimisedDebug, LinesListParametersValuesAndEverySteps)
{
    LocaleGuard ru(LocaleGuard::Russian());
    TCalcParamsOrvann cp = DefaultRecord();
    CalcCP(cp);
    const QStringList lines = OptimisedDebugLines(cp);
    ASSERT_EQ(lines.size(), 14 + 1 + 7 + 1 + 500);
    EXPECT_EQ(lines[0], QStringLiteral("param1\t3"));
    EXPECT_EQ(lines[4], QStringLiteral("param5\t0,9"));
    EXPECT_TRUE(lines[14].isEmpty());
    EXPECT_EQ(lines[15], QStringLiteral("value1\t1,08"));
    EXPECT_TRUE(lines[22].isEmpty());
    const QStringList first = lines[23].split(QLatin1Char('\t'));
    ASSERT_EQ(first.size(), 8);
    EXPECT_EQ(first[0], QStringLiteral("1"));
    EXPECT_EQ(first[1], QStringLiteral("93,05")); // 1 + 92.0468 to 2 decimals
    EXPECT_EQ(first[7], QStringLiteral("расчет"));
    EXPECT_TRUE(lines[23 + cp.tbl_stop - 1].endsWith(QStringLiteral("\tстоп")));
    EXPECT_TRUE(lines[23 + cp.tbl_stop - 2].endsWith(QStringLiteral("\tрасчет")));

    cp.param4 = cp.value4; // no step responds
    CalcCP(cp);
    EXPECT_TRUE(OptimisedDebugLines(cp).last().endsWith(QStringLiteral("\t-1\tнет срабатывания")));
}

} // namespace
