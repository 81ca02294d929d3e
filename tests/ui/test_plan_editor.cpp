// The plan editor driven through the real paint box with mouse events, checked on the
// model: creating, selecting, moving and resizing zones, placing and dragging sensors,
// the zone and sensor panels, and a long randomised session that must never leave two
// zones touching or a sensor outside its zone.
#include "MainWindowFixture.h"
#include "FloatSpinEdit.h"
#include "uPaintBox.h"
#include "uRoomSpacing.h"
#include "uPlanEditor.h"
#include "btnScaleSetup.h"

#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <random>

namespace {

class PlanEditorTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        NewProject(QStringLiteral("План"), 640, 320);
    }

    TFireProject& P() { return *win->FP; }
    TPaintBox* Box() { return win->pb; }

    void Press(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(Box(), b, m, p);
    }
    void Release(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(Box(), b, m, p);
    }
    // QTest's move takes neither buttons nor modifiers, which the editor reads.
    void Move(QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier, Qt::MouseButtons b = Qt::LeftButton)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(Box()->mapToGlobal(p)), Qt::NoButton, b, m);
        QCoreApplication::sendEvent(Box(), &e);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        Press(from, m);
        Move(to, m);
        Release(to, m);
    }
    // The event sequence of a real double click: press, release, double click, release.
    void DoubleClick(QPoint p)
    {
        Press(p);
        Release(p);
        QMouseEvent e(QEvent::MouseButtonDblClick, QPointF(p), QPointF(Box()->mapToGlobal(p)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Box(), &e);
        Release(p);
    }
    void SensorMode() { win->btnSensorsEdit->click(); }
    void ZoneMode() { win->btnZoneEdit->click(); }

    TRoom* Zone(int index) { return P().Rooms.at(index).get(); }
    // Draws a zone by dragging on empty space; answers its rectangle as stored.
    TRect DrawZone(QPoint a, QPoint b)
    {
        const auto before = P().Rooms.size();
        Drag(a, b);
        EXPECT_EQ(P().Rooms.size(), before + 1);
        return P().Rooms.empty() ? TRect() : P().Rooms.back()->Rect();
    }
    // A 5 m square zone (100 px at 0.05 m/px) with one sensor placed by double click in
    // its middle, whose record holds a detection-time result, as after a standard run.
    TRoom* OneSensorZoneWithResult()
    {
        DrawZone({100, 100}, {200, 200});
        P().Setpx(0.05L);
        SensorMode();
        DoubleClick({150, 150});
        Release({150, 150});
        TRoom* room = Zone(0);
        room->CP.CalculatedVOP = true;
        room->CP.param1 = 3;
        room->CP.param5 = 0.95L;
        room->CP.param6 = 0.0083L;
        room->CP.param7 = 0.0145L;
        room->CP.param8 = 13800;
        room->CP.param10 = 293;
        room->CP.param11 = 330;
        room->CP.param12 = 100;
        return room;
    }
};

// --- creating zones --------------------------------------------------------------

TEST_F(PlanEditorTest, ClickWithoutDragCreatesNoZone)
{
    Press({50, 50});
    EXPECT_EQ(win->PlanEditor->DragKind, TDragKind::Create);
    Release({50, 50});
    EXPECT_TRUE(P().Rooms.empty());
    EXPECT_EQ(win->PlanEditor->DragKind, TDragKind::None);
    // A drag along one line only has no height either.
    Drag({50, 50}, {150, 50});
    EXPECT_TRUE(P().Rooms.empty());
}

TEST_F(PlanEditorTest, DragCreatesNormalisedZoneNamedByNumber)
{
    const TRect r = DrawZone({150, 120}, {40, 30});
    EXPECT_EQ(r, (TRect{40, 30, 150, 120}));
    EXPECT_EQ(Zone(0)->Name(), QStringLiteral("Помещение 1"));
    EXPECT_EQ(win->CurrentRoomID, -1); // reset at every release
}

TEST_F(PlanEditorTest, NeighbourOnePixelApartIsAcceptedButTouchingIsRefused)
{
    DrawZone({100, 100}, {200, 200});
    // Drawn from the right so the press is on empty space; ends on the edge line x = 200.
    Drag({260, 120}, {200, 180});
    EXPECT_EQ(P().Rooms.size(), 1u);
    const TRect r = DrawZone({260, 120}, {201, 180});
    EXPECT_EQ(r.Left, 201);
    EXPECT_EQ(P().IsNearRooms(Zone(0), Zone(1)), TWallType::wtLeft);
    // Overlapping is refused as well.
    Drag({300, 150}, {150, 250});
    EXPECT_EQ(P().Rooms.size(), 2u);
}

// --- selecting -------------------------------------------------------------------

TEST_F(PlanEditorTest, ShiftClickTogglesAndPlainClickSelectsAlone)
{
    DrawZone({20, 20}, {100, 100});
    DrawZone({120, 20}, {200, 100});
    Press({50, 50});
    Release({50, 50});
    EXPECT_TRUE(Zone(0)->Selected);
    EXPECT_FALSE(Zone(1)->Selected);
    EXPECT_TRUE(win->pnlRoomParams->isVisible());
    EXPECT_EQ(win->CurrentRoom, Zone(0));

    Press({150, 50}, Qt::ShiftModifier);
    Release({150, 50}, Qt::ShiftModifier);
    EXPECT_TRUE(Zone(0)->Selected);
    EXPECT_TRUE(Zone(1)->Selected);

    Press({50, 50}, Qt::ShiftModifier);
    Release({50, 50}, Qt::ShiftModifier);
    EXPECT_FALSE(Zone(0)->Selected);
    EXPECT_TRUE(Zone(1)->Selected);

    Press({150, 50});
    Release({150, 50});
    EXPECT_FALSE(Zone(0)->Selected);
    EXPECT_TRUE(Zone(1)->Selected);

    // A press on empty space deselects all and hides the panel.
    Press({400, 250});
    Release({400, 250});
    EXPECT_FALSE(Zone(1)->Selected);
    EXPECT_FALSE(win->pnlProperties->isVisible());
    EXPECT_EQ(win->CurrentRoom, nullptr);
}

// --- drag kinds ------------------------------------------------------------------

TEST_F(PlanEditorTest, EdgeHitsChooseResizeAndCornersGoToTheSides)
{
    DrawZone({100, 100}, {200, 180});
    auto kindAt = [&](QPoint p) {
        Press(p);
        const TDragKind k = win->PlanEditor->DragKind;
        Release(p);
        return k;
    };
    EXPECT_EQ(kindAt({100, 140}), TDragKind::ResizeLeft);
    EXPECT_EQ(kindAt({101, 140}), TDragKind::ResizeLeft);
    EXPECT_EQ(kindAt({102, 140}), TDragKind::Move);
    EXPECT_EQ(kindAt({200, 140}), TDragKind::ResizeRight);
    EXPECT_EQ(kindAt({199, 140}), TDragKind::ResizeRight);
    EXPECT_EQ(kindAt({150, 100}), TDragKind::ResizeTop);
    EXPECT_EQ(kindAt({150, 179}), TDragKind::ResizeBottom);
    EXPECT_EQ(kindAt({100, 100}), TDragKind::ResizeLeft);  // top-left corner
    EXPECT_EQ(kindAt({200, 180}), TDragKind::ResizeRight); // bottom-right corner
    EXPECT_EQ(Zone(0)->Rect(), (TRect{100, 100, 200, 180})); // clicks changed nothing

    // The pointer shows what a press would start.
    auto shapeAt = [&](QPoint p) {
        Move(p, Qt::NoModifier, Qt::NoButton);
        return Box()->cursor().shape();
    };
    EXPECT_EQ(shapeAt({50, 50}), Qt::CrossCursor);
    EXPECT_EQ(shapeAt({101, 140}), Qt::SizeHorCursor);
    EXPECT_EQ(shapeAt({150, 180}), Qt::SizeVerCursor);
    EXPECT_EQ(shapeAt({150, 140}), Qt::ArrowCursor);
}

TEST_F(PlanEditorTest, ResizeFollowsThePointerAndShowsSizesLive)
{
    DrawZone({100, 100}, {200, 180});
    Press({100, 140});
    Move({90, 140});
    EXPECT_EQ(Zone(0)->Rect().Left, 90);
    EXPECT_EQ(win->seRpLength->Value(), 110); // pixels while no scale is set
    Move({80, 150});
    EXPECT_EQ(Zone(0)->Rect(), (TRect{80, 100, 200, 180}));
    // Dragging the left edge past the right one is refused: the zone keeps a width.
    Move({400, 150});
    EXPECT_EQ(Zone(0)->Rect(), (TRect{80, 100, 200, 180}));
    Release({400, 150});
    Press({150, 180});
    Move({150, 230});
    Release({150, 230});
    EXPECT_EQ(Zone(0)->Rect(), (TRect{80, 100, 200, 230}));
}

TEST_F(PlanEditorTest, MoveIntoANeighbourMovesOnlyAlongTheFreeAxis)
{
    DrawZone({100, 100}, {200, 200});
    DrawZone({230, 100}, {330, 200});
    Press({150, 150});
    // Right by 40 would reach into the neighbour; down by 20 is free.
    Move({190, 170});
    EXPECT_EQ(Zone(0)->Rect(), (TRect{100, 120, 200, 220}));
    EXPECT_EQ(Zone(1)->Rect(), (TRect{230, 100, 330, 200}));
    // The blocked axis kept its press coordinate: the next step measures from x = 150.
    Move({175, 170});
    EXPECT_EQ(Zone(0)->Rect(), (TRect{125, 120, 225, 220}));
    Release({175, 170});
}

TEST_F(PlanEditorTest, MovingAZoneCarriesItsSensors)
{
    DrawZone({100, 100}, {200, 200});
    SensorMode();
    DoubleClick({150, 150});
    ZoneMode();
    Drag({120, 120}, {140, 110});
    ASSERT_EQ(Zone(0)->Sensors.size(), 1u);
    EXPECT_EQ(Zone(0)->Sensors[0]->AbsolutePos(), (TPoint{170, 140}));
}

// --- sensors ---------------------------------------------------------------------

TEST_F(PlanEditorTest, DraggedSensorStopsOnTheWall)
{
    DrawZone({100, 100}, {200, 200});
    SensorMode();
    DoubleClick({150, 150});
    ASSERT_EQ(Zone(0)->Sensors.size(), 1u);
    TSensor* s = Zone(0)->Sensors[0].get();
    Release({150, 150});
    Press({150, 150});
    EXPECT_EQ(win->CurrentSensor, s);
    EXPECT_TRUE(s->Selected());
    EXPECT_TRUE(win->pnlSensorParams->isVisible());
    Move({260, 150});
    EXPECT_EQ(s->AbsolutePos(), (TPoint{200, 150}));
    Move({130, 20});
    EXPECT_EQ(s->AbsolutePos(), (TPoint{130, 100}));
    Release({130, 20});
    // Once released, moving the pointer no longer drags.
    Move({160, 160}, Qt::NoModifier, Qt::NoButton);
    EXPECT_EQ(s->AbsolutePos(), (TPoint{130, 100}));
}

TEST_F(PlanEditorTest, SensorMoveRecalculatesAZoneWithAResult)
{
    TRoom* room = OneSensorZoneWithResult();
    win->sbText(QString());
    Press({150, 150});
    Move({120, 150});
    // A single sensor: L is twice its largest wall distance, (200 - 120) px = 4 m -> 8 m.
    EXPECT_EQ(room->CP.param2, 8.0L);
    EXPECT_FALSE(win->sbPanel0->text().isEmpty());
    Move({110, 150});
    EXPECT_EQ(room->CP.param2, 9.0L);
    Release({110, 150});
}

TEST_F(PlanEditorTest, SpacingModeSwitchesBetweenTypedAndMeasuredSpacing)
{
    TRoom* room = OneSensorZoneWithResult();
    Press({150, 150});
    Release({150, 150});
    // Selecting the zone measured it: one sensor in the middle of a 5 m square -> 5 m.
    EXPECT_EQ(room->CP.param2, 5.0L);
    EXPECT_TRUE(win->seManualL->isReadOnly());

    win->btnManualL->click();
    EXPECT_TRUE(room->CP.ManualL);
    EXPECT_FALSE(win->seManualL->isReadOnly());
    win->seManualL->setText(QStringLiteral("3,5"));
    QTest::keyClick(win->seManualL, Qt::Key_Right); // every key release counts
    EXPECT_EQ(room->CP.param2, 3.5L) << "the typed spacing is used as it stands";
    EXPECT_TRUE(win->sbPanel0->text().startsWith(QStringLiteral("Время обнаружения: ")) ||
                win->sbPanel0->text() == QStringLiteral("При заданных условиях пожар не будет обнаружен"))
        << win->sbPanel0->text().toStdString();

    win->btnAutoL->click();
    EXPECT_FALSE(room->CP.ManualL);
    EXPECT_TRUE(win->seManualL->isReadOnly());
    EXPECT_EQ(room->CP.param2, 5.0L) << "back to the measured layout";
    EXPECT_EQ(win->seManualL->Value(), 5.0);
}

// A zone with one sensor in the middle and one towards each wall, measured once.
class SensorOverlayTest : public PlanEditorTest {
protected:
    TRoom* room = nullptr;
    TSensor* mid = nullptr;
    TSensor* top = nullptr;
    void SetUp() override
    {
        PlanEditorTest::SetUp();
        DrawZone({100, 20}, {300, 220});
        P().Setpx(0.05L);
        room = Zone(0);
        for (const TPoint p : {TPoint{200, 120}, TPoint{200, 50}, TPoint{130, 120}, TPoint{200, 190}, TPoint{270, 120}}) {
            TSensor* s = room->AddSensor();
            s->SetAbsolutePos(p);
        }
        mid = room->Sensors[0].get();
        top = room->Sensors[1].get();
        GetNearSensorsMaxRange(room);
        SensorMode();
    }
    QRgb Shown(int x, int y) { return Box()->Picture().pixel(x, y) | 0xFF000000u; }
};

TEST_F(SensorOverlayTest, DebugViewColoursNeighboursByDirectionAndKeepsTheSensor)
{
    room->CP.DebugMode = true;
    Press({200, 120});
    Move({250, 200}, Qt::ControlModifier);
    EXPECT_EQ(mid->AbsolutePos(), (TPoint{200, 120}));
    EXPECT_EQ(Shown(204, 46), qRgb(255, 255, 0));   // towards the top wall: yellow
    EXPECT_EQ(Shown(126, 116), qRgb(0, 255, 255));  // left: aqua
    EXPECT_EQ(Shown(204, 186), qRgb(0, 255, 0));    // bottom: lime
    EXPECT_EQ(Shown(274, 116), qRgb(255, 0, 255));  // right: fuchsia
    EXPECT_EQ(Shown(150, 70), qRgb(0, 0, 0));       // the line to the top-left corner
    EXPECT_EQ(win->FP->Rooms[0]->Sensors[1]->AbsolutePos(), (TPoint{200, 50}));
    // Without Ctrl the same move drags the sensor again.
    Move({250, 200});
    EXPECT_EQ(mid->AbsolutePos(), (TPoint{250, 200}));
    Release({250, 200});
}

TEST_F(SensorOverlayTest, SpacingPickMarksThePickedSensorOrWall)
{
    room->CP.CalculatedVOP = true;
    room->CP.ManualL = true;
    room->CP.param1 = 3;
    win->btnManualL->setChecked(true);
    Press({200, 120});
    ASSERT_TRUE(win->btnManualL->isChecked());
    Move({200, 50}, Qt::ShiftModifier);
    EXPECT_EQ(room->CP.CSensor, top->GUID());
    EXPECT_EQ(top->NearestSensor, mid->GUID());
    EXPECT_EQ(Shown(204, 46), qRgb(255, 255, 255)); // the picked sensor lights up
    EXPECT_EQ(mid->AbsolutePos(), (TPoint{200, 120}));
    Move({180, 5}, Qt::ShiftModifier); // above the zone: the top wall
    EXPECT_EQ(mid->NearestSensor, QStringLiteral("T"));
    Move({320, 100}, Qt::ShiftModifier); // to the right of it
    EXPECT_EQ(mid->NearestSensor, QStringLiteral("R"));
    Move({320, 240}, Qt::ShiftModifier); // diagonally outside: nothing picked
    EXPECT_EQ(mid->NearestSensor, QStringLiteral("R"));
    EXPECT_EQ(mid->AbsolutePos(), (TPoint{200, 120}));
    // In manual mode the spacing in use stays the one of the manual field.
    EXPECT_EQ(room->CP.param2, win->seManualL->Value());
    Release({320, 240});
}

TEST_F(PlanEditorTest, SensorNumbersRunAcrossZonesFromOneAfterOpening)
{
    TFireProject project;
    project.Name = QStringLiteral("Два помещения");
    project.Width = 400;
    project.Height = 300;
    project.AddRoom(10, 10, 110, 90);
    project.AddRoom(150, 10, 250, 90);
    const QString file = Path(QStringLiteral("two.fsp"));
    ASSERT_TRUE(project.SaveToFile(file));
    win->SensorNumber = 7;
    prompts->Answer(TPromptAnswer::No); // do not save the new project
    ASSERT_TRUE(win->LoadProject(file));
    ASSERT_EQ(P().Rooms.size(), 2u);

    SensorMode();
    DoubleClick({50, 50});
    DoubleClick({200, 50});
    DoubleClick({300, 200}); // outside every zone: nothing
    ASSERT_EQ(Zone(0)->Sensors.size(), 1u);
    ASSERT_EQ(Zone(1)->Sensors.size(), 1u);
    EXPECT_EQ(Zone(0)->Sensors[0]->Name(), QStringLiteral("1"));
    EXPECT_EQ(Zone(1)->Sensors[0]->Name(), QStringLiteral("2"));
    EXPECT_EQ(Zone(1)->Sensors[0]->AbsolutePos(), (TPoint{200, 50}));
    // In zone mode a double click adds nothing.
    ZoneMode();
    DoubleClick({60, 60});
    EXPECT_EQ(Zone(0)->Sensors.size(), 1u);
}

TEST_F(PlanEditorTest, SensorPanelAppliesAndDeletes)
{
    DrawZone({100, 100}, {200, 200});
    SensorMode();
    DoubleClick({150, 150});
    Release({150, 150});
    Press({150, 150});
    Release({150, 150});
    TSensor* s = Zone(0)->Sensors[0].get();
    EXPECT_EQ(win->edtSName->text(), QStringLiteral("1"));
    EXPECT_TRUE(win->rbSTypeTemperature->isChecked());
    EXPECT_FALSE(win->btnSSave->isEnabled());
    win->edtSName->setText(QStringLiteral("Д-1"));
    win->rbSTypeSmoke->click();
    EXPECT_TRUE(win->btnSSave->isEnabled());
    win->btnSSave->click();
    EXPECT_EQ(s->Name(), QStringLiteral("Д-1"));
    EXPECT_EQ(s->SensorType, TSensorType::stSmoke);
    EXPECT_FALSE(win->btnSSave->isEnabled());

    // A sensor of another type keeps it when the panel is applied.
    s->SensorType = TSensorType::stOxygen;
    Press({150, 150});
    Release({150, 150});
    EXPECT_FALSE(win->rbSTypeTemperature->isChecked());
    EXPECT_FALSE(win->rbSTypeSmoke->isChecked());
    win->btnSSave->click();
    EXPECT_EQ(s->SensorType, TSensorType::stOxygen);

    win->btnSDelete->click();
    EXPECT_TRUE(Zone(0)->Sensors.empty());
    EXPECT_EQ(win->CurrentSensor, nullptr);
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

// --- zone panel ------------------------------------------------------------------

TEST_F(PlanEditorTest, ApplyWithUnchangedPanelChangesNothing)
{
    DrawZone({100, 100}, {237, 181});
    // At 1 cm per pixel the panel shows 1,4 m for 137 px; writing it back as typed
    // would make the zone 140 px wide.
    P().Setpx(0.01L);
    Press({150, 150});
    Release({150, 150});
    EXPECT_EQ(win->seRpLength->text(), QStringLiteral("1,4"));
    const TRect before = Zone(0)->Rect();
    const int h = Zone(0)->H();
    win->btnRpSave->click();
    EXPECT_EQ(Zone(0)->Rect(), before);
    EXPECT_EQ(Zone(0)->H(), h);

    // A typed length is applied: 2 m is 200 px.
    win->seRpLength->setText(QStringLiteral("2"));
    EXPECT_TRUE(win->btnRpSave->isEnabled());
    win->btnRpSave->click();
    EXPECT_EQ(Zone(0)->Rect(), (TRect{100, 100, 300, 181}));
    EXPECT_EQ(win->seRpLength->text(), QStringLiteral("2"));
    // Cancel throws edits away.
    win->edtRpName->setText(QStringLiteral("Склад"));
    win->btnRpCancel->click();
    EXPECT_EQ(win->edtRpName->text(), QStringLiteral("Помещение 1"));
    // A size of zero is not applied.
    win->seRpWidth->setText(QStringLiteral("0"));
    win->btnRpSave->click();
    EXPECT_EQ(Zone(0)->Rect(), (TRect{100, 100, 300, 181}));
}

TEST_F(PlanEditorTest, DeletingTwoSelectedZonesRemovesBoth)
{
    DrawZone({20, 20}, {100, 100});
    DrawZone({120, 20}, {200, 100});
    DrawZone({220, 20}, {300, 100});
    Press({50, 50});
    Release({50, 50});
    Press({150, 50}, Qt::ShiftModifier);
    Release({150, 50}, Qt::ShiftModifier);
    win->btnRpDelete->click();
    ASSERT_EQ(P().Rooms.size(), 1u);
    EXPECT_EQ(Zone(0)->Name(), QStringLiteral("Помещение 3"));
    EXPECT_EQ(win->CurrentRoom, nullptr);
    EXPECT_EQ(win->CurrentRoomID, -1);
    EXPECT_FALSE(win->pnlProperties->isVisible());
}

TEST_F(PlanEditorTest, ScaleFromAZoneLength)
{
    DrawZone({100, 100}, {300, 150});
    Press({150, 120});
    Release({150, 120});
    prompts->Dialog([](QWidget* w) {
        auto* d = qobject_cast<TfrmScaleSetup*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->edtLength->text(), QStringLiteral("200")); // pixels while no scale is set
        d->edtLength->setText(QStringLiteral("10"));
        d->btnOK->click();
    });
    win->btn5->click();
    EXPECT_EQ(P().px(), 10.0L / 200);
    EXPECT_EQ(win->seRpLength->text(), QStringLiteral("10"));
    EXPECT_EQ(win->seRpWidth->text(), QStringLiteral("2,5"));
}

TEST_F(PlanEditorTest, ViewMenuFlagsReachTheRenderer)
{
    DrawZone({100, 100}, {300, 150});
    Action("miShowRoomsInfo")->trigger();
    EXPECT_TRUE(P().PaintParams.ShowRoomInfo);
    Action("miShowScale")->trigger();
    EXPECT_TRUE(P().PaintParams.ShowScale);
    Action("miTransparentRooms")->trigger();
    EXPECT_TRUE(P().PaintParams.TransparentRooms);
    Action("miTransparentRooms")->trigger();
    EXPECT_FALSE(P().PaintParams.TransparentRooms);
}

TEST_F(PlanEditorTest, WithoutAProjectTheHandlersDoNothing)
{
    DrawZone({20, 20}, {100, 100});
    prompts->Answer(TPromptAnswer::No); // close without saving
    ASSERT_TRUE(win->CloseProject());
    ASSERT_EQ(win->FP, nullptr);
    Press({50, 50});
    Move({60, 60});
    Release({60, 60});
    SensorMode();
    Press({50, 50});
    Move({60, 60});
    Release({60, 60});
    win->btnRpDelete->click();
    win->btnSDelete->click();
    win->btnRpSave->click();
    win->btn5->click();
    EXPECT_EQ(win->FP, nullptr);
    EXPECT_TRUE(prompts->Messages().size() == 1); // only the save question
}

// --- a long random session -------------------------------------------------------

TEST_F(PlanEditorTest, RandomSessionKeepsZonesApartAndSensorsInside)
{
    std::mt19937 rng(20261209);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    // Points near existing zone edges make resizes and edge cases frequent.
    auto point = [&]() -> QPoint {
        if (!P().Rooms.empty() && uniform(0, 2) > 0) {
            const TRect r = P().Rooms[uniform(0, int(P().Rooms.size()) - 1)]->Rect();
            const int x = uniform(0, 1) ? uniform(r.Left - 3, r.Left + 3) : uniform(r.Left, r.Right + 3);
            const int y = uniform(0, 1) ? uniform(r.Top - 3, r.Bottom + 3) : uniform(r.Bottom - 3, r.Bottom + 3);
            return {std::clamp(x, 0, 630), std::clamp(y, 0, 310)};
        }
        return {uniform(0, 630), uniform(0, 310)};
    };
    auto check = [&](int step) {
        const auto& rooms = P().Rooms;
        for (size_t i = 0; i < rooms.size(); ++i) {
            const TRect a = rooms[i]->Rect();
            ASSERT_LT(a.Left, a.Right) << "step " << step;
            ASSERT_LT(a.Top, a.Bottom) << "step " << step;
            for (size_t j = i + 1; j < rooms.size(); ++j)
                ASSERT_FALSE(RectsCollide(a, rooms[j]->Rect())) << "step " << step << " zones " << i << "," << j;
            for (const auto& s : rooms[i]->Sensors) {
                const TPoint p = s->AbsolutePos();
                ASSERT_TRUE(p.X >= a.Left && p.X <= a.Right && p.Y >= a.Top && p.Y <= a.Bottom)
                    << "step " << step << " sensor " << s->Name().toStdString();
            }
        }
    };
    bool down = false;
    for (int step = 0; step < 4000; ++step) {
        const Qt::KeyboardModifiers mods = uniform(0, 3) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
        const int action = uniform(0, 99);
        if (action < 3) {
            (uniform(0, 1) ? win->btnZoneEdit : win->btnSensorsEdit)->click();
        } else if (action < 20) {
            Press(point(), mods, uniform(0, 5) ? Qt::LeftButton : Qt::RightButton);
            down = true;
        } else if (action < 65) {
            const int moves = uniform(1, 4);
            for (int k = 0; k < moves; ++k)
                Move(point(), mods, down ? Qt::LeftButton : Qt::NoButton);
        } else if (action < 85) {
            Release(point(), mods);
            down = false;
        } else if (action < 97) {
            DoubleClick(point());
            down = false;
        } else if (win->pnlRoomParams->isVisible() && uniform(0, 3) == 0) {
            win->btnRpDelete->click();
        } else if (win->pnlSensorParams->isVisible()) {
            win->btnSDelete->click();
        }
        check(step);
        if (HasFatalFailure())
            return;
    }
    // The session did real work.
    EXPECT_GT(P().Rooms.size() + P().RoomsNum, 3u);
    EXPECT_GT(P().GetSensorsCount() + win->SensorNumber, 3);
    EXPECT_EQ(prompts->Unanswered(), 0);
}

} // namespace
