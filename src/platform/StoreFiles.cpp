#include "platform/StoreFiles.h"

#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace platform::store {

namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");

QString stamp()
{
    return QDateTime::currentDateTime().toString(kStampFormat);
}

// Data first, then the folder entry that names it: after a crash a renamed
// file is either whole or not there.
void syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

[[noreturn]] void fail(const QString &what)
{
    throw ERegistryError(what.toStdString());
}

// Copies under a temporary name beside `to`, then renames it into place.
void copyInto(const QString &from, const QString &to)
{
    const QString tmp = to + QStringLiteral(".tmp");
    QFile::remove(tmp);
    QFile source(from);
    QFile target(tmp);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot copy %1 to %2: %3").arg(from, to, source.isOpen() ? target.errorString() : source.errorString()));
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFile::NoError)
            break;
        if (target.write(chunk) != chunk.size()) {
            const QString why = target.errorString();
            target.close();
            QFile::remove(tmp);
            fail(QStringLiteral("cannot copy %1 to %2: %3").arg(from, to, why));
        }
    }
    target.close();
    syncFile(tmp);
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(to).constData()) != 0) {
        QFile::remove(tmp);
        fail(QStringLiteral("cannot rename %1 to %2").arg(tmp, to));
    }
    syncFile(QFileInfo(to).absolutePath());
}

void moveAside(const QString &from, const QString &to)
{
    if (!QFile::exists(from))
        return;
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        fail(QStringLiteral("cannot move %1 to %2").arg(from, to));
}

}  // namespace

Health check(const QString &storePath)
{
    const QFileInfo info(storePath);
    if (!info.exists())
        return {true, {}};
    if (info.size() == 0 && QFileInfo(storePath + QStringLiteral("-wal")).size() == 0)
        return {false, QStringLiteral("the file is empty")};
    sqlite3 *db = nullptr;
    Health health;
    if (sqlite3_open_v2(QFile::encodeName(storePath).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        health.detail = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return health;
    }
    sqlite3_busy_timeout(db, 10000);
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr) == SQLITE_OK) {
        QStringList problems;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            problems << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        if (rc != SQLITE_DONE)
            problems << QString::fromUtf8(sqlite3_errmsg(db));
        health.ok = problems == QStringList{QStringLiteral("ok")};
        if (!health.ok)
            health.detail = problems.mid(0, 3).join(QStringLiteral("; "));
    } else {
        health.detail = QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return health;
}

QString backupFolder(const QString &storePath)
{
    return QFileInfo(storePath).absolutePath() + QStringLiteral("/backups");
}

QDateTime backupTime(const QString &backupFile)
{
    static const QRegularExpression name(QStringLiteral("^registry-(\\d{8}-\\d{6})\\.sqlite3$"));
    const auto match = name.match(QFileInfo(backupFile).fileName());
    if (!match.hasMatch())
        return {};
    return QDateTime::fromString(match.captured(1), kStampFormat);
}

QStringList backups(const QString &storePath)
{
    const QDir folder(backupFolder(storePath));
    QStringList out;
    // Names sort by their time; newest first.
    const QStringList names =
        folder.entryList({QStringLiteral("registry-*.sqlite3")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        if (backupTime(name).isValid())
            out << folder.filePath(name);
    }
    return out;
}

QDateTime newestBackupTime(const QString &storePath)
{
    const QStringList all = backups(storePath);
    return all.isEmpty() ? QDateTime() : backupTime(all.first());
}

QString writeBackup(const Registry &registry)
{
    const QString storePath = registry.databasePath();
    const QString folder = backupFolder(storePath);
    if (!QDir().mkpath(folder))
        fail(QStringLiteral("cannot create %1").arg(folder));
    const QString target = folder + QStringLiteral("/registry-") + stamp() + QStringLiteral(".sqlite3");
    const QString tmp = folder + QStringLiteral("/.registry-%1.tmp").arg(::getpid());
    // Copies cut short by a crash: their writer is gone.
    const QStringList leftovers = QDir(folder).entryList({QStringLiteral(".registry-*.tmp*")}, QDir::Files | QDir::Hidden);
    for (const QString &name : leftovers) {
        const pid_t pid = pid_t(name.section(QLatin1Char('-'), 1).section(QLatin1Char('.'), 0, 0).toInt());
        if (pid == ::getpid() || (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH))
            QFile::remove(QDir(folder).filePath(name));
    }
    try {
        registry.copyTo(tmp);
    } catch (...) {
        QFile::remove(tmp);
        QFile::remove(tmp + QStringLiteral("-journal"));
        throw;
    }
    // Only a healthy copy may push an older good one out of the ten.
    const Health health = check(tmp);
    if (!health.ok) {
        QFile::remove(tmp);
        fail(QStringLiteral("the store copied to %1 is damaged: %2").arg(tmp, health.detail));
    }
    syncFile(tmp);
    if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(tmp);
        fail(QStringLiteral("cannot rename %1 to %2").arg(tmp, target));
    }
    syncFile(folder);
    const QStringList all = backups(storePath);
    for (qsizetype i = KeptBackups; i < all.size(); ++i)
        QFile::remove(all.at(i));
    return target;
}

Recovery recover(const QString &storePath, const QString &detail)
{
    Recovery out;
    out.detail = detail;
    if (QFile::exists(storePath)) {
        QString aside = storePath + QStringLiteral(".damaged-") + stamp();
        for (int n = 2; QFile::exists(aside); ++n)
            aside = storePath + QStringLiteral(".damaged-") + stamp() + QStringLiteral("-%1").arg(n);
        moveAside(storePath, aside);
        // The log belongs to the damaged file; the shared-memory index is rebuilt from it.
        moveAside(storePath + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
        moveAside(storePath + QStringLiteral("-journal"), aside + QStringLiteral("-journal"));
        QFile::remove(storePath + QStringLiteral("-shm"));
        syncFile(QFileInfo(storePath).absolutePath());
        out.damagedAs = aside;
    }
    for (const QString &backup : backups(storePath)) {
        if (!check(backup).ok)
            continue;
        copyInto(backup, storePath);
        out.restoredFrom = backup;
        out.restoredDate = backupTime(backup);
        break;
    }
    return out;
}

bool checkAndRecover(const QString &storePath, Recovery *recovery)
{
    const Health health = check(storePath);
    if (health.ok)
        return false;
    const Recovery r = recover(storePath, health.detail);
    if (recovery)
        *recovery = r;
    return true;
}

QString recoveryMessage(const Recovery &r)
{
    if (!r.restoredFrom.isEmpty())
        return QStringLiteral("Файл с данными игроков повреждён. Игроки восстановлены из резервной копии от %1.")
            .arg(r.restoredDate.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    return QStringLiteral("Файл с данными игроков повреждён, а исправной резервной копии нет. Список игроков начат заново.");
}

QString recoveryDetail(const Recovery &r)
{
    QString text = QStringLiteral("the player store was damaged (%1) and moved to %2").arg(r.detail, r.damagedAs);
    if (!r.restoredFrom.isEmpty())
        text += QStringLiteral("; restored from %1").arg(r.restoredFrom);
    return text;
}

}  // namespace platform::store
