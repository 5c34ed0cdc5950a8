// zentrika-pack dump and list, run as the authors run them.
#include "TestFiles.h"
#include "core/DataFile.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

struct PackRun {
    int code = -1;
    QByteArray out, err;
};

PackRun pack(const QStringList &args)
{
    PackRun r;
    const QString tool = QStringLiteral(ZENTRIKA_TOOLS_DIR "/zentrika-pack");
    if (!QFile::exists(tool))
        return r;
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(30000);
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

class PackInspect : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    void SetUp() override
    {
        if (!QFile::exists(QStringLiteral(ZENTRIKA_TOOLS_DIR "/zentrika-pack")))
            GTEST_SKIP() << "zentrika-pack is not built";
    }
    QJsonDocument dump(const PuzzleDataFile &f)
    {
        testfiles::write(dir.filePath("p.dat"), encodeDataFile(f));
        const PackRun r = pack({"dump", dir.filePath("p.dat")});
        EXPECT_EQ(r.code, 0) << r.err.constData();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
        return QJsonDocument::fromJson(r.out);
    }
};

} // namespace

TEST_F(PackInspect, DumpDecodesEveryAnswerKind)
{
    PuzzleDataFile f;
    f.statement = "{\\rtf1\\ansi{\\fonttbl{\\f0 Comic;}}\\f0 \\'cc\\'ee\\'f1\\'f2 \\b big\\b0\\par two}";
    f.solution = "{\\rtf1 Answer \\{x\\}}";
    f.kind = AnswerChoice;
    f.answer = AnswerValue::fromText(QStringLiteral("Мост"));
    f.lines = QStringList{QStringLiteral("Что?"), QStringLiteral("Мост")};
    QJsonObject o = dump(f).object();
    EXPECT_EQ(o["kind"].toInt(), 3);
    EXPECT_EQ(o["answer"].toString(), QStringLiteral("Мост"));
    EXPECT_EQ(o["answer_hex"].toString().size(), 64);
    EXPECT_TRUE(o["answer_hex"].toString().startsWith("04cceef1f2000000"));
    EXPECT_EQ(o["lines"].toArray().at(1).toString(), QStringLiteral("Мост"));
    EXPECT_EQ(o["statement_bytes"].toInt(), f.statement.size());
    EXPECT_EQ(o["solution_bytes"].toInt(), f.solution.size());
    EXPECT_EQ(o["statement_text"].toString(), QStringLiteral("Мост big\ntwo"));
    EXPECT_EQ(o["solution_text"].toString(), QStringLiteral("Answer {x}"));
    EXPECT_EQ(o["hints"].toArray(), QJsonArray());
    EXPECT_FALSE(o["hints_damaged"].toBool());

    f.hints = {"{\\rtf1 Look \\b left\\b0 .}", "{\\rtf1\\ansi \\'c4\\'e0}"};
    o = dump(f).object();
    EXPECT_EQ(o["hints"].toArray(), QJsonArray({QStringLiteral("Look left."), QStringLiteral("Да")}));
    EXPECT_FALSE(o["hints_damaged"].toBool());
    f.hints.clear();

    f.kind = AnswerInteger;
    f.answer = AnswerValue::fromInteger(-5);
    EXPECT_EQ(dump(f).object()["answer"].toInt(), -5);

    f.kind = AnswerTime;
    f.answer = AnswerValue::fromTime(1, 30, 0);
    o = dump(f).object()["answer"].toObject();
    EXPECT_EQ(o["time"].toString(), QStringLiteral("1:30:00"));
    EXPECT_EQ(o["value"].toDouble(), 0.0625);

    f.kind = AnswerNumbers;
    f.answer = AnswerValue::fromNumbers({5, 7, 9});
    o = dump(f).object()["answer"].toObject();
    EXPECT_EQ(o["count"].toInt(), 3);
    EXPECT_EQ(o["numbers"].toArray(), QJsonArray({5, 7, 9}));

    f.kind = 9;
    EXPECT_TRUE(dump(f).object()["answer"].isNull());
}

// The texts come through the game's own reader, so a listing says what a player reads.
TEST_F(PackInspect, DumpGivesTheTextsAsTheGameReadsThem)
{
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    dot.save(&buffer, "PNG");
    const struct {
        QByteArray stored;
        QString text;
    } cases[] = {
        {"{\\rtf1 a\\line b\\tab c\\par\\par}", QStringLiteral("a\nb\tc")},
        {"{\\rtf1\\uc1 \\u1071?x}", QStringLiteral("Яx")},
        {"{\\rtf1 {\\*\\unknowndest gone}seen {\\v secret}shown}", QStringLiteral("seen shown")},
        {"{\\rtf1 a\\emdash b\\~c}", QStringLiteral("a\u2014b c")},
        {"{\\rtf1 x{\\pict\\pngblip " + png.toHex() + "}y}", QStringLiteral("xy")},
        {"\xcf\xf0\xe8\xe2\xe5\xf2 {x}", QStringLiteral("Привет {x}")}, // not rich text: as it stands
        {"", QString()},
    };
    PuzzleDataFile f;
    f.lines = QStringList{QStringLiteral("?")};
    for (const auto &c : cases) {
        f.statement = c.stored;
        EXPECT_EQ(dump(f).object()["statement_text"].toString(), c.text) << c.stored.constData();
    }

    // A text the game cannot read is an empty page there; the dump says why.
    f.statement = "{\\rtf1 " + QByteArray(300, '{') + "deep}";
    testfiles::write(dir.filePath("deep.dat"), encodeDataFile(f));
    const PackRun r = pack({"dump", dir.filePath("deep.dat")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(QJsonDocument::fromJson(r.out).object()["statement_text"].toString().isEmpty());
    EXPECT_TRUE(r.err.startsWith("statement_text: RTF groups are nested deeper")) << r.err.constData();
}

TEST_F(PackInspect, DumpRefusesWhatTheGameRefuses)
{
    testfiles::write(dir.filePath("bad.dat"), "X");
    PackRun r = pack({"dump", dir.filePath("bad.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("Bad format of the text file %1 for the problem id - 0")
                                   .arg(dir.filePath("bad.dat"))
                                   .toUtf8());
    r = pack({"dump", dir.filePath("none.dat")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith("Can not open the text file"));
    EXPECT_EQ(pack({"dump"}).code, 2);
}

TEST_F(PackInspect, ListPrintsTheCatalogueInOrderOrTheLoadError)
{
    testfiles::write(dir.filePath("list.lst"),
                     "[30]\nDifficult=2\nName=\xCC\xEE\xF1\xF2\nImageFN=a.jpg\nDataFN=a.dat\n"
                     "[4]\nDifficult=0\nName=b\nImageFN=b.jpg\nDataFN=sub\\b.dat\n");
    PackRun r = pack({"list", dir.path()});
    ASSERT_EQ(r.code, 0) << r.err.constData();
    const QJsonArray a = QJsonDocument::fromJson(r.out).array();
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a[0].toObject()["id"].toInt(), 30);
    EXPECT_EQ(a[0].toObject()["difficult"].toInt(), 2);
    EXPECT_EQ(a[0].toObject()["name"].toString(), QStringLiteral("Мост"));
    EXPECT_EQ(a[0].toObject()["image"].toString(), dir.path() + "/Images/a.jpg");
    EXPECT_EQ(a[1].toObject()["data"].toString(), dir.path() + "/Data/sub/b.dat");

    testfiles::write(dir.filePath("list.lst"), "[12]\nDifficult=1\nName=x\n");
    r = pack({"list", dir.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("В задача с Id - 12, отсутствуют некоторые поля.").toUtf8());
}
