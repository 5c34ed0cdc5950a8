#include "widgets/richtext/RtfCodepage.h"
#include "widgets/richtext/RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <iconv.h>

using namespace richtext;

namespace {

RtfRun run(const QString &text, bool b = false, bool i = false, bool u = false, QColor c = {})
{
    RtfRun r;
    r.text = text;
    r.bold = b;
    r.italic = i;
    r.underline = u;
    r.color = c;
    return r;
}

}  // namespace

TEST(Cp1251Table, AgreesWithIconvForEveryByte)
{
    iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1251");
    ASSERT_NE(cd, iconv_t(-1));
    for (int b = 0; b < 256; ++b) {
        char in = char(b);
        char16_t outBuf[2] = {};
        char *ip = &in, *op = reinterpret_cast<char *>(outBuf);
        size_t il = 1, ol = sizeof outBuf;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &ip, &il, &op, &ol) == size_t(-1)) {
            EXPECT_EQ(cp1251::toUnicode(uchar(b)), QChar(0xFFFD)) << b;
            continue;
        }
        EXPECT_EQ(cp1251::toUnicode(uchar(b)).unicode(), outBuf[0]) << b;
        EXPECT_EQ(cp1251::fromUnicode(QChar(outBuf[0])), b) << b;
    }
    iconv_close(cd);
    EXPECT_EQ(cp1251::fromUnicode(QChar(0x2265)), -1);  // ≥ has no byte
}

TEST(RtfWriter, WritesHeaderFontAndParagraphs)
{
    const QByteArray rtf = writeRtf({RtfParagraph{{run("One")}}, RtfParagraph{{run("Two")}}});
    EXPECT_EQ(rtf, "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Comic Sans MS;}}\n"
                   "{\\colortbl;}\n\\viewkind4\\uc1\\pard\\f0\\fs20\nOne\\par\nTwo\\par\n}\n");
}

TEST(RtfWriter, EscapesSpecialCharactersAndEncodesCyrillic)
{
    const QByteArray rtf = writeRtf({RtfParagraph{{run(QString::fromUtf8("a\\b{c}d Ёж\tx\ny ≥"))}}});
    EXPECT_TRUE(rtf.contains("a\\\\b\\{c\\}d \\'a8\\'e6\\tab x\\line y \\u8805?\\par")) << rtf.constData();
    for (char c : rtf)
        EXPECT_LT(uchar(c), 0x80) << "RTF must be 7-bit";
}

TEST(RtfWriter, EmitsOnlyFormattingChangesAndSharesColours)
{
    RtfStyle style;
    style.fontSizeHalfPoints = 26;
    const QByteArray rtf = writeRtf({RtfParagraph{{run("n "), run("b", true), run("bi", true, true),
                                                   run("r", false, false, true, Qt::red)}},
                                     RtfParagraph{{run("r2", false, false, false, Qt::red),
                                                   run("g", false, false, false, QColor(0, 128, 0)), run("p")}}},
                                    style);
    EXPECT_TRUE(rtf.contains("{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"));
    EXPECT_TRUE(rtf.contains("\\fs26"));
    EXPECT_TRUE(rtf.contains("n \\b b\\i bi\\b0\\i0\\ul\\cf1 r\\par\n\\ulnone r2\\cf2 g\\cf0 p\\par"))
        << rtf.constData();
}

TEST(RtfWriter, SameInputGivesSameBytesAndDocumentMatchesModel)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QString::fromUtf8("Жили-были "));
    c.insertText(QString::fromUtf8("три"), bold);
    c.insertBlock();
    QTextCharFormat blue;
    blue.setForeground(QColor(0, 0, 255));
    c.insertText(QString::fromUtf8("кота"), blue);
    const QByteArray fromDoc = writeRtf(doc);
    const QByteArray fromModel = writeRtf({RtfParagraph{{run(QString::fromUtf8("Жили-были ")),
                                                         run(QString::fromUtf8("три"), true)}},
                                           RtfParagraph{{run(QString::fromUtf8("кота"), false, false, false,
                                                             QColor(0, 0, 255))}}});
    EXPECT_EQ(fromDoc, fromModel);
    EXPECT_EQ(writeRtf(doc), fromDoc);
}
