#pragma once
// The game's main routine: the options, the session that sets up and gives
// back the desktop, the store guard, the main menu or a screen opened
// straight away, and the shutdown.
#include "app/GameSession.h"
#include "app/MainMenuRun.h"
#include "app/Options.h"

namespace app {

// The whole program; returns the exit code.
int run(int argc, char **argv);

}  // namespace app
