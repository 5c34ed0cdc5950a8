#include "app/GameSession.h"

#include "app/DataFolder.h"
#include "app/Diagnostics.h"
#include "platform/DisplayModes.h"
#include "platform/Sounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <cstdio>

namespace app
{

GameSession::GameSession(platform::IDisplayModes *display, platform::Sounds &sounds,
                         platform::ISoundPlayer *player, QStringList folders)
    : display_(display), player_(player), folders_(std::move(folders)), sounds_(sounds)
{
}

GameSession::~GameSession()
{
    shutdown();
}

QStringList GameSession::defaultFolders()
{
    QStringList folders{dataFolder(), QCoreApplication::applicationDirPath(), QDir::currentPath()};
    folders.removeDuplicates();
    return folders;
}

QString GameSession::locate(const QString &relativeName, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(relativeName);
        if (QFileInfo::exists(path))
            return path;
    }
    return relativeName;
}

bool GameSession::start()
{
    started_ = true;
    // A missing or damaged library is not checked here: it shows up as
    // silence, and as an error when a screen asks for a picture.
    media_ = platform::PeResourceLibrary::fromFile(locate(QStringLiteral("Media.dll"), folders_));
    if (!media_.isLoaded())
        std::fprintf(stderr, "zentrika: %s\n", qPrintable(media_.errorString()));
    markStep("media library");

    sounds_.setPlayer(player_);
    sounds_.load(media_);
    markStep("sounds");

    font_.add({locate(QStringLiteral("Fonts/comic.ttf"), folders_),
               locate(QStringLiteral("Fonts/comicbd.ttf"), folders_)});
    markStep("font");

    colours_.apply();
    markStep("colours");

    cursorsLoaded_ = cursors_.install(locate(QStringLiteral("cursor.cur"), folders_),
                                      locate(QStringLiteral("hand.cur"), folders_));
    markStep("cursors");

    // Without a back end the game plays in a window and the display stays as it is.
    if (display_ && !platform::SwitchDisplayMode(*display_, ScreenWidth, ScreenHeight)) {
        // Leave the desktop as it was found: the mode, and also the font,
        // colours, sounds and library, which nothing else would give back.
        shutdown();
        return false;
    }
    markStep("display mode");
    running_ = true;
    return true;
}

void GameSession::shutdown()
{
    if (!started_)
        return;
    started_ = false;
    running_ = false;
    font_.remove();
    colours_.restore();
    sounds_.free();
    sounds_.setPlayer(nullptr);
    media_ = platform::PeResourceLibrary();
    if (display_)
        display_->restore();
    cursors_.remove();
    cursorsLoaded_ = 0;
}

QStringList GameSession::diagnostics() const
{
    QStringList lines;
    const QPalette palette = QGuiApplication::palette();
    lines << QStringLiteral("media=%1")
                 .arg(media_.isLoaded() ? media_.fileName()
                                        : QStringLiteral("not loaded: ") + media_.errorString());
    lines << QStringLiteral("font-family=%1").arg(font_.family());
    lines << QStringLiteral("comic-sans-ms=%1")
                 .arg(QFontInfo(QFont(QLatin1String(platform::PrivateFont::Face))).family());
    lines << QStringLiteral("highlight=%1").arg(palette.color(QPalette::Active, QPalette::Highlight).name());
    lines << QStringLiteral("highlighted-text=%1")
                 .arg(palette.color(QPalette::Active, QPalette::HighlightedText).name());
    lines << QStringLiteral("cursors=%1").arg(cursorsLoaded_);
    return lines;
}

} // namespace app
