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

struct GameContext;

namespace app
{

class GameDisplay;
class GameSession;
class StoreGuard;
struct Options;

// Until the menu closes; returns the event loop's exit code. The menu and the
// screens it opens are made with context.
int runMainMenu(platform::GameApplication &application, GameContext &context, GameSession &session,
                GameDisplay &screen, StoreGuard &storeGuard, const Options &options,
                platform::SdlSoundPlayer &player);

} // namespace app
