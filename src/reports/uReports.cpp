// The four reports of a zone: see uReports.h.
//
// Each report is a fixed sequence over its template: placeholder replacements in a fixed
// order (a placeholder that is a prefix of another comes after it), block deletions by the
// record's method, sensor class, height and the sign of value2, the erasing of the
// markers of the blocks that stay, and the result table. The progress figures are those
// the progress window has always shown; they inform and need not add up.
#include "uReports.h"

#include "uHeightTables.h"
#include "uNumberText.h"
#include "uReportDocument.h"
#include "uReportNumbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <initializer_list>

#ifndef TESVORN_TEMPLATES_FROM_BIN
#define TESVORN_TEMPLATES_FROM_BIN "../share/tesvorn/templates"
#endif

namespace {

// The decimals of a placeholder as RoundToStr's factor.
constexpr int64_t D0 = 1, D1 = 10, D2 = 100, D3 = 1000, D4 = 10000;

QString Start(const QString& id) { return QStringLiteral("<var%1start>").arg(id); }
QString End(const QString& id) { return QStringLiteral("<var%1end>").arg(id); }

// Counts the report's steps for the progress callback.
class TProgress {
public:
    TProgress(const TReportProgress& callback, int maximum)
        : FCallback(callback)
        , FMaximum(std::max(0, maximum))
    {
        Report();
    }
    void Step(int by)
    {
        FPosition = std::min(FMaximum, FPosition + by);
        Report();
    }
    void Finish()
    {
        FPosition = FMaximum;
        Report();
    }

private:
    void Report() const
    {
        if (FCallback)
            FCallback(FPosition, FMaximum);
    }
    const TReportProgress& FCallback;
    int FMaximum;
    int FPosition = 0;
};

// One report being written: the document and the record's values as text.
class TReportRun {
public:
    TReportDocument Doc;

    void Text(const char* placeholder, const QString& value)
    {
        Doc.ReplaceText(QLatin1String(placeholder), value);
    }
    void Number(const char* placeholder, int64_t factor, long double value)
    {
        Text(placeholder, RoundToStr(factor, value));
    }
    void DeleteBlocks(std::initializer_list<const char*> ids)
    {
        for (const char* id : ids)
            Doc.DeleteAllBlocks(Start(QLatin1String(id)), End(QLatin1String(id)));
    }
    // The markers of the blocks that stay are erased, start marker then end marker.
    void EraseMarkers(std::initializer_list<const char*> ids)
    {
        for (const char* id : ids) {
            Doc.ReplaceText(Start(QLatin1String(id)), QString());
            Doc.ReplaceText(End(QLatin1String(id)), QString());
        }
    }
    void Method(int32_t method)
    {
        const QString text = MethodText(method);
        if (!text.isEmpty())
            Text("$method", text);
    }
};

// The markers of every block that stays are erased, so that a finished report shows no
// marker: first the method and field blocks, then the method groups 8 and 03 … 07 and the
// class and height blocks 1_1 … 1_4.
void EraseDetectionTimeMarkers(TReportRun& run)
{
    run.EraseMarkers({ "0", "01", "02", "1", "2", "3", "4", "5", "6", "7" });
    run.EraseMarkers({ "8", "03", "04", "05", "06", "07", "1_1", "1_2", "1_3", "1_4" });
}

// Placeholders "$zonename", "$flnames" and "$param01" … "$param16" with the decimals of
// the height-tables and initial-stage reports.
void SimpleInputs(TReportRun& run, const QString& zoneName, const TCalcParamsOrvann& cp)
{
    run.Text("$zonename", zoneName);
    run.Text("$flnames", cp.FLNames);
    run.Number("$param01", D1, cp.param1);
    run.Number("$param02", D1, cp.param2);
    run.Number("$param03", D0, cp.param3);
    run.Number("$param04", D1, cp.param4);
    run.Number("$param05", D2, cp.param5);
    run.Number("$param06", D4, cp.param6);
    run.Number("$param07", D4, cp.param7);
    run.Number("$param08", D0, cp.param8);
    run.Number("$param09", D1, cp.param9);
    run.Number("$param10", D0, cp.param10);
    run.Number("$param11", D0, cp.param11);
    run.Number("$param12", D0, cp.param12);
    run.Number("$param13", D0, cp.param13);
    run.Number("$param14", D1, cp.param14);
    run.Number("$param15", D0, cp.param15);
    run.Number("$param16", D2, cp.param16);
}

void TimeResult(TReportRun& run, const TCalcParamsOrvann& cp)
{
    run.Number("$timeresultsec", D1, cp.TimeResult);
    run.Number("$timeresultmin", D1, cp.TimeResult / 60);
}

// An entry of the optimised run's time table, 0 where the table has none.
long double TableEntry(const TCalcParamsOrvann& cp, int row, int column)
{
    if (row < 0 || static_cast<size_t>(row) >= cp.tbl.size())
        return 0;
    const TEArray& r = cp.tbl[static_cast<size_t>(row)];
    return column >= 0 && static_cast<size_t>(column) < r.size() ? r[static_cast<size_t>(column)] : 0;
}

void OptimisedSteps(TReportRun& run, const QString& zoneName, TCalcParamsOrvann& cp, TProgress& progress,
    std::vector<QStringList>& table)
{
    run.Text("$zonename", zoneName);
    run.Text("$flnames", cp.FLNames);
    run.Number("$param01", D1, cp.param1);
    run.Number("$param02", D1, cp.param2);
    run.Number("$param03", D2, cp.param3);
    run.Number("$param04", D1, cp.param4);
    run.Number("$param05", D2, cp.param5);
    run.Number("$param06", D4, cp.param6);
    run.Number("$param07", D4, cp.param7);
    run.Number("$param08", D2, cp.param8);
    run.Number("$param09", D1, cp.param9);
    run.Number("$param10", D2, cp.param10);
    run.Number("$param11", D2, cp.param11);
    run.Number("$param12", D2, cp.param12);
    run.Number("$param13", D2, cp.param13);
    run.Number("$param14", D1, cp.param14);
    run.Number("$param15", D2, cp.param15);
    run.Number("$param16", D2, cp.param16);
    run.Method(cp.method);
    progress.Step(16);

    run.Number("$value01", D2, cp.value1);
    run.Number("$value02", D2, cp.value2);
    run.Number("$value03", D2, cp.value3);
    run.Number("$value04", D2, cp.value4);
    run.Number("$value05", D2, cp.value5);
    run.Number("$value06", D2, cp.value6);
    run.Number("$value07", D2, cp.value7);
    run.Number("$value13", D2, cp.value13);
    progress.Step(10);

    TimeResult(run, cp);
    switch (cp.method) {
    case 1:
        run.DeleteBlocks({ "0", "01", "02", "4", "5", "6", "7" });
        break;
    case 2:
        run.DeleteBlocks({ "3", "8", "5", "6", "7", "01", "02", "03", "04", "05", "06", "07" });
        break;
    case 3:
        run.DeleteBlocks({ "0", "01", "02", "3", "4", "6", "7" });
        break;
    case 4:
        run.DeleteBlocks({ "3", "0", "02", "4", "5", "7" });
        break;
    case 5:
        run.DeleteBlocks({ "0", "01", "3", "4", "5", "6" });
        break;
    default:
        break;
    }
    run.DeleteBlocks({ cp.value2 < 0 ? "1" : "2" });
    EraseDetectionTimeMarkers(run);

    for (int k = 1; k <= cp.tbl_stop; ++k) {
        QStringList cells { QString::number(k) };
        for (int column = 1; column <= 6; ++column)
            cells << RoundToStr(D2, TableEntry(cp, column, k));
        table.push_back(cells);
    }
}

void SimpleSteps(TReportRun& run, const QString& zoneName, TCalcParamsOrvann& cp, TProgress& progress)
{
    SimpleInputs(run, zoneName, cp);
    run.Number("$value13", D2, cp.value13);
    run.Method(cp.method);
    progress.Step(16);

    if (cp.BOSClass == BOSClassA2)
        cp.BOSClassText = QStringLiteral("A2");
    else if (cp.BOSClass == BOSClassA3)
        cp.BOSClassText = QStringLiteral("A3");
    // The labels of value01s … value10s are those of the height tables, whose figures the
    // quick recalculation overwrites with its own: they are taken afresh for the spacing
    // the report prints. value04s0 is the recalculation's own figure.
    const TCalcParamsOrvann tables = HeightTableFigures(cp);
    run.Number("$value01s", D0, tables.value1s);
    run.Number("$value02s", D0, tables.value2s);
    run.Number("$value03s", D0, tables.value3s);
    run.Number("$value04s0", D2, cp.value4s0);
    run.Number("$value04s", D2, tables.value4s);
    run.Number("$value05s", D0, tables.value5s);
    run.Number("$value06s", D0, tables.value6s);
    run.Number("$value07s", D1, tables.value7s);
    run.Number("$value08s", D1, tables.value8s);
    run.Number("$value09s", D1, tables.value9s);
    run.Number("$value10s", D1, tables.value10s);
    run.Text("$BOSClassText", cp.BOSClassText);
    progress.Step(10);

    TimeResult(run, cp);
    switch (cp.method) {
    case 1:
        run.DeleteBlocks({ "0", "01", "02", "4", "5", "6", "7" });
        break;
    case 2:
        run.DeleteBlocks({ "3", "5", "6", "7", "01", "02", "03", "04", "05", "06", "07" });
        break;
    case 3:
        run.DeleteBlocks({ "0", "01", "02", "3", "4", "6", "7" });
        break;
    case 4:
        run.DeleteBlocks({ "3", "0", "02", "4", "5", "7" });
        break;
    case 5:
        run.DeleteBlocks({ "0", "01", "3", "4", "5", "6" });
        break;
    default:
        break;
    }
    const bool upper = cp.param1 >= 9;
    if (cp.BOSClass == BOSClassA2)
        run.DeleteBlocks(upper ? std::initializer_list<const char*> { "1_1", "1_3", "1_4" }
                               : std::initializer_list<const char*> { "1_2", "1_3", "1_4" });
    else if (cp.BOSClass == BOSClassA3)
        run.DeleteBlocks(upper ? std::initializer_list<const char*> { "1_1", "1_2", "1_3" }
                               : std::initializer_list<const char*> { "1_1", "1_2", "1_4" });
    run.DeleteBlocks({ cp.value2 < 0 ? "1" : "2" });
    EraseDetectionTimeMarkers(run);
}

void InitialStageSteps(
    TReportRun& run, const QString& zoneName, const TCalcParamsOrvann& cp, TProgress& progress)
{
    SimpleInputs(run, zoneName, cp);
    progress.Step(16);
    run.Number("$value11", D2, cp.value11);
    run.Number("$value12", D0, cp.value12);
    run.Number("$value13", D2, cp.value13);
    run.Text("$value14", PlainStr(cp.value14));
    run.Text("$value15", PlainStr(cp.value15));
    run.Text("$value16", PlainStr(cp.value16));
    progress.Step(2);
}

void FireLoadSteps(TReportRun& run, const QString& zoneName, const TCalcParamsOrvann& cp, TProgress& progress,
    std::vector<QStringList>& table)
{
    // The formula texts first: the plain placeholders are prefixes of them.
    run.Text("$value13calc", cp.value13calc);
    run.Text("$param07calc", cp.param07calc);
    run.Text("$param08calc", cp.param08calc);
    run.Text("$param06calc", cp.param06calc);
    progress.Step(4);
    run.Text("$zonename", zoneName);
    run.Number("$value13", D2, RoundHalfEven(cp.value13));
    run.Number("$param07", D4, cp.param7);
    run.Text("$param08", QString::number(RoundToInt64(cp.param8)));
    run.Number("$param06", D3, cp.param6);
    progress.Step(5);
    for (const TFireLoad& load : cp.FireLoads)
        table.push_back({ load.Name, RoundToStr(D3, load.P1LowestHeat),
            RoundToStr(D3, load.P2LinearFlameSpeed), RoundToStr(D3, load.P3BurnoutSpeed),
            RoundToStr(D3, load.CCC), RoundToStr(D3, load.PFlammableLoad) });
}

TReportResult Refusal(TReportStatus status, const QString& message, const QString& templ)
{
    return { status, message, templ };
}

} // namespace

QString MethodText(int32_t method)
{
    switch (method) {
    case 1:
        return QStringLiteral("Круговое развитие по ТГМ");
    case 2:
        return QStringLiteral("Прямоугольное развитие по ТГМ в n направлениях");
    case 3:
        return QStringLiteral("Горение жидкости в установившемся режиме");
    case 4:
        return QStringLiteral("Горение жидкости в неустановившемся режиме");
    case 5:
        return QStringLiteral("Вертикальное распространение горения в виде прямоугольника");
    default:
        return QString();
    }
}

QString ReportTemplateFileName(TReportKind kind, const TCalcParamsOrvann& cp)
{
    switch (kind) {
    case TReportKind::Optimised:
        return QStringLiteral("template1.dotx");
    case TReportKind::Simple:
        return QStringLiteral("template2.dotx");
    case TReportKind::InitialStage:
        return cp.param3 > 3000 ? QStringLiteral("template4.dotx") : QStringLiteral("template3.dotx");
    case TReportKind::FireLoad:
        return QStringLiteral("template5.dotx");
    }
    return QString();
}

QStringList ReportTemplateFolders()
{
    QStringList folders;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!user.isEmpty())
        folders << QDir(user).filePath(QStringLiteral("templates"));
    const QString bin = QCoreApplication::applicationDirPath();
    folders << bin;
    folders << QDir::cleanPath(QDir(bin).filePath(QStringLiteral(TESVORN_TEMPLATES_FROM_BIN)));
    return folders;
}

QString FindReportTemplate(const QString& fileName, const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QFileInfo info(QDir(folder).filePath(fileName));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return QString();
}

bool ReportCalculated(TReportKind kind, const TCalcParamsOrvann& cp)
{
    switch (kind) {
    case TReportKind::Optimised:
    case TReportKind::Simple:
        return cp.CalculatedVOP;
    case TReportKind::InitialStage:
        return cp.CalculatedNSP;
    case TReportKind::FireLoad:
        return cp.CalculatedVOP || cp.CalculatedNSP || cp.CalculatedFL;
    }
    return false;
}

QString ReportOfferText(TReportKind kind)
{
    switch (kind) {
    case TReportKind::Optimised:
        return ReportText::OfferOptimised;
    case TReportKind::Simple:
        return ReportText::OfferSimple;
    case TReportKind::InitialStage:
        return ReportText::OfferInitialStage;
    case TReportKind::FireLoad:
        return ReportText::OfferFireLoad;
    }
    return QString();
}

TReportResult MakeReport(TReportKind kind, const QString& zoneName, TCalcParamsOrvann& cp,
    const QString& fileName, const TReportOptions& options)
{
    if ((kind == TReportKind::Optimised || kind == TReportKind::Simple) && !cp.CalculatedVOP)
        return Refusal(TReportStatus::NotCalculated, ReportOfferText(kind), QString());
    if (kind == TReportKind::InitialStage && !cp.CalculatedNSP)
        return Refusal(TReportStatus::NotCalculated, ReportOfferText(kind), QString());

    const QString name = ReportTemplateFileName(kind, cp);
    const QString path = FindReportTemplate(
        name, options.TemplateFolders.isEmpty() ? ReportTemplateFolders() : options.TemplateFolders);
    if (path.isEmpty())
        return Refusal(TReportStatus::TemplateMissing,
            QStringLiteral("Файл шаблона не найден (%1). Невозможно сохранить отчет.").arg(name), name);

    int maximum = 0;
    switch (kind) {
    case TReportKind::Optimised:
    case TReportKind::Simple:
        maximum = cp.tbl_stop + 23;
        break;
    case TReportKind::InitialStage:
        maximum = cp.tbl_stop + 18;
        break;
    case TReportKind::FireLoad:
        maximum = static_cast<int>(cp.FireLoads.size()) + 9;
        break;
    }
    TProgress progress(options.Progress, maximum);

    TReportRun run;
    QString why;
    if (!run.Doc.Open(path, &why))
        return Refusal(TReportStatus::TemplateDamaged,
            QStringLiteral("Шаблон отчета не является читаемым документом Word (%1): %2. "
                           "Невозможно сохранить отчет.")
                .arg(QDir::toNativeSeparators(path), why),
            path);

    // The record changes only when the report is saved.
    TCalcParamsOrvann record = cp;
    std::vector<QStringList> table;
    int templateRow = 0;
    switch (kind) {
    case TReportKind::Optimised:
        OptimisedSteps(run, zoneName, record, progress, table);
        templateRow = 3;
        break;
    case TReportKind::Simple:
        SimpleSteps(run, zoneName, record, progress);
        break;
    case TReportKind::InitialStage:
        InitialStageSteps(run, zoneName, record, progress);
        break;
    case TReportKind::FireLoad:
        FireLoadSteps(run, zoneName, record, progress, table);
        templateRow = 2;
        break;
    }
    if (templateRow > 0
        && !run.Doc.FillTable(
            templateRow, table, [&progress] { progress.Step(1); }, &why))
        return Refusal(TReportStatus::TemplateNoTable,
            QStringLiteral("Шаблон отчета не подходит для этого отчета (%1): %2. "
                           "Невозможно сохранить отчет.")
                .arg(QDir::toNativeSeparators(path), why),
            path);
    progress.Finish();

    if (!run.Doc.Save(fileName, &why))
        return Refusal(TReportStatus::SaveFailed,
            QStringLiteral("Не удалось сохранить отчет в файл %1: %2")
                .arg(QDir::toNativeSeparators(fileName), why),
            path);
    cp = std::move(record);
    return { TReportStatus::Ok, QString(), path };
}

TReportResult ReportSummary(const QString& projectName, const std::vector<TZoneSummaryRow>& rows,
    const QString& fileName, const TReportOptions& options)
{
    const QString name = QStringLiteral("template6.dotx");
    const QString path = FindReportTemplate(
        name, options.TemplateFolders.isEmpty() ? ReportTemplateFolders() : options.TemplateFolders);
    if (path.isEmpty())
        return Refusal(TReportStatus::TemplateMissing,
            QStringLiteral("Файл шаблона не найден (%1). Невозможно сохранить отчет.").arg(name), name);
    TProgress progress(options.Progress, static_cast<int>(rows.size()) + 5);

    TReportRun run;
    QString why;
    if (!run.Doc.Open(path, &why))
        return Refusal(TReportStatus::TemplateDamaged,
            QStringLiteral("Шаблон отчета не является читаемым документом Word (%1): %2. "
                           "Невозможно сохранить отчет.")
                .arg(QDir::toNativeSeparators(path), why),
            path);
    int inTime = 0, late = 0, incomplete = 0, stale = 0;
    std::vector<QStringList> table;
    table.reserve(rows.size());
    for (const TZoneSummaryRow& row : rows) {
        inTime += row.Verdict.Kind == TVerdictKind::InTime;
        late += row.Verdict.Kind == TVerdictKind::Late;
        incomplete += row.Verdict.Kind == TVerdictKind::Incomplete;
        stale += row.Stale;
        table.push_back(SummaryRowTexts(row));
    }
    run.Text("$projectname", projectName);
    run.Text("$zonecount", QString::number(rows.size()));
    run.Text("$intime", QString::number(inTime));
    run.Text("$late", QString::number(late));
    run.Text("$incomplete", QString::number(incomplete));
    run.Text("$stalecount", QString::number(stale));
    progress.Step(5);
    if (!run.Doc.FillTable(
            2, table, [&progress] { progress.Step(1); }, &why))
        return Refusal(TReportStatus::TemplateNoTable,
            QStringLiteral("Шаблон отчета не подходит для этого отчета (%1): %2. "
                           "Невозможно сохранить отчет.")
                .arg(QDir::toNativeSeparators(path), why),
            path);
    progress.Finish();
    if (!run.Doc.Save(fileName, &why))
        return Refusal(TReportStatus::SaveFailed,
            QStringLiteral("Не удалось сохранить отчет в файл %1: %2")
                .arg(QDir::toNativeSeparators(fileName), why),
            path);
    return { TReportStatus::Ok, QString(), path };
}

TReportResult Report(
    const QString& zoneName, TCalcParamsOrvann& cp, const QString& fileName, const TReportOptions& options)
{
    return MakeReport(TReportKind::Optimised, zoneName, cp, fileName, options);
}

TReportResult ReportSimple(
    const QString& zoneName, TCalcParamsOrvann& cp, const QString& fileName, const TReportOptions& options)
{
    return MakeReport(TReportKind::Simple, zoneName, cp, fileName, options);
}

TReportResult ReportInitialStage(
    const QString& zoneName, TCalcParamsOrvann& cp, const QString& fileName, const TReportOptions& options)
{
    return MakeReport(TReportKind::InitialStage, zoneName, cp, fileName, options);
}

TReportResult ReportG(
    const QString& zoneName, TCalcParamsOrvann& cp, const QString& fileName, const TReportOptions& options)
{
    return MakeReport(TReportKind::FireLoad, zoneName, cp, fileName, options);
}
