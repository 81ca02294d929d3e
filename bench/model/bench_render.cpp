// One full repaint of a large plan: PaintRooms into the window's plan picture plus the
// copy of that picture to the screen, as the window does on every mouse move while the
// user drags. Plan: 2000 x 1500 pixels, 200 zones, 10,000 sensors with their labels.
#include <benchmark/benchmark.h>

#include "uFireClasses.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace {

std::unique_ptr<TFireProject> LargePlan()
{
    auto p = std::make_unique<TFireProject>();
    p->Width = 2000;
    p->Height = 1500;
    p->Setpx(0.05L);
    int number = 0;
    for (int row = 0; row < 10; ++row)
        for (int col = 0; col < 20; ++col) {
            const int l = col * 100 + 2, t = row * 150 + 2;
            const int id = p->AddRoom(l, t, l + 95, t + 145);
            TRoom* room = p->GetRoom(id);
            for (int k = 0; k < 50; ++k) {
                TSensor* s = room->AddSensor();
                s->SetAbsolutePos({l + 12 + (k % 5) * 18, t + 10 + (k / 5) * 13});
                s->SetName(QString::number(++number));
                s->SensorType = k % 3 == 0 ? TSensorType::stSmoke : TSensorType::stTemperature;
            }
        }
    p->Rooms[57]->Selected = true;
    p->Rooms[57]->Sensors[12]->SetSelected(true);
    p->SetPaintParams(true, false, true, false);
    return p;
}

void BM_FullRepaint(benchmark::State& state)
{
    auto p = LargePlan();
    QImage plan;
    QImage screen(2000, 1500, QImage::Format_RGB32);
    for (auto _ : state) {
        p->PaintRooms(plan);
        QPainter sp(&screen);
        sp.drawImage(0, 0, plan);
        sp.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}
// On a shared machine single runs vary widely; the minimum of the repetitions is the
// figure least disturbed by other work.
BENCHMARK(BM_FullRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });

} // namespace
