#pragma once
// The main menu's run: the menu and, once its first picture is on the screen,
// the player store, the game's one message box and the sound device.
#include "core/Stars.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace platform
{
class GameApplication;
class SdlSoundPlayer;
} // namespace platform

namespace app
{

class GameDisplay;
class GameSession;
class StoreGuard;
struct Options;

// The form whose closing ends the program: the main menu (TMainForm) unless a
// test puts another form in its place.
using MainFormFactory = std::function<std::unique_ptr<QWidget>(IStarStore *stars)>;
void setMainFormFactory(MainFormFactory factory);

// Until the menu closes; returns the event loop's exit code.
int runMainMenu(platform::GameApplication &application, GameSession &session, GameDisplay &screen,
                StoreGuard &storeGuard, const Options &options, platform::SdlSoundPlayer &player,
                IStarStore *stars);

} // namespace app
