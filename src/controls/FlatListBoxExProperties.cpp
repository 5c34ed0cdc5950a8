// The puzzle list's layout properties: row height, arrow strips and colours.
#include "controls/FlatListBoxEx.h"

#include <QEvent>
#include <algorithm>

void TFlatListBoxEx::catchUpResize()
{
    // A hidden widget hears of a new size only when it is shown; the row
    // count that the height snapping keeps must follow the size now.
    if (!loading_ && testAttribute(Qt::WA_PendingResizeEvent)) {
        snapHeight();
        RebuildRows();
    }
}

void TFlatListBoxEx::SetItemHeight(int height)
{
    catchUpResize();
    height = std::max(1, height);
    if (height == itemHeight_)
        return;
    itemHeight_ = height;
    if (!loading_) {
        const int target = snappedHeight(visibleRows_);
        if (target != this->height())
            resize(width(), target);
    }
    RebuildRows();
}

void TFlatListBoxEx::SetScrollBars(bool on)
{
    if (on == scrollBars_)
        return;
    catchUpResize();
    scrollBars_ = on;
    if (!loading_)
        resize(width(), std::max(0, height() + (on ? 20 : -20)));
    RebuildRows();
}

QColor TFlatListBoxEx::parentBackground() const
{
    const QWidget *p = parentWidget();
    if (!p)
        return palette().color(QPalette::Window);
    return p->palette().color(p->backgroundRole());
}

QColor TFlatListBoxEx::Color() const
{
    if (parentColor_ && parentWidget())
        return parentBackground();
    return color_;
}

void TFlatListBoxEx::SetColor(const QColor &color)
{
    color_ = color;
    parentColor_ = false;
    if (useAdvColors_)
        recomputeBorder();
    update();
}

void TFlatListBoxEx::SetParentColor(bool on)
{
    if (on == parentColor_)
        return;
    if (!on)
        color_ = Color(); // keeps showing the colour it had
    parentColor_ = on;
    if (useAdvColors_)
        recomputeBorder();
    update();
}

void TFlatListBoxEx::setColour(QColor &field, const QColor &value)
{
    if (field == value)
        return;
    field = value;
    update();
}

void TFlatListBoxEx::SetGameMode(bool on)
{
    if (on == gameMode_)
        return;
    gameMode_ = on;
    update();
}

QColor TFlatListBoxEx::DeriveBorderColor(const QColor &base, int strength)
{
    // Darkens each channel by the given share, as the flat widgets do.
    strength = std::clamp(strength, 0, 100);
    auto channel = [strength](int c) { return c - c * strength / 100; };
    return QColor(channel(base.red()), channel(base.green()), channel(base.blue()));
}

void TFlatListBoxEx::recomputeBorder()
{
    colorBorder_ = DeriveBorderColor(Color(), advColorBorder_);
}

void TFlatListBoxEx::SetUseAdvColors(bool on)
{
    if (on == useAdvColors_)
        return;
    useAdvColors_ = on;
    SetParentColor(on);
    if (on)
        recomputeBorder();
    update();
}

void TFlatListBoxEx::SetAdvColorBorder(int strength)
{
    if (strength < 0 || strength > 100 || strength == advColorBorder_)
        return;
    advColorBorder_ = strength;
    if (useAdvColors_)
        recomputeBorder();
    update();
}

void TFlatListBoxEx::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::ParentChange:
    case QEvent::StyleChange:
        // The parent's colour or the system colours changed.
        if (useAdvColors_) {
            parentColor_ = true;
            recomputeBorder();
        }
        update();
        break;
    case QEvent::EnabledChange:
    case QEvent::FontChange:
        update();
        break;
    default:
        break;
    }
}
