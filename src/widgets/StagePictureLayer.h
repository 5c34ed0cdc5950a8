#pragma once
// The stage's layer that draws the picture to the display's pixel (TStage only).
#include "platform/desktop/WindowScale.h"
#include "widgets/Stage.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <QWidget>

// The colour around the picture: dark, so the eye stays on the game.
inline const QColor StageBorderColour(28, 26, 23);

// Qt places widgets on whole logical pixels: at a fractional factor the
// picture's place in the middle falls inside one (x = 133.33 at 1.8 on a
// 1920 x 1080 screen), and the board, 239 display pixels from the left, leaves
// 241 on the right. Below a factor of 1 Qt's painter draws nothing smaller
// than one device pixel per logical pixel (it takes a smaller ratio as 1),
// while geometry and input follow any factor. In both cases this layer lies
// over the whole stage: it renders the board and draws it where the picture
// belongs, to the display's pixel, shrunk below 1. Input passes through to
// the forms, which lie within half a logical pixel of where the picture shows
// them; the screen reader reads the forms themselves.
class TStage::PictureLayer : public QWidget
{
  public:
    PictureLayer(TStage *stage) : QWidget(stage), stage_(stage)
    {
        setObjectName(QStringLiteral("PictureLayer"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // Not opaque: Qt then drops the updates of the forms under it.
        hide();
    }

    // Where the picture was last drawn, in the window's display pixels.
    QRect drawn() const { return drawn_; }

  protected:
    void paintEvent(QPaintEvent *event) override
    {
        QWidget *board = stage_->board();
        const double f = platform::windowScale(stage_->windowHandle());
        const QRect target = stage_->pictureTarget();
        // The dirty part of the picture, from the display's pixels into the
        // board's, a pixel wider for the filter and the rounding.
        const QRectF asked(QPointF(event->rect().topLeft()) * f, QSizeF(event->rect().size()) * f);
        const QRectF dirty = asked.translated(-QPointF(target.topLeft()));
        QRect source = QRectF(dirty.topLeft() / f, dirty.size() / f).toAlignedRect().adjusted(-2, -2, 2, 2) &
                       board->rect();
        QPainter p(this);
        // In the display's pixels, whatever ratio the painter took.
        const double unit = p.deviceTransform().m11();
        p.setWorldTransform(QTransform::fromScale(1.0 / unit, 1.0 / unit));
        // The border only: the picture, opaque, covers its own part, and at
        // full screen filling under it would write every pixel twice.
        for (const QRect &r : QRegion(asked.toAlignedRect()) - QRegion(target))
            p.fillRect(r, StageBorderColour);
        if (f >= 1.0) {
            // From a factor of 1 up the board's pixels are the display's:
            // rendered straight into the window from the picture's corner,
            // with no picture-sized copy between.
            p.setClipRect(target, Qt::IntersectClip);
            p.setWorldTransform(QTransform(f / unit, 0, 0, f / unit, target.x() / unit, target.y() / unit));
            p.fillRect(source, StageBorderColour);
            board->render(&p, QPoint(), QRegion(source), QWidget::DrawChildren);
        } else {
            drawShrunk(p, board, source, target);
        }
        drawn_ = target;
        followUp(event->region());
    }

  private:
    // Below a factor of 1 the board is rendered at its own size and drawn
    // shrunk into the picture's place.
    void drawShrunk(QPainter &p, QWidget *board, QRect source, const QRect &target)
    {
        if (cache_.size() != board->size() || cache_.devicePixelRatio() != 1.0) {
            cache_ = QImage(board->size(), QImage::Format_RGB32);
            source = board->rect();
        }
        if (!source.isEmpty()) {
            QPainter c(&cache_);
            c.fillRect(source, StageBorderColour);
            c.end();
            board->render(&cache_, source.topLeft(), QRegion(source), QWidget::DrawChildren);
        }
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRectF(target), cache_);
    }

    // The picture lies a fraction of a logical pixel off the forms under it:
    // what a form repaints may show a display pixel beyond the part Qt asks
    // this layer for. That pixel follows at once; the paint that brings it
    // asks for nothing more.
    void followUp(const QRegion &asked)
    {
        if (!awaited_.isEmpty() && (asked - awaited_).isEmpty()) {
            awaited_ = QRegion();
            return;
        }
        for (const QRect &r : asked)
            pending_ += r.adjusted(-1, -1, 1, 1);
        if (posted_)
            return;
        posted_ = true;
        QTimer::singleShot(0, this, [this] {
            posted_ = false;
            awaited_ = pending_;
            pending_ = QRegion();
            update(awaited_);
        });
    }

    TStage *stage_;
    QImage cache_;
    QRect drawn_;
    QRegion pending_, awaited_;
    bool posted_ = false;
};
