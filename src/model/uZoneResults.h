// What a zone's results say beyond the result panel's two lines: whether they still fit
// the zone (a zone resized or made higher after its calculation needs a new one), the
// verdict per zone with its tint on the plan, and the rows of the project summary. All
// are read from the last runs the zone keeps (TRoom::Runs), so the window, the plan, the
// project report and tesvorn-cli show the same answers.
#pragma once

#include "uZoneVerdict.h"

#include <QColor>
#include <QString>
#include <optional>
#include <vector>

class TFireProject;
class TRoom;

// Whether the zone's last run of `kind` no longer fits the zone: its height in metres
// (ScaledValue of H) or its volume differs from what the run used (the record's param1 and
// param3 as they were then), or, for a ВОП run, the zone's extent in pixels differs from
// the one the sensor grid was laid in. False when the zone has no run of that kind.
bool ZoneRunStale(const TRoom& room, TRunKind kind);

// Whether any of the zone's last runs no longer fits it (ZoneVerdictText::Stale).
bool ZoneResultsStale(const TRoom& room);

// The verdict of the zone's last runs (ZoneVerdict). While the result panel shows the
// detection time of a standard run that gave one (the record's CalculatedVOP), the
// detection time is the one the panel shows: the record's VOPResult, which the quick
// recalculation keeps in step with the sensors on the plan.
TZoneVerdict ZoneVerdictOf(const TRoom& room);

// The lines the result panel shows under its two result lines for the current zone.
struct TZoneResultLines {
    bool Visible = false; // false: no current zone, the rest is empty
    QString Verdict; // the verdict's text, always given for a zone
    TVerdictColour VerdictColour = TVerdictColour::Default;
    QString Stale; // ZoneVerdictText::Stale, shown in red; empty when the results fit
};

// The panel's extra lines for `room` (nullptr: no current zone).
TZoneResultLines ZoneResultLines(const TRoom* room);

// The colour a verdict's text is shown in: green RGB (0, 128, 0), red RGB (255, 0, 0), or
// none (the panel's own colour).
std::optional<QColor> VerdictTextColour(TVerdictColour colour);

// The zone's tint on the plan when PaintParams.ShowZoneVerdicts is set: a translucent
// amber for a stale zone whatever its verdict, green for a fire detected in time, red for
// a late one, none for a zone whose verdict is incomplete. Translucent, so the plan's
// background and the zone's hatch show through.
std::optional<QColor> ZoneTint(const TRoom& room);

// The zone's row of the project summary (TZoneSummaryRow): its name, height, area and
// volume in metres under its project's scale, its sensor count, L and the detection time
// of its last ВОП run (the detection time as ZoneVerdictOf reads it), the duration of its last НСП run, the
// reduced fire load its record holds after an НСП or ГН run, the verdict and whether it is stale.
TZoneSummaryRow ZoneSummaryRow(const TRoom& room);

// The summary of every zone of the project, in the project's zone order.
std::vector<TZoneSummaryRow> ProjectSummary(const TFireProject& project);
