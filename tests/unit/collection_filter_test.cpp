// The collection's filter: the index that answers which puzzles a filter
// shows, the «★» marks as the settings file keeps them, the model's view of
// the shown puzzles and the flow that keeps the selection on one of them.
#include "ScriptedReplies.h"
#include "TestFiles.h"
#include "core/CollectionFlow.h"
#include "core/DataFile.h"
#include "core/ProblemFilter.h"
#include "core/Stars.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

std::uint8_t grades(std::initializer_list<Difficulty> list)
{
    std::uint8_t bits = 0;
    for (Difficulty d : list)
        bits |= std::uint8_t(1u << indexOf(d));
    return bits;
}

std::uint8_t kinds(std::initializer_list<AnswerKindCode> list)
{
    std::uint8_t bits = 0;
    for (AnswerKindCode k : list)
        bits |= std::uint8_t(1u << k);
    return bits;
}

TStars starred(std::initializer_list<int> ids)
{
    QStringList words;
    for (int id : ids)
        words << QString::number(id);
    return TStars::FromWords(words);
}

} // namespace

TEST(ProblemIndex, ShowsWhatEachFilterLetsThrough)
{
    // id, grade as stored, title, answer kind (-1: unknown)
    struct Record {
        ProblemId id;
        std::uint8_t grade;
        const char *title;
        int kind;
    };
    const Record records[] = {
        {10, 0, "Ёжик в тумане", AnswerInteger},      {11, 1, "Зелёный ЁЖ", AnswerText},
        {12, 2, "Часы на башне", AnswerTime},         {13, 2, "Ещё одна задача", AnswerChoice},
        {14, 7, "Странная сложность", AnswerNumbers}, {15, 0, "Ежевика", -1},
    };
    std::vector<std::unique_ptr<TProblem>> owned;
    std::vector<const TProblem *> pointers;
    for (const Record &r : records) {
        owned.push_back(
            std::make_unique<TProblem>(r.id, r.grade, QString::fromUtf8(r.title), QString(), QString()));
        pointers.push_back(owned.back().get());
    }
    TProblemIndex index;
    index.Assign(pointers);
    for (int i = 0; i < index.Count(); ++i)
        index.SetKind(i, records[i].kind < 0 ? std::nullopt : std::optional<std::uint8_t>(records[i].kind));
    const TStars stars = starred({11, 13, 999});

    struct Row {
        const char *what;
        ProblemFilter filter;
        std::vector<int> shown;
    };
    const Row rows[] = {
        {"no filter: every puzzle, unknown grade and kind too", {}, {0, 1, 2, 3, 4, 5}},
        {"ё and е, any case, typed or stored", {0, 0, QStringLiteral("еж"), false}, {0, 1, 5}},
        {"ё typed finds е stored", {0, 0, QStringLiteral("ЁЖЕВ"), false}, {5}},
        {"a piece inside the title", {0, 0, QStringLiteral("на баш"), false}, {2}},
        {"blanks around the text are no part of it", {0, 0, QStringLiteral("  часы "), false}, {2}},
        {"only blanks: any title", {0, 0, QStringLiteral("   "), false}, {0, 1, 2, 3, 4, 5}},
        {"nothing matches", {0, 0, QStringLiteral("жираф"), false}, {}},
        {"one grade; an unknown grade is never one", {grades({Difficulty::Hard}), 0, {}, false}, {2, 3}},
        {"two grades", {grades({Difficulty::Easy, Difficulty::Medium}), 0, {}, false}, {0, 1, 5}},
        {"a kind; an unknown kind is never one",
         {0, kinds({AnswerInteger, AnswerNumbers}), {}, false},
         {0, 4}},
        {"marked only; a mark of a puzzle not held shows nothing", {0, 0, {}, true}, {1, 3}},
        {"everything at once",
         {grades({Difficulty::Medium, Difficulty::Hard}), kinds({AnswerText}), QStringLiteral("ЗЕЛ"), true},
         {1}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(index.Shown(row.filter, stars), row.shown);
        EXPECT_EQ(row.filter.IsEmpty(), row.shown.size() == 6);
    }
}

TEST(ProblemIndex, ReadsAnswerKindsFromTheDataFilesAndSkipsWhatCannotBeRead)
{
    QTemporaryDir dir;
    PuzzleDataFile file;
    file.statement = "{\\rtf1 text}";
    file.kind = AnswerChoice;
    const QByteArray good = encodeDataFile(file);
    file.kind = 9;
    const QByteArray unknownKind = encodeDataFile(file);
    QByteArray hugeLength = good;
    hugeLength[4] = char(0x7f); // the statement's length past the file

    struct Row {
        const char *what;
        QByteArray bytes; // empty: no file at all
        std::optional<std::uint8_t> kind;
    };
    const Row rows[] = {
        {"a sound file", good, AnswerChoice},
        {"the file ends at the statement", good.left(good.indexOf("}") + 1), std::nullopt},
        {"not a data file", QByteArray("PK\x03\x04 and more"), std::nullopt},
        {"a kind no answer has", unknownKind, std::nullopt},
        {"a length past the end", hugeLength, std::nullopt},
        {"missing", QByteArray(), std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const QString path = dir.filePath(QString::fromUtf8(row.what) + QStringLiteral(".dat"));
        if (!row.bytes.isEmpty())
            testfiles::write(path, row.bytes);
        EXPECT_EQ(problemfilter::readAnswerKind(path), row.kind);
    }
    // A FIFO in a data file's place must not hold the game up.
    const QString fifo = dir.filePath(QStringLiteral("fifo.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(problemfilter::readAnswerKind(fifo), std::nullopt);
}

TEST(Stars, KeepTheIdsOfTheStoredListAndSkipJunk)
{
    struct Row {
        const char *what;
        QStringList words;
        std::vector<ProblemId> ids;
    };
    const Row rows[] = {
        {"plain", {"3", "17", "40"}, {3, 17, 40}},
        {"blanks around", {" 3 ", "\t17"}, {3, 17}},
        {"junk between", {"3", "abc", "", "-4", "+5", "1e3", "0x10", "4 5", "17"}, {3, 17}},
        {"past 16 bits", {"65535", "65536", "999999", "000000000007"}, {65535}},
        {"repeats count once", {"8", "8", "08"}, {8}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const TStars stars = TStars::FromWords(row.words);
        EXPECT_EQ(stars.Ids(), row.ids);
        EXPECT_EQ(TStars::FromWords(stars.ToWords()).Ids(), row.ids);
    }

    QStringList many;
    for (int i = 0; i < TStars::MaxStars + 10; ++i)
        many << QString::number(i);
    TStars stars = TStars::FromWords(many);
    ASSERT_EQ(stars.Count(), TStars::MaxStars);
    EXPECT_FALSE(stars.Contains(TStars::MaxStars));
    // One more mark pushes out the oldest; taking one off frees its place.
    EXPECT_TRUE(stars.Toggle(60000));
    EXPECT_EQ(stars.Count(), TStars::MaxStars);
    EXPECT_FALSE(stars.Contains(0));
    EXPECT_FALSE(stars.Toggle(60000));
    EXPECT_FALSE(stars.Contains(60000));
    EXPECT_EQ(stars.Count(), TStars::MaxStars - 1);
}

TEST(ProblemListModel, PositionsCountTheShownPuzzles)
{
    TProblemListModel model;
    for (ProblemId id : {1, 2, 3, 4})
        model.Add(TProblem(id, 0, QStringLiteral("p%1").arg(id), QStringLiteral("/none.jpg"),
                           QStringLiteral("/none.dat")));
    model.SetShown({3, 1, 9, -1, 1}); // out of range and repeats are dropped, the order is the model's
    ASSERT_EQ(model.Count(), 2);
    EXPECT_EQ(model.At(0)->Id, 2);
    EXPECT_EQ(model.At(1)->Id, 4);
    EXPECT_EQ(model.At(2), nullptr);
    EXPECT_EQ(model.TotalCount(), 4);

    EXPECT_THROW(model.Select(1), std::exception); // no files: the error goes up, the choice stays
    EXPECT_EQ(model.Selected()->Id, 4);
    EXPECT_EQ(model.SelectedIndex(), 1);
    model.SetShown({0, 1});
    EXPECT_EQ(model.Selected()->Id, 4);
    EXPECT_EQ(model.SelectedIndex(), -1);
    model.ShowAll();
    EXPECT_EQ(model.Count(), 4);
    EXPECT_EQ(model.SelectedIndex(), 3);
    model.ClearSelection();
    EXPECT_EQ(model.Selected(), nullptr);
    EXPECT_EQ(model.SelectedIndex(), -1);
}
