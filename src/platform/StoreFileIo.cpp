#include "platform/StoreFileIo.h"

#include "platform/Registry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace platform::store
{

namespace
{

void renameFile(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        fail(QStringLiteral("cannot rename %1 to %2: %3")
                 .arg(from, to, QString::fromLocal8Bit(std::strerror(errno))));
}

QString column(sqlite3_stmt *stmt)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
}

} // namespace

QString stamp()
{
    return QDateTime::currentDateTime().toString(kStampFormat);
}

void syncFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void fail(const QString &what)
{
    throw ERegistryError(what.toStdString());
}

QString folderOf(const QString &storePath)
{
    return QFileInfo(storePath).absolutePath();
}

QString restoringPath(const QString &storePath)
{
    return storePath + QStringLiteral(".restoring");
}

void commitFile(const QString &from, const QString &to)
{
    syncFile(from);
    renameFile(from, to);
    syncFile(folderOf(to));
}

sqlite3 *openStoreFile(const QString &file, bool readOnly, QString *error)
{
    sqlite3 *db = nullptr;
    const QByteArray name =
        readOnly ? "file:" + QUrl::toPercentEncoding(QFileInfo(file).absoluteFilePath(), "/") + "?immutable=1"
                 : QFile::encodeName(file);
    const int flags = readOnly ? SQLITE_OPEN_READONLY | SQLITE_OPEN_URI : SQLITE_OPEN_READWRITE;
    if (sqlite3_open_v2(name.constData(), &db, flags, nullptr) == SQLITE_OK)
        return db;
    *error = QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);
    return nullptr;
}

void copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot copy %1 to %2: %3")
                 .arg(from, to, source.isOpen() ? target.errorString() : source.errorString()));
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 16);
        if (chunk.isEmpty() && source.error() != QFile::NoError)
            break;
        if (target.write(chunk) != chunk.size() || !target.flush()) {
            const QString why = target.errorString();
            target.close();
            QFile::remove(to);
            fail(QStringLiteral("cannot copy %1 to %2: %3").arg(from, to, why));
        }
    }
    target.close();
    syncFile(to);
}

void removeLeftovers(const QString &folder, const QString &pattern)
{
    // Copies cut short by a crash: their writer is gone.
    const QStringList leftovers = QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden);
    for (const QString &name : leftovers) {
        const pid_t pid = pid_t(name.section(QLatin1Char('-'), -1).section(QLatin1Char('.'), 0, 0).toInt());
        if (pid == ::getpid() || (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH))
            QFile::remove(QDir(folder).filePath(name));
    }
}

SqlCheck sqlCheck(const QString &file, bool readOnly)
{
    SqlCheck out;
    sqlite3 *db = openStoreFile(file, readOnly, &out.detail);
    if (!db)
        return out;
    sqlite3_busy_timeout(db, 10000);
    QStringList problems;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK) {
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            problems << column(stmt);
        if (rc != SQLITE_DONE)
            problems << QString::fromUtf8(sqlite3_errmsg(db));
    } else {
        problems << QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(stmt);
    stmt = nullptr;
    out.ok = problems == QStringList{QStringLiteral("ok")};
    if (!out.ok)
        out.detail = problems.mid(0, 3).join(QStringLiteral("; "));
    // A store has its tables; a database without them is not one.
    if (out.ok &&
        sqlite3_prepare_v2(db, "SELECT count(*) FROM reg_values", -1, &stmt, nullptr) != SQLITE_OK) {
        out.ok = false;
        out.detail = QString::fromUtf8(sqlite3_errmsg(db));
    }
    if (out.ok && sqlite3_step(stmt) == SQLITE_ROW)
        out.holdsData = sqlite3_column_int64(stmt, 0) > 0;
    sqlite3_finalize(stmt);
    stmt = nullptr;
    if (out.ok && sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        out.userVersion = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    stmt = nullptr;
    if (out.ok && sqlite3_prepare_v2(db, "SELECT max(n) FROM reg_serial", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        out.serial = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

} // namespace platform::store
