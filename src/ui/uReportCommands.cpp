// The report commands of the main window.
#include "uReportCommands.h"

#include "uFireClasses.h"
#include "uMain.h"
#include "uPrompts.h"
#include "uReportGeneration.h"

#include <QAction>
#include <QApplication>
#include <QDir>
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
}

void TReportCommands::N3Click() { ReportCommand(TReportKind::Optimised); }

void TReportCommands::pmiReportSimpleClick() { ReportCommand(TReportKind::Simple); }

void TReportCommands::pmiReportNSPClick() { ReportCommand(TReportKind::InitialStage); }

void TReportCommands::pmiReportGClick() { ReportCommand(TReportKind::FireLoad); }

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

        if (kind != TReportKind::Optimised)
            ReportSaveFileName.clear();
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

        const TReportResult result = MakeRoomReport(kind, *room, fileName);
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
    });
}

TReportResult TReportCommands::MakeRoomReport(TReportKind kind, TRoom& room, const QString& fileName)
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
    // The record is written directly: a report is no change of the project.
    return MakeReport(kind, room.Name(), room.CP, fileName, options);
}
