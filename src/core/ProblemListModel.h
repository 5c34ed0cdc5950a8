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
struct LevelEntry;

class TProblemListModel {
public:
    TProblemListModel();
    ~TProblemListModel();
    TProblemListModel(const TProblemListModel &) = delete;
    TProblemListModel &operator=(const TProblemListModel &) = delete;

    // Frees every puzzle (a loaded one releases its data) and the selection.
    void Clear();
    // Copies the record's header; a sorted model inserts it in name order.
    void Add(const TProblem &record);
    int Count() const { return int(items_.size()); }
    // The puzzle at a position, or null outside 0..Count()-1.
    const TProblem *At(int position) const;
    QString Name(int position) const;

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
    int SelectedIndex() const { return selected_; }
    TProblem *Selected() const;
    // Grows on every Select that chose a row, read or not, so that a screen can
    // tell a new choice from a refresh.
    std::uint64_t SelectionSerial() const { return selectionSerial_; }
    // Grows on every change of the items or their order.
    std::uint64_t Revision() const { return revision_; }

private:
    std::size_t insertPosition(const QString &name) const;

    std::vector<std::unique_ptr<TProblem>> items_;
    int selected_ = -1;
    bool sorted_ = false;
    const TProblemsList *entries_ = nullptr;
    std::uint64_t selectionSerial_ = 0;
    std::uint64_t revision_ = 0;
    std::unique_ptr<QCollator> collator_;
};
