#include "widgets/Shape.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QTimer>

QImage zw::renderSharp(QSvgRenderer &svg, QSize logical, qreal ratio)
{
    const QSize pixels = (QSizeF(logical) * ratio).toSize();
    if (!svg.isValid() || pixels.isEmpty())
        return {};
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

TShape::TShape(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::setPenColor(zw::ColorValue v)
{
    pen_ = v;
    update();
}

void TShape::setBrushColor(std::optional<zw::ColorValue> v)
{
    brush_ = v;
    update();
}

void TShape::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (brush_)
        p.fillRect(rect(), zw::toQColor(*brush_));
    p.setPen(zw::toQColor(pen_));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TPictureBox::TPictureBox(QWidget *parent) : QWidget(parent) {}

TPictureBox::~TPictureBox() = default;

void TPictureBox::setPicture(const QImage &image)
{
    setPicture(image, QByteArray());
}

void TPictureBox::setPicture(const QImage &image, const QByteArray &sharpSource)
{
    picture_ = image;
    // The same shared bytes are the same source: a refresh of one puzzle keeps
    // what was drawn.
    if (sharpSource.constData() != sharpSource_.constData() || sharpSource.size() != sharpSource_.size()) {
        sharpSource_ = sharpSource;
        sharpRenderer_.reset();
        sharpBroken_ = false;
        sharpDrawn_ = {};
    }
    update();
}

void TPictureBox::clearPicture()
{
    setPicture(QImage(), QByteArray());
}

QRect TPictureBox::pictureRect() const
{
    if (stretch_)
        return rect();
    if (center_)
        return QRect(QPoint((width() - picture_.width()) / 2, (height() - picture_.height()) / 2),
                     picture_.size());
    return QRect(QPoint(0, 0), picture_.size());
}

const QImage *TPictureBox::drawnSharp(QSize logical, qreal ratio) const
{
    for (const QImage &drawn : sharpDrawn_) {
        if (!drawn.isNull() && drawn.devicePixelRatio() == ratio &&
            drawn.deviceIndependentSize().toSize() == logical)
            return &drawn;
    }
    return nullptr;
}

void TPictureBox::drawSharpLater()
{
    if (sharpPending_)
        return;
    sharpPending_ = true;
    QTimer::singleShot(0, this, [this] {
        sharpPending_ = false;
        drawSharpNow();
    });
}

void TPictureBox::drawSharpNow()
{
    const qreal ratio = devicePixelRatioF();
    const QSize logical = pictureRect().size();
    if (picture_.isNull() || sharpSource_.isEmpty() || sharpBroken_ || ratio <= 1.0 ||
        drawnSharp(logical, ratio))
        return;
    if (!sharpRenderer_)
        sharpRenderer_ = std::make_unique<QSvgRenderer>(sharpSource_);
    QImage image = zw::renderSharp(*sharpRenderer_, logical, ratio);
    if (image.isNull()) {
        sharpBroken_ = true;
        return;
    }
    std::swap(sharpDrawn_[0], sharpDrawn_[1]);
    sharpDrawn_[0] = std::move(image);
    update();
}

void TPictureBox::setStretch(bool on)
{
    stretch_ = on;
    update();
}

void TPictureBox::setCenter(bool on)
{
    center_ = on;
    update();
}

void TPictureBox::paintEvent(QPaintEvent *)
{
    if (picture_.isNull())
        return;
    QPainter p(this);
    const qreal ratio = devicePixelRatioF();
    if (!sharpSource_.isEmpty() && ratio > 1.0) {
        const QRect target = pictureRect();
        if (const QImage *sharp = drawnSharp(target.size(), ratio)) {
            p.drawImage(target.topLeft(), *sharp);
            return;
        }
        if (!sharpBroken_)
            drawSharpLater();
    }
    if (stretch_) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), picture_);
    } else if (center_) {
        p.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2, picture_);
    } else {
        p.drawImage(0, 0, picture_);
    }
}
