#include "GuiSupport.h"

#include "screens/AboutForm.h"

#include <QPointer>
#include <QSignalSpy>

using namespace guitest;

namespace
{

class AboutFormTest : public ::testing::Test
{
  protected:
    QStringList opened;
    TAboutForm::ShellOpener recorder = [this](const QString &t) { opened << t; };
};

TEST_F(AboutFormTest, LayoutPictureAndGreeting)
{
    QPointer<TAboutForm> f = new TAboutForm(nullptr, recorder);
    EXPECT_EQ(f->size(), QSize(560, 484));
    EXPECT_EQ(f->Image1->geometry(), QRect(78, 12, 409, 225));
    EXPECT_EQ(f->Image1->picture().size(), QSize(400, 228));
    EXPECT_EQ(f->Frame->geometry(), QRect(8, 8, 544, 468));
    EXPECT_EQ(f->OKButton->geometry(), QRect(451, 443, 90, 23));
    const QStringList lines = f->Greeting->caption().split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.first().contains(QStringLiteral("Quorvane")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Наши адреса в Интернет:")));
    EXPECT_TRUE(lines.contains(QStringLiteral("С наилучшими пожеланиями,")));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^    \\S"))).size(), 3);
    EXPECT_TRUE(lines.last().contains(QStringLiteral("Quorvane")));
    // Russian throughout: the maker's name is the one word in Latin letters.
    const QString withoutMaker = f->Greeting->caption().remove(QStringLiteral("Quorvane"));
    EXPECT_FALSE(withoutMaker.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
        << withoutMaker.toStdString();
    EXPECT_EQ(f->WebLink->caption(), QStringLiteral("https://quorvane.example/zentrika"));
    EXPECT_EQ(f->MailLink->caption(), QStringLiteral("zentrika@quorvane.example"));
    // The links sit at the ends of their lines, the mail one below the web one,
    // both inside the greeting and clear of the OK button.
    EXPECT_GT(f->WebLink->x(), f->Greeting->x() + 20);
    EXPECT_EQ(f->MailLink->y() - f->WebLink->y(), QFontMetrics(f->Greeting->font()).lineSpacing());
    EXPECT_LT(f->MailLink->geometry().bottom(), f->Greeting->geometry().bottom());
    EXPECT_FALSE(f->MailLink->geometry().intersects(f->OKButton->geometry()));
    // The whole greeting, wrapped, stays inside the frame.
    const QRect text =
        QFontMetrics(f->Greeting->font())
            .boundingRect(QRect(0, 0, f->Greeting->width(), 10000), Qt::TextWordWrap, f->Greeting->caption());
    EXPECT_LE(f->Greeting->y() + text.height(), f->Frame->geometry().bottom());
    delete f.data();
}

TEST_F(AboutFormTest, LinksOpenThroughTheShellAndLeaveTheBoxOpen)
{
    auto *f = new TAboutForm(nullptr, recorder);
    QPointer<TAboutForm> guard(f);
    f->ShowModalAsync();
    QTest::mouseClick(f->WebLink, Qt::LeftButton);
    QTest::mouseClick(f->MailLink, Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{QStringLiteral("https://quorvane.example/zentrika"),
                                   QStringLiteral("mailto:zentrika@quorvane.example")}));
    EXPECT_TRUE(f->isVisible());
    QTest::keyClick(f->OKButton, Qt::Key_Escape);
    flushDeletes();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(AboutFormTest, EnterEscapeAndOkCloseAndFreeTheBox)
{
    for (int way = 0; way < 3; ++way) {
        QPointer<TAboutForm> f = new TAboutForm(nullptr, recorder);
        f->ShowModalAsync();
        QSignalSpy finished(f.data(), &TForm::modalFinished);
        if (way == 0)
            QTest::keyClick(f->OKButton, Qt::Key_Return);
        else if (way == 1)
            QTest::keyClick(f->OKButton, Qt::Key_Escape);
        else
            QTest::mouseClick(f->OKButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(finished.count(), 1) << way;
        flushDeletes();
        EXPECT_TRUE(f.isNull()) << way;
        EXPECT_TRUE(opened.isEmpty()) << way;
    }
}

} // namespace
