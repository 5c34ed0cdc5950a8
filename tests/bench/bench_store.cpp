// Cost of what the game does with the player store at start: the health check
// of a store of 100 players (it must stay well under 5 ms) and a backup copy.
#include "CoreBenchMain.h"
#include "core/User.h"
#include "platform/Registry.h"
#include "platform/StoreFiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace
{

// 100 players well into the game: full used-id lists and a level list each,
// with the three in-store backups that a long history leaves.
const QString &storeOf100()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("registry.sqlite3"));
    static bool made = false;
    if (!made) {
        platform::Registry registry(path);
        for (int p = 0; p < 100; ++p) {
            auto user = TUser::CreateNew(QStringLiteral("Игрок %1").arg(p), std::uint8_t(1 + p % 5));
            for (int i = 0; i < 77; ++i)
                user->UsedIds.Add(ProblemId(i * 3 + p));
            for (int i = 0; i < 33; ++i)
                user->LevelList.Add(ProblemId(i * 3 + p));
            for (int save = 0; save < 4; ++save) {
                user->Scores = 30 + save;
                user->SaveToRegistry(registry);
            }
        }
        made = true;
    }
    return path;
}

void BM_QuickCheck100Players(benchmark::State &state)
{
    const QString &path = storeOf100();
    for (auto _ : state) {
        const auto health = platform::store::check(path);
        if (!health.ok)
            state.SkipWithError("the store is not healthy");
    }
}
BENCHMARK(BM_QuickCheck100Players)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_BackupFile100Players(benchmark::State &state)
{
    platform::Registry registry(storeOf100());
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::store::writeBackup(registry));
}
BENCHMARK(BM_BackupFile100Players)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return runCoreBenchmarks(argc, argv);
}
