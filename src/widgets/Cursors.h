#pragma once
// The game's own arrow and hand cursors, as the desktop layer holds them:
// the ones start-up loads from "cursor.cur" and "hand.cur", or the toolkit's
// own shapes until then.
#include "platform/desktop/GameCursors.h"

namespace zw {

inline QCursor arrowCursor() { return platform::gameCursor(platform::CursorSlot::Arrow); }
inline QCursor handCursor() { return platform::gameCursor(platform::CursorSlot::HandPoint); }
inline void setGameCursors(const QCursor &arrow, const QCursor &hand)
{
    platform::setGameCursor(platform::CursorSlot::Arrow, arrow);
    platform::setGameCursor(platform::CursorSlot::HandPoint, hand);
}

}  // namespace zw
