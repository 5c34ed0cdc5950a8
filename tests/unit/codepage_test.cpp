#include "platform/Codepage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Codepage, RussianRoundTripsThroughWindows1251)
{
    const QString text = QStringLiteral("Головоломка №5: «Ёжик» — ЯЯ яя ёЁ");
    bool ok = false;
    const QByteArray bytes = toCp1251(text, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(bytes.size(), text.size()); // one byte a character
    EXPECT_EQ(fromCp1251(bytes), text);
    // Fixed points of the code page.
    EXPECT_EQ(toCp1251(QStringLiteral("А")), QByteArray("\xC0"));
    EXPECT_EQ(toCp1251(QStringLiteral("я")), QByteArray("\xFF"));
    EXPECT_EQ(toCp1251(QStringLiteral("Ё")), QByteArray("\xA8"));
    EXPECT_EQ(toCp1251(QStringLiteral("№")), QByteArray("\xB9"));
    EXPECT_EQ(fromCp1251(QByteArray("\xE0\xE1\xE2")), QStringLiteral("абв"));
}

TEST(Codepage, EveryByteDecodesAndEncodesBack)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromCp1251(all);
    ASSERT_EQ(text.size(), 256);
    bool ok = false;
    EXPECT_EQ(toCp1251(text, &ok), all);
    EXPECT_TRUE(ok);
}

TEST(Codepage, UnencodableCharactersBecomeQuestionMarks)
{
    bool ok = true;
    EXPECT_EQ(toCp1251(QStringLiteral("a中b"), &ok), QByteArray("a?b"));
    EXPECT_FALSE(ok);
    // A character outside the basic plane is one character, so one '?'.
    EXPECT_EQ(toCp1251(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y"));
    EXPECT_FALSE(isCp1251Encodable(QStringLiteral("Ω")));
    EXPECT_TRUE(isCp1251Encodable(QStringLiteral("Жук")));
    EXPECT_TRUE(isCp1251Encodable(QString()));
}

TEST(Codepage, SingleBytesMapBothWaysInWindows1251)
{
    for (int b = 0; b < 256; ++b) {
        const QChar ch = decodeByte(uchar(b), CodePage::Windows1251);
        EXPECT_EQ(ch, fromCp1251(QByteArray(1, char(b))).at(0)) << b; // one table for bytes and texts
        EXPECT_EQ(cp1251ByteOf(ch), b) << b;
    }
    EXPECT_EQ(decodeByte(0xC0, CodePage::Windows1251), QChar(0x0410));
    EXPECT_EQ(decodeByte(0xB9, CodePage::Windows1251), QChar(0x2116));
    EXPECT_EQ(cp1251ByteOf(QChar(0x2265)), -1); // ≥ has no byte
}

TEST(Codepage, SingleBytesDecodeAsTheirPageSays)
{
    struct Row {
        uchar byte;
        CodePage page;
        char16_t expected;
    };
    const Row rows[] = {
        {0x41, CodePage::Windows1251, u'A'},   {0xE9, CodePage::Windows1251, 0x0439},
        {0x80, CodePage::Windows1251, 0x0402}, {0x80, CodePage::Windows1252, 0x20AC},
        {0x81, CodePage::Windows1252, 0xFFFD}, {0x9F, CodePage::Windows1252, 0x0178},
        {0x96, CodePage::Windows1252, 0x2013}, {0xE9, CodePage::Windows1252, 0x00E9},
        {0xA0, CodePage::Windows1252, 0x00A0}, {0x80, CodePage::Latin1, 0x0080},
        {0xB7, CodePage::Latin1, 0x00B7},      {0xFF, CodePage::Latin1, 0x00FF},
    };
    for (const Row &r : rows)
        EXPECT_EQ(decodeByte(r.byte, r.page), QChar(r.expected)) << int(r.byte) << " page " << int(r.page);
}
