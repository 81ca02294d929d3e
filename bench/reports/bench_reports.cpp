// Each of the four reports written in-process from the shipped templates, against the
// cheapest thing a word-processor automation path must do for one report: LibreOffice
// started headless to turn the same template into a .docx document. The run ends with the
// ratio of the two, per report.
//
//   ./bench/reports/bench_reports
#include "uFireLoadMix.h"
#include "uHeightTables.h"
#include "uInitialStage.h"
#include "uOptimised.h"
#include "uReports.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

const QString Templates = QStringLiteral(TESVORN_TEMPLATES_DIR);

// A 3 m zone with two fire loads, class A3 sensors 5 m apart: the records the four runs
// leave behind for it.
TCalcParamsOrvann Record(TReportKind kind)
{
    TFireLoad wood;
    wood.Name = QStringLiteral("Древесина");
    wood.P1LowestHeat = 13800;
    wood.P2LinearFlameSpeed = 0.0108L;
    wood.P3BurnoutSpeed = 0.0145L;
    wood.PFlammableLoad = 10;
    wood.CCC = 0.9L;
    TFireLoad paper = wood;
    paper.Name = QStringLiteral("Бумага");
    paper.P1LowestHeat = 13000;
    paper.P2LinearFlameSpeed = 0.02L;
    paper.P3BurnoutSpeed = 0.01L;
    paper.PFlammableLoad = 5;
    const TFireLoadMix mix = CalcFireLoad({ wood, paper }, DefaultFireLoadMixRules(), 3, 500);

    TCalcParamsOrvann cp;
    cp.param1 = 3;
    cp.param2 = 5;
    cp.param3 = 500;
    cp.param4 = 20;
    cp.param5 = mix.FireLoadFinal.CCC;
    cp.param6 = mix.FireLoadFinal.P2LinearFlameSpeed;
    cp.param7 = mix.FireLoadFinal.P3BurnoutSpeed;
    cp.param8 = mix.FireLoadFinal.P1LowestHeat;
    cp.param9 = mix.FireLoadFinal.PFlammableLoad;
    cp.param10 = 293;
    cp.param11 = 333;
    cp.param12 = 50;
    cp.method = 1;
    cp.BOSClass = BOSClassA3;
    cp.value13 = mix.value13;
    cp.value13calc = mix.value13calc;
    cp.param06calc = mix.FLFinal_param06calc;
    cp.param07calc = mix.FLFinal_param07calc;
    cp.param08calc = mix.FLFinal_param08calc;
    cp.FireLoads = { wood, paper };
    cp.FLNames = QStringLiteral("Древесина, Бумага");
    switch (kind) {
    case TReportKind::Optimised:
        CalcCP(cp);
        break;
    case TReportKind::Simple:
        CalcHeightTables(cp);
        break;
    case TReportKind::InitialStage:
        cp.value11 = 10;
        CalcInitialStageDuration(cp);
        break;
    case TReportKind::FireLoad:
        cp.CalculatedFL = true;
        break;
    }
    return cp;
}

void BM_Report(benchmark::State& state, TReportKind kind)
{
    const TCalcParamsOrvann record = Record(kind);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.docx"));
    TReportOptions options;
    options.TemplateFolders = { Templates };
    for (auto _ : state) {
        TCalcParamsOrvann cp = record;
        const TReportResult result = MakeReport(kind, QStringLiteral("Склад №3"), cp, file, options);
        if (!result.Ok()) {
            state.SkipWithError(result.Message.toStdString().c_str());
            break;
        }
    }
}

QString Office()
{
    for (const char* name : { "soffice", "libreoffice" })
        if (const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name)); !path.isEmpty())
            return path;
    return QString();
}

bool Convert(const QString& office, const QString& profile, const QString& templ, const QString& outDir)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(office,
        { QStringLiteral("--headless"), QStringLiteral("--norestore"),
            QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
            QStringLiteral("--convert-to"), QStringLiteral("docx:MS Word 2007 XML"),
            QStringLiteral("--outdir"), outDir, templ });
    return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// LibreOffice started for one template and closed again, with its profile made beforehand
// (a first start that creates the profile would be slower still).
void BM_LibreOfficeConvert(benchmark::State& state, const char* templateName)
{
    const QString office = Office();
    if (office.isEmpty()) {
        state.SkipWithError("LibreOffice is not installed");
        return;
    }
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("profile"));
    const QString templ = QDir(Templates).filePath(QString::fromLatin1(templateName));
    if (!Convert(office, profile, templ, dir.path())) {
        state.SkipWithError("LibreOffice failed to convert the template");
        return;
    }
    for (auto _ : state)
        if (!Convert(office, profile, templ, dir.path())) {
            state.SkipWithError("LibreOffice failed to convert the template");
            break;
        }
}

// Keeps the mean real time of every benchmark, in milliseconds, besides printing it.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> Millis;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                Millis[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK_CAPTURE(BM_Report, optimised, TReportKind::Optimised)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Report, simple, TReportKind::Simple)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Report, initial_stage, TReportKind::InitialStage)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Report, fireload, TReportKind::FireLoad)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LibreOfficeConvert, template1, "template1.dotx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_LibreOfficeConvert, template2, "template2.dotx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_LibreOfficeConvert, template3, "template3.dotx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_LibreOfficeConvert, template5, "template5.dotx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::pair<const char*, const char*> pairs[] = {
        { "BM_Report/optimised", "BM_LibreOfficeConvert/template1/iterations:3" },
        { "BM_Report/simple", "BM_LibreOfficeConvert/template2/iterations:3" },
        { "BM_Report/initial_stage", "BM_LibreOfficeConvert/template3/iterations:3" },
        { "BM_Report/fireload", "BM_LibreOfficeConvert/template5/iterations:3" },
    };
    std::printf(
        "\nIn-process report against LibreOffice converting its template (goal: 40 times or more):\n");
    for (const auto& [ours, office] : pairs) {
        const auto a = reporter.Millis.find(ours), b = reporter.Millis.find(office);
        if (a == reporter.Millis.end() || b == reporter.Millis.end() || a->second <= 0)
            continue;
        std::printf("  %-26s %9.2f ms   LibreOffice %9.1f ms   %7.0f times faster\n", ours, a->second,
            b->second, b->second / a->second);
    }
    return 0;
}
