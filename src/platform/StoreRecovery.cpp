// Recovery of a damaged or missing store: the best good copy takes its place
// and the damaged files are kept aside under a second name.
#include "platform/StoreFiles.h"

#include "platform/StoreFileIo.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <unistd.h>

namespace platform::store
{

namespace
{

// A second name for the damaged file, so that it outlives the rename that
// replaces it; a copy where links are not to be had.
void keepAs(const QString &from, const QString &to)
{
    if (!QFileInfo::exists(from))
        return;
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        copyFile(from, to);
}

// The store up to its last readable save: a private copy of the store and
// its log, opened by SQLite (which reads the log to its first damaged frame)
// and folded into one file.
qint64 salvage(const QString &storePath, const QString &to)
{
    copyFile(storePath, to);
    if (QFileInfo::exists(storePath + QStringLiteral("-wal")))
        copyFile(storePath + QStringLiteral("-wal"), to + QStringLiteral("-wal"));
    QString why;
    sqlite3 *db = openStoreFile(to, false, &why);
    bool ok = db && sqlite3_exec(db, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr) == SQLITE_OK;
    ok = sqlite3_close(db) == SQLITE_OK && ok;
    QFile::remove(to + QStringLiteral("-wal"));
    QFile::remove(to + QStringLiteral("-shm"));
    const SqlCheck copy = sqlCheck(to, true);
    return ok && copy.ok ? copy.serial : -1;
}

// Makes the good copy at `to`, whole and synced, and says where it came from.
void makeGoodCopy(const QString &storePath, const Health &health, const QString &to, Recovery *out)
{
    const QList<Backup> ranked = rankedBackups(storePath);
    if (health.lostSaves && QFileInfo::exists(storePath)) {
        qint64 serial = -1;
        try {
            serial = salvage(storePath, to);
        } catch (const ERegistryError &) {
            serial = -1;
        }
        // A backup written after the last readable save holds more than the store.
        out->salvaged = serial >= 0 && (ranked.isEmpty() || ranked.first().serial <= serial);
        if (out->salvaged)
            return;
    }
    for (const Backup &backup : ranked) {
        copyFile(backup.file, to);
        // The copy is checked, not only its source: it is what the store becomes.
        if (!sqlCheck(to, true).ok)
            continue;
        out->restoredFrom = backup.file;
        out->restoredDate = backup.named;
        return;
    }
    QFile::remove(to);
    {
        const Registry empty(to);
    }
    QFile::remove(to + QStringLiteral("-wal"));
    QFile::remove(to + QStringLiteral("-shm"));
    syncFile(to);
}

QString asideName(const QString &storePath)
{
    QString aside = storePath + QStringLiteral(".damaged-") + stamp();
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(aside + QStringLiteral("-wal")); ++n)
        aside = storePath + QStringLiteral(".damaged-") + stamp() + QStringLiteral("-%1").arg(n);
    return aside;
}

// The last step, also run to finish a recovery cut short: the damaged store's
// side files go (their second names keep them), then the good copy takes the
// store's name in one rename.
void putGoodCopyInPlace(const QString &storePath)
{
    for (const char *side : {"-wal", "-shm", "-journal"})
        QFile::remove(storePath + QLatin1String(side));
    commitFile(restoringPath(storePath), storePath);
}

} // namespace

Recovery recover(const QString &storePath, const Health &health)
{
    Recovery out;
    out.detail = health.detail;
    if (QFileInfo::exists(restoringPath(storePath))) {
        out.interrupted = true;
        putGoodCopyInPlace(storePath);
        return out;
    }
    const QString folder = folderOf(storePath);
    const QString tmp = folder + QStringLiteral("/.") + QFileInfo(storePath).fileName() +
                        QStringLiteral(".recovering-%1").arg(::getpid());
    removeLeftovers(folder, QStringLiteral(".*.recovering-*"));
    try {
        makeGoodCopy(storePath, health, tmp, &out);
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    out.wasMissing = !QFileInfo::exists(storePath);
    // The damaged files get their second names before anything replaces them.
    const QString aside = asideName(storePath);
    keepAs(storePath, aside);
    keepAs(storePath + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    keepAs(storePath + QStringLiteral("-journal"), aside + QStringLiteral("-journal"));
    if (!out.wasMissing)
        out.damagedAs = aside;
    syncFile(folder);
    commitFile(tmp, restoringPath(storePath));
    putGoodCopyInPlace(storePath);
    return out;
}

bool checkAndRecover(const QString &storePath, Recovery *recovery)
{
    const Health health = check(storePath);
    if (health.ok)
        return false;
    if (health.inaccessible)
        throw EStoreAccess(
            QStringLiteral("the player store cannot be read or written (%1); nothing was changed")
                .arg(health.detail)
                .toStdString());
    const Recovery r = recover(storePath, health);
    if (recovery)
        *recovery = r;
    return true;
}

QString recoveryDetail(const Recovery &r)
{
    QString text =
        r.interrupted ? QStringLiteral("a recovery of the player store cut short was finished")
        : r.wasMissing
            ? QStringLiteral("the player store was missing (%1)").arg(r.detail)
            : QStringLiteral("the player store was damaged (%1) and kept as %2").arg(r.detail, r.damagedAs);
    if (r.salvaged)
        text += QStringLiteral("; kept its players up to the last readable save");
    else if (!r.restoredFrom.isEmpty())
        text += QStringLiteral("; restored from %1").arg(r.restoredFrom);
    else if (!r.interrupted)
        text += QStringLiteral("; no good backup, started empty");
    return text;
}

} // namespace platform::store
