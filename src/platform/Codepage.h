#pragma once
// The code pages the game meets, all in one place. Files of the game are
// Windows-1251; memory is QString. Rich text may also name Windows-1252 fonts
// and symbol fonts, and escapes its text one byte at a time.
#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <array>

namespace platform
{

QString fromCp1251(QByteArrayView bytes);
// Characters without a Windows-1251 code become '?' and clear *ok.
QByteArray toCp1251(const QString &text, bool *ok = nullptr);
bool isCp1251Encodable(const QString &text);

// The byte of a character in Windows-1251, or -1 when it has none.
int cp1251ByteOf(QChar ch);

enum class CodePage : quint8 {
    Windows1251,
    Windows1252,
    Latin1, // also symbol fonts, whose bytes are their glyphs
};

// The characters of a code page, indexed by byte: Windows-1251 as fromCp1251
// decodes it, the five bytes Windows-1252 leaves undefined as U+FFFD. For
// readers that decode one byte at a time and keep the table at hand.
using ByteTable = std::array<char16_t, 256>;
const ByteTable &byteTable(CodePage page);

inline QChar decodeByte(unsigned char byte, CodePage page)
{
    return QChar(byteTable(page)[byte]);
}

} // namespace platform
