#pragma once
// The collection's flow: every puzzle of the catalogue to browse, answer any
// number of times and read the solution of, with no player and nothing saved.
// It reaches its screen only through ICollectionPresentation.
#include "core/Catalogue.h"
#include "core/ProblemListModel.h"
#include "core/PuzzleScreen.h"

// What the collection screen shows, recomputed by UpdateView.
struct CollectionView {
    bool textMode = false;
    bool hasSelection = false;
    bool operator==(const CollectionView &) const = default;
};

class ICollectionPresentation : public virtual IPuzzleScreen {
public:
    // Shows the modes, and the puzzles as the model holds them now.
    virtual void ShowView(const CollectionView &view) = 0;
};

class TCollectionFlow {
public:
    TCollectionFlow(TCatalogue &catalogue, TProblemListModel &problems, ICollectionPresentation &screen);

    // Loads the catalogue into the model and selects its first puzzle. False
    // when the catalogue cannot be read: the screen must close at once,
    // without the leave question.
    bool Start();

    // With a puzzle selected: sets the mode and shows it. Without one: nothing.
    void SetTextMode(bool on);
    bool TextMode() const { return textMode_; }
    // List mode: opens the text. Text mode: the answer dialog, with no player.
    void Decide();
    // The solution of the selected puzzle, free.
    void ViewSolution();
    // Text mode: back to the list. List mode: closes the screen.
    void Back();
    // After the player has chosen a row of the model.
    void SelectionChanged() { UpdateView(); }
    CollectionView UpdateView();

    // The leave question; true lets the screen close.
    bool CloseQuery();
    // After the screen has agreed to close: frees the catalogue.
    void End();

private:
    TCatalogue &catalogue_;
    TProblemListModel &problems_;
    ICollectionPresentation &screen_;
    bool textMode_ = false;
    bool started_ = false;
};
