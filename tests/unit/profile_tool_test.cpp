// zentrika-profile as support uses it: players listed, shown, moved between
// stores exactly, and bad imports refused without touching anything.
#include "core/MemoBook.h"
#include "core/User.h"
#include "platform/InputLimits.h"
#include "platform/InstanceLock.h"
#include "platform/Registry.h"
#include "platform/StoreFiles.h"
#include "qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

class ProfileTool : public ::testing::Test
{
  protected:
    QTemporaryDir tmp;
    QString store() const { return tmp.filePath(QStringLiteral("registry.sqlite3")); }

    struct Result {
        int code;
        QByteArray out;
        QString err;
    };

    void start(QProcess &p, const QStringList &args, bool unprivileged = false)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZENTRIKA_REGISTRY"), store());
        p.setProcessEnvironment(env);
        const QString tool = QStringLiteral(ZENTRIKA_TOOLS_DIR "/zentrika-profile");
        // Permissions stop anyone but root: as root the tool runs as nobody.
        if (unprivileged && ::geteuid() == 0)
            p.start(QStringLiteral("setpriv"),
                    QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                QStringLiteral("--clear-groups"), tool} +
                        args);
        else
            p.start(tool, args);
    }
    Result run(const QStringList &args, bool unprivileged = false)
    {
        QProcess p;
        start(p, args, unprivileged);
        p.waitForFinished(60000);
        return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
    }
    int scoresOf(const QString &name)
    {
        return QJsonDocument::fromJson(run({QStringLiteral("export"), name}).out)
            .object()
            .value(QStringLiteral("Scores"))
            .toInt(-1);
    }
    void importScores(const QString &name, int scores)
    {
        QJsonObject o = QJsonDocument::fromJson(run({QStringLiteral("export"), name}).out).object();
        o.insert(QStringLiteral("Scores"), scores);
        ASSERT_EQ(run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())}).code, 0);
    }

    void storePlayer(const QString &name)
    {
        platform::Registry registry(store());
        auto user = TUser::CreateNew(name, 4);
        user->Scores = -7;
        user->Level = 3;
        user->MU = 2;
        for (ProblemId id : {5, 9, 11, 300})
            user->UsedIds.Add(id);
        user->LevelList.Add(9);
        user->LevelList.Add(300);
        user->LevelList.FindEntry(300)->Solved = 1;
        user->LevelList.FindEntry(300)->Bought = 1;
        user->LevelList.FindEntry(9)->WrongAnswers = 3;
        user->LevelList.SetHintsBought(9, 2);
        user->SaveToRegistry(registry);
    }

    QString writeJson(const QByteArray &json)
    {
        const QString path = tmp.filePath(QStringLiteral("in.json"));
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(json);
        return path;
    }
};

} // namespace

TEST_F(ProfileTool, ExportDeleteImportGivesTheSamePlayer)
{
    storePlayer(QStringLiteral("Вася"));
    const Result list = run({QStringLiteral("list")});
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(QString::fromUtf8(list.out), QStringLiteral("Вася\tlevel 3\tscore -7\n"));

    const Result exported = run({QStringLiteral("export"), QStringLiteral("ВАСЯ")}); // any letter case
    ASSERT_EQ(exported.code, 0) << qPrintable(exported.err);
    const QJsonObject o = QJsonDocument::fromJson(exported.out).object();
    EXPECT_EQ(o.keys().size(), 16);
    EXPECT_EQ(o.value(QStringLiteral("Hints Bought Info")).toArray(),
              (QJsonArray{QJsonObject{{QStringLiteral("Id"), 9}, {QStringLiteral("Hints"), 2}}}));
    EXPECT_EQ(QJsonDocument::fromJson(run({QStringLiteral("show"), QStringLiteral("Вася")}).out).object(), o);
    EXPECT_EQ(o.value(QStringLiteral("Name")).toString(), QStringLiteral("Вася"));
    EXPECT_EQ(o.value(QStringLiteral("Used Problems Info")).toArray(), (QJsonArray{5, 9, 11, 300}));
    EXPECT_EQ(o.value(QStringLiteral("Problems on Level Info")).toArray().at(1).toObject(),
              (QJsonObject{{QStringLiteral("Id"), 300},
                           {QStringLiteral("Solved"), 1},
                           {QStringLiteral("Bought"), 1},
                           {QStringLiteral("WrongAnswers"), 0}}));
    // The registry's own value order.
    EXPECT_LT(exported.out.indexOf("\"Name\""), exported.out.indexOf("\"Scores\""));
    EXPECT_LT(exported.out.indexOf("\"HU\""), exported.out.indexOf("\"Used Problems count\""));

    EXPECT_EQ(run({QStringLiteral("delete"), QStringLiteral("вася")}).code, 0);
    EXPECT_EQ(run({QStringLiteral("show"), QStringLiteral("Вася")}).code, 1);
    const Result imported = run({QStringLiteral("import"), writeJson(exported.out)});
    ASSERT_EQ(imported.code, 0) << qPrintable(imported.err);
    EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("Вася")}).out, exported.out);

    // What the tool stored is what the game reads.
    platform::Registry registry(store());
    const auto user = TUser::CreateFromRegistry(TUser::UsersKey + QStringLiteral("Вася\\"), registry);
    EXPECT_EQ(user->Scores, -7);
    EXPECT_EQ(user->LevelList.GetItem(0).WrongAnswers, 3);
    EXPECT_EQ(user->LevelList.HintsBought(9), 2);
}

// Hints bought are a later value: a file without it (an older export, or a
// player with no hints) imports with none, and one without hints exports
// without it, so that older builds still import it.
TEST_F(ProfileTool, HintsBoughtAreOptionalAndCheckedOnImport)
{
    storePlayer(QStringLiteral("Вася"));
    const QJsonObject full =
        QJsonDocument::fromJson(run({QStringLiteral("export"), QStringLiteral("Вася")}).out).object();
    const auto without = [&](QStringList keys, const QJsonObject &add = {}) {
        QJsonObject o = full;
        for (const QString &k : keys)
            o.remove(k);
        for (auto it = add.begin(); it != add.end(); ++it)
            o.insert(it.key(), it.value());
        return QJsonDocument(o).toJson();
    };
    const QString count = QStringLiteral("Hints Bought count"), info = QStringLiteral("Hints Bought Info");
    const QJsonArray tooMany{QJsonObject{{QStringLiteral("Id"), 9}, {QStringLiteral("Hints"), 4}}};
    const struct {
        const char *what;
        QByteArray json;
        int code;
        int hintsAfter; // of puzzle 9, when imported
    } files[] = {
        {"as exported", without({}), 0, 2},
        {"a count without its list", without({info}), 1, 2},
        {"more hints than a puzzle holds", without({}, {{info, tooMany}}), 1, 2},
        {"without the value", without({count, info}), 0, 0},
    };
    for (const auto &f : files) {
        SCOPED_TRACE(f.what);
        const Result r = run({QStringLiteral("import"), writeJson(f.json)});
        EXPECT_EQ(r.code, f.code) << qPrintable(r.err);
        platform::Registry registry(store());
        EXPECT_EQ(TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), registry)
                      ->LevelList.HintsBought(9),
                  f.hintsAfter);
        if (f.code == 0 && f.hintsAfter == 0) {
            const QByteArray exported = run({QStringLiteral("export"), QStringLiteral("Вася")}).out;
            EXPECT_FALSE(exported.contains("Hints")) << exported.constData();
        }
    }
}

TEST_F(ProfileTool, ABadImportChangesNothing)
{
    storePlayer(QStringLiteral("Вася"));
    const QByteArray before = run({QStringLiteral("export"), QStringLiteral("Вася")}).out;
    QJsonObject good = QJsonDocument::fromJson(before).object();

    const auto refused = [&](const QJsonObject &o, const QString &words) {
        const Result r = run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(words)) << qPrintable(r.err);
        EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("Вася")}).out, before);
    };
    QJsonObject o = good;
    o.insert(QStringLiteral("Level"), 6);
    refused(o, QStringLiteral("\"Level\" is 6"));
    o = good;
    o.insert(QStringLiteral("Scores"), QStringLiteral("много"));
    refused(o, QStringLiteral("\"Scores\" must be a whole number"));
    o = good;
    o.insert(QStringLiteral("Used Problems count"), 3);
    refused(o, QStringLiteral("\"Used Problems count\" is 3 but \"Used Problems Info\" holds 4"));
    o = good;
    QJsonArray many;
    for (int i = 0; i < 171; ++i)
        many.append(i);
    o.insert(QStringLiteral("Used Problems Info"), many);
    o.insert(QStringLiteral("Used Problems count"), 171);
    refused(o, QStringLiteral("0..170"));
    o = good;
    QJsonArray entries = o.value(QStringLiteral("Problems on Level Info")).toArray();
    QJsonObject e = entries.at(0).toObject();
    e.insert(QStringLiteral("Solved"), 2);
    entries.replace(0, e);
    o.insert(QStringLiteral("Problems on Level Info"), entries);
    refused(o, QStringLiteral("\"Solved\" is 2"));
    o = good;
    o.insert(QStringLiteral("Name"), QStringLiteral("Вася\\Петя"));
    refused(o, QStringLiteral("not a player name"));
    o = good;
    o.insert(QStringLiteral("Colour"), 1);
    refused(o, QStringLiteral("unknown key"));

    const Result notJson = run({QStringLiteral("import"), writeJson("{ \"Name\": ")});
    EXPECT_EQ(notJson.code, 1);
}

// The import takes names as the name dialog takes them and files no bigger
// than a profile can be; at the limit it still imports.
TEST_F(ProfileTool, ImportKeepsToTheNameRulesAndTheSizeLimit)
{
    storePlayer(QStringLiteral("Вася"));
    const QByteArray before = run({QStringLiteral("export"), QStringLiteral("Вася")}).out;
    const QJsonObject good = QJsonDocument::fromJson(before).object();
    const struct {
        QString name;
        QString error; // empty: imported
    } names[] = {
        {QStringLiteral("Абвгдеёжзийклмн"), QStringLiteral("longer than 14 characters")},
        {QString(1000, u'я'), QStringLiteral("longer than 14 characters")},
        // Parsed now that a file may carry a log; refused, and not echoed whole.
        {QString(100000, u'я'), QStringLiteral("longer than 14 characters")},
        {QStringLiteral("Вася\u200B"), QStringLiteral("invisible")},
        {QStringLiteral("\u202EВася"), QStringLiteral("invisible")},
        {QStringLiteral("   "), QStringLiteral("empty")},
        {QStringLiteral(" Вася "), QString()}, // trimmed: the same player again
    };
    for (const auto &c : names) {
        QJsonObject o = good;
        o.insert(QStringLiteral("Name"), c.name);
        const Result r = run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())});
        EXPECT_EQ(r.code, c.error.isEmpty() ? 0 : 1) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(c.error)) << qPrintable(r.err);
        EXPECT_LT(r.err.size(), 400); // a huge name is not echoed whole
    }
    EXPECT_EQ(run({QStringLiteral("list")}).out, QByteArray("Вася\tlevel 3\tscore -7\n"));

    QByteArray atLimit = QJsonDocument(good).toJson();
    atLimit.append(QByteArray(limits::MaxProfileFileBytes - atLimit.size(), ' '));
    EXPECT_EQ(run({QStringLiteral("import"), writeJson(atLimit)}).code, 0);
    const Result over = run({QStringLiteral("import"), writeJson(atLimit + ' ')});
    EXPECT_EQ(over.code, 1);
    EXPECT_TRUE(over.err.contains(QStringLiteral("at most %1").arg(limits::MaxProfileFileBytes)))
        << qPrintable(over.err);
}

TEST_F(ProfileTool, ImportReplacesAPlayerWhateverItsCase)
{
    storePlayer(QStringLiteral("Вася"));
    QJsonObject o =
        QJsonDocument::fromJson(run({QStringLiteral("export"), QStringLiteral("Вася")}).out).object();
    o.insert(QStringLiteral("Name"), QStringLiteral("ВАСЯ"));
    o.insert(QStringLiteral("Scores"), 99);
    ASSERT_EQ(run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())}).code, 0);
    EXPECT_EQ(QString::fromUtf8(run({QStringLiteral("list")}).out),
              QStringLiteral("ВАСЯ\tlevel 3\tscore 99\n"));
}

TEST_F(ProfileTool, RestoreBringsBackTheProfileAnImportReplaced)
{
    storePlayer(QStringLiteral("Вася"));
    QJsonObject o =
        QJsonDocument::fromJson(run({QStringLiteral("export"), QStringLiteral("Вася")}).out).object();
    o.insert(QStringLiteral("Scores"), 500);
    ASSERT_EQ(run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())}).code, 0);
    const Result restored = run({QStringLiteral("restore"), QStringLiteral("вася")});
    ASSERT_EQ(restored.code, 0) << qPrintable(restored.err);
    EXPECT_EQ(QString::fromUtf8(run({QStringLiteral("list")}).out),
              QStringLiteral("Вася\tlevel 3\tscore -7\n"));
    const Result none = run({QStringLiteral("restore"), QStringLiteral("Вася"), QStringLiteral("3")});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("has backups 1"))) << qPrintable(none.err);
}

// Names that are no player: before, an empty segment was skipped, the path
// named the players' key itself, and the restore replaced it with nothing.
TEST_F(ProfileTool, RestoreOfANameThatIsNoPlayerTouchesNothing)
{
    storePlayer(QStringLiteral("1"));
    storePlayer(QStringLiteral("1")); // a changed save keeps a backup of "1"
    {
        platform::Registry registry(store());
        auto user = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("1")), registry);
        user->Scores = 5;
        user->SaveToRegistry(registry);
    }
    storePlayer(QStringLiteral("Петя"));
    const QByteArray before = run({QStringLiteral("list")}).out;
    for (const char *name : {"", "\\", ".", "..", "\\1"}) {
        const Result r = run({QStringLiteral("restore"), QString::fromUtf8(name)});
        EXPECT_EQ(r.code, 1) << name;
        EXPECT_EQ(run({QStringLiteral("list")}).out, before) << name;
    }
}

// A damaged count must be refused before anything is allocated for it.
TEST_F(ProfileTool, DamagedCountsAreRefusedWithinTheGamesLimits)
{
    const struct {
        const char *value;
        std::int32_t count;
        const char *words;
    } cases[] = {
        {"Used Problems count", 2000000000,
         "\"Used Problems count\" is 2000000000; the game holds at most 170"},
        {"Used Problems count", 171, "at most 170"},
        {"Used Problems count", -1, "\"Used Problems count\" is -1"},
        {"Problems on Level count", 34, "\"Problems on Level count\" is 34; the game holds at most 33"},
        {"Problems on Level count", INT32_MIN, "at most 33"}};
    for (const auto &c : cases) {
        storePlayer(QStringLiteral("Вася"));
        {
            platform::Registry registry(store());
            registry.openKey(TUser::PlayerPath(QStringLiteral("Вася")), false)
                ->writeInteger(QLatin1String(c.value), c.count);
        }
        const Result list = run({QStringLiteral("list")});
        EXPECT_EQ(list.code, 0);
        EXPECT_TRUE(QString::fromUtf8(list.out).startsWith(QStringLiteral("Вася\tunreadable: ")));
        EXPECT_TRUE(QString::fromUtf8(list.out).contains(QLatin1String(c.words))) << list.out.constData();
        const Result exported = run({QStringLiteral("export"), QStringLiteral("Вася")});
        EXPECT_EQ(exported.code, 1);
        EXPECT_TRUE(exported.err.contains(QLatin1String(c.words))) << qPrintable(exported.err);
    }
}

TEST_F(ProfileTool, ImportKeepsScoresFarFromTheTypesLimits)
{
    storePlayer(QStringLiteral("Вася"));
    QJsonObject o =
        QJsonDocument::fromJson(run({QStringLiteral("export"), QStringLiteral("Вася")}).out).object();
    for (const qint64 scores : {qint64(INT32_MAX), qint64(-1000000001)}) {
        o.insert(QStringLiteral("Scores"), scores);
        const Result r = run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())});
        EXPECT_EQ(r.code, 1) << scores;
        EXPECT_TRUE(r.err.contains(QStringLiteral("-1000000000..1000000000"))) << qPrintable(r.err);
    }
    o.insert(QStringLiteral("Scores"), -1000000000);
    EXPECT_EQ(run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())}).code, 0);
}

TEST_F(ProfileTool, ChangesAreRefusedWhileAGameHoldsTheStore)
{
    storePlayer(QStringLiteral("Вася"));
    const QByteArray json = run({QStringLiteral("export"), QStringLiteral("Вася")}).out;
    platform::InstanceLock game(store());
    ASSERT_TRUE(game.tryLock());
    for (const QStringList &args : {QStringList{QStringLiteral("import"), writeJson(json)},
                                    QStringList{QStringLiteral("delete"), QStringLiteral("Вася")},
                                    QStringList{QStringLiteral("restore"), QStringLiteral("Вася")},
                                    QStringList{QStringLiteral("recover")}}) {
        const Result r = run(args);
        EXPECT_EQ(r.code, 1) << qPrintable(args.first());
        EXPECT_TRUE(r.err.contains(QStringLiteral("close it first"))) << qPrintable(r.err);
    }
    // Reading is fine meanwhile.
    EXPECT_EQ(run({QStringLiteral("list")}).code, 0);
    EXPECT_EQ(run({QStringLiteral("check")}).code, 0);
    game.unlock();
    EXPECT_EQ(run({QStringLiteral("delete"), QStringLiteral("Вася")}).code, 0);
}

TEST_F(ProfileTool, CheckBackupAndRestoreFromAFile)
{
    storePlayer(QStringLiteral("Вася"));
    storePlayer(QStringLiteral("Петя"));
    const Result healthy = run({QStringLiteral("check")});
    EXPECT_EQ(healthy.code, 0);
    EXPECT_TRUE(healthy.out.contains("healthy")) << healthy.out.constData();

    const Result backup = run({QStringLiteral("backup")});
    ASSERT_EQ(backup.code, 0) << qPrintable(backup.err);
    const QString file = QString::fromUtf8(backup.out).trimmed();
    EXPECT_EQ(platform::store::backups(store()), QStringList{file});

    // One player brought back from the file; the other keeps its newer state.
    {
        platform::Registry registry(store());
        for (const QString &name : {QStringLiteral("Вася"), QStringLiteral("Петя")}) {
            auto user = TUser::CreateFromRegistry(TUser::PlayerPath(name), registry);
            user->Scores = 1234;
            user->SaveToRegistry(registry);
        }
    }
    const Result restored =
        run({QStringLiteral("restore"), QStringLiteral("вася"), QStringLiteral("--from"), file});
    ASSERT_EQ(restored.code, 0) << qPrintable(restored.err);
    EXPECT_EQ(QString::fromUtf8(run({QStringLiteral("list")}).out),
              QStringLiteral("Петя\tlevel 3\tscore 1234\nВася\tlevel 3\tscore -7\n"));
    EXPECT_EQ(run({QStringLiteral("restore"), QStringLiteral("Коля"), QStringLiteral("--from"), file}).code,
              1);

    // A store that is not a database: check says so (recover is the fault campaign's).
    QFile f(store());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(8192, '\xff'));
    f.close();
    const Result damaged = run({QStringLiteral("check")});
    EXPECT_EQ(damaged.code, 1);
    EXPECT_TRUE(damaged.out.contains("damaged")) << damaged.out.constData();
}

// A reader never opens the store while a recovery has it: it waits, and does
// not make an empty store in the moment the damaged one is gone.
TEST_F(ProfileTool, ReadersWaitForARecoveryAndNeverMakeAStore)
{
    storePlayer(QStringLiteral("Вася"));
    platform::StoreLock recovery(store());
    ASSERT_TRUE(recovery.lock(platform::StoreLock::Mode::Exclusive, 0));
    ASSERT_TRUE(QFile::rename(store(), store() + QStringLiteral(".away")));
    QProcess list;
    start(list, {QStringLiteral("list")});
    EXPECT_FALSE(list.waitForFinished(700));
    EXPECT_FALSE(QFile::exists(store()));
    ASSERT_TRUE(QFile::rename(store() + QStringLiteral(".away"), store()));
    recovery.unlock();
    ASSERT_TRUE(list.waitForFinished(20000));
    EXPECT_EQ(QString::fromUtf8(list.readAllStandardOutput()), QStringLiteral("Вася\tlevel 3\tscore -7\n"));

    // A store gone while its backups remain is missing, not new: readers and
    // writers refuse to make an empty one, and recover brings the players back.
    ASSERT_EQ(run({QStringLiteral("backup")}).code, 0);
    QFile::remove(store());
    EXPECT_EQ(run({QStringLiteral("check")}).code, 1);
    const Result listed = run({QStringLiteral("list")});
    EXPECT_EQ(listed.code, 1);
    EXPECT_TRUE(listed.err.contains(QStringLiteral("recover"))) << qPrintable(listed.err);
    EXPECT_EQ(run({QStringLiteral("delete"), QStringLiteral("Вася")}).code, 1);
    EXPECT_FALSE(QFile::exists(store()));
    EXPECT_EQ(run({QStringLiteral("recover")}).code, 0);
    EXPECT_EQ(scoresOf(QStringLiteral("Вася")), -7);
}

// What delete promises: restore brings the deleted profile back as it was,
// also for a player who was never saved twice.
TEST_F(ProfileTool, RestoreUndoesADelete)
{
    storePlayer(QStringLiteral("Вася"));
    storePlayer(QStringLiteral("Петя"));
    importScores(QStringLiteral("Вася"), 100);
    importScores(QStringLiteral("Вася"), 555);
    for (const auto &[name, scores] :
         {std::pair{QStringLiteral("Вася"), 555}, std::pair{QStringLiteral("Петя"), -7}}) {
        ASSERT_EQ(run({QStringLiteral("delete"), name}).code, 0);
        EXPECT_EQ(scoresOf(name), -1);
        const Result restored = run({QStringLiteral("restore"), name});
        ASSERT_EQ(restored.code, 0) << qPrintable(restored.err);
        EXPECT_EQ(scoresOf(name), scores) << qPrintable(name);
    }
}

// A lock file this user cannot open (another user's, or a folder in its
// place) would let a change slip past a running game: changes are refused.
TEST_F(ProfileTool, AnUnopenableLockRefusesChanges)
{
    storePlayer(QStringLiteral("Вася"));
    const QByteArray json = run({QStringLiteral("export"), QStringLiteral("Вася")}).out;
    for (const QString &lock :
         {platform::InstanceLock::lockPath(store()), platform::StoreLock::lockPath(store())}) {
        QFile::remove(lock);
        ASSERT_TRUE(QDir().mkpath(lock));
        for (const QStringList &args : {QStringList{QStringLiteral("import"), writeJson(json)},
                                        QStringList{QStringLiteral("delete"), QStringLiteral("Вася")}}) {
            const Result r = run(args);
            EXPECT_EQ(r.code, 1) << qPrintable(lock) << " " << qPrintable(args.first());
            EXPECT_TRUE(r.err.contains(QStringLiteral("cannot open the lock file"))) << qPrintable(r.err);
        }
        ASSERT_TRUE(QDir(lock).removeRecursively());
        EXPECT_EQ(scoresOf(QStringLiteral("Вася")), -7);
    }
}

// A store the user may not read or write is no damaged store: check says so
// and leaves no side files it could not write later; recover touches nothing.
TEST_F(ProfileTool, AStoreThatCannotBeReadOrWrittenIsLeftAlone)
{
    storePlayer(QStringLiteral("Вася"));
    ASSERT_EQ(run({QStringLiteral("backup")}).code, 0);
    // The unprivileged runs make their own lock files.
    QFile::remove(platform::InstanceLock::lockPath(store()));
    QFile::remove(platform::StoreLock::lockPath(store()));
    ASSERT_TRUE(QFile::setPermissions(tmp.path(), QFileDevice::Permissions(0x7777)));
    QDir().mkpath(tmp.filePath(QStringLiteral("backups")));
    QFile::setPermissions(tmp.filePath(QStringLiteral("backups")), QFileDevice::Permissions(0x7777));
    const QByteArray bytes = [&] {
        QFile f(store());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    struct Case {
        QFileDevice::Permissions mode;
        const char *command;
        int code;
    };
    const Case cases[] = {
        {QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther, "check", 3},
        {QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther, "recover", 1},
        {QFileDevice::Permissions(), "check", 3},
        {QFileDevice::Permissions(), "recover", 1}};
    for (const Case &c : cases) {
        ASSERT_TRUE(QFile::setPermissions(store(), c.mode));
        const Result r = run({QString::fromLatin1(c.command)}, true);
        EXPECT_EQ(r.code, c.code) << c.command << " " << r.out.constData() << qPrintable(r.err);
        EXPECT_TRUE((r.out + r.err.toUtf8()).contains("cannot be read or written"))
            << r.out.constData() << qPrintable(r.err);
        EXPECT_EQ(QDir(tmp.path()).entryList({QStringLiteral("registry.sqlite3*")}, QDir::Files),
                  QStringList({QStringLiteral("registry.sqlite3"), QStringLiteral("registry.sqlite3.lock")}));
    }
    QFile::setPermissions(store(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile f(store());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
}

// A stored list value cut short: export shows the lists as the game loads
// them, so an export and import of a damaged player keeps what it played with.
TEST_F(ProfileTool, AShortListValueExportsAsTheGameReadsIt)
{
    const struct {
        const char *count;
        const char *info;
        QByteArray bytes;
    } cases[] = {{"Used Problems count", "Used Problems Info", QByteArray("\x05\x00\x07", 3)},
                 {"Problems on Level count", "Problems on Level Info",
                  QByteArray("\x09\x00\x01\x01\x03\x00\x2c\x01\x01", 9)},
                 {"Hints Bought count", "Hints Bought Info", QByteArray("\x2c\x01\x01\x09", 4)}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.info);
        storePlayer(QStringLiteral("Вася"));
        std::unique_ptr<TUser> game;
        {
            platform::Registry registry(store());
            const auto key = registry.openKey(TUser::PlayerPath(QStringLiteral("Вася")), false);
            key->writeInteger(QLatin1String(c.count), 2);
            key->writeBinary(QLatin1String(c.info), c.bytes);
            game = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), registry);
        }
        const Result exported = run({QStringLiteral("export"), QStringLiteral("Вася")});
        ASSERT_EQ(exported.code, 0) << qPrintable(exported.err);
        ASSERT_EQ(run({QStringLiteral("import"), writeJson(exported.out)}).code, 0);
        platform::Registry registry(store());
        const auto back = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Вася")), registry);
        ASSERT_EQ(back->UsedIds.Count(), game->UsedIds.Count());
        for (int i = 0; i < game->UsedIds.Count(); ++i)
            EXPECT_EQ(back->UsedIds.At(i), game->UsedIds.At(i)) << i;
        ASSERT_EQ(back->LevelList.Count(), game->LevelList.Count());
        for (int i = 0; i < game->LevelList.Count(); ++i)
            EXPECT_EQ(back->LevelList.GetItem(i), game->LevelList.GetItem(i)) << i;
        for (ProblemId id : {9, 300})
            EXPECT_EQ(back->LevelList.HintsBought(id), game->LevelList.HintsBought(id)) << id;
    }
}

// The answer log through the tool: shown, counted, and carried by export,
// import and a restore from a backup file; an export without it reads as before.
TEST_F(ProfileTool, TheAnswerLogTravelsWithTheProfile)
{
    storePlayer(QStringLiteral("Петя"));
    {
        platform::Registry registry(store());
        auto user = TUser::CreateFromRegistry(TUser::PlayerPath(QStringLiteral("Петя")), registry);
        AnswerRecord wrong{1796212800, int(AnswerEvent::Wrong), 9, 1, AnswerText, -7, -9, 41,
                           3,          QStringLiteral("ёж")};
        AnswerRecord right{1796212860, int(AnswerEvent::Right), 9, 1, AnswerText, -9, 11, 60, 3, {}};
        AnswerRecord level{1796212861, int(AnswerEvent::Level), 0, -1, -1, 11, 11, 0, 4, {}};
        user->PendingLog = {wrong, right, level};
        user->SaveToRegistry(registry);
    }
    const Result log = run({QStringLiteral("log"), QStringLiteral("петя"), QStringLiteral("--json")});
    ASSERT_EQ(log.code, 0) << qPrintable(log.err);
    const QJsonArray records =
        QJsonDocument::fromJson(log.out).object().value(QStringLiteral("records")).toArray();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records.at(0).toObject().value(QStringLiteral("typed")).toString(), QStringLiteral("ёж"));
    EXPECT_EQ(records.at(0).toObject().value(QStringLiteral("time")).toString(),
              QStringLiteral("2026-12-02T12:00:00Z"));
    EXPECT_EQ(records.at(2).toObject().value(QStringLiteral("event")).toString(), QStringLiteral("level"));
    EXPECT_EQ(run({QStringLiteral("log"), QStringLiteral("Петя")}).out.count('\n'), 3);

    const QJsonObject stats =
        QJsonDocument::fromJson(
            run({QStringLiteral("stats"), QStringLiteral("Петя"), QStringLiteral("--json")}).out)
            .object();
    EXPECT_FALSE(stats.value(QStringLiteral("history_starts_now")).toBool());
    EXPECT_EQ(stats.value(QStringLiteral("right_answers")).toInt(), 1);
    EXPECT_EQ(stats.value(QStringLiteral("wrong_answers")).toInt(), 1);
    EXPECT_EQ(stats.value(QStringLiteral("levels_reached")).toInt(), 1);
    EXPECT_EQ(stats.value(QStringLiteral("scores")).toInt(), -7);

    // Export with the log, delete, import: the same log.
    const QByteArray exported = run({QStringLiteral("export"), QStringLiteral("Петя")}).out;
    EXPECT_EQ(QJsonDocument::fromJson(exported).object().value(QStringLiteral("Answer log")).toArray(),
              records);
    const QJsonObject old =
        QJsonDocument::fromJson(
            run({QStringLiteral("export"), QStringLiteral("Петя"), QStringLiteral("--no-log")}).out)
            .object();
    // The form builds without the log read: everything else, the log left out.
    QJsonObject withoutLog = QJsonDocument::fromJson(exported).object();
    withoutLog.remove(QStringLiteral("Answer log"));
    EXPECT_EQ(old, withoutLog);
    const QString file = writeJson(exported);
    ASSERT_EQ(run({QStringLiteral("delete"), QStringLiteral("Петя")}).code, 0);
    EXPECT_TRUE(QJsonDocument::fromJson(
                    run({QStringLiteral("log"), QStringLiteral("Петя"), QStringLiteral("--json")}).out)
                    .isNull());
    ASSERT_EQ(run({QStringLiteral("import"), file}).code, 0);
    auto logNow = [&] {
        return QJsonDocument::fromJson(
                   run({QStringLiteral("log"), QStringLiteral("Петя"), QStringLiteral("--json")}).out)
            .object()
            .value(QStringLiteral("records"))
            .toArray();
    };
    EXPECT_EQ(logNow(), records);

    // An import without a log keeps the stored one; one with an empty log replaces it.
    ASSERT_EQ(run({QStringLiteral("import"), writeJson(QJsonDocument(old).toJson())}).code, 0);
    EXPECT_EQ(logNow(), records);
    const QString backup = QString::fromUtf8(run({QStringLiteral("backup")}).out).trimmed();
    QJsonObject empty = old;
    empty.insert(QStringLiteral("Answer log"), QJsonArray{});
    ASSERT_EQ(run({QStringLiteral("import"), writeJson(QJsonDocument(empty).toJson())}).code, 0);
    EXPECT_TRUE(logNow().isEmpty());
    const Result none = run({QStringLiteral("stats"), QStringLiteral("Петя")});
    EXPECT_TRUE(QString::fromUtf8(none.out).contains(QStringLiteral("История ответов начинается сейчас")))
        << none.out.constData();
    // A backup file holds the log; a restore from it brings it back.
    ASSERT_EQ(run({QStringLiteral("restore"), QStringLiteral("Петя"), QStringLiteral("--from"), backup}).code,
              0);
    EXPECT_EQ(logNow(), records);

    // A bad record refuses the whole file and changes nothing.
    QJsonObject bad = QJsonDocument::fromJson(exported).object();
    QJsonArray badLog = records;
    QJsonObject guess = badLog.at(0).toObject();
    guess.insert(QStringLiteral("event"), QStringLiteral("guess"));
    badLog.replace(0, guess);
    bad.insert(QStringLiteral("Answer log"), badLog);
    bad.insert(QStringLiteral("Scores"), 5);
    const Result refused = run({QStringLiteral("import"), writeJson(QJsonDocument(bad).toJson())});
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("record 1"))) << qPrintable(refused.err);
    EXPECT_EQ(scoresOf(QStringLiteral("Петя")), -7);
}

// Memos live in a sub-key of the player's key: the tool lists, shows and
// exports the player as before and leaves them out; a backup the game keeps
// holds the profile's values only, and deleting the player takes them along.
TEST_F(ProfileTool, APlayerWithMemosShowsAndExportsAsBefore)
{
    storePlayer(QStringLiteral("Вася"));
    const QByteArray before = run({QStringLiteral("export"), QStringLiteral("Вася")}).out;
    {
        platform::Registry registry(store());
        TMemo memo;
        memo.Add({MemoInk::Red, 2.5, {{1, 1}, {20, 30}}});
        TPlayerMemos::Store(registry, TUser::PlayerPath(QStringLiteral("Вася")), 9, memo);
    }
    EXPECT_EQ(QString::fromUtf8(run({QStringLiteral("list")}).out),
              QStringLiteral("Вася\tlevel 3\tscore -7\n"));
    const Result shown = run({QStringLiteral("show"), QStringLiteral("Вася")});
    EXPECT_EQ(shown.code, 0) << qPrintable(shown.err);
    EXPECT_EQ(shown.out, before);
    EXPECT_EQ(run({QStringLiteral("delete"), QStringLiteral("Вася")}).code, 0);
    platform::Registry registry(store());
    EXPECT_FALSE(registry.keyExists(TPlayerMemos::KeyPath(TUser::PlayerPath(QStringLiteral("Вася")))));
}
