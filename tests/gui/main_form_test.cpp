#include "GuiSupport.h"

#include "app/Settings.h"
#include "core/User.h"
#include "platform/DisplayModes.h"
#include "platform/Registry.h"
#include "screens/AboutForm.h"
#include "screens/MainForm.h"
#include "screens/UserSelectDialog.h"

#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace guitest;

namespace
{

class FakeDisplay : public platform::IDisplayModes
{
  public:
    std::vector<platform::DisplayMode> modes() override { return {{1024, 768, 60, 32}, {800, 600, 60, 32}}; }
    bool change(const platform::DisplayMode &mode, bool) override
    {
        changes.push_back(mode);
        return true;
    }
    void restore() override { ++restores; }
    std::vector<platform::DisplayMode> changes;
    int restores = 0;
};

class MainFormTest : public MediaFixture
{
  protected:
    void SetUp() override
    {
        MediaFixture::SetUp();
        media.addBitmap(QStringLiteral("StartScreen"), QImage(800, 600, QImage::Format_RGB32));
        context.messages = &box;
        context.openLink = [this](const QString &target) { links << target; };
        form = std::make_unique<TMainForm>(context, nullptr,
                                           TMainForm::Screens{[this](QWidget *owner, TUser &player) {
                                                                  EXPECT_EQ(owner, form.get());
                                                                  gamePlayers << player.Name;
                                                                  return int(mrCancel);
                                                              },
                                                              [this](QWidget *owner) {
                                                                  EXPECT_EQ(owner, form.get());
                                                                  ++problemsRuns;
                                                                  return int(mrCancel);
                                                              }});
    }
    void TearDown() override
    {
        form.reset();
        MediaFixture::TearDown();
    }
    void showForm()
    {
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    RecordingMessageBox box{&media, nullptr, &waves};
    std::unique_ptr<TMainForm> form;
    QStringList gamePlayers;
    QStringList links; // what the about box asked to open
    int problemsRuns = 0;
};

TEST_F(MainFormTest, LayoutOverTheStartScreen)
{
    EXPECT_EQ(form->size(), QSize(800, 600));
    EXPECT_FALSE(form->background().isNull());
    EXPECT_EQ(form->NewGameButton->geometry(), QRect(272, 440, 249, 41));
    EXPECT_EQ(form->GolovolomkiButton->geometry(), QRect(272, 488, 249, 41));
    EXPECT_EQ(form->ExitButton->geometry(), QRect(272, 536, 249, 41));
    EXPECT_EQ(form->NewGameButton->text(), QStringLiteral("Новая игра"));
    EXPECT_EQ(form->GolovolomkiButton->text(), QStringLiteral("Головоломки"));
    EXPECT_EQ(form->ExitButton->text(), QStringLiteral("Выйти"));
    EXPECT_EQ(form->GameLabel->geometry(), QRect(8, 424, 257, 72));
    EXPECT_EQ(form->ProblemsLabel->geometry(), QRect(528, 472, 254, 72));
    EXPECT_EQ(form->ExitLabel->geometry(), QRect(154, 547, 110, 18));
    EXPECT_TRUE(form->GameLabel->caption().startsWith(QStringLiteral("   Войти в игровой режим.")));
    EXPECT_EQ(form->ExitLabel->caption(), QStringLiteral("Выйти из игры"));
    for (TAlphaLabel *l : {form->GameLabel, form->ProblemsLabel, form->ExitLabel}) {
        EXPECT_EQ(l->Alpha(), 0);
        EXPECT_EQ(l->ShowTime(), 500);
        EXPECT_EQ(l->FadeStep(), 5);
        EXPECT_EQ(l->surface().size(), l->size());
    }
    EXPECT_EQ(form->AboutButton->geometry(), QRect(760, -5, 41, 41));
    EXPECT_EQ(form->AboutButton->focusPolicy(), Qt::NoFocus);
    // Tab order: the three big buttons in their order.
    EXPECT_EQ(form->NewGameButton->nextInFocusChain(), form->GolovolomkiButton);
    EXPECT_EQ(form->GolovolomkiButton->nextInFocusChain(), form->ExitButton);
}

TEST_F(MainFormTest, EnterRightAfterStartOpensThePlayerSelection)
{
    showForm();
    EXPECT_EQ(QApplication::focusWidget(), form->NewGameButton);
    int dialogs = 0;
    QObject::connect(form.get(), &TMainForm::userSelectDialogCreated, [&](TUserSelectDialog *) {
        ++dialogs;
        whenModal([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    });
    QTest::keyClick(form->NewGameButton, Qt::Key_Return);
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(gamePlayers.isEmpty()); // cancelled: nothing started
    EXPECT_TRUE(box.shown.isEmpty());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(MainFormTest, NewPlayerStartsTheGameWithThatPlayer)
{
    showForm();
    QObject::connect(form.get(), &TMainForm::userSelectDialogCreated, [&](TUserSelectDialog *d) {
        whenModal([d](QWidget *) {
            typeText(d->UserSelectComboBox->lineEdit(), QStringLiteral("Петя"));
            QTest::keyClick(d->UserSelectComboBox, Qt::Key_Return);
        });
    });
    form->NewGameButton->click();
    EXPECT_EQ(gamePlayers, QStringList{QStringLiteral("Петя")});
}

TEST_F(MainFormTest, CollectionOpensEachTime)
{
    form->GolovolomkiButton->click();
    form->GolovolomkiButton->click();
    EXPECT_EQ(problemsRuns, 2);
}

TEST_F(MainFormTest, EveryWayOutAsksAndOnlyYesQuits)
{
    showForm();
    QSignalSpy closed(form.get(), &TMainForm::closed);
    const std::function<void()> ways[] = {
        [&] { QTest::keyClick(form->NewGameButton, Qt::Key_Escape); }, [&] { form->ExitButton->click(); },
        [&] { form->close(); }, // the system's close request
    };
    for (const auto &way : ways) {
        box.shown.clear();
        box.reply = mrCancel;
        way();
        ASSERT_EQ(box.shown.size(), 1);
        EXPECT_EQ(box.shown[0].text, QStringLiteral("Хотите выйти из игры?"));
        EXPECT_TRUE(box.shown[0].cancelVisible);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(closed.count(), 0);
    }
    for (const auto &way : ways) {
        showForm();
        box.reply = mrOk;
        way();
        EXPECT_FALSE(form->isVisible());
    }
    EXPECT_EQ(closed.count(), 3);
    EXPECT_TRUE(sounds.played.filter(QStringLiteral("CLICK")).isEmpty());
}

TEST_F(MainFormTest, HoverFadesEachDescriptionOnItsOwn)
{
    showForm();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(form->NewGameButton, &enter);
    EXPECT_TRUE(form->GameLabel->isFading());
    EXPECT_TRUE(form->GameLabel->isFadingIn());
    form->GameLabel->FadeTick();
    form->GameLabel->FadeTick();
    QCoreApplication::sendEvent(form->NewGameButton, &leave);
    QCoreApplication::sendEvent(form->GolovolomkiButton, &enter);
    EXPECT_FALSE(form->GameLabel->isFadingIn());
    EXPECT_TRUE(form->GameLabel->isFading());
    EXPECT_TRUE(form->ProblemsLabel->isFadingIn());
    EXPECT_FALSE(form->ExitLabel->isFading());
    QCoreApplication::sendEvent(form->GolovolomkiButton, &leave);
    QCoreApplication::sendEvent(form->ExitButton, &enter);
    EXPECT_TRUE(form->ExitLabel->isFadingIn());
    // Left alone, each ends where its direction leads.
    QElapsedTimer t;
    t.start();
    while ((form->GameLabel->isFading() || form->ProblemsLabel->isFading() || form->ExitLabel->isFading()) &&
           t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_EQ(form->GameLabel->Alpha(), 0);
    EXPECT_EQ(form->ProblemsLabel->Alpha(), 0);
    EXPECT_EQ(form->ExitLabel->Alpha(), 255);
}

TEST_F(MainFormTest, QuestionMarkOpensAFreshAboutBoxEachTime)
{
    QList<QPointer<TAboutForm>> boxes;
    for (int i = 0; i < 2; ++i) {
        whenModal([&](QWidget *w) {
            boxes << qobject_cast<TAboutForm *>(w);
            // Its links open through the menu's context.
            if (boxes.last())
                QTest::mouseClick(boxes.last()->WebLink, Qt::LeftButton);
            QTest::keyClick(w, Qt::Key_Return);
        });
        form->AboutButton->click();
        flushDeletes();
    }
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_TRUE(boxes[0].isNull() && boxes[1].isNull()); // each freed as it closed
    EXPECT_EQ(links, QStringList(2, TAboutForm::WebAddress));
}

TEST_F(MainFormTest, BackgroundGivesTheDisplayBackAndRestoringRetakesIt)
{
    FakeDisplay display;
    form->setDisplayModes(&display);
    form->ApplicationEventsMinimize();
    EXPECT_EQ(display.restores, 1);
    form->ApplicationEventsRestore();
    ASSERT_EQ(display.changes.size(), 1u);
    EXPECT_EQ(display.changes[0].width, 800u);
    EXPECT_EQ(display.changes[0].height, 600u);

    // Through the application's own events: minimising gives the mode back.
    showForm();
    form->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(display.restores, 2);
    form->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(display.changes.size(), 2u);
}

TEST_F(MainFormTest, InAWindowTheDisplayIsNeverTouched)
{
    showForm();
    form->ApplicationEventsDeactivate();
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->isMinimized());
    // With no display service (the window modes install none) a minimise and a
    // restore have no mode to give back or retake, and leave the window as it is.
    form->ApplicationEventsMinimize();
    form->ApplicationEventsRestore();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
}

} // namespace
