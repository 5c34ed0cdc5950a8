#include "RtfPicture.h"

#include "RtfReader.h"
#include "TextUnits.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace richtext::rtf
{

bool Picture::applyWord(Kw kw, int param)
{
    switch (kw) {
    case Kw::Pngblip:
        type_ = Png;
        return true;
    case Kw::Jpegblip:
        type_ = Jpeg;
        return true;
    case Kw::Picw:
    case Kw::Pich:
        return true; // the data give the picture's own size in pixels
    case Kw::Picwgoal:
        goalw_ = param;
        return true;
    case Kw::Pichgoal:
        goalh_ = param;
        return true;
    case Kw::Picscalex:
        scalex_ = std::clamp(param, 1, 1000);
        return true;
    case Kw::Picscaley:
        scaley_ = std::clamp(param, 1, 1000);
        return true;
    default:
        return false;
    }
}

void Picture::addHexByte(unsigned char byte)
{
    const bool digit =
        (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'f') || (byte >= 'A' && byte <= 'F');
    if (digit)
        hex_ += char(byte);
}

std::optional<DecodedPicture> Picture::decode() const
{
    if (type_ == Unsupported)
        return std::nullopt;
    QByteArray data = bin_.isEmpty() ? QByteArray::fromHex(hex_) : bin_;
    QBuffer buffer(&data);
    QImageReader reader(&buffer, type_ == Png ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > RtfLimits::maxImageSide || size.height() > RtfLimits::maxImageSide)
        return std::nullopt;
    DecodedPicture picture;
    picture.image = reader.read();
    if (picture.image.isNull())
        return std::nullopt;
    const double w = goalw_ > 0 ? twipsToPixels(goalw_) : picture.image.width();
    const double h = goalh_ > 0 ? twipsToPixels(goalh_) : picture.image.height();
    picture.size = QSizeF(std::min(w * scalex_ / 100.0, double(RtfLimits::maxImageSide)),
                          std::min(h * scaley_ / 100.0, double(RtfLimits::maxImageSide)));
    return picture;
}

} // namespace richtext::rtf
