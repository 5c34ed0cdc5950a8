// Ways a player's progress used to get lost, and the store's defences: names
// that address the wrong key, scores at the type's limits, damaged store
// files with their recovery from backup files, and one game at a time.
#include "TestFiles.h"
#include "core/GameRules.h"
#include "core/Problem.h"
#include "core/ProfileBackup.h"
#include "core/StoreNotice.h"
#include "core/User.h"
#include "platform/InstanceLock.h"
#include "platform/Registry.h"
#include "platform/StoreFiles.h"
#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <climits>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::Registry;
namespace store = platform::store;

namespace
{

// --- names that must never address another key ------------------------------

class BadKeyName : public ::testing::TestWithParam<const char *>
{
};

TEST_P(BadKeyName, NeverReachesThePlayersKey)
{
    QTemporaryDir dir;
    Registry registry(dir.filePath(QStringLiteral("registry.sqlite3")));
    auto other = TUser::CreateNew(QStringLiteral("Петя"), 1);
    other->SaveToRegistry(registry);
    other->SaveToRegistry(registry);
    const QString name = QString::fromUtf8(GetParam());

    EXPECT_FALSE(Registry::isKeyName(name));
    EXPECT_THROW(TUser::PlayerPath(name), platform::ERegistryError);
    EXPECT_THROW(ProfileBackup::backupPath(name, 1), platform::ERegistryError);
    EXPECT_THROW(ProfileBackup::restore(registry, name, 1), platform::ERegistryError);
    auto bad = TUser::CreateNew(name, 1);
    EXPECT_THROW(bad->SaveToRegistry(registry), platform::ERegistryError);

    EXPECT_EQ(registry.subKeyNames(TUser::UsersKey), QStringList{QStringLiteral("Петя")});
    EXPECT_TRUE(registry.openKeyReadOnly(TUser::UsersKey)->valueNames().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Names, BadKeyName, ::testing::Values("", ".", "..", "\\", "a\\b", "\\Петя", "x\ty"));

// A stored player whose "Name" value is missing (or differs from its key) is
// saved back into its own key, never onto the players' key.
TEST(KeyName, APlayerIsSavedUnderTheKeyItWasReadFrom)
{
    QTemporaryDir dir;
    Registry registry(dir.filePath(QStringLiteral("registry.sqlite3")));
    for (const char *stored : {"", "Другое имя"}) {
        auto user = TUser::CreateNew(QStringLiteral("Маша"), 2);
        user->SaveToRegistry(registry);
        const QString path = TUser::PlayerPath(QStringLiteral("Маша"));
        if (*stored)
            registry.openKey(path, false)->writeString(QStringLiteral("Name"), QString::fromUtf8(stored));
        else
            registry.openKey(path, false)->deleteValue(QStringLiteral("Name"));

        auto loaded = TUser::CreateFromRegistry(path, registry);
        EXPECT_EQ(loaded->Name, QString::fromUtf8(stored));
        loaded->Scores = 77;
        loaded->SaveToRegistry(registry);

        EXPECT_EQ(registry.openKeyReadOnly(path)->readInteger(QStringLiteral("Scores")), 77) << stored;
        EXPECT_TRUE(registry.openKeyReadOnly(TUser::UsersKey)->valueNames().isEmpty()) << stored;
        EXPECT_EQ(registry.subKeyNames(TUser::UsersKey), QStringList{QStringLiteral("Маша")}) << stored;
        registry.deleteKey(path);
    }
}

// --- scores at the limits of their type -------------------------------------

struct ScoreCase {
    std::int32_t before;
    bool right;
    std::uint8_t difficulty;
    std::int32_t after;
};

class ScoreLimits : public ::testing::TestWithParam<ScoreCase>
{
};

void PrintTo(const ScoreCase &c, std::ostream *os)
{
    *os << c.before << (c.right ? " right at " : " wrong at ") << int(c.difficulty) << " -> " << c.after;
}

// The answer counters are 16 bits in the stored profile: they stop at the top too.
TEST_P(ScoreLimits, ScoresAndCountersSaturateInsteadOfWrapping)
{
    const ScoreCase c = GetParam();
    TProblem puzzle(7, c.difficulty, QStringLiteral("Мост"), QString(), QString());
    puzzle.AnswerKind = 0;
    puzzle.AnswerData = AnswerValue{};
    TUser player;
    player.Scores = c.before;
    player.LevelList.Add(7);
    std::uint16_t *counters[] = {&player.LD,
                                 &player.MD,
                                 &player.HD,
                                 &player.LU,
                                 &player.MU,
                                 &player.HU,
                                 &player.LevelList.FindEntry(7)->WrongAnswers};
    for (std::uint16_t *counter : counters)
        *counter = UINT16_MAX;
    AnswerValue answer{};
    if (!c.right)
        answer.bytes[0] = 1;
    TGameRules::ScoreAnswer(player, puzzle, answer);
    EXPECT_EQ(player.Scores, c.after);
    for (const std::uint16_t *counter : counters)
        EXPECT_EQ(*counter, UINT16_MAX);
}

INSTANTIATE_TEST_SUITE_P(Table, ScoreLimits,
                         ::testing::Values(ScoreCase{INT32_MIN, false, 0, INT32_MIN},
                                           ScoreCase{INT32_MIN + 1, false, 0, INT32_MIN},
                                           ScoreCase{INT32_MAX, true, 2, INT32_MAX},
                                           ScoreCase{INT32_MAX - 5, true, 0, INT32_MAX},
                                           ScoreCase{30, true, 1, 50}, ScoreCase{30, false, 0, 26}));

// --- store files: check, backups, recovery ----------------------------------

class StoreFiles : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("registry.sqlite3")); }

    void savePlayer(const QString &name, std::int32_t scores)
    {
        Registry registry(path());
        auto user = TUser::CreateNew(name, 1);
        user->Scores = scores;
        user->SaveToRegistry(registry);
    }
    std::int32_t scoresOf(const QString &name)
    {
        Registry registry(path());
        return TUser::CreateFromRegistry(TUser::PlayerPath(name), registry)->Scores;
    }
    QString backup()
    {
        Registry registry(path());
        return store::writeBackup(registry);
    }
    // Backups are named by the second; tests that need two wait for the next one.
    void nextSecond() { QThread::msleep(1010); }
    void overwrite(const QString &file, qint64 offset, const QByteArray &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(offset);
        f.write(bytes);
    }
};

enum class Damage { Truncated, ZeroFilled, ForeignHeader, Empty, PagesOverwritten };

std::string DamageName(const ::testing::TestParamInfo<Damage> &info)
{
    static const char *const names[] = {"Truncated", "ZeroFilled", "ForeignHeader", "Empty",
                                        "PagesOverwritten"};
    return names[int(info.param)];
}

class DamagedStore : public StoreFiles, public ::testing::WithParamInterface<Damage>
{
};

TEST_P(DamagedStore, IsFoundAndRecoveredFromTheNewestGoodBackup)
{
    savePlayer(QStringLiteral("Вася"), 100);
    const QString older = backup();
    nextSecond();
    savePlayer(QStringLiteral("Вася"), 200);
    const QString newer = backup();
    savePlayer(QStringLiteral("Вася"), 300); // after the last backup: may be lost
    ASSERT_TRUE(store::check(path()).ok);

    const qint64 size = QFileInfo(path()).size();
    switch (GetParam()) {
    case Damage::Truncated:
        QFile::resize(path(), size / 3);
        break;
    case Damage::ZeroFilled:
        overwrite(path(), 0, QByteArray(int(size), '\0'));
        break;
    case Damage::ForeignHeader:
        overwrite(path(), 0, QByteArray("PK\3\4 not a store at all"));
        break;
    case Damage::Empty:
        QFile::resize(path(), 0);
        break;
    case Damage::PagesOverwritten:
        for (qint64 page = 1; page * 4096 < size; ++page)
            overwrite(path(), page * 4096 + 8, QByteArray(64, '\x5a'));
        break;
    }
    const qint64 damagedSize = QFileInfo(path()).size();
    // The newest backup is damaged too: recovery takes the one before it.
    overwrite(newer, 0, QByteArray(100, '\x01'));

    const store::Health health = store::check(path());
    ASSERT_FALSE(health.ok);
    EXPECT_FALSE(health.detail.isEmpty());

    store::Recovery r;
    ASSERT_TRUE(store::checkAndRecover(path(), &r));
    EXPECT_EQ(r.restoredFrom, older);
    EXPECT_TRUE(QFileInfo(r.damagedAs).fileName().startsWith(QStringLiteral("registry.sqlite3.damaged-")));
    EXPECT_EQ(QFileInfo(r.damagedAs).size(), damagedSize); // kept, not deleted
    EXPECT_TRUE(store::check(path()).ok);
    EXPECT_EQ(scoresOf(QStringLiteral("Вася")), 100);
    const QString message = StoreNotice::Recovered(r);
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("Файл с данными игроков повреждён. Игроки восстановлены из резервной копии от ")))
        << qPrintable(message);
    EXPECT_TRUE(message.contains(store::backupTime(older).toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DamagedStore,
                         ::testing::Values(Damage::Truncated, Damage::ZeroFilled, Damage::ForeignHeader,
                                           Damage::Empty, Damage::PagesOverwritten),
                         DamageName);

TEST_F(StoreFiles, WithoutAGoodBackupTheStoreStartsEmptyAndSaysSo)
{
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("a half-written copy");
    f.close();
    store::Recovery r;
    ASSERT_TRUE(store::checkAndRecover(path(), &r));
    EXPECT_TRUE(r.restoredFrom.isEmpty());
    // An empty store stands in its place at once: there is never a moment
    // without one, in which a reader could make its own.
    EXPECT_TRUE(store::check(path()).ok);
    EXPECT_TRUE(QFile::exists(r.damagedAs));
    EXPECT_TRUE(StoreNotice::Recovered(r).contains(QStringLiteral("Список игроков начат заново")));
    Registry fresh(path());
    EXPECT_TRUE(fresh.subKeyNames(TUser::UsersKey).isEmpty());

    // A healthy or missing store is left alone.
    EXPECT_FALSE(store::checkAndRecover(path(), &r));
    EXPECT_TRUE(store::check(dir.filePath(QStringLiteral("none.sqlite3"))).ok);
}

TEST_F(StoreFiles, BackupsAreWholeFilesAndTheNewestTenAreKept)
{
    savePlayer(QStringLiteral("Вася"), 1);
    const QString folder = store::backupFolder(path());
    // Old copies from earlier days, as a long-played game would have.
    QDir().mkpath(folder);
    for (int day = 1; day <= 12; ++day)
        QFile::copy(
            path(),
            folder + QStringLiteral("/registry-202001%1-120000.sqlite3").arg(day, 2, 10, QLatin1Char('0')));
    const QString written = backup();
    const QStringList kept = store::backups(path());
    ASSERT_EQ(kept.size(), store::KeptBackups);
    EXPECT_EQ(kept.first(), written);
    EXPECT_EQ(store::newestBackupTime(path()), store::backupTime(written));
    EXPECT_EQ(QFileInfo(kept.last()).fileName(), QStringLiteral("registry-20200104-120000.sqlite3"));
    // No temporary name is left, and the copy is a whole store on its own.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), store::KeptBackups);
    EXPECT_TRUE(store::check(written).ok);
}

// A save that cannot write (a full disk, a file size limit) fails as a whole,
// and so does a backup, leaving no partial file under a backup's name.
TEST_F(StoreFiles, AFullDiskFailsTheSaveAndKeepsWhatWasStored)
{
    savePlayer(QStringLiteral("Вася"), 10);
    Registry registry(path());
    auto user = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), registry);
    for (int i = 0; i < 170; ++i)
        user->UsedIds.Add(ProblemId(i));
    user->Scores = 20;

    bool saveFailed = false, backupFailed = false;
    {
        testfiles::FileSizeLimit full(4096);
        try {
            user->SaveToRegistry(registry);
        } catch (const platform::ERegistryError &) {
            saveFailed = true;
        }
        try {
            store::writeBackup(registry);
        } catch (const platform::ERegistryError &) {
            backupFailed = true;
        }
    }
    EXPECT_TRUE(saveFailed);
    EXPECT_TRUE(backupFailed);
    EXPECT_TRUE(store::backups(path()).isEmpty());
    EXPECT_TRUE(QDir(store::backupFolder(path())).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), registry)->Scores, 10);
    // With room again the same save lands.
    user->SaveToRegistry(registry);
    EXPECT_EQ(TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), registry)->Scores, 20);
}

// --- recoveries cut short ----------------------------------------------------

// What a recovery killed at any moment can leave: the damaged store with its
// good copy waiting, or, from older versions, no store beside its backups.
// Each is found by the check and ends with the players back.
enum class Cut { StoreGone, CopyWaiting, CopyWaitingStoreGone, OnlyTheLogLeft };

class CutRecovery : public StoreFiles, public ::testing::WithParamInterface<Cut>
{
};

TEST_P(CutRecovery, IsFoundAndFinished)
{
    savePlayer(QStringLiteral("Вася"), 100);
    backup();
    savePlayer(QStringLiteral("Вася"), 200);
    const QString waiting = path() + QStringLiteral(".restoring");
    if (GetParam() == Cut::CopyWaiting || GetParam() == Cut::CopyWaitingStoreGone) {
        ASSERT_TRUE(QFile::copy(path(), waiting));
    }
    if (GetParam() == Cut::OnlyTheLogLeft) {
        // With no backups either: the log alone says a store was there.
        QDir(store::backupFolder(path())).removeRecursively();
        ASSERT_TRUE(QFile::copy(path(), path() + QStringLiteral("-wal")));
    }
    if (GetParam() != Cut::CopyWaiting) {
        ASSERT_TRUE(QFile::remove(path()));
    } else {
        overwrite(path(), 0, QByteArray(512, '\0'));
    }

    const store::Health health = store::check(path());
    EXPECT_FALSE(health.ok);
    store::Recovery r;
    ASSERT_TRUE(store::checkAndRecover(path(), &r));
    EXPECT_TRUE(store::check(path()).ok);
    EXPECT_FALSE(QFile::exists(waiting));
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral("-wal")));
    if (GetParam() == Cut::OnlyTheLogLeft) {
        EXPECT_TRUE(r.wasMissing);
        return;
    }
    EXPECT_EQ(scoresOf(QStringLiteral("Вася")), GetParam() == Cut::StoreGone ? 100 : 200);
    EXPECT_EQ(r.wasMissing, GetParam() == Cut::StoreGone);
    EXPECT_FALSE(StoreNotice::Recovered(r).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Moments, CutRecovery,
                         ::testing::Values(Cut::StoreGone, Cut::CopyWaiting, Cut::CopyWaitingStoreGone,
                                           Cut::OnlyTheLogLeft));

// --- which backup counts -----------------------------------------------------

// Files in backups/ are ranked by what they hold, not by their names: junk and
// copies named in the future neither push a real backup out nor win a recovery.
enum class Stray { TenJunkFiles, EmptyStoreNamedLater, ClockOnceAhead };

class StrayBackups : public StoreFiles, public ::testing::WithParamInterface<Stray>
{
};

TEST_P(StrayBackups, NeitherPushOutNorWin)
{
    const QString folder = store::backupFolder(path());
    QDir().mkpath(folder);
    savePlayer(QStringLiteral("Вася"), 100);
    QStringList strays;
    for (int i = 0; i < (GetParam() == Stray::TenJunkFiles ? 10 : 1); ++i)
        strays << folder + QStringLiteral("/registry-209912%1-000000.sqlite3").arg(i + 10);
    if (GetParam() == Stray::TenJunkFiles) {
        for (const QString &file : strays) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'j'));
        }
    } else if (GetParam() == Stray::EmptyStoreNamedLater) {
        Registry empty(strays.first());
    } else {
        // A backup written while the clock stood in 2099, holding an older profile.
        savePlayer(QStringLiteral("Вася"), 50);
        ASSERT_TRUE(QFile::rename(backup(), strays.first()));
        nextSecond();
        savePlayer(QStringLiteral("Вася"), 100);
    }
    const QString today = backup();
    EXPECT_TRUE(QFile::exists(today));
    EXPECT_EQ(store::backups(path()).first(), today);
    for (const QString &file : strays)
        EXPECT_TRUE(QFile::exists(file)); // not ours to delete

    savePlayer(QStringLiteral("Вася"), 300);
    QFile::resize(path(), 100);
    store::Recovery r;
    ASSERT_TRUE(store::checkAndRecover(path(), &r));
    EXPECT_EQ(r.restoredFrom, today);
    EXPECT_EQ(scoresOf(QStringLiteral("Вася")), 100);
}

INSTANTIATE_TEST_SUITE_P(Kinds, StrayBackups,
                         ::testing::Values(Stray::TenJunkFiles, Stray::EmptyStoreNamedLater,
                                           Stray::ClockOnceAhead));

// --- the write-ahead log ------------------------------------------------------

// A changed byte in the log's last frame makes SQLite drop that save without a
// word. The check finds it, and the recovery keeps everything before it and says so.
TEST_F(StoreFiles, ADamagedLogFrameIsReportedNotHidden)
{
    savePlayer(QStringLiteral("Вася"), 78);
    backup();
    // A game killed after its saves leaves the log and its index behind.
    const pid_t child = fork();
    if (child == 0) {
        Registry registry(path());
        for (int scores : {79, 80}) {
            auto user = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), registry);
            user->Scores = scores;
            user->SaveToRegistry(registry);
        }
        ::kill(::getpid(), SIGKILL);
    }
    ASSERT_GT(child, 0);
    waitpid(child, nullptr, 0);
    const QString log = path() + QStringLiteral("-wal");
    ASSERT_GT(QFileInfo(log).size(), 4096);
    {
        // Undamaged, the same files are healthy (checked on a copy: a check folds the log in).
        QTemporaryDir other;
        for (const char *side : {"", "-wal", "-shm"})
            QFile::copy(path() + QLatin1String(side),
                        other.filePath(QStringLiteral("registry.sqlite3") + QLatin1String(side)));
        EXPECT_TRUE(store::check(other.filePath(QStringLiteral("registry.sqlite3"))).ok);
    }
    overwrite(log, QFileInfo(log).size() - 100, QByteArray("\x7f"));

    const store::Health health = store::check(path());
    EXPECT_FALSE(health.ok);
    EXPECT_TRUE(health.lostSaves) << qPrintable(health.detail);
    store::Recovery r;
    ASSERT_TRUE(store::checkAndRecover(path(), &r));
    EXPECT_TRUE(r.salvaged);
    EXPECT_TRUE(QFile::exists(r.damagedAs + QStringLiteral("-wal")));
    EXPECT_TRUE(StoreNotice::Recovered(r).contains(QStringLiteral("последнее сохранение потеряно")));
    EXPECT_EQ(scoresOf(QStringLiteral("Вася")), 79);
    EXPECT_TRUE(store::check(path()).ok);
}

// --- one game at a time ------------------------------------------------------

TEST(InstanceLockTest, OneHolderAndReleasedWhenTheHolderDies)
{
    QTemporaryDir dir;
    const QString storePath = dir.filePath(QStringLiteral("registry.sqlite3"));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        platform::InstanceLock lock(storePath);
        const char ok = lock.tryLock() ? '1' : '0';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');
    platform::InstanceLock mine(storePath);
    EXPECT_FALSE(mine.tryLock());
    // A crash leaves nothing behind.
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(mine.tryLock());
    platform::InstanceLock second(storePath);
    EXPECT_FALSE(second.tryLock());
    mine.unlock();
    EXPECT_TRUE(second.tryLock());
    close(ready[0]);
    close(ready[1]);
}

} // namespace
