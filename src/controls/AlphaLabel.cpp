#include "controls/AlphaLabel.h"

#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <QtMath>
#include <algorithm>
#include <cmath>

TAlphaLabel::TAlphaLabel(QWidget *parent) : TLabel(parent), timer_(new QTimer(this))
{
    setTransparent(true);
    // The label only shows a description; the pointer belongs to what lies below.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    surface_ = QImage(100, 100, QImage::Format_RGB32);
    surface_.fill(Qt::white);
    snapshot_ = QImage(100, 100, QImage::Format_RGB32);
    snapshot_.fill(Qt::white);
    setShowTime(1000);
    timer_->setInterval(TickMs);
    connect(timer_, &QTimer::timeout, this, &TAlphaLabel::FadeTick);
}

void TAlphaLabel::setAlpha(std::uint8_t value)
{
    alpha_ = value;
    update();
}

void TAlphaLabel::setShowTime(std::uint16_t ms)
{
    showTime_ = ms;
    const double range = double(maxAlpha_) - double(minAlpha_);
    // Below 10 ms a fade would need more than one full range per tick: it
    // then takes a single tick.
    if (ms < TickMs) {
        fadeStep_ = 255;
        return;
    }
    const double step = std::nearbyint(range / (double(ms) / TickMs));
    fadeStep_ = std::uint8_t(std::clamp(step, 0.0, 255.0));
}

void TAlphaLabel::setMinAlpha(std::uint8_t value)
{
    if (value < maxAlpha_)
        minAlpha_ = value;
}

void TAlphaLabel::setMaxAlpha(std::uint8_t value)
{
    if (value > minAlpha_)
        maxAlpha_ = value;
}

void TAlphaLabel::FadeIn()
{
    fadingIn_ = true;
    timer_->start();
}

void TAlphaLabel::FadeOut()
{
    fadingIn_ = false;
    timer_->start();
}

bool TAlphaLabel::isFading() const
{
    return timer_->isActive();
}

void TAlphaLabel::FadeTick()
{
    if (fadingIn_) {
        if (int(alpha_) + fadeStep_ > 254) {
            timer_->stop();
            setAlpha(255);
        } else {
            setAlpha(std::uint8_t(alpha_ + fadeStep_));
        }
    } else {
        if (fadeStep_ < alpha_) {
            setAlpha(std::uint8_t(alpha_ - fadeStep_));
        } else {
            timer_->stop();
            setAlpha(0);
        }
    }
}

QImage TAlphaLabel::resized(const QImage &image, QSize size, qreal ratio)
{
    QImage out(size, QImage::Format_RGB32);
    out.setDevicePixelRatio(ratio);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(0, 0, image);
    return out;
}

qreal TAlphaLabel::surfaceRatio() const
{
    // Qt's painter draws no image below one pixel per logical pixel; a game
    // shrunk below its picture's size draws this at full size and shrinks it.
    return std::max<qreal>(1.0, devicePixelRatioF());
}

QSize TAlphaLabel::surfaceSize() const
{
    // In the display's pixels, so that a scaled game draws the caption sharp.
    const qreal ratio = surfaceRatio();
    return QSize(qCeil(width() * ratio), qCeil(height() * ratio)).expandedTo(QSize(1, 1));
}

void TAlphaLabel::Loaded()
{
    const QSize s = surfaceSize();
    if (surface_.size() != s || surface_.devicePixelRatio() != surfaceRatio()) {
        surface_ = resized(surface_, s, surfaceRatio());
        snapshot_ = resized(snapshot_, s, surfaceRatio());
    }
    snapshotNeeded_ = true;
}

void TAlphaLabel::resizeEvent(QResizeEvent *event)
{
    TLabel::resizeEvent(event);
    Loaded();
}

void TAlphaLabel::takeSnapshot()
{
    snapshotNeeded_ = false;
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    // The parent's own drawing only, without its children: this label among
    // them would otherwise draw itself into its own background.
    snapshot_.fill(Qt::white);
    // At a fractional scale the surface's last row and column of pixels
    // reach past the label's edge; the background there must be real too.
    const QRect area = snapshot_.devicePixelRatio() == 1.0 ? geometry() : geometry().adjusted(0, 0, 1, 1);
    parent->render(&snapshot_, QPoint(), QRegion(area), QWidget::DrawWindowBackground);
}

void TAlphaLabel::Compose(QImage &surface, const QImage &snapshot, std::uint8_t alpha)
{
    const int w = std::min(surface.width(), snapshot.width());
    const int h = std::min(surface.height(), snapshot.height());
    if (w <= 0 || h <= 0)
        return;
    const QRgb key = surface.pixel(0, 0) & 0xFFFFFFu;
    const unsigned a = alpha;
    for (int y = 0; y < h; ++y) {
        auto *s = reinterpret_cast<QRgb *>(surface.scanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(snapshot.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = s[x];
            const QRgb q = b[x];
            if ((p & 0xFFFFFFu) == key) {
                s[x] = q | 0xFF000000u;
                continue;
            }
            const unsigned r = blendChannel(a, (p >> 16) & 0xFF, (q >> 16) & 0xFF);
            const unsigned g = blendChannel(a, (p >> 8) & 0xFF, (q >> 8) & 0xFF);
            const unsigned bl = blendChannel(a, p & 0xFF, q & 0xFF);
            s[x] = 0xFF000000u | (r << 16) | (g << 8) | bl;
        }
    }
}

void TAlphaLabel::paintEvent(QPaintEvent *)
{
    // Faded out, the label shows what lies below, which its parent has
    // painted already: no snapshot, no composition (four of them on the
    // menu's first paint). The first step of a fade takes the snapshot.
    if (alpha_ == 0 && !testAttribute(Qt::WA_OpaquePaintEvent) && !autoFillBackground())
        return;
    if (surface_.size() != surfaceSize() || surface_.devicePixelRatio() != surfaceRatio())
        Loaded();
    if (snapshotNeeded_)
        takeSnapshot();
    {
        // The caption the standard way, over what the surface holds. Without
        // smoothing: the text is drawn again over every composition, and
        // smoothed edges would darken a little more each time.
        QPainter p(&surface_);
        QFont f = font();
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        p.setPen(isEnabled() ? zw::toQColor(textColor()) : zw::toQColor(zw::clGray));
        int flags = int(alignment());
        if (wordWrap())
            flags |= Qt::TextWordWrap;
        p.drawText(QRect(QPoint(0, 0), size()), flags, caption());
    }
    Compose(surface_, snapshot_, alpha_);
    QPainter screen(this);
    screen.drawImage(0, 0, surface_);
}
