// Undo and redo of a calculation run that laid out a grid of 2,030 sensors (100 m × 60 m
// at 1.73 m) in the main window: the project restored from its snapshot, the window's
// selection and panels put back and the plan repainted. Goal: under 16 ms, one frame. The
// baselines in the same run are the edit itself (the run's model work, taking it as a
// command, the repaint) and redo.
// Run from the build folder: ./bench/ui/bench_ui_undo (offscreen by default).
#include "BenchRunValues.h"
#include "uCalcRuns.h"
#include "uFireClasses.h"
#include "uFireLoadMix.h"
#include "uMain.h"
#include "uPaintBox.h"
#include "uPrompts.h"
#include "uUndoCommands.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QUndoStack>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// The main window on a 2,200 x 1,400 plan whose one large zone (2,000 x 1,200 pixels at
// 0.05 m per pixel, 3 m high) holds ten sensors placed by hand and is the current zone.
struct TGridWindow {
    TScriptedPrompts prompts;
    QTemporaryDir dir;
    std::unique_ptr<TfrmMain> win;
    TCalcDialogValues values;

    TGridWindow()
    {
        {
            TFireProject project;
            project.Name = QStringLiteral("Склад");
            project.Width = 2200;
            project.Height = 1400;
            project.Setpx(0.05L);
            TRoom* room = project.GetRoom(project.AddRoom(100, 100, 2100, 1300));
            room->SetH(60);
            for (int k = 0; k < 10; ++k) {
                TSensor* s = room->AddSensor();
                s->SetAbsolutePos({ 200 + k * 150, 700 });
                s->SetName(QString::number(k + 1));
            }
            project.SaveToFile(dir.filePath(QStringLiteral("bench.fsp")));
        }
        TMainWindowOptions options;
        options.DatabaseFileName = dir.filePath(QStringLiteral("kvr.db"));
        options.UseApplicationArguments = false;
        win = std::make_unique<TfrmMain>(options);
        win->show();
        win->LoadProject(dir.filePath(QStringLiteral("bench.fsp")));
        const QPoint inside(1000, 500);
        for (QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease }) {
            QMouseEvent e(type, QPointF(inside), QPointF(win->pb->mapToGlobal(inside)), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(win->pb, &e);
        }

        TRoom& room = *win->FP->Rooms[0];
        values = BenchStandardRunValues(room);
    }

    // The accepted run as one edit: the run's work on the model, the window's indicators
    // and sensor number, the repaint.
    void Run()
    {
        TUndoEdit edit(win.get(), UndoText::RunVOP);
        TRoom& room = *win->FP->Rooms[0];
        const TCalcRunResult r = CalcVOP(*win->FP, room, values, TCalcIndicators {}, win->SensorNumber);
        win->SensorNumber = r.SensorNumber;
        win->Repaint();
    }

    QUndoStack* Stack() const { return win->UndoCommands->Stack(); }
    size_t Sensors() const { return win->FP->Rooms[0]->GetSensors().size(); }
};

// The baseline: the run itself, taken as a command (its undo, between the runs, untimed).
void BM_GridRunAsEdit(benchmark::State& state)
{
    TGridWindow w;
    for (auto _ : state) {
        w.Run();
        state.PauseTiming();
        w.win->miUndo->trigger();
        state.ResumeTiming();
    }
    w.Run();
    state.counters["sensors"] = double(w.Sensors());
    if (w.Stack()->count() != 1 || w.Sensors() < 2000)
        state.SkipWithError("the run was not one command with its grid");
}
BENCHMARK(BM_GridRunAsEdit)->Unit(benchmark::kMillisecond);

// Undo of the run: the ten sensors and the record before it come back.
void BM_UndoGrid(benchmark::State& state)
{
    TGridWindow w;
    w.Run();
    for (auto _ : state) {
        w.win->miUndo->trigger();
        state.PauseTiming();
        if (w.Sensors() != 10)
            state.SkipWithError("undo did not restore the sensors");
        w.win->miRedo->trigger();
        state.ResumeTiming();
    }
    state.counters["sensors"] = double(w.Sensors());
}
BENCHMARK(BM_UndoGrid)->Unit(benchmark::kMillisecond);

// Redo of the run: the grid comes back.
void BM_RedoGrid(benchmark::State& state)
{
    TGridWindow w;
    w.Run();
    for (auto _ : state) {
        state.PauseTiming();
        w.win->miUndo->trigger();
        state.ResumeTiming();
        w.win->miRedo->trigger();
    }
    state.counters["sensors"] = double(w.Sensors());
    if (w.Sensors() < 2000)
        state.SkipWithError("redo did not restore the grid");
}
BENCHMARK(BM_RedoGrid)->Unit(benchmark::kMillisecond);

} // namespace
