// The rules of a game, played without a window through a scripted screen that
// records every call, over real catalogue files and the real registry store.
#include "ScriptedReplies.h"
#include "TestFiles.h"
#include "core/DataFile.h"
#include "core/Errors.h"
#include "core/GameRules.h"
#include "core/HintBlock.h"
#include "platform/Registry.h"
#include "platform/UserStore.h"
#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace
{

// A catalogue on disk: puzzle i has difficulty difficulties[i] and the answer 1000 + id.
class CatalogueFiles
{
  public:
    explicit CatalogueFiles(const std::vector<int> &difficulties, ProblemId firstId = 1)
    {
        QImage picture(8, 8, QImage::Format_RGB888);
        picture.fill(Qt::yellow);
        QDir().mkpath(dir.filePath(QStringLiteral("Images")));
        QDir().mkpath(dir.filePath(QStringLiteral("Data")));
        picture.save(dir.filePath(QStringLiteral("Images/p.jpg")));
        for (std::size_t i = 0; i < difficulties.size(); ++i)
            entries.push_back(entryFor(ProblemId(firstId + i), difficulties[i]));
        write();
    }

    CatalogueEntry entryFor(ProblemId id, int difficult)
    {
        PuzzleDataFile f;
        f.kind = AnswerInteger;
        f.answer = AnswerValue::fromInteger(1000 + id);
        f.lines = {QStringLiteral("Сколько?")};
        f.statement = "{\\rtf1 statement}";
        f.solution = "{\\rtf1 solution}";
        for (int n = 1; n <= hintsPerPuzzle; ++n)
            f.hints.append(QStringLiteral("{\\rtf1 hint %1 of %2}").arg(n).arg(id).toLatin1());
        const QString data = QStringLiteral("%1.dat").arg(id);
        QFile out(dir.filePath(QStringLiteral("Data/") + data));
        out.open(QIODevice::WriteOnly);
        out.write(encodeDataFile(f));
        return {id, difficult, QStringLiteral("Головоломка %1").arg(id), QStringLiteral("p.jpg"), data};
    }

    void write()
    {
        QFile list(dir.filePath(QStringLiteral("list.lst")));
        list.open(QIODevice::WriteOnly | QIODevice::Truncate);
        list.write(encodeCatalogue(entries));
    }

    // Rewrites every data file with this many hints.
    void setHints(int count)
    {
        hintsPerPuzzle = count;
        for (CatalogueEntry &e : entries)
            e = entryFor(e.id, e.difficult);
    }

    QTemporaryDir dir;
    std::vector<CatalogueEntry> entries;
    int hintsPerPuzzle = 3;
};

// The screen as the rules see it: scripted replies to questions and answer
// dialogs, and the player's choices of rows in the model.
class FakeScreen : public IGamePresentation
{
  public:
    TGameRules *rules = nullptr;
    TProblemListModel *problems = nullptr;
    QStringList calls;
    std::deque<Reply> askReplies; // yes when empty
    std::function<EnteredAnswer(TProblem &)> answerDialog;
    GameView view;
    bool closed = false;

    void PlayClick() override { calls << QStringLiteral("PlayClick"); }
    void PlayWave(platform::Wave w) override { calls << QStringLiteral("PlayWave ") + platform::waveName(w); }
    void ShowTrueAnswer() override { calls << QStringLiteral("ShowTrueAnswer"); }
    void ShowFalseAnswer() override { calls << QStringLiteral("ShowFalseAnswer"); }
    void ShowNotice(const QString &text) override { calls << QStringLiteral("ShowNotice ") + text; }
    void ShowPictureNotice(const QString &picture, const QString &text) override
    {
        calls << QStringLiteral("ShowPictureNotice %1 %2").arg(picture, text);
    }
    void ShowPictureIdNotice(int picture, const QString &text) override
    {
        calls << QStringLiteral("ShowPictureIdNotice %1 %2").arg(picture).arg(text);
    }
    Reply Ask(const QString &text) override
    {
        calls << QStringLiteral("Ask ") + text;
        return testscript::nextReply(askReplies);
    }
    void ShowCatalogueError() override { calls << QStringLiteral("ShowCatalogueError"); }
    EnteredAnswer RunAnswerDialog(TProblem &item) override
    {
        calls << QStringLiteral("AnswerDialog %1").arg(item.Id);
        return answerDialog(item);
    }
    void RunAnswerViewer(const QByteArray &solution) override
    {
        calls << QStringLiteral("AnswerViewer ") + QString::fromLatin1(solution);
    }
    void ReportError(const QString &message) override { calls << QStringLiteral("ReportError ") + message; }
    void ShowView(const GameView &v) override { view = v; }
    void CloseScreen() override
    {
        calls << QStringLiteral("CloseScreen");
        if (rules->CloseQuery()) {
            rules->End();
            closed = true;
        }
    }

    // A row the player chose.
    void select(int position)
    {
        problems->Select(position);
        rules->Refresh();
    }
    const TProblem *selected() const { return problems->Selected(); }
    const TProblem &item(int position) const { return *problems->At(position); }
    LevelEntry progress(int position) const { return problems->Progress(position); }
    // Calls recorded since the mark, without the repeated clicks.
    QStringList since(int mark) const { return calls.mid(mark); }
};

// The dialog only hands back what was entered; the rules score it.
EnteredAnswer rightAnswer(TProblem &item)
{
    return testscript::enter(item, AnswerVerdict::Right);
}

EnteredAnswer wrongAnswer(TProblem &item)
{
    return testscript::enter(item, AnswerVerdict::Wrong);
}

class Game
{
  public:
    Game(const QString &programDir, platform::Registry &registry, std::unique_ptr<TUser> user,
         std::uint64_t seed = 42)
        : catalogue(programDir), player(std::move(user)), store(registry),
          rules(catalogue, *player, problems, screen, store, seed)
    {
        screen.rules = &rules;
        screen.problems = &problems;
        screen.answerDialog = rightAnswer;
    }

    // Selects the item, opens its text and answers it.
    void answer(int position, EnteredAnswer (*how)(TProblem &))
    {
        screen.select(position);
        screen.answerDialog = how;
        if (!rules.TextMode())
            rules.Decide();
        rules.Decide();
    }

    TCatalogue catalogue;
    std::unique_ptr<TUser> player;
    TProblemListModel problems;
    FakeScreen screen;
    platform::UserStore store;
    TGameRules rules;
};

class GameRules : public ::testing::Test
{
  protected:
    QTemporaryDir store;
    platform::Registry registry{store.filePath(QStringLiteral("registry.sqlite3"))};

    std::vector<int> difficulties(int easy, int medium, int hard)
    {
        std::vector<int> d;
        // Interleaved, so that draws cannot rely on catalogue order.
        int left[3] = {easy, medium, hard};
        while (left[0] + left[1] + left[2] > 0) {
            for (int k = 0; k < 3; ++k) {
                if (left[k] > 0) {
                    d.push_back(k);
                    --left[k];
                }
            }
        }
        return d;
    }
};

} // namespace

TEST_F(GameRules, AWholeGameFromANewPlayerToVictory)
{
    CatalogueFiles files(difficulties(50, 40, 30));
    ASSERT_EQ(files.entries.size(), 120u);
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Вася"), 3));
    TUser &p = *game.player;
    FakeScreen &screen = game.screen;
    ASSERT_TRUE(game.rules.Start());

    std::vector<ProblemId> drawOrder;
    std::set<ProblemId> drawn;
    std::int32_t score = 30;
    int rightByDifficulty[3] = {0, 0, 0}, wrongByDifficulty[3] = {0, 0, 0};

    for (int level = 1; level <= 5; ++level) {
        ASSERT_EQ(p.Level, level);
        const int total = TGameRules::Quota[level - 1][0] + TGameRules::Quota[level - 1][1] +
                          TGameRules::Quota[level - 1][2];
        ASSERT_EQ(p.LevelList.Count(), total);
        ASSERT_EQ(game.problems.Count(), total);
        // Easy first, then medium, then hard, each to its quota, never a used id.
        int position = 0;
        for (int d = 0; d < 3; ++d) {
            for (int n = 0; n < TGameRules::Quota[level - 1][d]; ++n, ++position) {
                const ProblemId id = p.LevelList.GetItem(position).Id;
                EXPECT_EQ(game.catalogue.FindProblem(id)->Difficult, d);
                EXPECT_TRUE(drawn.insert(id).second) << "id " << id << " drawn twice";
                drawOrder.push_back(id);
            }
        }
        EXPECT_EQ(game.problems.SelectedIndex(), 0);
        EXPECT_EQ(screen.view.progress, 0);

        for (int i = 0; i < total; ++i) {
            const int d = screen.item(i).Difficult;
            if (i % 3 == 1) {
                // A wrong answer first: the penalty, the counter and the entry's count.
                game.answer(i, wrongAnswer);
                score -= AnswerPenalty[d];
                ++wrongByDifficulty[d];
                EXPECT_EQ(screen.calls.last(), QStringLiteral("ShowFalseAnswer"));
                EXPECT_TRUE(game.rules.TextMode());
                EXPECT_EQ(p.LevelList.GetItem(i).WrongAnswers, 1);
                EXPECT_EQ(screen.progress(i).WrongAnswers, 1);
                EXPECT_EQ(p.Scores, score);
            }
            if (i % 4 == 2 && p.Scores >= SolutionCost[d]) {
                // A bought solution costs its price once.
                screen.select(i);
                game.rules.ViewSolution();
                score -= SolutionCost[d];
                EXPECT_EQ(p.Scores, score);
                EXPECT_EQ(p.LevelList.GetItem(i).Bought, 1);
                EXPECT_TRUE(screen.calls.last().startsWith(QStringLiteral("AnswerViewer")));
                game.rules.ViewSolution();
                EXPECT_EQ(p.Scores, score);
            }
            const int mark = int(screen.calls.size());
            const bool last = i == total - 1;
            if (level == 5 && last)
                screen.askReplies = {Reply::No}; // "Нет" to the leave question after victory
            game.answer(i, rightAnswer);
            score += AnswerBonus[d];
            ++rightByDifficulty[d];
            EXPECT_EQ(p.Scores, score);
            EXPECT_EQ(p.LD, rightByDifficulty[0]);
            EXPECT_EQ(p.MD, rightByDifficulty[1]);
            EXPECT_EQ(p.HD, rightByDifficulty[2]);
            EXPECT_EQ(p.LU, wrongByDifficulty[0]);
            EXPECT_EQ(p.MU, wrongByDifficulty[1]);
            EXPECT_EQ(p.HU, wrongByDifficulty[2]);
            EXPECT_EQ(screen.view.scoreText, QString::number(score));
            if (!last) {
                EXPECT_FALSE(game.rules.TextMode());
                EXPECT_EQ(screen.view.progress, int(std::nearbyint((i + 1) * 100.0 / total)));
                continue;
            }
            const QStringList calls = screen.since(mark);
            if (level < 5) {
                const int dialog = int(calls.indexOf(QRegularExpression(QStringLiteral("AnswerDialog .*"))));
                ASSERT_GE(dialog, 0);
                EXPECT_EQ(
                    calls.mid(dialog + 1),
                    (QStringList{
                        QStringLiteral("ShowTrueAnswer"),
                        QStringLiteral("PlayWave LEVELUP"),
                        QStringLiteral("ShowPictureNotice LEVELUP Поздравляем с переходом на новый уровень!"),
                    }));
                // The new level's puzzles, the first one chosen.
                EXPECT_EQ(game.problems.SelectedIndex(), 0);
                EXPECT_EQ(game.problems.Selected()->Id, p.LevelList.GetItem(0).Id);
            } else {
                // Victory: the player's own logo, then the leave question; "Нет" keeps the screen.
                EXPECT_EQ(calls.mid(calls.size() - 4),
                          (QStringList{QStringLiteral("ShowTrueAnswer"),
                                       QStringLiteral("ShowPictureIdNotice 3 Поздравляем с победой!"),
                                       QStringLiteral("CloseScreen"),
                                       QStringLiteral("Ask Хотите выйти в главное меню?")}));
            }
            // The main menu offers the statistics after this screen, and only after the victory.
            EXPECT_EQ(game.rules.Won(), level == 5);
        }
        if (level < 5) {
            EXPECT_EQ(screen.view.levelText, QString::number(level + 1));
            EXPECT_EQ(screen.view.progress, 0);
        }
    }
    EXPECT_FALSE(screen.closed);
    EXPECT_EQ(p.Level, 5);
    EXPECT_EQ(p.LevelList.SolvedCount(), 33);
    EXPECT_EQ(screen.view.progress, 100);
    EXPECT_FALSE(screen.view.decideEnabled);
    EXPECT_TRUE(screen.view.viewSolutionEnabled);

    ASSERT_EQ(p.UsedIds.Count(), 77);
    for (int i = 0; i < 77; ++i)
        EXPECT_EQ(p.UsedIds.At(i), drawOrder[i]);

    // Leaving saves; the stored profile is the one in memory.
    game.rules.Back();
    ASSERT_TRUE(screen.closed);
    EXPECT_EQ(game.catalogue.Count(), 0);
    const auto stored = TUser::CreateFromRegistry(p.KeyPath(), registry);
    EXPECT_EQ(stored->Name, p.Name);
    EXPECT_EQ(stored->Scores, p.Scores);
    EXPECT_EQ(stored->Level, 5);
    EXPECT_EQ(stored->LabelIndex, 3);
    EXPECT_EQ(std::tie(stored->LD, stored->MD, stored->HD, stored->LU, stored->MU, stored->HU),
              std::tie(p.LD, p.MD, p.HD, p.LU, p.MU, p.HU));
    ASSERT_EQ(stored->UsedIds.Count(), 77);
    for (int i = 0; i < 77; ++i)
        EXPECT_EQ(stored->UsedIds.At(i), p.UsedIds.At(i));
    ASSERT_EQ(stored->LevelList.Count(), 33);
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(stored->LevelList.GetItem(i), p.LevelList.GetItem(i));
}

TEST_F(GameRules, ReopeningContinuesTheLevelWithItsFlags)
{
    CatalogueFiles files(difficulties(20, 10, 5));
    QString key;
    std::vector<LevelEntry> before;
    {
        Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Маша"), 1));
        ASSERT_TRUE(game.rules.Start());
        game.answer(0, rightAnswer);
        game.answer(1, wrongAnswer);
        game.screen.select(4);
        game.rules.ViewSolution();
        game.rules.Back(); // text mode to list
        game.rules.Back(); // leave
        ASSERT_TRUE(game.screen.closed);
        key = game.player->KeyPath();
        for (int i = 0; i < game.player->LevelList.Count(); ++i)
            before.push_back(game.player->LevelList.GetItem(i));
    }
    Game again(files.dir.path(), registry, TUser::CreateFromRegistry(key, registry), 7);
    ASSERT_TRUE(again.rules.Start());
    ASSERT_EQ(again.problems.Count(), int(before.size()));
    EXPECT_EQ(again.player->UsedIds.Count(), 5); // nothing new drawn
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(again.screen.item(int(i)).Id, before[i].Id);
        EXPECT_EQ(again.screen.progress(int(i)), before[i]);
    }
    EXPECT_EQ(again.screen.progress(0).Solved, 1);
    EXPECT_EQ(again.screen.progress(1).WrongAnswers, 1);
    EXPECT_EQ(again.screen.progress(4).Bought, 1);
    EXPECT_EQ(again.screen.view.progress, 20);
}

TEST_F(GameRules, ARightAnswerOpensTheSolutionAtOnce)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Петя"), 2));
    ASSERT_TRUE(game.rules.Start());
    game.answer(4, rightAnswer); // the medium puzzle: +20
    EXPECT_EQ(game.player->Scores, 50);
    game.player->Scores = 0; // at any score the solution stays free
    game.screen.select(4);
    EXPECT_TRUE(game.screen.view.viewSolutionEnabled);
    EXPECT_FALSE(game.screen.view.pricePictureVisible);
    EXPECT_FALSE(game.screen.view.decideEnabled);
    const int mark = int(game.screen.calls.size());
    game.rules.ViewSolution();
    EXPECT_EQ(game.player->Scores, 0);
    EXPECT_FALSE(game.screen.since(mark).join(QLatin1Char('\n')).contains(QStringLiteral("Ask")));
    EXPECT_TRUE(game.screen.calls.last().startsWith(QStringLiteral("AnswerViewer")));
}

TEST_F(GameRules, PricesAndScoresAtTheirEdges)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Оля"), 2));
    ASSERT_TRUE(game.rules.Start());
    // Progress: 2 of 5 solved show 40.
    game.answer(0, rightAnswer);
    game.answer(1, rightAnswer);
    EXPECT_EQ(game.screen.view.progress, 40);
    EXPECT_EQ(game.player->Scores, 50);

    // The price question: "Нет" charges nothing and shows nothing.
    game.screen.select(4);
    game.player->Scores = 30;
    game.screen.askReplies = {Reply::No};
    game.rules.ViewSolution();
    EXPECT_EQ(game.screen.calls.last(), QStringLiteral("Ask Хотите посмотреть ответ за 30 очков?"));
    EXPECT_EQ(game.player->Scores, 30);

    // Exactly the price may buy and leaves 0; one point less disables the button.
    game.player->Scores = 29;
    game.rules.UpdateView();
    EXPECT_FALSE(game.screen.view.viewSolutionEnabled);
    EXPECT_TRUE(game.screen.view.pricePictureVisible);
    game.player->Scores = 30;
    game.rules.UpdateView();
    EXPECT_TRUE(game.screen.view.viewSolutionEnabled);
    game.rules.ViewSolution();
    EXPECT_EQ(game.player->Scores, 0);
    EXPECT_FALSE(game.screen.view.pricePictureVisible);

    // A purchase that cannot be paid never shows the solution.
    game.screen.select(2);
    game.player->Scores = -6;
    const int mark = int(game.screen.calls.size());
    game.rules.ViewSolution();
    EXPECT_EQ(game.player->Scores, -6);
    EXPECT_FALSE(game.screen.since(mark).join(QLatin1Char('\n')).contains(QStringLiteral("AnswerViewer")));

    // A wrong answer on an easy puzzle may take the score below zero.
    game.answer(3, wrongAnswer);
    EXPECT_EQ(game.player->Scores, -10);
    EXPECT_EQ(game.player->LU, 1);
}

TEST_F(GameRules, CancellingTheAnswerDialogChangesNothing)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Оля"), 2));
    ASSERT_TRUE(game.rules.Start());
    game.screen.select(0);
    game.rules.Decide();
    ASSERT_TRUE(game.rules.TextMode());
    game.screen.answerDialog = [](TProblem &item) {
        return testscript::enter(item, AnswerVerdict::Cancelled);
    };
    const int mark = int(game.screen.calls.size());
    game.rules.Decide();
    EXPECT_EQ(game.screen.since(mark),
              (QStringList{QStringLiteral("PlayClick"),
                           QStringLiteral("AnswerDialog %1").arg(game.screen.selected()->Id)}));
    EXPECT_TRUE(game.rules.TextMode());
    EXPECT_EQ(game.player->Scores, 30);
}

TEST_F(GameRules, ALevelUpWithNothingLeftToDrawKeepsTheLevel)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Ира"), 2));
    ASSERT_TRUE(game.rules.Start());
    for (int i = 0; i < 5; ++i)
        game.answer(i, rightAnswer);
    EXPECT_EQ(game.screen.calls.last(),
              QStringLiteral("ShowNotice Новых головоломок для следующего уровня нет."));
    EXPECT_EQ(game.player->Level, 1);
    EXPECT_EQ(game.player->LevelList.Count(), 5);
    EXPECT_EQ(game.player->LevelList.SolvedCount(), 5);
}

TEST_F(GameRules, AShortCatalogueGivesWhatItHas)
{
    CatalogueFiles files(difficulties(2, 0, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Ира"), 2));
    ASSERT_TRUE(game.rules.Start());
    EXPECT_EQ(game.player->LevelList.Count(), 2);
}

TEST_F(GameRules, AFirstDrawWithNothingClosesWithoutSaving)
{
    CatalogueFiles files(difficulties(0, 0, 3)); // level 1 draws no hard puzzles
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Ира"), 2));
    EXPECT_FALSE(game.rules.Start());
    EXPECT_EQ(game.screen.calls,
              (QStringList{QStringLiteral("ShowNotice Новых головоломок для следующего уровня нет.")}));
    EXPECT_TRUE(game.rules.CloseQuery()); // no leave question
    game.rules.End();
    EXPECT_FALSE(registry.keyExists(game.player->KeyPath()));
}

TEST_F(GameRules, ACatalogueThatCannotLoadClosesWithoutTheQuestion)
{
    QTemporaryDir empty;
    Game game(empty.path(), registry, TUser::CreateNew(QStringLiteral("Ира"), 2));
    EXPECT_FALSE(game.rules.Start());
    EXPECT_EQ(game.screen.calls, (QStringList{QStringLiteral("ShowCatalogueError")}));
    EXPECT_TRUE(game.rules.CloseQuery());
    game.rules.End();
    EXPECT_FALSE(registry.keyExists(game.player->KeyPath()));
}

TEST_F(GameRules, EntriesTheCatalogueLostAreDropped)
{
    CatalogueFiles files(difficulties(8, 2, 0));
    QString key;
    std::vector<ProblemId> level;
    {
        Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Лена"), 4));
        ASSERT_TRUE(game.rules.Start());
        for (int i = 0; i < 4; ++i)
            game.answer(i, rightAnswer); // all but the medium one
        game.rules.Back();
        ASSERT_TRUE(game.screen.closed);
        key = game.player->KeyPath();
        for (int i = 0; i < 5; ++i)
            level.push_back(game.player->LevelList.GetItem(i).Id);
    }
    // The unsolved puzzle disappears from list.lst: the level is complete.
    const ProblemId lost = level[4];
    std::erase_if(files.entries, [&](const CatalogueEntry &e) { return e.id == lost; });
    files.write();
    Game again(files.dir.path(), registry, TUser::CreateFromRegistry(key, registry));
    ASSERT_TRUE(again.rules.Start());
    EXPECT_EQ(again.player->Level, 2);
    EXPECT_TRUE(again.player->UsedIds.Contains(lost));
    EXPECT_TRUE(again.screen.calls.contains(QStringLiteral("PlayWave LEVELUP")));
    EXPECT_FALSE(again.player->LevelList.FindEntry(lost));
}

// What a stored profile holds, for comparing before and after a game.
QByteArray storedProfile(platform::Registry &registry, const QString &key)
{
    const auto p = TUser::CreateFromRegistry(key, registry);
    QByteArray out = QByteArray::number(p->Level) + ' ' + QByteArray::number(p->Scores) + ' ';
    for (int i = 0; i < p->UsedIds.Count(); ++i)
        out += QByteArray::number(p->UsedIds.At(i)) + ',';
    for (int i = 0; i < p->LevelList.Count(); ++i) {
        const LevelEntry e = p->LevelList.GetItem(i);
        out +=
            QStringLiteral(" %1:%2%3%4").arg(e.Id).arg(e.Solved).arg(e.Bought).arg(e.WrongAnswers).toUtf8();
    }
    return out;
}

// A player who goes back and forth between packs with other ids: the level of
// one pack is never played, redrawn or lost in the other, and nothing of the
// other pack enters the used list.
TEST_F(GameRules, SwitchingPacksKeepsTheLevelAndTheUsedList)
{
    CatalogueFiles stock(difficulties(30, 20, 10));
    CatalogueFiles other(difficulties(30, 20, 10), 500);
    QString key;
    {
        Game game(stock.dir.path(), registry, TUser::CreateNew(QStringLiteral("Лена"), 4));
        ASSERT_TRUE(game.rules.Start());
        game.answer(0, rightAnswer);
        game.answer(1, wrongAnswer);
        game.rules.Back();
        game.rules.Back();
        ASSERT_TRUE(game.screen.closed);
        key = game.player->KeyPath();
    }
    const QByteArray before = storedProfile(registry, key);
    for (int round = 0; round < 3; ++round) {
        Game away(other.dir.path(), registry, TUser::CreateFromRegistry(key, registry));
        EXPECT_FALSE(away.rules.Start());
        EXPECT_EQ(away.screen.calls,
                  QStringList{QStringLiteral(
                      "ShowNotice Вашего уровня нет в этом наборе: запустите игру с прежним набором.")});
        EXPECT_TRUE(away.rules.CloseQuery()); // no leave question, nothing saved
        away.rules.End();
        EXPECT_EQ(storedProfile(registry, key), before);

        Game home(stock.dir.path(), registry, TUser::CreateFromRegistry(key, registry));
        ASSERT_TRUE(home.rules.Start());
        EXPECT_EQ(home.problems.Count(), 5);
        EXPECT_EQ(home.screen.view.progress, 20);
        home.rules.Back();
        ASSERT_TRUE(home.screen.closed);
        EXPECT_EQ(storedProfile(registry, key), before);
    }
}

// A level whose puzzles are partly in the pack shows those; the others stay
// in the stored level, and the progress counts the puzzles on offer.
TEST_F(GameRules, EntriesOfAnotherPackStayOnTheLevelUnplayed)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    auto user = TUser::CreateNew(QStringLiteral("Лена"), 4);
    for (ProblemId id : {1, 900, 2})
        user->LevelList.Add(id);
    user->LevelList.FindEntry(1)->Solved = 1;
    Game game(files.dir.path(), registry, std::move(user));
    ASSERT_TRUE(game.rules.Start());
    EXPECT_EQ(game.problems.Count(), 2);
    EXPECT_EQ(game.screen.view.progress, 50);
    game.answer(1, rightAnswer); // the last open puzzle of this pack
    EXPECT_EQ(game.player->Level, 2);
    EXPECT_FALSE(game.player->LevelList.FindEntry(900));

    Game kept(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Оля"), 4));
    kept.player->LevelList.Add(900);
    kept.player->LevelList.Add(3);
    ASSERT_TRUE(kept.rules.Start());
    kept.rules.Back();
    ASSERT_TRUE(kept.screen.closed);
    EXPECT_TRUE(TUser::CreateFromRegistry(kept.player->KeyPath(), registry)->LevelList.FindEntry(900));
}

// A draw that would overflow the used list (an imported profile full of ids,
// or one filled by earlier pack switches) is refused with a notice, and the
// profile stays as it was: no half-drawn level, no English list error.
TEST_F(GameRules, ALevelThatCannotBeDrawnLeavesTheProfileAsItWas)
{
    const QString noRoom =
        QStringLiteral("ShowNotice Список головоломок игрока полон: начните игру под новым именем.");
    CatalogueFiles files(difficulties(30, 20, 10));
    struct Case {
        int level;
        int filler;   // ids of earlier levels or other packs
        bool levelOn; // a level of 5 puzzles to solve first; level 2 then draws 7
    } cases[] = {{5, TUsedIdList::kCapacity, false},
                 {1, TUsedIdList::kCapacity - 4, false},
                 {1, TUsedIdList::kCapacity - 5 - 6, true}};
    for (const Case &c : cases) {
        auto user = TUser::CreateNew(QStringLiteral("Петя"), 1);
        user->Level = std::uint8_t(c.level);
        for (int i = 0; i < c.filler; ++i)
            user->UsedIds.Add(ProblemId(2000 + i));
        if (c.levelOn) {
            for (ProblemId id = 1; id <= 5; ++id) {
                user->LevelList.Add(id);
                user->UsedIds.Add(id);
            }
        }
        const int usedBefore = user->UsedIds.Count();
        Game game(files.dir.path(), registry, std::move(user));
        if (!c.levelOn) {
            EXPECT_FALSE(game.rules.Start());
            EXPECT_EQ(game.screen.calls, QStringList{noRoom});
            EXPECT_EQ(game.player->LevelList.Count(), 0);
            EXPECT_TRUE(game.rules.CloseQuery());
            game.rules.End();
            EXPECT_FALSE(registry.keyExists(game.player->KeyPath()));
        } else {
            ASSERT_TRUE(game.rules.Start());
            for (int i = 0; i < 5; ++i)
                game.answer(i, rightAnswer);
            EXPECT_EQ(game.screen.calls.last(), noRoom);
            EXPECT_EQ(game.player->Level, 1);
            EXPECT_EQ(game.player->LevelList.Count(), 5);
        }
        EXPECT_EQ(game.player->UsedIds.Count(), usedBefore);
    }
}

TEST_F(GameRules, TextModeNeedsASelection)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Лена"), 4));
    ASSERT_TRUE(game.rules.Start());
    game.problems.Clear();
    game.rules.SetTextMode(true);
    EXPECT_FALSE(game.rules.TextMode());
    game.player->LevelList.Clear();
    EXPECT_THROW(game.rules.FillProblemsList(), EInternalError);
}

TEST_F(GameRules, ASolvedLevelLeftWithNothingToDrawMovesOnOnceThePackGrows)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    QString key;
    {
        Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Ира"), 2));
        ASSERT_TRUE(game.rules.Start());
        for (int i = 0; i < 5; ++i)
            game.answer(i, rightAnswer);
        ASSERT_EQ(game.player->Level, 1);
        game.rules.Back();
        ASSERT_TRUE(game.screen.closed);
        key = game.player->KeyPath();
    }
    // Puzzles added to the pack: opening the game moves the player on.
    for (ProblemId id = 100; id < 112; ++id)
        files.entries.push_back(files.entryFor(id, int(id % 3)));
    files.write();
    Game again(files.dir.path(), registry, TUser::CreateFromRegistry(key, registry));
    ASSERT_TRUE(again.rules.Start());
    EXPECT_EQ(again.player->Level, 2);
    EXPECT_TRUE(again.screen.calls.contains(QStringLiteral("PlayWave LEVELUP")));
    EXPECT_EQ(again.player->LevelList.SolvedCount(), 0);
    EXPECT_GT(again.player->LevelList.Count(), 0);
    EXPECT_TRUE(again.screen.view.decideEnabled);
}

TEST_F(GameRules, AGameAlreadyWonShowsTheVictoryAndClosesWithoutTheQuestion)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    auto user = TUser::CreateNew(QStringLiteral("Ира"), 2);
    user->Level = TGameRules::LastLevel;
    for (ProblemId id : {1, 2}) {
        user->LevelList.Add(id);
        user->LevelList.FindEntry(id)->Solved = 1;
    }
    Game game(files.dir.path(), registry, std::move(user));
    EXPECT_FALSE(game.rules.Start());
    EXPECT_EQ(game.screen.calls.last(), QStringLiteral("ShowPictureIdNotice 2 Поздравляем с победой!"));
    EXPECT_FALSE(game.screen.calls.contains(QStringLiteral("CloseScreen")));
    EXPECT_TRUE(game.rules.Won());
    EXPECT_TRUE(game.rules.CloseQuery());
}

TEST_F(GameRules, BuyingTheSolutionOfAPuzzleThatFailedToLoadReadsItFirst)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Оля"), 2));
    ASSERT_TRUE(game.rules.Start());
    game.player->Scores = 100;

    // Read again: charged once, the viewer shows the real solution.
    game.screen.select(1);
    TProblem *item = game.problems.Selected();
    item->UnloadData();
    game.rules.ViewSolution();
    const int price = int(SolutionCost[item->Difficult]);
    EXPECT_EQ(game.player->Scores, 100 - price);
    EXPECT_EQ(game.screen.calls.last(), QStringLiteral("AnswerViewer {\\rtf1 solution}"));

    // Still unreadable: the error goes up, nothing is asked, charged or shown.
    game.screen.select(2);
    item = game.problems.Selected();
    item->UnloadData();
    ASSERT_TRUE(QFile::remove(files.dir.filePath(QStringLiteral("Data/%1.dat").arg(item->Id))));
    const int mark = int(game.screen.calls.size());
    EXPECT_ANY_THROW(game.rules.ViewSolution());
    EXPECT_EQ(game.player->Scores, 100 - price);
    EXPECT_EQ(game.problems.Progress(2).Bought, 0);
    EXPECT_EQ(game.screen.since(mark), QStringList{QStringLiteral("PlayClick")});
}

// A save that cannot be written (a full disk) is reported with an offer to
// retry; declined, the game stays open with its state and the store keeps
// what it had. Leaving again saves.
TEST_F(GameRules, AFailedSaveKeepsTheGameOpenAndLeavingRetries)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Вася"), 3));
    ASSERT_TRUE(game.rules.Start());
    game.answer(0, rightAnswer);
    const std::int32_t scores = game.player->Scores;
    ASSERT_EQ(scores, 40);

    const QString failed =
        QStringLiteral("Ask Не удалось сохранить игру: на диске нет места или запись запрещена. Повторить?");
    {
        testfiles::FileSizeLimit full(4096);
        game.screen.askReplies = {Reply::Yes, Reply::Yes, Reply::No}; // leave, retry once, then give up
        const int mark = int(game.screen.calls.size());
        EXPECT_FALSE(game.rules.CloseQuery());
        EXPECT_EQ(game.screen.since(mark).filter(QStringLiteral("Ask ")),
                  (QStringList{QStringLiteral("Ask Хотите выйти в главное меню?"), failed, failed}));
    }
    EXPECT_FALSE(registry.keyExists(game.player->KeyPath()));
    EXPECT_EQ(game.player->Scores, scores);
    EXPECT_EQ(game.rules.UpdateView().scoreText, QStringLiteral("40"));

    game.screen.askReplies = {Reply::Yes};
    EXPECT_TRUE(game.rules.CloseQuery());
    game.rules.End();
    EXPECT_EQ(TUser::CreateFromRegistry(game.player->KeyPath(), registry)->Scores, scores);
}

// ---------------------------------------------------------------------------
// Scoring: what an answer does to the player, and a purchase

namespace
{

struct Scoring : ::testing::Test {
    std::unique_ptr<TUser> player = TUser::CreateNew(QStringLiteral("Вася"), 1);
    // Copies of a record take its header only, so records with an answer live on the heap.
    std::unique_ptr<TProblem> make(ProblemId id, std::uint8_t difficult, std::uint8_t kind,
                                   const AnswerValue &answer)
    {
        auto p = std::make_unique<TProblem>(id, difficult, "", "", "");
        p->AnswerKind = kind;
        p->AnswerData = answer;
        return p;
    }
};

} // namespace

TEST_F(Scoring, RightAnswerOnMediumEarnsBonusAndOpensTheSolution)
{
    player->LevelList.Add(5);
    auto p = make(5, 1, AnswerInteger, AnswerValue::fromInteger(10));
    EXPECT_TRUE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(10)));
    EXPECT_EQ(player->Scores, 50);
    EXPECT_EQ(player->MD, 1);
    EXPECT_EQ(player->LD + player->HD + player->LU + player->MU + player->HU, 0);
    EXPECT_EQ(player->LevelList.GetItem(0), (LevelEntry{5, 1, 1, 0}));
    EXPECT_TRUE(p->BuySolution(*player));
    EXPECT_EQ(player->Scores, 50); // nothing charged
}

TEST_F(Scoring, WrongAnswerOnEasyMayTakeScoresBelowZero)
{
    player->LevelList.Add(5);
    player->Scores = 2;
    auto p = make(5, 0, AnswerInteger, AnswerValue::fromInteger(10));
    EXPECT_FALSE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(11)));
    EXPECT_EQ(player->Scores, -2);
    EXPECT_EQ(player->LU, 1);
    EXPECT_EQ(player->LevelList.GetItem(0), (LevelEntry{5, 0, 0, 1}));
}

TEST_F(Scoring, PenaltiesAndBonusesFollowTheTables)
{
    for (std::uint8_t d = 0; d < 3; ++d) {
        auto user = TUser::CreateNew("x", 1);
        user->LevelList.Add(1);
        auto p = make(1, d, AnswerInteger, AnswerValue::fromInteger(1));
        TGameRules::ScoreAnswer(*user, *p, AnswerValue::fromInteger(0));
        EXPECT_EQ(user->Scores, 30 - AnswerPenalty[d]);
        TGameRules::ScoreAnswer(*user, *p, AnswerValue::fromInteger(1));
        EXPECT_EQ(user->Scores, 30 - AnswerPenalty[d] + AnswerBonus[d]);
        const std::uint16_t rights[] = {user->LD, user->MD, user->HD};
        const std::uint16_t wrongs[] = {user->LU, user->MU, user->HU};
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(rights[k], k == d ? 1 : 0);
            EXPECT_EQ(wrongs[k], k == d ? 1 : 0);
        }
    }
    EXPECT_EQ(AnswerPenalty, (std::array<std::uint16_t, 3>{4, 2, 1}));
    EXPECT_EQ(SolutionCost, (std::array<std::uint16_t, 3>{20, 30, 40}));
}

TEST_F(Scoring, KindFiveCanNeverBeAnsweredAndAlwaysCosts)
{
    player->LevelList.Add(9);
    auto p = make(9, 2, 5, AnswerValue::fromInteger(0));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(0)));
    EXPECT_EQ(player->Scores, 27);
    EXPECT_EQ(player->HU, 3);
    EXPECT_EQ(player->LevelList.GetItem(0).WrongAnswers, 3);
}

TEST_F(Scoring, BuyingAtTheExactPriceLeavesZero)
{
    player->LevelList.Add(3);
    auto p = make(3, 2, AnswerInteger, AnswerValue::fromInteger(1));
    player->Scores = 39;
    EXPECT_FALSE(p->BuySolution(*player));
    EXPECT_EQ(player->Scores, 39);
    EXPECT_EQ(player->LevelList.GetItem(0).Bought, 0);
    player->Scores = 40;
    EXPECT_TRUE(p->BuySolution(*player));
    EXPECT_EQ(player->Scores, 0);
    EXPECT_EQ(player->LevelList.GetItem(0).Bought, 1);
    EXPECT_TRUE(p->BuySolution(*player)); // bought once, shown for free
    EXPECT_EQ(player->Scores, 0);
}

TEST_F(Scoring, NoPlayerOnlyCompares)
{
    auto p = make(3, 1, AnswerInteger, AnswerValue::fromInteger(1));
    EXPECT_TRUE(p->CheckAnswer(AnswerValue::fromInteger(1)));
    EXPECT_FALSE(p->CheckAnswer(AnswerValue::fromInteger(2)));
}

TEST_F(Scoring, AnswersAndAPurchaseLandInTheLevelEntry)
{
    player->LevelList.Add(4);
    auto p = make(4, 0, AnswerInteger, AnswerValue::fromInteger(8));
    EXPECT_FALSE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(7)));
    EXPECT_TRUE(p->BuySolution(*player));
    EXPECT_EQ(player->Scores, 30 - 4 - 20);
    EXPECT_TRUE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(8)));
    EXPECT_EQ(player->LevelList.GetItem(0), (LevelEntry{4, 1, 1, 1}));
}

TEST_F(Scoring, FindEntryChangesOnlyTheFirstOfTwoEqualIds)
{
    player->LevelList.Add(6);
    player->LevelList.Add(6);
    auto p = make(6, 0, AnswerInteger, AnswerValue::fromInteger(1));
    TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(1));
    EXPECT_EQ(player->LevelList.GetItem(0).Solved, 1);
    EXPECT_EQ(player->LevelList.GetItem(1).Solved, 0);
}

TEST_F(Scoring, DifficultyOutsideTheTablesChangesNoScoreOrCounter)
{
    player->LevelList.Add(8);
    auto p = make(8, 3, AnswerInteger, AnswerValue::fromInteger(1));
    EXPECT_FALSE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(0)));
    EXPECT_TRUE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(1)));
    EXPECT_EQ(player->Scores, 30);
    EXPECT_EQ(player->LD + player->MD + player->HD + player->LU + player->MU + player->HU, 0);
    EXPECT_EQ(player->LevelList.GetItem(0), (LevelEntry{8, 1, 1, 1}));

    auto other = TUser::CreateNew("o", 1);
    other->LevelList.Add(8);
    other->Scores = 1000;
    auto hard = make(8, 255, AnswerInteger, AnswerValue::fromInteger(1));
    EXPECT_FALSE(hard->BuySolution(*other));
    EXPECT_EQ(other->Scores, 1000);
    EXPECT_EQ(other->LevelList.GetItem(0).Bought, 0);
}

TEST_F(Scoring, IdNotOnTheLevelListOnlyCompares)
{
    player->LevelList.Add(1);
    auto p = make(2, 1, AnswerInteger, AnswerValue::fromInteger(1));
    EXPECT_TRUE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(1)));
    EXPECT_FALSE(TGameRules::ScoreAnswer(*player, *p, AnswerValue::fromInteger(0)));
    EXPECT_FALSE(p->BuySolution(*player));
    EXPECT_EQ(player->Scores, 30);
    EXPECT_EQ(player->MD + player->MU, 0);
    EXPECT_EQ(player->LevelList.GetItem(0), (LevelEntry{1, 0, 0, 0}));
}

// ---- hints ------------------------------------------------------------------

namespace
{

// A stored player whose level is one easy, one medium and one hard puzzle
// (ids 1, 2, 3 of a catalogue of difficulties 0, 1, 2).
std::unique_ptr<TUser> playerOfThreeGrades(int scores)
{
    auto user = TUser::CreateNew(QStringLiteral("Лиза"), 1);
    user->Scores = scores;
    for (ProblemId id : {1, 2, 3}) {
        user->UsedIds.Add(id);
        user->LevelList.Add(id);
    }
    return user;
}

} // namespace

// Each grade's hints, one at a time: the question names the price, the price is
// a quarter of the solution's rounded up, and all hints cost less than the solution.
TEST_F(GameRules, HintsAreSoldOneAtATimeAtAQuarterOfTheSolution)
{
    CatalogueFiles files({0, 1, 2});
    Game game(files.dir.path(), registry, playerOfThreeGrades(1000));
    ASSERT_TRUE(game.rules.Start());
    const struct {
        int position;
        int price;
        int solution;
    } grades[] = {{0, 5, 20}, {1, 8, 30}, {2, 10, 40}};
    for (const auto &g : grades) {
        SCOPED_TRACE(g.position);
        game.screen.select(g.position);
        int spent = 0;
        for (int n = 1; n <= 3; ++n) {
            EXPECT_TRUE(game.screen.view.hintEnabled);
            const int before = game.player->Scores;
            game.rules.ShowHint();
            EXPECT_EQ(game.screen.calls.last(),
                      QStringLiteral("Ask Хотите получить подсказку за %1 очков?").arg(g.price));
            EXPECT_EQ(before - game.player->Scores, g.price);
            // Each purchase is one record of the log, with the points it moved.
            ASSERT_FALSE(game.player->PendingLog.empty());
            const AnswerRecord &r = game.player->PendingLog.back();
            EXPECT_EQ(r.Event, int(AnswerEvent::Hint));
            EXPECT_EQ(r.Puzzle, game.screen.item(g.position).Id);
            EXPECT_EQ(r.ScoresBefore, before);
            EXPECT_EQ(r.ScoresAfter, game.player->Scores);
            spent += g.price;
            EXPECT_TRUE(game.rules.TextMode()); // the hint shows in the text at once
            EXPECT_EQ(game.screen.view.hintsShown, n);
        }
        EXPECT_FALSE(game.screen.view.hintEnabled);
        EXPECT_LT(spent, g.solution);
        // A press with no hint left asks nothing and charges nothing.
        const int mark = int(game.screen.calls.size());
        const int before = game.player->Scores;
        game.rules.ShowHint();
        EXPECT_EQ(game.player->Scores, before);
        EXPECT_EQ(game.screen.since(mark), QStringList{QStringLiteral("PlayClick")});
        game.rules.Back();
    }
}

// Declining, or lacking the points, changes nothing; the notice says why.
TEST_F(GameRules, AHintNotPaidForChangesNothing)
{
    CatalogueFiles files({0, 1, 2});
    Game game(files.dir.path(), registry, playerOfThreeGrades(7));
    ASSERT_TRUE(game.rules.Start());
    game.screen.select(1); // medium: 8 points
    int mark = int(game.screen.calls.size());
    game.rules.ShowHint();
    EXPECT_EQ(game.screen.since(mark),
              (QStringList{QStringLiteral("PlayClick"),
                           QStringLiteral("ShowNotice Не хватает очков: подсказка стоит 8, у вас 7.")}));
    game.screen.select(0); // easy: 5 points, but the player says no
    game.screen.askReplies = {Reply::No};
    game.rules.ShowHint();
    for (int position : {0, 1})
        EXPECT_EQ(game.player->LevelList.HintsBought(game.screen.item(position).Id), 0);
    EXPECT_EQ(game.player->Scores, 7);
    EXPECT_TRUE(game.player->PendingLog.empty());
    EXPECT_FALSE(game.rules.TextMode());
    EXPECT_EQ(game.screen.view.hintsShown, 0);
    // A score below zero gets the notice too, never a debt.
    game.player->Scores = -3;
    mark = int(game.screen.calls.size());
    game.rules.ShowHint();
    EXPECT_EQ(game.player->Scores, -3);
    EXPECT_TRUE(game.screen.since(mark).last().startsWith(QStringLiteral("ShowNotice")));
}

// Bought hints are kept with the player: the next game shows them without a
// question, and a right answer still earns the whole bonus.
TEST_F(GameRules, BoughtHintsAreKeptAcrossASaveAndTheBonusStaysWhole)
{
    CatalogueFiles files({0, 1, 2});
    QString key;
    {
        Game game(files.dir.path(), registry, playerOfThreeGrades(30));
        ASSERT_TRUE(game.rules.Start());
        game.screen.select(1);
        game.rules.ShowHint();
        game.rules.ShowHint();
        EXPECT_EQ(game.player->Scores, 14);
        game.rules.Back();
        game.rules.Back();
        ASSERT_TRUE(game.screen.closed);
        key = game.player->KeyPath();
    }
    Game again(files.dir.path(), registry, TUser::CreateFromRegistry(key, registry));
    ASSERT_TRUE(again.rules.Start());
    again.screen.select(1);
    const int mark = int(again.screen.calls.size());
    again.rules.SetTextMode(true);
    EXPECT_EQ(again.screen.view.hintsShown, 2);
    EXPECT_TRUE(again.screen.view.hintEnabled); // the third is still for sale
    EXPECT_FALSE(again.screen.since(mark).join(QLatin1Char('\n')).contains(QStringLiteral("Ask")));
    EXPECT_EQ(again.player->Scores, 14);
    again.answer(1, rightAnswer);
    EXPECT_EQ(again.player->Scores, 34); // the medium bonus, 20, in full
    // Answered: every hint is free to read and none is for sale.
    again.screen.select(1);
    EXPECT_EQ(again.screen.view.hintsShown, 3);
    EXPECT_FALSE(again.screen.view.hintEnabled);
}

TEST_F(GameRules, ABoughtSolutionOpensEveryHint)
{
    CatalogueFiles files({0, 1, 2});
    Game game(files.dir.path(), registry, playerOfThreeGrades(100));
    ASSERT_TRUE(game.rules.Start());
    game.screen.select(2);
    game.rules.ShowHint();
    game.rules.ViewSolution();
    EXPECT_EQ(game.player->Scores, 100 - 10 - 40);
    EXPECT_EQ(game.screen.view.hintsShown, 3);
    EXPECT_FALSE(game.screen.view.hintEnabled);
    game.rules.ShowHint();
    EXPECT_EQ(game.player->Scores, 50);
}

// A stored count the puzzle's hints do not reach (a pack with fewer hints, a
// hand-edited store) shows what there is and sells nothing; a store without
// the value, or with it unreadable, has bought no hints and keeps the rest.
TEST_F(GameRules, StoredHintCountsBeyondThePuzzleOrUnreadableAreHarmless)
{
    CatalogueFiles files({0, 1, 2});
    const QString key = TUser::PlayerPath(QStringLiteral("Лиза"));
    auto user = playerOfThreeGrades(30);
    user->LevelList.SetHintsBought(1, 3);
    user->SaveToRegistry(registry);
    files.setHints(2);
    {
        Game game(files.dir.path(), registry, TUser::CreateFromRegistry(key, registry));
        ASSERT_TRUE(game.rules.Start());
        game.rules.SetTextMode(true);
        EXPECT_EQ(game.screen.view.hintsShown, 2);
        EXPECT_FALSE(game.screen.view.hintEnabled);
        game.rules.ShowHint();
        EXPECT_EQ(game.player->Scores, 30);
    }
    const struct {
        const char *what;
        std::function<void(platform::RegistryKey &)> damage;
        int hintsRead = 0;
    } stores[] = {
        {"no value",
         [](platform::RegistryKey &k) {
             k.deleteValue(QStringLiteral("Hints Bought count"));
             k.deleteValue(QStringLiteral("Hints Bought Info"));
         }},
        {"count too large",
         [](platform::RegistryKey &k) { k.writeInteger(QStringLiteral("Hints Bought count"), 1000); }},
        {"count negative",
         [](platform::RegistryKey &k) { k.writeInteger(QStringLiteral("Hints Bought count"), -1); }},
        {"count of another type",
         [](platform::RegistryKey &k) {
             k.writeString(QStringLiteral("Hints Bought count"), QStringLiteral("1"));
         }},
        {"list longer than its count",
         [](platform::RegistryKey &k) {
             k.writeBinary(QStringLiteral("Hints Bought Info"), QByteArray(400, '\1'));
         }},
        {"count above the hints a puzzle holds",
         [](platform::RegistryKey &k) {
             k.writeBinary(QStringLiteral("Hints Bought Info"), QByteArray::fromHex("0100ff"));
         },
         MaxHints},
    };
    for (const auto &s : stores) {
        SCOPED_TRACE(s.what);
        user->SaveToRegistry(registry);
        s.damage(*registry.openKey(key, false));
        const auto read = TUser::CreateFromRegistry(key, registry);
        EXPECT_EQ(read->Scores, 30);
        EXPECT_EQ(read->LevelList.Count(), 3);
        EXPECT_EQ(read->LevelList.HintsBought(1), s.hintsRead);
    }
}

// ---------------------------------------------------------------------------
// The answer log: each event the rules see, with its points and seconds.

namespace
{

struct ManualClock {
    qint64 wall = 1796212800;
    qint64 ms = 5000;
    GameClock clock()
    {
        return {[this] { return wall; }, [this] { return ms; }};
    }
    void pass(int seconds)
    {
        wall += seconds;
        ms += seconds * 1000;
    }
};

} // namespace

TEST_F(GameRules, EveryEventIsLoggedWithItsPointsAndSecondsAndSavedOnce)
{
    CatalogueFiles files(difficulties(20, 10, 5));
    ManualClock clock;
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Вася"), 1));
    game.rules.SetClock(clock.clock());
    ASSERT_TRUE(game.rules.Start());
    auto step = [&](int position, int seconds, EnteredAnswer (*how)(TProblem &)) {
        game.screen.select(position);
        clock.pass(seconds);
        game.screen.answerDialog = how;
        game.rules.Decide(); // the text
        game.rules.Decide(); // the answer
    };
    step(0, 12, wrongAnswer); // easy: -4
    step(0, 3, rightAnswer);  // the same puzzle, still open: +10
    game.screen.select(1);
    clock.pass(7);
    game.rules.ViewSolution(); // easy: -20, asked and agreed
    game.rules.ViewSolution(); // paid already: not logged again
    const ProblemId wrongId = game.screen.item(0).Id;
    const auto &log = game.player->PendingLog;
    ASSERT_EQ(log.size(), 3u);
    const AnswerRecord wrong = log[0];
    EXPECT_EQ(wrong.Event, int(AnswerEvent::Wrong));
    EXPECT_EQ(wrong.Puzzle, wrongId);
    EXPECT_EQ(wrong.Difficult, 0);
    EXPECT_EQ(wrong.AnswerKind, AnswerInteger);
    EXPECT_EQ(wrong.ScoresBefore, 30);
    EXPECT_EQ(wrong.ScoresAfter, 26);
    EXPECT_EQ(wrong.Seconds, 12);
    EXPECT_EQ(wrong.Typed, QString::number((1000 + wrongId) ^ 1));
    EXPECT_EQ(wrong.Time, 1796212800 + 12);
    EXPECT_EQ(std::tuple(log[1].Event, log[1].ScoresBefore, log[1].ScoresAfter, log[1].Seconds),
              std::tuple(int(AnswerEvent::Right), qint64(26), qint64(36), qint64(15)));
    EXPECT_TRUE(log[1].Typed.isEmpty());
    EXPECT_EQ(std::tuple(log[2].Event, log[2].ScoresBefore, log[2].ScoresAfter, log[2].Seconds),
              std::tuple(int(AnswerEvent::Solution), qint64(36), qint64(16), qint64(7)));

    // The rest of the level: a level reached, with the new level.
    const int onLevel = game.problems.Count();
    for (int i = 1; i < onLevel; ++i)
        step(i, 1, rightAnswer);
    ASSERT_EQ(game.player->Level, 2);
    EXPECT_EQ(log.back().Event, int(AnswerEvent::Level));
    EXPECT_EQ(log.back().Level, 2);
    EXPECT_EQ(log.back().Puzzle, 0);
    const std::size_t events = log.size();

    ASSERT_TRUE(game.rules.CloseQuery());
    game.rules.End();
    EXPECT_TRUE(game.player->PendingLog.empty());
    const auto stored = answerlog::load(registry, TUser::PlayerPath(QStringLiteral("Вася")));
    EXPECT_EQ(stored.records.size(), events);
    EXPECT_EQ(stored.records.front().Typed, QString::number((1000 + wrongId) ^ 1));
}

TEST_F(GameRules, TheVictoryIsLoggedOnceAndAWonGameLogsNothingMore)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    auto user = TUser::CreateNew(QStringLiteral("Маша"), 1);
    user->Level = TGameRules::LastLevel;
    for (ProblemId id = 1; id <= 5; ++id) {
        user->UsedIds.Add(id);
        user->LevelList.Add(id);
    }
    Game game(files.dir.path(), registry, std::move(user));
    ASSERT_TRUE(game.rules.Start());
    for (int i = 0; i < game.problems.Count() && !game.screen.closed; ++i)
        game.answer(i, rightAnswer);
    ASSERT_TRUE(game.screen.closed);
    const auto stored = answerlog::load(registry, TUser::PlayerPath(QStringLiteral("Маша"))).records;
    ASSERT_EQ(stored.size(), 6u);
    EXPECT_EQ(stored.back().Event, int(AnswerEvent::Victory));
    EXPECT_EQ(stored.back().ScoresAfter, stored[4].ScoresAfter);

    auto again = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Маша")), registry);
    Game won(files.dir.path(), registry, std::move(again));
    EXPECT_FALSE(won.rules.Start());
    EXPECT_TRUE(won.player->PendingLog.empty());
}

// A memo lives until its puzzle is answered right or its solution bought; a
// wrong answer, or a solution already paid for, leaves the others alone.
TEST_F(GameRules, AMemoGoesWhenItsPuzzleIsSolvedOrItsSolutionBought)
{
    CatalogueFiles files(difficulties(4, 1, 0));
    Game game(files.dir.path(), registry, TUser::CreateNew(QStringLiteral("Оля"), 1));
    ASSERT_TRUE(game.rules.Start());
    TMemo memo;
    memo.Add({MemoInk::Pen, 2.5, {{1, 2}, {30, 40}}});
    game.player->SaveToRegistry(registry);
    std::vector<ProblemId> ids;
    for (int i = 0; i < 4; ++i) {
        ids.push_back(game.screen.item(i).Id);
        game.rules.Memos().Put(ids.back(), memo);
    }
    const auto stored = [&](int i) {
        return !TPlayerMemos::Load(registry, game.player->KeyPath(), ids[i]).memo.IsEmpty();
    };
    ASSERT_TRUE(stored(0) && stored(1) && stored(2) && stored(3));

    game.answer(0, wrongAnswer);
    EXPECT_TRUE(stored(0));
    game.answer(0, rightAnswer);
    EXPECT_FALSE(stored(0));
    EXPECT_FALSE(game.rules.Memos().HasDrawings(ids[0]));

    game.screen.askReplies = {Reply::No}; // the price declined: nothing bought
    game.screen.select(1);
    game.rules.ViewSolution();
    EXPECT_TRUE(stored(1));
    game.rules.ViewSolution();
    EXPECT_FALSE(stored(1));
    EXPECT_TRUE(stored(2) && stored(3));
    EXPECT_TRUE(game.rules.Memos().HasDrawings(ids[2]));
}
