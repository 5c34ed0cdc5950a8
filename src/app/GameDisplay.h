#pragma once
// The game on the display once the application exists: the stage that holds
// every form in scale and window modes (none in switch mode), the keys that
// work on every screen (F11 and Alt+Enter for full screen or window, M for the
// sounds), and the settings those change.
#include "app/Settings.h"
#include "app/VideoMode.h"

#include <QStringList>
#include <memory>

class TStage;

namespace platform
{
class GameApplication;
class Sounds;
} // namespace platform

namespace app
{

class GameDisplay
{
  public:
    // The keys go through the application's key interceptor for as long as
    // this lives. videoFromCommandLine: the mode holds for this run only and
    // is not saved.
    // sounds: whose switch the key M turns and the settings keep.
    GameDisplay(platform::GameApplication &application, platform::Sounds &sounds, const VideoPlan &plan,
                Settings settings, bool videoFromCommandLine, QSize picture,
                QString settingsPath = Settings::defaultPath());
    ~GameDisplay();
    GameDisplay(const GameDisplay &) = delete;
    GameDisplay &operator=(const GameDisplay &) = delete;

    TStage *stage() const { return stage_.get(); }
    // Shows the stage full screen (scale) or as a window (window).
    void show();
    // What the display looks like now, one "key=value" a line.
    QStringList diagnostics() const;
    // The diagnostics, the form on top and its buttons in the display's
    // pixels, printed on stdout at SIGUSR1: how tests and support see where
    // things are on any screen.
    QStringList layoutReport() const;
    void reportOnSignal();
    const Settings &settings() const { return settings_; }

  private:
    void saveSettings();
    void showWindow();
    void keepFrameOnScreen(int tries);

    platform::GameApplication &application_;
    platform::Sounds &sounds_;
    VideoPlan plan_;
    Settings settings_;
    bool videoFromCommandLine_;
    QString settingsPath_;
    std::unique_ptr<TStage> stage_;
    int reportPipe_[2] = {-1, -1};
};

} // namespace app
