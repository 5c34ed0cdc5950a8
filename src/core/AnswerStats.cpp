#include "core/AnswerStats.h"

#include "core/User.h"

#include <QDateTime>
#include <QJsonArray>
#include <algorithm>
#include <map>

namespace answerstats
{

namespace
{

constexpr qint64 kEarliest = 946684800;      // 2000-01-01: no record is older than the game
constexpr qint64 kClockSlack = 300;          // a clock a little ahead is no fault
constexpr qint64 kLongestOpen = 366 * 86400; // a puzzle left open longer is a bad clock

// The day of a time, asking the time zone once per day: records come in
// order, so nearly all fall on the day of the record before.
class DayOf
{
  public:
    explicit DayOf(const QTimeZone &zone) : zone_(zone) {}
    QDate operator()(qint64 t)
    {
        if (t >= start_ && t < end_)
            return day_;
        day_ = QDateTime::fromSecsSinceEpoch(t, zone_).date();
        start_ = day_.startOfDay(zone_).toSecsSinceEpoch();
        end_ = day_.addDays(1).startOfDay(zone_).toSecsSinceEpoch();
        if (t < start_ || t >= end_) // a day the zone skips in part: no cache
            end_ = start_;
        return day_;
    }

  private:
    QTimeZone zone_;
    QDate day_;
    qint64 start_ = 1;
    qint64 end_ = 0;
};

bool puzzleEvent(int event)
{
    return event == int(AnswerEvent::Right) || event == int(AnswerEvent::Wrong) ||
           event == int(AnswerEvent::Hint) || event == int(AnswerEvent::Solution);
}

bool possiblePoints(qint64 p)
{
    return p >= TUser::MinScores && p <= TUser::MaxScores;
}

std::optional<double> median(std::vector<qint64> &v)
{
    if (v.empty())
        return std::nullopt;
    const std::size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(mid), v.end());
    if (v.size() % 2 == 1)
        return double(v[mid]);
    const qint64 below = *std::max_element(v.begin(), v.begin() + std::ptrdiff_t(mid));
    return (double(below) + double(v[mid])) / 2.0;
}

struct Pass {
    Figures &f;
    const Options &options;
    DayOf dayOf;
    std::map<QDate, DayPoints> days;
    DayPoints *today = nullptr; // the entry of the last record's day
    QDate todayDate;
    std::array<std::vector<qint64>, DifficultyCount> seconds;

    DayPoints &dayEntry(const QDate &d)
    {
        if (!today || d != todayDate) {
            today = &days[d];
            today->day = d;
            todayDate = d;
        }
        return *today;
    }

    // False when the record cannot be used at all.
    bool usable(const AnswerRecord &r)
    {
        if (r.Event < int(AnswerEvent::Right) || r.Event > int(AnswerEvent::Victory)) {
            ++f.leftOut.unknownEvent;
            return false;
        }
        if (r.Time < kEarliest || r.Time > options.now + kClockSlack) {
            ++f.leftOut.badTime;
            return false;
        }
        return true;
    }

    void puzzleFigures(const AnswerRecord &r, bool right)
    {
        if (r.Puzzle <= 0 || (options.knownPuzzle && !options.knownPuzzle(r.Puzzle)))
            ++f.leftOut.unknownPuzzle;
        const std::optional<Difficulty> grade = knownDifficulty(r.Difficult);
        const bool knownKind = r.AnswerKind >= 0 && r.AnswerKind < AnswerKinds;
        if (!grade || !knownKind)
            ++f.leftOut.badGrade;
        const bool goodSeconds = r.Seconds >= 0 && r.Seconds <= kLongestOpen;
        if (!goodSeconds)
            ++f.leftOut.badSeconds;
        if (!right)
            return;
        if (grade) {
            ++f.solvedByDifficulty[indexOf(*grade)];
            if (goodSeconds)
                seconds[indexOf(*grade)].push_back(r.Seconds);
        }
        if (knownKind)
            ++f.solvedByKind[std::size_t(r.AnswerKind)];
    }

    void add(const AnswerRecord &r)
    {
        if (!usable(r))
            return;
        ++f.records;
        DayPoints &day = dayEntry(dayOf(r.Time));
        if (possiblePoints(r.ScoresBefore) && possiblePoints(r.ScoresAfter)) {
            day.points = r.ScoresAfter;
            day.level = r.Level;
        } else {
            ++f.leftOut.badPoints;
        }
        const auto event = AnswerEvent(r.Event);
        if (puzzleEvent(r.Event))
            puzzleFigures(r, event == AnswerEvent::Right);
        const qint64 spent = possiblePoints(r.ScoresBefore) && possiblePoints(r.ScoresAfter)
                                 ? std::max<qint64>(0, r.ScoresBefore - r.ScoresAfter)
                                 : 0;
        switch (event) {
        case AnswerEvent::Right:
            ++f.rightAnswers;
            ++day.solved;
            break;
        case AnswerEvent::Wrong:
            ++f.wrongAnswers;
            break;
        case AnswerEvent::Hint:
            ++f.hintsBought;
            f.pointsOnHints += spent;
            break;
        case AnswerEvent::Solution:
            ++f.solutionsBought;
            f.pointsOnSolutions += spent;
            break;
        case AnswerEvent::Level:
            ++f.levelsReached;
            day.levelUp = true;
            break;
        case AnswerEvent::Victory:
            f.won = true;
            break;
        }
    }

    void finish()
    {
        // Days whose every record had impossible points take the points of the day before.
        qint64 points = f.scores;
        int level = f.level;
        bool first = true;
        for (auto &[date, day] : days) {
            if (day.level == 0 && !first) {
                day.points = points;
                day.level = level;
            }
            points = day.points;
            level = day.level;
            first = false;
            f.days.push_back(day);
        }
        f.daysPlayed = int(f.days.size());
        const int answers = f.rightAnswers + f.wrongAnswers;
        if (answers > 0)
            f.rightRate = double(f.rightAnswers) / answers;
        if (f.rightAnswers > 0)
            f.wrongPerSolved = double(f.wrongAnswers) / f.rightAnswers;
        for (std::size_t d = 0; d < DifficultyCount; ++d)
            f.medianSeconds[d] = median(seconds[d]);
    }

    void calendar()
    {
        const QDate today = QDateTime::fromSecsSinceEpoch(options.now, options.zone).date();
        f.calendarFirst = today.addDays(1 - today.dayOfWeek()).addDays(-7 * (CalendarWeeks - 1));
        for (const DayPoints &day : f.days) {
            const qint64 at = f.calendarFirst.daysTo(day.day);
            if (at >= 0 && at < CalendarDays)
                f.calendar[std::size_t(at)] = day.solved;
        }
    }
};

QJsonArray numbers(const auto &values)
{
    QJsonArray out;
    for (const auto &v : values)
        out.append(qint64(v));
    return out;
}

QJsonValue optional(const std::optional<double> &v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

} // namespace

QString HistoryStartsNowText()
{
    return QStringLiteral("История ответов начинается сейчас: прежние игры в ней не записаны.");
}

Figures compute(const std::vector<AnswerRecord> &records, const TUser &player, const Options &options)
{
    Figures f;
    f.scores = player.Scores;
    f.level = player.Level;
    f.rightCounters = {player.LD, player.MD, player.HD};
    f.wrongCounters = {player.LU, player.MU, player.HU};
    f.historyStartsNow = records.empty();
    Pass pass{f, options, DayOf(options.zone), {}, nullptr, {}, {}};
    for (const AnswerRecord &r : records)
        pass.add(r);
    pass.finish();
    pass.calendar();
    return f;
}

QJsonObject toJson(const Figures &f)
{
    QJsonArray days;
    for (const DayPoints &d : f.days)
        days.append(QJsonObject{{QStringLiteral("day"), d.day.toString(Qt::ISODate)},
                                {QStringLiteral("points"), d.points},
                                {QStringLiteral("level"), d.level},
                                {QStringLiteral("level_up"), d.levelUp},
                                {QStringLiteral("solved"), d.solved}});
    QJsonArray medians;
    for (const auto &m : f.medianSeconds)
        medians.append(optional(m));
    const LeftOut &l = f.leftOut;
    return QJsonObject{
        {QStringLiteral("history_starts_now"), f.historyStartsNow},
        {QStringLiteral("scores"), f.scores},
        {QStringLiteral("level"), f.level},
        {QStringLiteral("right_counters"), numbers(f.rightCounters)},
        {QStringLiteral("wrong_counters"), numbers(f.wrongCounters)},
        {QStringLiteral("records"), f.records},
        {QStringLiteral("days"), days},
        {QStringLiteral("solved_by_difficulty"), numbers(f.solvedByDifficulty)},
        {QStringLiteral("solved_by_kind"), numbers(f.solvedByKind)},
        {QStringLiteral("right_answers"), f.rightAnswers},
        {QStringLiteral("wrong_answers"), f.wrongAnswers},
        {QStringLiteral("right_rate"), optional(f.rightRate)},
        {QStringLiteral("wrong_per_solved"), optional(f.wrongPerSolved)},
        {QStringLiteral("hints_bought"), f.hintsBought},
        {QStringLiteral("solutions_bought"), f.solutionsBought},
        {QStringLiteral("points_on_hints"), f.pointsOnHints},
        {QStringLiteral("points_on_solutions"), f.pointsOnSolutions},
        {QStringLiteral("median_seconds_to_right"), medians},
        {QStringLiteral("days_played"), f.daysPlayed},
        {QStringLiteral("levels_reached"), f.levelsReached},
        {QStringLiteral("won"), f.won},
        {QStringLiteral("calendar_first"), f.calendarFirst.toString(Qt::ISODate)},
        {QStringLiteral("calendar"), numbers(f.calendar)},
        {QStringLiteral("left_out"), QJsonObject{{QStringLiteral("unknown_event"), l.unknownEvent},
                                                 {QStringLiteral("bad_time"), l.badTime},
                                                 {QStringLiteral("bad_seconds"), l.badSeconds},
                                                 {QStringLiteral("bad_points"), l.badPoints},
                                                 {QStringLiteral("unknown_puzzle"), l.unknownPuzzle},
                                                 {QStringLiteral("bad_grade"), l.badGrade}}},
    };
}

} // namespace answerstats
