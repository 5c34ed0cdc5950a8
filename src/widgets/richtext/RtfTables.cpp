#include "RtfTables.h"

#include <algorithm>

namespace richtext::rtf
{
namespace
{

platform::CodePage codePageOfCharset(int charset)
{
    switch (charset) {
    case 204:
        return platform::CodePage::Windows1251;
    case 2: // symbol fonts: the byte is the glyph
        return platform::CodePage::Latin1;
    default:
        return platform::CodePage::Windows1252;
    }
}

} // namespace

void FontTable::setDocumentCodePage(int ansicpg)
{
    documentPage_ = ansicpg == 1251 ? platform::CodePage::Windows1251 : platform::CodePage::Windows1252;
    cached_ = nullptr;
}

void FontTable::startEntry(int number)
{
    endEntry();
    entryNumber_ = number;
}

void FontTable::setEntryCharset(int charset)
{
    entry_.page = codePageOfCharset(charset);
    entry_.hasCharset = true;
}

void FontTable::addNameByte(char byte)
{
    if (byte == ';')
        endEntry();
    else
        entryName_ += byte;
}

void FontTable::endEntry()
{
    if (entryNumber_ >= 0 && !entryName_.trimmed().isEmpty()) {
        QString name;
        const platform::CodePage page = entry_.hasCharset ? entry_.page : documentPage_;
        for (char c : entryName_)
            name += platform::decodeByte(static_cast<unsigned char>(c), page);
        entry_.name = name.trimmed();
        fonts_.insert(entryNumber_, entry_);
        cached_ = nullptr;
    }
    entryNumber_ = -1;
    entryName_.clear();
    entry_ = Font{};
}

const FontTable::Font *FontTable::find(int font) const
{
    const auto it = fonts_.constFind(font >= 0 ? font : defaultFont_);
    return it != fonts_.cend() ? &*it : nullptr;
}

platform::CodePage FontTable::lookUpCodePage(int font) const
{
    const Font *f = find(font);
    return (f && f->hasCharset) ? f->page : documentPage_;
}

QString FontTable::family(int font) const
{
    const Font *f = find(font);
    return f ? f->name : QString();
}

void ColorTable::setComponent(Component component, int value)
{
    value = std::clamp(value, 0, 255);
    if (component == Red)
        entry_.setRed(value);
    else if (component == Green)
        entry_.setGreen(value);
    else
        entry_.setBlue(value);
    entrySet_ = true;
}

void ColorTable::endEntry()
{
    colors_.append(entrySet_ ? entry_ : QColor());
    entry_ = QColor(0, 0, 0);
    entrySet_ = false;
}

QColor ColorTable::color(int index) const
{
    return (index > 0 && index < colors_.size()) ? colors_[index] : QColor();
}

} // namespace richtext::rtf
