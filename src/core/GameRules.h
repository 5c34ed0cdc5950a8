#pragma once
// The rules of a game: which puzzles a level offers, what answers and bought
// solutions do to the player, level-up, victory and saving. They reach the
// screen only through IGamePresentation, so a whole game can run without a window.
#include "core/Catalogue.h"
#include "core/DialogResult.h"
#include "core/PuzzleFlow.h"
#include "core/User.h"
#include "platform/Sounds.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace platform
{
class UserStore;
}

// What the screen shows, recomputed by UpdateView.
struct GameView {
    QString scoreText;
    QString levelText;
    int progress = 0; // 0..100
    bool textMode = false;
    bool hasSelection = false;
    bool decideEnabled = false;
    bool viewSolutionEnabled = false;
    bool pricePictureVisible = false;
    bool hintEnabled = false;
    int hintsShown = 0; // the first hints of the selected puzzle the text shows
    bool operator==(const GameView &) const = default;
};

// The game screen adds the notices of levels and victory to what both screens do.
class IGamePresentation : public virtual IPuzzleScreen
{
  public:
    virtual void PlayWave(platform::Wave wave) = 0;
    virtual void ShowNotice(const QString &text) = 0;
    virtual void ShowPictureNotice(const QString &picture, const QString &text) = 0;
    virtual void ShowPictureIdNotice(int picture, const QString &text) = 0;
    // Shows the numbers and states, and the puzzles as the model holds them now.
    virtual void ShowView(const GameView &view) = 0;
};

// Where the rules read the time: the wall clock stamps the answer log's
// records, a monotonic one measures how long a puzzle was open. Tests set their own.
struct GameClock {
    std::function<qint64()> wallSeconds; // seconds since the epoch, UTC
    std::function<qint64()> monotonicMs;
    static GameClock system();
};

class TGameRules : public TPuzzleFlow
{
  public:
    static constexpr int LastLevel = 5;
    // How many easy, medium and hard puzzles each level 1..5 draws.
    static constexpr int Quota[LastLevel][DifficultyCount] = {
        {4, 1, 0}, {4, 2, 1}, {7, 3, 2}, {10, 6, 4}, {15, 10, 8}};

    static constexpr int LevelQuota(int level, Difficulty d) { return Quota[level - 1][indexOf(d)]; }
    // The puzzles of a grade a whole game draws, level 1 to the last: what a
    // catalogue needs so that no level is drawn short.
    static constexpr int GameQuota(Difficulty d)
    {
        int sum = 0;
        for (int level = 1; level <= LastLevel; ++level)
            sum += LevelQuota(level, d);
        return sum;
    }
    static constexpr int LevelSize(int level)
    {
        int sum = 0;
        for (Difficulty d : Difficulties)
            sum += LevelQuota(level, d);
        return sum;
    }

    // The level's puzzles go into problems, which shows the player's progress from then on;
    // the player is saved to store.
    TGameRules(TCatalogue &catalogue, TUser &player, TProblemListModel &problems, IGamePresentation &screen,
               platform::UserStore &store);
    TGameRules(TCatalogue &catalogue, TUser &player, TProblemListModel &problems, IGamePresentation &screen,
               platform::UserStore &store, std::uint64_t seed);

    // Loads the catalogue and shows the level. False when the screen must close
    // at once, without the leave question (nothing is saved then).
    bool Start();

    // Runs the answer dialog and scores what was entered; a solved puzzle opens no dialog.
    void Decide() override;
    // Judges an entered answer and scores it on the player: a right one earns the
    // bonus, solves and opens the entry, and counts; a wrong one counts on the
    // player and the entry, then costs the penalty. True when right. A puzzle
    // not on the player's level is only judged.
    static bool ScoreAnswer(TUser &player, const TProblem &item, const AnswerValue &answer);
    // Asks the price unless the solution is paid for, then charges it once.
    void ViewSolution() override;
    // Buys the next hint (BuyHint) and shows the text with the hints.
    void ShowHint() override;
    // A hint costs a quarter of the solution, rounded up, so that all of a
    // puzzle's hints cost less than its solution.
    static constexpr int HintPrice(Difficulty d) { return (SolutionCost[indexOf(d)] + 3) / 4; }
    // The purchase of the selected puzzle's next hint: asks the price, then
    // charges it and counts the hint on the level entry. Nothing changes when
    // no hint can be bought, the player declines, or the points do not reach
    // (a notice says so). True when a hint was bought.
    bool BuyHint();
    // The hints the selected puzzle's text shows: those bought (never more
    // than it has), or all of them once it is solved or its solution bought.
    int HintsShown() const;
    // A hint is for sale: the puzzle is open and has one not yet bought.
    bool CanBuyHint() const;
    void Refresh() override { UpdateView(); }
    GameView UpdateView();

    // The leave question, then the save; true lets the screen close. A save
    // that fails is reported with an offer to retry; declined, the game stays open.
    bool CloseQuery() override;
    // After the screen has agreed to close: frees the catalogue, saves the player.
    void End() override;
    // A screen that closes without the leave question (start failed) saves nothing.
    bool SavesOnEnd() const { return savesOnEnd_; }
    // Whether this opening of the screen showed the victory.
    bool Won() const { return won_; }

    // False (with a notice, nothing changed) when the level cannot be drawn:
    // nothing left to draw, or no room left in the used list.
    bool DrawLevelProblems(int level);
    void FillProblemsList();

    // The ids a draw for the level would take, in draw order; changes nothing but the generator.
    std::vector<ProblemId> DrawIds(int level);

    TUser &Player() { return player_; }
    void SetClock(GameClock clock) { clock_ = std::move(clock); }
    // Adds a record to the player's pending log, with the points now as the
    // points after and, for a puzzle, its seconds open since it was selected.
    // The answers, bought solutions, levels and the victory record themselves;
    // a hint purchase calls it with AnswerEvent::Hint.
    void RecordEvent(AnswerEvent event, const TProblem *item, qint64 scoresBefore, const QString &typed = {});

  private:
    void Save();
    void LevelCompleted();
    void AnnounceLevelUp();
    void CommitDraw(const std::vector<ProblemId> &ids);
    // Says why when the draw cannot be taken; then nothing may change.
    bool CanCommit(const std::vector<ProblemId> &ids);
    bool LevelSolved() const;

    TCatalogue &catalogue_;
    TUser &player_;
    IGamePresentation &game_;
    std::mt19937_64 random_;
    bool savesOnEnd_ = true;
    bool won_ = false;
    bool ended_ = false;
    bool saved_ = false;
    platform::UserStore &store_;
    GameClock clock_ = GameClock::system();
    qint64 shownPuzzle_ = -1; // the selected puzzle's id, shown since shownAtMs_
    qint64 shownAtMs_ = 0;
    TPlayerMemos memos_{player_, store_};
};

// The stored level list holds a whole level; a larger quota would be drawn short.
static_assert(TProblemsList::kCapacity >= TGameRules::LevelSize(TGameRules::LastLevel));
