#include "GuiSupport.h"

#include <QScreen>

using namespace guitest;

namespace
{

struct Layout {
    int width = 0, height = 0, ramka = 0, textLeft = 0, okLeft = 0, cancelLeft = 0;
    QString ok, cancel;
    bool image = false, cancelVisible = false;
    QPoint pos;
    QColor pictureColor;
    int textHeight = 0;
};

Layout capture(TMessageBoxForm *box)
{
    Layout l;
    l.width = box->width();
    l.height = box->height();
    l.ramka = box->Frame->width();
    l.textLeft = box->Text->x();
    l.okLeft = box->OKButton->x();
    l.cancelLeft = box->CancelBtn->x();
    l.ok = box->OKButton->text();
    l.cancel = box->CancelBtn->text();
    l.image = box->Image->isVisible();
    l.cancelVisible = box->CancelBtn->isVisible();
    l.pos = box->pos();
    l.textHeight = box->Text->height();
    if (box->Image->hasPicture())
        l.pictureColor = box->Image->picture().pixelColor(10, 10);
    return l;
}

class MessageBoxTest : public MediaFixture
{
  protected:
    // Shows through `show` while `act` inspects the open box and closes it.
    template <typename Show>
    auto run(const Show &show, Layout &layout, const std::function<void(QWidget *)> &close)
    {
        whenModal([&](QWidget *w) {
            EXPECT_EQ(w, &box);
            layout = capture(&box);
            close(w);
        });
        return show();
    }

    static void pressEnter(QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }
    static void pressEscape(QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); }

    int textWidth(const QString &text) const
    {
        return QFontMetrics(box.Text->font()).horizontalAdvance(text);
    }

    TMessageBoxForm box{&media, nullptr, &waves};
};

TEST_F(MessageBoxTest, NoticeIsLaidOutForItsTextAndPlaysErrorSound)
{
    const QString text = QStringLiteral("Введите свой ответ!");
    const int w = textWidth(text);
    Layout l;
    run(
        [&] {
            box.ShowNotice(text);
            return box.modalResult();
        },
        l, pressEnter);

    EXPECT_EQ(l.width, w + 36);
    EXPECT_EQ(l.height, 78);
    EXPECT_EQ(l.ramka, w + 20);
    EXPECT_EQ(l.okLeft, w - 45);
    // The button ends 8 pixels inside the frame.
    EXPECT_EQ(8 + l.ramka - (l.okLeft + 65), 8);
    EXPECT_EQ(l.textLeft, 18);
    EXPECT_EQ(l.ok, QStringLiteral("Ok"));
    EXPECT_FALSE(l.image);
    EXPECT_FALSE(l.cancelVisible);
    const QRect screen = box.screen()->geometry();
    EXPECT_EQ(l.pos.x(), screen.x() + (screen.width() - l.width) / 2);
    EXPECT_EQ(l.pos.y(), screen.y() + (screen.height() - 78) / 2);
    EXPECT_EQ(sounds.played, QStringList{QStringLiteral("ERROR")}); // Enter plays no click
    EXPECT_FALSE(box.isVisible());
}

TEST_F(MessageBoxTest, QuestionPlacesBothButtonsAndAnswersByKey)
{
    const QString text = QStringLiteral("Хотите выйти из игры?");
    const int w = textWidth(text);
    Layout l;
    Reply result = run([&] { return box.Ask(text); }, l, pressEnter);
    EXPECT_EQ(result, Reply::Yes);
    EXPECT_EQ(l.textLeft, 77);
    EXPECT_EQ(l.ramka, w + 75);
    EXPECT_EQ(l.width, w + 91);
    EXPECT_EQ(l.cancelLeft, l.width - 81);
    EXPECT_EQ(l.okLeft, l.cancelLeft - 72);
    EXPECT_EQ(l.ok, QStringLiteral("Да"));
    EXPECT_EQ(l.cancel, QStringLiteral("Нет"));
    EXPECT_TRUE(l.image);
    EXPECT_TRUE(l.cancelVisible);
    EXPECT_EQ(l.pictureColor, kQuestionColor);

    result = run([&] { return box.Ask(text); }, l, pressEscape);
    EXPECT_EQ(result, Reply::No);
    EXPECT_EQ(sounds.played, (QStringList{QStringLiteral("ERROR"), QStringLiteral("ERROR")}));
}

TEST_F(MessageBoxTest, ButtonsClickAndCloseWithTheirResults)
{
    Layout l;
    Reply result = run([&] { return box.Ask(QStringLiteral("Хотите выйти в главное меню?")); }, l,
                       [&](QWidget *) { QTest::mouseClick(box.CancelBtn, Qt::LeftButton); });
    EXPECT_EQ(result, Reply::No);
    result = run([&] { return box.Ask(QStringLiteral("Хотите выйти в главное меню?")); }, l,
                 [&](QWidget *) { QTest::mouseClick(box.OKButton, Qt::LeftButton); });
    EXPECT_EQ(result, Reply::Yes);
    EXPECT_EQ(sounds.played, (QStringList{"ERROR", "CLICK", "ERROR", "CLICK"}));
}

TEST_F(MessageBoxTest, NoticeAfterQuestionShowsOneOkButtonWithoutPicture)
{
    Layout l;
    run([&] { return box.Ask(QStringLiteral("Хотите посмотреть ответ за 20 очков?")); }, l, pressEnter);
    run(
        [&] {
            box.ShowNotice(QStringLiteral("Выберите пользователя."));
            return 0;
        },
        l, pressEscape);
    EXPECT_EQ(l.ok, QStringLiteral("Ok"));
    EXPECT_FALSE(l.image);
    EXPECT_FALSE(l.cancelVisible);
    EXPECT_EQ(l.textLeft, 18);
}

TEST_F(MessageBoxTest, LongMessageWidensOnOneLine)
{
    const QString text =
        QStringLiteral("Невозможно загрузить данные о пользователе. Пользователь будет удалён");
    Layout l;
    run(
        [&] {
            box.ShowNotice(text);
            return 0;
        },
        l, pressEnter);
    EXPECT_GT(l.width, 233 + 100);
    EXPECT_EQ(l.width, textWidth(text) + 36);
    EXPECT_EQ(l.height, 78);
    EXPECT_EQ(l.textHeight, QFontMetrics(box.Text->font()).height());
}

TEST_F(MessageBoxTest, VerdictsShowTheirPicturesAndPlayOnlyTheirSounds)
{
    Layout right, wrong;
    run(
        [&] {
            box.ShowTrueAnswer();
            return 0;
        },
        right, pressEnter);
    run(
        [&] {
            box.ShowFalseAnswer();
            return 0;
        },
        wrong, pressEnter);
    EXPECT_EQ(sounds.played, (QStringList{"TRUEANSWER", "FALSEANSWER"}));
    EXPECT_EQ(right.pictureColor, kTrueColor);
    EXPECT_EQ(wrong.pictureColor, kFalseColor);
    for (const Layout &l : {right, wrong}) {
        EXPECT_TRUE(l.image);
        EXPECT_EQ(l.textLeft, 77);
        EXPECT_EQ(l.width, l.ramka + 16);
        EXPECT_EQ(l.okLeft, l.width - 65 - 16);
        EXPECT_EQ(l.ok, QStringLiteral("Ok"));
    }
    EXPECT_EQ(right.ramka, textWidth(QStringLiteral("Поздравляем с правильным ответом!")) + 75);
    // Each box re-centres for its own width.
    EXPECT_NE(right.width, wrong.width);
    const QRect screen = box.screen()->geometry();
    EXPECT_EQ(right.pos.x(), screen.x() + (screen.width() - right.width) / 2);
    EXPECT_EQ(wrong.pos.x(), screen.x() + (screen.width() - wrong.width) / 2);
}

TEST_F(MessageBoxTest, VictoryShowsTheNumberedLogoSilently)
{
    Layout l;
    run(
        [&] {
            box.ShowPictureIdNotice(3, QStringLiteral("Поздравляем с победой!"));
            return 0;
        },
        l, pressEnter);
    EXPECT_TRUE(l.image);
    EXPECT_EQ(l.pictureColor, QColor(120, 0, 100));
    EXPECT_TRUE(sounds.played.isEmpty());
}

TEST_F(MessageBoxTest, MissingPictureRaisesAndShowsNothing)
{
    EXPECT_THROW(box.ShowPictureNotice(QStringLiteral("NOSUCH"), QStringLiteral("x")),
                 platform::EResourceError);
    EXPECT_THROW(box.ShowPictureIdNotice(42, QStringLiteral("x")), platform::EResourceError);
    TMessageBoxForm bare; // no library at all
    EXPECT_THROW(bare.Ask(QStringLiteral("x")), platform::EResourceError);
    EXPECT_FALSE(box.isVisible());
    EXPECT_FALSE(bare.isVisible());
    EXPECT_TRUE(sounds.played.isEmpty());
}

TEST_F(MessageBoxTest, SilentWithoutSoundsAndStillShows)
{
    waves.free();
    Layout l;
    run(
        [&] {
            box.ShowNotice(QStringLiteral("Введите имя пользователя."));
            return 0;
        },
        l, pressEnter);
    EXPECT_EQ(l.ok, QStringLiteral("Ok"));
    EXPECT_TRUE(sounds.played.isEmpty());
}

} // namespace
