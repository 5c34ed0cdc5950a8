#pragma once
// TEMPORARY stand-ins for the puzzle list and the puzzle text viewer until
// they land; removed before this branch is merged.
#include "core/Problem.h"
#include "core/User.h"
#include "widgets/RichTextView.h"

#include <QColor>
#include <QPainter>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class TFlatListBoxEx : public QWidget {
    Q_OBJECT
public:
    explicit TFlatListBoxEx(QWidget *parent = nullptr) : QWidget(parent) {}
    void BeginLoad() {}
    void Loaded() {}
    void AddProblem(const TProblem &record, const LevelEntry *entry)
    {
        if (gameMode_ && entry)
            owned_.push_back(std::make_unique<TProblemEx>(record, *entry));
        else
            owned_.push_back(std::make_unique<TProblem>(record));
        update();
    }
    void ClearProblems()
    {
        owned_.clear();
        selected_ = nullptr;
        update();
    }
    void SelectItem(int position)
    {
        if (position < 0 || position >= int(owned_.size()))
            return;
        if (selected_)
            selected_->UnloadData();
        selected_ = owned_[std::size_t(position)].get();
        selected_->LoadData();
        highlighted_ = position;
        update();
        emit changeItem();
    }
    TProblem *SelectedProblem() const { return selected_; }
    int Count() const { return int(owned_.size()); }
    void RebuildRows() { update(); }
    void SetItemHeight(int h) { itemHeight_ = h; }
    void SetScrollBars(bool) {}
    void SetColor(const QColor &) {}
    void SetColorArrow(const QColor &) {}
    void SetColorBorder(const QColor &) {}
    void SetColorItemsSelect(const QColor &) {}
    void SetGameMode(bool on) { gameMode_ = on; }
    bool GameMode() const { return gameMode_; }
    int HighlightedIndex() const { return highlighted_; }

signals:
    void changeItem();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        for (int i = 0; i < int(owned_.size()); ++i)
            p.drawText(QRect(4, 13 + i * (itemHeight_ + 2), width() - 8, itemHeight_), Qt::AlignVCenter, owned_[std::size_t(i)]->Name);
    }
    void mouseDoubleClickEvent(QMouseEvent *) override { emit doubleClicked(); }

private:
    std::vector<std::unique_ptr<TProblem>> owned_;
    TProblem *selected_ = nullptr;
    bool gameMode_ = false;
    int itemHeight_ = 17;
    int highlighted_ = -1;
};

class TRichEditEx : public RichTextView {
    Q_OBJECT
public:
    explicit TRichEditEx(QWidget *owner = nullptr) : RichTextView(owner) {}
    void SetText(const QByteArray &rtf) { setRtf(rtf); position_ = 0; }
    void ScrollTo(std::uint16_t position) { if (position > lineCount()) return; scrollToLine(position); position_ = position; }
    std::uint16_t ScrollPosition() const { return position_; }
    void SetEditWidth(int w) { resize(w, height()); }
    void SetBorderColor(const QColor &) {}
    void SetSColor(const QColor &) {}
    void SetHotColor(const QColor &) {}

private:
    std::uint16_t position_ = 0;
};
