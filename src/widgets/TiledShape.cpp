#include "widgets/TiledShape.h"

#include <QPaintEvent>
#include <QPainter>

TTiledShape::TTiledShape(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TTiledShape::setTile(const QImage &tile)
{
    tile_ = tile;
    update();
}

void TTiledShape::paintEvent(QPaintEvent *event)
{
    if (tile_.isNull())
        return;
    QPainter p(this);
    p.drawTiledPixmap(event->rect(), QPixmap::fromImage(tile_), event->rect().topLeft());
}
