// Undo, redo and zoom driven through the real main window, headless. Checked where they
// go wrong: a drag of many steps must be one command; an undone run must give back the
// zone's sensors (their identities), its record, its kept run, the indicators and the
// result panel, and redo must give the run's grid back; the modified mark and "Сохранить"
// must follow the saved state through undo and redo; the menu must name the commands; a
// click at a zoom must hit the zone under the pointer, Ctrl+wheel must keep the point
// under the pointer in place, and the window must draw only the part in view.
#include "FloatSpinEdit.h"
#include "MainWindowFixture.h"
#include "PlanMouse.h"
#include "btnScaleSetup.h"
#include "uCalc.h"
#include "uCalcCommands.h"
#include "uPaintBox.h"
#include "uProjectFile.h"
#include "uProjectResults.h"
#include "uUndoCommands.h"
#include "uZoom.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <QWheelEvent>

using namespace PlanMouse;

namespace {

const QString Undo = QStringLiteral("Отменить");
const QString Redo = QStringLiteral("Повторить");

class UndoZoomTest : public MainWindowTest {
protected:
    void SetUp() override { Start(); }

    TFireProject& P() { return *win->FP; }
    TPaintBox* Box() { return win->pb; }
    QUndoStack* Stack() { return win->UndoCommands->Stack(); }
    QScrollBar* HBar() { return win->ScrollBox->horizontalScrollBar(); }
    QScrollBar* VBar() { return win->ScrollBox->verticalScrollBar(); }
    QByteArray Saved() { return ProjectToBytes(P()) + ProjectResultsToBytes(P()); }

    // The zoomed box position of plan point p, in the middle of its pixels.
    QPoint BoxAt(QPoint p)
    {
        TPlanView v;
        v.Percent = win->Zoom->Percent();
        const QRect cell(QPoint(int(v.Zoomed(p.x())), int(v.Zoomed(p.y()))),
            QPoint(int(v.Zoomed(p.x() + 1)) - 1, int(v.Zoomed(p.y() + 1)) - 1));
        return cell.center();
    }

    // A saved and reopened project with two zones, so that it starts unmodified.
    void OpenTwoZones(int width = 640, int height = 400)
    {
        TFireProject project;
        project.Name = QStringLiteral("Офис");
        project.Width = width;
        project.Height = height;
        project.AddRoom(100, 100, 200, 200);
        project.AddRoom(300, 100, 400, 220);
        const QString file = Path(QStringLiteral("office.fsp"));
        ASSERT_TRUE(project.SaveToFile(file));
        ASSERT_TRUE(win->LoadProject(file));
        ASSERT_NE(win->FP, nullptr);
        ASSERT_FALSE(P().Modified());
    }

    void Wheel(QWidget* w, QPoint at, int delta, Qt::KeyboardModifiers m = Qt::ControlModifier)
    {
        QWheelEvent e(QPointF(at), QPointF(w->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton, m,
            Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(w, &e);
    }
};

// --- commands --------------------------------------------------------------------------

TEST_F(UndoZoomTest, ADragOfManyStepsIsOneCommandAndUndoRedoReplayIt)
{
    OpenTwoZones();
    const TRect start = P().Rooms[0]->Rect();
    Press(Box(), { 150, 150 });
    for (int step = 1; step <= 12; ++step)
        Move(Box(), { 150 + step * 3, 150 + step });
    Release(Box(), { 186, 162 });
    const TRect moved = P().Rooms[0]->Rect();
    ASSERT_NE(moved, start);
    EXPECT_EQ(Stack()->count(), 1);
    EXPECT_EQ(Stack()->undoText(), UndoText::MoveZone);

    // A resize by the edge is one more.
    Press(Box(), { moved.Right, 170 });
    Move(Box(), { moved.Right + 10, 170 });
    Move(Box(), { moved.Right + 25, 170 });
    Release(Box(), { moved.Right + 25, 170 });
    EXPECT_EQ(Stack()->count(), 2);
    EXPECT_EQ(Stack()->undoText(), UndoText::ResizeZone);
    EXPECT_EQ(P().Rooms[0]->Rect().Right, moved.Right + 25);

    // A click that changes nothing is none.
    Press(Box(), { 500, 300 });
    Release(Box(), { 500, 300 });
    EXPECT_EQ(Stack()->count(), 2);

    win->miUndo->trigger();
    EXPECT_EQ(P().Rooms[0]->Rect(), moved);
    // The zone is the current one again, with its panel, as when the resize began.
    EXPECT_EQ(win->CurrentRoom, P().Rooms[0].get());
    EXPECT_TRUE(win->pnlRoomParams->isVisible());
    EXPECT_EQ(win->seRpLength->Value(), moved.Right - moved.Left);
    win->miUndo->trigger();
    EXPECT_EQ(P().Rooms[0]->Rect(), start);
    EXPECT_FALSE(P().Modified());
    win->miRedo->trigger();
    win->miRedo->trigger();
    EXPECT_EQ(P().Rooms[0]->Rect().Right, moved.Right + 25);
    EXPECT_TRUE(P().Modified());
}

TEST_F(UndoZoomTest, MenuAndToolButtonsNameTheCommands)
{
    // "Правка" stands between "Проект" and "Вид".
    const QList<QAction*> menus = win->menuBar()->actions();
    const int edit = menus.indexOf(win->miEditMenu->menuAction());
    ASSERT_GE(edit, 1);
    EXPECT_EQ(menus[edit - 1], win->miProjectMenu->menuAction());
    EXPECT_EQ(menus[edit + 1], win->miViewMenu->menuAction());
    EXPECT_EQ(win->miEditMenu->title(), QStringLiteral("Правка"));
    EXPECT_EQ(win->miUndo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_TRUE(win->miRedo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    EXPECT_TRUE(win->miRedo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    EXPECT_FALSE(win->miUndo->isEnabled()) << "no project";

    NewProject(QStringLiteral("План"), 640, 400);
    EXPECT_EQ(win->miUndo->text(), Undo);
    EXPECT_FALSE(win->miUndo->isEnabled());
    EXPECT_FALSE(win->btnUndo->isEnabled());

    Drag(Box(), { 50, 50 }, { 150, 120 });
    ASSERT_EQ(P().Rooms.size(), 1u);
    EXPECT_EQ(win->miUndo->text(), QStringLiteral("Отменить \"Создание зоны\""));
    EXPECT_TRUE(win->btnUndo->isEnabled());
    EXPECT_EQ(win->btnUndo->toolTip(), win->miUndo->text());
    EXPECT_EQ(win->miRedo->text(), Redo);
    EXPECT_FALSE(win->miRedo->isEnabled());

    win->btnSensorsEdit->click();
    DoubleClick(Box(), { 100, 80 });
    EXPECT_EQ(win->miUndo->text(), QStringLiteral("Отменить \"Добавление датчика\""));
    Press(Box(), { 100, 80 });
    Release(Box(), { 100, 80 });
    win->btnSDelete->click();
    EXPECT_EQ(win->miUndo->text(), QStringLiteral("Отменить \"Удаление датчика\""));

    win->btnUndo->click();
    EXPECT_EQ(P().Rooms[0]->Sensors.size(), 1u);
    EXPECT_EQ(win->miRedo->text(), QStringLiteral("Повторить \"Удаление датчика\""));
    EXPECT_EQ(win->btnRedo->toolTip(), win->miRedo->text());
    EXPECT_EQ(win->miUndo->text(), QStringLiteral("Отменить \"Добавление датчика\""));
    // The sensor deleted and brought back is the current one again, in its panel.
    EXPECT_EQ(win->CurrentSensor, P().Rooms[0]->Sensors[0].get());
    EXPECT_TRUE(win->pnlSensorParams->isVisible());
    EXPECT_TRUE(P().Rooms[0]->Sensors[0]->Selected());

    // The zone panel's edits and the deletion of zones.
    win->btnZoneEdit->click();
    Press(Box(), { 100, 80 });
    Release(Box(), { 100, 80 });
    win->edtRpName->setText(QStringLiteral("Склад"));
    win->btnRpSave->click();
    EXPECT_EQ(win->miUndo->text(), QStringLiteral("Отменить \"Изменение параметров зоны\""));
    win->btnRpDelete->click();
    EXPECT_EQ(win->miUndo->text(), QStringLiteral("Отменить \"Удаление зоны\""));
    EXPECT_EQ(win->miRedo->text(), Redo) << "a new command drops what could be redone";

    // Closing empties the stack.
    prompts->Answer(TPromptAnswer::No);
    ASSERT_TRUE(win->CloseProject());
    EXPECT_EQ(Stack()->count(), 0);
    EXPECT_FALSE(win->miUndo->isEnabled());
}

TEST_F(UndoZoomTest, UndoToTheSavedStateClearsTheModifiedMarkAndSave)
{
    OpenTwoZones();
    EXPECT_TRUE(win->miSave->isEnabled()) << "as ever after opening";
    Drag(Box(), { 150, 150 }, { 160, 150 });
    EXPECT_TRUE(P().Modified());
    EXPECT_TRUE(win->miSave->isEnabled());
    win->miUndo->trigger();
    EXPECT_FALSE(P().Modified());
    EXPECT_FALSE(win->miSave->isEnabled());
    win->miRedo->trigger();
    EXPECT_TRUE(P().Modified());
    EXPECT_TRUE(win->miSave->isEnabled());

    // Saved after the move: the saved state is now there.
    win->miSave->trigger();
    EXPECT_FALSE(P().Modified());
    EXPECT_FALSE(win->miSave->isEnabled());
    win->miUndo->trigger();
    EXPECT_TRUE(P().Modified()) << "the state before the save is not the saved one";
    EXPECT_TRUE(win->miSave->isEnabled());
    win->miRedo->trigger();
    EXPECT_FALSE(P().Modified());
    EXPECT_FALSE(win->miSave->isEnabled());

    // Back at the saved state, closing asks nothing.
    Drag(Box(), { 350, 150 }, { 350, 170 });
    win->miUndo->trigger();
    prompts->Clear();
    ASSERT_TRUE(win->CloseProject());
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

TEST_F(UndoZoomTest, UndoingDeletionsGivesBackIdentitiesAndTheSavedBytes)
{
    OpenTwoZones();
    win->btnSensorsEdit->click();
    DoubleClick(Box(), { 130, 130 });
    DoubleClick(Box(), { 170, 170 });
    win->btnZoneEdit->click();
    Drag(Box(), { 500, 300 }, { 600, 380 }); // a third zone: RoomsNum 3
    const QByteArray before = Saved();
    const int32_t roomsNum = P().RoomsNum;
    const QString guid = P().Rooms[0]->Sensors[1]->GUID();
    const int depth = Stack()->count();

    // Both first zones deleted together, then a new zone takes number 4.
    Press(Box(), { 150, 150 });
    Release(Box(), { 150, 150 });
    Press(Box(), { 350, 150 }, Qt::ShiftModifier);
    Release(Box(), { 350, 150 }, Qt::ShiftModifier);
    win->btnRpDelete->click();
    EXPECT_EQ(Stack()->undoText(), UndoText::DeleteZones);
    Drag(Box(), { 50, 250 }, { 90, 290 });
    EXPECT_EQ(P().Rooms.back()->ID(), roomsNum + 1);
    const QByteArray after = Saved();

    while (Stack()->index() > depth)
        win->miUndo->trigger();
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(P().RoomsNum, roomsNum);
    EXPECT_EQ(P().Rooms[0]->Sensors[1]->GUID(), guid);
    // Undone back to before the deletion, both zones are selected again, the first current.
    EXPECT_TRUE(P().Rooms[0]->Selected);
    EXPECT_TRUE(P().Rooms[1]->Selected);
    while (Stack()->canRedo())
        win->miRedo->trigger();
    EXPECT_EQ(Saved(), after);
}

// --- a calculation run -----------------------------------------------------------------

TEST_F(UndoZoomTest, UndoOfAStandardRunGivesBackSensorsRecordAndResultPanel)
{
    NewProject(QStringLiteral("Склад"), 640, 480);
    Drag(Box(), { 100, 100 }, { 300, 200 });
    Press(Box(), { 200, 150 });
    Release(Box(), { 200, 150 });
    prompts->Dialog([](QWidget* w) {
        auto* d = qobject_cast<TfrmScaleSetup*>(w);
        ASSERT_NE(d, nullptr);
        d->edtLength->setText(QStringLiteral("10"));
        d->btnOK->click();
    });
    win->btn5->click();
    EXPECT_EQ(Stack()->undoText(), UndoText::Scale);
    win->btnSensorsEdit->click();
    DoubleClick(Box(), { 150, 150 });
    DoubleClick(Box(), { 250, 150 });
    TRoom* room = P().Rooms[0].get();
    ASSERT_EQ(room->Sensors.size(), 2u);
    const QString first = room->Sensors[0]->GUID(), second = room->Sensors[1]->GUID();
    win->btnZoneEdit->click();
    Press(Box(), { 200, 120 });
    Release(Box(), { 200, 120 });
    ASSERT_EQ(win->CurrentRoom, room);
    EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП не производился."));
    const QByteArray before = Saved();

    prompts->Clear();
    prompts->Dialog([](QWidget* w) {
        auto* d = qobject_cast<TfrmCalc*>(w);
        ASSERT_NE(d, nullptr);
        d->btnFireLoadAdd->click();
        d->seParam2->setText(QStringLiteral("2,5"));
        d->btn2->click();
    });
    win->btnZoneCalcVOP->click();
    ASSERT_TRUE(room->CP.CalculatedVOP);
    ASSERT_EQ(room->Sensors.size(), 8u);
    ASSERT_TRUE(room->Runs.VOP.has_value());
    EXPECT_EQ(Stack()->undoText(), UndoText::RunVOP);
    EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП произведен."));
    EXPECT_EQ(win->CalcCommands->Indicators.VOP, TIndicatorState::Green);
    std::vector<QString> grid;
    for (const auto& s : room->Sensors)
        grid.push_back(s->GUID());
    const QByteArray after = Saved();

    win->miUndo->trigger();
    room = P().Rooms[0].get();
    ASSERT_EQ(room->Sensors.size(), 2u);
    EXPECT_EQ(room->Sensors[0]->GUID(), first);
    EXPECT_EQ(room->Sensors[1]->GUID(), second);
    EXPECT_FALSE(room->CP.CalculatedVOP);
    EXPECT_FALSE(room->Runs.VOP.has_value());
    EXPECT_EQ(Saved(), before);
    EXPECT_EQ(win->CurrentRoom, room);
    EXPECT_TRUE(win->pnlCalcResult->isVisible());
    EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП не производился."));
    EXPECT_EQ(win->CalcCommands->Indicators.VOP, TIndicatorState::None);
    EXPECT_EQ(win->SensorNumber, 2);

    win->miRedo->trigger();
    room = P().Rooms[0].get();
    ASSERT_EQ(room->Sensors.size(), grid.size());
    for (size_t i = 0; i < grid.size(); ++i)
        EXPECT_EQ(room->Sensors[i]->GUID(), grid[i]) << i;
    EXPECT_EQ(Saved(), after);
    EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП произведен."));
    EXPECT_EQ(win->CalcCommands->Indicators.VOP, TIndicatorState::Green);
    EXPECT_EQ(win->SensorNumber, 8);

    // Keys typed into the spacing field make one command, undone at once.
    win->btnManualL->click();
    ASSERT_FALSE(win->seManualL->isReadOnly());
    const long double typedFrom = room->CP.param2;
    const int beforeTyping = Stack()->index();
    win->seManualL->setFocus();
    win->seManualL->selectAll();
    QTest::keyClicks(win->seManualL, QStringLiteral("4,25"));
    EXPECT_EQ(room->CP.param2, 4.25L);
    EXPECT_EQ(Stack()->index(), beforeTyping + 1);
    EXPECT_EQ(Stack()->undoText(), UndoText::TypedSpacing);
    win->miUndo->trigger();
    EXPECT_EQ(P().Rooms[0]->CP.param2, typedFrom);
    EXPECT_EQ(Stack()->undoText(), UndoText::SpacingMode);
    room = P().Rooms[0].get();

    // A cancelled run is no command.
    const int depth = Stack()->count();
    prompts->Dialog([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    win->btnZoneCalcNSP->click();
    EXPECT_EQ(Stack()->count(), depth);
}

// --- zoom ------------------------------------------------------------------------------

TEST_F(UndoZoomTest, AtThreeHundredPercentAClickSelectsTheZoneUnderThePointer)
{
    OpenTwoZones(1200, 900);
    win->Zoom->SetPercent(300);
    ASSERT_EQ(win->Zoom->Percent(), 300);
    EXPECT_EQ(Box()->size(), QSize(3600, 2700));
    HBar()->setValue(700);
    VBar()->setValue(200);

    // The second zone's inside at plan (350, 150) is box (1050, 450).
    Press(Box(), BoxAt({ 350, 150 }));
    Release(Box(), BoxAt({ 350, 150 }));
    EXPECT_EQ(win->CurrentRoom, P().Rooms[1].get());
    EXPECT_TRUE(P().Rooms[1]->Selected);
    EXPECT_FALSE(P().Rooms[0]->Selected);
    // One plan pixel outside it, nothing.
    Press(Box(), BoxAt({ 401, 150 }));
    Release(Box(), BoxAt({ 401, 150 }));
    EXPECT_EQ(win->CurrentRoom, nullptr);
    // A zone drawn at the zoom lies at the plan pixels under the pointer.
    Drag(Box(), BoxAt({ 450, 100 }), BoxAt({ 520, 180 }));
    ASSERT_EQ(P().Rooms.size(), 3u);
    EXPECT_EQ(P().Rooms[2]->Rect(), (TRect { 450, 100, 520, 180 }));

    // Only the part in view is drawn, at the zoom: the left border of the new zone (plan
    // columns 450 and 451) is six pixels of the picture.
    EXPECT_EQ(win->bmpPlan.size(), win->ScrollBox->viewport()->size());
    EXPECT_EQ(Box()->PictureAt(), QPoint(700, 200));
    const int y = 140 * 3 - 200;
    for (int x = 450 * 3 - 700; x < 452 * 3 - 700; ++x)
        EXPECT_EQ(win->bmpPlan.pixel(x, y) | 0xFF000000u, qRgb(0, 0, 0)) << x;
    EXPECT_EQ(win->bmpPlan.pixel(450 * 3 - 701, y) | 0xFF000000u, qRgb(255, 255, 255));
    // Zooming is no edit.
    EXPECT_EQ(Stack()->undoText(), UndoText::AddZone);
}

TEST_F(UndoZoomTest, CtrlWheelKeepsThePointUnderThePointerInPlace)
{
    OpenTwoZones(2000, 1500);
    QWidget* viewport = win->ScrollBox->viewport();
    const QPoint at(230, 170); // viewport pixels
    auto planUnder = [&] { return Box()->ToPlan(Box()->mapFrom(viewport, at)); };
    HBar()->setValue(120);
    VBar()->setValue(80);
    const QPoint plan = planUnder();
    for (const int32_t expected : { 150, 200, 300, 400 }) {
        Wheel(Box(), Box()->mapFrom(viewport, at), 120);
        ASSERT_EQ(win->Zoom->Percent(), expected);
        EXPECT_EQ(planUnder(), plan) << expected;
    }
    // Out again, by the viewport's own wheel events too, and by half notches.
    Wheel(viewport, at, -120);
    EXPECT_EQ(win->Zoom->Percent(), 300);
    EXPECT_EQ(planUnder(), plan);
    Wheel(viewport, at, -60);
    EXPECT_EQ(win->Zoom->Percent(), 300);
    Wheel(viewport, at, -60);
    EXPECT_EQ(win->Zoom->Percent(), 200);
    EXPECT_EQ(planUnder(), plan);
    // The wheel alone pans.
    const int v = VBar()->value();
    Wheel(viewport, at, -120, Qt::NoModifier);
    EXPECT_GT(VBar()->value(), v);
    EXPECT_EQ(win->Zoom->Percent(), 200);
}

TEST_F(UndoZoomTest, ZoomStepsLimitsStatusPanelFitAndMiddleButtonPan)
{
    OpenTwoZones(800, 600);
    win->sbText(QStringLiteral("Время обнаружения: 12 сек"));
    EXPECT_EQ(win->sbZoom->text(), QStringLiteral("100 %"));
    EXPECT_FALSE(win->miZoom100->isEnabled());
    std::vector<int32_t> up;
    while (win->miZoomIn->isEnabled()) {
        win->miZoomIn->trigger();
        up.push_back(win->Zoom->Percent());
    }
    EXPECT_EQ(up, (std::vector<int32_t> { 150, 200, 300, 400, 600, 800 }));
    EXPECT_EQ(win->sbZoom->text(), QStringLiteral("800 %"));
    EXPECT_EQ(win->sbPanel0->text(), QStringLiteral("Время обнаружения: 12 сек")) << "a panel of its own";
    win->miZoom100->trigger();
    EXPECT_EQ(win->Zoom->Percent(), 100);
    while (win->miZoomOut->isEnabled())
        win->miZoomOut->trigger();
    EXPECT_EQ(win->Zoom->Percent(), 10);
    EXPECT_EQ(Box()->size(), QSize(80, 60));

    // "По размеру окна": the whole plan in view at the largest zoom that allows it.
    win->miZoomFit->trigger();
    const QSize room = win->ScrollBox->maximumViewportSize();
    EXPECT_LE(Box()->width(), room.width());
    EXPECT_LE(Box()->height(), room.height());
    // One percent more would not fit.
    TPlanView next;
    next.Percent = win->Zoom->Percent() + 1;
    EXPECT_TRUE(next.ZoomedLength(800) > room.width() || next.ZoomedLength(600) > room.height())
        << Box()->width() << "x" << Box()->height() << " in " << room.width() << "x" << room.height()
        << " at " << win->Zoom->Percent();

    // The middle button pans and the editor never sees it: no zone is drawn or selected.
    win->Zoom->SetPercent(400);
    HBar()->setValue(600);
    VBar()->setValue(500);
    Press(Box(), { 1000, 800 }, Qt::NoModifier, Qt::MiddleButton);
    Send(Box(), QEvent::MouseMove, { 900, 750 }, Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
    Release(Box(), { 900, 750 }, Qt::NoModifier, Qt::MiddleButton);
    EXPECT_EQ(HBar()->value(), 700);
    EXPECT_EQ(VBar()->value(), 550);
    EXPECT_EQ(P().Rooms.size(), 2u);
    EXPECT_EQ(win->CurrentRoom, nullptr);
    EXPECT_EQ(Stack()->count(), 0);

    // A new project starts at 100 %.
    prompts->Answer(TPromptAnswer::No);
    NewProject(QStringLiteral("Новый"), 300, 200);
    EXPECT_EQ(win->Zoom->Percent(), 100);
    EXPECT_EQ(Box()->size(), QSize(300, 200));
}

TEST_F(UndoZoomTest, ProjectParametersWithANewBackgroundAreUndone)
{
    NewProject(QStringLiteral("План"), 640, 400);
    Drag(Box(), { 50, 50 }, { 150, 120 });
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(QColor(90, 120, 200));
    const QString file = Path(QStringLiteral("plan.png"));
    ASSERT_TRUE(picture.save(file));
    ScriptParamsDialogWithPicture(QStringLiteral("Подвал"), file);
    win->miProjectParams->trigger();
    ASSERT_NE(P().GetBackgroundImage(), nullptr);
    EXPECT_EQ(P().Width, 320);
    EXPECT_EQ(Stack()->undoText(), UndoText::ProjectParams);
    EXPECT_EQ(win->windowTitle(), QStringLiteral("Подвал — Тесворн"));

    win->miUndo->trigger();
    EXPECT_EQ(P().GetBackgroundImage(), nullptr);
    EXPECT_EQ(P().Width, 640);
    EXPECT_EQ(P().Height, 400);
    EXPECT_EQ(P().Name, QStringLiteral("План"));
    EXPECT_EQ(win->windowTitle(), QStringLiteral("План — Тесворн"));
    EXPECT_EQ(Box()->size(), QSize(640, 400));
    win->miRedo->trigger();
    ASSERT_NE(P().GetBackgroundImage(), nullptr);
    EXPECT_EQ(Box()->size(), QSize(320, 240));
    EXPECT_EQ(win->bmpPlan.pixelColor(10, 10), QColor(90, 120, 200));
}

} // namespace
