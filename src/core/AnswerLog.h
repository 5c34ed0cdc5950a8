#pragma once
// The answer log of a player: every event of the game mode that changes the
// player (an answer, a bought hint or solution, a level reached, the victory),
// with the points before and after it. The rules add records to the player's
// pending log; the save writes them in the profile's transaction, in a table
// of their own (platform/AnswerLogStore.h), and clears them.
#include "core/Problem.h"

#include <QJsonArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform
{
class Registry;
}

enum class AnswerEvent : std::uint8_t {
    Right = 1,    // a right answer
    Wrong = 2,    // a wrong answer, with what was typed
    Hint = 3,     // a hint bought
    Solution = 4, // a solution bought
    Level = 5,    // a level reached (Level is the new one)
    Victory = 6,  // the game won
};

// Wide fields: a stored record is kept as read, so that the statistics can
// tell an impossible value from a usable one.
struct AnswerRecord {
    qint64 Time = 0;     // seconds since the epoch, UTC
    int Event = 0;       // an AnswerEvent; another number is a record of a later build
    qint64 Puzzle = 0;   // the puzzle's id; 0 for a level reached and the victory
    int Difficult = -1;  // the puzzle's stored difficulty byte; -1 without a puzzle
    int AnswerKind = -1; // the puzzle's AnswerKindCode; -1 without a puzzle
    qint64 ScoresBefore = 0;
    qint64 ScoresAfter = 0;
    qint64 Seconds = 0; // how long the puzzle had been open before the event
    int Level = 0;      // the player's level after the event
    QString Typed;      // a wrong answer as entered
    bool operator==(const AnswerRecord &) const = default;
};

namespace answerlog
{

// The newest records kept per player.
int kept();

QString eventName(int event); // "right", "wrong", …; empty for an unknown number
std::optional<AnswerEvent> eventFromName(const QString &name);

// An entered answer as the player would write it: the number, the text, the
// time as h:mm:ss, the numbers with spaces.
QString typedText(std::uint8_t kind, const AnswerValue &answer);

struct Loaded {
    std::vector<AnswerRecord> records; // oldest first, at most kept()
    qint64 total = 0;                  // stored, including older ones not read
    qint64 unreadable = 0;             // rows left out: not numbers
    bool damaged = false;              // the table could not be read to its end
    QString detail;
};

// The log of the player stored at keyPath. Never raises: a store without the
// log, or a damaged one, gives what it can.
Loaded load(const platform::Registry &registry, const QString &keyPath, int newest = -1);

// Appends to the stored player's log in the caller's transaction; false (with
// the reason in detail) when the log table could not take them and the save
// went on without them.
bool append(platform::Registry &registry, const QString &keyPath, const std::vector<AnswerRecord> &records,
            QString *detail = nullptr);

// The log of one key moves to another, replacing what was there; nothing
// happens when either key is missing. The profile backups use it.
void move(platform::Registry &registry, const QString &fromPath, const QString &toPath);

// The export's form: one object per record, the time in ISO 8601 (UTC).
QJsonArray toJson(const std::vector<AnswerRecord> &records);
// The import's check: every field of every record, at most kept() of them.
// Raises EInternalError naming the first fault.
std::vector<AnswerRecord> fromJson(const QJsonValue &value);

} // namespace answerlog
