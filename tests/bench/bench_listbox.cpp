// Full repaints of the puzzle list as the game and collection screens set it
// up: 450 × 456 (game) or 345 × 456 (collection), 18 rows of 22 pixels, every
// row filled, one highlighted.
#include "FakeResourceLibrary.h"
#include "WidgetBenchMain.h"
#include "controls/FlatListBoxEx.h"
#include "core/Errors.h"
#include "core/ProblemListModel.h"
#include "core/User.h"
#include "platform/ResourceLibrary.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

namespace
{

QImage square(QColor colour)
{
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

struct Screen {
    TProblemsList level;
    TProblemListModel model;
    QWidget form;
    platform::FakeResourceLibrary media;
    std::unique_ptr<TFlatListBoxEx> list;

    explicit Screen(bool game)
    {
        form.resize(800, 600);
        media.addBitmap("mDIFF1", square(Qt::green));
        media.addBitmap("mDIFF2", square(Qt::yellow));
        media.addBitmap("mDIFF3", square(Qt::red));
        media.addBitmap("S1", square(Qt::lightGray));
        media.addBitmap("S2", square(Qt::blue));
        list = std::make_unique<TFlatListBoxEx>(&form);
        list->BeginLoad();
        list->setGeometry(5, 80, game ? 450 : 345, 460);
        list->SetItemHeight(22);
        list->SetScrollBars(true);
        list->SetColor(QColor(253, 237, 196));
        list->SetColorArrow(game ? QColor(128, 128, 0) : QColor(0, 0, 0));
        list->SetColorBorder(QColor(128, 128, 128));
        list->SetColorItemsSelect(QColor(253, 237, 196));
        list->SetGameMode(game);
        QFont font("Comic Sans MS");
        font.setPixelSize(17);
        list->setFont(font);
        list->Loaded(&media);
        // The game's model reads a level's progress; the collection's has none.
        if (game)
            model.SetLevelEntries(&level);
        for (int i = 0; i < 30; ++i) {
            level.Add(ProblemId(i));
            *level.FindEntry(ProblemId(i)) =
                LevelEntry{ProblemId(i), std::uint8_t(i % 2), 0, std::uint16_t(i % 5)};
            model.Add(TProblem(ProblemId(i), std::uint8_t(i % 3),
                               QStringLiteral("Головоломка номер %1 про часы").arg(i), "", ""));
        }
        list->SetModel(&model);
        try {
            model.Select(3);
        } catch (const ELoadError &) {
            // No files behind the records: only the highlight matters here.
        }
        list->SetTopIndex(1);
    }
};

// The list drawn into an image of its size, as a paint does.
void runDraw(benchmark::State &state, bool game)
{
    Screen screen(game);
    QImage image(screen.list->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        screen.list->DrawList(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_ListDrawGameLook(benchmark::State &state)
{
    runDraw(state, true);
}
void BM_ListDrawCollectionLook(benchmark::State &state)
{
    runDraw(state, false);
}

// A whole repaint through the window system's back buffer.
void BM_ListRepaintGameLook(benchmark::State &state)
{
    Screen screen(true);
    screen.form.show();
    QApplication::processEvents();
    for (auto _ : state)
        screen.list->repaint();
}

BENCHMARK(BM_ListDrawGameLook)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_ListDrawCollectionLook)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ListRepaintGameLook)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
