#include "core/ProblemListModel.h"

#include "core/Stars.h"
#include "core/User.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

TProblemListModel::TProblemListModel() = default;
TProblemListModel::~TProblemListModel() = default;

void TProblemListModel::Clear()
{
    if (items_.empty())
        return;
    selected_ = -1;
    selectedShown_ = -1;
    items_.clear();
    shown_.clear();
    filtered_ = false;
    ++revision_;
}

std::size_t TProblemListModel::insertPosition(const QString &name) const
{
    if (!sorted_)
        return items_.size();
    // Equal names keep the order in which they came.
    const auto at =
        std::upper_bound(items_.begin(), items_.end(), name, [this](const QString &n, const auto &item) {
            return collator_->compare(n, item->Name) < 0;
        });
    return std::size_t(at - items_.begin());
}

void TProblemListModel::Add(const TProblem &record)
{
    const std::size_t at = insertPosition(record.Name);
    items_.insert(items_.begin() + std::ptrdiff_t(at), std::make_unique<TProblem>(record));
    if (selected_ >= 0 && std::size_t(selected_) >= at)
        ++selected_;
    shown_.clear();
    filtered_ = false;
    updateSelectedShown();
    ++revision_;
}

int TProblemListModel::itemAt(int position) const
{
    if (position < 0 || position >= Count())
        return -1;
    return filtered_ ? shown_[std::size_t(position)] : position;
}

const TProblem *TProblemListModel::At(int position) const
{
    const int item = itemAt(position);
    return item < 0 ? nullptr : items_[std::size_t(item)].get();
}

const TProblem *TProblemListModel::Record(int index) const
{
    if (index < 0 || index >= TotalCount())
        return nullptr;
    return items_[std::size_t(index)].get();
}

void TProblemListModel::SetShown(std::vector<int> indices)
{
    // Out of range or out of order would break the positions' mapping.
    std::erase_if(indices, [this](int i) { return i < 0 || i >= TotalCount(); });
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    shown_ = std::move(indices);
    filtered_ = true;
    updateSelectedShown();
    ++revision_;
}

void TProblemListModel::ShowAll()
{
    if (!filtered_)
        return;
    shown_.clear();
    filtered_ = false;
    updateSelectedShown();
    ++revision_;
}

void TProblemListModel::updateSelectedShown()
{
    if (selected_ < 0 || !filtered_) {
        selectedShown_ = selected_;
        return;
    }
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), selected_);
    selectedShown_ = at != shown_.end() && *at == selected_ ? int(at - shown_.begin()) : -1;
}

void TProblemListModel::ClearSelection()
{
    if (TProblem *previous = Selected())
        previous->UnloadData();
    selected_ = -1;
    selectedShown_ = -1;
}

bool TProblemListModel::Starred(int position) const
{
    const TProblem *problem = At(position);
    return stars_ && problem && stars_->Contains(problem->Id);
}

QString TProblemListModel::Name(int position) const
{
    const TProblem *problem = At(position);
    return problem ? problem->Name : QString();
}

void TProblemListModel::SetSorted(bool on)
{
    if (on == sorted_)
        return;
    sorted_ = on;
    if (on) {
        if (!collator_) {
            collator_ = std::make_unique<QCollator>(QLocale::system());
            collator_->setCaseSensitivity(Qt::CaseInsensitive);
        }
        const TProblem *chosen = Selected();
        std::stable_sort(items_.begin(), items_.end(), [this](const auto &a, const auto &b) {
            return collator_->compare(a->Name, b->Name) < 0;
        });
        if (chosen) {
            const auto at = std::find_if(items_.begin(), items_.end(),
                                         [chosen](const auto &p) { return p.get() == chosen; });
            selected_ = int(at - items_.begin());
        }
    }
    // The indices shown named the old order.
    shown_.clear();
    filtered_ = false;
    updateSelectedShown();
    ++revision_;
}

LevelEntry TProblemListModel::Progress(const TProblem &problem) const
{
    if (entries_)
        if (const LevelEntry *entry = entries_->FindEntry(problem.Id))
            return *entry;
    return LevelEntry{};
}

LevelEntry TProblemListModel::Progress(int position) const
{
    const TProblem *problem = At(position);
    return problem ? Progress(*problem) : LevelEntry{};
}

bool TProblemListModel::Select(int position)
{
    const int item = itemAt(position);
    if (item < 0)
        return false;
    if (TProblem *previous = Selected())
        previous->UnloadData();
    selected_ = item;
    selectedShown_ = position;
    ++selectionSerial_;
    items_[std::size_t(item)]->LoadData();
    return true;
}

TProblem *TProblemListModel::Selected() const
{
    return selected_ < 0 ? nullptr : items_[std::size_t(selected_)].get();
}
