#include "platform/desktop/ApplicationEvents.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindowStateChangeEvent>

namespace platform
{

ApplicationEvents::ApplicationEvents(QWidget *mainWindow) : QObject(mainWindow), window_(mainWindow)
{
    wasActive_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        const bool active = state == Qt::ApplicationActive;
        if (wasActive_ && !active)
            emit deactivated();
        wasActive_ = active;
    });
    mainWindow->installEventFilter(this);
}

bool ApplicationEvents::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_ && event->type() == QEvent::WindowStateChange) {
        const bool nowMinimized = window_->isMinimized();
        if (nowMinimized && !minimized_) {
            minimized_ = true;
            emit minimized();
        } else if (!nowMinimized && minimized_) {
            minimized_ = false;
            emit restored();
        }
    }
    return false;
}

namespace
{

void centre(QWidget *window)
{
    // A minimised window stays where it is: under a window manager moving it
    // brings it back, and the game gives the display its mode back exactly
    // when it is minimised. Coming back switches the mode again, which centres it.
    if (window->isMinimized())
        return;
    if (QScreen *screen = window->screen()) {
        const QRect area = screen->geometry();
        window->move(area.x() + (area.width() - window->width()) / 2,
                     area.y() + (area.height() - window->height()) / 2);
    }
}

} // namespace

void keepCentredOnScreen(QWidget *window)
{
    centre(window);
    if (QScreen *screen = window->screen())
        QObject::connect(screen, &QScreen::geometryChanged, window, [window] { centre(window); });
}

} // namespace platform
