// The report commands driven through the real window: the menu entries and zone-panel
// buttons, the messages and the save dialog answered by the scripted prompts, the
// documents written from the built templates or from templates made in a temporary folder.
#include "MainWindowFixture.h"
#include "ReportTestRecords.h"
#include "uCalc.h"
#include "uPaintBox.h"
#include "uReportCommands.h"
#include "uReportGeneration.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTest>
#include <unistd.h>

namespace {

const QString BuiltTemplates = QStringLiteral(TESVORN_TEMPLATES_DIR);

// Records every progress window shown while it watches: its maximum when shown and each
// position its bar takes, and whether one is still on screen.
class TProgressWatch : public QObject {
public:
    struct TShown {
        int Maximum = -1;
        QList<int> Positions;
    };
    QList<TShown> Shown;

    TProgressWatch() { qApp->installEventFilter(this); }
    ~TProgressWatch() override { qApp->removeEventFilter(this); }

    static bool AnyVisible()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TfrmReportGeneration*>(w) && w->isVisible())
                return true;
        return false;
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* window = qobject_cast<TfrmReportGeneration*>(object)) {
                Shown.append(TShown { window->pb->maximum(), { window->pb->value() } });
                const qsizetype index = Shown.size() - 1;
                connect(window->pb, &QProgressBar::valueChanged, this,
                    [this, index](int value) { Shown[index].Positions.append(value); });
            }
        }
        return QObject::eventFilter(object, event);
    }
};

class ReportCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        Start();
        NewProject(QStringLiteral("Склад"), 640, 480);
        win->ReportCommands->TemplateFolders = { BuiltTemplates };
    }

    // A zone drawn with the mouse and selected by a click, at 0.05 m per pixel.
    TRoom* SelectedZone(const QString& name = QStringLiteral("Склад готовой продукции"))
    {
        QTest::mousePress(win->pb, Qt::LeftButton, Qt::NoModifier, { 100, 100 });
        QMouseEvent move(QEvent::MouseMove, QPointF(300, 260),
            QPointF(win->pb->mapToGlobal(QPoint(300, 260))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(win->pb, &move);
        QTest::mouseRelease(win->pb, Qt::LeftButton, Qt::NoModifier, { 300, 260 });
        QTest::mousePress(win->pb, Qt::LeftButton, Qt::NoModifier, { 200, 200 });
        QTest::mouseRelease(win->pb, Qt::LeftButton, Qt::NoModifier, { 200, 200 });
        EXPECT_EQ(win->FP->Rooms.size(), 1u);
        TRoom* room = win->FP->Rooms.empty() ? nullptr : win->FP->Rooms.front().get();
        EXPECT_EQ(win->CurrentRoom, room);
        if (room) {
            win->FP->Setpx(0.05L);
            room->SetName(name);
        }
        return room;
    }

    // The zone's record as a standard run leaves it (4 m, class A3, spacing 3 m), with the
    // project saved, so that a change of the modified flag shows.
    TRoom* ZoneWithStandardResult()
    {
        TRoom* room = SelectedZone();
        if (room) {
            room->CP = ReportTest::Standard(4, 3, BOSClassA3);
            room->CP.BOSClassText = QStringLiteral("прежний");
            win->FP->SetModified(false);
        }
        return room;
    }

    QStringList FilesIn(const QString& folder) const { return QDir(folder).entryList(QDir::Files); }
};

} // namespace

// --- before a report is made --------------------------------------------------------

TEST_F(ReportCommandsTest, WithoutAZoneEveryCommandWarnsAndWithoutAProjectNothingHappens)
{
    Action("N3")->trigger();
    Action("pmiReportSimple")->trigger();
    Control<QPushButton>("btnReportNSP")->click();
    Action("pmiReportG")->trigger();
    const QList<TPromptRecord> shown = prompts->Records();
    ASSERT_EQ(shown.size(), 4);
    for (const TPromptRecord& r : shown) {
        EXPECT_EQ(r.Kind, TPromptKind::Message);
        EXPECT_EQ(r.Text, QStringLiteral("Выберите помещение на планировке"));
        EXPECT_EQ(r.Caption, QStringLiteral("Создание отчета"));
        EXPECT_EQ(r.Icon, TPromptIcon::Warning);
    }

    prompts->Clear();
    prompts->Answer(TPromptAnswer::No); // the save question of the closing
    Action("miClose")->trigger();
    ASSERT_EQ(win->FP, nullptr);
    prompts->Clear();
    Action("pmiReportSimple")->trigger();
    Action("pmiReportG")->trigger();
    EXPECT_TRUE(prompts->Records().isEmpty());
}

// Each command tests its own result flag and offers its own calculation; No changes
// nothing and asks for no file.
TEST_F(ReportCommandsTest, MissingResultsAreOfferedAndNoStopsThere)
{
    TRoom* room = SelectedZone();
    ASSERT_NE(room, nullptr);
    const QString general = QStringLiteral("Для того что бы сделать отчет нужно произвести расчет. Начать?");
    const QString vop = QStringLiteral("Для того что бы сделать отчет нужно произвести расчет ВОП. Начать?");
    const QString nsp = QStringLiteral("Для того что бы сделать отчет нужно произвести расчет НСП. Начать?");
    struct TCase {
        std::function<void()> command;
        QString offer;
    };
    const TCase cases[] = {
        { [&] { Action("N3")->trigger(); }, general },
        { [&] { Action("pmiReportSimple")->trigger(); }, vop },
        { [&] { Control<QPushButton>("btnReportVOP")->click(); }, vop },
        { [&] { Action("pmiReportNSP")->trigger(); }, nsp },
        { [&] { Control<QPushButton>("btnReportNSP")->click(); }, nsp },
        { [&] { Action("pmiReportG")->trigger(); }, general },
        { [&] { Control<QPushButton>("btnReportG")->click(); }, general },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.offer.toStdString());
        prompts->Clear();
        prompts->Answer(TPromptAnswer::No);
        c.command();
        ASSERT_EQ(prompts->Records().size(), 1);
        const TPromptRecord& r = prompts->Records().front();
        EXPECT_EQ(r.Text, c.offer);
        EXPECT_EQ(r.Caption, QStringLiteral("Создание отчета"));
        EXPECT_EQ(r.Icon, TPromptIcon::Information);
        EXPECT_EQ(r.Buttons, TPromptButtons::YesNo);
        EXPECT_EQ(prompts->Unanswered(), 0);
    }
    EXPECT_FALSE(room->CP.CalculatedVOP || room->CP.CalculatedNSP || room->CP.CalculatedFL);

    // A detection-time result satisfies the fire-load report but not the initial stage's;
    // a fire-load result alone satisfies the fire-load report too.
    room->CP.CalculatedVOP = true;
    prompts->Clear();
    prompts->Answer(TPromptAnswer::No);
    Action("pmiReportNSP")->trigger();
    ASSERT_EQ(prompts->Records().size(), 1);
    EXPECT_EQ(prompts->Records().front().Text, nsp);
    for (const bool vopResult : { true, false }) {
        room->CP.CalculatedVOP = vopResult;
        room->CP.CalculatedFL = !vopResult;
        prompts->Clear();
        prompts->File(QString()); // the save dialog, cancelled
        Action("pmiReportG")->trigger();
        ASSERT_EQ(prompts->Records().size(), 1);
        EXPECT_EQ(prompts->Records().front().Kind, TPromptKind::SaveFile);
    }
}

// Yes starts the calculation the report needs — the optimised run for the optimised
// report, the standard run for the detection-time report, the initial-stage run for the
// two others — and the report waits for the user's next command, whether the calculation
// was made or cancelled.
TEST_F(ReportCommandsTest, YesStartsTheMatchingCalculationAndMakesNoReport)
{
    TRoom* room = SelectedZone();
    ASSERT_NE(room, nullptr);
    room->SetH(60); // 3 m
    enum class TRun { None, Optimised, Standard, InitialStage, FireLoad };
    const std::pair<std::function<void()>, TRun> cases[] = {
        { [&] { Action("N3")->trigger(); }, TRun::Optimised },
        { [&] { Control<QPushButton>("btnReportVOP")->click(); }, TRun::Standard },
        { [&] { Control<QPushButton>("btnReportNSP")->click(); }, TRun::InitialStage },
        { [&] { Action("pmiReportG")->trigger(); }, TRun::InitialStage },
    };
    for (const auto& [command, expected] : cases) {
        SCOPED_TRACE(static_cast<int>(expected));
        TRun started = TRun::None;
        prompts->Answer(TPromptAnswer::Yes);
        prompts->Dialog([&started](QWidget* w) {
            auto* d = qobject_cast<TfrmCalc*>(w);
            ASSERT_NE(d, nullptr);
            if (!d->PageShown(d->ts2))
                started = d->PageShown(d->ts3) ? TRun::InitialStage : TRun::FireLoad;
            else if (!d->PageShown(d->ts3))
                started = d->pnlBOSClass->isHidden() ? TRun::Optimised : TRun::Standard;
            d->btn1->click();
        });
        command();
        EXPECT_EQ(started, expected);
    }
    EXPECT_FALSE(room->CP.CalculatedVOP || room->CP.CalculatedNSP || room->CP.CalculatedFL);

    // Accepted with the first typical load: the zone has its detection time, and no report.
    prompts->Answer(TPromptAnswer::Yes);
    prompts->Dialog([](QWidget* w) {
        auto* d = qobject_cast<TfrmCalc*>(w);
        ASSERT_NE(d, nullptr);
        d->btnFireLoadAdd->click();
        d->btn2->click();
    });
    Action("pmiReportSimple")->trigger();
    EXPECT_TRUE(room->CP.CalculatedVOP);
    EXPECT_FALSE(room->Sensors.empty());
    bool announced = false;
    for (const TPromptRecord& r : prompts->Records()) {
        EXPECT_NE(r.Kind, TPromptKind::SaveFile);
        announced = announced || r.Caption == QStringLiteral("Результат");
    }
    EXPECT_TRUE(announced);
    EXPECT_EQ(prompts->PendingAnswers(), 0);
}

TEST_F(ReportCommandsTest, CancelInTheSaveDialogWritesNothing)
{
    TRoom* room = ZoneWithStandardResult();
    ASSERT_NE(room, nullptr);
    TProgressWatch watch;
    prompts->File(QString());
    Control<QPushButton>("btnReportVOP")->click();
    ASSERT_EQ(prompts->Records().size(), 1);
    const TPromptRecord& dialog = prompts->Records().front();
    EXPECT_EQ(dialog.Kind, TPromptKind::SaveFile);
    EXPECT_EQ(dialog.Caption, QStringLiteral("Сохранение отчета"));
    EXPECT_EQ(QtFileFilter(dialog.Filter), QStringLiteral("Документ Word (*.docx)"));
    EXPECT_EQ(dialog.DefaultSuffix, QStringLiteral("docx"));
    EXPECT_TRUE(dialog.Text.isEmpty());
    EXPECT_TRUE(watch.Shown.isEmpty());
    EXPECT_EQ(room->CP.BOSClassText, QStringLiteral("прежний"));
    EXPECT_EQ(FilesIn(dir.path()), QStringList { QStringLiteral("kvr.db") });
}

// --- failures -----------------------------------------------------------------------

// A template that is missing, damaged, or lacks its table, and a folder that cannot be
// written: one error box with the report's message, no success question, no file, no
// progress window left on screen, the record as it was.
TEST_F(ReportCommandsTest, FailuresShowOneErrorAndChangeNothing)
{
    TRoom* room = ZoneWithStandardResult();
    ASSERT_NE(room, nullptr);
    room->CP.param3 = 3500; // the initial-stage report takes template4
    room->CP.CalculatedNSP = true;
    QTemporaryDir own;
    ASSERT_TRUE(own.isValid());
    const QString out = Path(QStringLiteral("отчет.docx"));

    struct TCase {
        const char* what;
        std::function<void()> prepare;
        std::function<void()> command;
        QString target;
        QString expected; // a part of the message
    };
    const QString damaged = QDir(own.path()).filePath(QStringLiteral("template2.dotx"));
    const QString noTable = QDir(own.path()).filePath(QStringLiteral("template5.dotx"));
    // A folder nobody may write to: /proc refuses even the superuser, who ignores modes.
    QString readOnly = QStringLiteral("/proc");
    if (geteuid() != 0) {
        readOnly = Path(QStringLiteral("ro"));
        ASSERT_TRUE(QDir().mkdir(readOnly));
        QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    const QString unwritable = QDir(readOnly).filePath(QStringLiteral("отчет.docx"));
    const TCase cases[] = {
        { "template missing", [&] { win->ReportCommands->TemplateFolders = { own.path() }; },
            [&] { Action("pmiReportSimple")->trigger(); }, out,
            QStringLiteral("Файл шаблона не найден (template2.dotx). Невозможно сохранить отчет.") },
        { "the initial stage's template missing",
            [&] { win->ReportCommands->TemplateFolders = { own.path() }; },
            [&] { Control<QPushButton>("btnReportNSP")->click(); }, out,
            QStringLiteral("Файл шаблона не найден (template4.dotx). Невозможно сохранить отчет.") },
        { "damaged template",
            [&] {
                QFile f(damaged);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write("PK\x03\x04 not a document");
                win->ReportCommands->TemplateFolders = { own.path() };
            },
            [&] { Action("pmiReportSimple")->trigger(); }, out, QDir::toNativeSeparators(damaged) },
        { "template without the table",
            [&] {
                // A readable template of another report: it has no table.
                ASSERT_TRUE(
                    QFile::copy(QDir(BuiltTemplates).filePath(QStringLiteral("template3.dotx")), noTable));
                win->ReportCommands->TemplateFolders = { own.path() };
            },
            [&] { Control<QPushButton>("btnReportG")->click(); }, out, QDir::toNativeSeparators(noTable) },
        { "read-only folder", [&] { win->ReportCommands->TemplateFolders = { BuiltTemplates }; },
            [&] { Action("pmiReportSimple")->trigger(); }, unwritable, QDir::toNativeSeparators(unwritable) },
    };
    const TCalcParamsOrvann before = room->CP;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        prompts->Clear();
        prompts->File(c.target);
        TProgressWatch watch;
        c.command();
        const QList<TPromptRecord> messages = prompts->Messages();
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages.front().Text.contains(c.expected)) << messages.front().Text.toStdString();
        EXPECT_EQ(messages.front().Caption, QStringLiteral("Создание отчета"));
        EXPECT_EQ(messages.front().Icon, TPromptIcon::Error);
        EXPECT_EQ(prompts->Unanswered(), 0);
        EXPECT_FALSE(QFileInfo::exists(c.target));
        EXPECT_FALSE(TProgressWatch::AnyVisible());
        // The window appears only once the template was found.
        EXPECT_EQ(watch.Shown.isEmpty(), QString::fromUtf8(c.what).contains(QStringLiteral("missing")));
        EXPECT_EQ(room->CP.BOSClassText, before.BOSClassText);
        EXPECT_EQ(room->CP.value1s, before.value1s);
        EXPECT_FALSE(win->FP->Modified());
    }
    EXPECT_EQ(FilesIn(dir.path()), QStringList { QStringLiteral("kvr.db") });
    EXPECT_EQ(FilesIn(own.path()).size(), 2); // only the two templates put there
    if (geteuid() != 0)
        QFile::setPermissions(
            readOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// --- success ------------------------------------------------------------------------

TEST_F(ReportCommandsTest, SuccessAsksToOpenAndYesOpensTheSavedFile)
{
    TRoom* room = ZoneWithStandardResult();
    ASSERT_NE(room, nullptr);
    const QString file = Path(QStringLiteral("Склад ВОП.docx"));
    TProgressWatch watch;
    prompts->File(file);
    prompts->Answer(TPromptAnswer::Yes);
    Action("pmiReportSimple")->trigger();

    const QList<TPromptRecord> records = prompts->Records();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[1].Text, QStringLiteral("Отчет успешно создан и сохранен. Открыть?"));
    EXPECT_EQ(records[1].Caption, QStringLiteral("Создание отчета"));
    EXPECT_EQ(records[1].Icon, TPromptIcon::Information);
    EXPECT_EQ(records[1].Buttons, TPromptButtons::YesNo);
    EXPECT_EQ(records[2].Kind, TPromptKind::OpenUrl);
    EXPECT_EQ(QUrl(records[2].Text), QUrl::fromLocalFile(file));

    // The document of this zone; the record keeps the class text, the project unmodified.
    const ReportTest::TReportText text = ReportTest::ReadReport(file);
    EXPECT_TRUE(text.Has(QStringLiteral("Помещение: Склад готовой продукции")));
    EXPECT_FALSE(text.Has(QStringLiteral("$")));
    EXPECT_EQ(room->CP.BOSClassText, QStringLiteral("A3"));
    EXPECT_FALSE(win->FP->Modified());

    // One progress window, with the report's maximum, run up to it, gone at the end.
    ASSERT_EQ(watch.Shown.size(), 1);
    EXPECT_EQ(watch.Shown.front().Maximum, room->CP.tbl_stop + 23);
    EXPECT_EQ(watch.Shown.front().Positions.front(), 0);
    EXPECT_EQ(watch.Shown.front().Positions.back(), room->CP.tbl_stop + 23);
    EXPECT_FALSE(TProgressWatch::AnyVisible());

    // The optimised report offers the previous name again, the others an empty one; No
    // to the question opens nothing.
    prompts->Clear();
    prompts->File(QString());
    Action("N3")->trigger();
    prompts->File(Path(QStringLiteral("ГН.docx")));
    prompts->Answer(TPromptAnswer::No);
    Control<QPushButton>("btnReportG")->click();
    const QList<TPromptRecord> again = prompts->Records();
    ASSERT_EQ(again.size(), 3);
    EXPECT_EQ(again[0].Text, file);
    EXPECT_TRUE(again[1].Text.isEmpty());
    EXPECT_EQ(again[2].Text, QStringLiteral("Отчет успешно создан и сохранен. Открыть?"));
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("ГН.docx"))));
}
