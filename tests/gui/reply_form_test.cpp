#include "GuiSupport.h"

#include "core/User.h"
#include "screens/ReplyForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <cstring>

using namespace guitest;

namespace
{

// A puzzle whose check records what it was handed.
class TestProblem : public TProblem
{
  public:
    TestProblem(std::uint8_t kind, QStringList lines)
        : TProblem(7, 0, QStringLiteral("Тест"), QString(), QString())
    {
        AnswerKind = kind;
        Lines = std::move(lines);
    }
    bool CheckAnswer(const AnswerValue &answer) const override
    {
        ++calls;
        lastAnswer = answer;
        return verdict;
    }
    mutable int calls = 0;
    mutable AnswerValue lastAnswer;
    bool verdict = true;
};

class ReplyFormTest : public MediaFixture
{
  protected:
    void TearDown() override
    {
        if (form)
            delete form.data();
        MediaFixture::TearDown();
    }

    TReplyForm *open(TestProblem &problem)
    {
        form = new TReplyForm(nullptr, problem, &waves, &notices);
        QObject::connect(form, &TForm::modalFinished, [this](int r) { result = r; });
        form->ShowModalAsync();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        return form;
    }
    bool stillOpen() const { return form && form->isVisible(); }
    QStringList noticeTexts() const
    {
        QStringList out;
        for (const auto &s : notices.shown)
            out << s.text;
        return out;
    }
    void type(QWidget *w, const QString &text) { typeText(w, text); }

    RecordingMessageBox notices{&media, nullptr, &waves};
    QPointer<TReplyForm> form;
    int result = -1;
};

TEST_F(ReplyFormTest, LayoutFollowsTheDesignAndCentresTheQuestion)
{
    TestProblem p(AnswerInteger, {QStringLiteral("Сколько лет капитану?")});
    open(p);
    EXPECT_EQ(form->size(), QSize(376, 185));
    EXPECT_EQ(form->OuterFrame->geometry(), QRect(8, 8, 361, 169));
    EXPECT_EQ(form->QuestionFrame->geometry(), QRect(16, 16, 345, 89));
    EXPECT_EQ(form->QText->caption(), QStringLiteral("Сколько лет капитану?"));
    EXPECT_EQ(form->QText->x(), 30);
    EXPECT_GE(form->QText->width(), 318);
    EXPECT_LE(form->QText->width(), 319);
    EXPECT_EQ(form->QText->y(), 16 + (89 - form->QText->height()) / 2);
    EXPECT_EQ(form->AnswerCaption->caption(), QStringLiteral("Ваш ответ"));
    EXPECT_EQ(form->AnswerCaption->pos(), QPoint(16, 120));
    EXPECT_EQ(form->Edit->pos(), QPoint(88, 120));
    EXPECT_EQ(form->Edit->height(), QFontMetrics(form->Edit->font()).height() + 6);
    EXPECT_EQ(form->OkButton->geometry(), QRect(297, 148, 65, 22));
    EXPECT_EQ(form->OkButton->text(), QStringLiteral("ОК"));
    EXPECT_EQ(form->CancelButton->geometry(), QRect(225, 148, 65, 22));
    EXPECT_EQ(form->CancelButton->text(), QStringLiteral("Отмена"));
    EXPECT_TRUE(form->Edit->isVisible());
    EXPECT_FALSE(form->List->isVisible());
    EXPECT_FALSE(form->TimeEdit->isVisible());
    EXPECT_TRUE(form->Edit->hasFocus());
    EXPECT_TRUE(form->Edit->alignment() & Qt::AlignRight);
}

TEST_F(ReplyFormTest, LongQuestionWrapsWithinThePanel)
{
    TestProblem p(AnswerText,
                  {QStringLiteral("Очень длинный вопрос, который не помещается в одну строку и потому "
                                  "переносится на следующие строки панели вопроса, но не дальше.")});
    open(p);
    const int oneLine = QFontMetrics(form->QText->font()).height();
    EXPECT_GT(form->QText->height(), oneLine);
    EXPECT_LE(form->QText->height(), 84);
    EXPECT_GE(form->QText->y(), 16);
    EXPECT_LE(form->QText->y() + form->QText->height(), 16 + 89);
}

TEST_F(ReplyFormTest, EachKindShowsItsOwnEntryControl)
{
    struct Case {
        std::uint8_t kind;
        bool edit, list, time;
        QWidget *(*focus)(TReplyForm *);
    };
    const Case cases[] = {
        {AnswerInteger, true, false, false, [](TReplyForm *f) -> QWidget * { return f->Edit; }},
        {AnswerText, true, false, false, [](TReplyForm *f) -> QWidget * { return f->Edit; }},
        {AnswerTime, false, false, true, [](TReplyForm *f) -> QWidget * { return f->TimeEdit; }},
        {AnswerChoice, false, true, false, [](TReplyForm *f) -> QWidget * { return f->List; }},
        {AnswerNumbers, true, true, false, [](TReplyForm *f) -> QWidget * { return f->Edit; }},
        {9, false, false, false, [](TReplyForm *) -> QWidget * { return nullptr; }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.kind));
        TestProblem p(c.kind, {QStringLiteral("Вопрос"), QStringLiteral("a"), QStringLiteral("b")});
        open(p);
        EXPECT_EQ(form->Edit->isVisible(), c.edit);
        EXPECT_EQ(form->List->isVisible(), c.list);
        EXPECT_EQ(form->TimeEdit->isVisible(), c.time);
        EXPECT_EQ(form->TimeFrame->isVisible(), c.time);
        if (QWidget *w = c.focus(form)) {
            EXPECT_TRUE(w->hasFocus());
        }
        EXPECT_EQ(bool(form->NumberTexts), c.kind == AnswerNumbers);
        if (c.kind == AnswerNumbers) {
            EXPECT_EQ(form->Edit->x(), 195);
            EXPECT_EQ(*form->NumberTexts, QStringList({QString(), QString()}));
        }
        if (c.list) {
            EXPECT_EQ(form->List->count(), 2);
            // A choice starts unpicked; the numbers start on the first name.
            EXPECT_EQ(form->List->currentIndex(), c.kind == AnswerNumbers ? 0 : -1);
            EXPECT_EQ(form->List->geometry(), QRect(88, 120, 97, 23));
        }
        if (c.time) {
            EXPECT_EQ(form->TimeFrame->geometry(), QRect(88, 120, 61, 25));
            EXPECT_EQ(form->TimeEdit->Text(), QStringLiteral("  :  :  "));
        }
        delete form.data();
    }
}

TEST_F(ReplyFormTest, WholeNumberAcceptsDigitsOnlyAndChecksTheRange)
{
    TestProblem p(AnswerInteger, {QStringLiteral("Сколько?")});
    open(p);
    type(form->Edit, QStringLiteral("a-1 2,x3"));
    EXPECT_EQ(form->Edit->text(), QStringLiteral("123"));
    QTest::keyClick(form->Edit, Qt::Key_Backspace);
    EXPECT_EQ(form->Edit->text(), QStringLiteral("12"));

    form->Edit->clear();
    QTest::keyClick(form->Edit, Qt::Key_Return);
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Ответ должен быть целым числом.")});
    EXPECT_TRUE(stillOpen());

    type(form->Edit, QStringLiteral("2147483648"));
    QTest::keyClick(form->Edit, Qt::Key_Return);
    EXPECT_EQ(notices.shown.size(), 2);
    EXPECT_EQ(p.calls, 0);
    EXPECT_TRUE(stillOpen());
    EXPECT_EQ(form->Edit->text(), QStringLiteral("2147483648")); // the entry stays as it was

    form->Edit->setText(QStringLiteral("00042"));
    p.verdict = false;
    QTest::keyClick(form->Edit, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(p.calls, 1);
    EXPECT_EQ(p.lastAnswer, AnswerValue::fromInteger(42));
    EXPECT_EQ(result, 7);
    EXPECT_EQ(sounds.played, (QStringList{"CLICK", "ERROR", "CLICK", "ERROR", "CLICK"}));
    flushDeletes();
    EXPECT_TRUE(form.isNull()); // the dialog frees itself
}

TEST_F(ReplyFormTest, LargestWholeNumberPacksLittleEndian)
{
    TestProblem p(AnswerInteger, {QStringLiteral("?")});
    open(p);
    type(form->Edit, QStringLiteral("2147483647"));
    QTest::mouseClick(form->OkButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    const std::array<std::uint8_t, 4> expected{0xFF, 0xFF, 0xFF, 0x7F};
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), p.lastAnswer.bytes.begin()));
    EXPECT_TRUE(
        std::all_of(p.lastAnswer.bytes.begin() + 4, p.lastAnswer.bytes.end(), [](auto b) { return b == 0; }));
}

TEST_F(ReplyFormTest, TextIsCutToTwelveCharactersAndMustNotBeEmpty)
{
    TestProblem p(AnswerText, {QStringLiteral("Слово?")});
    open(p);
    QTest::keyClick(form->Edit, Qt::Key_Return);
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Введите свой ответ!")});
    type(form->Edit, QStringLiteral(" Абвгдежзийкл")); // 13 characters with the blank
    QTest::keyClick(form->Edit, Qt::Key_Enter);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    EXPECT_EQ(p.lastAnswer.bytes[0], 12);
    EXPECT_EQ(p.lastAnswer.text(), QStringLiteral(" Абвгдежзийк"));
    EXPECT_EQ(p.lastAnswer.bytes[0xC], 0xEA); // "к" in Windows-1251
    EXPECT_EQ(p.lastAnswer.bytes[13], 0);
}

TEST_F(ReplyFormTest, TimeIsPackedAsAFractionOfADay)
{
    TestProblem p(AnswerTime, {QStringLiteral("Который час?")});
    open(p);
    // One hour digit, the separator jumps to the minutes.
    type(form->TimeEdit, QStringLiteral("1:3000"));
    EXPECT_EQ(form->TimeEdit->Text(), QStringLiteral("1 :30:00"));
    QTest::keyClick(form->TimeEdit, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    double d = 0;
    std::memcpy(&d, p.lastAnswer.bytes.data(), sizeof d);
    EXPECT_DOUBLE_EQ(d, 0.0625);
}

TEST_F(ReplyFormTest, TimeTypedAsTheQuestionAsksIsAccepted)
{
    struct Case {
        const char *typed;
        const char *shown;
        int h, m, s;
    };
    const Case cases[] = {
        {"7:40:00", "7 :40:00", 7, 40, 0},   {"07:40:00", "07:40:00", 7, 40, 0},
        {"13:22:00", "13:22:00", 13, 22, 0}, {"132200", "13:22:00", 13, 22, 0},
        {"0:00:00", "0 :00:00", 0, 0, 0},    {"23:59:59", "23:59:59", 23, 59, 59},
        {"12::34", "12:  :34", -1, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        TestProblem p(AnswerTime, {QStringLiteral("Который час? (чч:мм:сс)")});
        open(p);
        result = -1;
        type(form->TimeEdit, QString::fromLatin1(c.typed));
        EXPECT_EQ(form->TimeEdit->Text(), QString::fromLatin1(c.shown));
        QTest::keyClick(form->TimeEdit, Qt::Key_Return);
        QCoreApplication::processEvents();
        if (c.h < 0) {
            EXPECT_EQ(p.calls, 0);
            EXPECT_TRUE(stillOpen());
        } else {
            EXPECT_EQ(result, 6);
            double d = 0;
            std::memcpy(&d, p.lastAnswer.bytes.data(), sizeof d);
            EXPECT_DOUBLE_EQ(d, AnswerValue::dayFraction(c.h, c.m, c.s));
        }
        if (form)
            delete form.data();
    }
}

TEST_F(ReplyFormTest, MouseClicksOnTheButtonsActWhateverTheTimeBoxHolds)
{
    TestProblem p(AnswerTime, {QStringLiteral("Который час?")});
    open(p);
    // Incomplete: ОК gives the notice and hands the time box back for typing.
    type(form->TimeEdit, QStringLiteral("12:3"));
    QTest::mouseClick(form->OkButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Ответ должен быть временем!")});
    EXPECT_EQ(p.calls, 0);
    ASSERT_TRUE(form->TimeEdit->hasFocus());
    EXPECT_EQ(form->TimeEdit->cursorPosition(), 4);
    // Отмена cancels, still with the incomplete time.
    QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 2);
}

TEST_F(ReplyFormTest, PartlyFilledOrOutOfRangeTimeIsRefused)
{
    TestProblem p(AnswerTime, {QStringLiteral("Который час?")});
    open(p);
    type(form->TimeEdit, QStringLiteral("123"));
    EXPECT_EQ(form->TimeEdit->Text(), QStringLiteral("12:3 :  "));
    QTest::keyClick(form->TimeEdit, Qt::Key_Return);
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Ответ должен быть временем!")});
    EXPECT_TRUE(stillOpen());
    EXPECT_EQ(form->TimeEdit->Text(), QStringLiteral("12:3 :  "));

    form->TimeEdit->setMaskedText(QStringLiteral("246000"));
    QTest::keyClick(form->TimeEdit, Qt::Key_Return);
    EXPECT_EQ(notices.shown.size(), 2);
    EXPECT_EQ(p.calls, 0);
}

TEST_F(ReplyFormTest, ChoiceNeedsAPickedLine)
{
    TestProblem p(AnswerChoice,
                  {QStringLiteral("Кто?"), QStringLiteral("Волк"), QStringLiteral("Очень длинный ответ")});
    open(p);
    QTest::keyClick(form->List, Qt::Key_Return);
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Введите свой ответ!")});
    QTest::keyClick(form->List, Qt::Key_Down);
    QTest::keyClick(form->List, Qt::Key_Down);
    EXPECT_EQ(form->List->currentIndex(), 1);
    QTest::keyClick(form->List, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    EXPECT_EQ(p.lastAnswer, AnswerValue::fromText(QStringLiteral("Очень длинны")));
}

class NumbersTest : public ReplyFormTest
{
  protected:
    void SetUp() override
    {
        ReplyFormTest::SetUp();
        open(problem);
    }
    // Picks an item as the player does on the keyboard: back into the list,
    // arrow keys there, then on into the number box.
    void pick(int index)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_TRUE(form->List->hasFocus());
        while (form->List->currentIndex() < index)
            QTest::keyClick(form->List, Qt::Key_Down);
        while (form->List->currentIndex() > index)
            QTest::keyClick(form->List, Qt::Key_Up);
        EXPECT_TRUE(form->List->hasFocus()) << "an arrow key took the keyboard out of the list";
        QTest::keyClick(form->List, Qt::Key_Tab);
    }
    TestProblem problem{AnswerNumbers,
                        {QStringLiteral("Сколько?"), QStringLiteral("Кошек"), QStringLiteral("Собак"),
                         QStringLiteral("Мышей")}};
};

TEST_F(NumbersTest, PickingAnItemLoadsItsNumberAndLeavingCommitsIt)
{
    pick(0);
    EXPECT_TRUE(form->Edit->hasFocus());
    type(form->Edit, QStringLiteral("5"));
    pick(1); // leaving the edit commits 5 to the first item
    EXPECT_EQ(form->NumberTexts->at(0), QStringLiteral("5"));
    EXPECT_TRUE(form->Edit->hasFocus());
    EXPECT_EQ(form->Edit->text(), QString());
    type(form->Edit, QStringLiteral("7"));
    pick(0);
    EXPECT_EQ(form->Edit->text(), QStringLiteral("5"));
    EXPECT_EQ(*form->NumberTexts, QStringList({"5", "7", ""}));
}

TEST_F(NumbersTest, MissingNumberPicksItsItemAndKeepsTheOthers)
{
    pick(0);
    type(form->Edit, QStringLiteral("5"));
    pick(2);
    type(form->Edit, QStringLiteral("9"));
    pick(2);
    QTest::mouseClick(form->OkButton, Qt::LeftButton);
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Введите следующие число.")});
    EXPECT_EQ(form->List->currentIndex(), 1);
    EXPECT_EQ(form->Edit->text(), QString());
    EXPECT_TRUE(form->Edit->hasFocus());
    EXPECT_EQ(*form->NumberTexts, QStringList({"5", "", "9"}));
    EXPECT_TRUE(stillOpen());
    // Enter while typing the missing number commits it before the check.
    type(form->Edit, QStringLiteral("1"));
    QTest::keyClick(form->Edit, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    EXPECT_EQ(problem.lastAnswer, AnswerValue::fromNumbers({5, 1, 9}));
    EXPECT_EQ(problem.lastAnswer.bytes[0], 3);
    EXPECT_EQ(problem.lastAnswer.bytes[8], 1);
}

TEST_F(NumbersTest, NumberTypedAtOnceIsKeptForTheFirstName)
{
    EXPECT_TRUE(form->Edit->hasFocus());
    type(form->Edit, QStringLiteral("42"));
    QTest::keyClick(form->Edit, Qt::Key_Return);
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Введите следующие число.")});
    EXPECT_EQ(form->List->currentIndex(), 1);
    EXPECT_EQ(*form->NumberTexts, QStringList({"42", "", ""}));
}

TEST_F(NumbersTest, MouseClickOnOkCommitsTheNumberBeingTyped)
{
    for (int i = 0; i < 3; ++i) {
        pick(i);
        type(form->Edit, QString::number(10 + i));
    }
    QTest::mouseClick(form->OkButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    EXPECT_EQ(problem.lastAnswer, AnswerValue::fromNumbers({10, 11, 12}));
}

TEST_F(NumbersTest, NumberOutOfRangeIsReportedForAll)
{
    for (int i = 0; i < 3; ++i) {
        pick(i);
        type(form->Edit, i == 1 ? QStringLiteral("99999999999") : QStringLiteral("1"));
    }
    QTest::keyClick(form->Edit, Qt::Key_Return);
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Все ответы должны быть целыми числами.")});
    EXPECT_TRUE(stillOpen());
    EXPECT_EQ(problem.calls, 0);
}

TEST_F(ReplyFormTest, EscapeAndCancelCloseWithResultTwoAndClick)
{
    TestProblem p(AnswerText, {QStringLiteral("?")});
    open(p);
    type(form->Edit, QStringLiteral("abc"));
    QTest::keyClick(form->Edit, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 2);
    EXPECT_FALSE(stillOpen());
    flushDeletes();

    result = -1;
    open(p);
    QTest::mouseClick(form->CancelButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 2);
    EXPECT_EQ(p.calls, 0);
    EXPECT_EQ(sounds.played, (QStringList{"CLICK", "CLICK"}));
}

TEST_F(ReplyFormTest, UnknownKindChecksAnAllZeroRecord)
{
    TestProblem p(9, {QStringLiteral("?")});
    p.verdict = false;
    open(p);
    QTest::keyClick(form, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 7);
    EXPECT_EQ(p.lastAnswer, AnswerValue{});
}

TEST_F(ReplyFormTest, MoreNumbersThanTheRecordHoldsAreNeverWrittenPastIt)
{
    QStringList lines{QStringLiteral("Сколько?")};
    for (int i = 0; i < 9; ++i)
        lines << QStringLiteral("Число %1").arg(i + 1);
    TestProblem p(AnswerNumbers, lines);
    open(p);
    for (int i = 0; i < 9; ++i)
        (*form->NumberTexts)[i] = QString::number(100 + i);
    form->Edit->setText(QStringLiteral("100")); // the picked first item's number
    QTest::mouseClick(form->OkButton, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    EXPECT_EQ(p.lastAnswer.count(), AnswerValue::MaxNumbers);
    EXPECT_EQ(p.lastAnswer.number(6), 106);
}

TEST_F(ReplyFormTest, PuzzleWithoutLinesOpensEmpty)
{
    TestProblem p(AnswerChoice, {});
    open(p);
    EXPECT_TRUE(form->QText->caption().isEmpty());
    EXPECT_EQ(form->List->count(), 0);
    QTest::keyClick(form->List, Qt::Key_Return);
    EXPECT_EQ(noticeTexts(), QStringList{QStringLiteral("Введите свой ответ!")});
}

TEST_F(ReplyFormTest, ModalRunReturnsTheVerdict)
{
    TestProblem p(AnswerInteger, {QStringLiteral("?")});
    auto *f = new TReplyForm(nullptr, p, &waves, &notices);
    QPointer<TReplyForm> guard(f);
    whenModal([](QWidget *w) {
        auto *q = static_cast<TReplyForm *>(w);
        QTest::keyClicks(q->Edit, QStringLiteral("3"));
        QTest::keyClick(q->Edit, Qt::Key_Return);
    });
    EXPECT_EQ(TReplyForm::VerdictOf(f->ShowModal()), AnswerVerdict::Right);
    flushDeletes();
    EXPECT_TRUE(guard.isNull());
}

// The run hands back what was entered, right or wrong alike, and nothing when
// the player leaves: the flow that ran it judges and scores.
TEST_F(ReplyFormTest, RunGivesTheEntryOrThatThePlayerLeft)
{
    struct Case {
        bool right;
        int key;
        bool cancelled;
    };
    for (const Case c : {Case{true, Qt::Key_Return, false}, Case{false, Qt::Key_Return, false},
                         Case{true, Qt::Key_Escape, true}}) {
        TestProblem p(AnswerInteger, {QStringLiteral("?")});
        p.verdict = c.right;
        p.Loaded = true; // its lines stand in for a data file
        whenModal([&c](QWidget *w) {
            auto *q = static_cast<TReplyForm *>(w);
            QTest::keyClicks(q->Edit, QStringLiteral("35"));
            QTest::keyClick(q->Edit, Qt::Key(c.key));
        });
        const EnteredAnswer entered = TReplyForm::Run(nullptr, p);
        EXPECT_EQ(entered.cancelled, c.cancelled) << c.right << c.key;
        if (!c.cancelled) {
            EXPECT_EQ(entered.answer, AnswerValue::fromInteger(35)) << c.right;
        }
        flushDeletes();
    }
}

// Tab goes from the entry controls, left to right, to "Отмена" and "ОК" and
// round again; Enter on a button reached so is that button's own.
TEST_F(ReplyFormTest, TabReachesEveryControlAndTheButtons)
{
    struct Case {
        std::uint8_t kind;
        std::vector<const char *> chain; // from the control that has the focus at opening
    };
    const Case cases[] = {
        {AnswerInteger, {"Edit", "CancelButton", "OkButton", "Edit"}},
        {AnswerTime, {"TimeEdit", "CancelButton", "OkButton", "TimeEdit"}},
        {AnswerChoice, {"List", "CancelButton", "OkButton", "List"}},
        {AnswerNumbers, {"Edit", "CancelButton", "OkButton", "List", "Edit"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.kind));
        TestProblem p(c.kind, {QStringLiteral("Вопрос"), QStringLiteral("a"), QStringLiteral("b")});
        open(p);
        for (std::size_t i = 0; i < c.chain.size(); ++i) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(c.chain[i])) << "step " << i;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        // On to "Отмена": Enter cancels there.
        for (int i = 0; i < 5 && !form->CancelButton->hasFocus(); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_TRUE(form->CancelButton->hasFocus());
        QTest::keyClick(form->CancelButton, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(result, 2);
        EXPECT_EQ(p.calls, 0);
        if (form)
            delete form.data();
    }
}

// Opened with nothing picked, the list shows nothing as chosen; the first
// Down chooses the first line and Enter takes it.
TEST_F(ReplyFormTest, FirstDownInTheOpenedListChoosesTheFirstLine)
{
    TestProblem p(AnswerChoice, {QStringLiteral("Кто?"), QStringLiteral("Волк"), QStringLiteral("Заяц")});
    open(p);
    form->List->showPopup();
    QAbstractItemView *view = form->List->view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }, 2000));
    EXPECT_FALSE(view->selectionModel()->hasSelection());
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->currentIndex().row(), 0);
    EXPECT_TRUE(view->selectionModel()->isRowSelected(0, {}));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(form->List->currentIndex(), 0);
    QTest::keyClick(form->List, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    EXPECT_EQ(p.lastAnswer, AnswerValue::fromText(QStringLiteral("Волк")));
}

// The time box is white up to its frame, its digits clear of the frame's edges.
TEST_F(ReplyFormTest, TimeBoxFillsItsFrame)
{
    TestProblem p(AnswerTime, {QStringLiteral("Который час?")});
    open(p);
    type(form->TimeEdit, QStringLiteral("235959"));
    form->CancelButton->setFocus(Qt::OtherFocusReason); // no caret in the picture
    QCoreApplication::processEvents();
    const QRect inside = form->TimeFrame->geometry().adjusted(1, 1, -1, -1);
    const QImage shot = form->grab(inside).toImage();
    int inkLeft = shot.width(), inkRight = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            ASSERT_NE(c, zw::toQColor(zw::clPanel)) << "the dialog's colour shows at " << x << "," << y;
            if (qGray(c.rgb()) < 128) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
        }
    ASSERT_GE(inkRight, 0) << "no digits";
    EXPECT_GE(inkLeft, 2);
    EXPECT_LE(inkRight, shot.width() - 3);
}

TEST_F(NumbersTest, KeyboardAloneGivesEveryNumberAndConfirms)
{
    // Into the list: arrows move the name there, Tab goes on to its number.
    QTest::keyClick(form->Edit, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(form->List->hasFocus());
    QTest::keyClick(form->List, Qt::Key_Down);
    QTest::keyClick(form->List, Qt::Key_Down);
    EXPECT_EQ(form->List->currentIndex(), 2);
    EXPECT_TRUE(form->List->hasFocus());
    QTest::keyClick(form->List, Qt::Key_Tab);
    type(form->Edit, QStringLiteral("9"));
    QTest::keyClick(form->Edit, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(form->List, Qt::Key_Home);
    EXPECT_EQ(form->Edit->text(), QString());
    QTest::keyClick(form->List, Qt::Key_Tab);
    type(form->Edit, QStringLiteral("5"));
    // A name picked from the opened list is followed by its number at once.
    QTest::keyClick(form->Edit, Qt::Key_Backtab, Qt::ShiftModifier);
    form->List->showPopup();
    QAbstractItemView *view = form->List->view();
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->isVisible(); }, 2000));
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(form->List->currentIndex(), 1);
    EXPECT_TRUE(form->Edit->hasFocus());
    type(form->Edit, QStringLiteral("7"));
    // Tab to "ОК" and Enter there.
    QTest::keyClick(form->Edit, Qt::Key_Tab);
    QTest::keyClick(form->CancelButton, Qt::Key_Tab);
    ASSERT_TRUE(form->OkButton->hasFocus());
    QTest::keyClick(form->OkButton, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(result, 6);
    EXPECT_EQ(problem.lastAnswer, AnswerValue::fromNumbers({5, 7, 9}));
}

} // namespace
