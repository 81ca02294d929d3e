// One sensor-drag step of the plan editor: a mouse move event on the paint box while a
// sensor of a zone with 400 sensors is held, including the quick recalculation of the
// zone's detection time (spacing of all 400 sensors) and the repaint of the whole plan.
// Run from the build folder: ./bench/ui/bench_ui_plan_editor (offscreen by default).
#include "uFireClasses.h"
#include "uMain.h"
#include "uPaintBox.h"
#include "uPrompts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolButton>
#include <benchmark/benchmark.h>

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void BM_SensorDragStep(benchmark::State& state)
{
    TScriptedPrompts prompts;
    QTemporaryDir dir;
    // A 1200 x 800 plan: the dragged zone with 20 x 20 sensors and a few neighbours.
    {
        TFireProject project;
        project.Name = QStringLiteral("Склад");
        project.Width = 1200;
        project.Height = 800;
        project.Setpx(0.05L);
        project.AddRoom(20, 20, 820, 780);
        TRoom* zone = project.Rooms[0].get();
        int n = 0;
        for (int i = 0; i < 20; ++i)
            for (int j = 0; j < 20; ++j) {
                TSensor* s = zone->AddSensor();
                s->SetAbsolutePos({40 + i * 40, 40 + j * 37});
                s->SetName(QString::number(++n));
            }
        for (int k = 0; k < 4; ++k)
            project.AddRoom(840, 20 + k * 190, 1180, 200 + k * 190);
        project.SaveToFile(dir.filePath(QStringLiteral("bench.fsp")));
    }
    TMainWindowOptions options;
    options.DatabaseFileName = dir.filePath(QStringLiteral("kvr.db"));
    options.UseApplicationArguments = false;
    TfrmMain win(options);
    win.show();
    win.LoadProject(dir.filePath(QStringLiteral("bench.fsp")));
    TRoom* zone = win.FP->Rooms[0].get();
    // A detection-time result, so every move recalculates.
    zone->CP.CalculatedVOP = true;
    zone->CP.param1 = 4;
    zone->CP.param5 = 0.95L;
    zone->CP.param6 = 0.0083L;
    zone->CP.param7 = 0.0145L;
    zone->CP.param8 = 13800;
    zone->CP.param10 = 293;
    zone->CP.param11 = 330;
    zone->CP.param12 = 100;
    win.btnSensorsEdit->click();
    const QPoint held(40 + 10 * 40, 40 + 10 * 37);
    SendMouse(win.pb, QEvent::MouseButtonPress, held, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        const QPoint to = held + QPoint(step % 2 ? 7 : -7, step % 3 - 1);
        ++step;
        SendMouse(win.pb, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    }
    SendMouse(win.pb, QEvent::MouseButtonRelease, held, Qt::LeftButton, Qt::NoButton);
    if (win.sbPanel0 == nullptr || win.FP->Rooms[0]->CP.param2 <= 0)
        state.SkipWithError("the quick recalculation did not run");
}
BENCHMARK(BM_SensorDragStep)->Unit(benchmark::kMillisecond);

} // namespace
