#include "platform/Registry.h"

#include <sqlite3.h>

// The online backup of a whole store, apart from the key and value code.
namespace platform::registrycopy
{

void copyDatabase(sqlite3 *source, const QString &file)
{
    sqlite3 *target = nullptr;
    auto fail = [&](const QString &what) {
        const QString msg = QString::fromUtf8(target ? sqlite3_errmsg(target) : "out of memory");
        sqlite3_close(target);
        throw ERegistryError(
            QStringLiteral("Registry %1 failed: %2 (%3)").arg(what, msg, file).toStdString());
    };
    if (sqlite3_open_v2(file.toUtf8().constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        fail(QStringLiteral("backup open"));
    sqlite3_backup *backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup)
        fail(QStringLiteral("backup"));
    // All pages in one step: the store is small, and a partial copy is never wanted.
    int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        fail(QStringLiteral("backup"));
    if (sqlite3_exec(target, "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QStringLiteral("backup"));
    if (sqlite3_close(target) != SQLITE_OK)
        fail(QStringLiteral("backup close"));
}

} // namespace platform::registrycopy
