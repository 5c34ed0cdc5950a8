#pragma once
// The main of the benchmarks that open the game's screens: offscreen unless a
// platform is asked for, the given media library, and the message box form the
// screens report through.
#include "core/MemoBook.h"
#include "platform/ResourceLibrary.h"
#include "platform/UserStore.h"
#include "screens/GameContext.h"
#include "screens/MessageBoxForm.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// The context the benchmarks' screens are made with, while they run.
inline GameContext *&benchContextSlot()
{
    static GameContext *context = nullptr;
    return context;
}
inline GameContext &benchContext()
{
    return *benchContextSlot();
}

inline int runScreenBenchmarks(int argc, char **argv, platform::IResourceLibrary *media)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir storeDir;
    platform::UserStore store(storeDir.filePath(QStringLiteral("registry.sqlite3")));
    TMemoBook runMemos;
    GameContext context{*media, store, QString(), nullptr, &runMemos};
    TMessageBoxForm messages(media);
    context.messages = &messages;
    benchContextSlot() = &context;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    benchContextSlot() = nullptr;
    return 0;
}
