#include "core/GamePath.h"

#include <QDir>
#include <QFileInfo>

namespace gamepath
{

QString join(const QString &base, const QString &relative)
{
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return base + QLatin1Char('/') + rel;
}

bool isUnsafe(const QString &path)
{
    const QStringList parts =
        QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    // The first part is empty for an absolute path and may be "." or ".." for
    // a relative base given on a command line; the rest comes from data.
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString &p = parts[i];
        if (p.isEmpty() || p == QLatin1String(".") || p == QLatin1String(".."))
            return true;
        if (p.size() >= 2 && p[1] == QLatin1Char(':') && p[0].isLetter())
            return true;
    }
    return false;
}

QString resolve(const QString &path)
{
    const QString clean = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (isUnsafe(clean))
        return {};
    if (QFileInfo(clean).isFile())
        return clean;

    // Walk down from the first part, replacing each part that does not exist
    // by a directory entry that differs only in letter case.
    const QStringList parts = clean.split(QLatin1Char('/'));
    QString current = parts[0];
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString dir = current.isEmpty() ? QStringLiteral("/") : current;
        QString next = current + QLatin1Char('/') + parts[i];
        if (!QFileInfo::exists(next)) {
            const QString wanted = parts[i].toCaseFolded();
            const QStringList entries =
                QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
            bool found = false;
            for (const QString &e : entries)
                if (e.toCaseFolded() == wanted) {
                    next = current + QLatin1Char('/') + e;
                    found = true;
                    break;
                }
            if (!found)
                return {};
        }
        current = next;
    }
    return QFileInfo(current).isFile() ? current : QString();
}

} // namespace gamepath
