#include "ScreensSupport.h"

#include "app/Startup.h"
#include "core/User.h"
#include "platform/Registry.h"
#include "screens/GameForm.h"
#include "screens/ReplyForm.h"
#include "screens/SolutionForm.h"

#include <QMessageBox>
#include <QPointer>
#include <QWheelEvent>
#include <set>

using namespace guitest;

namespace
{

// Ten easy, four medium and two hard puzzles: enough for levels 1 and 2.
std::vector<PuzzleSpec> levelTwoCatalogue()
{
    std::vector<PuzzleSpec> p;
    for (int i = 0; i < 16; ++i) {
        const ProblemId id = ProblemId(100 + i);
        const int difficult = i < 10 ? 0 : (i < 14 ? 1 : 2);
        p.push_back({id, difficult, QStringLiteral("Задача %1").arg(id), id * 3, i == 0 ? 80 : 3});
    }
    return p;
}

class GameFormTest : public ScreenFixture
{
  protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        registryPath = playerStore.path();
        context.messages = &box;
        player = TUser::CreateNew(QStringLiteral("Вася"), 2);
        player->Logo = solidImage(QColor(10, 200, 10));
    }
    void TearDown() override
    {
        if (form)
            delete form.data();
        ScreenFixture::TearDown();
    }

    TGameForm *open(bool show = true)
    {
        writeCatalogue(gameDir(), levelTwoCatalogue());
        form = new TGameForm(context, *player, nullptr, gameDir());
        QObject::connect(form, &TForm::modalFinished, [this](int r) { result = r; });
        if (show) {
            form->ShowModalAsync();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        }
        return form;
    }
    void key(Qt::Key k) { QTest::keyClick(form->focusWidget() ? form->focusWidget() : form.data(), k); }
    TProblem *selected() const { return form->Problems.Selected(); }
    int clicks() const { return int(sounds.played.count(QStringLiteral("CLICK"))); }
    int positionOf(int difficult) const
    {
        for (int i = 0; i < player->LevelList.Count(); ++i)
            if (form->Catalogue.FindProblem(player->LevelList.GetItem(i).Id)->Difficult == difficult)
                return i;
        return -1;
    }

    // Answers the next answer dialog with the selected puzzle's right answer (or a wrong one).
    void answer(ModalScript &script, bool right)
    {
        script.then([this, right](QWidget *w) {
            auto *dialog = qobject_cast<TReplyForm *>(w);
            ASSERT_NE(dialog, nullptr);
            const int value = selected()->Id * 3 + (right ? 0 : 1);
            typeText(dialog->Edit, QString::number(value));
            QTest::keyClick(dialog->Edit, Qt::Key_Return);
        });
    }

    QString registryPath;
    RecordingMessageBox box{&media, nullptr, &waves};
    std::unique_ptr<TUser> player;
    QPointer<TGameForm> form;
    int result = -1;
};

TEST_F(GameFormTest, NewPlayerStartsInListModeWithTheThumbnailAndTheThreeFacts)
{
    open();
    EXPECT_EQ(form->size(), QSize(800, 600));
    EXPECT_FALSE(form->TextMode());
    ASSERT_NE(selected(), nullptr);
    EXPECT_EQ(selected()->Id, player->LevelList.GetItem(0).Id);
    EXPECT_EQ(player->LevelList.Count(), 5);
    EXPECT_EQ(player->UsedIds.Count(), 5);
    EXPECT_EQ(form->DecideButton->text(), QStringLiteral("решить"));
    EXPECT_FALSE(form->ProblemText->isVisible());
    EXPECT_TRUE(form->StatusPanel->isVisible());
    EXPECT_TRUE(form->ProblemsList->isVisible());

    // The thumbnail: scaled once to 335 x 350, shown unscaled at 460, 190.
    EXPECT_EQ(form->ProblemImage->geometry(), QRect(460, 190, 335, 350));
    EXPECT_EQ(form->ImageShape->geometry(), QRect(460, 190, 335, 350));
    EXPECT_FALSE(form->ProblemImage->stretch());
    EXPECT_EQ(form->Thumbnail().size(), QSize(335, 350));
    EXPECT_EQ(form->ProblemImage->picture(), form->Thumbnail());
    EXPECT_TRUE(near(centreColor(form->Thumbnail()), puzzleColor(selected()->Id)));

    // An easy puzzle: DIFF1, a bonus of 10, a price of 20 with the price picture.
    EXPECT_EQ(centreColor(form->DiffImage->picture()), QColor(0, 200, 0));
    EXPECT_EQ(centreColor(form->BonusImage->picture()), QColor(10, 10, 60));
    EXPECT_EQ(centreColor(form->AnswerImage->picture()), QColor(20, 20, 80));
    EXPECT_TRUE(form->BuyButton->hasGlyph());
    EXPECT_TRUE(form->BuyButton->isEnabled()); // 30 points buy a 20-point solution

    EXPECT_EQ(form->ScoresLabel->caption(), QStringLiteral("30"));
    EXPECT_EQ(form->LevelLabel->caption(), QStringLiteral("1"));
    EXPECT_EQ(form->ProgressBar->progress(), 0);
    EXPECT_EQ(form->ProgressBar->text(), QStringLiteral("0 %"));
    EXPECT_EQ(form->NameLabel->caption(), QStringLiteral("Вася"));
    EXPECT_EQ(form->ProblemName->caption(), selected()->Name);
    EXPECT_EQ(centreColor(form->UserImage->picture()), QColor(10, 200, 10));
    EXPECT_TRUE(form->UserImage->stretch());
    EXPECT_EQ(centreColor(form->PanelImage->tile()), QColor(200, 180, 140));
    EXPECT_EQ(centreColor(form->BackgroundTile()), QColor(240, 230, 200));

    // Layout, fonts and hints.
    EXPECT_EQ(form->TopPanel->geometry(), QRect(0, 0, 800, 75));
    EXPECT_EQ(form->NameLabel->geometry(), QRect(67, 20, 182, 29));
    EXPECT_EQ(form->ProblemName->geometry(), QRect(241, 35, 312, 26));
    EXPECT_EQ(form->ProgressBar->geometry(), QRect(593, 42, 113, 25));
    EXPECT_EQ(form->ScoresLabel->geometry(), QRect(728, 15, 54, 40));
    EXPECT_TRUE(form->ScoresLabel->font().bold());
    EXPECT_EQ(form->ScoresLabel->font().pixelSize(), 29);
    EXPECT_EQ(form->LevelLabel->font().pixelSize(), 27);
    EXPECT_EQ(form->StatusPanel->geometry(), QRect(460, 80, 335, 105));
    EXPECT_EQ(form->DiffImage->geometry(), QRect(45, 45, 50, 50));
    EXPECT_EQ(form->BonusImage->geometry(), QRect(144, 45, 50, 50));
    EXPECT_EQ(form->AnswerImage->geometry(), QRect(240, 45, 50, 50));
    EXPECT_EQ(form->ProblemsList->geometry().topLeft(), QPoint(5, 80));
    EXPECT_EQ(form->ProblemsList->width(), 450);
    EXPECT_EQ(form->CloseButton->geometry(), QRect(5, 552, 120, 33));
    EXPECT_EQ(form->BuyButton->geometry(), QRect(460, 552, 197, 33));
    EXPECT_EQ(form->DecideButton->geometry(), QRect(675, 552, 120, 33));
    EXPECT_EQ(form->LevelCaption->caption(), QStringLiteral("Уровень "));
    EXPECT_EQ(form->DifficultyCaption->caption(), QStringLiteral("Сложность головоломки"));
    EXPECT_EQ(form->ProgressBar->toolTip(), QStringLiteral("Решённые головоломки"));
    EXPECT_EQ(form->UserImageFrame->toolTip(), QStringLiteral("Логотип пользователя"));
    EXPECT_EQ(form->ImageShape->toolTip(), QStringLiteral("Картинка"));
    EXPECT_EQ(form->ScoresLabel->toolTip(), QStringLiteral("Очки"));
    for (const char *name :
         {"TopPanel",   "PanelImage",   "UserImage",   "Shape4",       "NameLabel",   "ProblemName", "Label1",
          "LevelLabel", "ProgressBar",  "ScoresLabel", "ProblemsList", "ProblemText", "StatusPanel", "Label4",
          "Label6",     "Label7",       "DiffImage",   "BonusImage",   "AnswerImage", "Shape1",      "Shape2",
          "Shape3",     "ProblemImage", "ImageShape",  "CloseButton",  "BuyButton",   "DecideButton"})
        EXPECT_NE(form->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(GameFormTest, EnterShowsTheWholePictureBesideTheTextThenOpensTheAnswerDialog)
{
    open();
    key(Qt::Key_Return);
    EXPECT_TRUE(form->TextMode());
    EXPECT_EQ(form->DecideButton->text(), QStringLiteral("ответить"));
    EXPECT_EQ(form->ProblemImage->geometry(), QRect(355, 80, 440, 460));
    EXPECT_EQ(form->ImageShape->geometry(), QRect(355, 80, 440, 460));
    // The whole picture, not the thumbnail, drawn unscaled.
    EXPECT_EQ(form->ProblemImage->picture().size(), QSize(440, 460));
    EXPECT_FALSE(form->StatusPanel->isVisible());
    EXPECT_FALSE(form->ProblemsList->isVisible());
    EXPECT_TRUE(form->ProblemText->isVisible());

    // Cancelling the dialog shows nothing and changes nothing.
    ModalScript script;
    script.ignore(form);
    script.then([](QWidget *w) {
        ASSERT_NE(qobject_cast<TReplyForm *>(w), nullptr);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    key(Qt::Key_Return);
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(form->TextMode());
    EXPECT_TRUE(box.shown.isEmpty());
    EXPECT_EQ(player->Scores, 30);

    // Escape returns to the list; Escape in the list asks to leave.
    key(Qt::Key_Escape);
    EXPECT_FALSE(form->TextMode());
    EXPECT_EQ(form->ProblemImage->geometry(), QRect(460, 190, 335, 350));
    EXPECT_EQ(form->ProblemImage->picture(), form->Thumbnail());
    box.reply = mrCancel;
    key(Qt::Key_Escape);
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown[0].text, QStringLiteral("Хотите выйти в главное меню?"));
    EXPECT_TRUE(form->isVisible());
}

TEST_F(GameFormTest, WrongAnswerCostsThePenaltyAndKeepsTheText)
{
    open();
    ModalScript script;
    script.ignore(form);
    key(Qt::Key_Return);
    answer(script, false);
    key(Qt::Key_Return);
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(form->TextMode());
    EXPECT_EQ(player->Scores, 26);
    EXPECT_EQ(form->ScoresLabel->caption(), QStringLiteral("26"));
    EXPECT_EQ(form->Problems.Progress(*selected()).WrongAnswers, 1);
    EXPECT_EQ(sounds.played.count(QStringLiteral("FALSEANSWER")), 1);
}

TEST_F(GameFormTest, MediumPuzzleShowsItsDifficultyBonusAndPrice)
{
    open();
    const int medium = positionOf(1);
    ASSERT_GE(medium, 0);
    emit form->ProblemsList->rowChosen(medium);
    EXPECT_EQ(centreColor(form->DiffImage->picture()), QColor(200, 200, 0));
    EXPECT_EQ(centreColor(form->BonusImage->picture()), QColor(20, 20, 80));
    EXPECT_EQ(centreColor(form->AnswerImage->picture()), QColor(30, 30, 100));
    EXPECT_TRUE(near(centreColor(form->Thumbnail()), puzzleColor(selected()->Id)));
    EXPECT_TRUE(form->BuyButton->isEnabled()); // 30 points, price 30
}

TEST_F(GameFormTest, SolvedAndPaidPuzzleFromAnEarlierGame)
{
    writeCatalogue(gameDir(), levelTwoCatalogue());
    for (ProblemId id : {100, 101, 102, 103, 110}) {
        player->LevelList.Add(id);
        player->UsedIds.Add(id);
    }
    player->LevelList.FindEntry(100)->Solved = 1;
    player->LevelList.FindEntry(100)->Bought = 1;
    player->Scores = 5;
    form = new TGameForm(context, *player, nullptr, gameDir());
    form->ShowModalAsync();

    ASSERT_EQ(selected()->Id, 100);
    EXPECT_FALSE(form->DecideButton->isEnabled());
    EXPECT_TRUE(form->BuyButton->isEnabled());
    EXPECT_FALSE(form->BuyButton->hasGlyph());
    EXPECT_EQ(form->ProgressBar->progress(), 20);

    // Enter and a double click do nothing on a solved puzzle.
    key(Qt::Key_Return);
    EXPECT_FALSE(form->TextMode());
    emit form->ProblemsList->doubleClicked();
    EXPECT_FALSE(form->TextMode());
    EXPECT_EQ(clicks(), 0);

    // Its solution opens without the question and without charge.
    ModalScript script;
    script.ignore(form);
    script.then([](QWidget *w) {
        EXPECT_NE(qobject_cast<TSolutionForm *>(w), nullptr);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    form->BuyButton->click();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(box.shown.isEmpty());
    EXPECT_EQ(player->Scores, 5);

    // An unpaid one is out of reach with 5 points.
    emit form->ProblemsList->rowChosen(1);
    EXPECT_TRUE(form->BuyButton->hasGlyph());
    EXPECT_FALSE(form->BuyButton->isEnabled());
    EXPECT_TRUE(form->DecideButton->isEnabled());
}

TEST_F(GameFormTest, BuyingAsksThePriceAndCharges)
{
    open();
    box.reply = mrOk;
    ModalScript script;
    script.ignore(form);
    script.then([](QWidget *w) {
        EXPECT_NE(qobject_cast<TSolutionForm *>(w), nullptr);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    form->BuyButton->click();
    EXPECT_TRUE(script.done());
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown[0].text, QStringLiteral("Хотите посмотреть ответ за 20 очков?"));
    EXPECT_EQ(player->Scores, 10);
    EXPECT_EQ(form->ScoresLabel->caption(), QStringLiteral("10"));
    EXPECT_FALSE(form->BuyButton->hasGlyph());
}

TEST_F(GameFormTest, KeysActOnceWheelOnlyInTextModeFocusToDecide)
{
    open();
    // Escape with the focus on the decide button in text mode: back to the list only.
    form->DecideButton->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(form->DecideButton, Qt::Key_Return);
    EXPECT_TRUE(form->TextMode());
    EXPECT_EQ(clicks(), 1);
    QTest::keyClick(form->DecideButton, Qt::Key_Escape);
    EXPECT_FALSE(form->TextMode());
    EXPECT_TRUE(box.shown.isEmpty());
    EXPECT_EQ(clicks(), 2);

    auto wheel = [&](QWidget *target, int delta) {
        QWheelEvent e(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    };
    wheel(form, -120);
    EXPECT_EQ(form->ProblemText->ScrollPosition(), 0);
    key(Qt::Key_Return);
    form->ProblemText->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->focusWidget(), form->DecideButton);
}

TEST_F(GameFormTest, MissingCatalogueShowsThePlatformErrorClosesWithoutQuestionAndSavesNothing)
{
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModal([&](QWidget *w) {
        auto *message = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(message, nullptr);
        text = message->text();
        icon = message->icon();
        QTest::keyClick(w, Qt::Key_Return);
    });
    form = new TGameForm(context, *player, nullptr, gameDir());
    EXPECT_EQ(text, QStringLiteral("Невозможно загрузить список задач"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_TRUE(form->StartFailed());
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_TRUE(box.shown.isEmpty());
    EXPECT_EQ(player->LevelList.Count(), 0);
    EXPECT_FALSE(playerStore.get().keyExists(player->KeyPath()));
}

TEST_F(GameFormTest, BrokenDataFileIsReportedAndTheGameKeepsItsState)
{
    writeCatalogue(gameDir(), levelTwoCatalogue());
    for (ProblemId id : {100, 101, 102, 103, 110}) {
        player->LevelList.Add(id);
        player->UsedIds.Add(id);
    }
    QFile damaged(gameDir() + QStringLiteral("/Data/p101.dat"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("Xnot a data file");
    damaged.close();
    form = new TGameForm(context, *player, nullptr, gameDir());
    form->ShowModalAsync();
    emit form->ProblemsList->rowChosen(1); // a click: the application reports it
    EXPECT_EQ(errors.size(), 1);
    ModalScript script;
    script.ignore(form);
    // Each Enter reads the puzzle again and reports it again: no empty text,
    // no dialog for a puzzle that cannot be read.
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_TRUE(script.seen.isEmpty());
    EXPECT_EQ(errors.size(), 3);
    EXPECT_EQ(player->Scores, 30);
    EXPECT_EQ(player->LU + player->LD, 0);
}

// A whole level played by keys on the real screen with the real message box,
// then the profile read back from the registry.
TEST_F(GameFormTest, LevelOnePlayedByKeysRisesToLevelTwoAndIsSaved)
{
    TMessageBoxForm realBox{&media, nullptr, &waves};
    context.messages = &realBox;
    open();
    const std::vector<ProblemId> first = [&] {
        std::vector<ProblemId> ids;
        for (int i = 0; i < player->LevelList.Count(); ++i)
            ids.push_back(player->LevelList.GetItem(i).Id);
        return ids;
    }();
    ASSERT_EQ(first.size(), 5u);

    ModalScript script;
    script.ignore(form);
    auto pressEnter = [](QWidget *w) { QTest::keyClick(w, Qt::Key_Return); };
    for (int i = 0; i < 5; ++i) {
        emit form->ProblemsList->rowChosen(i);
        key(Qt::Key_Return);
        ASSERT_TRUE(form->TextMode());
        answer(script, true);
        script.then(pressEnter); // the right-answer notice
        if (i == 4)
            script.then(pressEnter); // the level-up notice
        key(Qt::Key_Return);
        ASSERT_TRUE(script.done()) << i;
        EXPECT_FALSE(form->TextMode());
        if (i < 4) {
            EXPECT_EQ(form->ProgressBar->progress(), (i + 1) * 20);
        }
    }
    EXPECT_EQ(script.seen, (QStringList{} << "TReplyForm"
                                          << "TMessageBoxForm"
                                          << "TReplyForm"
                                          << "TMessageBoxForm"
                                          << "TReplyForm"
                                          << "TMessageBoxForm"
                                          << "TReplyForm"
                                          << "TMessageBoxForm"
                                          << "TReplyForm"
                                          << "TMessageBoxForm"
                                          << "TMessageBoxForm"));
    EXPECT_EQ(sounds.played.count(QStringLiteral("LEVELUP")), 1);
    EXPECT_EQ(form->LevelLabel->caption(), QStringLiteral("2"));
    EXPECT_EQ(form->ProgressBar->progress(), 0);
    EXPECT_EQ(form->ScoresLabel->caption(), QStringLiteral("90"));
    EXPECT_EQ(form->Problems.Selected()->Id, player->LevelList.GetItem(0).Id);

    // Leaving: the question, answered yes by Enter, then the profile is saved.
    script.then(pressEnter);
    key(Qt::Key_Escape);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(result, mrCancel);
    flushDeletes();
    EXPECT_TRUE(form.isNull());

    playerStore.close();
    platform::Registry registry(registryPath);
    const auto saved = TUser::CreateFromRegistry(player->KeyPath(), registry);
    EXPECT_EQ(saved->Name, QStringLiteral("Вася"));
    EXPECT_EQ(saved->Level, 2);
    EXPECT_EQ(saved->Scores, 30 + 4 * 10 + 20);
    EXPECT_EQ(saved->LD, 4);
    EXPECT_EQ(saved->MD, 1);
    EXPECT_EQ(saved->LU + saved->MU + saved->HU, 0);
    ASSERT_EQ(saved->LevelList.Count(), 7);
    EXPECT_EQ(saved->UsedIds.Count(), 12);
    std::set<ProblemId> levelTwo;
    int counts[3] = {0, 0, 0};
    for (int i = 0; i < 7; ++i) {
        const LevelEntry e = saved->LevelList.GetItem(i);
        levelTwo.insert(e.Id);
        EXPECT_EQ(e.Solved, 0);
        ++counts[e.Id < 110 ? 0 : (e.Id < 114 ? 1 : 2)];
    }
    EXPECT_EQ(counts[0], 4);
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(counts[2], 1);
    for (ProblemId id : first)
        EXPECT_EQ(levelTwo.count(id), 0u) << id;
    context.messages = &box;
}

} // namespace

namespace
{

TEST(ScreenOptions, ScreenPlayerAndDataFolder)
{
    const app::Options collection = app::parseOptions({QStringLiteral("--screen=collection")});
    EXPECT_TRUE(collection.error.isEmpty());
    EXPECT_EQ(collection.screen, QStringLiteral("collection"));

    const app::Options game =
        app::parseOptions({QStringLiteral("--screen=game"), QStringLiteral("--player=Вася Пупкин"),
                           QStringLiteral("--data"), QStringLiteral("/srv/puzzles")});
    EXPECT_TRUE(game.error.isEmpty());
    EXPECT_EQ(game.player, QStringLiteral("Вася Пупкин"));
    EXPECT_EQ(game.dataDir, QStringLiteral("/srv/puzzles"));
    EXPECT_EQ(app::parseOptions({QStringLiteral("--data=/x")}).dataDir, QStringLiteral("/x"));

    // A game needs a player; an unknown screen and a --data without a folder are mistakes.
    EXPECT_FALSE(app::parseOptions({QStringLiteral("--screen=game")}).error.isEmpty());
    EXPECT_FALSE(
        app::parseOptions({QStringLiteral("--screen=game"), QStringLiteral("--player=  ")}).error.isEmpty());
    EXPECT_FALSE(app::parseOptions({QStringLiteral("--screen=menu")}).error.isEmpty());
    EXPECT_FALSE(app::parseOptions({QStringLiteral("--data")}).error.isEmpty());
}

} // namespace

TEST_F(GameFormTest, ScoreShowsEveryDigitAndKeepsClearOfTheLevel)
{
    open();
    for (const int score : {30, 999, 1234, -1234, 99999, -99999, 999999}) {
        SCOPED_TRACE(score);
        player->Scores = score;
        form->UpdateView();
        TLabel *label = form->ScoresLabel;
        EXPECT_EQ(label->caption(), QString::number(score));
        EXPECT_GE(label->width(), label->textWidth());
        EXPECT_LE(label->geometry().right(), form->TopPanel->width() - 1);
        for (QWidget *other :
             std::initializer_list<QWidget *>{form->ProgressBar, form->LevelLabel, form->LevelCaption})
            EXPECT_FALSE(label->geometry().intersects(other->geometry()))
                << other->objectName().toStdString();
        EXPECT_LT(form->ProblemName->geometry().right(), form->LevelCaption->x());
    }
}

TEST_F(GameFormTest, PuzzleWhosePictureCannotBeDecodedShowsNoPicture)
{
    writeCatalogue(gameDir(), levelTwoCatalogue());
    for (ProblemId id : {100, 101, 102, 103, 110}) {
        player->LevelList.Add(id);
        player->UsedIds.Add(id);
    }
    QFile broken(gameDir() + QStringLiteral("/Images/p101.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a picture at all");
    broken.close();
    form = new TGameForm(context, *player, nullptr, gameDir());
    form->ShowModalAsync();
    ASSERT_TRUE(near(centreColor(form->Thumbnail()), puzzleColor(100)));

    emit form->ProblemsList->rowChosen(1);
    ASSERT_EQ(selected()->Id, 101);
    EXPECT_EQ(form->ProblemName->caption(), selected()->Name);
    EXPECT_EQ(centreColor(form->Thumbnail()), QColor(Qt::white));
    EXPECT_EQ(form->ProblemImage->picture(), form->Thumbnail());
    EXPECT_TRUE(errors.isEmpty());
}
