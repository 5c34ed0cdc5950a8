#include "TestFiles.h"
#include "core/Catalogue.h"
#include "core/DataFile.h"
#include "core/Errors.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class CatalogueTest : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    TCatalogue catalogue{dir.path()};

    void list(const QByteArray &text) { testfiles::write(dir.filePath("list.lst"), text); }
    std::string loadError()
    {
        try {
            catalogue.LoadCatalogue();
        } catch (const EZentrikaError &e) {
            return e.what();
        }
        return "(loaded)";
    }
    std::vector<ProblemId> ids() const
    {
        std::vector<ProblemId> out;
        for (const auto &p : catalogue.Items())
            out.push_back(p->Id);
        return out;
    }
};

QByteArray section(const char *name, const char *difficult = "1")
{
    return QByteArray("[") + name + "]\nDifficult=" + difficult + "\nName=N" + name + "\nImageFN=" + name +
           ".jpg\nDataFN=" + name + ".dat\n";
}

} // namespace

TEST_F(CatalogueTest, RecordsInFileOrderWithPathsBesideTheProgram)
{
    list(section("30", "2") + section("4", "0") + section("17"));
    catalogue.LoadCatalogue();
    EXPECT_EQ(ids(), (std::vector<ProblemId>{30, 4, 17}));
    const TProblem &p = *catalogue.Items()[0];
    EXPECT_EQ(p.Difficult, 2);
    EXPECT_EQ(p.Name, QStringLiteral("N30"));
    EXPECT_EQ(p.ImagePath, dir.path() + "/Images/30.jpg");
    EXPECT_EQ(p.DataPath, dir.path() + "/Data/30.dat");
    EXPECT_FALSE(p.Loaded);
    EXPECT_EQ(catalogue.Count(), 3);
}

TEST_F(CatalogueTest, NamesAreWindows1251AndBackslashesAreSeparators)
{
    // "Мост" in Windows-1251, a sub-folder written the Windows way.
    list("[1]\nDifficult=0\nName=\xCC\xEE\xF1\xF2\nImageFN=sub\\a.jpg\nDataFN=sub\\a.dat\n");
    catalogue.LoadCatalogue();
    const TProblem &p = *catalogue.Items()[0];
    EXPECT_EQ(p.Name, QStringLiteral("Мост"));
    EXPECT_EQ(p.ImagePath, dir.path() + "/Images/sub/a.jpg");
    EXPECT_EQ(p.DataPath, dir.path() + "/Data/sub/a.dat");
}

TEST_F(CatalogueTest, KeysWithoutCaseAndEmptyValuesCountAsPresent)
{
    list("[5]\ndifficult=\nNAME=\nimagefn=\nDATAFN=\nOther=ignored\n");
    catalogue.LoadCatalogue();
    const TProblem &p = *catalogue.Items()[0];
    EXPECT_EQ(p.Difficult, 1);
    EXPECT_TRUE(p.Name.isEmpty());
}

TEST_F(CatalogueTest, DifficultyDefaultsToOneAndKeepsTheLowEightBits)
{
    list(section("1", "x") + section("2", "258") + section("3", "0x2") + section("4", "-1"));
    catalogue.LoadCatalogue();
    EXPECT_EQ(catalogue.Items()[0]->Difficult, 1);
    EXPECT_EQ(catalogue.Items()[1]->Difficult, 2);
    EXPECT_EQ(catalogue.Items()[2]->Difficult, 2);
    EXPECT_EQ(catalogue.Items()[3]->Difficult, 255);
}

TEST_F(CatalogueTest, SectionNamesConvertToSixteenBitIds)
{
    list(section("7") + section("07") + section("65541") + section("0x10") + section("-1"));
    catalogue.LoadCatalogue();
    EXPECT_EQ(ids(), (std::vector<ProblemId>{7, 7, 5, 16, 65535}));
    EXPECT_EQ(catalogue.FindProblem(7), catalogue.Items()[0].get());
    EXPECT_EQ(catalogue.FindProblem(5)->Name, QStringLiteral("N65541"));
    EXPECT_EQ(catalogue.FindProblem(8), nullptr);
}

TEST_F(CatalogueTest, SectionThatIsNotANumberStopsTheLoad)
{
    list(section("1") + section("abc") + section("3"));
    EXPECT_EQ(loadError(), "'abc' is not a valid integer value");
    EXPECT_EQ(ids(), (std::vector<ProblemId>{1}));
    list(section("99999999999"));
    catalogue.FreeCatalogue();
    EXPECT_THROW(catalogue.LoadCatalogue(), EConvertError);
}

TEST_F(CatalogueTest, MissingKeyNamesTheSectionAndKeepsEarlierRecords)
{
    list(section("1") + section("2") + section("3") + "[12]\nDifficult=1\nName=x\nImageFN=a.jpg\n");
    EXPECT_EQ(loadError(), "В задача с Id - 12, отсутствуют некоторые поля.");
    EXPECT_EQ(ids(), (std::vector<ProblemId>{1, 2, 3}));
    catalogue.FreeCatalogue();
    EXPECT_EQ(catalogue.Count(), 0);
    EXPECT_EQ(catalogue.FindProblem(1), nullptr);

    for (const char *missing : {"Difficult", "Name", "ImageFN", "DataFN"}) {
        QByteArray text = section("65548");
        text.replace(QByteArray(missing) + "=", "Other=");
        list(text);
        TCatalogue c(dir.path());
        try {
            c.LoadCatalogue();
            ADD_FAILURE() << missing;
        } catch (const EInternalError &e) {
            EXPECT_STREQ(e.what(), "В задача с Id - 12, отсутствуют некоторые поля.") << missing;
        }
    }
}

TEST_F(CatalogueTest, MissingOrEmptyListFails)
{
    EXPECT_THROW(catalogue.LoadCatalogue(), EInternalError);
    list("; nothing here\nName=x\n");
    EXPECT_THROW(catalogue.LoadCatalogue(), EInternalError);
    EXPECT_EQ(catalogue.Count(), 0);
}

TEST_F(CatalogueTest, ListFileFoundWithoutRegardToCase)
{
    testfiles::write(dir.filePath("LIST.LST"), section("3"));
    catalogue.LoadCatalogue();
    EXPECT_EQ(ids(), (std::vector<ProblemId>{3}));
}

TEST_F(CatalogueTest, RecordsLoadTheirFilesFoundWithoutRegardToCase)
{
    list("[1]\nDifficult=0\nName=x\nImageFN=PIC.jpg\nDataFN=sub\\P.dat\n");
    testfiles::write(dir.filePath("images/pic.JPG"), testfiles::jpeg());
    // Minimal valid data file: no texts, no lines.
    QByteArray data("M\0\0\0\0", 5);
    data.append(QByteArray(33, '\0'));
    data.append('\0');
    data.append(QByteArray(4, '\0'));
    testfiles::write(dir.filePath("DATA/Sub/p.DAT"), data);
    catalogue.LoadCatalogue();
    TProblem copy(*catalogue.Items()[0]);
    copy.LoadData();
    EXPECT_TRUE(copy.Loaded);
    EXPECT_FALSE(copy.Picture.isNull());
}

TEST_F(CatalogueTest, RelativeProgramDirStillBuildsUsablePaths)
{
    list(section("1"));
    TCatalogue c(dir.path() + "/./sub/..");
    c.LoadCatalogue();
    EXPECT_EQ(c.Items()[0]->ImagePath, dir.path() + "/Images/1.jpg");
}

TEST_F(CatalogueTest, OnePairOfEnclosingQuotesIsDroppedAndTheWriterKeepsQuotedNames)
{
    struct Case {
        const char *written;
        QString read;
    };
    const Case cases[] = {
        {"  \"Title\"  ", QStringLiteral("Title")},
        {"'Title'", QStringLiteral("Title")},
        {"\"\"Title\"\"", QStringLiteral("\"Title\"")},
        {"\"Title'", QStringLiteral("\"Title'")},
        {"\"", QStringLiteral("\"")},
        {"A \"B\" C", QStringLiteral("A \"B\" C")},
    };
    for (const Case &c : cases) {
        list(QByteArray("[1]\nDifficult=0\nName=") + c.written + "\nImageFN=a.jpg\nDataFN=a.dat\n");
        TCatalogue read(dir.path());
        read.LoadCatalogue();
        EXPECT_EQ(read.Items()[0]->Name, c.read) << c.written;
    }

    // What the pack tool writes reads back as it was, quotes and all.
    for (const QString &name : {QStringLiteral("\"Title\""), QStringLiteral("'x'"), QStringLiteral("Мост")}) {
        list(encodeCatalogue({CatalogueEntry{1, 0, name, QStringLiteral("a.jpg"), QStringLiteral("a.dat")}}));
        TCatalogue read(dir.path());
        read.LoadCatalogue();
        EXPECT_EQ(read.Items()[0]->Name, name);
    }
}
