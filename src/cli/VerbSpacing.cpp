// tesvorn-cli project spacing: the sensor-spacing measurement of one zone of a project
// file, as the quick recalculation takes it after a sensor moves.
//
//   tesvorn-cli project spacing FILE.fsp ZONE_ID
//
// Output: {"L_px" (the design spacing in plan pixels), "L_m" (the same in metres under the
// project's scale, rounded to 0.1 m; no scale: 1 px = 1 m), "CSensor" (GUID of the critical
// sensor, or null), "Sensors": [{"GUID", "Range", "NearestSensorT", "NearestSensorL",
// "NearestSensorB", "NearestSensorR", "NearestSensor"}, …] in list order}. A zone without
// sensors gives L 0, no critical sensor and an empty list. Exit 1 when the file cannot be
// loaded, 2 for bad usage or a zone ID the project does not have.
#include "uCliCommon.h"

#include "uFireClasses.h"
#include "uRoomSpacing.h"

#include <cstdio>
#include <memory>

namespace {

int SpacingVerb(const QStringList& args)
{
    if (args.size() != 2)
        throw ECliError(QStringLiteral("usage: tesvorn-cli project spacing FILE.fsp ZONE_ID"));
    bool ok = false;
    const int id = args[1].toInt(&ok);
    if (!ok)
        throw ECliError(QStringLiteral("ZONE_ID must be a whole number: %1").arg(args[1]));

    auto project = std::make_unique<TFireProject>();
    QString reason;
    if (!project->LoadFromFile(args[0], &reason)) {
        std::fprintf(stderr, "%s\n", "Не удалось загрузить проект.");
        if (!reason.isEmpty())
            std::fprintf(stderr, "%s\n", reason.toUtf8().constData());
        return 1;
    }
    TRoom* room = project->GetRoom(id);
    if (room == nullptr)
        throw ECliError(QStringLiteral("the project has no zone with ID %1").arg(id));

    const long double L = GetNearSensorsMaxRange(room);
    QJsonObject out;
    out["L_px"] = JsonReal(L);
    out["L_m"] = JsonReal(project->ScaledValue(L));
    const TSensor* critical = room->CriticalSensor();
    out["CSensor"] = critical ? QJsonValue(critical->GUID()) : QJsonValue();
    QJsonArray sensors;
    for (const auto& s : room->GetSensors())
        sensors.append(QJsonObject {
            {"GUID", s->GUID()},
            {"Range", s->Range()},
            {"NearestSensorT", s->NearestSensorT},
            {"NearestSensorL", s->NearestSensorL},
            {"NearestSensorB", s->NearestSensorB},
            {"NearestSensorR", s->NearestSensorR},
            {"NearestSensor", s->NearestSensor},
        });
    out["Sensors"] = sensors;
    PrintJson(out);
    return 0;
}

TCliVerbRegistration reg("project spacing", "FILE.fsp ZONE_ID", SpacingVerb);

} // namespace
