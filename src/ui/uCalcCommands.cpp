// The calculation runs as commands of the main window, and the window's calculation
// commands themselves (TfrmMain::CalcVOP …), which only hand over to them.
#include "uCalcCommands.h"

#include "FloatSpinEdit.h"
#include "uCalc.h"
#include "uDebug.h"
#include "uFireClasses.h"
#include "uMain.h"
#include "uPrompts.h"
#include "uResultsCommands.h"
#include "uUndoCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QToolBar>
#include <memory>

TCalcCommands::TCalcCommands(TfrmMain* main)
    : QObject(main)
    , M(main)
{
    connect(M->btnZoneCalcVOP, &QPushButton::clicked, this, [this] { CalcVOP(); });
    connect(M->btnZoneCalcNSP, &QPushButton::clicked, this, [this] { CalcInitialStage(); });
    connect(M->btnCalcFL, &QPushButton::clicked, this, [this] { CalcFL(); });
    connect(M->N5, &QAction::triggered, M, &TfrmMain::N5Click);
    connect(M->pmiCalc, &QAction::triggered, M, &TfrmMain::pmiCalcClick);
    connect(M->pmiCalcSimple, &QAction::triggered, M, &TfrmMain::pmiCalcSimpleClick);
    connect(M->pmiCalcInitialStage, &QAction::triggered, M, &TfrmMain::pmiCalcInitialStageClick);

    // The spacing-mode tool bar is hidden at start; without a way to show it the manual
    // spacing could never be chosen. The entry stands with the other view options, before
    // the hidden tool-bar submenu.
    M->miShowLControl = new QAction(QStringLiteral("Панель расчетного расстояния"), M->miViewMenu);
    M->miShowLControl->setObjectName(QStringLiteral("miShowLControl"));
    M->miShowLControl->setCheckable(true);
    M->miShowLControl->setChecked(false);
    M->miViewMenu->insertAction(M->miToolBarsItem, M->miShowLControl);
    connect(M->miShowLControl, &QAction::toggled, M->tbLControl, &QWidget::setVisible);

    ShowIndicators();
}

TRoom* TCalcCommands::LiveCurrentRoom() const
{
    TRoom* room = M->CurrentRoom;
    if (!room || !M->FP)
        return nullptr;
    for (const auto& r : M->FP->Rooms)
        if (r.get() == room)
            return room;
    return nullptr;
}

bool TCalcCommands::CalcVOP() { return Run(TCalcRun::Standard); }

bool TCalcCommands::Calc() { return Run(TCalcRun::Optimised); }

bool TCalcCommands::CalcInitialStage() { return Run(TCalcRun::InitialStage); }

bool TCalcCommands::CalcFL() { return Run(TCalcRun::FireLoad); }

bool TCalcCommands::Run(TCalcRun run)
{
    bool done = false;
    // An accepted run is one edit: the zone's record, runs and sensors before and after.
    TUndoEdit edit(M, [run] {
        switch (run) {
        case TCalcRun::Optimised:
            return UndoText::RunOptimised;
        case TCalcRun::Standard:
            return UndoText::RunVOP;
        case TCalcRun::InitialStage:
            return UndoText::RunNSP;
        case TCalcRun::FireLoad:
            break;
        }
        return UndoText::RunFL;
    }());
    RunGuarded(M, [&] {
        TRoom* room = LiveCurrentRoom();
        if (auto refusal = CalcRunStartRefusal(M->FP.get(), room)) {
            Perform(refusal->Steps, *refusal);
            return;
        }
        TFireProject& project = *M->FP;

        const TCalcDialogSetup setup = CalcDialogSetup(run, *room);
        if (setup.ClearDebugLog)
            frmDebug()->Clear();
        auto dialog = std::make_unique<TfrmCalc>(M->sldb.get(), M);
        // The zone's own list is handed over only when the set-up says so; the dialog then
        // edits it in place, also when it is cancelled.
        dialog->ApplySetup(setup, &room->CP.FireLoads);
        if (dialog->exec() != QDialog::Accepted) {
            // A cancelled run is no run; but the dialog edits the zone's own list of fire
            // loads, also when cancelled, and that change is the user's to undo.
            edit.Rename(UndoText::FireLoads);
            dialog.reset();
            Perform(CalcRunCancelledSteps(run), TCalcRunResult {});
            return;
        }
        const TCalcDialogValues values = dialog->Values();
        dialog.reset();

        const TCalcRunResult result = RunCalc(run, project, *room, values, Indicators, M->SensorNumber);
        Indicators = result.Indicators;
        M->SensorNumber = result.SensorNumber;
        if (result.SensorsReplaced) {
            // The zone's sensors were destroyed: nothing may keep pointing at one, and the
            // sensor panel must not go on offering to edit it.
            M->CurrentSensor = nullptr;
            if (M->pnlSensorParams->isVisible())
                M->ShowPanel(nullptr);
        }
        Perform(result.Steps, result);
        done = result.Status == TCalcRunStatus::Done;
        // Every accepted run can change the zone's verdict, which the plan may show as a
        // tint; runs that lay no grid do not repaint of their own.
        if (done && !result.Has(TCalcRunStep::Repaint))
            M->Repaint();
        if (done)
            ScrollResultIntoView();
    });
    return done;
}

void TCalcCommands::ScrollResultIntoView()
{
    auto* panel = qobject_cast<QScrollArea*>(M->pnlProperties);
    if (!panel || !M->pnlCalcResult->isVisible())
        return;
    // The wrapped result labels take their height only once the pending layout requests
    // of the panel have run; scrolling before that would aim at the old place.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    panel->ensureWidgetVisible(M->pnlCalcResult, 0, 0);
}

void TCalcCommands::Perform(const std::vector<TCalcRunStep>& steps, const TCalcRunResult& result)
{
    for (const TCalcRunStep step : steps) {
        switch (step) {
        case TCalcRunStep::ClearDebugLog:
            frmDebug()->Clear();
            break;
        case TCalcRunStep::AddDebugLines:
            for (const QString& line : result.DebugLines)
                frmDebug()->AddLine(line);
            break;
        case TCalcRunStep::ShowDebugWindow:
            frmDebug()->show();
            frmDebug()->raise();
            break;
        case TCalcRunStep::SetIndicators:
            ShowIndicators();
            break;
        case TCalcRunStep::StatusBar:
            M->sbText(result.StatusBarText, 0);
            break;
        case TCalcRunStep::SetManualL:
            M->seManualL->SetValue(static_cast<double>(result.ManualL));
            break;
        case TCalcRunStep::MessageBox:
            Prompts().Message(M, result.Message, result.Caption,
                result.Icon == TMessageIcon::Warning ? TPromptIcon::Warning : TPromptIcon::Information);
            break;
        case TCalcRunStep::Repaint:
            M->Repaint();
            break;
        case TCalcRunStep::ShowCalcResult:
            ShowCalcResult();
            break;
        }
    }
}

// --- result panel and indicators --------------------------------------------------------

QColor TCalcCommands::IndicatorColour(TIndicatorState state)
{
    switch (state) {
    case TIndicatorState::Green:
        return QColor(0, 128, 0);
    case TIndicatorState::Yellow:
        return QColor(255, 255, 0);
    case TIndicatorState::None:
        break;
    }
    return QColor();
}

QColor TCalcCommands::HeaderColour(bool green) { return green ? QColor(0, 128, 0) : QColor(Qt::black); }

void TCalcCommands::SetIndicator(QFrame* panel, TIndicatorState state)
{
    const QColor colour = IndicatorColour(state);
    if (!colour.isValid()) {
        // An empty palette resolves every role from the parent again: the default colour.
        panel->setPalette(QPalette());
        return;
    }
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
}

void TCalcCommands::ShowIndicators()
{
    SetIndicator(M->pnlIndicatorVOP, Indicators.VOP);
    SetIndicator(M->pnlIndicatorNSP, Indicators.NSP);
    SetIndicator(M->pnlIndicatorFL, Indicators.FL);
}

void TCalcCommands::ShowCalcResult()
{
    TRoom* room = LiveCurrentRoom();
    const TCalcResultPanel panel = CalcResultPanel(room);
    M->pnlCalcResult->setVisible(panel.Visible);
    if (M->ResultsCommands)
        M->ResultsCommands->ShowResultLines(room);
    if (!panel.Visible)
        return;
    const auto header = [](QLabel* label, const QString& text, bool green) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, HeaderColour(green));
        label->setPalette(palette);
        label->setText(text);
    };
    header(M->lblRes1Header, panel.lblRes1Header, panel.Res1HeaderGreen);
    M->lblRes1->setText(panel.lblRes1);
    header(M->lblRes2Header, panel.lblRes2Header, panel.Res2HeaderGreen);
    M->lblRes2->setText(panel.lblRes2);
    // A result not calculated has no value line: it would only take a blank line of the
    // narrow panel.
    M->lblRes1->setVisible(!panel.lblRes1.isEmpty());
    M->lblRes2->setVisible(!panel.lblRes2.isEmpty());
}

// --- the window's calculation commands ------------------------------------------------------
// Defined here rather than in uMain.cpp, so that the window's own unit stays its layout and
// project commands; the report commands call these when the user agrees to calculate first.

bool TfrmMain::CalcVOP() { return CalcCommands && CalcCommands->CalcVOP(); }

bool TfrmMain::Calc() { return CalcCommands && CalcCommands->Calc(); }

bool TfrmMain::CalcInitialStage() { return CalcCommands && CalcCommands->CalcInitialStage(); }

bool TfrmMain::CalcFL() { return CalcCommands && CalcCommands->CalcFL(); }

void TfrmMain::ShowCalcResult()
{
    if (CalcCommands)
        CalcCommands->ShowCalcResult();
}

void TfrmMain::N5Click() { CalcFL(); }

void TfrmMain::pmiCalcClick() { Calc(); }

void TfrmMain::pmiCalcSimpleClick() { CalcVOP(); }

void TfrmMain::pmiCalcInitialStageClick() { CalcInitialStage(); }
