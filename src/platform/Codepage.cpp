#include "platform/Codepage.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

// Windows-1251 is a single-byte code page, so the whole mapping is asked of
// iconv once and kept as two tables; converting long texts byte by byte
// through iconv would cost a call per character.
struct Tables {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char16_t, unsigned char> fromUnicode;
};

const Tables &tables()
{
    static Tables t;
    static std::once_flag once;
    std::call_once(once, [] {
        iconv_t cd = iconv_open("UTF-16LE", "CP1251");
        for (int b = 0; b < 256; ++b) {
            char16_t u = char16_t(b);  // undefined bytes (0x98) map to the C1 code of the same value
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
    });
    return t;
}

}  // namespace

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

}  // namespace platform
