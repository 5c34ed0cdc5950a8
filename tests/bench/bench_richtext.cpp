// Reading and laying out puzzle statements, and re-formatting them for a new type size.
#include "WidgetBenchMain.h"
#include "controls/RichEditEx.h"
#include "widgets/RichTextView.h"
#include "widgets/richtext/RtfReader.h"
#include "widgets/richtext/RtfWriter.h"

#include <QApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace
{

// About 20 KB of RTF: Russian paragraphs with the emphasis and colours puzzle texts use.
QByteArray statement()
{
    using richtext::RtfParagraph;
    using richtext::RtfRun;
    const QString words = QString::fromUtf8(
        "Жили-были три кота, и каждый утром пил молоко из своей миски. Первый кот выпил на два "
        "стакана больше второго, а третий столько же, сколько первые два вместе. ");
    QVector<RtfParagraph> ps;
    QByteArray rtf;
    for (int i = 0; rtf.size() < 20 * 1024; ++i) {
        ps.append(
            RtfParagraph{{RtfRun{words, false, false, false, {}},
                          RtfRun{QString::fromUtf8("Сколько молока"), true, false, false, {}},
                          RtfRun{QString::fromUtf8(" выпили коты?"), false, true, false, QColor(200, 0, 0)},
                          RtfRun{words, false, false, false, {}}}});
        rtf = richtext::writeRtf(ps);
    }
    return rtf;
}

RichTextView::Format viewerFormat(double points)
{
    RichTextView::Format f;
    f.face = "Comic Sans MS";
    f.pointSize = points;
    f.startIndent = 25;
    f.offset = -23;
    f.rightIndent = 2;
    return f;
}

void BM_ReadRtf(benchmark::State &state)
{
    const QByteArray rtf = statement();
    QTextDocument doc;
    for (auto _ : state)
        benchmark::DoNotOptimize(richtext::readRtf(rtf, &doc));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

// What the text viewer does with a new statement: read it, format it, count its lines at 344 px.
void BM_ReadAndLayoutAt344(benchmark::State &state)
{
    const QByteArray rtf = statement();
    RichTextView view;
    view.resize(344, 460);
    view.show();
    for (auto _ : state) {
        view.setRtf(rtf);
        view.formatAll(viewerFormat(10));
        benchmark::DoNotOptimize(view.lineCount());
    }
    state.counters["lines"] = view.lineCount();
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_ReadAndLayoutAt344)->Unit(benchmark::kMillisecond);

// One zoom step: the whole text re-formatted at the next size and laid out again.
void BM_ReformatOneZoomStep(benchmark::State &state)
{
    RichTextView view;
    view.resize(344, 460);
    view.show();
    view.setRtf(statement());
    bool larger = false;
    for (auto _ : state) {
        larger = !larger;
        view.formatAll(viewerFormat(larger ? 11 : 10));
        benchmark::DoNotOptimize(view.lineCount());
    }
}
BENCHMARK(BM_ReformatOneZoomStep)->Unit(benchmark::kMillisecond);

// The puzzle text viewer stepping its type size: re-format, measure, size the bar.
void BM_ViewerFontLevelStep(benchmark::State &state)
{
    QWidget owner;
    owner.resize(800, 600);
    auto *viewer = new TRichEditEx(&owner);
    viewer->SetEditWidth(344);
    viewer->setGeometry(20, 20, 344, 459);
    owner.show();
    viewer->SetText(statement());
    bool larger = false;
    for (auto _ : state) {
        larger = !larger;
        viewer->SetFontLevel(larger ? 4 : 3);
    }
    state.counters["bar_max"] = viewer->ScrollBar()->Max();
}
BENCHMARK(BM_ViewerFontLevelStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
