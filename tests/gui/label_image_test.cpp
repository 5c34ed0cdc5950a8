#include "FakeResourceLibrary.h"
#include "GuiSupport.h"

#include "controls/LabelImage.h"
#include "widgets/FlatButton.h"

#include <QSignalSpy>

using namespace guitest;

namespace
{

class LabelImageTest : public MediaFixture
{
  protected:
    void SetUp() override
    {
        MediaFixture::SetUp();
        for (int id = 1; id <= 5; ++id)
            media.addString(id, QStringLiteral("Лого %1").arg(id));
        host.resize(200, 100);
        image = new TLabelImage(&host);
        image->setGeometry(64, 8, 50, 50);
        image->Loaded(&media);
    }
    QColor logoColor(int id) const { return QColor(id * 40, 0, 100); }
    QColor shown() const { return image->picture().pixelColor(20, 20); }

    QWidget host;
    TLabelImage *image = nullptr;
};

TEST_F(LabelImageTest, LoadsLogoOneAndPutsArrowsAtItsSides)
{
    EXPECT_EQ(image->LabelIndex(), 1);
    EXPECT_EQ(image->LabelCaption(), QStringLiteral("Лого 1"));
    EXPECT_EQ(shown(), logoColor(1));
    ASSERT_TRUE(image->PrevButton() && image->NextButton());
    EXPECT_EQ(image->PrevButton()->parentWidget(), &host);
    EXPECT_EQ(image->PrevButton()->geometry(), QRect(55, 8, 10, 50));
    EXPECT_EQ(image->NextButton()->geometry(), QRect(113, 8, 10, 50));
    EXPECT_EQ(image->PrevButton()->text(), QStringLiteral("<"));
    EXPECT_EQ(image->NextButton()->text(), QStringLiteral(">"));
    EXPECT_TRUE(image->PrevButton()->isEnabled());
}

TEST_F(LabelImageTest, ArrowsAndIndicesWrapAround)
{
    QSignalSpy changes(image, &TLabelImage::LabelChange);
    image->PrevButton()->click();
    EXPECT_EQ(image->LabelIndex(), 5);
    EXPECT_EQ(shown(), logoColor(5));
    image->NextButton()->click();
    EXPECT_EQ(image->LabelIndex(), 1);
    EXPECT_EQ(changes.count(), 2);
    image->SetLabelIndex(6); // wraps to the logo shown, which loads again
    EXPECT_EQ(image->LabelIndex(), 1);
    EXPECT_EQ(changes.count(), 3);
    image->SetLabelIndex(3);
    image->SetLabelIndex(6);
    EXPECT_EQ(image->LabelIndex(), 1);
    image->SetLabelIndex(0);
    EXPECT_EQ(image->LabelIndex(), 5);
    EXPECT_EQ(image->LabelCaption(), QStringLiteral("Лого 5"));
}

TEST_F(LabelImageTest, SameIndexNeitherReloadsNorSignals)
{
    QSignalSpy changes(image, &TLabelImage::LabelChange);
    image->SetLabelIndex(1);
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(LabelImageTest, NoneShowsWhiteWithoutCaptionOrSignal)
{
    QSignalSpy changes(image, &TLabelImage::LabelChange);
    image->SetLabelIndex(-1);
    EXPECT_EQ(image->LabelIndex(), -1);
    EXPECT_TRUE(image->LabelCaption().isEmpty());
    EXPECT_EQ(shown(), QColor(Qt::white));
    EXPECT_EQ(changes.count(), 0);
    // From none the next step shows a logo again.
    image->SetLabelIndex(2);
    EXPECT_EQ(shown(), logoColor(2));
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(LabelImageTest, LockedArrowsAreDisabled)
{
    image->SetLocked(true);
    EXPECT_FALSE(image->PrevButton()->isEnabled());
    EXPECT_FALSE(image->NextButton()->isEnabled());
    image->SetLabelIndex(4);
    EXPECT_EQ(image->LabelIndex(), 4);
    image->SetLocked(false);
    EXPECT_TRUE(image->NextButton()->isEnabled());
}

TEST_F(LabelImageTest, MissingLogoLeavesBlankKeepsCaptionAndStaysSilent)
{
    platform::FakeResourceLibrary partial;
    partial.addBitmap(1, solidImage(Qt::red));
    partial.addString(1, QStringLiteral("Один"));
    QWidget other;
    image = new TLabelImage(&other);
    image->Loaded(&partial);
    image->SetLabelIndex(5);
    image->SetLabelIndex(1);
    EXPECT_EQ(image->LabelCaption(), QStringLiteral("Один"));
    QSignalSpy changes(image, &TLabelImage::LabelChange);
    image->SetLabelIndex(2);
    EXPECT_EQ(image->LabelIndex(), 2);
    EXPECT_FALSE(image->hasPicture());
    EXPECT_EQ(image->LabelCaption(), QStringLiteral("Один"));
    EXPECT_EQ(changes.count(), 0);
}

TEST_F(LabelImageTest, FrameIsDrawnInTheBorderColour)
{
    image->BorderColor = zw::rgbValue(255, 0, 0);
    const QImage img = image->grab().toImage();
    EXPECT_EQ(img.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(49, 25), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(25, 25), logoColor(1));
}

} // namespace
