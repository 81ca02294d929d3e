// Zones of a project: adding with its collision rule, IDs, lookups, selection, moves with
// per-axis blocking and door cleanup, resizing, edge hits, adjacency, scale and volume,
// the background picture and the modified flag.
#include "uFireClasses.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

namespace {

// A project whose modified flag is cleared, so a test sees only what it does itself.
struct CleanProject : ::testing::Test {
    TFireProject fp;
    void SetUp() override { fp.SetModified(false); }
};

using Rooms = CleanProject;

} // namespace

// --- adding zones, IDs and the collision rule ---

TEST_F(Rooms, AddRoomRefusesZeroSizeAndNormalisesCorners)
{
    EXPECT_EQ(fp.AddRoom(10, 10, 10, 50), -1);
    EXPECT_EQ(fp.AddRoom(10, 10, 50, 10), -1);
    EXPECT_EQ(fp.GetRoomsCount(), 0);
    EXPECT_FALSE(fp.Modified()) << "a zero-size zone is refused before anything is created";

    const int id = fp.AddRoom(50, 60, 10, 20);
    ASSERT_EQ(id, 1);
    EXPECT_EQ(fp.GetRoom(id)->Rect(), (TRect{10, 20, 50, 60}));
    EXPECT_EQ(fp.GetRoom(id)->Name(), QStringLiteral("Помещение 1"));
    EXPECT_EQ(fp.GetRoom(id)->H(), 10);
    EXPECT_TRUE(fp.Modified());
}

TEST_F(Rooms, IdsAreNeverReused)
{
    EXPECT_EQ(fp.AddRoom(0, 0, 10, 10), 1);
    fp.DeleteRoom(0);
    EXPECT_EQ(fp.GetRoomsCount(), 0);
    EXPECT_EQ(fp.AddRoom(0, 0, 10, 10), 2);
    EXPECT_EQ(fp.GetRoom(2)->Name(), QStringLiteral("Помещение 2"));
    // A refused zone does not use up a number.
    EXPECT_EQ(fp.AddRoom(5, 5, 20, 20), -1);
    EXPECT_EQ(fp.AddRoom(100, 0, 110, 10), 3);
    EXPECT_EQ(fp.RoomsNum, 3);
}

TEST_F(Rooms, SharedEdgeLineCollidesOnePixelGapDoesNot)
{
    ASSERT_EQ(fp.AddRoom(0, 0, 100, 100), 1);
    fp.SetModified(false);
    EXPECT_EQ(fp.AddRoom(100, 20, 150, 80), -1) << "left edge on the neighbour's right edge line";
    EXPECT_EQ(fp.GetRoomsCount(), 1);
    EXPECT_TRUE(fp.Modified()) << "a refused zone was created and destroyed: the project is modified";

    const int id = fp.AddRoom(101, 20, 150, 80);
    ASSERT_EQ(id, 2);
    EXPECT_EQ(fp.IsNearRooms(fp.GetRoom(1), fp.GetRoom(2)), TWallType::wtLeft);
    EXPECT_EQ(fp.IsNearRooms(fp.GetRoom(2), fp.GetRoom(1)), TWallType::wtRight);

    // Corner contact collides as well; a zone fully inside another collides.
    EXPECT_EQ(fp.AddRoom(-50, 100, 0, 150), -1);
    EXPECT_EQ(fp.AddRoom(10, 10, 20, 20), -1);
    EXPECT_EQ(fp.AddRoom(0, 101, 50, 150), 3);
}

TEST(RectCollision, EdgeCasesOfTheUnionRule)
{
    EXPECT_TRUE(RectsCollide({0, 0, 10, 10}, {10, 0, 20, 10}));
    EXPECT_FALSE(RectsCollide({0, 0, 10, 10}, {11, 0, 20, 10}));
    EXPECT_TRUE(RectsCollide({0, 0, 10, 10}, {0, 10, 10, 20}));
    EXPECT_FALSE(RectsCollide({0, 0, 10, 10}, {0, 11, 10, 20}));
    EXPECT_TRUE(RectsCollide({0, 0, 10, 10}, {10, 10, 20, 20})) << "corner contact";
    EXPECT_FALSE(RectsCollide({0, 0, 10, 10}, {11, 10, 20, 20}));
    // Near the 32-bit limits the widths must not wrap around.
    EXPECT_FALSE(RectsCollide({-2000000000, 0, -1999999990, 10}, {2000000000, 0, 2000000010, 10}));
}

// --- lookups and selection ---

TEST_F(Rooms, CoordinateLookupIncludesAllEdges)
{
    fp.AddRoom(10, 10, 50, 40);
    fp.AddRoom(60, 10, 90, 40);
    EXPECT_EQ(fp.GetRoomIDByCoord(50, 40), 1);
    EXPECT_EQ(fp.GetRoomIDByCoord(10, 10), 1);
    EXPECT_EQ(fp.GetRoomIDByCoord(51, 20), -1);
    EXPECT_EQ(fp.GetRoomIDByCoord(60, 40), 2);
    EXPECT_EQ(fp.GetRoomByID(2), 1);
    EXPECT_EQ(fp.GetRoomByID(7), -1);
    EXPECT_EQ(fp.GetRoom(7), nullptr);
}

TEST_F(Rooms, SelectionTogglesAndNeverMarksModified)
{
    fp.AddRoom(10, 10, 50, 40);
    fp.SetModified(false);
    EXPECT_EQ(fp.SelectRoomByCoord(20, 20), 1);
    EXPECT_TRUE(fp.GetRoom(1)->Selected);
    EXPECT_TRUE(fp.NeedRepaint);
    EXPECT_EQ(fp.SelectRoomByCoord(20, 20), 1);
    EXPECT_FALSE(fp.GetRoom(1)->Selected);
    fp.NeedRepaint = false;
    EXPECT_EQ(fp.SelectRoomByCoord(200, 200), -1);
    EXPECT_FALSE(fp.NeedRepaint);
    fp.GetRoom(1)->Selected = true;
    fp.DeselectAllRooms();
    EXPECT_FALSE(fp.GetRoom(1)->Selected);
    fp.SetPaintParams(true, true, true, true);
    EXPECT_FALSE(fp.Modified());
}

TEST_F(Rooms, DeletionOfSelectedAndByPosition)
{
    fp.AddRoom(0, 0, 10, 10);
    fp.AddRoom(20, 0, 30, 10);
    fp.AddRoom(40, 0, 50, 10);
    fp.SetModified(false);
    fp.DeleteSelectedRooms();
    fp.DeleteRoom(3);
    fp.DeleteRoom(-1);
    EXPECT_EQ(fp.GetRoomsCount(), 3);
    EXPECT_FALSE(fp.Modified()) << "nothing selected and positions out of range change nothing";

    fp.GetRoom(1)->Selected = true;
    fp.GetRoom(3)->Selected = true;
    fp.DeleteSelectedRooms();
    ASSERT_EQ(fp.GetRoomsCount(), 1);
    EXPECT_EQ(fp.GetRooms()[0]->ID(), 2);
    EXPECT_TRUE(fp.Modified());
}

// --- moving zones ---

TEST_F(Rooms, MoveBlocksOnlyTheCollidingAxis)
{
    fp.AddRoom(0, 0, 100, 100);
    fp.AddRoom(110, 0, 200, 100);
    fp.SetModified(false);
    bool mx = true, my = false;
    EXPECT_TRUE(fp.MoveRoom(1, 10, 5, mx, my, false));
    EXPECT_FALSE(mx);
    EXPECT_TRUE(my);
    EXPECT_EQ(fp.GetRoom(1)->Rect(), (TRect{0, 5, 100, 105}));
    EXPECT_TRUE(fp.Modified());
    EXPECT_TRUE(fp.NeedRepaint);

    // A pure blocked move leaves the zone and the flags untouched.
    fp.SetModified(false);
    fp.NeedRepaint = false;
    EXPECT_FALSE(fp.MoveRoom(1, 10, 0, mx, my, false));
    EXPECT_FALSE(mx);
    EXPECT_TRUE(my) << "a zero shift on a free axis still counts as free";
    EXPECT_EQ(fp.GetRoom(1)->Rect(), (TRect{0, 5, 100, 105}));
    EXPECT_FALSE(fp.Modified());
    EXPECT_FALSE(fp.NeedRepaint);

    // A missing zone moves nothing.
    EXPECT_FALSE(fp.MoveRoom(42, 1, 1, mx, my, false));
    EXPECT_FALSE(mx);
    EXPECT_FALSE(my);
}

TEST_F(Rooms, DiagonalMoveIntoACornerNeverOverlaps)
{
    fp.AddRoom(0, 0, 10, 10);
    fp.AddRoom(12, 12, 30, 30);
    bool mx = false, my = false;
    EXPECT_TRUE(fp.MoveRoom(1, 5, 5, mx, my, false));
    EXPECT_TRUE(mx);
    EXPECT_FALSE(my);
    EXPECT_EQ(fp.GetRoom(1)->Rect(), (TRect{5, 0, 15, 10}));
    EXPECT_FALSE(RectsCollide(fp.GetRoom(1)->Rect(), fp.GetRoom(2)->Rect()));
}

TEST_F(Rooms, CollapseIgnoreSkipsTheCollisionTest)
{
    fp.AddRoom(0, 0, 100, 100);
    fp.AddRoom(110, 0, 200, 100);
    bool mx = false, my = false;
    EXPECT_TRUE(fp.MoveRoom(1, 50, 0, mx, my, true));
    EXPECT_TRUE(mx);
    EXPECT_TRUE(my);
    EXPECT_EQ(fp.GetRoom(1)->Rect().Left, 50);
}

TEST_F(Rooms, MoveSelectedMovesEachAgainstTheOthersAsTheyStand)
{
    fp.AddRoom(0, 0, 10, 10);
    fp.AddRoom(12, 0, 20, 10);
    fp.AddRoom(100, 0, 110, 10);
    fp.GetRoom(1)->Selected = true;
    fp.GetRoom(3)->Selected = true;
    bool mx = false, my = false;
    fp.MoveSelectedRooms(5, 0, mx, my, false);
    EXPECT_EQ(fp.GetRoom(1)->Rect().Left, 0) << "blocked by zone 2";
    EXPECT_EQ(fp.GetRoom(3)->Rect().Left, 105);
    EXPECT_TRUE(mx) << "the flags are those of the last moved zone";
}

TEST_F(Rooms, MoveApartDeletesDoorsBetweenFormerNeighbours)
{
    fp.AddRoom(0, 0, 100, 100);
    fp.AddRoom(101, 0, 200, 100);
    TRoom* a = fp.GetRoom(1);
    TRoom* b = fp.GetRoom(2);
    const QString ab = a->AddDoor(10, TWallType::wtRight, 2);
    const QString ba = b->AddDoor(10, TWallType::wtLeft, 1);
    const QString window = a->AddDoor(40, TWallType::wtRight, -1);
    ASSERT_FALSE(ab.isEmpty());
    ASSERT_FALSE(ba.isEmpty());
    ASSERT_FALSE(window.isEmpty());

    bool mx = false, my = false;
    // Sliding along the shared wall keeps the zones adjacent and the doors in place.
    ASSERT_TRUE(fp.MoveRoom(1, 0, 5, mx, my, false));
    EXPECT_EQ(a->Doors.size(), 2u);
    EXPECT_EQ(b->Doors.size(), 1u);

    ASSERT_TRUE(fp.MoveRoom(1, -10, 0, mx, my, false));
    EXPECT_EQ(a->GetDoorByGUID(ab), nullptr);
    EXPECT_EQ(b->GetDoorByGUID(ba), nullptr);
    EXPECT_NE(a->GetDoorByGUID(window), nullptr) << "the window leads outside and stays";
    EXPECT_EQ(a->DoorsRightCount, 1);
    EXPECT_EQ(b->DoorsLeftCount, 0);
}

// --- resizing ---

TEST_F(Rooms, ResizeRefusalsLeaveTheZoneUnchanged)
{
    fp.AddRoom(0, 0, 100, 100);
    fp.AddRoom(110, 0, 200, 100);
    TRoom* a = fp.GetRoom(1);
    ASSERT_FALSE(a->AddDoor(80, TWallType::wtLeft, -1).isEmpty());
    fp.SetModified(false);

    EXPECT_FALSE(fp.IncRoomSize(1, 0, 0, 10, 0)) << "onto the neighbour's edge line";
    EXPECT_FALSE(fp.IncRoomSize(1, 0, 0, 0, -10)) << "the left wall would be shorter than 80 + 15";
    EXPECT_FALSE(fp.IncRoomSize(1, 0, 0, -100, 0)) << "zero width";
    EXPECT_FALSE(fp.SetRoomSize(a, 100, -5));
    EXPECT_FALSE(fp.SetRoomSize(nullptr, 10, 10));
    EXPECT_FALSE(fp.IncRoomSize(9, 0, 0, 1, 1));
    EXPECT_EQ(a->Rect(), (TRect{0, 0, 100, 100}));
    EXPECT_FALSE(fp.Modified());

    EXPECT_TRUE(fp.IncRoomSize(1, 0, 0, 9, -5));
    EXPECT_EQ(a->Rect(), (TRect{0, 0, 109, 95}));
    EXPECT_TRUE(fp.Modified());
    EXPECT_TRUE(fp.NeedRepaint);
    EXPECT_TRUE(fp.SetRoomSize(a, 50, 96));
    EXPECT_EQ(a->Rect(), (TRect{0, 0, 50, 96}));
}

// --- edge hits and adjacency ---

TEST_F(Rooms, EdgeHitsTakeTheEdgeAndTheLineInside)
{
    fp.AddRoom(10, 10, 50, 40);
    EXPECT_TRUE(fp.IsDotOnLeftSide(1, 10, 25));
    EXPECT_TRUE(fp.IsDotOnLeftSide(1, 11, 25));
    EXPECT_FALSE(fp.IsDotOnLeftSide(1, 12, 25));
    EXPECT_FALSE(fp.IsDotOnLeftSide(1, 9, 25));
    EXPECT_TRUE(fp.IsDotOnLeftSide(1, 10, 10)) << "outer segment includes its ends";
    EXPECT_TRUE(fp.IsDotOnLeftSide(1, 10, 40));
    EXPECT_FALSE(fp.IsDotOnLeftSide(1, 11, 10)) << "inner segment is shortened at each end";
    EXPECT_FALSE(fp.IsDotOnLeftSide(1, 10, 41));

    EXPECT_TRUE(fp.IsDotOnRightSide(1, 50, 25));
    EXPECT_TRUE(fp.IsDotOnRightSide(1, 49, 39));
    EXPECT_FALSE(fp.IsDotOnRightSide(1, 48, 25));
    EXPECT_TRUE(fp.IsDotOnTopSide(1, 30, 10));
    EXPECT_TRUE(fp.IsDotOnTopSide(1, 30, 11));
    EXPECT_FALSE(fp.IsDotOnTopSide(1, 30, 12));
    EXPECT_FALSE(fp.IsDotOnTopSide(1, 51, 10));
    EXPECT_TRUE(fp.IsDotOnBottomSide(1, 30, 40));
    EXPECT_TRUE(fp.IsDotOnBottomSide(1, 30, 39));
    EXPECT_FALSE(fp.IsDotOnBottomSide(1, 50, 39));
    EXPECT_FALSE(fp.IsDotOnBottomSide(2, 30, 40));
}

TEST_F(Rooms, AdjacencyNeedsOverlappingExtentsOnePixelApart)
{
    fp.AddRoom(0, 0, 100, 100);   // 1
    fp.AddRoom(0, 101, 50, 150);  // 2: below 1
    fp.AddRoom(101, 101, 200, 200); // 3: diagonal to 1 only
    TRoom* r1 = fp.GetRoom(1);
    TRoom* r2 = fp.GetRoom(2);
    TRoom* r3 = fp.GetRoom(3);
    TRect side;
    EXPECT_EQ(fp.IsNearRooms(r1, r2, side), TWallType::wtTop);
    EXPECT_EQ(side, (TRect{1, 101, 49, 101}));
    EXPECT_EQ(fp.IsNearRooms(r2, r1), TWallType::wtBottom);
    EXPECT_EQ(fp.IsNearRooms(r1, r3, side), TWallType::wtNone);
    EXPECT_EQ(side, TRect{});
    EXPECT_EQ(fp.IsNearRooms(r1, r1), TWallType::wtNone);
    EXPECT_EQ(fp.IsNearRooms(nullptr, r1), TWallType::wtNone);

    const auto nearOf2 = fp.GetNearRooms(r2);
    ASSERT_EQ(nearOf2.size(), 1u) << "zone 3 is far right of zone 2";
    EXPECT_EQ(nearOf2[0], r1);
    EXPECT_TRUE(fp.GetNearRooms(nullptr).empty());
}

TEST_F(Rooms, BoundingRectangleAndWallSide)
{
    EXPECT_EQ(fp.GetAllRoomsRect(), TRect{});
    fp.AddRoom(10, 20, 50, 60);
    fp.AddRoom(100, -5, 120, 30);
    EXPECT_EQ(fp.GetAllRoomsRect(), (TRect{10, -5, 120, 60}));
    EXPECT_EQ(fp.GetWallSideByCoord(0, -6), TWallType::wtTop);
    EXPECT_EQ(fp.GetWallSideByCoord(200, 61), TWallType::wtBottom);
    EXPECT_EQ(fp.GetWallSideByCoord(9, 0), TWallType::wtLeft);
    EXPECT_EQ(fp.GetWallSideByCoord(121, 60), TWallType::wtRight);
    EXPECT_EQ(fp.GetWallSideByCoord(120, 60), TWallType::wtNone);
}

// --- scale and volume ---

TEST_F(Rooms, ScaleConversionsRoundTiesToEven)
{
    EXPECT_EQ(fp.px(), -1);
    EXPECT_EQ(fp.ScaledValue(37), 37);
    EXPECT_EQ(fp.ScaledValue(37.37L), 37.37L) << "no rounding without a scale";
    EXPECT_EQ(fp.UnscaledValue(2.5L), 2);
    EXPECT_EQ(fp.UnscaledValue(3.5L), 4);

    fp.Setpx(0.25L);
    EXPECT_TRUE(fp.Modified());
    EXPECT_EQ(fp.ScaledValue(137), 34.2L) << "342.5 rounds to the even 342";
    EXPECT_EQ(fp.ScaledValue(139), 34.8L) << "347.5 rounds to the even 348";
    EXPECT_EQ(fp.UnscaledValue(3.125L), 12);
    EXPECT_EQ(fp.UnscaledValue(3.1L), 12);
    EXPECT_EQ(fp.ScaledValue(fp.UnscaledValue(3.1L)), 3.0L);
}

TEST_F(Rooms, VolumeRoundsEachDimensionThenTheProduct)
{
    fp.AddRoom(0, 0, 41, 13);
    TRoom* r = fp.GetRoom(1);
    r->SetH(7);
    EXPECT_EQ(r->V(), 41 * 13 * 7) << "no scale: one pixel counts as one metre";

    fp.Setpx(0.25L);
    // 41 px -> 10.2 m, 13 px -> 3.2 m, 7 px -> 1.8 m; 58.752 m³ -> 58.75
    EXPECT_NEAR(static_cast<double>(r->V()), 58.75, 1e-12);
    r->SetRect({0, 0, 40, 12});
    EXPECT_NEAR(static_cast<double>(r->V()), 10.0 * 3.0 * 1.8, 1e-12);

    TRoom orphan(5, 0, 0, 10, 20, nullptr);
    orphan.SetH(3);
    EXPECT_EQ(orphan.V(), 600);
}

TEST_F(Rooms, PropertySettersAndTheModifiedFlag)
{
    TFireProject fresh;
    EXPECT_TRUE(fresh.Modified()) << "a new project counts as unsaved";

    fp.AddRoom(0, 0, 10, 10);
    TRoom* r = fp.GetRoom(1);
    r->SetID(-3);
    EXPECT_EQ(r->ID(), 1);
    fp.SetModified(false);
    r->SetRect(r->Rect());
    r->SetH(r->H());
    r->SetRoomType(r->RoomType());
    EXPECT_FALSE(fp.Modified());
    r->SetRoomType(TRoomType::rtStairs);
    EXPECT_TRUE(fp.Modified()) << "the zone type is stored in the file";
    fp.SetModified(false);

    fp.SetLevelsCount(2);
    fp.SetActiveLevel(3);
    EXPECT_EQ(fp.ActiveLevel(), 1);
    fp.SetActiveLevel(2);
    EXPECT_EQ(fp.ActiveLevel(), 2);
    EXPECT_FALSE(fp.MergeRooms(r, r, false));
}

// --- background picture ---

TEST_F(Rooms, BackgroundPictureByLowerCaseExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage pic(37, 21, QImage::Format_RGB32);
    pic.fill(Qt::green);
    const QString png = dir.filePath(QStringLiteral("plan.PNG"));
    const QString bmp = dir.filePath(QStringLiteral("plan.bmp"));
    ASSERT_TRUE(pic.save(png, "PNG"));
    ASSERT_TRUE(pic.save(bmp, "BMP"));

    EXPECT_TRUE(fp.SetBackgroundImage(png));
    ASSERT_NE(fp.GetBackgroundImage(), nullptr);
    EXPECT_EQ(fp.Width, 37);
    EXPECT_EQ(fp.Height, 21);
    EXPECT_TRUE(fp.Modified());

    for (const char* name : {"plan.jpeg", "plan.gif", ""}) {
        const QString path = *name ? dir.filePath(QString::fromLatin1(name)) : QString();
        if (*name)
            QFile::copy(png, path);
        QString error;
        EXPECT_FALSE(fp.SetBackgroundImage(path, &error)) << name;
        EXPECT_EQ(fp.GetBackgroundImage(), nullptr) << "the old picture is released first";
        EXPECT_FALSE(error.isEmpty());
    }

    EXPECT_TRUE(fp.SetBackgroundImage(bmp));
    EXPECT_EQ(fp.GetBackgroundImage()->size(), QSize(37, 21));

    if (QImageWriter::supportedImageFormats().contains("jpeg")) {
        const QString jpg = dir.filePath(QStringLiteral("plan.jpg"));
        ASSERT_TRUE(pic.save(jpg, "JPEG"));
        EXPECT_TRUE(fp.SetBackgroundImage(jpg));
        EXPECT_EQ(fp.Width, 37);
    }
}

TEST_F(Rooms, UndecodablePictureIsARefusal)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.png"));
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x89PNG not really a picture");
    f.close();
    fp.Width = 500;
    QString error;
    EXPECT_FALSE(fp.SetBackgroundImage(broken, &error));
    EXPECT_FALSE(fp.SetBackgroundImage(dir.filePath(QStringLiteral("missing.bmp"))));
    EXPECT_EQ(fp.GetBackgroundImage(), nullptr);
    EXPECT_EQ(fp.Width, 500) << "a failed picture leaves the plan size alone";
    EXPECT_FALSE(error.isEmpty());
}

// --- the ends of the plan and of 32 bits ---

TEST_F(Rooms, ZoneNumbersRunOutInsteadOfWrappingAround)
{
    fp.RoomsNum = INT32_MAX - 1;
    EXPECT_EQ(fp.AddRoom(0, 0, 10, 10), INT32_MAX);
    fp.SetModified(false);
    EXPECT_EQ(fp.AddRoom(20, 0, 30, 10), -1) << "no number is left for another zone";
    EXPECT_EQ(fp.RoomsNum, INT32_MAX);
    EXPECT_EQ(fp.GetRoomsCount(), 1);
    EXPECT_FALSE(fp.Modified());
}

TEST_F(Rooms, NoEditTakesAZoneBeyondThePlanLimits)
{
    const int32_t lim = PlanLimits::Coordinate;
    EXPECT_EQ(fp.AddRoom(0, 0, lim + 1, 10), -1);
    EXPECT_EQ(fp.AddRoom(INT32_MIN, 0, 10, 10), -1);
    EXPECT_EQ(fp.GetRoomsCount(), 0);
    const int id = fp.AddRoom(lim - 100, -lim, lim, -lim + 50);
    ASSERT_NE(id, -1);
    TRoom* z = fp.GetRoom(id);
    const TRect start = z->Rect();

    // Shifts whose 32-bit sums would wrap around block their axis alone, also when
    // collisions are ignored; the other axis still moves.
    bool mx = true, my = true;
    EXPECT_TRUE(fp.MoveRoom(id, INT32_MAX, 7, mx, my, false));
    EXPECT_FALSE(mx);
    EXPECT_TRUE(my);
    EXPECT_EQ(z->Rect(), (TRect{start.Left, start.Top + 7, start.Right, start.Bottom + 7}));
    EXPECT_FALSE(fp.MoveRoom(id, 1, INT32_MIN, mx, my, true)) << "one pixel right leaves the limits";
    EXPECT_FALSE(mx);
    EXPECT_FALSE(my);
    EXPECT_TRUE(fp.MoveRoom(id, -10, -7, mx, my, false));
    EXPECT_EQ(z->Rect(), (TRect{start.Left - 10, start.Top, start.Right - 10, start.Bottom}));

    // Resizing by deltas or to sizes that pass the limits is refused and changes nothing.
    const TRect before = z->Rect();
    fp.SetModified(false);
    EXPECT_FALSE(fp.IncRoomSize(id, INT32_MIN, 0, 0, 0));
    EXPECT_FALSE(fp.IncRoomSize(id, 0, 0, INT32_MAX, 0));
    EXPECT_FALSE(fp.IncRoomSize(id, 0, -100, 0, 0)) << "the top would pass -limit";
    EXPECT_FALSE(fp.SetRoomSize(z, lim, 10));
    EXPECT_FALSE(fp.SetRoomSize(z, INT32_MAX, INT32_MAX));
    EXPECT_EQ(z->Rect(), before);
    EXPECT_FALSE(fp.Modified());
    EXPECT_TRUE(fp.IncRoomSize(id, 0, 0, 10, 0)) << "up to the limit itself";
    EXPECT_EQ(z->Rect().Right, lim);
}

TEST_F(Rooms, SensorsFarOutsideTheirZoneStayWithinThePlanLimitsToo)
{
    // A file may hold a sensor far from its zone; it moves with the zone, so the zone
    // stops where the sensor would pass the limits.
    const int32_t lim = PlanLimits::Coordinate;
    const int id = fp.AddRoom(0, 0, 100, 100);
    TRoom* z = fp.GetRoom(id);
    z->AddSensor()->SetAbsolutePos({ lim - 5, 50 });
    bool mx = false, my = false;
    EXPECT_TRUE(fp.MoveRoom(id, 5, 0, mx, my, false));
    EXPECT_FALSE(fp.MoveRoom(id, 1, 0, mx, my, false));
    EXPECT_FALSE(mx);
    EXPECT_EQ(z->Sensors[0]->AbsolutePos(), (TPoint{ lim, 50 }));
    EXPECT_FALSE(fp.IncRoomSize(id, 1, 0, 0, 0)) << "the left side drags the sensor along";
    EXPECT_TRUE(fp.IncRoomSize(id, -1, 0, 0, 0));
    EXPECT_TRUE(fp.SetRoomSize(z, 50, 50)) << "the top-left corner stays, and the sensor with it";
}

TEST_F(Rooms, VolumeWithoutAProjectDoesNotOverflow)
{
    const int32_t lim = PlanLimits::Coordinate;
    TRoom zone(1, -lim, -lim, lim, lim, nullptr);
    zone.SetH(lim);
    const long double side = 2.0L * lim;
    EXPECT_EQ(zone.V(), side * side * lim);
}

// --- calculations run on the zone's own record ---

TEST_F(Rooms, CalculationWritesOnlyTheZonesOwnRecord)
{
    fp.AddRoom(0, 0, 10, 10);
    fp.AddRoom(20, 0, 30, 10);
    TRoom* a = fp.GetRoom(1);
    TRoom* b = fp.GetRoom(2);
    // A zero record has no fire and no spacing: the ceiling-jet model reports "not detected".
    a->CalcCPSimple();
    EXPECT_TRUE(a->CP.CalculatedVOP);
    EXPECT_EQ(a->CP.value6s, Outcome::NotDetected);
    EXPECT_FALSE(b->CP.CalculatedVOP);
    EXPECT_EQ(b->CP.value6s, 0);
}
