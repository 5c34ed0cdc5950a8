#pragma once
// The collection's flow: every puzzle of the catalogue to browse, answer any
// number of times and read the solution of, with no player and nothing saved.
// It reaches its screen only through ICollectionPresentation.
#include "core/Catalogue.h"
#include "core/PuzzleFlow.h"

// What the collection screen shows, recomputed by UpdateView.
struct CollectionView {
    bool textMode = false;
    bool hasSelection = false;
    bool hintEnabled = false;
    int hintsShown = 0;  // the first hints of the selected puzzle the text shows
    bool operator==(const CollectionView &) const = default;
};

class ICollectionPresentation : public virtual IPuzzleScreen {
public:
    // Shows the modes, and the puzzles as the model holds them now.
    virtual void ShowView(const CollectionView &view) = 0;
};

class TCollectionFlow : public TPuzzleFlow {
public:
    TCollectionFlow(TCatalogue &catalogue, TProblemListModel &problems, ICollectionPresentation &screen);

    // Loads the catalogue into the model and selects its first puzzle. False
    // when the catalogue cannot be read: the screen must close at once,
    // without the leave question.
    bool Start();

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

private:
    TCatalogue &catalogue_;
    ICollectionPresentation &view_;
    bool started_ = false;
    int hintsShown_ = 0;
    int hintsFor_ = -1;  // the position of the puzzle they were shown for
};
