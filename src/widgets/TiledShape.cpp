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
    // A logical pixel more on each side: at a fractional factor the edge
    // rows of display pixels of a part drawn again are otherwise left out.
    const QRect r = event->rect().adjusted(-1, -1, 1, 1) & rect();
    p.drawTiledPixmap(r, QPixmap::fromImage(tile_), r.topLeft());
}
