// zentrika-profile: lists, shows, exports, imports and deletes players in the
// registry store the game uses ($ZENTRIKA_REGISTRY or the user's own). It needs
// no media library: a profile is only numbers and lists.
#include "LogCommands.h"
#include "core/AnswerLog.h"
#include "core/PlayerName.h"
#include "core/ProfileBackup.h"
#include "core/ProfileFormat.h"
#include "core/ProfileImport.h"
#include "core/User.h"
#include "platform/BoundedFile.h"
#include "platform/InputLimits.h"
#include "platform/InstanceLock.h"
#include "platform/Registry.h"
#include "platform/StoreFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>

using platform::Registry;
using platform::RegistryKey;

namespace
{

class ProfileError : public std::runtime_error
{
  public:
    explicit ProfileError(const QString &m) : std::runtime_error(m.toStdString()) {}
};

// The key name of a stored player, as stored, found without regard to case;
// failing that, the player whose name looks the same in the game's list.
std::optional<QString> findPlayer(Registry &registry, const QString &name)
{
    const QStringList names = registry.subKeyNames(TUser::UsersKey);
    for (const QString &stored : names) {
        if (stored.compare(name, Qt::CaseInsensitive) == 0 || stored.toCaseFolded() == name.toCaseFolded())
            return stored;
    }
    const QString lookalike = playername::findStored(names, name);
    return lookalike.isEmpty() ? std::nullopt : std::optional<QString>(lookalike);
}

// A stored count is trusted only within the game's own capacity: a damaged one
// must not make us allocate for it.
int storedCount(const RegistryKey &key, const profileformat::Value &v)
{
    const std::int32_t n = key.readInteger(QLatin1String(v.name));
    if (n < 0 || n > v.max)
        throw ProfileError(QStringLiteral("\"%1\" is %2; the game holds at most %3")
                               .arg(QLatin1String(v.name))
                               .arg(n)
                               .arg(v.max));
    return n;
}

// A value added after the first profiles: missing or unreadable, it is empty
// as the game reads it, and then left out of what is shown and exported.
int optionalCount(const RegistryKey &key, const profileformat::Value &v)
{
    try {
        return key.valueExists(QLatin1String(v.name)) ? storedCount(key, v) : 0;
    } catch (const std::exception &) {
        return 0;
    }
}

// A list's elements as the import reads them back: a number for a one-field
// element, else an object of its fields.
QJsonArray listJson(const RegistryKey &key, const profileformat::Value &v, int count)
{
    const QString name = QLatin1String(v.name);
    const QByteArray bytes = key.valueExists(name) ? key.readBinary(name) : QByteArray();
    QJsonArray out;
    for (const profileformat::Element &e : profileformat::decode(v, bytes, count)) {
        if (v.fields.size() == 1) {
            out.append(qint64(e.at(0)));
            continue;
        }
        QJsonObject o;
        for (std::size_t i = 0; i < v.fields.size(); ++i)
            o.insert(QLatin1String(v.fields[i].name), qint64(e.at(i)));
        out.append(o);
    }
    return out;
}

// The values as stored: integers unnarrowed, so that show tells what is there.
QJsonObject readProfile(Registry &registry, const QString &keyName)
{
    using profileformat::Kind;
    const auto key = registry.openKeyReadOnly(TUser::PlayerPath(keyName));
    if (!key)
        throw ProfileError(QStringLiteral("no player named '%1'").arg(keyName));
    QJsonObject o;
    int count = 0;
    for (const profileformat::Value &v : profileformat::values()) {
        const QString name = QLatin1String(v.name);
        if (v.optional && v.kind == Kind::Count) {
            count = optionalCount(*key, v);
            if (count > 0)
                o.insert(name, count);
            continue;
        }
        if (v.optional && count == 0)
            continue;
        switch (v.kind) {
        case Kind::Text:
            o.insert(name, key->valueExists(name) ? key->readString(name) : QString());
            break;
        case Kind::Integer:
            o.insert(name, key->readInteger(name));
            break;
        case Kind::Count:
            count = storedCount(*key, v);
            o.insert(name, count);
            break;
        case Kind::List:
            o.insert(name, listJson(*key, v, count));
            break;
        }
    }
    return o;
}

// JSON objects do not keep key order; the profile's own order is the
// registry's, and the answer log (when given) comes last, a record a line.
QByteArray toJson(const QJsonObject &o, const QByteArray &log = {})
{
    const auto order = profileformat::values();
    QStringList lines;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (!o.contains(QLatin1String(order[i].name)))
            continue; // an optional value left out
        const QJsonValue v = o.value(QLatin1String(order[i].name));
        QByteArray value;
        if (v.isArray()) {
            QStringList parts;
            for (const QJsonValue &e : v.toArray())
                parts << QString::fromUtf8(e.isObject()
                                               ? QJsonDocument(e.toObject()).toJson(QJsonDocument::Compact)
                                               : QByteArray::number(e.toInteger()));
            value = "[" + parts.join(QStringLiteral(", ")).toUtf8() + "]";
        } else {
            value = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
        }
        lines << QStringLiteral("  \"%1\": %2").arg(QLatin1String(order[i].name), QString::fromUtf8(value));
    }
    if (!log.isEmpty())
        lines << QStringLiteral("  \"%1\": %2")
                     .arg(QLatin1String(profileimport::LogKey), QString::fromUtf8(log));
    return "{\n" + lines.join(QStringLiteral(",\n")).toUtf8() + "\n}\n";
}

int usage()
{
    std::fprintf(
        stderr,
        "usage: zentrika-profile list | show NAME | export NAME [--no-log] | import FILE | delete NAME\n"
        "                        | log NAME [--json] | stats NAME [--json]\n"
        "                        | restore NAME [1|2|3] | restore NAME --from FILE\n"
        "                        | check | recover | backup\n"
        "Every save, and delete, keeps the profile it replaces as backup 1 (three are kept);\n"
        "restore brings one back, a deleted player too.\n"
        "backup writes a copy of the store into backups/ beside it (the newest %d are kept);\n"
        "restore --from takes one player from such a copy. check tells whether the store is\n"
        "healthy (exit 0), damaged or missing (exit 1), or cannot be read or written (exit 3);\n"
        "recover keeps a damaged store aside and puts the best good copy in its place, as the\n"
        "game does at start.\n"
        "log prints the player's answer log, stats the figures of the statistics screen.\n"
        "export carries the answer log (\"Answer log\", last); --no-log writes the profile as\n"
        "builds without the log read it. An import with a log replaces the stored log (kept\n"
        "as a deleted player's is); one without keeps it.\n"
        "The store is $ZENTRIKA_REGISTRY, or the player's own.\n",
        platform::store::KeptBackups);
    return 2;
}

// One player from a backup file, read from a private copy: opening a store
// writes to it, and the backup must stay as it was.
std::unique_ptr<TUser> playerFromBackup(const QString &file, const QString &name)
{
    if (!QFile::exists(file))
        throw ProfileError(QStringLiteral("%1: no such file").arg(file));
    const platform::store::Health health = platform::store::check(file);
    if (!health.ok)
        throw ProfileError(QStringLiteral("%1 is damaged: %2").arg(file, health.detail));
    QTemporaryDir tmp;
    const QString copy = tmp.filePath(QStringLiteral("backup.sqlite3"));
    if (!tmp.isValid() || !QFile::copy(file, copy))
        throw ProfileError(QStringLiteral("%1: cannot be copied to a temporary folder").arg(file));
    Registry backup(copy);
    const auto stored = findPlayer(backup, name);
    if (!stored)
        throw ProfileError(QStringLiteral("%1 holds no player named '%2'").arg(file, name));
    QJsonObject o = readProfile(backup, *stored);
    if (o.value(QStringLiteral("Name")).toString().isEmpty())
        o.insert(QStringLiteral("Name"), *stored);
    auto user = profileimport::fromJson(o);
    user->PendingLog = answerlog::load(backup, TUser::PlayerPath(*stored)).records;
    return user;
}

// Replaces (or adds) the player, keeping the replaced profile as backup 1.
// A profile that brings a log replaces the stored log, which is kept as a
// deleted player's is; one without keeps the stored log.
void storeProfile(Registry &registry, const TUser &user, bool carriesLog)
{
    registry.transaction([&] {
        QString keptLog;
        if (const auto existing = findPlayer(registry, user.Name)) {
            ProfileBackup::keepPrevious(registry, *existing);
            keptLog = ProfileBackup::logHoldPath(*existing);
            if (!carriesLog)
                keptLog = Registry::subKeyPath(keptLog, QStringLiteral("moving"));
            registry.openKey(keptLog, true);
            answerlog::move(registry, TUser::PlayerPath(*existing), keptLog);
            registry.deleteKey(TUser::PlayerPath(*existing));
        }
        user.SaveToRegistry(registry);
        if (!carriesLog && !keptLog.isEmpty()) {
            answerlog::move(registry, keptLog, user.KeyPath());
            registry.deleteKey(keptLog);
        }
    });
}

bool changesStore(const QString &command)
{
    static const char *const changing[] = {"import", "delete", "restore", "recover"};
    return std::any_of(std::begin(changing), std::end(changing),
                       [&](const char *c) { return command == QLatin1String(c); });
}

// A game saves its player over whatever we write meanwhile; so does a second
// tool. Writers hold the game's lock and the store alone; readers share the
// store, so that none opens it while a recovery replaces it.
void lockStore(const QString &command, platform::InstanceLock &game, platform::StoreLock &store)
{
    const bool writes = changesStore(command);
    if (writes && !game.tryLock()) {
        if (game.unavailable())
            throw ProfileError(game.error() + QStringLiteral("; nothing was changed"));
        throw ProfileError(
            QStringLiteral("the game (or another zentrika-profile) is using %1; close it first")
                .arg(Registry::defaultPath()));
    }
    if (!store.lock(writes ? platform::StoreLock::Mode::Exclusive : platform::StoreLock::Mode::Shared,
                    10000)) {
        if (!store.error().isEmpty())
            throw ProfileError(store.error() + QStringLiteral("; nothing was read or changed"));
        throw ProfileError(QStringLiteral("%1 stays locked by a recovery or a write; try again")
                               .arg(Registry::defaultPath()));
    }
}

// Opening a missing store would make an empty one, which would then pass for
// the real one; a store a recovery left unfinished is finished first.
std::optional<int> refuseMissingStore(const QString &command, const QString &storePath)
{
    if (QFile::exists(storePath) && !QFile::exists(storePath + QStringLiteral(".restoring")))
        return std::nullopt;
    const platform::store::Health health = platform::store::check(storePath);
    if (!health.ok)
        throw ProfileError(QStringLiteral("%1: %2; 'zentrika-profile recover' brings the players back")
                               .arg(storePath, health.detail));
    if (command == QLatin1String("import") || command == QLatin1String("restore"))
        return std::nullopt; // a first player makes the store
    if (command == QLatin1String("list"))
        return 0;
    throw ProfileError(QStringLiteral("%1 holds no players yet").arg(storePath));
}

// check and recover work on the store's file, which may not open as a store.
std::optional<int> runStoreFileCommand(const QString &command, const QStringList &args,
                                       const QString &storePath)
{
    if (command == QLatin1String("check") && args.size() == 1) {
        const platform::store::Health health = platform::store::check(storePath);
        const QStringList kept = platform::store::backups(storePath);
        const QString state = health.ok ? QStringLiteral("healthy")
                              : health.inaccessible
                                  ? QStringLiteral("cannot be read or written: ") + health.detail
                                  : QStringLiteral("damaged: ") + health.detail;
        std::printf("%s: %s\n", qPrintable(storePath), qPrintable(state));
        std::printf("backups: %d%s\n", int(kept.size()),
                    kept.isEmpty() ? "" : qPrintable(QStringLiteral(", the newest ") + kept.first()));
        return health.ok ? 0 : health.inaccessible ? 3 : 1;
    }
    if (command == QLatin1String("recover") && args.size() == 1) {
        platform::store::Recovery r;
        if (!platform::store::checkAndRecover(storePath, &r)) {
            std::printf("%s is healthy; nothing to do\n", qPrintable(storePath));
            return 0;
        }
        if (r.interrupted)
            std::printf("finished a recovery that was cut short\n");
        else if (r.wasMissing)
            std::printf("the store was missing (%s)\n", qPrintable(r.detail));
        else
            std::printf("kept the damaged store as %s (%s)\n", qPrintable(r.damagedAs), qPrintable(r.detail));
        if (r.salvaged)
            std::printf(
                "kept the players as they were at the last readable save; the saves after it are lost\n");
        else if (!r.restoredFrom.isEmpty())
            std::printf("restored the players from %s\n", qPrintable(r.restoredFrom));
        else if (!r.interrupted)
            std::printf("no good backup: the store starts empty\n");
        return 0;
    }

    return std::nullopt;
}

std::optional<int> runPlayerCommand(Registry &registry, const QString &command, const QStringList &args)
{
    if (command == QLatin1String("list") && args.size() == 1) {
        for (const QString &name : registry.subKeyNames(TUser::UsersKey)) {
            try {
                const QJsonObject o = readProfile(registry, name);
                std::printf("%s\tlevel %d\tscore %d\n", qPrintable(name),
                            o.value(QStringLiteral("Level")).toInt(),
                            o.value(QStringLiteral("Scores")).toInt());
            } catch (const std::exception &e) {
                std::printf("%s\tunreadable: %s\n", qPrintable(name), e.what());
            }
        }
        return 0;
    }
    const bool option = args.size() == 3 && args.at(2).startsWith(QLatin1String("--"));
    if ((command == QLatin1String("show") && args.size() == 2) ||
        (command == QLatin1String("export") &&
         (args.size() == 2 || (option && args.at(2) == QLatin1String("--no-log"))))) {
        const auto stored = findPlayer(registry, args.at(1));
        if (!stored)
            throw ProfileError(QStringLiteral("no player named '%1'").arg(args.at(1)));
        QByteArray log;
        if (command == QLatin1String("export") && args.size() == 2) {
            const answerlog::Loaded stored_log = answerlog::load(registry, TUser::PlayerPath(*stored));
            qint64 leftOut = 0;
            if (!stored_log.records.empty())
                log = profiletool::exportLog(stored_log.records, &leftOut);
            if (leftOut + stored_log.unreadable > 0 || stored_log.damaged)
                std::fprintf(stderr, "zentrika-profile: %lld log records could not be exported\n",
                             leftOut + stored_log.unreadable);
        }
        const QByteArray json = toJson(readProfile(registry, *stored), log);
        std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
        return 0;
    }
    if ((command == QLatin1String("log") || command == QLatin1String("stats")) &&
        (args.size() == 2 || (option && args.at(2) == QLatin1String("--json")))) {
        const auto stored = findPlayer(registry, args.at(1));
        if (!stored)
            throw ProfileError(QStringLiteral("no player named '%1'").arg(args.at(1)));
        const bool json = args.size() == 3;
        return command == QLatin1String("log") ? profiletool::printLog(registry, *stored, json)
                                               : profiletool::printStats(registry, *stored, json);
    }
    if (command == QLatin1String("import") && args.size() == 2) {
        // Read within the limit: a file of any size must not take the memory.
        const platform::BoundedRead file = platform::readBoundedFile(args.at(1), limits::MaxProfileFileBytes);
        if (!file.ok())
            throw ProfileError(file.detail);
        bool carriesLog = false;
        const auto user = profileimport::fromJson(file.bytes, &carriesLog);
        storeProfile(registry, *user, carriesLog);
        std::printf("imported %s\n", qPrintable(user->Name));
        return 0;
    }
    if (command == QLatin1String("delete") && args.size() == 2) {
        const auto stored = findPlayer(registry, args.at(1));
        if (!stored)
            throw ProfileError(QStringLiteral("no player named '%1'").arg(args.at(1)));
        ProfileBackup::deletePlayer(registry, *stored);
        std::printf("deleted %s; 'restore %s' brings the profile back\n", qPrintable(*stored),
                    qPrintable(*stored));
        return 0;
    }
    return std::nullopt;
}

std::optional<int> runBackupCommand(Registry &registry, const QString &command, const QStringList &args)
{
    if (command == QLatin1String("backup") && args.size() == 1) {
        std::printf("%s\n", qPrintable(platform::store::writeBackup(registry)));
        return 0;
    }
    if (command == QLatin1String("restore") && args.size() == 4 && args.at(2) == QLatin1String("--from")) {
        const auto user = playerFromBackup(args.at(3), args.at(1));
        storeProfile(registry, *user, true);
        std::printf("restored %s from %s; the replaced profile is now backup 1\n", qPrintable(user->Name),
                    qPrintable(args.at(3)));
        return 0;
    }
    if (command == QLatin1String("restore") && (args.size() == 2 || args.size() == 3)) {
        const QString name = findPlayer(registry, args.at(1)).value_or(args.at(1));
        if (!Registry::isKeyName(name))
            throw ProfileError(QStringLiteral("'%1' is not a player name").arg(name));
        bool ok = true;
        const int which = args.size() == 3 ? args.at(2).toInt(&ok) : 1;
        const QList<int> kept = ProfileBackup::available(registry, name);
        if (!ok || !ProfileBackup::restore(registry, name, which)) {
            QStringList numbers;
            for (int n : kept)
                numbers << QString::number(n);
            throw ProfileError(kept.isEmpty() ? QStringLiteral("no backups of '%1'").arg(name)
                                              : QStringLiteral("'%1' has backups %2 (1 is the newest)")
                                                    .arg(name, numbers.join(QStringLiteral(", "))));
        }
        std::printf("restored %s from backup %d; the replaced profile is now backup 1\n", qPrintable(name),
                    which);
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    // A file size limit makes a write fail instead of killing us halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.first();
    const QString storePath = Registry::defaultPath();
    try {
        platform::InstanceLock gameLock(storePath);
        platform::StoreLock storeLock(storePath);
        lockStore(command, gameLock, storeLock);
        // Opened after the locks, so the store is closed (its log folded in) before they go.
        std::unique_ptr<Registry> opened;
        if (const auto done = runStoreFileCommand(command, args, storePath))
            return *done;
        if (const auto done = refuseMissingStore(command, storePath))
            return *done;
        opened = std::make_unique<Registry>(storePath);
        Registry &registry = *opened;
        if (const auto done = runPlayerCommand(registry, command, args))
            return *done;
        if (const auto done = runBackupCommand(registry, command, args))
            return *done;
        return usage();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "zentrika-profile: %s\n", e.what());
        return 1;
    }
}
