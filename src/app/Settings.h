#pragma once
// The player's settings, kept between runs in
// $XDG_CONFIG_HOME/zentrika/zentrika.conf: the video mode, the window's size
// and the sound switch. Command-line options override them for one run.
#include "core/Stars.h"

#include <QSize>
#include <QString>

namespace app
{

enum class VideoOption { Auto, Switch, Window, Scale };

QString videoName(VideoOption video);
// Auto for a name we do not know.
VideoOption videoFromName(const QString &name, bool *known = nullptr);

struct Settings {
    VideoOption video = VideoOption::Auto;
    QSize windowSize;             // in the display's pixels; empty until a window was closed
    bool windowMaximised = false; // the window was maximised when the game ended
    bool sound = true;

    // The file under XDG_CONFIG_HOME (or ~/.config).
    static QString defaultPath();
    // What the file holds; a missing file, key or bad value gives the default.
    static Settings load(const QString &path = defaultPath());
    // False when the file could not be written.
    bool save(const QString &path = defaultPath()) const;
};

// The collection's «★» marks, in the same file (collection/stars, a list of
// ids). Only this writes them, at each change; Settings::save leaves them be.
class SettingsStarStore : public IStarStore
{
  public:
    explicit SettingsStarStore(QString path = Settings::defaultPath()) : path_(std::move(path)) {}
    // Junk in the list is skipped (TStars::FromWords); a missing or oversized
    // file gives none.
    TStars LoadStars() override;
    bool SaveStars(const TStars &stars) override;

  private:
    QString path_;
};

// A window size the game can open with: at least a quarter of the picture,
// at most what any display offers; empty for nonsense.
QSize sanitisedWindowSize(QSize size);
// The window's size fitted to the area a screen leaves for windows (device
// pixels; unknown when empty), never below the smallest size allowed.
QSize fittedWindowSize(QSize size, QSize available);

} // namespace app
