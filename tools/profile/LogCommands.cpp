#include "LogCommands.h"

#include "core/AnswerStats.h"
#include "core/User.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <cstdio>

namespace profiletool
{

namespace
{

void write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

QString grade(int difficult)
{
    static const char *names[] = {"easy", "medium", "hard"};
    return difficult >= 0 && difficult < 3 ? QLatin1String(names[difficult]) : QStringLiteral("-");
}

QString kind(int answerKind)
{
    static const char *names[] = {"integer", "text", "time", "choice", "numbers"};
    return answerKind >= 0 && answerKind < 5 ? QLatin1String(names[answerKind]) : QStringLiteral("-");
}

QString line(const AnswerRecord &r)
{
    const QString event = answerlog::eventName(r.Event);
    QStringList parts{QDateTime::fromSecsSinceEpoch(r.Time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                      event.isEmpty() ? QStringLiteral("event %1").arg(r.Event) : event};
    if (r.Puzzle != 0 || r.Difficult >= 0)
        parts << QStringLiteral("puzzle %1").arg(r.Puzzle) << grade(r.Difficult) << kind(r.AnswerKind)
              << QStringLiteral("%1 s").arg(r.Seconds);
    parts << QStringLiteral("points %1 -> %2").arg(r.ScoresBefore).arg(r.ScoresAfter)
          << QStringLiteral("level %1").arg(r.Level);
    if (!r.Typed.isEmpty())
        parts << QStringLiteral("typed \"%1\"").arg(r.Typed);
    return parts.join(QLatin1Char('\t'));
}

// What the text form says about a log read in part.
void warnings(const answerlog::Loaded &log)
{
    if (log.total > qint64(log.records.size()) + log.unreadable)
        std::fprintf(stderr, "zentrika-profile: %lld older records not shown\n",
                     qint64(log.total - qint64(log.records.size()) - log.unreadable));
    if (log.unreadable > 0)
        std::fprintf(stderr, "zentrika-profile: %lld unreadable records left out\n", log.unreadable);
    if (log.damaged)
        std::fprintf(stderr, "zentrika-profile: the answer log is damaged: %s\n", qPrintable(log.detail));
}

QString optionalNumber(const std::optional<double> &v, const QString &unit = {})
{
    return v ? QString::number(*v, 'f', 2) + unit : QStringLiteral("-");
}

QStringList statsLines(const answerstats::Figures &f)
{
    QStringList out;
    out << QStringLiteral("points %1, level %2").arg(f.scores).arg(f.level);
    out << QStringLiteral("counters: right %1/%2/%3, wrong %4/%5/%6 (easy/medium/hard)")
               .arg(f.rightCounters[0])
               .arg(f.rightCounters[1])
               .arg(f.rightCounters[2])
               .arg(f.wrongCounters[0])
               .arg(f.wrongCounters[1])
               .arg(f.wrongCounters[2]);
    if (f.historyStartsNow) {
        out << answerstats::HistoryStartsNowText();
        return out;
    }
    out << QStringLiteral("records %1, days played %2, levels reached %3%4")
               .arg(f.records)
               .arg(f.daysPlayed)
               .arg(f.levelsReached)
               .arg(f.won ? QStringLiteral(", game won") : QString());
    out << QStringLiteral("solved by difficulty: %1/%2/%3 (easy/medium/hard)")
               .arg(f.solvedByDifficulty[0])
               .arg(f.solvedByDifficulty[1])
               .arg(f.solvedByDifficulty[2]);
    QStringList kinds;
    for (int k = 0; k < answerstats::AnswerKinds; ++k)
        kinds << QStringLiteral("%1 %2").arg(kind(k)).arg(f.solvedByKind[std::size_t(k)]);
    out << QStringLiteral("solved by answer kind: ") + kinds.join(QStringLiteral(", "));
    out << QStringLiteral("right answers %1, wrong %2, right rate %3, wrong per solved %4")
               .arg(f.rightAnswers)
               .arg(f.wrongAnswers)
               .arg(f.rightRate ? QString::number(*f.rightRate * 100, 'f', 1) + QLatin1Char('%')
                                : QStringLiteral("-"))
               .arg(optionalNumber(f.wrongPerSolved));
    out << QStringLiteral("hints bought %1 (%2 points), solutions bought %3 (%4 points)")
               .arg(f.hintsBought)
               .arg(f.pointsOnHints)
               .arg(f.solutionsBought)
               .arg(f.pointsOnSolutions);
    out << QStringLiteral("median seconds to a right answer: %1/%2/%3 (easy/medium/hard)")
               .arg(optionalNumber(f.medianSeconds[0]), optionalNumber(f.medianSeconds[1]),
                    optionalNumber(f.medianSeconds[2]));
    for (const answerstats::DayPoints &d : f.days)
        out << QStringLiteral("%1\tpoints %2\tlevel %3%4\tsolved %5")
                   .arg(d.day.toString(Qt::ISODate))
                   .arg(d.points)
                   .arg(d.level)
                   .arg(d.levelUp ? QStringLiteral(" (reached)") : QString())
                   .arg(d.solved);
    QStringList calendar;
    for (int week = 0; week < answerstats::CalendarWeeks; ++week) {
        QStringList days;
        for (int d = 0; d < 7; ++d)
            days << QString::number(f.calendar[std::size_t(week * 7 + d)]);
        calendar << days.join(QLatin1Char(' '));
    }
    out << QStringLiteral("calendar from %1 (a week a line, Monday first):")
               .arg(f.calendarFirst.toString(Qt::ISODate));
    out << calendar;
    if (f.leftOut.total() > 0)
        out << QStringLiteral("records with impossible values: %1 (see --json)").arg(f.leftOut.total());
    return out;
}

} // namespace

int printLog(platform::Registry &registry, const QString &keyName, bool json)
{
    const answerlog::Loaded log = answerlog::load(registry, TUser::PlayerPath(keyName));
    if (json) {
        const QJsonObject o{{QStringLiteral("player"), keyName},
                            {QStringLiteral("total"), log.total},
                            {QStringLiteral("unreadable"), log.unreadable},
                            {QStringLiteral("damaged"), log.damaged},
                            {QStringLiteral("records"), answerlog::toJson(log.records)}};
        write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
        return log.damaged ? 1 : 0;
    }
    QByteArray out;
    for (const AnswerRecord &r : log.records)
        out += line(r).toUtf8() + '\n';
    write(out);
    if (log.records.empty() && !log.damaged)
        std::printf("%s: no records yet\n", qPrintable(keyName));
    warnings(log);
    return log.damaged ? 1 : 0;
}

int printStats(platform::Registry &registry, const QString &keyName, bool json)
{
    const auto player = TUser::CreateFromRegistry(TUser::PlayerPath(keyName), registry);
    const answerlog::Loaded log = answerlog::load(registry, player->KeyPath());
    answerstats::Options options;
    options.now = QDateTime::currentSecsSinceEpoch();
    options.zone = QTimeZone::systemTimeZone();
    const answerstats::Figures f = answerstats::compute(log.records, *player, options);
    if (json) {
        QJsonObject o = answerstats::toJson(f);
        o.insert(QStringLiteral("player"), keyName);
        o.insert(QStringLiteral("log_damaged"), log.damaged);
        write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
    } else {
        write(statsLines(f).join(QLatin1Char('\n')).toUtf8() + '\n');
        warnings(log);
    }
    return 0;
}

QByteArray exportLog(const std::vector<AnswerRecord> &records, qint64 *leftOut)
{
    QByteArray out = "[";
    const QJsonArray all = answerlog::toJson(records);
    qint64 skipped = 0;
    bool first = true;
    for (const QJsonValue &v : all) {
        try {
            answerlog::fromJson(QJsonArray{v});
        } catch (const std::exception &) {
            ++skipped;
            continue;
        }
        out += (first ? "\n    " : ",\n    ") + QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact);
        first = false;
    }
    if (leftOut)
        *leftOut = skipped;
    return out + (first ? "]" : "\n  ]");
}

} // namespace profiletool
