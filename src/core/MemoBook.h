#pragma once
// Where a screen's memos live. The collection keeps them in memory for as long
// as the game runs (the context's book); the game keeps each player's in the
// player's store (TPlayerMemos), beside the profile's values, never among them.
#include "core/Memo.h"
#include "core/Problem.h"

#include <QString>
#include <map>
#include <set>

class TUser;
namespace platform
{
class Registry;
class UserStore;
} // namespace platform

class TMemoBook
{
  public:
    TMemoBook() = default;
    virtual ~TMemoBook() = default;
    TMemoBook(const TMemoBook &) = delete;
    TMemoBook &operator=(const TMemoBook &) = delete;

    // The puzzle's memo; empty when it has none.
    virtual TMemo Memo(ProblemId id);
    // Keeps the memo; an empty one removes it.
    virtual void Put(ProblemId id, const TMemo &memo);
    virtual void Remove(ProblemId id);
    bool HasDrawings(ProblemId id) { return !Memo(id).IsEmpty(); }

  protected:
    std::map<ProblemId, TMemo> memos_;
};

// A player's memos: one binary value per puzzle, named by its id, in the
// sub-key "Memos" of the player's key. Older games read only the key's own
// values, so they load such a profile as before; deleting the player deletes
// the sub-key with it. A player not stored yet keeps them in memory until
// Flush, after the profile's first save, so no key without a profile appears.
class TPlayerMemos : public TMemoBook
{
  public:
    static inline const QString SubKey = QStringLiteral("Memos");

    // store: the one the player is saved to.
    TPlayerMemos(const TUser &player, platform::UserStore &store) : player_(player), store_(store) {}

    // Read once per puzzle; a damaged record gives what it can (Parse).
    TMemo Memo(ProblemId id) override;
    // Written at once when the player is stored, else at Flush. A failed
    // write raises the store's error; the memo stays kept in memory.
    void Put(ProblemId id, const TMemo &memo) override;
    void Remove(ProblemId id) override;
    // Writes what waited for the player's key.
    void Flush();

    static QString KeyPath(const QString &playerPath) { return playerPath + SubKey + QLatin1Char('\\'); }
    static QString ValueName(ProblemId id) { return QString::number(id); }
    // The stored memo, read no further than TMemo::MaxBytes.
    static TMemo::Parsed Load(platform::Registry &registry, const QString &playerPath, ProblemId id);
    static void Store(platform::Registry &registry, const QString &playerPath, ProblemId id,
                      const TMemo &memo);

  private:
    platform::Registry &registry() const;
    bool playerStored() const;

    const TUser &player_;
    platform::UserStore &store_;
    std::set<ProblemId> pending_;
};
