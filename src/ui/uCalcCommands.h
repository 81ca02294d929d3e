// TCalcCommands: the calculation runs as commands of the main window. A run shows the
// calculation dialog set up for the current zone, hands the accepted values to the run
// below the window (uCalcRuns.h) and performs what the run answers: the status bar, the
// manual spacing field, the message box, the result indicators, the debug window, the
// repaint of the plan and the result panel. The unit also wires the commands' controls —
// the zone panel's calculation buttons, the calculation drop-down menu pmCalc — and the
// "Вид" entry that shows the spacing-mode tool bar.
#pragma once

#include "uCalcRuns.h"

#include <QColor>
#include <QObject>
#include <vector>

class QFrame;
class TfrmMain;
class TRoom;

// Created by the main window, which owns it (QObject parent); works on the window's shell
// state: FP, CurrentRoom, CurrentSensor, SensorNumber, sldb. Every message goes through the
// prompts service; the dialog is modal, the debug window is not.
class TCalcCommands : public QObject {
    Q_OBJECT
public:
    explicit TCalcCommands(TfrmMain* main);

    // The three result indicators: they belong to the window, not to a zone, and start in
    // the panel's default colour.
    TCalcIndicators Indicators;

    // The runs (standard, with optimisation, initial stage, fire load). Each does nothing
    // without a project; without a current zone or without a plan scale it shows why in a
    // warning box. Answers true when the run was made and the zone's record holds its
    // result; false when it was refused or the dialog was cancelled.
    bool CalcVOP();
    bool Calc();
    bool CalcInitialStage();
    bool CalcFL();
    bool Run(TCalcRun run);

    // Rewrites the result panel pnlCalcResult from the current zone; hides it when there
    // is none.
    void ShowCalcResult();
    // Colours pnlIndicatorVOP, pnlIndicatorNSP and pnlIndicatorFL after Indicators.
    void ShowIndicators();

    // The colours of the indicators; None is the panel's default colour (an invalid
    // QColor here).
    static QColor IndicatorColour(TIndicatorState state);
    // The colour of a header of the result panel.
    static QColor HeaderColour(bool green);

private:
    TfrmMain* M;

    // The current zone when it still belongs to the open project, otherwise nullptr.
    TRoom* LiveCurrentRoom() const;
    void Perform(const std::vector<TCalcRunStep>& steps, const TCalcRunResult& result);
    void SetIndicator(QFrame* panel, TIndicatorState state);
    // After a run: scrolls the property panel (when it is too low for the window) so that
    // the result panel shows.
    void ScrollResultIntoView();
};
