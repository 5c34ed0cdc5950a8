#include "widgets/GlyphButton.h"

#include <QPainter>
#include <algorithm>

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
    const QRect textRect(left + glyph_.width() + gap, r.top() + shift,
                         r.width() - left - glyph_.width() - gap, r.height());
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
}
