#include "controls/FatScrollBar.h"

#include "widgets/Colors.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QTimer>

#include <algorithm>
#include <cmath>

// ---- TStateStyleProperty ----

TStateStyleProperty::TStateStyleProperty(QObject *parent) : QObject(parent) {}

void TStateStyleProperty::SetColor(TPartState state, const QColor &color)
{
    if (colors_[int(state)] == color)
        return;
    colors_[int(state)] = color;
    emit OnChange();
}

void TStateStyleProperty::SetColors(const QColor &cold, const QColor &hot, const QColor &down)
{
    const std::array<QColor, 3> next{cold, hot, down};
    if (next == colors_)
        return;
    colors_ = next;
    emit OnChange();
}

void TStateStyleProperty::SetStyle(TPartState state, Qt::BrushStyle style)
{
    if (styles_[int(state)] == style)
        return;
    styles_[int(state)] = style;
    emit OnChange();
}

void TStateStyleProperty::SetPattern(TPartState state, const QImage &pattern)
{
    patterns_[int(state)] = pattern.copy();
    emit OnChange();
}

QBrush TStateStyleProperty::Brush(TPartState state) const
{
    const QImage &pattern = patterns_[int(state)];
    if (!pattern.isNull())
        return QBrush(pattern);
    return QBrush(colors_[int(state)], styles_[int(state)]);
}

// ---- TStyleProperty ----

TStyleProperty::TStyleProperty(QObject *parent)
    : QObject(parent), border_(new TStateStyleProperty(this)), fill_(new TStateStyleProperty(this))
{
    connect(border_, &TStateStyleProperty::OnChange, this, &TStyleProperty::OnChange);
    connect(fill_, &TStateStyleProperty::OnChange, this, &TStyleProperty::OnChange);
}

// ---- TFatScrollBar ----

namespace
{

QColor sys(int index)
{
    return zw::toQColor(zw::systemColor(index));
}

void setStyleColors(TStyleProperty *style, std::array<int, 3> border, std::array<int, 3> fill)
{
    style->Border()->SetColors(sys(border[0]), sys(border[1]), sys(border[2]));
    style->Fill()->SetColors(sys(fill[0]), sys(fill[1]), sys(fill[2]));
}

// Rectangles are given as the design states them: left, top, right, bottom with
// the right and bottom edges outside.
QRect ltrb(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

int nearest(double x)
{
    return int(std::nearbyint(x));
}

} // namespace

int TFatScrollBar::pct(int a, int p)
{
    return nearest(a / 100.0 * p);
}

TFatScrollBar::TFatScrollBar(QWidget *parent)
    : QWidget(parent), styleArrow_(new TStyleProperty(this)), styleArrowButton_(new TStyleProperty(this)),
      styleTrack_(new TStyleProperty(this)), styleScroller_(new TStyleProperty(this)),
      timer_(new QTimer(this))
{
    using namespace zw;
    setStyleColors(styleArrow_, {SysWindowText, SysWindow, SysWindow}, {SysWindowText, SysWindow, SysWindow});
    setStyleColors(styleArrowButton_, {SysBtnShadow, SysBtnShadow, SysWindow},
                   {SysBtnFace, SysBtnShadow, SysWindowText});
    setStyleColors(styleTrack_, {SysBtnShadow, SysBtnShadow, SysWindow},
                   {SysWindow, SysBtnShadow, SysWindowText});
    setStyleColors(styleScroller_, {SysBtnShadow, SysBtnShadow, SysWindow},
                   {SysBtnFace, SysBtnShadow, SysWindowText});
    for (TStyleProperty *s : {styleArrow_, styleArrowButton_, styleTrack_, styleScroller_})
        connect(s, &TStyleProperty::OnChange, this, &TFatScrollBar::StyleChanged);

    timer_->setObjectName(QStringLiteral("RepeatTimer"));
    timer_->setInterval(scrollInterval_);
    connect(timer_, &QTimer::timeout, this, &TFatScrollBar::RepeatTimerTimer);

    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel comes from the off-screen image
    resize(150, arrowWidth_);
    Recompute();
}

TFatScrollBar::~TFatScrollBar() = default;

bool TFatScrollBar::RepeatTimerActive() const
{
    return timer_->isActive();
}

void TFatScrollBar::SetKind(TScrollBarKind kind)
{
    if (kind == kind_)
        return;
    kind_ = kind;
    Recompute();
}

void TFatScrollBar::SetMin(int v)
{
    if (v < 0 || v > max_ || v == min_)
        return;
    min_ = v; // the position stays where it is, even outside the new range
    RecomputeTrack();
}

void TFatScrollBar::SetMax(int v)
{
    if (v < 0 || v < min_ || v == max_)
        return;
    max_ = v;
    RecomputeTrack();
}

void TFatScrollBar::SetPosition(int v)
{
    if (v < min_ || v > max_ || v == position_)
        return;
    position_ = v;
    RecomputeTrack();
    emit OnChange();
}

void TFatScrollBar::SetSmallChange(int v)
{
    if (v <= 0 || v >= largeChange_)
        return;
    smallChange_ = v;
}

void TFatScrollBar::SetLargeChange(int v)
{
    if (v <= 0 || v < smallChange_)
        return;
    largeChange_ = v;
}

void TFatScrollBar::SetArrowWidth(int v)
{
    const int half = (kind_ == sbVertical ? height() : width()) / 2;
    arrowWidth_ = v > 1 ? std::min(half, v) : 2;
    Recompute();
}

void TFatScrollBar::SetScrollerWidth(int v)
{
    const int length = kind_ == sbVertical ? height() : width();
    scrollerWidth_ = v > 1 ? std::min(length - 2 * arrowWidth_ - 1, v) : 2;
    RecomputeTrack();
}

void TFatScrollBar::SetArrowStretch(int v)
{
    arrowStretch_ = std::clamp(v, 1, 100);
    Recompute();
}

void TFatScrollBar::SetScrollInterval(int v)
{
    if (v < 1 || v > 9999)
        return;
    scrollInterval_ = v;
    timer_->setInterval(v);
}

void TFatScrollBar::ComputeArrows()
{
    const int W = width(), H = height(), AW = arrowWidth_, S = arrowStretch_;
    if (kind_ == sbVertical) {
        rects_[FirstArrow] = ltrb(0, 0, W, AW);
        triangles_[0] = {QPoint(pct(W, 50), pct(AW, S)), QPoint(pct(W, S), pct(AW, 100 - S)),
                         QPoint(pct(W, 100 - S), pct(AW, 100 - S))};
        rects_[SecondArrow] = ltrb(0, H - AW, W, H);
        triangles_[1] = {QPoint(pct(W, 50), H - AW + pct(AW, 100 - S)),
                         QPoint(pct(W, S), H - AW + pct(AW, S)),
                         QPoint(pct(W, 100 - S), H - AW + pct(AW, S))};
    } else {
        rects_[FirstArrow] = ltrb(0, 0, AW, H);
        triangles_[0] = {QPoint(pct(AW, S), pct(H, 50)), QPoint(pct(AW, 100 - S), pct(H, S)),
                         QPoint(pct(AW, 100 - S), pct(H, 100 - S))};
        rects_[SecondArrow] = ltrb(W - AW, 0, W, H);
        triangles_[1] = {QPoint(W - AW + pct(AW, 100 - S), pct(H, 50)),
                         QPoint(W - AW + pct(AW, S), pct(H, S)),
                         QPoint(W - AW + pct(AW, S), pct(H, 100 - S))};
    }
}

void TFatScrollBar::ComputeTrack()
{
    const int W = width(), H = height(), AW = arrowWidth_, SW = scrollerWidth_;
    // A Max of 0 would divide by zero; the thumb then rests at the start.
    const double share = max_ != 0 ? double(position_) / max_ * 100 : 0;
    if (kind_ == sbVertical) {
        const int t = nearest((H - 2 * AW - SW) * share / 100) + AW;
        rects_[Scroller] = ltrb(0, t - 1, W, t + SW + 1);
        rects_[TrackBefore] = ltrb(0, AW - 1, W, t);
        rects_[TrackAfter] = ltrb(0, t + SW, W, H - AW + 1);
    } else {
        const int t = nearest((W - 2 * AW - SW) * share / 100) + AW;
        rects_[Scroller] = ltrb(t, -1, t + SW, H + 1);
        rects_[TrackBefore] = ltrb(AW, 0, t, H);
        rects_[TrackAfter] = ltrb(t + SW, 0, W - AW, H);
    }
}

void TFatScrollBar::Recompute()
{
    ComputeArrows();
    ComputeTrack();
    DrawAll();
}

void TFatScrollBar::RecomputeTrack()
{
    ComputeTrack();
    // The thumb is drawn between the tracks so that it keeps the rows they share.
    DrawPart(TrackBefore);
    DrawPart(Scroller);
    DrawPart(TrackAfter);
}

void TFatScrollBar::StyleChanged()
{
    DrawAll();
}

void TFatScrollBar::EnsureBuffer()
{
    if (buffer_.size() == size())
        return;
    buffer_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    buffer_.fill(palette().color(QPalette::Window));
}

void TFatScrollBar::DrawAll()
{
    for (int part = 0; part < PartCount; ++part)
        DrawPart(part);
}

void TFatScrollBar::DrawPart(int part)
{
    EnsureBuffer();
    const TStyleProperty *style = part <= SecondArrow ? styleArrowButton_
                                  : part == Scroller  ? styleScroller_
                                                      : styleTrack_;
    const TPartState state = states_[part];
    const QRect r = rects_[part];
    {
        QPainter p(&buffer_);
        if (r.isValid()) {
            p.fillRect(r, style->Fill()->Brush(state));
            // A one-pixel frame inside the rectangle.
            const QBrush border = style->Border()->Brush(state);
            p.fillRect(QRect(r.left(), r.top(), r.width(), 1), border);
            p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), border);
            p.fillRect(QRect(r.left(), r.top(), 1, r.height()), border);
            p.fillRect(QRect(r.right(), r.top(), 1, r.height()), border);
        }
        if (part <= SecondArrow) {
            const auto &t = triangles_[part];
            p.setBrush(styleArrow_->Fill()->Brush(state));
            p.setPen(QPen(styleArrow_->Border()->Color(state), 0));
            p.drawPolygon(QPolygon({t[0], t[1], t[2]}));
        }
    }
    emit PartDrawn(part);
    update(r.intersected(rect()));
}

void TFatScrollBar::paintEvent(QPaintEvent *event)
{
    if (buffer_.size() != size())
        Recompute();
    QPainter p(this);
    // A logical pixel more on each side: at a fractional factor the edge
    // rows of display pixels of a part drawn again are otherwise left out.
    const QRect r = event->rect().adjusted(-1, -1, 1, 1) & rect();
    p.drawImage(r, buffer_, r);
}

void TFatScrollBar::resizeEvent(QResizeEvent *)
{
    EnsureBuffer();
    Recompute();
}

void TFatScrollBar::SetPartState(int part, TPartState state)
{
    if (states_[part] == state)
        return;
    states_[part] = state;
    DrawPart(part);
}

void TFatScrollBar::StartPress(int part, const QPoint &pos)
{
    if (part == Scroller) {
        grab_ = pos - rects_[Scroller].topLeft();
    } else {
        timerPart_ = part;
        if (!timer_->isActive()) // a running timer keeps its rhythm
            timer_->start();
    }
}

void TFatScrollBar::mousePressEvent(QMouseEvent *event)
{
    setCursor(Qt::PointingHandCursor);
    const QPoint pos = event->position().toPoint();
    lastButtons_ = event->buttons();
    lastModifiers_ = event->modifiers();
    lastPos_ = pos;
    const bool left = event->buttons() & Qt::LeftButton;
    for (int part = 0; part < PartCount; ++part) {
        if (rects_[part].contains(pos)) {
            if (left) {
                pressed_ = part;
                StartPress(part, pos);
            }
            SetPartState(part, left ? TPartState::Down : TPartState::Hot);
        } else {
            SetPartState(part, TPartState::Cold);
        }
    }
}

void TFatScrollBar::mouseMoveEvent(QMouseEvent *event)
{
    HandleMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void TFatScrollBar::HandleMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint &pos)
{
    lastButtons_ = buttons;
    lastModifiers_ = modifiers;
    lastPos_ = pos;
    const bool left = buttons & Qt::LeftButton;
    if (left && pressed_ == Scroller) {
        DragScroller(pos);
        return;
    }
    for (int part = 0; part < PartCount; ++part) {
        if (!rects_[part].contains(pos)) {
            SetPartState(part, TPartState::Cold);
        } else if (left && part == pressed_) {
            StartPress(part, pos);
            SetPartState(part, TPartState::Down);
        } else {
            SetPartState(part, TPartState::Hot);
        }
    }
}

void TFatScrollBar::mouseReleaseEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    const QPoint pos = event->position().toPoint();
    lastButtons_ = event->buttons();
    lastModifiers_ = event->modifiers();
    lastPos_ = pos;
    if (event->button() == Qt::LeftButton)
        timer_->stop();
    for (int part = 0; part < PartCount; ++part) {
        if (rects_[part].contains(pos)) {
            if (part == pressed_) {
                timer_->stop();
                pressed_ = NoPart;
            }
            SetPartState(part, TPartState::Hot);
        } else {
            SetPartState(part, TPartState::Cold);
        }
    }
}

void TFatScrollBar::enterEvent(QEnterEvent *)
{
    emit OnMouseIn();
}

void TFatScrollBar::leaveEvent(QEvent *)
{
    HandleMove(Qt::NoButton, lastModifiers_, QPoint(-1, -1));
    emit OnMouseOut();
}

void TFatScrollBar::RepeatTimerTimer()
{
    if (timerPart_ != NoPart && timerPart_ == pressed_ && rects_[timerPart_].contains(lastPos_)) {
        switch (timerPart_) {
        case FirstArrow:
            SetPosition(std::max(min_, position_ - smallChange_));
            break;
        case SecondArrow:
            SetPosition(std::min(max_, position_ + smallChange_));
            break;
        case TrackBefore:
            SetPosition(std::max(min_, position_ - largeChange_));
            break;
        case TrackAfter:
            SetPosition(std::min(max_, position_ + largeChange_));
            break;
        default:
            break;
        }
        return;
    }
    // The pointer has left the held part: pause until it comes back.
    timer_->stop();
    HandleMove(lastButtons_, lastModifiers_, lastPos_);
}

void TFatScrollBar::DragScroller(const QPoint &pos)
{
    const bool vertical = kind_ == sbVertical;
    const int length = (vertical ? height() : width()) - 2 * arrowWidth_ - scrollerWidth_;
    if (length == 0)
        return;
    const int along = vertical ? pos.y() - arrowWidth_ - grab_.y() : pos.x() - arrowWidth_ - grab_.x();
    const double x = double(along) / length * 100;
    const double target = std::nearbyint(max_ * x / 100);
    // Far outside the track the value is refused like any other out of range.
    if (target < min_ || target > max_)
        return;
    SetPosition(int(target));
}
