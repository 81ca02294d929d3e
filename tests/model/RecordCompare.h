// Comparison of two zone calculation records field by field, every real to the last bit:
// shared by the tests of the results file below the window and through the window.
#pragma once

#include "uCalcRecord.h"
#include "uCalcRecordJson.h"

#include <gtest/gtest.h>
#include <vector>

inline std::vector<long double> Reals(const TCalcParamsOrvann& cp)
{
    std::vector<long double> reals;
    ForEachRecordReal(const_cast<TCalcParamsOrvann&>(cp), [&reals](long double& v) { reals.push_back(v); });
    return reals;
}

// Field by field, every real to the last bit.
inline void ExpectSameRecord(const TCalcParamsOrvann& a, const TCalcParamsOrvann& b)
{
    EXPECT_TRUE(Reals(a) == Reals(b));
    EXPECT_EQ(a.FireLoads, b.FireLoads);
    EXPECT_EQ(a.tbl, b.tbl);
    EXPECT_EQ(a.FLFinal, b.FLFinal);
    for (QString TCalcParamsOrvann::*text : { &TCalcParamsOrvann::FLNames, &TCalcParamsOrvann::value13calc,
             &TCalcParamsOrvann::param06calc, &TCalcParamsOrvann::param07calc,
             &TCalcParamsOrvann::param08calc, &TCalcParamsOrvann::BOSClassText, &TCalcParamsOrvann::CSensor })
        EXPECT_EQ(a.*text, b.*text);
    for (int32_t TCalcParamsOrvann::*number : { &TCalcParamsOrvann::method, &TCalcParamsOrvann::tbl_time,
             &TCalcParamsOrvann::tbl_stop, &TCalcParamsOrvann::BOSClass })
        EXPECT_EQ(a.*number, b.*number);
    for (bool TCalcParamsOrvann::*flag :
        { &TCalcParamsOrvann::CalculatedVOP, &TCalcParamsOrvann::CalculatedNSP,
            &TCalcParamsOrvann::CalculatedFL, &TCalcParamsOrvann::DebugMode, &TCalcParamsOrvann::ManualL })
        EXPECT_EQ(a.*flag, b.*flag);
}
