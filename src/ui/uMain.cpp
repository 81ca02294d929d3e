// The main window: layout, start-up, the no-project and project-open states and the
// project commands.
#include "uMain.h"

#include "FloatSpinEdit.h"
#include "SQLiteTable3.h"
#include "uAbout.h"
#include "uCalcCommands.h"
#include "uDatabaseEditor.h"
#include "uDialogFont.h"
#include "uFireClasses.h"
#include "uPaintBox.h"
#include "uProjectParams.h"
#include "uPrompts.h"
#include "uRefDbStartup.h"
#include "uReportCommands.h"
#include "uResultsCommands.h"
#include "uUndoCommands.h"
#include "uZoom.h"

#if __has_include("uPlanEditor.h") && !defined(TESVORN_NO_PLAN_EDITOR)
#include "uPlanEditor.h"
#define TESVORN_HAS_PLAN_EDITOR 1
#endif

#include <QButtonGroup>
#include <QCloseEvent>
#include <QStatusTipEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString KProjectFilter = QStringLiteral("Проекты|*.fsp");
const QString KSaveFailedText
    = QStringLiteral("Не удалось сохранить проект.\r\nПопробовать сохранить проект под другим именем?");
const QString KLoadFailedText
    = QStringLiteral("Не удалось загрузить проект.\r\nВозможно, проект был создан в другой версии программы.");
const QString KBgImageFailedText = QStringLiteral("Не удалось загрузить фоновое изображение.");

// Small drawn tool-bar pictures, so that the program needs no icon files.
enum class TIconKind { Zone, Sensor, Calc, Report, Database, ManualL, AutoL };

QIcon DrawnIcon(TIconKind kind)
{
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(50, 60, 80);
    switch (kind) {
    case TIconKind::Zone:
        p.setPen(QPen(ink, 1.5));
        p.setBrush(QColor(220, 232, 250));
        p.drawRect(QRectF(3, 4, 14, 12));
        p.setBrush(ink);
        p.drawRect(QRectF(15, 14, 3, 3));
        break;
    case TIconKind::Sensor:
        p.setPen(QPen(ink, 1.5));
        p.setBrush(QColor(230, 70, 50));
        p.drawEllipse(QRectF(5, 5, 10, 10));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(230, 70, 50, 120), 1));
        p.drawEllipse(QRectF(2, 2, 16, 16));
        break;
    case TIconKind::Calc:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(245, 245, 235));
        p.drawRoundedRect(QRectF(4, 2, 12, 16), 2, 2);
        p.setBrush(QColor(150, 200, 150));
        p.drawRect(QRectF(6, 4, 8, 4));
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(6 + c * 3, 10 + r * 3.5, 2, 2));
        break;
    case TIconKind::Report:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 2, 12, 16));
        p.setPen(QPen(QColor(40, 80, 170), 1.2));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(6, 6 + i * 3), QPointF(14, 6 + i * 3));
        break;
    case TIconKind::Database:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(240, 210, 120));
        p.drawRect(QRectF(4, 5, 12, 11));
        p.drawEllipse(QRectF(4, 2, 12, 6));
        p.drawArc(QRectF(4, 7, 12, 6), 180 * 16, 180 * 16);
        p.drawArc(QRectF(4, 12, 12, 6), 180 * 16, 180 * 16);
        break;
    case TIconKind::ManualL:
    case TIconKind::AutoL:
        p.setPen(QPen(ink, 1.5));
        p.drawLine(QPointF(3, 10), QPointF(17, 10));
        p.drawLine(QPointF(3, 6), QPointF(3, 14));
        p.drawLine(QPointF(17, 6), QPointF(17, 14));
        p.setPen(QPen(kind == TIconKind::ManualL ? QColor(170, 60, 40) : QColor(40, 130, 60), 1.5));
        p.drawText(QRectF(0, 0, 20, 9), Qt::AlignCenter, kind == TIconKind::ManualL ? QStringLiteral("L") : QStringLiteral("A"));
        break;
    }
    return QIcon(QPixmap::fromImage(image));
}

QToolButton* MakeToolButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setText(hint);
    button->setIcon(icon);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

QAction* MakeAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint = QString())
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    if (!hint.isEmpty())
        button->setToolTip(hint);
    return button;
}

TFloatSpinEdit* MakeSpin(QWidget* parent, const char* name)
{
    auto* edit = new TFloatSpinEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QFrame* MakeIndicator(QWidget* parent, const char* name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setFixedSize(8, 23);
    frame->setAutoFillBackground(true);
    return frame;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

QString TfrmMain::ProductName()
{
    return QStringLiteral("Тесворн");
}

TfrmMain::TfrmMain(const TMainWindowOptions& options, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ProductName());
    setWindowIcon(QIcon(QStringLiteral(":/tesvorn.png")));
    SetDialogFont(this);

    BuildMenus();

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlClient"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    BuildToolBars();
    column->addWidget(ControlBar);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    ScrollBox = new QScrollArea(central);
    ScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    ScrollBox->setFrameShape(QFrame::NoFrame);
    // Around the (white) plan the window's own colour, so that the plan's edge shows.
    ScrollBox->setBackgroundRole(QPalette::Window);
    pb = new TPaintBox;
    pb->setObjectName(QStringLiteral("pb"));
    ScrollBox->setWidget(pb);
    row->addWidget(ScrollBox, 1);
    BuildPropertyPanel();
    row->addWidget(pnlProperties);
    column->addLayout(row, 1);
    setCentralWidget(central);

    sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setSizeGripEnabled(true);
    sbPanel0 = new QLabel(sb);
    sbPanel0->setObjectName(QStringLiteral("sbPanel0"));
    sbPanel0->setFixedWidth(350);
    sb->addWidget(sbPanel0);
    setStatusBar(sb);

    // Double-clicking the start logo with the left button opens a project. Queued, so that
    // the mouse handling of the plan has finished with this click before a project
    // appears under it.
    connect(pb, &TPaintBox::DblClick, this, [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
        if (button == Qt::LeftButton)
            QMetaObject::invokeMethod(this, &TfrmMain::pbDblClickNoProject, Qt::QueuedConnection);
    });

    // Client area (below the menu: tool bars, plan, panel and status bar) 881 x 447, at
    // least 700 x 400, centred on the screen.
    setMinimumSize(700, 400 + menuBar()->sizeHint().height());
    resize(881, 447 + menuBar()->sizeHint().height());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));

#ifdef TESVORN_HAS_PLAN_EDITOR
    PlanEditor = new TPlanEditor(this); // plan editor
#endif
    CalcCommands = new TCalcCommands(this);
    ReportCommands = new TReportCommands(this);
    ResultsCommands = new TResultsCommands(this);
    Zoom = new TPlanZoom(this);
    UndoCommands = new TUndoCommands(this);

    FormCreate(options);
}

TfrmMain::~TfrmMain()
{
    // FormDestroy: the project is closed by then (see closeEvent); whatever is left is
    // released here, the database connection last. The zoom goes first: it filters the
    // events of the plan's widgets, which QWidget's destructor still hides and notifies
    // when this window is no longer a TfrmMain.
    delete Zoom;
    Zoom = nullptr;
    CurrentRoom = nullptr;
    CurrentSensor = nullptr;
    FP.reset();
    sldb.reset();
}

void TfrmMain::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    miProjectMenu = bar->addMenu(QStringLiteral("Проект"));
    miProjectMenu->setObjectName(QStringLiteral("miProjectMenu"));
    miNew = MakeAction(miProjectMenu, "miNew", QStringLiteral("Создать..."));
    miNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    miOpen = MakeAction(miProjectMenu, "miOpen", QStringLiteral("Открыть"));
    miOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    miSave = MakeAction(miProjectMenu, "miSave", QStringLiteral("Сохранить"));
    miSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    miSaveAs = MakeAction(miProjectMenu, "miSaveAs", QStringLiteral("Сохранить как..."));
    miProjectMenu->addSeparator();
    miClose = MakeAction(miProjectMenu, "miClose", QStringLiteral("Закрыть"));
    miProjectMenu->addSeparator();
    miProjectParams = MakeAction(miProjectMenu, "miProjectParams", QStringLiteral("Параметры..."));
    miProjectMenu->addSeparator();
    miExit = MakeAction(miProjectMenu, "miExit", QStringLiteral("Выход"));

    connect(miNew, &QAction::triggered, this, &TfrmMain::miNewClick);
    connect(miOpen, &QAction::triggered, this, &TfrmMain::miOpenClick);
    connect(miSave, &QAction::triggered, this, &TfrmMain::miSaveClick);
    connect(miSaveAs, &QAction::triggered, this, &TfrmMain::miSaveAsClick);
    connect(miClose, &QAction::triggered, this, &TfrmMain::miCloseClick);
    connect(miProjectParams, &QAction::triggered, this, &TfrmMain::miProjectParamsClick);
    connect(miExit, &QAction::triggered, this, &TfrmMain::miExitClick);

    miViewMenu = bar->addMenu(QStringLiteral("Вид"));
    miViewMenu->setObjectName(QStringLiteral("miViewMenu"));
    miShowRoomsInfo = MakeAction(miViewMenu, "miShowRoomsInfo", QStringLiteral("Информация о помещениях"));
    miShowRoomsInfo->setCheckable(true);
    miShowBgImage = MakeAction(miViewMenu, "miShowBgImage", QStringLiteral("Показывать подложку"));
    miShowBgImage->setCheckable(true);
    miShowBgImage->setChecked(true);
    miShowScale = MakeAction(miViewMenu, "miShowScale", QStringLiteral("Показывать масштаб"));
    miShowScale->setCheckable(true);
    // Has no check mark of its own (it does not toggle on click).
    miTransparentRooms = MakeAction(miViewMenu, "miTransparentRooms", QStringLiteral("Прозрачные помещения"));
    miToolBars = new QMenu(QStringLiteral("Панели инструментов"), miViewMenu);
    miToolBars->setObjectName(QStringLiteral("miToolBars"));
    miToolBarProject = MakeAction(miToolBars, "miToolBarProject", QStringLiteral("Проект"));
    miToolBarEdit = MakeAction(miToolBars, "miToolBarEdit", QStringLiteral("Редактирование"));
    miToolBarsItem = miViewMenu->addMenu(miToolBars);
    miToolBarsItem->setObjectName(QStringLiteral("miToolBarsItem"));
    miToolBarsItem->setVisible(false);

    miDatabaseMenu = bar->addMenu(QStringLiteral("База данных"));
    miDatabaseMenu->setObjectName(QStringLiteral("miDatabaseMenu"));
    miEditDatabase = MakeAction(miDatabaseMenu, "miEditDatabase", QStringLiteral("Редактировать..."));
    connect(miEditDatabase, &QAction::triggered, this, &TfrmMain::miEditDatabaseClick);

    miHelpMenu = bar->addMenu(QStringLiteral("Справка"));
    miHelpMenu->setObjectName(QStringLiteral("miHelpMenu"));
    miUserGuide = MakeAction(miHelpMenu, "miUserGuide", QStringLiteral("Руководство пользователя"));
    miUserGuide->setVisible(false);
    miAbout = MakeAction(miHelpMenu, "miAbout", QStringLiteral("О программе"));
    connect(miAbout, &QAction::triggered, this, &TfrmMain::miAboutClick);
}

void TfrmMain::BuildToolBars()
{
    ControlBar = new QWidget;
    ControlBar->setObjectName(QStringLiteral("ControlBar"));
    auto* layout = new QHBoxLayout(ControlBar);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(6);

    QStyle* st = style();
    tbProject = new QToolBar(QStringLiteral("Проект"), ControlBar);
    tbProject->setObjectName(QStringLiteral("tbProject"));
    tbProject->setIconSize(QSize(20, 20));
    btnNewProject = MakeToolButton(tbProject, "btnNewProject", QStringLiteral("Новый проект"),
                                   st->standardIcon(QStyle::SP_FileIcon));
    btnOpenProject = MakeToolButton(tbProject, "btnOpenProject", QStringLiteral("Открыть проект"),
                                    st->standardIcon(QStyle::SP_DialogOpenButton));
    btnSaveProject = MakeToolButton(tbProject, "btnSaveProject", QStringLiteral("Сохранить проект"),
                                    st->standardIcon(QStyle::SP_DialogSaveButton));
    tbProject->addSeparator();
    btnEditDatabase = MakeToolButton(tbProject, "btnEditDatabase", QStringLiteral("Редактировать базу данных"),
                                     DrawnIcon(TIconKind::Database));
    connect(btnNewProject, &QToolButton::clicked, this, &TfrmMain::miNewClick);
    connect(btnOpenProject, &QToolButton::clicked, this, &TfrmMain::miOpenClick);
    connect(btnEditDatabase, &QToolButton::clicked, this, &TfrmMain::miEditDatabaseClick);
    // The tool button saves whatever the state of the menu item.
    connect(btnSaveProject, &QToolButton::clicked, this, &TfrmMain::miSaveClick);
    layout->addWidget(tbProject);

    tbEdit = new QToolBar(QStringLiteral("Редактирование"), ControlBar);
    tbEdit->setObjectName(QStringLiteral("tbEdit"));
    tbEdit->setIconSize(QSize(20, 20));
    btnZoneEdit = MakeToolButton(tbEdit, "btnZoneEdit", QStringLiteral("Редактировать зон"), DrawnIcon(TIconKind::Zone));
    btnSensorsEdit = MakeToolButton(tbEdit, "btnSensorsEdit", QStringLiteral("Редактирование датчиков"),
                                    DrawnIcon(TIconKind::Sensor));
    btnZoneEdit->setCheckable(true);
    btnSensorsEdit->setCheckable(true);
    auto* modes = new QButtonGroup(this);
    modes->setObjectName(QStringLiteral("grpEditMode"));
    modes->setExclusive(true);
    modes->addButton(btnZoneEdit);
    modes->addButton(btnSensorsEdit);
    btnZoneEdit->setChecked(true);
    tbEdit->addSeparator();

    pmCalc = new QMenu(this);
    pmCalc->setObjectName(QStringLiteral("pmCalc"));
    N5 = MakeAction(pmCalc, "N5", QStringLiteral("Расчитать ГН"));
    pmiCalc = MakeAction(pmCalc, "pmiCalc", QStringLiteral("Расчитать ВОП с оптимизацией"));
    pmiCalc->setVisible(false);
    pmiCalcSimple = MakeAction(pmCalc, "pmiCalcSimple", QStringLiteral("Расчитать ВОП"));
    pmiCalcInitialStage = MakeAction(pmCalc, "pmiCalcInitialStage", QStringLiteral("Расчитать НСП"));
    btnCalc = MakeToolButton(tbEdit, "btnCalc", QStringLiteral("Расчет"), DrawnIcon(TIconKind::Calc));
    btnCalc->setMenu(pmCalc);
    btnCalc->setPopupMode(QToolButton::InstantPopup);

    pmReports = new QMenu(this);
    pmReports->setObjectName(QStringLiteral("pmReports"));
    N3 = MakeAction(pmReports, "N3", QStringLiteral("Создать отчет по ВОП с оптимизацией"));
    N3->setVisible(false); // the optimised run is not offered to the user
    pmiReportSimple = MakeAction(pmReports, "pmiReportSimple", QStringLiteral("Создать отчет по ВОП"));
    pmiReportNSP = MakeAction(pmReports, "pmiReportNSP", QStringLiteral("Создать отчет по НСП"));
    pmiReportG = MakeAction(pmReports, "pmiReportG", QStringLiteral("Создать отчет по горючей нагрузке"));
    btnReport = MakeToolButton(tbEdit, "btnReport", QStringLiteral("Создать отчет"), DrawnIcon(TIconKind::Report));
    btnReport->setToolTip(QStringLiteral("Создать отчет в формате Word"));
    btnReport->setStatusTip(btnReport->toolTip());
    btnReport->setMenu(pmReports);
    btnReport->setPopupMode(QToolButton::InstantPopup);
    layout->addWidget(tbEdit);

    tbLControl = new QToolBar(QStringLiteral("Расстояние между датчиками"), ControlBar);
    tbLControl->setObjectName(QStringLiteral("tbLControl"));
    tbLControl->setIconSize(QSize(20, 20));
    btnManualL = MakeToolButton(tbLControl, "btnManualL",
                                QStringLiteral("Указать расчетное расстояние между сенсорами вручную"),
                                DrawnIcon(TIconKind::ManualL));
    btnAutoL = MakeToolButton(tbLControl, "btnAutoL",
                              QStringLiteral("Определять расчетное расстояние между сенсорами автоматически"),
                              DrawnIcon(TIconKind::AutoL));
    btnManualL->setCheckable(true);
    btnAutoL->setCheckable(true);
    auto* spacing = new QButtonGroup(this);
    spacing->setObjectName(QStringLiteral("grpSpacingMode"));
    spacing->setExclusive(true);
    spacing->addButton(btnManualL);
    spacing->addButton(btnAutoL);
    btnAutoL->setChecked(true);
    seManualL = MakeSpin(tbLControl, "seManualL");
    seManualL->setFixedWidth(70);
    seManualL->SetValue(1.0);
    seManualL->setReadOnly(true);
    QPalette face = seManualL->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    seManualL->setPalette(face);
    tbLControl->addWidget(seManualL);
    tbLControl->setVisible(false);
    layout->addWidget(tbLControl);
    layout->addStretch(1);
}

void TfrmMain::BuildPropertyPanel()
{
    // The panel scrolls when the window is too low for it: the zone panel with its
    // calculation results is taller than the window's client area at its starting size.
    auto* scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("pnlProperties"));
    scroll->setFixedWidth(173);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pnlProperties = scroll;
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("pnlPropertiesContent"));
    // As wide as the panel leaves it, whatever its controls would like: they share that
    // width as they did before the panel could scroll.
    content->setMinimumWidth(1);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(2, 3, 2, 3);
    column->setSpacing(4);

    // Zone parameters.
    pnlRoomParams = new QGroupBox(QStringLiteral("Параметры зоны"), pnlProperties);
    pnlRoomParams->setObjectName(QStringLiteral("pnlRoomParams"));
    auto* zone = new QGridLayout(pnlRoomParams);
    zone->setContentsMargins(3, 4, 3, 4);
    zone->setHorizontalSpacing(3);
    zone->setVerticalSpacing(3);
    int r = 0;
    zone->addWidget(MakeLabel(pnlRoomParams, "lblRpName", QStringLiteral("Название:")), r++, 0, 1, 3);
    edtRpName = new QLineEdit(pnlRoomParams);
    edtRpName->setObjectName(QStringLiteral("edtRpName"));
    zone->addWidget(edtRpName, r++, 0, 1, 3);
    btn5 = MakeButton(pnlRoomParams, "btn5", QStringLiteral("Задать масштаб"),
                      QStringLiteral("Задать масштаб проекта по размерам помещения"));
    zone->addWidget(btn5, r++, 0, 1, 3);
    auto addSize = [&](TFloatSpinEdit*& spin, const char* name, const char* labelName, const QString& caption,
                       const char* unitName) {
        zone->addWidget(MakeLabel(pnlRoomParams, labelName, caption), r, 0);
        spin = MakeSpin(pnlRoomParams, name);
        zone->addWidget(spin, r, 1);
        zone->addWidget(MakeLabel(pnlRoomParams, unitName, QStringLiteral("м")), r, 2);
        ++r;
    };
    addSize(seRpLength, "seRpLength", "lblRpLength", QStringLiteral("Длина:"), "lblRpLengthUnit");
    addSize(seRpWidth, "seRpWidth", "lblRpWidth", QStringLiteral("Ширина:"), "lblRpWidthUnit");
    addSize(seRpHeight, "seRpHeight", "lblRpHeight", QStringLiteral("Высота:"), "lblRpHeightUnit");
    auto* saveRow = new QHBoxLayout;
    btnRpSave = MakeButton(pnlRoomParams, "btnRpSave", QStringLiteral("Применить"));
    btnRpCancel = MakeButton(pnlRoomParams, "btnRpCancel", QStringLiteral("Отмена"));
    saveRow->addWidget(btnRpSave);
    saveRow->addWidget(btnRpCancel);
    zone->addLayout(saveRow, r++, 0, 1, 3);
    btnRpDelete = MakeButton(pnlRoomParams, "btnRpDelete", QStringLiteral("Удалить зону"));
    zone->addWidget(btnRpDelete, r++, 0, 1, 3);

    auto* line = new QFrame(pnlRoomParams);
    line->setObjectName(QStringLiteral("bvlRpCalc"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    zone->addWidget(line, r++, 0, 1, 3);

    // Each calculation button with its result indicator; the three report buttons below
    // them, in the same order.
    auto addCalc = [&](QFrame*& indicator, const char* indicatorName, QPushButton*& calc, const char* calcName,
                       const QString& caption, const QString& hint) {
        auto* calcRow = new QHBoxLayout;
        calcRow->setSpacing(2);
        indicator = MakeIndicator(pnlRoomParams, indicatorName);
        calc = MakeButton(pnlRoomParams, calcName, caption, hint);
        calcRow->addWidget(indicator);
        calcRow->addWidget(calc, 1);
        zone->addLayout(calcRow, r++, 0, 1, 3);
    };
    addCalc(pnlIndicatorVOP, "pnlIndicatorVOP", btnZoneCalcVOP, "btnZoneCalcVOP", QStringLiteral("Сделать расчет ВОП"),
            QStringLiteral("Произвести расчет времени обнаружения пожара системой"));
    addCalc(pnlIndicatorNSP, "pnlIndicatorNSP", btnZoneCalcNSP, "btnZoneCalcNSP", QStringLiteral("Сделать расчет НСП"),
            QStringLiteral("Произвести расчет начальной стадии пожара (времени до объемной вспышки)"));
    addCalc(pnlIndicatorFL, "pnlIndicatorFL", btnCalcFL, "btnCalcFL", QStringLiteral("Сделать расчет ГН"),
            QStringLiteral("Произвести расчет комбинированной горючей нагрузки"));
    auto* reportRow = new QHBoxLayout;
    reportRow->setSpacing(2);
    reportRow->addWidget(MakeLabel(pnlRoomParams, "lblReports", QStringLiteral("Отчет:")));
    auto addReport = [&](QPushButton*& report, const char* name, const QString& caption, const QString& hint) {
        report = MakeButton(pnlRoomParams, name, caption, hint);
        reportRow->addWidget(report, 1);
    };
    addReport(btnReportVOP, "btnReportVOP", QStringLiteral("ВОП"), QStringLiteral("Создать отчет по ВОП"));
    addReport(btnReportNSP, "btnReportNSP", QStringLiteral("НСП"), QStringLiteral("Создать отчет по НСП"));
    addReport(btnReportG, "btnReportG", QStringLiteral("ГН"), QStringLiteral("Создать отчет по горючей нагрузке"));
    zone->addLayout(reportRow, r++, 0, 1, 3);

    pnlCalcResult = new QFrame(pnlRoomParams);
    pnlCalcResult->setObjectName(QStringLiteral("pnlCalcResult"));
    pnlCalcResult->setFrameShape(QFrame::StyledPanel);
    auto* result = new QVBoxLayout(pnlCalcResult);
    result->setContentsMargins(3, 3, 3, 3);
    result->setSpacing(2);
    lblRes1Header = MakeLabel(pnlCalcResult, "lblRes1Header");
    lblRes1 = MakeLabel(pnlCalcResult, "lblRes1");
    lblRes2Header = MakeLabel(pnlCalcResult, "lblRes2Header");
    lblRes2 = MakeLabel(pnlCalcResult, "lblRes2");
    for (QLabel* label : {lblRes1Header, lblRes1, lblRes2Header, lblRes2}) {
        label->setWordWrap(true);
        result->addWidget(label);
    }
    pnlCalcResult->setVisible(false);
    zone->addWidget(pnlCalcResult, r++, 0, 1, 3);
    column->addWidget(pnlRoomParams);

    // Sensor parameters.
    pnlSensorParams = new QGroupBox(QStringLiteral("Параметры датчика"), pnlProperties);
    pnlSensorParams->setObjectName(QStringLiteral("pnlSensorParams"));
    auto* sensor = new QVBoxLayout(pnlSensorParams);
    sensor->setContentsMargins(4, 4, 4, 4);
    sensor->setSpacing(3);
    sensor->addWidget(MakeLabel(pnlSensorParams, "lblSName", QStringLiteral("Название:")));
    edtSName = new QLineEdit(pnlSensorParams);
    edtSName->setObjectName(QStringLiteral("edtSName"));
    sensor->addWidget(edtSName);
    rbSTypeTemperature = new QRadioButton(QStringLiteral("Датчик температуры"), pnlSensorParams);
    rbSTypeTemperature->setObjectName(QStringLiteral("rbSTypeTemperature"));
    rbSTypeSmoke = new QRadioButton(QStringLiteral("Датчик дыма"), pnlSensorParams);
    rbSTypeSmoke->setObjectName(QStringLiteral("rbSTypeSmoke"));
    sensor->addWidget(rbSTypeTemperature);
    sensor->addWidget(rbSTypeSmoke);
    lblSHeight = MakeLabel(pnlSensorParams, "lblSHeight", QStringLiteral("Высота расположения:"));
    seSHeight = MakeSpin(pnlSensorParams, "seSHeight");
    lblSWorkTemperature = MakeLabel(pnlSensorParams, "lblSWorkTemperature", QStringLiteral("Температура срабатывания:"));
    seSWorkTemperature = MakeSpin(pnlSensorParams, "seSWorkTemperature");
    for (QWidget* w : {static_cast<QWidget*>(lblSHeight), static_cast<QWidget*>(seSHeight),
                       static_cast<QWidget*>(lblSWorkTemperature), static_cast<QWidget*>(seSWorkTemperature)}) {
        sensor->addWidget(w);
        w->setVisible(false); // present, but not offered
    }
    auto* sensorRow = new QHBoxLayout;
    btnSSave = MakeButton(pnlSensorParams, "btnSSave", QStringLiteral("Применить"));
    btnSCancel = MakeButton(pnlSensorParams, "btnSCancel", QStringLiteral("Отмена"));
    sensorRow->addWidget(btnSSave);
    sensorRow->addWidget(btnSCancel);
    sensor->addLayout(sensorRow);
    btnSDelete = MakeButton(pnlSensorParams, "btnSDelete", QStringLiteral("Удалить датчик"));
    sensor->addWidget(btnSDelete);
    column->addWidget(pnlSensorParams);
    column->addStretch(1);
    scroll->setWidget(content);
    // Its word-wrapped result labels then take their height for the width they really get.
    pnlRoomParams->setMinimumWidth(1);

    pnlRoomParams->setVisible(false);
    pnlSensorParams->setVisible(false);
    pnlProperties->setVisible(false);
}

void TfrmMain::FormCreate(const TMainWindowOptions& options)
{
    // 1. The plan bitmaps start empty; the logo comes from the program's resources.
    bmpPlan = QImage();
    bmpDrag = QImage();
    bmpLogo = QImage(QStringLiteral(":/logo.png"));

    // 2-3. The reference database and its missing tables.
    const QString dbFile = options.DatabaseFileName.isEmpty() ? RefDbDefaultPath() : options.DatabaseFileName;
    TRefDbStartup db = StartReferenceDatabase(dbFile);
    sldb = std::move(db.Database);
    DatabaseFileName = db.FileName.isEmpty() ? dbFile : db.FileName;
    if (!sldb) {
        // As any unexpected error: the message, and the program goes on without the
        // reference data.
        QString text = db.OpenError;
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('.')))
            text += QLatin1Char('.');
        Prompts().Error(this, text, ProductName());
    } else if (db.InitFailed) {
        Prompts().Error(this, RefDbInitErrorText, RefDbInitErrorCaption);
    }

    // 4. The no-project state.
    CloseProject();

    // 5. A project named on the command line.
    const QStringList args = options.UseApplicationArguments ? QCoreApplication::arguments().mid(1) : options.Arguments;
    if (!args.isEmpty()) {
        const QFileInfo file(args.constFirst());
        if (file.exists() && file.isFile())
            LoadProject(file.absoluteFilePath());
    }
}

// --- states ------------------------------------------------------------------------

void TfrmMain::MenuItemsEnabling(bool AEnabled)
{
    miSave->setEnabled(AEnabled);
    miSaveAs->setEnabled(AEnabled);
    miClose->setEnabled(AEnabled);
    miProjectParams->setEnabled(AEnabled);
}

void TfrmMain::LogoVisible(bool AVisible)
{
    if (AVisible) {
        ScrollBox->setWidgetResizable(true);
        pb->ShowLogo(bmpLogo);
    } else {
        ScrollBox->setWidgetResizable(false);
        pb->move(0, 0);
    }
    pb->update();
}

void TfrmMain::sbText(const QString& AText, int APanel)
{
    if (APanel == 0) {
        // A result replaces the hint.
        FHint.clear();
        sb->clearMessage();
        sbPanel0->setText(AText);
    }
}

void TfrmMain::ShowHint(const QString& AText)
{
    FHint = AText;
    sb->showMessage(AText);
}

bool TfrmMain::event(QEvent* event)
{
    // The tool buttons' status tips take the status bar while the pointer is over them and
    // clear it when it leaves; the hint comes back then instead of an empty bar.
    if (event->type() == QEvent::StatusTip && !FHint.isEmpty()
        && static_cast<QStatusTipEvent*>(event)->tip().isEmpty()) {
        sb->showMessage(FHint);
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::ShowModeHint()
{
#ifdef TESVORN_HAS_PLAN_EDITOR
    if (PlanEditor)
        PlanEditor->ShowModeHint();
#endif
}

void TfrmMain::ShowPanel(QWidget* APanel)
{
    pnlProperties->setVisible(APanel != nullptr);
    pnlRoomParams->setVisible(false);
    pnlSensorParams->setVisible(false);
    if (APanel)
        APanel->setVisible(true);
}

void TfrmMain::UpdateCaption()
{
    setWindowTitle(FP ? FP->Name + QStringLiteral(" — ") + ProductName() : ProductName());
}

void TfrmMain::SizePlanBitmaps()
{
    if (!FP)
        return;
    const QSize size(qMax(FP->Width, 1), qMax(FP->Height, 1));
    bmpPlan = QImage(size, QImage::Format_RGB32);
    bmpPlan.fill(Qt::white);
    bmpDrag = bmpPlan.copy();
}

void TfrmMain::pbPaint()
{
    // The logo state: the paint box fills the scroll box.
    if (ScrollBox->widgetResizable()) {
        pb->ShowLogo(bmpLogo);
        return;
    }
    if (!FP)
        return;
    FP->SetPaintParams(miShowRoomsInfo->isChecked(), false, miShowScale->isChecked(), miTransparentRooms->isChecked());
    FP->PaintParams.ShowZoneVerdicts = miShowZoneVerdicts && miShowZoneVerdicts->isChecked();
    FP->ShowBackgroundImage = miShowBgImage->isChecked();
    FP->PaintParams.OffsetPos = TPoint { ScrollBox->horizontalScrollBar()->value(),
                                         ScrollBox->verticalScrollBar()->value() };
    // The box is the zoomed plan's size before the part in view can be known.
    if (Zoom)
        Zoom->FitBox();
    PlanShown = Zoom ? Zoom->View() : TPlanView();
    FP->PaintRooms(bmpPlan, PlanShown);
    if (!Zoom && pb->size() != bmpPlan.size())
        pb->resize(bmpPlan.size());

    // In debug mode, a line from the critical sensor's nearest neighbour to it.
    if (CurrentRoom && CurrentRoom->CP.DebugMode) {
        if (TSensor* critical = CurrentRoom->CriticalSensor()) {
            const TPoint end = critical->AbsolutePos();
            const TRect& zone = CurrentRoom->Rect();
            const QString& nearest = critical->NearestSensor;
            bool found = true;
            TPoint start;
            if (TSensor* other = CurrentRoom->GetSensorByGUID(nearest))
                start = other->AbsolutePos();
            else if (nearest == QLatin1String("T"))
                start = TPoint { end.X, zone.Top };
            else if (nearest == QLatin1String("L"))
                start = TPoint { zone.Left, end.Y };
            else if (nearest == QLatin1String("B"))
                start = TPoint { end.X, zone.Bottom };
            else if (nearest == QLatin1String("R"))
                start = TPoint { zone.Right, end.Y };
            else
                found = false;
            if (found && !bmpPlan.isNull()) {
                QPainter painter(&bmpPlan);
                painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
                painter.drawLine(int(PlanShown.ToPictureX(start.X)), int(PlanShown.ToPictureY(start.Y)),
                    int(PlanShown.ToPictureX(end.X)), int(PlanShown.ToPictureY(end.Y)));
            }
        }
    }
    pb->ShowPicture(bmpPlan, PlanShown.Origin);
}

void TfrmMain::Repaint()
{
    pbPaint();
    pb->repaint();
    // Every change the window makes to the project ends in a repaint, so this is where the
    // result panel and the summary of the zones learn of it.
    if (ResultsCommands)
        ResultsCommands->PlanChanged();
}

void TfrmMain::ShowOverlay(const QImage& overlay)
{
    pb->ShowPicture(overlay, PlanShown.Origin);
    pb->repaint();
}

void TfrmMain::pbDblClickNoProject()
{
    if (!FP)
        miOpenClick();
}

// --- closing and opening -----------------------------------------------------------

bool TfrmMain::CloseProject()
{
    // A change no edit has taken yet still counts for the question.
    if (UndoCommands)
        UndoCommands->Flush();
    if (FP && FP->Modified()) {
        const TPromptAnswer answer = Prompts().Question(
            this, QStringLiteral("Сохранить изменения в проекте \"") + FP->Name + QStringLiteral("\"?"),
            QStringLiteral("Проектирование"), TPromptIcon::Information, TPromptButtons::YesNoCancel);
        if (answer == TPromptAnswer::Cancel)
            return false;
        if (answer == TPromptAnswer::Yes) {
            // A project without a file is saved under a name the user gives, as
            // "Сохранить как..." does; if nothing gets written (the dialog is cancelled,
            // or writing fails and the user gives up) the project stays open rather than
            // being thrown away with its changes.
            if (CurrentProjectFile.isEmpty())
                miSaveAsClick();
            else
                miSaveClick();
            if (FP && FP->Modified())
                return false;
        }
    }
    // The current zone and sensor are forgotten before the project that holds them goes.
    CurrentRoom = nullptr;
    CurrentRoomID = -1;
    CurrentSensor = nullptr;
    FP.reset();
    if (UndoCommands)
        UndoCommands->ProjectClosed();
    if (Zoom)
        Zoom->ProjectChanged();
    MenuItemsEnabling(false);
    LogoVisible(true);
    ShowPanel(nullptr);
    setWindowTitle(ProductName());
    Repaint();
    return true;
}

bool TfrmMain::LoadProject(const QString& AFileName)
{
    QString fileName = AFileName;
    if (fileName.isEmpty()) {
        fileName = Prompts().OpenFileName(this, QString(), KProjectFilter);
        if (fileName.isEmpty())
            return false;
    }
    CloseProject();
    if (FP)
        return false;

    auto project = std::make_unique<TFireProject>();
    bool loaded = false;
    try {
        loaded = project->LoadFromFile(fileName);
    } catch (...) {
        loaded = false;
    }
    if (loaded) {
        FP = std::move(project);
        CurrentProjectFile = fileName;
        if (Zoom)
            Zoom->ProjectChanged();
        LogoVisible(false);
        SizePlanBitmaps();
        Repaint();
        MenuItemsEnabling(true);
        UpdateCaption();
        SensorNumber = 0;
        if (ResultsCommands)
            ResultsCommands->ProjectOpened(fileName);
        // The project as opened, its results with it, is the stack's clean state.
        if (UndoCommands)
            UndoCommands->ProjectOpened(true);
        ShowModeHint();
    } else {
        project.reset();
        CurrentProjectFile.clear();
        LogoVisible(false);
        CloseProject();
        Prompts().Error(this, KLoadFailedText, QStringLiteral("Ошибка"));
    }
    return true;
}

// --- commands ----------------------------------------------------------------------

void TfrmMain::miNewClick()
{
    RunGuarded(this, [this] {
        miCloseClick();
        if (FP)
            return;
        TfrmProjectParams dialog(this);
        dialog.setWindowTitle(QStringLiteral("Новый проект"));
        dialog.btnOK->setText(QStringLiteral("Создать проект"));
        if (dialog.exec() != QDialog::Accepted)
            return;
        FP = std::make_unique<TFireProject>();
        FP->Name = dialog.edtProjectName->text();
        if (dialog.rbSizeByBgImage->isChecked() && dialog.BgImageFileName.isEmpty()) {
            // No picture was chosen, so there is none to warn about: the default size.
            FP->Width = 500;
            FP->Height = 500;
        } else if (dialog.rbSizeByBgImage->isChecked()) {
            // False also for a picture that cannot be read or decoded.
            if (!FP->SetBackgroundImage(dialog.BgImageFileName)) {
                Prompts().Warning(this, KBgImageFailedText, QStringLiteral("Ошибка при создании проекта"));
                FP->Width = 500;
                FP->Height = 500;
            }
        } else {
            bool ok = false;
            const int width = dialog.seWidth->cleanText().toInt(&ok);
            FP->Width = ok ? width : 500;
            const int height = dialog.seHeight->cleanText().toInt(&ok);
            FP->Height = ok ? height : 500;
        }
        SensorNumber = 0;
        CurrentProjectFile.clear();
        MenuItemsEnabling(true);
        UpdateCaption();
        if (Zoom)
            Zoom->ProjectChanged();
        LogoVisible(false);
        SizePlanBitmaps();
        Repaint();
        if (UndoCommands)
            UndoCommands->ProjectOpened(false);
        ShowModeHint();
    });
}

void TfrmMain::miOpenClick()
{
    RunGuarded(this, [this] { LoadProject(QString()); });
}

bool TfrmMain::WriteProject(const QString& fileName)
{
    if (UndoCommands)
        UndoCommands->BeforeSave();
    if (!FP->SaveToFile(fileName))
        return false;
    if (UndoCommands)
        UndoCommands->ProjectSaved();
    // The project is saved whatever becomes of its results file.
    if (ResultsCommands)
        ResultsCommands->ProjectSaved(fileName);
    return true;
}

void TfrmMain::miSaveClick()
{
    RunGuarded(this, [this] {
        if (!FP)
            return;
        // A project that was never saved has no file to write to: Save asks for one, as
        // "Сохранить как..." does, instead of doing nothing and saying nothing.
        if (CurrentProjectFile.isEmpty()) {
            SaveAsLoop();
            return;
        }
        if (WriteProject(CurrentProjectFile)) {
            miSave->setEnabled(false);
            return;
        }
        if (Prompts().Question(this, KSaveFailedText, QStringLiteral("Ошибка"), TPromptIcon::Error,
                               TPromptButtons::YesNo)
            == TPromptAnswer::Yes) {
            SaveAsLoop();
            miSave->setEnabled(false);
        }
    });
}

bool TfrmMain::SaveAsLoop()
{
    if (!FP)
        return false;
    bool retry = false;
    for (;;) {
        TSaveFileOptions options;
        options.Title = QStringLiteral("Сохранить проект");
        options.FileName = FP->Name;
        options.Filter = KProjectFilter;
        options.DefaultSuffix = QStringLiteral("fsp");
        options.ConfirmOverwrite = true;
        const QString fileName = Prompts().SaveFileName(this, options);
        if (fileName.isEmpty()) {
            // A retry the user abandons still ends the first attempt as it would have.
            if (retry)
                miSave->setEnabled(true);
            return false;
        }
        CurrentProjectFile = fileName;
        const bool written = WriteProject(fileName);
        if (!written
            && Prompts().Question(this, KSaveFailedText, QStringLiteral("Ошибка"), TPromptIcon::Error,
                                  TPromptButtons::YesNo)
                == TPromptAnswer::Yes) {
            retry = true;
            continue;
        }
        miSave->setEnabled(true);
        return written;
    }
}

void TfrmMain::miSaveAsClick()
{
    RunGuarded(this, [this] { SaveAsLoop(); });
}

void TfrmMain::miCloseClick()
{
    RunGuarded(this, [this] { CloseProject(); });
}

void TfrmMain::miExitClick()
{
    close();
}

void TfrmMain::miProjectParamsClick()
{
    RunGuarded(this, [this] {
        if (!FP)
            return;
        TUndoEdit edit(this, UndoText::ProjectParams);
        TfrmProjectParams dialog(this);
        dialog.setWindowTitle(QStringLiteral("Параметры проекта"));
        dialog.btnOK->setText(QStringLiteral("Применить изменения"));
        dialog.seWidth->setValue(FP->Width);
        dialog.seHeight->setValue(FP->Height);
        dialog.edtProjectName->setText(FP->Name);
        if (dialog.exec() != QDialog::Accepted)
            return;
        FP->SetModified(true);
        FP->Width = dialog.seWidth->value();
        FP->Height = dialog.seHeight->value();
        if (!dialog.edtProjectName->text().isEmpty()) {
            FP->Name = dialog.edtProjectName->text();
            UpdateCaption();
        }
        // The background changes only when a picture was chosen for it; confirming the
        // dialog for the name or the size keeps the current one.
        if (dialog.rbSizeByBgImage->isChecked() && !dialog.BgImageFileName.isEmpty()) {
            if (!FP->SetBackgroundImage(dialog.BgImageFileName))
                Prompts().Warning(this, KBgImageFailedText, QStringLiteral("Ошибка при изменении проекта"));
        }
        SizePlanBitmaps();
        Repaint();
        miSave->setEnabled(true);
    });
}

void TfrmMain::miEditDatabaseClick()
{
    ShowDatabaseEditor(this, sldb.get());
}

void TfrmMain::miAboutClick()
{
    TfrmAbout about(this);
    about.lblAppName->setText(ProductName());
    about.exec();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // Closing the window closes the project first, with the save question; it goes ahead
    // only when no project is left open.
    event->ignore();
    miCloseClick();
    if (!FP)
        event->accept();
}
