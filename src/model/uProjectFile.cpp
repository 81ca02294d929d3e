// The project file: TFireProject::SaveToFile / LoadFromFile and the byte-level encoder and
// decoder behind them; see uProjectFile.h for the contract.
#include "uProjectFile.h"

#include "uBinaryCodec.h"
#include "uFireClasses.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

using namespace ProjectFileLayout;

namespace {

const char VersionText[] = "0006";
constexpr uint8_t KindHydrant = 0;
constexpr uint8_t KindPier = 1;
constexpr uint8_t MaxRoomType = static_cast<uint8_t>(TRoomType::rtStairs);
constexpr uint8_t MaxHydrantNetType = static_cast<uint8_t>(THydrantNetType::htDeadend);
constexpr uint8_t MaxWallType = static_cast<uint8_t>(TWallType::wtBottom);
constexpr uint8_t MaxSensorType = static_cast<uint8_t>(TSensorType::stUnofficial);

void SetError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

qsizetype ExpectedSize(const TFireProject& project)
{
    qsizetype size = VersionSize + HeaderSize;
    for (const auto& room : project.GetRooms())
        size += RoomSize + DoorSize * static_cast<qsizetype>(room->GetDoors().size())
            + SensorSize * static_cast<qsizetype>(room->GetSensors().size());
    for (const auto& source : project.WaterSources())
        size += WaterSourceSize + (dynamic_cast<const TWSPier*>(source.get()) ? PierExtraSize : 0);
    return size;
}

int32_t CountOf(size_t n)
{
    // Lists of a real project are far below 2^31; a count that would not fit is cut rather
    // than wrapped to a negative number.
    return n > size_t(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(n);
}

// Checks that `count` records of `recordSize` bytes can still follow; a negative count or
// one the rest of the file cannot hold fails the load before anything is created for it.
bool CheckCount(TBinaryReader& r, int32_t count, qsizetype recordSize, const char* what)
{
    if (r.Failed())
        return false;
    if (count < 0)
        return r.Fail(QStringLiteral("negative number of %1 (%2)").arg(QString::fromUtf8(what)).arg(count));
    if (static_cast<qsizetype>(count) * recordSize > r.Remaining())
        return r.Fail(QStringLiteral("%1 %2 do not fit into the %3 bytes left in the file")
                          .arg(count)
                          .arg(QString::fromUtf8(what))
                          .arg(r.Remaining()));
    return true;
}

bool CheckEnum(TBinaryReader& r, uint8_t value, uint8_t max, const char* field)
{
    if (r.Failed())
        return false;
    if (value > max)
        return r.Fail(QStringLiteral("%1 has the unknown value %2 (offset %3)")
                          .arg(QString::fromUtf8(field))
                          .arg(value)
                          .arg(r.Position() - 1));
    return true;
}

// Plan values outside the plan limits (uFireClasses.h) are refused: the editor computes
// with them in 32 bits, and only within the limits can no such sum overflow.
bool CheckPlanValue(TBinaryReader& r, int64_t value, const char* field)
{
    if (r.Failed())
        return false;
    if (!WithinPlanLimits(value))
        return r.Fail(QStringLiteral("%1 (%2) lies outside the plan limits of ±%3 pixels (before offset %4)")
                          .arg(QString::fromUtf8(field))
                          .arg(value)
                          .arg(PlanLimits::Coordinate)
                          .arg(r.Position()));
    return true;
}

bool ReadRect(TBinaryReader& r, TRect& rect, const char* field)
{
    return r.ReadInt32(rect.Left, field) && r.ReadInt32(rect.Top, field) && r.ReadInt32(rect.Right, field)
        && r.ReadInt32(rect.Bottom, field);
}

bool ReadPlanRect(TBinaryReader& r, TRect& rect, const char* field)
{
    return ReadRect(r, rect, field) && CheckPlanValue(r, rect.Left, field) && CheckPlanValue(r, rect.Top, field)
        && CheckPlanValue(r, rect.Right, field) && CheckPlanValue(r, rect.Bottom, field);
}

// Bytes of a damaged file as printable text: printable ASCII as it is, every other byte
// (and the backslash and the quote) as \xNN, so a message never carries raw bytes.
QString EscapedBytes(const QByteArray& bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\' && b != '"')
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
    }
    return text;
}

void WriteRect(TBinaryWriter& w, const TRect& rect)
{
    w.WriteInt32(rect.Left);
    w.WriteInt32(rect.Top);
    w.WriteInt32(rect.Right);
    w.WriteInt32(rect.Bottom);
}

// Looks zones up by ID, remembering the last answer: doors and sensors come zone by zone,
// so a project of 10,000 sensors needs only one list search per zone.
class TRoomFinder {
public:
    explicit TRoomFinder(TFireProject& project) : FProject(project) { }
    TRoom* Find(int32_t id)
    {
        if (!FLast || FLastID != id) {
            FLast = FProject.GetRoom(id);
            FLastID = id;
        }
        return FLast;
    }

private:
    TFireProject& FProject;
    TRoom* FLast = nullptr;
    int32_t FLastID = 0;
};

bool Decode(TFireProject& p, TBinaryReader& r)
{
    // Record 1: version.
    if (r.Remaining() < VersionSize)
        return r.Fail(QStringLiteral("the file is too short to be a project file"));
    uint8_t length = 0;
    r.ReadByte(length, "version");
    char digits[4] = {};
    for (char& c : digits) {
        uint8_t b = 0;
        r.ReadByte(b, "version");
        c = static_cast<char>(b);
    }
    if (length != 4 || QByteArray(digits, 4) != QByteArray(VersionText))
        return r.Fail(QStringLiteral("unsupported project file version \"%1\"")
                          .arg(EscapedBytes(QByteArray(digits, qMin<int>(length, 4)))));

    // Record 2: header.
    QString name;
    int32_t roomCount = 0, roomsNum = 0, width = 0, height = 0, levels = 0, activeLevel = 0, sourceCount = 0,
            sensorCount = 0;
    long double px = 0, pressure = 0, diameter = 0;
    uint8_t netType = 0;
    r.ReadShortString(name, NameCapacity, "project Name");
    r.ReadInt32(roomCount, "number of zones");
    r.ReadInt32(roomsNum, "RoomsNum");
    r.ReadInt32(width, "plan Width");
    r.ReadInt32(height, "plan Height");
    r.ReadExtended(px, "scale px");
    r.ReadInt32(levels, "LevelsCount");
    r.ReadInt32(activeLevel, "ActiveLevel");
    r.ReadInt32(sourceCount, "number of water sources");
    r.ReadExtended(pressure, "HydrantNetPressure");
    r.ReadExtended(diameter, "HydrantNetDiameter");
    r.ReadByte(netType, "HydrantNetType");
    CheckEnum(r, netType, MaxHydrantNetType, "HydrantNetType");
    r.ReadInt32(sensorCount, "number of sensors");
    if (r.Failed())
        return false;
    if (!PlanSizeWithinLimits(width, height))
        return r.Fail(QStringLiteral("the plan canvas of %1 x %2 pixels lies outside the plan limits").arg(width).arg(height));
    if (!PlanScaleWithinLimits(px))
        return r.Fail(QStringLiteral("the scale px is not a usable number of metres per pixel"));

    p.RoomsNum = roomsNum;
    p.Name = name;
    p.Width = width;
    p.Height = height;
    p.SetHydrantNetDiameter(diameter);
    p.SetHydrantNetPressure(pressure);
    p.SetHydrantNetType(static_cast<THydrantNetType>(netType));
    p.Setpx(px); // while there are no zones yet
    p.SetLevelsCount(levels);
    p.SetActiveLevel(activeLevel);

    // Records 3: zones.
    if (!CheckCount(r, roomCount, RoomSize, "zones"))
        return false;
    std::vector<int32_t> doorCounts;
    doorCounts.reserve(static_cast<size_t>(roomCount));
    int32_t highestID = 0;
    for (int32_t i = 0; i < roomCount; ++i) {
        QString roomName;
        int32_t id = 0, h = 0, doors = 0, sideCount = 0;
        TRect rect;
        float volume = 0;
        uint8_t roomType = 0;
        r.ReadShortString(roomName, NameCapacity, "zone Name");
        r.ReadInt32(id, "zone ID");
        ReadPlanRect(r, rect, "zone Rect");
        r.ReadSingle(volume, "zone V"); // information only: V is derived below
        r.ReadInt32(h, "zone H");
        CheckPlanValue(r, h, "zone H");
        r.ReadInt32(doors, "zone door count");
        for (int side = 0; side < 4; ++side)
            r.ReadInt32(sideCount, "zone wall door counter"); // recounted from the doors
        r.ReadByte(roomType, "zone RoomType");
        CheckEnum(r, roomType, MaxRoomType, "zone RoomType");
        if (!r.Failed() && doors < 0)
            r.Fail(QStringLiteral("zone %1 has a negative door count (%2)").arg(id).arg(doors));
        if (r.Failed())
            return false;

        auto room = std::make_unique<TRoom>(id, 0, 0, 0, 0, &p);
        room->SetName(roomName);
        room->SetRect(rect);
        room->SetH(h);
        room->DoorsCount = doors;
        room->DoorsLeftCount = room->DoorsRightCount = room->DoorsTopCount = room->DoorsBottomCount = 0;
        room->SetRoomType(static_cast<TRoomType>(roomType));
        highestID = std::max(highestID, room->ID());
        p.Rooms.push_back(std::move(room));
        doorCounts.push_back(doors);
    }
    // Zone numbers are never reused: a file whose RoomsNum lags behind its own zone IDs
    // would make the next new zone repeat an existing ID.
    if (p.RoomsNum < highestID)
        p.RoomsNum = highestID;

    // Records 4: doors, zone by zone.
    TRoomFinder finder(p);
    for (int32_t count : doorCounts) {
        if (!CheckCount(r, count, DoorSize, "doors"))
            return false;
        for (int32_t i = 0; i < count; ++i) {
            QString guid;
            int32_t startPos = 0, doorWidth = 0, doorHeight = 0, outRoom = 0, holderID = 0;
            bool isWindow = false, opened = false, wooden = false;
            uint8_t wall = 0;
            TRect rect;
            r.ReadShortString(guid, NameCapacity, "door GUID");
            r.ReadInt32(startPos, "door StartPos");
            CheckPlanValue(r, startPos, "door StartPos");
            r.ReadInt32(doorWidth, "door Width");
            CheckPlanValue(r, doorWidth, "door Width");
            r.ReadInt32(doorHeight, "door Height");
            CheckPlanValue(r, doorHeight, "door Height");
            r.ReadBool(isWindow, "door IsWindow");
            r.ReadInt32(outRoom, "door OutRoom");
            r.ReadInt32(holderID, "door zone ID");
            r.ReadByte(wall, "door Wall");
            CheckEnum(r, wall, MaxWallType, "door Wall");
            r.ReadBool(opened, "door Opened");
            r.ReadBool(wooden, "door Wooden");
            // Derived from the zone, StartPos and Width: recomputed before any use, and so
            // not held to the limits (an opening reaches past its zone's side).
            ReadRect(r, rect, "door Rect");
            r.Skip(1, "door reserved byte");
            if (r.Failed())
                return false;
            TRoom* holder = finder.Find(holderID);
            if (!holder)
                return r.Fail(QStringLiteral("door %1 names zone %2, which the file does not have").arg(guid).arg(holderID));

            auto door = std::make_unique<TDoor>(QString(), false);
            door->SetParent(holder);
            door->SetGUID(guid);
            door->SetStartPos(startPos);
            door->SetWidth(doorWidth);
            door->SetHeight(doorHeight);
            door->SetIsWindow(isWindow);
            door->SetOutRoom(outRoom);
            door->SetWall(static_cast<TWallType>(wall));
            door->SetOpened(opened);
            door->SetWooden(wooden);
            door->SetRect(rect);
            holder->Doors.push_back(std::move(door));
        }
    }

    // Records 5: water sources.
    if (!CheckCount(r, sourceCount, WaterSourceSize, "water sources"))
        return false;
    for (int32_t i = 0; i < sourceCount; ++i) {
        QString guid, sourceName;
        long double distance = 0;
        int32_t x = 0, y = 0;
        uint8_t kind = 0;
        r.ReadShortString(guid, NameCapacity, "water source GUID");
        r.ReadShortString(sourceName, NameCapacity, "water source Name");
        r.ReadExtended(distance, "water source distance"); // information only
        r.ReadInt32(x, "water source X");
        CheckPlanValue(r, x, "water source X");
        r.ReadInt32(y, "water source Y");
        CheckPlanValue(r, y, "water source Y");
        r.ReadByte(kind, "water source kind");
        if (r.Failed())
            return false;
        std::unique_ptr<TWaterSource> source;
        if (kind == KindHydrant) {
            source = std::make_unique<TWSFireHydrant>();
        } else if (kind == KindPier) {
            long double volume = 0;
            if (!r.ReadExtended(volume, "pier V"))
                return false;
            auto pier = std::make_unique<TWSPier>();
            pier->SetV(volume);
            source = std::move(pier);
        } else {
            continue; // an unknown kind: the record is skipped and nothing more is read for it
        }
        source->SetGUID(guid);
        source->SetName(sourceName);
        source->SetX(x);
        source->SetY(y);
        p.AddWaterSource(std::move(source));
    }

    // Records 6: sensors, only when the rest of the file is exactly the announced number of
    // sensor records; otherwise the project is loaded without sensors.
    if (sensorCount >= 0 && static_cast<qsizetype>(sensorCount) * SensorSize == r.Remaining()) {
        for (int32_t i = 0; i < sensorCount; ++i) {
            int32_t roomID = 0;
            QString sensorName, guid;
            uint8_t type = 0;
            TPoint pos;
            long double c1 = 0, c2 = 0, c3 = 0, sensorHeight = 0;
            r.ReadInt32(roomID, "sensor zone ID");
            r.ReadShortString(sensorName, SensorNameCapacity, "sensor Name");
            r.ReadShortString(guid, NameCapacity, "sensor GUID");
            r.ReadByte(type, "sensor SensorType");
            CheckEnum(r, type, MaxSensorType, "sensor SensorType");
            r.ReadInt32(pos.X, "sensor x");
            CheckPlanValue(r, pos.X, "sensor x");
            r.ReadInt32(pos.Y, "sensor y");
            CheckPlanValue(r, pos.Y, "sensor y");
            r.ReadExtended(c1, "sensor Critical1");
            r.ReadExtended(c2, "sensor Critical2");
            r.ReadExtended(c3, "sensor Critical3");
            r.ReadExtended(sensorHeight, "sensor Height");
            if (r.Failed())
                return false;
            TRoom* room = finder.Find(roomID);
            if (!room)
                return r.Fail(QStringLiteral("sensor %1 names zone %2, which the file does not have").arg(guid).arg(roomID));
            // The model keeps positions relative to the zone's corner in 32-bit integers; a
            // damaged file could place a sensor further away than that can express.
            const TRect& zone = room->Rect();
            const int64_t dx = int64_t(pos.X) - zone.Left, dy = int64_t(pos.Y) - zone.Top;
            if (dx < INT32_MIN || dx > INT32_MAX || dy < INT32_MIN || dy > INT32_MAX)
                return r.Fail(QStringLiteral("sensor %1 lies too far from its zone %2").arg(guid).arg(roomID));
            TSensor* sensor = room->AddSensor();
            sensor->SetGUID(guid);
            sensor->SetName(sensorName);
            sensor->SensorType = static_cast<TSensorType>(type);
            sensor->SetAbsolutePos(pos);
            sensor->SetCritical1(c1);
            sensor->SetCritical2(c2);
            sensor->SetCritical3(c3);
            sensor->SetHeight(sensorHeight);
        }
    }
    return !r.Failed();
}

} // namespace

QByteArray ProjectToBytes(const TFireProject& p)
{
    TBinaryWriter w(ExpectedSize(p));
    w.WriteShortString(QString::fromLatin1(VersionText), 4);

    w.WriteShortString(p.Name, NameCapacity);
    w.WriteInt32(CountOf(p.GetRooms().size()));
    w.WriteInt32(p.RoomsNum);
    w.WriteInt32(p.Width);
    w.WriteInt32(p.Height);
    w.WriteExtended(p.px());
    w.WriteInt32(p.LevelsCount());
    w.WriteInt32(p.ActiveLevel());
    w.WriteInt32(CountOf(p.WaterSources().size()));
    w.WriteExtended(p.HydrantNetPressure());
    w.WriteExtended(p.HydrantNetDiameter());
    w.WriteByte(static_cast<uint8_t>(p.HydrantNetType()));
    w.WriteInt32(p.GetSensorsCount());

    for (const auto& room : p.GetRooms()) {
        w.WriteShortString(room->Name(), NameCapacity);
        w.WriteInt32(room->ID());
        WriteRect(w, room->Rect());
        w.WriteSingle(room->V());
        w.WriteInt32(room->H());
        w.WriteInt32(CountOf(room->GetDoors().size()));
        w.WriteInt32(room->DoorsLeftCount);
        w.WriteInt32(room->DoorsRightCount);
        w.WriteInt32(room->DoorsTopCount);
        w.WriteInt32(room->DoorsBottomCount);
        w.WriteByte(static_cast<uint8_t>(room->RoomType()));
    }

    for (const auto& room : p.GetRooms()) {
        for (const auto& door : room->GetDoors()) {
            w.WriteShortString(door->GUID(), NameCapacity);
            w.WriteInt32(door->StartPos());
            w.WriteInt32(door->Width());
            w.WriteInt32(door->Height());
            w.WriteBool(door->IsWindow());
            w.WriteInt32(door->OutRoom());
            w.WriteInt32(door->Parent() ? door->Parent()->ID() : room->ID());
            w.WriteByte(static_cast<uint8_t>(door->Wall()));
            w.WriteBool(door->Opened());
            w.WriteBool(door->Wooden());
            WriteRect(w, door->Rect());
            w.WriteByte(0);
        }
    }

    for (const auto& source : p.WaterSources()) {
        const auto* pier = dynamic_cast<const TWSPier*>(source.get());
        w.WriteShortString(source->GUID(), NameCapacity);
        w.WriteShortString(source->Name(), NameCapacity);
        w.WriteExtended(source->GetDistance());
        w.WriteInt32(source->X());
        w.WriteInt32(source->Y());
        w.WriteByte(pier ? KindPier : KindHydrant);
        if (pier)
            w.WriteExtended(pier->V());
    }

    for (const auto& room : p.GetRooms()) {
        for (const auto& sensor : room->GetSensors()) {
            const TPoint pos = sensor->AbsolutePos();
            w.WriteInt32(room->ID());
            w.WriteShortString(sensor->Name(), SensorNameCapacity);
            w.WriteShortString(sensor->GUID(), NameCapacity);
            w.WriteByte(static_cast<uint8_t>(sensor->SensorType));
            w.WriteInt32(pos.X);
            w.WriteInt32(pos.Y);
            w.WriteExtended(sensor->Critical1());
            w.WriteExtended(sensor->Critical2());
            w.WriteExtended(sensor->Critical3());
            w.WriteExtended(sensor->Height());
        }
    }
    return w.Data();
}

bool ProjectFromBytes(TFireProject& project, const QByteArray& bytes, QString* error)
{
    if (!project.GetRooms().empty() || !project.WaterSources().empty()) {
        SetError(error, QStringLiteral("a project file can only be loaded into an empty project"));
        return false;
    }
    TBinaryReader reader(bytes);
    if (!Decode(project, reader)) {
        // No half-filled plan survives a failed load.
        project.Rooms.clear();
        while (!project.WaterSources().empty())
            project.DeleteWaterSource(project.WaterSources().front()->GUID());
        SetError(error, reader.Error());
        return false;
    }
    project.NeedRepaint = true;
    project.SetModified(false);
    return true;
}

bool TFireProject::SaveToFile(const QString& fileName, QString* error)
{
    if (fileName.isEmpty()) {
        SetError(error, QStringLiteral("no file name given"));
        return false;
    }
    const QByteArray bytes = ProjectToBytes(*this);
    // The bytes go to a temporary file beside the target, which replaces the target only
    // once everything is on disk: a full disk or a crash keeps the previous project file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(error, QStringLiteral("cannot create %1: %2").arg(fileName, file.errorString()));
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        SetError(error, QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        SetError(error, QStringLiteral("cannot save %1: %2").arg(fileName, file.errorString()));
        return false;
    }
    SetModified(false);
    return true;
}

bool TFireProject::LoadFromFile(const QString& fileName, QString* error)
{
    QFile file(fileName);
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile()) {
        SetError(error, QStringLiteral("no such project file: %1").arg(fileName));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        SetError(error, QStringLiteral("cannot open %1: %2").arg(fileName, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        SetError(error, QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString()));
        return false;
    }
    return ProjectFromBytes(*this, bytes, error);
}
