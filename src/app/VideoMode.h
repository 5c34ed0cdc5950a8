#pragma once
// How the game meets the display, decided before the application object
// exists, since Qt fixes its scale then: the video mode, the display server,
// and the factor that makes the 800 x 600 picture as large as the screen
// (or the window) allows with its aspect kept.
#include "app/Settings.h"
#include "platform/desktop/OutputSize.h"

#include <QSize>
#include <QString>

namespace app
{

// The largest factor at which the picture fits the area; 1 for an unknown area.
double fitFactor(QSize area, QSize picture);

struct VideoPlan {
    VideoOption mode = VideoOption::Scale; // never Auto
    QString platform;                      // the QPA platform asked for; empty: Qt's choice
    QSize output;                          // the output's pixels, when known
    double factor = 1.0;                   // the game's whole scale in device pixels
    double qtFactor = 1.0;                 // what QT_SCALE_FACTOR gets (the compositor may scale too)
    bool userFactor = false;               // the player set QT_SCALE_FACTOR; left alone
};

// The plan for a run. windowSize: the window's last size (window mode);
// output: the screen the game opens on, unknown (empty) before Qt starts.
VideoPlan planVideo(VideoOption requested, QSize windowSize, QSize picture, platform::OutputSize output = {});

// Before Qt starts: the platform, and no factor of Qt's own from the screen's DPI.
void applyVideoPlan(const VideoPlan &plan);
// Once the application exists and before any window: the plan's factor.
void applyVideoScale(const VideoPlan &plan);

} // namespace app
