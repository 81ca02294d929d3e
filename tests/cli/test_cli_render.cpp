// tesvorn-cli project render, run as a separate process: the PNG it writes holds exactly
// the pixels the program's renderer draws for the loaded project with the same view
// flags, and failures give the documented exit codes.
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "CliProcess.h"
#include "uFireClasses.h"

namespace {

class CliRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        const TCliRun made = RunCli({"project", "example", Path("office.fsp")});
        ASSERT_EQ(made.Exit, 0) << made.Err.toStdString();
    }
    QString Path(const char* name) const { return FDir.filePath(QString::fromUtf8(name)); }

    // The picture the program shows for the project with these View menu settings.
    QImage InProcess(bool roomInfo, bool scale) const
    {
        TFireProject p;
        EXPECT_TRUE(p.LoadFromFile(Path("office.fsp")));
        p.SetPaintParams(roomInfo, false, scale, false);
        QImage out;
        p.PaintRooms(out);
        return out.convertToFormat(QImage::Format_RGB32);
    }
    QTemporaryDir FDir;
};

} // namespace

TEST_F(CliRender, WritesThePixelsOfTheRenderer)
{
    for (const bool flags : {false, true}) {
        QStringList args = {"project", "render", Path("office.fsp"), Path("plan.png")};
        if (flags)
            args << "--room-info" << "--scale";
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.Exit, 0) << run.Err.toStdString();
        const QImage written = QImage(Path("plan.png")).convertToFormat(QImage::Format_RGB32);
        const QImage expected = InProcess(flags, flags);
        ASSERT_EQ(written.size(), expected.size());
        EXPECT_EQ(run.Json().value("width").toInt(), expected.width());
        EXPECT_EQ(run.Json().value("height").toInt(), expected.height());
        EXPECT_TRUE(written == expected) << "flags " << flags;
    }
    // The view flags change the picture.
    EXPECT_FALSE(InProcess(false, false) == InProcess(true, true));
}

TEST_F(CliRender, FailuresGiveTheirExitCodes)
{
    EXPECT_EQ(RunCli({"project", "render", Path("missing.fsp"), Path("x.png")}).Exit, 1);
    EXPECT_EQ(RunCli({"project", "render", Path("office.fsp")}).Exit, 2);
    EXPECT_EQ(RunCli({"project", "render", Path("office.fsp"), Path("x.png"), "--zoom"}).Exit, 2);
    EXPECT_EQ(RunCli({"project", "render", Path("office.fsp"), FDir.filePath("no/such/dir/x.png")}).Exit, 1);
}
