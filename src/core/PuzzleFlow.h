#pragma once
// What the game's rules and the collection's flow share: the model of the
// puzzles on offer, the list/text mode, going back and the operations a
// puzzle screen's buttons, keys and list choices run.
#include "core/MemoBook.h"
#include "core/ProblemListModel.h"
#include "core/PuzzleScreen.h"

class TPuzzleFlow
{
  public:
    TPuzzleFlow(TProblemListModel &problems, IPuzzleScreen &screen) : problems_(problems), screen_(screen) {}
    virtual ~TPuzzleFlow() = default;
    TPuzzleFlow(const TPuzzleFlow &) = delete;
    TPuzzleFlow &operator=(const TPuzzleFlow &) = delete;

    // With a puzzle selected: sets the mode and shows it (reading a puzzle that
    // failed to load again first). Without one: nothing.
    void SetTextMode(bool on);
    bool TextMode() const { return textMode_; }
    // Text mode: back to the list. List mode: the screen is asked to close.
    void Back();

    // List mode: opens the text. Text mode: the answer dialog.
    virtual void Decide() = 0;
    // The selected puzzle's solution, at the flow's price.
    virtual void ViewSolution() = 0;
    // The selected puzzle's next hint, at the flow's price, shown in the text.
    virtual void ShowHint() = 0;
    // Recomputes what the screen shows and shows it; also after the player
    // has chosen a row of the model.
    virtual void Refresh() = 0;
    // The leave question (and what must happen before leaving); true lets the screen close.
    virtual bool CloseQuery() = 0;
    // After the screen has agreed to close.
    virtual void End() = 0;

    // The memos on the puzzles' pictures: the collection's last for the run.
    TMemoBook &Memos() { return *memos_; }

  protected:
    void SetMemos(TMemoBook &book) { memos_ = &book; }
    // Drops the puzzle's memo once it has served: a failed removal only leaves
    // the note behind, so it never stops what the player did.
    void ForgetMemo(ProblemId id) noexcept;

    // Selects the first puzzle; one that cannot be read stays selected and its
    // error goes to the screen's report. Then the screen is refreshed.
    void SelectFirst();

    TProblemListModel &problems_;
    IPuzzleScreen &screen_;
    bool textMode_ = false;

  private:
    // Without a book of the run's, the flow keeps memos for its own life.
    TMemoBook ownMemos_;
    TMemoBook *memos_ = &ownMemos_;
};
