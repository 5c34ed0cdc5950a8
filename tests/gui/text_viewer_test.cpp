#include "GuiSupport.h"
#include "controls/RichEditEx.h"
#include "widgets/richtext/RtfWriter.h"

#include <QSignalSpy>
#include <QTextBlock>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace
{

using Part = TFatScrollBar::TPart;

// Single-line paragraphs; `spaceAfter` in twips spreads them apart.
QByteArray lines(int count, int spaceAfter = 0)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Comic Sans MS;}}\\pard";
    if (spaceAfter > 0)
        rtf += "\\sa" + QByteArray::number(spaceAfter);
    rtf += ' ';
    for (int i = 1; i <= count; ++i)
        rtf += "\\'d1\\'f2\\'f0\\'ee\\'ea\\'e0 " + QByteArray::number(i) + "\\par\n";
    return rtf + "}";
}

QByteArray longText()
{
    QVector<richtext::RtfParagraph> ps;
    for (int i = 0; i < 12; ++i)
        ps.append(richtext::RtfParagraph{{richtext::RtfRun{
            QString::fromUtf8("Три кота пили молоко, и каждый выпил на два стакана больше соседа. "),
            false,
            false,
            false,
            {}}}});
    return richtext::writeRtf(ps);
}

struct TextViewer : guitest::MediaFixture {
    QWidget owner;
    TRichEditEx *viewer = nullptr;
    void SetUp() override
    {
        guitest::MediaFixture::SetUp();
        owner.resize(800, 600);
        viewer = new TRichEditEx(&owner);
        viewer->setSounds(&waves);
        viewer->SetEditWidth(344);
        viewer->setGeometry(30, 40, 344, 300);
        owner.show();
    }
    TFatScrollBar *bar() const { return viewer->ScrollBar(); }
};

} // namespace

TEST_F(TextViewer, StartsWithItsDesignValuesAndCompanionsOnTheOwner)
{
    TRichEditEx fresh(&owner);
    EXPECT_EQ(fresh.EditWidth(), 100);
    EXPECT_EQ(fresh.width(), 100);
    EXPECT_EQ(fresh.FontLevel(), 3);
    EXPECT_FALSE(fresh.ScrollActive());
    EXPECT_EQ(fresh.ScrollPosition(), 0);
    EXPECT_EQ(fresh.BorderColor(), zw::rgbValue(128, 128, 128));
    EXPECT_EQ(fresh.SColor(), zw::rgbValue(253, 237, 196));
    EXPECT_EQ(fresh.HotColor(), zw::rgbValue(252, 225, 154));
    for (QWidget *w : std::initializer_list<QWidget *>{fresh.ScrollBar(), fresh.PlusButton(),
                                                       fresh.MinusButton(), fresh.Frame()})
        EXPECT_EQ(w->parentWidget(), &owner);

    TFatScrollBar *b = fresh.ScrollBar();
    EXPECT_EQ(b->Kind(), TFatScrollBar::sbVertical);
    EXPECT_TRUE(b->isHidden());
    EXPECT_EQ(b->ArrowStretch(), 37);
    EXPECT_EQ(b->Max(), 5);
    EXPECT_EQ(b->LargeChange(), 5);
    EXPECT_EQ(b->StyleArrow()->Fill()->ColorDown(), QColor(253, 237, 196));
    EXPECT_EQ(b->StyleArrow()->Border()->ColorHot(), QColor(Qt::black));
    EXPECT_EQ(b->StyleArrowButton()->Fill()->ColorHot(), QColor(252, 225, 154));
    EXPECT_EQ(b->StyleScroller()->Border()->ColorDown(), QColor(128, 128, 128));
    EXPECT_EQ(b->StyleTrack()->Fill()->ColorHot(), QColor(Qt::white));

    EXPECT_EQ(fresh.PlusButton()->text(), "+");
    EXPECT_EQ(fresh.MinusButton()->text(), "-");
    EXPECT_EQ(fresh.PlusButton()->hint(), QString::fromUtf8("Увеличить шрифт"));
    EXPECT_EQ(fresh.MinusButton()->hint(), QString::fromUtf8("Уменьшить шрифт"));
    EXPECT_EQ(fresh.PlusButton()->font().pixelSize(), 16);
    EXPECT_EQ(fresh.PlusButton()->colors().focused, zw::rgbValue(252, 225, 154));
    EXPECT_EQ(fresh.PlusButton()->focusPolicy(), Qt::NoFocus);
}

TEST_F(TextViewer, PlacesCompanionsAtEveryMoveAndResize)
{
    const auto check = [&](int L, int T, int W, int H) {
        EXPECT_EQ(bar()->geometry(), QRect(L + W, T - 1, 25, H + 2));
        EXPECT_EQ(bar()->ArrowWidth(), 22);
        EXPECT_EQ(bar()->ScrollInterval(), 50);
        EXPECT_EQ(viewer->MinusButton()->geometry(), QRect(L + 344 - 48, T + H, 25, 25));
        EXPECT_EQ(viewer->PlusButton()->geometry(), QRect(L + 344 - 24, T + H, 25, 25));
        EXPECT_EQ(viewer->Frame()->geometry(), QRect(L - 1, T - 1, W + 2, H + 2));
    };
    check(30, 40, 344, 300);
    EXPECT_EQ(bar()->ScrollerWidth(), 20);
    viewer->move(100, 120);
    check(100, 120, 344, 300);
    viewer->resize(300, 459);
    check(100, 120, 300, 459);
}

TEST_F(TextViewer, TextThatFitsKeepsTheFullWidthAndNoBar)
{
    QSignalSpy changes(viewer, &TRichEditEx::OnChange);
    viewer->SetText(lines(3));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(viewer->ScrollActive());
    EXPECT_EQ(viewer->width(), 344);
    EXPECT_TRUE(bar()->isHidden());
    // Formatted in one face and size, justified with the paragraph indents.
    const QTextBlock first = viewer->document()->begin();
    EXPECT_EQ(first.blockFormat().alignment(), Qt::AlignJustify);
    EXPECT_EQ(viewer->document()->find("1").charFormat().fontPointSize(), 10.0);
    EXPECT_EQ(viewer->document()->find("1").charFormat().fontFamilies().toStringList(),
              QStringList{"Comic Sans MS"});
    // ScrollTo is ignored while the text fits.
    viewer->ScrollTo(1);
    EXPECT_EQ(viewer->ScrollPosition(), 0);
    EXPECT_EQ(viewer->firstVisibleLine(), 0);
}

TEST_F(TextViewer, LongerTextNarrowsTheViewAndShowsTheBar)
{
    viewer->SetText(lines(60));
    EXPECT_TRUE(viewer->ScrollActive());
    EXPECT_EQ(viewer->width(), 344 - 24);
    EXPECT_TRUE(bar()->isVisible());
    const int visible = viewer->VisibleLineCount();
    EXPECT_EQ(viewer->lineCount(), 60);
    EXPECT_EQ(bar()->Max(), 60 - visible + 1);
    EXPECT_EQ(bar()->ScrollerWidth(), bar()->height() / bar()->Max());
    EXPECT_EQ(bar()->geometry(), QRect(30 + 320, 39, 25, 302));

    // A text that fits again widens the view and hides the bar.
    viewer->SetText(lines(2));
    EXPECT_FALSE(viewer->ScrollActive());
    EXPECT_EQ(viewer->width(), 344);
    EXPECT_TRUE(bar()->isHidden());
}

TEST_F(TextViewer, FiftyLinesWithTwentyVisibleGiveMax31AndA14PixelThumb)
{
    viewer->resize(344, 459); // the bar beside it is 461 pixels high
    viewer->SetText(lines(2));
    const QTextLayout *layout = viewer->document()->begin().layout();
    ASSERT_EQ(layout->lineCount(), 1);
    const double lineHeight = layout->lineAt(0).height();
    // Spread the lines so that 19 fit whole and the 20th is cut by the bottom edge.
    const int spaceAfter = int(std::lround((459.0 / 19.5 - lineHeight) * 15));
    ASSERT_GT(spaceAfter, 0);
    viewer->SetText(lines(50, spaceAfter));
    EXPECT_EQ(viewer->lineCount(), 50);
    EXPECT_EQ(viewer->VisibleLineCount(), 20);
    EXPECT_EQ(bar()->height(), 461);
    EXPECT_EQ(bar()->Max(), 31);
    EXPECT_EQ(bar()->ScrollerWidth(), 14);
    EXPECT_EQ(bar()->PartRect(Part::Scroller).height(), 14 + 2);
}

TEST_F(TextViewer, WheelStepsThroughScrollToStopAtBothEnds)
{
    viewer->SetText(lines(60));
    const int max = bar()->Max();
    viewer->ScrollTo(std::uint16_t(viewer->ScrollPosition() - 1)); // 65535 at the top
    EXPECT_EQ(viewer->ScrollPosition(), 0);
    EXPECT_EQ(viewer->firstVisibleLine(), 0);

    viewer->ScrollTo(viewer->ScrollPosition() + 1);
    viewer->ScrollTo(viewer->ScrollPosition() + 1);
    EXPECT_EQ(viewer->ScrollPosition(), 2);
    EXPECT_EQ(bar()->Position(), 2);
    EXPECT_EQ(viewer->firstVisibleLine(), 2);

    viewer->ScrollTo(std::uint16_t(max));
    EXPECT_EQ(viewer->ScrollPosition(), max);
    viewer->ScrollTo(std::uint16_t(max + 1)); // a notch down at Max
    EXPECT_EQ(viewer->ScrollPosition(), max);
    EXPECT_EQ(bar()->Position(), max);
    viewer->ScrollTo(std::uint16_t(max - 1));
    EXPECT_EQ(viewer->ScrollPosition(), max - 1);
}

TEST_F(TextViewer, LeavesTheWheelToItsOwner)
{
    viewer->SetText(lines(60));
    QWheelEvent wheel(QPointF(10, 10), viewer->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewer->viewport(), &wheel);
    EXPECT_FALSE(wheel.isAccepted()); // so it travels on to the screen
    EXPECT_EQ(viewer->firstVisibleLine(), 0);
    EXPECT_EQ(viewer->ScrollPosition(), 0);
}

TEST_F(TextViewer, BarScrollsTheTextLineByLine)
{
    viewer->SetText(lines(60));
    bar()->SetPosition(7);
    EXPECT_EQ(viewer->ScrollPosition(), 7);
    EXPECT_EQ(viewer->firstVisibleLine(), 7);
    // Holding the bar's down arrow for two ticks.
    const QPoint arrow = bar()->PartRect(Part::SecondArrow).center();
    QTest::mousePress(bar(), Qt::LeftButton, {}, arrow);
    bar()->RepeatTimerTimer();
    bar()->RepeatTimerTimer();
    QTest::mouseRelease(bar(), Qt::LeftButton, {}, arrow);
    EXPECT_EQ(viewer->ScrollPosition(), 9);
    EXPECT_EQ(viewer->firstVisibleLine(), 9);
}

TEST_F(TextViewer, FontLevelStaysWithinOneToFiveAndReturnsToTheTop)
{
    viewer->SetText(longText());
    viewer->SetFontLevel(2);
    viewer->ScrollTo(3);
    ASSERT_EQ(viewer->ScrollPosition(), 3);

    QTest::mouseClick(viewer->PlusButton(), Qt::LeftButton);
    EXPECT_EQ(viewer->FontLevel(), 3);
    EXPECT_EQ(sounds.played, QStringList{"CLICK"});
    EXPECT_EQ(viewer->ScrollPosition(), 0);
    EXPECT_EQ(viewer->firstVisibleLine(), 0);

    QTest::mouseClick(viewer->PlusButton(), Qt::LeftButton);
    QTest::mouseClick(viewer->PlusButton(), Qt::LeftButton);
    EXPECT_EQ(viewer->FontLevel(), 5);
    EXPECT_FALSE(viewer->PlusButton()->isEnabled());
    EXPECT_TRUE(viewer->MinusButton()->isEnabled());
    EXPECT_EQ(viewer->document()->find(QString::fromUtf8("кота")).charFormat().fontPointSize(), 13.0);
    QTest::mouseClick(viewer->PlusButton(), Qt::LeftButton); // disabled: nothing happens
    EXPECT_EQ(viewer->FontLevel(), 5);
    EXPECT_EQ(sounds.played.size(), 3);
    const int largeLines = viewer->lineCount();

    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(viewer->MinusButton(), Qt::LeftButton);
    EXPECT_EQ(viewer->FontLevel(), 1);
    EXPECT_FALSE(viewer->MinusButton()->isEnabled());
    EXPECT_TRUE(viewer->PlusButton()->isEnabled());
    EXPECT_EQ(viewer->document()->find(QString::fromUtf8("кота")).charFormat().fontPointSize(), 7.0);
    EXPECT_LT(viewer->lineCount(), largeLines);

    viewer->SetFontLevel(9);
    EXPECT_EQ(viewer->FontLevel(), 5);
    viewer->SetFontLevel(-3);
    EXPECT_EQ(viewer->FontLevel(), 1);
}

TEST_F(TextViewer, HidingAndShowingTakesTheCompanionsAlong)
{
    viewer->SetText(lines(60));
    viewer->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{bar(), viewer->PlusButton(), viewer->MinusButton(),
                                                       viewer->Frame()})
        EXPECT_FALSE(w->isVisible());
    viewer->show();
    for (QWidget *w : std::initializer_list<QWidget *>{bar(), viewer->PlusButton(), viewer->MinusButton(),
                                                       viewer->Frame()})
        EXPECT_TRUE(w->isVisible());

    // A text that fits has no bar, however often the viewer is shown again.
    viewer->SetText(lines(2));
    EXPECT_FALSE(bar()->isVisible());
    for (int i = 0; i < 2; ++i) {
        viewer->hide();
        viewer->show();
        EXPECT_FALSE(bar()->isVisible());
        EXPECT_TRUE(viewer->PlusButton()->isVisible());
    }
    // A long text set while hidden brings its bar when shown.
    viewer->hide();
    viewer->SetText(lines(60));
    EXPECT_FALSE(bar()->isVisible());
    viewer->show();
    EXPECT_TRUE(bar()->isVisible());
}

TEST_F(TextViewer, FreesItsCompanions)
{
    QPointer<QWidget> b = viewer->ScrollBar(), plus = viewer->PlusButton(), frame = viewer->Frame();
    delete viewer;
    EXPECT_TRUE(b.isNull());
    EXPECT_TRUE(plus.isNull());
    EXPECT_TRUE(frame.isNull());
}
