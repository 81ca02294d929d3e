// Project snapshots, the ground undo stands on: a snapshot put back must give the very
// bytes of the project file and of the results file the project gave when it was taken,
// identities included, after edits with side effects (doors dropped by a move, a sensor
// grid replaced by a run, the scale recomputing every volume, a new background); unchanged
// parts must be shared and unchanged zones left alone; a record holding a NaN must not
// count as changed on every capture.
#include "uCalcRuns.h"
#include "uExampleProject.h"
#include "uFireClasses.h"
#include "uNumberText.h"
#include "uProjectFile.h"
#include "uProjectResults.h"
#include "uProjectState.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Both files a project is saved as.
QByteArray Saved(const TFireProject& p)
{
    return ProjectToBytes(p) + "\n--results--\n" + ProjectResultsToBytes(p);
}

// A standard run on the zone, as the window makes it: record, grid and kept run.
void StandardRun(TFireProject& p, TRoom& room)
{
    TCalcDialogValues v = CalcDialogInitialValues(CalcDialogSetup(TCalcRun::Standard, room));
    TFireLoad load;
    load.Id = 7;
    load.ListId = 1;
    load.Name = QStringLiteral("Мебель");
    load.P1LowestHeat = 13000;
    load.P2LinearFlameSpeed = 0.0108L;
    load.P3BurnoutSpeed = 0.0145L;
    load.PFlammableLoad = 10;
    load.CCC = 0.97L;
    v.FireLoads = { load };
    long double h = 0, V = 0;
    TryParseNumber(v.edtParam1, &h);
    TryParseNumber(v.edtParam3, &V);
    SetFireLoadMix(v, CalcFireLoad(v.FireLoads, DefaultFireLoadMixRules(), h, V));
    const TCalcRunResult r = CalcVOP(p, room, v, TCalcIndicators(), 0);
    ASSERT_EQ(r.Status, TCalcRunStatus::Done);
}

// The example office (zones, sensors, a door and a window, a hydrant and a pier) with a
// standard run on its first zone and a door between its first two zones.
std::unique_ptr<TFireProject> Office()
{
    auto p = MakeExampleProject();
    StandardRun(*p, *p->Rooms[0]);
    return p;
}

} // namespace

TEST(ProjectState, RestoringGivesBackTheSavedBytesAfterEditsWithSideEffects)
{
    auto p = Office();
    ASSERT_GE(p->Rooms.size(), 3u);
    ASSERT_FALSE(p->Rooms[0]->Sensors.empty());
    const QByteArray before = Saved(*p);
    const TProjectState s0 = CaptureProjectState(*p);

    // Edits of every kind, each with what it does besides.
    TRoom* first = p->Rooms[0].get();
    const QString doorTo = first->AddDoor(2, TWallType::wtTop, -1);
    ASSERT_FALSE(doorTo.isEmpty());
    bool mx = false, my = false;
    p->MoveRoom(p->Rooms[1]->ID(), 0, 7, mx, my, false); // may drop doors into its neighbours
    p->DeleteRoom(2);
    ASSERT_GT(p->AddRoom(700, 500, 760, 560), 0); // a new zone number
    StandardRun(*p, *p->Rooms[0]); // a new grid: new sensors and GUIDs
    p->Setpx(p->px() * 2); // every volume again
    p->Name = QStringLiteral("Другой");
    ASSERT_TRUE(p->DeleteWaterSource(p->WaterSources().front()->GUID()));
    const QByteArray after = Saved(*p);
    ASSERT_NE(after, before);

    const TProjectState s1 = CaptureProjectState(*p, &s0);
    EXPECT_FALSE(s1.SameAs(s0));
    RestoreProjectState(*p, s0, s1);
    EXPECT_EQ(Saved(*p), before) << "undo";
    // The restored project is the captured one: capturing it again shares everything.
    EXPECT_TRUE(CaptureProjectState(*p, &s0).SameAs(s0));

    RestoreProjectState(*p, s1, s0);
    EXPECT_EQ(Saved(*p), after) << "redo";
    RestoreProjectState(*p, s0, s1);
    EXPECT_EQ(Saved(*p), before) << "undo again";
}

TEST(ProjectState, ValuesTheSettersWouldChangeComeBackAsTheyWere)
{
    // A zone may hold a door wider than its wall and higher than the zone (a loaded file,
    // or the zone changed under it): none of it may be "corrected" by a restore.
    auto p = Office();
    TRoom* room = p->Rooms[0].get();
    TDoor* door = room->Doors.empty() ? nullptr : room->Doors.front().get();
    ASSERT_NE(door, nullptr);
    ASSERT_TRUE(door->SetWidth(9));
    door->SetHeight(room->H());
    room->SetH(door->Height() - 1);
    const TRect r = room->Rect();
    room->SetRect(TRect { r.Left, r.Top, r.Left + 3, r.Top + 3 });
    ASSERT_GT(door->Height(), room->H());
    ASSERT_GT(door->StartPos() + door->Width(), 3);
    const QByteArray before = Saved(*p);
    const TProjectState s0 = CaptureProjectState(*p);
    p->Rooms.erase(p->Rooms.begin()); // the zone goes with its door
    const TProjectState s1 = CaptureProjectState(*p, &s0);
    RestoreProjectState(*p, s0, s1);
    EXPECT_EQ(Saved(*p), before);

    // A restore from a stale idea of the present (nothing known) still gives the bytes.
    p->Rooms[0]->SetName(QStringLiteral("Переименована"));
    p->RoomsNum += 5;
    RestoreProjectState(*p, s0, TProjectState());
    EXPECT_EQ(Saved(*p), before);
}

TEST(ProjectState, UnchangedPartsAreSharedAndUnchangedZonesLeftAlone)
{
    auto p = Office();
    const TProjectState s0 = CaptureProjectState(*p);
    EXPECT_TRUE(CaptureProjectState(*p, &s0).SameAs(s0)) << "nothing changed";

    // A moved zone changes its own scalars only: sensors lie relative to its corner.
    const int32_t id = p->Rooms.back()->ID();
    bool mx = false, my = false;
    ASSERT_TRUE(p->MoveRoom(id, 0, 3, mx, my, true));
    const TProjectState s1 = CaptureProjectState(*p, &s0);
    EXPECT_EQ(s1.ZonesChangedFrom(s0), 1);
    EXPECT_EQ(s1.Header, s0.Header);
    EXPECT_EQ(s1.WaterSources, s0.WaterSources);
    EXPECT_NE(s1.Zones.back(), s0.Zones.back());
    EXPECT_EQ(s1.Zones.back()->Sensors, s0.Zones.back()->Sensors);
    EXPECT_EQ(s1.Zones.back()->CP, s0.Zones.back()->CP);

    // Undoing it keeps every zone object and the other zones' sensors: the window's
    // pointers to them stay good.
    std::vector<TRoom*> rooms;
    for (const auto& r : p->Rooms)
        rooms.push_back(r.get());
    TSensor* kept = p->Rooms[0]->Sensors.front().get();
    RestoreProjectState(*p, s0, s1);
    for (size_t i = 0; i < rooms.size(); ++i)
        EXPECT_EQ(p->Rooms[i].get(), rooms[i]) << i;
    EXPECT_EQ(p->Rooms[0]->Sensors.front().get(), kept);

    // A deleted zone comes back at its place with its ID and its sensors' GUIDs.
    const int32_t roomsNum = p->RoomsNum;
    const QString guid = p->Rooms[1]->Sensors.empty() ? QString() : p->Rooms[1]->Sensors.front()->GUID();
    const int32_t secondID = p->Rooms[1]->ID();
    p->DeleteRoom(1);
    const TProjectState s2 = CaptureProjectState(*p, &s0);
    EXPECT_EQ(s2.Zones.size() + 1, s0.Zones.size());
    RestoreProjectState(*p, s0, s2);
    EXPECT_EQ(p->Rooms[1]->ID(), secondID);
    EXPECT_EQ(p->RoomsNum, roomsNum);
    if (!guid.isEmpty())
        EXPECT_EQ(p->Rooms[1]->Sensors.front()->GUID(), guid);
}

TEST(ProjectState, RealsCompareByTheirBits)
{
    auto p = Office();
    TRoom* room = p->Rooms[1].get();
    room->CP.value14 = std::numeric_limits<long double>::quiet_NaN();
    const TProjectState s0 = CaptureProjectState(*p);
    EXPECT_TRUE(CaptureProjectState(*p, &s0).SameAs(s0)) << "a NaN is itself";
    room->CP.value14 = 0;
    const TProjectState s1 = CaptureProjectState(*p, &s0);
    EXPECT_EQ(s1.ZonesChangedFrom(s0), 1);
    EXPECT_NE(s1.Zones[1]->CP, s0.Zones[1]->CP);
    EXPECT_EQ(s1.Zones[1]->Sensors, s0.Zones[1]->Sensors);
    // Minus zero is another value than zero.
    room->CP.value14 = -0.0L;
    EXPECT_EQ(CaptureProjectState(*p, &s1).ZonesChangedFrom(s1), 1);
    // So is a changed fire load deep in a kept run.
    room->CP.value14 = 0;
    TRoom* first = p->Rooms[0].get();
    ASSERT_TRUE(first->Runs.VOP.has_value());
    first->Runs.VOP->Values.FireLoads.front().CCC = 0.5L;
    const TProjectState s2 = CaptureProjectState(*p, &s1);
    EXPECT_EQ(s2.ZonesChangedFrom(s1), 1);
    EXPECT_NE(s2.Zones[0]->Runs, s1.Zones[0]->Runs);
    EXPECT_EQ(s2.Zones[0]->CP, s1.Zones[0]->CP);
}

TEST(ProjectState, TheBackgroundPictureComesBackWithoutCopyingItsPixels)
{
    auto p = std::make_unique<TFireProject>();
    p->Width = 300;
    p->Height = 200;
    const TProjectState none = CaptureProjectState(*p);
    EXPECT_TRUE(none.Header->Background.isNull());

    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString file = QDir::temp().filePath(QStringLiteral("tesvorn_state_bg.png"));
    ASSERT_TRUE(picture.save(file));
    ASSERT_TRUE(p->SetBackgroundImage(file));
    QFile::remove(file);
    const TProjectState with = CaptureProjectState(*p, &none);
    EXPECT_NE(with.Header, none.Header);
    EXPECT_EQ(with.Header->Width, 64);
    EXPECT_EQ(with.Header->Background.cacheKey(), p->GetBackgroundImage()->cacheKey());

    RestoreProjectState(*p, none, with);
    EXPECT_EQ(p->GetBackgroundImage(), nullptr);
    EXPECT_EQ(p->Width, 300);
    RestoreProjectState(*p, with, none);
    ASSERT_NE(p->GetBackgroundImage(), nullptr);
    EXPECT_EQ(p->GetBackgroundImage()->cacheKey(), with.Header->Background.cacheKey());
    EXPECT_EQ(p->GetBackgroundImage()->pixel(3, 3), picture.pixel(3, 3));
}
