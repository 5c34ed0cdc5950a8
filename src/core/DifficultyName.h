#pragma once
// The grade as the game names it to a player.
#include "core/Difficulty.h"

#include <QString>

// Agrees with «головоломка»: «лёгкая», «средняя», «сложная».
inline QString difficultyName(Difficulty d)
{
    switch (d) {
    case Difficulty::Easy:
        return QStringLiteral("лёгкая");
    case Difficulty::Medium:
        return QStringLiteral("средняя");
    case Difficulty::Hard:
        break;
    }
    return QStringLiteral("сложная");
}
