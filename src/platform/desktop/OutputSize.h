#pragma once
// The size of the screen the game will open on, asked of the display server
// before the GUI toolkit starts: the scale of every window is fixed then.
#include <QSize>

namespace platform {

struct OutputSize {
    QSize pixels;   // the output's current mode, in device pixels; empty when unknown
    int scale = 1;  // the compositor's own integer scale of that output (Wayland)
};

// The first output a Wayland compositor announces (WAYLAND_DISPLAY or the
// given name). Empty when there is no compositor or it announces no output.
OutputSize waylandOutputSize(const char *displayName = nullptr);

// The primary output of an X server (DISPLAY or the given name), through RandR.
OutputSize x11OutputSize(const char *displayName = nullptr);

}  // namespace platform
