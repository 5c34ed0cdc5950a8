#include "core/HintBlock.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace
{

void appendInt32(QByteArray &out, std::int32_t value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    out.append(raw, 4);
}

std::int32_t int32At(const char *p)
{
    return qFromLittleEndian<std::int32_t>(p);
}

} // namespace

void appendHintBlock(QByteArray &out, const QList<QByteArray> &hints)
{
    QByteArray body(1, '\0');
    int count = 0;
    for (const QByteArray &hint : hints) {
        if (count == MaxHints || body.size() + 4 + hint.size() > MaxHintBlockSize)
            break;
        appendInt32(body, std::int32_t(hint.size()));
        body.append(hint);
        ++count;
    }
    if (count == 0)
        return;
    body[0] = char(count);
    out.append(HintBlockTag, HintBlockTagSize);
    appendInt32(out, std::int32_t(body.size()));
    out.append(body);
}

HintBlockRead readHintBlock(const char *data, qsizetype size)
{
    HintBlockRead read;
    if (size < HintBlockTagSize) {
        // A file cut inside the tag had a block once; other short tails are not ours.
        read.damaged = size > 0 && std::memcmp(data, HintBlockTag, std::size_t(size)) == 0;
        return read;
    }
    if (std::memcmp(data, HintBlockTag, HintBlockTagSize) != 0)
        return read;
    data += HintBlockTagSize;
    size -= HintBlockTagSize;
    if (size < 4) {
        read.damaged = true;
        return read;
    }
    const std::int32_t declared = int32At(data);
    data += 4;
    size -= 4;
    // A length that cannot be right still leaves the hints that fit in what is there.
    qsizetype left = std::min<qsizetype>(size, MaxHintBlockSize);
    if (declared < 1 || declared > left)
        read.damaged = true;
    else
        left = declared;
    if (left < 1)
        return read;
    const int count = static_cast<unsigned char>(*data++);
    --left;
    if (count > MaxHints)
        read.damaged = true;
    for (int i = 0; i < std::min(count, MaxHints); ++i) {
        const std::int32_t length = left >= 4 ? int32At(data) : -1;
        if (length < 0 || length > left - 4) {
            read.damaged = true;
            break;
        }
        read.hints.append(QByteArray(data + 4, length));
        data += 4 + length;
        left -= 4 + length;
    }
    return read;
}
