#include "controls/FatScrollBar.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

using Part = TFatScrollBar::TPart;

void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
void press(QWidget *w, QPoint pos, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonPress, pos, b, b);
}
void moveHeld(QWidget *w, QPoint pos)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}
void moveFree(QWidget *w, QPoint pos)
{
    sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton, Qt::NoButton);
}
void release(QWidget *w, QPoint pos, Qt::MouseButton b = Qt::LeftButton)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, b, Qt::NoButton);
}

QRect ltrb(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

// The viewer's bar: 25 x 461, arrows 22, stretch 37, 31 positions, a 14-pixel thumb.
struct ViewerBar : ::testing::Test {
    TFatScrollBar bar;
    void SetUp() override
    {
        bar.SetKind(TFatScrollBar::sbVertical);
        bar.resize(25, 461);
        bar.SetArrowWidth(22);
        bar.SetArrowStretch(37);
        bar.SetMax(31);
        bar.SetScrollerWidth(461 / 31);
        bar.show();
    }
    QPoint downArrow() const { return bar.PartRect(Part::SecondArrow).center(); }
    QPoint upArrow() const { return bar.PartRect(Part::FirstArrow).center(); }
};

} // namespace

TEST(FatScrollBar, StartsWithItsDesignValues)
{
    TFatScrollBar bar;
    EXPECT_EQ(bar.Kind(), TFatScrollBar::sbHorizontal);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(bar.SmallChange(), 1);
    EXPECT_EQ(bar.LargeChange(), 5);
    EXPECT_EQ(bar.ScrollInterval(), 50);
    EXPECT_EQ(bar.size(), QSize(150, 18));
    EXPECT_EQ(bar.ArrowWidth(), 18);
    EXPECT_EQ(bar.ScrollerWidth(), 18);
    EXPECT_EQ(bar.ArrowStretch(), 35);
    EXPECT_EQ(bar.PressedPart(), Part::NoPart);
    EXPECT_FALSE(bar.RepeatTimerActive());
    for (int p = 0; p < TFatScrollBar::PartCount; ++p)
        EXPECT_EQ(bar.PartState(p), TPartState::Cold);
    const QPalette pal = QGuiApplication::palette();
    EXPECT_EQ(bar.StyleArrowButton()->Fill()->ColorCold(), pal.color(QPalette::Button));
    EXPECT_EQ(bar.StyleTrack()->Fill()->ColorCold(), pal.color(QPalette::Base));
    EXPECT_EQ(bar.StyleScroller()->Fill()->ColorDown(), pal.color(QPalette::Text));
    EXPECT_EQ(bar.StyleArrow()->Border()->StyleHot(), Qt::SolidPattern);
}

TEST_F(ViewerBar, LaysOutPartsByTheFormulasWithTiesToEven)
{
    EXPECT_EQ(bar.ScrollerWidth(), 14);
    EXPECT_EQ(bar.PartRect(Part::FirstArrow), ltrb(0, 0, 25, 22));
    EXPECT_EQ(bar.PartRect(Part::SecondArrow), ltrb(0, 439, 25, 461));
    // pct(25, 50) = 12.5 rounds to 12; pct(22, 37) = 8.14; pct(25, 37) = 9.25; pct(22, 63) = 13.86.
    EXPECT_EQ(bar.Triangle(0), (std::array<QPoint, 3>{QPoint(12, 8), QPoint(9, 14), QPoint(16, 14)}));
    EXPECT_EQ(bar.Triangle(1), (std::array<QPoint, 3>{QPoint(12, 453), QPoint(9, 447), QPoint(16, 447)}));
    EXPECT_EQ(bar.PartRect(Part::Scroller), ltrb(0, 21, 25, 37));
    EXPECT_EQ(bar.PartRect(Part::TrackBefore), ltrb(0, 21, 25, 22));
    EXPECT_EQ(bar.PartRect(Part::TrackAfter), ltrb(0, 36, 25, 440));
    bar.SetPosition(31);
    EXPECT_EQ(bar.PartRect(Part::Scroller), ltrb(0, 424, 25, 440));
    EXPECT_EQ(bar.PartRect(Part::TrackAfter), ltrb(0, 439, 25, 440));
    bar.SetPosition(1); // 403 / 31 = 13
    EXPECT_EQ(bar.PartRect(Part::Scroller), ltrb(0, 34, 25, 50));
}

TEST(FatScrollBar, HorizontalBarLaysOutAlongXAndRoundsTheThumbToEven)
{
    TFatScrollBar bar;
    bar.resize(49, 10);
    bar.SetArrowWidth(20);
    bar.SetScrollerWidth(4); // 49 - 40 - 4 = 5 pixels of travel
    bar.SetMax(2);
    bar.SetPosition(1); // 5 * 50 / 100 = 2.5, rounded to 2
    EXPECT_EQ(bar.PartRect(Part::Scroller), ltrb(22, -1, 26, 11));
    EXPECT_EQ(bar.PartRect(Part::TrackBefore), ltrb(20, 0, 22, 10));
    EXPECT_EQ(bar.PartRect(Part::TrackAfter), ltrb(26, 0, 29, 10));
    EXPECT_EQ(bar.PartRect(Part::SecondArrow), ltrb(29, 0, 49, 10));
    // Stretch 35: pct(20, 35) = 7, pct(20, 65) = 13, pct(10, 50) = 5, pct(10, 35) = 3.5 -> 4, pct(10, 65)
    // = 6.5 -> 6.
    EXPECT_EQ(bar.Triangle(0), (std::array<QPoint, 3>{QPoint(7, 5), QPoint(13, 4), QPoint(13, 6)}));
    EXPECT_EQ(bar.Triangle(1), (std::array<QPoint, 3>{QPoint(42, 5), QPoint(36, 4), QPoint(36, 6)}));
}

TEST_F(ViewerBar, RefusesOutOfRangeSettingsSilently)
{
    QSignalSpy changes(&bar, &TFatScrollBar::OnChange);
    bar.SetPosition(32);
    bar.SetPosition(-1);
    bar.SetPosition(0); // equal to the current value
    EXPECT_EQ(changes.count(), 0);
    bar.SetMax(-1);
    bar.SetMin(5);
    bar.SetMin(40); // above Max
    bar.SetMax(4);  // below Min
    EXPECT_EQ(bar.Min(), 5);
    EXPECT_EQ(bar.Max(), 31);
    EXPECT_EQ(bar.Position(), 0); // a later change of Min does not move it
    bar.SetMin(-1);
    EXPECT_EQ(bar.Min(), 5);

    bar.SetLargeChange(0);
    bar.SetSmallChange(5); // not below LargeChange
    bar.SetSmallChange(0);
    EXPECT_EQ(bar.SmallChange(), 1);
    EXPECT_EQ(bar.LargeChange(), 5);
    bar.SetSmallChange(3);
    bar.SetLargeChange(2); // below SmallChange
    EXPECT_EQ(bar.LargeChange(), 5);
    EXPECT_EQ(bar.SmallChange(), 3);

    bar.SetScrollInterval(0);
    bar.SetScrollInterval(10000);
    EXPECT_EQ(bar.ScrollInterval(), 50);
    bar.SetScrollInterval(9999);
    EXPECT_EQ(bar.ScrollInterval(), 9999);

    bar.SetArrowStretch(0);
    EXPECT_EQ(bar.ArrowStretch(), 1);
    bar.SetArrowStretch(101);
    EXPECT_EQ(bar.ArrowStretch(), 100);
    bar.SetArrowWidth(1);
    EXPECT_EQ(bar.ArrowWidth(), 2);
    bar.SetArrowWidth(1000);
    EXPECT_EQ(bar.ArrowWidth(), 230); // half the height
    bar.SetArrowWidth(22);
    bar.SetScrollerWidth(1000);
    EXPECT_EQ(bar.ScrollerWidth(), 461 - 44 - 1);
    bar.SetScrollerWidth(-3);
    EXPECT_EQ(bar.ScrollerWidth(), 2);
}

TEST_F(ViewerBar, PositionChangeRedrawsTracksAndThumbOnly)
{
    QSignalSpy drawn(&bar, &TFatScrollBar::PartDrawn);
    QSignalSpy changes(&bar, &TFatScrollBar::OnChange);
    bar.SetPosition(7);
    ASSERT_EQ(drawn.count(), 3);
    EXPECT_EQ(drawn[0][0].toInt(), Part::TrackBefore);
    EXPECT_EQ(drawn[1][0].toInt(), Part::Scroller);
    EXPECT_EQ(drawn[2][0].toInt(), Part::TrackAfter);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(ViewerBar, StyleChangesRepaintOnlyWhenSomethingChanges)
{
    QSignalSpy drawn(&bar, &TFatScrollBar::PartDrawn);
    const QColor cold = bar.StyleTrack()->Fill()->ColorCold();
    bar.StyleTrack()->Fill()->SetColorCold(cold);
    bar.StyleTrack()->Fill()->SetStyleCold(Qt::SolidPattern);
    EXPECT_EQ(drawn.count(), 0);
    bar.StyleTrack()->Fill()->SetColorCold(QColor(1, 2, 3));
    EXPECT_EQ(drawn.count(), TFatScrollBar::PartCount);

    // The off-screen image holds what the style says; a pattern wins over the colour.
    const QPoint inTrack = bar.PartRect(Part::TrackAfter).center();
    EXPECT_EQ(bar.OffscreenImage().pixelColor(inTrack), QColor(1, 2, 3));
    QImage pattern(8, 8, QImage::Format_RGB32);
    pattern.fill(QColor(0, 200, 0));
    bar.StyleTrack()->Fill()->SetPatternCold(pattern);
    pattern.fill(Qt::red); // the bar kept its own copy
    EXPECT_EQ(bar.OffscreenImage().pixelColor(inTrack), QColor(0, 200, 0));
    const int before = int(drawn.count());
    bar.StyleTrack()->Fill()->SetPatternCold(bar.StyleTrack()->Fill()->PatternCold());
    EXPECT_EQ(drawn.count(), before + TFatScrollBar::PartCount);
    // The frame takes the border colour.
    bar.StyleTrack()->Border()->SetColorCold(Qt::blue);
    EXPECT_EQ(bar.OffscreenImage().pixelColor(bar.PartRect(Part::TrackAfter).topLeft() + QPoint(0, 5)),
              QColor(Qt::blue));
}

TEST_F(ViewerBar, HoverMakesPartsHotAndLeavingMakesThemCold)
{
    QSignalSpy out(&bar, &TFatScrollBar::OnMouseOut);
    moveFree(&bar, upArrow());
    EXPECT_EQ(bar.PartState(Part::FirstArrow), TPartState::Hot);
    EXPECT_EQ(bar.PartState(Part::TrackAfter), TPartState::Cold);
    // On a row shared by two parts both are hot.
    moveFree(&bar, QPoint(3, 21));
    EXPECT_EQ(bar.PartState(Part::FirstArrow), TPartState::Hot);
    EXPECT_EQ(bar.PartState(Part::TrackBefore), TPartState::Hot);
    EXPECT_EQ(bar.PartState(Part::Scroller), TPartState::Hot);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&bar, &leave);
    for (int p = 0; p < TFatScrollBar::PartCount; ++p)
        EXPECT_EQ(bar.PartState(p), TPartState::Cold);
    EXPECT_EQ(out.count(), 1);
}

TEST_F(ViewerBar, ArrowPressShorterThanOneIntervalDoesNotMove)
{
    QSignalSpy changes(&bar, &TFatScrollBar::OnChange);
    press(&bar, downArrow());
    EXPECT_EQ(bar.PartState(Part::SecondArrow), TPartState::Down);
    EXPECT_EQ(bar.PressedPart(), Part::SecondArrow);
    EXPECT_TRUE(bar.RepeatTimerActive());
    release(&bar, downArrow());
    EXPECT_FALSE(bar.RepeatTimerActive());
    EXPECT_EQ(bar.PressedPart(), Part::NoPart);
    EXPECT_EQ(bar.PartState(Part::SecondArrow), TPartState::Hot);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(ViewerBar, HeldArrowStepsEachTickPausesOffTheArrowAndResumes)
{
    press(&bar, downArrow());
    bar.RepeatTimerTimer();
    bar.RepeatTimerTimer();
    bar.RepeatTimerTimer();
    EXPECT_EQ(bar.Position(), 3);

    moveHeld(&bar, QPoint(12, 300)); // off the arrow, button still held
    EXPECT_EQ(bar.PartState(Part::SecondArrow), TPartState::Cold);
    bar.RepeatTimerTimer(); // the tick finds the pointer elsewhere: the timer stops
    EXPECT_FALSE(bar.RepeatTimerActive());
    EXPECT_EQ(bar.Position(), 3);

    moveHeld(&bar, downArrow());
    EXPECT_EQ(bar.PartState(Part::SecondArrow), TPartState::Down);
    EXPECT_TRUE(bar.RepeatTimerActive());
    bar.RepeatTimerTimer();
    EXPECT_EQ(bar.Position(), 4);
    release(&bar, downArrow());

    // The up arrow stops at Min.
    press(&bar, upArrow());
    for (int i = 0; i < 10; ++i)
        bar.RepeatTimerTimer();
    EXPECT_EQ(bar.Position(), 0);
    release(&bar, upArrow());
}

TEST_F(ViewerBar, TrackPressPagesByLargeChangeUpToMax)
{
    const QPoint below = bar.PartRect(Part::TrackAfter).center() + QPoint(0, 150);
    press(&bar, below);
    EXPECT_EQ(bar.PressedPart(), Part::TrackAfter);
    bar.RepeatTimerTimer();
    EXPECT_EQ(bar.Position(), 5);
    // Each tick looks first, then pages: the thumb ends one page past the pointer,
    // and the tick that finds the pointer on the track above stops the timer.
    for (int i = 0; i < 10; ++i)
        bar.RepeatTimerTimer();
    EXPECT_EQ(bar.Position(), 30);
    EXPECT_GT(bar.PartRect(Part::Scroller).top(), below.y());
    EXPECT_FALSE(bar.RepeatTimerActive());
    release(&bar, below);
}

TEST_F(ViewerBar, RealTimerStepsAfterTheInterval)
{
    bar.SetScrollInterval(20);
    press(&bar, downArrow());
    QTest::qWait(5);
    EXPECT_EQ(bar.Position(), 0);
    QTest::qWait(120);
    EXPECT_GE(bar.Position(), 1);
    release(&bar, downArrow());
    const int stopped = bar.Position();
    QTest::qWait(60);
    EXPECT_EQ(bar.Position(), stopped);
}

TEST_F(ViewerBar, DraggingTheThumbFollowsThePointerAndStopsInsideTheRange)
{
    const QRect thumb = bar.PartRect(Part::Scroller);
    const QPoint grabAt = thumb.topLeft() + QPoint(5, 6);
    press(&bar, grabAt);
    EXPECT_EQ(bar.PressedPart(), Part::Scroller);
    EXPECT_EQ(bar.GrabOffset(), QPoint(5, 6));
    EXPECT_FALSE(bar.RepeatTimerActive());

    // 403 pixels of travel for 31 positions: 13 pixels a position.
    moveHeld(&bar, grabAt + QPoint(0, 13 * 10));
    EXPECT_EQ(bar.Position(), 10);
    moveHeld(&bar, grabAt + QPoint(0, 13 * 31));
    EXPECT_EQ(bar.Position(), 31);
    moveHeld(&bar, grabAt + QPoint(0, 13 * 29));
    EXPECT_EQ(bar.Position(), 29);
    moveHeld(&bar, QPoint(12, 2000)); // far past the end: refused, stays at the last value
    EXPECT_EQ(bar.Position(), 29);
    moveHeld(&bar, QPoint(12, -500));
    EXPECT_EQ(bar.Position(), 29);
    release(&bar, QPoint(12, -500));
}

TEST_F(ViewerBar, OtherButtonsMakePartsHotWithoutPressing)
{
    press(&bar, downArrow(), Qt::RightButton);
    EXPECT_EQ(bar.PartState(Part::SecondArrow), TPartState::Hot);
    EXPECT_EQ(bar.PressedPart(), Part::NoPart);
    EXPECT_FALSE(bar.RepeatTimerActive());
    release(&bar, downArrow(), Qt::RightButton);
}
