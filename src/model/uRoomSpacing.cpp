// The spacing measurement and the quick recalculation on a zone: see uRoomSpacing.h.
#include "uRoomSpacing.h"

#include "uFireClasses.h"
#include "uScale.h"

TSpacingZone SpacingZoneOf(const TRoom& room)
{
    const TRect& r = room.Rect();
    return {r.Left, r.Top, r.Right, r.Bottom};
}

std::vector<TSpacingSensor> SpacingSensorsOf(const TRoom& room)
{
    std::vector<TSpacingSensor> list;
    list.reserve(room.GetSensors().size());
    for (const auto& s : room.GetSensors())
        list.push_back({s->GUID(), s->Pos().X, s->Pos().Y});
    return list;
}

long double PlanScaleOf(const TRoom& room)
{
    return room.Parent() ? room.Parent()->px() : NoPlanScale;
}

void ApplySensorSpacing(TRoom& room, const TSpacingMeasurement& measurement)
{
    room.CP.CSensor = measurement.CSensor;
    if (!measurement.Measured)
        return;
    const auto& sensors = room.GetSensors();
    // A measurement of another layout (the list changed in between) is not applied.
    if (measurement.Sensors.size() != sensors.size())
        return;
    for (size_t i = 0; i < sensors.size(); ++i) {
        TSensor& s = *sensors[i];
        const TSensorSpacing& m = measurement.Sensors[i];
        s.SetRange(m.Range);
        s.NearestSensorT = m.NearestSensorT;
        s.NearestSensorL = m.NearestSensorL;
        s.NearestSensorB = m.NearestSensorB;
        s.NearestSensorR = m.NearestSensorR;
        s.NearestSensor = m.NearestSensor;
    }
}

long double GetNearSensorsMaxRange(TRoom* room)
{
    if (room == nullptr)
        return 0;
    const TSpacingMeasurement m = MeasureSensorSpacing(SpacingZoneOf(*room), SpacingSensorsOf(*room), PlanScaleOf(*room));
    ApplySensorSpacing(*room, m);
    return m.L;
}

QString RecalcVOP(TRoom* room, long double manualL)
{
    if (room == nullptr)
        return QString();
    TSpacingMeasurement m;
    const QString text = ::RecalcVOP(room->CP, SpacingZoneOf(*room), SpacingSensorsOf(*room), PlanScaleOf(*room),
                                     manualL, &m);
    if (m.Measured)
        ApplySensorSpacing(*room, m);
    return text;
}
