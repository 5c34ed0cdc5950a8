#pragma once
// A \pict group: its properties, its data in hex or \bin, and the image they make.
#include "RtfKeywords.h"

#include <QByteArray>
#include <QImage>
#include <QSizeF>

#include <optional>
#include <string_view>

namespace richtext::rtf
{

struct DecodedPicture {
    QImage image;
    QSizeF size; // as shown, in pixels
};

class Picture
{
  public:
    // A property word of the picture; false when the word is not one.
    bool applyWord(Kw kw, int param);
    // Text inside the group: its hex digits are the data, anything else is ignored.
    void addHexByte(unsigned char byte);
    void setBinary(std::string_view bytes) { bin_ = QByteArray(bytes.data(), qsizetype(bytes.size())); }

    // The image, unless the kind is unsupported, the data do not decode or the
    // picture is larger than RtfLimits::maxImageSide on either side.
    std::optional<DecodedPicture> decode() const;

  private:
    enum Type { Unsupported, Png, Jpeg } type_ = Unsupported;
    QByteArray hex_, bin_;
    int goalw_ = 0, goalh_ = 0, scalex_ = 100, scaley_ = 100;
};

} // namespace richtext::rtf
