#include "widgets/FlatButton.h"

#include "widgets/Form.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TFlatButtonBase::TFlatButtonBase(QWidget *parent) : QAbstractButton(parent)
{
    setAttribute(Qt::WA_Hover);
    setFont(zw::gameFont(11));
    // Connected first, so the modal result is set before any handler runs.
    connect(this, &QAbstractButton::clicked, this, [this] { beforeClickHandlers(); });
}

void TFlatButtonBase::setColors(const TFlatButtonColors &colors)
{
    colors_ = colors;
    update();
}
void TFlatButtonBase::setColorFace(zw::ColorValue v)
{
    colors_.face = v;
    parentColor_ = false;
    update();
}
void TFlatButtonBase::setColorFocused(zw::ColorValue v)
{
    colors_.focused = v;
    update();
}
void TFlatButtonBase::setColorDown(zw::ColorValue v)
{
    colors_.down = v;
    update();
}
void TFlatButtonBase::setColorBorder(zw::ColorValue v)
{
    colors_.border = v;
    update();
}
void TFlatButtonBase::setColorHighLight(zw::ColorValue v)
{
    colors_.highlight = v;
    update();
}
void TFlatButtonBase::setParentColor(bool on)
{
    parentColor_ = on;
    update();
}

void TFlatButtonBase::Click()
{
    if (!isEnabled() || !isVisible())
        return;
    if (TForm *form = TForm::formOf(this))
        form->runHandler([this] { click(); });
    else
        click();
}

QSize TFlatButtonBase::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 16, fm.height() + 8};
}

bool TFlatButtonBase::highlighted() const
{
    return hasFocus() || underMouse();
}

void TFlatButtonBase::paintFace(QPainter &p, const QColor &fill) const
{
    const QRect r = rect();
    const bool down = isDown();
    p.fillRect(r, fill);
    p.setPen(zw::toQColor(colors_.border));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (down || hasFocus()) {
        // The highlight edge: pressed buttons and the focused one show a dark inner line.
        p.setPen(zw::toQColor(colors_.highlight));
        if (down) {
            p.drawLine(1, 1, r.width() - 2, 1);
            p.drawLine(1, 1, 1, r.height() - 2);
        } else {
            p.drawLine(1, r.height() - 2, r.width() - 2, r.height() - 2);
            p.drawLine(r.width() - 2, 1, r.width() - 2, r.height() - 2);
        }
    }
}

void TFlatButtonBase::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    zw::ColorValue face = colors_.face;
    if (parentColor_) {
        if (auto *form = TForm::formOf(this))
            face = form->color();
    }
    const bool down = isDown();
    QColor fill = zw::toQColor(down ? colors_.down : (highlighted() && isEnabled() ? colors_.focused : face));
    const QRect r = rect();
    paintFace(p, fill);
    p.setFont(font());
    const QColor textColor = isEnabled() ? QColor(Qt::black) : zw::toQColor(zw::clGray);
    p.setPen(textColor);
    QRect textRect = r;
    if (down)
        textRect.translate(1, 1);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void TFlatButtonBase::mouseReleaseEvent(QMouseEvent *event)
{
    if (TForm *form = TForm::formOf(this))
        form->runHandler([&] { QAbstractButton::mouseReleaseEvent(event); });
    else
        QAbstractButton::mouseReleaseEvent(event);
}

void TFlatButtonBase::keyReleaseEvent(QKeyEvent *event)
{
    if (TForm *form = TForm::formOf(this))
        form->runHandler([&] { QAbstractButton::keyReleaseEvent(event); });
    else
        QAbstractButton::keyReleaseEvent(event);
}

bool TFlatButtonBase::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverLeave:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        update();
        break;
    default:
        break;
    }
    return QAbstractButton::event(event);
}

TFlatButton::TFlatButton(QWidget *parent) : TFlatButtonBase(parent)
{
    setFocusPolicy(Qt::ClickFocus);
}

void TFlatButton::setTabStop(bool on)
{
    setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

void TFlatButton::beforeClickHandlers()
{
    if (TForm *form = TForm::formOf(this))
        form->setModalResult(modalResult_);
}

TFlatSpeedButton::TFlatSpeedButton(QWidget *parent) : TFlatButtonBase(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setFont(zw::gameFont(16));
}
