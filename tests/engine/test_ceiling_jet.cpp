// Detection time by the ceiling-jet correlations: the near/far-field boundary with its
// rounding, the velocity limit, the fire-development methods and every way the sensor
// can fail to respond.
#include "CalcTestRecord.h"
#include "LocaleGuard.h"
#include "uCeilingJet.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

// Reference figures were computed independently with double-precision arithmetic from
// the correlations (Q = 1696.5 kW for the default record). The relative tolerance of
// 1e-9 allows for the double rounding of that reference; the program itself works in
// extended precision.
void ExpectRel(long double actual, double expected, const char* what)
{
    EXPECT_NEAR(double(actual), expected, std::fabs(expected) * 1e-9) << what;
}

TEST(CeilingJet, FarFieldWorkedFigures)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param2 = 2; // d = 2 − 1.08 = 0.92: far field, evaluated at 0.71 · 2 m
    cp.CalculatedNSP = true;
    EXPECT_TRUE(CalcCPSimple(cp));
    ExpectRel(cp.value1s, 165.1966774215529, "tF");
    ExpectRel(cp.value2s, 1696.5, "Q");
    ExpectRel(cp.value1, 1.08, "0.36 H");
    EXPECT_EQ(cp.value2, 0.92L);
    ExpectRel(cp.value3s, 494.91629437665426, "Tg");
    ExpectRel(cp.value4s0, 0.30383503774928317, "u0");
    EXPECT_EQ(cp.value4s, cp.value4s0);
    ExpectRel(cp.value5s, 20.02619617655416, "tr");
    ExpectRel(cp.value6s, 185.22287359810704, "t");
    EXPECT_EQ(cp.VOPResult, cp.value6s);
    // Method 1: t³ · v² · 1.05 · ψ.
    ExpectRel(cp.value7s, std::pow(185.22287359810704, 3) * 0.0108 * 0.0108 * 1.05 * 0.0145, "mass");
    EXPECT_EQ(cp.value8s, 200);
    EXPECT_TRUE(cp.CalculatedVOP);
    EXPECT_FALSE(cp.CalculatedNSP);
    LocaleGuard ru(LocaleGuard::Russian());
    EXPECT_EQ(CeilingJetResultText(cp), QStringLiteral("Время обнаружения: 185 сек"));
}

TEST(CeilingJet, SpacingOfExactlyNearFieldRadiusIsNearField)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 5;
    cp.param2 = 1.8L; // 0.36 · 5
    CalcCPSimple(cp);
    EXPECT_EQ(cp.value2, 0);
    ExpectRel(cp.value3s, 457.42680071040695, "near-field Tg");
    ExpectRel(cp.value4s0, 0.6598102981464463, "near-field u0");
    ExpectRel(cp.value6s, 182.3548903931993, "near-field t");

    cp.param2 = 1.81L; // one centimetre more: far field
    CalcCPSimple(cp);
    EXPECT_NEAR(double(cp.value2), 0.01, 1e-15);
    ExpectRel(cp.value3s, 422.48622355532405, "far-field Tg");
    ExpectRel(cp.value6s, 193.49288676214684, "far-field t");
}

TEST(CeilingJet, DifferenceIsRoundedToFourDecimalsBeforeTheBranch)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 5;
    cp.param2 = 1.8L + 4e-5L;
    CalcCPSimple(cp);
    EXPECT_EQ(cp.value2, 0);
    ExpectRel(cp.value3s, 457.42680071040695, "rounded to 0: near field");

    cp.param2 = 1.8L + 6e-5L;
    CalcCPSimple(cp);
    EXPECT_NEAR(double(cp.value2), 1e-4, 1e-15);
    ExpectRel(cp.value3s, 422.96247116083987, "rounded to 1e-4: far field");
}

TEST(CeilingJet, VelocityAboveTheLimitIsCappedOnlyInTheResponse)
{
    // Steady liquid burning on 400 m²: u0 = 1.59 m/s in the far field at L = 1.2 m.
    TCalcParamsOrvann cp = DefaultRecord();
    cp.method = 3;
    cp.param4 = 400;
    cp.param2 = 1.2L;
    EXPECT_TRUE(CalcCPSimple(cp));
    ExpectRel(cp.value4s0, 1.590493174323813, "u0");
    EXPECT_EQ(cp.value4s, 0.8L);
    ExpectRel(cp.value5s, 0.6776479098843503, "tr with u = 0.8");
}

TEST(CeilingJet, SteadyBurningStartsAtFullAreaAndBurnsLinearly)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.method = 3;
    cp.param2 = 2;
    CalcCPSimple(cp);
    EXPECT_EQ(cp.value1s, 0);
    ExpectRel(cp.value6s, 20.02619617655416, "t = tr");
    ExpectRel(cp.value7s, 0.0145 * 10 * 20.02619617655416, "ψ · F · t");
}

TEST(CeilingJet, UnknownMethodLeavesGrowthTimeAndBurntMass)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.method = 0; // a record no dialog run has touched
    cp.param2 = 2;
    cp.value1s = 0;
    cp.value7s = 0;
    EXPECT_TRUE(CalcCPSimple(cp));
    EXPECT_EQ(cp.value1s, 0);
    EXPECT_EQ(cp.value7s, 0);
    ExpectRel(cp.value6s, 20.02619617655416, "t = tr");

    cp.value1s = 12;
    cp.value7s = 34;
    CalcCPSimple(cp);
    EXPECT_EQ(cp.value1s, 12);
    EXPECT_EQ(cp.value7s, 34);
}

TEST(CeilingJet, OtherMethodsGrowthTimes)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param2 = 2;
    cp.param13 = 2;
    cp.param14 = 0.5L;
    cp.param15 = 30;
    cp.param16 = 0.02L;
    cp.method = 2;
    CalcCPSimple(cp);
    EXPECT_NEAR(double(cp.value1s), 10 / (2 * 0.0108 * 0.5), 1e-9);
    cp.method = 4;
    CalcCPSimple(cp);
    EXPECT_EQ(cp.value1s, 30);
    ExpectRel(cp.value7s, 0.0145 * 0.67 * 10 / std::sqrt(30.0) * std::pow(double(cp.value6s), 1.5), "method 4 mass");
    cp.method = 5;
    CalcCPSimple(cp);
    EXPECT_NEAR(double(cp.value1s), std::sqrt(10 / (0.0108 * 0.02)), 1e-9);
}

TEST(CeilingJet, ColdGasIsNotDetectedAndKeepsTheLastTime)
{
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param1 = 30;
    cp.param2 = 20;
    cp.param4 = 1; // 170 kW under a 30 m ceiling: a few kelvin of rise
    cp.VOPResult = 95;
    cp.value5s = 7;
    cp.value7s = 8;
    cp.value8s = 9;
    cp.CalculatedNSP = true;
    EXPECT_FALSE(CalcCPSimple(cp));
    EXPECT_LT(cp.value3s, cp.param11);
    EXPECT_EQ(cp.value6s, Outcome::NotDetected);
    EXPECT_EQ(cp.VOPResult, 95);
    EXPECT_EQ(cp.value5s, 7);
    EXPECT_EQ(cp.value7s, 8);
    EXPECT_EQ(cp.value8s, 9);
    EXPECT_TRUE(cp.CalculatedVOP);
    EXPECT_TRUE(cp.CalculatedNSP);
    EXPECT_EQ(CeilingJetResultText(cp), QStringLiteral("При заданных условиях пожар не будет обнаружен"));
}

// Inputs that leave the correlations or the response equation without a finite value
// end as "not detected", and no infinite or undefined number reaches the record.
TEST(CeilingJet, DegenerateInputsAreNotDetected)
{
    struct Case { const char* what; void (*set)(TCalcParamsOrvann&); };
    const Case cases[] = {
        { "no fire load (Q = 0)", [](TCalcParamsOrvann& cp) { cp.param4 = 0; } },
        { "no heat of combustion", [](TCalcParamsOrvann& cp) { cp.param8 = 0; } },
        { "zero height", [](TCalcParamsOrvann& cp) { cp.param1 = 0; } },
        { "zero spacing (no sensors)", [](TCalcParamsOrvann& cp) { cp.param2 = 0; } },
        { "no flame spread, circular growth", [](TCalcParamsOrvann& cp) { cp.param6 = 0; } },
        { "no front width, rectangular growth", [](TCalcParamsOrvann& cp) { cp.method = 2; cp.param13 = 2; } },
        { "no vertical speed", [](TCalcParamsOrvann& cp) { cp.method = 5; } },
        { "unsteady burning without stabilisation time", [](TCalcParamsOrvann& cp) { cp.method = 4; } },
        { "activation below the initial temperature", [](TCalcParamsOrvann& cp) { cp.param11 = 280; } },
        { "activation at the initial temperature", [](TCalcParamsOrvann& cp) { cp.param11 = 293; } },
    };
    for (const Case& c : cases) {
        TCalcParamsOrvann cp = DefaultRecord();
        c.set(cp);
        cp.VOPResult = 61;
        EXPECT_FALSE(CalcCPSimple(cp)) << c.what;
        EXPECT_EQ(cp.value6s, Outcome::NotDetected) << c.what;
        EXPECT_EQ(cp.VOPResult, 61) << c.what;
        EXPECT_TRUE(cp.CalculatedVOP) << c.what;
        EXPECT_TRUE(NonFiniteFields(cp).empty()) << c.what;
    }
}

TEST(CeilingJet, GasAtTheActivationTemperatureIsNotDetected)
{
    // Near field: choose Tact as the gas temperature itself.
    TCalcParamsOrvann cp = DefaultRecord();
    cp.param2 = 0.5L;
    CalcCPSimple(cp);
    ASSERT_GT(cp.value6s, 0);
    cp.param11 = cp.value3s;
    EXPECT_FALSE(CalcCPSimple(cp));
    EXPECT_EQ(cp.value6s, Outcome::NotDetected);
    EXPECT_TRUE(NonFiniteFields(cp).empty());
}

} // namespace
