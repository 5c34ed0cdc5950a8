#include "GuiSupport.h"

#include "core/ProfileBackup.h"
#include "platform/Registry.h"
#include "screens/UserSelectDialog.h"
#include "widgets/Stage.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace guitest;

namespace
{

class UserSelectTest : public MediaFixture
{
  protected:
    void SetUp() override
    {
        MediaFixture::SetUp();
        for (int id = 1; id <= 5; ++id)
            media.addString(id, QStringLiteral("Лого %1").arg(id));
        registry = &playerStore.get(); // the store the dialogs are given
        context.messages = &box;
    }

    void storePlayer(const QString &name, int logo, int scores, int level, int ld, int hu)
    {
        auto u = TUser::CreateNew(name, std::uint8_t(logo));
        u->Scores = scores;
        u->Level = std::uint8_t(level);
        u->LD = std::uint16_t(ld);
        u->HU = std::uint16_t(hu);
        u->SaveToRegistry(*registry);
    }
    void storeBroken(const QString &name)
    {
        registry->openKey(TUser::UsersKey + name + QLatin1Char('\\'), true)
            ->writeString(QStringLiteral("Name"), name);
    }
    bool stored(const QString &name) const
    {
        return registry->keyExists(TUser::UsersKey + name + QLatin1Char('\\'));
    }

    std::unique_ptr<TUserSelectDialog> open()
    {
        auto d = std::make_unique<TUserSelectDialog>(context);
        d->ShowModalAsync();
        return d;
    }
    static void typeName(TUserSelectDialog &d, const QString &name)
    {
        d.UserSelectComboBox->lineEdit()->clear();
        typeText(d.UserSelectComboBox->lineEdit(), name);
    }
    static void pick(TUserSelectDialog &d, const QString &name)
    {
        const int i = d.UserSelectComboBox->findText(name);
        ASSERT_GE(i, 0) << name.toStdString();
        d.UserSelectComboBox->setCurrentIndex(i);
    }
    static void enter(TUserSelectDialog &d) { QTest::keyClick(d.UserSelectComboBox, Qt::Key_Return); }
    QStringList notices() const
    {
        QStringList out;
        for (const auto &s : box.shown)
            out << s.text;
        return out;
    }
    int clicks() const { return int(sounds.played.count(QStringLiteral("CLICK"))); }

    platform::Registry *registry = nullptr;
    RecordingMessageBox box{&media, nullptr, &waves};
};

TEST_F(UserSelectTest, OpensWithOneClickInNewGameModeWithNewPlayerValues)
{
    storePlayer(QStringLiteral("Вася"), 3, 120, 2, 4, 1);
    auto d = open();
    EXPECT_EQ(clicks(), 1);
    EXPECT_TRUE(d->NewGameMode);
    EXPECT_TRUE(d->NewGameRB->isChecked());
    EXPECT_EQ(d->UserImage->LabelIndex(), 1);
    EXPECT_EQ(d->LabelName->caption(), QStringLiteral("Лого 1"));
    EXPECT_EQ(d->LevelLabel->caption(), QStringLiteral("1"));
    EXPECT_EQ(d->ScoresLabel->caption(), QStringLiteral("30"));
    for (TLabel *l : {d->LDLabel, d->MDLabel, d->HDLabel, d->LULabel, d->MULabel, d->HULabel})
        EXPECT_EQ(l->caption(), QStringLiteral("0"));
    EXPECT_FALSE(d->DeleteButton->isEnabled());
    EXPECT_EQ(d->UserNames(), QStringList{QStringLiteral("Вася")});
    // The design's 433 × 223 and a row for «статистика» under the progress panel.
    EXPECT_EQ(d->size(), QSize(433, 251));
    EXPECT_EQ(d->UserImage->geometry(), QRect(264, 8, 50, 50));
    EXPECT_EQ(d->UserSelectComboBox->comboStyle(), TFlatComboBox::Style::Simple);
    EXPECT_EQ(d->UserSelectComboBox->count(), 0);
}

TEST_F(UserSelectTest, NewPlayerGetsTypedNameAndChosenLogo)
{
    auto d = open();
    QSignalSpy finished(d.get(), &TForm::modalFinished);
    d->UserImage->NextButton()->click();
    EXPECT_EQ(d->LabelName->caption(), QStringLiteral("Лого 2"));
    typeName(*d, QStringLiteral("Маша"));
    enter(*d);
    ASSERT_TRUE(finished.count() == 1 || finished.wait(1000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), int(mrOk));
    ASSERT_TRUE(d->SelectedUser());
    EXPECT_EQ(d->SelectedUser()->Name, QStringLiteral("Маша"));
    EXPECT_EQ(d->SelectedUser()->LabelIndex, 2);
    EXPECT_EQ(d->SelectedUser()->Scores, 30);
    EXPECT_FALSE(stored(QStringLiteral("Маша"))); // the game saves it, not the dialog
}

TEST_F(UserSelectTest, NameRulesRefuseWithNoticesAndStayOpen)
{
    storePlayer(QStringLiteral("Вася"), 3, 120, 2, 4, 1);
    auto d = open();
    const struct {
        QString name;
        QString notice;
    } cases[] = {
        {QString(), QStringLiteral("Введите имя пользователя.")},
        {QStringLiteral("вАСЯ"), QStringLiteral("Пользователь с данным именем уже существует.")},
        {QStringLiteral("ВАСЯ"), QStringLiteral("Пользователь с данным именем уже существует.")},
        {QStringLiteral("a\\b"), QStringLiteral("Недопустимое имя пользователя.")},
        {QStringLiteral("   "), QStringLiteral("Введите имя пользователя.")},
    };
    for (const auto &c : cases) {
        box.shown.clear();
        typeName(*d, c.name);
        d->OKButtonClick();
        QCoreApplication::processEvents();
        EXPECT_EQ(notices(), QStringList{c.notice}) << c.name.toStdString();
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(d->SelectedUser());
        EXPECT_EQ(d->UserSelectComboBox->text(), c.name);
    }
    // A control character cannot be typed but can be pasted.
    box.shown.clear();
    d->UserSelectComboBox->setText(QStringLiteral("Пе\tтя"));
    d->OKButtonClick();
    EXPECT_EQ(notices(),
              QStringList{QStringLiteral("В имени есть невидимые символы: введите его обычными буквами.")});
    // The box takes at most 14 characters.
    typeName(*d, QStringLiteral("Абвгдеёжзийклмноп"));
    EXPECT_EQ(d->UserSelectComboBox->text(), QStringLiteral("Абвгдеёжзийклм"));
}

// Names that look like a stored one are that player; a trailing space typed
// in the box is trimmed; a stored look-alike from before stays playable.
TEST_F(UserSelectTest, LookAlikeNamesAreOnePlayer)
{
    storePlayer(QStringLiteral("Вася"), 3, 120, 2, 4, 1);
    storePlayer(QStringLiteral("Петя\u200B"), 2, 50, 3, 0, 0); // stored before names were checked
    auto d = open();
    const QString taken = QStringLiteral("Пользователь с данным именем уже существует.");
    const QString hidden = QStringLiteral("В имени есть невидимые символы: введите его обычными буквами.");
    const struct {
        QString typed;
        QString notice;
    } cases[] = {
        {QStringLiteral("Вася "), taken},       {QStringLiteral(" вася"), taken},
        {QStringLiteral("Петя"), taken},        {QStringLiteral("Вася\u200B"), hidden},
        {QStringLiteral("\u202EВася"), hidden}, {QStringLiteral("Ва\u200Dся"), hidden},
    };
    for (const auto &c : cases) {
        box.shown.clear();
        d->UserSelectComboBox->setText(c.typed);
        d->OKButtonClick();
        EXPECT_EQ(notices(), QStringList{c.notice}) << c.typed.toStdString();
        EXPECT_FALSE(d->SelectedUser());
    }
    // Typed with a trailing space, a new name is stored without it.
    d->UserSelectComboBox->setText(QStringLiteral("Маша "));
    d->OKButtonClick();
    ASSERT_TRUE(d->SelectedUser());
    EXPECT_EQ(d->SelectedUser()->Name, QStringLiteral("Маша"));

    auto again = open();
    again->LoadGameRB->click();
    pick(*again, QStringLiteral("Петя\u200B"));
    ASSERT_TRUE(again->SelectedUser());
    EXPECT_EQ(again->SelectedUser()->Level, 3);
}

TEST_F(UserSelectTest, ContinueShowsPickedPlayerAndHandsItOut)
{
    storePlayer(QStringLiteral("Вася"), 3, 120, 2, 4, 1);
    storePlayer(QStringLiteral("Аня"), 5, 75, 3, 0, 2);
    auto d = open();
    QSignalSpy finished(d.get(), &TForm::modalFinished);
    d->LoadGameRB->click();
    EXPECT_FALSE(d->NewGameMode);
    EXPECT_EQ(clicks(), 2);
    EXPECT_EQ(d->UserSelectComboBox->items(), (QStringList{QStringLiteral("Аня"), QStringLiteral("Вася")}));
    EXPECT_EQ(d->UserImage->LabelIndex(), -1);
    EXPECT_FALSE(d->UserImage->NextButton()->isEnabled());

    enter(*d);
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Выберите пользователя.")});

    pick(*d, QStringLiteral("Вася"));
    EXPECT_EQ(d->UserImage->LabelIndex(), 3);
    EXPECT_EQ(d->LabelName->caption(), QStringLiteral("Лого 3"));
    EXPECT_EQ(d->LevelLabel->caption(), QStringLiteral("2"));
    EXPECT_EQ(d->ScoresLabel->caption(), QStringLiteral("120"));
    EXPECT_EQ(d->LDLabel->caption(), QStringLiteral("4"));
    EXPECT_EQ(d->HULabel->caption(), QStringLiteral("1"));
    EXPECT_TRUE(d->DeleteButton->isEnabled());
    pick(*d, QStringLiteral("Аня"));
    EXPECT_EQ(d->SelectedUser()->Name, QStringLiteral("Аня"));
    EXPECT_EQ(d->ScoresLabel->caption(), QStringLiteral("75"));
    enter(*d);
    ASSERT_TRUE(finished.count() == 1 || finished.wait(1000));
    EXPECT_EQ(finished.at(0).at(0).toInt(), int(mrOk));
    EXPECT_EQ(d->takeSelectedUser()->Level, 3);
}

TEST_F(UserSelectTest, UnreadablePlayerIsAnnouncedDeletedAndNotPicked)
{
    storePlayer(QStringLiteral("Вася"), 3, 120, 2, 4, 1);
    storeBroken(QStringLiteral("Битый"));
    auto d = open();
    d->LoadGameRB->click();
    pick(*d, QStringLiteral("Вася"));
    pick(*d, QStringLiteral("Битый"));
    EXPECT_EQ(notices(), QStringList{QStringLiteral(
                             "Невозможно загрузить данные о пользователе. Пользователь будет удалён")});
    EXPECT_FALSE(stored(QStringLiteral("Битый")));
    EXPECT_TRUE(stored(QStringLiteral("Вася")));
    EXPECT_FALSE(d->SelectedUser());
    EXPECT_TRUE(d->UserSelectComboBox->text().isEmpty());
    EXPECT_FALSE(d->DeleteButton->isEnabled());
    // The name stays listed for the rest of the dialog; picking it again says so again.
    EXPECT_GE(d->UserSelectComboBox->findText(QStringLiteral("Битый")), 0);
    box.shown.clear();
    d->OKButtonClick();
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Выберите пользователя.")});
}

TEST_F(UserSelectTest, DeleteAsksFirstAndKeepsTheProfileToRestore)
{
    storePlayer(QStringLiteral("Вася"), 3, 120, 2, 4, 1);
    storePlayer(QStringLiteral("Аня"), 5, 75, 3, 0, 2);
    auto d = open();
    d->LoadGameRB->click();
    d->DeleteButton->setEnabled(true);
    d->DeleteButtonClick(); // nothing picked: nothing deleted
    EXPECT_TRUE(stored(QStringLiteral("Вася")));
    pick(*d, QStringLiteral("Вася"));
    box.reply = mrCancel;
    d->DeleteButton->click();
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Удалить игрока Вася?")});
    EXPECT_TRUE(stored(QStringLiteral("Вася")));
    EXPECT_TRUE(d->SelectedUser());
    box.shown.clear();
    box.reply = mrOk;
    d->DeleteButton->click();
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Удалить игрока Вася?")});
    box.shown.clear();
    EXPECT_FALSE(stored(QStringLiteral("Вася")));
    EXPECT_TRUE(stored(QStringLiteral("Аня")));
    ASSERT_TRUE(ProfileBackup::restore(*registry, QStringLiteral("Вася")));
    EXPECT_EQ(TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), *registry)->Scores, 120);
    registry->deleteKey(TUser::PlayerPath(QStringLiteral("Вася")));
    EXPECT_EQ(d->UserSelectComboBox->items(), QStringList{QStringLiteral("Аня")});
    EXPECT_TRUE(d->UserSelectComboBox->text().isEmpty());
    EXPECT_FALSE(d->SelectedUser());
    EXPECT_FALSE(d->DeleteButton->isEnabled());
    EXPECT_EQ(d->ScoresLabel->caption(), QStringLiteral("120")); // still shows the deleted player
    d->OKButtonClick();
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Выберите пользователя.")});
    // The deleted name is free again for a new player.
    d->NewGameRB->click();
    typeName(*d, QStringLiteral("вася"));
    d->OKButtonClick();
    EXPECT_TRUE(d->SelectedUser());
}

TEST_F(UserSelectTest, SwitchingModesDropsThePickedPlayer)
{
    storePlayer(QStringLiteral("Вася"), 3, 120, 2, 4, 1);
    auto d = open();
    d->LoadGameRB->click();
    pick(*d, QStringLiteral("Вася"));
    ASSERT_TRUE(d->SelectedUser());
    d->NewGameRB->click();
    EXPECT_FALSE(d->SelectedUser());
    EXPECT_EQ(d->UserImage->LabelIndex(), 1);
    EXPECT_EQ(d->ScoresLabel->caption(), QStringLiteral("30"));
    d->LoadGameRB->click();
    EXPECT_FALSE(d->SelectedUser());
    d->OKButtonClick();
    EXPECT_EQ(notices().last(), QStringLiteral("Выберите пользователя."));
    // A click on the radio button already chosen does nothing, not even a click.
    const int before = clicks();
    d->LoadGameRB->click();
    EXPECT_EQ(clicks(), before);
}

TEST_F(UserSelectTest, EscapeInEitherModeClicksAndCancels)
{
    for (bool continueMode : {false, true}) {
        auto d = open();
        QSignalSpy finished(d.get(), &TForm::modalFinished);
        if (continueMode)
            d->LoadGameRB->click();
        const int before = clicks();
        QTest::keyClick(d->UserSelectComboBox, Qt::Key_Escape);
        ASSERT_TRUE(finished.count() == 1 || finished.wait(1000));
        EXPECT_EQ(finished.at(0).at(0).toInt(), int(mrCancel));
        EXPECT_EQ(clicks(), before + 1);
    }
}

// A new player's name is typed at once, whether the dialog is a window of its
// own or shows on the stage over the menu; back in new-game mode it is again.
TEST_F(UserSelectTest, NameIsTypedAtOnceOnTheStageAndInAWindow)
{
    for (const bool onStage : {false, true}) {
        SCOPED_TRACE(onStage ? "on the stage" : "a window");
        std::unique_ptr<TStage> stage;
        std::unique_ptr<TForm> menu;
        if (onStage) {
            stage = std::make_unique<TStage>(QSize(800, 600));
            menu = std::make_unique<TForm>();
            menu->setStage(stage.get());
            menu->setClientSize(800, 600);
            menu->show();
            stage->show();
            QApplication::setActiveWindow(stage.get());
        }
        auto d = std::make_unique<TUserSelectDialog>(context, menu.get());
        d->ShowModalAsync();
        QApplication::processEvents();
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }, 2000));
        typeText(QApplication::focusWidget(), QStringLiteral("Вася"));
        EXPECT_EQ(d->UserSelectComboBox->text(), QStringLiteral("Вася"));

        d->LoadGameRB->setFocus(Qt::TabFocusReason);
        QTest::keyClick(d->LoadGameRB, Qt::Key_Space);
        ASSERT_FALSE(d->NewGameMode);
        d->NewGameRB->click();
        EXPECT_TRUE(d->UserSelectComboBox->hasFocus());
        d->hide();
        d.reset();
        menu.reset();
        stage.reset();
    }
}

TEST_F(UserSelectTest, MissingPlayersKeyGivesAnEmptyList)
{
    auto d = open();
    EXPECT_TRUE(d->UserNames().isEmpty());
    d->LoadGameRB->click();
    EXPECT_EQ(d->UserSelectComboBox->count(), 0);
}

} // namespace
