// The calculation runs without a window: the dialog set-up each run asks for, the record
// each run writes, the sensor grid, the announcements with their order of steps, the
// indicator transitions, the debug logs, and the refusals that must leave everything as
// it was.
#include "DialogLoad.h"
#include "uCalcRuns.h"
#include "uFireClasses.h"
#include "uHeightTables.h"
#include "uInitialStage.h"
#include "uNumberText.h"

#include <gtest/gtest.h>

namespace {

using Step = TCalcRunStep;
constexpr auto G = TIndicatorState::Green;
constexpr auto Y = TIndicatorState::Yellow;
constexpr auto N = TIndicatorState::None;

// A project at 0.1 m per pixel.
struct TRunFixture : ::testing::Test {
    TFireProject project;
    int32_t nextLeft = 0;

    void SetUp() override { project.Setpx(0.1L); }

    // A zone of w × d metres and h metres high, each new one to the right of the last.
    TRoom* Zone(int32_t wPx, int32_t dPx, int32_t hPx)
    {
        const int32_t left = nextLeft + 20;
        nextLeft = left + wPx + 10;
        TRoom* room = project.GetRoom(project.AddRoom(left, 30, left + wPx, 30 + dPx));
        room->SetH(hPx);
        return room;
    }

    // What an accepted dialog of `run` on `room` gives with the loads added and the
    // combination computed as the dialog computes it.
    static TCalcDialogValues Values(
        TCalcRun run, const TRoom& room, std::vector<TFireLoad> loads = { DialogDefaultLoad() })
    {
        TCalcDialogValues v = CalcDialogInitialValues(CalcDialogSetup(run, room));
        v.FireLoads = std::move(loads);
        long double h = 0, V = 0;
        TryParseNumber(v.edtParam1, &h);
        TryParseNumber(v.edtParam3, &V);
        SetFireLoadMix(v, CalcFireLoad(v.FireLoads, DefaultFireLoadMixRules(), h, V));
        return v;
    }
};

std::vector<QString> Names(const TRoom& room)
{
    std::vector<QString> names;
    for (const auto& s : room.GetSensors())
        names.push_back(s->Name());
    return names;
}

std::vector<TPoint> Positions(const TRoom& room)
{
    std::vector<TPoint> points;
    for (const auto& s : room.GetSensors())
        points.push_back(s->AbsolutePos());
    return points;
}

} // namespace

// --- the dialog set-up ---------------------------------------------------------------------

TEST_F(TRunFixture, DetectionTimeDialogsLimitTheSpacingBelowTheShorterSide)
{
    TRoom* small = Zone(50, 30, 30); // 5 m × 3 m × 3 m
    const TCalcDialogSetup standard = CalcDialogSetup(TCalcRun::Standard, *small);
    EXPECT_EQ(standard.edtParam1, "3");
    EXPECT_EQ(standard.edtParam3, "45");
    ASSERT_TRUE(standard.seParam2Max.has_value());
    EXPECT_EQ(*standard.seParam2Max, 2.99L); // the spin edit shows 2,99 for the 5 asked
    EXPECT_EQ(*standard.seParam2, 2.99L);
    const TCalcDialogValues v = CalcDialogInitialValues(standard);
    EXPECT_EQ(v.seParam2, 2.99L);
    EXPECT_EQ(v.seParam4, 10);
    EXPECT_EQ(v.BOSClass, BOSClassA3);
    EXPECT_EQ(v.seParam11, 333); // 293 + 40 K for class A3

    TRoom* tall = Zone(100, 60, 45); // 10 m × 6 m × 4.5 m
    const TCalcDialogSetup optimised = CalcDialogSetup(TCalcRun::Optimised, *tall);
    EXPECT_EQ(*optimised.seParam2Max, 5.99L);
    EXPECT_EQ(*optimised.seParam2, 1.6L); // Round(0.36 · 4.5 · 10) / 10
    EXPECT_EQ(CalcDialogInitialValues(optimised).seParam11, 337); // no class clicked
    TRoom* narrow = Zone(100, 10, 45); // 1 m across: 0.36 · 4.5 is above the limit 0.99
    EXPECT_EQ(*CalcDialogSetup(TCalcRun::Optimised, *narrow).seParam2, 0.99L);
}

TEST_F(TRunFixture, EachRunShowsOnlyTheControlsItsCalculationReads)
{
    TRoom* room = Zone(100, 60, 30);
    const TCalcDialogSetup vop = CalcDialogSetup(TCalcRun::Standard, *room);
    EXPECT_TRUE(CalcDialogControlOffered(vop, "seParam2", 1));
    EXPECT_TRUE(CalcDialogControlOffered(vop, "BOSClass", 1));
    EXPECT_FALSE(CalcDialogControlOffered(vop, "seParam11", 1)); // disabled
    EXPECT_FALSE(CalcDialogControlOffered(vop, "method", 1)); // pnlMethods hidden
    EXPECT_FALSE(CalcDialogControlOffered(vop, "seParam13", 2));
    EXPECT_FALSE(CalcDialogControlOffered(vop, "seValue11", 1)); // ts3 hidden

    const TCalcDialogSetup opt = CalcDialogSetup(TCalcRun::Optimised, *room);
    EXPECT_TRUE(CalcDialogControlOffered(opt, "seParam11", 1));
    EXPECT_FALSE(CalcDialogControlOffered(opt, "BOSClass", 1));
    EXPECT_FALSE(CalcDialogControlOffered(opt, "seParam13", 1)); // enabled with method 2 only
    EXPECT_TRUE(CalcDialogControlOffered(opt, "seParam14", 2));
    EXPECT_TRUE(CalcDialogControlOffered(opt, "seParam16", 5));
    EXPECT_FALSE(CalcDialogControlOffered(opt, "seParam15", 4)); // hidden in this run
    EXPECT_TRUE(CalcDialogMethodOffered(opt, 5));
    EXPECT_FALSE(CalcDialogMethodOffered(opt, 3));
    EXPECT_FALSE(CalcDialogMethodOffered(opt, 4));
    EXPECT_FALSE(CalcDialogMethodOffered(vop, 1));

    const TCalcDialogSetup nsp = CalcDialogSetup(TCalcRun::InitialStage, *room);
    EXPECT_TRUE(CalcDialogControlOffered(nsp, "seValue11", 1));
    EXPECT_FALSE(CalcDialogControlOffered(nsp, "seParam2", 1));
    EXPECT_FALSE(CalcDialogControlOffered(nsp, "method", 1));
    const TCalcDialogSetup fl = CalcDialogSetup(TCalcRun::FireLoad, *room);
    EXPECT_FALSE(CalcDialogControlOffered(fl, "seValue11", 1));
    EXPECT_FALSE(CalcDialogControlOffered(fl, "seParam4", 1));
    EXPECT_TRUE(fl.FillTs3 && nsp.FillTs3 && !vop.FillTs3);
}

TEST_F(TRunFixture, ChartListHandOverAndDebugLogClearingFollowTheRun)
{
    TRoom* exactly3000 = Zone(200, 150, 100); // 20 m × 15 m × 10 m = 3000 m³
    TRoom* larger = Zone(200, 151, 100);
    EXPECT_EQ(CalcDialogSetup(TCalcRun::InitialStage, *exactly3000).Chart, TCalcChart::img2);
    EXPECT_EQ(CalcDialogSetup(TCalcRun::InitialStage, *larger).Chart, TCalcChart::img1);

    for (TCalcRun run :
        { TCalcRun::Standard, TCalcRun::Optimised, TCalcRun::InitialStage, TCalcRun::FireLoad }) {
        EXPECT_FALSE(CalcDialogSetup(run, *larger).HandOverFireLoads);
        EXPECT_EQ(CalcDialogSetup(run, *larger).ClearDebugLog, run != TCalcRun::FireLoad);
    }
    larger->CP.CalculatedFL = true;
    EXPECT_TRUE(CalcDialogSetup(TCalcRun::Standard, *larger).HandOverFireLoads);
    EXPECT_TRUE(CalcDialogSetup(TCalcRun::InitialStage, *larger).HandOverFireLoads);
    EXPECT_TRUE(CalcDialogSetup(TCalcRun::FireLoad, *larger).HandOverFireLoads);
    EXPECT_FALSE(CalcDialogSetup(TCalcRun::Optimised, *larger).HandOverFireLoads);
}

// --- the sensor grid --------------------------------------------------------------------------

TEST_F(TRunFixture, GridRowsColumnsPositionsNamesAndRanges)
{
    // 10 m × 6 m, L = 2: 3 rows by 5 columns at 1, 3, 5 (, 7, 9) m from the walls.
    TRoom* room = Zone(100, 60, 30);
    room->AddSensor(); // replaced by the grid
    room->CP.param2 = 2;
    int32_t number = 17;
    EXPECT_EQ(PlaceSensorGrid(*room, number), 15);
    EXPECT_EQ(number, 15); // restarted at 0
    ASSERT_EQ(room->GetSensors().size(), 15u);
    const TRect r = room->Rect();
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 5; ++col) {
            const TSensor& s = *room->GetSensors()[static_cast<size_t>(row * 5 + col)];
            EXPECT_EQ(s.Name(), QString::number(row * 5 + col + 1));
            EXPECT_EQ(s.AbsolutePos(), (TPoint { r.Left + 10 + 20 * col, r.Top + 10 + 20 * row }));
            EXPECT_EQ(s.Range(), 10);
        }

    // 5 m × 3 m with the largest spacing the dialog allows: 2 × 2, outer sensors L/2 from
    // the walls (1.495 m → 15 px; 5 − 1.495 m → 35 px).
    TRoom* small = Zone(50, 30, 30);
    small->CP.param2 = 2.99L;
    EXPECT_EQ(PlaceSensorGrid(*small, number), 4);
    const TRect s = small->Rect();
    EXPECT_EQ(Positions(*small),
        (std::vector<TPoint> { { s.Left + 15, s.Top + 15 }, { s.Left + 35, s.Top + 15 },
            { s.Left + 15, s.Top + 15 }, { s.Left + 35, s.Top + 15 } }));
    EXPECT_EQ(Names(*small), (std::vector<QString> { "1", "2", "3", "4" }));
}

TEST_F(TRunFixture, GridWithOneRowOrColumnLiesOnTheCentreLine)
{
    TRoom* room = Zone(100, 60, 30);
    const TRect r = room->Rect();
    int32_t number = 0;
    room->CP.param2 = 7; // one row (6 m ≤ 7 m), two columns at 3.5 and 6.5 m
    EXPECT_EQ(PlaceSensorGrid(*room, number), 2);
    EXPECT_EQ(
        Positions(*room), (std::vector<TPoint> { { r.Left + 35, r.Top + 30 }, { r.Left + 65, r.Top + 30 } }));
    room->CP.param2 = 12; // one sensor in the middle
    EXPECT_EQ(PlaceSensorGrid(*room, number), 1);
    EXPECT_EQ(Positions(*room), (std::vector<TPoint> { { r.Left + 50, r.Top + 30 } }));
    EXPECT_EQ(room->GetSensors()[0]->Range(), 60);
}

TEST_F(TRunFixture, SpacingsThatGiveNoGridPlaceNoSensors)
{
    TRoom* room = Zone(100, 60, 30);
    for (long double L : { -1.0L, 0.0L, -3.0L, 0.001L }) {
        room->AddSensor();
        room->CP.param2 = L;
        int32_t number = 5;
        EXPECT_EQ(PlaceSensorGrid(*room, number), 0) << static_cast<double>(L);
        EXPECT_TRUE(room->GetSensors().empty());
        EXPECT_EQ(number, 5); // not restarted when nothing is placed
    }
}

// --- the standard run -----------------------------------------------------------------------

TEST_F(TRunFixture, StandardRunCopiesTheDialogAndAnnouncesInOrder)
{
    TRoom* room = Zone(100, 60, 30);
    TCalcDialogValues v = Values(TCalcRun::Standard, *room);
    v.seParam12 = 50;
    const TCalcRunResult r = CalcVOP(project, *room, v, { N, G, G }, 9);
    ASSERT_EQ(r.Status, TCalcRunStatus::Done);

    const TCalcParamsOrvann& cp = room->CP;
    EXPECT_EQ(cp.param1, 3);
    EXPECT_EQ(cp.param2, 5);
    EXPECT_EQ(cp.param3, 180);
    EXPECT_EQ(cp.param4, 10);
    // The combined load: η, v, ψ, Qн and q in this order.
    EXPECT_EQ(cp.param5, v.FireLoadFinal.CCC);
    EXPECT_EQ(cp.param6, v.FireLoadFinal.P2LinearFlameSpeed);
    EXPECT_EQ(cp.param7, v.FireLoadFinal.P3BurnoutSpeed);
    EXPECT_EQ(cp.param8, v.FireLoadFinal.P1LowestHeat);
    EXPECT_EQ(cp.param9, v.FireLoadFinal.PFlammableLoad);
    EXPECT_NEAR(static_cast<double>(cp.param7), 0.0145, 1e-15);
    EXPECT_EQ(cp.param9, 10);
    EXPECT_EQ(cp.param10, 293);
    EXPECT_EQ(cp.param11, 333);
    EXPECT_EQ(cp.param12, 50);
    EXPECT_EQ(cp.BOSClass, BOSClassA3);
    EXPECT_EQ(cp.method, 1);
    EXPECT_EQ(cp.FLNames, "Мебель");
    EXPECT_EQ(cp.FireLoads, v.FireLoads);
    EXPECT_FALSE(cp.DebugMode);
    EXPECT_TRUE(cp.CalculatedVOP);
    EXPECT_GE(cp.value10s, 0);

    const QString time = "Время обнаружения: " + QString::number(RoundToInt(cp.VOPResult)) + " сек";
    EXPECT_EQ(r.Message, time);
    EXPECT_EQ(r.StatusBarText, time);
    EXPECT_EQ(r.Caption, "Результат");
    EXPECT_EQ(r.Icon, TMessageIcon::Information);
    EXPECT_EQ(r.ManualL, 5);
    EXPECT_EQ(r.Steps,
        (std::vector<Step> { Step::SetIndicators, Step::StatusBar, Step::SetManualL, Step::MessageBox,
            Step::Repaint, Step::ShowCalcResult }));
    EXPECT_EQ(r.Indicators, (TCalcIndicators { G, Y, Y }));
    EXPECT_TRUE(r.DebugLines.isEmpty());

    // 10 m × 6 m with L = 5: 2 × 2 sensors, numbered from 1 again.
    EXPECT_TRUE(r.SensorsReplaced);
    EXPECT_EQ(r.SensorNumber, 4);
    EXPECT_EQ(Names(*room), (std::vector<QString> { "1", "2", "3", "4" }));
    EXPECT_EQ(room->GetSensors()[0]->Range(), 25);
}

TEST_F(TRunFixture, StandardRunOutcomesAndTheirIndicators)
{
    // −1: 1 m² burning gives less than the smallest detectable rate; still a result.
    TRoom* low = Zone(100, 60, 30);
    TCalcDialogValues v = Values(TCalcRun::Standard, *low);
    v.seParam4 = 1;
    TCalcRunResult r = CalcVOP(project, *low, v, { N, N, G }, 0);
    EXPECT_EQ(r.Message, "Пожар не будет обнаружен (требуется увеличить площадь горючей нагрузки)");
    EXPECT_EQ(r.StatusBarText, r.Message);
    EXPECT_EQ(r.Indicators, (TCalcIndicators { G, N, Y }));
    EXPECT_EQ(low->GetSensors().size(), 4u); // the grid is laid out all the same

    // −2: 7.5 m apart at 8.5 m with class A3, where 7 m is the most.
    TRoom* high = Zone(100, 80, 85);
    v = Values(TCalcRun::Standard, *high);
    v.seParam2 = 7.5L;
    r = CalcVOP(project, *high, v, {}, 0);
    EXPECT_EQ(r.Message, "Пожар не будет обнаружен (требуется уменьшить расстояние между извещателями)");
    EXPECT_EQ(r.Indicators.VOP, G);

    // −3: above 16 m the tables have no row. An earlier result's flag is still set, yet
    // no indicator turns green and none is dimmed.
    TRoom* hall = Zone(100, 80, 170);
    hall->CP.CalculatedVOP = true;
    v = Values(TCalcRun::Standard, *hall);
    r = CalcVOP(project, *hall, v, { N, G, N }, 0);
    EXPECT_EQ(r.Message, HeightTablesText::HeightOver16);
    EXPECT_EQ(r.StatusBarText, r.Message);
    EXPECT_EQ(r.Indicators, (TCalcIndicators { N, G, N }));
    EXPECT_TRUE(r.Has(Step::SetIndicators));

    // −4: no class chosen cannot be computed; likewise no green light.
    TRoom* other = Zone(100, 60, 30);
    v = Values(TCalcRun::Standard, *other);
    v.BOSClass = BOSClassNone;
    r = CalcVOP(project, *other, v, {}, 0);
    EXPECT_EQ(r.Message, HeightTablesText::NotComputable);
    EXPECT_EQ(r.Indicators, TCalcIndicators {});
}

TEST_F(TRunFixture, StandardRunChoosesTheTableByTheZoneHeight)
{
    // The sensor's inertia time is RTI / 0.447 in the upper table, RTI / 0.894 below.
    TRoom* nine = Zone(100, 80, 90);
    TRoom* lower = Zone(100, 80, 89);
    CalcVOP(project, *nine, Values(TCalcRun::Standard, *nine), {}, 0);
    CalcVOP(project, *lower, Values(TCalcRun::Standard, *lower), {}, 0);
    EXPECT_EQ(nine->CP.value9s, 45);
    EXPECT_EQ(lower->CP.value9s, 22);
}

TEST_F(TRunFixture, StandardRunDebugLogAfterTheBox)
{
    TRoom* room = Zone(100, 60, 30);
    TCalcDialogValues v = Values(TCalcRun::Standard, *room);
    v.cbDebug = true;
    const TCalcRunResult r = CalcVOP(project, *room, v, {}, 0);
    EXPECT_TRUE(room->CP.DebugMode);
    EXPECT_EQ(r.Steps,
        (std::vector<Step> { Step::SetIndicators, Step::StatusBar, Step::SetManualL, Step::MessageBox,
            Step::ClearDebugLog, Step::AddDebugLines, Step::ShowDebugWindow, Step::Repaint,
            Step::ShowCalcResult }));
    ASSERT_EQ(r.DebugLines.size(), 16 + 1 + 6 + 1 + 17);
    EXPECT_EQ(r.DebugLines[0], "param1\t3");
    EXPECT_EQ(r.DebugLines[1], "param2\t5");
    EXPECT_EQ(r.DebugLines[16], "");
    EXPECT_EQ(r.DebugLines.last(), "value10s\t" + FormatGeneral(room->CP.value10s));
}

// --- refusals -----------------------------------------------------------------------------

TEST_F(TRunFixture, RefusedRunsChangeNothing)
{
    TRoom* room = Zone(100, 60, 30);
    TSensor* kept = room->AddSensor();
    kept->SetName("A");
    const TCalcDialogValues v = Values(TCalcRun::Standard, *room);

    // Without a zone, and without a project: the box, or nothing at all.
    auto noZone = CalcRunStartRefusal(&project, nullptr);
    ASSERT_TRUE(noZone.has_value());
    EXPECT_EQ(noZone->Message, "Выберите помещение");
    EXPECT_EQ(noZone->Caption, "Невозмонжо начать расчет");
    EXPECT_EQ(noZone->Icon, TMessageIcon::Warning);
    auto noProject = CalcRunStartRefusal(nullptr, nullptr);
    ASSERT_TRUE(noProject.has_value());
    EXPECT_TRUE(noProject->Steps.empty());
    EXPECT_FALSE(CalcRunStartRefusal(&project, room).has_value());

    // A spacing of 0 or one too small for a grid, and a height that is not a number.
    TCalcDialogValues zero = v, tiny = v, text = v;
    zero.seParam2 = 0;
    tiny.seParam2 = 0.01L; // 1000 × 600 sensors
    text.edtParam1 = "три";
    const QString expected[] = { "Расстояние между сенсорами должно быть больше нуля.",
        "Слишком малое расстояние между сенсорами: в сетке было бы больше 100000 датчиков.",
        "Высота зоны \"три\" не является числом." };
    int i = 0;
    for (const TCalcDialogValues* bad : { &zero, &tiny, &text }) {
        for (TCalcRun run : { TCalcRun::Standard, TCalcRun::Optimised }) {
            if (bad == &text && run == TCalcRun::Optimised)
                continue; // the other runs take 9 m for a height that is not a number
            const TCalcRunResult r = RunCalc(run, project, *room, *bad, { G, N, N }, 3);
            EXPECT_EQ(r.Status, TCalcRunStatus::Refused);
            EXPECT_EQ(r.Message, expected[i]);
            EXPECT_EQ(r.Icon, TMessageIcon::Warning);
            EXPECT_EQ(r.Indicators, (TCalcIndicators { G, N, N }));
            EXPECT_EQ(r.SensorNumber, 3);
            EXPECT_FALSE(r.SensorsReplaced);
        }
        ++i;
    }

    // A project without a scale: every length would be taken in pixels.
    project.Setpx(-1);
    for (TCalcRun run :
        { TCalcRun::Standard, TCalcRun::Optimised, TCalcRun::InitialStage, TCalcRun::FireLoad }) {
        const TCalcRunResult r = RunCalc(run, project, *room, v, { G, N, N }, 3);
        EXPECT_EQ(r.Status, TCalcRunStatus::Refused);
        EXPECT_EQ(r.Message, CalcRunText::NoScale);
        EXPECT_EQ(r.Steps, std::vector<Step> { Step::MessageBox });
    }
    EXPECT_EQ(room->GetSensors().size(), 1u);
    EXPECT_EQ(room->GetSensors()[0].get(), kept);
    EXPECT_EQ(room->CP.param1, 0);
    EXPECT_FALSE(room->CP.CalculatedVOP || room->CP.CalculatedFL || room->CP.CalculatedNSP);
}

// --- the optimised run ----------------------------------------------------------------------

TEST_F(TRunFixture, OptimisedRunLogsTheTableAndLeavesTheIndicators)
{
    TRoom* room = Zone(100, 60, 30);
    TCalcDialogValues v = Values(TCalcRun::Optimised, *room);
    v.method = 2;
    v.seParam13 = 4;
    const TCalcRunResult r = Calc(project, *room, v, { G, Y, N }, 0);
    ASSERT_EQ(r.Status, TCalcRunStatus::Done);
    const TCalcParamsOrvann& cp = room->CP;
    EXPECT_EQ(cp.method, 2);
    EXPECT_EQ(cp.param13, 4);
    EXPECT_EQ(cp.param2, 1.1L); // Round(0.36 · 3 · 10) / 10
    EXPECT_GT(cp.TimeResult, 0);
    EXPECT_EQ(r.Indicators, (TCalcIndicators { G, Y, N }));
    EXPECT_EQ(r.Message, "Время обнаружения: " + QString::number(RoundToInt(cp.TimeResult)) + " сек");
    EXPECT_EQ(r.StatusBarText, r.Message);
    // Logged on every run, debug mode or not; the window is shown only in debug mode.
    EXPECT_EQ(r.Steps,
        (std::vector<Step> {
            Step::AddDebugLines, Step::Repaint, Step::StatusBar, Step::MessageBox, Step::ShowCalcResult }));
    ASSERT_EQ(r.DebugLines.size(), 14 + 1 + 7 + 1 + 500);
    EXPECT_EQ(r.DebugLines[13], "param14\t3");
    EXPECT_TRUE(r.DebugLines[23 + cp.tbl_stop - 1].endsWith("\tстоп"));
    // 10 m × 6 m at L = 1.1 m: 6 rows by 10 columns.
    EXPECT_EQ(room->GetSensors().size(), 60u);
    EXPECT_EQ(r.SensorNumber, 60);

    v.cbDebug = true;
    const TCalcRunResult shown = Calc(project, *room, v, {}, 0);
    EXPECT_EQ(shown.Steps,
        (std::vector<Step> { Step::AddDebugLines, Step::Repaint, Step::ShowDebugWindow, Step::StatusBar,
            Step::MessageBox, Step::ShowCalcResult }));
}

TEST_F(TRunFixture, OptimisedRunStepsWithoutResponseAreNotDetected)
{
    TRoom* room = Zone(100, 60, 30);
    TCalcDialogValues v = Values(TCalcRun::Optimised, *room);
    Calc(project, *room, v, {}, 0);
    room->CP.CalculatedVOP = false;
    // F equal to the critical area: the gas never gets above the activation temperature.
    v.seParam4 = room->CP.value4;
    const TCalcRunResult r = Calc(project, *room, v, {}, 0);
    EXPECT_EQ(r.Message, "Пожар не будет обнаружен");
    EXPECT_EQ(r.StatusBarText, r.Message);
    EXPECT_FALSE(room->CP.CalculatedVOP);
    EXPECT_TRUE(r.DebugLines.last().endsWith("\tнет срабатывания"));
    EXPECT_EQ(room->GetSensors().size(), 60u); // the grid replaces the sensors all the same
}

// --- the initial-stage run --------------------------------------------------------------------

TEST_F(TRunFixture, InitialStageRunWorkedExample)
{
    TRoom* room = Zone(100, 100, 50); // 500 m³
    room->AddSensor();
    room->CP.CalculatedVOP = true;
    TCalcDialogValues v = Values(TCalcRun::InitialStage, *room);
    v.seValue11 = 10;
    const TCalcRunResult r = CalcInitialStage(project, *room, v, { G, N, G }, 4);
    ASSERT_EQ(r.Status, TCalcRunStatus::Done);
    const TCalcParamsOrvann& cp = room->CP;
    EXPECT_EQ(cp.value11, 600);
    EXPECT_NEAR(static_cast<double>(cp.value12), 201, 0.5); // 0.0094 · 600 · (1000 / P)^(1/3)
    EXPECT_EQ(cp.value13, v.value13);
    EXPECT_EQ(cp.value13calc, "10*13000/13800");
    EXPECT_EQ(cp.param06calc, v.FLFinal_param06calc);
    EXPECT_TRUE(cp.CalculatedNSP);
    EXPECT_FALSE(cp.CalculatedVOP);
    EXPECT_EQ(r.Message, "Продолжительность начальной стадии пожара: 201 сек");
    EXPECT_EQ(r.Caption, "Результат");
    EXPECT_EQ(r.Steps, (std::vector<Step> { Step::SetIndicators, Step::MessageBox, Step::ShowCalcResult }));
    EXPECT_EQ(r.Indicators, (TCalcIndicators { Y, G, Y }));
    EXPECT_FALSE(r.SensorsReplaced);
    EXPECT_EQ(r.SensorNumber, 4);
    EXPECT_EQ(room->GetSensors().size(), 1u);

    const TCalcResultPanel panel = CalcResultPanel(room);
    EXPECT_EQ(panel.lblRes1Header, "Расчет ВОП не производился.");
    EXPECT_FALSE(panel.Res1HeaderGreen);
    EXPECT_EQ(panel.lblRes2Header, "Расчет НСП произведен.");
    EXPECT_TRUE(panel.Res2HeaderGreen);
    EXPECT_EQ(panel.lblRes2, "Продолжительность начальной стадии пожара: 201 сек");
}

TEST_F(TRunFixture, InitialStageOfAMixThatDoesNotBurnIsRefusedAndChangesNothing)
{
    TRoom* room = Zone(100, 100, 50);
    room->CP.CalculatedVOP = true;
    room->CP.value11 = 5;
    room->CP.param1 = 42;
    const TCalcParamsOrvann before = room->CP;
    TFireLoad inert = DialogDefaultLoad();
    inert.P2LinearFlameSpeed = 0;
    TCalcDialogValues v = Values(TCalcRun::InitialStage, *room, { inert });
    v.seValue11 = 10;
    const TCalcRunResult r = CalcInitialStage(project, *room, v, { G, N, N }, 0);
    EXPECT_EQ(r.Status, TCalcRunStatus::Refused);
    EXPECT_EQ(r.Message, InitialStageText::ZeroFireProperties);
    EXPECT_EQ(r.Icon, TMessageIcon::Warning);
    EXPECT_EQ(r.Steps, (std::vector<Step> { Step::MessageBox, Step::ShowCalcResult }));
    EXPECT_EQ(r.Indicators, (TCalcIndicators { G, N, N }));
    EXPECT_EQ(room->CP.value11, 5);
    EXPECT_EQ(room->CP.param1, 42);
    EXPECT_TRUE(room->CP.FireLoads.empty());
    EXPECT_TRUE(room->CP.CalculatedVOP);
    EXPECT_FALSE(room->CP.CalculatedNSP);
    EXPECT_EQ(room->CP.FLNames, before.FLNames);
}

// --- the fire-load run ---------------------------------------------------------------------

TEST_F(TRunFixture, FireLoadRunStoresTheMixAndKeepsTheOtherResults)
{
    TRoom* room = Zone(100, 100, 50);
    room->CP.CalculatedNSP = true;
    room->CP.value11 = 600;
    room->CP.value12 = 201;
    room->CP.method = 3;
    room->CP.BOSClass = BOSClassA2;
    TFireLoad second = DialogDefaultLoad();
    second.ListId = 2;
    second.Name = "Бумага";
    second.P1LowestHeat = 13400;
    TCalcDialogValues v = Values(TCalcRun::FireLoad, *room, { DialogDefaultLoad(), second });
    v.cbDebug = true;
    const TCalcRunResult r = CalcFL(project, *room, v, { G, Y, N }, 0);
    ASSERT_EQ(r.Status, TCalcRunStatus::Done);
    const TCalcParamsOrvann& cp = room->CP;
    EXPECT_TRUE(cp.CalculatedFL);
    EXPECT_TRUE(cp.CalculatedNSP);
    EXPECT_FALSE(cp.CalculatedVOP);
    EXPECT_EQ(cp.value11, 600);
    EXPECT_EQ(cp.value12, 201);
    EXPECT_EQ(cp.method, 3);
    EXPECT_EQ(cp.BOSClass, BOSClassA2);
    EXPECT_EQ(cp.param8, 13200); // the weighted mean of 13000 and 13400
    EXPECT_EQ(cp.value13, 19); // Round((10 · 13000 + 10 · 13400) / 13800)
    EXPECT_EQ(cp.FLNames, "Мебель, Бумага");
    EXPECT_EQ(r.Message, "Расчет сделан");
    EXPECT_EQ(r.Indicators, (TCalcIndicators { Y, Y, G }));
    EXPECT_EQ(r.Steps,
        (std::vector<Step> { Step::ClearDebugLog, Step::AddDebugLines, Step::ShowDebugWindow,
            Step::SetIndicators, Step::MessageBox, Step::ShowCalcResult }));
    ASSERT_EQ(r.DebugLines.size(), 16 + 1 + 6);
    EXPECT_EQ(r.DebugLines[17], "value11\t600");
    EXPECT_EQ(r.DebugLines[19], "value13calc\t10*13000/13800 + 10*13400/13800");
    EXPECT_EQ(r.DebugLines[22], "param08calc\t" + cp.param08calc);

    v.cbDebug = false;
    EXPECT_EQ(CalcFL(project, *room, v, r.Indicators, 0).Steps,
        (std::vector<Step> { Step::SetIndicators, Step::MessageBox, Step::ShowCalcResult }));
}

// --- a sequence of runs, as in the window -----------------------------------------------------

TEST_F(TRunFixture, IndicatorsAndResultPanelFollowASequenceOfRuns)
{
    TRoom* room = Zone(100, 100, 30);
    EXPECT_FALSE(CalcResultPanel(nullptr).Visible);
    EXPECT_EQ(CalcResultPanel(room).lblRes1Header, "Расчет ВОП не производился.");

    TCalcIndicators lights;
    int32_t number = 0;
    auto run = [&](TCalcRun kind, TCalcDialogValues v) {
        const TCalcRunResult r = RunCalc(kind, project, *room, v, lights, number);
        lights = r.Indicators;
        number = r.SensorNumber;
        return r;
    };
    run(TCalcRun::Standard, Values(TCalcRun::Standard, *room));
    EXPECT_EQ(lights, (TCalcIndicators { G, N, N }));
    TCalcResultPanel panel = CalcResultPanel(room);
    EXPECT_EQ(panel.lblRes1Header, "Расчет ВОП произведен.");
    EXPECT_EQ(
        panel.lblRes1, "Время обнаружения: " + QString::number(RoundToInt(room->CP.VOPResult)) + " сек");
    EXPECT_EQ(panel.lblRes2Header, "Расчет НСП не производился.");

    // The zone now has a result: the dialog starts from its list.
    ASSERT_TRUE(CalcDialogSetup(TCalcRun::InitialStage, *room).HandOverFireLoads);
    TCalcDialogValues nsp = Values(TCalcRun::InitialStage, *room, room->CP.FireLoads);
    nsp.seValue11 = 10;
    run(TCalcRun::InitialStage, nsp);
    EXPECT_EQ(lights, (TCalcIndicators { Y, G, N }));
    EXPECT_EQ(CalcResultPanel(room).lblRes1Header, "Расчет ВОП не производился.");

    run(TCalcRun::FireLoad, Values(TCalcRun::FireLoad, *room, room->CP.FireLoads));
    EXPECT_EQ(lights, (TCalcIndicators { Y, Y, G }));
    run(TCalcRun::Optimised, Values(TCalcRun::Optimised, *room));
    EXPECT_EQ(lights, (TCalcIndicators { Y, Y, G }));
    run(TCalcRun::Standard, Values(TCalcRun::Standard, *room));
    EXPECT_EQ(lights, (TCalcIndicators { G, Y, Y }));
    EXPECT_EQ(number, 4);
}
