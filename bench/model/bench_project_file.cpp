// Speed of the project file on a large plan: 200 zones holding 10,000 sensors, saved and
// loaded both in memory (the encoding alone) and through a real file.
#include "uFireClasses.h"
#include "uProjectFile.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>

namespace {

constexpr int ZoneColumns = 20;
constexpr int ZoneRows = 10;
constexpr int SensorsPerZone = 50;

std::unique_ptr<TFireProject> MakeLargeProject()
{
    auto p = std::make_unique<TFireProject>();
    p->Name = QStringLiteral("Торговый центр, 2 этаж");
    p->Setpx(0.05L);
    for (int row = 0; row < ZoneRows; ++row) {
        for (int col = 0; col < ZoneColumns; ++col) {
            const int left = col * 101, top = row * 81;
            TRoom* room = p->GetRoom(p->AddRoom(left, top, left + 100, top + 80));
            room->SetName(QStringLiteral("Помещение %1-%2").arg(row + 1).arg(col + 1));
            room->SetH(60 + (row + col) % 40);
            for (int s = 0; s < SensorsPerZone; ++s) {
                TSensor* sensor = room->AddSensor();
                sensor->SetName(QStringLiteral("Датчик %1").arg(p->GetSensorsCount()));
                sensor->SetAbsolutePos(TPoint { left + 5 + (s % 10) * 9, top + 5 + (s / 10) * 14 });
                sensor->SetHeight(room->H() - 2);
            }
        }
    }
    return p;
}

const TFireProject& LargeProject()
{
    static const std::unique_ptr<TFireProject> project = MakeLargeProject();
    return *project;
}

void BM_EncodeLargeProject(benchmark::State& state)
{
    const TFireProject& p = LargeProject();
    for (auto _ : state) {
        QByteArray bytes = ProjectToBytes(p);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * ProjectToBytes(p).size());
}
BENCHMARK(BM_EncodeLargeProject)->Unit(benchmark::kMillisecond);

void BM_SaveLargeProjectToFile(benchmark::State& state)
{
    auto p = MakeLargeProject();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.fsp"));
    for (auto _ : state) {
        if (!p->SaveToFile(path))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveLargeProjectToFile)->Unit(benchmark::kMillisecond);

void BM_DecodeLargeProject(benchmark::State& state)
{
    const QByteArray bytes = ProjectToBytes(LargeProject());
    for (auto _ : state) {
        TFireProject p;
        if (!ProjectFromBytes(p, bytes))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(p.GetSensorsCount());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_DecodeLargeProject)->Unit(benchmark::kMillisecond);

void BM_LoadLargeProjectFromFile(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.fsp"));
    auto source = MakeLargeProject();
    if (!source->SaveToFile(path)) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        TFireProject p;
        if (!p.LoadFromFile(path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(p.GetSensorsCount());
    }
}
BENCHMARK(BM_LoadLargeProjectFromFile)->Unit(benchmark::kMillisecond);

// Every sensor the loader creates first gets a fresh GUID from its constructor, which the
// stored one then replaces: this is that share of a 10,000-sensor load.
void BM_TenThousandNewGUIDs(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < ZoneColumns * ZoneRows * SensorsPerZone; ++i) {
            QString guid = NewGUIDString();
            benchmark::DoNotOptimize(guid.data());
        }
    }
}
BENCHMARK(BM_TenThousandNewGUIDs)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
