// Stale results, the verdict per zone, its tint and the project summary: see uZoneResults.h.
#include "uZoneResults.h"

#include "uFireClasses.h"
#include "uNumberText.h"
#include "uRoomSpacing.h"
#include "uScale.h"

namespace {

long double HeightOf(const TRoom& room) { return ScaledValue(room.H(), PlanScaleOf(room)); }

// After a standard run that gave a time, the quick recalculation keeps the record's
// detection time in step with the sensors on the plan (every move, deletion and selection
// of the zone), and the result panel shows that time while the record's detection-time
// flag is set. The verdict and the summary then read the same time, so they never
// contradict the panel.
bool FollowsLayout(const TRoom& room)
{
    const std::optional<TZoneRun>& vop = room.Runs.VOP;
    return room.CP.CalculatedVOP && vop && vop->Run == TCalcRun::Standard && DetectionTime(*vop).has_value();
}

std::optional<long double> CurrentDetectionTime(const TRoom& room)
{
    if (FollowsLayout(room))
        return room.CP.VOPResult;
    return room.Runs.VOP ? DetectionTime(*room.Runs.VOP) : std::nullopt;
}

} // namespace

bool ZoneRunStale(const TRoom& room, TRunKind kind)
{
    const std::optional<TZoneRun>& run = room.Runs.Of(kind);
    if (!run)
        return false;
    if (run->Height != HeightOf(room) || run->Volume != room.V())
        return true;
    if (kind != TRunKind::VOP)
        return false;
    // The grid was laid for the extent the run saw; a zone of the same volume but another
    // shape holds a grid that no longer reaches its walls.
    const TRect& r = room.Rect();
    return run->Width != static_cast<int64_t>(r.Right) - r.Left
        || run->Depth != static_cast<int64_t>(r.Bottom) - r.Top;
}

bool ZoneResultsStale(const TRoom& room)
{
    return ZoneRunStale(room, TRunKind::VOP) || ZoneRunStale(room, TRunKind::NSP)
        || ZoneRunStale(room, TRunKind::FL);
}

TZoneVerdict ZoneVerdictOf(const TRoom& room) { return ZoneVerdict(room.Runs, CurrentDetectionTime(room)); }

TZoneResultLines ZoneResultLines(const TRoom* room)
{
    TZoneResultLines lines;
    if (room == nullptr)
        return lines;
    lines.Visible = true;
    const TZoneVerdict verdict = ZoneVerdictOf(*room);
    lines.Verdict = verdict.Text;
    lines.VerdictColour = verdict.Colour;
    if (ZoneResultsStale(*room))
        lines.Stale = ZoneVerdictText::Stale;
    return lines;
}

std::optional<QColor> VerdictTextColour(TVerdictColour colour)
{
    switch (colour) {
    case TVerdictColour::Green:
        return QColor(0, 128, 0);
    case TVerdictColour::Red:
        return QColor(255, 0, 0);
    case TVerdictColour::Default:
        break;
    }
    return std::nullopt;
}

std::optional<QColor> ZoneTint(const TRoom& room)
{
    // Light enough that black hatch lines, the border and the labels keep their contrast.
    constexpr int Alpha = 72;
    if (ZoneResultsStale(room))
        return QColor(255, 170, 0, Alpha);
    switch (ZoneVerdictOf(room).Kind) {
    case TVerdictKind::InTime:
        return QColor(0, 160, 0, Alpha);
    case TVerdictKind::Late:
        return QColor(255, 0, 0, Alpha);
    case TVerdictKind::Incomplete:
        break;
    }
    return std::nullopt;
}

TZoneSummaryRow ZoneSummaryRow(const TRoom& room)
{
    TZoneSummaryRow row;
    row.ID = room.ID();
    row.Name = room.Name();
    const long double px = PlanScaleOf(room);
    const TRect& r = room.Rect();
    row.Height = HeightOf(room);
    const long double width
        = ScaledValue(static_cast<long double>(static_cast<int64_t>(r.Right) - r.Left), px);
    const long double depth
        = ScaledValue(static_cast<long double>(static_cast<int64_t>(r.Bottom) - r.Top), px);
    row.Area = RoundTo(width * depth, 2);
    row.Volume = room.V();
    row.Sensors = static_cast<int32_t>(room.GetSensors().size());
    const TZoneRuns& runs = room.Runs;
    if (runs.VOP) {
        row.L = runs.VOP->Values.seParam2;
        row.VOP = CurrentDetectionTime(room);
    }
    if (runs.NSP)
        row.NSP = runs.NSP->Outcome;
    if (runs.NSP || runs.FL)
        row.value13 = room.CP.value13;
    row.Verdict = ZoneVerdictOf(room);
    row.Stale = ZoneResultsStale(room);
    return row;
}

std::vector<TZoneSummaryRow> ProjectSummary(const TFireProject& project)
{
    std::vector<TZoneSummaryRow> rows;
    rows.reserve(project.GetRooms().size());
    for (const auto& room : project.GetRooms())
        rows.push_back(ZoneSummaryRow(*room));
    return rows;
}
