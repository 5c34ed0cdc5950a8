#pragma once
// The game's cursors: its own arrow in place of the normal pointer everywhere,
// and its pointing hand for buttons. Read from Windows .cur files, whose
// directory gives each image's hot spot.
#include <QByteArray>
#include <QCursor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>
#include <optional>

namespace platform
{

struct CursorImage {
    QImage image; // ARGB32
    QPoint hotSpot;
};

// The image of a .cur (or .ico, hot spot 0,0) file nearest to the wanted size;
// nullopt when the file is damaged or holds no image.
std::optional<CursorImage> readCursorFile(const QByteArray &bytes, int wantedSize = 32);
std::optional<CursorImage> readCursorFile(const QString &path, int wantedSize = 32);

// The game's cursors, made once by start-up and given back at shutdown.
// While installed, the game's arrow takes the place of Qt's arrow and its
// hand that of Qt's pointing hand everywhere: widgets ask for Qt's shapes
// (`setCursor(Qt::PointingHandCursor)`) and this object, an event filter on
// the application, gives them the game's pictures as they set them. Every
// window that does not choose a cursor of its own gets the arrow as it shows.
class GameCursors : public QObject
{
  public:
    GameCursors();
    ~GameCursors() override;
    GameCursors(const GameCursors &) = delete;
    GameCursors &operator=(const GameCursors &) = delete;

    // Loads the arrow and the hand and starts handing them out. Returns how
    // many files loaded.
    int install(const QString &arrowFile, const QString &handFile);
    // Loads the cursors again at the screen's scale after it changed, and
    // gives the new ones to the widgets that had the old.
    void rescale();
    // Back to the platform's cursors for what is set from now on.
    void remove();

    // The game's cursor for Qt::ArrowCursor or Qt::PointingHandCursor once
    // loaded, else the shape as it is.
    QCursor cursorFor(Qt::CursorShape shape) const;

    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void take(std::optional<QCursor> arrow, std::optional<QCursor> hand);

    QString arrowFile_, handFile_;
    std::optional<QCursor> arrow_, hand_;
    bool filtering_ = false;
};

} // namespace platform
