#include "platform/StoreFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
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

QString folderOf(const QString &storePath)
{
    return QFileInfo(storePath).absolutePath();
}

// The good copy waiting to replace the store: its presence means the damaged
// files are already kept aside.
QString restoringPath(const QString &storePath)
{
    return storePath + QStringLiteral(".restoring");
}

void renameFile(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        fail(QStringLiteral("cannot rename %1 to %2: %3")
                 .arg(from, to, QString::fromLocal8Bit(std::strerror(errno))));
}

// The one way a finished file takes its name: its data synced, one rename,
// then the folder synced, so after a crash `to` is the old file or the whole
// new one. A failed rename leaves `from` for the caller to decide about.
void commitFile(const QString &from, const QString &to)
{
    syncFile(from);
    renameFile(from, to);
    syncFile(folderOf(to));
}

// The one way this file opens a store file with SQLite besides Registry. A
// copy read-only is read as it lies: no lock, no log, no side files made
// beside it. Null with the reason in `error` when it cannot be opened.
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

// A plain copy, synced; raises on a short write (a full disk).
void copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot copy %1 to %2: %3").arg(from, to, source.isOpen() ? target.errorString() : source.errorString()));
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

// A second name for the damaged file, so that it outlives the rename that
// replaces it; a copy where links are not to be had.
void keepAs(const QString &from, const QString &to)
{
    if (!QFileInfo::exists(from))
        return;
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        copyFile(from, to);
}

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

struct SqlCheck {
    bool ok = false;
    QString detail;
    int userVersion = 0;
    qint64 serial = 0; // batches written into it; 0 in stores of older versions
    bool holdsData = false;
};

QString column(sqlite3_stmt *stmt)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
}

// integrity_check: the store is small, so the full check costs little more
// than the quick one and also compares every index with its table.
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

} // namespace

// ---------------------------------------------------------------------------
// The write-ahead log. SQLite reads it up to the first frame whose checksum
// fails and drops the rest without a word, so one damaged byte there loses
// the saves behind it while the store itself checks whole. The shared-memory
// index beside it, left by the last writer even when it was killed, says how
// far the log had been committed.

namespace
{

struct LogFrames {
    bool headerOk = false;
    qsizetype readable = 0;  // frames up to the last readable commit
    qsizetype damagedAt = 0; // 1-based frame whose checksum fails, 0 when none
};

LogFrames readLog(const QByteArray &log)
{
    LogFrames out;
    if (log.size() < 32)
        return out;
    auto be = [&](qsizetype at) { return qFromBigEndian<quint32>(log.constData() + at); };
    const quint32 magic = be(0);
    const quint32 page = be(8);
    if ((magic & ~1u) != 0x377f0682u || page < 512 || page > 65536 || (page & (page - 1)) != 0)
        return out;
    const bool bigEndian = magic & 1u;
    quint32 s1 = 0;
    quint32 s2 = 0;
    auto sum = [&](qsizetype at, qsizetype n) {
        for (qsizetype i = at; i < at + n; i += 8) {
            const quint32 x0 = bigEndian ? be(i) : qFromLittleEndian<quint32>(log.constData() + i);
            const quint32 x1 = bigEndian ? be(i + 4) : qFromLittleEndian<quint32>(log.constData() + i + 4);
            s1 += x0 + s2;
            s2 += x1 + s1;
        }
    };
    sum(0, 24);
    out.headerOk = s1 == be(24) && s2 == be(28);
    if (!out.headerOk)
        return out;
    const qsizetype frame = 24 + qsizetype(page);
    qsizetype n = 0;
    for (qsizetype at = 32; at + frame <= log.size(); at += frame) {
        // Another salt: a frame of an older round of the log, its normal end.
        if (std::memcmp(log.constData() + at + 8, log.constData() + 16, 8) != 0)
            break;
        ++n;
        sum(at, 8);
        sum(at + 24, page);
        if (s1 != be(at + 16) || s2 != be(at + 20)) {
            out.damagedAt = n;
            break;
        }
        if (be(at + 4) != 0)
            out.readable = n;
    }
    return out;
}

// The last committed frame the index knows of; -1 without a usable index.
qint64 indexedFrames(const QString &storePath, const QByteArray &log)
{
    QFile shm(storePath + QStringLiteral("-shm"));
    if (log.size() < 32 || !shm.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = shm.read(96);
    // Two copies of a 48-byte header in the host's byte order, kept equal by
    // every writer; the salts tie it to this round of the log.
    if (head.size() < 96 || std::memcmp(head.constData(), head.constData() + 48, 48) != 0 ||
        head.at(12) != 1 || std::memcmp(head.constData() + 32, log.constData() + 16, 8) != 0)
        return -1;
    quint32 frames;
    std::memcpy(&frames, head.constData() + 16, 4);
    return frames;
}

QString lostLogSaves(const QString &storePath)
{
    QFile wal(storePath + QStringLiteral("-wal"));
    if (!wal.open(QIODevice::ReadOnly) || wal.size() <= 32)
        return {};
    const QByteArray log = wal.readAll();
    const LogFrames frames = readLog(log);
    if (!frames.headerOk)
        return QStringLiteral("the header of the write-ahead log is damaged; the saves in it cannot be read");
    const qint64 indexed = indexedFrames(storePath, log);
    if (indexed > frames.readable)
        return QStringLiteral("the write-ahead log was committed to frame %1 but reads only to frame %2")
            .arg(indexed)
            .arg(frames.readable);
    // Without an index, a damaged frame of this round is taken as a lost save:
    // a frame cut short by a killed writer leaves the index behind it.
    if (indexed < 0 && frames.damagedAt > 0)
        return QStringLiteral("frame %1 of the write-ahead log is damaged").arg(frames.damagedAt);
    return {};
}

} // namespace

// ---------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------
// Recovery

namespace
{

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

}  // namespace platform::store
