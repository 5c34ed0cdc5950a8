#pragma once
// The collection's flow: every puzzle of the catalogue to browse, answer any
// number of times and read the solution of, with no player and nothing saved
// but the «★» marks. A filter narrows the list; the selection, the keys and
// the answers work on what it shows. It reaches its screen only through
// ICollectionPresentation.
#include "core/Catalogue.h"
#include "core/ProblemFilter.h"
#include "core/PuzzleFlow.h"
#include "core/Stars.h"

// What the collection screen shows, recomputed by UpdateView.
struct CollectionView {
    bool textMode = false;
    bool hasSelection = false;
    bool hintEnabled = false;
    int hintsShown = 0; // the first hints of the selected puzzle the text shows
    bool selectedStarred = false;
    int shown = 0; // puzzles the filter lets through
    int total = 0; // puzzles of the catalogue
    ProblemFilter filter;
    bool operator==(const CollectionView &) const = default;
};

class ICollectionPresentation : public virtual IPuzzleScreen
{
  public:
    // Shows the modes, and the puzzles as the model holds them now.
    virtual void ShowView(const CollectionView &view) = 0;
};

class TCollectionFlow : public TPuzzleFlow
{
  public:
    // stars: where the marks are read at the start and written at each change;
    // null keeps them for this screen only.
    TCollectionFlow(TCatalogue &catalogue, TProblemListModel &problems, ICollectionPresentation &screen,
                    IStarStore *stars = nullptr);

    // Loads the catalogue into the model and selects its first puzzle. False
    // when the catalogue cannot be read: the screen must close at once,
    // without the leave question.
    bool Start();
    // Where the memos are kept: the run's book, so they outlast the screen.
    void KeepMemosIn(TMemoBook &book) { SetMemos(book); }

    // The answer dialog has no player: nothing is scored.
    void Decide() override;
    // Free, any number of times.
    void ViewSolution() override;
    // Free: one more of the selected puzzle's hints, shown in its text. Those
    // shown stay until another puzzle is chosen.
    void ShowHint() override;
    int HintsShown() const;
    void Refresh() override { UpdateView(); }
    CollectionView UpdateView();
    // The leave question, unless the start failed.
    bool CloseQuery() override;
    // Frees the catalogue.
    void End() override;

    // Shows what the filter lets through. A selected puzzle it hides gives
    // the selection to the first one shown (none when nothing is); the text
    // of a hidden puzzle goes back to the list.
    void SetFilter(const ProblemFilter &filter);
    void ClearFilter() { SetFilter(ProblemFilter{}); }
    const ProblemFilter &Filter() const { return filter_; }

    // Marks or unmarks the selected puzzle and keeps the marks; nothing
    // without a selection.
    void ToggleStar();
    const TStars &Stars() const { return stars_; }

  private:
    // Shows the model's selection, or the first puzzle shown when it is hidden.
    void KeepSelectionShown();

    TCatalogue &catalogue_;
    ICollectionPresentation &view_;
    IStarStore *store_;
    TStars stars_;
    TProblemIndex index_;
    ProblemFilter filter_;
    bool started_ = false;
    int hintsShown_ = 0;
    int hintsFor_ = -1; // the position of the puzzle they were shown for
};
