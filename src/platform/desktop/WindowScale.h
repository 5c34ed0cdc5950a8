#pragma once
// A window's scale while the game runs. Qt fixes its global factor when the
// application starts; a window the player resizes, or full screen and back,
// needs another one. Qt's per-screen factor changes it the way Qt itself would
// for a screen of another density: text and vector shapes drawn at the
// display's resolution, every click, popup, tooltip and cursor mapped alike.
#include <QRect>
#include <QSize>

class QWindow;

namespace platform
{

// The largest factor at which the picture fits the area, kept at 1/2 or more
// (below that nothing is readable); 1 for an unknown area.
double fitFactor(QSize area, QSize picture);

// The window's size in the display's own pixels (the compositor's buffer
// pixels on Wayland); empty before it is shown.
QSize windowDevicePixels(const QWindow *window);
// A size in the window system's coordinates, in the display's own pixels.
QSize devicePixels(const QWindow *window, QSize native);
// The whole screen the window is on, in the display's own pixels.
QSize screenDevicePixels(const QWindow *window);

// Qt's global factor, set once the application exists and before any window
// does: Qt reads QT_SCALE_FACTOR only as it starts, when the screen's size is
// not known yet without a display connection of our own.
void setGlobalScale(double factor);

// Makes Qt draw every window on this window's screen at `factor` device
// pixels per logical pixel, and gives the windows their new logical geometry
// at once. Returns whether the factor changed.
bool setWindowScale(QWindow *window, double factor);

// Asks the window system for this size of the window, in the display's
// pixels, where the logical size would round it.
void setWindowPixels(QWindow *window, QSize devicePixels);

// The factor the window is drawn at now.
double windowScale(const QWindow *window);

// The window's geometry in the window system's own coordinates, which no
// factor changes, and the logical geometry that places it there now.
QRect nativeGeometry(const QWindow *window);
QRect logicalGeometry(const QWindow *window, QRect native);

} // namespace platform
