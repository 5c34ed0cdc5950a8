#pragma once
// The collection's filter above its list: a search box for the title, the
// «★» toggle for marked puzzles only, the clear button, and the difficulty and
// answer-kind lists. It reads the filter from its controls and shows one.
#include "core/ProblemFilter.h"
#include "widgets/FlatButton.h"
#include "widgets/FlatControls.h"
#include "widgets/FlatEdit.h"

#include <QWidget>

class TCollectionFilterBar : public QWidget
{
    Q_OBJECT
  public:
    static constexpr int Width = 345;
    static constexpr int Height = 47;
    // The longest title piece the box takes: longer than any title.
    static constexpr int MaxSearchLength = 64;

    explicit TCollectionFilterBar(QWidget *parent);

    TFlatEdit *SearchEdit;
    TFlatButton *StarredOnlyButton;
    TFlatButton *ClearFilterButton;
    TFlatComboBox *DifficultyBox;
    TFlatComboBox *KindBox;

    // The filter the controls set now.
    ProblemFilter Read() const;
    // Sets the controls to a filter without reporting a change.
    void Show(const ProblemFilter &filter);

  signals:
    // The player changed a control; Read() tells what it sets now.
    void changed();
    // The clear button was pressed.
    void clearRequested();

  private:
    void showStarredOnly(bool on);
};
