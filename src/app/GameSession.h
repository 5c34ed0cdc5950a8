#pragma once
// Start-up and shutdown of the process-wide resources: media library, sounds,
// font, colours, cursors and display mode, given back in reverse.
#include "platform/PeResourceLibrary.h"
#include "platform/Sounds.h"
#include "platform/desktop/GameCursors.h"
#include "platform/desktop/HighlightColours.h"
#include "platform/desktop/PrivateFont.h"

#include <QString>
#include <QStringList>

namespace platform
{
class IDisplayModes;
class ISoundPlayer;
} // namespace platform

namespace app
{

// The screen size the game takes.
constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;

// Start-up and shutdown of the process-wide resources, in their fixed order.
class GameSession
{
  public:
    // display: null to play in a window without touching the display.
    // sounds: the game's, which start() loads and points at the player and
    // shutdown() silences. player: null for silence. folders: where relative names are looked up,
    // in order (the program's folder, then the current directory, by default).
    GameSession(platform::IDisplayModes *display, platform::Sounds &sounds, platform::ISoundPlayer *player,
                QStringList folders = defaultFolders());
    ~GameSession();
    GameSession(const GameSession &) = delete;
    GameSession &operator=(const GameSession &) = delete;

    static QStringList defaultFolders();
    // The first folder holding the relative name, joined to it; the name as it
    // stands when no folder has it.
    static QString locate(const QString &relativeName, const QStringList &folders);

    // All steps up to the display mode. False when the display could not be
    // switched; everything done before it has been undone by then.
    bool start();
    // The steps in shutdown order; safe to call twice.
    void shutdown();

    bool isRunning() const { return running_; }
    // The display back end given at construction (null in a window).
    platform::IDisplayModes *display() const { return display_; }
    const platform::PeResourceLibrary &media() const { return media_; }
    platform::Sounds &sounds() { return sounds_; }
    const platform::PrivateFont &font() const { return font_; }
    int cursorsLoaded() const { return cursorsLoaded_; }
    platform::GameCursors &cursors() { return cursors_; }
    // What start-up did, one "key=value" a line, for support and tests.
    QStringList diagnostics() const;

  private:
    platform::IDisplayModes *display_;
    platform::ISoundPlayer *player_;
    QStringList folders_;
    platform::PeResourceLibrary media_;
    platform::Sounds &sounds_;
    platform::PrivateFont font_;
    platform::HighlightColours colours_;
    platform::GameCursors cursors_;
    int cursorsLoaded_ = 0;
    bool started_ = false;
    bool running_ = false;
};

} // namespace app
