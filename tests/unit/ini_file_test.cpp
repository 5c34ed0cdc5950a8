#include "platform/IniFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::IniFile;

TEST(IniFile, SectionsInFileOrderAndNamesWithoutCase)
{
    const IniFile ini = IniFile::fromBytes("[30]\r\nName = thirty\r\n[4]\nNAME=four\n[17]\nname=x\n");
    EXPECT_EQ(ini.sectionNames(), QStringList({"30", "4", "17"}));
    EXPECT_EQ(ini.readString("30", "name"), QStringLiteral("thirty")); // CR of CRLF trimmed
    EXPECT_EQ(ini.readString("4", "name"), QStringLiteral("four"));
    EXPECT_EQ(ini.readString("17", "NaMe"), QStringLiteral("x"));
    EXPECT_FALSE(ini.isEmpty());
}

TEST(IniFile, DecodesWindows1251AndUtf8WithByteOrderMark)
{
    // "Имя" and "Мост" in Windows-1251.
    const IniFile cp =
        IniFile::fromBytes(QByteArray("[\xD0\xE0\xE7\xE4\xE5\xEB]\n\xC8\xEC\xFF=\xCC\xEE\xF1\xF2\n"));
    EXPECT_EQ(cp.sectionNames(), QStringList{QStringLiteral("Раздел")});
    EXPECT_EQ(cp.readString(QStringLiteral("РАЗДЕЛ"), QStringLiteral("имя")), QStringLiteral("Мост"));

    const IniFile utf =
        IniFile::fromBytes(QByteArray("\xEF\xBB\xBF[1]\nName=") + QStringLiteral("Мост").toUtf8());
    EXPECT_EQ(utf.sectionNames(), QStringList{"1"});
    EXPECT_EQ(utf.readString("1", "Name"), QStringLiteral("Мост"));
}

TEST(IniFile, TrimmingCommentsDuplicatesAndLinesWithoutEquals)
{
    const IniFile ini = IniFile::fromBytes("orphan=1\n"
                                           "  [ 7 ]  \n"
                                           "; Name=comment\n"
                                           "just text\n"
                                           "  Name  =  first value  \t\n"
                                           "name=second\n"
                                           "Empty=\n"
                                           "Eq=a=b\n");
    EXPECT_EQ(ini.sectionNames(), QStringList{"7"});
    EXPECT_EQ(ini.readString("7", "Name"), QStringLiteral("first value"));
    EXPECT_TRUE(ini.hasKey("7", "Empty"));
    EXPECT_EQ(ini.value("7", "Empty"), std::optional<QString>(QString()));
    EXPECT_EQ(ini.readString("7", "Eq"), QStringLiteral("a=b"));
    EXPECT_FALSE(ini.hasKey("7", "just text"));
    EXPECT_FALSE(ini.hasKey("7", "orphan"));
    EXPECT_FALSE(ini.hasKey("7", "; Name"));
    EXPECT_EQ(ini.readString("8", "Name", "def"), QStringLiteral("def"));
}

TEST(IniFile, RepeatedSectionNameReadsTheFirstSection)
{
    const IniFile ini = IniFile::fromBytes("[a]\nk=1\n[b]\nk=2\n[A]\nk=3\nonly=here\n");
    EXPECT_EQ(ini.sectionNames(), QStringList({"a", "b", "A"}));
    EXPECT_EQ(ini.readString("A", "k"), QStringLiteral("1"));
    EXPECT_FALSE(ini.hasKey("a", "only"));
}

TEST(IniFile, ManyKeysInOneSectionKeepTheFirstOccurrence)
{
    QByteArray text = "[s]\n";
    for (int i = 0; i < 100; ++i)
        text += "k" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
    text += "K5=again\nk99=again\n";
    const IniFile ini = IniFile::fromBytes(text);
    EXPECT_EQ(ini.readString("s", "k5"), QStringLiteral("5"));
    EXPECT_EQ(ini.readString("s", "K99"), QStringLiteral("99"));
    EXPECT_EQ(ini.readInteger("s", "k42", -1), 42);
}

TEST(IniFile, IntegersDecimalHexSignAndDefault)
{
    EXPECT_EQ(IniFile::parseInteger("12"), 12);
    EXPECT_EQ(IniFile::parseInteger(" -7 "), -7);
    EXPECT_EQ(IniFile::parseInteger("+3"), 3);
    EXPECT_EQ(IniFile::parseInteger("0x1F"), 31);
    EXPECT_EQ(IniFile::parseInteger("0X1f"), 31);
    EXPECT_EQ(IniFile::parseInteger("$10"), 16);
    EXPECT_EQ(IniFile::parseInteger("-0x10"), -16);
    EXPECT_EQ(IniFile::parseInteger("$FFFFFFFF"), -1);
    EXPECT_EQ(IniFile::parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(IniFile::parseInteger("-2147483648"), std::numeric_limits<int>::min());
    for (const char *bad : {"", "x", "12abc", "0x", "$", "-", "2147483648", "0x100000000", "1 2", "1.5"})
        EXPECT_EQ(IniFile::parseInteger(QString::fromLatin1(bad)), std::nullopt) << bad;

    const IniFile ini = IniFile::fromBytes("[1]\na=258\nb=x\nc=\n");
    EXPECT_EQ(ini.readInteger("1", "a", 1), 258);
    EXPECT_EQ(ini.readInteger("1", "b", 1), 1);
    EXPECT_EQ(ini.readInteger("1", "c", 1), 1);
    EXPECT_EQ(ini.readInteger("1", "missing", 9), 9);
}

TEST(IniFile, MissingOrEmptyFileHasNoSections)
{
    EXPECT_TRUE(IniFile::fromFile("/nonexistent/list.lst").isEmpty());
    EXPECT_TRUE(IniFile::fromBytes("").isEmpty());
    EXPECT_TRUE(IniFile::fromBytes("k=v\n; only comments\n").isEmpty());
    QTemporaryDir dir;
    QFile f(dir.filePath("x.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Unclosed\nk=v");
    f.close();
    const IniFile ini = IniFile::fromFile(dir.filePath("x.ini"));
    EXPECT_EQ(ini.sectionNames(), QStringList{"Unclosed"});
    EXPECT_EQ(ini.readString("unclosed", "K"), QStringLiteral("v")); // last line without newline
}
