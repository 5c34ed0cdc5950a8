#include "platform/Codepage.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <unordered_map>

namespace platform
{
namespace
{

// Windows-1251 is a single-byte code page, so the whole mapping is asked of
// iconv once and kept as two tables; converting long texts byte by byte
// through iconv would cost a call per character.
struct Tables {
    ByteTable toUnicode{};
    std::unordered_map<char16_t, unsigned char> fromUnicode;
    ByteTable cp1252{}, latin1{};
};

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

Tables buildTables()
{
    Tables t;
    iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    for (int b = 0; b < 256; ++b) {
        char16_t u = char16_t(b); // undefined bytes (0x98) map to the C1 code of the same value
        if (cd != iconv_t(-1)) {
            char in = char(b);
            char out[8] = {};
            char *inp = &in;
            char *outp = out;
            size_t inLeft = 1, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) != size_t(-1) && outLeft == sizeof out - 2)
                u = char16_t(static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8));
        } else if (b >= 0x80) {
            u = u'\uFFFD';
        }
        t.toUnicode[b] = u;
    }
    if (cd != iconv_t(-1))
        iconv_close(cd);
    for (int b = 255; b >= 0; --b)
        t.fromUnicode[t.toUnicode[b]] = static_cast<unsigned char>(b);
    for (int b = 0; b < 256; ++b) {
        t.latin1[b] = char16_t(b);
        t.cp1252[b] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char16_t(b);
    }
    return t;
}

// Built on first use; the guard of a function-local static costs only a load after that.
const Tables &tables()
{
    static const Tables t = buildTables();
    return t;
}

} // namespace

QString fromCp1251(QByteArrayView bytes)
{
    const auto &map = tables().toUnicode;
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(map[static_cast<unsigned char>(bytes[i])]);
    return out;
}

QByteArray toCp1251(const QString &text, bool *ok)
{
    const auto &map = tables().fromUnicode;
    QByteArray out;
    out.reserve(text.size());
    bool allMapped = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out.append(char(c));
            continue;
        }
        auto it = map.find(c);
        if (it != map.end()) {
            out.append(char(it->second));
            continue;
        }
        allMapped = false;
        out.append('?');
        // One '?' for a whole surrogate pair: it is one character.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    if (ok)
        *ok = allMapped;
    return out;
}

bool isCp1251Encodable(const QString &text)
{
    bool ok = true;
    toCp1251(text, &ok);
    return ok;
}

int cp1251ByteOf(QChar ch)
{
    if (ch.unicode() < 0x80)
        return ch.unicode();
    const auto &map = tables().fromUnicode;
    const auto it = map.find(ch.unicode());
    return it != map.end() ? it->second : -1;
}

const ByteTable &byteTable(CodePage page)
{
    const Tables &t = tables();
    switch (page) {
    case CodePage::Windows1251:
        break;
    case CodePage::Windows1252:
        return t.cp1252;
    case CodePage::Latin1:
        return t.latin1;
    }
    return t.toUnicode;
}

} // namespace platform
