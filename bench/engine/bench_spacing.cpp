// The sensor-spacing measurement of one zone: it runs on every mouse move while a sensor
// is dragged, so one measurement of a zone with 400 sensors should take well under 2 ms.
// Sensors stand on a square grid with a few pixels of jitter (hand-placed layouts are
// never exact); the plain form is measured beside the fast one for comparison.
#include "uSpacing.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <random>

namespace {

struct TLayout {
    TSpacingZone zone;
    std::vector<TSpacingSensor> sensors;
};

// n sensors on a near-square grid 50 px apart in a zone that holds them with a margin.
TLayout GridLayout(int n)
{
    const int cols = static_cast<int>(std::ceil(std::sqrt(double(n))));
    const int rows = (n + cols - 1) / cols;
    TLayout l;
    l.zone = {100, 80, 100 + cols * 50, 80 + rows * 50};
    std::mt19937 rng(static_cast<unsigned>(n));
    for (int i = 0; i < n; ++i) {
        const int x = (i % cols) * 50 + 25 + int(rng() % 7) - 3;
        const int y = (i / cols) * 50 + 25 + int(rng() % 7) - 3;
        l.sensors.push_back({QStringLiteral("{%1-0000-0000-0000-000000000000}").arg(i, 8, 10, QLatin1Char('0')), x, y});
    }
    return l;
}

void BM_MeasureSensorSpacing(benchmark::State& state)
{
    const TLayout l = GridLayout(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(MeasureSensorSpacing(l.zone, l.sensors, 0.05L));
    state.SetComplexityN(state.range(0));
}

void BM_MeasureSensorSpacingDirect(benchmark::State& state)
{
    const TLayout l = GridLayout(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(MeasureSensorSpacingDirect(l.zone, l.sensors, 0.05L));
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_MeasureSensorSpacing)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Arg(800)
    ->Unit(benchmark::kMicrosecond)->Complexity();
BENCHMARK(BM_MeasureSensorSpacingDirect)->Arg(50)->Arg(400)->Arg(800)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
