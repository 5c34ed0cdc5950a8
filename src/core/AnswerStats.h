#pragma once
// The figures of the statistics screen, computed from a player's answer log
// and the counters of the profile in one pass over the records. Records with
// impossible values are left out where they would mislead (a time ahead of
// the clock, an unknown event) or used in part (negative seconds, a puzzle not
// in the pack), and counted either way.
#include "core/AnswerLog.h"
#include "core/Difficulty.h"

#include <QDate>
#include <QJsonObject>
#include <QString>
#include <QTimeZone>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class TUser;

namespace answerstats
{

inline constexpr int CalendarWeeks = 12;
inline constexpr int CalendarDays = CalendarWeeks * 7;
inline constexpr int AnswerKinds = 5; // AnswerInteger .. AnswerNumbers

// The line shown above the counters of a player with no log yet.
QString HistoryStartsNowText();

struct DayPoints {
    QDate day;
    qint64 points = 0;    // after the day's last event
    int level = 0;        // after the day's last event; 0 when no record of the first
                          // day had possible points (later days carry the day before's)
    bool levelUp = false; // a level was reached that day (the chart marks it)
    int solved = 0;
    bool operator==(const DayPoints &) const = default;
};

struct LeftOut {
    qint64 unknownEvent = 0;  // records of a later build or damaged: not used
    qint64 badTime = 0;       // ahead of the clock or before the game existed: not used
    qint64 badSeconds = 0;    // negative or beyond a year: not in the medians
    qint64 badPoints = 0;     // points no profile holds: not on the chart
    qint64 unknownPuzzle = 0; // not in the pack, or none at all: counted still
    qint64 badGrade = 0;      // a difficulty outside the tables: not in its bars
    qint64 total() const
    {
        return unknownEvent + badTime + badSeconds + badPoints + unknownPuzzle + badGrade;
    }
    bool operator==(const LeftOut &) const = default;
};

struct Figures {
    bool historyStartsNow = false; // no records: the counters alone
    // The profile's own counters, shown with or without a log.
    qint64 scores = 0;
    int level = 0;
    std::array<int, DifficultyCount> rightCounters{};
    std::array<int, DifficultyCount> wrongCounters{};

    qint64 records = 0;          // records used
    std::vector<DayPoints> days; // days played, in order: the points chart
    std::array<int, DifficultyCount> solvedByDifficulty{};
    std::array<int, AnswerKinds> solvedByKind{};
    int rightAnswers = 0;
    int wrongAnswers = 0;
    std::optional<double> rightRate;      // right / (right + wrong)
    std::optional<double> wrongPerSolved; // wrong / right
    int hintsBought = 0;
    int solutionsBought = 0;
    qint64 pointsOnHints = 0;
    qint64 pointsOnSolutions = 0;
    std::array<std::optional<double>, DifficultyCount> medianSeconds{}; // to a right answer
    int daysPlayed = 0;
    int levelsReached = 0;
    bool won = false;
    QDate calendarFirst;                      // a Monday: the calendar's first cell
    std::array<int, CalendarDays> calendar{}; // puzzles solved per day, from calendarFirst
    LeftOut leftOut;
};

struct Options {
    qint64 now = 0; // seconds since the epoch: "today" and "the future"
    QTimeZone zone; // days are the player's days
    // Whether a puzzle id is in the pack; without it every id counts as known.
    std::function<bool(qint64)> knownPuzzle;
};

Figures compute(const std::vector<AnswerRecord> &records, const TUser &player, const Options &options);

// The figures for scripts: every number above, dates in ISO 8601.
QJsonObject toJson(const Figures &figures);

} // namespace answerstats
