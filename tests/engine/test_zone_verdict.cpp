// The verdict per zone from its last runs: in time, late, equal whole seconds, the runs
// still needed, runs that gave no detection time; and the summary row's cells.
#include "uZoneVerdict.h"

#include <gtest/gtest.h>

namespace {

TZoneRun Kept(TCalcRun run, long double outcome)
{
    TZoneRun r;
    r.Run = run;
    r.Outcome = outcome;
    return r;
}

// A zone whose last standard run gave `detection` seconds and whose last НСП run `nsp`.
TZoneRuns Times(long double detection, long double nsp)
{
    TZoneRuns runs;
    runs.VOP = Kept(TCalcRun::Standard, detection);
    runs.NSP = Kept(TCalcRun::InitialStage, nsp);
    return runs;
}

} // namespace

TEST(ZoneVerdict, DetectionBelowEqualToAndAboveTheInitialStage)
{
    const TZoneVerdict below = ZoneVerdict(Times(96, 193.24L));
    EXPECT_EQ(below.Kind, TVerdictKind::InTime);
    EXPECT_EQ(below.Margin, 97);
    EXPECT_EQ(below.Colour, TVerdictColour::Green);
    EXPECT_EQ(below.Text, QStringLiteral("Пожар обнаруживается до окончания НСП, запас 97 сек"));

    // Equal is not in time.
    const TZoneVerdict equal = ZoneVerdict(Times(120, 120));
    EXPECT_EQ(equal.Kind, TVerdictKind::Late);
    EXPECT_EQ(equal.Margin, 0);
    EXPECT_EQ(equal.Colour, TVerdictColour::Red);
    EXPECT_EQ(equal.Text, ZoneVerdictText::Equal);

    const TZoneVerdict above = ZoneVerdict(Times(150, 120));
    EXPECT_EQ(above.Kind, TVerdictKind::Late);
    EXPECT_EQ(above.Margin, -30);
    EXPECT_EQ(above.Text, QStringLiteral("Время обнаружения превышает НСП на 30 сек"));
}

TEST(ZoneVerdict, TimesAreComparedAsTheWholeSecondsShown)
{
    // 99.6 s and 100.4 s both show as 100 s: not in time, although the first is smaller.
    EXPECT_EQ(ZoneVerdict(Times(99.6L, 100.4L)).Kind, TVerdictKind::Late);
    EXPECT_EQ(ZoneVerdict(Times(99.6L, 100.4L)).Text, ZoneVerdictText::Equal);
    // 100.5 shows as 100 (ties to even), 101.5 as 102.
    EXPECT_EQ(ZoneVerdict(Times(100.5L, 101.5L)).Margin, 2);
    EXPECT_EQ(ZoneVerdict(Times(100.4L, 100.6L)).Kind, TVerdictKind::InTime);
}

TEST(ZoneVerdict, IncompleteNamesTheRunStillNeeded)
{
    TZoneRuns none;
    EXPECT_EQ(ZoneVerdict(none).Kind, TVerdictKind::Incomplete);
    EXPECT_EQ(ZoneVerdict(none).Text, ZoneVerdictText::NeedBoth);
    EXPECT_FALSE(ZoneVerdict(none).Margin.has_value());
    EXPECT_EQ(ZoneVerdict(none).Colour, TVerdictColour::Default);

    TZoneRuns vopOnly;
    vopOnly.VOP = Kept(TCalcRun::Standard, 60);
    vopOnly.FL = Kept(TCalcRun::FireLoad, 53); // a fire-load run is no initial stage
    EXPECT_EQ(ZoneVerdict(vopOnly).Text, ZoneVerdictText::NeedNSP);

    TZoneRuns nspOnly;
    nspOnly.NSP = Kept(TCalcRun::InitialStage, 200);
    EXPECT_EQ(ZoneVerdict(nspOnly).Text, ZoneVerdictText::NeedVOP);
}

TEST(ZoneVerdict, RunsThatGaveNoDetectionTimeGiveNoVerdict)
{
    // Standard outcomes −1 … −4; the run with optimisation: −1 not detected, 0 no turning point.
    for (const long double code : { -1.0L, -2.0L, -3.0L, -4.0L }) {
        const TZoneVerdict v = ZoneVerdict(Times(code, 200));
        EXPECT_EQ(v.Kind, TVerdictKind::Incomplete) << static_cast<double>(code);
        EXPECT_EQ(v.Text, ZoneVerdictText::NoDetectionTime);
    }
    TZoneRuns optimised;
    optimised.VOP = Kept(TCalcRun::Optimised, 0);
    EXPECT_EQ(ZoneVerdict(optimised).Text, ZoneVerdictText::NoDetectionTimeNeedNSP);
    optimised.VOP->Outcome = -1;
    EXPECT_FALSE(DetectionTime(*optimised.VOP).has_value());
    optimised.VOP->Outcome = 42.7L;
    optimised.NSP = Kept(TCalcRun::InitialStage, 50);
    EXPECT_EQ(ZoneVerdict(optimised).Margin, 7); // 50 − Round(42.7)
    // A standard run's detection time of 0 s is a time.
    EXPECT_EQ(DetectionTime(Kept(TCalcRun::Standard, 0)), 0);
    EXPECT_FALSE(DetectionTime(Kept(TCalcRun::InitialStage, 200)).has_value());
}

TEST(ZoneSummaryRow, CellsInTheUsersFormatWithUnknownValuesMarked)
{
    TZoneSummaryRow row;
    row.Name = QStringLiteral("Склад");
    row.Height = 4.5L;
    row.Area = 55.35L;
    row.Volume = 249.08L;
    row.Sensors = 12;
    row.Verdict = ZoneVerdict(TZoneRuns {});
    const QStringList unknown = SummaryRowTexts(row);
    ASSERT_EQ(unknown.size(), SummaryColumnHeads().size());
    EXPECT_EQ(unknown,
        (QStringList {
            "Склад", "4,5", "55,35", "249,08", "12", "—", "—", "—", "—", ZoneVerdictText::NeedBoth, "нет" }));

    row.L = 2.99L;
    row.VOP = 96;
    row.NSP = 193.5L; // shown as 194 s, ties to even
    row.value13 = 52.666666L;
    row.Stale = true;
    const QStringList known = SummaryRowTexts(row);
    EXPECT_EQ(known.mid(5, 4), (QStringList { "2,99", "96", "194", "52,67" }));
    EXPECT_EQ(known.last(), QStringLiteral("да"));
    EXPECT_EQ(VerdictName(TVerdictKind::InTime), QStringLiteral("in-time"));
    EXPECT_EQ(VerdictName(TVerdictKind::Late), QStringLiteral("late"));
    EXPECT_EQ(VerdictName(TVerdictKind::Incomplete), QStringLiteral("incomplete"));
}
