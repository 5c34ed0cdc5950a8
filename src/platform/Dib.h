#pragma once
// Device-independent bitmaps as Windows stores them in resources and in icon
// and cursor files: a BITMAPINFOHEADER (or one of its relatives), the colour
// table or bit masks, then the rows, bottom-up unless the height is negative.
#include <QByteArray>
#include <QImage>
#include <stdexcept>

namespace platform
{

class EDibError : public std::runtime_error
{
  public:
    using std::runtime_error::runtime_error;
};

// Decodes a packed DIB (header, colour table, pixels) into an opaque RGB32 image,
// the way a bitmap resource is shown (an alpha channel of 32-bit rows is ignored).
// 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed, bit fields, RLE4 and RLE8.
// Raises EDibError on anything damaged or unsupported.
QImage decodeDib(const QByteArray &packed);

// An icon or cursor image: the colour bitmap has twice its height, with the
// 1-bit AND mask below the colour rows. Gives ARGB32 with the mask (or the
// alpha of 32-bit images) as transparency.
QImage decodeIconDib(const QByteArray &packed);

} // namespace platform
