#pragma once
// The size of the screen the game opens on, as the window system gives it.
#include <QSize>

namespace platform
{

struct OutputSize {
    QSize pixels;    // the output's current mode, in device pixels; empty when unknown
    int scale = 1;   // the compositor's own integer scale of that output (Wayland)
    QSize available; // what panels and docks leave of it for a window, in device pixels
};

// Qt's primary screen, once the application exists: the platform plugin has
// asked the display server already (RandR on X11, wl_output on Wayland), so
// no connection of the game's own is needed.
OutputSize primaryOutput();

} // namespace platform
