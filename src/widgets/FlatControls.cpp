#include "widgets/FlatControls.h"

#include "widgets/Form.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStandardItemModel>
#include <QVariantAnimation>
#include <algorithm>

namespace
{

// The mark of the control that has the keyboard: a dotted frame, as the
// manual promises for every control Tab reaches.
void drawFocusFrame(QPainter &p, const QRect &r)
{
    p.save();
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.restore();
}

} // namespace

TFlatPanel::TFlatPanel(QWidget *parent) : QWidget(parent) {}

void TFlatPanel::setColor(zw::ColorValue v)
{
    color_ = v;
    update();
}

void TFlatPanel::setColorBorder(zw::ColorValue v)
{
    border_ = v;
    update();
}

void TFlatPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), zw::toQColor(color_));
    p.setPen(zw::toQColor(border_));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TFlatRadioButton::TFlatRadioButton(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setAutoExclusive(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setFont(zw::gameFont(13, true));
}

QSize TFlatRadioButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 20, std::max(fm.height(), 13)};
}

bool TFlatRadioButton::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

void TFlatRadioButton::nextCheckState()
{
    // A checked radio button stays checked when clicked again.
    if (!isChecked())
        setChecked(true);
}

void TFlatRadioButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int d = 12;
    const QRectF circle(1.5, (height() - d) / 2.0 + 0.5, d - 1, d - 1);
    p.setPen(zw::toQColor(border_));
    p.setBrush((underMouse() || hasFocus()) ? zw::toQColor(focused_) : QColor(Qt::white));
    p.drawEllipse(circle);
    if (isChecked()) {
        p.setPen(Qt::NoPen);
        p.setBrush(zw::toQColor(check_));
        p.drawEllipse(circle.adjusted(3, 3, -3, -3));
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font());
    p.setPen(isEnabled() ? QColor(Qt::black) : zw::toQColor(zw::clGray));
    const QRect caption = rect().adjusted(d + 6, 0, 0, 0);
    p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) {
        const QRect shown = p.boundingRect(caption, Qt::AlignLeft | Qt::AlignVCenter, text());
        drawFocusFrame(p, shown.adjusted(-2, -1, 2, 1) & rect().adjusted(0, 0, -1, -1));
    }
}

TFlatComboBox::TFlatComboBox(QWidget *parent) : QComboBox(parent)
{
    setFont(zw::gameFont(11));
    setStyle(Style::DropDownList);
    setCurrentIndex(-1);
    view()->installEventFilter(this);
}

void TFlatComboBox::keyPressEvent(QKeyEvent *event)
{
    stepping_ = true;
    QComboBox::keyPressEvent(event);
    stepping_ = false;
}

void TFlatComboBox::wheelEvent(QWheelEvent *event)
{
    stepping_ = true;
    QComboBox::wheelEvent(event);
    stepping_ = false;
}

void TFlatComboBox::showPopup()
{
    QComboBox::showPopup();
    // Opened with nothing picked, the list shows no line as current; the
    // toolkit would make the first one current unseen, so that Enter picked it
    // and the first Down went on to the second.
    if (currentIndex() < 0)
        view()->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
}

bool TFlatComboBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress && count() > 0 &&
        !view()->selectionModel()->hasSelection()) {
        // Nothing shown as current yet: the first Down lands on the first
        // line, the first Up on the last.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            const int row = key == Qt::Key_Down ? 0 : count() - 1;
            view()->selectionModel()->setCurrentIndex(model()->index(row, modelColumn(), rootModelIndex()),
                                                      QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TFlatComboBox::setStyle(Style style)
{
    style_ = style;
    const QString keep = currentText();
    setEditable(style == Style::Simple);
    if (auto *edit = lineEdit()) {
        edit->setFrame(false);
        edit->setFont(font());
        if (maxLength_ > 0)
            edit->setMaxLength(maxLength_);
        edit->setText(keep);
        // The edit, not the box, has the keyboard: screen readers name it.
        edit->setAccessibleName(accessibleName());
        edit->setAccessibleDescription(accessibleDescription());
    }
    update();
}

void TFlatComboBox::setSorted(bool on)
{
    sorted_ = on;
    if (on)
        setItems(items());
}

void TFlatComboBox::setMaxLength(int length)
{
    maxLength_ = length;
    if (auto *edit = lineEdit())
        edit->setMaxLength(length > 0 ? length : 32767);
}

void TFlatComboBox::setItemHeight(int height)
{
    view()->setStyleSheet(QStringLiteral("QAbstractItemView::item { height: %1px; }").arg(height));
}

void TFlatComboBox::setColor(zw::ColorValue v)
{
    color_ = v;
    update();
}

void TFlatComboBox::setColorArrowBackground(zw::ColorValue v)
{
    arrow_ = v;
    update();
}

void TFlatComboBox::setColorBorder(zw::ColorValue v)
{
    border_ = v;
    update();
}

void TFlatComboBox::addItemSorted(const QString &text)
{
    int i = count();
    if (sorted_) {
        i = 0;
        while (i < count() && QString::localeAwareCompare(itemText(i), text) <= 0)
            ++i;
    }
    // The toolkit picks the first item added to an empty box; ours start unpicked.
    const bool unpicked = currentIndex() < 0 && style_ == Style::DropDownList;
    const QSignalBlocker block(unpicked ? this : nullptr);
    insertItem(i, text);
    if (unpicked)
        setCurrentIndex(-1);
}

void TFlatComboBox::setItems(const QStringList &list)
{
    const QSignalBlocker block(this);
    const QString typed = style_ == Style::Simple ? currentText() : QString();
    clear();
    for (const QString &s : list)
        addItemSorted(s);
    setCurrentIndex(-1);
    if (style_ == Style::Simple && lineEdit())
        lineEdit()->setText(typed);
}

QStringList TFlatComboBox::items() const
{
    QStringList out;
    for (int i = 0; i < count(); ++i)
        out << itemText(i);
    return out;
}

void TFlatComboBox::setText(const QString &text)
{
    if (auto *edit = lineEdit()) {
        edit->setText(text);
        return;
    }
    setCurrentIndex(findText(text));
}

QSize TFlatComboBox::sizeHint() const
{
    return {97, QFontMetrics(font()).height() + 8};
}

void TFlatComboBox::paintEvent(QPaintEvent *event)
{
    if (style_ == Style::Simple) {
        QPainter p(this);
        p.fillRect(rect(), zw::toQColor(color_));
        p.setPen(zw::toQColor(border_));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        Q_UNUSED(event);
        return;
    }
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, zw::toQColor(color_));
    const int arrowWidth = 16;
    const QRect arrowRect(r.right() - arrowWidth + 1, r.top(), arrowWidth, r.height());
    p.fillRect(arrowRect, zw::toQColor(arrow_));
    p.setPen(zw::toQColor(border_));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.drawLine(arrowRect.left(), r.top(), arrowRect.left(), r.bottom());
    // The arrow.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? QColor(Qt::black) : zw::toQColor(zw::clGray));
    const QPointF c = QRectF(arrowRect).center();
    QPainterPath tri;
    tri.moveTo(c.x() - 4, c.y() - 2);
    tri.lineTo(c.x() + 4, c.y() - 2);
    tri.lineTo(c.x(), c.y() + 2);
    tri.closeSubpath();
    p.drawPath(tri);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setFont(font());
    p.setPen(isEnabled() ? QColor(Qt::black) : zw::toQColor(zw::clGray));
    const QRect textRect = r.adjusted(4, 0, -arrowWidth - 2, 0);
    if (hasFocus() && currentIndex() >= 0) {
        p.fillRect(textRect.adjusted(-2, 2, 0, -2), zw::toQColor(zw::clFocus));
    }
    // Also with nothing picked yet, where the highlight has no text to show.
    if (hasFocus())
        drawFocusFrame(p, textRect.adjusted(-2, 2, 0, -3));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, currentText());
}

TGauge::TGauge(QWidget *parent) : QWidget(parent)
{
    setFont(zw::gameFont(16));
}

void TGauge::setProgress(int value)
{
    progress_ = std::clamp(value, 0, 100);
    update();
}

QString TGauge::text() const
{
    return QString::number(progress_) + QStringLiteral(" %");
}

void TGauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, zw::toQColor(color_));
    const QRect inner = r.adjusted(1, 1, -1, -1);
    const int barWidth = inner.width() * progress_ / 100;
    const QRect bar(inner.left(), inner.top(), barWidth, inner.height());
    p.fillRect(bar, zw::toQColor(bar_));
    p.setPen(zw::toQColor(border_));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setFont(font());
    // The text reads in black over the background and in white over the bar.
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignCenter, text());
    p.save();
    p.setClipRect(bar);
    p.setPen(Qt::white);
    p.drawText(r, Qt::AlignCenter, text());
    p.restore();
}

TGradientButton::TGradientButton(QWidget *parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFont(zw::gameFont(35));
    setFocusPolicy(Qt::StrongFocus);
    fade_ = new QVariantAnimation(this);
    connect(fade_, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        hot_ = v.toReal();
        update();
    });
}

void TGradientButton::setGradient(zw::ColorValue from, zw::ColorValue to)
{
    from_ = from;
    to_ = to;
    update();
}

void TGradientButton::setHotGradient(zw::ColorValue from, zw::ColorValue to)
{
    hotFrom_ = from;
    hotTo_ = to;
    update();
}

QSize TGradientButton::sizeHint() const
{
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(text()) + 24, fm.height() + 6};
}

void TGradientButton::fadeTo(qreal target)
{
    fade_->stop();
    if (fadeMs_ <= 0) {
        hot_ = target;
        update();
        return;
    }
    fade_->setStartValue(hot_);
    fade_->setEndValue(target);
    fade_->setDuration(std::max(1, int(fadeMs_ * std::abs(target - hot_))));
    fade_->start();
}

void TGradientButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    fadeTo(1);
    emit mouseEntered();
}

void TGradientButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    fadeTo(0);
    emit mouseLeft();
}

static QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

void TGradientButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = rect();
    const QColor a = mix(zw::toQColor(from_), zw::toQColor(hotFrom_), hot_);
    const QColor b = mix(zw::toQColor(to_), zw::toQColor(hotTo_), hot_);
    QLinearGradient g(0, 0, vertical_ ? 0 : r.width(), vertical_ ? r.height() : 0);
    g.setColorAt(0, isDown() ? b : a);
    g.setColorAt(1, isDown() ? a : b);
    p.fillRect(r, g);
    p.setPen(zw::toQColor(border_));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        // In the caption's colour: the border's grey is lost on the gradient.
        QPen pen(zw::toQColor(textColor_));
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawRect(r.adjusted(2, 2, -3, -3));
    }
    p.setFont(font());
    p.setPen(isEnabled() ? zw::toQColor(textColor_) : zw::toQColor(zw::clGray));
    p.drawText(isDown() ? r.translated(1, 1) : r, Qt::AlignCenter, text());
}
