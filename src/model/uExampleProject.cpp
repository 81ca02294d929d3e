// The example office floor; see uExampleProject.h.
#include "uExampleProject.h"

#include "uFireClasses.h"

namespace {

struct TExampleZone {
    const char* Name;
    TRect Rect;
    long double HeightMetres;
};

struct TExampleSensor {
    int ZoneIndex;
    int X, Y; // plan pixels
    TSensorType Type;
};

// A fixed identity in the usual braced form; `n` keeps them apart.
QString FixedGUID(unsigned kind, unsigned n)
{
    return QStringLiteral("{0FF1CE%1-2026-4000-8000-%2}")
        .arg(kind, 2, 16, QLatin1Char('0'))
        .arg(n, 12, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace

std::unique_ptr<TFireProject> MakeExampleProject()
{
    auto p = std::make_unique<TFireProject>();
    p->Name = QStringLiteral("Офис, 1 этаж");
    p->Width = 480;
    p->Height = 320;
    p->Setpx(0.05L); // 5 cm per plan pixel
    p->SetLevelsCount(1);
    p->SetActiveLevel(1);
    p->SetHydrantNetPressure(0.3L);
    p->SetHydrantNetDiameter(150.0L);

    // Zones one pixel apart, so neighbours are adjacent but never touch.
    const TExampleZone zones[] = {
        { "Кабинет 101", { 10, 10, 130, 110 }, 3.0L },
        { "Кабинет 102", { 131, 10, 251, 110 }, 3.0L },
        { "Переговорная", { 252, 10, 400, 110 }, 3.5L },
        { "Коридор", { 10, 111, 400, 160 }, 2.7L },
        { "Архив", { 10, 161, 150, 260 }, 4.5L },
        { "Серверная", { 151, 161, 260, 260 }, 3.2L },
        { "Холл", { 261, 161, 400, 260 }, 6.0L },
    };
    std::vector<TRoom*> rooms;
    for (const TExampleZone& z : zones) {
        const int32_t id = p->AddRoom(z.Rect.Left, z.Rect.Top, z.Rect.Right, z.Rect.Bottom);
        TRoom* room = p->GetRoom(id);
        if (!room)
            return p; // cannot happen with the layout above; the project stays usable
        room->SetName(QString::fromUtf8(z.Name));
        room->SetH(p->UnscaledValue(z.HeightMetres));
        rooms.push_back(room);
    }

    const TExampleSensor sensors[] = {
        { 0, 40, 45, TSensorType::stTemperature },  { 0, 100, 75, TSensorType::stTemperature },
        { 1, 160, 45, TSensorType::stTemperature }, { 1, 220, 75, TSensorType::stTemperature },
        { 2, 290, 40, TSensorType::stSmoke },       { 2, 360, 80, TSensorType::stSmoke },
        { 3, 60, 135, TSensorType::stSmoke },       { 3, 200, 135, TSensorType::stSmoke },
        { 3, 340, 135, TSensorType::stSmoke },      { 4, 45, 195, TSensorType::stTemperature },
        { 4, 115, 225, TSensorType::stTemperature }, { 5, 205, 210, TSensorType::stSmoke },
        { 6, 300, 190, TSensorType::stTemperature }, { 6, 360, 230, TSensorType::stTemperature },
    };
    unsigned number = 0;
    for (const TExampleSensor& s : sensors) {
        TRoom* room = rooms[static_cast<size_t>(s.ZoneIndex)];
        TSensor* sensor = room->AddSensor();
        ++number;
        sensor->SetGUID(FixedGUID(0x51, number));
        sensor->SetName(QStringLiteral("Датчик %1").arg(number));
        sensor->SensorType = s.Type;
        sensor->SetAbsolutePos(TPoint { s.X, s.Y });
        // Mounted 10 cm under the ceiling.
        sensor->SetHeight(room->H() - p->UnscaledValue(0.1L));
        if (s.Type == TSensorType::stSmoke)
            sensor->SetCritical1(0);
    }

    // A door from the first office into the corridor, and a window of the hall.
    const QString door = rooms[0]->AddDoor(50, TWallType::wtBottom, rooms[3]->ID());
    if (TDoor* d = rooms[0]->GetDoorByGUID(door)) {
        d->SetGUID(FixedGUID(0xD0, 1));
        d->SetHeight(p->UnscaledValue(2.1L));
        d->SetWooden(true);
        d->RecalcRect();
    }
    const QString window = rooms[6]->AddDoor(30, TWallType::wtRight, -1);
    if (TDoor* w = rooms[6]->GetDoorByGUID(window)) {
        w->SetGUID(FixedGUID(0xD0, 2));
        w->SetHeight(p->UnscaledValue(1.5L));
        w->SetOpened(false);
        w->RecalcRect();
    }

    auto hydrant = std::make_unique<TWSFireHydrant>();
    hydrant->SetGUID(FixedGUID(0x35, 1));
    hydrant->SetName(QStringLiteral("ПГ-1"));
    hydrant->SetX(430);
    hydrant->SetY(135);
    p->AddWaterSource(std::move(hydrant));

    auto pier = std::make_unique<TWSPier>();
    pier->SetGUID(FixedGUID(0x35, 2));
    pier->SetName(QStringLiteral("Пирс у пруда"));
    pier->SetX(440);
    pier->SetY(290);
    pier->SetV(100.0L);
    p->AddWaterSource(std::move(pier));
    return p;
}
