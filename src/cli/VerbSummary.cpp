// tesvorn-cli project summary and report summary: the verdict of every zone of a project
// from the project file and the results file beside it, as a table or as the project's
// summary report.
//
//   tesvorn-cli project summary FILE.fsp
//   tesvorn-cli report summary FILE.fsp OUT.docx [--templates DIR]
//
// Both read FILE.results.json as the window does when it opens FILE.fsp; a warning about
// it (damaged, of another version, zones changed) goes to stderr and the zones concerned
// have no results.
//
// project summary prints {"zones": [{"ID", "Name", "Height", "Area", "Volume", "Sensors",
// "L", "VOP", "NSP", "value13", "stale", "verdict": "in-time"|"late"|"incomplete",
// "margin"}]} in the project's zone order: metres, m², m³, seconds (VOP and NSP as the runs
// gave them, margin the difference of the two in whole seconds), kg/m²; null where not
// known. report summary writes the report (template6.dotx) and prints {"file", "zones"}.
//
// Exit 1 when the project cannot be loaded or the report cannot be made; 2 for bad usage.
#include "uCliCommon.h"

#include "uFireClasses.h"
#include "uProjectResults.h"
#include "uReports.h"
#include "uZoneResults.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <memory>

namespace {

const char LoadFailedText[] = "Не удалось загрузить проект.";

QJsonValue Optional(const std::optional<long double>& value)
{
    return value ? JsonReal(*value) : QJsonValue();
}

// The project and its results, as the window opens them; nullptr after reporting a
// project that cannot be loaded.
std::unique_ptr<TFireProject> Open(const QString& fileName)
{
    auto project = std::make_unique<TFireProject>();
    QString reason;
    if (!project->LoadFromFile(fileName, &reason)) {
        std::fprintf(stderr, "%s\n", LoadFailedText);
        if (!reason.isEmpty())
            std::fprintf(stderr, "%s\n", reason.toUtf8().constData());
        return nullptr;
    }
    const QString warning = LoadProjectResults(*project, fileName).Warning;
    if (!warning.isEmpty())
        std::fprintf(stderr, "%s\n", warning.toUtf8().constData());
    return project;
}

QJsonObject RowJson(const TZoneSummaryRow& row)
{
    QJsonObject o;
    o["ID"] = row.ID;
    o["Name"] = row.Name;
    o["Height"] = JsonReal(row.Height);
    o["Area"] = JsonReal(row.Area);
    o["Volume"] = JsonReal(row.Volume);
    o["Sensors"] = row.Sensors;
    o["L"] = Optional(row.L);
    o["VOP"] = Optional(row.VOP);
    o["NSP"] = Optional(row.NSP);
    o["value13"] = Optional(row.value13);
    o["stale"] = row.Stale;
    o["verdict"] = VerdictName(row.Verdict.Kind);
    o["margin"] = row.Verdict.Margin ? QJsonValue(static_cast<qint64>(*row.Verdict.Margin)) : QJsonValue();
    return o;
}

int Summary(const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        throw ECliError(QStringLiteral("usage: tesvorn-cli project summary FILE.fsp"));
    const auto project = Open(args[0]);
    if (!project)
        return 1;
    QJsonArray zones;
    for (const TZoneSummaryRow& row : ProjectSummary(*project))
        zones.append(RowJson(row));
    PrintJson(QJsonObject { { "zones", zones } });
    return 0;
}

int SummaryReport(const QStringList& args)
{
    const QString usage
        = QStringLiteral("usage: tesvorn-cli report summary FILE.fsp OUT.docx [--templates DIR]");
    QStringList positional;
    QString templates;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--templates")) {
            if (i + 1 >= args.size())
                throw ECliError(QStringLiteral("option --templates needs a value; ") + usage);
            templates = args[++i];
        } else if (args[i].startsWith(QLatin1String("--"))) {
            throw ECliError(QStringLiteral("unknown option %1; %2").arg(args[i], usage));
        } else {
            positional << args[i];
        }
    }
    if (positional.size() != 2)
        throw ECliError(usage);
    const auto project = Open(positional[0]);
    if (!project)
        return 1;
    TReportOptions options;
    if (!templates.isEmpty())
        options.TemplateFolders = QStringList { templates };
    else
        QCoreApplication::setApplicationName(QStringLiteral("tesvorn")); // the program's user folder
    const QString name
        = project->Name.isEmpty() ? QFileInfo(positional[0]).completeBaseName() : project->Name;
    const std::vector<TZoneSummaryRow> rows = ProjectSummary(*project);
    const TReportResult result = ReportSummary(name, rows, positional[1], options);
    if (!result.Ok())
        throw ECliError(result.Message, 1);
    PrintJson(QJsonObject { { "file", positional[1] }, { "zones", static_cast<qint64>(rows.size()) } });
    return 0;
}

TCliVerbRegistration regSummary("project summary", "FILE.fsp", Summary);
TCliVerbRegistration regReport("report summary", "FILE.fsp OUT.docx [--templates DIR]", SummaryReport);

} // namespace
