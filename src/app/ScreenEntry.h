#pragma once
// Opening one puzzle screen straight from the command line.
#include "core/Stars.h"

#include <QString>

namespace app {

// Runs the collection screen ("collection") or the game screen ("game") for
// the named player, read from the registry or created there, modally; returns
// the exit code. The collection keeps its «★» marks in stars.
int runScreen(const QString &screen, const QString &playerName, IStarStore *stars = nullptr);

}  // namespace app
