#pragma once
// The collection screen: a thin window over TCollectionFlow. It lays out the
// controls, turns clicks and keys into the flow's operations and shows what
// the flow computes.
#include "core/CollectionFlow.h"
#include "screens/AbstractForm.h"
#include "screens/CollectionFilterBar.h"

#include <QImage>

class TProblemsForm : public TAbstractForm, private ICollectionPresentation
{
    Q_OBJECT
  public:
    static constexpr int PictureWidth = 440;
    static constexpr int PictureHeight = 460;

    explicit TProblemsForm(GameContext &context, QWidget *owner = nullptr,
                           const QString &programDir = QString());
    ~TProblemsForm() override = default;

    TCollectionFlow &Flow() { return flow_; }

    TFlatButton *AnswerButton;
    TCollectionFilterBar *FilterBar = nullptr;
    // Marks the selected puzzle with «★» or takes the mark off.
    TFlatButton *StarButton = nullptr;
    // How many puzzles the filter shows, of how many.
    TLabel *FilterInfo = nullptr;

    void StarButtonClick();
    void ClearFilterClick();

  protected:
    // Ctrl+F: the search box; Insert, or * outside the search box: the star;
    // Ctrl+Backspace, or Escape in the search box while a filter is set:
    // clears the filter; Down in the search box: to the list.
    bool FormKeyDown(QKeyEvent *event) override;

  private:
    void FormCreate();
    void createTopPanel();
    void createFilterBar();
    void ShowView(const CollectionView &view) override;
    void showFilter(const CollectionView &view);

    TCollectionFlow flow_;
    // The selected puzzle's picture stretched to the picture box, once per
    // choice (the model's selection serial).
    QImage stretched_;
    std::uint64_t stretchedFor_ = 0;
    std::uint64_t shownText_ = 0;
    // The model's revision the list was last scrolled for.
    std::uint64_t scrolledFor_ = 0;
};
