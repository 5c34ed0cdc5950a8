#pragma once
// Opening one puzzle screen straight from the command line.
#include "core/Stars.h"

#include <QString>

struct GameContext;

namespace app
{

// Runs the collection screen ("collection") or the game screen ("game") for
// the named player, read from the store or created there, modally, with the
// context's message box (which start-up owns) and on its stage; returns the
// exit code.
int runScreen(GameContext &context, const QString &screen, const QString &playerName);

} // namespace app
