#include "ScreensSupport.h"

#include "platform/desktop/WindowScale.h"
#include "screens/ProblemsForm.h"
#include "screens/ReplyForm.h"
#include "screens/SolutionForm.h"

#include <QMessageBox>
#include <QPointer>
#include <QScopeGuard>
#include <QTextEdit>
#include <QWheelEvent>

using namespace guitest;

namespace
{

// Records each message together with the screen's mode at that moment.
class ModeRecordingBox : public RecordingMessageBox
{
  public:
    using RecordingMessageBox::RecordingMessageBox;
    const TAbstractForm *screen = nullptr;
    QList<bool> textModeAtShow;

  protected:
    int Execute() override
    {
        textModeAtShow << (screen && screen->TextMode());
        return RecordingMessageBox::Execute();
    }
};

class ProblemsFormTest : public ScreenFixture
{
  protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        context.messages = &box;
        puzzles = {{11, 1, QStringLiteral("Карточный проигрыш"), 7, 3},
                   {12, 0, QStringLiteral("Два поезда"), 12, 80},
                   {13, 2, QStringLiteral("Мост"), 99, 3}};
    }
    void TearDown() override
    {
        if (form)
            delete form.data();
        ScreenFixture::TearDown();
    }

    TProblemsForm *open()
    {
        writeCatalogue(gameDir(), puzzles);
        form = new TProblemsForm(context, nullptr, gameDir());
        box.screen = form;
        QObject::connect(form, &TForm::modalFinished, [this](int r) { result = r; });
        form->ShowModalAsync();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        return form;
    }
    void key(Qt::Key k) { QTest::keyClick(form->focusWidget() ? form->focusWidget() : form.data(), k); }
    TProblem *selected() const { return form->Problems.Selected(); }
    int clicks() const { return int(sounds.played.count(QStringLiteral("CLICK"))); }

    // Answers the next answer dialog with a number and Enter.
    void answerWith(ModalScript &script, int value)
    {
        script.then([value](QWidget *w) {
            auto *dialog = qobject_cast<TReplyForm *>(w);
            ASSERT_NE(dialog, nullptr);
            typeText(dialog->Edit, QString::number(value));
            QTest::keyClick(dialog->Edit, Qt::Key_Return);
        });
    }

    std::vector<PuzzleSpec> puzzles;
    ModeRecordingBox box{&media, nullptr, &waves};
    QPointer<TProblemsForm> form;
    int result = -1;
};

TEST_F(ProblemsFormTest, OpensInListModeOnTheFirstPuzzleWithItsPictureStretched)
{
    open();
    EXPECT_EQ(form->size(), QSize(800, 600));
    EXPECT_FALSE(form->TextMode());
    ASSERT_NE(selected(), nullptr);
    EXPECT_EQ(selected()->Id, 11);
    EXPECT_TRUE(form->ProblemsList->isVisible());
    EXPECT_FALSE(form->ProblemText->isVisible());
    EXPECT_EQ(form->DecideButton->text(), QStringLiteral("решить"));
    EXPECT_EQ(form->ProblemName->caption(), QStringLiteral("Карточный проигрыш"));
    EXPECT_TRUE(form->ProblemName->alignment() & Qt::AlignRight);
    EXPECT_EQ(form->ProblemName->geometry(), QRect(306, 18, 418, 49));
    EXPECT_EQ(form->ProblemName->font().pixelSize(), 24);

    // The picture is stretched once to the box: 440 x 460 at 355, 80.
    EXPECT_EQ(form->ProblemImage->geometry(), QRect(355, 80, 440, 460));
    EXPECT_EQ(form->ImageShape->geometry(), QRect(355, 80, 440, 460));
    EXPECT_EQ(form->ProblemImage->picture().size(), QSize(440, 460));
    EXPECT_TRUE(near(centreColor(form->ProblemImage->picture()), puzzleColor(11)));

    // Difficulty 1 shows DIFF2 in the top bar, unscaled.
    EXPECT_EQ(form->DiffImage->geometry(), QRect(735, 12, 50, 50));
    EXPECT_EQ(centreColor(form->DiffImage->picture()), QColor(200, 200, 0));
    EXPECT_EQ(centreColor(form->PanelImage->tile()), QColor(180, 200, 140));
    EXPECT_EQ(form->PanelImage->parentWidget(), form->TopPanel);

    // Every control at its place, with its caption, font and hint.
    EXPECT_EQ(form->ProblemsList->geometry(), QRect(5, 132, 345, 408)); // under the filter
    EXPECT_EQ(form->ProblemsList->width(), 345);
    EXPECT_EQ(form->ProblemText->geometry().topLeft(), QPoint(6, 81));
    EXPECT_EQ(form->CloseButton->geometry(), QRect(8, 552, 129, 33));
    EXPECT_EQ(form->AnswerButton->geometry(), QRect(460, 552, 185, 33));
    EXPECT_EQ(form->DecideButton->geometry(), QRect(664, 552, 129, 33));
    EXPECT_EQ(form->CloseButton->text(), QStringLiteral("назад"));
    EXPECT_EQ(form->AnswerButton->text(), QStringLiteral("посмотреть ответ"));
    EXPECT_EQ(form->DecideButton->font().pixelSize(), 19);
    EXPECT_EQ(form->ProblemsList->toolTip(), QStringLiteral("Список головоломок"));
    EXPECT_EQ(form->DiffFrame->toolTip(), QStringLiteral("Сложность"));
    EXPECT_EQ(form->ProblemText->toolTip(), QStringLiteral("Текст головоломки"));
    for (const char *name :
         {"FlatTabControl1", "PanelImage", "ProblemName", "DiffImage", "Shape1", "ProblemsList",
          "ProblemText", "ProblemImage", "Ramka", "CloseButton", "AnswerButton", "DecideButton"})
        EXPECT_NE(form->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ProblemsFormTest, EnterAndEscapeWalkBetweenListTextAndTheLeaveQuestion)
{
    open();
    ModalScript script;
    script.ignore(form);

    key(Qt::Key_Return);
    EXPECT_TRUE(form->TextMode());
    EXPECT_FALSE(form->ProblemsList->isVisible());
    EXPECT_TRUE(form->ProblemText->isVisible());
    EXPECT_EQ(form->DecideButton->text(), QStringLiteral("ответить"));
    // The picture never moves in this screen.
    EXPECT_EQ(form->ProblemImage->geometry(), QRect(355, 80, 440, 460));
    EXPECT_EQ(clicks(), 1);

    // A second Enter opens the answer dialog; cancelling it changes nothing.
    script.then([](QWidget *w) {
        ASSERT_NE(qobject_cast<TReplyForm *>(w), nullptr);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    key(Qt::Key_Return);
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(form->TextMode());
    EXPECT_TRUE(box.shown.isEmpty());

    key(Qt::Key_Escape);
    EXPECT_FALSE(form->TextMode());
    EXPECT_TRUE(box.shown.isEmpty());

    // Escape in list mode asks; "no" keeps the screen.
    box.reply = mrCancel;
    key(Qt::Key_Escape);
    ASSERT_EQ(box.shown.size(), 1);
    EXPECT_EQ(box.shown[0].text, QStringLiteral("Хотите выйти в главное меню?"));
    EXPECT_TRUE(form->isVisible());

    box.reply = mrOk;
    key(Qt::Key_Escape);
    EXPECT_EQ(box.shown.size(), 2);
    EXPECT_FALSE(form && form->isVisible());
    EXPECT_EQ(result, mrCancel);
}

TEST_F(ProblemsFormTest, RightAnswerReturnsToListBeforeTheNoticeAndCanBeGivenAgain)
{
    open();
    ModalScript script;
    script.ignore(form);
    for (int round = 0; round < 2; ++round) {
        key(Qt::Key_Return);
        answerWith(script, 7);
        key(Qt::Key_Return);
        EXPECT_TRUE(script.done());
        EXPECT_FALSE(form->TextMode());
    }
    ASSERT_EQ(box.textModeAtShow.size(), 2);
    EXPECT_FALSE(box.textModeAtShow[0]);
    EXPECT_FALSE(box.textModeAtShow[1]);
    EXPECT_EQ(sounds.played.count(QStringLiteral("TRUEANSWER")), 2);
    EXPECT_EQ(selected()->Id, 11);
    EXPECT_TRUE(form->DecideButton->isEnabled());
}

TEST_F(ProblemsFormTest, WrongAnswerShowsItsNoticeAndStaysInTextMode)
{
    open();
    ModalScript script;
    script.ignore(form);
    key(Qt::Key_Return);
    answerWith(script, 8);
    key(Qt::Key_Return);
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(form->TextMode());
    ASSERT_EQ(box.textModeAtShow.size(), 1);
    EXPECT_TRUE(box.textModeAtShow[0]);
    EXPECT_EQ(sounds.played.count(QStringLiteral("FALSEANSWER")), 1);
}

TEST_F(ProblemsFormTest, SolutionOpensAtOnceWithoutQuestion)
{
    open();
    ModalScript script;
    script.ignore(form);
    QString shownSolution;
    int clicksAtOpen = -1;
    script.then([&](QWidget *w) {
        auto *viewer = qobject_cast<TSolutionForm *>(w);
        ASSERT_NE(viewer, nullptr);
        shownSolution = viewer->AnswerText->toPlainText();
        clicksAtOpen = clicks();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    form->AnswerButton->click();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(shownSolution.contains(QStringLiteral("Solution 11")));
    EXPECT_TRUE(box.shown.isEmpty());
    EXPECT_EQ(clicksAtOpen, 1);
}

TEST_F(ProblemsFormTest, AKeyActsOnceWhenAButtonHasTheFocus)
{
    open();
    // A button reached with Tab takes Enter as its own click.
    EXPECT_EQ(form->focusWidget(), form->ProblemsList);
    key(Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), form->StarButton);
    key(Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), form->CloseButton);
    key(Qt::Key_Tab); // the bottom row left to right
    EXPECT_EQ(form->focusWidget(), form->MemoButton);
    key(Qt::Key_Tab);
    ASSERT_EQ(form->focusWidget(), form->AnswerButton);
    ModalScript script;
    script.ignore(form);
    int clicksAtOpen = -1;
    script.then([&](QWidget *w) {
        EXPECT_NE(qobject_cast<TSolutionForm *>(w), nullptr);
        clicksAtOpen = clicks();
        QTest::keyClick(w, Qt::Key_Escape);
    });
    QTest::keyClick(form->AnswerButton, Qt::Key_Return);
    EXPECT_TRUE(script.done());
    EXPECT_FALSE(form->TextMode());
    EXPECT_EQ(clicksAtOpen, 1);

    // Escape with the focus on the decide button goes back once: text mode to list, no question.
    form->DecideButton->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(form->DecideButton, Qt::Key_Return);
    EXPECT_TRUE(form->TextMode());
    QTest::keyClick(form->DecideButton, Qt::Key_Escape);
    EXPECT_FALSE(form->TextMode());
    EXPECT_TRUE(box.shown.isEmpty());
}

TEST_F(ProblemsFormTest, AfterAMouseClickOnAButtonEnterStillDecides)
{
    open();
    ModalScript script;
    script.ignore(form);
    script.then([](QWidget *w) {
        EXPECT_NE(qobject_cast<TSolutionForm *>(w), nullptr);
        QTest::keyClick(w, Qt::Key_Escape);
    });
    QTest::mouseClick(form->AnswerButton, Qt::LeftButton);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(form->focusWidget(), form->ProblemsList);
    key(Qt::Key_Return);
    EXPECT_TRUE(form->TextMode());
    EXPECT_EQ(script.seen.size(), 1);

    // "назад" clicked in text mode: back to the list, and Enter opens the text again
    // rather than pressing "назад" into the leave question.
    QTest::mouseClick(form->CloseButton, Qt::LeftButton);
    EXPECT_FALSE(form->TextMode());
    EXPECT_EQ(form->focusWidget(), form->ProblemsList);
    key(Qt::Key_Return);
    EXPECT_TRUE(form->TextMode());
    EXPECT_TRUE(box.shown.isEmpty());
}

TEST_F(ProblemsFormTest, ClickOnAPuzzleWithoutItsPictureShowsThatPuzzle)
{
    open();
    ASSERT_EQ(selected()->Id, 11);
    QFile::remove(gameDir() + QStringLiteral("/Images/p12.jpg"));
    const QPoint row = form->ProblemsList->Rows().at(1).center();
    QTest::mouseClick(form->ProblemsList, Qt::LeftButton, {}, row);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(selected()->Id, 12);
    EXPECT_EQ(form->ProblemsList->HighlightedIndex(), 1);
    EXPECT_EQ(form->ProblemName->caption(), QStringLiteral("Два поезда"));
    EXPECT_TRUE(form->ProblemImage->picture().isNull());
}

// Scaled up, the picture is drawn from its SVG source at the shown size; at
// factor 1, without a source, or with one that reaches outside itself, the
// JPEG shows as before.
TEST_F(ProblemsFormTest, ScaledUpThePictureIsDrawnFromItsSafeSource)
{
    const QColor sharp(32, 96, 192);
    const QByteArray head =
        "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
        "width='440' height='460' viewBox='0 0 440 460'><rect width='440' height='460' "
        "fill='#2060c0'/>";
    QDir().mkpath(gameDir() + QStringLiteral("/Images"));
    QFile safe(gameDir() + QStringLiteral("/Images/p11.svg"));
    ASSERT_TRUE(safe.open(QIODevice::WriteOnly));
    safe.write(head + "</svg>");
    safe.close();
    QFile hostile(gameDir() + QStringLiteral("/Images/p13.svg"));
    ASSERT_TRUE(hostile.open(QIODevice::WriteOnly));
    hostile.write(head + "<image width='9' height='9' xlink:href='/etc/hostname'/></svg>");
    hostile.close();
    open();
    QWindow *window = form->windowHandle();
    ASSERT_NE(window, nullptr);
    const auto restore = qScopeGuard([window] { platform::setWindowScale(window, 1.0); });

    const struct {
        int row;
        double factor;
        QColor shown;
    } cases[] = {
        {0, 1.8, sharp},           {0, 1.0, puzzleColor(11)}, // the source only when scaled up
        {1, 1.8, puzzleColor(12)},                            // no source
        {2, 1.8, puzzleColor(13)},                            // a source that names a file
        {0, 2.5, sharp},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(QStringLiteral("row %1 at %2").arg(c.row).arg(c.factor).toStdString());
        platform::setWindowScale(window, c.factor);
        emit form->ProblemsList->rowChosen(c.row);
        // The source is drawn once the queue is empty; what shows then stays.
        [[maybe_unused]] const bool settled = QTest::qWaitFor(
            [&] { return near(centreColor(form->ProblemImage->grab().toImage()), c.shown); }, 5000);
        QTest::qWait(100);
        const QImage shown = form->ProblemImage->grab().toImage();
        EXPECT_EQ(shown.size(), (QSizeF(440, 460) * c.factor).toSize());
        EXPECT_TRUE(near(centreColor(shown), c.shown)) << centreColor(shown).name().toStdString();
        // The whole box, to its corner.
        EXPECT_TRUE(near(shown.pixelColor(shown.width() - 2, shown.height() - 2), c.shown));
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

TEST_F(ProblemsFormTest, TextViewerPassesTheFocusToTheDecideButton)
{
    open();
    key(Qt::Key_Return);
    form->ProblemText->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_EQ(form->focusWidget(), form->DecideButton);
}

TEST_F(ProblemsFormTest, WheelScrollsTheTextOneLinePerNotchInTextModeOnly)
{
    open();
    emit form->ProblemsList->rowChosen(1); // 80 lines of text
    auto wheel = [&](QWidget *target, int delta) {
        QWheelEvent e(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &e);
    };
    wheel(form, -120);
    EXPECT_EQ(form->ProblemText->ScrollPosition(), 0);

    key(Qt::Key_Return);
    ASSERT_TRUE(form->TextMode());
    ASSERT_TRUE(form->ProblemText->ScrollActive());
    wheel(form->ProblemText, -120);
    wheel(form->ProblemText, -120);
    EXPECT_EQ(form->ProblemText->ScrollPosition(), 2);
    wheel(form, 120);
    EXPECT_EQ(form->ProblemText->ScrollPosition(), 1);
    wheel(form, 120);
    wheel(form, 120); // one line above the top is refused
    EXPECT_EQ(form->ProblemText->ScrollPosition(), 0);
}

TEST_F(ProblemsFormTest, MissingCatalogueShowsThePlatformErrorAndClosesWithoutQuestion)
{
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    whenModal([&](QWidget *w) {
        auto *message = qobject_cast<QMessageBox *>(w);
        ASSERT_NE(message, nullptr);
        text = message->text();
        icon = message->icon();
        buttons = int(message->buttons().size());
        QTest::keyClick(w, Qt::Key_Return);
    });
    form = new TProblemsForm(context, nullptr, gameDir()); // an empty folder: no list.lst
    EXPECT_EQ(text, QStringLiteral("Невозможно загрузить список задач"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
    EXPECT_TRUE(form->StartFailed());
    const int r = form->ShowModal();
    EXPECT_EQ(r, mrCancel);
    EXPECT_TRUE(box.shown.isEmpty());
}

TEST_F(ProblemsFormTest, BrokenPictureIsReportedAndTheScreenGoesOn)
{
    writeCatalogue(gameDir(), puzzles);
    QFile::remove(gameDir() + QStringLiteral("/Images/p12.jpg"));
    form = new TProblemsForm(context, nullptr, gameDir());
    form->ShowModalAsync();
    EXPECT_TRUE(errors.isEmpty());
    // A click: the error goes to the application's report.
    emit form->ProblemsList->rowChosen(1);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(selected()->Id, 12);
    EXPECT_FALSE(selected()->Loaded);

    // Each Enter reads the puzzle again and reports it again: neither an empty
    // text nor the answer dialog opens on a puzzle that could not be read.
    ModalScript script;
    script.ignore(form);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(errors.size(), 3);
    EXPECT_TRUE(script.seen.isEmpty());
    emit form->ProblemsList->rowChosen(2);
    EXPECT_EQ(selected()->Id, 13);
    EXPECT_TRUE(selected()->Loaded);
}

TEST_F(ProblemsFormTest, CatalogueWithoutPuzzlesIsACatalogueThatCannotBeLoaded)
{
    puzzles.clear();
    writeCatalogue(gameDir(), puzzles);
    QString text;
    whenModal([&](QWidget *w) {
        if (auto *message = qobject_cast<QMessageBox *>(w))
            text = message->text();
        QTest::keyClick(w, Qt::Key_Return);
    });
    form = new TProblemsForm(context, nullptr, gameDir());
    EXPECT_EQ(text, QStringLiteral("Невозможно загрузить список задач"));
    EXPECT_TRUE(form->StartFailed());
    EXPECT_EQ(form->Problems.Selected(), nullptr);
    EXPECT_FALSE(form->DecideButton->isEnabled() && form->Problems.Selected());
}

} // namespace

// «подсказка» by key and by button: the text opens with the hints numbered under
// the statement, as the text viewer gives them to a reader; none left, the
// button is off; another puzzle starts without them.
TEST_F(ProblemsFormTest, HintsOpenTheTextAndStandNumberedUnderTheStatement)
{
    puzzles[0].hints = 2;
    open();
    ASSERT_TRUE(form->HintButton->isEnabled());
    EXPECT_EQ(form->HintButton->text(), QStringLiteral("подсказка"));
    EXPECT_EQ(form->HintButton->focusPolicy(), Qt::TabFocus);
    key(Qt::Key_F1);
    ASSERT_TRUE(form->TextMode());
    const auto shown = [this] { return form->ProblemText->toPlainText(); };
    EXPECT_TRUE(shown().contains(QStringLiteral("Подсказка 1.\nHint 1 of 11."))) << qPrintable(shown());
    EXPECT_FALSE(shown().contains(QStringLiteral("Hint 2")));
    QTest::mouseClick(form->HintButton, Qt::LeftButton);
    EXPECT_TRUE(shown().contains(QStringLiteral("Подсказка 2.\nHint 2 of 11."))) << qPrintable(shown());
    EXPECT_FALSE(form->HintButton->isEnabled());
    EXPECT_TRUE(box.shown.isEmpty()); // free: no question

    key(Qt::Key_Escape);
    key(Qt::Key_Down);
    EXPECT_FALSE(form->HintButton->isEnabled()); // the next puzzle has none
    key(Qt::Key_Up);
    key(Qt::Key_Return);
    EXPECT_FALSE(shown().contains(QStringLiteral("Подсказка"))) << qPrintable(shown());
    EXPECT_TRUE(form->HintButton->isEnabled());
}

TEST_F(ProblemsFormTest, TypingNarrowsTheListAndTheKeysWorkOnWhatItShows)
{
    open();
    auto typeKey = [this](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(form->focusWidget() ? form->focusWidget() : form.data(), k, m);
    };
    EXPECT_EQ(form->FilterInfo->caption(), QStringLiteral("Всего головоломок: 3"));
    typeKey(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(form->focusWidget(), form->FilterBar->SearchEdit);
    typeText(form->FilterBar->SearchEdit, QStringLiteral("ДВА"));
    EXPECT_EQ(form->ProblemsList->Count(), 1);
    EXPECT_EQ(selected()->Id, 12);
    EXPECT_EQ(form->FilterInfo->caption(), QStringLiteral("Показано 1 из 3"));
    EXPECT_EQ(form->ProblemName->caption(), QStringLiteral("Два поезда"));

    // Down goes to the list, Enter opens the shown puzzle, Escape comes back to it.
    typeKey(Qt::Key_Down);
    EXPECT_EQ(form->focusWidget(), form->ProblemsList);
    typeKey(Qt::Key_Return);
    EXPECT_TRUE(form->TextMode());
    EXPECT_FALSE(form->FilterBar->isVisible());
    typeKey(Qt::Key_Escape);
    EXPECT_FALSE(form->TextMode());
    EXPECT_TRUE(form->FilterBar->isVisible());

    // Insert marks the selected puzzle; Ctrl+Backspace clears the filter and keeps the choice.
    typeKey(Qt::Key_Insert);
    EXPECT_EQ(form->StarButton->text(), QStringLiteral("★"));
    typeKey(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(form->ProblemsList->Count(), 3);
    EXPECT_EQ(form->FilterBar->SearchEdit->text(), QString());
    EXPECT_EQ(selected()->Id, 12);
    EXPECT_TRUE(form->Problems.Starred(1));

    // Marked only; then a grade that hides it empties the list and disables what needs a puzzle.
    form->FilterBar->StarredOnlyButton->click();
    EXPECT_EQ(form->ProblemsList->Count(), 1);
    form->FilterBar->DifficultyBox->setCurrentIndex(3); // сложные
    EXPECT_EQ(form->ProblemsList->Count(), 0);
    EXPECT_EQ(selected(), nullptr);
    EXPECT_FALSE(form->DecideButton->isEnabled());
    EXPECT_FALSE(form->AnswerButton->isEnabled());
    EXPECT_FALSE(form->StarButton->isEnabled());
    EXPECT_EQ(form->FilterInfo->caption(), QStringLiteral("Показано 0 из 3"));

    // Escape in the search box with a filter set clears it; the screen stays and no question is asked.
    typeKey(Qt::Key_F, Qt::ControlModifier);
    typeKey(Qt::Key_Escape);
    EXPECT_TRUE(form->Flow().Filter().IsEmpty());
    EXPECT_FALSE(form->FilterBar->StarredOnlyButton->isChecked());
    EXPECT_EQ(form->FilterBar->DifficultyBox->currentIndex(), 0);
    EXPECT_EQ(selected()->Id, 11);
    EXPECT_TRUE(box.shown.isEmpty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}

// The memo: F2 turns the picture into a pad, the mouse draws, Escape ends the
// drawing without leaving; the memo stays with its puzzle for the run and is
// drawn on the same spot of the picture at any size.
TEST_F(ProblemsFormTest, AMemoDrawnOnThePictureStaysWithItsPuzzle)
{
    open();
    TMemoPad *pad = form->MemoPad;
    ASSERT_NE(pad, nullptr);
    EXPECT_EQ(form->MemoButton->text(), QStringLiteral("заметки"));
    EXPECT_EQ(form->MemoButton->accessibleDescription(), QStringLiteral("пусто"));
    EXPECT_EQ(pad->geometry(), form->ProblemImage->geometry());
    EXPECT_TRUE(pad->testAttribute(Qt::WA_TransparentForMouseEvents));

    key(Qt::Key_F2);
    ASSERT_TRUE(pad->Drawing());
    QTest::mousePress(pad, Qt::LeftButton, {}, QPoint(100, 200));
    QTest::mouseMove(pad, QPoint(150, 220));
    QTest::mouseMove(pad, QPoint(200, 240));
    QTest::mouseRelease(pad, Qt::LeftButton, {}, QPoint(200, 240));
    key(Qt::Key_Escape);
    EXPECT_FALSE(pad->Drawing());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(box.shown.isEmpty()); // no leave question while drawing

    const TMemo kept = runMemos.Memo(11);
    ASSERT_EQ(kept.Strokes().size(), 1u);
    EXPECT_EQ(kept.Strokes().front().points.front(), QPointF(100, 200)); // shown at 440 × 460
    EXPECT_EQ(form->MemoButton->accessibleDescription(), QStringLiteral("есть рисунки"));

    // Another puzzle has its own, empty memo; coming back shows this one.
    key(Qt::Key_Down);
    EXPECT_EQ(selected()->Id, 12);
    EXPECT_TRUE(pad->Memo().IsEmpty());
    EXPECT_EQ(form->MemoButton->accessibleDescription(), QStringLiteral("пусто"));
    key(Qt::Key_Up);
    EXPECT_EQ(pad->Memo(), kept);

    // At half the size the line lies on the same spot of the picture.
    const auto inked = [&](QSize size, QPointF picturePoint) {
        pad->resize(size);
        QImage shot(size, QImage::Format_ARGB32_Premultiplied);
        shot.fill(Qt::transparent);
        pad->render(&shot, {}, {}, QWidget::RenderFlags());
        const QPoint at =
            (QPointF(picturePoint.x() * size.width() / 440, picturePoint.y() * size.height() / 460))
                .toPoint();
        return qAlpha(shot.pixel(at)) > 128;
    };
    for (QSize size : {QSize(440, 460), QSize(220, 230)}) {
        SCOPED_TRACE(size.width());
        EXPECT_TRUE(inked(size, {150, 220}));
        EXPECT_FALSE(inked(size, {150, 260}));
    }
    pad->setGeometry(form->ProblemImage->geometry());

    // The eraser takes the whole line.
    key(Qt::Key_F2);
    pad->SetTool(TMemoPad::Tool::Eraser);
    QTest::mouseClick(pad, Qt::LeftButton, {}, QPoint(150, 221));
    key(Qt::Key_F2);
    EXPECT_FALSE(pad->Drawing());
    EXPECT_TRUE(runMemos.Memo(11).IsEmpty());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
}
