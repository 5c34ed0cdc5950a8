#include "core/GameRules.h"

#include "core/Errors.h"
#include "platform/UserStore.h"

#include <QDateTime>
#include <algorithm>
#include <chrono>
#include <cmath>

namespace
{

const QString kVictory = QStringLiteral("Поздравляем с победой!");
const QString kLevelUp = QStringLiteral("Поздравляем с переходом на новый уровень!");
const QString kNothingToDraw = QStringLiteral("Новых головоломок для следующего уровня нет.");
// The notices are one line of the message box: short, with what to do.
const QString kNoRoomToDraw =
    QStringLiteral("Список головоломок игрока полон: начните игру под новым именем.");
const QString kLevelNotInPack =
    QStringLiteral("Вашего уровня нет в этом наборе: запустите игру с прежним набором.");
// The question of the solution's price, worded for a hint.
QString hintQuestion(int price)
{
    return QStringLiteral("Хотите получить подсказку за %1 очков?").arg(price);
}

QString noPointsForHint(int price, std::int32_t scores)
{
    return QStringLiteral("Не хватает очков: подсказка стоит %1, у вас %2.").arg(price).arg(scores);
}

const QString kSaveFailed =
    QStringLiteral("Не удалось сохранить игру: на диске нет места или запись запрещена. Повторить?");

std::uint64_t clockSeed()
{
    return std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
}

std::uint16_t &rightAnswers(TUser &player, Difficulty d)
{
    std::uint16_t *counters[] = {&player.LD, &player.MD, &player.HD};
    return *counters[indexOf(d)];
}

std::uint16_t &wrongAnswers(TUser &player, Difficulty d)
{
    std::uint16_t *counters[] = {&player.LU, &player.MU, &player.HU};
    return *counters[indexOf(d)];
}

// The counters are 16 bits in the stored profile; a wrap would turn a long
// run of wrong answers into none.
void countOne(std::uint16_t &counter)
{
    if (counter < UINT16_MAX)
        ++counter;
}

} // namespace

GameClock GameClock::system()
{
    return {[] { return qint64(QDateTime::currentSecsSinceEpoch()); },
            [] {
                return qint64(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count());
            }};
}

TGameRules::TGameRules(TCatalogue &catalogue, TUser &player, TProblemListModel &problems,
                       IGamePresentation &screen, platform::UserStore &store)
    : TGameRules(catalogue, player, problems, screen, store, clockSeed())
{
}

TGameRules::TGameRules(TCatalogue &catalogue, TUser &player, TProblemListModel &problems,
                       IGamePresentation &screen, platform::UserStore &store, std::uint64_t seed)
    : TPuzzleFlow(problems, screen), catalogue_(catalogue), player_(player), game_(screen), random_(seed),
      store_(store)
{
    problems_.SetLevelEntries(&player_.LevelList);
    SetMemos(memos_);
}

bool TGameRules::Start()
{
    try {
        catalogue_.LoadCatalogue();
    } catch (...) {
        // Whatever went wrong, the player sees one message and keeps the profile as it was.
        screen_.ShowCatalogueError();
        savesOnEnd_ = false;
        return false;
    }
    if (player_.LevelList.Count() == 0) {
        // A new player starts at level 1.
        const std::vector<ProblemId> ids = DrawIds(1);
        if (!CanCommit(ids)) {
            savesOnEnd_ = false;
            return false;
        }
        CommitDraw(ids);
    }
    FillProblemsList();
    if (problems_.Count() == 0) {
        // Every puzzle of the level belongs to another pack. Drawing the level
        // again here would lose them and fill the used list with this pack's ids.
        game_.ShowNotice(kLevelNotInPack);
        savesOnEnd_ = false;
        return false;
    }
    SelectFirst();
    // A level left solved (nothing could be drawn then, or its last open
    // puzzle left the catalogue) completes now, as after its last answer.
    if (LevelSolved()) {
        if (player_.Level >= LastLevel) {
            // A game already won: the victory once more, and the screen goes
            // at once; closing it from here, before it is shown, is no option.
            game_.ShowPictureIdNotice(player_.LabelIndex, kVictory);
            won_ = true;
            savesOnEnd_ = false;
            return false;
        }
        LevelCompleted();
    }
    return true;
}

// Entries whose puzzle is not in this catalogue stay on the level, unplayed:
// the pack they came from may be back next time. The level is the puzzles shown.
bool TGameRules::LevelSolved() const
{
    if (problems_.Count() == 0)
        return false;
    for (int i = 0; i < problems_.Count(); ++i)
        if (!problems_.Progress(i).Solved)
            return false;
    return true;
}

bool TGameRules::CanCommit(const std::vector<ProblemId> &ids)
{
    if (ids.empty()) {
        game_.ShowNotice(kNothingToDraw);
        return false;
    }
    if (player_.UsedIds.Count() + int(ids.size()) > player_.UsedIds.Capacity()) {
        game_.ShowNotice(kNoRoomToDraw);
        return false;
    }
    return true;
}

std::vector<ProblemId> TGameRules::DrawIds(int level)
{
    std::vector<ProblemId> ids;
    if (level < 1 || level > LastLevel)
        return ids;
    std::vector<ProblemId> candidates[DifficultyCount];
    for (const auto &record : catalogue_.Items()) {
        const std::optional<Difficulty> grade = knownDifficulty(record->Difficult);
        if (grade && !player_.UsedIds.Contains(record->Id))
            candidates[indexOf(*grade)].push_back(record->Id);
    }
    for (Difficulty d : Difficulties) {
        std::vector<ProblemId> &pool = candidates[indexOf(d)];
        // A catalogue short of puzzles gives what it has.
        for (int n = 0; n < LevelQuota(level, d) && !pool.empty(); ++n) {
            std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
            const std::size_t at = pick(random_);
            const ProblemId id = pool[at];
            pool.erase(pool.begin() + std::ptrdiff_t(at));
            // Two sections with one id would otherwise put it on the level twice.
            if (std::find(ids.begin(), ids.end(), id) != ids.end()) {
                --n;
                continue;
            }
            ids.push_back(id);
        }
    }
    return ids;
}

void TGameRules::CommitDraw(const std::vector<ProblemId> &ids)
{
    player_.LevelList.Clear();
    for (ProblemId id : ids) {
        player_.LevelList.Add(id);
        player_.UsedIds.Add(id);
    }
}

bool TGameRules::DrawLevelProblems(int level)
{
    const std::vector<ProblemId> ids = DrawIds(level);
    if (!CanCommit(ids))
        return false;
    CommitDraw(ids);
    return true;
}

void TGameRules::FillProblemsList()
{
    problems_.Clear();
    if (player_.LevelList.Count() == 0)
        throw EInternalError(QStringLiteral("No problems for current level"));
    for (int i = 0; i < player_.LevelList.Count(); ++i)
        if (const TProblem *record = catalogue_.FindProblem(player_.LevelList.GetItem(i).Id))
            problems_.Add(*record);
}

void TGameRules::Decide()
{
    screen_.PlayClick();
    TProblem *item = problems_.Selected();
    if (!item)
        return;
    if (!textMode_) {
        SetTextMode(true);
        return;
    }
    if (problems_.Progress(*item).Solved)
        return;
    const EnteredAnswer entered = screen_.RunAnswerDialog(*item);
    if (!entered.cancelled) {
        const qint64 before = player_.Scores;
        const bool onLevel = player_.LevelList.FindEntry(item->Id) != nullptr;
        const bool right = ScoreAnswer(player_, *item, entered.answer);
        if (onLevel)
            RecordEvent(right ? AnswerEvent::Right : AnswerEvent::Wrong, item, before,
                        right ? QString() : answerlog::typedText(item->AnswerKind, entered.answer));
        if (right) {
            ForgetMemo(item->Id);
            screen_.ShowTrueAnswer();
            SetTextMode(false);
        } else {
            screen_.ShowFalseAnswer();
        }
    }
    if (LevelSolved())
        LevelCompleted();
    UpdateView();
}

bool TGameRules::ScoreAnswer(TUser &player, const TProblem &item, const AnswerValue &answer)
{
    const bool right = item.CheckAnswer(answer);
    LevelEntry *entry = player.LevelList.FindEntry(item.Id);
    if (!entry)
        return right; // not a puzzle of the player's level: nothing to score
    // A grade outside the tables changes no score and no counter.
    const std::optional<Difficulty> grade = knownDifficulty(item.Difficult);
    if (right) {
        if (grade) {
            player.ChangeScores(AnswerBonus[indexOf(*grade)]);
            countOne(rightAnswers(player, *grade));
        }
        entry->Solved = 1;
        entry->Bought = 1; // a right answer opens the solution for free
    } else {
        if (grade)
            countOne(wrongAnswers(player, *grade));
        countOne(entry->WrongAnswers);
        if (grade)
            player.ChangeScores(-AnswerPenalty[indexOf(*grade)]);
    }
    return right;
}

void TGameRules::LevelCompleted()
{
    if (player_.Level >= LastLevel) {
        RecordEvent(AnswerEvent::Victory, nullptr, player_.Scores);
        game_.ShowPictureIdNotice(player_.LabelIndex, kVictory);
        won_ = true;
        screen_.CloseScreen();
        return;
    }
    // Rising to a level that cannot be drawn would leave the player nothing to play.
    const std::vector<ProblemId> ids = DrawIds(player_.Level + 1);
    if (!CanCommit(ids))
        return;
    ++player_.Level;
    RecordEvent(AnswerEvent::Level, nullptr, player_.Scores);
    AnnounceLevelUp();
    CommitDraw(ids);
    FillProblemsList();
    SelectFirst();
}

void TGameRules::AnnounceLevelUp()
{
    game_.PlayWave(platform::Wave::LevelUp);
    game_.ShowPictureNotice(QStringLiteral("LEVELUP"), kLevelUp);
}

void TGameRules::ViewSolution()
{
    screen_.PlayClick();
    TProblem *item = problems_.Selected();
    const std::optional<Difficulty> grade = item ? knownDifficulty(item->Difficult) : std::nullopt;
    if (!grade)
        return;
    // A puzzle whose data could not be read is read again before anything is
    // charged; when it still cannot be, the error goes up and nothing is paid.
    item->EnsureLoaded();
    if (!problems_.Progress(*item).Bought) {
        const QString price = QString::number(SolutionCost[indexOf(*grade)]);
        if (screen_.Ask(QStringLiteral("Хотите посмотреть ответ за ") + price + QStringLiteral(" очков?")) !=
            Reply::Yes)
            return;
    }
    // A purchase that fails must not show the solution for free.
    const bool wasBought = problems_.Progress(*item).Bought;
    const qint64 before = player_.Scores;
    const bool paid = item->BuySolution(player_);
    if (paid && !wasBought)
        RecordEvent(AnswerEvent::Solution, item, before);
    if (paid)
        ForgetMemo(item->Id);
    UpdateView();
    if (paid)
        screen_.RunAnswerViewer(item->GetSolutionText());
}

int TGameRules::HintsShown() const
{
    const TProblem *item = problems_.Selected();
    if (!item)
        return 0;
    const LevelEntry progress = problems_.Progress(*item);
    const int available = int(item->Hints.size());
    if (progress.Solved || progress.Bought)
        return available;
    // A stored count beyond the puzzle's hints (a pack with fewer) shows what there is.
    return std::min(player_.LevelList.HintsBought(item->Id), available);
}

bool TGameRules::CanBuyHint() const
{
    const TProblem *item = problems_.Selected();
    if (!item || !knownDifficulty(item->Difficult) || !player_.LevelList.FindEntry(item->Id))
        return false;
    const LevelEntry progress = problems_.Progress(*item);
    return !progress.Solved && !progress.Bought && HintsShown() < int(item->Hints.size());
}

bool TGameRules::BuyHint()
{
    TProblem *item = problems_.Selected();
    if (!item)
        return false;
    // A puzzle whose data could not be read is read again before anything is
    // charged; when it still cannot be, the error goes up and nothing is paid.
    item->EnsureLoaded();
    if (!CanBuyHint())
        return false;
    const int price = HintPrice(*knownDifficulty(item->Difficult));
    if (player_.Scores < price) {
        game_.ShowNotice(noPointsForHint(price, player_.Scores));
        return false;
    }
    if (screen_.Ask(hintQuestion(price)) != Reply::Yes)
        return false;
    const int bought = HintsShown() + 1;
    const qint64 before = player_.Scores;
    player_.ChangeScores(-price);
    player_.LevelList.SetHintsBought(item->Id, bought);
    RecordEvent(AnswerEvent::Hint, item, before);
    return true;
}

void TGameRules::ShowHint()
{
    screen_.PlayClick();
    if (!BuyHint())
        return;
    // The hint shows under the statement; from the list the text opens with it.
    if (textMode_)
        UpdateView();
    else
        SetTextMode(true);
}

void TGameRules::RecordEvent(AnswerEvent event, const TProblem *item, qint64 scoresBefore,
                             const QString &typed)
{
    AnswerRecord r;
    r.Time = clock_.wallSeconds();
    r.Event = int(event);
    if (item) {
        r.Puzzle = item->Id;
        r.Difficult = item->Difficult;
        r.AnswerKind = item->AnswerKind;
        r.Seconds = std::max<qint64>(0, (clock_.monotonicMs() - shownAtMs_) / 1000);
    }
    r.ScoresBefore = scoresBefore;
    r.ScoresAfter = player_.Scores;
    r.Level = player_.Level;
    r.Typed = typed;
    player_.PendingLog.push_back(std::move(r));
}

GameView TGameRules::UpdateView()
{
    // A puzzle is open from the moment it is selected (the screen shows it
    // then) until another one is; choosing its row again changes nothing.
    const qint64 shown = problems_.Selected() ? qint64(problems_.Selected()->Id) : -1;
    if (shown != shownPuzzle_) {
        shownPuzzle_ = shown;
        shownAtMs_ = clock_.monotonicMs();
    }
    GameView v;
    v.scoreText = QString::number(player_.Scores);
    v.levelText = QString::number(player_.Level);
    // Of the puzzles on offer: entries of another pack cannot be solved here.
    const int count = problems_.Count();
    int solved = 0;
    for (int i = 0; i < count; ++i)
        solved += problems_.Progress(i).Solved ? 1 : 0;
    if (count > 0)
        v.progress = int(std::nearbyint(double(solved) / count * 100.0));
    v.textMode = textMode_;
    if (const TProblem *item = problems_.Selected()) {
        const LevelEntry progress = problems_.Progress(*item);
        v.hasSelection = true;
        v.decideEnabled = !progress.Solved;
        const std::optional<Difficulty> grade = knownDifficulty(item->Difficult);
        const bool affordable = grade && player_.Scores >= std::int32_t(SolutionCost[indexOf(*grade)]);
        v.viewSolutionEnabled = progress.Bought || affordable;
        v.pricePictureVisible = !progress.Bought;
        v.hintEnabled = CanBuyHint();
        v.hintsShown = HintsShown();
    }
    game_.ShowView(v);
    return v;
}

bool TGameRules::CloseQuery()
{
    if (!savesOnEnd_)
        return true;
    if (screen_.Ask(puzzles::LeaveQuestion()) != Reply::Yes)
        return false;
    // The player is saved before the screen may close: a save that fails (a
    // full disk, a folder that refuses writes) keeps the game open with its
    // state, and the store keeps what it had, since a save is one transaction.
    for (;;) {
        try {
            Save();
            return true;
        } catch (const std::exception &) {
            if (screen_.Ask(kSaveFailed) != Reply::Yes)
                return false;
        }
    }
}

void TGameRules::Save()
{
    player_.SaveToRegistry(store_.get());
    // Written with the profile: a second save must not append them again.
    player_.PendingLog.clear();
    // A new player's memos wait for the profile's key.
    memos_.Flush();
    saved_ = true;
}

void TGameRules::End()
{
    if (ended_)
        return;
    ended_ = true;
    catalogue_.FreeCatalogue();
    if (!savesOnEnd_ || saved_)
        return;
    Save();
}
