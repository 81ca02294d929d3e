// Opens the example office project in the real main window, headless, and saves a picture
// of the whole window as main_window.png beside this test, for a look at the layout.
// Checks what can be checked on the picture itself: the plan is drawn, and the menus,
// tool bars and property panel are there.
#include "MainWindowFixture.h"
#include "uExampleProject.h"
#include "uPaintBox.h"

#include <QGroupBox>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

namespace {

TEST_F(MainWindowTest, ScreenshotOfTheExampleProject)
{
    {
        // The start state first: the logo centred on white.
        Start();
        QCoreApplication::processEvents();
        ASSERT_TRUE(win->grab().toImage().save(QCoreApplication::applicationDirPath()
                                               + QStringLiteral("/main_window_start.png")));
        const QImage box = win->pb->grab().toImage();
        EXPECT_EQ(box.pixel(2, 2), qRgb(255, 255, 255));
        EXPECT_NE(box.pixel(box.width() / 2, box.height() / 2 - 20), qRgb(255, 255, 255));
        win.reset();
    }
    std::unique_ptr<TFireProject> example = MakeExampleProject();
    const QString file = Path(QStringLiteral("office.fsp"));
    ASSERT_TRUE(example->SaveToFile(file));
    Start({ file });
    ASSERT_NE(win->FP, nullptr);
    // Select the first zone with the mouse, as the user would, so that its panel shows.
    const TRect zone = win->FP->GetRooms().front()->Rect();
    const QPoint inside((zone.Left + zone.Right) / 2, (zone.Top + zone.Bottom) / 2 + 5);
    QTest::mousePress(win->pb, Qt::LeftButton, Qt::NoModifier, inside);
    QTest::mouseRelease(win->pb, Qt::LeftButton, Qt::NoModifier, inside);
    EXPECT_EQ(win->CurrentRoom, win->FP->GetRooms().front().get());
    QCoreApplication::processEvents();

    EXPECT_TRUE(win->menuBar()->isVisible());
    EXPECT_TRUE(Control<QToolBar>("tbProject")->isVisible());
    EXPECT_TRUE(Control<QToolBar>("tbEdit")->isVisible());
    EXPECT_FALSE(Control<QToolBar>("tbLControl")->isVisible());
    EXPECT_TRUE(Control<QGroupBox>("pnlRoomParams")->isVisible());

    const QImage shot = win->grab().toImage();
    const QString out = QCoreApplication::applicationDirPath() + QStringLiteral("/main_window.png");
    ASSERT_TRUE(shot.save(out));

    // The plan on the paint box is not a blank white picture.
    const QImage plan = win->pb->grab().toImage();
    int coloured = 0;
    for (int y = 0; y < plan.height(); y += 4)
        for (int x = 0; x < plan.width(); x += 4)
            if (plan.pixel(x, y) != qRgb(255, 255, 255))
                ++coloured;
    EXPECT_GT(coloured, 50);
}

} // namespace
