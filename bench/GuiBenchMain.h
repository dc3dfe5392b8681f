#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

// The main of a benchmark program that draws widgets: offscreen unless a
// platform is chosen, with an application made before any widget.
inline int runGuiBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
