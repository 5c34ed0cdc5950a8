#pragma once
// The puzzles a screen offers and the one chosen: it owns its copies of the
// catalogue records, keeps only the selected one loaded and reads the player's
// progress from the level entries, never from a copy. The list control draws
// it; the rules and the collection flow change it.
#include "core/Problem.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QCollator;
class TProblemsList;
class TStars;
struct LevelEntry;

class TProblemListModel
{
  public:
    TProblemListModel();
    ~TProblemListModel();
    TProblemListModel(const TProblemListModel &) = delete;
    TProblemListModel &operator=(const TProblemListModel &) = delete;

    // Frees every puzzle (a loaded one releases its data) and the selection.
    void Clear();
    // Copies the record's header; a sorted model inserts it in name order.
    // Every puzzle is shown again.
    void Add(const TProblem &record);
    // Positions count the puzzles shown: all of them, or those SetShown chose.
    int Count() const { return filtered_ ? int(shown_.size()) : int(items_.size()); }
    // The puzzle at a position, or null outside 0..Count()-1.
    const TProblem *At(int position) const;
    QString Name(int position) const;

    // Every puzzle held, shown or not, in the model's order.
    int TotalCount() const { return int(items_.size()); }
    const TProblem *Record(int index) const;
    // Shows only the puzzles at these indices (of Record, ascending). The
    // selection stays on its puzzle; SelectedIndex is -1 while it is not shown.
    void SetShown(std::vector<int> indices);
    // Shows every puzzle again, in the model's order.
    void ShowAll();
    bool Filtered() const { return filtered_; }
    // Unloads the selected puzzle and selects none.
    void ClearSelection();

    // The player's «★» marks, read whenever asked; null shows none.
    void SetStars(const TStars *stars) { stars_ = stars; }
    bool Starred(int position) const;

    // Keeps the names in the system locale's order, ignoring case; equal names
    // keep the order they came in. Turning it off leaves the order as it is.
    void SetSorted(bool on);
    bool Sorted() const { return sorted_; }

    // The game's progress: the player's level entries, read whenever asked.
    // Null (the collection) shows no progress.
    void SetLevelEntries(const TProblemsList *entries) { entries_ = entries; }
    bool ShowsProgress() const { return entries_ != nullptr; }
    // The entry of the puzzle at a position; a blank one when there is none.
    LevelEntry Progress(int position) const;
    LevelEntry Progress(const TProblem &problem) const;

    // Unloads the previous puzzle and loads the one at the position, also when
    // it is the same one. A puzzle whose data cannot be read stays selected
    // and the load error goes on up. A position outside the items does nothing
    // and returns false.
    bool Select(int position);
    int SelectedIndex() const { return selectedShown_; }
    TProblem *Selected() const;
    // Grows on every Select that chose a row, read or not, so that a screen can
    // tell a new choice from a refresh.
    std::uint64_t SelectionSerial() const { return selectionSerial_; }
    // Grows on every change of the items or their order.
    std::uint64_t Revision() const { return revision_; }

  private:
    std::size_t insertPosition(const QString &name) const;
    // The item shown at a position, or -1.
    int itemAt(int position) const;
    void updateSelectedShown();

    std::vector<std::unique_ptr<TProblem>> items_;
    int selected_ = -1;      // index into items_
    int selectedShown_ = -1; // its position among those shown
    std::vector<int> shown_;
    bool filtered_ = false;
    const TStars *stars_ = nullptr;
    bool sorted_ = false;
    const TProblemsList *entries_ = nullptr;
    std::uint64_t selectionSerial_ = 0;
    std::uint64_t revision_ = 0;
    std::unique_ptr<QCollator> collator_;
};
