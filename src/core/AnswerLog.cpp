#include "core/AnswerLog.h"

#include "core/Errors.h"
#include "core/User.h"
#include "platform/AnswerLogStore.h"
#include "platform/Registry.h"

#include <QDateTime>
#include <QJsonObject>
#include <QStringList>
#include <array>
#include <cmath>

namespace answerlog
{

namespace
{

constexpr std::array<const char *, 6> kEventNames = {"right",    "wrong", "hint",
                                                     "solution", "level", "victory"};

// Longer than any answer the dialog takes (seven numbers of ten digits).
constexpr int kMaxTypedLength = 200;
constexpr qint64 kU16 = 65535;

platform::answerlog::Row toRow(const AnswerRecord &r)
{
    platform::answerlog::Row row;
    row.time = r.Time;
    row.event = r.Event;
    row.puzzle = r.Puzzle;
    row.difficulty = r.Difficult;
    row.kind = r.AnswerKind;
    row.before = r.ScoresBefore;
    row.after = r.ScoresAfter;
    row.seconds = r.Seconds;
    row.level = r.Level;
    row.typed = r.Typed;
    return row;
}

// Numbers beyond int are narrowed to a value no game writes, so that they
// still read as impossible rather than as another, possible one.
int narrow(qint64 v)
{
    return v < INT32_MIN || v > INT32_MAX ? INT32_MIN : int(v);
}

AnswerRecord fromRow(const platform::answerlog::Row &row)
{
    AnswerRecord r;
    r.Time = row.time;
    r.Event = narrow(row.event);
    r.Puzzle = row.puzzle;
    r.Difficult = narrow(row.difficulty);
    r.AnswerKind = narrow(row.kind);
    r.ScoresBefore = row.before;
    r.ScoresAfter = row.after;
    r.Seconds = row.seconds;
    r.Level = narrow(row.level);
    r.Typed = row.typed;
    return r;
}

qint64 wholeField(const QJsonObject &o, const char *name, qint64 lo, qint64 hi, int index)
{
    const QJsonValue v = o.value(QLatin1String(name));
    if (!v.isDouble() || v.toDouble() != double(v.toInteger()) || v.toInteger() < lo || v.toInteger() > hi)
        throw EInternalError(
            QStringLiteral("\"Answer log\" record %1: \"%2\" must be a whole number in %3..%4")
                .arg(index)
                .arg(QLatin1String(name))
                .arg(lo)
                .arg(hi));
    return v.toInteger();
}

AnswerRecord recordFromJson(const QJsonValue &value, int index)
{
    static const QStringList known = {QStringLiteral("time"),   QStringLiteral("event"),
                                      QStringLiteral("puzzle"), QStringLiteral("difficulty"),
                                      QStringLiteral("kind"),   QStringLiteral("before"),
                                      QStringLiteral("after"),  QStringLiteral("seconds"),
                                      QStringLiteral("level"),  QStringLiteral("typed")};
    if (!value.isObject())
        throw EInternalError(QStringLiteral("\"Answer log\" record %1 is not an object").arg(index));
    const QJsonObject o = value.toObject();
    for (const QString &k : o.keys())
        if (!known.contains(k))
            throw EInternalError(
                QStringLiteral("\"Answer log\" record %1: unknown key \"%2\"").arg(index).arg(k));
    AnswerRecord r;
    const QDateTime time = QDateTime::fromString(o.value(QStringLiteral("time")).toString(), Qt::ISODate);
    if (!time.isValid())
        throw EInternalError(
            QStringLiteral("\"Answer log\" record %1: \"time\" must be a date and time in ISO 8601")
                .arg(index));
    r.Time = time.toSecsSinceEpoch();
    const std::optional<AnswerEvent> event = eventFromName(o.value(QStringLiteral("event")).toString());
    if (!event)
        throw EInternalError(
            QStringLiteral("\"Answer log\" record %1: \"event\" must be one of %2")
                .arg(index)
                .arg(QStringList(kEventNames.begin(), kEventNames.end()).join(QStringLiteral(", "))));
    r.Event = int(*event);
    r.Puzzle = wholeField(o, "puzzle", 0, kU16, index);
    r.Difficult = int(wholeField(o, "difficulty", -1, 255, index));
    r.AnswerKind = int(wholeField(o, "kind", -1, 255, index));
    r.ScoresBefore = wholeField(o, "before", TUser::MinScores, TUser::MaxScores, index);
    r.ScoresAfter = wholeField(o, "after", TUser::MinScores, TUser::MaxScores, index);
    r.Seconds = wholeField(o, "seconds", 0, INT32_MAX, index);
    r.Level = int(wholeField(o, "level", 0, 255, index));
    if (o.contains(QStringLiteral("typed"))) {
        const QJsonValue typed = o.value(QStringLiteral("typed"));
        if (!typed.isString() || typed.toString().size() > kMaxTypedLength)
            throw EInternalError(
                QStringLiteral("\"Answer log\" record %1: \"typed\" must be a text of at most %2 "
                               "characters")
                    .arg(index)
                    .arg(kMaxTypedLength));
        r.Typed = typed.toString();
    }
    return r;
}

} // namespace

int kept()
{
    return platform::answerlog::Kept;
}

QString eventName(int event)
{
    if (event < 1 || event > int(kEventNames.size()))
        return {};
    return QLatin1String(kEventNames[std::size_t(event - 1)]);
}

std::optional<AnswerEvent> eventFromName(const QString &name)
{
    for (std::size_t i = 0; i < kEventNames.size(); ++i)
        if (name == QLatin1String(kEventNames[i]))
            return AnswerEvent(i + 1);
    return std::nullopt;
}

QString typedText(std::uint8_t kind, const AnswerValue &answer)
{
    switch (kind) {
    case AnswerInteger:
        return QString::number(answer.integer());
    case AnswerText:
    case AnswerChoice:
        return answer.text();
    case AnswerTime: {
        const qint64 total = std::llround(answer.time() * 86400.0);
        return QStringLiteral("%1:%2:%3")
            .arg(total / 3600)
            .arg(total / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(total % 60, 2, 10, QLatin1Char('0'));
    }
    case AnswerNumbers: {
        QStringList numbers;
        for (int i = 0; i < std::min<int>(answer.count(), AnswerValue::MaxNumbers); ++i)
            numbers << QString::number(answer.number(i));
        return numbers.join(QLatin1Char(' '));
    }
    default:
        return {};
    }
}

Loaded load(const platform::Registry &registry, const QString &keyPath, int newest)
{
    Loaded out;
    qint64 id = 0;
    try {
        id = registry.keyId(keyPath);
    } catch (const std::exception &e) {
        out.damaged = true;
        out.detail = QString::fromUtf8(e.what());
        return out;
    }
    const platform::answerlog::Read read =
        platform::answerlog::read(registry, id, newest < 0 ? kept() : newest);
    out.records.reserve(read.rows.size());
    for (const platform::answerlog::Row &row : read.rows)
        out.records.push_back(fromRow(row));
    out.total = read.total;
    out.unreadable = read.malformed;
    out.damaged = read.damaged;
    out.detail = read.detail;
    return out;
}

bool append(platform::Registry &registry, const QString &keyPath, const std::vector<AnswerRecord> &records,
            QString *detail)
{
    if (records.empty())
        return true;
    const qint64 id = registry.keyId(keyPath);
    if (id == 0)
        return false;
    std::vector<platform::answerlog::Row> rows;
    rows.reserve(records.size());
    for (const AnswerRecord &r : records)
        rows.push_back(toRow(r));
    const platform::answerlog::Appended done = platform::answerlog::append(registry, id, rows);
    if (detail)
        *detail = done.detail;
    return done.ok;
}

void move(platform::Registry &registry, const QString &fromPath, const QString &toPath)
{
    const qint64 from = registry.keyId(fromPath);
    const qint64 to = registry.keyId(toPath);
    if (from != 0 && to != 0)
        platform::answerlog::move(registry, from, to);
}

QJsonArray toJson(const std::vector<AnswerRecord> &records)
{
    QJsonArray out;
    for (const AnswerRecord &r : records) {
        QJsonObject o;
        o.insert(QStringLiteral("time"),
                 QDateTime::fromSecsSinceEpoch(r.Time, Qt::UTC).toString(Qt::ISODate));
        o.insert(QStringLiteral("event"), eventName(r.Event));
        o.insert(QStringLiteral("puzzle"), r.Puzzle);
        o.insert(QStringLiteral("difficulty"), r.Difficult);
        o.insert(QStringLiteral("kind"), r.AnswerKind);
        o.insert(QStringLiteral("before"), r.ScoresBefore);
        o.insert(QStringLiteral("after"), r.ScoresAfter);
        o.insert(QStringLiteral("seconds"), r.Seconds);
        o.insert(QStringLiteral("level"), r.Level);
        if (!r.Typed.isEmpty())
            o.insert(QStringLiteral("typed"), r.Typed);
        out.append(o);
    }
    return out;
}

std::vector<AnswerRecord> fromJson(const QJsonValue &value)
{
    if (!value.isArray())
        throw EInternalError(QStringLiteral("\"Answer log\" must be an array"));
    const QJsonArray a = value.toArray();
    if (a.size() > kept())
        throw EInternalError(QStringLiteral("\"Answer log\" holds %1 records; a player keeps at most %2")
                                 .arg(a.size())
                                 .arg(kept()));
    std::vector<AnswerRecord> out;
    out.reserve(std::size_t(a.size()));
    for (int i = 0; i < a.size(); ++i)
        out.push_back(recordFromJson(a.at(i), i + 1));
    return out;
}

} // namespace answerlog
