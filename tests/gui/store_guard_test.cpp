// What the game does with its player store at start, seen from the notice it
// leaves for the player and from the files: a store it may not use is left as
// it lies, a missing or damaged one comes back from its backup.
#include "app/StoreGuard.h"
#include "core/StoreNotice.h"
#include "core/User.h"
#include "platform/InstanceLock.h"
#include "platform/Registry.h"
#include "platform/StoreFiles.h"
#include "platform/UserStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

enum class Start { StoreIsAFolder, LockIsAFolder, StoreGone, StoreDamaged };

struct Case {
    Start start;
    const char *name;
};

class StoreGuardStart : public ::testing::TestWithParam<Case>
{
  protected:
    QTemporaryDir dir;
    QString store() const { return dir.filePath(QStringLiteral("registry.sqlite3")); }

    void SetUp() override
    {
        platform::Registry registry(store());
        auto user = TUser::CreateNew(QStringLiteral("Вася"), 1);
        user->Scores = 555;
        user->SaveToRegistry(registry);
        platform::store::writeBackup(registry);
    }
    // The store's files; the lock files come and stay.
    QStringList files() const
    {
        return QDir(dir.path())
            .entryList({QStringLiteral("registry*"), QStringLiteral("backups")},
                       QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)
            .filter(QRegularExpression(QStringLiteral("(?<!\\.lock)$")));
    }
};

TEST_P(StoreGuardStart, TellsThePlayerAndKeepsThePlayers)
{
    const Start start = GetParam().start;
    if (start == Start::StoreIsAFolder) {
        QFile::remove(store());
        QDir().mkpath(store());
    } else if (start == Start::LockIsAFolder) {
        QDir().mkpath(platform::InstanceLock::lockPath(store()));
    } else if (start == Start::StoreGone) {
        QFile::remove(store());
    } else {
        QFile f(store());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write("PK\3\4 not a store at all");
    }
    const QStringList before = files();
    platform::UserStore playerStore(store());
    {
        app::StoreGuard guard(playerStore);
        ASSERT_TRUE(guard.start());
        guard.openStore();
        const bool refused = start == Start::StoreIsAFolder || start == Start::LockIsAFolder;
        if (refused) {
            EXPECT_EQ(guard.notice(),
                      start == Start::LockIsAFolder ? StoreNotice::NoLock() : StoreNotice::NoAccess());
            // Nothing opens the store behind the notice's back.
            EXPECT_THROW(playerStore.get(), platform::ERegistryError);
            EXPECT_EQ(files(), before);
        } else {
            EXPECT_TRUE(guard.notice().startsWith(start == Start::StoreGone
                                                      ? QStringLiteral("Файл с данными игроков пропал.")
                                                      : QStringLiteral("Файл с данными игроков повреждён.")))
                << qPrintable(guard.notice());
            auto user =
                TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), playerStore.get());
            EXPECT_EQ(user->Scores, 555);
        }
    }
    // The guard closed the store it opened as it went, before its locks.
    EXPECT_FALSE(playerStore.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreGuardStart,
                         ::testing::Values(Case{Start::StoreIsAFolder, "StoreIsAFolder"},
                                           Case{Start::LockIsAFolder, "LockIsAFolder"},
                                           Case{Start::StoreGone, "StoreGone"},
                                           Case{Start::StoreDamaged, "StoreDamaged"}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
