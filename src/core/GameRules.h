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
#include <random>
#include <vector>

// What the screen shows, recomputed by UpdateView.
struct GameView {
    QString scoreText;
    QString levelText;
    int progress = 0;  // 0..100
    bool textMode = false;
    bool hasSelection = false;
    bool decideEnabled = false;
    bool viewSolutionEnabled = false;
    bool pricePictureVisible = false;
    bool operator==(const GameView &) const = default;
};

// The game screen adds the notices of levels and victory to what both screens do.
class IGamePresentation : public virtual IPuzzleScreen {
public:
    virtual void PlayWave(platform::Wave wave) = 0;
    virtual void ShowNotice(const QString &text) = 0;
    virtual void ShowPictureNotice(const QString &picture, const QString &text) = 0;
    virtual void ShowPictureIdNotice(int picture, const QString &text) = 0;
    // Shows the numbers and states, and the puzzles as the model holds them now.
    virtual void ShowView(const GameView &view) = 0;
};

class TGameRules : public TPuzzleFlow {
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

    // The level's puzzles go into problems, which shows the player's progress from then on.
    TGameRules(TCatalogue &catalogue, TUser &player, TProblemListModel &problems, IGamePresentation &screen);
    TGameRules(TCatalogue &catalogue, TUser &player, TProblemListModel &problems, IGamePresentation &screen,
               std::uint64_t seed);

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
    void Refresh() override { UpdateView(); }
    GameView UpdateView();

    // The leave question, then the save; true lets the screen close. A save
    // that fails is reported with an offer to retry; declined, the game stays open.
    bool CloseQuery() override;
    // After the screen has agreed to close: frees the catalogue, saves the player.
    void End() override;
    // A screen that closes without the leave question (start failed) saves nothing.
    bool SavesOnEnd() const { return savesOnEnd_; }

    // False (with a notice, nothing changed) when the level cannot be drawn:
    // nothing left to draw, or no room left in the used list.
    bool DrawLevelProblems(int level);
    void FillProblemsList();

    // The ids a draw for the level would take, in draw order; changes nothing but the generator.
    std::vector<ProblemId> DrawIds(int level);

    TUser &Player() { return player_; }
    // The store the player is saved to; the user's own when none is given.
    void SetRegistry(platform::Registry *registry)
    {
        registry_ = registry;
        memos_.SetRegistry(registry);
    }

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
    bool ended_ = false;
    bool saved_ = false;
    platform::Registry *registry_ = nullptr;
    TPlayerMemos memos_{player_};
};

// The stored level list holds a whole level; a larger quota would be drawn short.
static_assert(TProblemsList::kCapacity >= TGameRules::LevelSize(TGameRules::LastLevel));
