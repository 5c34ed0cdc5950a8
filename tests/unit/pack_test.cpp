// zentrika-pack as authors use it: sources in, a pack the game loads out, and
// clear refusals for sources or packs that would hurt a player.
#include "core/Catalogue.h"
#include "core/DataFile.h"
#include "core/GameRules.h"
#include "platform/Codepage.h"
#include "platform/InputLimits.h"
#include "qt_printers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

const char *kPicture =
    "<svg xmlns='http://www.w3.org/2000/svg' width='440' height='460' viewBox='0 0 440 460'>"
    "<rect width='440' height='460' fill='#fdedc4'/><circle cx='220' cy='230' r='100' fill='#d83a2e'/></svg>";

struct ToolRun {
    int code = -1;
    QString out;
    QString err;
};

ToolRun pack(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(ZENTRIKA_TOOLS_DIR "/zentrika-pack"), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void addPuzzle(const QString &root, int id, const QString &body)
{
    const QString dir = QStringLiteral("%1/%2").arg(root).arg(id, 3, 10, QLatin1Char('0'));
    writeFile(dir + QStringLiteral("/puzzle.toml"), (QStringLiteral("id = %1\n").arg(id) + body).toUtf8());
    writeFile(dir + QStringLiteral("/picture.svg"), kPicture);
}

const QString kCommon = QStringLiteral(
    "title = \"Проба\"\ndifficulty = 1\nquestion = \"Введите ответ.\"\n"
    "statement = \"\"\"\nПервый абзац с **жирным** и {red|красным}.\n\nВторой *абзац*.\n\"\"\"\n"
    "solution = \"\"\"\nПотому что __так__.\n\"\"\"\n");

class PackSources : public ::testing::Test
{
  protected:
    QTemporaryDir tmp;
    QString src() const { return tmp.filePath(QStringLiteral("src")); }
    QString out() const { return tmp.filePath(QStringLiteral("out")); }

    void addSample()
    {
        addPuzzle(src(), 12,
                  kCommon + QStringLiteral("kind = \"number\"\nanswer = 42\n"
                                           "hints = [\"Посмотрите на **левую** чашу.\", \"Сложите.\",]\n"));
        addPuzzle(src(), 3, kCommon + QStringLiteral("kind = \"time\"\nanswer = \"1:30:00\"\n"));
        addPuzzle(src(), 7,
                  kCommon + QStringLiteral(
                                "kind = \"choice\"\nanswer = \"Катя\"\nchoices = [\"Аня\", \"Катя\"]\n"));
        addPuzzle(src(), 9,
                  kCommon + QStringLiteral(
                                "kind = \"numbers\"\nanswer = [5, 7, 9]\nnames = [\"А\", \"Б\", \"В\"]\n"));
        addPuzzle(src(), 20, kCommon + QStringLiteral("kind = \"text\"\nanswer = \"река\"\n"));
    }

    // Each bad source is refused with exit 1, a message naming the file and
    // the field, and nothing written.
    void expectRefused(const QString &body, const QString &field, int id = 5)
    {
        QDir(src()).removeRecursively();
        addPuzzle(src(), 1, kCommon + QStringLiteral("kind = \"number\"\nanswer = 1\n"));
        addPuzzle(src(), id, body);
        const ToolRun r = pack({QStringLiteral("build"), src(), out()});
        EXPECT_EQ(r.code, 1) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QStringLiteral("%1/puzzle.toml").arg(id, 3, 10, QLatin1Char('0'))))
            << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QStringLiteral("'%1'").arg(field))) << qPrintable(r.err);
        EXPECT_FALSE(QFileInfo::exists(out() + QStringLiteral("/list.lst")));
    }
};

QMap<QString, QByteArray> readTree(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(dir).relativeFilePath(path), f.readAll());
    }
    return files;
}

} // namespace

TEST_F(PackSources, BuildsAPackTheGameLoads)
{
    addSample();
    const ToolRun r = pack({QStringLiteral("build"), src(), out()});
    ASSERT_EQ(r.code, 0) << qPrintable(r.err);

    TCatalogue catalogue(out());
    catalogue.LoadCatalogue();
    ASSERT_EQ(catalogue.Count(), 5);
    QList<int> ids;
    for (const auto &p : catalogue.Items())
        ids << p->Id;
    EXPECT_EQ(ids, (QList<int>{3, 7, 9, 12, 20})); // id order, not folder listing order

    TProblem time(*catalogue.FindProblem(3));
    time.LoadData();
    EXPECT_EQ(time.Name, QStringLiteral("Проба"));
    EXPECT_EQ(time.Difficult, 1);
    EXPECT_EQ(time.AnswerKind, AnswerTime);
    EXPECT_EQ(time.AnswerData.time(), 0.0625);
    EXPECT_EQ(time.Picture.size(), QSize(440, 460));
    EXPECT_EQ(time.PictureSvg, QByteArray(kPicture)); // the sharp form travels with the JPEG
    EXPECT_TRUE(time.GetStatementText().startsWith("{\\rtf1"));
    EXPECT_TRUE(time.GetStatementText().contains("\\b"));

    TProblem number(*catalogue.FindProblem(12));
    number.LoadData();
    ASSERT_EQ(number.Hints.size(), 2);
    EXPECT_TRUE(number.Hints[0].startsWith("{\\rtf1"));
    EXPECT_TRUE(number.Hints[0].contains("\\b"));
    EXPECT_TRUE(time.Hints.isEmpty());

    TProblem choice(*catalogue.FindProblem(7));
    choice.LoadData();
    EXPECT_EQ(choice.Lines,
              (QStringList{QStringLiteral("Введите ответ."), QStringLiteral("Аня"), QStringLiteral("Катя")}));
    EXPECT_TRUE(choice.CheckAnswer(AnswerValue::fromText(QStringLiteral("Катя"))));

    TProblem numbers(*catalogue.FindProblem(9));
    numbers.LoadData();
    EXPECT_TRUE(numbers.CheckAnswer(AnswerValue::fromNumbers({5, 7, 9})));
    EXPECT_EQ(numbers.Lines.size(), 4);

    TProblem text(*catalogue.FindProblem(20));
    text.LoadData();
    EXPECT_TRUE(text.CheckAnswer(AnswerValue::fromText(QStringLiteral("река"))));
    EXPECT_FALSE(text.CheckAnswer(AnswerValue::fromText(QStringLiteral("Река"))));

    const ToolRun check = pack({QStringLiteral("check"), out()});
    EXPECT_EQ(check.code, 0) << qPrintable(check.out);
    EXPECT_TRUE(check.out.contains(QStringLiteral("0 errors"))) << qPrintable(check.out);
    EXPECT_TRUE(check.out.contains(QStringLiteral("a whole game draws"))) << qPrintable(check.out);
}

TEST_F(PackSources, SameSourcesGiveTheSameBytes)
{
    addSample();
    ASSERT_EQ(pack({QStringLiteral("build"), src(), out()}).code, 0);
    const QString again = tmp.filePath(QStringLiteral("again"));
    ASSERT_EQ(pack({QStringLiteral("build"), src(), again}).code, 0);
    const auto a = readTree(out());
    const auto b = readTree(again);
    EXPECT_EQ(a.keys(), b.keys());
    EXPECT_TRUE(a == b);
    EXPECT_EQ(a.size(), 16); // the catalogue, and a data file, a JPEG and an SVG per puzzle
}

TEST_F(PackSources, RefusesSourcesThatCannotWork)
{
    const QString base = QStringLiteral(
        "title = \"Т\"\ndifficulty = 0\nquestion = \"?\"\nstatement = \"С\"\nsolution = \"Р\"\n");
    expectRefused(base +
                      QStringLiteral("kind = \"choice\"\nanswer = \"Оля\"\nchoices = [\"Аня\", \"Катя\"]\n"),
                  QStringLiteral("answer"));
    expectRefused(base + QStringLiteral("kind = \"text\"\nanswer = \"Река\"\n"), QStringLiteral("answer"), 6);
    expectRefused(base + QStringLiteral("kind = \"text\"\nanswer = \"достопримечательность\"\n"),
                  QStringLiteral("answer"), 8);
    expectRefused(base + QStringLiteral("kind = \"number\"\nanswer = -3\n"), QStringLiteral("answer"), 10);
    expectRefused(base + QStringLiteral("kind = \"time\"\nanswer = \"24:00:00\"\n"), QStringLiteral("answer"),
                  11);
    expectRefused(base + QStringLiteral("kind = \"numbers\"\nanswer = [1, 2]\nnames = [\"а\"]\n"),
                  QStringLiteral("names"), 13);
    expectRefused(base + QStringLiteral("kind = \"guess\"\nanswer = 1\n"), QStringLiteral("kind"), 14);
    expectRefused(QStringLiteral("title = \"≤ бывает\"\ndifficulty = 0\nquestion = \"?\"\nstatement = \"С\"\n"
                                 "solution = \"Р\"\nkind = \"number\"\nanswer = 1\n"),
                  QStringLiteral("title"), 15);
    // 2^32 + 1 must not pass for 1 once narrowed.
    for (const char *difficulty : {"3", "-1", "4294967297"})
        expectRefused(QStringLiteral("title = \"Т\"\ndifficulty = %1\nquestion = \"?\"\nstatement = \"С\"\n"
                                     "solution = \"Р\"\nkind = \"number\"\nanswer = 1\n")
                          .arg(QLatin1String(difficulty)),
                      QStringLiteral("difficulty"), 16);
    expectRefused(base + QStringLiteral("kind = \"number\"\n"), QStringLiteral("answer"), 17);
    expectRefused(
        QStringLiteral("title = \"Т\"\ndifficulty = 0\nquestion = \"?\"\nstatement = \"**не закрыто\"\n"
                       "solution = \"Р\"\nkind = \"number\"\nanswer = 1\n"),
        QStringLiteral("statement"), 18);
}

// A source over its limit is refused before the parser takes many times its size.
TEST_F(PackSources, RefusesASourceOverItsSizeLimit)
{
    addPuzzle(src(), 1, kCommon + QStringLiteral("kind = \"number\"\nanswer = 1\n"));
    addPuzzle(src(), 2,
              kCommon + QStringLiteral("kind = \"number\"\nanswer = 1\n# ") +
                  QString(limits::MaxPuzzleSourceBytes, u'x') + QStringLiteral("\n"));
    const ToolRun r = pack({QStringLiteral("build"), src(), out()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("002/puzzle.toml"))) << qPrintable(r.err);
    EXPECT_TRUE(r.err.contains(QStringLiteral("at most %1").arg(limits::MaxPuzzleSourceBytes)))
        << qPrintable(r.err);
    EXPECT_FALSE(QFileInfo::exists(out() + QStringLiteral("/list.lst")));
}

// A picture may not pull a file of the author's machine (or anything from
// elsewhere) into the pack; images are embedded inline instead.
TEST_F(PackSources, PicturesThatReachOutsideAreRefused)
{
    const QString secret = tmp.filePath(QStringLiteral("private.png"));
    QImage(4, 4, QImage::Format_RGB32).save(secret);
    const QString head =
        QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                       "width='440' height='460' viewBox='0 0 440 460'>");
    const QString pictures[] = {
        QStringLiteral("<image width='40' height='40' xlink:href='%1'/>").arg(secret),
        QStringLiteral("<image width='40' height='40' xlink:href='file://%1'/>").arg(secret),
        QStringLiteral("<image width='40' height='40' href='private.png'/>"),
        QStringLiteral("<rect width='40' height='40' fill='url(http://example.org/p.svg#a)'/>"),
    };
    for (const QString &body : pictures) {
        SCOPED_TRACE(body.toStdString());
        QDir(src()).removeRecursively();
        QDir(out()).removeRecursively();
        addPuzzle(src(), 1, kCommon + QStringLiteral("kind = \"number\"\nanswer = 1\n"));
        writeFile(src() + QStringLiteral("/001/picture.svg"),
                  (head + body + QStringLiteral("</svg>")).toUtf8());
        const ToolRun r = pack({QStringLiteral("build"), src(), out()});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("001/picture.svg: an external reference")))
            << qPrintable(r.err);
        EXPECT_FALSE(QFileInfo::exists(out() + QStringLiteral("/Images/001.svg")));
        EXPECT_FALSE(QFileInfo::exists(out() + QStringLiteral("/Images/001.jpg")));
    }
}

TEST_F(PackSources, SyntaxErrorsNameTheLine)
{
    addPuzzle(src(), 4, QStringLiteral("title = \"Т\"\ndifficulty = = 0\n"));
    const ToolRun r = pack({QStringLiteral("build"), src(), out()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("004/puzzle.toml:3"))) << qPrintable(r.err);
}

TEST_F(PackSources, RefusesHintsThatCannotBeShown)
{
    const QString number =
        QStringLiteral("title = \"Т\"\ndifficulty = 0\nquestion = \"?\"\nstatement = \"С\"\n"
                       "solution = \"Р\"\nkind = \"number\"\nanswer = 1\n");
    expectRefused(number + QStringLiteral("hints = [\"А.\", \"Б.\", \"В.\", \"Г.\"]\n"),
                  QStringLiteral("hints"), 19);
    expectRefused(number + QStringLiteral("hints = [\"А.\", \"  \"]\n"), QStringLiteral("hints"), 21);
    expectRefused(number + QStringLiteral("hints = [\"%1.\"]\n").arg(QString(400, u'я')),
                  QStringLiteral("hints"), 22);
    expectRefused(number + QStringLiteral("hints = [\"А.\", 2]\n"), QStringLiteral("hints"), 23);
    expectRefused(number + QStringLiteral("hints = \"А.\"\n"), QStringLiteral("hints"), 24);
    expectRefused(number + QStringLiteral("hints = [\"{red|А.\"]\n"), QStringLiteral("hints"), 25);
    expectRefused(number + QStringLiteral("hints = [\"А ≤ Б.\"]\n"), QStringLiteral("hints"), 26);
}

TEST(PackCheck, ReportsWhatWouldHurtAPlayer)
{
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    QImage picture(440, 460, QImage::Format_RGB888);
    picture.fill(Qt::white);
    QDir().mkpath(dir + QStringLiteral("/Images"));
    std::vector<CatalogueEntry> entries;
    const auto add = [&](ProblemId id, int difficult, std::uint8_t kind, const AnswerValue &answer,
                         QStringList lines, const QByteArray &solution = "{\\rtf1 x}") {
        PuzzleDataFile f;
        f.kind = kind;
        f.answer = answer;
        f.lines = lines;
        f.statement = "{\\rtf1 s}";
        f.solution = solution;
        const QString stem = QString::number(id);
        writeFile(dir + QStringLiteral("/Data/") + stem + QStringLiteral(".dat"), encodeDataFile(f));
        picture.save(dir + QStringLiteral("/Images/") + stem + QStringLiteral(".jpg"));
        entries.push_back({id, difficult, QStringLiteral("Задача"), stem + QStringLiteral(".jpg"),
                           stem + QStringLiteral(".dat")});
    };
    add(1, 0, AnswerInteger, AnswerValue::fromInteger(5), {QStringLiteral("?")});
    add(2, 0, 7, AnswerValue{}, {QStringLiteral("?")});
    add(3, 1, AnswerText, AnswerValue::fromRawText(platform::toCp1251(QStringLiteral("река "))),
        {QStringLiteral("?")});
    AnswerValue eight = AnswerValue::fromNumbers({1, 2, 3});
    eight.bytes[0] = 8;
    add(4, 2, AnswerNumbers, eight, {QStringLiteral("?"), QStringLiteral("a")});
    AnswerValue almost = AnswerValue::fromTime(1, 30, 0);
    almost.bytes[0] ^= 1;
    add(5, 1, AnswerTime, almost, {QStringLiteral("?")});
    add(6, 0, AnswerChoice, AnswerValue::fromText(QStringLiteral("Оля")),
        {QStringLiteral("?"), QStringLiteral("Аня")});
    add(7, 5, AnswerInteger, AnswerValue::fromInteger(1), {});
    add(8, 0, AnswerInteger, AnswerValue::fromInteger(1), {QStringLiteral("?")}, QByteArray());
    add(1, 0, AnswerInteger, AnswerValue::fromInteger(5), {QStringLiteral("?")});
    // A solution the game's reader refuses (nested too deep) shows as an empty
    // page; a statement over the reader's limit makes the data file unreadable.
    add(9, 0, AnswerInteger, AnswerValue::fromInteger(1), {QStringLiteral("?")},
        "{\\rtf1 " + QByteArray(300, '{') + "x" + QByteArray(301, '}'));
    add(10, 0, AnswerInteger, AnswerValue::fromInteger(1), {QStringLiteral("?")});
    {
        PuzzleDataFile big;
        big.lines = {QStringLiteral("?")};
        big.statement = "{\\rtf1 " + QByteArray(limits::MaxTextBytes, 'x') + "}";
        big.solution = "{\\rtf1 x}";
        writeFile(dir + QStringLiteral("/Data/10.dat"), encodeDataFile(big));
    }
    writeFile(dir + QStringLiteral("/list.lst"), encodeCatalogue(entries));
    {
        // A hint block cut short: the puzzle plays, one hint is lost.
        QFile data(dir + QStringLiteral("/Data/8.dat"));
        ASSERT_TRUE(data.open(QIODevice::Append));
        data.write(QByteArray("HINT\x40\0\0\0\x02\x03\0\0\0abc\x09\0\0\0de", 22));
    }
    QFile::remove(dir + QStringLiteral("/Images/1.jpg"));
    writeFile(
        dir + QStringLiteral("/Images/8.svg"),
        "<svg xmlns='http://www.w3.org/2000/svg'><image href='/etc/hostname' width='9' height='9'/></svg>");
    writeFile(dir + QStringLiteral("/Images/6.svg"), "<svg xmlns='http://www.w3.org/2000/svg'><rect></svg>");

    const ToolRun r = pack({QStringLiteral("check"), dir});
    EXPECT_EQ(r.code, 1);
    const QStringList expected{
        QStringLiteral("id 1: error: The BitMap for the problem id - 1 is missing!"),
        QStringLiteral("id 2: error: answer kind 7 is outside 0..4"),
        QStringLiteral("id 3: error: the answer 'река ' has leading or trailing blanks"),
        QStringLiteral("id 4: error: the answer holds 8 numbers"),
        QStringLiteral("id 5: error: the time answer"),
        QStringLiteral("id 6: error: the answer 'Оля' is not one of the choices"),
        QStringLiteral("id 8: warning: the hint block is damaged; 1 hints can be read"),
        QStringLiteral("id 7: error: difficulty 5 is outside 0..2"),
        QStringLiteral("id 7: error: the question line is missing"),
        QStringLiteral("id 8: error: the solution is empty"),
        QStringLiteral("id 8: error: the sharp picture %1/Images/8.svg is refused: an external reference")
            .arg(dir),
        QStringLiteral("id 6: error: the sharp picture %1/Images/6.svg is refused: not well-formed").arg(dir),
        QStringLiteral("id 1: error: the id stands more than once"),
        QStringLiteral("id 9: error: the solution cannot be read and shows as an empty page"),
        QStringLiteral(
            "id 10: error: The text file %1/Data/10.dat for the problem id - 10 holds more than %2 bytes")
            .arg(dir)
            .arg(limits::MaxTextBytes),
        // Ids 1, 2, 6, 8, 9 and 10 are easy, 3 and 5 medium, 4 hard; a whole game draws more.
        QStringLiteral("warning: 6 easy puzzles; a whole game draws %1")
            .arg(TGameRules::GameQuota(Difficulty::Easy)),
        QStringLiteral("warning: 2 medium puzzles; a whole game draws %1")
            .arg(TGameRules::GameQuota(Difficulty::Medium)),
        QStringLiteral("warning: 1 hard puzzles; a whole game draws %1")
            .arg(TGameRules::GameQuota(Difficulty::Hard)),
    };
    for (const QString &line : expected)
        EXPECT_TRUE(r.out.contains(line)) << qPrintable(line) << "\n" << qPrintable(r.out);
}
