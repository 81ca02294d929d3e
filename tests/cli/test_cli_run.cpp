// tesvorn-cli run, run as a separate process on the shipped example project: each of the
// four runs with the dialog's defaults and with typed keys, loads by name from a fresh
// reference database, the --out round trip, the record handed on to another verb, and
// every refusal with its exit code.
#include <SQLiteTable3.h>
#include <uFireClasses.h>
#include <uRefDbStatements.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CliProcess.h"

namespace {

const QString Example = QStringLiteral(TESVORN_EXAMPLE_PROJECT);
const QString Furniture = QStringLiteral("Здание I-II ст. огнест.; мебель + ткани");

// A full load as `tesvorn-cli fireload` takes it.
QJsonObject FullLoad(const char* name, double q, double flameSpeed = 0.0108)
{
    return { { "Name", name }, { "P1LowestHeat", 13800 }, { "P2LinearFlameSpeed", flameSpeed },
        { "P3BurnoutSpeed", 0.0145 }, { "P4SmokeFormingAbility", 270 }, { "P5OxygenConsumption", -1.03 },
        { "P6AllocationCO2", 0.203 }, { "P6AllocationCO", 0.0022 }, { "P6AllocationHCl", 0.014 },
        { "PFlammableLoad", q }, { "CCC", 0.97 } };
}

QJsonObject Typical(const QString& name, double amount)
{
    return { { "typical", name }, { "amount", amount } };
}

QByteArray Input(QJsonObject keys, const QJsonArray& loads)
{
    keys["loads"] = loads;
    return QJsonDocument(keys).toJson();
}

class CliRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        const TCliRun made = RunCli({ "db", "init", Db() });
        ASSERT_EQ(made.Exit, 0) << made.Err.toStdString();
    }

    QString Path(const char* name) const { return FDir.filePath(QString::fromUtf8(name)); }
    QString Db() const { return Path("kvr.db"); }

    // `tesvorn-cli run KIND example ZONE --db Db() [extra]`.
    TCliRun Run(const char* kind, int zone, const QByteArray& input, QStringList extra = {}) const
    {
        QStringList args = { "run", kind, Example, QString::number(zone), "--db", Db() };
        return RunCli(args + extra, input);
    }

    // The run's exit code 2 or 1 and its one-line message.
    void ExpectRefused(const TCliRun& r, int exit, const QString& message) const
    {
        EXPECT_EQ(r.Exit, exit) << r.Err.toStdString();
        EXPECT_EQ(r.Message(), message);
        EXPECT_TRUE(r.Out.isEmpty());
    }

    QTemporaryDir FDir;
};

QStringList Names(const QJsonArray& sensors)
{
    QStringList names;
    for (const QJsonValue& s : sensors)
        names << s["Name"].toString();
    return names;
}

} // namespace

TEST_F(CliRun, StandardRunWithTheDialogDefaults)
{
    // Zone 1 is 6 m × 5 m × 3 m: seParam2 is limited to 4,99 (the 5 the dialog asks for
    // shows as 4,99), class A3 gives 333 K.
    const TCliRun r = Run("vop", 1, Input({}, { Typical(Furniture, 50) }));
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonObject out = r.Json();
    const QJsonObject rec = out["record"].toObject();
    EXPECT_EQ(rec["param1"].toDouble(), 3);
    EXPECT_EQ(rec["param2"].toDouble(), 4.99);
    EXPECT_EQ(rec["param3"].toDouble(), 90);
    EXPECT_EQ(rec["param4"].toDouble(), 10);
    EXPECT_EQ(rec["param11"].toDouble(), 333);
    EXPECT_EQ(rec["param8"].toDouble(), 14700);
    EXPECT_EQ(rec["param9"].toDouble(), 50); // the amount replaces the reference value
    EXPECT_EQ(rec["BOSClass"].toInt(), 2);
    EXPECT_EQ(rec["method"].toInt(), 1);
    EXPECT_TRUE(rec["CalculatedVOP"].toBool());
    EXPECT_EQ(rec["FLNames"].toString(), Furniture);

    const QJsonArray loads = rec["FireLoads"].toArray();
    ASSERT_EQ(loads.size(), 1);
    EXPECT_EQ(loads[0]["ListId"].toInt(), 1);
    EXPECT_EQ(loads[0]["PFlammableLoad"].toDouble(), 50);
    const TCliRun db = RunCli({ "db", "loads", Db() });
    int found = 0;
    for (const QJsonValue& row : db.JsonArray())
        if (row["Name"].toString() == Furniture) {
            ++found;
            EXPECT_EQ(loads[0]["Id"].toInt(), row["Id"].toInt());
            EXPECT_EQ(loads[0]["P4SmokeFormingAbility"].toDouble(), row["P4SmokeFormingAbility"].toDouble());
        }
    EXPECT_EQ(found, 1);

    const QString time
        = "Время обнаружения: " + QString::number(qRound(rec["VOPResult"].toDouble())) + " сек";
    EXPECT_EQ(out["announcement"].toString(), time);
    EXPECT_EQ(out["statusBar"].toString(), time);
    EXPECT_EQ(out["indicators"].toObject(),
        (QJsonObject { { "VOP", "green" }, { "NSP", "none" }, { "FL", "none" } }));
    EXPECT_TRUE(out["debugLog"].toArray().isEmpty());

    // 2 × 2 sensors 2.495 m (50 px at 0.05 m/px) from the top-left walls of the zone at
    // (10, 10); the second row and column only 0.01 m further on.
    const QJsonArray sensors = out["sensors"].toArray();
    EXPECT_EQ(Names(sensors), (QStringList { "1", "2", "3", "4" }));
    EXPECT_EQ(sensors[0]["AbsolutePos"].toArray(), (QJsonArray { 60, 60 }));
    EXPECT_EQ(sensors[1]["AbsolutePos"].toArray(), (QJsonArray { 80, 60 }));
    EXPECT_EQ(sensors[3]["Range"].toInt(), 50);
}

TEST_F(CliRun, StandardRunWithTypedKeysAndDebugMode)
{
    const TCliRun r = Run("vop", 1,
        Input({ { "BOSClass", 1 }, { "seParam10", 300 }, { "seParam2", 3.3 }, { "seParam4", 1 },
                  { "seParam12", 50 }, { "cbDebug", true } },
            { FullLoad("Ящики", 20) }));
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonObject out = r.Json();
    const QJsonObject rec = out["record"].toObject();
    EXPECT_EQ(rec["param11"].toDouble(), 330); // A2: 30 K above the typed 300 K
    EXPECT_EQ(rec["BOSClass"].toInt(), 1);
    EXPECT_EQ(rec["FireLoads"][0]["Id"].toInt(), -1);
    EXPECT_TRUE(rec["DebugMode"].toBool());
    // 1 m² burning is too little for a sensor to detect: an outcome, not an error.
    const QString tooWeak = "Пожар не будет обнаружен (требуется увеличить площадь горючей нагрузки)";
    EXPECT_EQ(out["announcement"].toString(), tooWeak);
    EXPECT_EQ(out["statusBar"].toString(), tooWeak);
    EXPECT_EQ(rec["value10s"].toDouble(), -1);
    EXPECT_EQ(out["indicators"].toObject()["VOP"].toString(), "green");
    const QJsonArray log = out["debugLog"].toArray();
    ASSERT_EQ(log.size(), 41);
    EXPECT_EQ(log[1].toString(), "param2\t3,3");
    EXPECT_EQ(log[40].toString(), "value10s\t-1");
    EXPECT_EQ(out["sensors"].toArray().size(), 4); // 2 × 2 at 3.3 m
}

TEST_F(CliRun, OptimisedRun)
{
    const TCliRun r
        = Run("vop-optimised", 1, Input({ { "method", 2 }, { "seParam13", 4 } }, { Typical(Furniture, 50) }));
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonObject out = r.Json();
    const QJsonObject rec = out["record"].toObject();
    EXPECT_EQ(rec["param2"].toDouble(), 1.1); // Round(0.36 · 3 · 10) / 10
    EXPECT_EQ(rec["method"].toInt(), 2);
    EXPECT_EQ(rec["param13"].toDouble(), 4);
    EXPECT_EQ(rec["tbl_time"].toInt(), 500);
    EXPECT_EQ(out["statusBar"].toString(), out["announcement"].toString());
    EXPECT_EQ(out["indicators"].toObject(),
        (QJsonObject { { "VOP", "none" }, { "NSP", "none" }, { "FL", "none" } }));
    const QJsonArray log = out["debugLog"].toArray();
    ASSERT_EQ(log.size(), 14 + 1 + 7 + 1 + 500);
    EXPECT_TRUE(log[22 + rec["tbl_stop"].toInt()].toString().endsWith("\tстоп"));
    EXPECT_EQ(out["sensors"].toArray().size(), 5 * 6); // 5 m / 1.1 m by 6 m / 1.1 m
}

TEST_F(CliRun, InitialStageAndFireLoadRunsLeaveTheSensors)
{
    const TCliRun nsp = Run("initial-stage", 1, Input({ { "seValue11", 10 } }, { Typical(Furniture, 50) }));
    ASSERT_EQ(nsp.Exit, 0) << nsp.Err.toStdString();
    QJsonObject out = nsp.Json();
    QJsonObject rec = out["record"].toObject();
    EXPECT_EQ(rec["value11"].toDouble(), 600);
    EXPECT_TRUE(rec["CalculatedNSP"].toBool());
    EXPECT_EQ(rec["value13"].toDouble(), 53); // 50 · 14700 / 13800
    EXPECT_EQ(rec["value13calc"].toString(), "50*14700/13800");
    EXPECT_EQ(out["announcement"].toString(),
        "Продолжительность начальной стадии пожара: " + QString::number(qRound(rec["value12"].toDouble()))
            + " сек");
    EXPECT_TRUE(out["statusBar"].isNull());
    EXPECT_EQ(out["indicators"].toObject()["NSP"].toString(), "green");
    EXPECT_EQ(Names(out["sensors"].toArray()), (QStringList { "Датчик 1", "Датчик 2" }));

    const TCliRun fl = Run(
        "fireload", 1, Input({ { "cbDebug", true } }, { Typical(Furniture, 50), FullLoad("Бумага", 20) }));
    ASSERT_EQ(fl.Exit, 0) << fl.Err.toStdString();
    out = fl.Json();
    rec = out["record"].toObject();
    EXPECT_TRUE(rec["CalculatedFL"].toBool());
    EXPECT_FALSE(rec["CalculatedNSP"].toBool());
    EXPECT_EQ(rec["FLNames"].toString(), Furniture + ", Бумага");
    EXPECT_EQ(rec["FireLoads"][1]["ListId"].toInt(), 2);
    EXPECT_EQ(out["announcement"].toString(), "Расчет сделан");
    EXPECT_TRUE(out["statusBar"].isNull());
    EXPECT_EQ(out["indicators"].toObject()["FL"].toString(), "green");
    EXPECT_EQ(out["debugLog"].toArray().size(), 16 + 1 + 6);
    EXPECT_EQ(Names(out["sensors"].toArray()), (QStringList { "Датчик 1", "Датчик 2" }));
}

TEST_F(CliRun, OutWritesTheNewSensorsAndTheRecordGoesOn)
{
    const QByteArray before = [] {
        QFile f(Example);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const TCliRun plain = Run("vop", 1, Input({}, { Typical(Furniture, 50) }));
    ASSERT_EQ(plain.Exit, 0);
    EXPECT_FALSE(QFile::exists(Path("out.fsp")));

    const TCliRun r = Run("vop", 1, Input({}, { Typical(Furniture, 50) }), { "--out", Path("out.fsp") });
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, plain.Out);
    QFile original(Example);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), before); // the input file is never written

    const TCliRun dump = RunCli({ "project", "dump", Path("out.fsp") });
    ASSERT_EQ(dump.Exit, 0) << dump.Err.toStdString();
    const QJsonArray rooms = dump.Json()["Rooms"].toArray();
    ASSERT_EQ(rooms.size(), 7);
    const QJsonArray written = rooms[0]["Sensors"].toArray();
    const QJsonArray ran = r.Json()["sensors"].toArray();
    ASSERT_EQ(written.size(), ran.size());
    for (qsizetype i = 0; i < ran.size(); ++i) {
        EXPECT_EQ(written[i]["Name"], ran[i]["Name"]);
        EXPECT_EQ(written[i]["AbsolutePos"], ran[i]["AbsolutePos"]);
    }
    EXPECT_EQ(rooms[1]["Sensors"].toArray().size(), 2); // the other zones as they were

    // The printed record is a record the other verbs read: the height tables give it the
    // same outcome again.
    QJsonObject rec = r.Json()["record"].toObject();
    const TCliRun again = RunCli({ "calc", "height-tables" }, QJsonDocument(rec).toJson());
    ASSERT_EQ(again.Exit, 0) << again.Err.toStdString();
    EXPECT_EQ(again.Json()["value10s"], rec["value10s"]);
    EXPECT_EQ(again.Json()["FireLoads"], rec["FireLoads"]);
    EXPECT_EQ(again.Json()["FLNames"], rec["FLNames"]);
}

TEST_F(CliRun, BadInputExitsTwoNamingTheKey)
{
    const QJsonArray one = { Typical(Furniture, 50) };
    ExpectRefused(Run("vop", 1, Input({ { "seParam11", 300 } }, one)), 2,
        "key \"seParam11\": the vop dialog hides or disables this control");
    ExpectRefused(Run("vop", 1, Input({ { "method", 1 } }, one)), 2,
        "key \"method\": the vop dialog hides or disables this control");
    ExpectRefused(Run("vop-optimised", 1, Input({ { "seParam13", 4 } }, one)), 2,
        "key \"seParam13\": the vop-optimised dialog hides or disables this control");
    ExpectRefused(Run("vop-optimised", 1, Input({ { "method", 3 } }, one)), 2,
        "key \"method\": the vop-optimised dialog does not offer method 3");
    ExpectRefused(Run("vop-optimised", 1, Input({ { "BOSClass", 1 } }, one)), 2,
        "key \"BOSClass\": the vop-optimised dialog hides or disables this control");
    ExpectRefused(Run("initial-stage", 1, Input({ { "seParam2", 3 } }, one)), 2,
        "key \"seParam2\": the initial-stage dialog hides or disables this control");
    ExpectRefused(Run("fireload", 1, Input({ { "seValue11", 5 } }, one)), 2,
        "key \"seValue11\": the fireload dialog hides or disables this control");
    ExpectRefused(Run("vop", 1, Input({ { "seParm2", 3 } }, one)), 2, "unknown key \"seParm2\"");
    ExpectRefused(
        Run("vop", 1, Input({ { "BOSClass", 3 } }, one)), 2, "field \"BOSClass\" must be 1 (A2) or 2 (A3)");

    // The dialog's limit of the spacing: 4,99 is taken, 5 is not.
    EXPECT_EQ(Run("vop", 1, Input({ { "seParam2", 4.99 } }, one)).Exit, 0);
    ExpectRefused(Run("vop", 1, Input({ { "seParam2", 5 } }, one)), 2,
        "seParam2 = 5 is above the dialog's limit 4.99 (the zone's shorter side less 0.01 m)");
    ExpectRefused(Run("vop", 1, Input({ { "seParam2", -1 } }, one)), 2,
        "seParam2 = -1 is below the dialog's least value 0");

    // The loads: none, unknown, a zero total, and the dialog's start refusals.
    ExpectRefused(Run("vop", 1, Input({}, {})), 2,
        "field \"loads\" holds no fire load: Добавьте хотя бы одну горючую нагрузку");
    ExpectRefused(Run("vop", 1, "{}"), 2, "Добавьте хотя бы одну горючую нагрузку");
    ExpectRefused(Run("vop", 1, Input({}, { Typical("Нет такой нагрузки", 10) })), 2,
        "loads[0]: \"Нет такой нагрузки\": Ошибка чтения из базы данных. Горючая нагрузка не будет "
        "добавлена.");
    ExpectRefused(Run("fireload", 1, Input({}, { FullLoad("A", 0), FullLoad("B", 0) })), 2,
        "Суммарная горючая нагрузка равна нулю");
    ExpectRefused(Run("initial-stage", 1, Input({}, one)), 2, "Не указана приведенная продолжительность НСП");
    ExpectRefused(
        Run("fireload", 1, Input({}, { QJsonObject { { "typical", Furniture }, { "amonut", 5 } } })), 2,
        "unknown key \"amonut\" in loads[0]");

    // Two typical loads of one name: the dialog can add neither.
    {
        TSQLiteDatabase db(Db());
        const int64_t id = RefInsertNewRow(db, TRefTable::InitialParams);
        RefUpdateInitialParams(db, id, { Furniture, "14700", "", "", "", "", "", "", "", "", "" });
    }
    EXPECT_EQ(Run("vop", 1, Input({}, one)).Exit, 2);

    // Usage.
    EXPECT_EQ(Run("vop", 99, Input({}, one)).Exit, 2);
    EXPECT_EQ(Run("vop", 1, "{\"loads\": [").Exit, 2);
    EXPECT_EQ(RunCli({ "run", "nsp", Example, "1" }, "{}").Exit, 2);
    EXPECT_EQ(RunCli({ "run", "vop", Example, "1", "--db" }, "{}").Exit, 2);
    EXPECT_EQ(RunCli({ "run", "vop", Example, "1", "--db", Path("missing.db") }, Input({}, one)).Exit, 2);
    EXPECT_FALSE(QFile::exists(Path("missing.db")));
}

TEST_F(CliRun, RunRefusalsExitOneWithTheWindowsText)
{
    // A project without a scale.
    {
        TFireProject p;
        p.AddRoom(10, 10, 110, 70);
        ASSERT_TRUE(p.SaveToFile(Path("noscale.fsp")));
    }
    const TCliRun noScale = RunCli({ "run", "vop", Path("noscale.fsp"), "1", "--out", Path("out.fsp") },
        Input({}, { FullLoad("A", 10) }));
    ExpectRefused(noScale, 1,
        "Не задан масштаб проекта. Задайте масштаб кнопкой \"Задать масштаб\" и повторите расчет.");
    EXPECT_FALSE(QFile::exists(Path("out.fsp")));

    ExpectRefused(Run("vop", 1, Input({ { "seParam2", 0 } }, { FullLoad("A", 10) })), 1,
        "Расстояние между сенсорами должно быть больше нуля.");
    // A mix that does not spread: no initial stage can be given, the record is unchanged.
    ExpectRefused(Run("initial-stage", 1, Input({ { "seValue11", 10 } }, { FullLoad("Негорючее", 10, 0) }),
                      { "--out", Path("out.fsp") }),
        1,
        "Расчет НСП невозможен: у выбранной горючей нагрузки нулевая скорость распространения пламени, "
        "скорость выгорания или теплота сгорания");
    EXPECT_FALSE(QFile::exists(Path("out.fsp")));

    QFile damaged(Path("damaged.fsp"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a project");
    damaged.close();
    EXPECT_EQ(RunCli({ "run", "vop", Path("damaged.fsp"), "1" }, "{}").Exit, 1);
}
