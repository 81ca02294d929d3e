// The four reports of a zone: detection time with optimisation, detection time by the
// height tables, initial fire stage and combined fire load. Each fills its template from
// the zone's name and calculation record and saves the result as a .docx document; none
// shows anything, so the window, tesvorn-cli and the tests call the same functions.
#pragma once

#include "uCalcRecord.h"
#include "uZoneVerdict.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

enum class TReportKind {
    Optimised, // detection time with optimisation: template1.dotx
    Simple, // detection time by the height tables: template2.dotx
    InitialStage, // initial fire stage: template3.dotx (V ≤ 3000 m³) or template4.dotx
    FireLoad, // combined fire load: template5.dotx
};

enum class TReportStatus {
    Ok,
    NotCalculated, // the record lacks the result the report prints
    TemplateMissing, // the template is in none of the folders looked in
    TemplateDamaged, // the template is not a readable document (damaged ZIP or XML)
    TemplateNoTable, // the template lacks the table (or its template row) the report fills
    SaveFailed, // the document could not be written (read-only folder, disk full, …)
};

struct TReportResult {
    TReportStatus Status = TReportStatus::Ok;
    QString Message; // the text for the user (caption ReportText::Caption); empty on success
    QString Template; // the template's full path, or its file name when it was not found
    bool Ok() const { return Status == TReportStatus::Ok; }
};

// Receives the report's progress: the position (0 … maximum, already clamped to the
// maximum) and the maximum, first (0, maximum), then after each group of steps, last
// (maximum, maximum) just before the document is saved.
using TReportProgress = std::function<void(int position, int maximum)>;

struct TReportOptions {
    // Folders looked in for the template, first found wins; empty: ReportTemplateFolders().
    QStringList TemplateFolders;
    TReportProgress Progress; // may be empty
};

// Texts of the report commands.
namespace ReportText {
inline const QString Caption = QStringLiteral("Создание отчета");
inline const QString NoZone = QStringLiteral("Выберите помещение на планировке");
inline const QString Failed = QStringLiteral("Ошибка при создании отчета");
inline const QString Success = QStringLiteral("Отчет успешно создан и сохранен. Открыть?");
inline const QString OfferOptimised
    = QStringLiteral("Для того что бы сделать отчет нужно произвести расчет. Начать?");
inline const QString OfferSimple
    = QStringLiteral("Для того что бы сделать отчет нужно произвести расчет ВОП. Начать?");
inline const QString OfferInitialStage
    = QStringLiteral("Для того что бы сделать отчет нужно произвести расчет НСП. Начать?");
inline const QString OfferFireLoad
    = QStringLiteral("Для того что бы сделать отчет нужно произвести расчет. Начать?");
inline const QString SummaryMenu = QStringLiteral("Сводный отчет по проекту");
inline const QString SaveDialogTitle = QStringLiteral("Сохранение отчета");
inline const QString SaveDialogFilter = QStringLiteral("Документ Word (*.docx)");
inline const QString DefaultSuffix = QStringLiteral("docx");
}

// The text that replaces "$method" for the record's method 1 … 5; empty for any other
// value (the placeholder then stays in the document).
QString MethodText(int32_t method);

// The template file a report uses for this record: template1.dotx … template5.dotx.
QString ReportTemplateFileName(TReportKind kind, const TCalcParamsOrvann& cp);

// Where templates are looked up, first found wins: "templates" in the user's data folder
// (QStandardPaths::AppDataLocation, so a user can adapt a template without write access
// to the program's folder), the folder of the executable, the installed data folder
// (share/tesvorn/templates beside the installed executable's bin folder).
QStringList ReportTemplateFolders();

// The full path of `fileName` in the first of `folders` that holds it; empty when none does.
QString FindReportTemplate(const QString& fileName, const QStringList& folders);

// The report command's test of the record: CalculatedVOP for both detection-time reports,
// CalculatedNSP for the initial stage, any of CalculatedVOP, CalculatedNSP and
// CalculatedFL for the fire load.
bool ReportCalculated(TReportKind kind, const TCalcParamsOrvann& cp);

// The offer the report command makes when ReportCalculated is false.
QString ReportOfferText(TReportKind kind);

// Writes the report `kind` of the zone `zoneName` with the record `cp` to `fileName`
// (a .docx document, replaced atomically).
// The detection-time reports refuse with NotCalculated unless CalculatedVOP is set, the
// initial-stage report unless CalculatedNSP is set; the fire-load report tests no flag
// (the command does, with ReportCalculated). Failures come back as status and message
// naming the file concerned: nothing is written, `cp` is unchanged.
// The height-tables report (Simple) prints value1s … value10s as HeightTableFigures
// (uHeightTables.h) gives them for the record's inputs and its present spacing param2,
// not as the record holds them: the quick recalculation overwrites them with figures of
// another model whenever sensors move or the zone is selected again.
// On success the detection-time report by the height tables (Simple) sets
// cp.BOSClassText from cp.BOSClass ("A2" for 1, "A3" for 2, unchanged otherwise); the
// caller keeps that change without marking the project modified.
TReportResult MakeReport(TReportKind kind, const QString& zoneName, TCalcParamsOrvann& cp,
    const QString& fileName, const TReportOptions& options = {});

// The four reports by their names in the main window.
TReportResult Report(const QString& zoneName, TCalcParamsOrvann& cp, const QString& fileName,
    const TReportOptions& options = {});
TReportResult ReportSimple(const QString& zoneName, TCalcParamsOrvann& cp, const QString& fileName,
    const TReportOptions& options = {});
TReportResult ReportInitialStage(const QString& zoneName, TCalcParamsOrvann& cp, const QString& fileName,
    const TReportOptions& options = {});
TReportResult ReportG(const QString& zoneName, TCalcParamsOrvann& cp, const QString& fileName,
    const TReportOptions& options = {});

// The project's summary report from template6.dotx: "$projectname" (also in the page
// header), the counts "$zonecount", "$intime", "$late", "$incomplete" and "$stalecount",
// and one row of the first table per entry of `rows`, in order, with the cells of
// SummaryRowTexts. A project without zones gives the table's head alone. Failures as
// MakeReport (TemplateMissing, TemplateDamaged, TemplateNoTable, SaveFailed); progress
// runs to rows + 5.
TReportResult ReportSummary(const QString& projectName, const std::vector<TZoneSummaryRow>& rows,
    const QString& fileName, const TReportOptions& options = {});
