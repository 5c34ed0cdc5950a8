// The collection's filter over 10,000 puzzles: one typed letter, from the
// index's answer to the list redrawn, beside the index's answer alone and the
// folding of every title that building the index costs once.
#include "FakeResourceLibrary.h"
#include "WidgetBenchMain.h"
#include "controls/FlatListBoxEx.h"
#include "core/ProblemFilter.h"
#include "core/ProblemListModel.h"
#include "core/Stars.h"
#include "platform/ResourceLibrary.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

namespace
{

constexpr int kPuzzles = 10000;

// Titles of two or three made-up words, with ё and capitals among them.
QString title(int n)
{
    static const QStringList syllables{QStringLiteral("ка"), QStringLiteral("ро"), QStringLiteral("мё"),
                                       QStringLiteral("ли"), QStringLiteral("Ту"), QStringLiteral("зе"),
                                       QStringLiteral("по"), QStringLiteral("Ёж"), QStringLiteral("ни"),
                                       QStringLiteral("са"), QStringLiteral("вы"), QStringLiteral("ду")};
    QString text;
    unsigned x = unsigned(n) * 2654435761u + 12345u;
    const int words = 2 + int(x % 2);
    for (int w = 0; w < words; ++w) {
        if (w)
            text += QLatin1Char(' ');
        for (int s = 0; s < 3; ++s) {
            x = x * 1103515245u + 12345u;
            text += syllables[int((x >> 16) % unsigned(syllables.size()))];
        }
    }
    return text;
}

struct Collection {
    std::vector<std::unique_ptr<TProblem>> records;
    TProblemIndex index;
    TStars stars;

    Collection()
    {
        std::vector<const TProblem *> pointers;
        for (int i = 0; i < kPuzzles; ++i) {
            records.push_back(
                std::make_unique<TProblem>(ProblemId(i + 1), std::uint8_t(i % 3), title(i), "", ""));
            pointers.push_back(records.back().get());
        }
        index.Assign(pointers);
        for (int i = 0; i < kPuzzles; ++i)
            index.SetKind(i, std::uint8_t(i % 5));
    }
};

QImage square(QColor colour)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The letters a player types and takes back in turn: each step a new list.
const QString kTyped[] = {QStringLiteral("е"), QStringLiteral("ё"), QStringLiteral("к"),
                          QStringLiteral("ка")};

void BM_FilterIndexOnly(benchmark::State &state)
{
    Collection c;
    int step = 0;
    for (auto _ : state) {
        ProblemFilter filter;
        filter.title = kTyped[step++ % 4];
        benchmark::DoNotOptimize(c.index.Shown(filter, c.stars));
    }
}

// What the screen does for a letter: the index's answer, the model's shown
// puzzles, the list's rows laid out again and drawn.
void BM_FilterTypedLetter(benchmark::State &state)
{
    Collection c;
    TProblemListModel model;
    for (const auto &record : c.records)
        model.Add(*record);
    QWidget form;
    form.resize(800, 600);
    platform::FakeResourceLibrary media;
    media.addBitmap("mDIFF1", square(Qt::green));
    media.addBitmap("mDIFF2", square(Qt::yellow));
    media.addBitmap("mDIFF3", square(Qt::red));
    media.addBitmap("S1", square(Qt::lightGray));
    media.addBitmap("S2", square(Qt::blue));
    TFlatListBoxEx list(&form);
    list.BeginLoad();
    list.setGeometry(5, 132, 345, 408);
    list.SetItemHeight(22);
    list.SetScrollBars(true);
    QFont font("Comic Sans MS");
    font.setPixelSize(17);
    list.setFont(font);
    list.Loaded(&media);
    list.SetModel(&model);
    QImage image(list.size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        ProblemFilter filter;
        filter.title = kTyped[step++ % 4];
        model.SetShown(c.index.Shown(filter, c.stars));
        list.SetTopIndex(0);
        QPainter painter(&image);
        list.DrawList(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["shown"] = model.Count();
}

void BM_FilterBuildIndex(benchmark::State &state)
{
    Collection c;
    std::vector<const TProblem *> pointers;
    for (const auto &record : c.records)
        pointers.push_back(record.get());
    for (auto _ : state) {
        TProblemIndex index;
        index.Assign(pointers);
        benchmark::DoNotOptimize(index.Count());
    }
}

BENCHMARK(BM_FilterIndexOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterTypedLetter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterBuildIndex)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
