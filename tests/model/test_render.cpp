// Plan rendering checked pixel by pixel where drawing faults hide: border placement and
// thickness, colours by state and type, what hides the background, conditional labels,
// the picture size and the scale bar. Texts are compared by rendering the same scene
// with a sensor or zone whose name already holds the expected text.
#include <gtest/gtest.h>

#include "uFireClasses.h"
#include "uPlanCanvas.h"
#include "uTextOutRotated.h"

#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <thread>
#include <vector>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);

QRgb At(const QImage& img, int x, int y)
{
    return img.pixel(x, y) | 0xFF000000u;
}

QImage Render(TFireProject& p)
{
    QImage out;
    p.PaintRooms(out);
    return out;
}

// Pixels that differ between two pictures of the same size inside a rectangle.
int DiffCount(const QImage& a, const QImage& b, QRect area, int skipColumn = -1)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (x != skipColumn && At(a, x, y) != At(b, x, y))
                ++n;
    return n;
}

std::unique_ptr<TFireProject> Plan(int w, int h)
{
    auto p = std::make_unique<TFireProject>();
    p->Width = w;
    p->Height = h;
    return p;
}

} // namespace

// --- zones ---------------------------------------------------------------------------

TEST(Render, ZoneBorderIsTwoPixelsWithOuterLineOnTheRectangle)
{
    auto p = Plan(100, 80);
    ASSERT_GT(p->AddRoom(10, 10, 50, 40), 0);
    const QImage img = Render(*p);
    ASSERT_EQ(img.size(), QSize(100, 80));
    for (int y = 10; y <= 40; ++y) {
        EXPECT_EQ(At(img, 9, y), White) << y;
        EXPECT_EQ(At(img, 10, y), Black) << y;
        EXPECT_EQ(At(img, 11, y), Black) << y;
        EXPECT_EQ(At(img, 49, y), Black) << y;
        EXPECT_EQ(At(img, 50, y), Black) << y;
        EXPECT_EQ(At(img, 51, y), White) << y;
    }
    for (int x = 10; x <= 50; ++x) {
        EXPECT_EQ(At(img, x, 9), White) << x;
        EXPECT_EQ(At(img, x, 10), Black) << x;
        EXPECT_EQ(At(img, x, 11), Black) << x;
        EXPECT_EQ(At(img, x, 39), Black) << x;
        EXPECT_EQ(At(img, x, 40), Black) << x;
        EXPECT_EQ(At(img, x, 41), White) << x;
    }
    // The inside starts at the third pixel.
    EXPECT_EQ(At(img, 12, 12), White);
    EXPECT_EQ(At(img, 48, 38), White);
}

TEST(Render, SelectedZoneIsRedAndOthersStayBlack)
{
    auto p = Plan(200, 100);
    p->AddRoom(10, 10, 50, 40);
    p->AddRoom(60, 10, 100, 40);
    p->Rooms[1]->Selected = true;
    const QImage img = Render(*p);
    EXPECT_EQ(At(img, 10, 20), Black);
    EXPECT_EQ(At(img, 60, 20), Red);
    EXPECT_EQ(At(img, 61, 20), Red);
    EXPECT_EQ(At(img, 100, 40), Red);
}

TEST(Render, PictureTakesTheBackgroundSizeAndZonesHideItUnlessTransparent)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bg.png");
    QImage bg(120, 90, QImage::Format_RGB32);
    bg.fill(qRgb(0, 200, 0));
    ASSERT_TRUE(bg.save(path));

    auto p = Plan(500, 500);
    ASSERT_TRUE(p->SetBackgroundImage(path));
    p->Width = 500; // the background decides the picture size, not the plan size
    p->Height = 500;
    p->AddRoom(10, 10, 60, 60);
    p->AddRoom(100, 70, 300, 400); // reaches beyond the picture: nothing clips badly
    QImage img = Render(*p);
    ASSERT_EQ(img.size(), QSize(120, 90));
    EXPECT_EQ(At(img, 5, 5), qRgb(0, 200, 0));
    EXPECT_EQ(At(img, 35, 35), White); // a solid zone hides the background
    EXPECT_EQ(At(img, 100, 80), Black);

    p->SetPaintParams(false, false, false, true);
    img = Render(*p);
    int green = 0, black = 0;
    for (int y = 12; y < 59; ++y)
        for (int x = 12; x < 59; ++x) {
            const QRgb c = At(img, x, y);
            green += c == qRgb(0, 200, 0);
            black += c == Black;
        }
    EXPECT_GT(green, black); // mostly background between the hatch lines
    EXPECT_GT(black, 47);    // but the hatch is there
    EXPECT_EQ(At(img, 10, 30), Black); // the border is unchanged
}

// A kept run of `run` that fits `room` as it is now.
TZoneRun KeptRun(const TFireProject& p, const TRoom& room, TCalcRun run, long double outcome)
{
    TZoneRun r;
    r.Run = run;
    r.Outcome = outcome;
    r.Height = p.ScaledValue(room.H());
    r.Volume = room.V();
    r.Width = room.Rect().Right - room.Rect().Left;
    r.Depth = room.Rect().Bottom - room.Rect().Top;
    return r;
}

TEST(Render, VerdictTintLiesInsideTheBorderUnderTheSensorsAndOnlyWhenAsked)
{
    auto p = Plan(460, 100);
    p->Setpx(0.1L);
    for (int left : { 10, 120, 230, 340 })
        p->AddRoom(left, 10, left + 100, 90);
    TRoom& inTime = *p->Rooms[0];
    TRoom& late = *p->Rooms[1];
    TRoom& stale = *p->Rooms[3]; // Rooms[2] has no run: its verdict is incomplete
    inTime.Runs.VOP = KeptRun(*p, inTime, TCalcRun::Standard, 60);
    inTime.Runs.NSP = KeptRun(*p, inTime, TCalcRun::InitialStage, 120);
    late.Runs.VOP = KeptRun(*p, late, TCalcRun::Standard, 150);
    late.Runs.NSP = KeptRun(*p, late, TCalcRun::InitialStage, 120);
    stale.Runs = inTime.Runs;
    stale.Runs.NSP->Height = 2; // calculated when the zone was lower
    TSensor* sensor = inTime.AddSensor();
    sensor->SetAbsolutePos({ 60, 50 });

    const QImage plain = Render(*p);
    auto bare = Plan(460, 100);
    bare->Setpx(0.1L);
    for (int left : { 10, 120, 230, 340 })
        bare->AddRoom(left, 10, left + 100, 90);
    bare->Rooms[0]->AddSensor()->SetAbsolutePos({ 60, 50 });
    EXPECT_EQ(plain, Render(*bare)); // off by default: results change no pixel

    p->PaintParams.ShowZoneVerdicts = true;
    const QImage tinted = Render(*p);
    const QRgb green = At(tinted, 30, 30), red = At(tinted, 140, 30), amber = At(tinted, 360, 30);
    EXPECT_TRUE(qGreen(green) > qRed(green) && qRed(green) < 255) << std::hex << green;
    EXPECT_TRUE(qRed(red) == 255 && qGreen(red) < 255 && qGreen(red) == qBlue(red)) << std::hex << red;
    EXPECT_TRUE(qRed(amber) == 255 && qGreen(amber) > qBlue(amber)) << std::hex << amber;
    EXPECT_GT(qGreen(green), 128); // light: black labels and hatch keep their contrast
    EXPECT_EQ(At(tinted, 250, 30), White); // incomplete: no tint
    for (int left : { 10, 120, 340 }) {
        EXPECT_EQ(At(tinted, left, 50), Black); // the two-pixel border stays black
        EXPECT_EQ(At(tinted, left + 1, 50), Black);
        EXPECT_NE(At(tinted, left + 2, 50), White); // the tint starts right inside it
        EXPECT_NE(At(tinted, left + 98, 50), White);
    }
    EXPECT_EQ(At(tinted, 60, 50), Red); // the sensor lies on top
    EXPECT_EQ(At(tinted, 50, 50), Black);

    // Over hatched, transparent zones the hatch still shows through the tint.
    p->SetPaintParams(false, false, false, true);
    const QImage hatched = Render(*p);
    int dark = 0;
    for (int x = 130; x < 210; ++x)
        dark += qGray(At(hatched, x, 60)) < 64;
    EXPECT_GT(dark, 5);
}

TEST(Render, LaterZoneCoversWhatEarlierZonesDrewIntoIt)
{
    // A name wider than its zone spills over the gap into the next zone, which is drawn
    // later and so covers the spill with its white fill; nothing is clipped otherwise.
    auto p = Plan(300, 100);
    p->AddRoom(10, 10, 40, 60);
    p->AddRoom(42, 30, 200, 90);
    p->Rooms[0]->SetName(QStringLiteral("Очень длинное название зоны"));
    p->SetPaintParams(true, false, false, false);
    const QImage img = Render(*p);
    int inkInGap = 0, inkInSecond = 0;
    for (int y = 12; y < 22; ++y) {
        inkInGap += At(img, 41, y) != White;
        for (int x = 44; x < 199; ++x)
            inkInSecond += y >= 32 && At(img, x, y) != White;
    }
    for (int x = 44; x < 150; ++x)
        for (int y = 12; y < 22; ++y)
            inkInGap += At(img, x, y) != White; // above the second zone the spill stays
    EXPECT_GT(inkInGap, 0);
    EXPECT_EQ(inkInSecond, 0);

    // Zones loaded from a file may overlap; the later one hides the earlier border.
    auto q = Plan(200, 200);
    q->AddRoom(10, 10, 100, 100);
    q->Rooms.push_back(std::make_unique<TRoom>(9, 50, 50, 150, 150, q.get()));
    const QImage o = Render(*q);
    EXPECT_EQ(At(o, 100, 80), White); // the first zone's right border inside the second
    EXPECT_EQ(At(o, 100, 40), Black); // and outside it
}

TEST(Render, NoBackgroundGivesWhitePlanOfProjectSize)
{
    auto p = Plan(37, 23);
    const QImage img = Render(*p);
    ASSERT_EQ(img.size(), QSize(37, 23));
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(At(img, x, y), White);
    auto empty = Plan(0, 0);
    EXPECT_TRUE(Render(*empty).isNull());
}

TEST(Render, RepaintClearsNeedRepaintAndReusesNoStaleState)
{
    auto p = Plan(100, 80);
    p->AddRoom(10, 10, 50, 40);
    p->NeedRepaint = true;
    QImage first;
    p->PaintRooms(first);
    EXPECT_FALSE(p->NeedRepaint);
    bool mx = false, my = false;
    p->MoveRoom(p->Rooms[0]->ID(), 20, 0, mx, my, false);
    QImage second;
    p->PaintRooms(second);
    // The earlier picture is the caller's own copy and keeps the old plan.
    EXPECT_EQ(At(first, 10, 20), Black);
    EXPECT_EQ(At(second, 10, 20), White);
    EXPECT_EQ(At(second, 30, 20), Black);
}

TEST(Render, RepaintIntoTheSamePictureLeavesWhatTheCallerKeptAlone)
{
    // The window repaints into one picture over and over; a copy taken of it in between
    // (a saved screenshot, an undo picture) must keep the plan it showed.
    auto p = Plan(100, 80);
    p->AddRoom(10, 10, 50, 40);
    QImage out;
    p->PaintRooms(out);
    const QImage kept = out;
    bool mx = false, my = false;
    p->MoveRoom(p->Rooms[0]->ID(), 20, 0, mx, my, false);
    p->PaintRooms(out);
    EXPECT_EQ(At(kept, 10, 20), Black);
    EXPECT_EQ(At(kept, 30, 20), White);
    EXPECT_EQ(At(out, 10, 20), White);
    EXPECT_EQ(At(out, 30, 20), Black);
    // With no copy about, the same picture is drawn again and shows the plan as it is now.
    for (int step = 0; step < 2; ++step) {
        p->MoveRoom(p->Rooms[0]->ID(), step == 0 ? -20 : 20, 0, mx, my, false);
        p->PaintRooms(out);
        const bool left = step == 0;
        EXPECT_EQ(At(out, 10, 20), left ? Black : White) << step;
        EXPECT_EQ(At(out, 30, 20), left ? White : Black) << step;
        EXPECT_EQ(At(out, 70, 20), left ? White : Black) << step;
    }
    EXPECT_EQ(At(kept, 10, 20), Black);
    EXPECT_EQ(At(kept, 30, 20), White);
}

TEST(Render, SelectedZoneSecondInfoLineDependsOnTheScale)
{
    auto p = Plan(300, 200);
    p->AddRoom(10, 10, 250, 150);
    p->SetPaintParams(true, false, false, false);
    const QRect secondLine(13, 24, 200, 12);
    const QImage plain = Render(*p);
    p->Rooms[0]->Selected = true;
    const QImage noScale = Render(*p);
    p->Setpx(0.1L);
    const QImage scaled = Render(*p);
    // Only the selected zone writes the second line; its text differs with a scale
    // ("24x14x1" against "Масштаб не задан").
    EXPECT_GT(DiffCount(plain, noScale, secondLine), 0);
    EXPECT_GT(DiffCount(noScale, scaled, secondLine), 0);

    // The first line is the name at (Left + 3, Top + 2).
    p->Rooms[0]->Selected = false;
    const QImage named = Render(*p);
    p->Rooms[0]->SetName(QString());
    const QImage unnamed = Render(*p);
    EXPECT_GT(DiffCount(named, unnamed, QRect(13, 12, 100, 11)), 0);
    EXPECT_EQ(DiffCount(named, unnamed, QRect(13, 24, 200, 100)), 0);
}

// --- doors ---------------------------------------------------------------------------

TEST(Render, RealDoorIsDrawnAndFakeDoorIsNot)
{
    auto p = Plan(200, 200);
    p->AddRoom(50, 50, 150, 150);
    TRoom* room = p->Rooms[0].get();
    const QImage bare = Render(*p);

    auto fake = std::make_unique<TDoor>(NewGUIDString(), true);
    fake->SetParent(room);
    fake->SetStartPos(20);
    fake->SetWidth(15);
    fake->SetWall(TWallType::wtTop);
    room->Doors.push_back(std::move(fake));
    EXPECT_EQ(DiffCount(bare, Render(*p), QRect(0, 0, 200, 200)), 0);

    ASSERT_FALSE(room->AddDoor(40, TWallType::wtTop, 7).isEmpty());
    const QImage withDoor = Render(*p);
    // The door leaf stands above the top wall, within the door's square.
    int blue = 0;
    for (int y = 35; y <= 51; ++y)
        for (int x = 90; x <= 106; ++x)
            blue += At(withDoor, x, y) == Blue;
    EXPECT_GT(blue, 5);
    p->Rooms[0]->Selected = true;
    const QImage selected = Render(*p);
    int red = 0;
    for (int y = 35; y < 50; ++y)
        for (int x = 88; x <= 108; ++x)
            red += At(selected, x, y) == Red;
    EXPECT_GT(red, 5);
}

TEST(Render, WindowDrawsItsFrame)
{
    auto p = Plan(200, 200);
    p->AddRoom(50, 50, 150, 150);
    const QImage bare = Render(*p);
    ASSERT_FALSE(p->Rooms[0]->AddDoor(30, TWallType::wtLeft, -1).isEmpty());
    const QImage withWindow = Render(*p);
    EXPECT_GT(DiffCount(bare, withWindow, QRect(30, 78, 25, 20)), 10);
}

// --- sensors -------------------------------------------------------------------------

TEST(Render, SensorFillFollowsItsType)
{
    auto p = Plan(400, 100);
    p->AddRoom(5, 5, 395, 95);
    const std::pair<TSensorType, QRgb> cases[] = {
        {TSensorType::stTemperature, qRgb(255, 0, 0)}, {TSensorType::stSmoke, qRgb(0, 128, 0)},
        {TSensorType::stOxygen, qRgb(166, 202, 240)},  {TSensorType::stToxic, qRgb(255, 255, 0)},
        {TSensorType::stUnofficial, qRgb(192, 192, 192)}};
    int x = 40;
    for (const auto& c : cases) {
        TSensor* s = p->Rooms[0]->AddSensor();
        s->SensorType = c.first;
        s->SetAbsolutePos({x, 40});
        x += 60;
    }
    const QImage img = Render(*p);
    x = 40;
    for (const auto& c : cases) {
        EXPECT_EQ(At(img, x, 40), c.second) << int(c.first);
        EXPECT_EQ(At(img, x + 5, 38), c.second) << int(c.first);
        EXPECT_EQ(At(img, x - 10, 40), Black) << int(c.first); // outline on the circle
        EXPECT_EQ(At(img, x - 12, 40), White) << int(c.first);
        x += 60;
    }
}

TEST(Render, ActivatedSensorGetsBlackHatch)
{
    auto p = Plan(100, 100);
    p->AddRoom(5, 5, 95, 95);
    TSensor* s = p->Rooms[0]->AddSensor();
    s->SetAbsolutePos({50, 50});
    s->SetActivated(true);
    const QImage img = Render(*p);
    int red = 0, black = 0;
    for (int y = 43; y <= 57; ++y)
        for (int x = 43; x <= 57; ++x) {
            red += At(img, x, y) == Red;
            black += At(img, x, y) == Black;
        }
    EXPECT_GT(red, 0);
    EXPECT_GT(black, 15);
}

TEST(Render, SensorLabelCarriesTheTimeSuffix)
{
    // The same scene with the suffix written into the name must give the same pixels.
    auto scene = [](const QString& name, int timeLeft) {
        auto p = Plan(200, 100);
        p->AddRoom(5, 5, 195, 95);
        TSensor* s = p->Rooms[0]->AddSensor();
        s->SetAbsolutePos({100, 40});
        s->SetName(name);
        s->SetTimeLeft(timeLeft);
        return Render(*p);
    };
    const QRect all(0, 0, 200, 100);
    EXPECT_EQ(DiffCount(scene("7", 181), scene("7(>180)", 0), all), 0);
    EXPECT_EQ(DiffCount(scene("7", 180), scene("7(180)", 0), all), 0);
    EXPECT_EQ(DiffCount(scene("7", 0), scene("7", 0), all), 0);
    EXPECT_GT(DiffCount(scene("7", 181), scene("7(181)", 0), all), 0);
    EXPECT_GT(DiffCount(scene("7", 0), scene("", 0), all), 0);
    // The label sits below the circle, its cell starting at y + 2s - 8.
    EXPECT_EQ(DiffCount(scene("7", 0), scene("", 0), QRect(0, 0, 200, 51)), 0);
}

TEST(Render, WallDistanceLabelNeedsMoreThanThreeRadii)
{
    // One selected sensor; its top wall distance is 30 (no label) or 31 (label). The
    // left and right distances stay at 30, so only the top label can appear.
    auto scene = [](int py, bool distances) {
        auto p = Plan(100, 120);
        p->AddRoom(0, 0, 60, 110);
        p->Setpx(0.1L);
        TSensor* s = p->Rooms[0]->AddSensor();
        s->SetAbsolutePos({30, py});
        s->SetRange(0);
        s->SetSelected(true);
        p->PaintParams.PaintSensorDistances = distances;
        return Render(*p);
    };
    for (int py : {30, 31}) {
        const QImage with = scene(py, true);
        const QImage without = scene(py, false);
        const QRect above(2, 2, 56, py - 10 - 2);
        // The dotted line towards the top wall is there in both cases.
        int linePixels = 0;
        for (int y = 2; y < py - 10; ++y)
            linePixels += At(with, 30, y) == Black;
        EXPECT_GT(linePixels, 3) << py;
        const int beside = DiffCount(with, without, above, 30);
        if (py == 30)
            EXPECT_EQ(beside, 0);
        else
            EXPECT_GT(beside, 0);
    }
}

TEST(Render, RangeBeyondAnyPlanIsDrawnAsTheWidest)
{
    // A spacing in metres at a scale of nanometres per pixel gives a range at the 32-bit
    // limit; the circle around the selected sensor is then drawn as the widest a plan can
    // hold (off the picture), and nothing wraps around into it.
    auto scene = [](int32_t range) {
        auto p = Plan(120, 120);
        p->AddRoom(10, 10, 110, 110);
        TSensor* s = p->Rooms[0]->AddSensor();
        s->SetAbsolutePos({60, 60});
        s->SetRange(range);
        s->SetSelected(true);
        return Render(*p);
    };
    const QImage widest = scene(PlanLimits::Coordinate);
    EXPECT_EQ(scene(INT32_MAX), widest);
    EXPECT_EQ(scene(INT32_MIN), widest);
    EXPECT_NE(scene(30), widest) << "a range within the plan shows its circle";
}

TEST(Render, UnselectedSensorShowsNoDistances)
{
    auto p = Plan(200, 200);
    p->AddRoom(0, 0, 190, 190);
    TSensor* s = p->Rooms[0]->AddSensor();
    s->SetAbsolutePos({95, 95});
    const QImage plain = Render(*p);
    s->SetSelected(true);
    const QImage selected = Render(*p);
    EXPECT_GT(DiffCount(plain, selected, QRect(0, 0, 190, 80)), 0);
    s->SetSelected(false);
    EXPECT_EQ(DiffCount(plain, Render(*p), QRect(0, 0, 200, 200)), 0);
}

// --- water sources -------------------------------------------------------------------

namespace {

// Two zones of labelled sensors, described so that the same plan can be built afresh.
struct TLabelScene {
    struct Sensor {
        int room, x, y;
        QString name;
        int timeLeft = 0;
    };
    std::vector<Sensor> sensors;
    bool secondSelected = false;
};

std::unique_ptr<TFireProject> BuildLabelScene(const TLabelScene& d)
{
    auto p = Plan(300, 120);
    p->AddRoom(5, 5, 145, 115);
    p->AddRoom(150, 5, 295, 115);
    p->Rooms[1]->Selected = d.secondSelected;
    for (const auto& s : d.sensors) {
        TSensor* t = p->Rooms[s.room]->AddSensor();
        t->SensorSize = 5;
        t->SetAbsolutePos({s.x, s.y});
        t->SetName(s.name);
        t->SetTimeLeft(s.timeLeft);
    }
    return p;
}

// The scene as a plan built from scratch and drawn on a thread of its own, whose caches
// of drawn labels start empty.
QImage FreshRender(const TLabelScene& d)
{
    QImage out;
    std::thread t([&] {
        auto p = BuildLabelScene(d);
        p->PaintRooms(out);
    });
    t.join();
    return out;
}

} // namespace

TEST(Render, RepaintAfterLabelChangesMatchesAPlanDrawnAfresh)
{
    // Repaints reuse the labels the previous repaint drew; after each kind of change the
    // picture must be the one an untouched renderer draws for the changed plan.
    TLabelScene d;
    for (int i = 0; i < 8; ++i)
        d.sensors.push_back({i % 2, 20 + (i % 2) * 150 + (i / 2) * 30, 30 + (i % 3) * 25, QString::number(i + 1)});
    auto p = BuildLabelScene(d);
    const QRect all(0, 0, 300, 120);
    QImage previous = Render(*p);
    ASSERT_EQ(DiffCount(previous, FreshRender(d), all), 0);
    auto check = [&](const char* what) {
        const QImage now = Render(*p);
        const QImage fresh = FreshRender(d);
        EXPECT_GT(DiffCount(previous, fresh, all), 0) << what << ": the change must show";
        EXPECT_EQ(DiffCount(now, fresh, all), 0) << what;
        previous = now;
    };
    auto sensor = [&](int room, int k) { return p->Rooms[room]->Sensors[k].get(); };

    // A new name of the same length, in the first zone's second sensor (the third drawn).
    sensor(0, 1)->SetName(QStringLiteral("8"));
    d.sensors[2].name = QStringLiteral("8");
    check("renamed");
    // The first sensor drawn goes away: every later label moves up one place.
    p->Rooms[0]->DeleteSensor(sensor(0, 0)->GUID());
    d.sensors.erase(d.sensors.begin());
    check("deleted");
    // A sensor joins the first zone: it is drawn between the two zones' labels.
    TSensor* added = p->Rooms[0]->AddSensor();
    added->SensorSize = 5;
    added->SetAbsolutePos({120, 90});
    added->SetName(QStringLiteral("44"));
    d.sensors.push_back({0, 120, 90, QStringLiteral("44")});
    check("added");
    // The selected zone writes its labels in red.
    p->Rooms[1]->Selected = true;
    d.secondSelected = true;
    check("selected");
    // Remaining times make labels that are new strings on every repaint.
    auto described = [&](const QString& name) -> TLabelScene::Sensor& {
        return *std::find_if(d.sensors.begin(), d.sensors.end(), [&](const auto& s) { return s.name == name; });
    };
    ASSERT_EQ(sensor(1, 0)->Name(), QStringLiteral("2"));
    sensor(1, 0)->SetTimeLeft(45);
    described(QStringLiteral("2")).timeLeft = 45;
    check("time shown");
    sensor(1, 0)->SetTimeLeft(46);
    described(QStringLiteral("2")).timeLeft = 46;
    check("time changed");
    // The same text in a new string changes nothing, in this repaint and the next.
    sensor(0, 0)->SetName(QString(sensor(0, 0)->Name().data(), sensor(0, 0)->Name().size()));
    for (int repaint = 0; repaint < 2; ++repaint)
        EXPECT_EQ(DiffCount(Render(*p), FreshRender(d), all), 0) << repaint;
}

TEST(Render, WaterSourcesFillTheirLeftHalf)
{
    auto p = Plan(200, 200);
    auto h = std::make_unique<TWSFireHydrant>();
    h->SetX(50);
    h->SetY(50);
    p->AddWaterSource(std::move(h));
    auto pier = std::make_unique<TWSPier>();
    pier->SetX(140);
    pier->SetY(140);
    p->AddWaterSource(std::move(pier));
    const QImage img = Render(*p);
    EXPECT_EQ(At(img, 45, 50), Blue);
    EXPECT_EQ(At(img, 55, 50), White);
    EXPECT_EQ(At(img, 50, 50), Black);
    EXPECT_EQ(At(img, 130, 150), Blue);  // lower-left triangle of the pier
    EXPECT_EQ(At(img, 150, 130), White); // upper-right stays white
    EXPECT_EQ(At(img, 20, 20), White);   // the fill stays inside
}

TEST(Render, SelectedWaterSourceMeasuresToTheZones)
{
    auto p = Plan(300, 300);
    p->AddRoom(100, 20, 200, 120);
    auto h = std::make_unique<TWSFireHydrant>();
    h->SetX(150);
    h->SetY(250);
    p->AddWaterSource(std::move(h));
    const QImage plain = Render(*p);
    p->WaterSources()[0]->Selected = true;
    const QImage selected = Render(*p);
    // A dotted line runs up from the hydrant to the zones' bottom edge.
    int line = 0;
    for (int y = 125; y < 238; ++y)
        line += At(selected, 150, y) == Black;
    EXPECT_GT(line, 20);
    EXPECT_EQ(At(plain, 150, 180), White);
}

// --- scale bar -----------------------------------------------------------------------

TEST(Render, ScaleBarShowsHundredPixelsInMetres)
{
    auto scene = [](long double px, bool show) {
        auto p = Plan(200, 100);
        if (px > 0)
            p->Setpx(px);
        p->SetPaintParams(false, false, show, false);
        return Render(*p);
    };
    const QRgb grey = qRgb(128, 128, 128);
    const QImage noScale = scene(-1, true);
    for (int x = 15; x < 115; ++x)
        EXPECT_EQ(At(noScale, x, 20), grey) << x;
    for (int y = 15; y < 26; ++y) {
        EXPECT_EQ(At(noScale, 15, y), grey) << y;
        EXPECT_EQ(At(noScale, 115, y), grey) << y;
    }
    EXPECT_EQ(At(noScale, 115, 26), White); // lines end before their end point
    EXPECT_EQ(At(noScale, 115, 20), grey);
    EXPECT_EQ(At(noScale, 116, 20), White);
    // Without a scale the text is "100 м", as with one metre per pixel; with 0.05 m per
    // pixel it reads "5 м".
    const QRect text(15, 5, 100, 10);
    EXPECT_EQ(DiffCount(noScale, scene(1, true), text), 0);
    EXPECT_GT(DiffCount(noScale, scene(0.05L, true), text), 0);
    EXPECT_GT(DiffCount(noScale, scene(-1, false), text), 0);
    const QImage hidden = scene(-1, false);
    EXPECT_EQ(At(hidden, 50, 20), White);
}

// --- canvas and rotated text ---------------------------------------------------------

namespace {
QRect InkBox(const QImage& img)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (At(img, x, y) != White)
                box |= QRect(x, y, 1, 1);
    return box;
}
} // namespace

TEST(TextOutRotated, TurnsAboutTheStartPoint)
{
    auto draw = [](int angle) {
        QImage img(200, 200, QImage::Format_RGB32);
        img.fill(White);
        QPainter p(&img);
        p.setFont(PlanFont(7));
        p.setPen(Qt::black);
        TextOutRotated(p, angle, 100, 100, QStringLiteral("Расстояние"));
        p.end();
        return InkBox(img);
    };
    const QRect flat = draw(0), up = draw(90), down = draw(-90);
    ASSERT_TRUE(flat.isValid() && up.isValid() && down.isValid());
    EXPECT_GT(flat.width(), flat.height());
    EXPECT_GE(flat.left(), 100);
    EXPECT_GE(flat.top(), 100);
    // Reading upward: above the start point, the letters to its right.
    EXPECT_GT(up.height(), up.width());
    EXPECT_LE(up.bottom(), 100);
    EXPECT_GE(up.left(), 100);
    // Reading downward: below the start point, the letters to its left.
    EXPECT_GT(down.height(), down.width());
    EXPECT_GE(down.top(), 100);
    EXPECT_LE(down.right(), 100);
    EXPECT_NEAR(up.height(), flat.width(), 2);
}

TEST(PlanCanvas, FloodFillStopsAtOtherColours)
{
    QImage img(50, 50, QImage::Format_RGB32);
    img.fill(White);
    {
        TPlanCanvas c(img);
        c.BrushStyle = TBrushStyle::Clear;
        c.Rectangle(10, 10, 40, 40);
        c.BrushStyle = TBrushStyle::Solid;
        c.BrushColor = QColor(0, 0, 255);
        c.FloodFillSurface(20, 20, Qt::white);
        c.FloodFillSurface(5, 5, Qt::red); // wrong surface colour: nothing
    }
    EXPECT_EQ(At(img, 20, 20), Blue);
    EXPECT_EQ(At(img, 11, 11), Blue);
    EXPECT_EQ(At(img, 10, 10), Black);
    EXPECT_EQ(At(img, 5, 5), White);
    EXPECT_EQ(At(img, 45, 45), White);
}
