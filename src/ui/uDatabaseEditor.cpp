// The database editor: the four pages, their common list-and-panel behaviour and the
// named-value selectors of the typical-load page.
#include "uDatabaseEditor.h"

#include "uMain.h"
#include "uMisc.h"
#include "uNumberText.h"
#include "uPrompts.h"
#include "uTypicalLoad.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <exception>
#include <vector>

namespace {

const QString KNoDatabaseText = QStringLiteral("Ошибка при работе с базой данных.");
const QString KSaveCaption = QStringLiteral("Сохранение изменений");
const QString KAddCaption = QStringLiteral("Добавление записи");
const QString KReadCaption = QStringLiteral("Чтение базы данных");
const QString KDeleteSetText = QStringLiteral("Вы действительно хотите удалить данный набор параметров?");
const QString KDeleteSetCaption = QStringLiteral("Удаление параметров");

// The typical-load number edits in the order a save checks them. The fire load is an
// amount the calculations use, so it is checked like the others, in its place after HCl.
const QStringList KInitialParamsNumberFields = {
    QStringLiteral("edtP1LowestHeat"),
    QStringLiteral("edtP2LinearFlameSpeed"),
    QStringLiteral("edtP3BurnoutSpeed"),
    QStringLiteral("edtP4SmokeFormingAbility"),
    QStringLiteral("edtP5OxygenConsumption"),
    QStringLiteral("edtP6AllocationCO2"),
    QStringLiteral("edtP6AllocationCO"),
    QStringLiteral("edtP6AllocationHCl"),
    QStringLiteral("edtPFlammableLoad"),
    QStringLiteral("edtCCC"),
};
const QStringList KFireFightingNumberFields = {
    QStringLiteral("edtP20"),
    QStringLiteral("edtP21"),
    QStringLiteral("edtP19Closed"),
    QStringLiteral("edtP18Closed"),
    QStringLiteral("edtP19Opened"),
    QStringLiteral("edtP18Opened"),
};
const QStringList KMaterialTypeNumberFields = {
    QStringLiteral("edtMaterialTypeParamA"),
    QStringLiteral("edtMaterialTypeParamB"),
};

// The values a fresh fire-fighting form shows, which are also what an empty field stands
// for.
struct TFireFightingDefault {
    const char* Edit;
    long double Value;
};
const TFireFightingDefault KFireFightingDefaults[] = {
    { "edtP21", 1 },
    { "edtP18Closed", 0.2L },
    { "edtP19Closed", 200 },
    { "edtP20", 593 },
    { "edtP18Opened", 0.4L },
    { "edtP19Opened", 400 },
};

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text = QString())
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QListWidget* MakeList(QWidget* parent, const char* name)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setViewMode(QListView::ListMode);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    return list;
}

QComboBox* MakeSelector(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->setEditable(false);
    // Names of typical loads can be long: the box keeps a steady width and the list that
    // drops down is as wide as its longest name.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(18);
    return combo;
}

// A panel: a framed area whose place in the page stays reserved while it is hidden, so
// that the list beside it does not jump when a row is selected.
QFrame* MakePanel(QWidget* parent, const char* name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::StyledPanel);
    QSizePolicy policy = panel->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    panel->setSizePolicy(policy);
    return panel;
}

// The left column of a page: the list over its add and delete buttons.
QVBoxLayout* ListColumn(QListWidget* list, QPushButton* add, QPushButton* remove)
{
    auto* column = new QVBoxLayout;
    column->addWidget(list, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    column->addLayout(buttons);
    list->setMinimumWidth(300);
    return column;
}

// The foot of a panel: the save button at the right.
QHBoxLayout* SaveRow(QPushButton* save)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(save);
    return row;
}

// Reads every listed column of the current row first, so that a missing column fails
// before any edit has been touched.
QStringList ReadTexts(const TSQLiteTable& table, const QStringList& columns)
{
    QStringList texts;
    for (const QString& column : columns)
        texts << table.FieldAsStringByName(column);
    return texts;
}

} // namespace

// --- entry point ---------------------------------------------------------------------

void ShowDatabaseEditor(QWidget* parent, TSQLiteDatabase* db)
{
    TfrmDatabaseEditor editor(db, parent);
    if (!editor.Opened())
        return;
    editor.PageControl->setCurrentWidget(editor.tsInitialParams);
    editor.exec();
}

// --- construction --------------------------------------------------------------------

TfrmDatabaseEditor::TfrmDatabaseEditor(TSQLiteDatabase* db, QWidget* parent)
    : QDialog(parent)
    , FDb(db)
{
    setObjectName(QStringLiteral("frmDatabaseEditor"));
    setWindowTitle(QStringLiteral("Редактор базы данных"));
    setModal(true);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    BuildInitialParamsPage();
    BuildAllParamsPage();
    BuildFireFightingPage();
    BuildMaterialTypesPage();
    // The fire-fighting sets and the material types are complete but not offered.
    PageControl->setTabVisible(PageControl->indexOf(tsFirefighting), false);
    PageControl->setTabVisible(PageControl->indexOf(tsMaterialTypes), false);
    PageControl->setCurrentWidget(tsInitialParams);

    btnClose = MakeButton(this, "btnClose", QStringLiteral("Закрыть"));
    connect(btnClose, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnCloseClick);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    auto* foot = new QHBoxLayout;
    foot->addStretch(1);
    foot->addWidget(btnClose);
    layout->addLayout(foot);
    resize(960, 580);

    FInitialParams = { TRefTable::InitialParams, lvInitialParams, btnDeleteInitialParams, btnSaveChanges,
        pnlInitialParams, KDeleteSetText, KDeleteSetCaption };
    FAllParams = { TRefTable::AllParams, lvAllParams, btnAllParamsDelete, btnAllParamsSave, pnlAllParams,
        QStringLiteral("Вы действительно хотите удалить данный параметр?"),
        QStringLiteral("Удаление параметра") };
    FFireFighting = { TRefTable::FireFighting, lvFF, btnFFDelete, btnFFSaveChanges, pnlFF, KDeleteSetText,
        KDeleteSetCaption };
    FMaterialTypes = { TRefTable::ABParams, lvMaterialTypes, btnMaterialTypeDelete, btnSaveMaterialType,
        pnlMaterialTypes, QStringLiteral("Вы действительно хотите удалить данный вид материала?"),
        QStringLiteral("Удаление вида материала") };
    for (TPage* page : { &FInitialParams, &FAllParams, &FFireFighting, &FMaterialTypes }) {
        page->Delete->setEnabled(false);
        page->Save->setEnabled(false);
        page->Save->setVisible(false);
        page->Panel->setVisible(false);
    }

    FormCreate();
}

void TfrmDatabaseEditor::BuildInitialParamsPage()
{
    tsInitialParams = new QWidget;
    tsInitialParams->setObjectName(QStringLiteral("tsInitialParams"));
    PageControl->addTab(tsInitialParams, QStringLiteral("Типовые горючие нагрузки"));

    lvInitialParams = MakeList(tsInitialParams, "lvInitialParams");
    btnAddInitialParams = MakeButton(tsInitialParams, "btnAddInitialParams", QStringLiteral("Добавить ГН"));
    btnDeleteInitialParams = MakeButton(tsInitialParams, "btnDeleteInitialParams", QStringLiteral("Удалить"));

    QFrame* panel = MakePanel(tsInitialParams, "pnlInitialParams");
    pnlInitialParams = panel;
    auto* grid = new QGridLayout(panel);
    grid->setColumnStretch(1, 1);
    grid->addWidget(MakeLabel(panel, QStringLiteral("lblName"), QStringLiteral("Название:")), 0, 0);
    edtName = MakeEdit(panel, "edtName");
    grid->addWidget(edtName, 0, 1, 1, 3);

    // One row per property: caption, named-value selector, edit and unit. The three gases
    // share the caption "Выделение газа:" on a row of its own.
    TFireLoad defaults;
    ResetFireLoadToDefaults(defaults);
    struct TRow {
        const char* Selector;
        const char* Edit;
        QString Caption;
        QString Unit;
        int Code;
        long double Default;
        QComboBox** SelectorMember;
        QLineEdit** EditMember;
        bool Gas;
    };
    const TRow rows[] = {
        { "cbP1LowestHeat", "edtP1LowestHeat", QStringLiteral("Низшая теплота сгорания:"),
            QStringLiteral("кДж/кг"), 1, defaults.P1LowestHeat, &cbP1LowestHeat, &edtP1LowestHeat, false },
        { "cbP2LinearFlameSpeed", "edtP2LinearFlameSpeed", QStringLiteral("Линейная скорость пламени:"),
            QStringLiteral("м/с"), 2, defaults.P2LinearFlameSpeed, &cbP2LinearFlameSpeed,
            &edtP2LinearFlameSpeed, false },
        { "cbP3BurnoutSpeed", "edtP3BurnoutSpeed", QStringLiteral("Удельная скорость выгорания:"),
            QStringLiteral("кг/(м²·с)"), 3, defaults.P3BurnoutSpeed, &cbP3BurnoutSpeed, &edtP3BurnoutSpeed,
            false },
        { "cbP4SmokeFormingAbility", "edtP4SmokeFormingAbility",
            QStringLiteral("Дымообразующая способность:"), QStringLiteral("Нп·м²/кг"), 4,
            defaults.P4SmokeFormingAbility, &cbP4SmokeFormingAbility, &edtP4SmokeFormingAbility, false },
        { "cbP5OxygenConsumption", "edtP5OxygenConsumption", QStringLiteral("Потребление кислорода:"),
            QStringLiteral("кг/кг"), 5, defaults.P5OxygenConsumption, &cbP5OxygenConsumption,
            &edtP5OxygenConsumption, false },
        { "cbP6AllocationCO2", "edtP6AllocationCO2", QStringLiteral("углекислого:"), QStringLiteral("кг/кг"),
            61, defaults.P6AllocationCO2, &cbP6AllocationCO2, &edtP6AllocationCO2, true },
        { "cbP6AllocationCO", "edtP6AllocationCO", QStringLiteral("угарного:"), QStringLiteral("кг/кг"), 62,
            defaults.P6AllocationCO, &cbP6AllocationCO, &edtP6AllocationCO, true },
        { "cbP6AllocationHCl", "edtP6AllocationHCl", QStringLiteral("хлористого водорода:"),
            QStringLiteral("кг/кг"), 63, defaults.P6AllocationHCl, &cbP6AllocationHCl, &edtP6AllocationHCl,
            true },
        { "cbPFlammableLoad", "edtPFlammableLoad", QStringLiteral("Горючая нагрузка:"),
            QStringLiteral("кг/м²"), 6, defaults.PFlammableLoad, &cbPFlammableLoad, &edtPFlammableLoad,
            false },
        { "cbCCC", "edtCCC", QStringLiteral("Коэф. полноты горения:"), QString(), 7, defaults.CCC, &cbCCC,
            &edtCCC, false },
    };
    int r = 1;
    bool gasCaption = false;
    for (const TRow& row : rows) {
        const QString base = QString::fromLatin1(row.Edit).mid(3);
        if (row.Gas && !gasCaption) {
            grid->addWidget(
                MakeLabel(panel, QStringLiteral("lblP6Allocation"), QStringLiteral("Выделение газа:")), r++,
                0);
            gasCaption = true;
        }
        QLabel* caption = MakeLabel(panel, QStringLiteral("lbl") + base, row.Caption);
        if (row.Gas)
            caption->setIndent(16);
        QComboBox* selector = MakeSelector(panel, row.Selector);
        selector->setProperty("Tag", row.Code);
        QLineEdit* edit = MakeEdit(panel, row.Edit, QStringLiteral("0"));
        edit->setPlaceholderText(FormatGeneral(row.Default));
        edit->setMinimumWidth(100);
        edit->setMaximumWidth(140);
        grid->addWidget(caption, r, 0);
        grid->addWidget(selector, r, 1);
        grid->addWidget(edit, r, 2);
        grid->addWidget(
            MakeLabel(panel, QStringLiteral("lbl") + base + QStringLiteral("Unit"), row.Unit), r, 3);
        *row.SelectorMember = selector;
        *row.EditMember = edit;
        ++r;
    }
    grid->setRowStretch(r++, 1);
    btnSaveChanges = MakeButton(panel, "btnSaveChanges", QStringLiteral("Сохранить изменения"));
    grid->addLayout(SaveRow(btnSaveChanges), r, 0, 1, 4);

    auto* page = new QHBoxLayout(tsInitialParams);
    page->addLayout(ListColumn(lvInitialParams, btnAddInitialParams, btnDeleteInitialParams), 0);
    page->addWidget(panel, 1);

    connect(lvInitialParams, &QListWidget::itemSelectionChanged, this,
        &TfrmDatabaseEditor::lvInitialParamsChange);
    connect(btnAddInitialParams, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnAddInitialParamsClick);
    connect(btnDeleteInitialParams, &QPushButton::clicked, this,
        &TfrmDatabaseEditor::btnDeleteInitialParamsClick);
    connect(btnSaveChanges, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnSaveChangesClick);
    for (QLineEdit* edit : panel->findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, &TfrmDatabaseEditor::edtP1LowestHeatChange);
    // A pick is the user's choice from the list (a refill of the list is not one).
    for (QComboBox* selector : NamedValueSelectors())
        connect(selector, &QComboBox::activated, this, [this, selector] { cbP1LowestHeatChange(selector); });
}

void TfrmDatabaseEditor::BuildAllParamsPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl->addTab(TabSheet1, QStringLiteral("Редактировать категории"));

    lvAllParams = MakeList(TabSheet1, "lvAllParams");
    btnAllParamsAdd = MakeButton(TabSheet1, "btnAllParamsAdd", QStringLiteral("Добавить значение"));
    btnAllParamsDelete = MakeButton(TabSheet1, "btnAllParamsDelete", QStringLiteral("Удалить"));

    QFrame* panel = MakePanel(TabSheet1, "pnlAllParams");
    pnlAllParams = panel;
    auto* grid = new QGridLayout(panel);
    grid->setColumnStretch(1, 1);
    edtAllParamsName = MakeEdit(panel, "edtAllParamsName");
    cbAllParamsType = new QComboBox(panel);
    cbAllParamsType->setObjectName(QStringLiteral("cbAllParamsType"));
    cbAllParamsType->setEditable(false);
    cbAllParamsType->addItems(RefCategoryTexts());
    cbAllParamsType->setCurrentIndex(-1);
    edtAllParamsValue = MakeEdit(panel, "edtAllParamsValue", QStringLiteral("0"));
    edtAllParamsValue->setMaximumWidth(140);
    grid->addWidget(MakeLabel(panel, QStringLiteral("lblAllParamsName"), QStringLiteral("Название")), 0, 0);
    grid->addWidget(edtAllParamsName, 0, 1);
    grid->addWidget(MakeLabel(panel, QStringLiteral("lblAllParamsType"), QStringLiteral("Категория")), 1, 0);
    grid->addWidget(cbAllParamsType, 1, 1);
    grid->addWidget(MakeLabel(panel, QStringLiteral("lblAllParamsValue"), QStringLiteral("Значение")), 2, 0);
    grid->addWidget(edtAllParamsValue, 2, 1, Qt::AlignLeft);
    grid->setRowStretch(3, 1);
    btnAllParamsSave = MakeButton(panel, "btnAllParamsSave", QStringLiteral("Сохранить изменения"));
    grid->addLayout(SaveRow(btnAllParamsSave), 4, 0, 1, 2);

    auto* page = new QHBoxLayout(TabSheet1);
    page->addLayout(ListColumn(lvAllParams, btnAllParamsAdd, btnAllParamsDelete), 0);
    page->addWidget(panel, 1);

    connect(lvAllParams, &QListWidget::itemSelectionChanged, this, &TfrmDatabaseEditor::lvAllParamsChange);
    connect(btnAllParamsAdd, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnAllParamsAddClick);
    connect(btnAllParamsDelete, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnAllParamsDeleteClick);
    connect(btnAllParamsSave, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnAllParamsSaveClick);
    connect(edtAllParamsName, &QLineEdit::textChanged, this, &TfrmDatabaseEditor::edtAllParamsNameChange);
    connect(edtAllParamsValue, &QLineEdit::textChanged, this, &TfrmDatabaseEditor::edtAllParamsNameChange);
    connect(
        cbAllParamsType, &QComboBox::currentIndexChanged, this, &TfrmDatabaseEditor::edtAllParamsNameChange);
}

void TfrmDatabaseEditor::BuildFireFightingPage()
{
    tsFirefighting = new QWidget;
    tsFirefighting->setObjectName(QStringLiteral("tsFirefighting"));
    PageControl->addTab(tsFirefighting, QStringLiteral("Параметры тушения"));

    lvFF = MakeList(tsFirefighting, "lvFF");
    btnFFAdd = MakeButton(tsFirefighting, "btnFFAdd", QStringLiteral("Добавить"));
    btnFFDelete = MakeButton(tsFirefighting, "btnFFDelete", QStringLiteral("Удалить"));

    QFrame* panel = MakePanel(tsFirefighting, "pnlFF");
    pnlFF = panel;
    auto* column = new QVBoxLayout(panel);
    auto* top = new QGridLayout;
    top->setColumnStretch(1, 1);
    column->addLayout(top);
    edtFFName = MakeEdit(panel, "edtFFName");
    top->addWidget(MakeLabel(panel, QStringLiteral("lblFFName"), QStringLiteral("Название:")), 0, 0);
    top->addWidget(edtFFName, 0, 1, 1, 2);

    // Adds "caption  edit  unit" as row `row` of `grid`.
    auto addRow = [](QGridLayout* grid, int row, QWidget* parent, const char* editName,
                      const QString& caption, const QString& unit, QLineEdit** member) {
        const QString base = QString::fromLatin1(editName).mid(3);
        *member = MakeEdit(parent, editName);
        (*member)->setMaximumWidth(140);
        grid->addWidget(MakeLabel(parent, QStringLiteral("lbl") + base, caption), row, 0);
        grid->addWidget(*member, row, 1);
        grid->addWidget(
            MakeLabel(parent, QStringLiteral("lbl") + base + QStringLiteral("Unit"), unit), row, 2);
    };
    addRow(top, 1, panel, "edtP21", QStringLiteral("Требуемая интенсивность подачи огнетушащих вещест:"),
        QStringLiteral("л/МДж"), &edtP21);

    const QString intensity = QStringLiteral("Нормативная интенсивность подачи ОТВ:");
    const QString consumption = QStringLiteral("Удельный расход подачи ОТВ:");
    gbClosedFire = new QGroupBox(QStringLiteral("Стадия закрытого пожара"), panel);
    gbClosedFire->setObjectName(QStringLiteral("gbClosedFire"));
    auto* closed = new QGridLayout(gbClosedFire);
    closed->setColumnStretch(0, 1);
    addRow(closed, 0, gbClosedFire, "edtP18Closed", intensity, QStringLiteral("л/(с·м²)"), &edtP18Closed);
    addRow(closed, 1, gbClosedFire, "edtP19Closed", consumption, QStringLiteral("л/м²"), &edtP19Closed);
    addRow(closed, 2, gbClosedFire, "edtP20", QStringLiteral("Температура разрушения остекления:"),
        QStringLiteral("К"), &edtP20);
    column->addWidget(gbClosedFire);

    gbOpenedFire = new QGroupBox(QStringLiteral("Стадия открытого пожара"), panel);
    gbOpenedFire->setObjectName(QStringLiteral("gbOpenedFire"));
    auto* opened = new QGridLayout(gbOpenedFire);
    opened->setColumnStretch(0, 1);
    addRow(opened, 0, gbOpenedFire, "edtP18Opened", intensity, QStringLiteral("л/(с·м²)"), &edtP18Opened);
    addRow(opened, 1, gbOpenedFire, "edtP19Opened", consumption, QStringLiteral("л/м²"), &edtP19Opened);
    column->addWidget(gbOpenedFire);

    for (const TFireFightingDefault& d : KFireFightingDefaults) {
        auto* edit = panel->findChild<QLineEdit*>(QLatin1String(d.Edit));
        edit->setText(FormatGeneral(d.Value));
        edit->setPlaceholderText(FormatGeneral(d.Value));
    }

    // Kept from an earlier design of the page; nothing reads them and they are not shown.
    auto* critical = new QGridLayout;
    critical->setColumnStretch(0, 1);
    addRow(critical, 0, panel, "edtP22", QStringLiteral("Критическая масса горючей нагрузки:"),
        QStringLiteral("кг"), &edtP22);
    edtP22->setText(QStringLiteral("1000"));
    edtP22->setReadOnly(true);
    for (QWidget* w : { static_cast<QWidget*>(edtP22), panel->findChild<QWidget*>(QStringLiteral("lblP22")),
             panel->findChild<QWidget*>(QStringLiteral("lblP22Unit")) })
        w->setVisible(false);
    column->addLayout(critical);
    gbCalcParameter = new QGroupBox(QStringLiteral("Расчетный параметр"), panel);
    gbCalcParameter->setObjectName(QStringLiteral("gbCalcParameter"));
    auto* choice = new QVBoxLayout(gbCalcParameter);
    rbFireArea = new QRadioButton(QStringLiteral("Площадь пожара"), gbCalcParameter);
    rbFireArea->setObjectName(QStringLiteral("rbFireArea"));
    rbFireArea->setChecked(true);
    rbExtinguishingArea = new QRadioButton(QStringLiteral("Площадь тушения пожара"), gbCalcParameter);
    rbExtinguishingArea->setObjectName(QStringLiteral("rbExtinguishingArea"));
    choice->addWidget(rbFireArea);
    choice->addWidget(rbExtinguishingArea);
    gbCalcParameter->setVisible(false);
    column->addWidget(gbCalcParameter);

    column->addStretch(1);
    btnFFSaveChanges = MakeButton(panel, "btnFFSaveChanges", QStringLiteral("Сохранить изменения"));
    column->addLayout(SaveRow(btnFFSaveChanges));

    auto* page = new QHBoxLayout(tsFirefighting);
    page->addLayout(ListColumn(lvFF, btnFFAdd, btnFFDelete), 0);
    page->addWidget(panel, 1);

    connect(lvFF, &QListWidget::itemSelectionChanged, this, &TfrmDatabaseEditor::lvFFChange);
    connect(btnFFAdd, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnFFAddClick);
    connect(btnFFDelete, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnFFDeleteClick);
    connect(btnFFSaveChanges, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnFFSaveChangesClick);
    for (QLineEdit* edit :
        { edtFFName, edtP21, edtP18Closed, edtP19Closed, edtP20, edtP18Opened, edtP19Opened })
        connect(edit, &QLineEdit::textChanged, this, &TfrmDatabaseEditor::edtFFNameChange);
}

void TfrmDatabaseEditor::BuildMaterialTypesPage()
{
    tsMaterialTypes = new QWidget;
    tsMaterialTypes->setObjectName(QStringLiteral("tsMaterialTypes"));
    PageControl->addTab(tsMaterialTypes, QStringLiteral("Вид материала ограждающих конструкций"));

    lvMaterialTypes = MakeList(tsMaterialTypes, "lvMaterialTypes");
    btnMaterialTypeAdd
        = MakeButton(tsMaterialTypes, "btnMaterialTypeAdd", QStringLiteral("Добавить вид материала"));
    btnMaterialTypeDelete = MakeButton(tsMaterialTypes, "btnMaterialTypeDelete", QStringLiteral("Удалить"));

    QFrame* panel = MakePanel(tsMaterialTypes, "pnlMaterialTypes");
    pnlMaterialTypes = panel;
    auto* grid = new QGridLayout(panel);
    grid->setColumnStretch(1, 1);
    edtMaterialTypeName = MakeEdit(panel, "edtMaterialTypeName");
    edtMaterialTypeParamA = MakeEdit(panel, "edtMaterialTypeParamA", QStringLiteral("0"));
    edtMaterialTypeParamB = MakeEdit(panel, "edtMaterialTypeParamB", QStringLiteral("0"));
    edtMaterialTypeParamA->setMaximumWidth(140);
    edtMaterialTypeParamB->setMaximumWidth(140);
    grid->addWidget(
        MakeLabel(panel, QStringLiteral("lblMaterialTypeName"), QStringLiteral("Название:")), 0, 0);
    grid->addWidget(edtMaterialTypeName, 0, 1);
    grid->addWidget(MakeLabel(panel, QStringLiteral("lblMaterialTypeParamA"), QStringLiteral("A:")), 1, 0);
    grid->addWidget(edtMaterialTypeParamA, 1, 1, Qt::AlignLeft);
    grid->addWidget(MakeLabel(panel, QStringLiteral("lblMaterialTypeParamB"), QStringLiteral("B:")), 2, 0);
    grid->addWidget(edtMaterialTypeParamB, 2, 1, Qt::AlignLeft);
    grid->setRowStretch(3, 1);
    btnSaveMaterialType = MakeButton(panel, "btnSaveMaterialType", QStringLiteral("Сохранить изменения"));
    grid->addLayout(SaveRow(btnSaveMaterialType), 4, 0, 1, 2);

    auto* page = new QHBoxLayout(tsMaterialTypes);
    page->addLayout(ListColumn(lvMaterialTypes, btnMaterialTypeAdd, btnMaterialTypeDelete), 0);
    page->addWidget(panel, 1);

    connect(lvMaterialTypes, &QListWidget::itemSelectionChanged, this,
        &TfrmDatabaseEditor::lvMaterialTypesChange);
    connect(btnMaterialTypeAdd, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnMaterialTypeAddClick);
    connect(
        btnMaterialTypeDelete, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnMaterialTypeDeleteClick);
    connect(btnSaveMaterialType, &QPushButton::clicked, this, &TfrmDatabaseEditor::btnSaveMaterialTypeClick);
    for (QLineEdit* edit : { edtMaterialTypeName, edtMaterialTypeParamA, edtMaterialTypeParamB })
        connect(edit, &QLineEdit::textChanged, this, &TfrmDatabaseEditor::edtMaterialTypeParamAChange);
}

int TfrmDatabaseEditor::exec() { return FOpened ? QDialog::exec() : QDialog::Rejected; }

QList<QComboBox*> TfrmDatabaseEditor::NamedValueSelectors() const
{
    return { cbP1LowestHeat, cbP2LinearFlameSpeed, cbP3BurnoutSpeed, cbP4SmokeFormingAbility,
        cbP5OxygenConsumption, cbP6AllocationCO2, cbP6AllocationCO, cbP6AllocationHCl, cbPFlammableLoad,
        cbCCC };
}

QLineEdit* TfrmDatabaseEditor::PairedEdit(const QComboBox* selector) const
{
    QString name = selector->objectName();
    const int at = name.indexOf(QLatin1String("cb"));
    if (at < 0)
        return nullptr;
    name.replace(at, 2, QStringLiteral("edt"));
    return findChild<QLineEdit*>(name);
}

// --- common page behaviour -------------------------------------------------------------

bool TfrmDatabaseEditor::Guarded(const QString& caption, const std::function<void()>& action)
{
    // Each action is one statement (or only reads), so a failure leaves the database as
    // it was; the window's state is changed only after the action has succeeded.
    QString message;
    try {
        action();
        return true;
    } catch (const ESQLiteException& e) {
        message = e.Message();
    } catch (const std::exception& e) {
        message = QString::fromUtf8(e.what());
    }
    Prompts().Error(this, message, caption);
    return false;
}

bool TfrmDatabaseEditor::ReloadList(TPage& page)
{
    // The rows are read completely before the list is touched, so a failed read leaves
    // the list (and the row it may identify) as it was.
    std::vector<std::pair<QString, qlonglong>> rows;
    const bool read = Guarded(KReadCaption, [&] {
        TSQLiteTable table = RefListRows(*FDb, page.Table);
        for (; !table.Eof(); table.Next())
            rows.emplace_back(table.FieldAsStringByName(QStringLiteral("name")),
                table.FieldAsStringByName(QStringLiteral("id")).toLongLong());
    });
    if (!read)
        return false;
    page.Delete->setEnabled(false);
    page.Save->setEnabled(false);
    page.Save->setVisible(false);
    page.Panel->setVisible(false);
    page.List->setUpdatesEnabled(false);
    page.List->clear();
    for (const auto& [name, id] : rows) {
        auto* item = new QListWidgetItem(name);
        item->setData(Qt::UserRole, id);
        item->setToolTip(name); // long names do not fit the list's width
        page.List->addItem(item);
    }
    page.List->setUpdatesEnabled(true);
    return true;
}

bool TfrmDatabaseEditor::SelectedId(const TPage& page, int64_t* id) const
{
    const QList<QListWidgetItem*> selected = page.List->selectedItems();
    if (selected.isEmpty())
        return false;
    *id = selected.constFirst()->data(Qt::UserRole).toLongLong();
    return true;
}

void TfrmDatabaseEditor::ListChange(TPage& page, const std::function<void(const TSQLiteTable&)>& load)
{
    auto hidePanel = [&page] {
        page.Save->setEnabled(false);
        page.Save->setVisible(false);
        page.Panel->setVisible(false);
    };
    int64_t id = 0;
    if (!SelectedId(page, &id)) {
        // No row is selected any more (a click beside the items, or the list was
        // cleared): a panel left open could not tell which row a save should change.
        hidePanel();
        page.Delete->setEnabled(false);
        return;
    }
    const bool loaded = Guarded(KReadCaption, [&] {
        const TSQLiteTable table = RefSelectById(*FDb, page.Table, id);
        if (table.Count() == 1)
            load(table);
    });
    if (loaded) {
        // Long texts are shown from their beginning.
        for (QLineEdit* edit : page.Panel->findChildren<QLineEdit*>())
            edit->setCursorPosition(0);
        page.Save->setEnabled(false);
        page.Save->setVisible(true);
        page.Panel->setVisible(true);
    } else {
        // The panel would still show another row's texts.
        hidePanel();
    }
    page.Delete->setEnabled(true);
}

void TfrmDatabaseEditor::AddRow(TPage& page)
{
    if (Guarded(KAddCaption, [&] { RefInsertNewRow(*FDb, page.Table); }))
        ReloadList(page);
}

void TfrmDatabaseEditor::DeleteRow(TPage& page)
{
    int64_t id = 0;
    if (!SelectedId(page, &id))
        return;
    const TPromptAnswer answer = Prompts().Question(
        this, page.DeleteQuestion, page.DeleteCaption, TPromptIcon::Warning, TPromptButtons::YesNo);
    if (answer == TPromptAnswer::Yes
        && !Guarded(page.DeleteCaption, [&] { RefDeleteRow(*FDb, page.Table, id); }))
        return;
    ReloadList(page);
}

void TfrmDatabaseEditor::EnableSave(TPage& page)
{
    // isHidden, not isVisible: the button's own state, whether or not the window is shown.
    if (page.Save && !page.Save->isHidden())
        page.Save->setEnabled(true);
}

bool TfrmDatabaseEditor::CheckNumberFields(const QStringList& editNames)
{
    for (const QString& name : editNames) {
        const QLineEdit* edit = findChild<QLineEdit*>(name);
        if (NumberText(edit).isEmpty())
            continue;
        if (!CheckNumber(edit->text(), true, QString(), this))
            return false;
    }
    return true;
}

QString TfrmDatabaseEditor::NumberText(const QLineEdit* edit) const
{
    // An empty field stands for the field's default when the value is read, so it is
    // stored empty rather than refused.
    const QString text = edit->text();
    return text.trimmed().isEmpty() ? QString() : text;
}

// --- creation and lists ----------------------------------------------------------------

void TfrmDatabaseEditor::FormCreate()
{
    if (!FDb || !FDb->IsOpen()) {
        Prompts().Information(this, KNoDatabaseText, TfrmMain::ProductName());
        FOpened = false;
        return;
    }
    FOpened = true;
    // One failure is reported once; the lists after it stay empty.
    ReloadInitialParams() && ReloadMaterialTypes() && ReloadFireFighting() && ReloadAllParams()
        && FillNamedValueSelectors();
}

bool TfrmDatabaseEditor::ReloadInitialParams() { return ReloadList(FInitialParams); }

bool TfrmDatabaseEditor::ReloadAllParams() { return ReloadList(FAllParams); }

bool TfrmDatabaseEditor::ReloadFireFighting() { return ReloadList(FFireFighting); }

bool TfrmDatabaseEditor::ReloadMaterialTypes() { return ReloadList(FMaterialTypes); }

bool TfrmDatabaseEditor::FillNamedValueSelectors()
{
    const QList<QComboBox*> selectors = NamedValueSelectors();
    QList<QStringList> names;
    const bool read = Guarded(KReadCaption, [&] {
        for (QComboBox* selector : selectors) {
            TSQLiteTable table = RefSelectAllParamsByCategory(*FDb, selector->property("Tag").toInt());
            QStringList list;
            for (; !table.Eof(); table.Next())
                list << table.FieldAsStringByName(QStringLiteral("name"));
            names << list;
        }
    });
    if (!read)
        return false;
    for (int i = 0; i < selectors.size(); ++i) {
        QComboBox* selector = selectors[i];
        selector->setUpdatesEnabled(false);
        selector->clear();
        selector->addItems(names[i]);
        selector->setCurrentIndex(-1);
        selector->setUpdatesEnabled(true);
    }
    return true;
}

// --- handlers ------------------------------------------------------------------------

void TfrmDatabaseEditor::btnCloseClick() { close(); }

void TfrmDatabaseEditor::lvInitialParamsChange()
{
    ListChange(FInitialParams, [this](const TSQLiteTable& t) {
        const QStringList texts = ReadTexts(t,
            { QStringLiteral("name"), QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("P3"),
                QStringLiteral("P4"), QStringLiteral("P5"), QStringLiteral("P6CO2"), QStringLiteral("P6CO"),
                QStringLiteral("P6HCl"), QStringLiteral("PFlammableLoad"), QStringLiteral("CCC") });
        const QList<QLineEdit*> edits = { edtName, edtP1LowestHeat, edtP2LinearFlameSpeed, edtP3BurnoutSpeed,
            edtP4SmokeFormingAbility, edtP5OxygenConsumption, edtP6AllocationCO2, edtP6AllocationCO,
            edtP6AllocationHCl, edtPFlammableLoad, edtCCC };
        for (int i = 0; i < edits.size(); ++i)
            edits[i]->setText(texts[i]);
    });
}

void TfrmDatabaseEditor::lvAllParamsChange()
{
    ListChange(FAllParams, [this](const TSQLiteTable& t) {
        const QStringList texts
            = ReadTexts(t, { QStringLiteral("name"), QStringLiteral("value"), QStringLiteral("category") });
        edtAllParamsName->setText(texts[0]);
        edtAllParamsValue->setText(texts[1]);
        // An empty or non-numeric code selects nothing; an unknown number leaves the
        // category as it was.
        const int position = RefCategoryPosition(texts[2]);
        if (position != -2)
            cbAllParamsType->setCurrentIndex(position);
    });
}

void TfrmDatabaseEditor::lvFFChange()
{
    ListChange(FFireFighting, [this](const TSQLiteTable& t) {
        const QStringList texts = ReadTexts(t,
            { QStringLiteral("name"), QStringLiteral("P21"), QStringLiteral("P18Closed"),
                QStringLiteral("P19Closed"), QStringLiteral("P20"), QStringLiteral("P18Opened"),
                QStringLiteral("P19Opened") });
        const QList<QLineEdit*> edits
            = { edtFFName, edtP21, edtP18Closed, edtP19Closed, edtP20, edtP18Opened, edtP19Opened };
        for (int i = 0; i < edits.size(); ++i)
            edits[i]->setText(texts[i]);
    });
}

void TfrmDatabaseEditor::lvMaterialTypesChange()
{
    ListChange(FMaterialTypes, [this](const TSQLiteTable& t) {
        const QStringList texts
            = ReadTexts(t, { QStringLiteral("name"), QStringLiteral("A"), QStringLiteral("B") });
        edtMaterialTypeName->setText(texts[0]);
        edtMaterialTypeParamA->setText(texts[1]);
        edtMaterialTypeParamB->setText(texts[2]);
    });
}

void TfrmDatabaseEditor::edtP1LowestHeatChange() { EnableSave(FInitialParams); }

void TfrmDatabaseEditor::edtAllParamsNameChange() { EnableSave(FAllParams); }

void TfrmDatabaseEditor::edtFFNameChange() { EnableSave(FFireFighting); }

void TfrmDatabaseEditor::edtMaterialTypeParamAChange() { EnableSave(FMaterialTypes); }

void TfrmDatabaseEditor::cbP1LowestHeatChange(QComboBox* Sender)
{
    QLineEdit* edit = PairedEdit(Sender);
    if (!edit || Sender->currentIndex() < 0)
        return;
    const QString name = Sender->currentText();
    const int code = Sender->property("Tag").toInt();
    QString value;
    const bool read = Guarded(KReadCaption, [&] {
        // A name found twice in the category is ambiguous: the edit is emptied.
        const TSQLiteTable table = RefSelectAllParamsByNameAndCategory(*FDb, name, code);
        if (table.Count() == 1)
            value = table.FieldAsStringByName(QStringLiteral("value"));
    });
    if (read)
        edit->setText(value);
}

void TfrmDatabaseEditor::btnAddInitialParamsClick() { AddRow(FInitialParams); }

void TfrmDatabaseEditor::btnAllParamsAddClick() { AddRow(FAllParams); }

void TfrmDatabaseEditor::btnFFAddClick() { AddRow(FFireFighting); }

void TfrmDatabaseEditor::btnMaterialTypeAddClick() { AddRow(FMaterialTypes); }

void TfrmDatabaseEditor::btnDeleteInitialParamsClick() { DeleteRow(FInitialParams); }

void TfrmDatabaseEditor::btnAllParamsDeleteClick() { DeleteRow(FAllParams); }

void TfrmDatabaseEditor::btnFFDeleteClick() { DeleteRow(FFireFighting); }

void TfrmDatabaseEditor::btnMaterialTypeDeleteClick() { DeleteRow(FMaterialTypes); }

void TfrmDatabaseEditor::btnSaveChangesClick()
{
    int64_t id = 0;
    if (!SelectedId(FInitialParams, &id) || !CheckNumberFields(KInitialParamsNumberFields))
        return;
    TInitialParamsTexts texts;
    texts.Name = edtName->text();
    texts.P1 = NumberText(edtP1LowestHeat);
    texts.P2 = NumberText(edtP2LinearFlameSpeed);
    texts.P3 = NumberText(edtP3BurnoutSpeed);
    texts.P4 = NumberText(edtP4SmokeFormingAbility);
    texts.P5 = NumberText(edtP5OxygenConsumption);
    texts.P6CO2 = NumberText(edtP6AllocationCO2);
    texts.P6CO = NumberText(edtP6AllocationCO);
    texts.P6HCl = NumberText(edtP6AllocationHCl);
    texts.PFlammableLoad = NumberText(edtPFlammableLoad);
    texts.CCC = NumberText(edtCCC);
    if (Guarded(KSaveCaption, [&] { RefUpdateInitialParams(*FDb, id, texts); }))
        ReloadInitialParams();
}

void TfrmDatabaseEditor::btnAllParamsSaveClick()
{
    int64_t id = 0;
    if (!SelectedId(FAllParams, &id) || !CheckNumberFields({ edtAllParamsValue->objectName() }))
        return;
    const QString name = edtAllParamsName->text();
    const QString value = NumberText(edtAllParamsValue);
    const int code = RefCategoryCodeAt(cbAllParamsType->currentIndex()); // -1: no category
    if (!Guarded(KSaveCaption, [&] { RefUpdateAllParams(*FDb, id, name, value, code); }))
        return;
    // The selectors list the named values by category, so they are refilled as well.
    if (ReloadAllParams())
        FillNamedValueSelectors();
}

void TfrmDatabaseEditor::btnFFSaveChangesClick()
{
    int64_t id = 0;
    if (!SelectedId(FFireFighting, &id) || edtFFName->text().isEmpty()
        || !CheckNumberFields(KFireFightingNumberFields))
        return;
    TFireFightingTexts texts;
    texts.Name = edtFFName->text();
    texts.P20 = NumberText(edtP20);
    texts.P21 = NumberText(edtP21);
    texts.P19Closed = NumberText(edtP19Closed);
    texts.P18Closed = NumberText(edtP18Closed);
    texts.P19Opened = NumberText(edtP19Opened);
    texts.P18Opened = NumberText(edtP18Opened);
    if (Guarded(KSaveCaption, [&] { RefUpdateFireFighting(*FDb, id, texts); }))
        ReloadFireFighting();
}

void TfrmDatabaseEditor::btnSaveMaterialTypeClick()
{
    int64_t id = 0;
    if (!SelectedId(FMaterialTypes, &id) || !CheckNumberFields(KMaterialTypeNumberFields))
        return;
    const QString name = edtMaterialTypeName->text();
    const QString a = NumberText(edtMaterialTypeParamA);
    const QString b = NumberText(edtMaterialTypeParamB);
    if (Guarded(KSaveCaption, [&] { RefUpdateABParams(*FDb, id, name, a, b); }))
        ReloadMaterialTypes();
}
