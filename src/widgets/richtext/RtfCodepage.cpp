#include "RtfCodepage.h"

#include "platform/Codepage.h"

#include <QHash>
#include <array>

namespace richtext::cp1251 {
namespace {

// RTF works byte by byte (\'hh), so the platform's converter is asked once for
// all 256 bytes and its answers are kept in both directions.
struct Tables {
    std::array<QChar, 256> toUnicode;
    QHash<char16_t, int> fromUnicode;
    Tables()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString chars = platform::fromCp1251(all);
        for (int b = 255; b >= 0; --b) {
            toUnicode[b] = chars.at(b);
            fromUnicode.insert(chars.at(b).unicode(), b);
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

}  // namespace

QChar toUnicode(unsigned char byte) { return tables().toUnicode[byte]; }

int fromUnicode(QChar ch)
{
    if (ch.unicode() < 0x80)
        return ch.unicode();
    return tables().fromUnicode.value(ch.unicode(), -1);
}

}  // namespace richtext::cp1251
