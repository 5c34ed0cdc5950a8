#pragma once
// The game's cursors: its own arrow in place of the normal pointer everywhere,
// and its pointing hand for buttons. Read from Windows .cur files, whose
// directory gives each image's hot spot.
#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>

namespace platform {

struct CursorImage {
    QImage image;  // ARGB32
    QPoint hotSpot;
};

// The image of a .cur (or .ico, hot spot 0,0) file nearest to the wanted size;
// nullopt when the file is damaged or holds no image.
std::optional<CursorImage> readCursorFile(const QByteArray &bytes, int wantedSize = 32);
std::optional<CursorImage> readCursorFile(const QString &path, int wantedSize = 32);

enum class CursorSlot { Default, Arrow, HandPoint };

// The cursor in a slot: the game's when loaded, else the platform's own.
QCursor gameCursor(CursorSlot slot);
void setGameCursor(CursorSlot slot, const std::optional<QCursor> &cursor);

// Loads the arrow into Default and Arrow and the hand into HandPoint, and
// makes the arrow the cursor of every window that does not choose its own.
// Returns how many files loaded.
int installGameCursors(const QString &arrowFile, const QString &handFile);
// Loads the cursors again at the screen's scale after it changed, and gives
// the new ones to the widgets that had the old.
void rescaleGameCursors();
// Back to the platform's cursors.
void removeGameCursors();

}  // namespace platform
