// zentrika-profile as support uses it: players listed, shown, moved between
// stores exactly, and bad imports refused without touching anything.
#include "core/User.h"
#include "platform/Registry.h"
#include "qt_printers.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ProfileTool : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString store() const { return tmp.filePath(QStringLiteral("registry.sqlite3")); }

    struct Result {
        int code;
        QByteArray out;
        QString err;
    };

    Result run(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZENTRIKA_REGISTRY"), store());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZENTRIKA_TOOLS_DIR "/zentrika-profile"), args);
        p.waitForFinished(60000);
        return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
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

}  // namespace

TEST_F(ProfileTool, ExportDeleteImportGivesTheSamePlayer)
{
    storePlayer(QStringLiteral("Вася"));
    const Result list = run({QStringLiteral("list")});
    EXPECT_EQ(list.code, 0);
    EXPECT_EQ(QString::fromUtf8(list.out), QStringLiteral("Вася\tlevel 3\tscore -7\n"));

    const Result exported = run({QStringLiteral("export"), QStringLiteral("ВАСЯ")});  // any letter case
    ASSERT_EQ(exported.code, 0) << qPrintable(exported.err);
    const QJsonObject o = QJsonDocument::fromJson(exported.out).object();
    EXPECT_EQ(o.keys().size(), 14);
    EXPECT_EQ(o.value(QStringLiteral("Name")).toString(), QStringLiteral("Вася"));
    EXPECT_EQ(o.value(QStringLiteral("Used Problems Info")).toArray(), (QJsonArray{5, 9, 11, 300}));
    EXPECT_EQ(o.value(QStringLiteral("Problems on Level Info")).toArray().at(1).toObject(),
              (QJsonObject{{QStringLiteral("Id"), 300}, {QStringLiteral("Solved"), 1}, {QStringLiteral("Bought"), 1},
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

TEST_F(ProfileTool, ImportReplacesAPlayerWhateverItsCase)
{
    storePlayer(QStringLiteral("Вася"));
    QJsonObject o = QJsonDocument::fromJson(run({QStringLiteral("export"), QStringLiteral("Вася")}).out).object();
    o.insert(QStringLiteral("Name"), QStringLiteral("ВАСЯ"));
    o.insert(QStringLiteral("Scores"), 99);
    ASSERT_EQ(run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())}).code, 0);
    EXPECT_EQ(QString::fromUtf8(run({QStringLiteral("list")}).out), QStringLiteral("ВАСЯ\tlevel 3\tscore 99\n"));
}

TEST_F(ProfileTool, RestoreBringsBackTheProfileAnImportReplaced)
{
    storePlayer(QStringLiteral("Вася"));
    QJsonObject o = QJsonDocument::fromJson(run({QStringLiteral("export"), QStringLiteral("Вася")}).out).object();
    o.insert(QStringLiteral("Scores"), 500);
    ASSERT_EQ(run({QStringLiteral("import"), writeJson(QJsonDocument(o).toJson())}).code, 0);
    const Result restored = run({QStringLiteral("restore"), QStringLiteral("вася")});
    ASSERT_EQ(restored.code, 0) << qPrintable(restored.err);
    EXPECT_EQ(QString::fromUtf8(run({QStringLiteral("list")}).out), QStringLiteral("Вася\tlevel 3\tscore -7\n"));
    const Result none = run({QStringLiteral("restore"), QStringLiteral("Вася"), QStringLiteral("3")});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.err.contains(QStringLiteral("has backups 1"))) << qPrintable(none.err);
}
