#include "TestFiles.h"
#include "core/GamePath.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(GamePath, JoinReadsBackslashesAsSeparators)
{
    EXPECT_EQ(gamepath::join("/g/Data", "a\\b.dat"), QStringLiteral("/g/Data/a/b.dat"));
    EXPECT_EQ(gamepath::join("/g/Data", "x.dat"), QStringLiteral("/g/Data/x.dat"));
}

TEST(GamePath, UnsafePartsBelowTheFirst)
{
    EXPECT_FALSE(gamepath::isUnsafe("/g/Data/a/b.dat"));
    EXPECT_FALSE(gamepath::isUnsafe("./g/Data/x"));   // a relative base given on a command line
    EXPECT_FALSE(gamepath::isUnsafe("/g/Data/a..b")); // dots inside a name are fine
    EXPECT_TRUE(gamepath::isUnsafe("/g/Data/../x"));
    EXPECT_TRUE(gamepath::isUnsafe("/g/Data\\..\\x"));
    EXPECT_TRUE(gamepath::isUnsafe("/g/Data//etc/passwd")); // an absolute value joined on
    EXPECT_TRUE(gamepath::isUnsafe("/g/Data/./x"));
    EXPECT_TRUE(gamepath::isUnsafe("/g/Data/C:/x"));
    EXPECT_TRUE(gamepath::isUnsafe("/g/Data/")); // an empty value names no file
}

TEST(GamePath, ResolveFindsOtherLetterCaseOnlyWhenNeeded)
{
    QTemporaryDir dir;
    testfiles::write(dir.filePath("Data/Sub/Ёж.DAT"), "x");
    testfiles::write(dir.filePath("Data/exact.dat"), "x");
    testfiles::write(dir.filePath("Data/EXACT.dat"), "y");
    EXPECT_EQ(gamepath::resolve(dir.filePath("data/sub/ёж.dat")), dir.filePath("Data/Sub/Ёж.DAT"));
    EXPECT_EQ(gamepath::resolve(dir.filePath("Data/exact.dat")), dir.filePath("Data/exact.dat"));
    EXPECT_EQ(gamepath::resolve(dir.filePath("Data/EXACT.dat")), dir.filePath("Data/EXACT.dat"));
    EXPECT_TRUE(gamepath::resolve(dir.filePath("Data/none.dat")).isEmpty());
    EXPECT_TRUE(gamepath::resolve(dir.filePath("Data/Sub")).isEmpty()); // a folder is not a file
    EXPECT_TRUE(gamepath::resolve(dir.filePath("Data/Sub/../exact.dat")).isEmpty());
}
