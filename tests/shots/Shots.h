#pragma once
// The pictures of docs/screens that are made from single windows rather than
// from the running game. Each picture is a case of this program, so that one
// can be taken again alone (--gtest_filter); a case fails when its window
// does not come up as the picture needs it.
#include <QString>

namespace shots
{

// The folder the pictures go to, from the command line.
const QString &outputDir();

// The game folder of the build, for the game's own face and Media.dll.
inline QString gameDir()
{
    return QStringLiteral(ZENTRIKA_GAME_DIR);
}

} // namespace shots
