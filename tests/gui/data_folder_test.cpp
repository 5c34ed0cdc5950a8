// Where the game looks for its files: beside itself in a build tree, in the
// shared data folder once installed, wherever the tree was unpacked.
#include "app/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

void makeCatalogue(const QString &folder)
{
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile f(QDir(folder).filePath(QStringLiteral("list.lst")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(DataFolder, BuildTreeInstalledTreeOrTheProgramsFolder)
{
    struct Case {
        const char *what;
        bool besideProgram;
        bool installed;
        const char *relative;
        const char *expected; // "program" or "installed"
    };
    const Case cases[] = {
        {"build tree", true, false, "../share/games/zentrika", "program"},
        {"build tree wins over an installed copy", true, true, "../share/games/zentrika", "program"},
        {"installed", false, true, "../share/games/zentrika", "installed"},
        {"installed, written with a trailing slash", false, true, "../share/games/zentrika/", "installed"},
        {"nothing anywhere: the error names the program's folder", false, false, "../share/games/zentrika",
         "program"},
        {"no installed folder known", false, true, "", "program"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("usr/games"));
        const QString installed = root.filePath(QStringLiteral("usr/share/games/zentrika"));
        ASSERT_TRUE(QDir().mkpath(program));
        if (c.besideProgram)
            makeCatalogue(program);
        if (c.installed)
            makeCatalogue(installed);
        const QString found = app::findDataFolder(program, QString::fromLatin1(c.relative));
        EXPECT_EQ(found, QString::fromLatin1(c.expected) == QLatin1String("program") ? program : installed);
    }
}

TEST(DataFolder, AFolderNamedLikeTheCatalogueIsNoCatalogue)
{
    QTemporaryDir root;
    const QString program = root.filePath(QStringLiteral("games"));
    ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("/list.lst")));
    makeCatalogue(root.filePath(QStringLiteral("data")));
    EXPECT_EQ(app::findDataFolder(program, QStringLiteral("../data")), root.filePath(QStringLiteral("data")));
}

} // namespace
