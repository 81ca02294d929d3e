// The report commands of the main window.
#include "uReportCommands.h"

#include "uFireClasses.h"
#include "uMain.h"
#include "uPrompts.h"
#include "uReportGeneration.h"
#include "uUndoCommands.h"
#include "uZoneResults.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <memory>

namespace {

// The save dialog's filter in the prompts service's form; the dialog shows it as
// ReportText::SaveDialogFilter.
const QString KReportFilter = QStringLiteral("Документ Word|*.docx");

// The busy cursor for as long as a report is being written, restored however it ends.
class TBusyCursor {
public:
    void Set()
    {
        if (!FSet)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        FSet = true;
    }
    ~TBusyCursor()
    {
        if (FSet)
            QApplication::restoreOverrideCursor();
    }

private:
    bool FSet = false;
};

} // namespace

TReportCommands::TReportCommands(TfrmMain* main)
    : QObject(main)
    , M(main)
{
    connect(M->N3, &QAction::triggered, this, &TReportCommands::N3Click);
    connect(M->pmiReportSimple, &QAction::triggered, this, &TReportCommands::pmiReportSimpleClick);
    connect(M->pmiReportNSP, &QAction::triggered, this, &TReportCommands::pmiReportNSPClick);
    connect(M->pmiReportG, &QAction::triggered, this, &TReportCommands::pmiReportGClick);
    connect(M->btnReportVOP, &QPushButton::clicked, this, &TReportCommands::pmiReportSimpleClick);
    connect(M->btnReportNSP, &QPushButton::clicked, this, &TReportCommands::pmiReportNSPClick);
    connect(M->btnReportG, &QPushButton::clicked, this, &TReportCommands::pmiReportGClick);

    M->pmiReportSummary = M->pmReports->addAction(ReportText::SummaryMenu);
    M->pmiReportSummary->setObjectName(QStringLiteral("pmiReportSummary"));
    connect(M->pmiReportSummary, &QAction::triggered, this, &TReportCommands::pmiReportSummaryClick);
}

void TReportCommands::N3Click() { ReportCommand(TReportKind::Optimised); }

void TReportCommands::pmiReportSimpleClick() { ReportCommand(TReportKind::Simple); }

void TReportCommands::pmiReportNSPClick() { ReportCommand(TReportKind::InitialStage); }

void TReportCommands::pmiReportGClick() { ReportCommand(TReportKind::FireLoad); }

void TReportCommands::pmiReportSummaryClick()
{
    RunGuarded(M, [this] {
        if (!M->FP)
            return;
        QString name = M->FP->Name;
        if (name.isEmpty() && !M->CurrentProjectFile.isEmpty())
            name = QFileInfo(M->CurrentProjectFile).completeBaseName();
        const std::vector<TZoneSummaryRow> rows = ProjectSummary(*M->FP);
        ReportSaveFileName.clear();
        SaveReport([&](const QString& fileName) {
            return MakeWithProgress(
                [&](const TReportOptions& options) { return ReportSummary(name, rows, fileName, options); });
        });
    });
}

TRoom* TReportCommands::LiveCurrentRoom() const
{
    if (!M->FP || !M->CurrentRoom)
        return nullptr;
    for (const auto& room : M->FP->Rooms)
        if (room.get() == M->CurrentRoom)
            return room.get();
    return nullptr;
}

void TReportCommands::StartCalculation(TReportKind kind)
{
    switch (kind) {
    case TReportKind::Optimised:
        M->pmiCalcClick();
        break;
    case TReportKind::Simple:
        M->pmiCalcSimpleClick();
        break;
    case TReportKind::InitialStage:
    case TReportKind::FireLoad:
        M->pmiCalcInitialStageClick();
        break;
    }
}

void TReportCommands::ReportCommand(TReportKind kind)
{
    RunGuarded(M, [this, kind] {
        if (!M->FP)
            return;
        TRoom* room = LiveCurrentRoom();
        if (!room) {
            Prompts().Warning(M, ReportText::NoZone, ReportText::Caption);
            return;
        }
        if (!ReportCalculated(kind, room->CP)) {
            if (Prompts().Question(M, ReportOfferText(kind), ReportText::Caption, TPromptIcon::Information,
                    TPromptButtons::YesNo)
                == TPromptAnswer::Yes)
                StartCalculation(kind);
            return;
        }

        // A result the zone has outgrown is still the designer's to print, but not unasked.
        const bool stale = kind == TReportKind::FireLoad
            ? ZoneResultsStale(*room)
            : ZoneRunStale(*room, kind == TReportKind::InitialStage ? TRunKind::NSP : TRunKind::VOP);
        if (stale
            && Prompts().Question(M, ZoneVerdictText::StaleReportQuestion, ReportText::Caption,
                   TPromptIcon::Warning, TPromptButtons::YesNo)
                != TPromptAnswer::Yes)
            return;

        if (kind != TReportKind::Optimised)
            ReportSaveFileName.clear();
        SaveReport([&](const QString& fileName) { return MakeRoomReport(kind, *room, fileName); });
        // What the report wrote into the record is no edit to undo.
        if (M->UndoCommands)
            M->UndoCommands->Absorb();
    });
}

void TReportCommands::SaveReport(const std::function<TReportResult(const QString& fileName)>& make)
{
    TSaveFileOptions options;
    options.Title = ReportText::SaveDialogTitle;
    options.FileName = ReportSaveFileName;
    options.Filter = KReportFilter;
    options.DefaultSuffix = ReportText::DefaultSuffix;
    options.ConfirmOverwrite = true;
    const QString fileName = Prompts().SaveFileName(M, options);
    if (fileName.isEmpty())
        return;
    ReportSaveFileName = fileName;

    const TReportResult result = make(fileName);
    if (!result.Ok()) {
        Prompts().Error(
            M, result.Message.isEmpty() ? ReportText::Failed : result.Message, ReportText::Caption);
        return;
    }
    if (Prompts().Question(
            M, ReportText::Success, ReportText::Caption, TPromptIcon::Information, TPromptButtons::YesNo)
        != TPromptAnswer::Yes)
        return;
    // Said when nothing starts, so that the user is not left waiting for a document
    // that will never open, and knows where the saved one is.
    if (!Prompts().OpenUrl(QUrl::fromLocalFile(fileName)))
        Prompts().Warning(M,
            QStringLiteral("Не удалось открыть отчет %1: не найдена программа для документов Word.")
                .arg(QDir::toNativeSeparators(fileName)),
            ReportText::Caption);
}

TReportResult TReportCommands::MakeRoomReport(TReportKind kind, TRoom& room, const QString& fileName)
{
    // The record is written directly: a report is no change of the project.
    return MakeWithProgress([&](const TReportOptions& options) {
        return MakeReport(kind, room.Name(), room.CP, fileName, options);
    });
}

TReportResult TReportCommands::MakeWithProgress(
    const std::function<TReportResult(const TReportOptions&)>& make)
{
    std::unique_ptr<TfrmReportGeneration> progress;
    TBusyCursor cursor;
    TReportOptions options;
    options.TemplateFolders = TemplateFolders;
    // The first call comes once the template has been found: a missing template shows no
    // progress window.
    options.Progress = [&](int position, int maximum) {
        const bool first = !progress;
        if (first)
            progress = std::make_unique<TfrmReportGeneration>(M);
        progress->pb->setRange(0, maximum);
        progress->pb->setValue(position);
        if (first) {
            progress->CentreOn(M);
            progress->show();
            cursor.Set();
        }
        // Lets the window paint between the steps; the user's input waits for the report.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    return make(options);
}
