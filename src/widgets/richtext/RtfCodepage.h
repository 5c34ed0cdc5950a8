#pragma once
// Windows-1251 for the rich-text reader and writer: one byte per character,
// so RTF's \'hh escapes map straight onto the table below.
#include <QChar>

namespace richtext::cp1251 {

// The character a Windows-1251 byte stands for, as the platform converter decodes it.
QChar toUnicode(unsigned char byte);
// The byte of a character, or -1 when Windows-1251 has none.
int fromUnicode(QChar ch);

}  // namespace richtext::cp1251
