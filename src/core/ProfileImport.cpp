#include "core/ProfileImport.h"

#include "core/Errors.h"
#include "core/PlayerName.h"
#include "platform/InputLimits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <algorithm>
#include <vector>

namespace
{

const char *const kIntegerNames[] = {"Scores", "Level", "Label Index", "LD", "MD", "HD", "LU", "MU", "HU"};

qint64 integerField(const QJsonObject &o, const char *name, qint64 lo, qint64 hi)
{
    const QJsonValue v = o.value(QLatin1String(name));
    if (!v.isDouble() || v.toDouble() != double(v.toInteger()))
        throw EInternalError(QStringLiteral("\"%1\" must be a whole number").arg(QLatin1String(name)));
    const qint64 n = v.toInteger();
    if (n < lo || n > hi)
        throw EInternalError(QStringLiteral("\"%1\" is %2; it must lie in %3..%4")
                                 .arg(QLatin1String(name))
                                 .arg(n)
                                 .arg(lo)
                                 .arg(hi));
    return n;
}

QJsonArray arrayField(const QJsonObject &o, const char *name, const char *countName, int capacity)
{
    const QJsonValue v = o.value(QLatin1String(name));
    if (!v.isArray())
        throw EInternalError(QStringLiteral("\"%1\" must be an array").arg(QLatin1String(name)));
    const QJsonArray a = v.toArray();
    const qint64 count = integerField(o, countName, 0, capacity);
    if (count != a.size())
        throw EInternalError(QStringLiteral("\"%1\" is %2 but \"%3\" holds %4")
                                 .arg(QLatin1String(countName))
                                 .arg(count)
                                 .arg(QLatin1String(name))
                                 .arg(a.size()));
    return a;
}

// Everything is checked before anything is written.
std::unique_ptr<TUser> profileFields(const QJsonObject &o)
{
    static const char *const known[] = {"Name",
                                        "Scores",
                                        "Level",
                                        "Label Index",
                                        "LD",
                                        "MD",
                                        "HD",
                                        "LU",
                                        "MU",
                                        "HU",
                                        "Used Problems count",
                                        "Used Problems Info",
                                        "Problems on Level count",
                                        "Problems on Level Info"};
    for (const QString &k : o.keys()) {
        if (std::find_if(std::begin(known), std::end(known),
                         [&](const char *n) { return k == QLatin1String(n); }) == std::end(known))
            throw EInternalError(QStringLiteral("unknown key \"%1\"").arg(k));
    }
    if (!o.value(QStringLiteral("Name")).isString())
        throw EInternalError(QStringLiteral("\"Name\" must be a string"));
    // Checked as the name dialog checks a typed name; the message shows only
    // the start of a name that is too long.
    const PlayerName name = playername::normalise(o.value(QStringLiteral("Name")).toString());
    if (!name.ok())
        throw EInternalError(
            QStringLiteral("\"Name\" '%1' is not a player name: %2")
                .arg(name.text.left(limits::MaxNameLength * 2), playername::faultDetail(name.fault)));
    auto user = std::make_unique<TUser>();
    user->Name = name.text;
    user->Scores = std::int32_t(integerField(o, "Scores", TUser::MinScores, TUser::MaxScores));
    user->Level = std::uint8_t(integerField(o, "Level", 1, 5));
    user->LabelIndex = std::uint8_t(integerField(o, "Label Index", 1, 5));
    std::uint16_t *counters[] = {&user->LD, &user->MD, &user->HD, &user->LU, &user->MU, &user->HU};
    for (int i = 0; i < 6; ++i)
        *counters[i] = std::uint16_t(integerField(o, kIntegerNames[3 + i], 0, 65535));

    const QJsonArray ids = arrayField(o, "Used Problems Info", "Used Problems count", TUsedIdList::kCapacity);
    std::vector<ProblemId> used;
    for (const QJsonValue &v : ids) {
        if (!v.isDouble() || v.toInteger() < 0 || v.toInteger() > 65535 ||
            v.toDouble() != double(v.toInteger()))
            throw EInternalError(
                QStringLiteral("\"Used Problems Info\" holds something that is not an id 0..65535"));
        used.push_back(ProblemId(v.toInteger()));
    }
    user->UsedIds.LoadFromArray(used.data(), int(used.size()));

    const QJsonArray entries =
        arrayField(o, "Problems on Level Info", "Problems on Level count", TProblemsList::kCapacity);
    std::vector<LevelEntry> level;
    for (const QJsonValue &v : entries) {
        const QJsonObject e = v.toObject();
        if (!v.isObject() || e.size() != 4)
            throw EInternalError(QStringLiteral(
                "\"Problems on Level Info\" entries are objects with Id, Solved, Bought, WrongAnswers"));
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

} // namespace

namespace profileimport
{

std::unique_ptr<TUser> fromJson(const QJsonObject &o)
{
    return profileFields(o);
}

std::unique_ptr<TUser> fromJson(const QByteArray &json)
{
    if (json.size() > limits::MaxProfileFileBytes)
        throw EInternalError(QStringLiteral("%1 bytes; a profile holds at most %2")
                                 .arg(json.size())
                                 .arg(limits::MaxProfileFileBytes));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        throw EInternalError(QStringLiteral("not a JSON object (%1)").arg(error.errorString()));
    return profileFields(doc.object());
}

} // namespace profileimport
