// tesvorn-cli report: writes one of the four reports of a zone from its calculation
// record, with the program's own templates, as the window does.
//
//   tesvorn-cli report vop-optimised|vop|initial-stage|fireload --record REC.json
//                      --zone-name NAME [--templates DIR] OUT.docx
//
// REC.json holds the zone's record as `tesvorn-cli run` prints it: either the record object
// itself or the run's whole output, whose "record" is then taken. --templates replaces the
// template lookup (the user's data folder of the program, the tool's folder, the installed
// data folder) with that one folder.
//
// Output: {"file": OUT, "record": the record after the report} (the report by the height
// tables sets BOSClassText). Exit 0 when the document is saved. Exit 1 with the program's
// message when the record lacks the result the report needs, the template is missing or
// is not a usable document, or the document cannot be saved. Exit 2 with one line on
// stderr for bad usage or bad input (an unknown option, a missing argument, a record file
// that cannot be read or is not a record).
#include "uCliCommon.h"
#include "uRecordJson.h"

#include "uReports.h"

#include <QCoreApplication>
#include <QFile>

namespace {

const char UsageTail[] = "--record REC.json --zone-name NAME [--templates DIR] OUT.docx";

struct TReportArgs {
    QString Record, ZoneName, Templates, Out;
    bool HasZoneName = false;
};

TReportArgs ParseArgs(const QStringList& args, const QString& verb)
{
    const QString usage
        = QStringLiteral("usage: tesvorn-cli report %1 %2").arg(verb, QLatin1String(UsageTail));
    TReportArgs parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&]() -> QString {
            if (i + 1 >= args.size())
                throw ECliError(QStringLiteral("option %1 needs a value; %2").arg(a, usage));
            return args[++i];
        };
        if (a == QLatin1String("--record"))
            parsed.Record = value();
        else if (a == QLatin1String("--zone-name"))
            parsed.ZoneName = value(), parsed.HasZoneName = true;
        else if (a == QLatin1String("--templates"))
            parsed.Templates = value();
        else if (a.startsWith(QLatin1String("--")))
            throw ECliError(QStringLiteral("unknown option %1; %2").arg(a, usage));
        else if (parsed.Out.isEmpty())
            parsed.Out = a;
        else
            throw ECliError(QStringLiteral("more than one output file; %1").arg(usage));
    }
    if (parsed.Record.isEmpty() || !parsed.HasZoneName || parsed.Out.isEmpty())
        throw ECliError(usage);
    return parsed;
}

TCalcParamsOrvann ReadRecord(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw ECliError(
            QStringLiteral("cannot read the record file %1: %2").arg(fileName, file.errorString()));
    QJsonParseError err {};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &err);
    if (err.error != QJsonParseError::NoError)
        throw ECliError(QStringLiteral("%1 is not valid JSON: %2 at offset %3")
                            .arg(fileName, err.errorString())
                            .arg(err.offset));
    if (!doc.isObject())
        throw ECliError(QStringLiteral("%1 must hold one JSON object").arg(fileName));
    QJsonObject object = doc.object();
    // The whole output of `tesvorn-cli run` carries the record under "record".
    if (object.value(QStringLiteral("record")).isObject())
        object = object.value(QStringLiteral("record")).toObject();
    return RecordFromJson(object);
}

int ReportVerb(TReportKind kind, const QString& verb, const QStringList& args)
{
    const TReportArgs parsed = ParseArgs(args, verb);
    TCalcParamsOrvann cp = ReadRecord(parsed.Record);

    // The command's own check comes first: the fire-load report needs any of the results.
    if (!ReportCalculated(kind, cp))
        throw ECliError(ReportOfferText(kind), 1);

    TReportOptions options;
    if (!parsed.Templates.isEmpty()) {
        options.TemplateFolders = QStringList { parsed.Templates };
    } else {
        // The desktop program's user data folder, whatever this tool is called.
        QCoreApplication::setApplicationName(QStringLiteral("tesvorn"));
    }
    const TReportResult result = MakeReport(kind, parsed.ZoneName, cp, parsed.Out, options);
    if (!result.Ok())
        throw ECliError(result.Message, 1);

    QJsonObject out;
    out[QStringLiteral("file")] = parsed.Out;
    out[QStringLiteral("record")] = RecordToJson(cp);
    PrintJson(out);
    return 0;
}

TCliVerbRegistration regOptimised("report vop-optimised", UsageTail, [](const QStringList& args) {
    return ReportVerb(TReportKind::Optimised, QStringLiteral("vop-optimised"), args);
});
TCliVerbRegistration regSimple("report vop", UsageTail,
    [](const QStringList& args) { return ReportVerb(TReportKind::Simple, QStringLiteral("vop"), args); });
TCliVerbRegistration regStage("report initial-stage", UsageTail, [](const QStringList& args) {
    return ReportVerb(TReportKind::InitialStage, QStringLiteral("initial-stage"), args);
});
TCliVerbRegistration regFireLoad("report fireload", UsageTail, [](const QStringList& args) {
    return ReportVerb(TReportKind::FireLoad, QStringLiteral("fireload"), args);
});

} // namespace
