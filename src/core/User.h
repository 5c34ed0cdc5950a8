#pragma once
// The player profile and its two fixed-size progress lists, stored in the
// per-user registry one key per player.
#include "core/AnswerLog.h"
#include "core/Problem.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

namespace platform
{
class Registry;
class IResourceLibrary;
} // namespace platform

#pragma pack(push, 1)
struct LevelEntry {
    std::uint16_t Id = 0;           // the puzzle's id in the catalogue
    std::uint8_t Solved = 0;        // 1 once answered right
    std::uint8_t Bought = 0;        // 1 once the solution may be shown free: bought or answered right
    std::uint16_t WrongAnswers = 0; // wrong answers given to it
    bool operator==(const LevelEntry &) const = default;
};
#pragma pack(pop)
static_assert(sizeof(LevelEntry) == 6);

// Every puzzle ever drawn for the player, in draw order.
class TUsedIdList
{
  public:
    static constexpr int kCapacity = 170;
    void Clear();
    void Add(ProblemId id); // EListError "List index out of bounds." when full
    bool Contains(ProblemId id) const;
    int Capacity() const { return kCapacity; }
    void LoadFromArray(const ProblemId *ids, int n);
    int SaveToArray(ProblemId *dest) const;
    int Count() const { return count_; }
    ProblemId At(int i) const { return ids_.at(i); }

  private:
    std::array<ProblemId, kCapacity> ids_{};
    std::uint16_t count_ = 0;
};

// The puzzles of the current level with their state. Its capacity is the
// largest level quota, so every level draws its full quota. Beside each entry
// it keeps how many of the puzzle's hints were bought; that number is stored in
// a value of its own, so the entries keep their stored layout.
class TProblemsList
{
  public:
    static constexpr int kCapacity = 33;
    void Clear();
    void Add(ProblemId id);                 // EListError "List index out of bounds." when full
    LevelEntry GetItem(int position) const; // EListError outside 0..count-1
    LevelEntry *FindEntry(ProblemId id);
    const LevelEntry *FindEntry(ProblemId id) const;
    int SolvedCount() const; // EInternalError "No Problems in problem list." when empty
    int Capacity() const { return kCapacity; }
    void LoadFromArray(const LevelEntry *entries, int n);
    int SaveToArray(LevelEntry *dest) const;
    int Count() const { return count_; }
    void RemoveAt(int position);

    // Hints bought for the puzzle with this id; 0 for an id not on the level.
    int HintsBought(ProblemId id) const;
    // Ignored for an id not on the level; held to 0..MaxHints.
    void SetHintsBought(ProblemId id, int count);

  private:
    std::array<LevelEntry, kCapacity> entries_{};
    std::array<std::uint8_t, kCapacity> hints_{};
    std::uint16_t count_ = 0;
};

class TUser
{
  public:
    static inline const QString UsersKey = QStringLiteral("\\Software\\Quorvane\\Zentrika\\Users info\\");

    QString Name; // the player's name, also the name of the player's key
    // The name of the key the profile was read from. It is the one the profile
    // is saved under: a stored "Name" may be missing or differ from it.
    QString KeyName;
    QImage Logo;                 // the logo picture, from the media library's bitmap LabelIndex
    std::uint8_t LabelIndex = 0; // number of the logo bitmap, 1 to 5
    std::int32_t Scores = 30;    // points; may fall below zero
    std::uint8_t Level = 1;      // the current level, 1 to TGameRules::LastLevel
    std::uint16_t LD = 0;        // right answers to easy puzzles
    std::uint16_t MD = 0;        // right answers to medium puzzles
    std::uint16_t HD = 0;        // right answers to hard puzzles
    std::uint16_t LU = 0;        // wrong answers to easy puzzles
    std::uint16_t MU = 0;        // wrong answers to medium puzzles
    std::uint16_t HU = 0;        // wrong answers to hard puzzles
    TUsedIdList UsedIds;         // every puzzle ever drawn for the player, never drawn again
    TProblemsList LevelList;     // the current level's puzzles with Solved, Bought, WrongAnswers
    // Events since the last save, oldest first: the save appends them to the
    // stored answer log in its transaction; whoever saves clears them after.
    std::vector<AnswerRecord> PendingLog;

    // Adds delta to Scores, held at the limits of its type rather than wrapping.
    void ChangeScores(int delta);
    // The scores a stored or imported profile may hold: far beyond any game,
    // far enough from the type's limits.
    static constexpr std::int32_t MinScores = -1000000000;
    static constexpr std::int32_t MaxScores = 1000000000;

    // The logo picture comes from media when given; without it (or the
    // picture) the logo stays empty.
    static std::unique_ptr<TUser> CreateNew(const QString &name, std::uint8_t logo,
                                            const platform::IResourceLibrary *media = nullptr);
    // Raises EInternalError or the registry's read error.
    static std::unique_ptr<TUser> CreateFromRegistry(const QString &keyPath, platform::Registry &registry,
                                                     const platform::IResourceLibrary *media = nullptr);
    // One transaction with the pending log records; a key that cannot be
    // opened writes nothing. A log table the save cannot use leaves the
    // records out (with a line on stderr), never the profile.
    void SaveToRegistry(platform::Registry &registry) const;

    // The key of a stored player. A name that cannot be a key name raises the
    // registry's error, so no name reaches the players' key itself.
    static QString PlayerPath(const QString &keyName);
    QString KeyPath() const { return PlayerPath(KeyName.isEmpty() ? Name : KeyName); }
};
