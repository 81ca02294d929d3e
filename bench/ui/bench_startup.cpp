// Start-up of the desktop program: from creating the main window (logo, reference
// database opened and completed, no-project state) to the first painted, idle window.
// Run from the build folder: ./bench/ui/bench_ui_startup (offscreen by default).
#include "uDebug.h"
#include "uFireClasses.h"
#include "uMain.h"
#include "uPrompts.h"
#include "uReportGeneration.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The main window, the debug window and the progress window, shown and painted once.
void StartProgram(const TMainWindowOptions& options)
{
    TfrmMain main(options);
    TfrmDebug debug;
    TfrmReportGeneration progress;
    main.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(main.grab()); // forces a complete paint
}

// The usual start: kvr.db exists with its tables.
void BM_StartupExistingDatabase(benchmark::State& state)
{
    TScriptedPrompts prompts;
    QTemporaryDir dir;
    TMainWindowOptions options;
    options.DatabaseFileName = dir.filePath(QStringLiteral("kvr.db"));
    options.UseApplicationArguments = false;
    StartProgram(options); // creates and fills the database once
    for (auto _ : state)
        StartProgram(options);
    if (!prompts.Messages().isEmpty())
        state.SkipWithError("start-up showed a message");
}
BENCHMARK(BM_StartupExistingDatabase)->Unit(benchmark::kMillisecond);

// The first start: kvr.db is created, with its tables and the shipped typical loads.
void BM_StartupNewDatabase(benchmark::State& state)
{
    TScriptedPrompts prompts;
    QTemporaryDir dir;
    TMainWindowOptions options;
    options.DatabaseFileName = dir.filePath(QStringLiteral("kvr.db"));
    options.UseApplicationArguments = false;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(options.DatabaseFileName);
        state.ResumeTiming();
        StartProgram(options);
    }
    if (!prompts.Messages().isEmpty())
        state.SkipWithError("start-up showed a message");
}
BENCHMARK(BM_StartupNewDatabase)->Unit(benchmark::kMillisecond);

// Start-up with a project named on the command line (the example office floor).
void BM_StartupWithProject(benchmark::State& state)
{
    TScriptedPrompts prompts;
    QTemporaryDir dir;
    TMainWindowOptions options;
    options.DatabaseFileName = dir.filePath(QStringLiteral("kvr.db"));
    options.UseApplicationArguments = false;
    TFireProject project;
    project.Name = QStringLiteral("Этаж");
    project.Width = 1200;
    project.Height = 800;
    for (int i = 0; i < 20; ++i)
        project.AddRoom(10 + (i % 5) * 230, 10 + (i / 5) * 190, 230 + (i % 5) * 230, 190 + (i / 5) * 190);
    const QString file = dir.filePath(QStringLiteral("floor.fsp"));
    if (!project.SaveToFile(file)) {
        state.SkipWithError("cannot write the project");
        return;
    }
    options.Arguments = { file };
    StartProgram(options);
    for (auto _ : state)
        StartProgram(options);
}
BENCHMARK(BM_StartupWithProject)->Unit(benchmark::kMillisecond);

} // namespace
