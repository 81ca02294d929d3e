// Speed of a standard calculation run without the window: the accepted dialog's values
// copied into the record, the height-table calculation, a sensor grid of about 2,000
// sensors laid out on a 100 m × 60 m zone, and the spacing measurement that the quick
// recalculation makes next. Goal: well under 10 ms, so the run never keeps the user waiting.
#include "BenchRunValues.h"
#include "uCalcRuns.h"
#include "uFireClasses.h"
#include "uFireLoadMix.h"
#include "uRoomSpacing.h"

#include <benchmark/benchmark.h>

namespace {

struct TLargeZone {
    TFireProject project;
    TRoom* room = nullptr;
    TCalcDialogValues values;

    TLargeZone()
    {
        project.Setpx(0.05L);
        room = project.GetRoom(project.AddRoom(100, 100, 2100, 1300));
        room->SetH(60);
        values = BenchStandardRunValues(*room);
    }
};

void BM_StandardRunWithGridAndSpacing(benchmark::State& state)
{
    TLargeZone zone;
    int32_t sensorNumber = 0;
    for (auto _ : state) {
        const TCalcRunResult r
            = CalcVOP(zone.project, *zone.room, zone.values, TCalcIndicators {}, sensorNumber);
        const long double L = GetNearSensorsMaxRange(zone.room);
        benchmark::DoNotOptimize(r.Message.data());
        benchmark::DoNotOptimize(L);
    }
    state.counters["sensors"] = static_cast<double>(zone.room->GetSensors().size());
}
BENCHMARK(BM_StandardRunWithGridAndSpacing)->Unit(benchmark::kMillisecond);

// The grid alone: destroying the 2,030 sensors of the last run and creating them again.
void BM_SensorGrid(benchmark::State& state)
{
    TLargeZone zone;
    zone.room->CP.param2 = BenchGridSpacing;
    int32_t sensorNumber = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(PlaceSensorGrid(*zone.room, sensorNumber));
    state.counters["sensors"] = static_cast<double>(zone.room->GetSensors().size());
}
BENCHMARK(BM_SensorGrid)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
