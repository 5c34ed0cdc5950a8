#pragma once
// The main of the benchmarks that need Qt's core only (the store, the catalogue,
// the answer log): no widgets, no platform plugin.
#include <QCoreApplication>
#include <benchmark/benchmark.h>

inline int runCoreBenchmarks(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
