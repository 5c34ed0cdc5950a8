#pragma once
// Opening one puzzle screen straight from the command line.
#include <QString>

struct GameContext;

namespace app {

// Runs the collection screen ("collection") or the game screen ("game") for
// the named player, read from the registry or created there, modally; returns
// the exit code.
int runScreen(GameContext &context, const QString &screen, const QString &playerName);

}  // namespace app
