#pragma once
// The registry store as files: its health check, the backup copies kept
// beside it in "backups/", and the recovery of a damaged store from them.
// A damaged store is moved aside, never deleted.
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace platform {

class Registry;

namespace store {

inline constexpr int KeptBackups = 10;

struct Health {
    bool ok = false;
    QString detail;  // SQLite's own words when not ok
};

// SQLite's quick_check on the file. A missing file is healthy (it is created
// empty); an empty one is not (a store is never written empty).
Health check(const QString &storePath);

// <store folder>/backups: $XDG_DATA_HOME/zentrika/backups for the player's own store.
QString backupFolder(const QString &storePath);
// Backup files, newest first.
QStringList backups(const QString &storePath);
// When the newest backup was written; invalid when there is none.
QDateTime newestBackupTime(const QString &storePath);
// The time a backup's name gives; invalid for another name.
QDateTime backupTime(const QString &backupFile);

// Writes registry-YYYYMMDD-HHMMSS.sqlite3 from the open store: first under a
// temporary name, then renamed, so a crash never leaves a half copy under a
// real name. Keeps the newest KeptBackups. Returns the file; raises
// ERegistryError when the copy fails (a full disk) or does not pass the
// check, leaving no partial file.
QString writeBackup(const Registry &registry);

struct Recovery {
    QString damagedAs;     // where the damaged store was moved
    QString restoredFrom;  // the backup put in its place; empty: a new empty store
    QDateTime restoredDate;
    QString detail;        // what the check found
};

// Moves the store aside as registry.sqlite3.damaged-YYYYMMDD-HHMMSS (with its
// write-ahead log) and puts the newest backup that passes the check in its
// place; with none, the store starts empty. Raises ERegistryError when the
// files cannot be moved.
Recovery recover(const QString &storePath, const QString &detail = {});

// Checks the store and recovers it when damaged. True when it was recovered.
bool checkAndRecover(const QString &storePath, Recovery *recovery);

// What to tell the player, in Russian, on the one line the game's message box has.
QString recoveryMessage(const Recovery &recovery);
// The technical detail, for the log.
QString recoveryDetail(const Recovery &recovery);

}  // namespace store
}  // namespace platform
