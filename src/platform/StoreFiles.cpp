// The store's health check and its backups.
#include "platform/StoreFiles.h"

#include "platform/StoreFileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace platform::store
{

namespace
{

// The access SQLite needs to use the store: the file and its side files
// read and written, the folder written (the log is made there).
QString accessProblem(const QString &storePath)
{
    for (const QString &file :
         {storePath, storePath + QStringLiteral("-wal"), storePath + QStringLiteral("-shm")}) {
        if (!QFileInfo::exists(file))
            continue;
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS || errno == EISDIR))
            return QStringLiteral("%1: %2").arg(file, QString::fromLocal8Bit(std::strerror(errno)));
        if (fd >= 0)
            ::close(fd);
    }
    const QString folder = folderOf(storePath);
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("%1: %2").arg(folder, QString::fromLocal8Bit(std::strerror(errno)));
    return {};
}

// Signs of a store that was there: a damaged copy kept aside, an
// unfinished recovery, its log, a backup.
bool storeWasThere(const QString &storePath)
{
    const QFileInfo info(storePath);
    const QStringList aside =
        info.dir().entryList({info.fileName() + QStringLiteral(".damaged-*")}, QDir::Files);
    // A log without its store would be laid onto a new one.
    return !aside.isEmpty() || QFileInfo::exists(restoringPath(storePath)) ||
           QFileInfo::exists(storePath + QStringLiteral("-wal")) || !backups(storePath).isEmpty();
}

} // namespace

Health check(const QString &storePath)
{
    Health health;
    if (QFileInfo::exists(restoringPath(storePath))) {
        health.detail = QStringLiteral("a recovery was cut short");
        return health;
    }
    const QFileInfo info(storePath);
    if (!info.exists()) {
        health.ok = !storeWasThere(storePath);
        if (!health.ok)
            health.detail = QStringLiteral("the store file is missing");
        return health;
    }
    // Opening a store it may not write would leave side files it cannot
    // write either; a store it cannot read is not damaged.
    health.detail = accessProblem(storePath);
    if (!health.detail.isEmpty()) {
        health.inaccessible = true;
        return health;
    }
    if (info.size() == 0 && QFileInfo(storePath + QStringLiteral("-wal")).size() == 0) {
        health.detail = QStringLiteral("the file is empty");
        return health;
    }
    // Before SQLite opens the store: opening it rebuilds the index from the
    // readable log, and closing it folds that into the store.
    health.detail = lostLogSaves(storePath);
    if (!health.detail.isEmpty()) {
        health.lostSaves = true;
        return health;
    }
    const SqlCheck sql = sqlCheck(storePath, false);
    health.ok = sql.ok;
    health.detail = sql.detail;
    return health;
}

QString backupFolder(const QString &storePath)
{
    return folderOf(storePath) + QStringLiteral("/backups");
}

QDateTime backupTime(const QString &backupFile)
{
    static const QRegularExpression name(QStringLiteral("^registry-(\\d{8}-\\d{6})\\.sqlite3$"));
    const auto match = name.match(QFileInfo(backupFile).fileName());
    if (!match.hasMatch())
        return {};
    return QDateTime::fromString(match.captured(1), kStampFormat);
}

namespace
{

// The latest first; among copies of older versions (generation 0) by their
// names' time, a time ahead of the clock last.
bool laterBackup(const Backup &a, const Backup &b)
{
    if (a.generation != b.generation)
        return a.generation > b.generation;
    const QDateTime now = QDateTime::currentDateTime().addSecs(60);
    const bool aFuture = a.named > now;
    if (aFuture != (b.named > now))
        return !aFuture;
    return a.named > b.named;
}

QList<Backup> checkedBackups(const QString &storePath)
{
    const QDir folder(backupFolder(storePath));
    QList<Backup> out;
    for (const QString &name : folder.entryList({QStringLiteral("registry-*.sqlite3")}, QDir::Files)) {
        Backup b;
        b.file = folder.filePath(name);
        b.named = backupTime(name);
        if (!b.named.isValid())
            continue;
        const SqlCheck sql = sqlCheck(b.file, true);
        if (!sql.ok)
            continue;
        b.generation = sql.userVersion;
        b.holdsData = sql.holdsData;
        b.serial = sql.serial;
        out << b;
    }
    std::sort(out.begin(), out.end(), laterBackup);
    return out;
}

} // namespace

QList<Backup> rankedBackups(const QString &storePath)
{
    QList<Backup> out = checkedBackups(storePath);
    std::stable_sort(out.begin(), out.end(),
                     [](const Backup &a, const Backup &b) { return a.holdsData > b.holdsData; });
    return out;
}

QStringList backups(const QString &storePath)
{
    QStringList out;
    for (const Backup &b : rankedBackups(storePath))
        out << b.file;
    return out;
}

QDateTime newestBackupTime(const QString &storePath)
{
    const QList<Backup> all = checkedBackups(storePath);
    if (all.isEmpty() || all.first().named > QDateTime::currentDateTime().addSecs(60))
        return {};
    return all.first().named;
}

namespace
{

void setGeneration(const QString &file, int generation)
{
    const QByteArray sql = "PRAGMA user_version = " + QByteArray::number(generation);
    QString why;
    sqlite3 *db = openStoreFile(file, false, &why);
    const bool ok = db && sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    if (db && !ok)
        why = QString::fromUtf8(sqlite3_errmsg(db));
    if (sqlite3_close(db) != SQLITE_OK || !ok)
        fail(QStringLiteral("cannot mark the backup %1: %2").arg(file, why));
}

} // namespace

QString writeBackup(const Registry &registry)
{
    const QString storePath = registry.databasePath();
    const QString folder = backupFolder(storePath);
    if (!QDir().mkpath(folder))
        fail(QStringLiteral("cannot create %1").arg(folder));
    const QString target = folder + QStringLiteral("/registry-") + stamp() + QStringLiteral(".sqlite3");
    const QString tmp = folder + QStringLiteral("/.registry.tmp-%1").arg(::getpid());
    removeLeftovers(folder, QStringLiteral(".registry*.tmp*"));
    const QList<Backup> before = checkedBackups(storePath);
    try {
        registry.copyTo(tmp);
        setGeneration(tmp, before.isEmpty() ? 1 : before.first().generation + 1);
    } catch (...) {
        QFile::remove(tmp);
        QFile::remove(tmp + QStringLiteral("-journal"));
        throw;
    }
    // Only a healthy copy may push an older good one out of the ten.
    const SqlCheck health = sqlCheck(tmp, true);
    if (!health.ok) {
        QFile::remove(tmp);
        fail(QStringLiteral("the store copied to %1 is damaged: %2").arg(tmp, health.detail));
    }
    try {
        commitFile(tmp, target);
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    // Only checked copies count towards the ten and are rotated out; the one
    // just written has the latest generation.
    const QList<Backup> all = checkedBackups(storePath);
    for (qsizetype i = KeptBackups; i < all.size(); ++i) {
        if (all.at(i).file != target)
            QFile::remove(all.at(i).file);
    }
    return target;
}

} // namespace platform::store
