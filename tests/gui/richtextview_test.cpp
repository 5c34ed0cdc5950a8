#include "widgets/RichTextView.h"
#include "widgets/richtext/RtfWriter.h"
#include "widgets/richtext/TextUnits.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using richtext::RtfParagraph;
using richtext::RtfRun;

namespace
{

QByteArray paragraphs(int count, const QString &text = QString::fromUtf8("Строка"))
{
    QVector<RtfParagraph> ps;
    for (int i = 0; i < count; ++i)
        ps.append(RtfParagraph{{RtfRun{text + QString::number(i), false, false, false, {}}}});
    return richtext::writeRtf(ps);
}

RichTextView::Format viewerFormat(double size = 10)
{
    RichTextView::Format f;
    f.face = "Comic Sans MS";
    f.pointSize = size;
    f.startIndent = 25;
    f.offset = -23;
    f.rightIndent = 2;
    return f;
}

struct RichTextViewTest : ::testing::Test {
    RichTextView view;
    void SetUp() override
    {
        view.resize(344, 200);
        view.show();
    }
};

} // namespace

TEST_F(RichTextViewTest, CountsWrappedLinesAtTheViewWidth)
{
    view.setRtf(paragraphs(50));
    EXPECT_EQ(view.lineCount(), 50);

    const QString longText = QString::fromUtf8("слово ").repeated(60);
    view.setRtf(paragraphs(1, longText));
    const int wide = view.lineCount();
    EXPECT_GT(wide, 1);
    view.resize(344 - 24, 200); // narrowed for a scroll bar: at least as many lines
    EXPECT_GE(view.lineCount(), wide);
    view.resize(150, 200);
    EXPECT_GT(view.lineCount(), wide);
}

TEST_F(RichTextViewTest, WrapsAtItsWidthEvenBeforeItIsShown)
{
    RichTextView hidden;
    hidden.resize(150, 100);
    hidden.setRtf(paragraphs(1, QString::fromUtf8("слово ").repeated(60)));
    RichTextView wide;
    wide.resize(600, 100);
    wide.setRtf(paragraphs(1, QString::fromUtf8("слово ").repeated(60)));
    EXPECT_GT(hidden.lineCount(), wide.lineCount());
}

TEST_F(RichTextViewTest, ScrollsByWholeLinesAndReportsTheFirstVisibleLine)
{
    view.setRtf(paragraphs(50));
    EXPECT_EQ(view.firstVisibleLine(), 0);
    view.scrollLines(5);
    EXPECT_EQ(view.firstVisibleLine(), 5);
    view.scrollLines(-2);
    EXPECT_EQ(view.firstVisibleLine(), 3);
    view.scrollLines(-100);
    EXPECT_EQ(view.firstVisibleLine(), 0);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);

    // Far past the end: the widget stops at its last page.
    view.scrollLines(1000);
    const int last = view.firstVisibleLine();
    EXPECT_GT(last, 30);
    EXPECT_LT(last, 50);
    // Replacing the text returns to the top.
    view.setRtf(paragraphs(50));
    EXPECT_EQ(view.firstVisibleLine(), 0);
}

TEST_F(RichTextViewTest, HitTestsAgreeWithLineNumbers)
{
    view.setRtf(paragraphs(50));
    const int lineHeight = QFontMetrics(view.document()->defaultFont()).height();
    ASSERT_GT(lineHeight, 0);
    // The point just under the bottom edge falls on the partly visible last line.
    const int bottomLine = view.lineFromChar(view.charFromPos(QPoint(0, view.height())));
    const int visible = bottomLine - view.firstVisibleLine() + 1;
    EXPECT_GE(visible, 200 / (lineHeight + 2));
    EXPECT_LE(visible, 200 / lineHeight + 2);

    view.scrollLines(10);
    EXPECT_EQ(view.lineFromChar(view.charFromPos(QPoint(0, 2))), 10);
    EXPECT_EQ(view.lineFromChar(view.charFromPos(QPoint(0, view.height()))) - view.firstVisibleLine() + 1,
              visible);

    // Characters of the tenth paragraph sit on line 9; past the end is the last line.
    const QTextBlock b = view.document()->findBlockByNumber(9);
    EXPECT_EQ(view.lineFromChar(b.position() + 2), 9);
    EXPECT_EQ(view.lineFromChar(1 << 30), 49);
    EXPECT_EQ(view.lineFromChar(-5), 0);
}

TEST_F(RichTextViewTest, FormatAllKeepsEmphasisAndColourAndNotifiesNothing)
{
    QVector<RtfParagraph> ps = {
        RtfParagraph{{RtfRun{"plain ", false, false, false, {}}, RtfRun{"bold", true, false, false, {}},
                      RtfRun{" red", false, true, false, QColor(Qt::red)}}},
        RtfParagraph{}};
    QSignalSpy replaced(&view, &RichTextView::contentReplaced);
    QSignalSpy changed(&view, &QTextEdit::textChanged);
    view.setRtf(richtext::writeRtf(ps));
    EXPECT_EQ(replaced.count(), 1);
    const int changesAfterLoad = int(changed.count());

    view.formatAll(viewerFormat(13));
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(changed.count(), changesAfterLoad);
    EXPECT_FALSE(view.textCursor().hasSelection());
    EXPECT_EQ(view.textCursor().position(), 0);

    const auto fmtOf = [&](const QString &s) { return view.document()->find(s).charFormat(); };
    EXPECT_EQ(fmtOf("bold").fontWeight(), QFont::Bold);
    EXPECT_EQ(fmtOf("bold").fontPointSize(), 13.0);
    EXPECT_EQ(fmtOf("red").foreground().color(), QColor(Qt::red));
    EXPECT_TRUE(fmtOf("red").fontItalic());
    EXPECT_EQ(fmtOf("plain").fontFamilies().toStringList(), QStringList{"Comic Sans MS"});
    for (QTextBlock b = view.document()->begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        EXPECT_EQ(f.alignment(), Qt::AlignJustify);
        EXPECT_DOUBLE_EQ(f.leftMargin(), richtext::pointsToPixels(2));
        EXPECT_DOUBLE_EQ(f.leftMargin() + f.textIndent(), richtext::pointsToPixels(25));
        EXPECT_DOUBLE_EQ(f.rightMargin(), richtext::pointsToPixels(2));
        EXPECT_EQ(b.charFormat().fontPointSize(), 13.0); // empty lines grow with the text
    }
}

TEST_F(RichTextViewTest, LargerTypeGivesMoreLines)
{
    view.setRtf(paragraphs(3, QString::fromUtf8("длинное слово ").repeated(20)));
    view.formatAll(viewerFormat(7));
    const int small = view.lineCount();
    view.formatAll(viewerFormat(13));
    EXPECT_GT(view.lineCount(), small);
}

TEST_F(RichTextViewTest, ShowsPlainBytesAsTextAndRefusedDocumentsAsAnEmptyPage)
{
    view.setRtf(QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2"));
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("Привет"));
    EXPECT_TRUE(view.lastError().isEmpty());

    view.setRtf("{\\rtf1 " + QByteArray(300, '{'));
    EXPECT_TRUE(view.toPlainText().isEmpty());
    EXPECT_FALSE(view.lastError().isEmpty());

    view.setRtf({});
    EXPECT_TRUE(view.toPlainText().isEmpty());
    EXPECT_EQ(view.lineCount(), 1);
}

TEST_F(RichTextViewTest, WithItsOwnScrollBarWrapsAtTheViewportWidth)
{
    // The answer viewer's kind: the platform's bar, shown while the text does not fit.
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view.setRtf(paragraphs(40, QString::fromUtf8("слово ").repeated(12)));
    view.formatAll(viewerFormat());
    QApplication::processEvents();
    EXPECT_EQ(view.lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_TRUE(view.verticalScrollBar()->isVisible());
    EXPECT_EQ(view.document()->textWidth(), view.viewport()->width());
    EXPECT_GT(view.lineCount(), 40);
    view.scrollLines(3);
    EXPECT_EQ(view.firstVisibleLine(), 3);
}

namespace
{

// Where the ink of each display line of the first paragraph ends, from the
// right edge of the text column, as the view draws it.
std::vector<int> inkGapsAtTheRight(RichTextView &view)
{
    view.lineCount(); // laid out as it will be drawn
    const QImage shot = view.viewport()->grab().toImage();
    const QTextBlock block = view.document()->begin();
    const QTextLayout *layout = block.layout();
    const qreal right =
        view.document()->textWidth() - view.document()->documentMargin() - block.blockFormat().rightMargin();
    std::vector<int> gaps;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const int top = int(layout->position().y() + line.y()) + 2;
        const int bottom = int(layout->position().y() + line.y() + line.height()) - 2;
        int inkRight = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (qGray(shot.pixel(x, y)) < 128)
                    inkRight = std::max(inkRight, x);
        gaps.push_back(int(right) - inkRight);
    }
    return gaps;
}

} // namespace

// Justified lines reach the right edge, except a paragraph's last line and a
// line of fewer than a few words, whose one or two gaps would open wide (a list
// item in large type). The breaks follow the width when it changes.
TEST_F(RichTextViewTest, ShortJustifiedLinesAreNotStretched)
{
    const QString item =
        QString::fromUtf8("• Аа Бб Ввввввввввввввввввввввввввввв Гг Дд Ее Жж Зз Ии Кк Лл Мм Нн Оо Пп Рр Сс "
                          "Тт Уу Фф Хх Цц Чч Шш Щщ Ээ Юю Яя Аа Бб Вв Гг Дд Ее Жж Зз Ии");
    view.setRtf(paragraphs(1, item));
    RichTextView::Format format = viewerFormat(13);
    format.startIndent = 0;
    format.offset = 0;
    view.formatAll(format);
    view.resize(260, 300);
    const std::vector<int> gaps = inkGapsAtTheRight(view);
    ASSERT_GE(gaps.size(), 4u);
    // "• Аа Бб": the long word that follows does not fit beside them.
    const QTextLine first = view.document()->begin().layout()->lineAt(0);
    ASSERT_EQ(view.document()->begin().text().mid(first.textStart(), first.textLength()).trimmed(),
              QString::fromUtf8("• Аа Бб"));
    EXPECT_GT(gaps[0], 40) << "a line of two words is stretched";
    for (std::size_t i = 2; i + 1 < gaps.size(); ++i)
        EXPECT_LE(std::abs(gaps[i]), 3) << "line " << i << " of many words is not justified";
    EXPECT_GT(gaps.back(), 3) << "the paragraph's last line is stretched";

    // Wide enough for the whole paragraph: one line again, nothing kept of the breaks.
    view.resize(2000, 300);
    EXPECT_EQ(view.lineCount(), 1);
    EXPECT_FALSE(view.document()->toRawText().contains(QChar(QChar::LineSeparator)));
}
