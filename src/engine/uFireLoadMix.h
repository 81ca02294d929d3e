// Fire-load combination: turns the designer's list of typical fire loads, each with the
// amount present in the zone, into one combined fire load, the reduced fire load value13
// with its worked formula, the formula texts the reports print, and the recommended
// reduced duration of the initial fire stage read from the two design charts.
// The calculation dialog runs it after every change of its list or of a combination rule.
#pragma once

#include "uCalcRecord.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The combination rule of one property: the position of its selector item
// ("макс", "сред", "мин").
enum class TMixRule : int32_t { Max = 0, Average = 1, Min = 2 };

// The ten combined properties, in the order of the dialog's selectors.
enum TFireLoadProperty : int32_t {
    fpP1LowestHeat = 0,
    fpP2LinearFlameSpeed,
    fpP3BurnoutSpeed,
    fpP4SmokeFormingAbility,
    fpP5OxygenConsumption,
    fpP6AllocationCO2,
    fpP6AllocationCO,
    fpP6AllocationHCl,
    fpPFlammableLoad,
    fpCCC,
    FireLoadPropertyCount
};

using TFireLoadMixRules = std::array<TMixRule, FireLoadPropertyCount>;

// The rules in force: the maximum for the linear flame speed, the average for the rest.
TFireLoadMixRules DefaultFireLoadMixRules();

// A selector position (0, 1, 2) as a rule; any other position counts as the average.
TMixRule MixRuleFromIndex(int index);

// Reference heat of combustion of the reduced fire load, kJ/kg.
constexpr long double ReducedFireLoadHeat = 13800;

// Chart texts of the recommendation and the refusal of a mix without any amount.
namespace FireLoadMixText {
inline const QString NoHeightData = QStringLiteral("ПРЕДУПРЕЖДЕНИЕ! На рисунке нет данных для данной высоты помещения.");
inline const QString NoFireLoadData = QStringLiteral("ПРЕДУПРЕЖДЕНИЕ! На рисунке нет значений для данной горючей нагрузки.");
inline const QString ZeroTotal = QStringLiteral("Суммарная горючая нагрузка равна нулю");
}

// The two design charts of the recommended reduced duration of the initial fire stage.
// Each curve belongs to a height band, which begins at its own height (a height at a band
// limit belongs to the upper band) and ends where the next band begins; the curve is drawn
// for the band's reference height H0, and a zone of height h reads it at the equivalent
// volume V / h × H0. The drawn charts and the recommendation take their curves from here.

// Zones up to and including this volume (m³) read the small-volume chart.
constexpr long double SmallVolumeChartLimit = 3000;

// One curve of the small-volume chart: t = a·A³ + b·A² + c·A seconds of the equivalent
// volume A (m³).
struct TSmallChartCurve {
    long double hMin; // the band starts here (inclusive), m
    long double H0;   // reference height, m
    long double a, b, c;
};

// One row of the large-volume chart: t = a·K³ + b·K² + c·K minutes of the equivalent
// volume K in units of 10⁴ m³, K limited to Kmax (the curve is flat beyond it). The row
// covers reduced fire loads above the previous row's qMax (0 for the first) up to and
// including its own qMax, kg/m².
struct TLargeChartRow {
    long double qMax;
    long double Kmax, a, b, c;
};

struct TLargeChartBand {
    long double hMin; // the band starts here (inclusive), m
    long double H0;   // reference height, m
    std::vector<TLargeChartRow> rows; // in increasing qMax
};

// The curves in increasing height; the same objects for the life of the program.
const std::vector<TSmallChartCurve>& SmallVolumeChart();
const std::vector<TLargeChartBand>& LargeVolumeChart();

// The value of a curve at an equivalent volume: seconds for A in m³, minutes for K in
// 10⁴ m³ (K limited to the row's Kmax).
long double SmallChartSeconds(const TSmallChartCurve& curve, long double A);
long double LargeChartMinutes(const TLargeChartRow& row, long double K);

// Where a zone reads the charts.
struct TDesignChartReading {
    bool Large = false;      // V above SmallVolumeChartLimit: the large-volume chart
    int Band = -1;           // index into the chart's bands; -1: no data for this height
    int Row = -1;            // large chart: index into the band's rows; -1: no values for q
    long double Equivalent = 0; // A = V / h × H0 in m³ (small) or K = A / 10⁴ (large), not limited
    long double Value = 0;      // the curve's value there: seconds (small) or minutes (large)
    bool HasValue() const { return Band >= 0 && (!Large || Row >= 0); }
};

// Chooses the chart, the band and the row for a zone of height h (m), volume V (m³) and
// reduced fire load q (kg/m², already rounded) and reads the curve. A height, volume or
// load that is not a finite number gives no band.
TDesignChartReading ReadDesignChart(long double h, long double V, long double q);

// The recommended reduced duration of the initial fire stage.
struct TNSPRecommendation {
    int32_t Minutes = -1; // whole minutes; -1 when the chart has no value
    QString Warning;      // one of the two chart warnings; empty when Minutes is a value
};

// Reads the recommendation from the charts: the small-volume chart (a cubic in seconds of
// the equivalent volume A = V / h × H0) for V <= 3000 m³, the large-volume chart (eleven
// cubics in minutes of K = V / h × H0 / 10000, K limited to the row's Kmax, the row chosen
// by the height band and by q) for larger zones. Heights at a band limit belong to the
// upper band, fire loads at a band limit to the lower band. h in m, V in m³, q the
// reduced fire load in kg/m² (already rounded). Out-of-chart inputs give -1 and a warning;
// a height or volume that is not a finite number gives -1 and the height warning.
TNSPRecommendation RecommendNSPDuration(long double h, long double V, long double q);

// Everything one combination run gives.
struct TFireLoadMix {
    // False for an empty list: nothing was computed and the dialog keeps what it shows.
    bool Computed = false;
    // True when the amounts of the list add up to 0: the weighted means are then taken as
    // 0 and the dialog must refuse to start the calculation (FireLoadMixText::ZeroTotal).
    bool ZeroTotal = false;

    TFireLoad FireLoadFinal; // only the ten property fields are set
    long double TotalLoad = 0; // Q, the sum of the amounts, kg/m²
    long double value13 = 0;   // reduced fire load, rounded to a whole number, kg/m²
    QString value13calc;        // "q*P1/13800 + …"
    QString FLFinal_param06calc; // "v; v; …"
    QString FLFinal_param07calc; // "(q*ψ + …)/Q"
    QString FLFinal_param08calc; // "(q*P1 + …)/Q"

    // Display texts of the dialog's first page, keyed by the property order; P1 is shown
    // rounded to a whole number, the others to 3 decimals.
    std::array<QString, FireLoadPropertyCount> PropertyTexts;
    QString FireLoadFinalText; // text of Q, unrounded, whatever the rule of PFlammableLoad
    QString value13Text;

    TNSPRecommendation Recommendation;
};

// Combines `loads` (their PFlammableLoad is the amount of each material in the zone, kg/m²)
// under the ten rules. Maximum and minimum run over the whole list; the averages are
// weighted by the amounts, except CCC (the plain mean) and PFlammableLoad (the total Q).
// value13 = Σ P1·q / 13800 is rounded (ties to even) only after the sum. Texts use the
// general number format with the user's decimal separator. h (m) and V (m³) feed the
// recommendation. Never raises: a zero total sets ZeroTotal instead of dividing by zero.
TFireLoadMix CalcFireLoad(const std::vector<TFireLoad>& loads, const TFireLoadMixRules& rules,
                          long double h, long double V);
