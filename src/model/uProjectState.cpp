// Project snapshots: capture with sharing of unchanged parts, comparison bit for bit, and
// restoration that reuses every zone it can.
#include "uProjectState.h"

#include "uCalcRecordJson.h"

#include <QHash>
#include <cfloat>
#include <cstring>
#include <unordered_map>

// The model's private fields, for this unit only: a snapshot must put back values the
// public setters would refuse, clamp or recompute (a door wider than its wall or higher
// than its zone as a loaded file may hold them, the volume and the scale as stored).
struct TProjectStateAccess {
    static TSensorState Capture(const TSensor& s)
    {
        TSensorState st;
        st.GUID = s.FGUID;
        st.Name = s.FName;
        st.Pos = s.FPos;
        st.SensorSize = s.SensorSize;
        st.Range = s.FRange;
        st.Activated = s.FActivated;
        st.TimeLeft = s.FTimeLeft;
        st.Critical1 = s.FCritical1;
        st.Critical2 = s.FCritical2;
        st.Critical3 = s.FCritical3;
        st.Height = s.FHeight;
        st.SensorType = s.SensorType;
        st.NearestSensorL = s.NearestSensorL;
        st.NearestSensorT = s.NearestSensorT;
        st.NearestSensorB = s.NearestSensorB;
        st.NearestSensorR = s.NearestSensorR;
        st.NearestSensor = s.NearestSensor;
        return st;
    }
    static bool Same(const TSensor& s, const TSensorState& st);
    static std::unique_ptr<TSensor> Make(TRoom& room, const TSensorState& st)
    {
        auto s = std::make_unique<TSensor>(&room);
        s->FGUID = st.GUID;
        s->FName = st.Name;
        s->FPos = st.Pos;
        s->SensorSize = st.SensorSize;
        s->FRange = st.Range;
        s->FActivated = st.Activated;
        s->FTimeLeft = st.TimeLeft;
        s->FCritical1 = st.Critical1;
        s->FCritical2 = st.Critical2;
        s->FCritical3 = st.Critical3;
        s->FHeight = st.Height;
        s->SensorType = st.SensorType;
        s->NearestSensorL = st.NearestSensorL;
        s->NearestSensorT = st.NearestSensorT;
        s->NearestSensorB = st.NearestSensorB;
        s->NearestSensorR = st.NearestSensorR;
        s->NearestSensor = st.NearestSensor;
        return s;
    }

    static TDoorState Capture(const TDoor& d)
    {
        TDoorState st;
        st.GUID = d.FGUID;
        st.StartPos = d.FStartPos;
        st.Width = d.FWidth;
        st.Height = d.FHeight;
        st.OutRoom = d.FOutRoom;
        st.IsWindow = d.FIsWindow;
        st.Wall = d.FWall;
        st.Rect = d.FRect;
        st.Opened = d.FOpened;
        st.Wooden = d.FWooden;
        st.IsFake = d.FIsFake;
        st.Orientation = d.FOrientation;
        return st;
    }
    static bool Same(const TDoor& d, const TDoorState& st)
    {
        return d.FGUID == st.GUID && d.FStartPos == st.StartPos && d.FWidth == st.Width
            && d.FHeight == st.Height && d.FOutRoom == st.OutRoom && d.FIsWindow == st.IsWindow
            && d.FWall == st.Wall && d.FRect == st.Rect && d.FOpened == st.Opened && d.FWooden == st.Wooden
            && d.FIsFake == st.IsFake && d.FOrientation == st.Orientation;
    }
    static std::unique_ptr<TDoor> Make(TRoom& room, const TDoorState& st)
    {
        auto d = std::make_unique<TDoor>(st.GUID, st.IsFake);
        d->FParent = &room;
        d->FStartPos = st.StartPos;
        d->FWidth = st.Width;
        d->FHeight = st.Height;
        d->FOutRoom = st.OutRoom;
        d->FIsWindow = st.IsWindow;
        d->FWall = st.Wall;
        d->FRect = st.Rect;
        d->FOpened = st.Opened;
        d->FWooden = st.Wooden;
        d->FOrientation = st.Orientation;
        return d;
    }

    static bool SameScalars(const TRoom& r, const TZoneState& st);
    static void CaptureScalars(const TRoom& r, TZoneState& st)
    {
        st.Name = r.FName;
        st.ID = r.FID;
        st.Rect = r.FRect;
        st.RoomType = r.FRoomType;
        st.V = r.FV;
        st.H = r.FH;
        st.Color = r.Color;
        st.DoorsCount = r.DoorsCount;
        st.DoorsLeftCount = r.DoorsLeftCount;
        st.DoorsRightCount = r.DoorsRightCount;
        st.DoorsTopCount = r.DoorsTopCount;
        st.DoorsBottomCount = r.DoorsBottomCount;
    }
    static void RestoreScalars(TRoom& r, const TZoneState& st)
    {
        r.FName = st.Name;
        r.FID = st.ID;
        r.FRect = st.Rect;
        r.FRoomType = st.RoomType;
        r.FV = st.V;
        r.FH = st.H;
        r.Color = st.Color;
        r.DoorsCount = st.DoorsCount;
        r.DoorsLeftCount = st.DoorsLeftCount;
        r.DoorsRightCount = st.DoorsRightCount;
        r.DoorsTopCount = st.DoorsTopCount;
        r.DoorsBottomCount = st.DoorsBottomCount;
    }

    static TProjectHeaderState CaptureHeader(const TFireProject& p)
    {
        TProjectHeaderState h;
        h.Name = p.Name;
        h.Width = p.Width;
        h.Height = p.Height;
        h.RoomsNum = p.RoomsNum;
        h.px = p.Fpx;
        h.LevelsCount = p.FLevelsCount;
        h.ActiveLevel = p.FActiveLevel;
        h.HydrantNetDiameter = p.FHydrantNetDiameter;
        h.HydrantNetPressure = p.FHydrantNetPressure;
        h.HydrantNetType = p.FHydrantNetType;
        if (p.FBackgroundImage)
            h.Background = *p.FBackgroundImage;
        h.RoomsConnections = p.FRoomsConnectionsMatrix;
        return h;
    }
    static bool SameHeader(const TFireProject& p, const TProjectHeaderState& h);
    static void RestoreHeader(TFireProject& p, const TProjectHeaderState& h)
    {
        p.Name = h.Name;
        p.Width = h.Width;
        p.Height = h.Height;
        p.RoomsNum = h.RoomsNum;
        p.Fpx = h.px;
        p.FLevelsCount = h.LevelsCount;
        p.FActiveLevel = h.ActiveLevel;
        p.FHydrantNetDiameter = h.HydrantNetDiameter;
        p.FHydrantNetPressure = h.HydrantNetPressure;
        p.FHydrantNetType = h.HydrantNetType;
        const qint64 key = p.FBackgroundImage ? p.FBackgroundImage->cacheKey() : 0;
        if (h.Background.isNull())
            p.FBackgroundImage.reset();
        else if (key != h.Background.cacheKey())
            p.FBackgroundImage = std::make_unique<QImage>(h.Background);
        p.FRoomsConnectionsMatrix = h.RoomsConnections;
    }

    static TWaterSourceStates CaptureWaterSources(const TFireProject& p)
    {
        TWaterSourceStates list;
        list.reserve(p.FWaterSources.size());
        for (const auto& ws : p.FWaterSources) {
            TWaterSourceState st;
            const auto* pier = dynamic_cast<const TWSPier*>(ws.get());
            st.Pier = pier != nullptr;
            st.GUID = ws->FGUID;
            st.Name = ws->FName;
            st.X = ws->FX;
            st.Y = ws->FY;
            st.V = pier ? pier->FV : 0;
            list.push_back(std::move(st));
        }
        return list;
    }
    static bool SameWaterSources(const TFireProject& p, const TWaterSourceStates& list);
    static void RestoreWaterSources(TFireProject& p, const TWaterSourceStates& list)
    {
        p.FWaterSources.clear();
        for (const TWaterSourceState& st : list) {
            std::unique_ptr<TWaterSource> ws;
            if (st.Pier) {
                auto pier = std::make_unique<TWSPier>();
                pier->FV = st.V;
                ws = std::move(pier);
            } else {
                ws = std::make_unique<TWSFireHydrant>();
            }
            ws->FGUID = st.GUID;
            ws->FName = st.Name;
            ws->FX = st.X;
            ws->FY = st.Y;
            ws->FParent = &p;
            p.FWaterSources.push_back(std::move(ws));
        }
    }
};

namespace {

// Reals are compared by their bits: a NaN equals the same NaN, and 0 and −0 differ, as
// they would in the files.
bool SameBits(long double a, long double b)
{
#if LDBL_MANT_DIG == 64
    constexpr size_t Significant = 10; // the x87 format; the rest of the object is padding
#else
    constexpr size_t Significant = sizeof(long double);
#endif
    return std::memcmp(&a, &b, Significant) == 0;
}

bool SameLoad(const TFireLoad& a, const TFireLoad& b)
{
    if (a.Id != b.Id || a.ListId != b.ListId || a.Name != b.Name)
        return false;
    for (int p = 0; p < FireLoadPropertyKeys().size(); ++p)
        if (!SameBits(FireLoadProperty(a, p), FireLoadProperty(b, p)))
            return false;
    return true;
}

bool SameLoads(const std::vector<TFireLoad>& a, const std::vector<TFireLoad>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!SameLoad(a[i], b[i]))
            return false;
    return true;
}

std::vector<long double> RealsOf(const TCalcParamsOrvann& cp)
{
    std::vector<long double> reals;
    // Visiting reads only; the visitor takes references because writers use it too.
    ForEachRecordReal(const_cast<TCalcParamsOrvann&>(cp), [&](long double& v) { reals.push_back(v); });
    return reals;
}

bool SameRecord(const TCalcParamsOrvann& a, const TCalcParamsOrvann& b)
{
    if (a.value13calc != b.value13calc || a.param06calc != b.param06calc || a.param07calc != b.param07calc
        || a.param08calc != b.param08calc || a.method != b.method || a.tbl_time != b.tbl_time
        || a.tbl_stop != b.tbl_stop || a.CalculatedVOP != b.CalculatedVOP
        || a.CalculatedNSP != b.CalculatedNSP || a.CalculatedFL != b.CalculatedFL
        || a.DebugMode != b.DebugMode || a.FLNames != b.FLNames || a.CSensor != b.CSensor
        || a.ManualL != b.ManualL || a.BOSClass != b.BOSClass || a.BOSClassText != b.BOSClassText
        || a.FireLoads.size() != b.FireLoads.size() || a.tbl.size() != b.tbl.size())
        return false;
    for (size_t i = 0; i < a.tbl.size(); ++i)
        if (a.tbl[i].size() != b.tbl[i].size())
            return false;
    for (size_t i = 0; i < a.FireLoads.size(); ++i)
        if (a.FireLoads[i].Id != b.FireLoads[i].Id || a.FireLoads[i].ListId != b.FireLoads[i].ListId
            || a.FireLoads[i].Name != b.FireLoads[i].Name)
            return false;
    if (!SameLoad(a.FLFinal, b.FLFinal))
        return false;
    // Every real: the record's own, the fire loads' and the table's, in one order.
    const std::vector<long double> ra = RealsOf(a), rb = RealsOf(b);
    if (ra.size() != rb.size())
        return false;
    for (size_t i = 0; i < ra.size(); ++i)
        if (!SameBits(ra[i], rb[i]))
            return false;
    return true;
}

bool SameValues(const TCalcDialogValues& a, const TCalcDialogValues& b)
{
    return a.edtParam1 == b.edtParam1 && a.edtParam3 == b.edtParam3 && SameBits(a.seParam2, b.seParam2)
        && SameBits(a.seParam4, b.seParam4) && SameBits(a.seParam10, b.seParam10)
        && SameBits(a.seParam11, b.seParam11) && SameBits(a.seParam12, b.seParam12)
        && SameBits(a.seParam13, b.seParam13) && SameBits(a.seParam14, b.seParam14)
        && SameBits(a.seParam15, b.seParam15) && SameBits(a.seParam16, b.seParam16)
        && SameBits(a.seValue11, b.seValue11) && a.method == b.method && a.BOSClass == b.BOSClass
        && a.cbDebug == b.cbDebug && SameLoads(a.FireLoads, b.FireLoads)
        && SameLoad(a.FireLoadFinal, b.FireLoadFinal) && SameBits(a.value13, b.value13)
        && a.value13calc == b.value13calc && a.FLFinal_param06calc == b.FLFinal_param06calc
        && a.FLFinal_param07calc == b.FLFinal_param07calc && a.FLFinal_param08calc == b.FLFinal_param08calc
        && a.ZeroTotal == b.ZeroTotal;
}

bool SameRun(const std::optional<TZoneRun>& a, const std::optional<TZoneRun>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    if (!a)
        return true;
    return a->Run == b->Run && SameValues(a->Values, b->Values) && a->Announcement == b->Announcement
        && SameBits(a->Outcome, b->Outcome) && SameBits(a->Height, b->Height)
        && SameBits(a->Volume, b->Volume) && a->Width == b->Width && a->Depth == b->Depth;
}

bool SameRuns(const TZoneRuns& a, const TZoneRuns& b)
{
    return SameRun(a.VOP, b.VOP) && SameRun(a.NSP, b.NSP) && SameRun(a.FL, b.FL);
}

} // namespace

bool TProjectStateAccess::Same(const TSensor& s, const TSensorState& st)
{
    return s.FPos == st.Pos && s.FGUID == st.GUID && s.FName == st.Name && s.SensorSize == st.SensorSize
        && s.FRange == st.Range && s.FActivated == st.Activated && s.FTimeLeft == st.TimeLeft
        && SameBits(s.FCritical1, st.Critical1) && SameBits(s.FCritical2, st.Critical2)
        && SameBits(s.FCritical3, st.Critical3) && SameBits(s.FHeight, st.Height)
        && s.SensorType == st.SensorType && s.NearestSensor == st.NearestSensor
        && s.NearestSensorL == st.NearestSensorL && s.NearestSensorT == st.NearestSensorT
        && s.NearestSensorB == st.NearestSensorB && s.NearestSensorR == st.NearestSensorR;
}

bool TProjectStateAccess::SameScalars(const TRoom& r, const TZoneState& st)
{
    return r.FID == st.ID && r.FRect == st.Rect && r.FH == st.H && SameBits(r.FV, st.V) && r.FName == st.Name
        && r.FRoomType == st.RoomType && r.Color == st.Color && r.DoorsCount == st.DoorsCount
        && r.DoorsLeftCount == st.DoorsLeftCount && r.DoorsRightCount == st.DoorsRightCount
        && r.DoorsTopCount == st.DoorsTopCount && r.DoorsBottomCount == st.DoorsBottomCount;
}

bool TProjectStateAccess::SameHeader(const TFireProject& p, const TProjectHeaderState& h)
{
    const qint64 key = p.FBackgroundImage ? p.FBackgroundImage->cacheKey() : 0;
    const qint64 was = h.Background.isNull() ? 0 : h.Background.cacheKey();
    return p.Name == h.Name && p.Width == h.Width && p.Height == h.Height && p.RoomsNum == h.RoomsNum
        && SameBits(p.Fpx, h.px) && p.FLevelsCount == h.LevelsCount && p.FActiveLevel == h.ActiveLevel
        && SameBits(p.FHydrantNetDiameter, h.HydrantNetDiameter)
        && SameBits(p.FHydrantNetPressure, h.HydrantNetPressure) && p.FHydrantNetType == h.HydrantNetType
        && key == was && p.FRoomsConnectionsMatrix == h.RoomsConnections;
}

bool TProjectStateAccess::SameWaterSources(const TFireProject& p, const TWaterSourceStates& list)
{
    if (p.FWaterSources.size() != list.size())
        return false;
    for (size_t i = 0; i < list.size(); ++i) {
        const TWaterSource& ws = *p.FWaterSources[i];
        const TWaterSourceState& st = list[i];
        const auto* pier = dynamic_cast<const TWSPier*>(&ws);
        if ((pier != nullptr) != st.Pier || ws.FGUID != st.GUID || ws.FName != st.Name || ws.FX != st.X
            || ws.FY != st.Y || (pier && !SameBits(pier->FV, st.V)))
            return false;
    }
    return true;
}

namespace {

using TAccess = TProjectStateAccess;

// The state of `room`, sharing with `was` (a capture of the same zone, or nullptr) every
// part that is unchanged; `was` itself when nothing changed.
std::shared_ptr<const TZoneState> ZoneStateOf(const TRoom& room, const std::shared_ptr<const TZoneState>& was)
{
    const bool scalars = was && TAccess::SameScalars(room, *was);
    const bool record = was && SameRecord(room.CP, *was->CP);
    const bool runs = was && SameRuns(room.Runs, *was->Runs);
    bool sensors = was && was->Sensors->size() == room.Sensors.size();
    for (size_t i = 0; sensors && i < room.Sensors.size(); ++i)
        sensors = TAccess::Same(*room.Sensors[i], (*was->Sensors)[i]);
    bool doors = was && was->Doors->size() == room.Doors.size();
    for (size_t i = 0; doors && i < room.Doors.size(); ++i)
        doors = TAccess::Same(*room.Doors[i], (*was->Doors)[i]);
    if (scalars && record && runs && sensors && doors)
        return was;

    auto st = std::make_shared<TZoneState>();
    TAccess::CaptureScalars(room, *st);
    st->CP = record ? was->CP : std::make_shared<const TCalcParamsOrvann>(room.CP);
    st->Runs = runs ? was->Runs : std::make_shared<const TZoneRuns>(room.Runs);
    if (sensors) {
        st->Sensors = was->Sensors;
    } else {
        auto list = std::make_shared<TSensorStates>();
        list->reserve(room.Sensors.size());
        for (const auto& s : room.Sensors)
            list->push_back(TAccess::Capture(*s));
        st->Sensors = std::move(list);
    }
    if (doors) {
        st->Doors = was->Doors;
    } else {
        auto list = std::make_shared<TDoorStates>();
        list->reserve(room.Doors.size());
        for (const auto& d : room.Doors)
            list->push_back(TAccess::Capture(*d));
        st->Doors = std::move(list);
    }
    return st;
}

// Puts the zone's state into `room`, replacing only the parts that differ from `was`
// (the state the room holds now, or nullptr for a fresh room).
void ApplyZoneState(TRoom& room, const TZoneState& st, const TZoneState* was)
{
    TAccess::RestoreScalars(room, st);
    if (!was || was->CP != st.CP)
        room.CP = *st.CP;
    if (!was || was->Runs != st.Runs)
        room.Runs = *st.Runs;
    if (!was || was->Sensors != st.Sensors) {
        room.Sensors.clear();
        room.Sensors.reserve(st.Sensors->size());
        for (const TSensorState& s : *st.Sensors)
            room.Sensors.push_back(TAccess::Make(room, s));
    }
    if (!was || was->Doors != st.Doors) {
        room.Doors.clear();
        room.Doors.reserve(st.Doors->size());
        for (const TDoorState& d : *st.Doors)
            room.Doors.push_back(TAccess::Make(room, d));
    }
}

} // namespace

bool TProjectState::SameAs(const TProjectState& other) const
{
    return Header == other.Header && WaterSources == other.WaterSources && Zones == other.Zones;
}

int32_t TProjectState::ZonesChangedFrom(const TProjectState& other) const
{
    int32_t changed = 0;
    const size_t common = std::min(Zones.size(), other.Zones.size());
    for (size_t i = 0; i < common; ++i)
        changed += Zones[i] != other.Zones[i];
    return changed + int32_t(std::max(Zones.size(), other.Zones.size()) - common);
}

TProjectState CaptureProjectState(const TFireProject& project, const TProjectState* previous)
{
    TProjectState st;
    const bool havePrevious = previous && !previous->Empty();
    if (havePrevious && TAccess::SameHeader(project, *previous->Header))
        st.Header = previous->Header;
    else
        st.Header = std::make_shared<const TProjectHeaderState>(TAccess::CaptureHeader(project));
    if (havePrevious && TAccess::SameWaterSources(project, *previous->WaterSources))
        st.WaterSources = previous->WaterSources;
    else
        st.WaterSources = std::make_shared<const TWaterSourceStates>(TAccess::CaptureWaterSources(project));

    // The previous zones by ID, built only when a zone is not where it was.
    std::unordered_map<int32_t, size_t> byID;
    bool indexed = false;
    st.Zones.reserve(project.Rooms.size());
    for (size_t i = 0; i < project.Rooms.size(); ++i) {
        const TRoom& room = *project.Rooms[i];
        std::shared_ptr<const TZoneState> was;
        if (havePrevious) {
            if (i < previous->Zones.size() && previous->Zones[i]->ID == room.ID()) {
                was = previous->Zones[i];
            } else {
                if (!indexed) {
                    for (size_t k = previous->Zones.size(); k-- > 0;)
                        byID[previous->Zones[k]->ID] = k;
                    indexed = true;
                }
                const auto it = byID.find(room.ID());
                if (it != byID.end())
                    was = previous->Zones[it->second];
            }
        }
        st.Zones.push_back(ZoneStateOf(room, was));
    }
    return st;
}

void RestoreProjectState(TFireProject& project, const TProjectState& target, const TProjectState& current)
{
    if (target.Empty())
        return;
    const bool modified = project.Modified();

    if (current.Header != target.Header || current.Empty())
        TAccess::RestoreHeader(project, *target.Header);
    if (current.WaterSources != target.WaterSources || current.Empty())
        TAccess::RestoreWaterSources(project, *target.WaterSources);

    // The live zones, paired with their states in `current` (which lists them in order).
    std::vector<std::unique_ptr<TRoom>> live = std::move(project.Rooms);
    project.Rooms.clear();
    const bool paired = live.size() == current.Zones.size();
    std::vector<const TZoneState*> liveState(live.size(), nullptr);
    std::unordered_map<const TZoneState*, std::vector<size_t>> byState;
    std::unordered_map<int32_t, std::vector<size_t>> byID;
    for (size_t i = 0; i < live.size(); ++i) {
        if (paired) {
            liveState[i] = current.Zones[i].get();
            byState[liveState[i]].push_back(i);
        }
        byID[live[i]->ID()].push_back(i);
    }
    std::vector<bool> taken(live.size(), false);
    auto take = [&](std::vector<size_t>& candidates) -> int64_t {
        while (!candidates.empty()) {
            const size_t i = candidates.front();
            candidates.erase(candidates.begin());
            if (!taken[i]) {
                taken[i] = true;
                return int64_t(i);
            }
        }
        return -1;
    };

    // First the zones that stay as they are, then those restored in place by ID, then new
    // ones; what is left of the live zones goes.
    std::vector<std::unique_ptr<TRoom>> rooms(target.Zones.size());
    for (size_t j = 0; j < target.Zones.size(); ++j) {
        const auto it = byState.find(target.Zones[j].get());
        if (it == byState.end())
            continue;
        const int64_t i = take(it->second);
        if (i >= 0)
            rooms[j] = std::move(live[size_t(i)]);
    }
    for (size_t j = 0; j < target.Zones.size(); ++j) {
        if (rooms[j])
            continue;
        const TZoneState& st = *target.Zones[j];
        const auto it = byID.find(st.ID);
        const int64_t i = it == byID.end() ? -1 : take(it->second);
        if (i >= 0) {
            rooms[j] = std::move(live[size_t(i)]);
            ApplyZoneState(*rooms[j], st, liveState[size_t(i)]);
        } else {
            rooms[j] = std::make_unique<TRoom>(st.ID, 0, 0, 0, 0, &project);
            ApplyZoneState(*rooms[j], st, nullptr);
        }
    }
    project.Rooms = std::move(rooms);
    live.clear(); // the zones the target does not have

    project.NeedRepaint = true;
    project.SetModified(modified);
}
