#include "platform/desktop/WindowScale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <QtGlobal>

// The one file on Qt's private API: QHighDpiScaling carries no compatibility
// promise from one Qt release to the next, and the package depends on the
// exact Qt it was built with (cmake/Package.cmake).
#if QT_VERSION != QT_VERSION_CHECK(6, 4, 2)
#error "WindowScale.cpp uses Qt's private QHighDpiScaling and is tested with Qt 6.4.2 (Debian 12) only. \
For another Qt, check that QHighDpiScaling::setGlobalFactor, setScreenFactor and factor(const QScreen *) \
still exist and scale windows as before (tests/gui/display_test.cpp, e2e_scaled_screen), then add the version here."
#endif

#include <QtGui/private/qhighdpiscaling_p.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#include <QHash>
#include <algorithm>
#include <cmath>

namespace platform
{

namespace
{

// The platform's own ratio (a Wayland compositor's integer buffer scale); 1 on X11.
double platformRatio(const QWindow *window)
{
    const QPlatformWindow *handle = window->handle();
    return handle ? handle->devicePixelRatio() : 1.0;
}

} // namespace

double fitFactor(QSize area, QSize picture)
{
    if (area.isEmpty() || picture.isEmpty())
        return 1.0;
    const double f =
        std::min(double(area.width()) / picture.width(), double(area.height()) / picture.height());
    return std::max(0.5, f);
}

QSize devicePixels(const QWindow *window, QSize native)
{
    const double ratio = platformRatio(window);
    return QSize(qRound(native.width() * ratio), qRound(native.height() * ratio));
}

QSize windowDevicePixels(const QWindow *window)
{
    const QPlatformWindow *handle = window ? window->handle() : nullptr;
    return handle ? devicePixels(window, handle->geometry().size()) : QSize();
}

QSize screenDevicePixels(const QWindow *window)
{
    const QScreen *screen = window ? window->screen() : nullptr;
    return screen && screen->handle() ? devicePixels(window, screen->handle()->geometry().size()) : QSize();
}

double windowScale(const QWindow *window)
{
    return window ? window->devicePixelRatio() : 1.0;
}

void setGlobalScale(double factor)
{
    if (factor > 0)
        QHighDpiScaling::setGlobalFactor(factor);
}

bool setWindowScale(QWindow *window, double factor)
{
    QScreen *screen = window ? window->screen() : nullptr;
    if (!screen || factor <= 0)
        return false;
    // Qt's whole factor for a screen is its global one times the screen's;
    // the platform's ratio comes on top of both.
    const double qtNow = QHighDpiScaling::factor(screen);
    const double qtWanted = factor / platformRatio(window);
    if (std::abs(qtNow - qtWanted) < 1e-9)
        return false;
    // What this code set before; Qt keeps it by the screen's name.
    static QHash<QString, double> screenParts;
    double &part = screenParts[screen->name()];
    if (part <= 0)
        part = 1.0;
    const double global = qtNow / part;
    part = qtWanted / global;
    QHighDpiScaling::setScreenFactor(screen, part);
    // The native windows keep their size; their logical geometry follows the
    // new factor now, so that the next paint and the next click agree with it.
    for (QWindow *w : QGuiApplication::topLevelWindows()) {
        if (w->screen() == screen && w->handle())
            QWindowSystemInterface::handleGeometryChange<QWindowSystemInterface::SynchronousDelivery>(
                w, w->handle()->geometry());
    }
    return true;
}

void setWindowPixels(QWindow *window, QSize devicePixels)
{
    QPlatformWindow *handle = window ? window->handle() : nullptr;
    if (!handle || devicePixels.isEmpty())
        return;
    const double ratio = platformRatio(window);
    const QSize native(qRound(devicePixels.width() / ratio), qRound(devicePixels.height() / ratio));
    if (handle->geometry().size() != native)
        handle->setGeometry(QRect(handle->geometry().topLeft(), native));
}

QRect nativeGeometry(const QWindow *window)
{
    const QPlatformWindow *handle = window ? window->handle() : nullptr;
    return handle ? handle->geometry() : QRect();
}

QRect logicalGeometry(const QWindow *window, QRect native)
{
    return QHighDpi::fromNativePixels(native, window);
}

} // namespace platform
