#pragma once
// The main of the benchmarks that open the game's screens: offscreen unless a
// platform is asked for, the given media library, and the message box form the
// screens report through.
#include "platform/ResourceLibrary.h"
#include "screens/MessageBoxForm.h"

#include <QApplication>
#include <benchmark/benchmark.h>

inline int runScreenBenchmarks(int argc, char **argv, platform::IResourceLibrary *media)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::setMediaLibrary(media);
    MessageBoxForm = new TMessageBoxForm;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete MessageBoxForm;
    MessageBoxForm = nullptr;
    return 0;
}
