// TResultsCommands: what the main window shows of the zones' results beyond the result
// panel's two lines, and the results file beside the project. It keeps the results file in
// step with Save, Save As and Open, adds the stale line and the verdict line to the result
// panel, the "Вид" items "Итоги по зонам" (the verdict tint of the plan) and "Сводка по
// зонам", and the dock of that name: a sortable table of every zone whose rows select
// their zone on the plan. The non-widget work is below the window (uProjectResults.h,
// uZoneResults.h).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class TfrmMain;
class TRoom;

// Created by the main window, which owns it (QObject parent), after its other command
// units; the controls it makes are public members of the window (miShowZoneVerdicts,
// miShowSummary, dockSummary, tblSummary, lblResVerdict, lblResStale). Every message goes
// through the prompts service.
class TResultsCommands : public QObject {
    Q_OBJECT
public:
    explicit TResultsCommands(TfrmMain* main);

    // The caption of the boxes about the results file.
    static QString Caption();

    // Called once the project file `fileName` was written (Save and Save As alike): writes
    // the results file beside it. When that fails the project stays saved and one warning
    // box says why; zones that could not be written are named in the status bar.
    void ProjectSaved(const QString& fileName);

    // Called once the project file `fileName` was opened: reads the results file beside
    // it into the project. A file that cannot be used (unreadable, damaged, cut short,
    // foreign, another version) gives one warning box and no result at all; results left
    // out because their zones changed are counted in the status bar. Without a results
    // file nothing is said. The plan, the panel and the summary are refreshed.
    void ProjectOpened(const QString& fileName);

    // Called whenever the window has redrawn the plan, which it does after every change it
    // makes to the project (runs, edits, open, close): rewrites the result panel and, when
    // the dock shows, the summary table.
    void PlanChanged();

    // The result panel's stale line and verdict line for `room` (nullptr: no current zone,
    // both hidden): the verdict in green, red or the panel's colour, the stale line in red
    // and hidden when the results still fit the zone.
    void ShowResultLines(const TRoom* room);

    // Fills the summary table from the open project (empty without one), keeping the
    // user's sort column and selecting the current zone's row. Does nothing when the
    // table would not change.
    void RefreshSummary();

    // A click on a summary row: its zone becomes the current zone as a click on the plan
    // makes it (TPlanEditor::SelectRoom).
    void SummaryRowClicked(int row);

private:
    TfrmMain* M;
    // The texts and zone IDs the table shows, in zone order; to skip refreshes that would
    // change nothing (a drag repaints the plan at every step).
    std::vector<QStringList> FShownTexts;
    std::vector<int32_t> FShownIDs;
    bool FSummaryFilled = false;

    void BuildSummaryDock();
    void SelectCurrentRow();
};
