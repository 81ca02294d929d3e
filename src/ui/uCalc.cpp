// The calculation parameters dialog: its three pages, the fire-load list with its
// combination, the method and class rules and the start refusals.
#include "uCalc.h"

#include "FloatSpinEdit.h"
#include "SQLiteTable3.h"
#include "uDatabaseEditor.h"
#include "uDesignCharts.h"
#include "uDialogFont.h"
#include "uNumberText.h"
#include "uPrompts.h"
#include "uTypicalLoad.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

TFireLoad CurrentTypicalLoad;
int32_t FireLoadListCounter = 0;

const QString TfrmCalc::NotFoundText
    = QStringLiteral("Ошибка чтения из базы данных. Горючая нагрузка не будет добавлена.");
const QString TfrmCalc::DatabaseCaption = QStringLiteral("Ошибка БД");
const QString TfrmCalc::LastLoadText
    = QStringLiteral("Невозможно удалить позицию. Для расчета необходима хотя бы одна горючая нагрузка.");
const QString TfrmCalc::LastLoadCaption = QStringLiteral("Ошибка");

namespace {

constexpr int KSpinWidth = 90;
constexpr QSize KChartSize(430, 440);

// Keeps a unit label's visibility equal to its control's, so that a caller hiding a spin
// edit does not leave its unit standing alone.
class TUnitFollower : public QObject {
public:
    TUnitFollower(QWidget* control, QLabel* unit)
        : QObject(unit)
        , FUnit(unit)
    {
        control->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::HideToParent)
            FUnit->setVisible(false);
        else if (event->type() == QEvent::ShowToParent)
            FUnit->setVisible(true);
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* FUnit;
};

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

TFloatSpinEdit* MakeSpin(QWidget* parent, const char* name, long double initial)
{
    auto* spin = new TFloatSpinEdit(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setFixedWidth(KSpinWidth);
    spin->SetValue(static_cast<double>(initial));
    return spin;
}

// A read-only edit in the button-face colour with right-aligned text.
QLineEdit* MakeReadOnlyEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setFixedWidth(KSpinWidth);
    QPalette face = edit->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    edit->setPalette(face);
    return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

// The name a control's caption or unit label gets: "lbl", the control's name without its
// type prefix, and `suffix` (seParam15 -> lblParam15Name).
QString LabelName(const QWidget* control, const char* suffix)
{
    QString base = control->objectName();
    for (const char* prefix : { "se", "edt" })
        if (base.startsWith(QLatin1String(prefix))) {
            base.remove(0, static_cast<int>(qstrlen(prefix)));
            break;
        }
    return QStringLiteral("lbl") + base + QLatin1String(suffix);
}

// One row of a caption | control | unit grid, from column `first` on; the unit follows the
// control's visibility. Returns the caption label.
QLabel* AddRow(
    QGridLayout* grid, int row, QWidget* control, const QString& caption, const QString& unit, int first = 0)
{
    QWidget* parent = grid->parentWidget();
    QLabel* name = MakeLabel(parent, LabelName(control, "Name"), caption);
    grid->addWidget(name, row, first);
    grid->addWidget(control, row, first + 1);
    if (!unit.isEmpty()) {
        QLabel* unitLabel = MakeLabel(parent, LabelName(control, "Unit"), unit);
        grid->addWidget(unitLabel, row, first + 2);
        new TUnitFollower(control, unitLabel);
    }
    return name;
}

// The number in a spin edit as typed text is read: with the user's decimal separator,
// at full precision; MinValue for a text that is not a number; limited as the spin edit
// limits a value it writes, the limit being the number its text would show.
long double SpinNumber(const TFloatSpinEdit* spin)
{
    const long double least = RealFromShortestDecimal(spin->MinValue());
    long double value = 0;
    if (!TryParseNumber(spin->text(), &value, DecimalSeparator()))
        value = least;
    if (spin->MaxValue() != spin->MinValue())
        value = std::clamp(value, least, RealFromShortestDecimal(spin->MaxValue()));
    return value;
}

long double ParsedOrNaN(const QString& text)
{
    long double value = 0;
    return TryParseNumber(text, &value) ? value : std::numeric_limits<long double>::quiet_NaN();
}

void ShowDatabaseError(QWidget* parent, const ESQLiteException& e)
{
    Prompts().Error(parent, e.Message(), TfrmCalc::DatabaseCaption);
}

} // namespace

TfrmCalc::TfrmCalc(TSQLiteDatabase* db, QWidget* parent)
    : QDialog(parent)
    , FDb(db)
{
    setObjectName(QStringLiteral("frmCalc"));
    setWindowTitle(QStringLiteral("Параметры расчета"));
    SetDialogFont(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(8);
    // A fixed dialog border: the size follows the content (pages and panels a run hides)
    // and cannot be dragged.
    column->setSizeConstraint(QLayout::SetFixedSize);

    pcCalc = new QTabWidget(this);
    pcCalc->setObjectName(QStringLiteral("pcCalc"));
    ts1 = new QWidget;
    ts1->setObjectName(QStringLiteral("ts1"));
    ts2 = new QWidget;
    ts2->setObjectName(QStringLiteral("ts2"));
    ts3 = new QWidget;
    ts3->setObjectName(QStringLiteral("ts3"));
    FPages = { ts1, ts2, ts3 };
    FPageCaptions
        = { QStringLiteral("Горючие нагрузки"), QStringLiteral("Параметры"), QStringLiteral("Расчет ПНСП") };
    for (size_t i = 0; i < FPages.size(); ++i)
        pcCalc->addTab(FPages[i], FPageCaptions[i]);
    BuildPage1();
    BuildPage2();
    BuildPage3();
    column->addWidget(pcCalc);

    auto* buttons = new QHBoxLayout;
    cbDebug = new QCheckBox(QStringLiteral("Режим отладки"), this);
    cbDebug->setObjectName(QStringLiteral("cbDebug"));
    cbDebug->setVisible(false);
    buttons->addWidget(cbDebug);
    buttons->addStretch(1);
    btn2 = MakeButton(this, "btn2", QStringLiteral("Начать расчет"));
    btn1 = MakeButton(this, "btn1", QStringLiteral("Отмена"));
    btn2->setMinimumWidth(110);
    btn1->setMinimumWidth(90);
    buttons->addWidget(btn2);
    buttons->addWidget(btn1);
    column->addLayout(buttons);

    connect(btnFireLoadAdd, &QPushButton::clicked, this, [this] { btnFireLoadAddClick(); });
    connect(btnFireLoadDelete, &QPushButton::clicked, this, [this] { btnFireLoadDeleteClick(); });
    connect(btnFireLoadEditDatabase, &QPushButton::clicked, this, [this] { btnFireLoadEditDatabaseClick(); });
    // Any change of a method button, by click or from code, applies the method rule.
    for (QRadioButton* rb : { rbMethod1, rbMethod2, rbMethod3, rbMethod4, rbMethod5 })
        connect(rb, &QRadioButton::toggled, this, [this] { rbMethod1Click(); });
    connect(rbClassA2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbClassA2Click();
    });
    connect(rbClassA3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            rbClassA3Click();
    });
    for (QComboBox* cb : Selectors())
        connect(cb, &QComboBox::currentIndexChanged, this, [this] { cbTypeOfCCCChange(); });
    connect(btnSetValue11, &QPushButton::clicked, this, [this] { btnSetValue11Click(); });
    connect(btn2, &QPushButton::clicked, this, [this] { btn2Click(); });
    connect(btn1, &QPushButton::clicked, this, &QDialog::reject);

    FormCreate();
}

TfrmCalc::~TfrmCalc() = default; // FormDestroy: a caller's list is never freed here

void TfrmCalc::BuildPage1()
{
    auto* row = new QHBoxLayout(ts1);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(12);

    // The choice and the list.
    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(MakeLabel(
        ts1, QStringLiteral("lblInitialParams"), QStringLiteral("Выберите типовые горючие нагрузки:")));
    cbInitialParams = new QComboBox(ts1);
    cbInitialParams->setObjectName(QStringLiteral("cbInitialParams"));
    cbInitialParams->setEditable(false);
    // The names are long; the field keeps its width and the drop-down shows them whole.
    cbInitialParams->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbInitialParams->setMinimumContentsLength(40);
    cbInitialParams->view()->setTextElideMode(Qt::ElideNone);
    cbInitialParams->view()->setMinimumWidth(560);
    left->addWidget(cbInitialParams);

    auto* addRow = new QHBoxLayout;
    addRow->setSpacing(4);
    addRow->addWidget(MakeLabel(ts1, QStringLiteral("lblCurrentFL"), QStringLiteral("ГН:")));
    seCurrentFL = MakeSpin(ts1, "seCurrentFL", CalcDialogDefaults::seCurrentFL);
    addRow->addWidget(seCurrentFL);
    QLabel* unit = MakeLabel(ts1, QStringLiteral("lblCurrentFLUnit"), QStringLiteral("кг/м²"));
    addRow->addWidget(unit);
    addRow->addStretch(1);
    btnFireLoadAdd = MakeButton(ts1, "btnFireLoadAdd", QStringLiteral("Добавить в список"));
    addRow->addWidget(btnFireLoadAdd);
    left->addLayout(addRow);

    lvFireLoads = new QTreeWidget(ts1);
    lvFireLoads->setObjectName(QStringLiteral("lvFireLoads"));
    lvFireLoads->setColumnCount(2);
    lvFireLoads->setHeaderLabels({ QStringLiteral("№"), QStringLiteral("Название") });
    lvFireLoads->setRootIsDecorated(false);
    lvFireLoads->setItemsExpandable(false);
    lvFireLoads->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvFireLoads->setSelectionMode(QAbstractItemView::SingleSelection);
    lvFireLoads->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFireLoads->setUniformRowHeights(true);
    lvFireLoads->header()->setMinimumSectionSize(0);
    lvFireLoads->header()->setSectionResizeMode(0, QHeaderView::Fixed);
    lvFireLoads->setColumnWidth(0, 0);
    lvFireLoads->setColumnWidth(1, 350);
    lvFireLoads->setMinimumSize(380, 260);
    left->addWidget(lvFireLoads, 1);

    auto* listButtons = new QHBoxLayout;
    btnFireLoadDelete = MakeButton(ts1, "btnFireLoadDelete", QStringLiteral("Удалить"));
    btnFireLoadEditDatabase
        = MakeButton(ts1, "btnFireLoadEditDatabase", QStringLiteral("Редактировать базу"));
    listButtons->addWidget(btnFireLoadDelete);
    listButtons->addStretch(1);
    listButtons->addWidget(btnFireLoadEditDatabase);
    left->addLayout(listButtons);
    row->addLayout(left, 1);

    // The combined values: caption, (hidden) rule selector and value per property.
    auto* values = new QFrame(ts1);
    values->setObjectName(QStringLiteral("pnlFireLoadValues"));
    values->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(values);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(5);
    struct TValueRow {
        const char* Name; // property name, for the selector, label and caption names
        QString Caption;
        QComboBox** Selector;
        QLabel** Value;
    };
    const TValueRow rows[] = {
        { "CCC", QStringLiteral("Коэфициент полноты горения:"), &cbTypeOfCCC, &lblCCC },
        { "P1LowestHeat", QStringLiteral("Низшая теплота сгорания, кДж/кг:"), &cbTypeOfP1LowestHeat,
            &lblP1LowestHeat },
        { "P2LinearFlameSpeed", QStringLiteral("Линейная скорость пламени, м/с:"),
            &cbTypeOfP2LinearFlameSpeed, &lblP2LinearFlameSpeed },
        { "P3BurnoutSpeed", QStringLiteral("Удельная скорость выгорания, кг/(м^2*с):"),
            &cbTypeOfP3BurnoutSpeed, &lblP3BurnoutSpeed },
        { "P4SmokeFormingAbility", QStringLiteral("Дымообразующая способность, Нп/м:"),
            &cbTypeOfP4SmokeFormingAbility, &lblP4SmokeFormingAbility },
        { "P5OxygenConsumption", QStringLiteral("Потребление O2, кг/кг:"), &cbTypeOfP5OxygenConsumption,
            &lblP5OxygenConsumption },
        { "P6AllocationCO2", QStringLiteral("Выделение CO2, кг/кг:"), &cbTypeOfP6AllocationCO2,
            &lblP6AllocationCO2 },
        { "P6AllocationCO", QStringLiteral("Выделение CO, кг/кг:"), &cbTypeOfP6AllocationCO,
            &lblP6AllocationCO },
        { "P6AllocationHCl", QStringLiteral("Выделение HCl, кг/кг:"), &cbTypeOfP6AllocationHCl,
            &lblP6AllocationHCl },
        { "PFlammableLoad", QStringLiteral("Горючая нагрузка, кг/м^2:"), &cbTypeOfPFlammableLoad,
            &lblPFlammableLoad },
    };
    int r = 0;
    for (const TValueRow& v : rows) {
        const QString name = QLatin1String(v.Name);
        grid->addWidget(
            MakeLabel(values, QStringLiteral("lbl") + name + QStringLiteral("Name"), v.Caption), r, 0);
        auto* selector = new QComboBox(values);
        selector->setObjectName(QStringLiteral("cbTypeOf") + name);
        selector->addItems({ QStringLiteral("макс"), QStringLiteral("сред"), QStringLiteral("мин") });
        selector->setVisible(false);
        selector->setEnabled(false);
        grid->addWidget(selector, r, 1);
        QLabel* value = MakeLabel(values, QStringLiteral("lbl") + name, QStringLiteral("0"));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(70);
        grid->addWidget(value, r, 2);
        *v.Selector = selector;
        *v.Value = value;
        ++r;
    }
    // The rules in force at creation; the selectors stay hidden, so they remain so.
    const TFireLoadMixRules rules = DefaultFireLoadMixRules();
    const auto selectors = Selectors();
    for (int p = 0; p < FireLoadPropertyCount; ++p) {
        const QSignalBlocker quiet(selectors[p]);
        selectors[p]->setCurrentIndex(static_cast<int>(rules[p]));
    }

    auto* line = new QFrame(values);
    line->setObjectName(QStringLiteral("bvlFireLoadFinal"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, r++, 0, 1, 3);
    lbl32 = MakeLabel(values, QStringLiteral("lbl32"), QStringLiteral("Горючая нагрузка:"));
    lblFireLoadFinal = MakeLabel(values, QStringLiteral("lblFireLoadFinal"), QStringLiteral("0"));
    for (QLabel* label : { lbl32, lblFireLoadFinal }) {
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, r++, 0, 1, 3);
    }
    grid->setRowStretch(r, 1);
    row->addWidget(values);
}

void TfrmCalc::BuildPage2()
{
    auto* column = new QVBoxLayout(ts2);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(8);

    auto* params = new QWidget(ts2);
    params->setObjectName(QStringLiteral("pnlParams"));
    auto* grid = new QGridLayout(params);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    seParam10 = MakeSpin(params, "seParam10", CalcDialogDefaults::seParam10);
    seParam11 = MakeSpin(params, "seParam11", CalcDialogDefaults::seParam11);
    edtParam3 = MakeReadOnlyEdit(params, "edtParam3");
    edtParam1 = MakeReadOnlyEdit(params, "edtParam1");
    edtP22 = MakeReadOnlyEdit(params, "edtP22");
    edtP22->setText(CalcDialogDefaults::edtP22);
    seParam4 = MakeSpin(params, "seParam4", CalcDialogDefaults::seParam4);
    seParam2 = MakeSpin(params, "seParam2", CalcDialogDefaults::seParam2);
    seParam12 = MakeSpin(params, "seParam12", CalcDialogDefaults::seParam12);
    int r = 0;
    AddRow(grid, r++, seParam10, QStringLiteral("Начальная температура:"), QStringLiteral("К"));
    AddRow(grid, r++, seParam11, QStringLiteral("Температура срабатывания:"), QStringLiteral("К"));
    AddRow(grid, r++, edtParam3, QStringLiteral("Объем зоны:"), QStringLiteral("м³"));
    AddRow(grid, r++, edtParam1, QStringLiteral("Высота зоны:"), QStringLiteral("м"));
    AddRow(grid, r++, edtP22, QStringLiteral("Критическая масса горючей нагрузки:"), QStringLiteral("кг"));
    AddRow(
        grid, r++, seParam4, QStringLiteral("Площадь размещения горючего материала:"), QStringLiteral("м²"));
    AddRow(grid, r++, seParam2, QStringLiteral("Растояние между сенсорами:"), QStringLiteral("м"));
    AddRow(grid, r++, seParam12, QStringLiteral("Эмпирическая постоянная величина (RTI):"), QString());
    grid->setColumnStretch(3, 1);
    column->addWidget(params);

    // The method panel: each method's own parameters indented below its button.
    pnlMethods = new QFrame(ts2);
    pnlMethods->setObjectName(QStringLiteral("pnlMethods"));
    static_cast<QFrame*>(pnlMethods)->setFrameShape(QFrame::StyledPanel);
    auto* methods = new QGridLayout(pnlMethods);
    methods->setContentsMargins(8, 6, 8, 6);
    methods->setHorizontalSpacing(8);
    methods->setVerticalSpacing(4);
    methods->setColumnMinimumWidth(0, 14);
    methods->setColumnStretch(4, 1);
    auto radio = [this](const char* name, const QString& caption) {
        auto* rb = new QRadioButton(caption, pnlMethods);
        rb->setObjectName(QLatin1String(name));
        return rb;
    };
    // A method's parameters stand below its button, indented; the buttons span the grid.
    auto paramRow = [&](int row, TFloatSpinEdit* spin, const QString& caption, const QString& unit) {
        return AddRow(methods, row, spin, caption, unit, 1);
    };
    rbMethod1 = radio("rbMethod1", QStringLiteral("Круговое развитие по ТГМ (твердым горючим материалам)"));
    rbMethod2 = radio("rbMethod2", QStringLiteral("Прямоугольное развитие по ТГМ в n направлениях"));
    rbMethod5 = radio("rbMethod5", QStringLiteral("Вертикальное распространение в виде прямоугольника"));
    rbMethod3 = radio("rbMethod3", QStringLiteral("Установившееся горение жидкости"));
    rbMethod4 = radio("rbMethod4", QStringLiteral("Неустановившееся горение жидкости"));
    seParam13 = MakeSpin(pnlMethods, "seParam13", CalcDialogDefaults::seParam13);
    seParam14 = MakeSpin(pnlMethods, "seParam14", CalcDialogDefaults::seParam14);
    seParam16 = MakeSpin(pnlMethods, "seParam16", CalcDialogDefaults::seParam16);
    seParam15 = MakeSpin(pnlMethods, "seParam15", CalcDialogDefaults::seParam15);
    r = 0;
    methods->addWidget(rbMethod1, r++, 0, 1, 4);
    methods->addWidget(rbMethod2, r++, 0, 1, 4);
    paramRow(r++, seParam13, QStringLiteral("Направления распространения горения:"), QString());
    paramRow(r++, seParam14, QStringLiteral("Фронт горения:"), QStringLiteral("м"));
    methods->addWidget(rbMethod5, r++, 0, 1, 4);
    paramRow(r++, seParam16,
        QStringLiteral("Линейная скорость распространения пламени в вертикальном направлении:"),
        QStringLiteral("м/с"));
    methods->addWidget(rbMethod3, r++, 0, 1, 4);
    methods->addWidget(rbMethod4, r++, 0, 1, 4);
    lblParam15Name
        = paramRow(r++, seParam15, QStringLiteral("Время стабилизации горения:"), QStringLiteral("с"));
    column->addWidget(pnlMethods);

    // The class panel, in the method panel's place when a run shows it instead.
    pnlBOSClass = new QFrame(ts2);
    pnlBOSClass->setObjectName(QStringLiteral("pnlBOSClass"));
    static_cast<QFrame*>(pnlBOSClass)->setFrameShape(QFrame::StyledPanel);
    auto* cls = new QHBoxLayout(pnlBOSClass);
    cls->setContentsMargins(8, 6, 8, 6);
    cls->setSpacing(12);
    cls->addWidget(
        MakeLabel(pnlBOSClass, QStringLiteral("lblBOSClass"), QStringLiteral("Класс пожарного извещателя:")));
    rbClassA2 = new QRadioButton(QStringLiteral("A2"), pnlBOSClass);
    rbClassA2->setObjectName(QStringLiteral("rbClassA2"));
    rbClassA3 = new QRadioButton(QStringLiteral("A3"), pnlBOSClass);
    rbClassA3->setObjectName(QStringLiteral("rbClassA3"));
    cls->addWidget(rbClassA2);
    cls->addWidget(rbClassA3);
    cls->addStretch(1);
    pnlBOSClass->setVisible(false);
    column->addWidget(pnlBOSClass);
    column->addStretch(1);

    rbMethod1->setChecked(true);
}

void TfrmCalc::BuildPage3()
{
    auto* row = new QHBoxLayout(ts3);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(12);

    auto* left = new QWidget(ts3);
    left->setObjectName(QStringLiteral("pnlNSP"));
    auto* grid = new QGridLayout(left);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    edtParam3_ts3 = MakeReadOnlyEdit(left, "edtParam3_ts3");
    edtParam1_ts3 = MakeReadOnlyEdit(left, "edtParam1_ts3");
    edtValue13 = MakeReadOnlyEdit(left, "edtValue13");
    seValue11 = MakeSpin(left, "seValue11", CalcDialogDefaults::seValue11);
    seValue11recomend = MakeSpin(left, "seValue11recomend", CalcDialogDefaults::seValue11recomend);
    seValue11recomend->setEnabled(false);
    int r = 0;
    AddRow(grid, r++, edtParam3_ts3, QStringLiteral("Объем зоны:"), QStringLiteral("м³"));
    AddRow(grid, r++, edtParam1_ts3, QStringLiteral("Высота зоны:"), QStringLiteral("м"));
    AddRow(grid, r++, edtValue13, QStringLiteral("Приведенная горючая нагрузка:"), QStringLiteral("кг/м²"));
    grid->setRowMinimumHeight(r++, 12);
    AddRow(grid, r++, seValue11, QStringLiteral("Приведенная продолжительность НСП:"), QStringLiteral("мин"));
    AddRow(grid, r++, seValue11recomend, QStringLiteral("Рекомендуемая приведенная продолжительность НСП:"),
        QStringLiteral("мин"));
    btnSetValue11 = MakeButton(left, "btnSetValue11", QStringLiteral("Принять"));
    grid->addWidget(btnSetValue11, r++, 1);
    lblValue13RecomendError = MakeLabel(left, QStringLiteral("lblValue13RecomendError"));
    lblValue13RecomendError->setWordWrap(true);
    QPalette warn = lblValue13RecomendError->palette();
    warn.setColor(QPalette::WindowText, QColor(180, 0, 0));
    lblValue13RecomendError->setPalette(warn);
    grid->addWidget(lblValue13RecomendError, r++, 0, 1, 3);
    grid->setRowStretch(r, 1);
    row->addWidget(left);

    // The two charts share one place; a run shows the one that fits the zone's volume.
    auto* charts = new QGridLayout;
    charts->setContentsMargins(0, 0, 0, 0);
    img1 = MakeLabel(ts3, QStringLiteral("img1"));
    img2 = MakeLabel(ts3, QStringLiteral("img2"));
    for (QLabel* img : { img1, img2 }) {
        img->setFixedSize(KChartSize);
        img->setFrameShape(QFrame::StyledPanel);
        img->setAlignment(Qt::AlignCenter);
        img->setVisible(false);
        charts->addWidget(img, 0, 0, Qt::AlignTop);
    }
    row->addLayout(charts);
}

std::array<QComboBox*, FireLoadPropertyCount> TfrmCalc::Selectors() const
{
    return { cbTypeOfP1LowestHeat, cbTypeOfP2LinearFlameSpeed, cbTypeOfP3BurnoutSpeed,
        cbTypeOfP4SmokeFormingAbility, cbTypeOfP5OxygenConsumption, cbTypeOfP6AllocationCO2,
        cbTypeOfP6AllocationCO, cbTypeOfP6AllocationHCl, cbTypeOfPFlammableLoad, cbTypeOfCCC };
}

std::array<QLabel*, FireLoadPropertyCount> TfrmCalc::ValueLabels() const
{
    return { lblP1LowestHeat, lblP2LinearFlameSpeed, lblP3BurnoutSpeed, lblP4SmokeFormingAbility,
        lblP5OxygenConsumption, lblP6AllocationCO2, lblP6AllocationCO, lblP6AllocationHCl, lblPFlammableLoad,
        lblCCC };
}

// --- configuration and read-out ----------------------------------------------------

void TfrmCalc::SetPageShown(QWidget* page, bool shown)
{
    const auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end() || PageShown(page) == shown)
        return;
    if (!shown) {
        pcCalc->removeTab(pcCalc->indexOf(page));
        return;
    }
    // Back in its place: after every shown page that comes before it.
    int index = 0;
    for (auto before = FPages.begin(); before != it; ++before)
        if (PageShown(*before))
            ++index;
    pcCalc->insertTab(index, page, FPageCaptions[static_cast<size_t>(it - FPages.begin())]);
}

bool TfrmCalc::PageShown(QWidget* page) const { return page && pcCalc->indexOf(page) >= 0; }

void TfrmCalc::ApplySetup(const TCalcDialogSetup& setup, std::vector<TFireLoad>* zoneFireLoads)
{
    edtParam1->setText(setup.edtParam1);
    edtParam3->setText(setup.edtParam3);
    if (setup.FillTs3) {
        edtParam1_ts3->setText(setup.edtParam1);
        edtParam3_ts3->setText(setup.edtParam3);
    }
    SetPageShown(ts2, setup.ts2Visible);
    SetPageShown(ts3, setup.ts3Visible);
    if (setup.seParam2Max) {
        seParam2->SetMinValue(0);
        seParam2->SetMaxValue(static_cast<double>(*setup.seParam2Max));
        seParam2->SetValue(seParam2->Value()); // the value shown obeys the new limit
    }
    if (setup.seParam2)
        seParam2->SetValue(static_cast<double>(*setup.seParam2));
    if (setup.seParam4)
        seParam4->SetValue(static_cast<double>(*setup.seParam4));
    pnlMethods->setVisible(setup.pnlMethodsVisible);
    pnlBOSClass->setVisible(setup.pnlBOSClassVisible);
    rbMethod3->setVisible(setup.rbMethod3Visible);
    rbMethod4->setVisible(setup.rbMethod4Visible);
    seParam15->setVisible(setup.seParam15Visible);
    lblParam15Name->setVisible(setup.lblParam15NameVisible);
    if (setup.ClassClicked == BOSClassA2) {
        rbClassA2->setChecked(true);
        rbClassA2Click();
    } else if (setup.ClassClicked == BOSClassA3) {
        rbClassA3->setChecked(true);
        rbClassA3Click();
    }
    seParam11->setEnabled(setup.seParam11Enabled);
    img1->setVisible(setup.Chart == TCalcChart::img1);
    img2->setVisible(setup.Chart == TCalcChart::img2);
    if (setup.HandOverFireLoads && zoneFireLoads)
        SetFireLoadList(zoneFireLoads);
    else
        CalcFireLoad(); // the combination reads the height and volume just set
}

void TfrmCalc::SetFireLoadList(std::vector<TFireLoad>* list)
{
    FFireLoads = list ? list : &FOwnFireLoads;
    ReloadFireLoads();
}

TCalcDialogValues TfrmCalc::Values() const
{
    TCalcDialogValues v;
    v.edtParam1 = edtParam1->text();
    v.edtParam3 = edtParam3->text();
    v.seParam2 = SpinNumber(seParam2);
    v.seParam4 = SpinNumber(seParam4);
    v.seParam10 = SpinNumber(seParam10);
    v.seParam11 = SpinNumber(seParam11);
    v.seParam12 = SpinNumber(seParam12);
    v.seParam13 = SpinNumber(seParam13);
    v.seParam14 = SpinNumber(seParam14);
    v.seParam15 = SpinNumber(seParam15);
    v.seParam16 = SpinNumber(seParam16);
    v.seValue11 = SpinNumber(seValue11);

    v.method = 1;
    const QRadioButton* methods[] = { rbMethod1, rbMethod2, rbMethod3, rbMethod4, rbMethod5 };
    for (int i = 0; i < 5; ++i)
        if (methods[i]->isChecked()) {
            v.method = i + 1;
            break;
        }
    v.BOSClass = rbClassA2->isChecked() ? BOSClassA2 : rbClassA3->isChecked() ? BOSClassA3 : BOSClassNone;
    v.cbDebug = cbDebug->isChecked();
    v.FireLoads = *FFireLoads;
    SetFireLoadMix(v, FMix);
    return v;
}

// --- operations ----------------------------------------------------------------------

void TfrmCalc::FormCreate()
{
    pcCalc->setCurrentWidget(ts1);
    ResetFireLoadToDefaults(CurrentTypicalLoad);
    UpdateInitialParams();
    FireLoadListCounter = 0;
    seValue11->SetValue(static_cast<double>(CalcDialogDefaults::seValue11));
    seValue11recomend->SetValue(static_cast<double>(CalcDialogDefaults::seValue11recomend));
    FOwnFireLoads.clear();
    FFireLoads = &FOwnFireLoads;
    rbMethod1Click();
}

bool TfrmCalc::LoadInitialParams(const QString& Name)
{
    bool found = false;
    if (FDb) {
        // Read into a copy: a failure part-way leaves the current typical load as it was.
        TFireLoad load = CurrentTypicalLoad;
        found = LoadTypicalLoad(*FDb, Name, load);
        if (found)
            CurrentTypicalLoad = load;
    }
    UpdateP22();
    return found;
}

void TfrmCalc::UpdateInitialParams()
{
    QStringList names;
    if (FDb) {
        // The names are read before the items are touched, so a failure keeps the choice.
        try {
            names = ListTypicalLoadNames(*FDb);
        } catch (const ESQLiteException& e) {
            ShowDatabaseError(this, e);
            return;
        }
    }
    cbInitialParams->setUpdatesEnabled(false);
    cbInitialParams->clear();
    cbInitialParams->addItems(names);
    if (!names.isEmpty())
        cbInitialParams->setCurrentIndex(0);
    cbInitialParams->setUpdatesEnabled(true);
}

void TfrmCalc::AddFireLoadRow(const TFireLoad& load)
{
    auto* item = new QTreeWidgetItem(lvFireLoads);
    item->setText(0, QString::number(load.ListId));
    item->setData(0, Qt::UserRole, load.ListId); // the link from the row to its element
    item->setText(1, load.Name);
    item->setToolTip(1, load.Name);
}

void TfrmCalc::ReloadFireLoads()
{
    lvFireLoads->setUpdatesEnabled(false);
    lvFireLoads->clear();
    int32_t largest = 0;
    for (const TFireLoad& load : *FFireLoads) {
        AddFireLoadRow(load);
        largest = std::max(largest, load.ListId);
    }
    lvFireLoads->setUpdatesEnabled(true);
    // A handed-in list may have lost elements, so its ListIds need not be 1 … n; counting
    // on from the largest keeps a new element's ListId apart from every existing one.
    FireLoadListCounter = largest;
    CalcFireLoad();
}

void TfrmCalc::UpdateP22() { edtP22->setText(FormatGeneral(CurrentTypicalLoad.PFlammableLoad)); }

void TfrmCalc::CalcFireLoad()
{
    TFireLoadMixRules rules;
    const auto selectors = Selectors();
    for (int p = 0; p < FireLoadPropertyCount; ++p)
        rules[p] = MixRuleFromIndex(selectors[p]->currentIndex());
    TFireLoadMix mix
        = ::CalcFireLoad(*FFireLoads, rules, ParsedOrNaN(edtParam1->text()), ParsedOrNaN(edtParam3->text()));
    if (!mix.Computed)
        return;
    FMix = std::move(mix);

    const auto labels = ValueLabels();
    for (int p = 0; p < FireLoadPropertyCount; ++p)
        labels[p]->setText(FMix.PropertyTexts[p]);
    lblFireLoadFinal->setText(FMix.FireLoadFinalText);
    edtValue13->setText(FMix.value13Text);
    seValue11recomend->SetValue(FMix.Recommendation.Minutes);
    lblValue13RecomendError->setText(FMix.Recommendation.Warning);
    UpdateCharts();
}

void TfrmCalc::cbTypeOfCCCChange() { CalcFireLoad(); }

void TfrmCalc::UpdateCharts()
{
    std::optional<TDesignChartZone> zone;
    long double h = 0, V = 0;
    if (FMix.Computed && TryParseNumber(edtParam1->text(), &h) && TryParseNumber(edtParam3->text(), &V))
        zone = TDesignChartZone { V, h, FMix.value13 };
    // Only the chart a run shows is drawn; showEvent draws it once the run has chosen.
    if (!img1->isHidden())
        img1->setPixmap(QPixmap::fromImage(DesignChartImage(TDesignChart::LargeVolume, img1->size(), zone)));
    if (!img2->isHidden())
        img2->setPixmap(QPixmap::fromImage(DesignChartImage(TDesignChart::SmallVolume, img2->size(), zone)));
}

void TfrmCalc::showEvent(QShowEvent* event)
{
    UpdateCharts();
    QDialog::showEvent(event);
}

// --- event handlers --------------------------------------------------------------------

void TfrmCalc::btnFireLoadAddClick()
{
    bool found = false;
    try {
        found = LoadInitialParams(cbInitialParams->currentText());
    } catch (const ESQLiteException& e) {
        ShowDatabaseError(this, e);
        return;
    }
    if (!found) {
        Prompts().Error(this, NotFoundText, DatabaseCaption);
        return;
    }
    std::vector<TFireLoad>& list = *FFireLoads;
    // Also a list handed in without a reload gets a ListId of its own for the new element.
    for (const TFireLoad& load : list)
        FireLoadListCounter = std::max(FireLoadListCounter, load.ListId);
    ++FireLoadListCounter;
    CurrentTypicalLoad.ListId = FireLoadListCounter;
    AddFireLoadRow(CurrentTypicalLoad);
    // The amount present in the zone replaces the reference value.
    CurrentTypicalLoad.PFlammableLoad = SpinNumber(seCurrentFL);
    list.push_back(CurrentTypicalLoad);
    CalcFireLoad();
}

void TfrmCalc::btnFireLoadDeleteClick()
{
    QTreeWidgetItem* item = lvFireLoads->currentItem();
    if (!item)
        return;
    std::vector<TFireLoad>& list = *FFireLoads;
    if (list.size() == 1) {
        Prompts().Warning(this, LastLoadText, LastLoadCaption);
        return;
    }
    const int32_t listId = item->data(0, Qt::UserRole).toInt();
    // Rows stand in list order, so the element at the row's position is the one the user
    // chose; the ListId confirms it, and finds it should the two ever differ.
    const int row = lvFireLoads->indexOfTopLevelItem(item);
    auto it = list.end();
    if (row >= 0 && static_cast<size_t>(row) < list.size() && list[static_cast<size_t>(row)].ListId == listId)
        it = list.begin() + row;
    else
        it = std::find_if(
            list.begin(), list.end(), [listId](const TFireLoad& l) { return l.ListId == listId; });
    if (it != list.end()) {
        list.erase(it);
        delete item;
    }
    CalcFireLoad();
}

void TfrmCalc::btnFireLoadEditDatabaseClick()
{
    RunGuarded(this, [this] { ShowDatabaseEditor(this, FDb); });
    // Loads already in the list keep the values they were copied with.
    UpdateInitialParams();
}

void TfrmCalc::rbMethod1Click()
{
    for (TFloatSpinEdit* spin : { seParam13, seParam14, seParam15, seParam16 })
        spin->setEnabled(false);
    // The first checked button in the order 1 … 5 decides; methods 1 and 3 have no
    // parameters of their own.
    if (rbMethod1->isChecked()) {
    } else if (rbMethod2->isChecked()) {
        seParam13->setEnabled(true);
        seParam14->setEnabled(true);
    } else if (rbMethod3->isChecked()) {
    } else if (rbMethod4->isChecked()) {
        seParam15->setEnabled(true);
    } else if (rbMethod5->isChecked()) {
        seParam16->setEnabled(true);
    }
}

void TfrmCalc::rbClassA2Click()
{
    seParam11->SetValue(static_cast<double>(SpinNumber(seParam10) + CalcDialogDefaults::ClassA2Rise));
}

void TfrmCalc::rbClassA3Click()
{
    seParam11->SetValue(static_cast<double>(SpinNumber(seParam10) + CalcDialogDefaults::ClassA3Rise));
}

void TfrmCalc::btnSetValue11Click() { seValue11->SetValue(seValue11recomend->Value()); }

void TfrmCalc::btn2Click()
{
    const QString refusal = CalcDialogStartRefusal(Values(), PageShown(ts3));
    if (refusal.isEmpty()) {
        accept();
        return;
    }
    Prompts().Warning(this, refusal, CalcDialogText::StartRefusalCaption);
    if (refusal == CalcDialogText::NoNSPDuration) {
        pcCalc->setCurrentWidget(ts3);
        seValue11->setFocus();
    }
}
