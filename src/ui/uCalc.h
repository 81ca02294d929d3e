// TfrmCalc: the calculation parameters dialog "Параметры расчета", through which every
// calculation of the current zone gets its inputs — the fire loads of the zone chosen from
// the reference database with their amounts and their combination, the physical
// parameters with the fire-development method or the detector class, and the reduced
// duration of the initial fire stage with its design chart.
#pragma once

#include "uCalcDialogValues.h"
#include "uCalcRuns.h"
#include "uFireLoadMix.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class TFloatSpinEdit;
class TSQLiteDatabase;

// State shared by every calculation dialog, one copy for the program. Each dialog's
// creation resets both: the load's ten properties to the reference defaults (Id, ListId
// and Name keep their values) and the counter to 0.
// The typical load read last from the database (LoadInitialParams).
extern TFireLoad CurrentTypicalLoad;
// The counter new ListId values are taken from.
extern int32_t FireLoadListCounter;

// How a run uses the dialog:
//
//   TfrmCalc dlg(db, mainWindow);                  // fresh state, page ts1 active
//   dlg.ApplySetup(CalcDialogSetup(run, zone), &zone.CP.FireLoads);  // or configure by hand
//   if (dlg.exec() == QDialog::Accepted) { TCalcDialogValues v = dlg.Values(); ... }
//
// Configuring by hand: set the texts of edtParam1 / edtParam3 (and edtParam1_ts3 /
// edtParam3_ts3) to the zone's height in m and volume in m³; hide pages with
// SetPageShown (never with setVisible); hide, show, limit or disable the controls below
// as the run requires (hiding a spin edit hides its unit with it).
//
// The fire-load list. The dialog works on one list at a time, FireLoadList(): by default
// its own list, which lives and dies with the dialog. SetFireLoadList(&list) makes it work
// on the caller's list instead (normally the zone's TCalcParamsOrvann::FireLoads): every
// addition and removal changes that list at once, also when the dialog is then
// cancelled. The dialog never frees or reallocates the list object itself; the caller
// keeps it alive until the dialog is destroyed or handed another list. Values() returns
// a copy of the list in use.
//
// Database failures (ESQLiteException) while filling the choice or reading a load are
// shown in one message box with the database's message under "Ошибка БД"; the dialog
// stays open and nothing changes. Every message goes through the prompts service.
class TfrmCalc : public QDialog {
    Q_OBJECT
public:
    // `db` may be null (no reference database): the choice stays empty and adding a load
    // reports it as not found. Not owned; it must outlive the dialog.
    explicit TfrmCalc(TSQLiteDatabase* db, QWidget* parent = nullptr);
    ~TfrmCalc() override;

    // --- pages ---------------------------------------------------------------------
    QTabWidget* pcCalc; // the page control holding ts1, ts2, ts3
    QWidget* ts1; // "Горючие нагрузки"
    QWidget* ts2; // "Параметры"
    QWidget* ts3; // "Расчет ПНСП"

    // --- ts1 -----------------------------------------------------------------------
    QComboBox* cbInitialParams;
    TFloatSpinEdit* seCurrentFL;
    QPushButton* btnFireLoadAdd;
    QPushButton* btnFireLoadEditDatabase;
    QTreeWidget* lvFireLoads; // column 0 holds the ListId (zero width), column 1 the name
    QPushButton* btnFireLoadDelete;
    // The rule selectors (hidden and disabled) and value labels, in property order
    // (TFireLoadProperty): P1 … P6HCl, PFlammableLoad, CCC.
    QComboBox* cbTypeOfCCC;
    QComboBox* cbTypeOfP1LowestHeat;
    QComboBox* cbTypeOfP2LinearFlameSpeed;
    QComboBox* cbTypeOfP3BurnoutSpeed;
    QComboBox* cbTypeOfP4SmokeFormingAbility;
    QComboBox* cbTypeOfP5OxygenConsumption;
    QComboBox* cbTypeOfP6AllocationCO2;
    QComboBox* cbTypeOfP6AllocationCO;
    QComboBox* cbTypeOfP6AllocationHCl;
    QComboBox* cbTypeOfPFlammableLoad;
    QLabel* lblCCC;
    QLabel* lblP1LowestHeat;
    QLabel* lblP2LinearFlameSpeed;
    QLabel* lblP3BurnoutSpeed;
    QLabel* lblP4SmokeFormingAbility;
    QLabel* lblP5OxygenConsumption;
    QLabel* lblP6AllocationCO2;
    QLabel* lblP6AllocationCO;
    QLabel* lblP6AllocationHCl;
    QLabel* lblPFlammableLoad;
    QLabel* lbl32; // "Горючая нагрузка:"
    QLabel* lblFireLoadFinal; // the total amount Q

    // --- ts2 -----------------------------------------------------------------------
    TFloatSpinEdit* seParam10;
    TFloatSpinEdit* seParam11;
    QLineEdit* edtParam3; // zone volume, m³ (read-only, set by the caller)
    QLineEdit* edtParam1; // zone height, m (read-only, set by the caller)
    QLineEdit* edtP22;
    TFloatSpinEdit* seParam4;
    TFloatSpinEdit* seParam2;
    TFloatSpinEdit* seParam12;
    QWidget* pnlMethods;
    QRadioButton* rbMethod1;
    QRadioButton* rbMethod2;
    QRadioButton* rbMethod3;
    QRadioButton* rbMethod4;
    QRadioButton* rbMethod5;
    TFloatSpinEdit* seParam13;
    TFloatSpinEdit* seParam14;
    TFloatSpinEdit* seParam15;
    QLabel* lblParam15Name;
    TFloatSpinEdit* seParam16;
    QWidget* pnlBOSClass;
    QRadioButton* rbClassA2;
    QRadioButton* rbClassA3;

    // --- ts3 -----------------------------------------------------------------------
    QLineEdit* edtParam3_ts3;
    QLineEdit* edtParam1_ts3;
    QLineEdit* edtValue13;
    QLabel* img1; // large-volume chart, hidden until a caller shows it
    QLabel* img2; // small-volume chart, hidden until a caller shows it
    TFloatSpinEdit* seValue11;
    TFloatSpinEdit* seValue11recomend;
    QPushButton* btnSetValue11;
    QLabel* lblValue13RecomendError;

    // --- outside the pages -----------------------------------------------------------
    QPushButton* btn2; // "Начать расчет"
    QPushButton* btn1; // "Отмена"
    QCheckBox* cbDebug;

    // --- configuration and read-out ------------------------------------------------
    // Shows or hides one of ts1, ts2, ts3. A hidden page is taken out of the page control
    // (no tab, cannot be made current); shown again it returns to its place.
    void SetPageShown(QWidget* page, bool shown);
    bool PageShown(QWidget* page) const;

    // Sets the dialog up as a run's TCalcDialogSetup says (CalcDialogSetup in uCalcRuns.h):
    // the height and volume texts, the pages, seParam2's limit (least 0) before its value,
    // seParam4, the panels and method buttons shown, the class button checked with its
    // handler run, seParam11's state and the chart shown on ts3. When the setup hands the
    // zone's list over and `zoneFireLoads` is given, the dialog works on that list
    // (SetFireLoadList). Apply it to a fresh dialog, once.
    void ApplySetup(const TCalcDialogSetup& setup, std::vector<TFireLoad>* zoneFireLoads = nullptr);

    // The list the dialog works on (see the class comment).
    std::vector<TFireLoad>& FireLoadList() { return *FFireLoads; }
    const std::vector<TFireLoad>& FireLoadList() const { return *FFireLoads; }
    // Makes the dialog work on `list` (not owned), or on its own list again for nullptr,
    // and rebuilds lvFireLoads and the combination from it (ReloadFireLoads).
    void SetFireLoadList(std::vector<TFireLoad>* list);

    // The accepted values as the runs copy them: spin values parsed from their texts as
    // typed text is (user's decimal separator, to long double; MinValue for a text that is
    // not a number; held within the control's limits, as its text would show them), the
    // height and volume texts of edtParam1 / edtParam3, the method (first checked of
    // rbMethod1 … 5, 1 when none), BOSClass (A2 → 1, A3 → 2, neither → 0), cbDebug, a copy
    // of the list in use and the combination computed last.
    TCalcDialogValues Values() const;

    // The combination computed last (Computed false while the list was never non-empty).
    const TFireLoadMix& Mix() const { return FMix; }
    const TFireLoad& FireLoadFinal() const { return FMix.FireLoadFinal; }
    long double value13() const { return FMix.value13; }
    const QString& value13calc() const { return FMix.value13calc; }
    const QString& FLFinal_param06calc() const { return FMix.FLFinal_param06calc; }
    const QString& FLFinal_param07calc() const { return FMix.FLFinal_param07calc; }
    const QString& FLFinal_param08calc() const { return FMix.FLFinal_param08calc; }

    // --- operations ----------------------------------------------------------------
    // The initial state: ts1 active, the current typical load's properties reset, the
    // choice filled, the counter 0, the durations 0, an empty own list, the method rule.
    void FormCreate();
    // Reads the typical load `Name` into CurrentTypicalLoad: true with exactly one such
    // row, false (nothing read) with none or several; then UpdateP22. Raises
    // ESQLiteException on a database failure (then nothing changes).
    bool LoadInitialParams(const QString& Name);
    // Refills cbInitialParams with the names of every typical load in database order and
    // selects the first. On a database failure shows the message and keeps the old items.
    void UpdateInitialParams();
    // Rebuilds lvFireLoads from the list in use (ListId values kept) and recombines. The
    // counter continues from the largest ListId present, so new ListIds stay unique.
    void ReloadFireLoads();
    // Shows CurrentTypicalLoad's PFlammableLoad in edtP22.
    void UpdateP22();
    // Recombines the list under the selectors' rules (the engine's CalcFireLoad) and shows
    // the results on ts1 and ts3, the recommendation and the charts; with an empty list
    // nothing changes.
    void CalcFireLoad();
    void cbTypeOfCCCChange();

    // --- event handlers --------------------------------------------------------------
    void btnFireLoadAddClick();
    void btnFireLoadDeleteClick();
    void btnFireLoadEditDatabaseClick();
    void rbMethod1Click(); // the method rule, shared by all five method buttons
    void rbClassA2Click();
    void rbClassA3Click();
    void btnSetValue11Click();
    void btn2Click();

    // The dialog's texts.
    static const QString NotFoundText; // "Ошибка чтения из базы данных. …"
    static const QString DatabaseCaption; // "Ошибка БД"
    static const QString LastLoadText; // "Невозможно удалить позицию. …"
    static const QString LastLoadCaption; // "Ошибка"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildPage1();
    void BuildPage2();
    void BuildPage3();
    void AddFireLoadRow(const TFireLoad& load);
    void UpdateCharts();
    std::array<QComboBox*, FireLoadPropertyCount> Selectors() const;
    std::array<QLabel*, FireLoadPropertyCount> ValueLabels() const;

    TSQLiteDatabase* FDb;
    std::vector<TFireLoad> FOwnFireLoads;
    std::vector<TFireLoad>* FFireLoads = &FOwnFireLoads;
    TFireLoadMix FMix;
    std::array<QWidget*, 3> FPages {};
    std::array<QString, 3> FPageCaptions;
};
