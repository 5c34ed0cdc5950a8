// The statistics screen's figures from a log of 100,000 records (the most a
// player keeps; the screen must open in 100 ms), from memory and read from
// the store, and the read of a log grown to a million rows, which stays bounded.
#include "CoreBenchMain.h"
#include "core/AnswerStats.h"
#include "core/User.h"
#include "platform/AnswerLogStore.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace
{

constexpr qint64 kNow = 1796212800;

// A long game: a few hundred events a day for a year, all kinds mixed.
std::vector<AnswerRecord> madeUpLog(int n)
{
    std::vector<AnswerRecord> log;
    log.reserve(std::size_t(n));
    qint64 points = 30;
    for (int i = 0; i < n; ++i) {
        AnswerRecord r;
        r.Time = kNow - qint64(n - i) * 300;
        r.Event = 1 + (i % 7 == 0 ? 1 : i % 13 == 0 ? 3 : 0);
        r.Puzzle = 1 + i % 500;
        r.Difficult = i % 3;
        r.AnswerKind = i % 5;
        r.ScoresBefore = points;
        points += r.Event == 1 ? 10 : -4;
        r.ScoresAfter = points;
        r.Seconds = 20 + i % 400;
        r.Level = 1 + i / 20000;
        log.push_back(r);
    }
    return log;
}

answerstats::Options options()
{
    answerstats::Options o;
    o.now = kNow;
    o.zone = QTimeZone::systemTimeZone();
    return o;
}

void BM_StatsFrom100kRecords(benchmark::State &state)
{
    const std::vector<AnswerRecord> log = madeUpLog(100000);
    TUser player;
    for (auto _ : state)
        benchmark::DoNotOptimize(answerstats::compute(log, player, options()));
}
BENCHMARK(BM_StatsFrom100kRecords)->Unit(benchmark::kMillisecond);

// A store holding one player with `rows` log rows.
struct LogStore {
    QTemporaryDir dir;
    std::unique_ptr<platform::Registry> registry;
    explicit LogStore(int rows)
    {
        registry = std::make_unique<platform::Registry>(dir.filePath(QStringLiteral("registry.sqlite3")));
        auto user = TUser::CreateNew(QStringLiteral("Вася"), 1);
        user->SaveToRegistry(*registry);
        const qint64 id = registry->keyId(user->KeyPath());
        std::vector<platform::answerlog::Row> batch;
        for (const AnswerRecord &r : madeUpLog(rows)) {
            batch.push_back({0,
                             r.Time,
                             r.Event,
                             r.Puzzle,
                             r.Difficult,
                             r.AnswerKind,
                             r.ScoresBefore,
                             r.ScoresAfter,
                             r.Seconds,
                             r.Level,
                             {}});
        }
        // Written past the bound on purpose: a log another build let grow.
        platform::answerlog::append(*registry, id, batch, rows);
    }
};

// What the screen does as it opens: the log read from the store, then the figures.
void BM_StatsScreenFiguresFromTheStore(benchmark::State &state)
{
    LogStore store(int(state.range(0)));
    const auto player = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), *store.registry);
    for (auto _ : state) {
        const answerlog::Loaded log = answerlog::load(*store.registry, player->KeyPath());
        benchmark::DoNotOptimize(answerstats::compute(log.records, *player, options()));
    }
}
BENCHMARK(BM_StatsScreenFiguresFromTheStore)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runCoreBenchmarks(argc, argv);
}
