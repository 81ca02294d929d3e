// TfrmDatabaseEditor: the modal window "Редактор базы данных" in which the designer keeps
// the reference database: typical fire loads, the library of named values that fills
// their properties, and (on two pages nothing shows) fire-fighting sets and material
// types. Every change goes to the database at once; there is no undo and no cancel.
#pragma once

#include "uRefDbStatements.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <functional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

// Opens the database editor modally on `db` with the typical-load page active and frees it
// afterwards; without a database shows "Ошибка при работе с базой данных." and returns.
void ShowDatabaseEditor(QWidget* parent, TSQLiteDatabase* db);

// Each of the four pages has a list of the rows of its table (the item's text is the row's
// name, Qt::UserRole holds its id), an add and a delete button and a panel of edits with a
// save button. The panel shows the selected row's stored texts; it is hidden, and its save
// button disabled, whenever no row is selected. The save button is visible and disabled
// after a row is loaded and enabled by the first edit.
//
// A database failure never leaves a handler: it is shown as one error box (through the
// prompts service) with the database's message under the caption of the action, and the
// window stays as it was before the failing statement. Controls carry their names as Qt
// object names; tests and the callers reach them through the public members.
class TfrmDatabaseEditor : public QDialog {
    Q_OBJECT
public:
    // Builds the window and runs FormCreate. `db` is not owned and may be null (then the
    // window reports the missing database and Opened() is false).
    explicit TfrmDatabaseEditor(TSQLiteDatabase* db, QWidget* parent = nullptr);

    // False when FormCreate found no database: the window is not to be shown, and exec()
    // returns Rejected at once.
    bool Opened() const { return FOpened; }
    int exec() override;

    // --- pages ---------------------------------------------------------------------
    QTabWidget* PageControl;
    QWidget* tsInitialParams; // "Типовые горючие нагрузки"
    QWidget* TabSheet1; // "Редактировать категории"
    QWidget* tsFirefighting; // "Параметры тушения", hidden
    QWidget* tsMaterialTypes; // "Вид материала ограждающих конструкций", hidden
    QPushButton* btnClose;

    // --- typical loads (InitialParams) --------------------------------------------------
    QListWidget* lvInitialParams;
    QPushButton* btnAddInitialParams;
    QPushButton* btnDeleteInitialParams;
    QWidget* pnlInitialParams;
    QLineEdit* edtName;
    QComboBox* cbP1LowestHeat;
    QLineEdit* edtP1LowestHeat;
    QComboBox* cbP2LinearFlameSpeed;
    QLineEdit* edtP2LinearFlameSpeed;
    QComboBox* cbP3BurnoutSpeed;
    QLineEdit* edtP3BurnoutSpeed;
    QComboBox* cbP4SmokeFormingAbility;
    QLineEdit* edtP4SmokeFormingAbility;
    QComboBox* cbP5OxygenConsumption;
    QLineEdit* edtP5OxygenConsumption;
    QComboBox* cbP6AllocationCO2;
    QLineEdit* edtP6AllocationCO2;
    QComboBox* cbP6AllocationCO;
    QLineEdit* edtP6AllocationCO;
    QComboBox* cbP6AllocationHCl;
    QLineEdit* edtP6AllocationHCl;
    QComboBox* cbPFlammableLoad;
    QLineEdit* edtPFlammableLoad;
    QComboBox* cbCCC;
    QLineEdit* edtCCC;
    QPushButton* btnSaveChanges;

    // --- named values (AllParams) ------------------------------------------------------
    QListWidget* lvAllParams;
    QPushButton* btnAllParamsAdd;
    QPushButton* btnAllParamsDelete;
    QWidget* pnlAllParams;
    QLineEdit* edtAllParamsName;
    QLineEdit* edtAllParamsValue;
    QComboBox* cbAllParamsType; // the ten categories; position ↔ RefCategoryCodes
    QPushButton* btnAllParamsSave;

    // --- fire-fighting sets (FireFighting) ----------------------------------------------
    QListWidget* lvFF;
    QPushButton* btnFFAdd;
    QPushButton* btnFFDelete;
    QWidget* pnlFF;
    QLineEdit* edtFFName;
    QLineEdit* edtP21;
    QGroupBox* gbClosedFire; // "Стадия закрытого пожара"
    QLineEdit* edtP18Closed;
    QLineEdit* edtP19Closed;
    QLineEdit* edtP20;
    QGroupBox* gbOpenedFire; // "Стадия открытого пожара"
    QLineEdit* edtP18Opened;
    QLineEdit* edtP19Opened;
    QLineEdit* edtP22; // critical fire-load mass, hidden, read-only
    QGroupBox* gbCalcParameter; // "Расчетный параметр", hidden, read by nothing
    QRadioButton* rbFireArea;
    QRadioButton* rbExtinguishingArea;
    QPushButton* btnFFSaveChanges;

    // --- material types (ABParams) ------------------------------------------------------
    QListWidget* lvMaterialTypes;
    QPushButton* btnMaterialTypeAdd;
    QPushButton* btnMaterialTypeDelete;
    QWidget* pnlMaterialTypes;
    QLineEdit* edtMaterialTypeName;
    QLineEdit* edtMaterialTypeParamA;
    QLineEdit* edtMaterialTypeParamB;
    QPushButton* btnSaveMaterialType;

    // The ten named-value selectors in the order P1 … P5, CO2, CO, HCl, fire load, CCC.
    // Each carries its category code as the property "Tag".
    QList<QComboBox*> NamedValueSelectors() const;
    // The edit a selector fills: the child named like the selector with its first "cb"
    // replaced by "edt"; null when there is none.
    QLineEdit* PairedEdit(const QComboBox* selector) const;

    // --- operations ----------------------------------------------------------------
    // Reload one page's list from its table (panel hidden, delete and save disabled).
    // Return false after reporting a database failure, leaving the list as it was.
    bool ReloadInitialParams();
    bool ReloadAllParams();
    bool ReloadFireFighting();
    bool ReloadMaterialTypes();
    // Refills the ten selectors from AllParams, none with a choice. False after a
    // reported failure.
    bool FillNamedValueSelectors();

    // --- event handlers ------------------------------------------------------------
    void FormCreate();
    void btnCloseClick();
    void btnAddInitialParamsClick();
    void btnDeleteInitialParamsClick();
    void btnSaveChangesClick();
    void btnAllParamsAddClick();
    void btnAllParamsDeleteClick();
    void btnAllParamsSaveClick();
    void btnFFAddClick();
    void btnFFDeleteClick();
    void btnFFSaveChangesClick();
    void btnMaterialTypeAddClick();
    void btnMaterialTypeDeleteClick();
    void btnSaveMaterialTypeClick();
    void lvInitialParamsChange();
    void lvAllParamsChange();
    void lvFFChange();
    void lvMaterialTypesChange();
    void edtP1LowestHeatChange();
    void edtAllParamsNameChange();
    void edtFFNameChange();
    void edtMaterialTypeParamAChange();
    void cbP1LowestHeatChange(QComboBox* Sender);

private:
    // The parts of one page the common handlers work on.
    struct TPage {
        TRefTable Table;
        QListWidget* List = nullptr;
        QPushButton* Delete = nullptr;
        QPushButton* Save = nullptr;
        QWidget* Panel = nullptr;
        QString DeleteQuestion;
        QString DeleteCaption;
    };

    void BuildInitialParamsPage();
    void BuildAllParamsPage();
    void BuildFireFightingPage();
    void BuildMaterialTypesPage();

    // Runs `action`; a database (or any other) failure is shown as one error box with its
    // message under `caption`. Returns whether the action completed.
    bool Guarded(const QString& caption, const std::function<void()>& action);

    bool ReloadList(TPage& page);
    // The selection handler of a page; `load` fills the panel from the one row read by id.
    void ListChange(TPage& page, const std::function<void(const TSQLiteTable&)>& load);
    void AddRow(TPage& page);
    void DeleteRow(TPage& page);
    void EnableSave(TPage& page);
    // The id of the page's selected row; false when no row is selected.
    bool SelectedId(const TPage& page, int64_t* id) const;
    // Checks the texts of the named edits in order with the number check (an empty text
    // passes: it stands for the field's default). False after the first refusal.
    bool CheckNumberFields(const QStringList& editNames);
    // The text of a number edit as saved: as typed, a blank text as empty.
    QString NumberText(const QLineEdit* edit) const;

    TSQLiteDatabase* FDb;
    bool FOpened = false;
    TPage FInitialParams;
    TPage FAllParams;
    TPage FFireFighting;
    TPage FMaterialTypes;
};
