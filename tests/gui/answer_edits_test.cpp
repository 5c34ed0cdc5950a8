#include "GuiSupport.h"

#include "controls/MyMaskEdit.h"
#include "controls/RAFlatEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>

using namespace guitest;

namespace
{

class AnswerEditsTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        host.resize(300, 100);
        time = new TMyMaskEdit(&host);
        time->setGeometry(10, 10, 60, 21);
        number = new TRAFlatEdit(&host);
        number->setGeometry(100, 10, 97, 21);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        time->setFocus();
    }
    void leaveTime()
    {
        number->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }
    QWidget host;
    TMyMaskEdit *time = nullptr;
    TRAFlatEdit *number = nullptr;
};

TEST_F(AnswerEditsTest, DigitsFillTheMaskAndSkipTheSeparators)
{
    EXPECT_EQ(time->displayText(), QStringLiteral("__:__:__"));
    QTest::keyClicks(time, QStringLiteral("123456"));
    EXPECT_EQ(time->Text(), QStringLiteral("12:34:56"));
    EXPECT_TRUE(time->isComplete());
    QTest::keyClick(time, Qt::Key_Backspace);
    QTest::keyClick(time, Qt::Key_Backspace);
    QTest::keyClick(time, Qt::Key_Backspace);
    EXPECT_EQ(time->Text(), QStringLiteral("12:3 :  "));
    EXPECT_EQ(time->cursorPosition(), 4);
    QTest::keyClicks(time, QStringLiteral("9"));
    EXPECT_EQ(time->cursorPosition(), 6);          // past the separator
    QTest::keyClicks(time, QStringLiteral("000")); // the last digit finds no place
    EXPECT_EQ(time->Text(), QStringLiteral("12:39:00"));
}

TEST_F(AnswerEditsTest, SeparatorTypedWithShiftAfterTheSkipDoesNothing)
{
    // On a real keyboard ":" comes after a Shift press of its own.
    QTest::keyClicks(time, QStringLiteral("13"));
    QTest::keyPress(time, Qt::Key_Shift);
    QTest::keyClick(time, Qt::Key_Colon, Qt::ShiftModifier);
    QTest::keyRelease(time, Qt::Key_Shift);
    QTest::keyClicks(time, QStringLiteral("22"));
    QTest::keyPress(time, Qt::Key_Shift);
    QTest::keyClick(time, Qt::Key_Colon, Qt::ShiftModifier);
    QTest::keyClicks(time, QStringLiteral("00"));
    EXPECT_EQ(time->Text(), QStringLiteral("13:22:00"));

    // Any other key between the skip and the separator: it moves on as usual.
    time->Clear();
    QTest::keyClicks(time, QStringLiteral("13"));
    QTest::keyClick(time, Qt::Key_Left);
    QTest::keyClick(time, Qt::Key_Right);
    QTest::keyClicks(time, QStringLiteral(":4"));
    EXPECT_EQ(time->Text(), QStringLiteral("13:  :4 "));
}

TEST_F(AnswerEditsTest, OtherCharactersAreRefusedAndPasteKeepsDigits)
{
    QTest::keyClicks(time, QStringLiteral("a-/ "));
    EXPECT_EQ(time->Text(), QStringLiteral("  :  :  "));
    QApplication::clipboard()->setText(QStringLiteral("0x7:45"));
    QTest::keyClick(time, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(time->Text(), QStringLiteral("07:45:  "));
}

TEST_F(AnswerEditsTest, WordAndLineDeletionCannotBreakTheMask)
{
    QTest::keyClicks(time, QStringLiteral("123456"));
    QTest::keyClick(time, Qt::Key_Backspace, Qt::ControlModifier);
    QTest::keyClick(time, Qt::Key_Home);
    QTest::keyClick(time, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(time, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(time->Text().size(), TMyMaskEdit::Length);
    EXPECT_EQ(time->Text().mid(2, 1), QStringLiteral(":"));
    EXPECT_EQ(time->Text().mid(5, 1), QStringLiteral(":"));
}

TEST_F(AnswerEditsTest, OptionalHourDigitIsNotRequired)
{
    QTest::keyClicks(time, QStringLiteral(":"));
    EXPECT_EQ(time->cursorPosition(), 3);
    time->setCursorPosition(1);
    QTest::keyClicks(time, QStringLiteral("71500"));
    EXPECT_EQ(time->Text(), QStringLiteral(" 7:15:00"));
    EXPECT_TRUE(time->isComplete());
}

TEST_F(AnswerEditsTest, LeavingAnIncompleteTimeReturnsTheFocusSilently)
{
    QTest::keyClicks(time, QStringLiteral("1"));
    time->setCursorPosition(3);
    QTest::keyClicks(time, QStringLiteral("3"));
    leaveTime();
    EXPECT_TRUE(time->hasFocus());
    EXPECT_EQ(time->cursorPosition(), 4); // one hour digit will do: the second minute digit
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(AnswerEditsTest, LeavingAnUnchangedTimeIsNotChecked)
{
    leaveTime();
    EXPECT_TRUE(number->hasFocus());
}

TEST_F(AnswerEditsTest, CompleteTimeMayBeLeft)
{
    QTest::keyClicks(time, QStringLiteral("235959"));
    leaveTime();
    EXPECT_TRUE(number->hasFocus());
}

TEST_F(AnswerEditsTest, RightClickShowsNoMenuAndChangesNothing)
{
    QTest::keyClicks(number, QStringLiteral("42"));
    QTest::keyClicks(time, QStringLiteral("12"));
    for (QWidget *w : {static_cast<QWidget *>(number), static_cast<QWidget *>(time)}) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(w, &e);
        EXPECT_TRUE(e.isAccepted());
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    }
    EXPECT_EQ(number->text(), QStringLiteral("42"));
    EXPECT_EQ(time->Text(), QStringLiteral("12:  :  "));
}

TEST_F(AnswerEditsTest, NumberSitsAtTheRightEdge)
{
    number->setFocus();
    QTest::keyClicks(number, QStringLiteral("42"));
    EXPECT_TRUE(number->alignment() & Qt::AlignRight);
    const QRect caret = number->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_GT(caret.x(), number->width() / 2);
    QTest::keyClick(number, Qt::Key_Return); // one line: Enter adds nothing
    EXPECT_EQ(number->text(), QStringLiteral("42"));
}

} // namespace
