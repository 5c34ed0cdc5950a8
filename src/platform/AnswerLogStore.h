#pragma once
// The answer log's table in the player store: rows of numbers (and the text
// of a wrong answer) per player key, numbered in the order they were written.
// It is a table of its own beside the key values, whose layout never changes;
// a store without it reads as an empty log and gets it on the first append.
// Rows refer to their key by id with a cascading reference, so deleting a
// player's key deletes its log, in this build and in any other.
// What the numbers mean is the core's business (core/AnswerLog.h).
#include "platform/Registry.h"

#include <QString>
#include <vector>

namespace platform::answerlog
{

// The newest rows kept per key; an append trims older ones in its transaction.
inline constexpr int Kept = 100000;

struct Row {
    qint64 seq = 0; // given by append, counting up per key
    qint64 time = 0;
    qint64 event = 0;
    qint64 puzzle = 0;
    qint64 difficulty = 0;
    qint64 kind = 0;
    qint64 before = 0;
    qint64 after = 0;
    qint64 seconds = 0;
    qint64 level = 0;
    QString typed;
};

struct Appended {
    bool ok = true;
    QString detail; // why the rows were left out, when not ok
};

// Adds rows to the key's log inside the caller's transaction (or one of its
// own), creating the table first, then trims it to `keep`. A log table this
// build cannot use (another layout, damaged rows) leaves the rows out and the
// rest of the transaction going: a save never fails for its history. A full
// disk or an I/O error raises ERegistryError, as any write does.
Appended append(Registry &registry, qint64 keyId, const std::vector<Row> &rows, int keep = Kept);

struct Read {
    std::vector<Row> rows; // oldest first
    qint64 total = 0;      // rows stored for the key, the unread older ones too
    qint64 malformed = 0;  // rows whose fields are not numbers, left out
    bool damaged = false;  // the table could not be read to its end
    QString detail;
};

// The newest `newest` rows of the key. A store without the table gives none;
// a table that cannot be read gives what was read before the fault. Never raises.
Read read(const Registry &registry, qint64 keyId, int newest = Kept);

// Moves every row of `from` to `to`, dropping what `to` had (in the caller's
// transaction). Nothing to do without the table; a table this build cannot
// use is left as it is, as append leaves it.
void move(Registry &registry, qint64 from, qint64 to);
void clear(Registry &registry, qint64 keyId);
qint64 count(const Registry &registry, qint64 keyId);

} // namespace platform::answerlog
