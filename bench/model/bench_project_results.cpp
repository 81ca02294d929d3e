// Speed of saving and opening a project with its results file: 200 zones, each with a full
// record made by the runs themselves (fire load, initial stage, standard run with its
// sensor grid: texts, two fire loads, the kept inputs of all three), written and read
// through real files as the window's Save and Open do. The same once more with the 500-step
// time table of the run with optimisation in every zone, the largest record there is.
#include "uCalcRuns.h"
#include "uFireClasses.h"
#include "uNumberText.h"
#include "uProjectResults.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

namespace {

constexpr int ZoneColumns = 20;
constexpr int ZoneRows = 10;

TFireLoad Load(const char* name, long double heat, long double speed, long double burnout, long double q)
{
    TFireLoad f;
    f.Id = 1;
    f.ListId = 1;
    f.Name = QString::fromUtf8(name);
    f.P1LowestHeat = heat;
    f.P2LinearFlameSpeed = speed;
    f.P3BurnoutSpeed = burnout;
    f.P4SmokeFormingAbility = 270;
    f.P5OxygenConsumption = -1.03L;
    f.P6AllocationCO2 = 0.203L;
    f.P6AllocationCO = 0.0022L;
    f.P6AllocationHCl = 0.014L;
    f.PFlammableLoad = q;
    f.CCC = 0.97L;
    return f;
}

void Accept(TFireProject& p, TRoom& room, TCalcRun run, long double spacing)
{
    TCalcDialogValues v = CalcDialogInitialValues(CalcDialogSetup(run, room));
    v.FireLoads = { Load("Мебель + ткани", 13800, 0.0108L, 0.0145L, 50),
        Load("Бумага, картон", 13400, 0.0183L, 0.0137L, 7.3L) };
    v.FireLoads[1].ListId = 2;
    v.seValue11 = 10;
    if (run == TCalcRun::Standard || run == TCalcRun::Optimised)
        v.seParam2 = spacing;
    long double h = 0, V = 0;
    TryParseNumber(v.edtParam1, &h);
    TryParseNumber(v.edtParam3, &V);
    SetFireLoadMix(v, CalcFireLoad(v.FireLoads, DefaultFireLoadMixRules(), h, V));
    RunCalc(run, p, room, v, {}, 0);
}

std::unique_ptr<TFireProject> MakeProject(bool tables)
{
    auto p = std::make_unique<TFireProject>();
    p->Name = QStringLiteral("Торговый центр, 2 этаж");
    p->Setpx(0.05L);
    for (int row = 0; row < ZoneRows; ++row)
        for (int col = 0; col < ZoneColumns; ++col) {
            const int left = col * 101, top = row * 81;
            TRoom* room = p->GetRoom(p->AddRoom(left, top, left + 100, top + 80)); // 5 m × 4 m
            room->SetName(QStringLiteral("Помещение %1-%2").arg(row + 1).arg(col + 1));
            room->SetH(60 + (row + col) % 40);
            if (tables)
                Accept(*p, *room, TCalcRun::Optimised, 1.2L);
            Accept(*p, *room, TCalcRun::FireLoad, 0);
            Accept(*p, *room, TCalcRun::InitialStage, 0);
            Accept(*p, *room, TCalcRun::Standard, 1.5L);
        }
    return p;
}

// `results` false: the project file alone, the baseline the results file adds to.
void Save(benchmark::State& state, bool tables, bool results = true)
{
    auto p = MakeProject(tables);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.fsp"));
    for (auto _ : state) {
        if (!p->SaveToFile(path) || (results && !SaveProjectResults(*p, path).Ok))
            state.SkipWithError("save failed");
    }
    state.counters["results_kB"] = static_cast<double>(QFileInfo(ProjectResultsFileName(path)).size()) / 1024;
}

void Open(benchmark::State& state, bool tables, bool results = true)
{
    auto made = MakeProject(tables);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.fsp"));
    if (!made->SaveToFile(path) || !SaveProjectResults(*made, path).Ok) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        TFireProject p;
        if (!p.LoadFromFile(path)
            || (results && LoadProjectResults(p, path).Restored != ZoneRows * ZoneColumns))
            state.SkipWithError("open failed");
    }
}

// The results alone, in memory: building the JSON text, and reading it into a project.
void BM_EncodeResults(benchmark::State& state)
{
    auto p = MakeProject(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectResultsToBytes(*p).size());
}

void BM_DecodeResults(benchmark::State& state)
{
    auto made = MakeProject(false);
    const QByteArray bytes = ProjectResultsToBytes(*made);
    for (auto _ : state) {
        state.PauseTiming();
        auto p = MakeProject(false);
        for (const auto& room : p->GetRooms()) {
            room->CP = TCalcParamsOrvann();
            room->Runs = TZoneRuns();
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(ProjectResultsFromBytes(*p, bytes, QString()).Restored);
    }
}
BENCHMARK(BM_EncodeResults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeResults)->Unit(benchmark::kMillisecond);

void BM_SaveProjectAlone(benchmark::State& state) { Save(state, false, false); }
void BM_OpenProjectAlone(benchmark::State& state) { Open(state, false, false); }
void BM_SaveProjectWithResults(benchmark::State& state) { Save(state, false); }
void BM_OpenProjectWithResults(benchmark::State& state) { Open(state, false); }
void BM_SaveProjectWithResultsAndTables(benchmark::State& state) { Save(state, true); }
void BM_OpenProjectWithResultsAndTables(benchmark::State& state) { Open(state, true); }
BENCHMARK(BM_SaveProjectAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProjectAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProjectWithResults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProjectWithResults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProjectWithResultsAndTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenProjectWithResultsAndTables)->Unit(benchmark::kMillisecond);

} // namespace
BENCHMARK_MAIN();
