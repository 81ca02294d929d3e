// tesvorn-cli db init / db loads, run as a user would run them: a new file gets the
// tables and the shipped loads, a second run completes nothing, the loads come out with
// the dialog's defaults, and failures give the documented exit codes.
#include <SQLiteTable3.h>
#include <uRefDbStatements.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CliProcess.h"

namespace {

using TRun = TCliRun;

class CliDb : public ::testing::Test {
protected:
    QString Path(const QString& name = QStringLiteral("kvr.db")) const { return FDir.filePath(name); }
    QTemporaryDir FDir;
};

} // namespace

TEST_F(CliDb, InitCreatesOnceThenFindsEverything)
{
    TRun first = RunCli({"db", "init", Path()});
    ASSERT_EQ(first.Exit, 0) << first.Err.toStdString();
    const QJsonObject a = QJsonDocument::fromJson(first.Out).object();
    EXPECT_TRUE(a["created"].toBool());
    EXPECT_EQ(a["tables"].toArray(),
              QJsonArray({"InitialParams", "ABParams", "FireFighting", "AllParams"}));

    TRun second = RunCli({"db", "init", Path()});
    ASSERT_EQ(second.Exit, 0) << second.Err.toStdString();
    const QJsonObject b = QJsonDocument::fromJson(second.Out).object();
    EXPECT_FALSE(b["created"].toBool());
    EXPECT_TRUE(b["tables"].toArray().isEmpty());

    TSQLiteDatabase db(Path());
    EXPECT_EQ(RefListRows(db, TRefTable::InitialParams).Count(), 69);
}

TEST_F(CliDb, LoadsPrintsEveryRowWithTheDialogDefaults)
{
    ASSERT_EQ(RunCli({"db", "init", Path()}).Exit, 0);
    {
        TSQLiteDatabase db(Path());
        const int64_t id = RefInsertNewRow(db, TRefTable::InitialParams);
        RefUpdateInitialParams(db, id, {"Стеллаж \"А\"", "", "0.02", "", "", "", "", "", "", "35,5", ""});
    }
    TRun r = RunCli({"db", "loads", Path()});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    const QJsonArray loads = QJsonDocument::fromJson(r.Out).array();
    ASSERT_EQ(loads.size(), 70);

    // The first shipped row: 31700, 0.0068, 0.0233, 487, -2.64, 1.295, 0.097, 0.0109, -, -.
    const QJsonObject car = loads[0].toObject();
    EXPECT_EQ(car["Id"].toInt(), 1);
    EXPECT_TRUE(car["Name"].toString().startsWith(QStringLiteral("Автомобиль; 0,3 * (резина")));
    EXPECT_DOUBLE_EQ(car["P1LowestHeat"].toDouble(), 31700);
    EXPECT_DOUBLE_EQ(car["P2LinearFlameSpeed"].toDouble(), 0.0068);
    EXPECT_DOUBLE_EQ(car["P3BurnoutSpeed"].toDouble(), 0.0233);
    EXPECT_DOUBLE_EQ(car["P4SmokeFormingAbility"].toDouble(), 487);
    EXPECT_DOUBLE_EQ(car["P5OxygenConsumption"].toDouble(), -2.64);
    EXPECT_DOUBLE_EQ(car["P6AllocationCO2"].toDouble(), 1.295);
    EXPECT_DOUBLE_EQ(car["P6AllocationCO"].toDouble(), 0.097);
    EXPECT_DOUBLE_EQ(car["P6AllocationHCl"].toDouble(), 0.0109);
    EXPECT_DOUBLE_EQ(car["PFlammableLoad"].toDouble(), 100);
    EXPECT_DOUBLE_EQ(car["CCC"].toDouble(), 0.97);

    const QJsonObject added = loads[69].toObject();
    EXPECT_EQ(added["Id"].toInt(), 70);
    EXPECT_EQ(added["Name"].toString(), QStringLiteral("Стеллаж \"А\""));
    EXPECT_DOUBLE_EQ(added["P1LowestHeat"].toDouble(), 13000);
    EXPECT_DOUBLE_EQ(added["P2LinearFlameSpeed"].toDouble(), 0.02); // the other separator
    EXPECT_DOUBLE_EQ(added["P5OxygenConsumption"].toDouble(), -1.03);
    EXPECT_DOUBLE_EQ(added["PFlammableLoad"].toDouble(), 35.5);
}

TEST_F(CliDb, FailuresGiveTheirExitCodes)
{
    EXPECT_EQ(RunCli({"db", "init"}).Exit, 2);
    EXPECT_EQ(RunCli({"db", "loads", Path("absent.db")}).Exit, 2);
    EXPECT_FALSE(QFile::exists(Path("absent.db"))); // reading never creates a file

    QFile junk(Path("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    TRun init = RunCli({"db", "init", Path("junk.db")});
    EXPECT_EQ(init.Exit, 1);
    EXPECT_TRUE(QString::fromUtf8(init.Err).contains(QStringLiteral("Ошибка при инициализации базы данных: Error "
                                                                    "executing SQL. Error [26]")))
        << init.Err.toStdString();
    TRun loads = RunCli({"db", "loads", Path("junk.db")});
    EXPECT_EQ(loads.Exit, 1);
    EXPECT_TRUE(loads.Err.contains("Error [26]")) << loads.Err.toStdString();

    EXPECT_EQ(RunCli({"db", "init", Path("no-folder/kvr.db")}).Exit, 1);
}
