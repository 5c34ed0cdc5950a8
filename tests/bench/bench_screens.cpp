// The statistics screen opening over a log of 100,000 records (read, figures,
// the first paint). The puzzle screens: a selection change on the game screen (data file, JPEG
// decode, thumbnail, UpdateView) against a bare decode and scale of the same
// picture, the same with puzzles that carry hints, showing one more hint in
// the text, and the collection screen's resident memory by catalogue size.
//
//   build/release/bench/bench_screens --benchmark_repetitions=9 --benchmark_report_aggregates_only=true
//
// The memory figures are counters of BM_CollectionResident (kilobytes of
// resident memory the open screen adds); run each size in a process of its own:
//   build/release/bench/bench_screens --benchmark_filter='CollectionResident/100/'
//   build/release/bench/bench_screens --benchmark_filter='CollectionResident/10000/'
#include "FakeResourceLibrary.h"
#include "ScreenBenchMain.h"
#include "core/DataFile.h"
#include "core/User.h"
#include "platform/AnswerLogStore.h"
#include "platform/ResourceLibrary.h"
#include "platform/UserStore.h"
#include "screens/GameForm.h"
#include "screens/ProblemsForm.h"
#include "screens/StatisticsForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <unistd.h>

namespace
{

platform::FakeResourceLibrary &media()
{
    static platform::FakeResourceLibrary library = [] {
        platform::FakeResourceLibrary l;
        for (const char *name :
             {"TEXTURE", "GAMEPANEL", "ListPanel", "DIFF1", "DIFF2", "DIFF3", "COST0", "COST10", "COST20",
              "COST30", "COST40", "PRICE", "mDIFF1", "mDIFF2", "mDIFF3", "S1", "S2"}) {
            QImage image(50, 50, QImage::Format_RGB32);
            image.fill(QColor(200, 190, 160));
            l.addBitmap(QLatin1String(name), image);
        }
        return l;
    }();
    return library;
}

// A picture with the detail of a drawing, so that the JPEG decoder has real work.
QImage illustration(int seed)
{
    QImage image(440, 460, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 440, 460);
    g.setColorAt(0, QColor(250, 240, 210));
    g.setColorAt(1, QColor(120 + seed * 20, 160, 200));
    p.fillRect(image.rect(), g);
    QRandomGenerator random(quint32(seed + 1));
    for (int i = 0; i < 300; ++i) {
        p.setPen(QPen(QColor::fromRgb(random.generate()), random.bounded(1, 6)));
        p.drawLine(random.bounded(440), random.bounded(460), random.bounded(440), random.bounded(460));
    }
    return image;
}

// Writes a catalogue of `count` puzzles; all share `pictures` pictures and
// data files, each with `hints` hints of a few lines.
void writeCatalogue(const QString &dir, int count, int pictures, int hints = 0)
{
    QDir().mkpath(dir + QStringLiteral("/Data"));
    QDir().mkpath(dir + QStringLiteral("/Images"));
    for (int k = 0; k < pictures; ++k) {
        PuzzleDataFile data;
        data.kind = AnswerInteger;
        data.answer = AnswerValue::fromInteger(k);
        data.lines = {QStringLiteral("Сколько?")};
        QByteArray statement = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 ";
        for (int i = 0; i < 20; ++i)
            statement += "A puzzle statement of a usual length, one paragraph of several lines.\\par ";
        data.statement = statement + "}";
        data.solution = "{\\rtf1\\ansi Solution\\par}";
        for (int h = 0; h < hints; ++h)
            data.hints.append("{\\rtf1\\ansi A hint of a usual length: two or three lines that point the way "
                              "to the answer without giving it away.\\par}");
        QFile f(dir + QStringLiteral("/Data/p%1.dat").arg(k));
        if (f.open(QIODevice::WriteOnly))
            f.write(encodeDataFile(data));
        illustration(k).save(dir + QStringLiteral("/Images/p%1.jpg").arg(k), "JPG", 85);
    }
    std::vector<CatalogueEntry> entries;
    entries.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        const int k = i % pictures;
        entries.push_back({ProblemId(i + 1), i % 3, QStringLiteral("Головоломка номер %1").arg(i + 1),
                           QStringLiteral("p%1.jpg").arg(k), QStringLiteral("p%1.dat").arg(k)});
    }
    QFile list(dir + QStringLiteral("/list.lst"));
    if (list.open(QIODevice::WriteOnly))
        list.write(encodeCatalogue(entries));
}

long residentKb()
{
    long pages = 0, resident = 0;
    if (FILE *f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The game screen switching between two puzzles of its level, whose data
// files carry the given number of hints.
void runGameSelectionChange(benchmark::State &state, int hints)
{
    QTemporaryDir dir;
    writeCatalogue(dir.path(), 20, 2, hints);
    auto player = TUser::CreateNew(QStringLiteral("Bench"), 1);
    auto *form = new TGameForm(benchContext(), *player, nullptr, dir.path());
    int position = 0;
    for (auto _ : state) {
        position = 1 - position;
        emit form->ProblemsList->rowChosen(position);
    }
    benchmark::DoNotOptimize(form->Thumbnail().constBits());
    delete form;
}

void BM_GameSelectionChange(benchmark::State &state)
{
    runGameSelectionChange(state, 0);
}
BENCHMARK(BM_GameSelectionChange)->Unit(benchmark::kMillisecond);

// The same with three hints in every data file and the hint button kept up to date.
void BM_GameSelectionChangeWithHints(benchmark::State &state)
{
    runGameSelectionChange(state, 3);
}
BENCHMARK(BM_GameSelectionChangeWithHints)->Unit(benchmark::kMillisecond);

// One press of «подсказка» in the text: the statement laid out again with one
// more hint under it and scrolled to it. The collection's, which asks no
// price; the game shows its hints through the same code. Each round starts
// from another puzzle, outside the timing.
void BM_ShowHint(benchmark::State &state)
{
    QTemporaryDir dir;
    writeCatalogue(dir.path(), 20, 2, 3);
    auto *form = new TProblemsForm(benchContext(), nullptr, dir.path());
    int position = 0;
    int shown = 3;
    for (auto _ : state) {
        if (shown == 3) {
            state.PauseTiming();
            position = 1 - position;
            emit form->ProblemsList->rowChosen(position);
            form->SetTextMode(true);
            shown = 0;
            state.ResumeTiming();
        }
        form->HintButtonClick();
        ++shown;
    }
    delete form;
}
BENCHMARK(BM_ShowHint)->Unit(benchmark::kMillisecond);

// The collection screen switching between two puzzles.
void BM_CollectionSelectionChange(benchmark::State &state)
{
    QTemporaryDir dir;
    writeCatalogue(dir.path(), 20, 2);
    auto *form = new TProblemsForm(benchContext(), nullptr, dir.path());
    int position = 0;
    for (auto _ : state) {
        position = 1 - position;
        emit form->ProblemsList->rowChosen(position);
    }
    delete form;
}
BENCHMARK(BM_CollectionSelectionChange)->Unit(benchmark::kMillisecond);

// What a selection change cannot do without: decode the JPEG and scale it.
void BM_BareDecodeAndScale(benchmark::State &state)
{
    QTemporaryDir dir;
    writeCatalogue(dir.path(), 2, 2);
    int k = 0;
    for (auto _ : state) {
        k = 1 - k;
        QImage picture(dir.path() + QStringLiteral("/Images/p%1.jpg").arg(k));
        QImage thumbnail = picture.convertToFormat(QImage::Format_RGB888)
                               .scaled(TGameForm::ThumbnailWidth, TGameForm::ThumbnailHeight,
                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(thumbnail.constBits());
    }
}
BENCHMARK(BM_BareDecodeAndScale)->Unit(benchmark::kMillisecond);

// Resident memory the open collection screen adds, by catalogue size.
void BM_CollectionResident(benchmark::State &state)
{
    QTemporaryDir dir;
    writeCatalogue(dir.path(), int(state.range(0)), 3);
    const long before = residentKb();
    auto *form = new TProblemsForm(benchContext(), nullptr, dir.path());
    const long after = residentKb();
    for (auto _ : state)
        benchmark::DoNotOptimize(form->Problems.Selected());
    delete form;
    state.counters["resident_kb"] = double(after - before);
}
BENCHMARK(BM_CollectionResident)->Arg(100)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The screen as the player selection opens it: the log read from the store,
// the figures computed, the charts filled and painted once.
void BM_StatisticsScreenOpens(benchmark::State &state)
{
    QTemporaryDir dir;
    platform::UserStore store(dir.filePath(QStringLiteral("registry.sqlite3")));
    platform::Registry &registry = store.get();
    auto user = TUser::CreateNew(QStringLiteral("Вася"), 1);
    user->SaveToRegistry(registry);
    const qint64 now = 1796212800;
    std::vector<platform::answerlog::Row> rows;
    qint64 points = 30;
    for (int i = 0; i < 100000; ++i) {
        const qint64 event = i % 7 == 0 ? 2 : i % 13 == 0 ? 4 : 1;
        const qint64 before = points;
        points += event == 1 ? 10 : -4;
        rows.push_back({0,
                        now - qint64(100000 - i) * 300,
                        event,
                        1 + i % 500,
                        i % 3,
                        i % 5,
                        before,
                        points,
                        20 + i % 400,
                        1 + i / 20000,
                        {}});
    }
    platform::answerlog::append(registry, registry.keyId(user->KeyPath()), rows);
    const auto player = TUser::CreateFromRegistry(user->KeyPath(), registry);
    GameContext context{media(), store, QString()};
    for (auto _ : state) {
        auto *form = new TStatisticsForm(context, *player, nullptr, now);
        benchmark::DoNotOptimize(form->grab());
        delete form;
    }
}
BENCHMARK(BM_StatisticsScreenOpens)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runScreenBenchmarks(argc, argv, &media());
}
