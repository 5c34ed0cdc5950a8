#include "screens/ScreenParts.h"

#include "platform/ResourceLibrary.h"
#include "platform/desktop/GameApplication.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdio>

namespace screens {

QImage mediaBitmap(const QString &name)
{
    const platform::IResourceLibrary *library = platform::mediaLibrary();
    if (!library)
        throw platform::EResourceError(QStringLiteral("Resource %1 not found").arg(name).toStdString());
    return library->loadBitmap(name);
}

void ReportError(const QString &message)
{
    platform::reportError(message);
}

}  // namespace screens

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

TGlyphButton::TGlyphButton(QWidget *parent) : TFlatButton(parent) {}

void TGlyphButton::setGlyph(const QImage &glyph)
{
    glyph_ = glyph;
    update();
}

void TGlyphButton::paintEvent(QPaintEvent *event)
{
    if (glyph_.isNull()) {
        TFlatButton::paintEvent(event);
        return;
    }
    // The flat button's face, with the picture and the caption centred together.
    QPainter p(this);
    const TFlatButtonColors c = colors();
    const bool down = isDown();
    const QRect r = rect();
    paintFace(p, zw::toQColor(down ? c.down : (highlighted() && isEnabled() ? c.focused : c.face)));
    const int shift = down ? 1 : 0;
    const int gap = 4;
    const int textWidth = QFontMetrics(font()).horizontalAdvance(text());
    const int left = std::max(3, (r.width() - glyph_.width() - gap - textWidth) / 2) + shift;
    p.drawImage(left, (r.height() - glyph_.height()) / 2 + shift, glyph_);
    p.setFont(font());
    p.setPen(isEnabled() ? QColor(Qt::black) : zw::toQColor(zw::clGray));
    const QRect textRect(left + glyph_.width() + gap, r.top() + shift, r.width() - left - glyph_.width() - gap, r.height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
}

#include "screens/MessageBoxForm.h"

TMessageBoxForm &screens::Messages()
{
    if (!MessageBoxForm)
        MessageBoxForm = new TMessageBoxForm;
    return *MessageBoxForm;
}
