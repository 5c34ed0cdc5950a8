// The screens on the stage at the process's scale: a full repaint of the game
// screen, and the screen changes a player waits for (the game screen and the
// collection opened and painted, the verdict box laid out and painted).
//
//   build/release/bench/bench_display                      # 800 x 600, factor 1
//   ZENTRIKA_BENCH_SCALE=1.8 build/release/bench/bench_display   # as at 1920 x 1080
//   ZENTRIKA_BENCH_WINDOW=1000x750 build/release/bench/bench_display   # a window the
//       player resized to 1000 x 750 pixels: factor 1.25, set while the game runs
//
// Runs offscreen; Qt scales exactly as on a real display at that factor.
#include "FakeResourceLibrary.h"
#include "ScreenBenchMain.h"
#include "core/User.h"
#include "platform/ResourceLibrary.h"
#include "screens/GameForm.h"
#include "screens/MessageBoxForm.h"
#include "screens/ProblemsForm.h"
#include "widgets/Stage.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace
{

// The game's own puzzles, as the build puts them beside the game.
const QString Puzzles = QStringLiteral(ZENTRIKA_GAME_DIR);

// The verdict box shown and painted, without waiting for the player's OK.
class PaintedBox : public TMessageBoxForm
{
  public:
    PaintedBox() : TMessageBoxForm(&screenBenchMedia()) {}

  protected:
    int Execute() override
    {
        show();
        repaint();
        hide();
        return mrOk;
    }
};

TStage *stage()
{
    static TStage *s = [] {
        auto *st = new TStage(QSize(800, 600));
        // The main menu underneath, as in the game.
        auto *menu = new TForm;
        menu->setStage(st);
        benchContext().stage = st; // the screens show there too
        menu->setClientSize(800, 600);
        menu->show();
        const QStringList window = qEnvironmentVariable("ZENTRIKA_BENCH_WINDOW").split(QLatin1Char('x'));
        if (window.size() == 2) {
            // The scale follows the window's size, as when the player drags it.
            st->setScalesWithWindow(true);
            st->show();
            QApplication::processEvents();
            const double now = st->devicePixelRatioF();
            st->resize(qRound(window[0].toInt() / now), qRound(window[1].toInt() / now));
        } else {
            st->showFullScreenOrWindow(true);
        }
        QApplication::processEvents();
        return st;
    }();
    return s;
}

void BM_GameScreenFullRepaint(benchmark::State &state)
{
    stage();
    auto player = TUser::CreateNew(QStringLiteral("Bench"), 1);
    auto *form = new TGameForm(benchContext(), *player, nullptr, Puzzles);
    form->show();
    QApplication::processEvents();
    for (auto _ : state)
        form->repaint();
    state.counters["device_px"] = form->width() * form->devicePixelRatioF();
    state.counters["scale"] = form->devicePixelRatioF();
    form->hide();
    delete form;
}
BENCHMARK(BM_GameScreenFullRepaint)->Unit(benchmark::kMillisecond);

template <class Open> void openAndPaint(benchmark::State &state, Open open)
{
    stage();
    for (auto _ : state) {
        TForm *form = open();
        form->show();
        form->repaint();
        state.PauseTiming();
        form->hide();
        delete form;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_MenuToGameScreenPainted(benchmark::State &state)
{
    auto player = TUser::CreateNew(QStringLiteral("Bench"), 1);
    openAndPaint(state, [&] { return new TGameForm(benchContext(), *player, nullptr, Puzzles); });
}
BENCHMARK(BM_MenuToGameScreenPainted)->Unit(benchmark::kMillisecond);

void BM_MenuToCollectionPainted(benchmark::State &state)
{
    openAndPaint(state, [] { return new TProblemsForm(benchContext(), nullptr, Puzzles); });
}
BENCHMARK(BM_MenuToCollectionPainted)->Unit(benchmark::kMillisecond);

void BM_AnswerOkToVerdictPainted(benchmark::State &state)
{
    PaintedBox box;
    box.setStage(stage());
    for (auto _ : state)
        box.ShowTrueAnswer();
}
BENCHMARK(BM_AnswerOkToVerdictPainted)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (const QByteArray scale = qgetenv("ZENTRIKA_BENCH_SCALE"); !scale.isEmpty()) {
        qputenv("QT_SCALE_FACTOR", scale);
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    }
    return runScreenBenchmarks(argc, argv, &screenBenchMedia());
}
