#include "platform/Dib.h"

#include <QString>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace platform
{
namespace
{

constexpr std::uint32_t BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;
// Game bitmaps are at most a screen; anything far larger is a damaged header,
// and refusing it keeps a bad file from asking for gigabytes.
constexpr std::int64_t MaxPixels = 4096LL * 4096LL;

[[noreturn]] void fail(const char *what)
{
    throw EDibError(std::string("Damaged bitmap: ") + what);
}

struct Reader {
    const unsigned char *data;
    std::int64_t size;
    std::uint32_t u32(std::int64_t at) const
    {
        if (at < 0 || at + 4 > size)
            fail("header is cut short");
        return std::uint32_t(data[at]) | std::uint32_t(data[at + 1]) << 8 |
               std::uint32_t(data[at + 2]) << 16 | std::uint32_t(data[at + 3]) << 24;
    }
    std::uint16_t u16(std::int64_t at) const
    {
        if (at < 0 || at + 2 > size)
            fail("header is cut short");
        return std::uint16_t(data[at] | data[at + 1] << 8);
    }
};

struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t max = 0;
    void set(std::uint32_t m)
    {
        mask = m;
        shift = m ? std::countr_zero(m) : 0;
        max = m ? (m >> shift) : 0;
    }
    int value(std::uint32_t pixel) const
    {
        if (!max)
            return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        return int((v * 255 + max / 2) / max);
    }
};

struct Dib {
    std::int64_t width = 0;
    std::int64_t height = 0; // rows of the colour image
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = BI_RGB;
    std::vector<QRgb> palette;
    Channel r, g, b, a;
    std::int64_t pixelsAt = 0; // offset of the first row
    std::int64_t stride = 0;
};

// Where the header leaves the reader, and what it says of the colour table.
struct HeaderEnd {
    std::int64_t at = 0; // the first byte after the header and its bit masks
    int paletteEntrySize = 4;
    std::uint32_t colorsUsed = 0;
};

// The bit masks of a BI_BITFIELDS image: after a 40-byte header they follow it,
// later headers hold them at the same offset inside.
void readBitFields(const Reader &in, Dib &d, std::uint32_t headerSize, HeaderEnd &end)
{
    if (d.bpp != 16 && d.bpp != 32)
        fail("bit fields need 16 or 32 bits per pixel");
    const std::int64_t maskAt = 40;
    if (headerSize == 40)
        end.at += d.compression == BI_ALPHABITFIELDS ? 16 : 12;
    d.r.set(in.u32(maskAt));
    d.g.set(in.u32(maskAt + 4));
    d.b.set(in.u32(maskAt + 8));
    if (d.compression == BI_ALPHABITFIELDS || headerSize >= 56)
        d.a.set(in.u32(maskAt + 12));
}

// BITMAPCOREHEADER (12 bytes) or BITMAPINFOHEADER and its later versions (40 to 124).
HeaderEnd readHeaderFields(const Reader &in, Dib &d)
{
    HeaderEnd end;
    const std::uint32_t headerSize = in.u32(0);
    if (headerSize == 12) {
        d.width = in.u16(4);
        d.height = in.u16(6);
        d.bpp = in.u16(10);
        end.paletteEntrySize = 3;
        end.at = 12;
        return end;
    }
    if (headerSize < 40 || headerSize > 124)
        fail("unknown header size");
    d.width = std::int32_t(in.u32(4));
    const std::int32_t h = std::int32_t(in.u32(8));
    if (h == INT32_MIN)
        fail("bad height");
    d.topDown = h < 0;
    d.height = h < 0 ? -std::int64_t(h) : h;
    d.bpp = in.u16(14);
    d.compression = in.u32(16);
    end.colorsUsed = in.u32(32);
    end.at = headerSize;
    if (d.compression == BI_BITFIELDS || d.compression == BI_ALPHABITFIELDS)
        readBitFields(in, d, headerSize, end);
    return end;
}

void checkSize(Dib &d, bool icon)
{
    if (icon) {
        if (d.topDown || d.height % 2)
            fail("icon image height is not even");
        d.height /= 2;
    }
    if (d.width <= 0 || d.height <= 0)
        fail("empty image");
    if (d.width * d.height > MaxPixels)
        fail("image too large");
}

void checkFormat(const Dib &d, bool icon)
{
    switch (d.bpp) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (d.compression != BI_RGB && !(d.compression == BI_RLE8 && d.bpp == 8) &&
            !(d.compression == BI_RLE4 && d.bpp == 4))
            fail("unsupported compression");
        break;
    case 16:
    case 32:
        if (d.compression != BI_RGB && d.compression != BI_BITFIELDS && d.compression != BI_ALPHABITFIELDS)
            fail("unsupported compression");
        break;
    default:
        fail("unsupported bits per pixel");
    }
    if ((d.compression == BI_RLE4 || d.compression == BI_RLE8) && (d.topDown || icon))
        fail("compressed image cannot be top-down");
}

// Uncompressed 16- and 32-bit images have fixed masks: 5-5-5 and 8-8-8, with
// the top byte as alpha only in icons.
void setDefaultMasks(Dib &d, bool icon)
{
    if (d.compression == BI_RGB && d.bpp == 16) {
        d.r.set(0x7C00);
        d.g.set(0x03E0);
        d.b.set(0x001F);
    } else if (d.compression == BI_RGB && d.bpp == 32) {
        d.r.set(0x00FF0000);
        d.g.set(0x0000FF00);
        d.b.set(0x000000FF);
        if (icon)
            d.a.set(0xFF000000);
    }
}

// The colour table: the full 2^bpp entries unless fewer are said to be used;
// deeper images may carry an optional table, which is skipped. Gives the offset
// after the table.
std::int64_t readPalette(const Reader &in, Dib &d, const HeaderEnd &end)
{
    std::int64_t entries = 0;
    if (d.bpp <= 8) {
        entries = end.colorsUsed ? end.colorsUsed : (1u << d.bpp);
        if (entries > 256)
            fail("colour table too large");
    } else {
        entries = end.colorsUsed;
    }
    if (entries > (in.size - end.at) / end.paletteEntrySize)
        fail("colour table is cut short");
    if (d.bpp <= 8) {
        d.palette.assign(std::size_t(1) << d.bpp, qRgb(0, 0, 0));
        // A table longer than the depth can index is skipped past, not read into.
        for (std::int64_t i = 0; i < entries && i < std::int64_t(d.palette.size()); ++i) {
            const unsigned char *p = in.data + end.at + i * end.paletteEntrySize;
            d.palette[std::size_t(i)] = qRgb(p[2], p[1], p[0]);
        }
    }
    return end.at + entries * end.paletteEntrySize;
}

Dib parseHeader(const Reader &in, bool icon)
{
    Dib d;
    const HeaderEnd end = readHeaderFields(in, d);
    checkSize(d, icon);
    checkFormat(d, icon);
    setDefaultMasks(d, icon);
    d.pixelsAt = readPalette(in, d, end);
    d.stride = ((d.width * d.bpp + 31) / 32) * 4;
    return d;
}

inline std::uint32_t readPixel(const unsigned char *row, std::int64_t x, int bpp)
{
    switch (bpp) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    case 8:
        return row[x];
    case 16:
        return std::uint32_t(row[2 * x] | row[2 * x + 1] << 8);
    case 24:
        return std::uint32_t(row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16);
    default:
        return std::uint32_t(row[4 * x]) | std::uint32_t(row[4 * x + 1]) << 8 |
               std::uint32_t(row[4 * x + 2]) << 16 | std::uint32_t(row[4 * x + 3]) << 24;
    }
}

void decodeUncompressed(const Reader &in, const Dib &d, QImage &out, bool &anyAlpha)
{
    if (d.stride * d.height > in.size - d.pixelsAt)
        fail("pixel data is cut short");
    for (std::int64_t y = 0; y < d.height; ++y) {
        const unsigned char *row = in.data + d.pixelsAt + y * d.stride;
        const int outY = int(d.topDown ? y : d.height - 1 - y);
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(outY));
        if (d.bpp == 24) {
            // The pictures' own depth: a row at a time, with no test per pixel.
            for (std::int64_t x = 0; x < d.width; ++x, row += 3)
                line[x] = 0xFF000000u | std::uint32_t(row[0]) | std::uint32_t(row[1]) << 8 |
                          std::uint32_t(row[2]) << 16;
            continue;
        }
        for (std::int64_t x = 0; x < d.width; ++x) {
            const std::uint32_t p = readPixel(row, x, d.bpp);
            if (d.bpp <= 8) {
                line[x] = d.palette[p];
            } else if (d.bpp == 24) {
                line[x] = 0xFF000000u | p;
            } else {
                const int alpha = d.a.max ? d.a.value(p) : 255;
                if (d.a.max && alpha)
                    anyAlpha = true;
                line[x] = qRgba(d.r.value(p), d.g.value(p), d.b.value(p), alpha);
            }
        }
    }
}

void decodeRle(const Reader &in, const Dib &d, QImage &out)
{
    const bool four = d.compression == BI_RLE4;
    std::int64_t pos = d.pixelsAt;
    std::int64_t x = 0, y = 0; // y counts from the bottom row
    auto put = [&](std::uint32_t index) {
        if (x < d.width && y < d.height)
            reinterpret_cast<QRgb *>(out.scanLine(int(d.height - 1 - y)))[x] = d.palette[index];
        ++x;
    };
    auto byte = [&]() -> unsigned {
        if (pos >= in.size)
            fail("compressed data is cut short");
        return in.data[pos++];
    };
    while (y < d.height) {
        const unsigned count = byte();
        const unsigned value = byte();
        if (count) {
            for (unsigned i = 0; i < count && x < d.width; ++i)
                put(four ? ((i & 1) ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // move by a delta
            x += byte();
            y += byte();
        } else { // a run of literal pixels, padded to a 16-bit boundary
            const std::int64_t bytes = four ? (value + 1) / 2 : value;
            if (bytes > in.size - pos)
                fail("compressed data is cut short");
            for (unsigned i = 0; i < value; ++i) {
                const unsigned char c = in.data[pos + (four ? i / 2 : i)];
                put(four ? ((i & 1) ? c & 0xF : c >> 4) : c);
            }
            pos += bytes + (bytes & 1);
        }
    }
}

QImage decode(const QByteArray &packed, bool icon)
{
    const Reader in{reinterpret_cast<const unsigned char *>(packed.constData()), packed.size()};
    Dib d = parseHeader(in, icon);
    if (!icon)
        d.a = Channel(); // a bitmap's alpha mask, if any, is not shown
    // Only icons carry alpha; every other pixel is written opaque, so a
    // bitmap is made in its final format with no conversion pass.
    QImage out(int(d.width), int(d.height), icon ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull())
        fail("out of memory");
    bool anyAlpha = false;
    if (d.compression == BI_RLE4 || d.compression == BI_RLE8) {
        // Runs may skip pixels, which keep the first colour.
        out.fill(d.palette.empty() ? qRgb(0, 0, 0) : d.palette[0]);
        decodeRle(in, d, out);
    } else {
        decodeUncompressed(in, d, out, anyAlpha);
    }

    if (!icon)
        return out;

    // 32-bit icons carry their own alpha; older ones use the AND mask.
    if (anyAlpha)
        return out;
    const std::int64_t maskStride = ((d.width + 31) / 32) * 4;
    const std::int64_t maskAt = d.pixelsAt + d.stride * d.height;
    if (maskStride * d.height > in.size - maskAt)
        fail("icon mask is cut short");
    for (std::int64_t y = 0; y < d.height; ++y) {
        const unsigned char *row = in.data + maskAt + y * maskStride;
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(int(d.height - 1 - y)));
        for (std::int64_t x = 0; x < d.width; ++x) {
            if ((row[x >> 3] >> (7 - (x & 7))) & 1)
                line[x] = qRgba(0, 0, 0, 0);
            else
                line[x] |= 0xFF000000u;
        }
    }
    return out;
}

} // namespace

QImage decodeDib(const QByteArray &packed)
{
    return decode(packed, false);
}

QImage decodeIconDib(const QByteArray &packed)
{
    return decode(packed, true);
}

} // namespace platform
