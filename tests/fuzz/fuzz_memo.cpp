// The memo record on arbitrary bytes: it ends within the cap, what it reads
// stays inside the picture, and writing it again reads back the same.
#include "core/Memo.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const TMemo::Parsed parsed = TMemo::Parse(bytes);
    for (const MemoStroke &s : parsed.memo.Strokes()) {
        if (s.points.empty() || s.points.size() > std::size_t(TMemo::MaxStrokePoints))
            std::abort();
        for (const QPointF &p : s.points)
            if (!TMemo::Picture().contains(p))
                std::abort();
    }
    const QByteArray again = parsed.memo.Serialize();
    if (again.size() > TMemo::MaxBytes)
        std::abort();
    const TMemo::Parsed back = TMemo::Parse(again);
    if (back.damaged || !(back.memo == parsed.memo))
        std::abort();
    return 0;
}
