#pragma once
// The puzzles a player has marked with «★» in the collection. The collection
// has no player, so the marks live in the settings file, as a list of ids;
// this holds them in memory, reads them from what the file held and gives
// them back to be written.
#include "core/Problem.h"

#include <QStringList>
#include <bitset>
#include <vector>

class TStars
{
  public:
    // More than any pack holds, and still a few kilobytes in the settings file.
    static constexpr int MaxStars = 4096;

    // The ids among the stored words, in their order: anything but a decimal id
    // (0 to 65535) is skipped, a repeat counts once, and only the first
    // MaxStars are kept. Ids the catalogue does not hold are kept too: a pack
    // that holds them again shows them marked.
    static TStars FromWords(const QStringList &words);
    QStringList ToWords() const;

    bool Contains(ProblemId id) const { return marked_.test(id); }
    int Count() const { return int(order_.size()); }
    const std::vector<ProblemId> &Ids() const { return order_; }

    // Marks or unmarks; returns whether the id is marked now. A mark past
    // MaxStars pushes out the oldest one.
    bool Toggle(ProblemId id);

  private:
    std::vector<ProblemId> order_; // oldest first
    std::bitset<65536> marked_;
};

// Where the marks are kept between runs.
class IStarStore
{
  public:
    virtual ~IStarStore() = default;
    virtual TStars LoadStars() = 0;
    // False when they could not be written; they stay marked for this run.
    virtual bool SaveStars(const TStars &stars) = 0;
};
