#pragma once
// Where the game's files (list.lst, Data, Images, Media.dll, fonts, cursors)
// are: beside the program in a build tree, or in the shared data folder of an
// installed game (/usr/games/zentrika reads /usr/share/games/zentrika).
#include <QString>

namespace app
{

// programDir: the folder holding the executable. installedRelative: the data
// folder as seen from there once installed. The program's own folder wins
// when it holds a catalogue; the installed folder when only it does; the
// program's folder otherwise, so that a missing catalogue is reported there.
QString findDataFolder(const QString &programDir, const QString &installedRelative);

// The folder for this program, as installed by this build.
QString dataFolder();

} // namespace app
