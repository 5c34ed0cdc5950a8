#include "widgets/Label.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>
#include <algorithm>

TLabel::TLabel(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(zw::gameFont(13));
    adjustBounds();
}

void TLabel::setCaption(const QString &text)
{
    const bool changed = text != text_;
    text_ = text;
    adjustBounds();
    update();
    // The caption is the label's accessible name: a screen reader that keeps
    // names (the score, the level) hears of the new one.
    if (changed && accessibleName().isEmpty() && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void TLabel::setAutoSize(bool on)
{
    autoSize_ = on;
    adjustBounds();
}

void TLabel::setWordWrap(bool on)
{
    wordWrap_ = on;
    adjustBounds();
    update();
}

void TLabel::setAlignment(Qt::Alignment a)
{
    alignment_ = a;
    update();
}

void TLabel::setTextColor(zw::ColorValue v)
{
    color_ = v;
    update();
}

void TLabel::setTransparent(bool on)
{
    transparent_ = on;
    update();
}

void TLabel::setBackground(zw::ColorValue v)
{
    background_ = v;
    transparent_ = false;
    update();
}

void TLabel::setConstraints(int minWidth, int maxWidth, int minHeight, int maxHeight)
{
    minWidth_ = minWidth;
    maxWidth_ = maxWidth;
    minHeight_ = minHeight;
    maxHeight_ = maxHeight;
    adjustBounds();
}

int TLabel::textWidth() const
{
    return QFontMetrics(font()).horizontalAdvance(text_);
}

QSize TLabel::sizeHint() const
{
    const QFontMetrics fm(font());
    if (wordWrap_) {
        const QRect r = fm.boundingRect(QRect(0, 0, std::max(1, width()), 100000),
                                        int(Qt::TextWordWrap | alignment_), text_);
        return {width(), std::max(fm.height(), r.height())};
    }
    return {fm.horizontalAdvance(text_), fm.height()};
}

void TLabel::adjustBounds()
{
    if (adjusting_ || !autoSize_)
        return;
    adjusting_ = true;
    QSize s = sizeHint();
    int w = s.width(), h = s.height();
    if (minWidth_ > 0)
        w = std::max(w, minWidth_);
    if (maxWidth_ > 0)
        w = std::min(w, maxWidth_);
    if (minHeight_ > 0)
        h = std::max(h, minHeight_);
    if (maxHeight_ > 0)
        h = std::min(h, maxHeight_);
    resize(w, h);
    adjusting_ = false;
}

void TLabel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        adjustBounds();
}

void TLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!transparent_)
        p.fillRect(rect(), zw::toQColor(background_));
    p.setFont(font());
    p.setPen(isEnabled() ? zw::toQColor(color_) : zw::toQColor(zw::clGray));
    int flags = int(alignment_);
    if (wordWrap_)
        flags |= Qt::TextWordWrap;
    p.drawText(rect(), flags, text_);
}
