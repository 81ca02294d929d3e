// tesvorn-cli fireload, run as a separate process: the worked mix with its formula texts
// in the locale's separator, the chart recommendation and warning, and the refusals.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include "CliProcess.h"
#include "uFireLoadMix.h"
#include "uNumberText.h"

namespace {

struct TRun {
    int Exit = -1;
    QJsonObject Out;
    QString Err; // the verb's own message, the last line of stderr
};

TRun RunFireLoad(const QByteArray& input, const char* locale = "ru_RU.UTF-8")
{
    const TCliRun r = RunCli({ QStringLiteral("fireload") }, input, locale);
    return { r.Exit, r.Json(), r.Message() };
}

QJsonObject Load(const char* name, double q, double p1, double p2, double p3)
{
    return {{"Name", name}, {"P1LowestHeat", p1}, {"P2LinearFlameSpeed", p2}, {"P3BurnoutSpeed", p3},
            {"P4SmokeFormingAbility", 50}, {"P5OxygenConsumption", 1.2}, {"P6AllocationCO2", 0.5},
            {"P6AllocationCO", 0.02}, {"P6AllocationHCl", 0}, {"PFlammableLoad", q}, {"CCC", 0.9}};
}

QByteArray Mix(const QJsonArray& loads, double h, double V)
{
    return QJsonDocument(QJsonObject {{"loads", loads}, {"height", h}, {"volume", V}}).toJson();
}

const QJsonArray WorkedLoads = {Load("Дерево", 10, 13800, 0.0108, 0.0145), Load("Пластик", 5, 13000, 0.02, 0.01)};

} // namespace

TEST(CliFireLoad, WorkedMixUnderRussianLocale)
{
    const TRun r = RunFireLoad(Mix(WorkedLoads, 3, 300));
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out["value13"].toDouble(), 15);
    EXPECT_EQ(r.Out["value13calc"].toString(), "10*13800/13800 + 5*13000/13800");
    EXPECT_EQ(r.Out["FLFinal_param06calc"].toString(), "0,0108; 0,02");
    EXPECT_EQ(r.Out["FLFinal_param07calc"].toString(), "(10*0,0145 + 5*0,01)/15");
    EXPECT_EQ(r.Out["FLFinal_param08calc"].toString(), "(10*13800 + 5*13000)/15");
    const QJsonObject f = r.Out["FireLoadFinal"].toObject();
    EXPECT_EQ(f.size(), 10);
    EXPECT_DOUBLE_EQ(f["P2LinearFlameSpeed"].toDouble(), 0.02);
    EXPECT_NEAR(f["P1LowestHeat"].toDouble(), 203000.0 / 15, 1e-9);
    EXPECT_DOUBLE_EQ(f["PFlammableLoad"].toDouble(), 15);
    EXPECT_NEAR(f["CCC"].toDouble(), 0.9, 1e-12);
    EXPECT_EQ(r.Out["recommendedMinutes"].toInt(), 7);
    EXPECT_EQ(r.Out["warning"].toString(), "");
}

TEST(CliFireLoad, SeparatorFollowsTheLocale)
{
    const TRun r = RunFireLoad(Mix(WorkedLoads, 3, 300), "en_US.UTF-8");
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out["FLFinal_param06calc"].toString(), "0.0108; 0.02");
}

TEST(CliFireLoad, ChartWithoutValueWarns)
{
    const TRun r = RunFireLoad(Mix(WorkedLoads, 4, 3001)); // large zone lower than 4.8 m
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out["recommendedMinutes"].toInt(), -1);
    EXPECT_EQ(r.Out["warning"].toString(), "ПРЕДУПРЕЖДЕНИЕ! На рисунке нет данных для данной высоты помещения.");
}

TEST(CliFireLoad, Refusals)
{
    // Every amount 0: the dialog's refusal, no division by zero.
    const TRun zero = RunFireLoad(Mix({Load("A", 0, 13800, 0.01, 0.01), Load("B", 0, 12000, 0.02, 0.01)}, 3, 300));
    EXPECT_EQ(zero.Exit, 2);
    EXPECT_EQ(zero.Err, "Суммарная горючая нагрузка равна нулю");

    EXPECT_EQ(RunFireLoad(Mix({}, 3, 300)).Exit, 2);
    QJsonObject missing = Load("A", 1, 13800, 0.01, 0.01);
    missing.remove("CCC");
    const TRun m = RunFireLoad(Mix({missing}, 3, 300));
    EXPECT_EQ(m.Exit, 2);
    EXPECT_TRUE(m.Err.contains("CCC")) << m.Err.toStdString();
    QJsonObject typo = Load("A", 1, 13800, 0.01, 0.01);
    typo["P1LowestHeats"] = 1;
    EXPECT_EQ(RunFireLoad(Mix({typo}, 3, 300)).Exit, 2);
    EXPECT_EQ(RunFireLoad("{\"loads\": [], \"height\": 3").Exit, 2); // not JSON
    EXPECT_EQ(RunFireLoad(QJsonDocument(QJsonObject {{"loads", WorkedLoads}, {"height", 3}}).toJson()).Exit, 2);
}

// Numbers from JSON are the numbers typed into the window: a zone 4.8 m high (a height
// band limit of the large-volume chart) with q = 70 kg/m² gets the chart row the dialog
// reads for the typed "4,8", not the row below it that 4.79999… would give.
TEST(CliFireLoad, ChartRowAsForTypedNumbers)
{
    long double typedHeight = 0;
    ASSERT_TRUE(TryParseNumber(QStringLiteral("4,8"), &typedHeight, QLatin1Char(',')));
    const TNSPRecommendation dialog = RecommendNSPDuration(typedHeight, 20000, 70);
    const TNSPRecommendation widened = RecommendNSPDuration(static_cast<long double>(4.8), 20000, 70);
    ASSERT_NE(dialog.Minutes, widened.Minutes) << "the case no longer tells the two apart";

    const TRun r = RunFireLoad(Mix({Load("Дерево", 70, 13800, 0.0108, 0.0145)}, 4.8, 20000));
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out["value13"].toDouble(), 70);
    EXPECT_EQ(r.Out["recommendedMinutes"].toInt(), dialog.Minutes);
    EXPECT_EQ(r.Out["warning"].toString(), dialog.Warning);
}
