// tesvorn-cli calc verbs run as a user runs them: a record in on standard input, the
// whole record out, the documented exit codes and messages for bad input.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include "CliProcess.h"
#include <cmath>

namespace {

using TRun = TCliRun;

TRun Calc(const char* verb, const QJsonObject& record)
{
    return RunCli({ QStringLiteral("calc"), QString::fromLatin1(verb) }, QJsonDocument(record).toJson());
}

// The default fire load on 10 m² in a 3 m zone, class A3 sensor, L = 5 m.
QJsonObject DefaultRecord()
{
    return QJsonObject {
        { "param1", 3 },       { "param2", 5 },        { "param3", 500 },     { "param4", 10 },
        { "param5", 0.9 },     { "param6", 0.0108 },   { "param7", 0.0145 },  { "param8", 13000 },
        { "param9", 20 },      { "param10", 293 },     { "param11", 333 },    { "param12", 50 },
        { "method", 1 },       { "BOSClass", 2 },
    };
}

QStringList ExpectedKeys()
{
    QStringList keys;
    for (int i = 1; i <= 18; ++i)
        keys << QStringLiteral("param%1").arg(i);
    for (int i = 1; i <= 16; ++i)
        keys << QStringLiteral("value%1").arg(i);
    for (int i = 1; i <= 10; ++i)
        keys << QStringLiteral("value%1s").arg(i);
    keys << "value4s0" << "VOPResult" << "TimeResult" << "method" << "BOSClass" << "tbl_time"
         << "tbl_stop" << "CalculatedVOP" << "CalculatedNSP" << "CalculatedFL" << "DebugMode" << "ManualL";
    return keys;
}

// The texts and the fire-load list of the record, written by every calc verb as well.
const QStringList TextKeys = { "FLNames", "value13calc", "param06calc", "param07calc", "param08calc", "BOSClassText" };

void ExpectWholeRecord(const QJsonObject& out, bool withTable)
{
    QStringList keys = ExpectedKeys() + TextKeys;
    keys << "FireLoads";
    if (withTable)
        keys << "tbl";
    keys.sort();
    QStringList actual = out.keys();
    actual.sort();
    EXPECT_EQ(actual, keys);
    for (const char* flag : { "CalculatedVOP", "CalculatedNSP", "CalculatedFL", "DebugMode", "ManualL" })
        EXPECT_TRUE(out[flag].isBool()) << flag;
    for (const QString& key : ExpectedKeys()) {
        if (!out[key].isBool()) {
            EXPECT_TRUE(out[key].isDouble()) << key.toStdString();
        }
    }
    for (const QString& key : TextKeys)
        EXPECT_TRUE(out[key].isString()) << key.toStdString();
    EXPECT_TRUE(out["FireLoads"].isArray());
}

} // namespace

// Worked figures are those of the engine tests (hand- and independently computed).
TEST(CliCalc, HeightTablesWritesTheWholeRecord)
{
    const TRun r = Calc("height-tables", DefaultRecord());
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonObject out = r.Json();
    ExpectWholeRecord(out, false);
    EXPECT_NEAR(out["value7s"].toDouble(), 416.277, 0.01);
    EXPECT_EQ(out["value10s"].toDouble(), 138);
    EXPECT_EQ(out["VOPResult"].toDouble(), 138);
    EXPECT_TRUE(out["CalculatedVOP"].toBool());
    EXPECT_EQ(out["param6"].toDouble(), 0.0108); // inputs come back as given
    EXPECT_EQ(out["BOSClass"].toInt(), 2);
}

TEST(CliCalc, HeightTablesChoosesTheTableByHeightAndReportsOutcomes)
{
    QJsonObject in = DefaultRecord();
    in["param1"] = 9;
    in["param4"] = 20;
    TRun r = Calc("height-tables", in);
    ASSERT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Json()["value5s"].toDouble(), 2.1875);
    EXPECT_EQ(r.Json()["value10s"].toDouble(), 304);

    in["param1"] = 17;
    r = Calc("height-tables", in);
    ASSERT_EQ(r.Exit, 0); // an outcome is a result, not an error
    EXPECT_EQ(r.Json()["value10s"].toDouble(), -3);
    EXPECT_FALSE(r.Json()["CalculatedVOP"].toBool());
}

TEST(CliCalc, HeightTablesSpacingGivenAsTheLimitIsAccepted)
{
    // JSON numbers are doubles, like the dialog's spin edit: 9.8 is the limit at 6.5 m
    // for class A2 and must not come out as "spacing too wide".
    QJsonObject in = DefaultRecord();
    in["param1"] = 6.5;
    in["BOSClass"] = 1;
    in["param2"] = 9.8;
    TRun r = Calc("height-tables", in);
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Json()["value7s"].toDouble(), 2000);
    EXPECT_EQ(r.Json()["value10s"].toDouble(), 179 + 56);

    in["param1"] = 15.5; // class A3 allows 4.2 m here
    in["BOSClass"] = 2;
    in["param2"] = 4.2;
    in["param4"] = 100;
    r = Calc("height-tables", in);
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_GE(r.Json()["value10s"].toDouble(), 0);
}

TEST(CliCalc, CeilingJetDetectsOrReportsMinusOneWithoutNaN)
{
    QJsonObject in = DefaultRecord();
    in["param2"] = 2;
    TRun r = Calc("ceiling-jet", in);
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_NEAR(r.Json()["value6s"].toDouble(), 185.22287359810704, 1e-7);
    EXPECT_EQ(r.Json()["value2"].toDouble(), 0.92);

    in["param4"] = 0; // no fire at all
    in["VOPResult"] = 42;
    r = Calc("ceiling-jet", in);
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    ExpectWholeRecord(r.Json(), false);
    EXPECT_EQ(r.Json()["value6s"].toDouble(), -1);
    EXPECT_EQ(r.Json()["VOPResult"].toDouble(), 42);
    EXPECT_FALSE(r.Out.toLower().contains("nan"));
    EXPECT_FALSE(r.Out.toLower().contains("inf"));
}

TEST(CliCalc, OptimisedPrintsTheTimeTable)
{
    const TRun r = Calc("optimised", DefaultRecord());
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonObject out = r.Json();
    ExpectWholeRecord(out, true);
    EXPECT_EQ(out["tbl_time"].toInt(), 500);
    EXPECT_EQ(out["tbl_stop"].toInt(), 40);
    EXPECT_NEAR(out["TimeResult"].toDouble(), 182.31275718374712, 1e-7);
    const QJsonArray table = out["tbl"].toArray();
    ASSERT_EQ(table.size(), 8);
    for (const QJsonValue& row : table)
        EXPECT_EQ(row.toArray().size(), 501);
    EXPECT_EQ(table[6].toArray()[40].toDouble(), out["TimeResult"].toDouble());
    EXPECT_EQ(table[7].toArray()[40].toDouble(), 1);
}

TEST(CliCalc, OutputReadsBackExactly)
{
    // The optimised run's record, fed to the ceiling-jet verb, keeps every field that
    // verb does not write bit for bit, the table included.
    const TRun first = Calc("optimised", DefaultRecord());
    ASSERT_EQ(first.Exit, 0);
    const QJsonObject a = first.Json();
    const TRun second = RunCli({ "calc", "ceiling-jet" }, first.Out);
    ASSERT_EQ(second.Exit, 0) << second.Err.toStdString();
    const QJsonObject b = second.Json();
    for (const char* key : { "value3", "value4", "value5", "value6", "value7", "TimeResult", "tbl_stop" })
        EXPECT_EQ(a[key].toDouble(), b[key].toDouble()) << key;
    EXPECT_EQ(a["tbl"], b["tbl"]);
}

TEST(CliCalc, InitialStageConvertsMinutesAndRefusesADeadMix)
{
    QJsonObject in = DefaultRecord();
    in["value11"] = 10;
    in["CalculatedVOP"] = true;
    TRun r = Calc("initial-stage", in);
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Json()["value11"].toDouble(), 600);
    EXPECT_NEAR(r.Json()["value12"].toDouble(), 201.32, 0.01);
    EXPECT_TRUE(r.Json()["CalculatedNSP"].toBool());
    EXPECT_FALSE(r.Json()["CalculatedVOP"].toBool());

    in["param7"] = 0;
    r = Calc("initial-stage", in);
    EXPECT_EQ(r.Exit, 2);
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_EQ(r.Message(), QStringLiteral("Расчет НСП невозможен: у выбранной горючей нагрузки нулевая скорость "
                                          "распространения пламени, скорость выгорания или теплота сгорания"));
}

TEST(CliCalc, BadUsageAndBadInputExitTwo)
{
    struct Case { QStringList args; QByteArray input; const char* message; };
    const Case cases[] = {
        { { "calc", "spacing" }, "{}", "unknown verb" },
        { { "calc", "height-tables", "extra" }, "{}", "usage: tesvorn-cli calc height-tables" },
        { { "calc", "ceiling-jet" }, "{\"param1\": 3", "input is not valid JSON" },
        { { "calc", "ceiling-jet" }, "[1, 2]", "input must be one JSON object" },
        { { "calc", "optimised" }, "{\"param1\": \"3\"}", "field \"param1\" must be a number" },
        { { "calc", "optimised" }, "{\"method\": 1.5}", "field \"method\" must be a whole number" },
        { { "calc", "optimised" }, "{\"DebugMode\": 1}", "field \"DebugMode\" must be true or false" },
        { { "calc", "optimised" }, "{\"tbl\": [1]}", "field \"tbl\" must be an array of rows" },
        { { "calc", "height-tables" }, "{\"param01\": 3}", "unknown field \"param01\"" },
    };
    for (const Case& c : cases) {
        const TRun r = RunCli(c.args, c.input);
        EXPECT_EQ(r.Exit, 2) << c.input.toStdString();
        EXPECT_TRUE(r.Out.isEmpty()) << c.input.toStdString();
        EXPECT_TRUE(QString::fromUtf8(r.Err).contains(QString::fromUtf8(c.message))) << r.Err.toStdString();
    }
}

TEST(CliCalc, AbsentKeysAreTheFreshRecord)
{
    const TRun r = Calc("ceiling-jet", QJsonObject {});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonObject out = r.Json();
    ExpectWholeRecord(out, false);
    EXPECT_EQ(out["value6s"].toDouble(), -1); // nothing burns in an empty record
    EXPECT_EQ(out["method"].toInt(), 0);
    EXPECT_EQ(out["value1s"].toDouble(), 0);
}
