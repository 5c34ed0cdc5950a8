#pragma once
// The registry store as files: its health check, the backup copies kept
// beside it in "backups/", and the recovery of a damaged store from them.
// A damaged store is kept aside, never deleted. Callers hold the store lock
// (platform::StoreLock): shared to check, exclusive to recover.
#include "platform/Registry.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform::store
{

inline constexpr int KeptBackups = 10;

// The store cannot be read or written (its permissions, a read-only disk):
// not damage. Nothing was touched.
class EStoreAccess : public ERegistryError
{
  public:
    using ERegistryError::ERegistryError;
};

struct Health {
    bool ok = false;
    bool inaccessible = false; // cannot be read or written; not damaged
    bool lostSaves = false;    // the store is whole, but saves in its log can no longer be read
    QString detail;            // what was found, when not ok
};

// SQLite's integrity_check on the file, after a look at its write-ahead log
// (whose damaged frames SQLite would drop without a word). A missing file is
// healthy when nothing says a store was there (no backups, no damaged copy);
// an empty one is not (a store is never written empty).
Health check(const QString &storePath);

// <store folder>/backups: $XDG_DATA_HOME/zentrika/backups for the player's own store.
QString backupFolder(const QString &storePath);

struct Backup {
    QString file;
    int generation = 0; // counts up with every backup written; 0 in older copies
    QDateTime named;    // the time its name gives
    qint64 serial = 0;  // batches written into the store it copies
    bool holdsData = false;
};
// Backup files that pass the check, best first: holding players, then the
// latest written (by the generation recorded inside, not by the name or the
// clock). Files that fail it are not backups and are left alone.
QList<Backup> rankedBackups(const QString &storePath);
QStringList backups(const QString &storePath);
// When the best backup was written; invalid when there is none, or when its
// time lies ahead of the clock.
QDateTime newestBackupTime(const QString &storePath);
// The time a backup's name gives; invalid for another name.
QDateTime backupTime(const QString &backupFile);

// Writes registry-YYYYMMDD-HHMMSS.sqlite3 from the open store: first under a
// temporary name, then renamed, so a crash never leaves a half copy under a
// real name. Keeps the latest KeptBackups that pass the check. Returns the
// file; raises ERegistryError when the copy fails (a full disk) or does not
// pass the check, leaving no partial file.
QString writeBackup(const Registry &registry);

struct Recovery {
    QString damagedAs;    // where the damaged store was kept; empty when it was missing
    QString restoredFrom; // the backup put in its place; empty: salvaged or a new empty store
    QDateTime restoredDate;
    bool salvaged = false;    // the store itself, up to its last readable save
    bool wasMissing = false;  // no store file was there
    bool interrupted = false; // a recovery cut short was finished
    QString detail;           // what the check found
};

// Puts the best good copy in the store's place: the store itself up to its
// last readable save when only its log lost saves, else the best backup, else
// a new empty store. The copy is made whole first under another name; the
// damaged files are kept as registry.sqlite3.damaged-YYYYMMDD-HHMMSS (with
// their log) by a second link, and the copy then replaces the store by one
// rename. A process killed at any moment leaves either the damaged store or
// the good copy, and a recovery cut short is finished by the next check.
// Raises ERegistryError when the files cannot be written.
Recovery recover(const QString &storePath, const Health &health = {});

// Checks the store and recovers it when damaged or missing. True when it was
// recovered. Raises EStoreAccess, having touched nothing, when the store
// cannot be read or written.
bool checkAndRecover(const QString &storePath, Recovery *recovery);

// The technical detail, for the log.
QString recoveryDetail(const Recovery &recovery);

} // namespace platform::store
