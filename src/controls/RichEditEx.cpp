#include "controls/RichEditEx.h"

#include "controls/FatScrollBar.h"
#include "platform/Sounds.h"
#include "widgets/FlatButton.h"
#include "widgets/Shape.h"

#include <QMoveEvent>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <array>

namespace
{

constexpr int kBarWidth = 24; // the view narrows by this much to make room for the bar

} // namespace

TRichEditEx::TRichEditEx(QWidget *owner) : RichTextView(owner)
{
    // The viewer is only read; the screens never let it keep the focus.
    setFocusPolicy(Qt::NoFocus);
    // No selection either: dragging would scroll the text behind the bar's back.
    setTextInteractionFlags(Qt::NoTextInteraction);

    frame_ = new TShape(owner);
    frame_->setObjectName(QStringLiteral("TextFrame"));
    frame_->setPenColor(zw::clGray);
    frame_->setBrushColor(std::nullopt);
    frame_->setAttribute(Qt::WA_TransparentForMouseEvents);
    frame_->stackUnder(this);

    scrollBar_ = new TFatScrollBar(owner);
    scrollBar_->setObjectName(QStringLiteral("TextScrollBar"));
    scrollBar_->SetKind(TFatScrollBar::sbVertical);
    scrollBar_->hide();
    scrollBar_->SetArrowStretch(37);
    scrollBar_->SetSmallChange(1);
    scrollBar_->SetLargeChange(5);
    scrollBar_->SetMin(0);
    scrollBar_->SetMax(5);
    StyleScrollBar();
    connect(scrollBar_, &TFatScrollBar::OnChange, this, &TRichEditEx::ScrollBarChange);

    const auto makeButton = [&](const QString &caption, const QString &hint, const QString &name) {
        auto *b = new TFlatSpeedButton(owner);
        b->setObjectName(name);
        b->setText(caption);
        b->setFont(zw::gameFont(16));
        b->setHint(hint);
        TFlatButtonColors c;
        c.face = sColor_;
        c.focused = hotColor_;
        c.down = sColor_;
        c.border = borderColor_;
        c.highlight = borderColor_;
        b->setColors(c);
        b->resize(25, 25);
        return b;
    };
    plusButton_ = makeButton(QStringLiteral("+"), ZoomInHint(), QStringLiteral("FontPlusButton"));
    minusButton_ = makeButton(QStringLiteral("-"), ZoomOutHint(), QStringLiteral("FontMinusButton"));
    connect(plusButton_, &QAbstractButton::clicked, this, &TRichEditEx::PlusButtonClick);
    connect(minusButton_, &QAbstractButton::clicked, this, &TRichEditEx::MinusButtonClick);

    connect(this, &RichTextView::contentReplaced, this, &TRichEditEx::Reformat);
    resize(editWidth_, height());
    PlaceCompanions();
}

TRichEditEx::~TRichEditEx()
{
    delete scrollBar_.data();
    delete plusButton_.data();
    delete minusButton_.data();
    delete frame_.data();
}

void TRichEditEx::StyleScrollBar()
{
    const QColor border = zw::toQColor(borderColor_);
    const QColor face = zw::toQColor(sColor_);
    const QColor hot = zw::toQColor(hotColor_);
    const auto set = [](TStyleProperty *style, std::array<QColor, 3> b, std::array<QColor, 3> f) {
        style->Border()->SetColors(b[0], b[1], b[2]);
        style->Fill()->SetColors(f[0], f[1], f[2]);
        for (TStateStyleProperty *s : {style->Border(), style->Fill()})
            for (TPartState st : {TPartState::Cold, TPartState::Hot, TPartState::Down})
                s->SetStyle(st, Qt::SolidPattern);
    };
    set(scrollBar_->StyleArrow(), {Qt::black, Qt::black, Qt::black}, {Qt::black, Qt::black, face});
    set(scrollBar_->StyleArrowButton(), {border, border, border}, {face, hot, face});
    set(scrollBar_->StyleScroller(), {border, border, border}, {face, hot, face});
    set(scrollBar_->StyleTrack(), {border, border, border}, {Qt::white, Qt::white, Qt::white});
}

double TRichEditEx::FontSizeOfLevel(int level)
{
    static constexpr std::array<double, 5> sizes{7, 8, 10, 11, 13};
    return sizes[std::clamp(level, 1, 5) - 1];
}

void TRichEditEx::SetFontLevel(int level)
{
    plusButton_->setEnabled(true);
    minusButton_->setEnabled(true);
    if (level >= 5) {
        fontLevel_ = 5;
        plusButton_->setEnabled(false);
    } else if (level <= 1) {
        fontLevel_ = 1;
        minusButton_->setEnabled(false);
    } else {
        fontLevel_ = level;
    }
    Reformat();
}

void TRichEditEx::PlusButtonClick()
{
    platform::PlayClick(sounds_);
    SetFontLevel(fontLevel_ + 1);
}

void TRichEditEx::MinusButtonClick()
{
    platform::PlayClick(sounds_);
    SetFontLevel(fontLevel_ - 1);
}

void TRichEditEx::SetEditWidth(int width)
{
    editWidth_ = width;
    resize(width, height());
    if (geometry() != placedFor_)
        PlaceCompanions();
}

void TRichEditEx::SetBorderColor(zw::ColorValue c)
{
    borderColor_ = c;
    update();
}

void TRichEditEx::SetSColor(zw::ColorValue c)
{
    sColor_ = c;
    update();
}

void TRichEditEx::SetHotColor(zw::ColorValue c)
{
    hotColor_ = c;
    update();
}

int TRichEditEx::VisibleLineCount() const
{
    return lineFromChar(charFromPos(QPoint(0, height()))) - firstVisibleLine() + 1;
}

void TRichEditEx::ScrollTo(std::uint16_t position)
{
    if (!scrollActive_)
        return;
    scrollBar_->SetPosition(position);
    scrollPosition_ = std::uint16_t(scrollBar_->Position());
}

void TRichEditEx::ScrollToNote(int index)
{
    if (!scrollActive_ || index < 0 || index >= noteStarts().size())
        return;
    const int line = lineFromChar(noteStarts().at(index));
    ScrollTo(std::uint16_t(std::clamp(line, 0, scrollBar_->Max())));
}

void TRichEditEx::ScrollBarChange()
{
    const int position = scrollBar_->Position();
    if (position == scrollPosition_)
        return;
    scrollLines(position - scrollPosition_);
    scrollPosition_ = std::uint16_t(position);
}

void TRichEditEx::Reformat()
{
    ScrollTo(0);
    RichTextView::Format format;
    format.face = QStringLiteral("Comic Sans MS");
    format.pointSize = FontSizeOfLevel(fontLevel_);
    format.alignment = Qt::AlignJustify;
    format.startIndent = 25;
    format.offset = -23; // following lines begin 2 points from the left edge
    format.rightIndent = 2;
    formatAll(format);

    if (lineCount() > VisibleLineCount()) {
        scrollActive_ = true;
        resize(editWidth_ - kBarWidth, height());
        if (geometry() != placedFor_)
            PlaceCompanions();
        // Measured again at the narrower width.
        scrollBar_->SetMax(lineCount() - VisibleLineCount() + 1);
        scrollBar_->SetScrollerWidth(scrollBar_->height() / std::max(1, scrollBar_->Max()));
        // A hidden viewer keeps its bar hidden; showing the viewer shows it.
        scrollBar_->setVisible(!isHidden());
    } else {
        scrollActive_ = false;
        resize(editWidth_, height());
        if (geometry() != placedFor_)
            PlaceCompanions();
        scrollBar_->hide();
    }
    emit OnChange();
}

void TRichEditEx::PlaceCompanions()
{
    const QRect g = geometry();
    placedFor_ = g;
    const int L = g.left(), T = g.top(), W = g.width(), H = g.height();
    scrollBar_->setGeometry(L + W, T - 1, 25, H + 2);
    scrollBar_->SetScrollerWidth(20);
    scrollBar_->SetScrollInterval(50);
    scrollBar_->SetArrowWidth(22);
    minusButton_->setGeometry(L + editWidth_ - 48, T + H, 25, 25);
    plusButton_->setGeometry(L + editWidth_ - 24, T + H, 25, 25);
    frame_->setGeometry(L - 1, T - 1, W + 2, H + 2);
}

void TRichEditEx::moveEvent(QMoveEvent *event)
{
    RichTextView::moveEvent(event);
    if (geometry() != placedFor_)
        PlaceCompanions();
}

void TRichEditEx::resizeEvent(QResizeEvent *event)
{
    RichTextView::resizeEvent(event);
    if (geometry() != placedFor_)
        PlaceCompanions();
}

void TRichEditEx::setVisible(bool visible)
{
    RichTextView::setVisible(visible);
    for (QWidget *w : {static_cast<QWidget *>(plusButton_.data()),
                       static_cast<QWidget *>(minusButton_.data()), static_cast<QWidget *>(frame_.data())})
        if (w)
            w->setVisible(visible);
    // The bar comes with the viewer only while the text is longer than the view.
    if (scrollBar_)
        scrollBar_->setVisible(visible && scrollActive_);
}

void TRichEditEx::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}
