// The project model's operations: zone geometry (collisions, moves, resizing, adjacency,
// edge hits), the scale and the volume, sensors, doors, water sources and the background
// picture. Nothing here shows a message.
#include "uFireClasses.h"

#include "uGeometry.h"
#include "uNumberText.h"
#include "uScale.h"

#include <QFileInfo>
#include <QImageReader>
#include <QRandomGenerator>
#include <QUuid>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

bool RectIsEmpty(const TRect& r)
{
    return r.Right <= r.Left || r.Bottom <= r.Top;
}

// The rectangle r shifted by (dx, dy), computed in 64 bits; false (and *out untouched)
// when a side would leave the plan limits.
bool ShiftedWithinLimits(const TRect& r, int64_t dx, int64_t dy, TRect* out)
{
    const int64_t l = r.Left + dx, t = r.Top + dy, rr = r.Right + dx, b = r.Bottom + dy;
    if (!RectWithinPlanLimits(l, t, rr, b))
        return false;
    *out = TRect{int32_t(l), int32_t(t), int32_t(rr), int32_t(b)};
    return true;
}

// Whether every sensor of the zone stays within the plan limits when the zone's top-left
// corner is at (left, top): sensors keep their place relative to that corner, and a file
// may hold sensors far outside their zone.
bool SensorsWithinLimits(const TRoom& room, int64_t left, int64_t top)
{
    for (const auto& s : room.Sensors)
        if (!WithinPlanLimits(left + s->Pos().X) || !WithinPlanLimits(top + s->Pos().Y))
            return false;
    return true;
}

int32_t ClampToInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Whether an opening [start, start + width) fits a wall of the rectangle r.
bool OpeningFits(const TRect& r, TWallType w, int64_t start, int64_t width)
{
    switch (w) {
    case TWallType::wtLeft:
    case TWallType::wtRight:
        return int64_t(r.Bottom) - r.Top >= start + width;
    case TWallType::wtTop:
    case TWallType::wtBottom:
        return int64_t(r.Right) - r.Left >= start + width;
    case TWallType::wtNone:
        break;
    }
    return true;
}

// Whether every door of the zone still fits its wall in rectangle r.
bool DoorsFit(const TRoom& room, const TRect& r)
{
    for (const auto& d : room.Doors)
        if (!OpeningFits(r, d->Wall(), d->StartPos(), d->Width()))
            return false;
    return true;
}

} // namespace

bool WithinPlanLimits(int64_t value)
{
    return value >= -int64_t(PlanLimits::Coordinate) && value <= PlanLimits::Coordinate;
}

bool RectWithinPlanLimits(int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    return WithinPlanLimits(left) && WithinPlanLimits(top) && WithinPlanLimits(right) && WithinPlanLimits(bottom);
}

bool PlanSizeWithinLimits(int64_t width, int64_t height)
{
    return width >= 0 && height >= 0 && width <= PlanLimits::Coordinate && height <= PlanLimits::Coordinate
        && width * height <= PlanLimits::Area;
}

bool PlanScaleWithinLimits(long double px)
{
    return std::isfinite(px) && px <= PlanLimits::Scale;
}

bool RectsCollide(const TRect& a, const TRect& b)
{
    // Widths in 64 bits: plan coordinates near the 32-bit limits must not wrap around.
    int64_t uL = a.Left, uT = a.Top, uR = a.Right, uB = a.Bottom;
    if (!RectIsEmpty(b)) {
        uL = std::min<int64_t>(uL, b.Left);
        uT = std::min<int64_t>(uT, b.Top);
        uR = std::max<int64_t>(uR, b.Right);
        uB = std::max<int64_t>(uB, b.Bottom);
    }
    if (uR <= uL || uB <= uT)
        return false;
    const int64_t aw = int64_t(a.Right) - a.Left, ah = int64_t(a.Bottom) - a.Top;
    const int64_t bw = int64_t(b.Right) - b.Left, bh = int64_t(b.Bottom) - b.Top;
    return (uR - uL) <= aw + bw && (uB - uT) <= ah + bh;
}

bool IsDotOnSegment(TPoint p, TPoint s, TPoint e)
{
    constexpr int d = 1;
    const double phi = std::atan2(double(e.Y) - s.Y, double(e.X) - s.X);
    const double c = std::cos(phi);
    const double sn = std::sin(phi);
    const double px = double(p.X) - s.X, py = double(p.Y) - s.Y;
    const double ex = double(e.X) - s.X, ey = double(e.Y) - s.Y;
    const int64_t u = RoundToInt64(px * c + py * sn);
    const int64_t v = RoundToInt64(py * c - px * sn);
    const int64_t len = RoundToInt64(ex * c + ey * sn);
    return -d < v && v < d && -d < u && u < len + d;
}

QString NewGUIDString()
{
    // A version-4 identifier in the braced upper-case form. Identifiers need to be unique,
    // not secret: Qt's global generator (seeded once from the system) is far cheaper than a
    // system call per sensor, which matters when a project with ten thousand sensors loads.
    quint32 words[4];
    QRandomGenerator::global()->fillRange(words);
    uchar bytes[16];
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<uchar>(words[i / 4] >> (8 * (i % 4)));
    bytes[6] = static_cast<uchar>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<uchar>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    static const char hex[] = "0123456789ABCDEF";
    QString text(38, Qt::Uninitialized);
    QChar* out = text.data();
    *out++ = QLatin1Char('{');
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            *out++ = QLatin1Char('-');
        *out++ = QLatin1Char(hex[bytes[i] >> 4]);
        *out++ = QLatin1Char(hex[bytes[i] & 0x0F]);
    }
    *out++ = QLatin1Char('}');
    return text;
}

// ---------------------------------------------------------------------------------------
// TSensor

TSensor::TSensor(TRoom* AParent)
    : FParent(AParent), FGUID(NewGUIDString())
{
    SetCritical1(343);
}

void TSensor::MarkModified()
{
    if (FParent)
        FParent->MarkModified();
}

void TSensor::SetName(const QString& AName)
{
    if (FName == AName)
        return;
    FName = AName;
    MarkModified();
}

TPoint TSensor::AbsolutePos() const
{
    if (!FParent)
        return FPos;
    const TRect& r = FParent->Rect();
    return TPoint{r.Left + FPos.X, r.Top + FPos.Y};
}

void TSensor::SetAbsolutePos(TPoint p)
{
    if (!FParent) {
        FPos = p;
        return;
    }
    const TRect& r = FParent->Rect();
    FPos = TPoint{p.X - r.Left, p.Y - r.Top};
}

void TSensor::SetCritical1(long double AValue)
{
    if (FCritical1 == AValue)
        return;
    FCritical1 = AValue;
    MarkModified();
}

void TSensor::SetCritical2(long double AValue)
{
    if (FCritical2 == AValue)
        return;
    FCritical2 = AValue;
    MarkModified();
}

void TSensor::SetCritical3(long double AValue)
{
    if (FCritical3 == AValue)
        return;
    FCritical3 = AValue;
    MarkModified();
}

void TSensor::SetHeight(long double AValue)
{
    if (FHeight == AValue)
        return;
    FHeight = AValue;
    MarkModified();
}

// ---------------------------------------------------------------------------------------
// TDoor

TDoor::TDoor(const QString& AGUID, bool AIsFake)
    : FGUID(AGUID), FIsFake(AIsFake)
{
}

TDoor::~TDoor()
{
    MarkModified();
}

void TDoor::MarkModified()
{
    if (FParent)
        FParent->MarkModified();
}

bool TDoor::FitsWall(TWallType w, int32_t start, int32_t width) const
{
    return !FParent || OpeningFits(FParent->Rect(), w, start, width);
}

void TDoor::SetGUID(const QString& AValue)
{
    if (FGUID == AValue)
        return;
    FGUID = AValue;
    MarkModified();
}

void TDoor::SetStartPos(int32_t AValue)
{
    if (FStartPos == AValue)
        return;
    FStartPos = AValue;
    MarkModified();
}

bool TDoor::SetWidth(int32_t AValue)
{
    if (!FitsWall(FWall, FStartPos, AValue))
        return false;
    FWidth = AValue;
    MarkModified();
    return true;
}

void TDoor::SetHeight(int32_t AValue)
{
    if (!FParent)
        return;
    FHeight = std::min(AValue, FParent->H());
    MarkModified();
}

void TDoor::SetIsWindow(bool AValue)
{
    if (FIsWindow == AValue)
        return;
    FIsWindow = AValue;
    MarkModified();
}

void TDoor::SetWall(TWallType AValue)
{
    if (FWall == AValue)
        return;
    if (FParent)
        FParent->ChangeWallCounter(FWall, -1);
    FWall = AValue;
    if (FParent)
        FParent->ChangeWallCounter(FWall, +1);
    MarkModified();
}

void TDoor::SetOutRoom(int32_t AValue)
{
    if (FOutRoom == AValue)
        return;
    FOutRoom = AValue;
    MarkModified();
}

void TDoor::SetOpened(bool AValue)
{
    if (FOpened == AValue)
        return;
    FOpened = AValue;
    MarkModified();
}

void TDoor::SetWooden(bool AValue)
{
    if (FWooden == AValue)
        return;
    FWooden = AValue;
    MarkModified();
}

void TDoor::SetRect(const TRect& AValue)
{
    if (FRect == AValue)
        return;
    FRect = AValue;
    MarkModified();
}

void TDoor::RecalcRect()
{
    if (!FParent)
        return;
    const TRect& z = FParent->Rect();
    const int64_t L = z.Left, T = z.Top, R = z.Right, B = z.Bottom, s = FStartPos, w = FWidth;
    auto set = [this](int64_t l, int64_t t, int64_t r, int64_t b) {
        FRect = TRect{ClampToInt32(l), ClampToInt32(t), ClampToInt32(r), ClampToInt32(b)};
    };
    switch (FWall) {
    case TWallType::wtLeft:
        set(L - w, T + s, L + 1, T + s + w);
        break;
    case TWallType::wtRight:
        set(R - 1, T + s, R + w, T + s + w);
        break;
    case TWallType::wtTop:
        set(L + s, T - w, L + s + w, T + 1);
        break;
    case TWallType::wtBottom:
        set(L + s, B - 1, L + s + w, B + w);
        break;
    case TWallType::wtNone:
        break;
    }
}

// ---------------------------------------------------------------------------------------
// TRoom

TRoom::TRoom(int32_t AID, int32_t x1, int32_t y1, int32_t x2, int32_t y2, TFireProject* AParent)
    : FParent(AParent)
{
    SetID(AID);
    FRect = TRect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    RecalcV();
    MarkModified();
}

TRoom::~TRoom()
{
    // Doors and sensors go while the zone (their parent) is still whole.
    Doors.clear();
    Sensors.clear();
    MarkModified();
}

void TRoom::MarkModified()
{
    if (FParent)
        FParent->SetModified(true);
}

void TRoom::ChangeWallCounter(TWallType w, int32_t delta)
{
    switch (w) {
    case TWallType::wtLeft: DoorsLeftCount += delta; break;
    case TWallType::wtRight: DoorsRightCount += delta; break;
    case TWallType::wtTop: DoorsTopCount += delta; break;
    case TWallType::wtBottom: DoorsBottomCount += delta; break;
    case TWallType::wtNone: break;
    }
}

void TRoom::SetName(const QString& AName)
{
    if (FName != AName)
        FName = AName;
    MarkModified();
}

void TRoom::SetRoomType(TRoomType AValue)
{
    if (FRoomType == AValue)
        return;
    FRoomType = AValue;
    MarkModified();
}

void TRoom::SetID(int32_t AID)
{
    if (AID >= 0)
        FID = AID;
}

void TRoom::SetRect(const TRect& ARect)
{
    if (FRect == ARect)
        return;
    FRect = ARect;
    RecalcV();
    MarkModified();
}

void TRoom::SetH(int32_t AH)
{
    if (FH == AH)
        return;
    FH = AH;
    RecalcV();
    MarkModified();
}

void TRoom::RecalcV()
{
    const int64_t w = int64_t(FRect.Right) - FRect.Left;
    const int64_t d = int64_t(FRect.Bottom) - FRect.Top;
    if (FParent) {
        const long double v = FParent->ScaledValue(w) * FParent->ScaledValue(d) * FParent->ScaledValue(FH);
        FV = RoundHalfEven(v * 100) / 100;
    } else {
        FV = static_cast<long double>(w) * d * FH;
    }
}

TSensor* TRoom::CriticalSensor() const
{
    if (CP.CSensor.isEmpty())
        return nullptr;
    return GetSensorByGUID(CP.CSensor);
}

TSensor* TRoom::AddSensor()
{
    Sensors.push_back(std::make_unique<TSensor>(this));
    MarkModified();
    return Sensors.back().get();
}

bool TRoom::DeleteSensor(const QString& AGUID)
{
    bool found = false;
    for (auto it = Sensors.begin(); it != Sensors.end(); ++it) {
        if ((*it)->GUID() == AGUID) {
            Sensors.erase(it);
            found = true;
            break;
        }
    }
    MarkModified();
    return found;
}

TSensor* TRoom::GetSensorByGUID(const QString& AGUID) const
{
    for (const auto& s : Sensors)
        if (s->GUID() == AGUID)
            return s.get();
    return nullptr;
}

TSensor* TRoom::GetSensorByCoord(int32_t AX, int32_t AY) const
{
    for (const auto& s : Sensors) {
        const TPoint p = s->AbsolutePos();
        const int64_t r = s->SensorSize;
        if (int64_t(p.X) - r <= AX && AX <= int64_t(p.X) + r && int64_t(p.Y) - r <= AY && AY <= int64_t(p.Y) + r)
            return s.get();
    }
    return nullptr;
}

bool TRoom::MoveSensor(const QString& AGUID, int32_t AX, int32_t AY)
{
    TSensor* s = GetSensorByGUID(AGUID);
    if (!s)
        return false;
    const int32_t x = std::clamp(AX, std::min(FRect.Left, FRect.Right), std::max(FRect.Left, FRect.Right));
    const int32_t y = std::clamp(AY, std::min(FRect.Top, FRect.Bottom), std::max(FRect.Top, FRect.Bottom));
    const TPoint before = s->Pos();
    s->SetAbsolutePos(TPoint{x, y});
    if (!(s->Pos() == before))
        MarkModified();
    return true;
}

QString TRoom::AddDoor(int32_t AStartPos, TWallType AWall, int32_t AOutRoomID)
{
    // Every refusal is decided before the door exists, so a refused door leaves the zone,
    // its counters and the project untouched.
    constexpr int32_t kWidth = 15;
    constexpr int32_t kDefaultHeight = 5;
    if (AStartPos < 0 || AWall == TWallType::wtNone)
        return QString();
    if (!OpeningFits(FRect, AWall, AStartPos, kWidth))
        return QString();
    for (const auto& d : Doors) {
        // Any overlap of the two openings on one wall refuses the new one, also when the
        // existing opening starts at or after the new start.
        if (d->Wall() == AWall && d->StartPos() < int64_t(AStartPos) + kWidth
            && AStartPos < int64_t(d->StartPos()) + d->Width())
            return QString();
    }
    if (FH < kDefaultHeight)
        return QString();

    auto door = std::make_unique<TDoor>(NewGUIDString(), false);
    door->SetParent(this);
    door->SetStartPos(AStartPos);
    door->SetWidth(kWidth);
    door->SetOutRoom(AOutRoomID);
    door->SetIsWindow(AOutRoomID == -1);
    door->SetWall(AWall);
    ++DoorsCount;
    door->RecalcRect();
    const QString guid = door->GUID();
    Doors.push_back(std::move(door));
    MarkModified();
    return guid;
}

bool TRoom::DeleteDoor(const QString& AGUID)
{
    bool found = false;
    for (auto it = Doors.begin(); it != Doors.end(); ++it) {
        if ((*it)->GUID() == AGUID) {
            (*it)->SetWall(TWallType::wtNone);
            Doors.erase(it);
            found = true;
            break;
        }
    }
    MarkModified();
    return found;
}

bool TRoom::MoveDoor(const QString& AGUID, int32_t AOffset)
{
    TDoor* door = GetDoorByGUID(AGUID);
    if (!door)
        return false;
    const int64_t start = int64_t(door->StartPos()) + AOffset;
    if (start < 0 || start > INT32_MAX || door->Wall() == TWallType::wtNone)
        return false;
    if (!OpeningFits(FRect, door->Wall(), start, door->Width()))
        return false;
    for (const auto& d : Doors) {
        if (d.get() == door || d->Wall() != door->Wall())
            continue;
        if (d->StartPos() < start + door->Width() && start < int64_t(d->StartPos()) + d->Width())
            return false;
    }
    door->SetStartPos(static_cast<int32_t>(start));
    MarkModified();
    return true;
}

bool TRoom::ReplaceDoor(const QString& AGUID, std::unique_ptr<TDoor>& ADoor)
{
    if (!ADoor)
        return false;
    const int32_t i = GetDoorIDInListByGUID(AGUID);
    if (i < 0)
        return false;
    // The wall counters follow the exchange; the replaced door is detached so that the
    // caller may keep it beyond this zone's life.
    std::unique_ptr<TDoor>& slot = Doors[size_t(i)];
    ChangeWallCounter(slot->Wall(), -1);
    slot->SetParent(nullptr);
    ADoor->SetParent(this);
    ChangeWallCounter(ADoor->Wall(), +1);
    std::swap(slot, ADoor);
    MarkModified();
    return true;
}

TDoor* TRoom::GetDoorByGUID(const QString& AGUID) const
{
    for (const auto& d : Doors)
        if (d->GUID() == AGUID)
            return d.get();
    return nullptr;
}

int32_t TRoom::GetDoorIDInListByGUID(const QString& AGUID) const
{
    for (size_t i = 0; i < Doors.size(); ++i)
        if (Doors[i]->GUID() == AGUID)
            return static_cast<int32_t>(i);
    return -1;
}

bool TRoom::HasDoorsTo(const TRoom* ARoom) const
{
    if (!ARoom)
        return false;
    for (const auto& d : Doors)
        if (d->OutRoom() == ARoom->ID())
            return true;
    return false;
}

// ---------------------------------------------------------------------------------------
// Water sources

TWaterSource::TWaterSource()
    : FGUID(NewGUIDString())
{
}

void TWaterSource::MarkModified()
{
    if (FParent)
        FParent->SetModified(true);
}

void TWaterSource::SetGUID(const QString& AValue)
{
    if (FGUID == AValue)
        return;
    FGUID = AValue;
    MarkModified();
}

void TWaterSource::SetName(const QString& AValue)
{
    if (FName == AValue)
        return;
    FName = AValue;
    MarkModified();
}

void TWaterSource::SetX(int32_t AValue)
{
    if (FX == AValue)
        return;
    FX = AValue;
    if (FParent) {
        FParent->NeedRepaint = true;
        FParent->SetModified(true);
    }
}

void TWaterSource::SetY(int32_t AValue)
{
    if (FY == AValue)
        return;
    FY = AValue;
    if (FParent) {
        FParent->NeedRepaint = true;
        FParent->SetModified(true);
    }
}

void TWaterSource::SetParent(TFireProject* AParent)
{
    if (FParent == AParent)
        return;
    if (FParent)
        FParent->SetModified(true);
    FParent = AParent;
    if (FParent)
        FParent->SetModified(true);
}

long double TWaterSource::GetDistance() const
{
    if (!FParent)
        return 0;
    const TRect r = FParent->GetAllRoomsRect();
    const int64_t cx = r.Left + (int64_t(r.Right) - r.Left) / 2;
    const int64_t cy = r.Top + (int64_t(r.Bottom) - r.Top) / 2;
    const int64_t pixels = RoundedDistance(FX, FY, static_cast<long double>(cx), static_cast<long double>(cy));
    return FParent->ScaledValue(static_cast<long double>(pixels));
}

void TWSPier::SetV(long double AValue)
{
    if (FV == AValue)
        return;
    FV = AValue;
    MarkModified();
}

// ---------------------------------------------------------------------------------------
// TFireProject

TFireProject::TFireProject()
{
    Setpx(-1);
    SetActiveLevel(1);
    PaintParams.PaintSensorDistances = true;
}

TFireProject::~TFireProject()
{
    // Zones mark their project modified as they go, so they must go while it is whole.
    Rooms.clear();
    FWaterSources.clear();
}

void TFireProject::Setpx(long double AValue)
{
    Fpx = AValue;
    for (auto& r : Rooms)
        r->RecalcV();
    FModified = true;
}

long double TFireProject::ScaledValue(long double Value) const
{
    return ::ScaledValue(Value, Fpx);
}

int32_t TFireProject::UnscaledValue(long double Value) const
{
    return ::UnscaledValue(Value, Fpx);
}

bool TFireProject::CollidesWithRooms(const TRect& r, int32_t ExcludeID) const
{
    for (const auto& room : Rooms)
        if (room->ID() != ExcludeID && RectsCollide(r, room->Rect()))
            return true;
    return false;
}

int32_t TFireProject::AddRoom(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (x1 == x2 || y1 == y2 || !RectWithinPlanLimits(x1, y1, x2, y2))
        return -1;
    // Zone numbers are never reused; once the last 32-bit number is issued there is none.
    if (RoomsNum >= INT32_MAX)
        return -1;
    auto room = std::make_unique<TRoom>(RoomsNum + 1, x1, y1, x2, y2, this);
    room->SetName(QStringLiteral("Помещение ") + QString::number(room->ID()));
    if (CollidesWithRooms(room->Rect(), -1))
        return -1; // the discarded zone has marked the project modified on creation
    ++RoomsNum;
    const int32_t id = room->ID();
    Rooms.push_back(std::move(room));
    FModified = true;
    return id;
}

void TFireProject::DeleteRoom(int32_t Index)
{
    if (Index < 0 || Index >= GetRoomsCount())
        return;
    Rooms.erase(Rooms.begin() + Index);
    FModified = true;
}

void TFireProject::DeleteSelectedRooms()
{
    // Zones are destroyed one by one, each while the list is still consistent.
    for (size_t i = Rooms.size(); i-- > 0;)
        if (Rooms[i]->Selected)
            Rooms.erase(Rooms.begin() + std::ptrdiff_t(i));
}

TRoom* TFireProject::GetRoom(int32_t ID) const
{
    for (const auto& r : Rooms)
        if (r->ID() == ID)
            return r.get();
    return nullptr;
}

int32_t TFireProject::GetRoomByID(int32_t ID) const
{
    for (size_t i = 0; i < Rooms.size(); ++i)
        if (Rooms[i]->ID() == ID)
            return static_cast<int32_t>(i);
    return -1;
}

int32_t TFireProject::GetRoomIDByCoord(int32_t x, int32_t y) const
{
    for (const auto& r : Rooms) {
        const TRect& rc = r->Rect();
        if (rc.Left <= x && x <= rc.Right && rc.Top <= y && y <= rc.Bottom)
            return r->ID();
    }
    return -1;
}

int32_t TFireProject::SelectRoomByCoord(int32_t x, int32_t y)
{
    TRoom* r = GetRoom(GetRoomIDByCoord(x, y));
    if (!r)
        return -1;
    r->Selected = !r->Selected;
    NeedRepaint = true;
    return r->ID();
}

void TFireProject::DeselectAllRooms()
{
    for (auto& r : Rooms)
        r->Selected = false;
}

bool TFireProject::MoveRoom(int32_t RoomID, int32_t aX, int32_t aY, bool& MovedX, bool& MovedY, bool CollapseIgnore)
{
    TRoom* room = GetRoom(RoomID);
    if (!room) {
        MovedX = false;
        MovedY = false;
        return false;
    }
    const TRect old = room->Rect();
    // A shift that would take a side beyond the plan limits blocks its axis, collisions or
    // not: the coordinates stay where every later operation can compute with them.
    TRect shiftedX = old, shiftedY = old, shiftedXY = old;
    bool blockedX = aX != 0
        && (!ShiftedWithinLimits(old, aX, 0, &shiftedX) || !SensorsWithinLimits(*room, shiftedX.Left, old.Top));
    bool blockedY = aY != 0
        && (!ShiftedWithinLimits(old, 0, aY, &shiftedY) || !SensorsWithinLimits(*room, old.Left, shiftedY.Top));
    std::vector<TRoom*> nearBefore;
    if (!CollapseIgnore) {
        nearBefore = GetNearRooms(room);
        blockedX = blockedX || CollidesWithRooms(shiftedX, RoomID);
        blockedY = blockedY || CollidesWithRooms(shiftedY, RoomID);
        // Each axis alone may be free while the diagonal shift runs into a zone's corner;
        // the vertical axis then gives way so that zones never come to overlap.
        if (!blockedX && !blockedY && aX != 0 && aY != 0 && ShiftedWithinLimits(old, aX, aY, &shiftedXY)
            && CollidesWithRooms(shiftedXY, RoomID))
            blockedY = true;
    }

    TRect r = old;
    bool moved = false;
    if (!blockedX && aX != 0) {
        r.Left = shiftedX.Left;
        r.Right = shiftedX.Right;
        moved = true;
    }
    if (!blockedY && aY != 0) {
        r.Top = shiftedY.Top;
        r.Bottom = shiftedY.Bottom;
        moved = true;
    }
    MovedX = !blockedX;
    MovedY = !blockedY;
    room->SetRect(r);

    if (!CollapseIgnore) {
        for (TRoom* other : nearBefore) {
            if (IsNearRooms(room, other) != TWallType::wtNone)
                continue;
            // Delete the very door objects rather than the first door of that GUID in the
            // project, so a GUID repeated in a loaded file cannot remove an unrelated door.
            auto dropDoorsInto = [](TRoom* holder, int32_t targetID) {
                for (size_t i = holder->Doors.size(); i-- > 0;) {
                    if (holder->Doors[i]->OutRoom() == targetID) {
                        holder->Doors[i]->SetWall(TWallType::wtNone);
                        holder->Doors.erase(holder->Doors.begin() + std::ptrdiff_t(i));
                    }
                }
            };
            dropDoorsInto(other, room->ID());
            dropDoorsInto(room, other->ID());
        }
    }

    if (moved) {
        NeedRepaint = true;
        FModified = true;
    }
    return moved;
}

void TFireProject::MoveSelectedRooms(int32_t aX, int32_t aY, bool& MovedX, bool& MovedY, bool CollapseIgnore)
{
    for (size_t i = 0; i < Rooms.size(); ++i)
        if (Rooms[i]->Selected)
            MoveRoom(Rooms[i]->ID(), aX, aY, MovedX, MovedY, CollapseIgnore);
}

namespace {

// The common part of IncRoomSize and SetRoomSize; the new sides come in 64 bits, so that
// no delta or size can wrap around before it is judged.
bool ResizeTo(TFireProject& project, TRoom& room, int64_t left, int64_t top, int64_t right, int64_t bottom)
{
    if (right <= left || bottom <= top || !RectWithinPlanLimits(left, top, right, bottom)
        || !SensorsWithinLimits(room, left, top))
        return false;
    const TRect r{int32_t(left), int32_t(top), int32_t(right), int32_t(bottom)};
    if (project.CollidesWithRooms(r, room.ID()))
        return false;
    if (!DoorsFit(room, r))
        return false;
    room.SetRect(r);
    project.NeedRepaint = true;
    project.SetModified(true);
    return true;
}

} // namespace

bool TFireProject::IncRoomSize(int32_t RoomID, int32_t aLeft, int32_t aTop, int32_t aRight, int32_t aBottom)
{
    TRoom* room = GetRoom(RoomID);
    if (!room)
        return false;
    const TRect& o = room->Rect();
    return ResizeTo(*this, *room, int64_t(o.Left) + aLeft, int64_t(o.Top) + aTop, int64_t(o.Right) + aRight,
                    int64_t(o.Bottom) + aBottom);
}

bool TFireProject::SetRoomSize(TRoom* ARoom, int32_t AWidth, int32_t AHeight)
{
    if (!ARoom)
        return false;
    const TRect& o = ARoom->Rect();
    return ResizeTo(*this, *ARoom, o.Left, o.Top, int64_t(o.Left) + AWidth, int64_t(o.Top) + AHeight);
}

bool TFireProject::IsDotOnLeftSide(int32_t RoomID, int32_t x, int32_t y) const
{
    const TRoom* room = GetRoom(RoomID);
    if (!room)
        return false;
    const TRect& r = room->Rect();
    const TPoint p{x, y};
    return IsDotOnSegment(p, {r.Left, r.Top}, {r.Left, r.Bottom})
        || IsDotOnSegment(p, {r.Left + 1, r.Top + 1}, {r.Left + 1, r.Bottom - 1});
}

bool TFireProject::IsDotOnRightSide(int32_t RoomID, int32_t x, int32_t y) const
{
    const TRoom* room = GetRoom(RoomID);
    if (!room)
        return false;
    const TRect& r = room->Rect();
    const TPoint p{x, y};
    return IsDotOnSegment(p, {r.Right, r.Top}, {r.Right, r.Bottom})
        || IsDotOnSegment(p, {r.Right - 1, r.Top + 1}, {r.Right - 1, r.Bottom - 1});
}

bool TFireProject::IsDotOnTopSide(int32_t RoomID, int32_t x, int32_t y) const
{
    const TRoom* room = GetRoom(RoomID);
    if (!room)
        return false;
    const TRect& r = room->Rect();
    const TPoint p{x, y};
    return IsDotOnSegment(p, {r.Left, r.Top}, {r.Right, r.Top})
        || IsDotOnSegment(p, {r.Left + 1, r.Top + 1}, {r.Right - 1, r.Top + 1});
}

bool TFireProject::IsDotOnBottomSide(int32_t RoomID, int32_t x, int32_t y) const
{
    const TRoom* room = GetRoom(RoomID);
    if (!room)
        return false;
    const TRect& r = room->Rect();
    const TPoint p{x, y};
    return IsDotOnSegment(p, {r.Left, r.Bottom}, {r.Right, r.Bottom})
        || IsDotOnSegment(p, {r.Left + 1, r.Bottom - 1}, {r.Right - 1, r.Bottom - 1});
}

TWallType TFireProject::IsNearRooms(const TRoom* Room1, const TRoom* Room2, TRect& SideRect) const
{
    SideRect = TRect{};
    if (!Room1 || !Room2 || Room1->ID() == Room2->ID())
        return TWallType::wtNone;
    const TRect& a = Room1->Rect();
    const TRect widened{a.Left - 1, a.Top - 1, a.Right + 1, a.Bottom + 1};
    const TRect& b = Room2->Rect();
    const struct {
        TRect seg;
        TWallType wall;
    } sides[] = {
        {{b.Left, b.Top + 1, b.Left, b.Bottom - 1}, TWallType::wtLeft},
        {{b.Right, b.Top + 1, b.Right, b.Bottom - 1}, TWallType::wtRight},
        {{b.Left + 1, b.Top, b.Right - 1, b.Top}, TWallType::wtTop},
        {{b.Left + 1, b.Bottom, b.Right - 1, b.Bottom}, TWallType::wtBottom},
    };
    TWallType result = TWallType::wtNone;
    for (const auto& s : sides) {
        if (RectsCollide(s.seg, widened)) {
            result = s.wall;
            SideRect = s.seg;
        }
    }
    return result;
}

TWallType TFireProject::IsNearRooms(const TRoom* Room1, const TRoom* Room2) const
{
    TRect unused;
    return IsNearRooms(Room1, Room2, unused);
}

std::vector<TRoom*> TFireProject::GetNearRooms(const TRoom* Room) const
{
    std::vector<TRoom*> result;
    if (!Room)
        return result;
    for (const auto& r : Rooms)
        if (IsNearRooms(Room, r.get()) != TWallType::wtNone)
            result.push_back(r.get());
    return result;
}

TRect TFireProject::GetAllRoomsRect() const
{
    if (Rooms.empty())
        return TRect{};
    TRect u = Rooms.front()->Rect();
    for (const auto& r : Rooms) {
        const TRect& rc = r->Rect();
        u.Left = std::min(u.Left, rc.Left);
        u.Top = std::min(u.Top, rc.Top);
        u.Right = std::max(u.Right, rc.Right);
        u.Bottom = std::max(u.Bottom, rc.Bottom);
    }
    return u;
}

int32_t TFireProject::GetSensorsCount() const
{
    size_t n = 0;
    for (const auto& r : Rooms)
        n += r->Sensors.size();
    return static_cast<int32_t>(n);
}

bool TFireProject::MergeRooms(TRoom*, TRoom*, bool)
{
    return false;
}

bool TFireProject::SetBackgroundImage(const QString& Path, QString* error)
{
    FBackgroundImage.reset();
    const QString ext = QFileInfo(Path).suffix().toLower();
    const char* format = nullptr;
    if (ext == QLatin1String("bmp"))
        format = "BMP";
    else if (ext == QLatin1String("jpg"))
        format = "JPEG";
    else if (ext == QLatin1String("png"))
        format = "PNG";
    if (!format) {
        if (error)
            *error = QStringLiteral("Неподдерживаемый формат изображения");
        return false;
    }
    QImageReader reader(Path, format);
    // A picture the plan could not hold is refused before it is decoded.
    const QSize announced = reader.size();
    if (announced.isValid() && !PlanSizeWithinLimits(announced.width(), announced.height())) {
        if (error)
            *error = QStringLiteral("Изображение слишком велико");
        return false;
    }
    QImage picture = reader.read();
    if (picture.isNull() || !PlanSizeWithinLimits(picture.width(), picture.height())) {
        if (error)
            *error = picture.isNull() ? reader.errorString() : QStringLiteral("Изображение слишком велико");
        return false;
    }
    FBackgroundImage = std::make_unique<QImage>(picture.convertToFormat(QImage::Format_RGB32));
    Width = FBackgroundImage->width();
    Height = FBackgroundImage->height();
    FModified = true;
    return true;
}

void TFireProject::SetPaintParams(bool ShowRoomInfo, bool ColoredRooms, bool ShowScale, bool TransparentRooms)
{
    PaintParams.ShowRoomInfo = ShowRoomInfo;
    PaintParams.ColoredRooms = ColoredRooms;
    PaintParams.ShowScale = ShowScale;
    PaintParams.TransparentRooms = TransparentRooms;
    PaintParams.OffsetPos = TPoint{};
}

void TFireProject::SetLevelsCount(int32_t AValue)
{
    if (FLevelsCount == AValue)
        return;
    FLevelsCount = AValue;
    FModified = true;
}

void TFireProject::SetActiveLevel(int32_t AValue)
{
    FActiveLevel = (AValue >= 1 && AValue <= FLevelsCount) ? AValue : 1;
    FModified = true;
}

void TFireProject::SetHydrantNetDiameter(long double AValue)
{
    if (FHydrantNetDiameter == AValue)
        return;
    FHydrantNetDiameter = AValue;
    FModified = true;
}

void TFireProject::SetHydrantNetPressure(long double AValue)
{
    if (FHydrantNetPressure == AValue)
        return;
    FHydrantNetPressure = AValue;
    FModified = true;
}

void TFireProject::SetHydrantNetType(THydrantNetType AValue)
{
    if (FHydrantNetType == AValue)
        return;
    FHydrantNetType = AValue;
    FModified = true;
}

bool TFireProject::DeleteDoor(const QString& GUID)
{
    if (GUID.isEmpty())
        return false;
    for (auto& r : Rooms) {
        for (auto it = r->Doors.begin(); it != r->Doors.end(); ++it) {
            if ((*it)->GUID() == GUID) {
                (*it)->SetWall(TWallType::wtNone);
                r->Doors.erase(it);
                return true;
            }
        }
    }
    return false;
}

TDoor* TFireProject::GetDoor(const QString& GUID) const
{
    for (const auto& r : Rooms)
        if (TDoor* d = r->GetDoorByGUID(GUID))
            return d;
    return nullptr;
}

QString TFireProject::GetDoorGUIDByCoord(int32_t X, int32_t Y) const
{
    for (const auto& r : Rooms) {
        for (const auto& d : r->Doors) {
            const TRect& rc = d->Rect();
            if (rc.Left <= X && X <= rc.Right && rc.Top <= Y && Y <= rc.Bottom)
                return d->GUID();
        }
    }
    return QString();
}

bool TFireProject::SetLigthedDoor(const QString& GUID)
{
    // The empty GUID means "no door": every door is darkened.
    bool found = false;
    for (auto& r : Rooms) {
        for (auto& d : r->Doors) {
            const bool hit = !GUID.isEmpty() && d->GUID() == GUID;
            d->SetLighting(hit);
            found = found || hit;
        }
    }
    return GUID.isEmpty() || found;
}

TWallType TFireProject::GetWallSideByCoord(int32_t X, int32_t Y) const
{
    const TRect r = GetAllRoomsRect();
    if (Y < r.Top)
        return TWallType::wtTop;
    if (Y > r.Bottom)
        return TWallType::wtBottom;
    if (X < r.Left)
        return TWallType::wtLeft;
    if (X > r.Right)
        return TWallType::wtRight;
    return TWallType::wtNone;
}

QString TFireProject::AddWaterSource(std::unique_ptr<TWaterSource> WaterSource)
{
    if (!WaterSource)
        return QString();
    TWaterSource* ws = WaterSource.get();
    FWaterSources.push_back(std::move(WaterSource));
    ws->SetParent(this);
    FModified = true;
    return ws->GUID();
}

bool TFireProject::DeleteWaterSource(const QString& GUID)
{
    for (auto it = FWaterSources.begin(); it != FWaterSources.end(); ++it) {
        if ((*it)->GUID() == GUID) {
            FWaterSources.erase(it);
            FModified = true;
            return true;
        }
    }
    return false;
}

TWaterSource* TFireProject::GetWaterSourceByCoord(int32_t X, int32_t Y) const
{
    for (const auto& ws : FWaterSources) {
        const int64_t h = ws->HitHalfSide();
        if (h <= 0)
            continue;
        if (std::abs(int64_t(X) - ws->X()) <= h && std::abs(int64_t(Y) - ws->Y()) <= h)
            return ws.get();
    }
    return nullptr;
}
