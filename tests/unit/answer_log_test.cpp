// The answer log in the player store (its table, the save's transaction, the
// bound, deletion, backups, a damaged table) and the statistics computed from it.
#include "core/AnswerLog.h"
#include "core/AnswerStats.h"
#include "core/ProfileBackup.h"
#include "core/User.h"
#include "platform/AnswerLogStore.h"
#include "platform/Registry.h"
#include "platform/StoreFiles.h"
#include "qt_printers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace
{

constexpr qint64 kNoon = 1796212800; // 2026-12-02 12:00 UTC, a Wednesday

AnswerRecord record(AnswerEvent event, qint64 time, qint64 before, qint64 after, int difficult = 0,
                    qint64 seconds = 10)
{
    AnswerRecord r;
    r.Time = time;
    r.Event = int(event);
    const bool puzzle = event != AnswerEvent::Level && event != AnswerEvent::Victory;
    r.Puzzle = puzzle ? 7 : 0;
    r.Difficult = puzzle ? difficult : -1;
    r.AnswerKind = puzzle ? AnswerInteger : -1;
    r.ScoresBefore = before;
    r.ScoresAfter = after;
    r.Seconds = puzzle ? seconds : 0;
    r.Level = 1;
    return r;
}

bool hasTable(const QString &file)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_schema WHERE name = 'answer_log'", -1, &st, nullptr);
    const bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return found;
}

class AnswerLogStore : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("registry.sqlite3"));
    platform::Registry registry{file};

    std::unique_ptr<TUser> saved(const QString &name, std::vector<AnswerRecord> log)
    {
        auto user = TUser::CreateNew(name, 1);
        user->PendingLog = std::move(log);
        user->SaveToRegistry(registry);
        return user;
    }
    std::vector<AnswerRecord> logOf(const QString &name)
    {
        return answerlog::load(registry, TUser::PlayerPath(name)).records;
    }
};

} // namespace

TEST_F(AnswerLogStore, TheTableComesWithTheFirstRecordsAndTheSaveWritesThemOnce)
{
    saved(QStringLiteral("Вася"), {});
    EXPECT_FALSE(hasTable(file)) << "a store without records keeps its old layout";
    EXPECT_TRUE(logOf(QStringLiteral("Вася")).empty());

    const std::vector<AnswerRecord> first = {record(AnswerEvent::Wrong, kNoon, 30, 26),
                                             record(AnswerEvent::Right, kNoon + 5, 26, 36)};
    auto user = saved(QStringLiteral("Вася"), first);
    EXPECT_TRUE(hasTable(file));
    EXPECT_EQ(logOf(QStringLiteral("вася")), first);

    // Records are appended in order; the profile and the log of another player stay apart.
    saved(QStringLiteral("Петя"), {record(AnswerEvent::Level, kNoon, 1, 1)});
    user->PendingLog = {record(AnswerEvent::Solution, kNoon + 9, 36, 16)};
    user->SaveToRegistry(registry);
    ASSERT_EQ(logOf(QStringLiteral("Вася")).size(), 3u);
    EXPECT_EQ(logOf(QStringLiteral("Вася")).back().Event, int(AnswerEvent::Solution));
    EXPECT_EQ(logOf(QStringLiteral("Петя")).size(), 1u);
}

TEST_F(AnswerLogStore, ASaveThatFailsWritesNeitherProfileNorLog)
{
    auto user = saved(QStringLiteral("Вася"), {record(AnswerEvent::Right, kNoon, 30, 40)});
    user->Scores = 99;
    user->PendingLog = {record(AnswerEvent::Right, kNoon + 1, 40, 50)};
    EXPECT_THROW(registry.transaction([&] {
        user->SaveToRegistry(registry);
        throw std::runtime_error("the disk is full");
    }),
                 std::runtime_error);
    EXPECT_EQ(TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), registry)->Scores, 30);
    EXPECT_EQ(logOf(QStringLiteral("Вася")).size(), 1u);
}

TEST_F(AnswerLogStore, TheNewestRecordsAreKept)
{
    saved(QStringLiteral("Вася"), {});
    const qint64 id = registry.keyId(TUser::PlayerPath(QStringLiteral("Вася")));
    for (int batch = 0; batch < 3; ++batch) {
        std::vector<platform::answerlog::Row> rows(3);
        for (int i = 0; i < 3; ++i)
            rows[std::size_t(i)].time = batch * 3 + i;
        platform::answerlog::append(registry, id, rows, 5);
    }
    const auto read = platform::answerlog::read(registry, id);
    ASSERT_EQ(read.rows.size(), 5u);
    EXPECT_EQ(read.rows.front().time, 4);
    EXPECT_EQ(read.rows.back().time, 8);
    EXPECT_EQ(read.rows.back().seq, 9) << "numbers go on counting after a trim";
    // A reader asks for fewer than are stored (a log grown by another build): the newest.
    const auto newest = platform::answerlog::read(registry, id, 2);
    EXPECT_EQ(newest.total, 5);
    ASSERT_EQ(newest.rows.size(), 2u);
    EXPECT_EQ(newest.rows.front().time, 7);
}

TEST_F(AnswerLogStore, DeletingAPlayerKeepsItsLogWithTheBackupUntilARestore)
{
    const std::vector<AnswerRecord> log = {record(AnswerEvent::Right, kNoon, 30, 40)};
    saved(QStringLiteral("Вася"), log);
    ASSERT_TRUE(ProfileBackup::deletePlayer(registry, QStringLiteral("Вася")));
    EXPECT_TRUE(logOf(QStringLiteral("Вася")).empty());
    // A new player of that name starts with no history.
    auto again = saved(QStringLiteral("Вася"), {});
    EXPECT_TRUE(logOf(QStringLiteral("Вася")).empty());
    ASSERT_TRUE(ProfileBackup::deletePlayer(registry, QStringLiteral("Вася")));
    // The log that waits is the last deleted one; the first is gone.
    ASSERT_TRUE(ProfileBackup::restore(registry, QStringLiteral("Вася")));
    EXPECT_TRUE(logOf(QStringLiteral("Вася")).empty());

    saved(QStringLiteral("Петя"), log);
    ASSERT_TRUE(ProfileBackup::deletePlayer(registry, QStringLiteral("Петя")));
    ASSERT_TRUE(ProfileBackup::restore(registry, QStringLiteral("Петя")));
    EXPECT_EQ(logOf(QStringLiteral("Петя")), log);
    // Restoring an older profile of a stored player keeps the history it has.
    auto petya = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Петя")), registry);
    petya->Scores = 5;
    petya->PendingLog = {record(AnswerEvent::Wrong, kNoon + 1, 40, 36)};
    petya->SaveToRegistry(registry);
    ASSERT_TRUE(ProfileBackup::restore(registry, QStringLiteral("Петя"), 1));
    EXPECT_EQ(logOf(QStringLiteral("Петя")).size(), 2u);
    // A key deleted by a build that knows nothing of the log takes its rows along.
    registry.deleteKey(TUser::PlayerPath(QStringLiteral("Петя")));
    saved(QStringLiteral("Петя"), {});
    EXPECT_TRUE(logOf(QStringLiteral("Петя")).empty());
}

TEST_F(AnswerLogStore, ABackupFileCarriesTheLog)
{
    const std::vector<AnswerRecord> log = {record(AnswerEvent::Hint, kNoon, 30, 25),
                                           record(AnswerEvent::Victory, kNoon + 60, 25, 25)};
    saved(QStringLiteral("Вася"), log);
    const QString backup = platform::store::writeBackup(registry);
    platform::Registry copy(backup);
    EXPECT_EQ(answerlog::load(copy, TUser::PlayerPath(QStringLiteral("Вася"))).records, log);
}

TEST_F(AnswerLogStore, ALogTableOfAnotherLayoutNeverStopsASave)
{
    sqlite3_exec(registry.connection(), "CREATE TABLE answer_log (x)", nullptr, nullptr, nullptr);
    auto user = saved(QStringLiteral("Вася"), {record(AnswerEvent::Right, kNoon, 30, 40)});
    EXPECT_TRUE(registry.keyExists(TUser::PlayerPath(QStringLiteral("Вася"))));
    const answerlog::Loaded log = answerlog::load(registry, TUser::PlayerPath(QStringLiteral("Вася")));
    EXPECT_TRUE(log.damaged);
    EXPECT_TRUE(log.records.empty());
    EXPECT_TRUE(ProfileBackup::deletePlayer(registry, QStringLiteral("Вася")));
}

TEST_F(AnswerLogStore, RowsThatAreNotNumbersAreLeftOutAndCounted)
{
    saved(QStringLiteral("Вася"),
          {record(AnswerEvent::Right, kNoon, 30, 40), record(AnswerEvent::Wrong, kNoon, 40, 36)});
    sqlite3_exec(registry.connection(), "UPDATE answer_log SET seconds = 'долго' WHERE seq = 1", nullptr,
                 nullptr, nullptr);
    const answerlog::Loaded log = answerlog::load(registry, TUser::PlayerPath(QStringLiteral("Вася")));
    EXPECT_EQ(log.unreadable, 1);
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records.front().Event, int(AnswerEvent::Wrong));
}

// ---------------------------------------------------------------------------
// Statistics

namespace
{

struct StatsCase {
    const char *name;
    std::vector<AnswerRecord> log;
    std::function<void(const answerstats::Figures &)> check;
};

answerstats::Figures figuresOf(const std::vector<AnswerRecord> &log)
{
    TUser player;
    player.Scores = 77;
    player.Level = 2;
    player.LD = 3;
    player.HU = 1;
    answerstats::Options options;
    options.now = kNoon;
    options.zone = QTimeZone(3 * 3600); // days begin at 21:00 UTC
    options.knownPuzzle = [](qint64 id) { return id < 1000; };
    return answerstats::compute(log, player, options);
}

class Stats : public ::testing::TestWithParam<StatsCase>
{
};

constexpr qint64 kDay = 86400;

const StatsCase kStatsCases[] = {
    {"no log: the counters, and the history starts now",
     {},
     [](const answerstats::Figures &f) {
         EXPECT_TRUE(f.historyStartsNow);
         EXPECT_EQ(f.scores, 77);
         EXPECT_EQ(f.rightCounters, (std::array<int, 3>{3, 0, 0}));
         EXPECT_EQ(f.wrongCounters, (std::array<int, 3>{0, 0, 1}));
         EXPECT_FALSE(f.rightRate.has_value());
         EXPECT_EQ(f.daysPlayed, 0);
         EXPECT_EQ(f.calendarFirst, QDate(2026, 9, 14)); // the Monday eleven weeks before this one
     }},
    {"two days: points at each day's end, the level change marked, the calendar",
     {record(AnswerEvent::Wrong, kNoon - kDay, 30, 26), record(AnswerEvent::Right, kNoon - kDay + 60, 26, 36),
      record(AnswerEvent::Right, kNoon - kDay + 120, 36, 46, 1),
      record(AnswerEvent::Level, kNoon - kDay + 121, 46, 46), record(AnswerEvent::Right, kNoon, 46, 76, 2)},
     [](const answerstats::Figures &f) {
         EXPECT_FALSE(f.historyStartsNow);
         ASSERT_EQ(f.days.size(), 2u);
         EXPECT_EQ(f.days[0], (answerstats::DayPoints{QDate(2026, 12, 1), 46, 1, true, 2}));
         EXPECT_EQ(f.days[1], (answerstats::DayPoints{QDate(2026, 12, 2), 76, 1, false, 1}));
         EXPECT_EQ(f.solvedByDifficulty, (std::array<int, 3>{1, 1, 1}));
         EXPECT_EQ(f.solvedByKind[AnswerInteger], 3);
         EXPECT_DOUBLE_EQ(*f.rightRate, 0.75);
         EXPECT_DOUBLE_EQ(*f.wrongPerSolved, 1.0 / 3);
         EXPECT_EQ(f.levelsReached, 1);
         EXPECT_EQ(f.calendar[std::size_t(f.calendarFirst.daysTo(QDate(2026, 12, 1)))], 2);
         EXPECT_EQ(f.calendar[std::size_t(f.calendarFirst.daysTo(QDate(2026, 12, 2)))], 1);
         EXPECT_EQ(f.leftOut.total(), 0);
     }},
    {"days are the player's: 21:30 UTC is the next day at UTC+3",
     {record(AnswerEvent::Right, kNoon - 16 * 3600, 30, 40),
      record(AnswerEvent::Right, kNoon - 14 * 3600 - 1800, 40, 50)},
     [](const answerstats::Figures &f) {
         ASSERT_EQ(f.days.size(), 2u);
         EXPECT_EQ(f.days[0].day, QDate(2026, 12, 1));
         EXPECT_EQ(f.days[1].day, QDate(2026, 12, 2));
     }},
    {"medians by difficulty, odd and even counts; bought hints and solutions with their cost",
     {record(AnswerEvent::Right, kNoon, 0, 10, 0, 30), record(AnswerEvent::Right, kNoon, 10, 20, 0, 10),
      record(AnswerEvent::Right, kNoon, 20, 30, 0, 20), record(AnswerEvent::Right, kNoon, 30, 60, 2, 100),
      record(AnswerEvent::Right, kNoon, 60, 90, 2, 40), record(AnswerEvent::Wrong, kNoon, 90, 89, 2, 5000),
      record(AnswerEvent::Hint, kNoon, 89, 84), record(AnswerEvent::Solution, kNoon, 84, 64),
      record(AnswerEvent::Solution, kNoon, 64, 34, 1)},
     [](const answerstats::Figures &f) {
         EXPECT_DOUBLE_EQ(*f.medianSeconds[0], 20);
         EXPECT_FALSE(f.medianSeconds[1].has_value());
         EXPECT_DOUBLE_EQ(*f.medianSeconds[2], 70);
         EXPECT_EQ(f.hintsBought, 1);
         EXPECT_EQ(f.pointsOnHints, 5);
         EXPECT_EQ(f.solutionsBought, 2);
         EXPECT_EQ(f.pointsOnSolutions, 50);
         EXPECT_EQ(f.daysPlayed, 1);
     }},
    {"impossible records: left out where they would mislead, counted every time",
     {record(AnswerEvent::Right, kNoon + kDay, 30, 40), // ahead of the clock
      record(AnswerEvent::Right, 5, 30, 40),            // before the game existed
      [] {
          auto r = record(AnswerEvent::Right, kNoon, 30, 40);
          r.Event = 42;
          return r;
      }(),
      record(AnswerEvent::Right, kNoon, 30, 40, 0, -3), // negative seconds: solved, no time
      [] {
          auto r = record(AnswerEvent::Right, kNoon, 40, 50);
          r.Puzzle = 4000;
          return r;
      }(),
      record(AnswerEvent::Right, kNoon, 50, 60, 9),           // a grade outside the tables
      record(AnswerEvent::Wrong, kNoon, qint64(1) << 40, 0)}, // points no profile holds
     [](const answerstats::Figures &f) {
         EXPECT_EQ(f.leftOut, (answerstats::LeftOut{1, 2, 1, 1, 1, 1}));
         EXPECT_EQ(f.records, 4);
         EXPECT_EQ(f.rightAnswers, 3);
         EXPECT_EQ(f.solvedByDifficulty, (std::array<int, 3>{2, 0, 0}));
         EXPECT_DOUBLE_EQ(*f.medianSeconds[0], 10);
         ASSERT_EQ(f.days.size(), 1u);
         EXPECT_EQ(f.days[0].points, 60);
     }},
};

} // namespace

TEST_P(Stats, FiguresOfAMadeUpLog)
{
    GetParam().check(figuresOf(GetParam().log));
}

INSTANTIATE_TEST_SUITE_P(Logs, Stats, ::testing::ValuesIn(kStatsCases),
                         [](const auto &info) { return "case" + std::to_string(info.index); });
