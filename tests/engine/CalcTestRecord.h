// Shared starting points for the calculation tests: a record filled as the dialog fills
// it for the default fire load, and a check that no field holds an infinite or undefined
// number.
#pragma once

#include "uCalcRecord.h"

#include <cmath>
#include <string>
#include <vector>

// The dialog's default fire load (v = 0.0108 m/s, Qн = 13000 kJ/kg, ψ = 0.0145
// kg/(m²·s)) with η = 0.9 on F = 10 m², a class A3 sensor (Tact = T0 + 40 K), RTI 50,
// a 3 m high zone, L = 5 m, method 1.
inline TCalcParamsOrvann DefaultRecord()
{
    TCalcParamsOrvann cp;
    cp.param1 = 3;
    cp.param2 = 5;
    cp.param3 = 500;
    cp.param4 = 10;
    cp.param5 = 0.9L;
    cp.param6 = 0.0108L;
    cp.param7 = 0.0145L;
    cp.param8 = 13000;
    cp.param9 = 20;
    cp.param10 = 293;
    cp.param11 = 333;
    cp.param12 = 50;
    cp.method = 1;
    cp.BOSClass = BOSClassA3;
    return cp;
}

// Names of the real fields that hold an infinite or undefined number (empty: none).
inline std::vector<std::string> NonFiniteFields(const TCalcParamsOrvann& cp)
{
    std::vector<std::string> bad;
    auto check = [&bad](const char* name, long double v) {
        if (!std::isfinite(v))
            bad.emplace_back(name);
    };
#define TESVORN_CHECK_FIELD(f) check(#f, cp.f)
    TESVORN_CHECK_FIELD(value1); TESVORN_CHECK_FIELD(value2); TESVORN_CHECK_FIELD(value3);
    TESVORN_CHECK_FIELD(value4); TESVORN_CHECK_FIELD(value5); TESVORN_CHECK_FIELD(value6);
    TESVORN_CHECK_FIELD(value7); TESVORN_CHECK_FIELD(value1s); TESVORN_CHECK_FIELD(value2s);
    TESVORN_CHECK_FIELD(value3s); TESVORN_CHECK_FIELD(value4s); TESVORN_CHECK_FIELD(value4s0);
    TESVORN_CHECK_FIELD(value5s); TESVORN_CHECK_FIELD(value6s); TESVORN_CHECK_FIELD(value7s);
    TESVORN_CHECK_FIELD(value8s); TESVORN_CHECK_FIELD(value9s); TESVORN_CHECK_FIELD(value10s);
    TESVORN_CHECK_FIELD(value11); TESVORN_CHECK_FIELD(value12); TESVORN_CHECK_FIELD(value13);
    TESVORN_CHECK_FIELD(VOPResult); TESVORN_CHECK_FIELD(TimeResult);
#undef TESVORN_CHECK_FIELD
    for (size_t r = 0; r < cp.tbl.size(); ++r)
        for (size_t c = 0; c < cp.tbl[r].size(); ++c)
            if (!std::isfinite(cp.tbl[r][c]))
                bad.push_back("tbl[" + std::to_string(r) + "][" + std::to_string(c) + "]");
    return bad;
}
