// tesvorn-cli report run as a user runs it: a record made by the tool's own calculation
// verbs, the shipped templates, the documented output, exit codes and messages.
#include "CliProcess.h"

#include "uReportDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString Templates = QStringLiteral(TESVORN_TEMPLATES_DIR);

QJsonObject Inputs()
{
    return QJsonObject {
        { "param1", 4 },
        { "param2", 3 },
        { "param3", 500 },
        { "param4", 20 },
        { "param5", 0.9 },
        { "param6", 0.0108 },
        { "param7", 0.0145 },
        { "param8", 13000 },
        { "param9", 20 },
        { "param10", 293 },
        { "param11", 333 },
        { "param12", 50 },
        { "method", 1 },
        { "BOSClass", 2 },
        { "value11", 10 },
    };
}

// A record as the calculation verbs print it.
QJsonObject Calculated(const char* verb, QJsonObject inputs = Inputs())
{
    const TCliRun run
        = RunCli({ QStringLiteral("calc"), QString::fromLatin1(verb) }, QJsonDocument(inputs).toJson());
    EXPECT_EQ(run.Exit, 0) << run.Err.toStdString();
    return run.Json();
}

QString WriteJson(const QTemporaryDir& dir, const QString& name, const QJsonObject& object)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QJsonDocument(object).toJson());
    return path;
}

TCliRun Report(
    const QString& kind, const QString& record, const QString& out, const QString& templates = Templates)
{
    QStringList args { QStringLiteral("report"), kind, QStringLiteral("--record"), record,
        QStringLiteral("--zone-name"), QStringLiteral("Склад №3") };
    if (!templates.isEmpty())
        args << QStringLiteral("--templates") << templates;
    return RunCli(args << out);
}

} // namespace

TEST(CliReport, WritesTheReportAndPrintsTheRecordAfterIt)
{
    QTemporaryDir dir;
    const QString record = WriteJson(dir, QStringLiteral("rec.json"), Calculated("height-tables"));
    const QString out = dir.filePath(QStringLiteral("отчет.docx"));
    const TCliRun run = Report(QStringLiteral("vop"), record, out);
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.isEmpty());
    const QJsonObject json = run.Json();
    EXPECT_EQ(json["file"].toString(), out);
    EXPECT_EQ(json["record"].toObject()["BOSClassText"].toString(), QStringLiteral("A3"));
    EXPECT_TRUE(json["record"].toObject()["CalculatedVOP"].toBool());

    TReportDocument doc;
    QString error;
    ASSERT_TRUE(doc.Open(out, &error)) << error.toStdString();
    const QString text = (doc.Paragraphs() + doc.HeaderFooterParagraphs()).join(QLatin1Char('\n'));
    EXPECT_TRUE(text.contains(QStringLiteral("Склад №3")));
    EXPECT_FALSE(text.contains(QStringLiteral("<var")));
    EXPECT_TRUE(text.contains(QStringLiteral("Извещатели класса A3, высота помещения менее 9 м")));
}

TEST(CliReport, TakesTheRecordOutOfARunsWholeOutputAndFindsTheTemplatesBesideItself)
{
    QTemporaryDir dir;
    // No templates in the user's data folder of this run: the ones beside the tool are used.
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    const QJsonObject wrapped { { "record", Calculated("optimised") },
        { "announcement", "Время обнаружения: 182 сек" } };
    const QString record = WriteJson(dir, QStringLiteral("run.json"), wrapped);
    const QString out = dir.filePath(QStringLiteral("вып.docx"));
    const TCliRun run = Report(QStringLiteral("vop-optimised"), record, out, QString());
    qunsetenv("XDG_DATA_HOME");
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    EXPECT_TRUE(QFile::exists(out));
}

TEST(CliReport, RefusalsExitOneWithTheProgramsMessage)
{
    QTemporaryDir dir;
    // The initial-stage run clears the detection-time result.
    QJsonObject large = Inputs();
    large["param3"] = 3500;
    const QString stage = WriteJson(dir, QStringLiteral("stage.json"), Calculated("initial-stage", large));
    const QString out = dir.filePath(QStringLiteral("r.docx"));

    TCliRun run = Report(QStringLiteral("vop"), stage, out);
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(
        run.Message(), QStringLiteral("Для того что бы сделать отчет нужно произвести расчет ВОП. Начать?"));
    run = Report(
        QStringLiteral("fireload"), WriteJson(dir, QStringLiteral("empty.json"), QJsonObject {}), out);
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(
        run.Message(), QStringLiteral("Для того что бы сделать отчет нужно произвести расчет. Начать?"));

    // The large volume looks for template4.
    const QString empty = dir.filePath(QStringLiteral("нет"));
    QDir().mkdir(empty);
    run = Report(QStringLiteral("initial-stage"), stage, out, empty);
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Message(),
        QStringLiteral("Файл шаблона не найден (template4.dotx). Невозможно сохранить отчет."));

    QFile damaged(QDir(empty).filePath(QStringLiteral("template4.dotx")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a document");
    damaged.close();
    run = Report(QStringLiteral("initial-stage"), stage, out, empty);
    EXPECT_EQ(run.Exit, 1);
    EXPECT_TRUE(run.Message().contains(damaged.fileName())) << run.Message().toStdString();
    EXPECT_FALSE(QFile::exists(out));

    // The fire-load report needs any result: the initial stage will do.
    run = Report(QStringLiteral("fireload"), stage, out);
    EXPECT_EQ(run.Exit, 0) << run.Err.toStdString();
}

TEST(CliReport, BadUsageAndInputExitTwo)
{
    QTemporaryDir dir;
    const QString record = WriteJson(dir, QStringLiteral("rec.json"), Calculated("height-tables"));
    const QString out = dir.filePath(QStringLiteral("r.docx"));
    const QString notJson = dir.filePath(QStringLiteral("bad.json"));
    QFile f(notJson);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{ not json");
    f.close();
    QJsonObject misspelt = Calculated("height-tables");
    misspelt["parma1"] = 3;

    const QList<QStringList> bad {
        { "report", "vop-fast", "--record", record, "--zone-name", "z", out },
        { "report", "vop", "--zone-name", "z", out },
        { "report", "vop", "--record", record, out },
        { "report", "vop", "--record", record, "--zone-name", "z" },
        { "report", "vop", "--record", record, "--zone-name", "z", out, out },
        { "report", "vop", "--record", record, "--zone-name", "z", "--colour", "red", out },
        { "report", "vop", "--record", record, "--zone-name" },
        { "report", "vop", "--record", dir.filePath(QStringLiteral("missing.json")), "--zone-name", "z",
            out },
        { "report", "vop", "--record", notJson, "--zone-name", "z", out },
        { "report", "vop", "--record", WriteJson(dir, QStringLiteral("m.json"), misspelt), "--zone-name", "z",
            out },
    };
    for (const QStringList& args : bad) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.Exit, 2);
        EXPECT_FALSE(run.Message().isEmpty());
        EXPECT_TRUE(run.Out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));
}

#ifdef TESVORN_EXAMPLE_PROJECT
// The whole way a designer goes without the window: a run on a zone of the example project,
// then its report from the run's output.
TEST(CliReport, ReportsWhatTheRunsLeaveInTheRecord)
{
    QTemporaryDir dir;
    const QString db = dir.filePath(QStringLiteral("kvr.db"));
    ASSERT_EQ(RunCli({ QStringLiteral("db"), QStringLiteral("init"), db }).Exit, 0);
    auto load = [](const char* name, double q, double v) {
        return QJsonObject { { "Name", name }, { "P1LowestHeat", 13800 }, { "P2LinearFlameSpeed", v },
            { "P3BurnoutSpeed", 0.0145 }, { "P4SmokeFormingAbility", 270 }, { "P5OxygenConsumption", -1.03 },
            { "P6AllocationCO2", 0.203 }, { "P6AllocationCO", 0.0022 }, { "P6AllocationHCl", 0.014 },
            { "PFlammableLoad", q }, { "CCC", 0.97 } };
    };
    const QJsonObject inputs { { "loads",
        QJsonArray { load("Мебель", 40, 0.0108), load("Бумага", 20, 0.02) } } };
    auto run = [&](const char* kind) {
        const TCliRun r = RunCli(
            { QStringLiteral("run"), QString::fromLatin1(kind), QStringLiteral(TESVORN_EXAMPLE_PROJECT),
                QStringLiteral("1"), QStringLiteral("--db"), db },
            QJsonDocument(inputs).toJson());
        EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
        QFile f(dir.filePath(QString::fromLatin1(kind) + QStringLiteral(".json")));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(r.Out);
        return f.fileName();
    };

    const QString out = dir.filePath(QStringLiteral("гн.docx"));
    TCliRun r = Report(QStringLiteral("fireload"), run("fireload"), out);
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    TReportDocument doc;
    QString error;
    ASSERT_TRUE(doc.Open(out, &error)) << error.toStdString();
    const QStringList text = doc.Paragraphs();
    EXPECT_TRUE(text.contains(QStringLiteral("Мебель")));
    EXPECT_TRUE(text.contains(QStringLiteral("Бумага")));
    EXPECT_FALSE(text.join(QLatin1Char('\n')).contains(QLatin1Char('$')));

    const QString vop = dir.filePath(QStringLiteral("воп.docx"));
    r = Report(QStringLiteral("vop"), run("vop"), vop);
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    ASSERT_TRUE(doc.Open(vop, &error)) << error.toStdString();
    EXPECT_TRUE(doc.Paragraphs().contains(QStringLiteral("Горючая нагрузка помещения: Мебель, Бумага.")));
    EXPECT_EQ(r.Json()["record"].toObject()["BOSClassText"].toString(),
        r.Json()["record"].toObject()["BOSClass"].toInt() == 1 ? QStringLiteral("A2") : QStringLiteral("A3"));
}
#endif
