#include "platform/desktop/OutputSize.h"

#include <QGuiApplication>
#include <QScreen>
#include <qpa/qplatformscreen.h>

#include <algorithm>

namespace platform
{

OutputSize primaryOutput()
{
    OutputSize out;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->handle())
        return out;
    const double ratio = screen->handle()->devicePixelRatio();
    const QSize native = screen->handle()->geometry().size();
    out.pixels = QSize(qRound(native.width() * ratio), qRound(native.height() * ratio));
    out.scale = std::max(1, qRound(ratio));
    const QSize free = screen->handle()->availableGeometry().size();
    out.available =
        free.isEmpty() ? out.pixels : QSize(qRound(free.width() * ratio), qRound(free.height() * ratio));
    return out;
}

} // namespace platform
