// The zones' results in the real main window, headless: three zones calculated through the
// calculation dialog, saved, closed and opened again (records and reports unchanged); the
// results files the window must refuse with one warning; the result panel's verdict and
// stale lines after resizing and after a height change; the question before a report of a
// stale result; the summary dock's rows, numeric sorting and selection; the summary report.
#include "FloatSpinEdit.h"
#include "MainWindowFixture.h"
#include "RecordCompare.h"
#include "ReportTestRecords.h"
#include "btnScaleSetup.h"
#include "uCalc.h"
#include "uNumberText.h"
#include "uPaintBox.h"
#include "uProjectResults.h"
#include "uReportCommands.h"
#include "uZoneResults.h"
#include "uZoneVerdict.h"

#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <map>

// Readable QString values in failure output.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);

class ResultsWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        NewProject(QStringLiteral("Офис"), 640, 480);
        win->ReportCommands->TemplateFolders = { QStringLiteral(TESVORN_TEMPLATES_DIR) };
    }

    void Press(QPoint p) { QTest::mousePress(win->pb, Qt::LeftButton, Qt::NoModifier, p); }
    void Release(QPoint p) { QTest::mouseRelease(win->pb, Qt::LeftButton, Qt::NoModifier, p); }
    void Move(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(win->pb->mapToGlobal(p)), Qt::NoButton,
            Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(win->pb, &e);
    }
    void Click(QPoint p)
    {
        Press(p);
        Release(p);
    }
    void Drag(QPoint a, QPoint b)
    {
        Press(a);
        Move(b);
        Release(b);
    }

    // Draws a zone with the mouse, names it, selects it with a click and gives it its
    // height in metres through the zone panel. The first zone also sets the scale through
    // "Задать масштаб": its length is `length` metres.
    TRoom* Zone(QPoint a, QPoint b, const QString& name, const QString& height, const QString& length = {})
    {
        win->btnZoneEdit->click();
        Drag(a, b);
        TRoom* room = win->FP->Rooms.back().get();
        Click((a + b) / 2);
        EXPECT_EQ(win->CurrentRoom, room);
        if (!length.isEmpty()) {
            prompts->Dialog([length](QWidget* w) {
                auto* d = qobject_cast<TfrmScaleSetup*>(w);
                ASSERT_NE(d, nullptr);
                d->edtLength->setText(length);
                d->btnOK->click();
            });
            win->btn5->click();
        }
        win->edtRpName->setText(name);
        win->seRpHeight->setText(height);
        win->btnRpSave->click();
        return room;
    }

    // A run through `button` with the first typical load (unless the zone has loads) and
    // the change `fill` makes in the dialog; the run's announcement is taken off the record.
    void Run(QPushButton* button, const std::function<void(TfrmCalc*)>& fill = {})
    {
        prompts->Dialog([fill](QWidget* w) {
            auto* d = qobject_cast<TfrmCalc*>(w);
            ASSERT_NE(d, nullptr);
            if (d->lvFireLoads->topLevelItemCount() == 0)
                d->btnFireLoadAdd->click();
            if (fill)
                fill(d);
            d->btn2->click();
            if (d->isVisible()) {
                ADD_FAILURE() << "the calculation dialog did not close";
                d->reject();
            }
        });
        button->click();
        EXPECT_EQ(prompts->Messages().size(), 1) << "the run's announcement";

        prompts->Clear();
    }

    // The zone as a click on the plan selects it.
    void Select(const TRoom* room)
    {
        win->btnZoneEdit->click();
        const TRect r = room->Rect();
        Click({ (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 });
        ASSERT_EQ(win->CurrentRoom, room);
    }

    // The report of `action` for the current zone saved as `file`; the question to open it
    // answered No. The document's text.
    QString Report(QAction* action, const QString& file)
    {
        prompts->Clear();
        prompts->File(file);
        prompts->Answer(TPromptAnswer::No);
        action->trigger();
        EXPECT_EQ(prompts->Unanswered(), 0);
        EXPECT_EQ(prompts->PendingAnswers(), 0);
        EXPECT_EQ(prompts->Messages().size(), 1) << "only the success question";
        prompts->Clear();
        return ReportTest::ReadReport(file).All();
    }

    // Opens `file` through "Открыть"; the records of the prompts shown while it opened.
    QList<TPromptRecord> Open(const QString& file)
    {
        prompts->Clear();
        prompts->File(file);
        Action("miOpen")->trigger();
        EXPECT_NE(win->FP, nullptr);
        const QList<TPromptRecord> shown = prompts->Messages();
        prompts->Clear();
        return shown;
    }

    QColor TextColour(QLabel* label) const { return label->palette().color(QPalette::WindowText); }
    QString Status() const { return win->sbPanel0->text(); }

    static QByteArray ReadAll(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void WriteAll(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    // The verdict the panel must show for the zone's last runs: the whole seconds of the
    // initial stage's duration less those of the detection time — the time the panel's
    // first line shows while it shows one (the quick recalculation's, after a selection).
    static QString ExpectedVerdict(const TRoom& room)
    {
        EXPECT_TRUE(room.Runs.VOP && room.Runs.NSP && DetectionTime(*room.Runs.VOP));
        if (!room.Runs.VOP || !room.Runs.NSP || !DetectionTime(*room.Runs.VOP))
            return QString();
        const long double detection
            = room.CP.CalculatedVOP ? room.CP.VOPResult : *DetectionTime(*room.Runs.VOP);
        const int64_t margin = RoundToInt64(room.Runs.NSP->Outcome) - RoundToInt64(detection);
        if (margin > 0)
            return ZoneVerdictText::InTime.arg(margin);
        return margin == 0 ? ZoneVerdictText::Equal : ZoneVerdictText::Late.arg(-margin);
    }
};

// --- the results file through Save As, Close and Open ---------------------------------------

// Three zones and every kind of run: records, kept runs and reports come back unchanged,
// and the panel shows the verdict again. A run's record keeps only its own result flag, so
// each zone reports what its last run left.
TEST_F(ResultsWindowTest, ThreeZonesSavedClosedAndOpenedKeepRecordsAndReports)
{
    // 0.05 m per pixel.
    TRoom* a = Zone(
        { 100, 100 }, { 300, 200 }, QStringLiteral("Склад"), QStringLiteral("3"), QStringLiteral("10"));
    Run(win->btnZoneCalcNSP, [](TfrmCalc* d) { d->seValue11->setText(QStringLiteral("10")); });
    Run(win->btnZoneCalcVOP, [](TfrmCalc* d) { d->seParam2->setText(QStringLiteral("2,5")); });
    TRoom* b = Zone({ 350, 100 }, { 500, 220 }, QStringLiteral("Архив"), QStringLiteral("4,5"));
    Run(win->btnZoneCalcVOP);
    Run(win->btnZoneCalcNSP, [](TfrmCalc* d) { d->seValue11->setText(QStringLiteral("12,5")); });
    TRoom* c = Zone({ 100, 300 }, { 220, 400 }, QStringLiteral("Бухгалтерия"), QStringLiteral("3"));
    Run(win->btnCalcFL);
    ASSERT_TRUE(a->CP.CalculatedVOP && a->Runs.VOP && a->Runs.NSP);
    ASSERT_TRUE(b->CP.CalculatedNSP && b->Runs.VOP && b->Runs.NSP);
    ASSERT_TRUE(c->CP.CalculatedFL && c->Runs.FL);

    // The reports made before saving, one per kind of result.
    const struct {
        int Zone;
        QAction* TfrmMain::*Command;
    } reports[] = {
        { 0, &TfrmMain::pmiReportSimple },
        { 0, &TfrmMain::pmiReportG },
        { 1, &TfrmMain::pmiReportNSP },
        { 1, &TfrmMain::pmiReportG },
        { 2, &TfrmMain::pmiReportG },
    };
    const std::vector<TRoom*> zones = { a, b, c };
    QStringList before;
    for (const auto& r : reports) {
        Select(zones[r.Zone]);
        before << Report(win.get()->*r.Command, Path(QStringLiteral("before%1.docx").arg(before.size())));
    }
    Select(a);
    const QString verdict = ExpectedVerdict(*a);
    EXPECT_EQ(win->lblResVerdict->text(), verdict);

    std::map<int32_t, std::pair<TCalcParamsOrvann, TZoneRuns>> saved;
    for (const TRoom* z : zones)
        saved[z->ID()] = { z->CP, z->Runs };

    // "Сохранить как..." writes the project and its results under the new name.
    const QString file = Path(QStringLiteral("офис.fsp"));
    prompts->File(file);
    Action("miSaveAs")->trigger();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("офис.results.json"))));
    EXPECT_TRUE(prompts->Messages().isEmpty());
    Action("miClose")->trigger();
    ASSERT_EQ(win->FP, nullptr);
    EXPECT_TRUE(prompts->Messages().isEmpty()) << "nothing left to save";

    EXPECT_TRUE(Open(file).isEmpty());
    EXPECT_FALSE(Status().contains(QStringLiteral("не восстановлены")));
    EXPECT_FALSE(win->FP->Modified());
    ASSERT_EQ(win->FP->Rooms.size(), 3u);
    for (const auto& [id, kept] : saved) {
        SCOPED_TRACE(id);
        const TRoom* room = win->FP->GetRoom(id);
        ASSERT_NE(room, nullptr);
        ExpectSameRecord(kept.first, room->CP);
        EXPECT_TRUE(kept.second == room->Runs);
    }
    QStringList after;
    for (const auto& r : reports) {
        Select(win->FP->Rooms[r.Zone].get());
        after << Report(win.get()->*r.Command, Path(QStringLiteral("after%1.docx").arg(after.size())));
    }
    EXPECT_EQ(after, before);
    Select(win->FP->Rooms[0].get());
    EXPECT_EQ(win->lblResVerdict->text(), verdict);
    EXPECT_TRUE(win->lblResStale->isHidden());
}

// A results file the window cannot use opens the project without any result and one
// warning box that says why; results of zones changed since the save are left out, counted
// in the status bar, and the zones still the same keep theirs.
TEST_F(ResultsWindowTest, UnusableOrOutdatedResultsFilesOpenTheProjectWithTheRightWarning)
{
    TRoom* a = Zone(
        { 100, 100 }, { 300, 200 }, QStringLiteral("Склад"), QStringLiteral("3"), QStringLiteral("10"));
    Run(win->btnZoneCalcVOP);
    Zone({ 350, 100 }, { 500, 220 }, QStringLiteral("Архив"), QStringLiteral("4"));
    Run(win->btnCalcFL);
    const int32_t idA = a->ID();
    const QString file = Path(QStringLiteral("office.fsp"));
    const QString results = Path(QStringLiteral("office.results.json"));
    prompts->File(file);
    Action("miSaveAs")->trigger();
    const QByteArray good = ReadAll(results);
    ASSERT_FALSE(good.isEmpty());
    Action("miClose")->trigger();

    QByteArray otherVersion = good;
    otherVersion.replace("\"version\":1", "\"version\":7");
    ASSERT_NE(otherVersion, good);
    const struct {
        const char* What;
        QByteArray Bytes;
        QString Expected;
    } cases[] = {
        { "cut short", good.left(good.size() / 2), QString() },
        { "another version", otherVersion,
            ProjectResultsText::OtherVersion.arg(QStringLiteral("office.results.json"), QStringLiteral("7"))
                .arg(1) },
        { "foreign", QByteArray(R"({"format": "something else", "version": 1, "zones": []})"),
            ProjectResultsText::Foreign.arg(QStringLiteral("office.results.json")) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        WriteAll(results, c.Bytes);
        const QList<TPromptRecord> shown = Open(file);
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown.front().Icon, TPromptIcon::Warning);
        EXPECT_EQ(shown.front().Caption, QStringLiteral("Результаты расчета"));
        if (c.Expected.isEmpty())
            EXPECT_TRUE(shown.front().Text.startsWith(
                QStringLiteral("Файл результатов расчета office.results.json поврежден")))
                << shown.front().Text.toStdString();
        else
            EXPECT_EQ(shown.front().Text, c.Expected);
        for (const auto& room : win->FP->Rooms) {
            EXPECT_FALSE(room->Runs.Any());
            EXPECT_FALSE(room->CP.CalculatedVOP || room->CP.CalculatedNSP || room->CP.CalculatedFL);
        }
        Select(win->FP->GetRoom(idA));
        EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП не производился."));
        EXPECT_EQ(win->lblResVerdict->text(), ZoneVerdictText::NeedBoth);
        EXPECT_FALSE(win->FP->Modified());
        Action("miClose")->trigger();
        ASSERT_EQ(win->FP, nullptr);
    }

    // The first zone made higher by another program that writes only the project file.
    WriteAll(results, good);
    {
        TFireProject edited;
        ASSERT_TRUE(edited.LoadFromFile(file));
        edited.GetRoom(idA)->SetH(80);
        ASSERT_TRUE(edited.SaveToFile(file));
    }
    EXPECT_TRUE(Open(file).isEmpty()) << "no box for zones that changed";
    EXPECT_EQ(Status(), QStringLiteral("Результаты расчета не восстановлены для 1 зон: зоны изменены"));
    const TRoom* changed = win->FP->GetRoom(idA);
    EXPECT_FALSE(changed->Runs.Any() || changed->CP.CalculatedVOP);
    Select(changed);
    EXPECT_EQ(win->lblRes1Header->text(), QStringLiteral("Расчет ВОП не производился."));
    EXPECT_TRUE(win->lblResStale->isHidden());
    Select(win->FP->Rooms[1].get());
    EXPECT_TRUE(win->FP->Rooms[1]->CP.CalculatedFL);
    EXPECT_TRUE(win->FP->Rooms[1]->Runs.FL.has_value());
}

// A results file that cannot be written leaves the project saved and says so once.
TEST_F(ResultsWindowTest, ResultsThatCannotBeWrittenWarnAndTheProjectIsSavedAnyway)
{
    Zone({ 100, 100 }, { 300, 200 }, QStringLiteral("Склад"), QStringLiteral("3"), QStringLiteral("10"));
    Run(win->btnCalcFL);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("office.results.json")));
    const QString file = Path(QStringLiteral("office.fsp"));
    prompts->File(file);
    Action("miSaveAs")->trigger();
    const QList<TPromptRecord> shown = prompts->Messages();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.front().Icon, TPromptIcon::Warning);
    EXPECT_TRUE(shown.front().Text.startsWith(QStringLiteral("Не удалось сохранить результаты расчета")))
        << shown.front().Text.toStdString();
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_FALSE(win->FP->Modified());
    EXPECT_EQ(win->CurrentProjectFile, file);
}

// --- the result panel and the plan ------------------------------------------------------------

TEST_F(ResultsWindowTest, VerdictAndStaleLinesFollowRunsResizingAndHeight)
{
    TRoom* room = Zone(
        { 100, 100 }, { 300, 200 }, QStringLiteral("Склад"), QStringLiteral("3"), QStringLiteral("10"));
    EXPECT_EQ(win->lblResVerdict->text(), ZoneVerdictText::NeedBoth);
    EXPECT_TRUE(win->lblResStale->isHidden());
    Run(win->btnZoneCalcVOP, [](TfrmCalc* d) { d->seParam2->setText(QStringLiteral("2,5")); });
    EXPECT_EQ(win->lblResVerdict->text(), ZoneVerdictText::NeedNSP);
    // Two durations: one of half an hour the detection comes well before, one of a few
    // seconds it comes after.
    const std::pair<const char*, QColor> durations[] = { { "30", Green }, { "0,1", Red } };
    for (const auto& [minutes, colour] : durations) {
        SCOPED_TRACE(minutes);
        const QString typed = QString::fromUtf8(minutes);
        Run(win->btnZoneCalcNSP, [typed](TfrmCalc* d) { d->seValue11->setText(typed); });
        EXPECT_EQ(win->lblResVerdict->text(), ExpectedVerdict(*room));
        EXPECT_TRUE(win->lblResVerdict->isVisible());
        EXPECT_EQ(TextColour(win->lblResVerdict), colour);
        EXPECT_TRUE(win->lblResStale->isHidden());
    }

    // The right wall dragged 20 px out: stale at once, during the drag; dragged back: fits again.
    const QString stale = QStringLiteral("Зона изменена после расчета — требуется пересчет");
    Press({ 299, 150 });
    Move({ 319, 150 });
    EXPECT_EQ(room->Rect().Right, 320);
    EXPECT_TRUE(win->lblResStale->isVisible());
    EXPECT_EQ(win->lblResStale->text(), stale);
    EXPECT_EQ(TextColour(win->lblResStale), Red);
    Move({ 299, 150 });
    Release({ 299, 150 });
    EXPECT_EQ(room->Rect().Right, 300);
    EXPECT_TRUE(win->lblResStale->isHidden());

    // A new height through the zone panel, and the old one again.
    win->seRpHeight->setText(QStringLiteral("3,5"));
    win->btnRpSave->click();
    EXPECT_TRUE(win->lblResStale->isVisible());
    Select(room); // still so after the zone is chosen again
    EXPECT_TRUE(win->lblResStale->isVisible());
    win->seRpHeight->setText(QStringLiteral("3"));
    win->btnRpSave->click();
    EXPECT_TRUE(win->lblResStale->isHidden());
}

// "Итоги по зонам" tints a zone by its verdict: red for a late fire, nothing without one.
TEST_F(ResultsWindowTest, VerdictTintIsSwitchedFromTheViewMenu)
{
    TRoom* room = Zone(
        { 100, 100 }, { 300, 200 }, QStringLiteral("Склад"), QStringLiteral("3"), QStringLiteral("10"));
    QAction* tint = Action("miShowZoneVerdicts");
    ASSERT_TRUE(tint->isCheckable());
    EXPECT_FALSE(tint->isChecked());
    EXPECT_TRUE(win->miViewMenu->actions().contains(tint));
    const QPoint corner(103, 103); // inside the zone, clear of the grid's sensors
    const QRgb plain = win->pb->Picture().pixel(corner);
    tint->trigger();
    EXPECT_EQ(win->pb->Picture().pixel(corner), plain) << "no verdict, no tint";
    Run(win->btnZoneCalcVOP, [](TfrmCalc* d) { d->seParam2->setText(QStringLiteral("2,5")); });
    Run(win->btnZoneCalcNSP, [](TfrmCalc* d) { d->seValue11->setText(QStringLiteral("0,1")); });
    ASSERT_EQ(ZoneVerdictOf(*room).Kind, TVerdictKind::Late);
    const QColor late = QColor::fromRgb(win->pb->Picture().pixel(corner));
    EXPECT_GT(late.red(), late.green() + 40) << late.name().toStdString();
    tint->trigger();
    const QColor untinted = QColor::fromRgb(win->pb->Picture().pixel(corner));
    EXPECT_NE(untinted, late);
    EXPECT_LT(untinted.red() - untinted.green(), 20) << untinted.name().toStdString();
}

// --- reports --------------------------------------------------------------------------------

// Each report asks about the run it prints: the detection-time report about the ВОП run,
// the initial stage's about the НСП run, the fire load's about any run.
TEST_F(ResultsWindowTest, ReportOfAStaleResultAsksFirstAndNoMakesNone)
{
    TRoom* room = Zone(
        { 100, 100 }, { 300, 200 }, QStringLiteral("Склад"), QStringLiteral("3"), QStringLiteral("10"));
    Run(win->btnZoneCalcVOP);
    win->seRpWidth->setText(QStringLiteral("6"));
    win->btnRpSave->click();
    ASSERT_EQ(room->Rect().Bottom, 220);

    for (QPushButton* button : { win->btnReportVOP, win->btnReportG }) {
        SCOPED_TRACE(button->objectName().toStdString());
        prompts->Clear();
        prompts->Answer(TPromptAnswer::No);
        button->click();
        ASSERT_EQ(prompts->Records().size(), 1) << "no save dialog after No";
        const TPromptRecord& q = prompts->Records().front();
        EXPECT_EQ(q.Text, ZoneVerdictText::StaleReportQuestion);
        EXPECT_EQ(q.Caption, QStringLiteral("Создание отчета"));
        EXPECT_EQ(q.Buttons, TPromptButtons::YesNo);
    }
    // Yes goes on to the save dialog, here cancelled.
    prompts->Clear();
    prompts->Answer(TPromptAnswer::Yes);
    prompts->File(QString());
    win->btnReportVOP->click();
    ASSERT_EQ(prompts->Records().size(), 2);
    EXPECT_EQ(prompts->Records()[1].Kind, TPromptKind::SaveFile);

    // An initial stage calculated for the new size fits: its report is not asked about.
    prompts->Clear();
    Run(win->btnZoneCalcNSP, [](TfrmCalc* d) { d->seValue11->setText(QStringLiteral("10")); });
    prompts->Clear();
    prompts->File(QString());
    win->btnReportNSP->click();
    ASSERT_EQ(prompts->Records().size(), 1);
    EXPECT_EQ(prompts->Records().front().Kind, TPromptKind::SaveFile);
}

TEST_F(ResultsWindowTest, SummaryReportIsWrittenFromTheReportsMenu)
{
    Zone({ 100, 100 }, { 300, 200 }, QStringLiteral("Склад"), QStringLiteral("3"), QStringLiteral("10"));
    Run(win->btnZoneCalcVOP);
    Zone({ 350, 100 }, { 500, 220 }, QStringLiteral("Архив"), QStringLiteral("4"));
    const QString file = Path(QStringLiteral("сводка.docx"));
    const QString text = Report(Action("pmiReportSummary"), file);
    EXPECT_TRUE(text.contains(QStringLiteral("Офис")));
    EXPECT_TRUE(text.contains(QStringLiteral("Склад")));
    EXPECT_TRUE(text.contains(QStringLiteral("Архив")));
    EXPECT_TRUE(text.contains(ZoneVerdictText::NeedNSP));
    EXPECT_FALSE(text.contains(QStringLiteral("$")));
}

// --- the summary dock -------------------------------------------------------------------------

TEST_F(ResultsWindowTest, SummaryDockListsSortsNumericallySelectsAndEmptiesOnClose)
{
    // Volumes 150, 10 and 9 m³: in text order "10" < "150" < "9".
    TRoom* a = Zone(
        { 100, 100 }, { 300, 200 }, QStringLiteral("Склад"), QStringLiteral("3"), QStringLiteral("10"));
    TRoom* b = Zone({ 350, 100 }, { 390, 120 }, QStringLiteral("Архив"), QStringLiteral("5"));
    TRoom* c = Zone({ 450, 100 }, { 490, 120 }, QStringLiteral("Венткамера"), QStringLiteral("4,5"));
    ASSERT_EQ(c->V(), 9);
    QDockWidget* dock = Control<QDockWidget>("dockSummary");
    QTableWidget* table = Control<QTableWidget>("tblSummary");
    EXPECT_FALSE(dock->isVisible());
    Action("miShowSummary")->trigger();
    ASSERT_TRUE(dock->isVisible());
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Сводка по зонам"));
    const auto column = [&](int c) {
        QStringList cells;
        for (int r = 0; r < table->rowCount(); ++r)
            cells << table->item(r, c)->text();
        return cells;
    };
    EXPECT_EQ(table->columnCount(), SummaryColumnHeads().size());
    EXPECT_EQ(column(0),
        (QStringList { QStringLiteral("Склад"), QStringLiteral("Архив"), QStringLiteral("Венткамера") }));
    EXPECT_EQ(column(3), (QStringList { QStringLiteral("150"), QStringLiteral("10"), QStringLiteral("9") }));

    // A click on a head sorts by value, a second one the other way.
    QHeaderView* head = table->horizontalHeader();
    const auto clickHead = [&](int section) {
        QTest::mouseClick(head->viewport(), Qt::LeftButton, Qt::NoModifier,
            QPoint(
                head->sectionViewportPosition(section) + head->sectionSize(section) / 2, head->height() / 2));
    };
    clickHead(3);
    EXPECT_EQ(column(3), (QStringList { QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("150") }));
    clickHead(3);
    EXPECT_EQ(column(3), (QStringList { QStringLiteral("150"), QStringLiteral("10"), QStringLiteral("9") }));

    // A run shows in the table at once, in the column kept sorted.
    Select(b);
    Run(win->btnZoneCalcVOP);
    ASSERT_TRUE(b->Runs.VOP.has_value());
    const QStringList vop = column(6);
    EXPECT_EQ(vop[1], QString::number(RoundToInt64(*DetectionTime(*b->Runs.VOP))));
    EXPECT_EQ(vop[0], QStringLiteral("—"));
    EXPECT_EQ(column(0)[1], QStringLiteral("Архив"));

    // A click on a row makes its zone current, as a click on the plan does.
    Select(a);
    QTest::mouseClick(
        table->viewport(), Qt::LeftButton, Qt::NoModifier, table->visualItemRect(table->item(2, 1)).center());
    EXPECT_EQ(win->CurrentRoom, c);
    EXPECT_TRUE(c->Selected);
    EXPECT_FALSE(a->Selected);
    EXPECT_TRUE(win->pnlRoomParams->isVisible());
    EXPECT_EQ(win->edtRpName->text(), QStringLiteral("Венткамера"));
    EXPECT_EQ(win->lblResVerdict->text(), ZoneVerdictText::NeedBoth);
    // And a click on the plan selects the zone's row.
    Select(b);
    ASSERT_EQ(table->selectedItems().size(), table->columnCount());
    EXPECT_EQ(table->selectedItems().front()->text(), QStringLiteral("Архив"));

    // A deleted zone leaves the table; a closed project empties it.
    win->btnRpDelete->click();
    EXPECT_EQ(column(0), (QStringList { QStringLiteral("Склад"), QStringLiteral("Венткамера") }));
    prompts->Answer(TPromptAnswer::No);
    Action("miClose")->trigger();
    ASSERT_EQ(win->FP, nullptr);
    EXPECT_EQ(table->rowCount(), 0);
}

} // namespace
