// The spacing measurement and the quick recalculation applied to a zone's sensors: the
// fields the renderer draws, the critical sensor that must never dangle, and a zone
// without a detection-time result that nothing touches.
#include "uFireClasses.h"
#include "uRoomSpacing.h"

#include <gtest/gtest.h>

namespace {

// A project at 0.1 m/px with one zone of 100 × 40 px (10 m × 4 m) at (200, 50).
struct TZoneFixture : ::testing::Test {
    TFireProject project;
    TRoom* room = nullptr;

    void SetUp() override
    {
        project.Setpx(0.1L);
        room = project.GetRoom(project.AddRoom(200, 50, 300, 90));
        ASSERT_NE(room, nullptr);
    }

    TSensor* Place(int relX, int relY)
    {
        TSensor* s = room->AddSensor();
        s->SetAbsolutePos({room->Rect().Left + relX, room->Rect().Top + relY});
        return s;
    }

    // A record with a detection-time result whose ceiling jet detects the fire.
    void GiveResult()
    {
        TCalcParamsOrvann& cp = room->CP;
        cp.CalculatedVOP = true;
        cp.method = 1;
        cp.param1 = 3, cp.param4 = 10, cp.param5 = 0.9L, cp.param6 = 0.0108L, cp.param7 = 0.0145L;
        cp.param8 = 13800, cp.param9 = 10, cp.param10 = 293, cp.param11 = 343, cp.param12 = 100;
    }
};

} // namespace

TEST_F(TZoneFixture, MeasurementIsWrittenIntoTheSensors)
{
    TSensor* a = Place(35, 20);
    TSensor* b = Place(65, 20);
    project.SetModified(false);

    EXPECT_EQ(GetNearSensorsMaxRange(room), 70);
    EXPECT_EQ(a->Range(), 70);
    EXPECT_EQ(b->Range(), 70);
    EXPECT_EQ(a->NearestSensorT, "T");
    EXPECT_EQ(a->NearestSensorL, "L");
    EXPECT_EQ(a->NearestSensorB, "B");
    EXPECT_EQ(a->NearestSensorR, b->GUID());
    EXPECT_EQ(a->NearestSensor, "L");
    EXPECT_EQ(b->NearestSensorL, a->GUID());
    EXPECT_EQ(b->NearestSensor, "R");
    EXPECT_EQ(room->CP.CSensor, a->GUID());
    EXPECT_EQ(room->CriticalSensor(), a);
    EXPECT_FALSE(project.Modified()); // results, not stored data

    EXPECT_EQ(GetNearSensorsMaxRange(nullptr), 0);
}

// The critical sensor is held by identity: deleting it or replacing the layout can never
// leave the zone pointing at a destroyed sensor.
TEST_F(TZoneFixture, CriticalSensorNeverDangles)
{
    TSensor* a = Place(35, 20);
    Place(65, 20);
    GetNearSensorsMaxRange(room);
    ASSERT_EQ(room->CriticalSensor(), a);
    const QString gone = a->GUID();
    room->DeleteSensor(gone);
    EXPECT_EQ(room->CriticalSensor(), nullptr); // stale GUID: treated as none

    // The next measurement names a sensor of the zone as it is now.
    GetNearSensorsMaxRange(room);
    ASSERT_NE(room->CriticalSensor(), nullptr);
    EXPECT_NE(room->CP.CSensor, gone);

    // The layout emptied: no critical sensor at all.
    while (!room->GetSensors().empty())
        room->DeleteSensor(room->GetSensors().front()->GUID());
    EXPECT_EQ(GetNearSensorsMaxRange(room), 0);
    EXPECT_TRUE(room->CP.CSensor.isEmpty());
    EXPECT_EQ(room->CriticalSensor(), nullptr);
}

TEST_F(TZoneFixture, QuickRecalculationFollowsTheDraggedSensor)
{
    TSensor* a = Place(35, 20);
    TSensor* b = Place(65, 20);
    GiveResult();
    const QString first = RecalcVOP(room, 1);
    EXPECT_TRUE(first.startsWith("Время обнаружения: ")) << first.toStdString();
    EXPECT_EQ(room->CP.param2, 7.0L);

    // Drag the second sensor to the right: 5.5 m between the two, but the first
    // sensor's left wall (7 m) still decides; then drag the first one to the left.
    room->MoveSensor(b->GUID(), room->Rect().Left + 90, room->Rect().Top + 20);
    RecalcVOP(room, 1);
    EXPECT_EQ(a->NearestSensorR, b->GUID());
    EXPECT_EQ(room->CP.param2, 7.0L); // still the left wall of the first sensor
    room->MoveSensor(a->GUID(), room->Rect().Left + 10, room->Rect().Top + 20);
    RecalcVOP(room, 1);
    EXPECT_EQ(room->CP.param2, 8.0L); // 80 px between the two sensors now decides
    EXPECT_EQ(room->CriticalSensor(), a);
    EXPECT_EQ(a->NearestSensor, b->GUID());
    EXPECT_EQ(b->Range(), 80);
}

TEST_F(TZoneFixture, ManualSpacingAndZonesWithoutResult)
{
    TSensor* a = Place(35, 20);
    Place(65, 20);
    // No detection-time result: nothing changes, the status bar is not touched.
    const QString none = RecalcVOP(room, 3);
    EXPECT_TRUE(none.isNull());
    EXPECT_EQ(a->Range(), 20); // as created
    EXPECT_TRUE(a->NearestSensor.isEmpty());
    EXPECT_EQ(room->CP.param2, 0);

    GiveResult();
    room->CP.ManualL = true;
    const QString text = RecalcVOP(room, 3.5L);
    EXPECT_FALSE(text.isEmpty());
    EXPECT_EQ(room->CP.param2, 3.5L);
    EXPECT_EQ(a->Range(), 20); // the layout was not measured
    EXPECT_TRUE(room->CP.CSensor.isEmpty());

    EXPECT_TRUE(RecalcVOP(nullptr, 1).isNull());
}
