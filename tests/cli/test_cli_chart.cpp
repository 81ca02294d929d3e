// tesvorn-cli chart, run as a separate process: the PNG it writes holds exactly the
// pixels of the chart function for the same zone and size, numbers take either decimal
// separator, and every kind of bad argument gives its exit code with one line on stderr.
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CliProcess.h"
#include "uDesignCharts.h"

namespace {

class CliChart : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }
    QString Path(const char* name) const { return FDir.filePath(QString::fromUtf8(name)); }
    QImage Written(const char* name) const
    {
        return QImage(Path(name)).convertToFormat(QImage::Format_RGB32);
    }
    QTemporaryDir FDir;
};

} // namespace

TEST_F(CliChart, WritesThePixelsOfTheChartFunction)
{
    // A comma in one number and a full stop in another, as a user may type them.
    const TCliRun run = RunCli({ "chart", "large", Path("large.png"), "--volume", "20000.0", "--height",
        "10,0", "--load", "100", "--size", "420x300" });
    ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Json().value("file").toString(), Path("large.png"));
    EXPECT_EQ(run.Json().value("width").toInt(), 420);
    EXPECT_EQ(run.Json().value("height").toInt(), 300);
    EXPECT_TRUE(run.Json().value("marked").toBool());
    EXPECT_TRUE(Written("large.png")
        == DesignChartImage(TDesignChart::LargeVolume, QSize(420, 300), TDesignChartZone { 20000, 10, 100 }));

    // Without a zone, at the default print size.
    const TCliRun plain = RunCli({ "chart", "small", Path("small.png") });
    ASSERT_EQ(plain.Exit, 0) << plain.Err.toStdString();
    EXPECT_FALSE(plain.Json().value("marked").toBool());
    EXPECT_EQ(plain.Json().value("width").toInt(), 1600);
    EXPECT_TRUE(Written("small.png") == DesignChartImage(TDesignChart::SmallVolume, QSize(1600, 1100)));

    // A zone the chart has no value for is drawn unmarked and said so.
    const TCliRun outside = RunCli({ "chart", "small", Path("low.png"), "--volume", "300", "--height", "2,5",
        "--load", "10", "--size", "420x300" });
    ASSERT_EQ(outside.Exit, 0) << outside.Err.toStdString();
    EXPECT_FALSE(outside.Json().value("marked").toBool());
    EXPECT_TRUE(Written("low.png") == DesignChartImage(TDesignChart::SmallVolume, QSize(420, 300)));
}

TEST_F(CliChart, BadArgumentsGiveTheirExitCodes)
{
    const QString out = Path("x.png");
    const QStringList zone = { "--volume", "300", "--height", "3", "--load", "10" };
    const QList<QStringList> usage = {
        { "chart", "medium", out }, // unknown chart
        { "chart", "small" }, // no output file
        { "chart", "small", out, "extra" }, // one file too many
        { "chart", "small", out, "--volume" }, // option without its value
        { "chart", "small", out, "--volume", "abc", "--height", "3", "--load", "10" }, // not a number
        { "chart", "small", out, "--volume", "1,5,0", "--height", "3", "--load", "10" },
        { "chart", "small", out, "--volume", "300", "--height", "3" }, // only some of the three
        { "chart", "small", out, "--load", "10" },
        { "chart", "small", out, "--volume", "-300", "--height", "3", "--load", "10" }, // no such zone
        QStringList { "chart", "small", out, "--size", "0x300" }, // bad sizes
        QStringList { "chart", "small", out, "--size", "420" },
        QStringList { "chart", "small", out, "--size", "420x300x2" },
        QStringList { "chart", "small", out, "--size", "20000x300" },
        QStringList { "chart", "small", out, "--zoom", "2" }, // unknown option
    };
    for (const QStringList& args : usage) {
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.Exit, 2) << args.join(' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(run.Err).trimmed().count('\n'), 0) << run.Err.toStdString();
        EXPECT_FALSE(run.Message().isEmpty()) << args.join(' ').toStdString();
        EXPECT_TRUE(run.Out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));

    // A file that cannot be written is a refusal, not bad usage.
    const TCliRun unwritable
        = RunCli(QStringList { "chart", "small", FDir.filePath("no/such/dir/x.png") } + zone);
    EXPECT_EQ(unwritable.Exit, 1);
    EXPECT_FALSE(unwritable.Message().isEmpty());
}
