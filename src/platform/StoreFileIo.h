#pragma once
// What the store's check, backups and recovery share about its files: how a
// finished file takes its name, how a store file is opened with SQLite besides
// Registry, and SQLite's own check of one. Only the Store*.cpp files of this
// folder use it; the rest of the program goes through StoreFiles.h.
#include <QString>

struct sqlite3;

namespace platform::store
{

// The time in the names of backups and damaged copies.
inline const QString kStampFormat = QStringLiteral("yyyyMMdd-HHmmss");
QString stamp();

// Raises ERegistryError.
[[noreturn]] void fail(const QString &what);

QString folderOf(const QString &storePath);

// The good copy waiting to replace the store: its presence means the damaged
// files are already kept aside.
QString restoringPath(const QString &storePath);

// Data first, then the folder entry that names it: after a crash a renamed
// file is either whole or not there.
void syncFile(const QString &path);

// The one way a finished file takes its name: its data synced, one rename,
// then the folder synced, so after a crash `to` is the old file or the whole
// new one. A failed rename leaves `from` for the caller to decide about.
void commitFile(const QString &from, const QString &to);

// The one way a store file is opened with SQLite besides Registry. A copy
// read-only is read as it lies: no lock, no log, no side files made beside
// it. Null with the reason in `error` when it cannot be opened.
sqlite3 *openStoreFile(const QString &file, bool readOnly, QString *error);

// A plain copy, synced; raises on a short write (a full disk).
void copyFile(const QString &from, const QString &to);

// Removes the files matching `pattern` in `folder` that a writer cut short by
// a crash left: those whose process id (the name's last "-" part) is gone or
// is this process.
void removeLeftovers(const QString &folder, const QString &pattern);

struct SqlCheck {
    bool ok = false;
    QString detail;
    int userVersion = 0;
    qint64 serial = 0; // batches written into it; 0 in stores of older versions
    bool holdsData = false;
};

// integrity_check: the store is small, so the full check costs little more
// than the quick one and also compares every index with its table.
SqlCheck sqlCheck(const QString &file, bool readOnly);

// What the write-ahead log lost (StoreLog.cpp): empty when every save it
// committed can still be read.
QString lostLogSaves(const QString &storePath);

} // namespace platform::store
