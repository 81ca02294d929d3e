// The zones' results in the main window: the results file with Save and Open, the result
// panel's stale and verdict lines, the verdict tint switch and the summary dock.
#include "uResultsCommands.h"

#include "uFireClasses.h"
#include "uMain.h"
#include "uProjectResults.h"
#include "uPrompts.h"
#include "uZoneResults.h"

#if !defined(TESVORN_NO_PLAN_EDITOR)
#include "uPlanEditor.h"
#endif

#include <QAction>
#include <QDockWidget>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <optional>

namespace {

// The zone ID of a summary row, kept on its first cell: rows move when the table is sorted.
constexpr int KZoneIDRole = Qt::UserRole + 1;

// The columns of SummaryColumnHeads, in order.
enum TSummaryColumn : int {
    colName,
    colHeight,
    colArea,
    colVolume,
    colSensors,
    colL,
    colVOP,
    colNSP,
    colValue13,
    colVerdict,
    colStale,
};

// The number a cell sorts by: the value behind its text (the text is rounded and has the
// locale's comma), the margin for the verdict; nothing for an unknown value and for the
// text columns.
std::optional<long double> SortKey(const TZoneSummaryRow& row, int column)
{
    switch (column) {
    case colHeight:
        return row.Height;
    case colArea:
        return row.Area;
    case colVolume:
        return row.Volume;
    case colSensors:
        return row.Sensors;
    case colL:
        return row.L;
    case colVOP:
        return row.VOP;
    case colNSP:
        return row.NSP;
    case colValue13:
        return row.value13;
    case colVerdict:
        if (row.Verdict.Margin)
            return static_cast<long double>(*row.Verdict.Margin);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

bool NumericColumn(int column) { return column != colName && column != colStale; }

// A cell of the summary table. Numeric columns sort by value ("9,5" before "10"), an
// unknown value below every known one, so the zones still lacking a run gather at one
// end; the verdict sorts by its margin, late zones first in ascending order. Text columns
// sort by text in the user's locale. Equal keys keep the zone order (the sort is stable).
class TSummaryItem : public QTableWidgetItem {
public:
    TSummaryItem(const QString& text, bool numeric, std::optional<long double> key)
        : QTableWidgetItem(text)
        , FNumeric(numeric)
        , FKey(key)
    {
    }

    bool operator<(const QTableWidgetItem& other) const override
    {
        const auto* o = dynamic_cast<const TSummaryItem*>(&other);
        if (!FNumeric || !o || !o->FNumeric)
            return QString::localeAwareCompare(text(), other.text()) < 0;
        if (!FKey || !o->FKey)
            return !FKey && o->FKey;
        return *FKey < *o->FKey;
    }

private:
    bool FNumeric;
    std::optional<long double> FKey;
};

void SetTextColour(QLabel* label, const std::optional<QColor>& colour)
{
    if (!colour) {
        // An empty palette resolves every role from the parent again: the panel's colour.
        label->setPalette(QPalette());
        return;
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, *colour);
    label->setPalette(palette);
}

// Each column as wide as its cells or its head's widest line with room for the sort arrow.
// The header's own fit adds the head's whole height for the arrow, which makes a two-line
// head of a one-digit column far too wide.
void FitColumns(QTableWidget* table)
{
    const QFontMetrics heads(table->horizontalHeader()->font());
    const QFontMetrics cells(table->font());
    for (int c = 0; c < table->columnCount(); ++c) {
        int head = 0;
        if (const QTableWidgetItem* item = table->horizontalHeaderItem(c))
            for (const QString& line : item->text().split(QLatin1Char('\n')))
                head = std::max(head, heads.horizontalAdvance(line));
        int cell = 0;
        for (int r = 0; r < table->rowCount(); ++r)
            if (const QTableWidgetItem* item = table->item(r, c))
                cell = std::max(cell, cells.horizontalAdvance(item->text()));
        table->setColumnWidth(c, std::max(cell + 12, head + 26));
    }
}

QLabel* MakeResultLabel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setVisible(false);
    parent->layout()->addWidget(label);
    return label;
}

} // namespace

TResultsCommands::TResultsCommands(TfrmMain* main)
    : QObject(main)
    , M(main)
{
    // Under the result panel's two lines: the verdict, then the warning that the results
    // no longer fit the zone.
    M->lblResVerdict = MakeResultLabel(M->pnlCalcResult, "lblResVerdict");
    M->lblResStale = MakeResultLabel(M->pnlCalcResult, "lblResStale");
    SetTextColour(M->lblResStale, VerdictTextColour(TVerdictColour::Red));

    // The view items stand with the other view options, before the hidden tool-bar submenu.
    M->miShowZoneVerdicts = new QAction(QStringLiteral("Итоги по зонам"), M->miViewMenu);
    M->miShowZoneVerdicts->setObjectName(QStringLiteral("miShowZoneVerdicts"));
    M->miShowZoneVerdicts->setCheckable(true);
    M->miShowZoneVerdicts->setChecked(false);
    M->miViewMenu->insertAction(M->miToolBarsItem, M->miShowZoneVerdicts);
    connect(M->miShowZoneVerdicts, &QAction::toggled, M, &TfrmMain::Repaint);

    BuildSummaryDock();
}

QString TResultsCommands::Caption() { return QStringLiteral("Результаты расчета"); }

void TResultsCommands::BuildSummaryDock()
{
    auto* dock = new QDockWidget(QStringLiteral("Сводка по зонам"), M);
    dock->setObjectName(QStringLiteral("dockSummary"));
    auto* table = new QTableWidget(dock);
    table->setObjectName(QStringLiteral("tblSummary"));
    // The unit on a line of its own under the name, and a long head of words on two
    // lines, so a head is not much wider than its cells.
    QStringList heads = SummaryColumnHeads();
    for (QString& head : heads) {
        if (head.contains(QStringLiteral(", ")))
            head.replace(QStringLiteral(", "), QStringLiteral(",\n"));
        else if (head.size() > 12 && head.contains(QLatin1Char(' ')))
            head[head.indexOf(QLatin1Char(' '))] = QLatin1Char('\n');
    }
    table->setColumnCount(static_cast<int>(heads.size()));
    table->setHorizontalHeaderLabels(heads);
    table->verticalHeader()->setVisible(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->setAlternatingRowColors(true);
    // No sort column until the user clicks a head: the rows start in the zones' order.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    // The verdicts are the longest texts: their column is shown last, where a scroll bar
    // reaches the rest of them and the other columns stay in view.
    table->horizontalHeader()->moveSection(colStale, colVerdict);
    dock->setWidget(table);
    M->addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
    M->dockSummary = dock;
    M->tblSummary = table;

    M->miShowSummary = dock->toggleViewAction();
    M->miShowSummary->setObjectName(QStringLiteral("miShowSummary"));
    M->miShowSummary->setText(QStringLiteral("Сводка по зонам"));
    M->miViewMenu->insertAction(M->miToolBarsItem, M->miShowSummary);

    // A hidden table is not kept up to date; it catches up when it shows.
    connect(dock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            RefreshSummary();
    });
    connect(table, &QTableWidget::cellClicked, this, [this](int row, int) { SummaryRowClicked(row); });
    connect(table, &QTableWidget::cellActivated, this, [this](int row, int) { SummaryRowClicked(row); });
}

// --- the results file -------------------------------------------------------------------

void TResultsCommands::ProjectSaved(const QString& fileName)
{
    if (!M->FP)
        return;
    const TResultsSave saved = SaveProjectResults(*M->FP, fileName);
    if (!saved.Ok) {
        Prompts().Warning(M, saved.Error, Caption());
        return;
    }
    if (!saved.Warning.isEmpty())
        M->sbText(saved.Warning);
}

void TResultsCommands::ProjectOpened(const QString& fileName)
{
    if (!M->FP)
        return;
    const TResultsLoad load = LoadProjectResults(*M->FP, fileName);
    // The plan's tint, the panel and the summary show what came back before anything is said.
    M->Repaint();
    if (load.Status == TResultsLoadStatus::Rejected)
        Prompts().Warning(M, load.Warning, Caption());
    else if (!load.Warning.isEmpty())
        M->sbText(load.Warning);
}

// --- panel and summary ------------------------------------------------------------------

void TResultsCommands::PlanChanged()
{
    M->ShowCalcResult();
    if (M->dockSummary->isVisible())
        RefreshSummary();
}

void TResultsCommands::ShowResultLines(const TRoom* room)
{
    const TZoneResultLines lines = ZoneResultLines(room);
    M->lblResVerdict->setText(lines.Verdict);
    SetTextColour(M->lblResVerdict, VerdictTextColour(lines.VerdictColour));
    M->lblResVerdict->setVisible(lines.Visible);
    M->lblResStale->setText(lines.Stale);
    M->lblResStale->setVisible(lines.Visible && !lines.Stale.isEmpty());
}

void TResultsCommands::RefreshSummary()
{
    QTableWidget* table = M->tblSummary;
    std::vector<TZoneSummaryRow> rows;
    if (M->FP)
        rows = ProjectSummary(*M->FP);
    std::vector<QStringList> texts;
    std::vector<int32_t> ids;
    texts.reserve(rows.size());
    ids.reserve(rows.size());
    for (const TZoneSummaryRow& row : rows) {
        texts.push_back(SummaryRowTexts(row));
        ids.push_back(row.ID);
    }
    if (FSummaryFilled && texts == FShownTexts && ids == FShownIDs) {
        SelectCurrentRow();
        return;
    }

    // Filled unsorted, then sorted once by the user's column, if any.
    table->setSortingEnabled(false);
    table->clearContents();
    table->setRowCount(static_cast<int>(rows.size()));
    const int columns = table->columnCount();
    for (size_t r = 0; r < rows.size(); ++r) {
        const TZoneSummaryRow& row = rows[r];
        for (int c = 0; c < columns && c < texts[r].size(); ++c) {
            auto* item = new TSummaryItem(texts[r][c], NumericColumn(c), SortKey(row, c));
            if (NumericColumn(c) && c != colVerdict)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == colName)
                item->setData(KZoneIDRole, row.ID);
            if (c == colVerdict) {
                if (const auto colour = VerdictTextColour(row.Verdict.Colour))
                    item->setForeground(*colour);
                // The column may be narrower than the longest verdicts.
                item->setToolTip(texts[r][c]);
            }
            if (c == colStale && row.Stale)
                item->setForeground(*VerdictTextColour(TVerdictColour::Red));
            table->setItem(static_cast<int>(r), c, item);
        }
    }
    table->setSortingEnabled(true);
    FitColumns(table);
    FShownTexts = std::move(texts);
    FShownIDs = std::move(ids);
    FSummaryFilled = true;
    SelectCurrentRow();
}

void TResultsCommands::SelectCurrentRow()
{
    QTableWidget* table = M->tblSummary;
    const QSignalBlocker block(table);
    // The current zone is compared by address among the project's zones only: after a
    // deletion the window's pointer may name a zone that is gone.
    int32_t id = -1;
    if (M->FP && M->CurrentRoom) {
        for (const auto& room : M->FP->Rooms)
            if (room.get() == M->CurrentRoom)
                id = room->ID();
    }
    for (int r = 0; r < table->rowCount(); ++r) {
        const QTableWidgetItem* item = table->item(r, colName);
        if (id >= 0 && item && item->data(KZoneIDRole).toInt() == id) {
            table->selectRow(r);
            return;
        }
    }
    table->clearSelection();
}

void TResultsCommands::SummaryRowClicked(int row)
{
    if (!M->FP)
        return;
    const QTableWidgetItem* item = M->tblSummary->item(row, colName);
    if (!item)
        return;
    TRoom* room = M->FP->GetRoom(item->data(KZoneIDRole).toInt());
    if (!room)
        return;
#if !defined(TESVORN_NO_PLAN_EDITOR)
    if (M->PlanEditor)
        M->PlanEditor->SelectRoom(room);
#endif
}
