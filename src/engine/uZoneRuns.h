// The last accepted calculation run of each kind kept with a zone: the detection time
// (ВОП, by the standard run or the run with optimisation), the initial fire stage (НСП)
// and the combined fire load (ГН). A run that was accepted and made keeps its dialog
// values, its announcement, its outcome and what the zone was when it ran, so that the
// verdict per zone, the stale-result test and the results file beside the project all
// read the same plain values, whether the run came from the window or from tesvorn-cli.
#pragma once

#include "uCalcDialogValues.h"

#include <QString>
#include <cstdint>
#include <optional>

// The three kinds of result a zone can have.
enum class TRunKind : int32_t { VOP, NSP, FL };

// The kind of result a run gives: both detection-time runs give a ВОП result.
TRunKind RunKindOf(TCalcRun run);

// One accepted run on a zone.
struct TZoneRun {
    TCalcRun Run = TCalcRun::Standard;
    TCalcDialogValues Values; // the dialog's values as accepted
    QString Announcement; // the run's message ("Время обнаружения: 45 сек", …)
    // The run's outcome as the record holds it after the run: value10s of the standard run
    // (seconds, or −1 … −4), TimeResult of the run with optimisation (seconds, −1 not
    // detected, 0 no turning point), value12 of the initial-stage run (s), value13 of the
    // fire-load run (kg/m²).
    long double Outcome = 0;
    // The zone as the run saw it: height (m) and volume (m³) as the dialog showed them (the
    // record's param1 and param3), and the plan extent in pixels the sensor grid was laid in.
    long double Height = 0;
    long double Volume = 0;
    int64_t Width = 0; // Right − Left
    int64_t Depth = 0; // Bottom − Top

    bool operator==(const TZoneRun&) const = default;
};

// The detection time a ВОП run gave, in seconds, or nothing: a standard run with an outcome
// code, a run with optimisation that found no detection (−1) or no turning point (0), and
// any run of another kind give none.
std::optional<long double> DetectionTime(const TZoneRun& run);

// The last accepted run of each kind; empty where the zone has had none.
struct TZoneRuns {
    std::optional<TZoneRun> VOP;
    std::optional<TZoneRun> NSP;
    std::optional<TZoneRun> FL;

    std::optional<TZoneRun>& Of(TRunKind kind);
    const std::optional<TZoneRun>& Of(TRunKind kind) const;
    bool Any() const { return VOP || NSP || FL; }
    bool operator==(const TZoneRuns&) const = default;
};
