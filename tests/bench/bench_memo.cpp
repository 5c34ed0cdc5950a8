// Memos at the factor of a 1920 x 1080 screen (1.8). StrokePainted: one stroke
// of 10 mouse moves drawn over a memo of 60 strokes, each move's piece painted
// as the event loop paints it, and the stroke kept as the button is released. SelectionChange: a selection
// change on each puzzle screen, picture and pad painted, with no memo anywhere (as before memos) and with a
// memo on every puzzle, side by side in one run.
//
//   build/release/bench/bench_memo --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
//
// QT_SCALE_FACTOR, when set, takes the place of 1.8.
#include "FakeResourceLibrary.h"
#include "ScreenBenchMain.h"
#include "core/DataFile.h"
#include "core/MemoBook.h"
#include "core/User.h"
#include "platform/Registry.h"
#include "platform/ResourceLibrary.h"
#include "platform/UserStore.h"
#include "screens/GameForm.h"
#include "screens/ProblemsForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

constexpr int kPuzzles = 20;

// Twenty puzzles on one of the collection's pictures, JPEG only.
void writePack(const QString &dir)
{
    const QString game = QStringLiteral(ZENTRIKA_GAME_DIR);
    QDir().mkpath(dir + QStringLiteral("/Data"));
    QDir().mkpath(dir + QStringLiteral("/Images"));
    QFile::copy(game + QStringLiteral("/Data/071.dat"), dir + QStringLiteral("/Data/071.dat"));
    QFile::copy(game + QStringLiteral("/Images/071.jpg"), dir + QStringLiteral("/Images/071.jpg"));
    std::vector<CatalogueEntry> entries;
    for (int i = 0; i < kPuzzles; ++i)
        entries.push_back({ProblemId(i + 1), i % 3, QStringLiteral("Головоломка номер %1").arg(i + 1),
                           QStringLiteral("071.jpg"), QStringLiteral("071.dat")});
    QFile list(dir + QStringLiteral("/list.lst"));
    if (list.open(QIODevice::WriteOnly))
        list.write(encodeCatalogue(entries));
}

// Sixty strokes of twenty points scribbled over the picture.
TMemo scribble()
{
    TMemo m;
    for (int s = 0; s < 60; ++s) {
        MemoStroke stroke{s % 3 ? MemoInk::Pen : MemoInk::Red, 2.5, {}};
        for (int i = 0; i < 20; ++i)
            stroke.points.emplace_back(20 + (s * 7) % 400 + i * 1.5, 20 + (s * 13) % 420 + (i % 5) * 3.0);
        m.Add(stroke);
    }
    return m;
}

void drainEvents()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

void mouse(QWidget *w, QEvent::Type type, QPointF at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void BM_MemoStrokePainted(benchmark::State &state)
{
    QTemporaryDir dir;
    writePack(dir.path());
    auto *form = new TProblemsForm(benchContext(), nullptr, dir.path());
    form->show();
    drainEvents();
    const TMemo base = scribble();
    form->MemoPad->SetMemo(base);
    form->MemoButtonClick();
    form->MemoPad->repaint();
    for (auto _ : state) {
        mouse(form->MemoPad, QEvent::MouseButtonPress, {100, 100});
        QApplication::processEvents();
        for (int i = 1; i <= 10; ++i) {
            mouse(form->MemoPad, QEvent::MouseMove, {100.0 + i * 4, 100.0 + (i % 8) * 3});
            QApplication::processEvents();
        }
        mouse(form->MemoPad, QEvent::MouseButtonRelease, {140, 106});
        QApplication::processEvents();
        state.PauseTiming();
        form->MemoPad->SetMemo(base);
        form->MemoPad->repaint(); // the finished strokes drawn again, outside the timing
        state.ResumeTiming();
    }
    state.counters["scale"] = form->devicePixelRatioF();
    form->EndMemo();
    form->hide();
    delete form;
}
BENCHMARK(BM_MemoStrokePainted)->Unit(benchmark::kMillisecond);

template <class Form> void selectionChanges(benchmark::State &state, Form *form)
{
    form->show();
    drainEvents();
    int position = 0;
    for (auto _ : state) {
        position = 1 - position;
        emit form->ProblemsList->rowChosen(position);
        form->ProblemImage->repaint();
        form->MemoPad->repaint();
        state.PauseTiming();
        drainEvents();
        state.ResumeTiming();
    }
    state.counters["scale"] = form->devicePixelRatioF();
    state.counters["memo"] = !form->MemoPad->Memo().IsEmpty();
    form->hide();
    delete form;
}

void BM_CollectionSelectionChange(benchmark::State &state, bool memos)
{
    QTemporaryDir dir;
    writePack(dir.path());
    for (int i = 1; i <= kPuzzles; ++i)
        benchContext().memos->Put(ProblemId(i), memos ? scribble() : TMemo());
    selectionChanges(state, new TProblemsForm(benchContext(), nullptr, dir.path()));
}
BENCHMARK_CAPTURE(BM_CollectionSelectionChange, NoMemos, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CollectionSelectionChange, Memos, true)->Unit(benchmark::kMillisecond);

// The game reads each puzzle's memo from the player's store on first choice.
void BM_GameSelectionChange(benchmark::State &state, bool memos)
{
    QTemporaryDir dir;
    writePack(dir.path());
    platform::UserStore &store = benchContext().store;
    auto player = TUser::CreateNew(QStringLiteral("Bench"), 1);
    delete new TGameForm(benchContext(), *player, nullptr, dir.path()); // draws the level
    player->SaveToRegistry(store.get());
    for (int i = 0; memos && i < player->LevelList.Count(); ++i)
        TPlayerMemos::Store(store.get(), player->KeyPath(), player->LevelList.GetItem(i).Id, scribble());
    selectionChanges(state, new TGameForm(benchContext(), *player, nullptr, dir.path()));
}
BENCHMARK_CAPTURE(BM_GameSelectionChange, NoMemos, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_GameSelectionChange, Memos, true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "1.8");
    return runScreenBenchmarks(argc, argv, &screenBenchMedia());
}
