// tesvorn-cli project spacing, run as a separate process on a project file written by
// the model: the worked two-sensor zone, a zone without sensors, and bad usage.
#include "uFireClasses.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CliProcess.h"

namespace {

struct TRun {
    int Exit = -1;
    QJsonObject Out;
    QString Err;
};

TRun RunSpacing(const QStringList& args)
{
    const TCliRun r = RunCli(args);
    return { r.Exit, r.Json(), QString::fromUtf8(r.Err).trimmed() };
}

// A project at 0.1 m/px: zone 1 is 100 × 40 px with sensors at (35, 20) and (65, 20),
// zone 2 has no sensors. Answers the file name and the two sensors' GUIDs.
struct TSample {
    QString file, first, second;
};

TSample WriteSample(const QTemporaryDir& dir)
{
    TFireProject project;
    project.Setpx(0.1L);
    TRoom* room = project.GetRoom(project.AddRoom(200, 50, 300, 90));
    project.AddRoom(400, 50, 450, 90);
    TSample s;
    s.file = dir.filePath("spacing.fsp");
    if (room == nullptr)
        return s;
    TSensor* a = room->AddSensor();
    a->SetAbsolutePos({235, 70});
    TSensor* b = room->AddSensor();
    b->SetAbsolutePos({265, 70});
    s.first = a->GUID();
    s.second = b->GUID();
    QString reason;
    EXPECT_TRUE(project.SaveToFile(s.file, &reason)) << reason.toStdString();
    return s;
}

} // namespace

TEST(CliSpacing, WorkedZone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TSample sample = WriteSample(dir);
    const TRun r = RunSpacing({"project", "spacing", sample.file, "1"});
    ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out["L_px"].toDouble(), 70);
    EXPECT_DOUBLE_EQ(r.Out["L_m"].toDouble(), 7.0);
    EXPECT_EQ(r.Out["CSensor"].toString(), sample.first);
    const QJsonArray sensors = r.Out["Sensors"].toArray();
    ASSERT_EQ(sensors.size(), 2);
    const QJsonObject a = sensors[0].toObject(), b = sensors[1].toObject();
    EXPECT_EQ(a["GUID"].toString(), sample.first);
    EXPECT_EQ(a["Range"].toInt(), 70);
    EXPECT_EQ(a["NearestSensorT"].toString(), "T");
    EXPECT_EQ(a["NearestSensorL"].toString(), "L");
    EXPECT_EQ(a["NearestSensorB"].toString(), "B");
    EXPECT_EQ(a["NearestSensorR"].toString(), sample.second);
    EXPECT_EQ(a["NearestSensor"].toString(), "L");
    EXPECT_EQ(b["NearestSensorL"].toString(), sample.first);
    EXPECT_EQ(b["NearestSensor"].toString(), "R");
    EXPECT_EQ(b["Range"].toInt(), 70);
}

TEST(CliSpacing, ZoneWithoutSensorsAndBadUsage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TSample sample = WriteSample(dir);
    const TRun empty = RunSpacing({"project", "spacing", sample.file, "2"});
    ASSERT_EQ(empty.Exit, 0) << empty.Err.toStdString();
    EXPECT_EQ(empty.Out["L_px"].toDouble(), 0);
    EXPECT_TRUE(empty.Out["CSensor"].isNull());
    EXPECT_TRUE(empty.Out["Sensors"].toArray().isEmpty());

    EXPECT_EQ(RunSpacing({"project", "spacing", sample.file, "3"}).Exit, 2);   // no such zone
    EXPECT_EQ(RunSpacing({"project", "spacing", sample.file, "one"}).Exit, 2);
    EXPECT_EQ(RunSpacing({"project", "spacing", sample.file}).Exit, 2);
    EXPECT_EQ(RunSpacing({"project", "spacing", dir.filePath("missing.fsp"), "1"}).Exit, 1);
}
