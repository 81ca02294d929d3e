// What the calculation dialog yields, as plain values. The window reads them off its
// controls when the user presses "Начать расчет"; tesvorn-cli builds them from JSON; the
// calculation runs copy them into the zone's record. The initial value of every control
// of the dialog is named here once, and both the window and the command-line tool take
// them from here.
#pragma once

#include "uCalcRecord.h"
#include "uFireLoadMix.h"

#include <QString>
#include <cstdint>
#include <vector>

// The four calculation runs; each sets the dialog up its own way.
enum class TCalcRun : int32_t { Optimised, Standard, InitialStage, FireLoad };

// Initial values of the dialog's controls, as a fresh dialog shows them, and the fixed
// figures of the runs' set-up.
namespace CalcDialogDefaults {
constexpr long double seParam2 = 4;        // L, spacing between sensors, m
constexpr long double seParam4 = 20;       // F, area of the combustible material, m²
constexpr long double seParam10 = 293;     // T0, initial temperature, K
constexpr long double seParam11 = 337;     // Tact, activation temperature, K
constexpr long double seParam12 = 20;      // RTI
constexpr long double seParam13 = 2;       // n, directions of fire spread (method 2)
constexpr long double seParam14 = 3;       // b, combustion front, m (method 2)
constexpr long double seParam15 = 30;      // stabilisation time, s (method 4)
constexpr long double seParam16 = 0.01L;   // vertical flame speed, m/s (method 5)
constexpr long double seValue11 = 0;       // reduced initial-stage duration, min
constexpr long double seValue11recomend = 0;
constexpr long double seCurrentFL = 10;    // amount of the load to be added, kg/m²
inline const QString edtP22 = QStringLiteral("1000"); // critical fire-load mass, kg
constexpr int32_t method = 1;              // rbMethod1 checked

// The class buttons set the activation temperature to the initial temperature plus this, K.
constexpr long double ClassA2Rise = 30;
constexpr long double ClassA3Rise = 40;

// The standard run's own values.
constexpr long double StandardSeParam2 = 5;
constexpr long double StandardSeParam4 = 10;

// The detection-time runs limit seParam2 to the zone's shorter side less this, m.
constexpr long double SpacingMargin = 0.01L;
}

// Texts of the dialog's refusals to start.
namespace CalcDialogText {
inline const QString StartRefusalCaption = QStringLiteral("Невозмонжо начать расчет");
inline const QString NoFireLoads = QStringLiteral("Добавьте хотя бы одну горючую нагрузку");
inline const QString NoNSPDuration = QStringLiteral("Не указана приведенная продолжительность НСП");
}

// The dialog's accepted values. Spin values are the numbers the spin edits hold, converted
// from their text as typed text is; the height and volume stay the texts the dialog shows,
// for the runs to convert.
struct TCalcDialogValues {
    QString edtParam1; // zone height, m, as number text
    QString edtParam3; // zone volume, m³, as number text

    long double seParam2 = CalcDialogDefaults::seParam2;
    long double seParam4 = CalcDialogDefaults::seParam4;
    long double seParam10 = CalcDialogDefaults::seParam10;
    long double seParam11 = CalcDialogDefaults::seParam11;
    long double seParam12 = CalcDialogDefaults::seParam12;
    long double seParam13 = CalcDialogDefaults::seParam13;
    long double seParam14 = CalcDialogDefaults::seParam14;
    long double seParam15 = CalcDialogDefaults::seParam15;
    long double seParam16 = CalcDialogDefaults::seParam16;
    long double seValue11 = CalcDialogDefaults::seValue11; // minutes

    int32_t method = CalcDialogDefaults::method; // first checked of rbMethod1 … rbMethod5
    int32_t BOSClass = BOSClassNone;             // rbClassA2 → 1, rbClassA3 → 2, neither → 0
    bool cbDebug = false;

    // The chosen loads in list order; PFlammableLoad of each is its amount in the zone.
    std::vector<TFireLoad> FireLoads;

    // The combination of FireLoads as the dialog computed it last (CalcFireLoad).
    TFireLoad FireLoadFinal;
    long double value13 = 0;
    QString value13calc;
    QString FLFinal_param06calc;
    QString FLFinal_param07calc;
    QString FLFinal_param08calc;
    bool ZeroTotal = false; // the amounts of FireLoads add up to 0

    // The names of the list's rows joined by ", " (the record's FLNames).
    QString FLNames() const;

    bool operator==(const TCalcDialogValues&) const = default;
};

// Takes the combination's results into `values`: FireLoadFinal, value13, the four formula
// texts and ZeroTotal. A mix that was not computed (empty list) changes nothing.
void SetFireLoadMix(TCalcDialogValues& values, const TFireLoadMix& mix);

// Why "Начать расчет" refuses to close the dialog, or an empty text when it may start:
// no load in the list (NoFireLoads), amounts adding up to 0 (FireLoadMixText::ZeroTotal),
// or, when the initial-stage page is shown, a reduced duration that is not above 0
// (NoNSPDuration). The refusals are shown under StartRefusalCaption with a warning icon.
QString CalcDialogStartRefusal(const TCalcDialogValues& values, bool initialStagePageShown);
