#pragma once
// What the screens share, built once by the game's start-up and handed down
// by constructor: menu, then screens, then the flows they run. Nothing here is
// owned; whoever builds the context keeps each part alive longer than every
// screen made with it (a test builds its own from fakes and a temporary store).
#include <QString>

#include <functional>

namespace platform
{
class IResourceLibrary;
class Sounds;
class UserStore;
} // namespace platform
class IMessages;
class IStarStore;
class TStage;
class TMemoBook;

struct GameContext {
    // Media.dll: pictures, logos and their names. One that is not loaded
    // raises EResourceError for each picture asked of it.
    const platform::IResourceLibrary &media;
    // The player store, opened once by its owner; the collection needs none.
    platform::UserStore &store;
    // Where list.lst, Data and Images are.
    QString dataFolder;
    // Where the collection keeps its «★» marks (the settings file); null keeps
    // them for one opening of the screen.
    IStarStore *stars = nullptr;
    // The collection's memos, kept for as long as the game runs; null keeps
    // them for one opening of the screen.
    TMemoBook *memos = nullptr;
    // What opens the about box's web and mail links; empty opens them with
    // the desktop's shell (a test records them instead).
    std::function<void(const QString &target)> openLink = {};
    // The game's sounds and their switch; null is silence (and a switch
    // that turns nothing).
    platform::Sounds *sounds = nullptr;
    // The game's one message box, which start-up owns and sets once the
    // menu's first picture is on the screen. Until then (and in a test that
    // gives none) a notice goes unseen and a question is taken as yes.
    IMessages *messages = nullptr;
    // The one window every form shows inside in the scaled and windowed
    // modes; null where each form is a window of its own. A form made with
    // the context shows there; one it owns follows its owner.
    TStage *stage = nullptr;
};
