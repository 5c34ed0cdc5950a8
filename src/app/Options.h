#pragma once
// The command line: the options a player may give, the help that lists them
// and the console answer to --help, --version or a mistake.
#include "app/Settings.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace app
{

struct Options {
    VideoOption video = VideoOption::Auto;
    bool videoGiven = false;   // --video on the command line, over the settings
    std::optional<bool> sound; // --sound=on|off, over the settings
    bool help = false;
    bool version = false;
    bool diagnostics = false;
    // Opens one screen straight away instead of the main menu: "game" or "collection".
    QString screen;
    QString player;  // the game screen's player, loaded or created
    QString dataDir; // the folder holding list.lst, Data and Images
    QString error;   // an option we do not know, or a bad value
};

Options parseOptions(const QStringList &arguments); // without the program name
QStringList argumentsOf(int argc, char **argv);     // main's, less the program name
QString helpText();
QString versionText();

// An error in the options (exit code 2, the help on stderr), --help or
// --version (0): answered on the console with no window. Nothing otherwise.
std::optional<int> answerOnConsole(const Options &options);

} // namespace app
