#include "platform/Registry.h"
#include "platform/UserStore.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace
{

class RegistryTest : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString dbPath() const { return dir.filePath("sub/registry.sqlite3"); }
    std::unique_ptr<Registry> open() { return std::make_unique<Registry>(dbPath()); }
};

std::string message(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const ERegistryError &e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST_F(RegistryTest, KeysAreCreatedWithParentsAndFoundWithoutRegardToCase)
{
    auto reg = open();
    EXPECT_FALSE(reg->keyExists("\\Software\\Quorvane"));
    EXPECT_EQ(reg->openKey("\\Software\\Quorvane", false), nullptr);
    EXPECT_EQ(reg->openKeyReadOnly("\\Software"), nullptr);

    auto key = reg->openKey("\\Software\\Quorvane\\Zentrika\\Users info\\Вася\\", true);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->path(), QStringLiteral("\\Software\\Quorvane\\Zentrika\\Users info\\Вася\\"));
    EXPECT_TRUE(reg->keyExists("Software\\Quorvane"));
    // Full Unicode case: Cyrillic too. The stored spelling is kept.
    auto same = reg->openKeyReadOnly("SOFTWARE\\\\quorvane\\ZENTRIKA\\users INFO\\ВАСЯ");
    ASSERT_NE(same, nullptr);
    EXPECT_EQ(same->path(), QStringLiteral("\\Software\\Quorvane\\Zentrika\\Users info\\Вася\\"));
    // Creating it again under another spelling opens the same key.
    auto again = reg->openKey("\\software\\quorvane\\zentrika\\users info\\вАсЯ", true);
    EXPECT_EQ(reg->subKeyNames("\\Software\\Quorvane\\Zentrika\\Users info"),
              QStringList{QStringLiteral("Вася")});
}

TEST_F(RegistryTest, SubKeysListInCreationOrderAndDeleteRecursively)
{
    auto reg = open();
    const QString users = "\\Software\\Quorvane\\Zentrika\\Users info\\";
    for (const char *name : {"Яна", "Борис", "alice", "Ёж"})
        ASSERT_NE(reg->openKey(users + QString::fromUtf8(name), true), nullptr);
    EXPECT_EQ(reg->subKeyNames(users), QStringList({"Яна", "Борис", "alice", "Ёж"}));

    auto deep = reg->openKey(users + "Борис\\deeper\\still", true);
    deep->writeInteger("x", 1);
    reg->openKey(users + "Борис", false)->writeString("Name", "Борис");

    EXPECT_TRUE(reg->deleteKey(users + "БОРИС"));
    EXPECT_FALSE(reg->keyExists(users + "Борис"));
    EXPECT_FALSE(reg->keyExists(users + "Борис\\deeper\\still"));
    EXPECT_FALSE(reg->deleteKey(users + "Борис"));
    EXPECT_FALSE(reg->deleteKey("\\")); // the root stays
    EXPECT_EQ(reg->subKeyNames(users), QStringList({"Яна", "alice", "Ёж"}));
    EXPECT_TRUE(reg->subKeyNames(users + "nobody").isEmpty());

    // A re-created key is the newest: it lists last.
    reg->openKey(users + "Борис", true);
    EXPECT_EQ(reg->subKeyNames(users), QStringList({"Яна", "alice", "Ёж", "Борис"}));
    // No value of the deleted key came back with it.
    EXPECT_TRUE(reg->openKeyReadOnly(users + "Борис")->valueNames().isEmpty());
}

TEST_F(RegistryTest, ValuesOfThreeTypesRoundTripAndPersist)
{
    {
        auto reg = open();
        auto key = reg->openKey("\\A\\B", true);
        key->writeString("Name", QStringLiteral("Вася ☺"));
        key->writeInteger("Scores", -12);
        key->writeInteger("Max", std::numeric_limits<std::int32_t>::max());
        key->writeBinary("Blob", QByteArray("\x00\x01\xFF", 3));
        key->writeBinary("Empty", QByteArray());
    }
    auto reg = open();
    auto key = reg->openKeyReadOnly("A\\B\\");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->readString("name"), QStringLiteral("Вася ☺"));
    EXPECT_EQ(key->readInteger("SCORES"), -12);
    EXPECT_EQ(key->readInteger("Max"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(key->readBinary("Blob"), QByteArray("\x00\x01\xFF", 3));
    EXPECT_EQ(key->readBinary("Empty"), QByteArray());
    EXPECT_EQ(key->valueType("blob"), RegType::Binary);
    EXPECT_EQ(key->valueNames(), QStringList({"Name", "Scores", "Max", "Blob", "Empty"}));
}

TEST_F(RegistryTest, OverwriteKeepsNameSpellingAndMayChangeType)
{
    auto reg = open();
    auto key = reg->openKey("\\K", true);
    key->writeInteger("Level", 1);
    key->writeString("LEVEL", "two");
    EXPECT_EQ(key->valueNames(), QStringList{"Level"});
    EXPECT_EQ(key->valueType("level"), RegType::String);
    EXPECT_EQ(key->readString("Level"), QStringLiteral("two"));
    key->deleteValue("lEvEl");
    EXPECT_FALSE(key->valueExists("Level"));
}

TEST_F(RegistryTest, ReadErrorsForMissingValuesOtherTypesAndShortBuffers)
{
    auto reg = open();
    auto key = reg->openKey("\\Users\\Петя", true);
    key->writeString("Name", "Петя");
    key->writeInteger("Scores", 5);
    key->writeBinary("Info", QByteArray(12, '\x07'));

    EXPECT_EQ(message([&] { key->readInteger("Level"); }),
              "Registry value \"Level\" does not exist in the key \\Users\\Петя\\");
    EXPECT_EQ(message([&] { key->readInteger("Name"); }),
              "Registry value \"Name\" in the key \\Users\\Петя\\ is not an integer");
    EXPECT_EQ(message([&] { key->readString("Scores"); }),
              "Registry value \"Scores\" in the key \\Users\\Петя\\ is not a string");
    EXPECT_EQ(message([&] { key->readBinary("Scores"); }),
              "Registry value \"Scores\" in the key \\Users\\Петя\\ is not binary data");
    EXPECT_THROW(key->valueType("nothing"), ERegistryError);

    std::uint8_t buffer[16];
    std::memset(buffer, 0xAA, sizeof buffer);
    EXPECT_EQ(key->readBinaryData("Info", buffer, 16), 12);
    EXPECT_EQ(buffer[11], 0x07);
    EXPECT_EQ(buffer[12], 0xAA); // nothing written past the stored length
    EXPECT_EQ(message([&] { key->readBinaryData("Info", buffer, 11); }),
              "Registry value \"Info\" in the key \\Users\\Петя\\ holds 12 bytes, more than 11");
}

TEST_F(RegistryTest, ReadOnlyKeysRefuseWrites)
{
    auto reg = open();
    reg->openKey("\\R", true);
    auto key = reg->openKeyReadOnly("\\R");
    EXPECT_THROW(key->writeInteger("x", 1), ERegistryError);
    EXPECT_THROW(key->deleteValue("x"), ERegistryError);
}

TEST_F(RegistryTest, WritesToADeletedKeyFailInsteadOfLandingNowhere)
{
    auto reg = open();
    auto key = reg->openKey("\\Gone", true);
    reg->deleteKey("\\Gone");
    EXPECT_THROW(key->writeInteger("x", 1), ERegistryError);
}

TEST_F(RegistryTest, TransactionLandsAllOrNothing)
{
    auto reg = open();
    auto key = reg->openKey("\\T", true);
    reg->transaction([&] {
        key->writeInteger("a", 1);
        key->writeInteger("b", 2);
    });
    EXPECT_THROW(reg->transaction([&] {
        key->writeInteger("a", 10);
        reg->transaction([&] { key->writeInteger("c", 3); }); // nested: joins the outer one
        throw std::runtime_error("stop");
    }),
                 std::runtime_error);
    EXPECT_EQ(key->readInteger("a"), 1);
    EXPECT_FALSE(key->valueExists("c"));
    // The connection is usable afterwards.
    key->writeInteger("d", 4);
    EXPECT_EQ(open()->openKeyReadOnly("\\T")->readInteger("d"), 4);
}

TEST_F(RegistryTest, DefaultPathFollowsEnvironment)
{
    const QByteArray savedReg = qgetenv("ZENTRIKA_REGISTRY");
    const QByteArray savedXdg = qgetenv("XDG_DATA_HOME");
    qunsetenv("ZENTRIKA_REGISTRY");
    qputenv("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(Registry::defaultPath(), QStringLiteral("/data/home/zentrika/registry.sqlite3"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(Registry::defaultPath(), QDir::homePath() + "/.local/share/zentrika/registry.sqlite3");
    qputenv("ZENTRIKA_REGISTRY", dbPath().toUtf8());
    EXPECT_EQ(Registry::defaultPath(), dbPath());

    savedReg.isNull() ? qunsetenv("ZENTRIKA_REGISTRY") : qputenv("ZENTRIKA_REGISTRY", savedReg);
    savedXdg.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedXdg);
}

// The game's handle on the store: opened once, on first use; refused with the
// reason (and never created) while the game found it unusable; closed and
// opened again at the same path.
TEST_F(RegistryTest, UserStoreOpensOnFirstUseAndNotWhileUnusable)
{
    platform::UserStore store(dbPath());
    EXPECT_FALSE(store.isOpen());
    store.setUnavailable(QStringLiteral("the lock file belongs to another user"));
    try {
        store.get();
        ADD_FAILURE() << "an unusable store was opened";
    } catch (const ERegistryError &e) {
        EXPECT_STREQ(e.what(), "the lock file belongs to another user");
    }
    EXPECT_FALSE(QFileInfo::exists(dbPath()));
    store.setUnavailable({});
    store.get().openKey("\\U", true)->writeInteger("v", 7);
    EXPECT_EQ(&store.get(), &store.get());
    EXPECT_EQ(store.get().databasePath(), dbPath());
    store.close();
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(open()->openKeyReadOnly("\\U")->readInteger("v"), 7);
    EXPECT_EQ(store.get().openKeyReadOnly("\\U")->readInteger("v"), 7);

    // One opened by someone else is used as it is and left open.
    Registry own(dbPath());
    platform::UserStore borrowed(own);
    EXPECT_EQ(&borrowed.get(), &own);
    borrowed.close();
    EXPECT_TRUE(borrowed.isOpen());
}

TEST_F(RegistryTest, UnopenableStoreRaises)
{
    EXPECT_THROW(Registry("/proc/no/such/dir/registry.sqlite3"), ERegistryError);
}

// Two processes saving at the same time: every save lands whole and the file stays sound.
TEST_F(RegistryTest, TwoProcessesWritingAtOnceNeverCorruptTheStore)
{
    open(); // create the file before forking
    const int rounds = 150;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const char *who = child == 0 ? "child" : "parent";
    int failures = 0;
    try {
        Registry reg(dbPath());
        for (int i = 0; i < rounds; ++i)
            reg.transaction([&] {
                auto key = reg.openKey(QStringLiteral("\\Users\\%1").arg(QLatin1String(who)), true);
                key->writeInteger("round", i);
                key->writeInteger("copy", i);
                key->writeBinary("blob", QByteArray(64, char(i)));
            });
    } catch (...) {
        ++failures;
    }
    if (child == 0)
        _exit(failures);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(failures, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    auto reg = open();
    for (const char *name : {"child", "parent"}) {
        auto key = reg->openKeyReadOnly(QStringLiteral("\\Users\\%1").arg(QLatin1String(name)));
        ASSERT_NE(key, nullptr) << name;
        EXPECT_EQ(key->readInteger("round"), rounds - 1);
        EXPECT_EQ(key->readInteger("copy"), rounds - 1);
    }
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(dbPath().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "ok");
    sqlite3_finalize(st);
    sqlite3_close(db);
}

// A process killed in the middle of a save loses that save and nothing else.
TEST_F(RegistryTest, KilledMidSaveLosesOnlyThatSave)
{
    {
        auto reg = open();
        reg->transaction([&] {
            auto key = reg->openKey("\\P", true);
            key->writeInteger("a", 1);
            key->writeInteger("b", 1);
        });
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Registry reg(dbPath());
        reg.transaction([&] {
            auto key = reg.openKey("\\P", true);
            key->writeInteger("a", 2);
            reg.openKey("\\P\\new", true);
            raise(SIGKILL);
            key->writeInteger("b", 2);
        });
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    auto reg = open();
    auto key = reg->openKeyReadOnly("\\P");
    EXPECT_EQ(key->readInteger("a"), 1);
    EXPECT_EQ(key->readInteger("b"), 1);
    EXPECT_FALSE(reg->keyExists("\\P\\new"));
}
