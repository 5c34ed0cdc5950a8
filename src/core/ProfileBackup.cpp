#include "core/ProfileBackup.h"

#include "core/AnswerLog.h"
#include "core/User.h"
#include "platform/Registry.h"

#include <QMap>
#include <QPair>
#include <algorithm>

using platform::RegistryKey;
using platform::RegType;

namespace
{

QString playerPath(const QString &name)
{
    return TUser::PlayerPath(name);
}

// Replaces everything at `to` with the values at `from`, types kept. The key
// at `to` stays the same key, so the answer log that refers to it stays too.
void copyKey(platform::Registry &registry, const QString &from, const QString &to)
{
    const auto source = registry.openKeyReadOnly(from);
    if (!source) {
        registry.deleteKey(to);
        return;
    }
    const auto target = registry.openKey(to, true);
    for (const QString &sub : registry.subKeyNames(to))
        registry.deleteKey(platform::Registry::subKeyPath(to, sub));
    const QStringList names = source->valueNames();
    for (const QString &name : target->valueNames()) {
        if (std::none_of(names.begin(), names.end(),
                         [&](const QString &n) { return n.toCaseFolded() == name.toCaseFolded(); }))
            target->deleteValue(name);
    }
    for (const QString &name : names) {
        switch (source->valueType(name)) {
        case RegType::String:
            target->writeString(name, source->readString(name));
            break;
        case RegType::Integer:
            target->writeInteger(name, source->readInteger(name));
            break;
        case RegType::Binary:
            target->writeBinary(name, source->readBinary(name));
            break;
        }
    }
}

QMap<QString, QPair<int, QByteArray>> snapshot(platform::Registry &registry, const QString &path)
{
    QMap<QString, QPair<int, QByteArray>> values;
    const auto key = registry.openKeyReadOnly(path);
    if (!key)
        return values;
    for (const QString &name : key->valueNames()) {
        const RegType type = key->valueType(name);
        QByteArray bytes = type == RegType::String    ? key->readString(name).toUtf8()
                           : type == RegType::Integer ? QByteArray::number(key->readInteger(name))
                                                      : key->readBinary(name);
        values.insert(name.toCaseFolded(), {int(type), bytes});
    }
    return values;
}

} // namespace

namespace ProfileBackup
{

QString logHoldPath(const QString &playerName)
{
    return platform::Registry::subKeyPath(BackupsKey, playerName);
}

QString backupPath(const QString &playerName, int which)
{
    return platform::Registry::subKeyPath(BackupsKey, playerName) + QString::number(which) +
           QLatin1Char('\\');
}

void keepPrevious(platform::Registry &registry, const QString &playerName)
{
    if (!registry.keyExists(playerPath(playerName)))
        return;
    // Saving an unchanged profile again must not push real history out.
    if (snapshot(registry, playerPath(playerName)) == snapshot(registry, backupPath(playerName, 1)))
        return;
    registry.transaction([&] {
        for (int i = Kept; i > 1; --i)
            copyKey(registry, backupPath(playerName, i - 1), backupPath(playerName, i));
        copyKey(registry, playerPath(playerName), backupPath(playerName, 1));
    });
}

bool deletePlayer(platform::Registry &registry, const QString &playerName)
{
    if (!registry.keyExists(playerPath(playerName)))
        return false;
    registry.transaction([&] {
        keepPrevious(registry, playerName);
        registry.openKey(logHoldPath(playerName), true);
        answerlog::move(registry, playerPath(playerName), logHoldPath(playerName));
        registry.deleteKey(playerPath(playerName));
    });
    return true;
}

QList<int> available(platform::Registry &registry, const QString &playerName)
{
    QList<int> out;
    for (int i = 1; i <= Kept; ++i) {
        if (registry.keyExists(backupPath(playerName, i)))
            out << i;
    }
    return out;
}

bool restore(platform::Registry &registry, const QString &playerName, int which)
{
    if (which < 1 || which > Kept || !registry.keyExists(backupPath(playerName, which)))
        return false;
    registry.transaction([&] {
        // The chosen backup is read before the rotation moves it.
        const QString staging =
            platform::Registry::subKeyPath(BackupsKey, playerName) + QStringLiteral("restoring\\");
        copyKey(registry, backupPath(playerName, which), staging);
        keepPrevious(registry, playerName);
        const bool wasStored = registry.keyExists(playerPath(playerName));
        copyKey(registry, staging, playerPath(playerName));
        registry.deleteKey(staging);
        // A deleted player comes back with the log it had; a stored one keeps its own.
        if (!wasStored)
            answerlog::move(registry, logHoldPath(playerName), playerPath(playerName));
    });
    return true;
}

} // namespace ProfileBackup
