// The last accepted run of each kind kept with a zone: see uZoneRuns.h.
#include "uZoneRuns.h"

#include "uCalcRecord.h"

TRunKind RunKindOf(TCalcRun run)
{
    switch (run) {
    case TCalcRun::Standard:
    case TCalcRun::Optimised:
        return TRunKind::VOP;
    case TCalcRun::InitialStage:
        return TRunKind::NSP;
    case TCalcRun::FireLoad:
        return TRunKind::FL;
    }
    return TRunKind::VOP;
}

std::optional<long double> DetectionTime(const TZoneRun& run)
{
    switch (run.Run) {
    case TCalcRun::Standard:
        // −1 … −4 are outcome codes; a time is never negative.
        if (run.Outcome >= 0)
            return run.Outcome;
        return std::nullopt;
    case TCalcRun::Optimised:
        // 0 means the time table showed no turning point, which is no detection time
        // however the announcement words it.
        if (run.Outcome > 0)
            return run.Outcome;
        return std::nullopt;
    case TCalcRun::InitialStage:
    case TCalcRun::FireLoad:
        break;
    }
    return std::nullopt;
}

std::optional<TZoneRun>& TZoneRuns::Of(TRunKind kind)
{
    switch (kind) {
    case TRunKind::NSP:
        return NSP;
    case TRunKind::FL:
        return FL;
    case TRunKind::VOP:
        break;
    }
    return VOP;
}

const std::optional<TZoneRun>& TZoneRuns::Of(TRunKind kind) const
{
    return const_cast<TZoneRuns*>(this)->Of(kind);
}
