#pragma once
// The main of a benchmark that needs widgets: a QApplication (offscreen unless the caller chose
// a platform), then Google Benchmark's usual run.

#include <benchmark/benchmark.h>

#include <QApplication>

namespace korvath::bench {

inline int RunBenchmarksWithWidgets(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace korvath::bench
