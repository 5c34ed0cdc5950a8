#include "platform/desktop/GameCursors.h"

#include "platform/Dib.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QtEndian>
#include <cstdlib>

namespace platform
{

std::optional<CursorImage> readCursorFile(const QByteArray &bytes, int wantedSize)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    if (size < 6 || qFromLittleEndian<quint16>(p) != 0)
        return std::nullopt;
    const int type = qFromLittleEndian<quint16>(p + 2);
    const int count = qFromLittleEndian<quint16>(p + 4);
    if ((type != 1 && type != 2) || count == 0 || 6 + qsizetype(count) * 16 > size)
        return std::nullopt;

    // The entry nearest the wanted size, the deeper one of equal sizes.
    int best = -1, bestDistance = 0, bestBits = 0;
    for (int i = 0; i < count; ++i) {
        const unsigned char *e = p + 6 + i * 16;
        const int w = e[0] ? e[0] : 256;
        const int bits = type == 1 ? qFromLittleEndian<quint16>(e + 6) : 0;
        const int distance = std::abs(w - wantedSize);
        if (best < 0 || distance < bestDistance || (distance == bestDistance && bits > bestBits)) {
            best = i;
            bestDistance = distance;
            bestBits = bits;
        }
    }
    const unsigned char *e = p + 6 + best * 16;
    const quint32 length = qFromLittleEndian<quint32>(e + 8);
    const quint32 offset = qFromLittleEndian<quint32>(e + 12);
    if (offset > quint64(size) || length > quint64(size) - offset)
        return std::nullopt;
    const QByteArray data = bytes.mid(offset, length);

    CursorImage cursor;
    if (type == 2)
        cursor.hotSpot = QPoint(qFromLittleEndian<quint16>(e + 4), qFromLittleEndian<quint16>(e + 6));
    if (data.startsWith("\x89PNG")) {
        cursor.image = QImage::fromData(data, "PNG").convertToFormat(QImage::Format_ARGB32);
    } else {
        try {
            cursor.image = decodeIconDib(data);
        } catch (const EDibError &) {
            return std::nullopt;
        }
    }
    if (cursor.image.isNull())
        return std::nullopt;
    cursor.hotSpot.setX(std::min(cursor.hotSpot.x(), cursor.image.width() - 1));
    cursor.hotSpot.setY(std::min(cursor.hotSpot.y(), cursor.image.height() - 1));
    return cursor;
}

std::optional<CursorImage> readCursorFile(const QString &path, int wantedSize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readCursorFile(file.readAll(), wantedSize);
}

namespace
{

std::optional<QCursor> load(const QString &file)
{
    const auto image = readCursorFile(file);
    if (!image)
        return std::nullopt;
    // The window system shows a cursor's pixels as they are: in a scaled game
    // the cursor grows with everything else, its hot spot with it.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    if (ratio > 1.01) {
        const QImage scaled =
            image->image.scaled(qRound(image->image.width() * ratio), qRound(image->image.height() * ratio),
                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return QCursor(QPixmap::fromImage(scaled), qRound(image->hotSpot.x() * ratio),
                       qRound(image->hotSpot.y() * ratio));
    }
    return QCursor(QPixmap::fromImage(image->image), image->hotSpot.x(), image->hotSpot.y());
}

qint64 pixmapKey(const std::optional<QCursor> &c)
{
    return c && c->shape() == Qt::BitmapCursor ? c->pixmap().cacheKey() : 0;
}

} // namespace

GameCursors::GameCursors() = default;

GameCursors::~GameCursors()
{
    remove();
}

void GameCursors::take(std::optional<QCursor> arrow, std::optional<QCursor> hand)
{
    arrow_ = std::move(arrow);
    hand_ = std::move(hand);
}

int GameCursors::install(const QString &arrowFile, const QString &handFile)
{
    arrowFile_ = arrowFile;
    handFile_ = handFile;
    take(load(arrowFile), load(handFile));
    if ((arrow_ || hand_) && !filtering_ && qApp) {
        qApp->installEventFilter(this);
        filtering_ = true;
    }
    return (arrow_ ? 1 : 0) + (hand_ ? 1 : 0);
}

void GameCursors::rescale()
{
    if (!arrow_ && !hand_)
        return;
    const qint64 oldArrow = pixmapKey(arrow_);
    const qint64 oldHand = pixmapKey(hand_);
    take(load(arrowFile_), load(handFile_));
    for (QWidget *w : QApplication::allWidgets()) {
        if (!w->testAttribute(Qt::WA_SetCursor) || w->cursor().shape() != Qt::BitmapCursor)
            continue;
        const qint64 key = w->cursor().pixmap().cacheKey();
        if (key == oldArrow && arrow_)
            w->setCursor(*arrow_);
        else if (key == oldHand && hand_)
            w->setCursor(*hand_);
    }
}

void GameCursors::remove()
{
    if (filtering_ && qApp)
        qApp->removeEventFilter(this);
    filtering_ = false;
    take(std::nullopt, std::nullopt);
}

QCursor GameCursors::cursorFor(Qt::CursorShape shape) const
{
    if (shape == Qt::ArrowCursor && arrow_)
        return *arrow_;
    if (shape == Qt::PointingHandCursor && hand_)
        return *hand_;
    return QCursor(shape);
}

bool GameCursors::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (event->type() == QEvent::CursorChange && w->testAttribute(Qt::WA_SetCursor)) {
        // The game's picture for a shape set just now; setting it comes back
        // here as a bitmap cursor, which stays.
        const Qt::CursorShape shape = w->cursor().shape();
        if ((shape == Qt::ArrowCursor && arrow_) || (shape == Qt::PointingHandCursor && hand_))
            w->setCursor(cursorFor(shape));
    } else if (event->type() == QEvent::Show && w->isWindow() && !w->testAttribute(Qt::WA_SetCursor) &&
               arrow_) {
        // The arrow then holds for all its children that choose none either.
        w->setCursor(*arrow_);
    }
    return false;
}

} // namespace platform
