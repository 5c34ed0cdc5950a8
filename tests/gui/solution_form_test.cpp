#include "GuiSupport.h"

#include "screens/SolutionForm.h"
#include "widgets/RichTextView.h"
#include "widgets/richtext/RtfWriter.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QWheelEvent>

using namespace guitest;

namespace
{

QByteArray solution(int paragraphs)
{
    QVector<richtext::RtfParagraph> ps;
    for (int i = 0; i < paragraphs; ++i) {
        richtext::RtfParagraph p;
        richtext::RtfRun run;
        run.text = QStringLiteral("Абзац %1: решение идёт через все клетки поля по очереди, "
                                  "и каждый шаг проверяется заново. ")
                       .arg(i + 1)
                       .repeated(4);
        p.runs.append(run);
        ps.append(p);
    }
    return richtext::writeRtf(ps);
}

class SolutionFormTest : public MediaFixture
{
  protected:
    void TearDown() override
    {
        if (form)
            delete form.data();
        MediaFixture::TearDown();
    }
    TSolutionForm *open(const QByteArray &text)
    {
        form = new TSolutionForm(nullptr, text, &waves);
        QObject::connect(form, &TForm::modalFinished, [this](int r) { result = r; });
        form->ShowModalAsync();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        return form;
    }
    // Font and paragraph format of every fragment of the text.
    void expectFormatting(int points)
    {
        const qreal pxPerPt = form->AnswerText->logicalDpiX() / 72.0;
        for (QTextBlock b = form->AnswerText->document()->begin(); b.isValid(); b = b.next()) {
            const QTextBlockFormat bf = b.blockFormat();
            EXPECT_EQ(bf.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
            EXPECT_NEAR(bf.leftMargin() + bf.textIndent(), 25 * pxPerPt, 0.01);
            EXPECT_NEAR(bf.leftMargin(), 2 * pxPerPt, 0.01);
            EXPECT_NEAR(bf.rightMargin(), 2 * pxPerPt, 0.01);
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat cf = it.fragment().charFormat();
                EXPECT_EQ(cf.fontFamilies().toStringList().value(0), QStringLiteral("Comic Sans MS"));
                EXPECT_EQ(cf.fontPointSize(), points);
            }
        }
    }
    QPointer<TSolutionForm> form;
    int result = -1;
};

TEST_F(SolutionFormTest, OpensAtTheMiddleStepWithTheDesignLayout)
{
    open(solution(2));
    EXPECT_EQ(form->size(), QSize(425, 415));
    EXPECT_EQ(form->OuterFrame->geometry(), QRect(8, 8, 409, 375));
    EXPECT_EQ(form->AnswerText->geometry(), QRect(9, 9, 407, 373));
    EXPECT_EQ(form->OkButton->geometry(), QRect(272, 382, 97, 25));
    EXPECT_EQ(form->ZoomOutBtn->geometry(), QRect(368, 382, 25, 25));
    EXPECT_EQ(form->ZoomInBtn->geometry(), QRect(392, 382, 25, 25));
    EXPECT_EQ(form->OkButton->text(), QStringLiteral("OK"));
    EXPECT_EQ(form->ZoomOutBtn->hint(), QStringLiteral("Уменьшить шрифт"));
    EXPECT_EQ(form->ZoomInBtn->hint(), QStringLiteral("Увеличить шрифт"));
    EXPECT_EQ(form->ZoomInBtn->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(form->ZoomInBtn->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form->Focus->width(), 0);
    EXPECT_EQ(form->ZoomStep, 3);
    EXPECT_TRUE(form->ZoomInBtn->isEnabled());
    EXPECT_TRUE(form->ZoomOutBtn->isEnabled());
    EXPECT_TRUE(form->AnswerText->toPlainText().startsWith(QStringLiteral("Абзац 1: решение")));
    expectFormatting(10);
    EXPECT_TRUE(form->Focus->hasFocus());
    EXPECT_EQ(form->AnswerText->textCursor().position(), 0);
    EXPECT_FALSE(form->AnswerText->textCursor().hasSelection());
}

TEST_F(SolutionFormTest, ZoomStepsThroughFiveSizesAndDisablesAtTheEnds)
{
    open(solution(3));
    QTest::mouseClick(form->ZoomInBtn, Qt::LeftButton);
    expectFormatting(11);
    QTest::mouseClick(form->ZoomInBtn, Qt::LeftButton);
    expectFormatting(13);
    EXPECT_FALSE(form->ZoomInBtn->isEnabled());
    EXPECT_TRUE(form->ZoomOutBtn->isEnabled());
    QTest::mouseClick(form->ZoomInBtn, Qt::LeftButton); // disabled: nothing
    EXPECT_EQ(form->ZoomStep, 5);
    for (int expected : {11, 10, 8, 7}) {
        QTest::mouseClick(form->ZoomOutBtn, Qt::LeftButton);
        expectFormatting(expected);
    }
    EXPECT_EQ(form->ZoomStep, 1);
    EXPECT_FALSE(form->ZoomOutBtn->isEnabled());
    EXPECT_TRUE(form->ZoomInBtn->isEnabled());
    EXPECT_EQ(sounds.played.size(), 6);
    EXPECT_EQ(sounds.played.count(QStringLiteral("CLICK")), 6);
    EXPECT_TRUE(form->Focus->hasFocus()); // speed buttons never take it
}

TEST_F(SolutionFormTest, EnterEscapeAndOkCloseWithResultOneAndClick)
{
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        sounds.played.clear();
        result = -1;
        open(solution(1));
        if (way == 0)
            QTest::keyClick(form->Focus, Qt::Key_Return);
        else if (way == 1)
            QTest::keyClick(form->Focus, Qt::Key_Escape);
        else
            QTest::mouseClick(form->OkButton, Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(result, 1);
        EXPECT_EQ(sounds.played, QStringList{QStringLiteral("CLICK")});
        flushDeletes();
        EXPECT_TRUE(form.isNull());
    }
}

TEST_F(SolutionFormTest, TextNeverKeepsTheFocus)
{
    open(solution(2));
    form->AnswerText->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(form->Focus->hasFocus());
    QTest::mouseClick(form->AnswerText->viewport(), Qt::LeftButton, {}, QPoint(50, 20));
    EXPECT_FALSE(form->AnswerText->hasFocus());
    EXPECT_TRUE(form->Focus->hasFocus());
}

TEST_F(SolutionFormTest, WheelScrollsOneLinePerNotchAtEveryStep)
{
    open(solution(40));
    QScrollBar *bar = form->AnswerText->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    auto wheel = [&](int delta) {
        const QPoint at(100, 100);
        QWheelEvent e(at, form->AnswerText->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form->AnswerText->viewport(), &e);
    };
    for (int step : {3, 5, 1}) {
        SCOPED_TRACE(step);
        form->SetZoom(step);
        bar->setValue(0);
        const QTextBlock first = form->AnswerText->document()->begin();
        ASSERT_GE(first.layout()->lineCount(), 3);
        auto lineTop = [&](int k) {
            return int(first.layout()->lineAt(k).y() - first.layout()->lineAt(0).y());
        };
        const int secondLine = lineTop(1);
        wheel(-120);
        EXPECT_EQ(bar->value(), secondLine);
        wheel(-120);
        EXPECT_EQ(bar->value(), lineTop(2));
        wheel(120);
        EXPECT_EQ(bar->value(), secondLine);
        wheel(120);
        EXPECT_EQ(bar->value(), 0);
        wheel(120); // at the top already
        EXPECT_EQ(bar->value(), 0);
    }
}

TEST_F(SolutionFormTest, ZoomKeepsBoldItalicAndColours)
{
    richtext::RtfParagraph p;
    richtext::RtfRun plain, bold, red;
    plain.text = QStringLiteral("Ответ: ");
    bold.text = QStringLiteral("семь");
    bold.bold = true;
    red.text = QStringLiteral(" яблок");
    red.italic = true;
    red.color = QColor(200, 0, 0);
    p.runs = {plain, bold, red};
    open(richtext::writeRtf({p}));
    QTest::mouseClick(form->ZoomInBtn, Qt::LeftButton);
    expectFormatting(11);
    bool sawBold = false, sawRed = false;
    for (auto it = form->AnswerText->document()->begin().begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.text().contains(QStringLiteral("семь")))
            sawBold = f.charFormat().fontWeight() >= QFont::Bold;
        if (f.text().contains(QStringLiteral("яблок")))
            sawRed = f.charFormat().fontItalic() && f.charFormat().foreground().color() == QColor(200, 0, 0);
    }
    EXPECT_TRUE(sawBold);
    EXPECT_TRUE(sawRed);
}

TEST_F(SolutionFormTest, EmptySolutionShowsAnEmptyPage)
{
    open(QByteArray());
    EXPECT_TRUE(form->AnswerText->toPlainText().isEmpty());
    QTest::mouseClick(form->ZoomInBtn, Qt::LeftButton);
    EXPECT_EQ(form->ZoomStep, 4);
}

TEST_F(SolutionFormTest, ArrowCursorOnItsOwnWindowOnly)
{
    open(solution(1));
    EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(form->AnswerText->viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
