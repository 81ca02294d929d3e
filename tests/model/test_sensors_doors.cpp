// Sensors, doors and water sources of a project: creation values and identities, clamped
// moves and hit squares, the critical-sensor lookup, door refusals and counters, door
// rectangles, and the water sources' hit squares and distance.
#include "uFireClasses.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <functional>
#include <set>

namespace {

struct ZoneFixture : ::testing::Test {
    TFireProject fp;
    TRoom* zone = nullptr;
    void SetUp() override
    {
        ASSERT_EQ(fp.AddRoom(100, 50, 300, 200), 1);
        zone = fp.GetRoom(1);
        fp.SetModified(false);
    }
};

using Sensors = ZoneFixture;
using Doors = ZoneFixture;
using WaterSources = ZoneFixture;

} // namespace

// --- sensors ---

TEST_F(Sensors, NewSensorStartsAtTheZoneCornerWithItsDefaults)
{
    TSensor* s = zone->AddSensor();
    EXPECT_TRUE(fp.Modified());
    EXPECT_EQ(s->AbsolutePos(), (TPoint{100, 50}));
    EXPECT_EQ(s->Pos(), (TPoint{0, 0}));
    EXPECT_TRUE(s->Name().isEmpty());
    EXPECT_EQ(s->Critical1(), 343);
    EXPECT_EQ(s->Range(), 20);
    EXPECT_EQ(s->SensorSize, 10);
    EXPECT_EQ(s->SensorType, TSensorType::stTemperature);
    EXPECT_EQ(s->Parent(), zone);
    const QRegularExpression guidForm(QStringLiteral(
        "^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    EXPECT_TRUE(guidForm.match(s->GUID()).hasMatch()) << s->GUID().toStdString();
    EXPECT_EQ(s->GUID().size(), 38);

    std::set<QString> ids{s->GUID()};
    for (int i = 0; i < 20; ++i)
        ids.insert(zone->AddSensor()->GUID());
    EXPECT_EQ(ids.size(), 21u);
    EXPECT_EQ(fp.GetSensorsCount(), 21);
}

TEST_F(Sensors, MoveIsClampedIntoTheZoneAndCountsAsAChangeWhenItMoves)
{
    TSensor* s = zone->AddSensor();
    fp.SetModified(false);
    EXPECT_TRUE(zone->MoveSensor(s->GUID(), 90, 40)); // clamped onto the corner it stands on
    EXPECT_EQ(s->AbsolutePos(), (TPoint{100, 50}));
    EXPECT_FALSE(fp.Modified()) << "a move that changes nothing is no edit";
    EXPECT_TRUE(zone->MoveSensor(s->GUID(), 350, 120));
    EXPECT_EQ(s->AbsolutePos(), (TPoint{300, 120}));
    EXPECT_TRUE(fp.Modified()) << "a dragged sensor is work the save question must know of";
    EXPECT_TRUE(zone->MoveSensor(s->GUID(), 150, 250));
    EXPECT_EQ(s->AbsolutePos(), (TPoint{150, 200}));
    fp.SetModified(false);
    EXPECT_FALSE(zone->MoveSensor(QStringLiteral("{nobody}"), 150, 150));
    EXPECT_EQ(s->AbsolutePos(), (TPoint{150, 200}));
    EXPECT_FALSE(fp.Modified());
}

TEST_F(Sensors, SensorFollowsItsZone)
{
    TSensor* s = zone->AddSensor();
    s->SetAbsolutePos({130, 70});
    bool mx = false, my = false;
    ASSERT_TRUE(fp.MoveRoom(1, 10, 5, mx, my, false));
    EXPECT_EQ(s->AbsolutePos(), (TPoint{140, 75}));
    EXPECT_EQ(s->Pos(), (TPoint{30, 20}));
    // Dragging the left side keeps the distance to the zone's top-left corner.
    ASSERT_TRUE(fp.IncRoomSize(1, -20, 0, 0, 0));
    EXPECT_EQ(s->AbsolutePos(), (TPoint{120, 75}));
}

TEST_F(Sensors, HitSquareIncludesItsBoundsAndEarlierSensorsWin)
{
    TSensor* a = zone->AddSensor();
    a->SetAbsolutePos({150, 100});
    TSensor* b = zone->AddSensor();
    b->SetAbsolutePos({160, 100});
    EXPECT_EQ(zone->GetSensorByCoord(150 + 10, 100 - 10), a) << "overlapping squares: first in the list";
    EXPECT_EQ(zone->GetSensorByCoord(150 + 11, 100), b);
    EXPECT_EQ(zone->GetSensorByCoord(160 + 11, 100), nullptr);
    EXPECT_EQ(zone->GetSensorByCoord(150, 100 + 11), nullptr);
    EXPECT_EQ(zone->GetSensorByGUID(b->GUID()), b);
}

TEST_F(Sensors, DeletionMarksModifiedEvenWhenNothingIsFound)
{
    TSensor* s = zone->AddSensor();
    const QString guid = s->GUID();
    fp.SetModified(false);
    EXPECT_FALSE(zone->DeleteSensor(QStringLiteral("{00000000-0000-0000-0000-000000000000}")));
    EXPECT_TRUE(fp.Modified());
    EXPECT_EQ(zone->Sensors.size(), 1u);
    EXPECT_TRUE(zone->DeleteSensor(guid));
    EXPECT_TRUE(zone->Sensors.empty());
}

TEST_F(Sensors, CriticalSensorNeverDangles)
{
    TSensor* s = zone->AddSensor();
    EXPECT_EQ(zone->CriticalSensor(), nullptr);
    zone->CP.CSensor = s->GUID();
    EXPECT_EQ(zone->CriticalSensor(), s);
    zone->DeleteSensor(s->GUID());
    EXPECT_EQ(zone->CriticalSensor(), nullptr);
}

TEST_F(Sensors, StoredSettersMarkOnlyRealChanges)
{
    TSensor* s = zone->AddSensor();
    s->SetName(QStringLiteral("Д1"));
    fp.SetModified(false);
    s->SetName(QStringLiteral("Д1"));
    s->SetCritical1(343);
    s->SetHeight(0);
    s->SetRange(55);
    s->SetSelected(true);
    s->NearestSensor = QStringLiteral("L");
    EXPECT_FALSE(fp.Modified()) << "same values and the plain spacing fields do not count";
    s->SetHeight(12);
    EXPECT_TRUE(fp.Modified());
}

// --- doors ---

TEST_F(Doors, EveryStoredFieldCountsAsAChange)
{
    TDoor* d = zone->GetDoorByGUID(zone->AddDoor(10, TWallType::wtTop, -1));
    ASSERT_NE(d, nullptr);
    // The fields the project file stores: a change of any of them must be saved.
    const std::pair<const char*, std::function<void()>> edits[] = {
        { "Opened", [d] { d->SetOpened(!d->Opened()); } },
        { "Wooden", [d] { d->SetWooden(!d->Wooden()); } },
        { "OutRoom", [d] { d->SetOutRoom(d->OutRoom() + 7); } },
    };
    for (const auto& [what, edit] : edits) {
        fp.SetModified(false);
        edit();
        EXPECT_TRUE(fp.Modified()) << what;
    }
    fp.SetModified(false);
    d->SetOpened(d->Opened());
    d->SetWooden(d->Wooden());
    d->SetOutRoom(d->OutRoom());
    EXPECT_FALSE(fp.Modified()) << "setting the same values is no edit";
}

TEST_F(Doors, RectangleOfAZoneAtTheEndOfThe32BitRangeNeverWraps)
{
    // A zone built directly, far outside what a file or the editor may hold: the opening
    // reaching out of it stops at the end of the range instead of wrapping around.
    TRoom far(1, INT32_MAX - 10, INT32_MIN, INT32_MAX, INT32_MIN + 100, nullptr);
    TDoor right(QStringLiteral("{R}"), false), top(QStringLiteral("{T}"), false);
    for (TDoor* d : { &right, &top })
        d->SetParent(&far);
    right.SetWall(TWallType::wtRight);
    right.SetStartPos(20);
    top.SetWall(TWallType::wtTop);
    right.RecalcRect();
    top.RecalcRect();
    EXPECT_EQ(right.Rect(), (TRect{INT32_MAX - 1, INT32_MIN + 20, INT32_MAX, INT32_MIN + 25}));
    EXPECT_EQ(top.Rect(), (TRect{INT32_MAX - 10, INT32_MIN, INT32_MAX - 5, INT32_MIN + 1}));
}

TEST_F(Doors, AddDoorRefusalsChangeNothing)
{
    // The zone is 150 pixels high and 200 wide.
    EXPECT_TRUE(zone->AddDoor(136, TWallType::wtLeft, -1).isEmpty()) << "136 + 15 > 150";
    EXPECT_TRUE(zone->AddDoor(-1, TWallType::wtTop, -1).isEmpty());
    EXPECT_TRUE(zone->AddDoor(10, TWallType::wtNone, -1).isEmpty());
    EXPECT_TRUE(zone->AddDoor(186, TWallType::wtBottom, -1).isEmpty()) << "186 + 15 > 200";
    EXPECT_TRUE(zone->Doors.empty());
    EXPECT_EQ(zone->DoorsCount, 0);
    EXPECT_EQ(zone->DoorsLeftCount + zone->DoorsTopCount + zone->DoorsBottomCount, 0);
    EXPECT_FALSE(fp.Modified());

    const QString first = zone->AddDoor(135, TWallType::wtLeft, -1);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(zone->DoorsLeftCount, 1);
    EXPECT_EQ(zone->DoorsCount, 1);
    EXPECT_TRUE(fp.Modified());

    EXPECT_TRUE(zone->AddDoor(140, TWallType::wtLeft, -1).isEmpty()) << "starts inside the first";
    EXPECT_TRUE(zone->AddDoor(125, TWallType::wtLeft, -1).isEmpty()) << "reaches into the first";
    EXPECT_FALSE(zone->AddDoor(120, TWallType::wtLeft, -1).isEmpty()) << "ends where the first starts";
    EXPECT_FALSE(zone->AddDoor(135, TWallType::wtRight, -1).isEmpty()) << "another wall";
    EXPECT_EQ(zone->DoorsLeftCount, 2);
    EXPECT_EQ(zone->DoorsRightCount, 1);

    zone->SetH(4);
    EXPECT_TRUE(zone->AddDoor(0, TWallType::wtTop, -1).isEmpty()) << "the zone is lower than the opening";
    EXPECT_EQ(zone->DoorsCount, 3);
}

TEST_F(Doors, NewDoorValuesAndRectanglesOnEachWall)
{
    fp.AddRoom(0, 300, 50, 400);
    TDoor* d = zone->GetDoorByGUID(zone->AddDoor(10, TWallType::wtLeft, 2));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Width(), 15);
    EXPECT_EQ(d->Height(), 5);
    EXPECT_EQ(d->OutRoom(), 2);
    EXPECT_FALSE(d->IsWindow());
    EXPECT_FALSE(d->IsFake());
    EXPECT_TRUE(d->Opened());
    EXPECT_EQ(d->Parent(), zone);
    EXPECT_EQ(d->Rect(), (TRect{85, 60, 101, 75}));

    TDoor* w = zone->GetDoorByGUID(zone->AddDoor(20, TWallType::wtBottom, -1));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->IsWindow());
    EXPECT_EQ(w->Rect(), (TRect{120, 199, 135, 215}));
    EXPECT_TRUE(zone->HasDoorsTo(fp.GetRoom(2)));
    EXPECT_FALSE(fp.GetRoom(2)->HasDoorsTo(zone));

    d->SetWall(TWallType::wtRight);
    d->RecalcRect();
    EXPECT_EQ(d->Rect(), (TRect{299, 60, 315, 75}));
    EXPECT_EQ(zone->DoorsLeftCount, 0);
    EXPECT_EQ(zone->DoorsRightCount, 1);
    d->SetWall(TWallType::wtTop);
    d->RecalcRect();
    EXPECT_EQ(d->Rect(), (TRect{110, 35, 125, 51}));
    const TRect before = d->Rect();
    d->SetWall(TWallType::wtNone);
    d->RecalcRect();
    EXPECT_EQ(d->Rect(), before);
    EXPECT_EQ(zone->DoorsTopCount, 0);

    // Recomputing the derived rectangle while drawing is no edit.
    fp.SetModified(false);
    w->RecalcRect();
    EXPECT_FALSE(fp.Modified());
}

TEST_F(Doors, HeightIsCappedByTheZoneAndWidthMustFitTheWall)
{
    TDoor* d = zone->GetDoorByGUID(zone->AddDoor(100, TWallType::wtLeft, -1));
    ASSERT_NE(d, nullptr);
    d->SetHeight(25);
    EXPECT_EQ(d->Height(), 10);
    d->SetHeight(7);
    EXPECT_EQ(d->Height(), 7);
    EXPECT_FALSE(d->SetWidth(51)) << "100 + 51 > 150";
    EXPECT_EQ(d->Width(), 15);
    EXPECT_TRUE(d->SetWidth(50));

    TDoor loose(QStringLiteral("{A}"), true);
    loose.SetHeight(3);
    EXPECT_EQ(loose.Height(), 5) << "without a zone the height is not stored";
}

TEST_F(Doors, MoveDoorKeepsItOnItsWallAndApartFromOthers)
{
    const QString a = zone->AddDoor(10, TWallType::wtTop, -1);
    const QString b = zone->AddDoor(50, TWallType::wtTop, -1);
    EXPECT_FALSE(zone->MoveDoor(a, -11));
    EXPECT_FALSE(zone->MoveDoor(a, 30)) << "would overlap the door at 50";
    EXPECT_TRUE(zone->MoveDoor(a, 25));
    EXPECT_EQ(zone->GetDoorByGUID(a)->StartPos(), 35);
    EXPECT_FALSE(zone->MoveDoor(b, 136)) << "50 + 136 + 15 > 200";
    EXPECT_TRUE(zone->MoveDoor(b, 135));
    EXPECT_FALSE(zone->MoveDoor(QStringLiteral("{none}"), 1));
}

TEST_F(Doors, DeletionKeepsDoorsCountAndFollowsTheWallCounters)
{
    const QString a = zone->AddDoor(10, TWallType::wtLeft, -1);
    const QString b = zone->AddDoor(40, TWallType::wtLeft, -1);
    fp.SetModified(false);
    EXPECT_FALSE(zone->DeleteDoor(QStringLiteral("{none}")));
    EXPECT_TRUE(fp.Modified());
    EXPECT_TRUE(zone->DeleteDoor(a));
    EXPECT_EQ(zone->DoorsLeftCount, 1);
    EXPECT_EQ(zone->DoorsCount, 2) << "only the reader restores DoorsCount; nothing lowers it";

    EXPECT_FALSE(fp.DeleteDoor(QString()));
    EXPECT_EQ(fp.GetDoor(b), zone->Doors[0].get());
    EXPECT_TRUE(fp.DeleteDoor(b));
    EXPECT_FALSE(fp.DeleteDoor(b));
    EXPECT_EQ(zone->DoorsLeftCount, 0);
}

TEST_F(Doors, LookupByCoordinateAndLighting)
{
    const QString a = zone->AddDoor(10, TWallType::wtLeft, -1);  // rect (85, 60, 101, 75)
    const QString b = zone->AddDoor(10, TWallType::wtTop, -1);   // rect (110, 35, 125, 51)
    EXPECT_EQ(fp.GetDoorGUIDByCoord(85, 75), a);
    EXPECT_EQ(fp.GetDoorGUIDByCoord(125, 35), b);
    EXPECT_TRUE(fp.GetDoorGUIDByCoord(84, 60).isEmpty());

    EXPECT_TRUE(fp.SetLigthedDoor(a));
    EXPECT_TRUE(zone->GetDoorByGUID(a)->Lighting());
    EXPECT_FALSE(zone->GetDoorByGUID(b)->Lighting());
    EXPECT_FALSE(fp.SetLigthedDoor(QStringLiteral("{none}")));
    EXPECT_FALSE(zone->GetDoorByGUID(a)->Lighting());
    EXPECT_TRUE(fp.SetLigthedDoor(QString()));
}

TEST_F(Doors, ReplaceHandsTheOldDoorBackAndKeepsCountersRight)
{
    const QString a = zone->AddDoor(10, TWallType::wtLeft, -1);
    auto door = std::make_unique<TDoor>(QStringLiteral("{NEW}"), false);
    TDoor* fresh = door.get();
    door->SetWall(TWallType::wtBottom);
    EXPECT_FALSE(zone->ReplaceDoor(QStringLiteral("{none}"), door));
    ASSERT_EQ(door.get(), fresh);
    EXPECT_TRUE(zone->ReplaceDoor(a, door));
    EXPECT_EQ(zone->Doors[0].get(), fresh);
    EXPECT_EQ(fresh->Parent(), zone);
    ASSERT_NE(door, nullptr);
    EXPECT_EQ(door->GUID(), a);
    EXPECT_EQ(door->Parent(), nullptr);
    EXPECT_EQ(zone->DoorsLeftCount, 0);
    EXPECT_EQ(zone->DoorsBottomCount, 1);
}

// --- water sources ---

TEST_F(WaterSources, HitSquaresDependOnTheKind)
{
    auto hydrant = std::make_unique<TWSFireHydrant>();
    hydrant->SetX(400);
    hydrant->SetY(400);
    auto pier = std::make_unique<TWSPier>();
    pier->SetX(500);
    pier->SetY(400);
    const QString hg = fp.AddWaterSource(std::move(hydrant));
    fp.AddWaterSource(std::move(pier));
    fp.AddWaterSource(std::make_unique<TWaterSource>());
    EXPECT_TRUE(fp.Modified());
    ASSERT_EQ(fp.WaterSources().size(), 3u);
    EXPECT_EQ(fp.WaterSources()[0]->Parent(), &fp);

    EXPECT_EQ(fp.GetWaterSourceByCoord(410, 390), fp.WaterSources()[0].get());
    EXPECT_EQ(fp.GetWaterSourceByCoord(411, 400), nullptr);
    EXPECT_EQ(fp.GetWaterSourceByCoord(480, 420), fp.WaterSources()[1].get());
    EXPECT_EQ(fp.GetWaterSourceByCoord(479, 400), nullptr);
    EXPECT_EQ(fp.GetWaterSourceByCoord(0, 0), nullptr) << "a plain source is never hit";

    fp.SetModified(false);
    fp.NeedRepaint = false;
    fp.WaterSources()[0]->SetX(401);
    EXPECT_TRUE(fp.Modified());
    EXPECT_TRUE(fp.NeedRepaint);

    EXPECT_TRUE(fp.DeleteWaterSource(hg));
    EXPECT_FALSE(fp.DeleteWaterSource(hg));
    EXPECT_EQ(fp.WaterSources().size(), 2u);
}

TEST_F(WaterSources, DistanceToTheCentreOfAllZones)
{
    TWSFireHydrant loose;
    loose.SetX(1000);
    EXPECT_EQ(loose.GetDistance(), 0);

    // Zones span (100, 50)-(301, 201): the centre is (200, 125), halves truncated.
    fp.AddRoom(290, 190, 301, 201);
    auto h = std::make_unique<TWSFireHydrant>();
    h->SetX(230);
    h->SetY(165);
    TWaterSource* ws = h.get();
    fp.AddWaterSource(std::move(h));
    EXPECT_EQ(ws->GetDistance(), 50);
    fp.Setpx(0.25L);
    EXPECT_EQ(ws->GetDistance(), 12.5L);
    ws->SetY(166); // 50.6 px rounds to 51 before scaling: 12.75 -> 12.8
    EXPECT_EQ(ws->GetDistance(), 12.8L);
}
