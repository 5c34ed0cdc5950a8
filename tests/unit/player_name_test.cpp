// Players' names: what a typed name becomes, what is refused, and which
// names count as one player because the list shows them alike.
#include "core/PlayerName.h"
#include "platform/InputLimits.h"

#include <gtest/gtest.h>

TEST(PlayerName, NormalisedOrRefused)
{
    const struct {
        QString typed;
        QString stored;
        NameFault fault;
    } cases[] = {
        {QStringLiteral("  Вася  "), QStringLiteral("Вася"), NameFault::None},
        {QStringLiteral("Анна\u00A0Мария"), QStringLiteral("Анна Мария"), NameFault::None}, // no-break space
        {QStringLiteral("Анна   Мария"), QStringLiteral("Анна Мария"), NameFault::None},
        {QStringLiteral("Ёлка"), QStringLiteral("Ёлка"), NameFault::None},
        {QStringLiteral("Е\u0308лка"), QStringLiteral("Ёлка"), NameFault::None}, // decomposed ё, NFC
        {QStringLiteral("Абвгдеёжзийклм"), QStringLiteral("Абвгдеёжзийклм"), NameFault::None}, // 14
        {QStringLiteral(" Абвгдеёжзийклм "), QStringLiteral("Абвгдеёжзийклм"), NameFault::None},
        {QStringLiteral("Абвгдеёжзийклмн"), {}, NameFault::TooLong},
        {QString(limits::MaxNameLength * 1000, u'я'), {}, NameFault::TooLong},
        {QStringLiteral("   "), {}, NameFault::Empty},
        {QStringLiteral("Вася\u200B"), {}, NameFault::Invisible}, // zero-width space
        {QStringLiteral("\u202EВася"), {}, NameFault::Invisible}, // right-to-left override
        {QStringLiteral("Ва\u2067ся"), {}, NameFault::Invisible}, // right-to-left isolate
        {QStringLiteral("Вася\u200F"), {}, NameFault::Invisible}, // right-to-left mark
        {QStringLiteral("Ва\u00ADся"), {}, NameFault::Invisible}, // soft hyphen
        {QStringLiteral("Ва\tся"), {}, NameFault::Invisible},
        {QStringLiteral("Ва\u2028ся"), {}, NameFault::Invisible},
        {QStringLiteral("\u3164"), {}, NameFault::Invisible}, // Hangul filler
        {QStringLiteral("Вася\uFE0F"), {}, NameFault::Invisible},
        {QStringLiteral("a\\b"), {}, NameFault::NotAKeyName},
        {QStringLiteral(".."), {}, NameFault::NotAKeyName},
    };
    for (const auto &c : cases) {
        const PlayerName n = playername::normalise(c.typed);
        EXPECT_EQ(n.fault, c.fault) << c.typed.toStdString();
        if (c.fault == NameFault::None) {
            EXPECT_EQ(n.text, c.stored) << c.typed.toStdString();
        }
        EXPECT_EQ(playername::faultText(n.fault).isEmpty(), n.ok());
    }
}

// Stored names from before the rules still find their player.
TEST(PlayerName, NamesThatLookAlikeAreOnePlayer)
{
    const QStringList stored{QStringLiteral("Петя"), QStringLiteral("Вася "), QStringLiteral("Оля\u200B"),
                             QStringLiteral("\u202EКатя")};
    const struct {
        QString typed;
        QString found;
    } cases[] = {
        {QStringLiteral("Вася"), QStringLiteral("Вася ")},
        {QStringLiteral("вася"), QStringLiteral("Вася ")},
        {QStringLiteral("Оля"), QStringLiteral("Оля\u200B")},
        {QStringLiteral("катя"), QStringLiteral("\u202EКатя")},
        {QStringLiteral("Пётя"), QString()},
        {QStringLiteral("Маша"), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(playername::findStored(stored, c.typed), c.found) << c.typed.toStdString();
}
