// The project model: one open project with its plan canvas, background picture and
// scale, the zones (rooms) drawn on the plan as axis-aligned rectangles, the sensors and
// doors each zone holds, and the project's water sources. All geometry is in integer
// plan pixels (origin top-left, y downwards); lengths reach the user in metres through
// the project scale. Operations never show messages: a refused edit answers false, -1,
// nullptr or an empty string and leaves every object exactly as it was.
#pragma once

#include "uCalcRecord.h"
#include "uZoneRuns.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
struct TPlanView;

class TFireProject;
class TRoom;
class TSensor;
class TDoor;
class TWaterSource;

// A plan rectangle in pixels. Right and Bottom are coordinates of the far edge lines,
// so the width is Right - Left; whether the edge lines themselves belong to the
// rectangle is stated by each operation that tests points against it.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    bool operator==(const TRect&) const = default;
};

// A plan point in pixels.
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;

    bool operator==(const TPoint&) const = default;
};

// The range of plan geometry the program works in. Every coordinate, size and height in
// plan pixels (zone rectangles and heights, sensor positions, the start, width and height
// of door openings, water-source positions) lies within ±PlanLimits::Coordinate; the plan
// canvas has sides of 0 … Coordinate pixels and at most PlanLimits::Area pixels in all; a
// set scale (px > 0) is at most PlanLimits::Scale metres per pixel. Within these bounds no
// sum or difference of a few plan values leaves 32 bits and every picture of the plan can
// be allocated. The project file refuses values outside them (uProjectFile.h) and the
// editing operations never produce them, so whatever is saved loads again.
namespace PlanLimits {
inline constexpr int32_t Coordinate = (1 << 24) - 1;     // 16,777,215, also Qt's largest widget side
inline constexpr int64_t Area = int64_t(10000) * 10000; // the largest canvas the size fields offer
inline constexpr long double Scale = 1e6L;              // metres per pixel
} // namespace PlanLimits

// Whether a plan value (coordinate, size, height in pixels) lies within ±Coordinate.
bool WithinPlanLimits(int64_t value);
// Whether all four sides lie within ±Coordinate.
bool RectWithinPlanLimits(int64_t left, int64_t top, int64_t right, int64_t bottom);
// Whether a canvas of width × height pixels is within the limits (no negative side).
bool PlanSizeWithinLimits(int64_t width, int64_t height);
// Whether px is a usable scale: finite, and at most PlanLimits::Scale when positive
// (zero or below means no scale).
bool PlanScaleWithinLimits(long double px);

// A colour in the 0x00BBGGRR layout (red in the lowest byte).
using TColor = uint32_t;

enum class TRoomType : uint8_t { rtRoom = 0, rtStairs = 1 };
enum class THydrantNetType : uint8_t { htCircular = 0, htDeadend = 1 };
enum class TSensorType : uint8_t { stTemperature = 0, stSmoke = 1, stOxygen = 2, stToxic = 3, stUnofficial = 4 };
enum class TWallType : uint8_t { wtNone = 0, wtLeft = 1, wtRight = 2, wtTop = 3, wtBottom = 4 };
enum class TDoorOrientation : uint8_t { doLeft = 0, doRight = 1 };

// Square Boolean matrix, one row and column per zone; carried but never filled.
using TRoomsConnectionsMatrix = std::vector<std::vector<bool>>;

// View options read by the plan renderer. Changing them never marks a project modified.
struct TPaintParams {
    bool ShowRoomInfo = false;
    bool ColoredRooms = false;
    bool ShowScale = false;
    bool TransparentRooms = false;
    TPoint OffsetPos;                 // scroll offset of the visible part of the plan
    bool PaintSensorDistances = true; // draw the wall distances of the selected sensor
    bool ShowZoneVerdicts = false;    // tint each zone by its verdict (uZoneResults.h)
};

// Collision test of two rectangles: true when they overlap or merely share an edge line
// (A.Right == B.Left collides, A.Right + 1 == B.Left does not). An empty B (no positive
// width and height) adds nothing to the union with A.
bool RectsCollide(const TRect& a, const TRect& b);

// Whether point p lies on the segment s -> e within one pixel of tolerance (rounded to
// whole pixels); for axis-parallel segments: exactly on the line, ends included.
bool IsDotOnSegment(TPoint p, TPoint s, TPoint e);

// A fresh identity in the braced upper-case 38-character form
// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}; empty if none could be generated.
QString NewGUIDString();

// ---------------------------------------------------------------------------------------
// A heat or smoke detector placed in a zone. Its position is held relative to the zone's
// top-left corner, so it follows the zone when the zone moves.
class TSensor {
public:
    // Creates a sensor at the zone's top-left corner with a new GUID and Critical1 = 343
    // (set through its setter, so the zone's project becomes modified). The zone does not
    // take the sensor into its list: TRoom::AddSensor does that.
    explicit TSensor(TRoom* AParent);
    ~TSensor() = default;
    TSensor(const TSensor&) = delete;
    TSensor& operator=(const TSensor&) = delete;

    TRoom* Parent() const { return FParent; }

    const QString& GUID() const { return FGUID; }
    // Replaces the identity; for the project-file reader only. Does not mark modified.
    void SetGUID(const QString& AGUID) { FGUID = AGUID; }

    const QString& Name() const { return FName; }
    void SetName(const QString& AName); // marks the project modified when the text differs

    // Position relative to the zone's top-left corner, in pixels.
    TPoint Pos() const { return FPos; }
    // Position in plan pixels: zone Left + Pos.X, zone Top + Pos.Y. Setting it stores the
    // relative position and does not mark the project modified.
    TPoint AbsolutePos() const;
    void SetAbsolutePos(TPoint p);

    int32_t SensorSize = 10; // circle radius and half side of the hit square, pixels

    // Design spacing of the zone's sensors, in plan pixels; written by the spacing
    // calculation. A plain field: does not mark the project modified.
    int32_t Range() const { return FRange; }
    void SetRange(int32_t ARange) { FRange = ARange; }

    bool Activated() const { return FActivated; }
    void SetActivated(bool AValue) { FActivated = AValue; } // display state only

    // Activation temperature as typed in the sensor panel, no unit conversion.
    long double Critical1() const { return FCritical1; }
    void SetCritical1(long double AValue); // marks modified when the value differs
    long double Critical2() const { return FCritical2; }
    void SetCritical2(long double AValue); // marks modified when the value differs
    long double Critical3() const { return FCritical3; }
    void SetCritical3(long double AValue); // marks modified when the value differs
    // Mounting height in plan pixels (a whole number when set from typed metres).
    long double Height() const { return FHeight; }
    void SetHeight(long double AValue); // marks modified when the value differs

    // Remaining time shown by the renderer beside the name when above 0.
    int32_t TimeLeft() const { return FTimeLeft; }
    void SetTimeLeft(int32_t AValue) { FTimeLeft = AValue; } // display state only

    // The sensor being edited in the sensor panel. Does not mark modified.
    bool Selected() const { return FSelected; }
    void SetSelected(bool AValue) { FSelected = AValue; }

    TSensorType SensorType = TSensorType::stTemperature;

    // Results of the spacing calculation, per direction: the GUID of the nearest sensor,
    // a wall letter "L", "T", "B", "R", or "-1" after a reset. Plain fields.
    QString NearestSensorL;
    QString NearestSensorT;
    QString NearestSensorB;
    QString NearestSensorR;
    QString NearestSensor; // the one of the four that determines the sensor's spacing

private:
    friend struct TProjectStateAccess; // snapshots for undo (uProjectState.h)
    void MarkModified();

    TRoom* FParent = nullptr;
    QString FGUID;
    QString FName;
    TPoint FPos;
    int32_t FRange = 20;
    bool FActivated = false;
    long double FCritical1 = 0;
    long double FCritical2 = 0;
    long double FCritical3 = 0;
    long double FHeight = 0;
    int32_t FTimeLeft = 0;
    bool FSelected = false;
};

// ---------------------------------------------------------------------------------------
// A door or window in a zone wall. StartPos runs along the wall from its top end (left
// and right walls) or its left end (top and bottom walls).
class TDoor {
public:
    TDoor(const QString& AGUID, bool AIsFake);
    // Marks the project of the parent zone modified.
    ~TDoor();
    TDoor(const TDoor&) = delete;
    TDoor& operator=(const TDoor&) = delete;

    const QString& GUID() const { return FGUID; }
    void SetGUID(const QString& AValue); // marks modified when it differs

    int32_t StartPos() const { return FStartPos; }
    void SetStartPos(int32_t AValue); // marks modified when it differs

    int32_t Width() const { return FWidth; }
    // With a parent zone, refused (false, nothing stored) when StartPos + value would not
    // fit the wall; otherwise stores the value, marks modified and answers true.
    bool SetWidth(int32_t AValue);

    // Height of the opening, in the units of the zone height (pixels).
    int32_t Height() const { return FHeight; }
    // With a parent zone stores min(value, zone H) and marks modified; without a parent
    // nothing is stored.
    void SetHeight(int32_t AValue);

    // ID of the zone the opening leads into; -1 leads outside.
    int32_t OutRoom() const { return FOutRoom; }
    void SetOutRoom(int32_t AValue); // marks modified when it differs (stored in the file)

    bool IsWindow() const { return FIsWindow; }
    void SetIsWindow(bool AValue); // marks modified when it differs

    TWallType Wall() const { return FWall; }
    // When the value differs: moves the door from the old wall's counter of the parent
    // zone to the new wall's counter and marks modified. Without a parent only the value
    // is stored.
    void SetWall(TWallType AValue);

    TRoom* Parent() const { return FParent; }
    void SetParent(TRoom* AParent) { FParent = AParent; }

    const TRect& Rect() const { return FRect; }
    void SetRect(const TRect& AValue); // marks modified when it differs
    // Recomputes Rect from the parent zone's rectangle, StartPos and Width: a square
    // reaching Width pixels out of the wall and one pixel into the zone. Leaves Rect
    // unchanged on wtNone or without a parent. The rectangle is derived data, so this does
    // not mark the project modified (the renderer calls it on every repaint). Computed in
    // 64 bits and held to the 32-bit range, whatever the zone and opening.
    void RecalcRect();

    bool Selected() const { return FSelected; }
    void SetSelected(bool AValue) { FSelected = AValue; }
    bool Lighting() const { return FLighting; }
    void SetLighting(bool AValue) { FLighting = AValue; }
    bool Opened() const { return FOpened; }
    void SetOpened(bool AValue); // marks modified when it differs (stored in the file)
    bool Wooden() const { return FWooden; }
    void SetWooden(bool AValue); // marks modified when it differs (stored in the file)
    bool IsFake() const { return FIsFake; }
    TDoorOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TDoorOrientation AValue) { FOrientation = AValue; }

private:
    friend struct TProjectStateAccess; // snapshots for undo (uProjectState.h)
    void MarkModified();
    // Whether an opening [start, start + width) fits the parent's wall w.
    bool FitsWall(TWallType w, int32_t start, int32_t width) const;

    QString FGUID;
    int32_t FStartPos = 0;
    int32_t FWidth = 5;
    int32_t FHeight = 5;
    int32_t FOutRoom = -1;
    bool FIsWindow = false;
    TWallType FWall = TWallType::wtNone;
    TRoom* FParent = nullptr;
    TRect FRect;
    bool FSelected = false;
    bool FLighting = false;
    bool FOpened = true;
    bool FWooden = false;
    bool FIsFake = false;
    TDoorOrientation FOrientation = TDoorOrientation::doRight;
};

// ---------------------------------------------------------------------------------------
// A zone (room): an axis-aligned rectangle on the plan with its height, sensors, doors and
// calculation record. Lengths are plan pixels; the volume V is cubic metres.
class TRoom {
public:
    // Creates the zone with the normalised rectangle of the two corners, height 10 px,
    // white colour, no sensors or doors, and marks the parent modified. A negative ID is
    // ignored by the ID setter and leaves the ID 0. Parent may be nullptr.
    TRoom(int32_t AID, int32_t x1, int32_t y1, int32_t x2, int32_t y2, TFireProject* AParent);
    // Destroys the doors and sensors and marks the parent modified.
    ~TRoom();
    TRoom(const TRoom&) = delete;
    TRoom& operator=(const TRoom&) = delete;

    // Owned lists, in order. Pointers to their elements stay valid until removal.
    std::vector<std::unique_ptr<TDoor>> Doors;
    std::vector<TRoom*> MergedRooms; // zone merging is not provided: stays empty
    std::vector<std::unique_ptr<TSensor>> Sensors;
    const std::vector<std::unique_ptr<TDoor>>& GetDoors() const { return Doors; }
    const std::vector<std::unique_ptr<TSensor>>& GetSensors() const { return Sensors; }

    // Door counters per wall follow TDoor::SetWall; DoorsCount grows with AddDoor and is
    // restored by the reader.
    int32_t DoorsCount = 0;
    int32_t DoorsLeftCount = 0;
    int32_t DoorsRightCount = 0;
    int32_t DoorsTopCount = 0;
    int32_t DoorsBottomCount = 0;

    const QString& Name() const { return FName; }
    void SetName(const QString& AName); // marks modified

    int32_t ID() const { return FID; }
    void SetID(int32_t AID); // stores only values >= 0

    const TRect& Rect() const { return FRect; }
    // Stores the rectangle when any coordinate differs, recomputes V, marks modified.
    // No normalisation and no collision check: callers (MoveRoom, IncRoomSize, the reader)
    // are responsible for that.
    void SetRect(const TRect& ARect);

    TRoomType RoomType() const { return FRoomType; }
    void SetRoomType(TRoomType AValue); // marks modified when it differs (stored in the file)

    // Volume in m³: with a parent S(w)·S(d)·S(H) rounded to 0.01, S = ScaledValue; without
    // a parent w·d·H in pixels (as a real, so that no size can overflow it).
    long double V() const { return FV; }
    void RecalcV();

    // Height in plan pixels.
    int32_t H() const { return FH; }
    void SetH(int32_t AH); // when it differs: stores, recomputes V, marks modified

    TFireProject* Parent() const { return FParent; }

    TCalcParamsOrvann CP; // the zone's calculation record, zero-filled
    TZoneRuns Runs;       // the last accepted run of each kind; kept by the runs (uCalcRuns.h)
    bool Selected = false;
    TColor Color = 0xFFFFFF;

    // The zone's sensor named by CP.CSensor, or nullptr when there is none or the GUID is
    // no longer in this zone, so the critical sensor can never dangle.
    TSensor* CriticalSensor() const;

    // --- sensors ---
    // Creates a sensor at the zone's top-left corner, appends it, marks modified. The
    // returned pointer stays owned by the zone.
    TSensor* AddSensor();
    // Removes and destroys the first sensor with that GUID; marks the project modified
    // whether or not one was found.
    bool DeleteSensor(const QString& AGUID);
    TSensor* GetSensorByGUID(const QString& AGUID) const;
    // First sensor whose square (absolute position ± SensorSize, bounds included) holds
    // the point.
    TSensor* GetSensorByCoord(int32_t AX, int32_t AY) const;
    // Moves the sensor to (AX, AY) clamped into the zone rectangle (edges included) and
    // marks the project modified when the sensor's position changes: a dragged sensor is
    // work the user must not lose on closing. False if no sensor has that GUID.
    bool MoveSensor(const QString& AGUID, int32_t AX, int32_t AY);

    // --- doors ---
    // Adds a 15-pixel opening at StartPos on the wall leading into zone OutRoomID (-1:
    // outside, which makes it a window). Answers the new GUID, or empty when refused
    // (negative start, wtNone, does not fit the wall, overlaps the start of a door on the
    // same wall, or the zone is lower than the opening); a refusal changes nothing.
    QString AddDoor(int32_t AStartPos, TWallType AWall, int32_t AOutRoomID);
    // Removes and destroys the first door with that GUID (decreasing its wall counter);
    // marks the project modified whether or not one was found.
    bool DeleteDoor(const QString& AGUID);
    // Shifts the door along its wall; refused when it would start below 0, leave the wall
    // or overlap another door on the same wall.
    bool MoveDoor(const QString& AGUID, int32_t AOffset);
    // Puts ADoor into the list position of the first door with that GUID and answers true;
    // ADoor then holds the replaced door, which is handed back to the caller rather than
    // destroyed. Without such a door nothing changes and false is answered.
    bool ReplaceDoor(const QString& AGUID, std::unique_ptr<TDoor>& ADoor);
    TDoor* GetDoorByGUID(const QString& AGUID) const;
    int32_t GetDoorIDInListByGUID(const QString& AGUID) const;
    bool HasDoorsTo(const TRoom* ARoom) const;

    // --- calculations on CP; the Boolean result carries no meaning ---
    bool CalcCPSimple2(); // detection time by height tables, zones below 9 m
    bool CalcCPSimple3(); // detection time by height tables, zones from 9 m
    bool CalcCPSimple();  // detection time by ceiling-jet correlations
    bool CalcCP();        // detection time with optimisation

    // Marks the owning project modified, if there is one.
    void MarkModified();
    // Adjusts the per-wall counter of w by delta (used by TDoor::SetWall).
    void ChangeWallCounter(TWallType w, int32_t delta);

private:
    friend struct TProjectStateAccess; // snapshots for undo (uProjectState.h)
    QString FName;
    int32_t FID = 0;
    TRect FRect;
    TRoomType FRoomType = TRoomType::rtRoom;
    long double FV = 0;
    int32_t FH = 10;
    TFireProject* FParent = nullptr;
};

// ---------------------------------------------------------------------------------------
// A water source of the project. The kinds are TWSFireHydrant and TWSPier.
class TWaterSource {
public:
    TWaterSource(); // new GUID, (0, 0), no parent, not selected
    virtual ~TWaterSource() = default;
    TWaterSource(const TWaterSource&) = delete;
    TWaterSource& operator=(const TWaterSource&) = delete;

    const QString& GUID() const { return FGUID; }
    void SetGUID(const QString& AValue); // marks modified when it differs
    const QString& Name() const { return FName; }
    void SetName(const QString& AValue); // marks modified when it differs
    int32_t X() const { return FX; }
    void SetX(int32_t AValue); // when it differs: NeedRepaint and modified on the parent
    int32_t Y() const { return FY; }
    void SetY(int32_t AValue); // when it differs: NeedRepaint and modified on the parent
    TFireProject* Parent() const { return FParent; }
    // When it differs: marks the old parent modified, stores, marks the new one modified.
    void SetParent(TFireProject* AParent);

    // Distance in metres from (X, Y) to the centre of the parent's GetAllRoomsRect, the
    // pixel distance rounded to whole pixels before scaling; 0 without a parent.
    long double GetDistance() const;

    // Half side of the hit square in pixels; 0 for a source that is never hit.
    virtual int32_t HitHalfSide() const { return 0; }

    bool Selected = false;

protected:
    friend struct TProjectStateAccess; // snapshots for undo (uProjectState.h)
    void MarkModified();

    QString FGUID;
    QString FName;
    int32_t FX = 0;
    int32_t FY = 0;
    TFireProject* FParent = nullptr;
};

// A fire hydrant (kind 0 in the project file).
class TWSFireHydrant : public TWaterSource {
public:
    int32_t HitHalfSide() const override { return 10; }
};

// A pier for fire engines (kind 1 in the project file) with its water volume.
class TWSPier : public TWaterSource {
public:
    long double V() const { return FV; }
    void SetV(long double AValue); // marks modified when it differs
    int32_t HitHalfSide() const override { return 20; }

private:
    friend struct TProjectStateAccess; // snapshots for undo (uProjectState.h)
    long double FV = 0;
};

// ---------------------------------------------------------------------------------------
// One open project: plan canvas, optional background picture, scale, zones and water
// sources. A newly constructed project counts as modified.
class TFireProject {
public:
    TFireProject();
    ~TFireProject();
    TFireProject(const TFireProject&) = delete;
    TFireProject& operator=(const TFireProject&) = delete;

    // --- scale: metres per plan pixel; <= 0 means no scale ---
    long double px() const { return Fpx; }
    // Stores the scale, recomputes V of every zone, marks modified.
    void Setpx(long double AValue);
    // Pixels to metres: Round(Value·px·10)/10 (ties to even) when px > 0, else Value.
    long double ScaledValue(long double Value) const;
    // Metres to whole pixels: Round(Value/px) when px > 0, else Round(Value).
    int32_t UnscaledValue(long double Value) const;

    // --- zones; Rooms is the search order of every lookup ---
    std::vector<std::unique_ptr<TRoom>> Rooms;
    const std::vector<std::unique_ptr<TRoom>>& GetRooms() const { return Rooms; }
    int32_t RoomsNum = 0; // zone numbers issued so far; the next zone gets RoomsNum + 1

    // Adds the zone spanned by the two corners. Answers its new ID, or -1 for a zero width
    // or height, a corner outside the plan limits or when every zone number has been
    // issued (RoomsNum at the 32-bit maximum) - then nothing changes - or for a collision
    // with an existing zone (the project is still marked modified, as the discarded zone
    // was created).
    int32_t AddRoom(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Removes the zone at list position Index (not a zone ID); marks modified; a position
    // outside the list is ignored.
    void DeleteRoom(int32_t Index);
    void DeleteSelectedRooms();
    TRoom* GetRoom(int32_t ID) const;          // by zone ID; nullptr if none
    int32_t GetRoomByID(int32_t ID) const;     // list position of that zone ID, or -1
    int32_t GetRoomsCount() const { return static_cast<int32_t>(Rooms.size()); }
    int32_t GetRoomIDByCoord(int32_t x, int32_t y) const; // all four edges included
    int32_t SelectRoomByCoord(int32_t x, int32_t y);      // toggles; ID or -1
    void DeselectAllRooms();
    // Whether r collides with any zone whose ID differs from ExcludeID (-1: none).
    bool CollidesWithRooms(const TRect& r, int32_t ExcludeID) const;

    // Moves zone RoomID by (aX, aY); each axis is blocked separately by a collision unless
    // CollapseIgnore, and always by a shift that would take a side or one of the zone's
    // sensors (which move with it) beyond the plan limits.
    // When each axis is free alone but the diagonal shift would run into a zone's corner,
    // the vertical axis is blocked so zones never overlap. MovedX/MovedY tell which axes
    // were free. Doors into zones that stop being adjacent are deleted. Answers whether the
    // zone moved. A missing zone answers false with both axes blocked.
    bool MoveRoom(int32_t RoomID, int32_t aX, int32_t aY, bool& MovedX, bool& MovedY, bool CollapseIgnore);
    void MoveSelectedRooms(int32_t aX, int32_t aY, bool& MovedX, bool& MovedY, bool CollapseIgnore);
    // Adds the deltas to the four sides; refused on a collision, when a door no longer
    // fits its wall, when the width or height would not stay positive, or when a side or a
    // sensor (which keeps its place relative to the top-left corner) would leave the plan
    // limits. No normalisation.
    bool IncRoomSize(int32_t RoomID, int32_t aLeft, int32_t aTop, int32_t aRight, int32_t aBottom);
    // Right = Left + AWidth, Bottom = Top + AHeight; refused as IncRoomSize.
    bool SetRoomSize(TRoom* ARoom, int32_t AWidth, int32_t AHeight);

    // Whether the point lies on the zone's edge or on the line one pixel inside it. A
    // missing zone answers false.
    bool IsDotOnLeftSide(int32_t RoomID, int32_t x, int32_t y) const;
    bool IsDotOnRightSide(int32_t RoomID, int32_t x, int32_t y) const;
    bool IsDotOnTopSide(int32_t RoomID, int32_t x, int32_t y) const;
    bool IsDotOnBottomSide(int32_t RoomID, int32_t x, int32_t y) const;

    // On which wall of Room2 the zone Room1 lies one pixel apart; SideRect receives that
    // wall's segment, (0,0,0,0) for wtNone.
    TWallType IsNearRooms(const TRoom* Room1, const TRoom* Room2, TRect& SideRect) const;
    TWallType IsNearRooms(const TRoom* Room1, const TRoom* Room2) const;
    // Every zone adjacent to Room, in list order (not owned by the list); empty for nullptr.
    std::vector<TRoom*> GetNearRooms(const TRoom* Room) const;
    // Bounding rectangle of all zones; (0,0,0,0) without zones.
    TRect GetAllRoomsRect() const;
    int32_t GetSensorsCount() const;

    // Always false: zone merging is not provided.
    bool MergeRooms(TRoom* Room1, TRoom* Room2, bool Unmerge);

    // --- background picture (not stored in the project file) ---
    // Loads a .bmp, .jpg or .png picture (extension compared in lower case) and takes its
    // size as the plan size. A picture larger than the plan limits is refused. The current
    // picture is released first, so on false the project has none; error (if given) then
    // receives a short reason.
    bool SetBackgroundImage(const QString& Path, QString* error = nullptr);
    const QImage* GetBackgroundImage() const { return FBackgroundImage.get(); }

    bool Modified() const { return FModified; }
    void SetModified(bool AModified) { FModified = AModified; }

    // Stores the four flags and resets OffsetPos; does not mark modified.
    void SetPaintParams(bool ShowRoomInfo, bool ColoredRooms, bool ShowScale, bool TransparentRooms);

    // --- levels and hydrant network (carried, not used by any command) ---
    int32_t LevelsCount() const { return FLevelsCount; }
    void SetLevelsCount(int32_t AValue);  // marks modified when it differs
    int32_t ActiveLevel() const { return FActiveLevel; }
    void SetActiveLevel(int32_t AValue);  // value in 1..LevelsCount, else 1; marks modified
    long double HydrantNetDiameter() const { return FHydrantNetDiameter; }
    void SetHydrantNetDiameter(long double AValue);
    long double HydrantNetPressure() const { return FHydrantNetPressure; }
    void SetHydrantNetPressure(long double AValue);
    THydrantNetType HydrantNetType() const { return FHydrantNetType; }
    void SetHydrantNetType(THydrantNetType AValue);
    TRoomsConnectionsMatrix& RoomsConnectionsMatrix() { return FRoomsConnectionsMatrix; }

    // --- doors across zones ---
    // False for an empty GUID; otherwise removes the first door with that GUID in any zone.
    bool DeleteDoor(const QString& GUID);
    TDoor* GetDoor(const QString& GUID) const;
    QString GetDoorGUIDByCoord(int32_t X, int32_t Y) const; // Rect, edges included
    // Lights every door with that GUID and darkens all others; true if GUID is empty or found.
    bool SetLigthedDoor(const QString& GUID);
    TWallType GetWallSideByCoord(int32_t X, int32_t Y) const;

    // --- water sources ---
    const std::vector<std::unique_ptr<TWaterSource>>& WaterSources() const { return FWaterSources; }
    // Takes ownership, sets its parent, marks modified, answers its GUID.
    QString AddWaterSource(std::unique_ptr<TWaterSource> WaterSource);
    bool DeleteWaterSource(const QString& GUID);
    TWaterSource* GetWaterSourceByCoord(int32_t X, int32_t Y) const;

    // --- project file (binary .fsp); defined in uProjectFile.cpp, full contract in uProjectFile.h ---
    // Writes through a temporary file that replaces the target only when complete; true and
    // the modified flag cleared on success, false with *error on any file error.
    bool SaveToFile(const QString& fileName, QString* error = nullptr);
    // Fills this freshly constructed, empty project; true and not modified on success. On
    // false (*error says why) the project has no zones or water sources but may hold header
    // values from the file: the caller discards it. Never reads past the end of the file.
    bool LoadFromFile(const QString& fileName, QString* error = nullptr);

    // --- plan rendering; defined in uPaintRooms.cpp ---
    // Draws the whole plan into image, copies it into buffer, clears NeedRepaint.
    void PaintRooms(QImage& buffer);
    // Draws the part of the plan `view` shows at its zoom (uPlanCanvas.h) into a picture
    // of view.Size, leaving out what lies outside it; the whole plan for the default view,
    // pixel for pixel as PaintRooms(buffer). Zoomed out, lines keep a pixel and texts
    // under 3 pixels are left out. The model is not changed (beyond NeedRepaint and each
    // door's derived Rect, as every repaint does).
    void PaintRooms(QImage& buffer, const TPlanView& view);
    // Draws one door or window; the result carries no meaning.
    bool PaintDoor(QPainter& canvas, TDoor* Door, const QColor& LightingColor, const QColor& PenColor);

    QImage image; // the renderer's own bitmap
    QString Name;
    bool NeedRepaint = false;
    int32_t Width = 0;
    int32_t Height = 0;
    bool ShowBackgroundImage = true;
    TPaintParams PaintParams;

private:
    friend struct TProjectStateAccess; // snapshots for undo (uProjectState.h)
    long double Fpx = -1;
    std::vector<std::unique_ptr<TWaterSource>> FWaterSources;
    int32_t FLevelsCount = 0;
    int32_t FActiveLevel = 1;
    bool FModified = true;
    std::unique_ptr<QImage> FBackgroundImage;
    long double FHydrantNetDiameter = 0;
    long double FHydrantNetPressure = 0;
    THydrantNetType FHydrantNetType = THydrantNetType::htCircular;
    TRoomsConnectionsMatrix FRoomsConnectionsMatrix;
};
