#include "platform/Registry.h"

#include <QDir>

// What a key path may hold and where the player store lies: nothing here
// touches a store.
namespace platform
{

bool Registry::isKeyName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString Registry::subKeyPath(const QString &parent, const QString &name)
{
    if (!isKeyName(name))
        throw ERegistryError(QStringLiteral("\"%1\" cannot be a registry key name").arg(name).toStdString());
    QString path = parent;
    if (!path.endsWith(QLatin1Char('\\')))
        path += QLatin1Char('\\');
    return path + name + QLatin1Char('\\');
}

QString Registry::defaultPath()
{
    const QByteArray env = qgetenv("ZENTRIKA_REGISTRY");
    if (!env.isEmpty())
        return QString::fromLocal8Bit(env);
    QString base = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/zentrika/registry.sqlite3");
}

} // namespace platform
