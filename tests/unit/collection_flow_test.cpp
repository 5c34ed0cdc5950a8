// The collection's flow without a window: a scripted screen over real catalogue files.
#include "ScriptedReplies.h"
#include "TestFiles.h"
#include "core/CollectionFlow.h"
#include "core/DataFile.h"

#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>

namespace
{

class FakeCollectionScreen : public ICollectionPresentation
{
  public:
    QStringList calls;
    std::deque<Reply> askReplies;                 // yes when empty
    AnswerVerdict verdict = AnswerVerdict::Right; // what the player enters next
    CollectionView view;

    void PlayClick() override {}
    void ShowTrueAnswer() override { calls << QStringLiteral("ShowTrueAnswer"); }
    void ShowFalseAnswer() override { calls << QStringLiteral("ShowFalseAnswer"); }
    Reply Ask(const QString &text) override
    {
        calls << QStringLiteral("Ask ") + text;
        return testscript::nextReply(askReplies);
    }
    void ShowCatalogueError() override { calls << QStringLiteral("ShowCatalogueError"); }
    void ReportError(const QString &) override { calls << QStringLiteral("ReportError"); }
    EnteredAnswer RunAnswerDialog(TProblem &item) override
    {
        calls << QStringLiteral("AnswerDialog %1").arg(item.Id);
        return testscript::enter(item, verdict);
    }
    void RunAnswerViewer(const QByteArray &solution) override
    {
        calls << QStringLiteral("AnswerViewer ") + solution;
    }
    void CloseScreen() override { calls << QStringLiteral("CloseScreen"); }
    void ShowView(const CollectionView &v) override { view = v; }
};

// Keeps the marks as the settings file would, and counts the writes.
class KeptStars : public IStarStore
{
  public:
    QStringList words;
    int saves = 0;
    TStars LoadStars() override { return TStars::FromWords(words); }
    bool SaveStars(const TStars &stars) override
    {
        words = stars.ToWords();
        ++saves;
        return true;
    }
};

class CollectionFlow : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    TCatalogue catalogue{dir.path()};
    TProblemListModel problems;
    FakeCollectionScreen screen;
    KeptStars kept;
    TCollectionFlow flow{catalogue, problems, screen, &kept};

    // Two puzzles; the second one's data file is missing when readable is false.
    void writeCatalogue(bool readable = true)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("Data")));
        testfiles::write(dir.filePath(QStringLiteral("Images/p.jpg")), testfiles::jpeg());
        PuzzleDataFile f;
        f.kind = AnswerInteger;
        f.solution = "{\\rtf1 solution}";
        f.hints = {"{\\rtf1 first}", "{\\rtf1 second}"};
        testfiles::write(dir.filePath(QStringLiteral("Data/1.dat")), encodeDataFile(f));
        f.hints.clear();
        if (readable)
            testfiles::write(dir.filePath(QStringLiteral("Data/2.dat")), encodeDataFile(f));
        testfiles::write(
            dir.filePath(QStringLiteral("list.lst")),
            encodeCatalogue(
                {{1, 0, QStringLiteral("Один"), QStringLiteral("p.jpg"), QStringLiteral("1.dat")},
                 {2, 2, QStringLiteral("Два"), QStringLiteral("p.jpg"), QStringLiteral("2.dat")}}));
    }
};

} // namespace

TEST_F(CollectionFlow, DecideAnswerAndBackWalkTheModes)
{
    writeCatalogue();
    ASSERT_TRUE(flow.Start());
    EXPECT_EQ(problems.Count(), 2);
    EXPECT_FALSE(problems.ShowsProgress());
    EXPECT_EQ(screen.view, (CollectionView{false, true, true, 0, false, 2, 2, {}}));

    struct Step {
        void (TCollectionFlow::*operation)();
        AnswerVerdict verdict;
        bool textModeAfter;
        QStringList calls;
    };
    const QString dialog = QStringLiteral("AnswerDialog 1");
    const Step steps[] = {
        {&TCollectionFlow::Decide, AnswerVerdict::Right, true, {}},
        {&TCollectionFlow::Decide, AnswerVerdict::Wrong, true, {dialog, QStringLiteral("ShowFalseAnswer")}},
        {&TCollectionFlow::Decide, AnswerVerdict::Cancelled, true, {dialog}},
        {&TCollectionFlow::Decide, AnswerVerdict::Right, false, {dialog, QStringLiteral("ShowTrueAnswer")}},
        {&TCollectionFlow::Decide, AnswerVerdict::Right, true, {}},
        {&TCollectionFlow::ViewSolution,
         AnswerVerdict::Right,
         true,
         {QStringLiteral("AnswerViewer {\\rtf1 solution}")}},
        {&TCollectionFlow::Back, AnswerVerdict::Right, false, {}},
        {&TCollectionFlow::Back, AnswerVerdict::Right, false, {QStringLiteral("CloseScreen")}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(screen.calls.size());
        screen.calls.clear();
        screen.verdict = step.verdict;
        (flow.*step.operation)();
        EXPECT_EQ(screen.calls, step.calls);
        EXPECT_EQ(flow.TextMode(), step.textModeAfter);
        EXPECT_EQ(screen.view.textMode, step.textModeAfter);
    }

    screen.calls.clear();
    screen.askReplies = {Reply::No};
    EXPECT_FALSE(flow.CloseQuery());
    EXPECT_TRUE(flow.CloseQuery());
    EXPECT_EQ(screen.calls.size(), 2);
    flow.End();
    EXPECT_EQ(catalogue.Count(), 0);
}

TEST_F(CollectionFlow, ACatalogueThatCannotLoadClosesWithoutTheQuestion)
{
    EXPECT_FALSE(flow.Start());
    EXPECT_EQ(screen.calls, QStringList{QStringLiteral("ShowCatalogueError")});
    EXPECT_TRUE(flow.CloseQuery());
    EXPECT_EQ(screen.calls.size(), 1);
}

TEST_F(CollectionFlow, APuzzleThatCannotBeReadStaysChosenAndIsReadAgainForItsTextAndSolution)
{
    writeCatalogue(false);
    ASSERT_TRUE(flow.Start());
    problems.Select(0);
    EXPECT_ANY_THROW(problems.Select(1));
    flow.Refresh();
    // The unreadable puzzle stays chosen; it has no hints to offer.
    EXPECT_EQ(screen.view, (CollectionView{false, true, false, 0, false, 2, 2, {}}));
    // Still unreadable: the error goes up, and neither a viewer nor an empty text opens.
    EXPECT_ANY_THROW(flow.ViewSolution());
    EXPECT_ANY_THROW(flow.Decide());
    EXPECT_FALSE(flow.TextMode());
    EXPECT_TRUE(screen.calls.isEmpty());

    // Readable again: the text shows what the file says.
    writeCatalogue(true);
    flow.Decide();
    EXPECT_TRUE(flow.TextMode());
    EXPECT_TRUE(problems.Selected()->Loaded);
}

// Free hints, one more a press, kept for the puzzle until another is chosen.
TEST_F(CollectionFlow, HintsShowOneAtATimeFreeUntilAnotherPuzzleIsChosen)
{
    writeCatalogue();
    ASSERT_TRUE(flow.Start());
    EXPECT_TRUE(screen.view.hintEnabled);
    flow.ShowHint(); // from the list: the text opens with the first hint
    EXPECT_TRUE(screen.view.textMode);
    EXPECT_EQ(screen.view.hintsShown, 1);
    flow.Back();
    flow.SetTextMode(true);
    EXPECT_EQ(screen.view.hintsShown, 1); // still there in the text
    flow.ShowHint();
    EXPECT_EQ(screen.view.hintsShown, 2);
    EXPECT_FALSE(screen.view.hintEnabled);
    flow.ShowHint(); // none left: nothing more
    EXPECT_EQ(screen.view.hintsShown, 2);
    EXPECT_TRUE(screen.calls.filter(QStringLiteral("Ask")).isEmpty());

    flow.Back();
    problems.Select(1); // a puzzle without hints
    flow.Refresh();
    EXPECT_EQ(screen.view.hintsShown, 0);
    EXPECT_FALSE(screen.view.hintEnabled);
    problems.Select(0); // back to the first: its hints start hidden again
    flow.Refresh();
    EXPECT_EQ(screen.view.hintsShown, 0);
    EXPECT_TRUE(screen.view.hintEnabled);
}

TEST_F(CollectionFlow, TheFilterKeepsTheSelectionOnAShownPuzzle)
{
    // Four puzzles: 1 easy «Один», 2 hard «Два», 3 hard «Три», 4 easy «Ёлка» (choice).
    QDir().mkpath(dir.filePath(QStringLiteral("Data")));
    testfiles::write(dir.filePath(QStringLiteral("Images/p.jpg")), testfiles::jpeg());
    PuzzleDataFile f;
    f.kind = AnswerInteger;
    testfiles::write(dir.filePath(QStringLiteral("Data/n.dat")), encodeDataFile(f));
    f.kind = AnswerChoice;
    testfiles::write(dir.filePath(QStringLiteral("Data/c.dat")), encodeDataFile(f));
    const QString jpg = QStringLiteral("p.jpg"), n = QStringLiteral("n.dat");
    testfiles::write(dir.filePath(QStringLiteral("list.lst")),
                     encodeCatalogue({{1, 0, QStringLiteral("Один"), jpg, n},
                                      {2, 2, QStringLiteral("Два"), jpg, n},
                                      {3, 2, QStringLiteral("Три"), jpg, n},
                                      {4, 0, QStringLiteral("Ёлка"), jpg, QStringLiteral("c.dat")}}));
    kept.words = {QStringLiteral("3"), QStringLiteral("junk"), QStringLiteral("77")};
    ASSERT_TRUE(flow.Start());
    ASSERT_EQ(problems.Selected()->Id, 1);
    auto selectedId = [&] { return problems.Selected() ? int(problems.Selected()->Id) : -1; };

    struct Step {
        const char *what;
        ProblemFilter filter;
        bool textModeBefore;
        int selectedBefore; // position among those shown, -1 to leave it
        int selectedAfter;  // id, -1 for none
        int shown;
    };
    const Step steps[] = {
        {"the selection shown stays", {1u << 0, 0, {}, false}, false, -1, 1, 2},
        {"a hidden selection goes to the first shown", {1u << 2, 0, {}, false}, false, -1, 2, 2},
        {"a filter that keeps the second keeps it", {0, 0, QStringLiteral("т"), false}, false, 1, 3, 1},
        {"an empty result selects none", {0, 0, QStringLiteral("жираф"), false}, false, -1, -1, 0},
        {"from none to the first shown", {0, 0, QStringLiteral("ЕЛ"), false}, false, -1, 4, 1},
        {"answer kinds come from the data files", {0, 1u << AnswerInteger, {}, false}, false, -1, 1, 3},
        {"a text of a hidden puzzle goes back to the list",
         {0, 1u << AnswerChoice, {}, false},
         true,
         -1,
         4,
         1},
        {"marked only: marks as stored, junk skipped", {0, 0, {}, true}, false, -1, 3, 1},
        {"clearing keeps the selection where it is", {}, false, -1, 3, 4},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        if (step.selectedBefore >= 0)
            problems.Select(step.selectedBefore);
        if (step.textModeBefore)
            flow.SetTextMode(true);
        flow.SetFilter(step.filter);
        EXPECT_EQ(selectedId(), step.selectedAfter);
        EXPECT_EQ(screen.view.shown, step.shown);
        EXPECT_EQ(screen.view.total, 4);
        EXPECT_EQ(screen.view.hasSelection, step.selectedAfter >= 0);
        EXPECT_FALSE(flow.TextMode());
        if (step.selectedAfter >= 0) {
            EXPECT_EQ(problems.At(problems.SelectedIndex())->Id, step.selectedAfter);
        }
    }

    // With nothing shown, nothing needs a selection.
    flow.SetFilter({0, 0, QStringLiteral("жираф"), false});
    screen.calls.clear();
    flow.Decide();
    flow.Decide();
    flow.ViewSolution();
    flow.ToggleStar();
    EXPECT_EQ(screen.calls, QStringList());
    EXPECT_EQ(kept.saves, 0);
}

TEST_F(CollectionFlow, AStarIsKeptAtOnceAndMarkedOnlyFollowsIt)
{
    writeCatalogue();
    ASSERT_TRUE(flow.Start());
    flow.ToggleStar();
    EXPECT_EQ(kept.words, QStringList{QStringLiteral("1")});
    EXPECT_TRUE(screen.view.selectedStarred);
    EXPECT_TRUE(problems.Starred(0));
    EXPECT_FALSE(problems.Starred(1));

    // Taking the mark off the one puzzle shown, in its text, leaves nothing to show.
    flow.SetFilter({0, 0, {}, true});
    EXPECT_EQ(screen.view.shown, 1);
    flow.SetTextMode(true);
    flow.ToggleStar();
    EXPECT_EQ(kept.words, QStringList());
    EXPECT_EQ(kept.saves, 2);
    EXPECT_EQ(screen.view.shown, 0);
    EXPECT_FALSE(screen.view.hasSelection);
    EXPECT_FALSE(flow.TextMode());
}
