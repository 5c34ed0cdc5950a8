// The answer viewer's re-format for one zoom step, and the opening of the
// viewer and of the answer dialog, on a 20 KB solution.
#include "WidgetBenchMain.h"
#include "core/Problem.h"
#include "screens/ReplyForm.h"
#include "screens/SolutionForm.h"
#include "widgets/RichTextView.h"
#include "widgets/richtext/RtfWriter.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace
{

QByteArray solution20k()
{
    QVector<richtext::RtfParagraph> ps;
    QByteArray rtf;
    for (int i = 0; rtf.size() < 20 * 1024; ++i) {
        richtext::RtfParagraph p;
        richtext::RtfRun a, b;
        a.text =
            QStringLiteral("Шаг %1. Разложим монеты на три кучки и сравним две из них на весах; ").arg(i + 1);
        b.text = QStringLiteral("лёгкая кучка укажет, где искать дальше.");
        b.bold = i % 3 == 0;
        p.runs = {a, b};
        ps.append(p);
        rtf = richtext::writeRtf(ps);
    }
    return rtf;
}

void BM_ViewerZoomStep(benchmark::State &state)
{
    TSolutionForm viewer(nullptr, solution20k());
    viewer.show();
    QCoreApplication::processEvents();
    int step = 3;
    int direction = 1;
    for (auto _ : state) {
        if (step == 5 || step == 1)
            direction = -direction;
        step += direction;
        viewer.SetZoom(step);
        // The layout the next paint needs.
        benchmark::DoNotOptimize(viewer.AnswerText->lineCount());
    }
    viewer.hide();
}
BENCHMARK(BM_ViewerZoomStep)->Unit(benchmark::kMillisecond);

void BM_ViewerOpen(benchmark::State &state)
{
    const QByteArray text = solution20k();
    for (auto _ : state) {
        TSolutionForm viewer(nullptr, text);
        viewer.show();
        benchmark::DoNotOptimize(viewer.AnswerText->lineCount());
        viewer.hide();
    }
}
BENCHMARK(BM_ViewerOpen)->Unit(benchmark::kMillisecond);

class Puzzle : public TProblem
{
  public:
    Puzzle() : TProblem(1, 0, QString(), QString(), QString())
    {
        AnswerKind = AnswerNumbers;
        Lines = {QStringLiteral("Сколько в корзине яблок, груш и слив?"), QStringLiteral("Яблок"),
                 QStringLiteral("Груш"), QStringLiteral("Слив")};
    }
};

void BM_AnswerDialogOpen(benchmark::State &state)
{
    Puzzle p;
    for (auto _ : state) {
        TReplyForm form(nullptr, p);
        form.show();
        QCoreApplication::processEvents();
        form.hide();
    }
}
BENCHMARK(BM_AnswerDialogOpen)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
