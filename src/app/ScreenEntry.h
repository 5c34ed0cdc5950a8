#pragma once
// Opening one puzzle screen straight from the command line.
#include "core/Stars.h"

#include <QString>

struct GameContext;
class TMessageBoxForm;

namespace app
{

// Runs the collection screen ("collection") or the game screen ("game") for
// the named player, read from the store or created there, modally, with the
// game's message box (which start-up owns); returns
// the exit code.
int runScreen(GameContext &context, TMessageBoxForm &messages, const QString &screen,
              const QString &playerName);

} // namespace app
