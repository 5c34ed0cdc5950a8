#include "app/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace app
{

namespace
{
const QString VideoKey = QStringLiteral("video/mode");
const QString WindowKey = QStringLiteral("video/window-size");
const QString MaximisedKey = QStringLiteral("video/window-maximised");
const QString SoundKey = QStringLiteral("sound/on");
const QString StarsKey = QStringLiteral("collection/stars");
// A few lines are all the file holds; a larger one is not ours, and reading
// it whole would cost its size in memory at every start.
constexpr qint64 MaxFileSize = 64 * 1024;

bool isTrue(const QVariant &value)
{
    const QString text = value.toString().trimmed().toLower();
    return text == QLatin1String("true") || text == QLatin1String("on") || text == QLatin1String("1");
}

// Sizes outside this range are a damaged file, not a window anybody had.
constexpr int MinWidth = 400, MinHeight = 300;
constexpr int MaxSide = 16384;
} // namespace

QString videoName(VideoOption video)
{
    switch (video) {
    case VideoOption::Auto:
        return QStringLiteral("auto");
    case VideoOption::Switch:
        return QStringLiteral("switch");
    case VideoOption::Window:
        return QStringLiteral("window");
    case VideoOption::Scale:
        return QStringLiteral("scale");
    }
    return QStringLiteral("auto");
}

VideoOption videoFromName(const QString &name, bool *known)
{
    for (VideoOption v : {VideoOption::Auto, VideoOption::Switch, VideoOption::Window, VideoOption::Scale}) {
        if (name == videoName(v)) {
            if (known)
                *known = true;
            return v;
        }
    }
    if (known)
        *known = false;
    return VideoOption::Auto;
}

QSize sanitisedWindowSize(QSize size)
{
    if (size.width() < MinWidth || size.height() < MinHeight || size.width() > MaxSide ||
        size.height() > MaxSide)
        return {};
    return size;
}

QSize fittedWindowSize(QSize size, QSize available)
{
    if (!size.isValid() || available.isEmpty())
        return size;
    return size.boundedTo(available).expandedTo(QSize(MinWidth, MinHeight));
}

QString Settings::defaultPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/zentrika/zentrika.conf");
}

Settings Settings::load(const QString &path)
{
    Settings s;
    const QFileInfo info(path);
    if (!info.exists() || info.size() > MaxFileSize)
        return s;
    QSettings file(path, QSettings::IniFormat);
    s.video = videoFromName(file.value(VideoKey).toString().trimmed().toLower());
    const QStringList size = file.value(WindowKey).toString().split(QLatin1Char('x'));
    if (size.size() == 2) {
        bool w = false, h = false;
        const QSize parsed(size[0].trimmed().toInt(&w), size[1].trimmed().toInt(&h));
        if (w && h)
            s.windowSize = sanitisedWindowSize(parsed);
    }
    s.windowMaximised = isTrue(file.value(MaximisedKey));
    const QString sound = file.value(SoundKey).toString().trimmed().toLower();
    s.sound =
        !(sound == QLatin1String("false") || sound == QLatin1String("off") || sound == QLatin1String("0"));
    return s;
}

bool Settings::save(const QString &path) const
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    // QSettings reads the old file before writing: not one of that size.
    if (QFileInfo(path).size() > MaxFileSize)
        QFile::remove(path);
    QSettings file(path, QSettings::IniFormat);
    file.setValue(VideoKey, videoName(video));
    if (windowSize.isValid())
        file.setValue(WindowKey, QStringLiteral("%1x%2").arg(windowSize.width()).arg(windowSize.height()));
    else
        file.remove(WindowKey);
    file.setValue(MaximisedKey, windowMaximised);
    file.setValue(SoundKey, sound);
    file.sync();
    return file.status() == QSettings::NoError;
}

TStars SettingsStarStore::LoadStars()
{
    const QFileInfo info(path_);
    if (!info.exists() || info.size() > MaxFileSize)
        return {};
    QSettings file(path_, QSettings::IniFormat);
    // "1, 5, 9" reads as a list, a lone id as a string, junk as anything.
    return TStars::FromWords(file.value(StarsKey).toStringList());
}

bool SettingsStarStore::SaveStars(const TStars &stars)
{
    if (!QDir().mkpath(QFileInfo(path_).path()))
        return false;
    if (QFileInfo(path_).size() > MaxFileSize)
        QFile::remove(path_);
    QSettings file(path_, QSettings::IniFormat);
    if (stars.Count() == 0)
        file.remove(StarsKey);
    else
        file.setValue(StarsKey, stars.ToWords());
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace app
