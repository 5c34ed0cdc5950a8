#pragma once
// The document's font and colour tables, and the code page its text bytes are in:
// the document's own (\ansicpg) unless the font in use names a character set.
#include "platform/Codepage.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>
#include <QVector>

namespace richtext::rtf
{

class FontTable
{
  public:
    void setDocumentCodePage(int ansicpg);
    void setDefaultFont(int number)
    {
        defaultFont_ = number;
        cached_ = nullptr;
    }

    // Inside the table: \fN starts an entry, \fcharsetN gives its character set,
    // the bytes up to ';' or the end of the entry's group are its name.
    void startEntry(int number);
    void setEntryCharset(int charset);
    void addNameByte(char byte);
    void endEntry();

    // The characters of the code page of a font number in the text; -1 is the
    // default font. Asked for every byte of text, so the answer for the last
    // font asked is kept until the table changes.
    const platform::ByteTable &characters(int font) const
    {
        if (font != cachedFont_ || !cached_) {
            cached_ = &platform::byteTable(lookUpCodePage(font));
            cachedFont_ = font;
        }
        return *cached_;
    }
    QString family(int font) const;

  private:
    struct Font {
        QString name;
        platform::CodePage page = platform::CodePage::Windows1251;
        bool hasCharset = false;
    };
    const Font *find(int font) const;
    platform::CodePage lookUpCodePage(int font) const;

    platform::CodePage documentPage_ = platform::CodePage::Windows1251; // the game's texts are Russian
    int defaultFont_ = 0;
    QHash<int, Font> fonts_;
    int entryNumber_ = -1;
    QByteArray entryName_;
    Font entry_;
    mutable int cachedFont_ = 0;
    mutable const platform::ByteTable *cached_ = nullptr;
};

class ColorTable
{
  public:
    enum Component { Red, Green, Blue };
    void setComponent(Component component, int value);
    // ';' ends an entry; one without components is the default colour.
    void endEntry();
    // Invalid for entry 0, an entry out of range or a default one: the text keeps its own colour.
    QColor color(int index) const;

  private:
    QVector<QColor> colors_;
    QColor entry_ = QColor(0, 0, 0);
    bool entrySet_ = false;
};

} // namespace richtext::rtf
