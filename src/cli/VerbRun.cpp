// tesvorn-cli run: one calculation run on a zone of a project file, exactly as the window
// makes it after the user pressed "Начать расчет" in the calculation dialog.
//
//   tesvorn-cli run vop|vop-optimised|initial-stage|fireload FILE.fsp ZONE_ID
//                   [--out OUT.fsp] [--db kvr.db] < inputs.json
//
// inputs.json is one object whose keys are the dialog's control names: seParam2,
// seParam4, seParam10 … seParam16, seValue11 (minutes), method (1 … 5), BOSClass (1 = A2,
// 2 = A3), cbDebug, and loads: a list of fire loads, each either a full load with the keys
// of `tesvorn-cli fireload` or {"typical": NAME, "amount": kg/m²} read from the reference
// database (--db, default the database the program itself opens; amount defaults to the
// dialog's 10). A key left out takes the value that run's dialog shows; the loads are
// numbered ListId 1, 2, … in list order, with the database's Id (−1 for a full load), unless a
// full load gives its own "Id" and "ListId".
//
// The zone starts with the results the project's results file keeps (FILE.results.json
// beside FILE.fsp, as the window reads them when it opens FILE.fsp); a warning about that
// file goes to stderr and the run goes on without it. Full loads may carry "Id" and
// "ListId", as the results file's inputs do.
//
// Output: {"record", "announcement", "statusBar" (null when the run leaves the status bar),
// "indicators": {"VOP", "NSP", "FL": "none"|"green"|"yellow"} from none, "sensors": [{"Name",
// "AbsolutePos": [x, y], "Range"}] of the zone after the run, "debugLog": [lines]}. With
// --out the project with the zone's new sensors is written there (through a temporary file)
// and OUT.results.json with it: every zone's results, this run kept as the window keeps it,
// and the results an existing OUT.results.json holds for zones that have none here; without
// --out nothing is written.
//
// Exit 0 for every outcome of the calculation (−1 and −2 are results). Exit 1 with the
// window's text for a refusal of the run (no scale, a spacing that gives no grid, an
// initial stage the mix cannot have), a file that cannot be loaded or written and a
// database failure. Exit 2 for bad usage and bad input: unknown keys, a key the run's dialog
// hides or disables (named), a seParam2 outside the dialog's limits, a method the dialog
// does not offer, an empty list of loads, a typical load the database does not have exactly
// once, and a start the dialog refuses (with the dialog's own text).
#include "uCliCommon.h"
#include "uRecordJson.h"

#include "uCalcRuns.h"
#include "uFireClasses.h"
#include "uFireLoadMix.h"
#include "uNumberText.h"
#include "uProjectResults.h"
#include "uRefDbStartup.h"
#include "uTypicalLoad.h"

#include <QFileInfo>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>

namespace {

const QString Usage = QStringLiteral(
    "usage: tesvorn-cli run vop|vop-optimised|initial-stage|fireload FILE.fsp ZONE_ID [--out OUT.fsp] "
    "[--db kvr.db] < inputs.json");

const std::map<QString, TCalcRun> Runs = {
    { QStringLiteral("vop"), TCalcRun::Standard },
    { QStringLiteral("vop-optimised"), TCalcRun::Optimised },
    { QStringLiteral("initial-stage"), TCalcRun::InitialStage },
    { QStringLiteral("fireload"), TCalcRun::FireLoad },
};

// The dialog's real-valued controls and where their values go.
const std::map<QString, long double TCalcDialogValues::*> SpinKeys = {
    { QStringLiteral("seParam2"), &TCalcDialogValues::seParam2 },
    { QStringLiteral("seParam4"), &TCalcDialogValues::seParam4 },
    { QStringLiteral("seParam10"), &TCalcDialogValues::seParam10 },
    { QStringLiteral("seParam11"), &TCalcDialogValues::seParam11 },
    { QStringLiteral("seParam12"), &TCalcDialogValues::seParam12 },
    { QStringLiteral("seParam13"), &TCalcDialogValues::seParam13 },
    { QStringLiteral("seParam14"), &TCalcDialogValues::seParam14 },
    { QStringLiteral("seParam15"), &TCalcDialogValues::seParam15 },
    { QStringLiteral("seParam16"), &TCalcDialogValues::seParam16 },
    { QStringLiteral("seValue11"), &TCalcDialogValues::seValue11 },
};

const QString MethodKey = QStringLiteral("method");
const QString ClassKey = QStringLiteral("BOSClass");
const QString DebugKey = QStringLiteral("cbDebug");
const QString LoadsKey = QStringLiteral("loads");
const QString TypicalKey = QStringLiteral("typical");
const QString AmountKey = QStringLiteral("amount");

const char LoadFailedText[] = "Не удалось загрузить проект.";
const char SaveFailedText[] = "Не удалось сохранить проект.";
const QString TypicalLoadNotFound
    = QStringLiteral("Ошибка чтения из базы данных. Горючая нагрузка не будет добавлена.");

struct TOptions {
    TCalcRun Run = TCalcRun::Standard;
    QString RunName;
    QString ProjectFile;
    int ZoneID = -1;
    QString OutFile;
    QString DatabaseFile;
};

TOptions ParseArguments(const QStringList& args)
{
    TOptions o;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--out") || a == QLatin1String("--db")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty())
                throw ECliError(QStringLiteral("option %1 needs a file name").arg(a));
            (a == QLatin1String("--out") ? o.OutFile : o.DatabaseFile) = args[++i];
        } else if (a.startsWith(QLatin1String("--"))) {
            throw ECliError(QStringLiteral("unknown option: %1").arg(a));
        } else {
            positional << a;
        }
    }
    if (positional.size() != 3)
        throw ECliError(Usage);
    const auto run = Runs.find(positional[0]);
    if (run == Runs.end())
        throw ECliError(QStringLiteral("unknown run \"%1\"; %2").arg(positional[0], Usage));
    o.Run = run->second;
    o.RunName = positional[0];
    o.ProjectFile = positional[1];
    bool ok = false;
    o.ZoneID = positional[2].toInt(&ok);
    if (!ok)
        throw ECliError(QStringLiteral("ZONE_ID must be a whole number: %1").arg(positional[2]));
    return o;
}

// The reference database, opened on the first typical load.
class TLoadSource {
public:
    explicit TLoadSource(const QString& file)
        : FFile(file)
    {
    }

    TSQLiteDatabase& Database()
    {
        if (FDatabase)
            return *FDatabase;
        if (!FFile.isEmpty()) {
            // A reader opening a missing file would create an empty one.
            if (!QFileInfo(FFile).isFile())
                throw ECliError(QStringLiteral("no such database file: ") + FFile);
            try {
                FDatabase = std::make_unique<TSQLiteDatabase>(FFile);
            } catch (const ESQLiteException& e) {
                throw ECliError(OneLine(e.Message()), 1);
            }
            return *FDatabase;
        }
        TRefDbStartup start = StartReferenceDatabase();
        if (!start.Database)
            throw ECliError(OneLine(start.OpenError), 1);
        FDatabase = std::move(start.Database);
        return *FDatabase;
    }

    static QString OneLine(QString message) { return message.replace(QLatin1Char('\r'), QLatin1Char(' ')); }

private:
    QString FFile;
    std::unique_ptr<TSQLiteDatabase> FDatabase;
};

// One item of "loads", as the dialog's "Добавить в список" adds it.
TFireLoad ReadLoad(const QJsonValue& value, int index, TLoadSource& source)
{
    const QString where = QStringLiteral("loads[%1]").arg(index);
    TFireLoad load;
    if (value.isObject() && value.toObject().contains(TypicalKey)) {
        const QJsonObject o = value.toObject();
        for (auto it = o.begin(); it != o.end(); ++it)
            if (it.key() != TypicalKey && it.key() != AmountKey)
                throw ECliError(QStringLiteral("unknown key \"%1\" in %2").arg(it.key(), where));
        const QString name = StringFromJson(o[TypicalKey], where + QStringLiteral(".typical"));
        const long double amount = o.contains(AmountKey)
            ? RealFromJson(o[AmountKey], where + QStringLiteral(".amount"))
            : CalcDialogDefaults::seCurrentFL;
        ResetFireLoadToDefaults(load);
        try {
            if (!LoadTypicalLoad(source.Database(), name, load))
                throw ECliError(QStringLiteral("%1: \"%2\": %3").arg(where, name, TypicalLoadNotFound));
        } catch (const ESQLiteException& e) {
            throw ECliError(TLoadSource::OneLine(e.Message()), 1);
        }
        load.PFlammableLoad = amount;
    } else {
        QString error;
        if (!FireLoadFromJson(value, where, true, &load, &error))
            throw ECliError(error);
        if (value.toObject().contains(QStringLiteral("ListId")))
            return load;
    }
    load.ListId = index + 1;
    return load;
}

ECliError Unavailable(const QString& key, const TOptions& o)
{
    return ECliError(
        QStringLiteral("key \"%1\": the %2 dialog hides or disables this control").arg(key, o.RunName));
}

// The dialog's values: the run's initial ones with the input's keys applied.
TCalcDialogValues ReadValues(
    const QJsonObject& in, const TCalcDialogSetup& setup, const TOptions& o, TLoadSource& source)
{
    for (auto it = in.begin(); it != in.end(); ++it) {
        const QString& key = it.key();
        if (!SpinKeys.contains(key) && key != MethodKey && key != ClassKey && key != DebugKey
            && key != LoadsKey)
            throw ECliError(QStringLiteral("unknown key \"%1\"").arg(key));
    }
    TCalcDialogValues v = CalcDialogInitialValues(setup);

    // The method first: the extra parameters it enables depend on it.
    if (in.contains(MethodKey)) {
        if (!CalcDialogControlOffered(setup, MethodKey, v.method))
            throw Unavailable(MethodKey, o);
        const int method = RealToIntFromJson(in[MethodKey], MethodKey);
        if (method < 1 || method > 5)
            throw ECliError(QStringLiteral("field \"method\" must be 1 … 5"));
        if (!CalcDialogMethodOffered(setup, method))
            throw ECliError(QStringLiteral("key \"method\": the %1 dialog does not offer method %2")
                                .arg(o.RunName)
                                .arg(method));
        v.method = method;
    }
    for (const auto& [key, field] : SpinKeys) {
        if (!in.contains(key))
            continue;
        if (!CalcDialogControlOffered(setup, key, v.method))
            throw Unavailable(key, o);
        v.*field = RealFromJson(in[key], key);
    }
    if (setup.seParam2Max && in.contains(QStringLiteral("seParam2"))) {
        const long double max = *setup.seParam2Max;
        if (v.seParam2 > max)
            throw ECliError(
                QStringLiteral(
                    "seParam2 = %1 is above the dialog's limit %2 (the zone's shorter side less 0.01 m)")
                    .arg(FormatGeneral(v.seParam2, QLatin1Char('.')), FormatGeneral(max, QLatin1Char('.'))));
        if (v.seParam2 < 0)
            throw ECliError(QStringLiteral("seParam2 = %1 is below the dialog's least value 0")
                                .arg(FormatGeneral(v.seParam2, QLatin1Char('.'))));
    }
    if (in.contains(ClassKey)) {
        if (!CalcDialogControlOffered(setup, ClassKey, v.method))
            throw Unavailable(ClassKey, o);
        const int cls = RealToIntFromJson(in[ClassKey], ClassKey);
        if (cls != BOSClassA2 && cls != BOSClassA3)
            throw ECliError(QStringLiteral("field \"BOSClass\" must be 1 (A2) or 2 (A3)"));
        v.BOSClass = cls;
    }
    // A class button sets the activation temperature from the initial temperature when it
    // is clicked; the tool takes the class as chosen after the initial temperature.
    if (v.BOSClass == BOSClassA2)
        v.seParam11 = v.seParam10 + CalcDialogDefaults::ClassA2Rise;
    else if (v.BOSClass == BOSClassA3)
        v.seParam11 = v.seParam10 + CalcDialogDefaults::ClassA3Rise;
    if (in.contains(DebugKey))
        v.cbDebug = BoolFromJson(in[DebugKey], DebugKey);

    if (in.contains(LoadsKey)) {
        if (!in[LoadsKey].isArray())
            throw ECliError(QStringLiteral("field \"loads\" must be an array of fire loads"));
        const QJsonArray list = in[LoadsKey].toArray();
        if (list.isEmpty())
            throw ECliError(
                QStringLiteral("field \"loads\" holds no fire load: ") + CalcDialogText::NoFireLoads);
        for (int i = 0; i < list.size(); ++i)
            v.FireLoads.push_back(ReadLoad(list[i], i, source));
    }
    // The dialog combines its list after every change, with the zone's height and volume.
    long double h = std::numeric_limits<long double>::quiet_NaN();
    long double V = std::numeric_limits<long double>::quiet_NaN();
    TryParseNumber(v.edtParam1, &h);
    TryParseNumber(v.edtParam3, &V);
    SetFireLoadMix(v, CalcFireLoad(v.FireLoads, DefaultFireLoadMixRules(), h, V));
    return v;
}

// A warning about a results file: on stderr, the run goes on.
void Warn(const QString& warning)
{
    if (!warning.isEmpty())
        std::fprintf(stderr, "%s\n", warning.toUtf8().constData());
}

QString IndicatorText(TIndicatorState s)
{
    switch (s) {
    case TIndicatorState::Green:
        return QStringLiteral("green");
    case TIndicatorState::Yellow:
        return QStringLiteral("yellow");
    case TIndicatorState::None:
        break;
    }
    return QStringLiteral("none");
}

int RunVerb(const QStringList& args)
{
    const TOptions o = ParseArguments(args);
    auto project = std::make_unique<TFireProject>();
    QString reason;
    if (!project->LoadFromFile(o.ProjectFile, &reason)) {
        std::fprintf(stderr, "%s\n", LoadFailedText);
        if (!reason.isEmpty())
            std::fprintf(stderr, "%s\n", reason.toUtf8().constData());
        return 1;
    }
    Warn(LoadProjectResults(*project, o.ProjectFile).Warning);
    TRoom* room = project->GetRoom(o.ZoneID);
    if (room == nullptr)
        throw ECliError(QStringLiteral("the project has no zone with ID %1").arg(o.ZoneID));
    const QJsonObject in = ReadStdinObject();
    // As in the window: a run that cannot start never shows its dialog.
    if (const auto refusal = CalcRunStartRefusal(project.get(), room))
        throw ECliError(refusal->Message, 1);

    const TCalcDialogSetup setup = CalcDialogSetup(o.Run, *room);
    TLoadSource source(o.DatabaseFile);
    const TCalcDialogValues values = ReadValues(in, setup, o, source);
    const QString startRefusal = CalcDialogStartRefusal(values, setup.ts3Visible);
    if (!startRefusal.isEmpty())
        throw ECliError(startRefusal);

    const TCalcRunResult result = RunCalc(o.Run, *project, *room, values, TCalcIndicators {}, 0);
    if (result.Status != TCalcRunStatus::Done)
        throw ECliError(result.Message, 1);

    QJsonObject out;
    out[QStringLiteral("record")] = RecordToJson(room->CP);
    out[QStringLiteral("announcement")] = result.Message;
    out[QStringLiteral("statusBar")]
        = result.Has(TCalcRunStep::StatusBar) ? QJsonValue(result.StatusBarText) : QJsonValue();
    out[QStringLiteral("indicators")] = QJsonObject {
        { QStringLiteral("VOP"), IndicatorText(result.Indicators.VOP) },
        { QStringLiteral("NSP"), IndicatorText(result.Indicators.NSP) },
        { QStringLiteral("FL"), IndicatorText(result.Indicators.FL) },
    };
    QJsonArray sensors;
    for (const auto& s : room->GetSensors())
        sensors.append(QJsonObject {
            { QStringLiteral("Name"), s->Name() },
            { QStringLiteral("AbsolutePos"), QJsonArray { s->AbsolutePos().X, s->AbsolutePos().Y } },
            { QStringLiteral("Range"), s->Range() },
        });
    out[QStringLiteral("sensors")] = sensors;
    out[QStringLiteral("debugLog")] = QJsonArray::fromStringList(
        result.Has(TCalcRunStep::AddDebugLines) ? result.DebugLines : QStringList());

    if (!o.OutFile.isEmpty()) {
        // Results OUT already keeps for other zones stay, as long as those zones are still
        // the zones they were calculated for.
        Warn(LoadProjectResults(*project, o.OutFile, TResultsMerge::KeepExisting).Warning);
        if (!project->SaveToFile(o.OutFile, &reason)) {
            std::fprintf(stderr, "%s\n", SaveFailedText);
            if (!reason.isEmpty())
                std::fprintf(stderr, "%s\n", reason.toUtf8().constData());
            return 1;
        }
        const TResultsSave saved = SaveProjectResults(*project, o.OutFile);
        Warn(saved.Warning);
        if (!saved.Ok) {
            std::fprintf(stderr, "%s\n", saved.Error.toUtf8().constData());
            return 1;
        }
    }
    PrintJson(out);
    return 0;
}

TCliVerbRegistration reg("run",
    "vop|vop-optimised|initial-stage|fireload FILE.fsp ZONE_ID [--out OUT.fsp] [--db kvr.db] < inputs.json",
    RunVerb);

} // namespace
