#include "TestFiles.h"
#include "core/DataFile.h"
#include "core/Errors.h"
#include "core/Problem.h"
#include "core/User.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

PuzzleDataFile sample()
{
    PuzzleDataFile c;
    c.statement = "{\\rtf1 Statement}";
    c.kind = AnswerChoice;
    c.answer = AnswerValue::fromText(QStringLiteral("Мост"));
    c.lines = QStringList{QStringLiteral("Что это?"), QStringLiteral("Мост"), QStringLiteral("Река")};
    c.solution = "{\\rtf1 Solution}";
    return c;
}

class ProblemLoad : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString image() const { return dir.filePath("Images/p.jpg"); }
    QString data() const { return dir.filePath("Data/p.dat"); }
    TProblem problem() const { return TProblem(12, 1, QStringLiteral("Мост"), image(), data()); }
    void SetUp() override
    {
        testfiles::write(image(), testfiles::jpeg(8, 6));
        testfiles::write(data(), encodeDataFile(sample()));
    }
    std::string loadError(TProblem &p)
    {
        try {
            p.LoadData();
        } catch (const ELoadError &e) {
            return e.what();
        }
        return "(loaded)";
    }
    std::string badFormat() const
    {
        return QStringLiteral("Bad format of the text file %1 for the problem id - 12")
            .arg(data())
            .toStdString();
    }
};

} // namespace

TEST_F(ProblemLoad, LoadsEveryFieldAndUnloadsThemAgain)
{
    TProblem p = problem();
    EXPECT_FALSE(p.Loaded);
    p.LoadData();
    EXPECT_TRUE(p.Loaded);
    EXPECT_EQ(p.Picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(p.Picture.size(), QSize(8, 6));
    EXPECT_EQ(p.GetStatementText(), QByteArray("{\\rtf1 Statement}"));
    EXPECT_EQ(p.GetSolutionText(), QByteArray("{\\rtf1 Solution}"));
    EXPECT_EQ(p.AnswerKind, AnswerChoice);
    EXPECT_EQ(p.AnswerData, AnswerValue::fromText(QStringLiteral("Мост")));
    EXPECT_EQ(p.Lines, sample().lines);

    p.UnloadData();
    EXPECT_FALSE(p.Loaded);
    EXPECT_TRUE(p.Picture.isNull());
    EXPECT_TRUE(p.Lines.isEmpty());
    EXPECT_TRUE(p.StatementText.isNull());
    EXPECT_TRUE(p.SolutionText.isNull());
    p.UnloadData(); // twice in a row is harmless
    EXPECT_FALSE(p.Loaded);
}

TEST_F(ProblemLoad, CopiesTakeTheHeaderOnly)
{
    TProblem p = problem();
    p.LoadData();
    TProblem copy(p);
    EXPECT_EQ(copy.Id, 12);
    EXPECT_EQ(copy.Difficult, 1);
    EXPECT_EQ(copy.Name, QStringLiteral("Мост"));
    EXPECT_EQ(copy.ImagePath, image());
    EXPECT_EQ(copy.DataPath, data());
    EXPECT_FALSE(copy.Loaded);
    EXPECT_TRUE(copy.Lines.isEmpty());
    EXPECT_TRUE(copy.Picture.isNull());
    EXPECT_TRUE(copy.StatementText.isNull());
}

TEST_F(ProblemLoad, MissingPictureStopsBeforeTheDataFile)
{
    QFile::remove(image());
    TProblem p = problem();
    EXPECT_EQ(loadError(p), "The BitMap for the problem id - 12 is missing!");
    EXPECT_FALSE(p.Loaded);
    EXPECT_TRUE(p.Picture.isNull());
    EXPECT_TRUE(p.StatementText.isNull());
    p.UnloadData();
    EXPECT_FALSE(p.Loaded);
}

TEST_F(ProblemLoad, UndecodablePictureStaysEmptyAndLoadingGoesOn)
{
    testfiles::write(image(), "not a picture at all");
    TProblem p = problem();
    p.LoadData();
    EXPECT_TRUE(p.Loaded);
    EXPECT_TRUE(p.Picture.isNull());
    EXPECT_EQ(p.Lines.size(), 3);
}

TEST_F(ProblemLoad, DataFileThatCannotBeOpened)
{
    QFile::remove(data());
    TProblem p = problem();
    EXPECT_EQ(
        loadError(p),
        QStringLiteral("Can not open the text file %1 for the problem id - 12").arg(data()).toStdString());
    EXPECT_FALSE(p.Loaded);
    EXPECT_FALSE(p.Picture.isNull()); // what was loaded before the failure stays until UnloadData
    p.UnloadData();
    EXPECT_TRUE(p.Picture.isNull());

    TProblem directory(12, 1, "", image(), dir.filePath("Data"));
    EXPECT_THROW(directory.LoadData(), ELoadError);
}

TEST_F(ProblemLoad, WrongMagicByte)
{
    QByteArray bytes = encodeDataFile(sample());
    bytes[0] = 'N';
    testfiles::write(data(), bytes);
    TProblem p = problem();
    EXPECT_EQ(loadError(p), badFormat());
    testfiles::write(data(), "");
    EXPECT_EQ(loadError(p), badFormat());
}

TEST_F(ProblemLoad, FileEndingEarlyAnywhereIsBadFormat)
{
    const QByteArray whole = encodeDataFile(sample());
    TProblem p = problem();
    for (qsizetype cut = 1; cut < whole.size(); ++cut) {
        testfiles::write(data(), whole.left(cut));
        EXPECT_EQ(loadError(p), badFormat()) << "cut at " << cut;
        EXPECT_FALSE(p.Loaded);
    }
    // Anything after the solution is ignored.
    testfiles::write(data(), whole + "trailing");
    EXPECT_EQ(loadError(p), "(loaded)");
    EXPECT_EQ(p.GetSolutionText(), sample().solution);
}

TEST_F(ProblemLoad, NegativeOrOversizedTextLengthsAreBadFormat)
{
    TProblem p = problem();
    for (std::int32_t len :
         {-1, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), 1000}) {
        QByteArray bytes("M");
        for (int i = 0; i < 4; ++i)
            bytes.append(char(std::uint32_t(len) >> (8 * i)));
        bytes.append(QByteArray(100, 'x'));
        testfiles::write(data(), bytes);
        EXPECT_EQ(loadError(p), badFormat()) << len;
    }
    // A bad solution length after a good statement.
    QByteArray bytes = encodeDataFile(sample());
    const qsizetype at = bytes.size() - sample().solution.size() - 4;
    bytes[at + 3] = char(0x80); // negative
    testfiles::write(data(), bytes);
    EXPECT_EQ(loadError(p), badFormat());
    EXPECT_EQ(p.Lines.size(), 3); // created so far, kept until UnloadData
}

TEST_F(ProblemLoad, EmptyTextsZeroLengthLinesAndShortLengthBytes)
{
    PuzzleDataFile c = sample();
    c.statement.clear();
    c.solution.clear();
    c.lines.clear();
    testfiles::write(data(), encodeDataFile(c));
    TProblem p = problem();
    p.LoadData();
    EXPECT_TRUE(p.Loaded);
    EXPECT_TRUE(p.GetStatementText().isEmpty());
    EXPECT_TRUE(p.GetSolutionText().isEmpty());
    EXPECT_TRUE(p.Lines.isEmpty());

    // Lines by hand: N = 0 is an empty line; a length byte larger than N - 1 takes what was read.
    QByteArray bytes("M\0\0\0\0", 5);
    bytes.append(char(AnswerInteger));
    bytes.append(QByteArray(32, '\0'));
    bytes.append(char(3));
    bytes.append(char(0));
    bytes.append(QByteArray("\x03\x09\xC0\xC1", 4));     // N=3, L=9: two characters were read
    bytes.append(QByteArray("\x04\x01\xC2\xC3\xC4", 5)); // N=4, L=1: one character, the rest skipped
    bytes.append(QByteArray("\0\0\0\0", 4));
    testfiles::write(data(), bytes);
    p.LoadData();
    EXPECT_EQ(p.Lines, QStringList({QString(), QStringLiteral("АБ"), QStringLiteral("В")}));
}

TEST_F(ProblemLoad, LargeTexts)
{
    PuzzleDataFile c = sample();
    c.statement = QByteArray(64 * 1024, 's');
    c.solution = QByteArray(64 * 1024, 'o');
    testfiles::write(data(), encodeDataFile(c));
    TProblem p = problem();
    p.LoadData();
    EXPECT_EQ(p.GetStatementText(), c.statement);
    EXPECT_EQ(p.GetSolutionText(), c.solution);
}

TEST_F(ProblemLoad, PathsWithBackslashesAndOtherLetterCase)
{
    testfiles::write(dir.filePath("Images/Sub/Pic.JPG"), testfiles::jpeg());
    testfiles::write(dir.filePath("Data/Sub/P1.DAT"), encodeDataFile(sample()));
    TProblem p(12, 1, "", dir.filePath("images/sub\\pic.jpg"), dir.filePath("DATA\\SUB\\p1.dat"));
    p.LoadData();
    EXPECT_TRUE(p.Loaded);
    EXPECT_FALSE(p.Picture.isNull());
}

TEST_F(ProblemLoad, PathsLeadingOutOfTheirFolderAreRefused)
{
    // The files exist, but the paths climb out of Images and Data.
    testfiles::write(dir.filePath("secret.jpg"), testfiles::jpeg());
    testfiles::write(dir.filePath("secret.dat"), encodeDataFile(sample()));
    TProblem up(7, 0, "", dir.filePath("Images/../secret.jpg"), data());
    EXPECT_EQ(loadError(up), "The BitMap for the problem id - 7 is missing!");
    TProblem abs(7, 0, "", dir.filePath("Images/") + dir.filePath("secret.jpg"), data());
    EXPECT_EQ(loadError(abs), "The BitMap for the problem id - 7 is missing!");
    const QString dataUp = dir.filePath("Data\\..\\secret.dat");
    TProblem dataEscape(7, 0, "", image(), dataUp);
    EXPECT_EQ(
        loadError(dataEscape),
        QStringLiteral("Can not open the text file %1 for the problem id - 7").arg(dataUp).toStdString());
    TProblem drive(7, 0, "", image(), dir.filePath("Data/C:\\x.dat"));
    EXPECT_THROW(drive.LoadData(), ELoadError);
}

TEST_F(ProblemLoad, LoadWithoutPictureAndFromBytes)
{
    QFile::remove(image());
    TProblem p = problem();
    p.LoadDataWithoutPicture();
    EXPECT_TRUE(p.Loaded);
    EXPECT_TRUE(p.Picture.isNull());
    TProblem q = problem();
    q.LoadDataFromBytes(encodeDataFile(sample()));
    EXPECT_EQ(q.Lines.size(), 3);
    EXPECT_THROW(q.LoadDataFromBytes("M\x01"), ELoadError);
    EXPECT_FALSE(q.Loaded);
}
