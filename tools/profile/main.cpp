// zentrika-profile: lists, shows, exports, imports and deletes players in the
// registry store the game uses ($ZENTRIKA_REGISTRY or the user's own). It needs
// no media library: a profile is only numbers and lists.
#include "core/ProfileBackup.h"
#include "core/User.h"
#include "platform/Registry.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>
#include <cstdio>
#include <optional>

using platform::Registry;
using platform::RegistryKey;

namespace {

class ProfileError : public std::runtime_error {
public:
    explicit ProfileError(const QString &m) : std::runtime_error(m.toStdString()) {}
};

const char *const kIntegerNames[] = {"Scores", "Level", "Label Index", "LD", "MD", "HD", "LU", "MU", "HU"};

// The key name of a stored player, as stored, found without regard to case.
std::optional<QString> findPlayer(Registry &registry, const QString &name)
{
    for (const QString &stored : registry.subKeyNames(TUser::UsersKey)) {
        if (stored.compare(name, Qt::CaseInsensitive) == 0 || stored.toCaseFolded() == name.toCaseFolded())
            return stored;
    }
    return std::nullopt;
}

QJsonObject readProfile(Registry &registry, const QString &keyName)
{
    const auto key = registry.openKeyReadOnly(TUser::UsersKey + keyName + QLatin1Char('\\'));
    if (!key)
        throw ProfileError(QStringLiteral("no player named '%1'").arg(keyName));
    QJsonObject o;
    o.insert(QStringLiteral("Name"), key->valueExists(QStringLiteral("Name")) ? key->readString(QStringLiteral("Name")) : QString());
    for (const char *name : kIntegerNames)
        o.insert(QLatin1String(name), key->readInteger(QLatin1String(name)));

    const int used = key->readInteger(QStringLiteral("Used Problems count"));
    QByteArray usedBytes = key->valueExists(QStringLiteral("Used Problems Info")) ? key->readBinary(QStringLiteral("Used Problems Info")) : QByteArray();
    QJsonArray ids;
    for (int i = 0; i < used; ++i)
        ids.append(2 * i + 1 < usedBytes.size() ? qFromLittleEndian<quint16>(usedBytes.constData() + 2 * i) : 0);
    o.insert(QStringLiteral("Used Problems count"), used);
    o.insert(QStringLiteral("Used Problems Info"), ids);

    const int onLevel = key->readInteger(QStringLiteral("Problems on Level count"));
    QByteArray levelBytes = key->valueExists(QStringLiteral("Problems on Level Info")) ? key->readBinary(QStringLiteral("Problems on Level Info")) : QByteArray();
    QJsonArray entries;
    for (int i = 0; i < onLevel; ++i) {
        LevelEntry e;
        if ((i + 1) * 6 <= levelBytes.size())
            std::memcpy(&e, levelBytes.constData() + 6 * i, 6);
        QJsonObject entry;
        entry.insert(QStringLiteral("Id"), e.Id);
        entry.insert(QStringLiteral("Solved"), e.Solved);
        entry.insert(QStringLiteral("Bought"), e.Bought);
        entry.insert(QStringLiteral("WrongAnswers"), e.WrongAnswers);
        entries.append(entry);
    }
    o.insert(QStringLiteral("Problems on Level count"), onLevel);
    o.insert(QStringLiteral("Problems on Level Info"), entries);
    return o;
}

// JSON objects do not keep key order; the profile's own order is the registry's.
QByteArray toJson(const QJsonObject &o)
{
    static const char *const order[] = {"Name", "Scores", "Level", "Label Index", "LD", "MD", "HD", "LU", "MU", "HU",
                                        "Used Problems count", "Used Problems Info", "Problems on Level count",
                                        "Problems on Level Info"};
    QByteArray out = "{\n";
    for (std::size_t i = 0; i < std::size(order); ++i) {
        const QJsonValue v = o.value(QLatin1String(order[i]));
        QByteArray value;
        if (v.isArray()) {
            QStringList parts;
            for (const QJsonValue &e : v.toArray())
                parts << QString::fromUtf8(e.isObject() ? QJsonDocument(e.toObject()).toJson(QJsonDocument::Compact)
                                                        : QByteArray::number(e.toInteger()));
            value = "[" + parts.join(QStringLiteral(", ")).toUtf8() + "]";
        } else {
            value = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
        }
        out += "  \"" + QByteArray(order[i]) + "\": " + value + (i + 1 < std::size(order) ? ",\n" : "\n");
    }
    return out + "}\n";
}

qint64 integerField(const QJsonObject &o, const char *name, qint64 lo, qint64 hi)
{
    const QJsonValue v = o.value(QLatin1String(name));
    if (!v.isDouble() || v.toDouble() != double(v.toInteger()))
        throw ProfileError(QStringLiteral("\"%1\" must be a whole number").arg(QLatin1String(name)));
    const qint64 n = v.toInteger();
    if (n < lo || n > hi)
        throw ProfileError(QStringLiteral("\"%1\" is %2; it must lie in %3..%4").arg(QLatin1String(name)).arg(n).arg(lo).arg(hi));
    return n;
}

QJsonArray arrayField(const QJsonObject &o, const char *name, const char *countName, int capacity)
{
    const QJsonValue v = o.value(QLatin1String(name));
    if (!v.isArray())
        throw ProfileError(QStringLiteral("\"%1\" must be an array").arg(QLatin1String(name)));
    const QJsonArray a = v.toArray();
    const qint64 count = integerField(o, countName, 0, capacity);
    if (count != a.size())
        throw ProfileError(QStringLiteral("\"%1\" is %2 but \"%3\" holds %4").arg(QLatin1String(countName)).arg(count).arg(QLatin1String(name)).arg(a.size()));
    return a;
}

bool validName(const QString &name)
{
    if (name.trimmed().isEmpty() || name.contains(QLatin1Char('\\')))
        return false;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

// Everything is checked before anything is written.
std::unique_ptr<TUser> profileFromJson(const QJsonObject &o)
{
    static const char *const known[] = {"Name", "Scores", "Level", "Label Index", "LD", "MD", "HD", "LU", "MU", "HU",
                                        "Used Problems count", "Used Problems Info", "Problems on Level count",
                                        "Problems on Level Info"};
    for (const QString &k : o.keys()) {
        if (std::find_if(std::begin(known), std::end(known), [&](const char *n) { return k == QLatin1String(n); }) == std::end(known))
            throw ProfileError(QStringLiteral("unknown key \"%1\"").arg(k));
    }
    if (!o.value(QStringLiteral("Name")).isString())
        throw ProfileError(QStringLiteral("\"Name\" must be a string"));
    const QString name = o.value(QStringLiteral("Name")).toString();
    if (!validName(name))
        throw ProfileError(QStringLiteral("\"Name\" '%1' is not a player name: empty, blank, or holding '\\' or a control character").arg(name));
    auto user = std::make_unique<TUser>();
    user->Name = name;
    user->Scores = std::int32_t(integerField(o, "Scores", INT32_MIN, INT32_MAX));
    user->Level = std::uint8_t(integerField(o, "Level", 1, 5));
    user->LabelIndex = std::uint8_t(integerField(o, "Label Index", 1, 5));
    std::uint16_t *counters[] = {&user->LD, &user->MD, &user->HD, &user->LU, &user->MU, &user->HU};
    for (int i = 0; i < 6; ++i)
        *counters[i] = std::uint16_t(integerField(o, kIntegerNames[3 + i], 0, 65535));

    const QJsonArray ids = arrayField(o, "Used Problems Info", "Used Problems count", TUsedIdList::kCapacity);
    std::vector<ProblemId> used;
    for (const QJsonValue &v : ids) {
        if (!v.isDouble() || v.toInteger() < 0 || v.toInteger() > 65535 || v.toDouble() != double(v.toInteger()))
            throw ProfileError(QStringLiteral("\"Used Problems Info\" holds something that is not an id 0..65535"));
        used.push_back(ProblemId(v.toInteger()));
    }
    user->UsedIds.LoadFromArray(used.data(), int(used.size()));

    const QJsonArray entries = arrayField(o, "Problems on Level Info", "Problems on Level count", TProblemsList::kCapacity);
    std::vector<LevelEntry> level;
    for (const QJsonValue &v : entries) {
        const QJsonObject e = v.toObject();
        if (!v.isObject() || e.size() != 4)
            throw ProfileError(QStringLiteral("\"Problems on Level Info\" entries are objects with Id, Solved, Bought, WrongAnswers"));
        LevelEntry entry;
        entry.Id = ProblemId(integerField(e, "Id", 0, 65535));
        entry.Solved = std::uint8_t(integerField(e, "Solved", 0, 1));
        entry.Bought = std::uint8_t(integerField(e, "Bought", 0, 1));
        entry.WrongAnswers = std::uint16_t(integerField(e, "WrongAnswers", 0, 65535));
        level.push_back(entry);
    }
    user->LevelList.LoadFromArray(level.data(), int(level.size()));
    return user;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: zentrika-profile list | show NAME | export NAME | import FILE | delete NAME | restore NAME [1|2|3]\n"
                 "Every save keeps the profile it replaces as backup 1 (three are kept); restore brings one back.\n"
                 "The store is $ZENTRIKA_REGISTRY, or the player's own.\n");
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.first();
    try {
        Registry &registry = Registry::user();
        if (command == QLatin1String("list") && args.size() == 1) {
            for (const QString &name : registry.subKeyNames(TUser::UsersKey)) {
                try {
                    const QJsonObject o = readProfile(registry, name);
                    std::printf("%s\tlevel %d\tscore %d\n", qPrintable(name), o.value(QStringLiteral("Level")).toInt(),
                                o.value(QStringLiteral("Scores")).toInt());
                } catch (const std::exception &e) {
                    std::printf("%s\tunreadable: %s\n", qPrintable(name), e.what());
                }
            }
            return 0;
        }
        if ((command == QLatin1String("show") || command == QLatin1String("export")) && args.size() == 2) {
            const auto stored = findPlayer(registry, args.at(1));
            if (!stored)
                throw ProfileError(QStringLiteral("no player named '%1'").arg(args.at(1)));
            const QByteArray json = toJson(readProfile(registry, *stored));
            std::fwrite(json.constData(), 1, std::size_t(json.size()), stdout);
            return 0;
        }
        if (command == QLatin1String("import") && args.size() == 2) {
            QFile f(args.at(1));
            if (!f.open(QIODevice::ReadOnly))
                throw ProfileError(QStringLiteral("%1: %2").arg(args.at(1), f.errorString()));
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &error);
            if (!doc.isObject())
                throw ProfileError(QStringLiteral("%1: not a JSON object (%2)").arg(args.at(1), error.errorString()));
            const auto user = profileFromJson(doc.object());
            registry.transaction([&] {
                if (const auto existing = findPlayer(registry, user->Name)) {
                    ProfileBackup::keepPrevious(registry, *existing);
                    registry.deleteKey(TUser::UsersKey + *existing + QLatin1Char('\\'));
                }
                user->SaveToRegistry(registry);
            });
            std::printf("imported %s\n", qPrintable(user->Name));
            return 0;
        }
        if (command == QLatin1String("restore") && (args.size() == 2 || args.size() == 3)) {
            const QString name = findPlayer(registry, args.at(1)).value_or(args.at(1));
            bool ok = true;
            const int which = args.size() == 3 ? args.at(2).toInt(&ok) : 1;
            const QList<int> kept = ProfileBackup::available(registry, name);
            if (!ok || !ProfileBackup::restore(registry, name, which)) {
                QStringList numbers;
                for (int n : kept)
                    numbers << QString::number(n);
                throw ProfileError(kept.isEmpty() ? QStringLiteral("no backups of '%1'").arg(name)
                                                  : QStringLiteral("'%1' has backups %2 (1 is the newest)").arg(name, numbers.join(QStringLiteral(", "))));
            }
            std::printf("restored %s from backup %d; the replaced profile is now backup 1\n", qPrintable(name), which);
            return 0;
        }
        if (command == QLatin1String("delete") && args.size() == 2) {
            const auto stored = findPlayer(registry, args.at(1));
            if (!stored)
                throw ProfileError(QStringLiteral("no player named '%1'").arg(args.at(1)));
            registry.deleteKey(TUser::UsersKey + *stored + QLatin1Char('\\'));
            std::printf("deleted %s\n", qPrintable(*stored));
            return 0;
        }
        return usage();
    } catch (const std::exception &e) {
        std::fprintf(stderr, "zentrika-profile: %s\n", e.what());
        return 1;
    }
}
