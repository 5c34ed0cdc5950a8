#pragma once
// Plain drawn decorations: a rectangle shape and a picture box.
#include "widgets/Colors.h"

#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

class QSvgRenderer;

namespace zw
{
// The SVG drawn onto white at `logical` size times `ratio` in pixels, the
// result tagged with that device pixel ratio; null when it cannot be drawn.
QImage renderSharp(QSvgRenderer &svg, QSize logical, qreal ratio);
} // namespace zw

class TShape : public QWidget
{
    Q_OBJECT
  public:
    explicit TShape(QWidget *parent = nullptr);
    void setPenColor(zw::ColorValue v);
    // No brush: the shape is an outline over what lies below.
    void setBrushColor(std::optional<zw::ColorValue> v);
    zw::ColorValue penColor() const { return pen_; }
    std::optional<zw::ColorValue> brushColor() const { return brush_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    zw::ColorValue pen_ = zw::clGray;
    std::optional<zw::ColorValue> brush_;
};

class TPictureBox : public QWidget
{
    Q_OBJECT
  public:
    explicit TPictureBox(QWidget *parent = nullptr);
    ~TPictureBox() override;
    void setPicture(const QImage &image);
    // With the picture's SVG source (already checked as safe): where the
    // display's pixels are finer than the logical ones, the source is drawn at
    // the shown size instead of the bitmap being stretched; the bitmap stays
    // for factor 1 and for a source that cannot be drawn. Drawing a source
    // with much lettering takes longer than a selection may, so a new size is
    // drawn once the event queue is empty, over the bitmap shown meanwhile.
    void setPicture(const QImage &image, const QByteArray &sharpSource);
    void clearPicture();
    const QImage &picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    // Stretched fills the box; otherwise the picture sits unscaled at the top-left.
    void setStretch(bool on);
    bool stretch() const { return stretch_; }
    void setCenter(bool on);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    QRect pictureRect() const;
    const QImage *drawnSharp(QSize logical, qreal ratio) const;
    void drawSharpLater();
    void drawSharpNow();

    QImage picture_;
    bool stretch_ = false;
    bool center_ = false;
    QByteArray sharpSource_;
    std::unique_ptr<QSvgRenderer> sharpRenderer_; // parsed on first need
    bool sharpPending_ = false;
    bool sharpBroken_ = false; // the source cannot be drawn: the bitmap only
    // The last two sizes drawn: the game screen shows the thumbnail and the
    // whole picture of one puzzle in turn.
    std::array<QImage, 2> sharpDrawn_;
};
