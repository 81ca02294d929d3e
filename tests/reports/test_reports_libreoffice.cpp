// LibreOffice as the real client: every kind of generated report and the project summary
// are converted to text by LibreOffice run headless, and the text it reads must be the
// finished report. Skipped only where LibreOffice is not installed (scripts/setup.sh test
// installs it).
#include "ReportTestRecords.h"

#include "uNumberText.h"
#include "uReportNumbers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

using namespace ReportTest;

namespace {

struct TCase {
    QString Name; // output file name without extension
    TReportKind Kind;
    TCalcParamsOrvann Record;
    QStringList Expected; // texts the converted report must contain
};

QString Office()
{
    for (const char* name : { "soffice", "libreoffice" }) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

// Every report, in the variants that change its shape: methods with their own blocks,
// both fields, both classes on both sides of 9 m, both initial-stage templates, a fire-load
// table with rows and one without.
std::vector<TCase> Cases()
{
    std::vector<TCase> cases;
    auto add = [&cases](const QString& name, TReportKind kind, TCalcParamsOrvann cp, QStringList expected) {
        cases.push_back({ name, kind, std::move(cp), std::move(expected) });
    };
    for (const int method : { 1, 2, 5 }) {
        TCalcParamsOrvann far = Optimised(3, 5, method);
        TCalcParamsOrvann near = Optimised(5, 1, method);
        for (TCalcParamsOrvann* cp : { &far, &near }) {
            const int last = cp->tbl_stop;
            QStringList expected {
                QStringLiteral("Время обнаружения пожара: %1 с").arg(RoundToStr(10, cp->TimeResult)),
                MethodText(method),
                cp == &far ? QStringLiteral("дальней зоне") : QStringLiteral("ближней зоне")
            };
            // The last row of the time table.
            for (int row = 1; row <= 6; ++row)
                expected << RoundToStr(100, cp->tbl[static_cast<size_t>(row)][static_cast<size_t>(last)]);
            add(QStringLiteral("optimised-%1-%2").arg(method).arg(QLatin1String(cp == &far ? "far" : "near")),
                TReportKind::Optimised, *cp, expected);
        }
    }
    for (const auto& [cls, h] : { std::pair { BOSClassA2, 5.0L }, std::pair { BOSClassA3, 12.0L } }) {
        TCalcParamsOrvann cp = Standard(h, 4, cls);
        add(QStringLiteral("simple-%1-%2").arg(cls).arg(static_cast<double>(h)), TReportKind::Simple, cp,
            { QStringLiteral("Время обнаружения пожара: %1 с").arg(RoundToStr(10, cp.value10s)),
                QStringLiteral("Извещатели класса %1").arg(QLatin1String(cls == BOSClassA2 ? "A2" : "A3")),
                QStringLiteral("Q = F·Qн·ψ·η = %1 кВт").arg(RoundToStr(1, cp.value1s)) });
    }
    for (const long double volume : { 3000.0L, 8000.0L }) {
        TCalcParamsOrvann cp = InitialStage(volume);
        add(QStringLiteral("stage-%1").arg(static_cast<double>(volume)), TReportKind::InitialStage, cp,
            { QStringLiteral("tнсп = %1 с").arg(RoundToStr(1, cp.value12)),
                volume > 3000 ? QStringLiteral("0,089") : QStringLiteral("0,0094") });
    }
    TCalcParamsOrvann load = FireLoad();
    add(QStringLiteral("fireload"), TReportKind::FireLoad, load,
        { QStringLiteral("Древесина"), QStringLiteral("Бумага, картон"), load.value13calc, load.param08calc,
            QStringLiteral("g = %1 кг/м2").arg(RoundToStr(100, RoundHalfEven(load.value13))) });
    TCalcParamsOrvann none = FireLoad();
    none.FireLoads.clear();
    add(QStringLiteral("fireload-empty"), TReportKind::FireLoad, none,
        { QStringLiteral("Горючий материал") });
    return cases;
}

} // namespace

TEST(ReportsInLibreOffice, EveryReportReadsAsAFinishedDocument)
{
    const QString office = Office();
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString zone = QStringLiteral("Лаборатория 2-14");
    TReportOptions options;
    options.TemplateFolders = { QStringLiteral(TESVORN_TEMPLATES_DIR) };
    std::vector<TCase> cases = Cases();
    QStringList files;
    for (TCase& c : cases) {
        const QString file = dir.filePath(c.Name + QStringLiteral(".docx"));
        const TReportResult result = MakeReport(c.Kind, zone, c.Record, file, options);
        ASSERT_TRUE(result.Ok()) << c.Name.toStdString() << ": " << result.Message.toStdString();
        files << file;
    }
    // The project summary: landscape, one row per zone.
    TZoneSummaryRow row { 7, zone, 3, 30, 90, 4, 4.99L, 96, 193.24L, 53 };
    TZoneRuns runs;
    runs.VOP = TZoneRun {};
    runs.VOP->Outcome = 96;
    runs.NSP = TZoneRun {};
    runs.NSP->Run = TCalcRun::InitialStage;
    runs.NSP->Outcome = 193.24L;
    row.Verdict = ZoneVerdict(runs);
    const QString summary = dir.filePath(QStringLiteral("summary.docx"));
    const TReportResult made = ReportSummary(QStringLiteral("Офис"), { row }, summary, options);
    ASSERT_TRUE(made.Ok()) << made.Message.toStdString();
    files << summary;
    cases.push_back({ QStringLiteral("summary"), TReportKind::FireLoad, {},
        { QStringLiteral("Сводный отчет по проекту"), QStringLiteral("Офис"), row.Verdict.Text,
            QStringLiteral("193"), QStringLiteral("4,99") } });

    // A private profile: no interference with a user's LibreOffice, nothing left behind.
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QStringList args { QStringLiteral("--headless"), QStringLiteral("--norestore"),
        QStringLiteral("-env:UserInstallation=")
            + QUrl::fromLocalFile(dir.filePath(QStringLiteral("profile"))).toString(),
        QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
        dir.filePath(QStringLiteral("txt")) };
    process.start(office, args + files);
    ASSERT_TRUE(process.waitForStarted(60000));
    ASSERT_TRUE(process.waitForFinished(300000)) << "LibreOffice did not finish";
    EXPECT_EQ(process.exitCode(), 0) << process.readAll().toStdString();

    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name.toStdString());
        QFile txt(dir.filePath(QStringLiteral("txt/") + c.Name + QStringLiteral(".txt")));
        ASSERT_TRUE(txt.open(QIODevice::ReadOnly))
            << "LibreOffice did not convert the report: " << process.readAll().toStdString();
        const QString text = QString::fromUtf8(txt.readAll());
        EXPECT_TRUE(text.contains(zone));
        EXPECT_FALSE(text.contains(QLatin1Char('$'))) << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("<var"))) << text.toStdString();
        for (const QString& expected : c.Expected)
            EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
    }
}
