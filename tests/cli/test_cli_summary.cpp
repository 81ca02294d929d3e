// tesvorn-cli run with --out keeping the results beside the project, and project summary /
// report summary reading them, run as separate processes the way a script runs them: a
// script that calculates zone after zone gets the verdicts of the runs, results of other
// zones stay, the kept inputs replay, and a damaged results file only costs the results.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

#include "CliProcess.h"

namespace {

const QString Example = QStringLiteral(TESVORN_EXAMPLE_PROJECT);
const QString Furniture = QStringLiteral("Здание I-II ст. огнест.; мебель + ткани");

QByteArray Loads(QJsonObject keys = {})
{
    keys["loads"] = QJsonArray { QJsonObject { { "typical", Furniture }, { "amount", 50 } } };
    return QJsonDocument(keys).toJson();
}

class CliSummary : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        ASSERT_EQ(RunCli({ "db", "init", Path("kvr.db") }).Exit, 0);
        ASSERT_TRUE(QFile::copy(Example, Path("office.fsp")));
    }

    QString Path(const char* name) const { return FDir.filePath(QString::fromUtf8(name)); }

    // `tesvorn-cli run KIND FILE ZONE --out OUT --db kvr.db`: the run's output.
    QJsonObject Run(const char* kind, const char* file, int zone, const QByteArray& input, const char* out)
    {
        const TCliRun r = RunCli(
            { "run", kind, Path(file), QString::number(zone), "--out", Path(out), "--db", Path("kvr.db") },
            input);
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        return r.Json();
    }

    QJsonArray Summary(const char* file, QString* warning = nullptr)
    {
        const TCliRun r = RunCli({ "project", "summary", Path(file) });
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        if (warning)
            *warning = r.Message();
        return r.Json()["zones"].toArray();
    }

    QTemporaryDir FDir;
};

} // namespace

TEST_F(CliSummary, AScriptRunningZoneAfterZoneGetsTheVerdictsOfItsRuns)
{
    const QJsonObject vop = Run("vop", "office.fsp", 1, Loads(), "office.fsp");
    const QJsonObject stage
        = Run("initial-stage", "office.fsp", 1, Loads({ { "seValue11", 10 } }), "office.fsp");
    Run("vop", "office.fsp", 2, Loads({ { "seParam2", 2 } }), "office.fsp");
    ASSERT_TRUE(QFile::exists(Path("office.results.json")));
    // The second run started from the zone's kept results, as in the window: the detection
    // time is still in the record it printed.
    EXPECT_EQ(stage["record"]["value10s"], vop["record"]["value10s"]);

    QString warning;
    const QJsonArray zones = Summary("office.fsp", &warning);
    EXPECT_TRUE(warning.isEmpty()) << warning.toStdString();
    ASSERT_EQ(zones.size(), 7);
    const QJsonObject first = zones[0].toObject();
    const double detection = vop["record"]["value10s"].toDouble();
    const double duration = stage["record"]["value12"].toDouble();
    ASSERT_GT(detection, 0);
    EXPECT_EQ(first["ID"].toInt(), 1);
    EXPECT_EQ(first["VOP"].toDouble(), detection);
    EXPECT_EQ(first["NSP"].toDouble(), duration);
    EXPECT_EQ(first["L"].toDouble(), vop["record"]["param2"].toDouble());
    EXPECT_EQ(first["value13"].toDouble(), stage["record"]["value13"].toDouble());
    EXPECT_EQ(first["Sensors"].toInt(), vop["sensors"].toArray().size());
    const qint64 margin = std::llrint(duration) - std::llrint(detection);
    EXPECT_EQ(first["margin"].toInteger(), margin);
    EXPECT_EQ(first["verdict"].toString(), margin > 0 ? "in-time" : "late");
    EXPECT_FALSE(first["stale"].toBool());

    const QJsonObject second = zones[1].toObject();
    EXPECT_EQ(second["verdict"].toString(), "incomplete");
    EXPECT_EQ(second["L"].toDouble(), 2);
    EXPECT_TRUE(second["NSP"].isNull());
    EXPECT_TRUE(second["margin"].isNull());
    const QJsonObject third = zones[2].toObject();
    for (const char* key : { "L", "VOP", "NSP", "value13", "margin" })
        EXPECT_TRUE(third[key].isNull()) << key;
    EXPECT_EQ(third["Height"].toDouble(), 3.5);

    // The summary report of the same project: one row per zone.
    const TCliRun report = RunCli({ "report", "summary", Path("office.fsp"), Path("summary.docx"),
        "--templates", QStringLiteral(TESVORN_TEMPLATES_DIR) });
    ASSERT_EQ(report.Exit, 0) << report.Err.toStdString();
    EXPECT_EQ(report.Json()["zones"].toInt(), 7);
    EXPECT_TRUE(QFile::exists(Path("summary.docx")));
}

TEST_F(CliSummary, ResultsOfOtherZonesInTheOutputFileStayAndKeptInputsReplay)
{
    const QJsonObject vop = Run("vop", "office.fsp", 1, Loads({ { "seParam4", 12.5 } }), "office.fsp");
    Run("initial-stage", "office.fsp", 1, Loads({ { "seValue11", 10 } }), "office.fsp");
    ASSERT_TRUE(QFile::copy(Path("office.fsp"), Path("other.fsp")));
    ASSERT_TRUE(QFile::copy(Path("office.results.json"), Path("other.results.json")));
    // A run on another file, written over other.fsp: zone 1's results in other.results.json stay.
    ASSERT_TRUE(QFile::copy(Example, Path("plain.fsp")));
    Run("fireload", "plain.fsp", 3, Loads(), "other.fsp");
    const QJsonArray zones = Summary("other.fsp");
    EXPECT_NE(zones[0]["verdict"].toString(), "incomplete");
    EXPECT_FALSE(zones[2]["value13"].isNull());
    EXPECT_FALSE(QFile::exists(Path("plain.results.json"))); // the input is never written

    // The inputs the results file keeps are the run verb's inputs: they give the same result.
    QFile file(Path("office.results.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject kept = QJsonDocument::fromJson(file.readAll())["zones"][0]["runs"]["VOP"].toObject();
    EXPECT_EQ(kept["run"].toString(), "vop");
    const QJsonObject inputs = kept["inputs"].toObject();
    EXPECT_EQ(inputs["seParam4"].toDouble(), 12.5);
    const TCliRun replay = RunCli(
        { "run", "vop", Path("office.fsp"), "1", "--db", Path("kvr.db") }, QJsonDocument(inputs).toJson());
    ASSERT_EQ(replay.Exit, 0) << replay.Err.toStdString();
    for (const char* key : { "value10s", "VOPResult", "param4", "param9", "FireLoads", "FLNames" })
        EXPECT_EQ(replay.Json()["record"][QLatin1String(key)], vop["record"][QLatin1String(key)]) << key;
    EXPECT_EQ(kept["announcement"], vop["announcement"]);
}

TEST_F(CliSummary, ADamagedResultsFileCostsOnlyTheResults)
{
    Run("vop", "office.fsp", 1, Loads(), "office.fsp");
    QFile file(Path("office.results.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray good = file.readAll();
    file.resize(good.size() / 3);
    file.close();

    QString warning;
    const QJsonArray zones = Summary("office.fsp", &warning);
    EXPECT_TRUE(warning.startsWith(QStringLiteral("Файл результатов расчета office.results.json поврежден")))
        << warning.toStdString();
    ASSERT_EQ(zones.size(), 7);
    for (const QJsonValue& z : zones)
        EXPECT_EQ(z["verdict"].toString(), "incomplete");
    EXPECT_TRUE(zones[0]["VOP"].isNull());

    // A run over it warns the same way and writes a sound file again.
    const TCliRun r = RunCli(
        { "run", "vop", Path("office.fsp"), "1", "--out", Path("office.fsp"), "--db", Path("kvr.db") },
        Loads());
    EXPECT_EQ(r.Exit, 0);
    EXPECT_TRUE(QString::fromUtf8(r.Err).contains(QStringLiteral("поврежден")));
    EXPECT_FALSE(Summary("office.fsp")[0][QStringLiteral("VOP")].isNull());

    EXPECT_EQ(RunCli({ "project", "summary" }).Exit, 2);
    EXPECT_EQ(RunCli({ "report", "summary", Path("office.fsp") }).Exit, 2);
    EXPECT_EQ(RunCli({ "project", "summary", Path("missing.fsp") }).Exit, 1);
}

TEST_F(CliSummary, AResaveTakesTheResultsAlongAsSaveAsDoes)
{
    Run("vop", "office.fsp", 1, Loads(), "office.fsp");
    Run("fireload", "office.fsp", 3, Loads(), "office.fsp");
    // A results file copy.fsp had before speaks for another project: it is replaced.
    ASSERT_TRUE(QFile::copy(Path("office.results.json"), Path("copy.results.json")));
    Run("vop", "office.fsp", 2, Loads({ { "seParam2", 2 } }), "copy.fsp");

    const TCliRun resave = RunCli({ "project", "resave", Path("office.fsp"), Path("copy.fsp") });
    ASSERT_EQ(resave.Exit, 0) << resave.Err.toStdString();
    EXPECT_EQ(Summary("copy.fsp"), Summary("office.fsp"));
    EXPECT_TRUE(Summary("copy.fsp")[1].toObject()["VOP"].isNull());
    EXPECT_FALSE(Summary("copy.fsp")[0].toObject()["VOP"].isNull());

    // Without results beside IN, none stay beside OUT.
    ASSERT_TRUE(QFile::copy(Example, Path("plain.fsp")));
    ASSERT_EQ(RunCli({ "project", "resave", Path("plain.fsp"), Path("copy.fsp") }).Exit, 0);
    EXPECT_FALSE(QFile::exists(Path("copy.results.json")));
}
