// TReportCommands: the report commands of the main window — the reports menu pmReports of
// btnReport and the zone panel's report buttons. Each makes one report of the current
// zone: it checks the zone and the result the report prints (offering the calculation
// that makes it, asking before it uses a result the zone has outgrown), asks for the file
// name, writes the document while the progress window shows how far it has got, and
// offers to open the saved document. The project's summary report, the menu's last entry,
// goes the same way from the file name on.
#pragma once

#include "uReports.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class TfrmMain;
class TRoom;

// Created by the main window, which owns it (QObject parent) and whose shell state it
// reads (FP, CurrentRoom). Every message, question, file dialog and shell "Open" goes
// through the prompts service (uPrompts.h); the documents are made by the reports layer
// (uReports.h), which shows nothing.
class TReportCommands : public QObject {
    Q_OBJECT
public:
    explicit TReportCommands(TfrmMain* main);

    // Folders the templates are looked up in, first found wins; empty (the default): the
    // program's lookup, ReportTemplateFolders().
    QStringList TemplateFolders;

    // The file name of ReportSaveDialog: what the user chose last. Every command but the
    // optimised report's clears it before the dialog; that one offers it again.
    QString ReportSaveFileName;

    // The report command of `kind` for the current zone:
    //  1. no project open: nothing;
    //  2. no current zone: the warning "Выберите помещение на планировке";
    //  3. the zone lacks the result the report needs (ReportCalculated): the offer to
    //     calculate, Yes/No; Yes starts the calculation command of the report (the
    //     optimised run for the optimised report, the standard run for the detection-time
    //     report, the initial-stage run for the two others) and the report is not made;
    //  3a. the zone changed after the run whose result the report prints (ZoneRunStale:
    //     the detection-time run for both detection-time reports, the initial-stage run
    //     for its report, any run for the fire-load report): the question
    //     ZoneVerdictText::StaleReportQuestion, Yes/No; No makes no report;
    //  4. ReportSaveDialog: "Сохранение отчета", Word documents (.docx appended to a name
    //     without extension), overwriting confirmed; cancelled: nothing more;
    //  5. the report written by MakeRoomReport;
    //  6. failure (template missing or damaged, template without its table, save failed):
    //     one error box with the report's message, which names the file concerned; no file
    //     is written and the zone's record is unchanged;
    //  7. success: the question "Отчет успешно создан и сохранен. Открыть?"; Yes opens the
    //     saved file with the desktop's default program (a warning when none starts).
    // Every message has the caption "Создание отчета".
    void ReportCommand(TReportKind kind);

    // The event handlers of the menu entries and buttons.
    void N3Click(); // "Создать отчет по ВОП с оптимизацией" (hidden)
    void pmiReportSimpleClick(); // "Создать отчет по ВОП"; also btnReportVOP
    void pmiReportNSPClick(); // "Создать отчет по НСП"; also btnReportNSP
    void pmiReportGClick(); // "Создать отчет по горючей нагрузке"; also btnReportG

    // "Сводный отчет по проекту": the project's summary report (ReportSummary) of every
    // zone's summary row, named after the project (the file's base name when the project
    // has no name). Nothing without a project; otherwise steps 4 to 7 of ReportCommand.
    void pmiReportSummaryClick();

    // Writes report `kind` of `room` to `fileName` (MakeReport with TemplateFolders) while
    // the progress window is shown and the cursor is busy. The window appears once the
    // template has been found, centred on the main window, its bar following the report's
    // progress; it is destroyed before this returns. The record changes only as MakeReport
    // says (BOSClassText of the detection-time report); the project is not marked modified.
    TReportResult MakeRoomReport(TReportKind kind, TRoom& room, const QString& fileName);

    // Writes a report through `make`, which receives the options to pass to the reports
    // layer (TemplateFolders and the progress), while the progress window is shown and
    // the cursor is busy, as MakeRoomReport describes.
    TReportResult MakeWithProgress(const std::function<TReportResult(const TReportOptions&)>& make);

private:
    TfrmMain* M;

    // The current zone when it still belongs to the open project; otherwise null.
    TRoom* LiveCurrentRoom() const;
    // Starts the calculation command that makes the result report `kind` needs.
    void StartCalculation(TReportKind kind);
    // Steps 4 to 7 of ReportCommand: the save dialog offering ReportSaveFileName, the
    // report written by `make` into the chosen file, the failure box or the success
    // question and the opening of the document.
    void SaveReport(const std::function<TReportResult(const QString& fileName)>& make);
};
