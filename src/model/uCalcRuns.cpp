// The calculation runs below the window: see uCalcRuns.h.
#include "uCalcRuns.h"

#include "uFireClasses.h"
#include "uHeightTables.h"
#include "uInitialStage.h"
#include "uNumberText.h"
#include "uOptimised.h"
#include "uRoomSpacing.h"
#include "uScale.h"

#include <algorithm>
#include <cmath>

namespace {

using Step = TCalcRunStep;

// The zone's shorter side in metres less the margin: the greatest spacing the detection-
// time dialogs accept. Rounded to hundredths, which it is by construction (a multiple of
// 0.1 m less 0.01 m), so that a spacing typed as that number equals it exactly.
long double SpacingLimit(const TRoom& room)
{
    const TRect& r = room.Rect();
    const long double px = PlanScaleOf(room);
    const int64_t w = static_cast<int64_t>(r.Right) - r.Left;
    const int64_t h = static_cast<int64_t>(r.Bottom) - r.Top;
    const long double shorter = ScaledValue(static_cast<long double>(std::min(w, h)), px);
    return RoundTo(shorter - CalcDialogDefaults::SpacingMargin, 2);
}

// What a spin edit with this greatest value shows for `value`: its least value is then 0.
long double ClampToSpin(long double value, long double max)
{
    return std::clamp(value, std::min<long double>(0, max), max);
}

// The grid of spacing L on a zone of extents Hm × Wm metres: rows × cols sensors, or none
// (0 × 0) for an L that gives no grid.
struct TGrid {
    long double Hm = 0, Wm = 0, L = 0;
    int64_t Rows = 0, Cols = 0;
    bool TooLarge = false;
};

TGrid GridOf(const TRoom& room, long double L)
{
    TGrid g;
    const TRect& r = room.Rect();
    const long double px = PlanScaleOf(room);
    g.Hm = ScaledValue(static_cast<long double>(static_cast<int64_t>(r.Bottom) - r.Top), px);
    g.Wm = ScaledValue(static_cast<long double>(static_cast<int64_t>(r.Right) - r.Left), px);
    g.L = L;
    if (!(L > 0) || !std::isfinite(L) || !(g.Hm >= 0) || !(g.Wm >= 0))
        return g;
    const long double rows = std::ceil(g.Hm / L);
    const long double cols = std::ceil(g.Wm / L);
    if (rows * cols > static_cast<long double>(MaxGridSensors)) {
        g.TooLarge = true;
        return g;
    }
    g.Rows = static_cast<int64_t>(rows);
    g.Cols = static_cast<int64_t>(cols);
    return g;
}

// Offset of grid line i of n from the near wall, m: L / 2 for the first, Extent − L / 2
// for the last, evenly between; a single line on the centre.
long double GridOffset(int64_t i, int64_t n, long double extent, long double L)
{
    if (n == 1)
        return extent / 2;
    const long double step = (extent - L) / static_cast<long double>(n - 1);
    return static_cast<long double>(i) * step + L / 2;
}

TCalcRunResult Refusal(const QString& message, const QString& caption, const TCalcIndicators& indicators,
    int32_t sensorNumber, std::vector<Step> steps = { Step::MessageBox })
{
    TCalcRunResult r;
    r.Status = TCalcRunStatus::Refused;
    r.Steps = std::move(steps);
    r.Message = message;
    r.Caption = caption;
    r.Icon = TMessageIcon::Warning;
    r.Indicators = indicators;
    r.SensorNumber = sensorNumber;
    return r;
}

// A run that cannot start, answered with the window's state unchanged.
std::optional<TCalcRunResult> StartRefusal(
    const TFireProject& project, const TRoom& room, const TCalcIndicators& indicators, int32_t sensorNumber)
{
    std::optional<TCalcRunResult> r = CalcRunStartRefusal(&project, &room);
    if (r) {
        r->Indicators = indicators;
        r->SensorNumber = sensorNumber;
    }
    return r;
}

// The refusals of a spacing that gives no usable sensor grid.
std::optional<TCalcRunResult> GridRefusal(
    const TRoom& room, long double L, const TCalcIndicators& indicators, int32_t sensorNumber)
{
    if (!(L > 0) || !std::isfinite(L))
        return Refusal(CalcRunText::SpacingNotPositive, CalcRunText::RefusalCaption, indicators, sensorNumber,
            { Step::MessageBox, Step::ShowCalcResult });
    if (GridOf(room, L).TooLarge)
        return Refusal(CalcRunText::GridTooLarge.arg(MaxGridSensors), CalcRunText::RefusalCaption, indicators,
            sensorNumber, { Step::MessageBox, Step::ShowCalcResult });
    return std::nullopt;
}

// Common step 7: the dialog's values into the record. param1 is converted by the caller
// (strictly or not, by run).
void CopyDialogValues(TCalcParamsOrvann& cp, const TCalcDialogValues& v, long double param1)
{
    cp.param1 = param1;
    cp.param2 = v.seParam2;
    long double volume = 0;
    cp.param3 = TryParseNumber(v.edtParam3, &volume) ? volume : 9;
    cp.param4 = v.seParam4;
    cp.param5 = v.FireLoadFinal.CCC;
    cp.param6 = v.FireLoadFinal.P2LinearFlameSpeed;
    cp.param7 = v.FireLoadFinal.P3BurnoutSpeed;
    cp.param8 = v.FireLoadFinal.P1LowestHeat;
    cp.param9 = v.FireLoadFinal.PFlammableLoad;
    cp.param10 = v.seParam10;
    cp.param11 = v.seParam11;
    cp.param12 = v.seParam12;
    cp.param13 = v.seParam13;
    cp.param14 = v.seParam14;
    cp.param15 = v.seParam15;
    cp.param16 = v.seParam16;
    cp.FLNames = v.FLNames();
    cp.FireLoads = v.FireLoads;
    cp.DebugMode = v.cbDebug;
}

// The height as the runs other than the standard one take it: 9 when not a number.
long double LenientHeight(const QString& text)
{
    long double h = 0;
    return TryParseNumber(text, &h) ? h : 9;
}

// The fire-load mix fields that the initial-stage and fire-load runs store.
void CopyMixValues(TCalcParamsOrvann& cp, const TCalcDialogValues& v)
{
    cp.value13 = v.value13;
    cp.value13calc = v.value13calc;
    cp.param06calc = v.FLFinal_param06calc;
    cp.param07calc = v.FLFinal_param07calc;
    cp.param08calc = v.FLFinal_param08calc;
}

TIndicatorState Dimmed(TIndicatorState s)
{
    return s == TIndicatorState::Green ? TIndicatorState::Yellow : s;
}

// A run's own indicator turns green, every other green one yellow.
TCalcIndicators TurnGreen(TCalcIndicators in, TIndicatorState TCalcIndicators::*own)
{
    in.VOP = Dimmed(in.VOP);
    in.NSP = Dimmed(in.NSP);
    in.FL = Dimmed(in.FL);
    in.*own = TIndicatorState::Green;
    return in;
}

// An accepted run that was made is kept with its zone as the last of its kind, with the
// zone as it was when the run started. Results now outlive the session in the results
// file beside the project, so keeping one is a change to save.
void KeepRun(TRoom& room, TCalcRun run, const TCalcDialogValues& values, const QString& announcement,
    long double outcome, long double height, long double volume)
{
    TZoneRun kept;
    kept.Run = run;
    kept.Values = values;
    kept.Announcement = announcement;
    kept.Outcome = outcome;
    kept.Height = height;
    kept.Volume = volume;
    const TRect& r = room.Rect();
    kept.Width = static_cast<int64_t>(r.Right) - r.Left;
    kept.Depth = static_cast<int64_t>(r.Bottom) - r.Top;
    room.Runs.Of(RunKindOf(run)) = std::move(kept);
    room.MarkModified();
}

long double HeightOf(const TRoom& room) { return ScaledValue(room.H(), PlanScaleOf(room)); }

TCalcRunResult Done(const TCalcIndicators& indicators, int32_t sensorNumber)
{
    TCalcRunResult r;
    r.Status = TCalcRunStatus::Done;
    r.Caption = CalcRunText::ResultCaption;
    r.Icon = TMessageIcon::Information;
    r.Indicators = indicators;
    r.SensorNumber = sensorNumber;
    return r;
}

} // namespace

bool TCalcRunResult::Has(TCalcRunStep step) const
{
    return std::find(Steps.begin(), Steps.end(), step) != Steps.end();
}

// --- dialog set-up ----------------------------------------------------------------------

TCalcDialogSetup CalcDialogSetup(TCalcRun run, const TRoom& room)
{
    TCalcDialogSetup s;
    s.Run = run;
    const long double px = PlanScaleOf(room);
    const long double height = ScaledValue(room.H(), px);
    s.edtParam1 = FormatGeneral(height);
    s.edtParam3 = FormatGeneral(room.V());
    const TCalcParamsOrvann& cp = room.CP;
    const bool anyResult = cp.CalculatedVOP || cp.CalculatedNSP || cp.CalculatedFL;
    s.ClearDebugLog = run != TCalcRun::FireLoad;
    s.HandOverFireLoads = run != TCalcRun::Optimised && anyResult;
    switch (run) {
    case TCalcRun::Standard:
        s.seParam2Max = SpacingLimit(room);
        s.seParam2 = ClampToSpin(CalcDialogDefaults::StandardSeParam2, *s.seParam2Max);
        s.ts3Visible = false;
        s.pnlMethodsVisible = false;
        s.pnlBOSClassVisible = true;
        s.seParam4 = CalcDialogDefaults::StandardSeParam4;
        s.ClassClicked = BOSClassA3;
        s.seParam11Enabled = false;
        break;
    case TCalcRun::Optimised:
        s.seParam2Max = SpacingLimit(room);
        s.rbMethod3Visible = false;
        s.rbMethod4Visible = false;
        s.seParam15Visible = false;
        s.seParam2 = ClampToSpin(RoundHalfEven(height * 0.36L * 10) / 10, *s.seParam2Max);
        s.lblParam15NameVisible = false;
        s.ts3Visible = false;
        break;
    case TCalcRun::InitialStage:
        s.FillTs3 = true;
        s.Chart = room.V() > InitialStageLargeVolumeAbove ? TCalcChart::img1 : TCalcChart::img2;
        s.ts2Visible = false;
        break;
    case TCalcRun::FireLoad:
        s.FillTs3 = true;
        s.ts2Visible = false;
        s.ts3Visible = false;
        break;
    }
    return s;
}

TCalcDialogValues CalcDialogInitialValues(const TCalcDialogSetup& setup)
{
    TCalcDialogValues v;
    v.edtParam1 = setup.edtParam1;
    v.edtParam3 = setup.edtParam3;
    if (setup.seParam2Max)
        v.seParam2 = ClampToSpin(v.seParam2, *setup.seParam2Max);
    if (setup.seParam2)
        v.seParam2 = *setup.seParam2;
    if (setup.seParam4)
        v.seParam4 = *setup.seParam4;
    v.BOSClass = setup.ClassClicked;
    if (setup.ClassClicked == BOSClassA2)
        v.seParam11 = v.seParam10 + CalcDialogDefaults::ClassA2Rise;
    else if (setup.ClassClicked == BOSClassA3)
        v.seParam11 = v.seParam10 + CalcDialogDefaults::ClassA3Rise;
    return v;
}

bool CalcDialogMethodOffered(const TCalcDialogSetup& setup, int32_t method)
{
    if (!setup.ts2Visible || !setup.pnlMethodsVisible)
        return false;
    switch (method) {
    case 1:
    case 2:
    case 5:
        return true;
    case 3:
        return setup.rbMethod3Visible;
    case 4:
        return setup.rbMethod4Visible;
    default:
        return false;
    }
}

bool CalcDialogControlOffered(const TCalcDialogSetup& setup, const QString& control, int32_t method)
{
    const bool ts2 = setup.ts2Visible;
    const bool methods = ts2 && setup.pnlMethodsVisible;
    if (control == QLatin1String("seParam2") || control == QLatin1String("seParam4")
        || control == QLatin1String("seParam10") || control == QLatin1String("seParam12"))
        return ts2;
    if (control == QLatin1String("seParam11"))
        return ts2 && setup.seParam11Enabled;
    if (control == QLatin1String("seParam13") || control == QLatin1String("seParam14"))
        return methods && method == 2;
    if (control == QLatin1String("seParam15"))
        return methods && setup.seParam15Visible && method == 4;
    if (control == QLatin1String("seParam16"))
        return methods && method == 5;
    if (control == QLatin1String("method"))
        return methods;
    if (control == QLatin1String("BOSClass"))
        return ts2 && setup.pnlBOSClassVisible;
    if (control == QLatin1String("seValue11"))
        return setup.ts3Visible;
    return false;
}

// --- the runs ----------------------------------------------------------------------------

std::optional<TCalcRunResult> CalcRunStartRefusal(const TFireProject* project, const TRoom* room)
{
    if (project == nullptr)
        return TCalcRunResult {};
    if (room == nullptr)
        return Refusal(CalcRunText::SelectZone, CalcRunText::RefusalCaption, {}, 0);
    if (!(project->px() > 0))
        return Refusal(CalcRunText::NoScale, CalcRunText::RefusalCaption, {}, 0);
    return std::nullopt;
}

std::vector<TCalcRunStep> CalcRunCancelledSteps(TCalcRun run)
{
    if (run == TCalcRun::Standard)
        return { Step::Repaint, Step::ShowCalcResult };
    return { Step::ShowCalcResult };
}

TCalcRunResult CalcVOP(TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber)
{
    if (auto r = StartRefusal(project, room, indicators, sensorNumber))
        return *r;
    long double height = 0;
    if (!TryParseNumber(values.edtParam1, &height))
        return Refusal(CalcRunText::HeightNotNumber.arg(values.edtParam1), CalcRunText::RefusalCaption,
            indicators, sensorNumber, { Step::MessageBox, Step::ShowCalcResult });
    if (auto r = GridRefusal(room, values.seParam2, indicators, sensorNumber))
        return *r;

    const long double zoneHeight = HeightOf(room);
    const long double zoneVolume = room.V();
    TCalcParamsOrvann& cp = room.CP;
    CopyDialogValues(cp, values, height);
    if (values.BOSClass == BOSClassA2 || values.BOSClass == BOSClassA3)
        cp.BOSClass = values.BOSClass;
    cp.method = 1;
    if (project.ScaledValue(room.H()) >= HeightTablesUpperBranchFrom)
        room.CalcCPSimple3();
    else
        room.CalcCPSimple2();

    TCalcRunResult r = Done(indicators, sensorNumber);
    // The indicator follows this run's outcome: a time, −1 or −2 are detection-time
    // results; −3 and −4 are none, whatever an earlier run left in CalculatedVOP.
    const bool result = cp.value10s != Outcome::HeightOver16 && cp.value10s != Outcome::NotComputable;
    if (result && cp.CalculatedVOP)
        r.Indicators = TurnGreen(indicators, &TCalcIndicators::VOP);
    r.Message = HeightTablesResultText(cp);
    r.StatusBarText = r.Message;
    r.ManualL = cp.param2;
    r.Steps = { Step::SetIndicators, Step::StatusBar, Step::SetManualL, Step::MessageBox };
    if (cp.DebugMode) {
        r.DebugLines = HeightTablesDebugLines(cp);
        r.Steps.insert(r.Steps.end(), { Step::ClearDebugLog, Step::AddDebugLines, Step::ShowDebugWindow });
    }
    PlaceSensorGrid(room, r.SensorNumber);
    r.SensorsReplaced = true;
    r.Steps.insert(r.Steps.end(), { Step::Repaint, Step::ShowCalcResult });
    KeepRun(room, TCalcRun::Standard, values, r.Message, cp.value10s, zoneHeight, zoneVolume);
    return r;
}

TCalcRunResult Calc(TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber)
{
    if (auto r = StartRefusal(project, room, indicators, sensorNumber))
        return *r;
    if (auto r = GridRefusal(room, values.seParam2, indicators, sensorNumber))
        return *r;

    const long double zoneHeight = HeightOf(room);
    const long double zoneVolume = room.V();
    TCalcParamsOrvann& cp = room.CP;
    CopyDialogValues(cp, values, LenientHeight(values.edtParam1));
    cp.method = values.method;
    room.CalcCP();

    TCalcRunResult r = Done(indicators, sensorNumber);
    r.DebugLines = OptimisedDebugLines(cp);
    r.Steps = { Step::AddDebugLines };
    PlaceSensorGrid(room, r.SensorNumber);
    r.SensorsReplaced = true;
    r.Steps.push_back(Step::Repaint);
    if (values.cbDebug)
        r.Steps.push_back(Step::ShowDebugWindow);
    r.Message = OptimisedResultText(cp);
    r.StatusBarText = r.Message;
    r.Steps.insert(r.Steps.end(), { Step::StatusBar, Step::MessageBox, Step::ShowCalcResult });
    KeepRun(room, TCalcRun::Optimised, values, r.Message, cp.TimeResult, zoneHeight, zoneVolume);
    return r;
}

TCalcRunResult CalcInitialStage(TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber)
{
    if (auto r = StartRefusal(project, room, indicators, sensorNumber))
        return *r;

    // Worked on a copy: a mix the engine refuses leaves the record exactly as it was.
    TCalcParamsOrvann cp = room.CP;
    CopyDialogValues(cp, values, LenientHeight(values.edtParam1));
    cp.value11 = values.seValue11;
    CopyMixValues(cp, values);
    cp.method = values.method;
    const TInitialStageStatus status = CalcInitialStageDuration(cp);
    if (status != TInitialStageStatus::Ok) {
        TCalcRunResult r = Refusal(InitialStageResultText(cp, status), CalcRunText::ResultCaption, indicators,
            sensorNumber, { Step::MessageBox, Step::ShowCalcResult });
        return r;
    }
    room.CP = std::move(cp);

    TCalcRunResult r = Done(TurnGreen(indicators, &TCalcIndicators::NSP), sensorNumber);
    r.Message = InitialStageResultText(room.CP, status);
    r.Steps = { Step::SetIndicators, Step::MessageBox, Step::ShowCalcResult };
    KeepRun(room, TCalcRun::InitialStage, values, r.Message, room.CP.value12, HeightOf(room), room.V());
    return r;
}

TCalcRunResult CalcFL(TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber)
{
    if (auto r = StartRefusal(project, room, indicators, sensorNumber))
        return *r;

    TCalcParamsOrvann& cp = room.CP;
    CopyDialogValues(cp, values, LenientHeight(values.edtParam1));
    CopyMixValues(cp, values);

    TCalcRunResult r = Done(indicators, sensorNumber);
    if (cp.DebugMode) {
        r.DebugLines = RecordInputDebugLines(cp);
        r.Steps = { Step::ClearDebugLog, Step::AddDebugLines, Step::ShowDebugWindow };
    }
    cp.CalculatedFL = true;
    r.Indicators = TurnGreen(indicators, &TCalcIndicators::FL);
    r.Message = CalcRunText::FireLoadDone;
    r.Steps.insert(r.Steps.end(), { Step::SetIndicators, Step::MessageBox, Step::ShowCalcResult });
    KeepRun(room, TCalcRun::FireLoad, values, r.Message, cp.value13, HeightOf(room), room.V());
    return r;
}

TCalcRunResult RunCalc(TCalcRun run, TFireProject& project, TRoom& room, const TCalcDialogValues& values,
    const TCalcIndicators& indicators, int32_t sensorNumber)
{
    switch (run) {
    case TCalcRun::Standard:
        return CalcVOP(project, room, values, indicators, sensorNumber);
    case TCalcRun::Optimised:
        return Calc(project, room, values, indicators, sensorNumber);
    case TCalcRun::InitialStage:
        return CalcInitialStage(project, room, values, indicators, sensorNumber);
    case TCalcRun::FireLoad:
        return CalcFL(project, room, values, indicators, sensorNumber);
    }
    return Refusal(QString(), QString(), indicators, sensorNumber, {});
}

int32_t PlaceSensorGrid(TRoom& room, int32_t& sensorNumber)
{
    if (!room.Sensors.empty()) {
        room.Sensors.clear();
        room.MarkModified();
    }
    const TGrid g = GridOf(room, room.CP.param2);
    if (g.Rows == 0 || g.Cols == 0)
        return 0;
    const long double px = PlanScaleOf(room);
    const TRect rect = room.Rect();
    const int32_t range = UnscaledValue(g.L / 2, px);
    sensorNumber = 0;
    room.Sensors.reserve(static_cast<size_t>(g.Rows * g.Cols));
    for (int64_t row = 0; row < g.Rows; ++row) {
        const int32_t y = rect.Top + UnscaledValue(GridOffset(row, g.Rows, g.Hm, g.L), px);
        for (int64_t col = 0; col < g.Cols; ++col) {
            TSensor* s = room.AddSensor();
            s->SetAbsolutePos({ rect.Left + UnscaledValue(GridOffset(col, g.Cols, g.Wm, g.L), px), y });
            ++sensorNumber;
            s->SetName(QString::number(sensorNumber));
            s->SetRange(range);
        }
    }
    return static_cast<int32_t>(g.Rows * g.Cols);
}

// --- result panel --------------------------------------------------------------------------

TCalcResultPanel CalcResultPanel(const TRoom* room)
{
    TCalcResultPanel p;
    if (room == nullptr)
        return p;
    p.Visible = true;
    const TCalcParamsOrvann& cp = room->CP;
    if (cp.CalculatedVOP) {
        p.lblRes1Header = CalcRunText::VOPDone;
        p.Res1HeaderGreen = true;
        p.lblRes1 = HeightTablesText::DetectionTimePrefix + FormatSeconds(cp.VOPResult);
    } else {
        p.lblRes1Header = CalcRunText::VOPNotDone;
    }
    if (cp.CalculatedNSP) {
        p.lblRes2Header = CalcRunText::NSPDone;
        p.Res2HeaderGreen = true;
        p.lblRes2 = InitialStageText::DurationPrefix + FormatSeconds(cp.value12);
    } else {
        p.lblRes2Header = CalcRunText::NSPNotDone;
    }
    return p;
}
