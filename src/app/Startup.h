#pragma once
// The game's main routine: the options, the session that sets up and gives
// back the desktop, the store guard, the main menu or a screen opened
// straight away, and the shutdown.
#include "app/GameSession.h"
#include "app/MainMenuRun.h"
#include "app/Options.h"

namespace platform
{
class GameApplication;
}

namespace app
{

// How an escaped error reaches the player: the Russian text of core/Errors.h
// in a modal message box.
void installErrorReport(platform::GameApplication &application);

// The whole program; returns the exit code.
int run(int argc, char **argv);

} // namespace app
