#pragma once
// Which puzzles of the collection are shown: by difficulty, by answer kind,
// by a piece of the title and by the player's «★» marks. The titles are
// folded once when the index is built, so that each typed letter costs one
// pass of plain substring searches.
#include "core/Problem.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class TStars;

struct ProblemFilter {
    // One bit per grade (1 << indexOf(d)); none set: any grade, also an unknown one.
    std::uint8_t difficulties = 0;
    // One bit per answer kind (1 << AnswerKindCode); none set: any kind.
    std::uint8_t answerKinds = 0;
    // A piece of the title, as typed; blank: any title.
    QString title;
    bool starredOnly = false;

    bool IsEmpty() const;
    bool operator==(const ProblemFilter &) const = default;
};

namespace problemfilter
{

// A text as titles are matched: case folded, ё as е.
QString fold(QStringView text);

// A data file's answer kind without reading the rest of it; none when the file
// cannot be read or does not hold a known kind.
std::optional<std::uint8_t> readAnswerKind(const QString &dataPath);

} // namespace problemfilter

class TProblemIndex
{
  public:
    // The records, in the order the positions count.
    void Assign(const std::vector<const TProblem *> &records);
    int Count() const { return int(entries_.size()); }

    // Whether every record's answer kind is known (read or given).
    bool KindsKnown() const { return kindsKnown_; }
    // Reads the answer kind of each record from its data file, once.
    void ReadKinds();
    // Sets a record's kind (tests, and a puzzle already loaded).
    void SetKind(int position, std::optional<std::uint8_t> kind);

    // The positions the filter lets through, in order. A kind filter passes no
    // record whose kind is unknown.
    std::vector<int> Shown(const ProblemFilter &filter, const TStars &stars) const;

  private:
    struct Entry {
        ProblemId id = 0;
        std::uint8_t difficult = 0;
        std::int16_t kind = -1; // unknown
        QString folded;
        QString dataPath;
    };
    std::vector<Entry> entries_;
    bool kindsKnown_ = true;
};
