// The zone calculation record and the fire-load record: plain values that every
// calculation reads and writes. A zone holds one TCalcParamsOrvann; it lives only in
// memory (the project file stores none of it), zero-filled when the zone is created.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

using TEArray = std::vector<long double>;  // a dynamic array of reals
using TParamArray = std::vector<TEArray>;  // a table of rows of reals, row first

// One typical fire load: a combustible material with its fire properties.
struct TFireLoad {
    int32_t Id = 0;                        // row of the reference table; -1 when not from a row
    int32_t ListId = 0;                    // running number in the dialog's list
    QString Name;
    long double P1LowestHeat = 0;          // Qн, kJ/kg
    long double P2LinearFlameSpeed = 0;    // v, m/s
    long double P3BurnoutSpeed = 0;        // ψ, kg/(m²·s)
    long double P4SmokeFormingAbility = 0; // Np/m
    long double P5OxygenConsumption = 0;   // kg/kg
    long double P6AllocationCO2 = 0;       // kg/kg
    long double P6AllocationCO = 0;        // kg/kg
    long double P6AllocationHCl = 0;       // kg/kg
    long double PFlammableLoad = 0;        // q, kg/m²
    long double CCC = 0;                   // η, combustion completeness

    bool operator==(const TFireLoad&) const = default;
};

// Sensor classes of the standard run.
enum : int32_t { BOSClassNone = 0, BOSClassA2 = 1, BOSClassA3 = 2 };

// Outcome codes kept in the record's result fields.
namespace Outcome {
constexpr long double FireTooWeak = -1;    // value10s: Q below the minimum for height and class
constexpr long double SpacingTooWide = -2; // value10s: L above the greatest permitted spacing
constexpr long double HeightOver16 = -3;   // value10s: no table row for a zone above 16 m
constexpr long double NotComputable = -4;  // value10s: the tables' formulas are undefined for the inputs
constexpr long double NotDetected = -1;    // value6s, TimeResult
}

// The per-zone calculation record. Lengths are metres, never plan pixels.
struct TCalcParamsOrvann {
    // Inputs copied from the calculation dialog.
    long double param1 = 0;  // H, zone height, m
    long double param2 = 0;  // L, spacing between sensors, m
    long double param3 = 0;  // V, zone volume, m³
    long double param4 = 0;  // F, area of the combustible material, m²
    long double param5 = 0;  // η of the combined fire load
    long double param6 = 0;  // v, linear flame spread speed, m/s
    long double param7 = 0;  // ψ, specific burnout rate, kg/(m²·s)
    long double param8 = 0;  // Qн, lowest heat of combustion, kJ/kg
    long double param9 = 0;  // q, fire-load density, kg/m²
    long double param10 = 0; // T0, initial temperature, K
    long double param11 = 0; // Tact, activation temperature, K
    long double param12 = 0; // RTI of the sensor
    long double param13 = 0; // n, directions of fire spread (method 2)
    long double param14 = 0; // b, width of the combustion front, m (method 2)
    long double param15 = 0; // stabilisation time of burning, s (method 4)
    long double param16 = 0; // vertical linear flame spread speed, m/s (method 5)
    long double param17 = 0; // unused
    long double param18 = 0; // unused

    // Results of the optimised run and the quick recalculation.
    long double value1 = 0; // 0.36·H, near-field radius limit, m
    long double value2 = 0; // L − value1, m
    long double value3 = 0; // critical heat release rate, kW
    long double value4 = 0; // critical burning area, m²
    long double value5 = 0; // time to grow to value4, s
    long double value6 = 0; // gas velocity at the critical rate, m/s
    long double value7 = 0; // sensor response time 1 K above Tact, s

    // Quick recalculation / standard run results (meaning differs per run).
    long double value1s = 0;
    long double value2s = 0;
    long double value3s = 0;
    long double value4s = 0;
    long double value4s0 = 0; // gas velocity before the 0.8 m/s limit
    long double value5s = 0;
    long double value6s = 0;
    long double value7s = 0;
    long double value8s = 0;
    long double value9s = 0;
    long double value10s = 0; // standard run: detection time, or -1 / -2 / -3 / -4

    long double value8 = 0;  // unused
    long double value9 = 0;  // unused
    long double value10 = 0; // unused
    long double value11 = 0; // reduced duration of the initial stage, s
    long double value12 = 0; // duration of the initial stage, s
    long double value13 = 0; // reduced fire load of the mix, kg/m²
    long double value14 = 0; // not computed
    long double value15 = 0; // not computed
    long double value16 = 0; // not computed

    long double VOPResult = 0; // last detection time found, s

    QString value13calc; // worked formula of value13
    QString param06calc; // the flame speeds combined into param6
    QString param07calc; // weighted-average formula of param7
    QString param08calc; // weighted-average formula of param8

    int32_t method = 0; // fire-development method 1 … 5; 0 before any run

    TParamArray tbl;      // optimised run's time table: 8 rows, columns 0 … tbl_time
    int32_t tbl_time = 0; // last filled column of tbl
    int32_t tbl_stop = 0; // column at which TimeResult was taken; 0 if none
    long double TimeResult = 0;

    bool CalculatedVOP = false;
    bool CalculatedNSP = false;
    bool CalculatedFL = false;
    bool DebugMode = false;

    QString FLNames;                  // names of the chosen fire loads, joined by ", "
    std::vector<TFireLoad> FireLoads; // the chosen fire loads in list order; empty: no list
    TFireLoad FLFinal;                // not filled by any calculation

    // The critical sensor, held by identity (its GUID) so that it can never dangle: the
    // zone looks it up and treats a GUID it no longer has as "none".
    QString CSensor;
    bool ManualL = false;

    int32_t BOSClass = BOSClassNone; // 1 = A2, 2 = A3
    QString BOSClassText;            // "A2" / "A3", written by the detection-time report
};
