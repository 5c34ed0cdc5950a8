#include "controls/FlatListBoxEx.h"

#include "core/ProblemListModel.h"
#include "core/User.h"
#include "platform/ResourceLibrary.h"
#include "widgets/Colors.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace
{

// One auto-repeat timer serves every list: only one arrow can be held at a
// time, and the list it scrolls is the one last pressed. It lives while any
// list does, so a second list never loses it when the first goes.
struct SharedRepeat {
    QTimer *timer = nullptr;
    QPointer<TFlatListBoxEx> target;
    int users = 0;
};

SharedRepeat &sharedRepeat()
{
    static SharedRepeat repeat;
    return repeat;
}

int rightEdge(const QRect &r)
{
    return r.x() + r.width();
}

// A 1-pixel frame just inside the rectangle.
void frameRect(QPainter &p, const QRect &r, const QColor &colour)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(r.x(), r.y(), r.width(), 1, colour);
    p.fillRect(r.x(), r.y() + r.height() - 1, r.width(), 1, colour);
    p.fillRect(r.x(), r.y(), 1, r.height(), colour);
    p.fillRect(r.x() + r.width() - 1, r.y(), 1, r.height(), colour);
}

const QString kDifficultyPictures[] = {QStringLiteral("mDIFF1"), QStringLiteral("mDIFF2"),
                                       QStringLiteral("mDIFF3")};
const QString kSolvedPictures[] = {QStringLiteral("S1"), QStringLiteral("S2")};

} // namespace

TFlatListBoxEx::TFlatListBoxEx(QWidget *parent) : QWidget(parent)
{
    SharedRepeat &repeat = sharedRepeat();
    if (!repeat.timer) {
        repeat.timer = new QTimer;
        repeat.timer->setInterval(RepeatDelay);
        QObject::connect(repeat.timer, &QTimer::timeout, [] {
            SharedRepeat &r = sharedRepeat();
            if (r.target)
                r.target->RepeatTick();
            else
                r.timer->stop();
        });
    }
    ++repeat.users;

    // Every pixel is painted by the list itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A keyboard player reaches the list with Tab and moves through it with keys.
    setFocusPolicy(Qt::StrongFocus);
    resize(DefaultWidth, DefaultHeight);
    RebuildRows();
}

TFlatListBoxEx::~TFlatListBoxEx()
{
    SharedRepeat &repeat = sharedRepeat();
    if (repeat.target == this) {
        repeat.target = nullptr;
        repeat.timer->stop();
    }
    if (--repeat.users == 0) {
        delete repeat.timer;
        repeat.timer = nullptr;
    }
}

QTimer *TFlatListBoxEx::RepeatTimer()
{
    return sharedRepeat().timer;
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
    auto load = [library](const QString &name) {
        QImage image;
        if (library) {
            try {
                image = library->loadBitmap(name);
            } catch (const platform::EResourceError &) {
                image = QImage();
            }
        }
        if (image.isNull())
            throw platform::EResourceError(QStringLiteral("Resource %1 not found").arg(name).toStdString());
        return image;
    };
    // All five are read before any is kept, so a failure leaves the list as it was.
    std::array<QImage, 3> difficulty;
    std::array<QImage, 2> solved;
    for (std::size_t i = 0; i < difficulty.size(); ++i)
        difficulty[i] = load(kDifficultyPictures[i]);
    for (std::size_t i = 0; i < solved.size(); ++i)
        solved[i] = load(kSolvedPictures[i]);
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
// Properties

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

// ---------------------------------------------------------------------------
// Mouse, wheel and the auto-repeat

void TFlatListBoxEx::restartRepeat()
{
    SharedRepeat &repeat = sharedRepeat();
    repeat.timer->stop();
    repeat.target = this;
    repeat.timer->start();
}

void TFlatListBoxEx::stopRepeat()
{
    SharedRepeat &repeat = sharedRepeat();
    repeat.timer->stop();
    repeat.timer->setInterval(RepeatDelay);
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
    if (sharedRepeat().target == this)
        stopRepeat();
    QWidget::hideEvent(event);
}

void TFlatListBoxEx::RepeatTick()
{
    SharedRepeat &repeat = sharedRepeat();
    repeat.timer->setInterval(RepeatInterval);
    if (scrollDown_) {
        if (Count() < topIndex_ + visibleRows_ + 1)
            repeat.timer->stop();
        else
            ++topIndex_;
    } else {
        if (topIndex_ - 1 < 0) {
            topIndex_ = 0;
            repeat.timer->stop();
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

// ---------------------------------------------------------------------------
// Painting

QColor TFlatListBoxEx::textColour() const
{
    return palette().color(foregroundRole());
}

const QImage *TFlatListBoxEx::scaledPicture(const Picture &picture) const
{
    if (picture.source.isNull())
        return nullptr;
    const QSize square(itemHeight_, itemHeight_);
    if (picture.scaled.size() != square) {
        // Stretched once per row height, pixel by pixel like a plain blit would.
        const QImage scaled = picture.source.scaled(square, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        picture.scaled = scaled.convertToFormat(scaled.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                         : QImage::Format_RGB32);
    }
    return &picture.scaled;
}

void TFlatListBoxEx::paintEvent(QPaintEvent *)
{
    // The window's back buffer is the off-screen image: it reaches the screen
    // in one step, so scrolling does not flicker.
    QPainter painter(this);
    DrawList(painter);
}

void TFlatListBoxEx::drawArrow(QPainter &p, bool up, bool active) const
{
    const int cx = width() / 2;
    // Three pixel rows: a 1-pixel tip and a 5-pixel base.
    auto triangle = [&](int dx, int dy, const QColor &colour) {
        for (int d = 0; d <= 2; ++d) {
            const int y = up ? 4 + d : height() - 5 - d;
            p.fillRect(cx - d + dx, y + dy, 2 * d + 1, 1, colour);
        }
    };
    if (active) {
        triangle(0, 0, colorArrow_);
    } else {
        triangle(1, 1, Qt::white);
        triangle(0, 0, QColor(128, 128, 128));
    }
}

void TFlatListBoxEx::DrawList(QPainter &p) const
{
    const QRect client(0, 0, width(), height());
    p.setFont(font());
    p.fillRect(client, colorItemsRect_);
    frameRect(p, client, colorBorder_);

    if (scrollBars_) {
        const QColor stripColour = Color();
        const QRect top(0, 0, client.width(), StripHeight);
        const QRect bottom(0, client.height() - StripHeight, client.width(), StripHeight);
        p.fillRect(top, stripColour);
        frameRect(p, top, colorBorder_);
        p.fillRect(bottom, stripColour);
        frameRect(p, bottom, colorBorder_);
        drawArrow(p, true, UpArrowActive());
        drawArrow(p, false, DownArrowActive());
    }

    const int rows = std::min<int>(visibleRows_, int(rows_.size()));
    const std::vector<QStaticText> &titles = labels();
    const int highlighted = HighlightedIndex();
    for (int k = 0; k < rows; ++k) {
        const int position = topIndex_ + k;
        if (position >= Count())
            break;
        drawRow(p, k, position, titles[std::size_t(position)], position == highlighted);
    }
}

void TFlatListBoxEx::drawRow(QPainter &p, int row, int position, const QStaticText &label, bool highlighted) const
{
    const int h = itemHeight_;
    QRect r = rows_[std::size_t(row)];

    if (gameMode_)
        r.setLeft(r.left() + h + 4);
    if (highlighted) {
        p.fillRect(r, colorItemsSelect_);
        frameRect(p, r, colorBorder_);
    }
    r.adjust(3, 0, -3, 0);

    const int textTop = r.top() + (r.height() - QFontMetrics(p.font()).height()) / 2;
    if (!isEnabled()) {
        p.setClipRect(r.translated(1, 1));
        p.setPen(zw::toQColor(zw::systemColor(zw::SysBtnHighlight)));
        p.drawStaticText(r.left() + 1, textTop + 1, label);
        p.setClipRect(r);
        p.setPen(zw::toQColor(zw::systemColor(zw::SysBtnShadow)));
        p.drawStaticText(r.left(), textTop, label);
        p.setClipping(false);
        return;
    }

    const QColor text = textColour();
    const QColor frame = highlighted ? text : colorBorder_;
    const QRect difficulty(rightEdge(r) - h, r.top(), h, r.height());
    const TProblem *problem = model_->At(position);
    if (const std::optional<Difficulty> grade = problem ? knownDifficulty(problem->Difficult) : std::nullopt)
        if (const QImage *image = scaledPicture(difficultyPictures_[indexOf(*grade)]))
            p.drawImage(difficulty.topLeft(), *image);
    frameRect(p, difficulty, frame);

    if (gameMode_) {
        // Only the game's model has progress to show; the look stays the same without.
        const bool hasProgress = model_->ShowsProgress();
        const LevelEntry progress = hasProgress ? model_->Progress(*problem) : LevelEntry{};
        const QRect count = difficulty.translated(-(h + 4), 0);
        p.fillRect(count, parentBackground());
        frameRect(p, count, frame);
        if (hasProgress) {
            p.setPen(text);
            p.drawText(count, Qt::AlignCenter | Qt::TextSingleLine, QString::number(progress.WrongAnswers));
        }
        const QRect solved(4, r.top(), h, r.height());
        if (const QImage *image = scaledPicture(solvedPictures_[progress.Solved ? 1 : 0]))
            p.drawImage(solved.topLeft(), *image);
        frameRect(p, solved, colorBorder_);
    }

    // A long name runs over the count box and the difficulty picture up to the
    // row's inner edge.
    p.setClipRect(r);
    p.setPen(text);
    p.drawStaticText(r.left(), textTop, label);
    p.setClipping(false);
}
