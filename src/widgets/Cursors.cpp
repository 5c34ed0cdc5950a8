#include "widgets/Cursors.h"

#include <optional>

namespace zw {
namespace {
std::optional<QCursor> &arrowSlot()
{
    static std::optional<QCursor> cursor;
    return cursor;
}
std::optional<QCursor> &handSlot()
{
    static std::optional<QCursor> cursor;
    return cursor;
}
}  // namespace

QCursor arrowCursor()
{
    return arrowSlot().value_or(QCursor(Qt::ArrowCursor));
}

QCursor handCursor()
{
    return handSlot().value_or(QCursor(Qt::PointingHandCursor));
}

void setGameCursors(const QCursor &arrow, const QCursor &hand)
{
    arrowSlot() = arrow;
    handSlot() = hand;
}

}  // namespace zw
