// tesvorn-cli project verbs: print a project file as JSON, load and save it again (with the
// results kept beside it), and write the example project. A file that cannot be loaded
// exits 1 with the program's own message, so scripts can tell a damaged project from bad
// usage (exit 2).
#include "uCliCommon.h"

#include "uExampleProject.h"
#include "uFireClasses.h"
#include "uProjectResults.h"

#include <cmath>
#include <cstdio>

namespace {

const char LoadFailedText[] = "Не удалось загрузить проект.";
const char SaveFailedText[] = "Не удалось сохранить проект.";

// A real for the dump: a damaged file may hold NaN or infinities, which JSON cannot carry;
// they are shown as null rather than aborting the whole dump.
QJsonValue DumpReal(long double value)
{
    return std::isfinite(value) ? JsonReal(value) : QJsonValue();
}

QJsonArray RectJson(const TRect& r)
{
    return QJsonArray { r.Left, r.Top, r.Right, r.Bottom };
}

QJsonArray PointJson(const TPoint& p)
{
    return QJsonArray { p.X, p.Y };
}

QJsonObject DoorJson(const TDoor& d)
{
    QJsonObject o;
    o["GUID"] = d.GUID();
    o["StartPos"] = d.StartPos();
    o["Width"] = d.Width();
    o["Height"] = d.Height();
    o["IsWindow"] = d.IsWindow();
    o["OutRoom"] = d.OutRoom();
    o["Wall"] = static_cast<int>(d.Wall());
    o["Opened"] = d.Opened();
    o["Wooden"] = d.Wooden();
    o["Rect"] = RectJson(d.Rect());
    return o;
}

QJsonObject SensorJson(const TSensor& s)
{
    QJsonObject o;
    o["GUID"] = s.GUID();
    o["Name"] = s.Name();
    o["SensorType"] = static_cast<int>(s.SensorType);
    o["AbsolutePos"] = PointJson(s.AbsolutePos());
    o["Pos"] = PointJson(s.Pos());
    o["Critical1"] = DumpReal(s.Critical1());
    o["Critical2"] = DumpReal(s.Critical2());
    o["Critical3"] = DumpReal(s.Critical3());
    o["Height"] = DumpReal(s.Height());
    o["Range"] = s.Range();
    return o;
}

QJsonObject RoomJson(const TRoom& r)
{
    QJsonObject o;
    o["ID"] = r.ID();
    o["Name"] = r.Name();
    o["Rect"] = RectJson(r.Rect());
    o["H"] = r.H();
    o["V"] = DumpReal(r.V());
    o["RoomType"] = static_cast<int>(r.RoomType());
    o["DoorsCount"] = r.DoorsCount;
    o["DoorsLeftCount"] = r.DoorsLeftCount;
    o["DoorsRightCount"] = r.DoorsRightCount;
    o["DoorsTopCount"] = r.DoorsTopCount;
    o["DoorsBottomCount"] = r.DoorsBottomCount;
    QJsonArray doors;
    for (const auto& d : r.GetDoors())
        doors.append(DoorJson(*d));
    o["Doors"] = doors;
    QJsonArray sensors;
    for (const auto& s : r.GetSensors())
        sensors.append(SensorJson(*s));
    o["Sensors"] = sensors;
    return o;
}

QJsonObject WaterSourceJson(const TWaterSource& w)
{
    QJsonObject o;
    o["GUID"] = w.GUID();
    o["Name"] = w.Name();
    o["X"] = w.X();
    o["Y"] = w.Y();
    const auto* pier = dynamic_cast<const TWSPier*>(&w);
    o["Kind"] = pier ? 1 : 0;
    if (pier)
        o["V"] = DumpReal(pier->V());
    return o;
}

QJsonObject ProjectJson(const TFireProject& p)
{
    QJsonObject o;
    o["Name"] = p.Name;
    o["RoomsNum"] = p.RoomsNum;
    o["Width"] = p.Width;
    o["Height"] = p.Height;
    o["px"] = DumpReal(p.px());
    o["LevelsCount"] = p.LevelsCount();
    o["ActiveLevel"] = p.ActiveLevel();
    o["HydrantNetPressure"] = DumpReal(p.HydrantNetPressure());
    o["HydrantNetDiameter"] = DumpReal(p.HydrantNetDiameter());
    o["HydrantNetType"] = static_cast<int>(p.HydrantNetType());
    o["Modified"] = p.Modified();
    QJsonArray rooms;
    for (const auto& r : p.GetRooms())
        rooms.append(RoomJson(*r));
    o["Rooms"] = rooms;
    QJsonArray sources;
    for (const auto& w : p.WaterSources())
        sources.append(WaterSourceJson(*w));
    o["WaterSources"] = sources;
    return o;
}

void Fail(const char* message, const QString& reason)
{
    // The user's message first; the technical reason below it for whoever reads the log.
    std::fprintf(stderr, "%s\n", message);
    if (!reason.isEmpty())
        std::fprintf(stderr, "%s\n", reason.toUtf8().constData());
}

// Loads into a fresh project, as the shell does; nullptr (after reporting) on failure.
// A warning or error about a results file, on stderr.
void Warn(const QString& text)
{
    if (!text.isEmpty())
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

std::unique_ptr<TFireProject> Load(const QString& fileName)
{
    auto project = std::make_unique<TFireProject>();
    QString reason;
    if (!project->LoadFromFile(fileName, &reason)) {
        Fail(LoadFailedText, reason);
        return nullptr;
    }
    return project;
}

int Dump(const QStringList& args)
{
    if (args.size() != 1)
        throw ECliError(QStringLiteral("usage: tesvorn-cli project dump FILE.fsp"));
    const auto project = Load(args[0]);
    if (!project)
        return 1;
    PrintJson(ProjectJson(*project));
    return 0;
}

int Resave(const QStringList& args)
{
    if (args.size() != 2)
        throw ECliError(QStringLiteral("usage: tesvorn-cli project resave IN.fsp OUT.fsp"));
    const auto project = Load(args[0]);
    if (!project)
        return 1;
    // As "Сохранить как..." in the window: the results kept beside IN go beside OUT (a
    // results file OUT had before is replaced, or removed when there are none).
    Warn(LoadProjectResults(*project, args[0]).Warning);
    QString reason;
    if (!project->SaveToFile(args[1], &reason)) {
        Fail(SaveFailedText, reason);
        return 1;
    }
    const TResultsSave saved = SaveProjectResults(*project, args[1]);
    Warn(saved.Warning);
    if (!saved.Ok) {
        Warn(saved.Error);
        return 1;
    }
    PrintJson(QJsonObject { { "ok", true } });
    return 0;
}

int Example(const QStringList& args)
{
    if (args.size() != 1)
        throw ECliError(QStringLiteral("usage: tesvorn-cli project example OUT.fsp"));
    QString reason;
    if (!MakeExampleProject()->SaveToFile(args[0], &reason)) {
        Fail(SaveFailedText, reason);
        return 1;
    }
    PrintJson(QJsonObject { { "ok", true } });
    return 0;
}

TCliVerbRegistration regDump("project dump", "FILE.fsp", Dump);
TCliVerbRegistration regResave("project resave", "IN.fsp OUT.fsp", Resave);
TCliVerbRegistration regExample("project example", "OUT.fsp", Example);

} // namespace
