#include "platform/Codepage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Codepage, RussianRoundTripsThroughWindows1251)
{
    const QString text = QStringLiteral("Головоломка №5: «Ёжик» — ЯЯ яя ёЁ");
    bool ok = false;
    const QByteArray bytes = toCp1251(text, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(bytes.size(), text.size());  // one byte a character
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
