#include "core/Memo.h"

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <cstring>

// Layout, little-endian: "ZMM", version 1, stroke count (16 bits); per stroke
// the ink (8 bits), the width in quarter pixels (8 bits), the point count
// (16 bits) and each point as x, y in sixteenths of a picture pixel (16 bits
// each: 460 × 16 fits), which keeps strokes sharp at the largest scales.
namespace
{

constexpr char kMagic[3] = {'Z', 'M', 'M'};
constexpr std::uint8_t kVersion = 1;
constexpr int kHeaderBytes = 6;
constexpr int kStrokeHeaderBytes = 4;
constexpr int kPointBytes = 4;
constexpr qreal kPointUnit = 16.0;
constexpr qreal kWidthUnit = 4.0;

int strokeBytes(const MemoStroke &s)
{
    return kStrokeHeaderBytes + kPointBytes * int(s.points.size());
}

void put16(QByteArray &out, int v)
{
    out.append(char(v & 0xff));
    out.append(char((v >> 8) & 0xff));
}

int get16(const unsigned char *p)
{
    return p[0] | (p[1] << 8);
}

int toUnits(qreal v, qreal unit, int max)
{
    return std::clamp(int(std::lround(v * unit)), 0, max);
}

qreal distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const qreal len2 = QPointF::dotProduct(ab, ab);
    const qreal t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    return QLineF(p, a + t * ab).length();
}

} // namespace

void TMemo::Add(MemoStroke stroke)
{
    if (stroke.points.empty())
        return;
    if (stroke.points.size() > std::size_t(MaxStrokePoints))
        stroke.points.resize(MaxStrokePoints);
    for (QPointF &p : stroke.points) {
        // NaN from a broken device position lands on the corner, not in the record.
        p.setX(std::isfinite(p.x()) ? std::clamp(p.x(), 0.0, qreal(PictureWidth)) : 0.0);
        p.setY(std::isfinite(p.y()) ? std::clamp(p.y(), 0.0, qreal(PictureHeight)) : 0.0);
    }
    stroke.width = std::isfinite(stroke.width) ? std::clamp(stroke.width, MinWidth, MaxWidth) : MinWidth;
    strokes_.push_back(std::move(stroke));
}

bool TMemo::EraseAt(QPointF at, qreal radius)
{
    const auto touched = [&](const MemoStroke &s) {
        const qreal reach = radius + s.width / 2;
        if (s.points.size() == 1)
            return QLineF(at, s.points.front()).length() <= reach;
        for (std::size_t i = 1; i < s.points.size(); ++i)
            if (distanceToSegment(at, s.points[i - 1], s.points[i]) <= reach)
                return true;
        return false;
    };
    const auto before = strokes_.size();
    std::erase_if(strokes_, touched);
    return strokes_.size() != before;
}

QByteArray TMemo::Serialize() const
{
    if (strokes_.empty())
        return {};
    // The newest strokes that fit, counted back from the last.
    int bytes = kHeaderBytes;
    std::size_t first = strokes_.size();
    while (first > 0 && bytes + strokeBytes(strokes_[first - 1]) <= MaxBytes &&
           strokes_.size() - first < 0xffff) {
        bytes += strokeBytes(strokes_[first - 1]);
        --first;
    }
    QByteArray out;
    out.reserve(bytes);
    out.append(kMagic, 3);
    out.append(char(kVersion));
    put16(out, int(strokes_.size() - first));
    for (std::size_t i = first; i < strokes_.size(); ++i) {
        const MemoStroke &s = strokes_[i];
        out.append(char(s.ink));
        out.append(char(toUnits(s.width, kWidthUnit, 255)));
        put16(out, int(s.points.size()));
        for (const QPointF &p : s.points) {
            put16(out, toUnits(p.x(), kPointUnit, PictureWidth * int(kPointUnit)));
            put16(out, toUnits(p.y(), kPointUnit, PictureHeight * int(kPointUnit)));
        }
    }
    return out;
}

TMemo::Parsed TMemo::Parse(const QByteArray &bytes)
{
    Parsed r;
    if (bytes.isEmpty())
        return r;
    const int size = int(std::min<qsizetype>(bytes.size(), MaxBytes));
    r.damaged = bytes.size() > MaxBytes;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    if (size < kHeaderBytes || std::memcmp(p, kMagic, 3) != 0 || p[3] != kVersion) {
        r.damaged = true;
        return r;
    }
    const int count = get16(p + 4);
    int at = kHeaderBytes;
    for (int i = 0; i < count; ++i) {
        if (size - at < kStrokeHeaderBytes) {
            r.damaged = true;
            break;
        }
        const int ink = p[at], width = p[at + 1], points = get16(p + at + 2);
        at += kStrokeHeaderBytes;
        // Each check before the points are read, so a lying count allocates nothing.
        if (ink > int(MemoInk::Red) || width == 0 || points == 0 || points > MaxStrokePoints ||
            points > (size - at) / kPointBytes) {
            r.damaged = true;
            break;
        }
        MemoStroke s;
        s.ink = MemoInk(ink);
        s.width = width / kWidthUnit;
        s.points.reserve(std::size_t(points));
        for (int k = 0; k < points; ++k, at += kPointBytes)
            s.points.emplace_back(get16(p + at) / kPointUnit, get16(p + at + 2) / kPointUnit);
        r.memo.Add(std::move(s));
    }
    if (at != size)
        r.damaged = true; // trailing bytes: written by something else
    return r;
}
