// Puzzle pictures at the factor of a 1920 x 1080 screen (1.8): a selection
// change on each puzzle screen, picture painted, with a pack that holds JPEGs
// only (as before) and with the same pack carrying the SVG sources, which the
// screens then draw at the shown size. Sharp: until the first paint (the
// stretched JPEG while the source waits for an empty queue); SharpPainted:
// until the source is drawn and painted too. All run in one process, side by side.
//
//   build/release/bench/bench_pictures --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
//
// QT_SCALE_FACTOR, when set, takes the place of 1.8.
#include "FakeResourceLibrary.h"
#include "ScreenBenchMain.h"
#include "core/DataFile.h"
#include "core/User.h"
#include "platform/ResourceLibrary.h"
#include "screens/GameForm.h"
#include "screens/ProblemsForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

// The collection's two most detailed pictures, as the build put them beside the game.
const char *const kPictures[] = {"100", "071"};

// A catalogue of 20 puzzles that share those two pictures and data files,
// with or without the SVG sources beside the JPEGs.
void writePack(const QString &dir, bool sharp)
{
    const QString game = QStringLiteral(ZENTRIKA_GAME_DIR);
    QDir().mkpath(dir + QStringLiteral("/Data"));
    QDir().mkpath(dir + QStringLiteral("/Images"));
    for (const char *stem : kPictures) {
        const QString s = QLatin1String(stem);
        QFile::copy(game + QStringLiteral("/Data/") + s + QStringLiteral(".dat"),
                    dir + QStringLiteral("/Data/") + s + QStringLiteral(".dat"));
        for (const char *ext : {".jpg", ".svg"}) {
            if (sharp || QLatin1String(ext) == QLatin1String(".jpg"))
                QFile::copy(game + QStringLiteral("/Images/") + s + QLatin1String(ext),
                            dir + QStringLiteral("/Images/") + s + QLatin1String(ext));
        }
    }
    std::vector<CatalogueEntry> entries;
    for (int i = 0; i < 20; ++i) {
        const QString s = QLatin1String(kPictures[i % 2]);
        entries.push_back({ProblemId(i + 1), i % 3, QStringLiteral("Головоломка номер %1").arg(i + 1),
                           s + QStringLiteral(".jpg"), s + QStringLiteral(".dat")});
    }
    QFile list(dir + QStringLiteral("/list.lst"));
    if (list.open(QIODevice::WriteOnly))
        list.write(encodeCatalogue(entries));
}

enum class Until {
    FirstPaint,  // the selection shown, the picture painted from what is ready
    SharpPainted // and the SVG source drawn and painted, once the queue is empty
};

// The event queue emptied, so that the source drawn later is painted.
void drainEvents()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// Switches between the first two puzzles of the shown screen and paints the picture.
template <class Form> void selectionChanges(benchmark::State &state, Form *form, Until until)
{
    form->show();
    drainEvents();
    int position = 0;
    for (auto _ : state) {
        position = 1 - position;
        emit form->ProblemsList->rowChosen(position);
        form->ProblemImage->repaint();
        if (until == Until::SharpPainted) {
            drainEvents();
        } else {
            state.PauseTiming();
            drainEvents(); // the work left for later, outside the timing
            state.ResumeTiming();
        }
    }
    state.counters["scale"] = form->devicePixelRatioF();
    state.counters["sharp"] = form->Problems.Selected() && !form->Problems.Selected()->PictureSvg.isEmpty();
    form->hide();
    delete form;
}

struct Variant {
    bool sharp;
    Until until;
};

void BM_GameSelectionChangeAtScale(benchmark::State &state, Variant v)
{
    QTemporaryDir dir;
    writePack(dir.path(), v.sharp);
    auto player = TUser::CreateNew(QStringLiteral("Bench"), 1);
    selectionChanges(state, new TGameForm(benchContext(), *player, nullptr, dir.path()), v.until);
}
BENCHMARK_CAPTURE(BM_GameSelectionChangeAtScale, Jpeg, Variant{false, Until::FirstPaint})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GameSelectionChangeAtScale, Sharp, Variant{true, Until::FirstPaint})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GameSelectionChangeAtScale, SharpPainted, Variant{true, Until::SharpPainted})
    ->Unit(benchmark::kMillisecond);

void BM_CollectionSelectionChangeAtScale(benchmark::State &state, Variant v)
{
    QTemporaryDir dir;
    writePack(dir.path(), v.sharp);
    selectionChanges(state, new TProblemsForm(benchContext(), nullptr, dir.path()), v.until);
}
BENCHMARK_CAPTURE(BM_CollectionSelectionChangeAtScale, Jpeg, Variant{false, Until::FirstPaint})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CollectionSelectionChangeAtScale, Sharp, Variant{true, Until::FirstPaint})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CollectionSelectionChangeAtScale, SharpPainted, Variant{true, Until::SharpPainted})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "1.8");
    return runScreenBenchmarks(argc, argv, &screenBenchMedia());
}
