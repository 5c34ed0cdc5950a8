#include "app/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef ZENTRIKA_INSTALLED_DATA
#define ZENTRIKA_INSTALLED_DATA "../share/games/zentrika"
#endif

namespace app
{

namespace
{
bool holdsCatalogue(const QString &folder)
{
    return QFileInfo(QDir(folder).filePath(QStringLiteral("list.lst"))).isFile();
}
} // namespace

QString findDataFolder(const QString &programDir, const QString &installedRelative)
{
    if (holdsCatalogue(programDir) || installedRelative.isEmpty())
        return programDir;
    // Relative to the program, so that an unpacked or relocated tree works too.
    const QString installed = QDir::cleanPath(QDir(programDir).filePath(installedRelative));
    return holdsCatalogue(installed) ? installed : programDir;
}

QString dataFolder()
{
    return findDataFolder(QCoreApplication::applicationDirPath(), QStringLiteral(ZENTRIKA_INSTALLED_DATA));
}

} // namespace app
