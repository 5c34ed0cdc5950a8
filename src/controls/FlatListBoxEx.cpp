// The puzzle list: its creation, pictures, model, rows and input (mouse, keys,
// wheel and the auto-repeat). It draws itself in FlatListBoxExPainting.cpp;
// the layout properties are in FlatListBoxExProperties.cpp.
#include "controls/FlatListBoxEx.h"

#include "core/ProblemListModel.h"
#include "platform/ResourceLibrary.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace
{

const QString kDifficultyPictures[] = {QStringLiteral("mDIFF1"), QStringLiteral("mDIFF2"),
                                       QStringLiteral("mDIFF3")};
const QString kSolvedPictures[] = {QStringLiteral("S1"), QStringLiteral("S2")};

} // namespace

TFlatListBoxEx::TFlatListBoxEx(QWidget *parent) : QWidget(parent)
{
    // Each list has its own auto-repeat: only one arrow can be held at a time,
    // and a list that goes takes its timer with it.
    repeat_ = new QTimer(this);
    repeat_->setInterval(RepeatDelay);
    connect(repeat_, &QTimer::timeout, this, &TFlatListBoxEx::RepeatTick);

    // Every pixel is painted by the list itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A keyboard player reaches the list with Tab and moves through it with keys.
    setFocusPolicy(Qt::StrongFocus);
    resize(DefaultWidth, DefaultHeight);
    RebuildRows();
}

TFlatListBoxEx::~TFlatListBoxEx() = default;

QTimer *TFlatListBoxEx::RepeatTimer() const
{
    return repeat_;
}

// ---------------------------------------------------------------------------
// Loading from a layout

void TFlatListBoxEx::BeginLoad()
{
    loading_ = true;
}

void TFlatListBoxEx::Loaded(const platform::IResourceLibrary *library)
{
    loading_ = false;
    // All five are read before any is kept, so a failure leaves the list as it was.
    std::array<QImage, 3> difficulty;
    std::array<QImage, 2> solved;
    for (std::size_t i = 0; i < difficulty.size(); ++i)
        difficulty[i] = platform::loadBitmapFrom(library, kDifficultyPictures[i]);
    for (std::size_t i = 0; i < solved.size(); ++i)
        solved[i] = platform::loadBitmapFrom(library, kSolvedPictures[i]);
    for (std::size_t i = 0; i < difficulty.size(); ++i)
        difficultyPictures_[i] = Picture{difficulty[i], QImage()};
    for (std::size_t i = 0; i < solved.size(); ++i)
        solvedPictures_[i] = Picture{solved[i], QImage()};

    snapHeight();
    RebuildRows();
}

// ---------------------------------------------------------------------------
// The model

void TFlatListBoxEx::SetModel(const TProblemListModel *model)
{
    model_ = model;
    labelsBuilt_ = false;
    shownSelection_ = model ? model->SelectionSerial() : 0;
    update();
}

void TFlatListBoxEx::Refresh()
{
    update();
    if (model_ && model_->SelectionSerial() != shownSelection_) {
        shownSelection_ = model_->SelectionSerial();
        emit selectionShown();
    }
}

int TFlatListBoxEx::Count() const
{
    return model_ ? model_->Count() : 0;
}

QString TFlatListBoxEx::Item(int position) const
{
    return model_ ? model_->Name(position) : QString();
}

int TFlatListBoxEx::HighlightedIndex() const
{
    const int position = selectedPosition();
    return position < MaxHighlighted ? position : -1;
}

int TFlatListBoxEx::selectedPosition() const
{
    return model_ ? model_->SelectedIndex() : -1;
}

const std::vector<QStaticText> &TFlatListBoxEx::labels() const
{
    if (!model_) {
        labels_.clear();
        return labels_;
    }
    if (labelsBuilt_ && labelsRevision_ == model_->Revision())
        return labels_;
    labels_.assign(std::size_t(model_->Count()), QStaticText());
    for (int i = 0; i < model_->Count(); ++i) {
        // Rows are one line: line breaks inside a name are drawn as blanks.
        QString shown = model_->Name(i);
        for (QChar &c : shown)
            if (c.unicode() < u' ')
                c = u' ';
        QStaticText &label = labels_[std::size_t(i)];
        label.setText(shown);
        label.setTextFormat(Qt::PlainText);
    }
    labelsRevision_ = model_->Revision();
    labelsBuilt_ = true;
    return labels_;
}

// ---------------------------------------------------------------------------
// Rows

int TFlatListBoxEx::rowsFor(int height) const
{
    const int frame = scrollBars_ ? 24 : 4;
    return std::max(0, (height - frame) / (itemHeight_ + 2));
}

int TFlatListBoxEx::snappedHeight(int rows) const
{
    return (itemHeight_ + 2) * rows + (scrollBars_ ? 24 : 4);
}

void TFlatListBoxEx::snapHeight()
{
    visibleRows_ = rowsFor(height());
    const int target = snappedHeight(visibleRows_);
    if (target != height())
        setGeometry(x(), y(), width(), target);
}

void TFlatListBoxEx::RebuildRows()
{
    visibleRows_ = rowsFor(height());
    rows_.clear();
    rows_.reserve(std::size_t(visibleRows_));
    const int left = 3;
    const int rowWidth = std::max(0, width() - 3 - left);
    int top = scrollBars_ ? 13 : 3;
    for (int k = 0; k < visibleRows_; ++k) {
        rows_.emplace_back(left, top, rowWidth, itemHeight_);
        top += itemHeight_ + 2;
    }
    update();
}

void TFlatListBoxEx::SetTopIndex(int index)
{
    topIndex_ = std::max(0, index);
    update();
}

bool TFlatListBoxEx::UpArrowActive() const
{
    return isEnabled() && topIndex_ > 0;
}

bool TFlatListBoxEx::DownArrowActive() const
{
    return isEnabled() && Count() >= topIndex_ + visibleRows_ + 1;
}

void TFlatListBoxEx::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (loading_)
        return;
    snapHeight();
    RebuildRows();
}

// ---------------------------------------------------------------------------
// Mouse, wheel and the auto-repeat

void TFlatListBoxEx::restartRepeat()
{
    repeat_->stop();
    repeat_->start();
}

void TFlatListBoxEx::stopRepeat()
{
    repeat_->stop();
    repeat_->setInterval(RepeatDelay);
}

void TFlatListBoxEx::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    event->accept();
    if (event->button() == Qt::LeftButton && Count() > 0) {
        for (std::size_t k = 0; k < rows_.size(); ++k) {
            if (!rows_[k].contains(at))
                continue;
            const int position = topIndex_ + int(k);
            // An empty row too: the screens still hear about the click.
            if (position < Count())
                setFocus(Qt::MouseFocusReason);
            update();
            emit rowChosen(position);
            return;
        }
    }
    if (!scrollBars_)
        return;
    if (at.y() >= 0 && at.y() < StripHeight) {
        topIndex_ = std::max(0, topIndex_ - 1);
        setFocus(Qt::MouseFocusReason);
        update();
        scrollDown_ = false;
        restartRepeat();
    } else if (at.y() >= height() - StripHeight && at.y() < height()) {
        if (Count() >= topIndex_ + visibleRows_ + 1)
            ++topIndex_;
        setFocus(Qt::MouseFocusReason);
        update();
        scrollDown_ = true;
        restartRepeat();
    }
}

void TFlatListBoxEx::scrollIntoView(int position)
{
    const int rows = std::max(1, visibleRows_);
    if (position < topIndex_)
        topIndex_ = position;
    else if (position >= topIndex_ + rows)
        topIndex_ = position - rows + 1;
}

void TFlatListBoxEx::keyPressEvent(QKeyEvent *event)
{
    const int count = Count();
    const int current = selectedPosition();
    const int page = std::max(1, visibleRows_ - 1);
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Up:
        target = current < 0 ? 0 : current - 1;
        break;
    case Qt::Key_Down:
        target = current < 0 ? 0 : current + 1;
        break;
    case Qt::Key_PageUp:
        target = current < 0 ? 0 : current - page;
        break;
    case Qt::Key_PageDown:
        target = current < 0 ? 0 : current + page;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count - 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (count == 0 || !isEnabled())
        return;
    target = std::clamp(target, 0, count - 1);
    scrollIntoView(target);
    update();
    // Already there: the puzzle is not read again.
    if (target != current)
        emit rowChosen(target);
}

void TFlatListBoxEx::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    stopRepeat();
}

void TFlatListBoxEx::hideEvent(QHideEvent *event)
{
    // A hidden list never sees the release that would end its repeat.
    stopRepeat();
    QWidget::hideEvent(event);
}

void TFlatListBoxEx::RepeatTick()
{
    repeat_->setInterval(RepeatInterval);
    if (scrollDown_) {
        if (Count() < topIndex_ + visibleRows_ + 1)
            repeat_->stop();
        else
            ++topIndex_;
    } else {
        if (topIndex_ - 1 < 0) {
            topIndex_ = 0;
            repeat_->stop();
        } else {
            --topIndex_;
        }
    }
    update();
}

void TFlatListBoxEx::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    // Only the left button's double click is the list's own; the second press
    // of any other pair is an ordinary press.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    const int y = event->position().toPoint().y();
    if (y < StripHeight || y >= height() - StripHeight)
        return;
    emit doubleClicked();
}

void TFlatListBoxEx::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const int delta = event->angleDelta().y();
    int lines = QGuiApplication::styleHints()->wheelScrollLines();
    if (lines <= 0)
        lines = visibleRows_;
    // One notch at a time: anything but a single notch each way is ignored.
    if (delta == -120) {
        if (Count() >= topIndex_ + visibleRows_ + lines)
            topIndex_ += lines;
        else if (Count() - visibleRows_ > 0)
            topIndex_ = Count() - visibleRows_;
    } else if (delta == 120) {
        topIndex_ = std::max(0, topIndex_ - lines);
    }
    update();
}
