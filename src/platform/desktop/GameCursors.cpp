#include "platform/desktop/GameCursors.h"

#include "platform/Dib.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QtEndian>
#include <array>
#include <cstdlib>

namespace platform {

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

namespace {

std::array<std::optional<QCursor>, 3> &cursorSlots()
{
    static std::array<std::optional<QCursor>, 3> table;
    return table;
}

// Gives the game's arrow to every window as it is shown, unless the window
// (or the code that made it) chose a cursor of its own: the arrow then holds
// for all its children that do not choose theirs either.
class DefaultCursorFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto *w = static_cast<QWidget *>(watched);
            if (w->isWindow() && !w->testAttribute(Qt::WA_SetCursor) && cursorSlots()[0])
                w->setCursor(*cursorSlots()[0]);
        }
        return false;
    }
};

DefaultCursorFilter *g_filter = nullptr;

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
        const QImage scaled = image->image.scaled(qRound(image->image.width() * ratio),
                                                  qRound(image->image.height() * ratio), Qt::IgnoreAspectRatio,
                                                  Qt::SmoothTransformation);
        return QCursor(QPixmap::fromImage(scaled), qRound(image->hotSpot.x() * ratio),
                       qRound(image->hotSpot.y() * ratio));
    }
    return QCursor(QPixmap::fromImage(image->image), image->hotSpot.x(), image->hotSpot.y());
}

}  // namespace

QCursor gameCursor(CursorSlot slot)
{
    const auto &c = cursorSlots()[std::size_t(slot)];
    if (c)
        return *c;
    return QCursor(slot == CursorSlot::HandPoint ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void setGameCursor(CursorSlot slot, const std::optional<QCursor> &cursor)
{
    cursorSlots()[std::size_t(slot)] = cursor;
}

namespace {
QString g_arrowFile, g_handFile;

qint64 pixmapKey(const std::optional<QCursor> &c)
{
    return c && c->shape() == Qt::BitmapCursor ? c->pixmap().cacheKey() : 0;
}
}  // namespace

int installGameCursors(const QString &arrowFile, const QString &handFile)
{
    g_arrowFile = arrowFile;
    g_handFile = handFile;
    const auto arrow = load(arrowFile);
    const auto hand = load(handFile);
    setGameCursor(CursorSlot::Default, arrow);
    setGameCursor(CursorSlot::Arrow, arrow);
    setGameCursor(CursorSlot::HandPoint, hand);
    if (arrow && !g_filter && qApp) {
        g_filter = new DefaultCursorFilter(qApp);
        qApp->installEventFilter(g_filter);
    }
    return (arrow ? 1 : 0) + (hand ? 1 : 0);
}

void rescaleGameCursors()
{
    auto &held = cursorSlots();
    if (!held[0] && !held[2])
        return;
    const qint64 oldArrow = pixmapKey(held[0]);
    const qint64 oldHand = pixmapKey(held[2]);
    const auto arrow = load(g_arrowFile);
    const auto hand = load(g_handFile);
    setGameCursor(CursorSlot::Default, arrow);
    setGameCursor(CursorSlot::Arrow, arrow);
    setGameCursor(CursorSlot::HandPoint, hand);
    for (QWidget *w : QApplication::allWidgets()) {
        if (!w->testAttribute(Qt::WA_SetCursor) || w->cursor().shape() != Qt::BitmapCursor)
            continue;
        const qint64 key = w->cursor().pixmap().cacheKey();
        if (key == oldArrow && arrow)
            w->setCursor(*arrow);
        else if (key == oldHand && hand)
            w->setCursor(*hand);
    }
}

void removeGameCursors()
{
    delete g_filter;
    g_filter = nullptr;
    for (auto &c : cursorSlots())
        c.reset();
}

}  // namespace platform
