// The calculation record as JSON: a record read back field by field, numbers taken as
// typed, and every reading error named.
#include "uCalcRecordJson.h"

#include <QJsonArray>
#include <gtest/gtest.h>
#include <limits>

namespace {

TFireLoad Load(int32_t id, int32_t listId, const char* name, long double q)
{
    TFireLoad f;
    f.Id = id;
    f.ListId = listId;
    f.Name = QString::fromUtf8(name);
    f.P1LowestHeat = 13800;
    f.P2LinearFlameSpeed = 0.0108L;
    f.P3BurnoutSpeed = 0.0145L;
    f.P4SmokeFormingAbility = 270;
    f.P5OxygenConsumption = -1.03L;
    f.P6AllocationCO2 = 0.203L;
    f.P6AllocationCO = 0.0022L;
    f.P6AllocationHCl = 0.014L;
    f.PFlammableLoad = q;
    f.CCC = 0.97L;
    return f;
}

// A record as a run leaves it, with numbers that have a short decimal form.
TCalcParamsOrvann RunRecord()
{
    TCalcParamsOrvann cp;
    cp.param1 = 4.8L;
    cp.param2 = 1.7L;
    cp.param3 = 20000;
    cp.param6 = 0.0108L;
    cp.value13 = 70;
    cp.value12 = 193.2419841306228L;
    cp.value10s = -2;
    cp.method = 2;
    cp.BOSClass = BOSClassA2;
    cp.tbl_time = 1;
    cp.tbl = { { 0, 0 }, { 0, 1.5L } };
    cp.CalculatedNSP = true;
    cp.CalculatedFL = true;
    cp.FLNames = QStringLiteral("Мебель, Бумага");
    cp.value13calc = QStringLiteral("10*13800/13800 + 60*13800/13800");
    cp.param06calc = QStringLiteral("0,0108; 0,0108");
    cp.param07calc = QStringLiteral("(10*0,0145 + 60*0,0145)/70");
    cp.param08calc = QStringLiteral("(10*13800 + 60*13800)/70");
    cp.BOSClassText = QStringLiteral("A2");
    cp.FireLoads = { Load(3, 1, "Мебель", 10), Load(-1, 2, "Бумага", 60) };
    return cp;
}

TCalcParamsOrvann Read(const QJsonObject& o)
{
    TCalcParamsOrvann cp;
    QString error;
    EXPECT_TRUE(RecordFromJson(o, &cp, &error)) << error.toStdString();
    return cp;
}

QJsonObject Write(const TCalcParamsOrvann& cp)
{
    QJsonObject o;
    QString error;
    EXPECT_TRUE(RecordToJson(cp, &o, &error)) << error.toStdString();
    return o;
}

QString ReadError(const QJsonObject& o)
{
    TCalcParamsOrvann cp;
    cp.param1 = 5;
    QString error;
    EXPECT_FALSE(RecordFromJson(o, &cp, &error));
    EXPECT_EQ(cp.param1, 5); // untouched on failure
    return error;
}

} // namespace

TEST(RecordJson, ReadsBackFieldByField)
{
    const TCalcParamsOrvann cp = RunRecord();
    const QJsonObject json = Write(cp);
    EXPECT_EQ(json.keys().size(), RecordJsonKeys().size() + 1); // and "tbl"
    const TCalcParamsOrvann back = Read(json);
    EXPECT_EQ(back.param1, 4.8L); // the typed 4.8, not the double nearest to it
    EXPECT_EQ(back.param2, 1.7L);
    EXPECT_EQ(back.param6, 0.0108L);
    EXPECT_EQ(back.value12, cp.value12);
    EXPECT_EQ(back.value10s, -2);
    EXPECT_EQ(back.method, 2);
    EXPECT_EQ(back.BOSClass, BOSClassA2);
    EXPECT_EQ(back.tbl, cp.tbl);
    EXPECT_TRUE(back.CalculatedNSP && back.CalculatedFL && !back.CalculatedVOP);
    EXPECT_EQ(back.FLNames, cp.FLNames);
    EXPECT_EQ(back.value13calc, cp.value13calc);
    EXPECT_EQ(back.param06calc, cp.param06calc);
    EXPECT_EQ(back.param07calc, cp.param07calc);
    EXPECT_EQ(back.param08calc, cp.param08calc);
    EXPECT_EQ(back.BOSClassText, "A2");
    EXPECT_EQ(back.FireLoads, cp.FireLoads);
    // A second trip changes nothing, whatever the precision of the first.
    EXPECT_EQ(Write(back), json);
    // An empty list and an empty table stay empty; the list key is always written.
    const QJsonObject empty = Write(TCalcParamsOrvann {});
    EXPECT_EQ(empty["FireLoads"].toArray().size(), 0);
    EXPECT_FALSE(empty.contains("tbl"));
}

TEST(RecordJson, ReadingErrorsNameTheField)
{
    EXPECT_EQ(ReadError({ { "parma1", 3 } }), "unknown field \"parma1\"");
    EXPECT_EQ(ReadError({ { "param1", "3" } }), "field \"param1\" must be a number");
    EXPECT_EQ(ReadError({ { "method", 1.5 } }), "field \"method\" must be a whole number");
    EXPECT_EQ(ReadError({ { "FLNames", 1 } }), "field \"FLNames\" must be a string");
    EXPECT_EQ(ReadError({ { "DebugMode", 1 } }), "field \"DebugMode\" must be true or false");
    EXPECT_EQ(
        ReadError({ { "FireLoads", QJsonObject {} } }), "field \"FireLoads\" must be an array of fire loads");

    QJsonObject load;
    QString error;
    ASSERT_TRUE(FireLoadToJson(Load(1, 1, "A", 5), &load, &error));
    QJsonObject noHeat = load;
    noHeat.remove("P1LowestHeat");
    EXPECT_EQ(ReadError({ { "FireLoads", QJsonArray { load, noHeat } } }),
        "field \"FireLoads[1].P1LowestHeat\" is missing");
    QJsonObject extra = load;
    extra["Amount"] = 1;
    EXPECT_EQ(ReadError({ { "FireLoads", QJsonArray { extra } } }), "unknown key \"Amount\" in FireLoads[0]");
    QJsonObject badId = load;
    badId["ListId"] = "1";
    EXPECT_EQ(ReadError({ { "FireLoads", QJsonArray { badId } } }),
        "field \"FireLoads[0].ListId\" must be a whole number");

    // The loads of the fireload verb carry no ids; a missing name is an empty one.
    QJsonObject plain = load;
    plain.remove("Name");
    TFireLoad f;
    EXPECT_FALSE(FireLoadFromJson(plain, "loads[0]", false, &f, &error));
    EXPECT_EQ(error, "unknown key \"Id\" in loads[0]");
    plain.remove("Id");
    plain.remove("ListId");
    ASSERT_TRUE(FireLoadFromJson(plain, "loads[0]", false, &f, &error));
    EXPECT_EQ(f.Id, -1);
    EXPECT_TRUE(f.Name.isEmpty());
    EXPECT_EQ(f.P6AllocationCO, 0.0022L);
}

TEST(RecordJson, NonFiniteNumbersNeverReachTheOutput)
{
    TCalcParamsOrvann cp = RunRecord();
    cp.value12 = std::numeric_limits<long double>::infinity();
    QJsonObject o;
    QString error;
    EXPECT_FALSE(RecordToJson(cp, &o, &error));
    EXPECT_EQ(error, "field \"value12\" is not a finite number");
    cp = RunRecord();
    cp.FireLoads[1].CCC = std::numeric_limits<long double>::quiet_NaN();
    EXPECT_FALSE(RecordToJson(cp, &o, &error));
    EXPECT_EQ(error, "field \"CCC\" is not a finite number");
}
