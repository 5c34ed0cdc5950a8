#include "controls/MemoPad.h"

#include "widgets/Colors.h"
#include "widgets/FlatButton.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

namespace
{
constexpr int kStripHeight = 24;
constexpr int kStripMargin = 4;
} // namespace

TMemoPad::TMemoPad(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MemoPad"));
    setAttribute(Qt::WA_TransparentForMouseEvents, true);
    setAttribute(Qt::WA_NoSystemBackground, true);
    setAttribute(Qt::WA_TranslucentBackground, true);
    setAccessibleName(QStringLiteral("Заметки на картинке"));
    createToolStrip();
}

void TMemoPad::createToolStrip()
{
    strip_ = new QWidget(this);
    strip_->setObjectName(QStringLiteral("MemoTools"));
    auto *row = new QHBoxLayout(strip_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    const auto make = [&](const char *name, const QString &caption, const QString &hint, int width) {
        auto *b = new TFlatButton(strip_);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setFont(zw::gameFont(14));
        b->setColorFace(zw::clPanel);
        b->setFixedSize(width, kStripHeight);
        b->setFocusPolicy(Qt::NoFocus);
        row->addWidget(b);
        return b;
    };
    toolButtons_[int(Tool::Pen)] =
        make("MemoPen", QStringLiteral("перо"), QStringLiteral("Рисовать тёмным пером"), 52);
    toolButtons_[int(Tool::Red)] =
        make("MemoRed", QStringLiteral("красный"), QStringLiteral("Рисовать красным"), 72);
    toolButtons_[int(Tool::Eraser)] =
        make("MemoEraser", QStringLiteral("ластик"), QStringLiteral("Стирать линии, которых коснётся"), 62);
    clearButton_ =
        make("MemoClear", QStringLiteral("стереть всё"), QStringLiteral("Стереть все рисунки"), 100);
    for (int i = 0; i < 3; ++i) {
        toolButtons_[i]->setCheckable(true);
        connect(toolButtons_[i], &QAbstractButton::clicked, this, [this, i] { SetTool(Tool(i)); });
    }
    connect(clearButton_, &QAbstractButton::clicked, this, &TMemoPad::ClearAll);
    strip_->adjustSize();
    strip_->hide();
    SetTool(Tool::Pen);
}

void TMemoPad::placeToolStrip()
{
    // Over the picture's top right corner, where the drawing hand is least.
    strip_->move(std::max(0, width() - strip_->width() - kStripMargin), kStripMargin);
}

void TMemoPad::SetMemo(const TMemo &memo)
{
    if (stroking_)
        finishStroke();
    if (memo == memo_)
        return;
    memo_ = memo;
    finishedStale_ = true;
    update();
}

void TMemoPad::SetDrawing(bool on)
{
    if (on == drawing_)
        return;
    if (!on && stroking_)
        finishStroke();
    drawing_ = on;
    setAttribute(Qt::WA_TransparentForMouseEvents, !on);
    setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
    placeToolStrip();
    strip_->setVisible(on);
    if (on)
        raise();
}

void TMemoPad::SetTool(Tool tool)
{
    tool_ = tool;
    // The tool in hand shows in the focus colour, as a pressed key would.
    for (int i = 0; i < 3; ++i) {
        toolButtons_[i]->setChecked(i == int(tool));
        toolButtons_[i]->setColorFace(i == int(tool) ? zw::clFocus : zw::clPanel);
    }
}

void TMemoPad::ClearAll()
{
    stroking_ = false;
    if (memo_.IsEmpty())
        return;
    memo_.Clear();
    finishedStale_ = true;
    update();
    emit changed();
}

QColor TMemoPad::InkColor(MemoInk ink)
{
    return ink == MemoInk::Red ? QColor(200, 30, 30) : QColor(35, 35, 60);
}

QPointF TMemoPad::ToPicture(QPointF local) const
{
    if (width() <= 0 || height() <= 0)
        return {};
    return {local.x() * TMemo::PictureWidth / width(), local.y() * TMemo::PictureHeight / height()};
}

QPointF TMemoPad::FromPicture(QPointF picture) const
{
    return {picture.x() * width() / TMemo::PictureWidth, picture.y() * height() / TMemo::PictureHeight};
}

// ---- drawing ------------------------------------------------------------------

void TMemoPad::mousePressEvent(QMouseEvent *event)
{
    if (!drawing_ || event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (tool_ == Tool::Eraser) {
        eraseAt(event->position());
        return;
    }
    stroking_ = true;
    current_ = MemoStroke{tool_ == Tool::Red ? MemoInk::Red : MemoInk::Pen, PenWidth, {}};
    extendStroke(event->position());
}

void TMemoPad::mouseMoveEvent(QMouseEvent *event)
{
    if (!drawing_ || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    if (tool_ == Tool::Eraser)
        eraseAt(event->position());
    else if (stroking_)
        extendStroke(event->position());
}

void TMemoPad::mouseReleaseEvent(QMouseEvent *event)
{
    if (stroking_ && event->button() == Qt::LeftButton)
        finishStroke();
    QWidget::mouseReleaseEvent(event);
}

void TMemoPad::extendStroke(QPointF local)
{
    const QPointF p = ToPicture(local);
    const QPointF previous = current_.points.empty() ? p : current_.points.back();
    if (!current_.points.empty() && p == previous)
        return;
    current_.points.push_back(p);
    // Only the new piece is painted again.
    update(strokeSegmentRect(previous, p).toAlignedRect());
    if (int(current_.points.size()) >= TMemo::MaxStrokePoints) {
        // A very long drag goes on as a new stroke from the same spot.
        finishStroke();
        stroking_ = true;
        current_.points = {p};
    }
}

void TMemoPad::finishStroke()
{
    stroking_ = false;
    if (current_.points.empty())
        return;
    memo_.Add(std::move(current_));
    current_ = {};
    // The new stroke joins the finished ones where they are already drawn.
    if (!finishedStale_ && !finished_.isNull()) {
        QPainter p(&finished_);
        p.setRenderHint(QPainter::Antialiasing);
        drawStroke(p, memo_.Strokes().back());
    } else {
        finishedStale_ = true;
    }
    emit changed();
}

void TMemoPad::eraseAt(QPointF local)
{
    if (!memo_.EraseAt(ToPicture(local), EraserRadius))
        return;
    finishedStale_ = true;
    update();
    emit changed();
}

QRectF TMemoPad::strokeSegmentRect(QPointF a, QPointF b) const
{
    const qreal margin = PenWidth * width() / TMemo::PictureWidth + 2;
    return QRectF(FromPicture(a), FromPicture(b)).normalized().adjusted(-margin, -margin, margin, margin);
}

// ---- painting -----------------------------------------------------------------

void TMemoPad::drawStroke(QPainter &p, const MemoStroke &stroke) const
{
    const qreal scale = qreal(width()) / TMemo::PictureWidth;
    QPen pen(InkColor(stroke.ink), stroke.width * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    if (stroke.points.size() == 1) {
        p.drawPoint(FromPicture(stroke.points.front()));
        return;
    }
    QPainterPath path(FromPicture(stroke.points.front()));
    for (std::size_t i = 1; i < stroke.points.size(); ++i)
        path.lineTo(FromPicture(stroke.points[i]));
    p.drawPath(path);
}

const QPixmap &TMemoPad::finished()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (finishedStale_ || finished_.size() != pixels || finished_.devicePixelRatio() != ratio) {
        finished_ = QPixmap(pixels);
        finished_.setDevicePixelRatio(ratio);
        finished_.fill(Qt::transparent);
        QPainter p(&finished_);
        p.setRenderHint(QPainter::Antialiasing);
        for (const MemoStroke &s : memo_.Strokes())
            drawStroke(p, s);
        finishedStale_ = false;
    }
    return finished_;
}

void TMemoPad::paintEvent(QPaintEvent *event)
{
    if (memo_.IsEmpty() && !stroking_)
        return;
    QPainter p(this);
    p.setClipRect(event->rect().adjusted(-1, -1, 1, 1));
    if (!memo_.IsEmpty())
        p.drawPixmap(0, 0, finished());
    if (stroking_ && !current_.points.empty()) {
        p.setRenderHint(QPainter::Antialiasing);
        drawStroke(p, current_);
    }
}

void TMemoPad::resizeEvent(QResizeEvent *event)
{
    finishedStale_ = true;
    placeToolStrip();
    QWidget::resizeEvent(event);
}
