#include "controls/AlphaLabel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

namespace
{

// A parent with a known picture behind the label: a horizontal gradient.
class Backdrop : public QWidget
{
  public:
    Backdrop() { resize(300, 120); }
    static QColor at(int x, int y) { return QColor(x % 256, (x + y) % 256, 200); }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        for (int x = 0; x < width(); ++x)
            for (int y = 0; y < height(); ++y)
                p.fillRect(x, y, 1, 1, at(x, y));
    }
};

TEST(AlphaLabel, StepFollowsShowTimeWithTiesToEven)
{
    TAlphaLabel l;
    EXPECT_EQ(l.Alpha(), 255);
    EXPECT_EQ(l.ShowTime(), 1000);
    EXPECT_EQ(l.FadeStep(), 3); // 2.55
    l.setShowTime(500);
    EXPECT_EQ(l.FadeStep(), 5); // 5.1
    l.setShowTime(5100);
    EXPECT_EQ(l.FadeStep(), 0); // 0.5: the even neighbour
    l.setShowTime(1700);
    EXPECT_EQ(l.FadeStep(), 2); // 1.5: the even neighbour
    l.setShowTime(0);
    EXPECT_EQ(l.FadeStep(), 255); // no division by zero: one tick
    l.setShowTime(5);
    EXPECT_EQ(l.FadeStep(), 255);
}

TEST(AlphaLabel, RangeShapesOnlyTheNextStepAndRefusesOutOfOrderValues)
{
    TAlphaLabel l;
    l.setShowTime(500);
    l.setMinAlpha(255); // not below MaxAlpha 255
    EXPECT_EQ(l.MinAlpha(), 0);
    l.setMaxAlpha(0); // not above MinAlpha 0
    EXPECT_EQ(l.MaxAlpha(), 255);
    l.setMinAlpha(100);
    l.setMaxAlpha(150);
    EXPECT_EQ(l.MinAlpha(), 100);
    EXPECT_EQ(l.MaxAlpha(), 150);
    EXPECT_EQ(l.FadeStep(), 5); // set before the range changed
    l.setShowTime(500);
    EXPECT_EQ(l.FadeStep(), 1); // 50 / 50
}

TEST(AlphaLabel, FadesEndAtTheEndsAndStopTheirTimer)
{
    TAlphaLabel l;
    l.setAlpha(0);
    l.setShowTime(500);
    l.FadeIn();
    EXPECT_TRUE(l.isFading());
    int ticks = 0;
    while (l.isFading() && ticks < 1000) {
        l.FadeTick();
        ++ticks;
        if (l.isFading()) {
            EXPECT_EQ(l.Alpha(), ticks * 5);
        }
    }
    EXPECT_EQ(ticks, 51); // 5, 10, ..., 250, then 255
    EXPECT_EQ(l.Alpha(), 255);

    l.setAlpha(3);
    l.FadeOut();
    l.FadeTick();
    EXPECT_EQ(l.Alpha(), 0);
    EXPECT_FALSE(l.isFading());
}

TEST(AlphaLabel, FadeOutDuringFadeInTurnsBackFromTheCurrentAlpha)
{
    TAlphaLabel l;
    l.setAlpha(0);
    l.setShowTime(500);
    l.FadeIn();
    for (int i = 0; i < 4; ++i)
        l.FadeTick();
    EXPECT_EQ(l.Alpha(), 20);
    l.FadeOut();
    l.FadeTick();
    EXPECT_EQ(l.Alpha(), 15);
    EXPECT_FALSE(l.isFadingIn());
    for (int i = 0; i < 3; ++i)
        l.FadeTick();
    EXPECT_EQ(l.Alpha(), 0);
    EXPECT_FALSE(l.isFading());
}

TEST(AlphaLabel, ZeroStepFadeInRunsOnUntilFadeOutWhichEndsAtOnce)
{
    TAlphaLabel l;
    l.setAlpha(0);
    l.setShowTime(6000);
    ASSERT_EQ(l.FadeStep(), 0);
    l.FadeIn();
    for (int i = 0; i < 10; ++i)
        l.FadeTick();
    EXPECT_EQ(l.Alpha(), 0);
    EXPECT_TRUE(l.isFading());
    l.FadeOut();
    l.FadeTick();
    EXPECT_EQ(l.Alpha(), 0);
    EXPECT_FALSE(l.isFading());
}

TEST(AlphaLabel, TheTimerDrivesTheFadeToItsEnd)
{
    TAlphaLabel l;
    l.setAlpha(0);
    l.setShowTime(500);
    l.FadeIn();
    EXPECT_EQ(TAlphaLabel::TickMs, 10);
    QElapsedTimer t;
    t.start();
    while (l.isFading() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(l.Alpha(), 255);
    EXPECT_FALSE(l.isFading());
}

TEST(AlphaLabel, ChannelBlendIsNearestForEveryValue)
{
    for (unsigned a = 0; a < 256; a += 1)
        for (unsigned c = 0; c < 256; c += 3)
            for (unsigned b = 0; b < 256; ++b) {
                const double exact = a * double(c) / 255 + (255 - a) * double(b) / 255;
                ASSERT_EQ(TAlphaLabel::blendChannel(a, c, b), std::uint8_t(std::nearbyint(exact)))
                    << a << " " << c << " " << b;
            }
}

TEST(AlphaLabel, ComposeReplacesKeyPixelsAndBlendsTheRest)
{
    QImage snap(4, 1, QImage::Format_RGB32);
    for (int x = 0; x < 4; ++x)
        snap.setPixel(x, 0, qRgb(10 * x, 100, 200));
    QImage surf(4, 1, QImage::Format_RGB32);
    surf.setPixel(0, 0, qRgb(255, 255, 255)); // the key
    surf.setPixel(1, 0, qRgb(0, 0, 128));
    surf.setPixel(2, 0, qRgb(255, 255, 255));
    surf.setPixel(3, 0, qRgb(255, 255, 254)); // one off the key: blended
    QImage s = surf;
    TAlphaLabel::Compose(s, snap, 0);
    EXPECT_EQ(s.pixel(1, 0), snap.pixel(1, 0));
    EXPECT_EQ(s.pixel(3, 0), snap.pixel(3, 0));
    s = surf;
    TAlphaLabel::Compose(s, snap, 255);
    EXPECT_EQ(s.pixel(0, 0), snap.pixel(0, 0));
    EXPECT_EQ(s.pixel(1, 0), qRgb(0, 0, 128));
    EXPECT_EQ(s.pixel(2, 0), snap.pixel(2, 0));
    EXPECT_EQ(s.pixel(3, 0), qRgb(255, 255, 254));
    s = surf;
    TAlphaLabel::Compose(s, snap, 128);
    EXPECT_EQ(s.pixel(1, 0),
              qRgb(TAlphaLabel::blendChannel(128, 0, 10), TAlphaLabel::blendChannel(128, 0, 100),
                   TAlphaLabel::blendChannel(128, 128, 200)));
}

class AlphaLabelOnBackdrop : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        label = new TAlphaLabel(&backdrop);
        label->setFont(QFont(QStringLiteral("Sans"), 12));
        label->setTextColor(zw::rgbValue(0, 0, 128));
        label->setAutoSize(false);
        label->setWordWrap(true);
        label->setCaption(QStringLiteral("  Войти в игровой режим"));
        label->setGeometry(20, 30, 257, 72);
        label->Loaded();
    }
    QImage shot() { return backdrop.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    Backdrop backdrop;
    TAlphaLabel *label = nullptr;
};

TEST_F(AlphaLabelOnBackdrop, InvisibleShowsTheParentAndSolidShowsTheCaption)
{
    label->setAlpha(0);
    QImage img = shot();
    // Faded out it leaves the parent's picture as it is, with no snapshot of it.
    EXPECT_TRUE(label->snapshotNeeded());
    int differing = 0;
    for (int y = 30; y < 102; ++y)
        for (int x = 20; x < 277; ++x)
            differing += img.pixelColor(x, y) != Backdrop::at(x, y);
    EXPECT_EQ(differing, 0);

    label->setAlpha(255);
    img = shot();
    EXPECT_FALSE(label->snapshotNeeded());
    EXPECT_EQ(label->surface().size(), QSize(257, 72));
    int navy = 0, other = 0;
    for (int y = 30; y < 102; ++y)
        for (int x = 20; x < 277; ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c == QColor(0, 0, 128))
                ++navy;
            else if (c != Backdrop::at(x, y))
                ++other;
        }
    EXPECT_GT(navy, 30);
    EXPECT_EQ(other, 0); // outside the text the backdrop stays as it was

    // Half way: text pixels lie between navy and the backdrop.
    label->setAlpha(128);
    img = shot();
    int between = 0;
    for (int y = 30; y < 102; ++y)
        for (int x = 20; x < 277; ++x) {
            const QColor c = img.pixelColor(x, y);
            if (c != Backdrop::at(x, y) && c != QColor(0, 0, 128))
                ++between;
        }
    EXPECT_EQ(between, navy);
}

TEST(AlphaLabel, CaptionOverTheTopLeftPixelMakesTextColourTheKey)
{
    // First paint of a label whose text covers (0, 0): navy is the key.
    QImage surf(3, 1, QImage::Format_RGB32);
    surf.setPixel(0, 0, qRgb(0, 0, 128));
    surf.setPixel(1, 0, qRgb(0, 0, 128));
    surf.setPixel(2, 0, qRgb(255, 255, 255));
    QImage snap(3, 1, QImage::Format_RGB32);
    snap.fill(qRgb(30, 60, 90));
    TAlphaLabel::Compose(surf, snap, 255);
    EXPECT_EQ(surf.pixel(0, 0), qRgb(30, 60, 90));
    EXPECT_EQ(surf.pixel(1, 0), qRgb(30, 60, 90));
    EXPECT_EQ(surf.pixel(2, 0), qRgb(255, 255, 255)); // the blank surface now counts as text
}

} // namespace
