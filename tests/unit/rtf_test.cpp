#include "widgets/richtext/RtfReader.h"
#include "widgets/richtext/RtfTokenizer.h"
#include "widgets/richtext/RtfWriter.h"
#include "widgets/richtext/TextUnits.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace richtext;

namespace
{

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

} // namespace

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
    const QByteArray rtf =
        writeRtf({RtfParagraph{{run("n "), run("b", true), run("bi", true, true),
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
    const QByteArray fromModel =
        writeRtf({RtfParagraph{{run(QString::fromUtf8("Жили-были ")), run(QString::fromUtf8("три"), true)}},
                  RtfParagraph{{run(QString::fromUtf8("кота"), false, false, false, QColor(0, 0, 255))}}});
    EXPECT_EQ(fromDoc, fromModel);
    EXPECT_EQ(writeRtf(doc), fromDoc);
}

namespace
{

QTextDocument *read(const QByteArray &rtf, QTextDocument &doc)
{
    QString error;
    EXPECT_TRUE(readRtf(rtf, &doc, &error)) << error.toStdString();
    return &doc;
}

QTextCharFormat formatAt(const QTextDocument &doc, const QString &needle)
{
    QTextCursor c = doc.find(needle);
    EXPECT_FALSE(c.isNull()) << needle.toStdString();
    return c.charFormat();
}

QByteArray wrap(const QByteArray &body)
{
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Comic Sans MS;}{\\f1\\fcharset0 "
           "Arial;}}"
           "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}" +
           body + "}";
}

} // namespace

TEST(RtfRoundTrip, OwnWriterOutputReadsBackToTheSameBytes)
{
    const QVector<RtfParagraph> model = {
        RtfParagraph{{run(QString::fromUtf8("Задача: ")), run(QString::fromUtf8("жирный"), true),
                      run(QString::fromUtf8(" курсив"), false, true), run(" under", false, false, true),
                      run(QString::fromUtf8("{красный}\\"), true, true, true, Qt::red)}},
        RtfParagraph{},
        RtfParagraph{{run(QString::fromUtf8("«Ёлка» — №5\tтаб\nстрока ≥ 1/2 € 😀"), false, false, false,
                          QColor(0, 128, 0))}},
        RtfParagraph{{run(" leading and trailing spaces ")}},
    };
    const QByteArray first = writeRtf(model);
    QTextDocument doc;
    read(first, doc);
    EXPECT_EQ(doc.blockCount(), 4);
    EXPECT_EQ(doc.findBlockByNumber(1).text(), QString());
    EXPECT_EQ(doc.findBlockByNumber(2).text(), QString::fromUtf8("«Ёлка» — №5\tтаб\u2028строка ≥ 1/2 € 😀"));
    EXPECT_EQ(writeRtf(doc), first);

    const QTextCharFormat red = formatAt(doc, QString::fromUtf8("{красный}"));
    EXPECT_EQ(red.fontWeight(), QFont::Bold);
    EXPECT_TRUE(red.fontItalic());
    EXPECT_TRUE(red.fontUnderline());
    EXPECT_EQ(red.foreground().color(), QColor(Qt::red));
    EXPECT_EQ(red.fontFamilies().toStringList(), QStringList{"Comic Sans MS"});
    EXPECT_EQ(red.fontPointSize(), 10.0);
    EXPECT_EQ(formatAt(doc, QString::fromUtf8("Задача")).foreground().style(), Qt::NoBrush);
}

TEST(RtfReader, DecodesCodepagesByFontCharsetAndUnicodeEscapes)
{
    QTextDocument doc;
    // \f1 is a Western font: its bytes are Windows-1252; \uc2 skips two fallback characters.
    read(wrap("\\f0 \\'cc\\'e8\\'f0 \\f1 caf\\'e9 \\f0\\uc2\\u1071\\'3f? {\\uc1\\u-3913?x}\\~y"), doc);
    EXPECT_EQ(doc.toRawText(), QString::fromUtf8("Мир café Я \uf0b7x\u00a0y"));
}

TEST(RtfReader, CharacterFormattingIsScopedByGroupsAndReset)
{
    QTextDocument doc;
    read(wrap("{\\b bold {\\i both} \\strike st\\strike0  }plain \\fs32\\cf2\\highlight1 big\\plain  reset "
              "\\ul u\\ulnone  nou \\ul0 x"),
         doc);
    EXPECT_EQ(doc.toPlainText(), "bold both st plain big reset u nou x");
    EXPECT_EQ(formatAt(doc, "both").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(doc, "both").fontItalic());
    EXPECT_TRUE(formatAt(doc, "st").fontStrikeOut());
    EXPECT_FALSE(formatAt(doc, "plain").font().bold());
    const QTextCharFormat big = formatAt(doc, "big");
    EXPECT_EQ(big.fontPointSize(), 16.0);
    EXPECT_EQ(big.foreground().color(), QColor(0, 0, 255));
    EXPECT_EQ(big.background().color(), QColor(255, 0, 0));
    const QTextCharFormat reset = formatAt(doc, "reset");
    EXPECT_FALSE(reset.hasProperty(QTextFormat::FontPointSize));
    EXPECT_EQ(reset.foreground().style(), Qt::NoBrush);
    EXPECT_TRUE(formatAt(doc, "u").fontUnderline());
    EXPECT_FALSE(formatAt(doc, "nou").fontUnderline());
}

TEST(RtfReader, ParagraphFormattingAppliesToItsParagraph)
{
    QTextDocument doc;
    read(
        wrap(
            "\\pard\\qc centre\\par\\pard\\qj\\fi-360\\li720\\ri200\\sb120\\sa240 body\\line next\\tab t\\par"
            "\\pard\\qr right\\par\\pard plain"),
        doc);
    ASSERT_EQ(doc.blockCount(), 4);
    EXPECT_EQ(doc.findBlockByNumber(0).blockFormat().alignment(), Qt::AlignHCenter);
    const QTextBlock body = doc.findBlockByNumber(1);
    EXPECT_EQ(body.text(), QString::fromUtf8("body\u2028next\tt"));
    const QTextBlockFormat f = body.blockFormat();
    EXPECT_EQ(f.alignment(), Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(f.leftMargin(), twipsToPixels(720));
    EXPECT_DOUBLE_EQ(f.textIndent(), twipsToPixels(-360));
    EXPECT_DOUBLE_EQ(f.rightMargin(), twipsToPixels(200));
    EXPECT_DOUBLE_EQ(f.topMargin(), twipsToPixels(120));
    EXPECT_DOUBLE_EQ(f.bottomMargin(), twipsToPixels(240));
    EXPECT_EQ(doc.findBlockByNumber(2).blockFormat().alignment(), Qt::AlignRight);
    EXPECT_EQ(doc.findBlockByNumber(3).blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_EQ(doc.findBlockByNumber(3).blockFormat().leftMargin(), 0);
}

TEST(RtfReader, SkipsDestinationsItDoesNotShow)
{
    QTextDocument doc;
    read(wrap("{\\*\\generator Writer 1.0;}{\\info{\\title Secret}}{\\stylesheet{\\s0 Normal;}}"
              "{\\*\\unknowndest {\\b hidden}}{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}} "
              "{\\v invisible}shown{\\*\\bkmkstart b}"),
         doc);
    EXPECT_EQ(doc.toPlainText(), "link shown");
}

TEST(RtfReader, ReadsPngAndJpegPicturesAsInlineImages)
{
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png, jpeg;
    QBuffer pb(&png), jb(&jpeg);
    pb.open(QIODevice::WriteOnly);
    jb.open(QIODevice::WriteOnly);
    image.save(&pb, "PNG");
    image.save(&jb, "JPEG");
    QTextDocument doc;
    read(wrap("a{\\pict\\pngblip\\picw6\\pich4\\picwgoal180\\pichgoal120 " + png.toHex() +
              "}b{\\pict\\jpegblip\\bin" + QByteArray::number(jpeg.size()) + " " + jpeg +
              "}c{\\pict\\wmetafile8 0102}d"),
         doc);
    EXPECT_EQ(doc.toPlainText(), QString::fromUtf8("a\ufffcb\ufffcc") + "d");
    QTextCursor c(&doc);
    c.setPosition(2);
    const QTextImageFormat first = c.charFormat().toImageFormat();
    ASSERT_TRUE(first.isValid());
    EXPECT_DOUBLE_EQ(first.width(), twipsToPixels(180));
    const QImage stored = doc.resource(QTextDocument::ImageResource, QUrl(first.name())).value<QImage>();
    EXPECT_EQ(stored.size(), QSize(6, 4));
    c.setPosition(4);
    EXPECT_EQ(c.charFormat().toImageFormat().width(), 6.0);
}

TEST(RtfReader, RefusesDeepNestingAndOversizedInputAndNonRtf)
{
    QTextDocument doc;
    QString error;
    const QByteArray ok = "{\\rtf1 " + QByteArray(255, '{') + "deep" + QByteArray(256, '}');
    EXPECT_TRUE(readRtf(ok, &doc, &error)) << error.toStdString();
    EXPECT_EQ(doc.toPlainText(), "deep");

    const QByteArray tooDeep = "{\\rtf1 " + QByteArray(256, '{') + "deep" + QByteArray(257, '}');
    EXPECT_FALSE(readRtf(tooDeep, &doc, &error));
    EXPECT_TRUE(error.contains("256")) << error.toStdString();
    EXPECT_TRUE(doc.isEmpty());

    QByteArray big = "{\\rtf1 ";
    big.append(RtfLimits::maxInputBytes, 'x');
    EXPECT_FALSE(readRtf(big, &doc, &error));
    EXPECT_TRUE(error.contains("limit")) << error.toStdString();

    EXPECT_FALSE(readRtf("plain text", &doc, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(RtfReader, ForgivesTruncatedAndMalformedInput)
{
    QTextDocument doc;
    for (const QByteArray &rtf :
         {QByteArray("{\\rtf1 abc"), QByteArray("{\\rtf1 abc\\"), QByteArray("{\\rtf1 a\\'"),
          QByteArray("{\\rtf1 a\\'4"), QByteArray("{\\rtf1 a\\'zz"), QByteArray("{\\rtf1 a\\u"),
          QByteArray("{\\rtf1 a\\bin99999999 xyz"), QByteArray("{\\rtf1 a\\fs-99999999999999 b"),
          QByteArray("{\\rtf1 {\\pict\\pngblip 89504e47}a"), QByteArray("{\\rtf1 a}}}b")}) {
        EXPECT_TRUE(readRtf(rtf, &doc)) << rtf.constData();
        EXPECT_TRUE(doc.toPlainText().startsWith('a') || doc.toPlainText().startsWith("abc"))
            << rtf.constData();
    }
    read("{\\rtf1 a}trailing garbage", doc);
    EXPECT_EQ(doc.toPlainText(), "a");
}

namespace
{

// The tokens of an input, one short string each: "{", "}", "w:name" or "w:nameN",
// "s:c" for a control symbol, "x:hh" for a byte of text, "t:bytes" for plain text.
std::vector<std::string> tokensOf(const QByteArray &input)
{
    using rtf::Token;
    rtf::Tokenizer tokenizer(input);
    std::vector<std::string> out;
    for (Token t = tokenizer.next(); t.type != Token::End; t = tokenizer.next()) {
        switch (t.type) {
        case Token::GroupStart:
            out.emplace_back("{");
            break;
        case Token::GroupEnd:
            out.emplace_back("}");
            break;
        case Token::Word:
            out.push_back("w:" + std::string(t.word) + (t.hasParam ? std::to_string(t.param) : ""));
            if (t.word == "bin")
                out.push_back("bin:" + std::string(tokenizer.takeBinary(t.param)));
            break;
        case Token::Symbol:
            out.push_back(std::string("s:") + t.symbol);
            break;
        case Token::Byte:
            out.push_back(QByteArray(1, char(t.byte)).toHex().prepend("x:").toStdString());
            break;
        case Token::Text:
            out.push_back("t:" + std::string(t.word));
            break;
        case Token::End:
            break;
        }
    }
    return out;
}

} // namespace

TEST(RtfTokenizer, CutsInputIntoGroupsWordsSymbolsAndText)
{
    using V = std::vector<std::string>;
    const std::pair<QByteArray, V> rows[] = {
        {"{\\b0 x}", V{"{", "w:b0", "t:x", "}"}},
        {"\\par  two", V{"w:par", "t: two"}}, // one space belongs to the word
        {"\\fs-99999999999999 a", V{"w:fs-2147483648", "t:a"}},
        {"\\fs99999999999999", V{"w:fs2147483647"}},
        {"\\word-x \\-5", V{"w:word", "t:-x ", "s:-", "t:5"}},
        {"\\u-3913?", V{"w:u-3913", "t:?"}},
        {"\\'e9\\'C0\\'zz", V{"x:e9", "x:c0", "t:zz"}}, // a bad escape is dropped, its digits are text
        {"\\\\\\{\\}", V{"x:5c", "x:7b", "x:7d"}},
        {"a\r\nb\\\nc", V{"t:a", "t:b", "s:\n", "t:c"}},
        {"\\*\\~\\_", V{"s:*", "s:~", "s:_"}},
        {"x\\'4", V{"t:x"}}, // cut inside an escape
        {"x\\", V{"t:x"}},
        {"\\bin3 {}\\y", V{"w:bin3", "bin:{}\\", "t:y"}},
        {"\\bin99 ab", V{"w:bin99", "bin:ab"}},
        {"\\bin-1 ab", V{"w:bin-1", "bin:", "t:ab"}},
    };
    for (const auto &[input, expected] : rows)
        EXPECT_EQ(tokensOf(input), expected) << input.constData();
}
