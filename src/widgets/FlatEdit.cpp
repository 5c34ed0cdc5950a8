#include "widgets/FlatEdit.h"

#include <QEvent>
#include <QPainter>

TFlatEdit::TFlatEdit(QWidget *parent) : QLineEdit(parent)
{
    setFrame(false);
    setAttribute(Qt::WA_Hover);
    setTextMargins(3, 0, 3, 0);
    setFont(zw::gameFont(11));
    adjustHeight();
    refreshColors();
}

int TFlatEdit::heightFor(const QFont &font)
{
    return QFontMetrics(font).height() + 6;
}

void TFlatEdit::adjustHeight()
{
    resize(width(), heightFor(font()));
}

void TFlatEdit::setColorFlat(zw::ColorValue v)
{
    colorFlat_ = v;
    refreshColors();
}
void TFlatEdit::setColorFocused(zw::ColorValue v)
{
    colorFocused_ = v;
    refreshColors();
}
void TFlatEdit::setColorBorder(zw::ColorValue v)
{
    colorBorder_ = v;
    update();
}

QColor TFlatEdit::currentBackground() const
{
    const bool hot = hasFocus() || pointerOver_;
    return zw::toQColor(hot ? colorFocused_ : colorFlat_);
}

void TFlatEdit::refreshColors()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, currentBackground());
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    update();
}

void TFlatEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        adjustHeight();
}

bool TFlatEdit::event(QEvent *event)
{
    const bool handled = QLineEdit::event(event);
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::Leave:
        pointerOver_ = event->type() == QEvent::Enter;
        refreshColors();
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        refreshColors();
        break;
    default:
        break;
    }
    return handled;
}

void TFlatEdit::paintEvent(QPaintEvent *event)
{
    {
        QPainter p(this);
        p.fillRect(rect(), currentBackground());
    }
    QLineEdit::paintEvent(event);
    QPainter p(this);
    p.setPen(zw::toQColor(colorBorder_));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
