// Every save keeps the profile it replaces; three are kept, and any of them
// can be put back, even after the player was deleted.
#include "core/ProfileBackup.h"
#include "core/User.h"
#include "platform/Registry.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class ProfileBackups : public ::testing::Test
{
  protected:
    QTemporaryDir tmp;
    platform::Registry registry{tmp.filePath(QStringLiteral("r.sqlite3"))};
    std::unique_ptr<TUser> user = TUser::CreateNew(QStringLiteral("Вася"), 2);

    void saveWithScore(int score)
    {
        user->Scores = score;
        user->SaveToRegistry(registry);
    }
    int storedScore(const QString &path)
    {
        return registry.openKeyReadOnly(path)->readInteger(QStringLiteral("Scores"));
    }
    int backupScore(int which)
    {
        return storedScore(ProfileBackup::backupPath(QStringLiteral("Вася"), which));
    }
};

} // namespace

TEST_F(ProfileBackups, ThreeNewestAreKeptNewestFirst)
{
    saveWithScore(10);
    EXPECT_TRUE(ProfileBackup::available(registry, QStringLiteral("Вася")).isEmpty());
    for (int score : {20, 30, 40, 50})
        saveWithScore(score);
    EXPECT_EQ(ProfileBackup::available(registry, QStringLiteral("Вася")), (QList<int>{1, 2, 3}));
    EXPECT_EQ(backupScore(1), 40);
    EXPECT_EQ(backupScore(2), 30);
    EXPECT_EQ(backupScore(3), 20);
    // Backups are no players.
    EXPECT_EQ(registry.subKeyNames(TUser::UsersKey), QStringList{QStringLiteral("Вася")});
}

TEST_F(ProfileBackups, SavingAnUnchangedProfileKeepsTheHistory)
{
    saveWithScore(10);
    saveWithScore(20);
    saveWithScore(20);
    saveWithScore(20);
    EXPECT_EQ(ProfileBackup::available(registry, QStringLiteral("Вася")), (QList<int>{1, 2}));
    EXPECT_EQ(backupScore(2), 10);
}

TEST_F(ProfileBackups, RestoreKeepsTheReplacedProfile)
{
    for (int score : {10, 20, 30, 40})
        saveWithScore(score);
    ASSERT_TRUE(ProfileBackup::restore(registry, QStringLiteral("ВАСЯ"), 3));
    EXPECT_EQ(storedScore(user->KeyPath()), 10);
    EXPECT_EQ(backupScore(1), 40);
    const auto back = TUser::CreateFromRegistry(user->KeyPath(), registry);
    EXPECT_EQ(back->Scores, 10);
    EXPECT_EQ(back->Name, QStringLiteral("Вася"));
    EXPECT_FALSE(ProfileBackup::restore(registry, QStringLiteral("Вася"), 4));
    EXPECT_FALSE(ProfileBackup::restore(registry, QStringLiteral("Петя"), 1));
}

TEST_F(ProfileBackups, ADeletedPlayerCanComeBack)
{
    saveWithScore(10);
    saveWithScore(20);
    registry.deleteKey(user->KeyPath());
    ASSERT_TRUE(ProfileBackup::restore(registry, QStringLiteral("Вася"), 1));
    EXPECT_EQ(storedScore(user->KeyPath()), 10);
}
