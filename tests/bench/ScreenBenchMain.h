#pragma once
// The main of the benchmarks that open the game's screens: offscreen unless a
// platform is asked for, the given media library, and the message box form the
// screens report through.
#include "FakeResourceLibrary.h"
#include "core/MemoBook.h"
#include "platform/ResourceLibrary.h"
#include "platform/UserStore.h"
#include "screens/GameContext.h"
#include "screens/MessageBoxForm.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// Plain 50 x 50 stand-ins for every picture the screens and the message box ask for.
inline platform::FakeResourceLibrary &screenBenchMedia()
{
    static platform::FakeResourceLibrary library = [] {
        platform::FakeResourceLibrary l;
        for (const char *name :
             {"TEXTURE", "GAMEPANEL", "ListPanel", "DIFF1",    "DIFF2",       "DIFF3",        "COST0",
              "COST10",  "COST20",    "COST30",    "COST40",   "PRICE",       "mDIFF1",       "mDIFF2",
              "mDIFF3",  "S1",        "S2",        "QUESTION", "TRUEANSWERB", "FALSEANSWERB", "LEVELUP"}) {
            QImage image(50, 50, QImage::Format_RGB32);
            image.fill(QColor(200, 190, 160));
            l.addBitmap(QLatin1String(name), image);
        }
        for (int id = 1; id <= 5; ++id) {
            QImage image(50, 50, QImage::Format_RGB32);
            image.fill(QColor(id * 40, 100, 100));
            l.addBitmap(id, image);
        }
        return l;
    }();
    return library;
}

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
