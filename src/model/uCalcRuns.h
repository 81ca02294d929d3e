// The calculation runs below the window. When the user calculates the current zone, the
// main window shows the calculation dialog set up for one of four runs and, once the user
// has accepted it, the run copies the dialog's values into the zone's record, makes its
// calculation, lays out the sensor grid and tells the window what to show. Everything
// here is plain values and model operations, so the window only configures and shows the
// dialog, calls the run and shows what it returns, and tesvorn-cli makes the very same run
// without any window.
//
// The window's side, for each run:
//   1. CalcRunStartRefusal(project, zone): when it answers a result, show it and stop;
//   2. setup := CalcDialogSetup(run, zone); clear the debug log when setup.ClearDebugLog;
//      create the dialog and apply the setup (limit before value); hand it the zone's own
//      fire-load list when setup.HandOverFireLoads;
//   3. cancelled: perform CalcRunCancelledSteps(run) and stop;
//   4. accepted: result := RunCalc(run, project, zone, dialog values, indicators, sensor
//      number); take result.Indicators and result.SensorNumber as the window's own; forget
//      the current sensor when result.SensorsReplaced; perform result.Steps in order.
#pragma once

#include "uCalcDialogValues.h"
#include "uCalcRecord.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

class TFireProject;
class TRoom;

// The state of one result indicator (pnlIndicatorVOP, pnlIndicatorNSP, pnlIndicatorFL):
// the window's default panel colour, green RGB (0, 128, 0) or yellow RGB (255, 255, 0).
enum class TIndicatorState : int32_t { None, Green, Yellow };

// The three indicators. They belong to the window, not to a zone.
struct TCalcIndicators {
    TIndicatorState VOP = TIndicatorState::None;
    TIndicatorState NSP = TIndicatorState::None;
    TIndicatorState FL = TIndicatorState::None;

    bool operator==(const TCalcIndicators&) const = default;
};

// Texts of the runs' announcements and refusals.
namespace CalcRunText {
inline const QString RefusalCaption = CalcDialogText::StartRefusalCaption; // "Невозмонжо начать расчет"
inline const QString SelectZone = QStringLiteral("Выберите помещение");
inline const QString NoScale = QStringLiteral(
    "Не задан масштаб проекта. Задайте масштаб кнопкой \"Задать масштаб\" и повторите расчет.");
inline const QString SpacingNotPositive
    = QStringLiteral("Расстояние между сенсорами должно быть больше нуля.");
inline const QString GridTooLarge
    = QStringLiteral("Слишком малое расстояние между сенсорами: в сетке было бы больше %1 датчиков.");
inline const QString HeightNotNumber = QStringLiteral("Высота зоны \"%1\" не является числом.");
inline const QString ResultCaption = QStringLiteral("Результат");
inline const QString FireLoadDone = QStringLiteral("Расчет сделан");
// The result panel.
inline const QString VOPDone = QStringLiteral("Расчет ВОП произведен.");
inline const QString VOPNotDone = QStringLiteral("Расчет ВОП не производился.");
inline const QString NSPDone = QStringLiteral("Расчет НСП произведен.");
inline const QString NSPNotDone = QStringLiteral("Расчет НСП не производился.");
}

// The most sensors a sensor grid may hold; a spacing that would give more is refused
// (a tiny spacing typed into a large zone would otherwise exhaust the memory).
constexpr int64_t MaxGridSensors = 100000;

// The design chart the initial-stage page shows.
enum class TCalcChart : int32_t { None, img1, img2 };

// How the window sets the calculation dialog up for a run, and what tesvorn-cli takes as
// the dialog's values for keys left out. Page ts1 is always shown. Fields left at their
// defaults mean "leave the fresh dialog as it is".
struct TCalcDialogSetup {
    TCalcRun Run = TCalcRun::Standard;

    // The zone height in metres and its volume in m³, general number format, for edtParam1
    // and edtParam3; with FillTs3 also for edtParam1_ts3 and edtParam3_ts3.
    QString edtParam1;
    QString edtParam3;
    bool FillTs3 = false;

    bool ts2Visible = true; // parameters page
    bool ts3Visible = true; // initial-stage page

    // seParam2's greatest value (its least is then 0), set before seParam2's value; the
    // value as the spin edit shows it, limits applied.
    std::optional<long double> seParam2Max;
    std::optional<long double> seParam2;
    std::optional<long double> seParam4;

    bool pnlMethodsVisible = true;
    bool pnlBOSClassVisible = false;
    bool rbMethod3Visible = true;
    bool rbMethod4Visible = true;
    bool seParam15Visible = true;
    bool lblParam15NameVisible = true;
    // The class button the window checks and whose click handler it runs (which sets
    // seParam11 to seParam10 plus the class's rise); BOSClassNone: none.
    int32_t ClassClicked = BOSClassNone;
    bool seParam11Enabled = true;

    TCalcChart Chart = TCalcChart::None; // shown on page ts3
    bool HandOverFireLoads = false; // the dialog works on the zone's own list
    bool ClearDebugLog = false; // before the dialog is created
};

// The set-up of `run` for zone `room`:
//  - every run: edtParam1 := ScaledValue(H), edtParam3 := V, both in the general format;
//  - Standard: ts3 and pnlMethods hidden, pnlBOSClass shown, seParam2 limited to the
//    shorter side in metres − 0.01 and set to 5, seParam4 10, class A3 clicked, seParam11
//    disabled;
//  - Optimised: ts3 hidden, rbMethod3, rbMethod4, seParam15 and lblParam15Name hidden,
//    seParam2 limited as above and set to Round(0.36 · H · 10) / 10;
//  - InitialStage: ts2 hidden, img1 when V > 3000 m³ else img2, FillTs3;
//  - FireLoad: ts2 and ts3 hidden, FillTs3;
//  - the zone's fire-load list is handed over, except in the optimised run, when the
//    record has any of its three results; the debug log is cleared by every run but the
//    fire-load run.
// The zone's scale is its project's (ScaledValue).
TCalcDialogSetup CalcDialogSetup(TCalcRun run, const TRoom& room);

// The values a dialog so set up holds before the user changes anything: the initial values
// of CalcDialogDefaults with the set-up's texts, spacing, area and class applied (class
// A3: seParam11 = seParam10 + 40). The fire-load list is empty.
TCalcDialogValues CalcDialogInitialValues(const TCalcDialogSetup& setup);

// Whether the user can change the dialog's control `control` (its object name: "seParam2",
// "seParam4", "seParam10" … "seParam16", "seValue11", "method" for the method buttons,
// "BOSClass" for the class buttons) in a dialog so set up: its page and panel are shown
// and the control is shown and enabled. The extra parameters follow the method chosen:
// seParam13 and seParam14 with method 2, seParam15 with method 4, seParam16 with method 5.
// Any other name answers false.
bool CalcDialogControlOffered(const TCalcDialogSetup& setup, const QString& control, int32_t method);

// Whether the method button rbMethod<method> (1 … 5) can be chosen in a dialog so set up.
bool CalcDialogMethodOffered(const TCalcDialogSetup& setup, int32_t method);

// ---------------------------------------------------------------------------------------

// What the window does with a run's result, in the order the steps come.
enum class TCalcRunStep : int32_t {
    ClearDebugLog, // empty the debug window's memo
    AddDebugLines, // append DebugLines to it, one line each
    ShowDebugWindow, // show the debug window, not modal
    SetIndicators, // colour the three indicators after Indicators
    StatusBar, // StatusBarText into the status bar's first panel
    SetManualL, // seManualL's value := ManualL
    MessageBox, // a modal box: Message, Caption, Icon
    Repaint, // repaint the plan
    ShowCalcResult, // rewrite the result panel from the current zone (CalcResultPanel)
};

enum class TMessageIcon : int32_t { Information, Warning };

enum class TCalcRunStatus : int32_t {
    Done, // the run was made: the record holds its result
    Refused, // nothing changed in the project; the steps say why (none: nothing to show)
};

struct TCalcRunResult {
    TCalcRunStatus Status = TCalcRunStatus::Refused;
    std::vector<TCalcRunStep> Steps;

    QString Message; // the box's text; also the announcement of the run
    QString Caption;
    TMessageIcon Icon = TMessageIcon::Information;
    QString StatusBarText;
    long double ManualL = 0; // m
    QStringList DebugLines;

    // The indicators after the run (as they came in when the run changes none).
    TCalcIndicators Indicators;
    // The zone's sensors were destroyed and replaced by a grid: pointers to them (the
    // window's current sensor) are no longer valid.
    bool SensorsReplaced = false;
    // The running sensor number after the run (as it came in unless SensorsReplaced).
    int32_t SensorNumber = 0;

    bool Has(TCalcRunStep step) const;
};

// Common step 1 of every run: no project gives a refusal without steps (nothing happens);
// no zone gives the box "Выберите помещение" / "Невозмонжо начать расчет" (warning); a
// project without a scale the box CalcRunText::NoScale under the same caption, since every
// length of a run would be taken in pixels. std::nullopt: the run may start. Only the steps
// of the answer count here; its Indicators and SensorNumber are not the window's.
std::optional<TCalcRunResult> CalcRunStartRefusal(const TFireProject* project, const TRoom* room);

// What the window does when the dialog is not accepted: the standard run repaints the
// plan and rewrites the result panel, the others only rewrite the result panel.
std::vector<TCalcRunStep> CalcRunCancelledSteps(TCalcRun run);

// The runs, each after its dialog was accepted with `values`. A run that is made (Status
// Done) keeps itself in room.Runs as the last run of its kind (TZoneRun: the values, the
// announcement, the outcome, the zone's height, volume and extent when it started) and
// marks the project modified; a refusal keeps nothing. `room` belongs to `project`;
// `indicators` and `sensorNumber` are the window's current ones. Each first checks
// CalcRunStartRefusal (and answers its refusal); the standard and optimised runs refuse a
// spacing seParam2 that is not above 0 or that would give more than MaxGridSensors
// sensors, and the standard run a height text that is not a number (warning boxes under
// "Невозмонжо начать расчет"). A refusal changes nothing.
//
// CalcVOP (standard run): copies the values (method 1, BOSClass from the class buttons),
// CalcHeightTables; when this run gave a time, −1 or −2 the other green indicators turn
// yellow and VOP green (−3 and −4 change no indicator); steps: SetIndicators, StatusBar,
// SetManualL (param2), MessageBox (the outcome's text, "Результат", information), with
// debug mode ClearDebugLog, AddDebugLines (HeightTablesDebugLines), ShowDebugWindow; then
// the sensor grid (PlaceSensorGrid), Repaint, ShowCalcResult.
TCalcRunResult CalcVOP(TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber);

// Calc (optimised run): copies the values (method from the buttons), CalcCP; steps:
// AddDebugLines (OptimisedDebugLines, on every run; the log was cleared before the
// dialog), the sensor grid, Repaint, ShowDebugWindow when cbDebug, StatusBar and
// MessageBox ("Пожар не будет обнаружен" or the time, "Результат", information),
// ShowCalcResult. The indicators do not change.
TCalcRunResult Calc(TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber);

// CalcInitialStage: copies the values (value11 from seValue11 in minutes, value13 and the
// formula texts, method), CalcInitialStageDuration; steps: SetIndicators (FL and VOP green
// become yellow, NSP green), MessageBox (the duration, "Результат", information),
// ShowCalcResult. A mix whose v, ψ or Qн is 0 is the engine's refusal: MessageBox with its
// text ("Результат", warning), ShowCalcResult; the record stays exactly as it was and the
// indicators do not change (Status Refused).
TCalcRunResult CalcInitialStage(TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber);

// CalcFL (fire-load run): copies the values (value13 and the formula texts; value11,
// method and BOSClass stay), CalculatedFL := true; steps: with debug mode ClearDebugLog,
// AddDebugLines (RecordInputDebugLines, 16 + 1 + 6 lines), ShowDebugWindow; SetIndicators
// (VOP and NSP green become yellow, FL green), MessageBox ("Расчет сделан", "Результат",
// information), ShowCalcResult.
TCalcRunResult CalcFL(TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber);

// The run `run`: one of the four above.
TCalcRunResult RunCalc(TCalcRun run, TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber);

// Lays out the zone's sensors for its spacing L = CP.param2 (m), under its project's scale:
// destroys the sensors it had, then places rows = ⌈Hm / L⌉ by cols = ⌈Wm / L⌉ sensors
// (Hm, Wm the zone's extents in metres) with the outer ones L / 2 from the walls and the
// others evenly between them; a single row or column lies on the zone's centre line. The
// sensors are named "1", "2", … row by row from the top-left from the running sensor
// number, which starts again at 0 (so it ends at the count placed), and get the Range
// UnscaledValue(L / 2). L = −1, an L that is not a positive number and an L that would
// give more than MaxGridSensors sensors place none. Answers the number placed.
int32_t PlaceSensorGrid(TRoom& room, int32_t& sensorNumber);

// ---------------------------------------------------------------------------------------

// The result panel pnlCalcResult for the current zone.
struct TCalcResultPanel {
    bool Visible = false; // false: hide the panel (no current zone), the rest is empty
    QString lblRes1Header;
    QString lblRes1;
    QString lblRes2Header;
    QString lblRes2;
    bool Res1HeaderGreen = false; // green header font, otherwise black
    bool Res2HeaderGreen = false;
};

// ShowCalcResult's content for `room` (nullptr: no current zone): "Расчет ВОП произведен."
// in green with "Время обнаружения: " + the rounded VOPResult + " сек" when CalculatedVOP,
// else "Расчет ВОП не производился."; likewise for the initial stage with value12.
TCalcResultPanel CalcResultPanel(const TRoom* room);
