#include "core/ProfileImport.h"

#include "core/AnswerLog.h"
#include "core/Errors.h"
#include "core/PlayerName.h"
#include "core/ProfileFormat.h"
#include "platform/InputLimits.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace
{

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

// Checked as the name dialog checks a typed name; the message shows only the
// start of a name that is too long.
QString playerName(const QJsonObject &o)
{
    if (!o.value(QStringLiteral("Name")).isString())
        throw EInternalError(QStringLiteral("\"Name\" must be a string"));
    const PlayerName name = playername::normalise(o.value(QStringLiteral("Name")).toString());
    if (!name.ok())
        throw EInternalError(
            QStringLiteral("\"Name\" '%1' is not a player name: %2")
                .arg(name.text.left(limits::MaxNameLength * 2), playername::faultDetail(name.fault)));
    return name.text;
}

// An element is a bare number when it has one field, else an object of its fields.
profileformat::Element listElement(const profileformat::Value &list, const QJsonValue &v)
{
    const auto fields = list.fields;
    if (fields.size() == 1) {
        const profileformat::Field &f = fields.front();
        if (!v.isDouble() || v.toInteger() < f.min || v.toInteger() > f.max ||
            v.toDouble() != double(v.toInteger()))
            throw EInternalError(QStringLiteral("\"%1\" holds something that is not an %2 %3..%4")
                                     .arg(QLatin1String(list.name), QLatin1String(f.name))
                                     .arg(f.min)
                                     .arg(f.max));
        return {v.toInteger()};
    }
    const QJsonObject e = v.toObject();
    if (!v.isObject() || e.size() != qsizetype(fields.size())) {
        QStringList names;
        for (const profileformat::Field &f : fields)
            names << QLatin1String(f.name);
        throw EInternalError(QStringLiteral("\"%1\" entries are objects with %2")
                                 .arg(QLatin1String(list.name), names.join(QStringLiteral(", "))));
    }
    profileformat::Element element;
    for (const profileformat::Field &f : fields)
        element.push_back(integerField(e, f.name, f.min, f.max));
    return element;
}

// Everything is checked before anything is written.
std::unique_ptr<TUser> profileFields(const QJsonObject &o, bool *carriesLog)
{
    using profileformat::Kind;
    const QString logKey = QLatin1String(profileimport::LogKey);
    for (const QString &k : o.keys()) {
        if (!profileformat::find(k) && k != logKey)
            throw EInternalError(QStringLiteral("unknown key \"%1\"").arg(k));
    }
    auto user = std::make_unique<TUser>();
    for (const profileformat::Value &v : profileformat::values()) {
        if (v.kind == Kind::Text && &v == &profileformat::nameValue()) {
            v.setText(*user, playerName(o));
        } else if (v.kind == Kind::Text) {
            if (!o.value(QLatin1String(v.name)).isString())
                throw EInternalError(QStringLiteral("\"%1\" must be a string").arg(QLatin1String(v.name)));
            v.setText(*user, o.value(QLatin1String(v.name)).toString());
        } else if (v.kind == Kind::Integer) {
            v.set(*user, integerField(o, v.name, v.min, v.max));
        } else if (v.kind == Kind::List) {
            const profileformat::Value &count = profileformat::countOf(v);
            // Files exported before the value existed, or with it empty, lack it.
            if (v.optional && !o.contains(QLatin1String(v.name)) && !o.contains(QLatin1String(count.name)))
                continue;
            std::vector<profileformat::Element> elements;
            for (const QJsonValue &e : arrayField(o, v.name, count.name, int(count.max)))
                elements.push_back(listElement(v, e));
            v.setElements(*user, elements);
        }
    }
    if (o.contains(logKey))
        user->PendingLog = answerlog::fromJson(o.value(logKey));
    if (carriesLog)
        *carriesLog = o.contains(logKey);
    return user;
}

} // namespace

namespace profileimport
{

std::unique_ptr<TUser> fromJson(const QJsonObject &o, bool *carriesLog)
{
    return profileFields(o, carriesLog);
}

std::unique_ptr<TUser> fromJson(const QByteArray &json, bool *carriesLog)
{
    if (json.size() > limits::MaxProfileFileBytes)
        throw EInternalError(QStringLiteral("%1 bytes; a profile holds at most %2")
                                 .arg(json.size())
                                 .arg(limits::MaxProfileFileBytes));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        throw EInternalError(QStringLiteral("not a JSON object (%1)").arg(error.errorString()));
    return profileFields(doc.object(), carriesLog);
}

} // namespace profileimport
