// Detection time by the height tables: table rows at their bounds, the order of the
// checks, the critical-rate branches and the refusals for heights and inputs the tables
// do not cover.
#include "CalcTestRecord.h"
#include "LocaleGuard.h"
#include "uHeightTables.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

// Worked figures below were computed by hand (a calculator) from the formulas with the
// default fire load: Q = 10 · 13000 · 0.0145 · 0.9 = 1696.5 kW and
// α = π · 0.0108² · 0.9 · 0.0145 · 13000 = 0.0621658 kW/s². Tolerances of 0.01 kW or
// 1e-6 cover the digits we kept by hand, not the program's precision.

TEST(HeightTablesLow, WorkedExampleThreeMetresClassA3)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.CalculatedNSP = true;
    EXPECT_TRUE(CalcCPSimple2(cp));
    EXPECT_NEAR(double(cp.value1s), 1696.5, 1e-9);
    EXPECT_EQ(cp.value2s, 250);
    EXPECT_EQ(cp.value3s, 10); // row 1 … 4, class A3
    EXPECT_NEAR(double(cp.value4s), 0.0621658, 1e-6);
    // c = −0.4, b = 20 (row 2 … 3), k = 4: Qcr = 1000 · √(ln 2 / 4).
    EXPECT_NEAR(double(cp.value7s), 416.277, 0.01);
    EXPECT_EQ(cp.value8s, 82); // √(416.277 / 0.0621658) = 81.83
    EXPECT_EQ(cp.value9s, 56); // 50 / 0.894 = 55.93
    EXPECT_EQ(cp.value10s, 138);
    EXPECT_EQ(cp.VOPResult, 138);
    EXPECT_TRUE(cp.CalculatedVOP);
    EXPECT_FALSE(cp.CalculatedNSP);
    LocaleGuard ru(LocaleGuard::Russian());
    EXPECT_EQ(HeightTablesResultText(cp), QStringLiteral("Время обнаружения: 138 сек"));
}

TEST(HeightTablesLow, TimesAreRoundedSeparatelyBeforeAdding)
{
    // tQ = 81.83 and tin = 49.7064 / 0.894 = 55.6: 82 + 56 = 138, while the unrounded
    // sum 137.43 would give 137.
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param12 = 49.7064L;
    CalcCPSimple2(cp);
    EXPECT_EQ(cp.value9s, 56);
    EXPECT_EQ(cp.value10s, 138);
}

TEST(HeightTablesLow, SpacingAtTheLimitUsesTheFixedCriticalRate)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param2 = 10; // Lmax at 3 m: ln(10 / 0) would be infinite
    EXPECT_TRUE(CalcCPSimple2(cp));
    EXPECT_EQ(cp.value7s, 2000);
    EXPECT_EQ(cp.value8s, 179); // √(2000 / 0.0621658) = 179.37
    EXPECT_EQ(cp.value10s, 179 + 56);
    EXPECT_TRUE(NonFiniteFields(cp).empty());
}

TEST(HeightTablesLow, SpacingBeyondTheLimitIsRefusedAndLeavesLaterFields)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 8.5; // class A3 allows 7.0 m here
    cp.param2 = 7.0001L;
    cp.VOPResult = 77;
    cp.value4s = -5;
    cp.value7s = -6;
    cp.CalculatedNSP = true;
    EXPECT_FALSE(CalcCPSimple2(cp));
    EXPECT_EQ(cp.value3s, 7.0L);
    EXPECT_EQ(cp.value10s, Outcome::SpacingTooWide);
    EXPECT_TRUE(cp.CalculatedVOP);
    EXPECT_TRUE(cp.CalculatedNSP);
    EXPECT_EQ(cp.VOPResult, 77);
    EXPECT_EQ(cp.value4s, -5);
    EXPECT_EQ(cp.value7s, -6);
    EXPECT_EQ(HeightTablesResultText(cp), HeightTablesText::SpacingTooWide);

    cp.param2 = 7.0L; // equal to the limit: accepted
    EXPECT_TRUE(CalcCPSimple2(cp));
    EXPECT_EQ(cp.value7s, 2000);
}

// The dialog's spin edit holds 64-bit floats: a spacing typed as the table's limit
// arrives as the double nearest it, which for 9.8, 8.8, 4.2 … lies a hair above the
// extended constant of the table. Typed at the limit, it is the limit.
TEST(HeightTablesLimits, SpacingTypedAtTheLimitIsTheLimit)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 6.5L; // class A2 allows 9.8 m
    cp.BOSClass = BOSClassA2;
    cp.param2 = static_cast<long double>(9.8);
    EXPECT_TRUE(CalcCPSimple2(cp));
    EXPECT_EQ(cp.value7s, 2000); // the fixed critical rate of the limit
    cp.param2 = static_cast<long double>(9.81);
    CalcCPSimple2(cp);
    EXPECT_EQ(cp.value10s, Outcome::SpacingTooWide);

    struct Case { long double h; int32_t cls; double l; };
    const Case upper[] = {
        { 9.5L, BOSClassA3, 8.8 }, { 11.5L, BOSClassA2, 7.7 }, { 12.5L, BOSClassA2, 6.7 },
        { 13.5L, BOSClassA3, 5.7 }, { 14.5L, BOSClassA3, 4.7 }, { 15.5L, BOSClassA3, 4.2 },
    };
    for (const Case& c : upper) {
        cp = DefaultRecord();
        cp.param1 = c.h;
        cp.BOSClass = c.cls;
        cp.param4 = 100; // well above every Qmin
        cp.param2 = static_cast<long double>(c.l);
        EXPECT_TRUE(CalcCPSimple3(cp)) << "H = " << double(c.h) << ", L = " << c.l;
        EXPECT_GE(cp.value10s, 0) << "H = " << double(c.h) << ", L = " << c.l;
        cp.param2 = static_cast<long double>(c.l + 0.01);
        CalcCPSimple3(cp);
        EXPECT_EQ(cp.value10s, Outcome::SpacingTooWide) << "H = " << double(c.h);
    }
}

TEST(HeightTablesLow, FireExactlyAtTheMinimumIsDetectable)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param4 = 1;    // Q = 1 · 1000 · 0.25 · 1 = 250 exactly
    cp.param5 = 1;
    cp.param7 = 0.25L;
    cp.param8 = 1000;
    EXPECT_TRUE(CalcCPSimple2(cp));
    EXPECT_EQ(cp.value1s, 250);

    cp.param4 = 0.999L;
    cp.value3s = -9;
    cp.VOPResult = 33;
    EXPECT_FALSE(CalcCPSimple2(cp));
    EXPECT_EQ(cp.value10s, Outcome::FireTooWeak);
    EXPECT_EQ(cp.value3s, -9); // the lookup is not reached
    EXPECT_EQ(cp.VOPResult, 33);
    EXPECT_TRUE(cp.CalculatedVOP);
    EXPECT_EQ(HeightTablesResultText(cp), HeightTablesText::FireTooWeak);
}

TEST(HeightTablesLow, WeakFireIsReportedBeforeWideSpacing)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param4 = 1;   // Q = 169.65 kW < 250
    cp.param2 = 50;  // far beyond any Lmax
    CalcCPSimple2(cp);
    EXPECT_EQ(cp.value10s, Outcome::FireTooWeak);
}

TEST(HeightTablesLow, RowsAtTheirBoundsAndByClass)
{
    struct Case { long double h; int32_t cls; long double lmax; };
    const Case cases[] = {
        { 4, BOSClassA3, 10.0L },  { 4.01L, BOSClassA3, 9.5L }, { 4.5L, BOSClassA2, 10.0L },
        { 6.5L, BOSClassA2, 9.8L }, { 6.5L, BOSClassA3, 8.5L }, { 9, BOSClassA3, 7.0L },
        { 8.9L, BOSClassA2, 9.0L },
    };
    for (const Case& c : cases) {
        TCalcParamsOrvann cp = DefaultRecord();
        cp.param1 = c.h;
        cp.BOSClass = c.cls;
        cp.param2 = 1;
        CalcCPSimple2(cp);
        EXPECT_EQ(cp.value3s, c.lmax) << "H = " << double(c.h) << ", class " << c.cls;
        EXPECT_EQ(cp.value2s, 250) << "H = " << double(c.h);
    }
}

TEST(HeightTablesLow, CoefficientsAboveSixMetresAreTheirOwnConstants)
{
    // H = 6.5: c = −0.03, b = 1.9, k = 1.9 − 0.03 · 40 = 0.7; Qcr = 1000 · √(ln 2 / 0.7).
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 6.5L;
    CalcCPSimple2(cp);
    EXPECT_NEAR(double(cp.value7s), 995.09, 0.01);
}

TEST(HeightTablesLow, OneMetreAndBelowUseTheFirstRows)
{
    // c = −0.6, b = 30, k = 30 − 0.6 · 40 = 6; Qcr = 1000 · √(ln 2 / 6) = 339.89 kW.
    for (long double h : { 1.0L, 0.5L }) {
        TCalcParamsOrvann cp = DefaultRecord();
        cp.param1 = h;
        EXPECT_TRUE(CalcCPSimple2(cp)) << double(h);
        EXPECT_EQ(cp.value3s, 10);
        EXPECT_NEAR(double(cp.value7s), 339.89, 0.01) << double(h);
    }
}

TEST(HeightTablesHigh, NineMetresUsesTheFirstRowOfTheUpperTable)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 9;
    cp.param4 = 20; // Q = 3393 kW, above 1200
    EXPECT_TRUE(CalcCPSimple3(cp));
    EXPECT_EQ(cp.value2s, 1200);
    EXPECT_EQ(cp.value3s, 8.8L);
    EXPECT_EQ(cp.value5s, 2.1875L);
    EXPECT_NEAR(double(cp.value6s), 2285.714, 0.001); // 5 · 1000 / 2.1875
    EXPECT_EQ(cp.value7s, cp.value6s);
    EXPECT_EQ(cp.value8s, 192); // √(2285.714 / 0.0621658) = 191.75
    EXPECT_EQ(cp.value9s, 112); // 50 / 0.447 = 111.86
    EXPECT_EQ(cp.value10s, 304);
    EXPECT_EQ(cp.VOPResult, 304);
}

TEST(HeightTablesHigh, NarrowSpacingStopsAtTheMinimumRate)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 10.5L; // row 10 … 11, class A2: Qmin 1000, K 2.9192
    cp.BOSClass = BOSClassA2;
    cp.param2 = 2; // 2000 / 2.9192 = 685 kW < Qmin 1000
    EXPECT_TRUE(CalcCPSimple3(cp));
    EXPECT_NEAR(double(cp.value6s), 685.12, 0.01);
    EXPECT_EQ(cp.value7s, 1000);
    const long double narrowTime = cp.value10s;
    cp.param2 = 1;
    CalcCPSimple3(cp);
    EXPECT_EQ(cp.value10s, narrowTime);
    cp.param2 = 5; // 1712.8 kW: the spacing term rules
    CalcCPSimple3(cp);
    EXPECT_NEAR(double(cp.value7s), 1712.80, 0.01);
    EXPECT_EQ(cp.value8s, 166);
}

TEST(HeightTablesHigh, MinimumRateAndSpacingChecks)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 15.5L;
    cp.BOSClass = BOSClassA3;   // Qmin 3700, Lmax 4.2
    cp.param4 = 21;             // Q = 3562.65 kW
    cp.param2 = 4;
    CalcCPSimple3(cp);
    EXPECT_EQ(cp.value10s, Outcome::FireTooWeak);
    EXPECT_EQ(cp.value2s, 3700);
    cp.param4 = 30;
    cp.param2 = 4.21L;
    CalcCPSimple3(cp);
    EXPECT_EQ(cp.value10s, Outcome::SpacingTooWide);
    EXPECT_EQ(cp.value3s, 4.2L);
    cp.param1 = 10; // the upper bound belongs to the row below it: 9 … 10
    cp.BOSClass = BOSClassA2;
    CalcCPSimple3(cp);
    EXPECT_EQ(cp.value2s, 800);
    EXPECT_EQ(cp.value5s, 3.3679L);
    cp.BOSClass = BOSClassA3;
    cp.param1 = 16; // the last row still applies
    cp.param2 = 4.2L;
    EXPECT_TRUE(CalcCPSimple3(cp));
}

TEST(HeightTablesHigh, AboveSixteenMetresIsRefused)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 16.01L;
    cp.param4 = 100;
    cp.value2s = -7;
    cp.VOPResult = 44;
    cp.CalculatedVOP = false;
    cp.CalculatedNSP = true;
    EXPECT_FALSE(CalcCPSimple3(cp));
    EXPECT_EQ(cp.value10s, Outcome::HeightOver16);
    EXPECT_NEAR(double(cp.value1s), 16965, 1e-9);
    EXPECT_EQ(cp.value2s, -7);
    EXPECT_EQ(cp.VOPResult, 44);
    EXPECT_FALSE(cp.CalculatedVOP);
    EXPECT_TRUE(cp.CalculatedNSP);
    EXPECT_EQ(HeightTablesResultText(cp),
              QStringLiteral("Расчет невозможен: для высоты помещения более 16 м нормативные таблицы не содержат данных"));
}

TEST(HeightTablesBranch, RunChoosesTheTableByHeight)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param4 = 20;
    cp.param1 = 9;
    cp.value5s = -1;
    CalcHeightTables(cp);
    EXPECT_EQ(cp.value5s, 2.1875L); // upper table writes K
    EXPECT_EQ(cp.value9s, 112);

    cp = DefaultRecord();
    cp.param1 = 8.9L;
    cp.value5s = -1;
    cp.value6s = -1;
    CalcHeightTables(cp);
    EXPECT_EQ(cp.value5s, -1); // lower table writes neither K nor the spacing term
    EXPECT_EQ(cp.value6s, -1);
    EXPECT_EQ(cp.value9s, 56);
}

// Inputs for which the formulas have no value end with the "not computable" outcome and
// never leave an infinite or undefined number in the record.
TEST(HeightTablesRefusals, UndefinedFormulasAreNotComputable)
{
    struct Case { const char* what; void (*set)(TCalcParamsOrvann&); bool upper; };
    const Case cases[] = {
        { "no flame spread", [](TCalcParamsOrvann& cp) { cp.param6 = 0; }, false },
        { "no flame spread, 10 m", [](TCalcParamsOrvann& cp) { cp.param6 = 0; cp.param1 = 10; cp.param4 = 100; }, true },
        { "activation 133 K above T0 at 3 m (k < 0)", [](TCalcParamsOrvann& cp) { cp.param10 = 200; }, false },
        { "activation 50 K above T0 at 3 m (k = 0)", [](TCalcParamsOrvann& cp) { cp.param10 = 283; }, false },
        { "negative spacing", [](TCalcParamsOrvann& cp) { cp.param2 = -1; }, false },
        { "no class", [](TCalcParamsOrvann& cp) { cp.BOSClass = BOSClassNone; }, false },
        { "no class, 10 m", [](TCalcParamsOrvann& cp) { cp.BOSClass = 7; cp.param1 = 10; }, true },
        { "lower table at 12 m", [](TCalcParamsOrvann& cp) { cp.param1 = 12; }, false },
        { "upper table at 8 m", [](TCalcParamsOrvann& cp) { cp.param1 = 8; }, true },
    };
    for (const Case& c : cases) {
        TCalcParamsOrvann cp = DefaultRecord();
        c.set(cp);
        cp.VOPResult = 21;
        cp.CalculatedVOP = false;
        EXPECT_FALSE(c.upper ? CalcCPSimple3(cp) : CalcCPSimple2(cp)) << c.what;
        EXPECT_EQ(cp.value10s, Outcome::NotComputable) << c.what;
        EXPECT_EQ(cp.VOPResult, 21) << c.what;
        EXPECT_FALSE(cp.CalculatedVOP) << c.what;
        EXPECT_TRUE(NonFiniteFields(cp).empty()) << c.what;
        EXPECT_EQ(HeightTablesResultText(cp), HeightTablesText::NotComputable);
    }
}

TEST(HeightTablesDebug, LinesNameEachFieldWithTheLocaleSeparator)
{
    LocaleGuard ru(LocaleGuard::Russian());
    TCalcParamsOrvann cp = DefaultRecord();
    cp.value13calc = QStringLiteral("формула");
    CalcCPSimple2(cp);
    const QStringList lines = HeightTablesDebugLines(cp);
    ASSERT_EQ(lines.size(), 16 + 1 + 6 + 1 + 6 + 11);
    EXPECT_EQ(lines[0], QStringLiteral("param1\t3"));
    EXPECT_EQ(lines[4], QStringLiteral("param5\t0,9"));
    EXPECT_TRUE(lines[16].isEmpty());
    EXPECT_EQ(lines[19], QStringLiteral("value13calc\tформула"));
    EXPECT_TRUE(lines[23].isEmpty());
    EXPECT_EQ(lines[33], QStringLiteral("value4s0\t0"));
    EXPECT_EQ(lines.last(), QStringLiteral("value10s\t138"));
}

} // namespace
