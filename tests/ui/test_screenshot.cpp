// Opens the example office project in the real main window, headless, and saves a picture
// of the whole window as main_window.png beside this test, for a look at the layout.
// Checks what can be checked on the picture itself: the plan is drawn, and the menus,
// tool bars and property panel are there. Also saves the database editor on its two pages,
// the two design charts with a zone's point at the calculation dialog's size and at print
// size, and the calculation dialog on each of its pages with the first typical load added
// (calc_dialog_ts1.png … _ts3.png, and _ts3_large.png with the large-volume chart), and the
// main window after a standard run on the example's first zone (main_window_after_run.png),
// and with the summary of the zones shown and the verdict tint on (main_window_summary.png).
#include "FloatSpinEdit.h"
#include "MainWindowFixture.h"
#include "uCalc.h"
#include "uDatabaseEditor.h"
#include "uDesignCharts.h"
#include "uExampleProject.h"
#include "uNumberText.h"
#include "uPaintBox.h"

#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

namespace {

TEST_F(MainWindowTest, ScreenshotOfTheExampleProject)
{
    {
        // The start state first: the logo centred on white.
        Start();
        QCoreApplication::processEvents();
        ASSERT_TRUE(win->grab().toImage().save(
            QCoreApplication::applicationDirPath() + QStringLiteral("/main_window_start.png")));
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

// chart_large.png and chart_small.png at the dialog's size, chart_large_print.png and
// chart_small_print.png at print size, each with a zone's point marked.
TEST(DesignChartScreenshots, BothChartsAtDialogAndPrintSize)
{
    struct TShot {
        const char* name;
        TDesignChart chart;
        QSize size;
        TDesignChartZone zone;
    };
    const TShot shots[] = {
        {"chart_large", TDesignChart::LargeVolume, QSize(420, 300), {20000, 10, 100}},
        {"chart_large_print", TDesignChart::LargeVolume, QSize(1600, 1100), {20000, 10, 100}},
        {"chart_small", TDesignChart::SmallVolume, QSize(420, 300), {1200, 4, 30}},
        {"chart_small_print", TDesignChart::SmallVolume, QSize(1600, 1100), {1200, 4, 30}},
    };
    for (const TShot& s : shots) {
        const QImage image = DesignChartImage(s.chart, s.size, s.zone);
        ASSERT_EQ(image.size(), s.size);
        ASSERT_TRUE(DesignChartZonePoint(s.chart, s.zone).has_value()) << s.name;
        ASSERT_TRUE(image.save(QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(s.name)
                               + QStringLiteral(".png")));
    }
}

// The database editor on its two reachable pages, each with a row selected so that its
// panel shows: database_editor_loads.png and database_editor_categories.png.
TEST_F(MainWindowTest, ScreenshotsOfTheDatabaseEditor)
{
    Start();
    ASSERT_NE(win->sldb, nullptr);
    TfrmDatabaseEditor editor(win->sldb.get(), win.get());
    editor.show();
    const struct {
        QWidget* Page;
        QListWidget* List;
        QWidget* Panel;
        const char* File;
    } shots[] = {
        {editor.tsInitialParams, editor.lvInitialParams, editor.pnlInitialParams, "/database_editor_loads.png"},
        {editor.TabSheet1, editor.lvAllParams, editor.pnlAllParams, "/database_editor_categories.png"},
    };
    for (const auto& shot : shots) {
        editor.PageControl->setCurrentWidget(shot.Page);
        ASSERT_GT(shot.List->count(), 2);
        QCoreApplication::processEvents();
        const QRect item = shot.List->visualItemRect(shot.List->item(2));
        QTest::mouseClick(shot.List->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
        QCoreApplication::processEvents();
        EXPECT_TRUE(shot.Panel->isVisible());
        ASSERT_TRUE(editor.grab().toImage().save(QCoreApplication::applicationDirPath() + QLatin1String(shot.File)));
    }
    EXPECT_TRUE(prompts->Records().isEmpty());
}

TEST_F(MainWindowTest, ScreenshotsOfTheCalculationDialog)
{
    Start();
    const QString folder = QCoreApplication::applicationDirPath();
    // A zone 3 m high of 300 m³ (the small-volume chart) and one of 10 m and 20,000 m³.
    struct TShot {
        long double Height, Volume;
        QLabel* TfrmCalc::*Chart;
        QStringList Files;
    };
    const TShot shots[] = {
        { 3, 300, &TfrmCalc::img2,
            { QStringLiteral("calc_dialog_ts1.png"), QStringLiteral("calc_dialog_ts2.png"),
                QStringLiteral("calc_dialog_ts3.png") } },
        { 10, 20000, &TfrmCalc::img1, { QString(), QString(), QStringLiteral("calc_dialog_ts3_large.png") } },
    };
    for (const TShot& shot : shots) {
        TfrmCalc dialog(win->sldb.get(), win.get());
        for (QLineEdit* edit : { dialog.edtParam1, dialog.edtParam1_ts3 })
            edit->setText(FormatGeneral(shot.Height));
        for (QLineEdit* edit : { dialog.edtParam3, dialog.edtParam3_ts3 })
            edit->setText(FormatGeneral(shot.Volume));
        (dialog.*shot.Chart)->setVisible(true);
        dialog.btnFireLoadAdd->click();
        ASSERT_EQ(dialog.lvFireLoads->topLevelItemCount(), 1);
        dialog.show();
        QCoreApplication::processEvents();
        const QWidget* pages[] = { dialog.ts1, dialog.ts2, dialog.ts3 };
        for (int i = 0; i < 3; ++i) {
            if (shot.Files[i].isEmpty())
                continue;
            dialog.pcCalc->setCurrentWidget(const_cast<QWidget*>(pages[i]));
            QCoreApplication::processEvents();
            ASSERT_TRUE(dialog.grab().toImage().save(folder + QLatin1Char('/') + shot.Files[i]));
        }
        // The chart is drawn, not an empty frame.
        const QImage chart = (dialog.*shot.Chart)->grab().toImage();
        int inked = 0;
        for (int y = 0; y < chart.height(); y += 3)
            for (int x = 0; x < chart.width(); x += 3)
                if (qGray(chart.pixel(x, y)) < 128)
                    ++inked;
        EXPECT_GT(inked, 100);
    }
    EXPECT_TRUE(prompts->Messages().isEmpty());
}

// A standard run on the example's first zone, through the zone panel's button and the
// dialog's own controls: the grid, the green indicator, the result panel and the status
// bar as the user sees them.
TEST_F(MainWindowTest, ScreenshotAfterAStandardRun)
{
    std::unique_ptr<TFireProject> example = MakeExampleProject();
    const QString file = Path(QStringLiteral("office.fsp"));
    ASSERT_TRUE(example->SaveToFile(file));
    Start({ file });
    ASSERT_NE(win->FP, nullptr);
    TRoom* room = win->FP->GetRooms().front().get();
    const TRect zone = room->Rect();
    const QPoint inside((zone.Left + zone.Right) / 2, (zone.Top + zone.Bottom) / 2 + 5);
    QTest::mousePress(win->pb, Qt::LeftButton, Qt::NoModifier, inside);
    QTest::mouseRelease(win->pb, Qt::LeftButton, Qt::NoModifier, inside);
    ASSERT_EQ(win->CurrentRoom, room);

    prompts->Dialog([](QWidget* w) {
        auto* d = qobject_cast<TfrmCalc*>(w);
        ASSERT_NE(d, nullptr);
        d->btnFireLoadAdd->click();
        d->seParam2->setText(QStringLiteral("3"));
        d->btn2->click();
    });
    win->btnZoneCalcVOP->click();
    ASSERT_TRUE(room->CP.CalculatedVOP);
    ASSERT_EQ(prompts->Messages().size(), 1);
    // The property panel's layout settles over a few rounds of events (its word-wrapped
    // result labels take their height once the panel's width is known).
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();

    EXPECT_TRUE(win->pnlCalcResult->isVisible());
    EXPECT_EQ(win->pnlIndicatorVOP->palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(win->sbPanel0->text(), prompts->Messages().front().Text);
    const QImage shot = win->grab().toImage();
    ASSERT_TRUE(
        shot.save(QCoreApplication::applicationDirPath() + QStringLiteral("/main_window_after_run.png")));
    // The indicator is drawn green on the picture, not only set in the palette.
    const QPoint centre = win->pnlIndicatorVOP->mapTo(win.get(), win->pnlIndicatorVOP->rect().center());
    EXPECT_EQ(shot.pixel(centre) | 0xFF000000u, qRgb(0, 128, 0));
}

// The verdicts of the example's first two zones, one detected in time and one late, the
// third zone without a run: the tint on the plan, the summary dock, and the first zone's
// panel with its verdict line.
TEST_F(MainWindowTest, ScreenshotOfTheZoneSummary)
{
    std::unique_ptr<TFireProject> example = MakeExampleProject();
    const QString file = Path(QStringLiteral("office.fsp"));
    ASSERT_TRUE(example->SaveToFile(file));
    Start({ file });
    ASSERT_NE(win->FP, nullptr);
    ASSERT_GE(win->FP->GetRooms().size(), 3u);
    win->resize(1100, 900);
    const auto select = [&](TRoom* room) {
        const TRect zone = room->Rect();
        const QPoint inside((zone.Left + zone.Right) / 2, (zone.Top + zone.Bottom) / 2 + 5);
        QTest::mousePress(win->pb, Qt::LeftButton, Qt::NoModifier, inside);
        QTest::mouseRelease(win->pb, Qt::LeftButton, Qt::NoModifier, inside);
        ASSERT_EQ(win->CurrentRoom, room);
    };
    const auto run = [&](QPushButton* button, TFloatSpinEdit* TfrmCalc::*field, const QString& value) {
        prompts->Dialog([field, value](QWidget* w) {
            auto* d = qobject_cast<TfrmCalc*>(w);
            ASSERT_NE(d, nullptr);
            if (d->lvFireLoads->topLevelItemCount() == 0)
                d->btnFireLoadAdd->click();
            (d->*field)->setText(value);
            d->btn2->click();
        });
        button->click();
    };
    const std::pair<TRoom*, QString> zones[] = {
        { win->FP->GetRooms()[0].get(), QStringLiteral("30") },
        { win->FP->GetRooms()[1].get(), QStringLiteral("0,1") },
    };
    for (const auto& [room, minutes] : zones) {
        select(room);
        run(win->btnZoneCalcVOP, &TfrmCalc::seParam2, QStringLiteral("3"));
        run(win->btnZoneCalcNSP, &TfrmCalc::seValue11, minutes);
        ASSERT_TRUE(room->Runs.VOP && room->Runs.NSP);
    }
    select(zones[0].first);
    win->miShowZoneVerdicts->trigger();
    win->miShowSummary->trigger();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();

    EXPECT_TRUE(win->dockSummary->isVisible());
    EXPECT_EQ(win->tblSummary->rowCount(), static_cast<int>(win->FP->GetRooms().size()));
    EXPECT_TRUE(win->lblResVerdict->isVisible());
    EXPECT_EQ(win->lblResVerdict->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    ASSERT_TRUE(win->grab().toImage().save(
        QCoreApplication::applicationDirPath() + QStringLiteral("/main_window_summary.png")));
}

} // namespace
