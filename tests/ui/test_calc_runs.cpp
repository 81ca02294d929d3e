// The calculation runs driven through the real main window, headless: a zone drawn with
// the mouse and scaled through the scale dialog, the calculation dialog answered through
// its real controls, the results checked on the model, on the window's status bar,
// indicators, result panel and debug window, and on the recorded message boxes.
#include "FloatSpinEdit.h"
#include "MainWindowFixture.h"
#include "btnScaleSetup.h"
#include "uCalc.h"
#include "uCalcCommands.h"
#include "uDebug.h"
#include "uNumberText.h"
#include "uPaintBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>

// Readable QString values in failure output.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const QColor Green(0, 128, 0);
const QColor Yellow(255, 255, 0);
const QString DetectionPrefix = QStringLiteral("Время обнаружения: ");
const QString NSPPrefix = QStringLiteral("Продолжительность начальной стадии пожара: ");

class CalcRunsTest : public MainWindowTest {
protected:
    std::unique_ptr<TfrmDebug> debug;

    void SetUp() override
    {
        debug = std::make_unique<TfrmDebug>();
        SetfrmDebug(debug.get());
        Start();
        NewProject(QStringLiteral("Склад"), 640, 480);
    }
    void TearDown() override
    {
        win.reset();
        SetfrmDebug(nullptr);
        debug.reset();
    }

    TFireProject& P() { return *win->FP; }
    TPaintBox* Box() { return win->pb; }

    void Press(QPoint p) { QTest::mousePress(Box(), Qt::LeftButton, Qt::NoModifier, p); }
    void Release(QPoint p) { QTest::mouseRelease(Box(), Qt::LeftButton, Qt::NoModifier, p); }
    void Move(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(Box()->mapToGlobal(p)), Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Box(), &e);
    }
    void Click(QPoint p)
    {
        Press(p);
        Release(p);
    }

    // Draws a zone with the mouse in zone mode and selects it.
    TRoom* DrawZone(QPoint a, QPoint b)
    {
        win->btnZoneEdit->click();
        const auto before = P().Rooms.size();
        Press(a);
        Move(b);
        Release(b);
        EXPECT_EQ(P().Rooms.size(), before + 1);
        Click((a + b) / 2);
        return P().Rooms.back().get();
    }
    // The current zone's length in metres through "Задать масштаб".
    void SetScale(const QString& length)
    {
        prompts->Dialog([length](QWidget* w) {
            auto* d = qobject_cast<TfrmScaleSetup*>(w);
            ASSERT_NE(d, nullptr);
            d->edtLength->setText(length);
            d->btnOK->click();
        });
        win->btn5->click();
    }
    // The current zone's height in metres through the zone panel.
    void SetHeight(const QString& metres)
    {
        win->seRpHeight->setText(metres);
        win->btnRpSave->click();
    }
    // A 10 m × 5 m zone, 3 m high, at 0.05 m per pixel: (100, 100) to (300, 200).
    TRoom* ScaledZone()
    {
        TRoom* room = DrawZone({ 100, 100 }, { 300, 200 });
        SetScale(QStringLiteral("10"));
        SetHeight(QStringLiteral("3"));
        EXPECT_EQ(room->H(), 60);
        return room;
    }

    // Answers the next calculation dialog: `fill` works on it, then "Начать расчет" (or
    // "Отмена" when !accept). A dialog that refuses to close is failed and cancelled, so
    // that the test goes on.
    void ScriptCalc(std::function<void(TfrmCalc*)> fill, bool accept = true)
    {
        prompts->Dialog([fill, accept](QWidget* w) {
            auto* d = qobject_cast<TfrmCalc*>(w);
            ASSERT_NE(d, nullptr);
            if (fill)
                fill(d);
            (accept ? d->btn2 : d->btn1)->click();
            if (d->isVisible()) {
                ADD_FAILURE() << "the calculation dialog did not close";
                d->reject();
            }
        });
    }
    // A modal dialog that must not appear: noted and cancelled.
    void ExpectNoDialog(bool* shown)
    {
        prompts->Dialog([shown](QWidget* w) {
            *shown = true;
            static_cast<QDialog*>(w)->reject();
        });
    }
    static void AddFirstLoad(TfrmCalc* d) { d->btnFireLoadAdd->click(); }

    QColor Colour(QFrame* indicator) const { return indicator->palette().color(QPalette::Window); }
    QColor DefaultColour() const { return win->pnlProperties->palette().color(QPalette::Window); }
    QColor TextColour(QLabel* label) const { return label->palette().color(QPalette::WindowText); }
    QString Status() const { return win->sbPanel0->text(); }

    // The one message box recorded since the last Clear, and clears.
    TPromptRecord TakeMessage()
    {
        const QList<TPromptRecord> messages = prompts->Messages();
        EXPECT_EQ(messages.size(), 1);
        prompts->Clear();
        return messages.isEmpty() ? TPromptRecord() : messages.front();
    }
};

// The whole main job: draw, scale, calculate, see the grid and the time, drag a sensor,
// then the initial stage and the fire load, with the indicators following the runs.
TEST_F(CalcRunsTest, DrawScaleCalculateDragThenInitialStageAndFireLoad)
{
    TRoom* room = ScaledZone();
    prompts->Clear();

    QString loadName;
    ScriptCalc([&loadName](TfrmCalc* d) {
        EXPECT_EQ(d->edtParam1->text(), QStringLiteral("3"));
        EXPECT_EQ(d->edtParam3->text(), QStringLiteral("150"));
        loadName = d->cbInitialParams->currentText();
        AddFirstLoad(d);
        d->seParam2->setText(QStringLiteral("2,5"));
    });
    win->btnZoneCalcVOP->click();

    // The grid: ⌈5 / 2.5⌉ = 2 rows by ⌈10 / 2.5⌉ = 4 columns, outer sensors 1.25 m (25 px)
    // from the walls, 2.5 m (50 px) apart, named row by row.
    ASSERT_EQ(room->Sensors.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        const TSensor& s = *room->Sensors[i];
        EXPECT_EQ(s.AbsolutePos(), (TPoint { 125 + 50 * (i % 4), 125 + 50 * (i / 4) })) << i;
        EXPECT_EQ(s.Name(), QString::number(i + 1));
        EXPECT_EQ(s.Range(), 25);
    }
    EXPECT_EQ(win->SensorNumber, 8);
    EXPECT_EQ(room->CP.param2, 2.5L);
    EXPECT_EQ(room->CP.FLNames, loadName);
    ASSERT_TRUE(room->CP.CalculatedVOP);
    ASSERT_GT(room->CP.VOPResult, 0);

    // The time: in the status bar, in the box and in the result panel.
    const QString time = DetectionPrefix + FormatSeconds(room->CP.VOPResult);
    EXPECT_EQ(Status(), time);
    TPromptRecord box = TakeMessage();
    EXPECT_EQ(box.Text, time);
    EXPECT_EQ(box.Caption, QStringLiteral("Результат"));
    EXPECT_EQ(box.Icon, TPromptIcon::Information);
    EXPECT_EQ(win->seManualL->Value(), 2.5);
    EXPECT_EQ(Colour(win->pnlIndicatorVOP), Green);
    EXPECT_EQ(Colour(win->pnlIndicatorNSP), DefaultColour());
    EXPECT_EQ(Colour(win->pnlIndicatorFL), DefaultColour());
    EXPECT_TRUE(win->pnlCalcResult->isVisible());
    EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП произведен."));
    EXPECT_EQ(TextColour(win->lblRes1Header), Green);
    EXPECT_EQ(win->lblRes1->text(), time);
    EXPECT_EQ(win->lblRes2Header->text(), QStringLiteral("Расчет НСП не производился."));
    EXPECT_EQ(TextColour(win->lblRes2Header), QColor(Qt::black));
    EXPECT_FALSE(debug->isVisible()); // no debug mode

    // The plan shows the new sensors: the first one's centre is drawn.
    EXPECT_NE(Box()->Picture().pixel(125, 125) | 0xFF000000u, qRgb(255, 255, 255));

    // Dragging a sensor recalculates from the measured layout at every step.
    win->btnSensorsEdit->click();
    Press({ 125, 125 });
    Move({ 100, 100 });
    EXPECT_EQ(room->Sensors[0]->AbsolutePos(), (TPoint { 100, 100 }));
    EXPECT_NE(room->CP.param2, 2.5L);
    const QString afterDrag = Status();
    EXPECT_NE(afterDrag, time);
    EXPECT_TRUE(afterDrag.startsWith(DetectionPrefix)
        || afterDrag == QStringLiteral("При заданных условиях пожар не будет обнаружен"))
        << afterDrag.toStdString();
    EXPECT_FALSE(afterDrag.contains(QStringLiteral("(L = "))); // only in debug mode
    EXPECT_EQ(win->seManualL->Value(), static_cast<double>(room->CP.param2));
    Release({ 100, 100 });

    // So does deleting a sensor: the corner sensor's 4 m gaps go with it.
    ASSERT_TRUE(win->pnlSensorParams->isVisible());
    const long double dragged = room->CP.param2;
    win->sbText(QString());
    win->btnSDelete->click();
    ASSERT_EQ(room->Sensors.size(), 7u);
    EXPECT_NE(room->CP.param2, dragged);
    EXPECT_FALSE(Status().isEmpty());
    const QString lastStatus = Status();

    // The initial stage: the zone's list is handed over, so only the duration is needed.
    win->btnZoneEdit->click();
    Click({ 150, 150 });
    ScriptCalc([](TfrmCalc* d) {
        EXPECT_EQ(d->lvFireLoads->topLevelItemCount(), 1);
        EXPECT_FALSE(d->PageShown(d->ts2));
        EXPECT_FALSE(d->img2->isHidden()); // 150 m³: the small-volume chart
        d->seValue11->setText(QStringLiteral("10"));
    });
    win->btnZoneCalcNSP->click();
    ASSERT_TRUE(room->CP.CalculatedNSP);
    EXPECT_FALSE(room->CP.CalculatedVOP);
    const QString duration = NSPPrefix + FormatSeconds(room->CP.value12);
    box = TakeMessage();
    EXPECT_EQ(box.Text, duration);
    EXPECT_EQ(box.Caption, QStringLiteral("Результат"));
    EXPECT_EQ(Status(), lastStatus) << "the initial stage leaves the status bar";
    EXPECT_EQ(Colour(win->pnlIndicatorVOP), Yellow);
    EXPECT_EQ(Colour(win->pnlIndicatorNSP), Green);
    EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП не производился."));
    EXPECT_EQ(TextColour(win->lblRes1Header), QColor(Qt::black));
    EXPECT_TRUE(win->lblRes1->text().isEmpty());
    EXPECT_EQ(win->lblRes2Header->text(), QStringLiteral("Расчет НСП произведен."));
    EXPECT_EQ(win->lblRes2->text(), duration);
    EXPECT_EQ(room->Sensors.size(), 7u) << "no grid after the initial stage";

    // The fire load: the last green turns yellow, the fire-load indicator green.
    ScriptCalc([](TfrmCalc* d) {
        EXPECT_FALSE(d->PageShown(d->ts2));
        EXPECT_FALSE(d->PageShown(d->ts3));
    });
    win->btnCalcFL->click();
    EXPECT_TRUE(room->CP.CalculatedFL);
    box = TakeMessage();
    EXPECT_EQ(box.Text, QStringLiteral("Расчет сделан"));
    EXPECT_EQ(box.Caption, QStringLiteral("Результат"));
    EXPECT_EQ(Colour(win->pnlIndicatorVOP), Yellow);
    EXPECT_EQ(Colour(win->pnlIndicatorNSP), Yellow);
    EXPECT_EQ(Colour(win->pnlIndicatorFL), Green);
    EXPECT_EQ(win->lblRes2->text(), duration) << "the fire load keeps the initial stage shown";

    // The indicators belong to the window: another zone, without results, leaves them.
    DrawZone({ 400, 100 }, { 500, 200 });
    EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП не производился."));
    EXPECT_EQ(win->lblRes2Header->text(), QStringLiteral("Расчет НСП не производился."));
    EXPECT_EQ(Colour(win->pnlIndicatorFL), Green);
    Click({ 150, 150 });
    EXPECT_EQ(win->lblRes2->text(), duration);
    Click({ 600, 400 }); // empty space: no zone, no result panel
    EXPECT_TRUE(win->pnlCalcResult->isHidden());
    EXPECT_EQ(prompts->Unanswered(), 0);
}

// A cancelled dialog changes nothing: the zone, its sensors, the current sensor, the
// indicators and the status bar stay as they were.
TEST_F(CalcRunsTest, CancelledRunsChangeNothingAndAcceptedOnesForgetTheReplacedSensor)
{
    TRoom* room = ScaledZone();
    ScriptCalc([](TfrmCalc* d) {
        AddFirstLoad(d);
        d->seParam2->setText(QStringLiteral("2,5"));
    });
    win->btnZoneCalcVOP->click();
    ASSERT_EQ(room->Sensors.size(), 8u);
    // Make the first sensor current, as a click in sensor mode does; its panel shows.
    win->btnSensorsEdit->click();
    Click({ 125, 125 });
    ASSERT_EQ(win->CurrentSensor, room->Sensors[0].get());
    ASSERT_TRUE(win->pnlSensorParams->isVisible());
    prompts->Clear();

    const TSensor* first = room->Sensors[0].get();
    const long double time = room->CP.VOPResult;
    const QString status = Status();
    const QColor vop = Colour(win->pnlIndicatorVOP);
    const auto unchanged = [&](const char* what) {
        SCOPED_TRACE(what);
        ASSERT_EQ(room->Sensors.size(), 8u);
        EXPECT_EQ(room->Sensors[0].get(), first);
        EXPECT_EQ(room->CP.param2, 2.5L);
        EXPECT_EQ(room->CP.VOPResult, time);
        EXPECT_TRUE(room->CP.CalculatedVOP);
        EXPECT_FALSE(room->CP.CalculatedNSP);
        EXPECT_FALSE(room->CP.CalculatedFL);
        EXPECT_EQ(Status(), status);
        EXPECT_EQ(Colour(win->pnlIndicatorVOP), vop);
        EXPECT_EQ(Colour(win->pnlIndicatorNSP), DefaultColour());
        EXPECT_EQ(Colour(win->pnlIndicatorFL), DefaultColour());
        EXPECT_EQ(win->lblRes1->text(), DetectionPrefix + FormatSeconds(time));
    };

    ScriptCalc([](TfrmCalc* d) { d->seParam2->setText(QStringLiteral("1")); }, false);
    EXPECT_FALSE(win->CalcVOP());
    unchanged("standard run cancelled");
    ScriptCalc([](TfrmCalc* d) { d->seValue11->setText(QStringLiteral("10")); }, false);
    EXPECT_FALSE(win->CalcInitialStage());
    unchanged("initial stage cancelled");
    ScriptCalc(nullptr, false);
    EXPECT_FALSE(win->CalcFL());
    unchanged("fire load cancelled");
    EXPECT_TRUE(prompts->Messages().isEmpty());
    EXPECT_EQ(win->CurrentSensor, first) << "a cancelled run keeps the current sensor";
    EXPECT_TRUE(win->pnlSensorParams->isVisible());

    // An accepted run replaces the sensors: the window forgets the current sensor and no
    // longer offers to edit it.
    ScriptCalc([](TfrmCalc* d) { d->seParam2->setText(QStringLiteral("4")); });
    EXPECT_TRUE(win->CalcVOP());
    EXPECT_EQ(win->CurrentSensor, nullptr);
    EXPECT_FALSE(win->pnlSensorParams->isVisible());
    EXPECT_EQ(room->Sensors.size(), 6u); // 2 rows by 3 columns
}

// Runs that cannot start: no project does nothing at all, no zone and no scale say why,
// and no dialog appears.
TEST_F(CalcRunsTest, WithoutZoneOrScaleTheRunSaysWhyAndShowsNoDialog)
{
    bool shown = false;
    ExpectNoDialog(&shown);

    win->btnZoneCalcVOP->click(); // no zone selected yet
    TPromptRecord box = TakeMessage();
    EXPECT_EQ(box.Text, QStringLiteral("Выберите помещение"));
    EXPECT_EQ(box.Caption, QStringLiteral("Невозмонжо начать расчет"));
    EXPECT_EQ(box.Icon, TPromptIcon::Warning);
    ExpectNoDialog(&shown);

    TRoom* room = DrawZone({ 100, 100 }, { 300, 200 });
    room->AddSensor()->SetAbsolutePos({ 150, 150 });
    for (QAction* item : { win->pmiCalcSimple, win->pmiCalcInitialStage, win->N5 }) {
        item->trigger();
        box = TakeMessage();
        EXPECT_EQ(box.Text,
            QStringLiteral("Не задан масштаб проекта. Задайте масштаб кнопкой \"Задать масштаб\" и "
                           "повторите расчет."));
        EXPECT_EQ(box.Caption, QStringLiteral("Невозмонжо начать расчет"));
        ExpectNoDialog(&shown);
    }
    EXPECT_EQ(room->Sensors.size(), 1u);
    EXPECT_FALSE(room->CP.CalculatedVOP);

    prompts->Answer(TPromptAnswer::No); // do not save the new project
    Action("miClose")->trigger();
    ASSERT_EQ(win->FP, nullptr);
    prompts->Clear();
    ExpectNoDialog(&shown);
    EXPECT_FALSE(win->CalcVOP());
    EXPECT_FALSE(win->CalcFL());
    EXPECT_TRUE(prompts->Messages().isEmpty());
    EXPECT_FALSE(shown);
}

// Each command of pmCalc and of the zone panel opens the dialog of its own run.
TEST_F(CalcRunsTest, EachCommandOpensTheDialogOfItsRun)
{
    ScaledZone();
    const QList<QAction*> items = win->pmCalc->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0], win->N5);
    EXPECT_EQ(items[1], win->pmiCalc);
    EXPECT_EQ(items[2], win->pmiCalcSimple);
    EXPECT_EQ(items[3], win->pmiCalcInitialStage);
    EXPECT_FALSE(win->pmiCalc->isVisible());
    EXPECT_EQ(win->btnCalc->menu(), win->pmCalc);

    enum class TShape { Standard, Optimised, InitialStage, FireLoad };
    const auto shapeOf = [](TfrmCalc* d) {
        if (!d->PageShown(d->ts2))
            return d->PageShown(d->ts3) ? TShape::InitialStage : TShape::FireLoad;
        return !d->pnlBOSClass->isHidden() ? TShape::Standard : TShape::Optimised;
    };
    const struct {
        std::function<void()> Command;
        TShape Shape;
        const char* Name;
    } commands[] = {
        { [&] { win->N5->trigger(); }, TShape::FireLoad, "N5" },
        { [&] { win->pmiCalc->trigger(); }, TShape::Optimised, "pmiCalc" },
        { [&] { win->pmiCalcSimple->trigger(); }, TShape::Standard, "pmiCalcSimple" },
        { [&] { win->pmiCalcInitialStage->trigger(); }, TShape::InitialStage, "pmiCalcInitialStage" },
        { [&] { win->btnZoneCalcVOP->click(); }, TShape::Standard, "btnZoneCalcVOP" },
        { [&] { win->btnZoneCalcNSP->click(); }, TShape::InitialStage, "btnZoneCalcNSP" },
        { [&] { win->btnCalcFL->click(); }, TShape::FireLoad, "btnCalcFL" },
    };
    for (const auto& c : commands) {
        std::optional<TShape> shape;
        ScriptCalc([&shape, &shapeOf](TfrmCalc* d) { shape = shapeOf(d); }, false);
        c.Command();
        ASSERT_TRUE(shape.has_value()) << c.Name;
        EXPECT_EQ(*shape, c.Shape) << c.Name;
    }
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

// Debug mode (the dialog's hidden check box): the log in the debug window, which is shown
// without blocking the main window, and the spacing in the status bar after a drag.
TEST_F(CalcRunsTest, DebugModeFillsTheDebugWindowWithoutBlockingTheMainWindow)
{
    TRoom* room = ScaledZone();
    debug->AddLine(QStringLiteral("left over"));
    ScriptCalc([](TfrmCalc* d) {
        AddFirstLoad(d);
        d->seParam2->setText(QStringLiteral("2,5"));
        d->cbDebug->setChecked(true);
    });
    win->btnZoneCalcVOP->click();
    ASSERT_TRUE(room->CP.DebugMode);
    EXPECT_TRUE(debug->isVisible());
    EXPECT_FALSE(debug->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // param1 … param16, a gap, six fire-load lines, a gap, value1 … value6 and 11 more.
    QStringList lines = debug->Lines();
    ASSERT_EQ(lines.size(), 16 + 1 + 6 + 1 + 6 + 11);
    EXPECT_EQ(lines.front(), QStringLiteral("param1\t3"));
    EXPECT_EQ(lines[1], QStringLiteral("param2\t2,5"));
    EXPECT_TRUE(lines[16].isEmpty());
    EXPECT_TRUE(lines.back().startsWith(QStringLiteral("value10s\t")));

    // The quick recalculation shows the spacing it used.
    win->btnSensorsEdit->click();
    Press({ 125, 125 });
    Move({ 110, 125 });
    Release({ 110, 125 });
    EXPECT_TRUE(
        Status().endsWith(QStringLiteral(" (L = ") + FormatGeneral(room->CP.param2) + QLatin1Char(')')))
        << Status().toStdString();

    // The optimised run (its menu item is hidden, its command is not) logs its table on
    // every run, in debug mode or not, after clearing the log before its dialog.
    debug->hide();
    const QColor vop = Colour(win->pnlIndicatorVOP), fl = Colour(win->pnlIndicatorFL);
    ScriptCalc([](TfrmCalc* d) {
        AddFirstLoad(d);
        d->seParam2->setText(QStringLiteral("2"));
    });
    win->pmiCalc->trigger();
    EXPECT_FALSE(debug->isVisible()) << "shown only in debug mode";
    lines = debug->Lines();
    ASSERT_EQ(lines.size(), 14 + 1 + 7 + 1 + room->CP.tbl_time);
    EXPECT_EQ(lines.front(), QStringLiteral("param1\t3"));
    EXPECT_TRUE(lines.back().startsWith(QString::number(room->CP.tbl_time) + QLatin1Char('\t')));
    EXPECT_EQ(room->Sensors.size(), 3u * 5u); // ⌈5 / 2⌉ rows by ⌈10 / 2⌉ columns
    const TPromptRecord box = prompts->Messages().back();
    EXPECT_EQ(box.Text, Status());
    EXPECT_EQ(Colour(win->pnlIndicatorVOP), vop) << "the optimised run changes no indicator";
    EXPECT_EQ(Colour(win->pnlIndicatorFL), fl);
}

// The spacing-mode tool bar: hidden at start, shown by its "Вид" entry; in manual mode
// every key typed into seManualL recalculates the zone with the typed spacing.
TEST_F(CalcRunsTest, ManualSpacingThroughTheToolBarShownFromTheViewMenu)
{
    TRoom* room = ScaledZone();
    QToolBar* bar = Control<QToolBar>("tbLControl");
    QAction* item = Action("miShowLControl");
    ASSERT_TRUE(bar && item);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(item->isCheckable());
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(win->miViewMenu->actions().contains(item));
    item->trigger();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(item->isChecked());

    ScriptCalc([](TfrmCalc* d) {
        AddFirstLoad(d);
        d->seParam2->setText(QStringLiteral("2,5"));
    });
    win->btnZoneCalcVOP->click();
    ASSERT_TRUE(room->CP.CalculatedVOP);

    win->btnManualL->click();
    EXPECT_TRUE(room->CP.ManualL);
    EXPECT_FALSE(win->seManualL->isReadOnly());
    win->lblRes1->clear(); // rewritten after every key
    win->seManualL->setFocus();
    win->seManualL->selectAll();
    QTest::keyClicks(win->seManualL, QStringLiteral("4,2"));
    // The field holds a 64-bit number.
    const long double typed = static_cast<long double>(4.2);
    EXPECT_EQ(room->CP.param2, typed);
    const QString expected = room->CP.value6s == -1
        ? QStringLiteral("При заданных условиях пожар не будет обнаружен")
        : DetectionPrefix + FormatSeconds(room->CP.value6s);
    EXPECT_EQ(Status(), expected);
    EXPECT_EQ(win->lblRes1->text(), DetectionPrefix + FormatSeconds(room->CP.VOPResult));
    EXPECT_EQ(win->seManualL->text(), QStringLiteral("4,2")) << "typing is not overwritten";

    // Moving a sensor in manual mode keeps the typed spacing.
    win->btnSensorsEdit->click();
    Press({ 125, 125 });
    Move({ 105, 105 });
    Release({ 105, 105 });
    EXPECT_EQ(room->CP.param2, typed);

    // Back to automatic: the measured spacing again, the field read-only.
    win->btnAutoL->click();
    EXPECT_FALSE(room->CP.ManualL);
    EXPECT_TRUE(win->seManualL->isReadOnly());
    EXPECT_NE(room->CP.param2, typed);

    item->trigger();
    EXPECT_FALSE(bar->isVisible());
}

} // namespace
