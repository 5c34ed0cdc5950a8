#include "core/Problem.h"

#include <gtest/gtest.h>

TEST(Answer, BuiltRecordsHaveTheStoredLayout)
{
    const AnswerValue i = AnswerValue::fromInteger(-2);
    EXPECT_EQ(i.bytes[0], 0xFE);
    EXPECT_EQ(i.bytes[3], 0xFF);
    EXPECT_EQ(i.bytes[4], 0);
    EXPECT_EQ(i.integer(), -2);

    const AnswerValue t = AnswerValue::fromText(QStringLiteral("Река"));
    EXPECT_EQ(t.bytes[0], 4);
    EXPECT_EQ(t.rawText(), QByteArray("\xD0\xE5\xEA\xE0"));
    EXPECT_EQ(t.text(), QStringLiteral("Река"));
    EXPECT_EQ(t.bytes[5], 0);
    // Built text is cut to 12 characters.
    EXPECT_EQ(AnswerValue::fromText(QStringLiteral("абвгдеёжзийклм")).text(), QStringLiteral("абвгдеёжзийк"));

    const AnswerValue tm = AnswerValue::fromTime(1, 30, 0);
    EXPECT_EQ(tm.time(), 0.0625);
    EXPECT_EQ(AnswerValue::dayFraction(23, 59, 59), 86399000.0 / 86400000.0);
    EXPECT_EQ(tm.bytes[7], 0x3F); // little-endian double 0.0625 = 0x3FB0000000000000
    EXPECT_EQ(tm.bytes[6], 0xB0);

    const AnswerValue n = AnswerValue::fromNumbers({5, -7, 9});
    EXPECT_EQ(n.count(), 3);
    EXPECT_EQ(n.bytes[1], 0);
    EXPECT_EQ(n.number(0), 5);
    EXPECT_EQ(n.number(1), -7);
    EXPECT_EQ(n.number(2), 9);
    EXPECT_EQ(n.bytes[16], 0);
    EXPECT_EQ(AnswerValue::fromNumbers({1, 2, 3, 4, 5, 6, 7, 8, 9}).count(), 7);
    EXPECT_EQ(n.number(7), 0); // out of the record: no read past it
}

TEST(Answer, IntegerAndTimeCompareExactly)
{
    EXPECT_TRUE(answersMatch(AnswerInteger, AnswerValue::fromInteger(42), AnswerValue::fromInteger(42)));
    EXPECT_FALSE(answersMatch(AnswerInteger, AnswerValue::fromInteger(42), AnswerValue::fromInteger(-42)));
    // Only bytes 0-3 count for an integer.
    AnswerValue noisy = AnswerValue::fromInteger(42);
    noisy.bytes[10] = 1;
    EXPECT_TRUE(answersMatch(AnswerInteger, AnswerValue::fromInteger(42), noisy));

    const AnswerValue stored = AnswerValue::fromTime(1, 30, 0);
    EXPECT_TRUE(answersMatch(AnswerTime, stored, AnswerValue::fromTime(1, 30, 0)));
    EXPECT_FALSE(answersMatch(AnswerTime, stored, AnswerValue::fromTime(1, 30, 1)));
    EXPECT_TRUE(answersMatch(AnswerTime, AnswerValue::fromTime(13, 7, 42), AnswerValue::fromTime(13, 7, 42)));
}

TEST(Answer, TextAndChoiceCompareLengthAndBytes)
{
    const AnswerValue stored = AnswerValue::fromText(QStringLiteral("Река"));
    for (std::uint8_t kind : {std::uint8_t(AnswerText), std::uint8_t(AnswerChoice)}) {
        EXPECT_TRUE(answersMatch(kind, stored, AnswerValue::fromText(QStringLiteral("Река"))));
        EXPECT_FALSE(answersMatch(kind, stored, AnswerValue::fromText(QStringLiteral("река"))));
        EXPECT_FALSE(answersMatch(kind, stored, AnswerValue::fromText(QStringLiteral("Река "))));
        EXPECT_FALSE(answersMatch(kind, stored, AnswerValue::fromText(QStringLiteral("Рек"))));
    }
    // A stored text longer than 12 can never be matched by a built answer.
    AnswerValue longStored;
    longStored.bytes[0] = 13;
    std::fill(longStored.bytes.begin() + 1, longStored.bytes.begin() + 14, 'a');
    EXPECT_FALSE(answersMatch(AnswerText, longStored, AnswerValue::fromText(QString(13, 'a'))));
    // Bytes after the text are not compared.
    AnswerValue trailing = stored;
    trailing.bytes[20] = 9;
    EXPECT_TRUE(answersMatch(AnswerText, stored, trailing));
    // A damaged length byte reaching past the record never matches and reads nothing outside it.
    AnswerValue huge;
    huge.bytes[0] = 255;
    EXPECT_FALSE(answersMatch(AnswerText, huge, huge));
    EXPECT_TRUE(answersMatch(AnswerText, AnswerValue::fromText(QString()), AnswerValue::fromText(QString())));
}

TEST(Answer, NumbersCompareTheStoredCountOnly)
{
    const AnswerValue stored = AnswerValue::fromNumbers({5, 7, 9});
    AnswerValue given = AnswerValue::fromNumbers({5, 7, 9});
    EXPECT_TRUE(answersMatch(AnswerNumbers, stored, given));
    given.bytes[0] = 6; // the answer's own count is not compared
    EXPECT_TRUE(answersMatch(AnswerNumbers, stored, given));
    EXPECT_TRUE(answersMatch(AnswerNumbers, stored, AnswerValue::fromNumbers({5, 7, 9, 11})));
    EXPECT_FALSE(answersMatch(AnswerNumbers, stored, AnswerValue::fromNumbers({5, 9, 7})));
    EXPECT_FALSE(answersMatch(AnswerNumbers, stored, AnswerValue::fromNumbers({5, 7})));

    // A stored count outside 1..7 is damage: it never matches.
    for (std::uint8_t count : {0, 8, 255}) {
        AnswerValue bad = stored;
        bad.bytes[0] = count;
        EXPECT_FALSE(answersMatch(AnswerNumbers, bad, bad)) << int(count);
    }
    const AnswerValue seven = AnswerValue::fromNumbers({1, 2, 3, 4, 5, 6, 7});
    EXPECT_TRUE(answersMatch(AnswerNumbers, seven, seven));
}

TEST(Answer, KindsAboveFourNeverMatch)
{
    const AnswerValue a = AnswerValue::fromInteger(1);
    for (int kind : {5, 6, 100, 255})
        EXPECT_FALSE(answersMatch(std::uint8_t(kind), a, a)) << kind;
}
