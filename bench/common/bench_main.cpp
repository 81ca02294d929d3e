// Entry point of the benchmarks that need a Qt application object: the offscreen platform
// (no display needed), a QApplication for window benchmarks or a QGuiApplication for the
// renderer, then every registered benchmark.
#include <benchmark/benchmark.h>

#ifdef TESVORN_BENCH_WIDGETS
#include <QApplication>
using TBenchApplication = QApplication;
#else
#include <QGuiApplication>
using TBenchApplication = QGuiApplication;
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TBenchApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
