// Value snapshots of an open project, for undoing and redoing edits. A snapshot holds
// everything the project file and the results file keep and everything the program
// computes with (every zone with its record, its last runs, its sensors and doors, the
// water sources, the plan header and the background picture), but no view state: which
// zones, sensors and doors are selected or lit is the window's business.
//
// Snapshots are built from shared, immutable parts (a zone's scalars, its record, its
// runs, its sensor list, its door list, the header, the water sources). A capture taken
// with the previous capture at hand shares every part that has not changed since, so a
// capture after an edit costs the memory of what the edit changed, and whether anything
// changed at all is a comparison of pointers.
#pragma once

#include "uCalcRecord.h"
#include "uFireClasses.h"
#include "uZoneRuns.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// One sensor, every field but the selection.
struct TSensorState {
    QString GUID;
    QString Name;
    TPoint Pos; // relative to the zone's top-left corner
    int32_t SensorSize = 10;
    int32_t Range = 20;
    bool Activated = false;
    int32_t TimeLeft = 0;
    long double Critical1 = 0;
    long double Critical2 = 0;
    long double Critical3 = 0;
    long double Height = 0;
    TSensorType SensorType = TSensorType::stTemperature;
    QString NearestSensorL;
    QString NearestSensorT;
    QString NearestSensorB;
    QString NearestSensorR;
    QString NearestSensor;
};

// One door or window, every field but the selection and the lighting.
struct TDoorState {
    QString GUID;
    int32_t StartPos = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t OutRoom = -1;
    bool IsWindow = false;
    TWallType Wall = TWallType::wtNone;
    TRect Rect;
    bool Opened = true;
    bool Wooden = false;
    bool IsFake = false;
    TDoorOrientation Orientation = TDoorOrientation::doRight;
};

using TSensorStates = std::vector<TSensorState>;
using TDoorStates = std::vector<TDoorState>;

// One zone: its own fields, and its record, runs, sensors and doors as shared parts.
struct TZoneState {
    QString Name;
    int32_t ID = 0;
    TRect Rect;
    TRoomType RoomType = TRoomType::rtRoom;
    long double V = 0;
    int32_t H = 0;
    TColor Color = 0;
    int32_t DoorsCount = 0;
    int32_t DoorsLeftCount = 0;
    int32_t DoorsRightCount = 0;
    int32_t DoorsTopCount = 0;
    int32_t DoorsBottomCount = 0;
    std::shared_ptr<const TCalcParamsOrvann> CP;
    std::shared_ptr<const TZoneRuns> Runs;
    std::shared_ptr<const TSensorStates> Sensors;
    std::shared_ptr<const TDoorStates> Doors;
};

// One water source; Pier tells the kind (V is the pier's).
struct TWaterSourceState {
    bool Pier = false;
    QString GUID;
    QString Name;
    int32_t X = 0;
    int32_t Y = 0;
    long double V = 0;
};

using TWaterSourceStates = std::vector<TWaterSourceState>;

// The plan header: what the project holds besides its zones and water sources.
struct TProjectHeaderState {
    QString Name;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t RoomsNum = 0;
    long double px = -1;
    int32_t LevelsCount = 0;
    int32_t ActiveLevel = 1;
    long double HydrantNetDiameter = 0;
    long double HydrantNetPressure = 0;
    THydrantNetType HydrantNetType = THydrantNetType::htCircular;
    QImage Background; // null: none (shares the project's picture, no copy of its pixels)
    TRoomsConnectionsMatrix RoomsConnections;
};

// A whole project. A default-constructed state is empty (no project captured).
struct TProjectState {
    std::shared_ptr<const TProjectHeaderState> Header;
    std::vector<std::shared_ptr<const TZoneState>> Zones; // in the project's zone order
    std::shared_ptr<const TWaterSourceStates> WaterSources;

    bool Empty() const { return !Header; }
    // Whether the two hold the very same parts. Two captures of one project, the second
    // taken with the first as `previous`, are the same exactly when nothing changed.
    bool SameAs(const TProjectState& other) const;
    // The zones whose parts differ from those of `other` at the same place, plus zones only
    // one of them has; for naming and for tests.
    int32_t ZonesChangedFrom(const TProjectState& other) const;
};

// Captures `project`. Every part equal to the part `previous` (a capture of the same
// project, or nullptr) holds for it is shared instead of copied; reals are compared bit
// for bit, so a record holding a NaN still counts as unchanged. A zone is matched with
// the previous capture's zone at the same place or, failing that, of the same ID.
TProjectState CaptureProjectState(const TFireProject& project, const TProjectState* previous = nullptr);

// Makes `project` hold exactly `target`: saved again, it gives the very bytes the project
// gave when `target` was captured, and every zone, sensor and door keeps its identity.
// `current` must be a capture of the project as it is now (the last capture taken or
// restored); zones whose state `target` shares with it are left alone, so pointers to
// them and to their sensors stay valid, as do zones restored in place (matched by ID).
// Pointers to zones that go, and to sensors and doors of zones whose lists change, are no
// longer valid. Selection flags are left to the caller; the modified flag keeps the value
// it had. An empty target changes nothing.
void RestoreProjectState(TFireProject& project, const TProjectState& target, const TProjectState& current);
