// The hint block after the solution: written by encodeDataFile, read by
// LoadData. Older readers stop at the solution; a damaged block never costs
// the rest of the puzzle.
#include "core/DataFile.h"
#include "core/HintBlock.h"
#include "core/Problem.h"
#include "qt_printers.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace
{

PuzzleDataFile base()
{
    PuzzleDataFile f;
    f.statement = "{\\rtf1 Statement}";
    f.kind = AnswerNumbers;
    f.answer = AnswerValue::fromNumbers({5, 7, 9});
    f.lines = QStringList{QStringLiteral("Какие числа?"), QStringLiteral("А"), QStringLiteral("Б"),
                          QStringLiteral("В")};
    f.solution = "{\\rtf1 Solution}";
    return f;
}

const QList<QByteArray> kThree{"{\\rtf1 one}", "{\\rtf1 two}", "{\\rtf1 three}"};

QByteArray int32(std::int32_t v)
{
    QByteArray out(4, '\0');
    qToLittleEndian(v, out.data());
    return out;
}

// A hint block by hand: the declared length, the count byte and the entries as given.
QByteArray block(std::int32_t declared, int count, const QByteArray &entries)
{
    return QByteArray(HintBlockTag, HintBlockTagSize) + int32(declared) + QByteArray(1, char(count)) +
           entries;
}

QByteArray entry(const QByteArray &text)
{
    return int32(std::int32_t(text.size())) + text;
}

void expectSameOlderFields(const TProblem &p, const PuzzleDataFile &f)
{
    EXPECT_TRUE(p.Loaded);
    EXPECT_EQ(p.StatementText, f.statement);
    EXPECT_EQ(p.AnswerKind, f.kind);
    EXPECT_EQ(p.AnswerData, f.answer);
    EXPECT_EQ(p.Lines, f.lines);
    EXPECT_EQ(p.SolutionText, f.solution);
}

} // namespace

// A reader that stops at the end of the solution, as every earlier build does,
// sees the same bytes whether or not hints follow, so it loads the same puzzle.
TEST(HintBlock, OlderFieldsReadTheSameWithHints)
{
    PuzzleDataFile with = base();
    with.hints = kThree;
    const QByteArray plain = encodeDataFile(base());
    const QByteArray hinted = encodeDataFile(with);
    ASSERT_GT(hinted.size(), plain.size());
    EXPECT_TRUE(hinted.startsWith(plain));

    TProblem a(1, 0, QString(), QString(), QStringLiteral("a.dat"));
    a.LoadDataFromBytes(plain);
    expectSameOlderFields(a, base());
    EXPECT_TRUE(a.Hints.isEmpty());
    EXPECT_FALSE(a.HintsDamaged);

    TProblem b(1, 0, QString(), QString(), QStringLiteral("b.dat"));
    b.LoadDataFromBytes(hinted);
    expectSameOlderFields(b, base());
    EXPECT_EQ(b.Hints, kThree);
    EXPECT_FALSE(b.HintsDamaged);

    b.UnloadData();
    EXPECT_TRUE(b.Hints.isEmpty());
}

TEST(HintBlock, WriterKeepsWithinTheBlock)
{
    const QByteArray huge(MaxHintBlockSize, 'x');
    const struct {
        const char *what;
        QList<QByteArray> given, kept;
    } cases[] = {
        {"no hints, no block", {}, {}},
        {"a fourth hint is left out", kThree + QList<QByteArray>{"{\\rtf1 four}"}, kThree},
        {"one past the size ends the list there", {kThree[0], huge, kThree[2]}, {kThree[0]}},
        {"empty texts are kept in place", {"", kThree[1]}, {"", kThree[1]}},
    };
    for (const auto &c : cases) {
        PuzzleDataFile f = base();
        f.hints = c.given;
        const QByteArray bytes = encodeDataFile(f);
        TProblem p(1, 0, QString(), QString(), QStringLiteral("p.dat"));
        p.LoadDataFromBytes(bytes);
        EXPECT_EQ(p.Hints, c.kept) << c.what;
        EXPECT_FALSE(p.HintsDamaged) << c.what;
        if (c.kept.isEmpty()) {
            EXPECT_EQ(bytes, encodeDataFile(base())) << c.what;
        }
    }
}

struct DamagedCase {
    const char *what;
    QByteArray tail; // after the solution
    QList<QByteArray> hints;
    bool damaged;
};

class HintBlockTail : public ::testing::TestWithParam<DamagedCase>
{
};

TEST_P(HintBlockTail, LoadsThePuzzleAndWhatHintsItCan)
{
    const DamagedCase &c = GetParam();
    TProblem p(1, 0, QString(), QString(), QStringLiteral("p.dat"));
    ASSERT_NO_THROW(p.LoadDataFromBytes(encodeDataFile(base()) + c.tail));
    expectSameOlderFields(p, base());
    EXPECT_EQ(p.Hints, c.hints);
    EXPECT_EQ(p.HintsDamaged, c.damaged);
}

const QByteArray kEntries = entry(kThree[0]) + entry(kThree[1]);
const qsizetype kBody = 1 + kEntries.size();

INSTANTIATE_TEST_SUITE_P(
    Tails, HintBlockTail,
    ::testing::Values(
        DamagedCase{"sound block", block(kBody, 2, kEntries), {kThree[0], kThree[1]}, false},
        DamagedCase{"room left inside the block and bytes after it",
                    block(kBody + 3, 2, kEntries) + "abcXYZ",
                    {kThree[0], kThree[1]},
                    false},
        DamagedCase{"other bytes after the solution are not a block", "trailing", {}, false},
        DamagedCase{"cut inside the tag", QByteArray(HintBlockTag, 2), {}, true},
        DamagedCase{"cut inside the length", QByteArray(HintBlockTag, HintBlockTagSize) + "\x05", {}, true},
        DamagedCase{"no count byte", QByteArray(HintBlockTag, HintBlockTagSize) + int32(0), {}, true},
        DamagedCase{"cut inside the second hint", block(kBody, 2, kEntries).chopped(2), {kThree[0]}, true},
        DamagedCase{
            "negative length keeps what is there", block(-1, 2, kEntries), {kThree[0], kThree[1]}, true},
        DamagedCase{
            "length past the limit", block(MaxHintBlockSize + 1, 2, kEntries), {kThree[0], kThree[1]}, true},
        DamagedCase{"length shorter than the hints", block(kBody - 1, 2, kEntries), {kThree[0]}, true},
        DamagedCase{"count above three reads three",
                    block(1 + 4 * 5, 200, entry("a") + entry("b") + entry("c") + entry("d")),
                    {"a", "b", "c"},
                    true},
        DamagedCase{
            "negative hint length", block(kBody, 2, entry(kThree[0]) + int32(-5) + "x"), {kThree[0]}, true},
        DamagedCase{
            "hint length past the block",
            block(kBody, 2, entry(kThree[0]) + int32(std::numeric_limits<std::int32_t>::max()) + kThree[1]),
            {kThree[0]},
            true},
        DamagedCase{"read no further than the limit, whatever the length says",
                    block(MaxHintBlockSize + 9, 2, entry("ok") + entry(QByteArray(MaxHintBlockSize, 'x'))),
                    {"ok"},
                    true}));
