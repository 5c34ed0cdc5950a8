#include "widgets/Shape.h"

#include <QPainter>

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

void TPictureBox::setPicture(const QImage &image)
{
    picture_ = image;
    update();
}

void TPictureBox::clearPicture()
{
    picture_ = QImage();
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
    if (stretch_) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), picture_);
    } else if (center_) {
        p.drawImage((width() - picture_.width()) / 2, (height() - picture_.height()) / 2, picture_);
    } else {
        p.drawImage(0, 0, picture_);
    }
}
