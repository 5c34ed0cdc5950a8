#pragma once
// The game's own arrow and hand cursors. Start-up installs the ones loaded
// from "cursor.cur" and "hand.cur"; until then the toolkit's own shapes serve.
#include <QCursor>

namespace zw {

QCursor arrowCursor();
QCursor handCursor();
void setGameCursors(const QCursor &arrow, const QCursor &hand);

}  // namespace zw
