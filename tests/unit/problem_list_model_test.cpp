// The puzzles a screen offers: selection moves, loading and its failures, the
// order of names, and progress read from the player's level entries.
#include "TestFiles.h"
#include "core/DataFile.h"
#include "core/ProblemListModel.h"
#include "core/User.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// Puzzles 1..4 named as given; puzzle 3 has no data file, so it cannot be read.
class ProblemListModelTest : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    TProblemListModel model;

    TProblem record(ProblemId id, const QString &name)
    {
        const QString data = dir.filePath(QStringLiteral("%1.dat").arg(id));
        if (id != 3) {
            PuzzleDataFile f;
            f.kind = AnswerInteger;
            f.answer = AnswerValue::fromInteger(id);
            f.statement = "{\\rtf1 s}";
            testfiles::write(data, encodeDataFile(f));
        }
        return TProblem(id, std::uint8_t(id % 3), name, dir.filePath(QStringLiteral("p.jpg")), data);
    }

    void SetUp() override
    {
        testfiles::write(dir.filePath(QStringLiteral("p.jpg")), testfiles::jpeg(4, 4));
        for (const auto &[id, name] : {std::pair{1, "вишня"}, {2, "Арбуз"}, {3, "банан"}, {4, "Банан"}})
            model.Add(record(ProblemId(id), QString::fromUtf8(name)));
    }

    std::vector<ProblemId> ids() const
    {
        std::vector<ProblemId> out;
        for (int i = 0; i < model.Count(); ++i)
            out.push_back(model.At(i)->Id);
        return out;
    }

    int loadedCount() const
    {
        int n = 0;
        for (int i = 0; i < model.Count(); ++i)
            n += model.At(i)->Loaded;
        return n;
    }
};

} // namespace

TEST_F(ProblemListModelTest, SelectionMovesLoadOnlyTheChosenPuzzle)
{
    struct Step {
        int position;
        bool chosen;  // Select's answer
        bool throws;  // the puzzle cannot be read
        int selected; // SelectedIndex after it
        int serialGrowth;
    };
    const Step steps[] = {
        {-1, false, false, -1, 0},                         // outside: nothing
        {1, true, false, 1, 1},    {1, true, false, 1, 1}, // the same one again is read afresh
        {4, false, false, 1, 0},                           // past the end: nothing
        {2, true, true, 2, 1},                             // unreadable: chosen all the same
        {0, true, false, 0, 1},    {3, true, false, 3, 1},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.position);
        const std::uint64_t serial = model.SelectionSerial();
        bool chosen = false;
        if (step.throws)
            EXPECT_ANY_THROW(model.Select(step.position));
        else
            chosen = model.Select(step.position);
        EXPECT_EQ(chosen, step.chosen && !step.throws);
        EXPECT_EQ(model.SelectedIndex(), step.selected);
        EXPECT_EQ(model.SelectionSerial() - serial, std::uint64_t(step.serialGrowth));
        if (step.selected >= 0) {
            EXPECT_EQ(model.Selected(), model.At(step.selected));
        }
        // Only the chosen puzzle holds its data, and none when it could not be read.
        EXPECT_EQ(loadedCount(), model.Selected() && model.Selected()->Id != 3 ? 1 : 0);
    }
    EXPECT_EQ(model.At(4), nullptr);
    EXPECT_EQ(model.Name(-1), QString());

    const std::uint64_t revision = model.Revision();
    model.Clear();
    EXPECT_EQ(model.Count(), 0);
    EXPECT_EQ(model.Selected(), nullptr);
    EXPECT_EQ(model.SelectedIndex(), -1);
    EXPECT_GT(model.Revision(), revision);
}

TEST_F(ProblemListModelTest, SortingKeepsTheSelectionOnItsPuzzle)
{
    model.Select(0); // "вишня"
    model.SetSorted(true);
    // Case-insensitive; equal names keep the order they came in.
    EXPECT_EQ(ids(), (std::vector<ProblemId>{2, 3, 4, 1}));
    EXPECT_EQ(model.Selected()->Id, 1);
    EXPECT_EQ(model.SelectedIndex(), 3);
    model.Add(record(5, QStringLiteral("Абрикос")));
    EXPECT_EQ(model.At(0)->Id, 5);
    EXPECT_EQ(model.SelectedIndex(), 4);
    // Turned off, the order stays; later puzzles go to the end.
    model.SetSorted(false);
    model.Add(record(6, QStringLiteral("Айва")));
    EXPECT_EQ(ids(), (std::vector<ProblemId>{5, 2, 3, 4, 1, 6}));
}

TEST_F(ProblemListModelTest, ProgressIsReadFromTheLevelEntries)
{
    EXPECT_FALSE(model.ShowsProgress());
    EXPECT_EQ(model.Progress(0), LevelEntry{});

    TProblemsList level;
    level.Add(1);
    level.Add(2);
    model.SetLevelEntries(&level);
    EXPECT_TRUE(model.ShowsProgress());
    EXPECT_EQ(model.Progress(1), (LevelEntry{2, 0, 0, 0}));
    // A change to the entry shows at once: the model keeps no copy.
    *level.FindEntry(2) = LevelEntry{2, 1, 1, 3};
    EXPECT_EQ(model.Progress(1), (LevelEntry{2, 1, 1, 3}));
    EXPECT_EQ(model.Progress(*model.At(1)).WrongAnswers, 3);
    // A puzzle with no entry, and a position outside, read as blank.
    EXPECT_EQ(model.Progress(2), LevelEntry{});
    EXPECT_EQ(model.Progress(9), LevelEntry{});
}
