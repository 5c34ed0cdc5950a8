// One fade tick of the main menu's largest description: the caption drawn over
// the surface and the 257 x 72 composition with the snapshot.
#include "WidgetBenchMain.h"
#include "controls/AlphaLabel.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace
{

QImage backdrop(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, qRgb(x % 256, (x * y) % 256, 180));
    return img;
}

// The composition alone, at a changing alpha as in a fade.
void BM_Compose257x72(benchmark::State &state)
{
    const QImage snapshot = backdrop({257, 72});
    QImage surface(257, 72, QImage::Format_RGB32);
    surface.fill(Qt::white);
    {
        QPainter p(&surface);
        QFont f(QStringLiteral("Sans"));
        f.setPixelSize(13);
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        p.setPen(QColor(0, 0, 128));
        p.drawText(
            surface.rect(), Qt::AlignRight | Qt::TextWordWrap,
            QStringLiteral("   Войти в игровой режим. Здесь вам предложат пройти по нескольким уровням и "
                           "набрать максимальное кол-во очков, решая головоломки."));
    }
    const QImage start = surface;
    std::uint8_t alpha = 0;
    for (auto _ : state) {
        state.PauseTiming();
        surface = start;
        surface.detach();
        state.ResumeTiming();
        TAlphaLabel::Compose(surface, snapshot, alpha);
        benchmark::DoNotOptimize(surface.constBits());
        alpha = std::uint8_t(alpha + 5);
    }
}
BENCHMARK(BM_Compose257x72);

// A whole tick: the alpha step and the label's paint (caption drawn over the
// surface, composition, copy to the target).
void BM_FadeTickRepaint(benchmark::State &state)
{
    QWidget parent;
    parent.resize(800, 600);
    auto *label = new TAlphaLabel(&parent);
    QFont f(QStringLiteral("Sans"));
    f.setPixelSize(13);
    label->setFont(f);
    label->setTextColor(128u << 16);
    label->setAutoSize(false);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label->setCaption(
        QStringLiteral("   Войти в игровой режим. Здесь вам предложат пройти по нескольким уровням и "
                       "набрать максимальное кол-во очков, решая головоломки."));
    label->setGeometry(8, 424, 257, 72);
    label->setAlpha(0);
    label->setShowTime(500);
    QImage target(label->size(), QImage::Format_RGB32);
    label->render(&target); // the first paint takes the snapshot
    for (auto _ : state) {
        if (!label->isFading())
            label->Alpha() == 255 ? label->FadeOut() : label->FadeIn();
        label->FadeTick();
        label->render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_FadeTickRepaint);

} // namespace

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
