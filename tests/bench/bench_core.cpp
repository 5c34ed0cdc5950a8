// Speed of the puzzle core: catalogue loading, data-file loading and the
// profile's registry round trip.
#include "CoreBenchMain.h"
#include "core/Catalogue.h"
#include "core/DataFile.h"
#include "core/User.h"
#include "platform/Codepage.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace
{

QTemporaryDir &tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

// A game folder whose list.lst has n sections like the real ones.
QString catalogueDir(int n)
{
    const QString dir = tempDir().filePath(QStringLiteral("cat%1").arg(n));
    if (!QFile::exists(dir + "/list.lst")) {
        QString text;
        for (int i = 0; i < n; ++i)
            text += QStringLiteral("[%1]\r\nDifficult=%2\r\nName=Головоломка номер "
                                   "%1\r\nImageFN=%1.jpg\r\nDataFN=%1.dat\r\n\r\n")
                        .arg(i + 1)
                        .arg(i % 3);
        writeFile(dir + "/list.lst", platform::toCp1251(text));
    }
    return dir;
}

void BM_LoadCatalogue(benchmark::State &state)
{
    const int n = int(state.range(0));
    const QString dir = catalogueDir(n);
    // Memory held by a loaded catalogue, measured once outside the timed loop
    // (asking malloc for its figures reorganises the heap).
    std::size_t heap = 0;
    {
        TCatalogue catalogue(dir);
        const std::size_t before = mallinfo2().uordblks;
        catalogue.LoadCatalogue();
        heap = mallinfo2().uordblks - before;
    }
    for (auto _ : state) {
        TCatalogue catalogue(dir);
        catalogue.LoadCatalogue();
        benchmark::DoNotOptimize(catalogue.Items().data());
        catalogue.FreeCatalogue();
    }
    state.counters["sections"] = n;
    state.counters["heap_bytes_per_section"] = double(heap) / n;
}
// Repetitions give the median; the three sizes show the memory growing linearly.
BENCHMARK(BM_LoadCatalogue)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_LoadDataWithoutPicture(benchmark::State &state)
{
    PuzzleDataFile f;
    f.statement = QByteArray(32 * 1024, 'a');
    f.solution = QByteArray(32 * 1024, 'b');
    f.kind = AnswerChoice;
    f.answer = AnswerValue::fromText(QStringLiteral("Мост"));
    f.lines = QStringList{QStringLiteral("Что это?"), QStringLiteral("Мост"), QStringLiteral("Река"),
                          QStringLiteral("Лес")};
    const QString path = tempDir().filePath("Data/big.dat");
    writeFile(path, encodeDataFile(f));
    TProblem p(1, 1, QStringLiteral("big"), QString(), path);
    for (auto _ : state) {
        p.LoadDataWithoutPicture();
        benchmark::DoNotOptimize(p.StatementText.constData());
        p.UnloadData();
    }
    state.SetBytesProcessed(state.iterations() * 64 * 1024);
}
BENCHMARK(BM_LoadDataWithoutPicture)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

std::unique_ptr<TUser> fullProfile()
{
    auto user = TUser::CreateNew(QStringLiteral("Вася"), 1);
    for (int i = 0; i < 170; ++i)
        user->UsedIds.Add(ProblemId(i + 1));
    for (int i = 0; i < 33; ++i)
        user->LevelList.Add(ProblemId(i + 1));
    return user;
}

platform::Registry &benchRegistry()
{
    static platform::Registry reg(tempDir().filePath("registry.sqlite3"));
    return reg;
}

void BM_SaveToRegistry(benchmark::State &state)
{
    auto user = fullProfile();
    for (auto _ : state) {
        ++user->Scores;
        user->SaveToRegistry(benchRegistry());
    }
}
BENCHMARK(BM_SaveToRegistry)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CreateFromRegistry(benchmark::State &state)
{
    auto user = fullProfile();
    user->SaveToRegistry(benchRegistry());
    for (auto _ : state) {
        auto back = TUser::CreateFromRegistry(user->KeyPath(), benchRegistry());
        benchmark::DoNotOptimize(back.get());
    }
}
BENCHMARK(BM_CreateFromRegistry)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return runCoreBenchmarks(argc, argv);
}
