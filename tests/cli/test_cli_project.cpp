// tesvorn-cli project example / dump / resave, run as a separate process the way a user or
// a script runs them: the dump shows what the file holds, a resave reproduces the file, and
// damaged files and bad usage give the documented exit codes and messages.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CliProcess.h"

namespace {

using TRun = TCliRun;

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

class CliProject : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        const TRun made = RunCli({ "project", "example", Path("office.fsp") });
        ASSERT_EQ(made.Exit, 0) << made.Err.toStdString();
    }
    QString Path(const char* name) const { return FDir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir FDir;
};

} // namespace

TEST_F(CliProject, DumpShowsTheExampleOffice)
{
    const TRun dump = RunCli({ "project", "dump", Path("office.fsp") });
    ASSERT_EQ(dump.Exit, 0) << dump.Err.toStdString();
    QJsonParseError err {};
    const QJsonObject p = QJsonDocument::fromJson(dump.Out, &err).object();
    ASSERT_EQ(err.error, QJsonParseError::NoError) << dump.Out.toStdString();

    EXPECT_EQ(p["Name"].toString(), QStringLiteral("Офис, 1 этаж"));
    EXPECT_DOUBLE_EQ(p["px"].toDouble(), 0.05);
    EXPECT_EQ(p["Modified"].toBool(true), false);
    EXPECT_EQ(p["ActiveLevel"].toInt(), 1);
    const QJsonArray rooms = p["Rooms"].toArray();
    ASSERT_EQ(rooms.size(), 7);
    EXPECT_EQ(p["RoomsNum"].toInt(), 7);

    // Heights differ from zone to zone; every zone has a sensor inside its rectangle.
    QSet<int> heights;
    int sensors = 0;
    for (const QJsonValue& v : rooms) {
        const QJsonObject room = v.toObject();
        heights.insert(room["H"].toInt());
        const QJsonArray rect = room["Rect"].toArray();
        ASSERT_EQ(rect.size(), 4);
        for (const QJsonValue& s : room["Sensors"].toArray()) {
            const QJsonArray abs = s.toObject()["AbsolutePos"].toArray();
            const QJsonArray rel = s.toObject()["Pos"].toArray();
            EXPECT_EQ(abs[0].toInt(), rect[0].toInt() + rel[0].toInt());
            EXPECT_EQ(abs[1].toInt(), rect[1].toInt() + rel[1].toInt());
            EXPECT_TRUE(abs[0].toInt() >= rect[0].toInt() && abs[0].toInt() <= rect[2].toInt());
            EXPECT_TRUE(abs[1].toInt() >= rect[1].toInt() && abs[1].toInt() <= rect[3].toInt());
            ++sensors;
        }
    }
    EXPECT_GE(heights.size(), 4);
    EXPECT_EQ(sensors, 14);

    const QJsonObject office = rooms[0].toObject();
    EXPECT_EQ(office["Name"].toString(), QStringLiteral("Кабинет 101"));
    EXPECT_DOUBLE_EQ(office["V"].toDouble(), 6.0 * 5.0 * 3.0);
    ASSERT_EQ(office["Doors"].toArray().size(), 1);
    const QJsonObject door = office["Doors"].toArray()[0].toObject();
    EXPECT_EQ(door["Wall"].toInt(), 4); // bottom wall
    EXPECT_EQ(door["OutRoom"].toInt(), 4);
    EXPECT_EQ(door["IsWindow"].toBool(true), false);
    EXPECT_EQ(office["DoorsBottomCount"].toInt(), 1);

    const QJsonArray sources = p["WaterSources"].toArray();
    ASSERT_EQ(sources.size(), 2);
    EXPECT_EQ(sources[0].toObject()["Kind"].toInt(), 0);
    EXPECT_FALSE(sources[0].toObject().contains("V"));
    EXPECT_EQ(sources[1].toObject()["Kind"].toInt(), 1);
    EXPECT_DOUBLE_EQ(sources[1].toObject()["V"].toDouble(), 100.0);
}

TEST_F(CliProject, ResaveReproducesTheFile)
{
    const TRun resave = RunCli({ "project", "resave", Path("office.fsp"), Path("copy.fsp") });
    ASSERT_EQ(resave.Exit, 0) << resave.Err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(resave.Out).object()["ok"].toBool(), true);
    const QByteArray original = ReadAll(Path("office.fsp"));
    EXPECT_EQ(original.size(), 9361);
    EXPECT_EQ(ReadAll(Path("copy.fsp")), original);
}

TEST_F(CliProject, BuildWritesTheSameExample)
{
    // The build's examples/office.fsp comes from the same generator and has fixed
    // identities, so it matches the file the verb writes byte for byte.
    EXPECT_EQ(ReadAll(QStringLiteral(TESVORN_EXAMPLE_PROJECT)), ReadAll(Path("office.fsp")));
}

TEST_F(CliProject, FailuresHaveTheirExitCodes)
{
    const QByteArray loadFailed = QByteArray("Не удалось загрузить проект.\n");

    QByteArray old = ReadAll(Path("office.fsp"));
    old[4] = '5';
    ASSERT_TRUE(WriteAll(Path("old.fsp"), old));
    TRun r = RunCli({ "project", "dump", Path("old.fsp") });
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(loadFailed)) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.isEmpty());

    ASSERT_TRUE(WriteAll(Path("cut.fsp"), ReadAll(Path("office.fsp")).left(700)));
    r = RunCli({ "project", "resave", Path("cut.fsp"), Path("never.fsp") });
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(loadFailed)) << r.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("never.fsp")));

    r = RunCli({ "project", "dump", Path("missing.fsp") });
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(loadFailed));

    r = RunCli({ "project", "resave", Path("office.fsp"), Path("no/such/folder/x.fsp") });
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains(QByteArray("Не удалось сохранить проект.\n"))) << r.Err.toStdString();

    EXPECT_EQ(RunCli({ "project", "dump" }).Exit, 2);
    EXPECT_EQ(RunCli({ "project", "dump", Path("office.fsp"), "extra" }).Exit, 2);
    EXPECT_EQ(RunCli({ "project", "resave", Path("office.fsp") }).Exit, 2);
    EXPECT_EQ(RunCli({ "project", "example" }).Exit, 2);
}

TEST_F(CliProject, HelpIsTheUsageOnStandardOutput)
{
    for (const char* flag : { "--help", "-h" }) {
        const TRun r = RunCli({ flag });
        EXPECT_EQ(r.Exit, 0) << flag;
        EXPECT_TRUE(r.Err.isEmpty()) << flag << ": " << r.Err.toStdString();
        EXPECT_TRUE(r.Out.startsWith("usage:")) << flag;
        EXPECT_TRUE(r.Out.contains("\n  tesvorn-cli project dump FILE.fsp\n")) << r.Out.toStdString();
    }
    const TRun wrong = RunCli({ "--helpme" });
    EXPECT_EQ(wrong.Exit, 2);
    EXPECT_TRUE(wrong.Out.isEmpty());
}

TEST_F(CliProject, AnotherVersionIsReportedWithItsBytesEscaped)
{
    // A terminal control sequence and bytes that are no text where the version belongs.
    QByteArray other = ReadAll(Path("office.fsp"));
    other.replace(1, 4, QByteArray("\x1b[\xfe\x07", 4));
    ASSERT_TRUE(WriteAll(Path("other.fsp"), other));
    const TRun r = RunCli({ "project", "dump", Path("other.fsp") });
    EXPECT_EQ(r.Exit, 1);
    EXPECT_TRUE(r.Err.contains("\"\\x1b[\\xfe\\x07\"")) << r.Err.toStdString();
    for (const char c : r.Err)
        EXPECT_TRUE(c == '\n' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)) << "control byte " << int(c);
    EXPECT_TRUE(QString::fromUtf8(r.Err).toUtf8() == r.Err) << "stderr is valid UTF-8";
}
