#pragma once
// The collection screen: a thin window over TCollectionFlow. It lays out the
// controls, turns clicks and keys into the flow's operations and shows what
// the flow computes.
#include "core/CollectionFlow.h"
#include "screens/AbstractForm.h"

#include <QImage>

class TProblemsForm : public TAbstractForm, private ICollectionPresentation {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 440;
    static constexpr int PictureHeight = 460;

    explicit TProblemsForm(GameContext &context, QWidget *owner = nullptr, const QString &programDir = QString());
    ~TProblemsForm() override = default;

    TCollectionFlow &Flow() { return flow_; }

    TFlatButton *AnswerButton;

private:
    void FormCreate();
    void createTopPanel();
    void ShowView(const CollectionView &view) override;

    TCollectionFlow flow_;
    // The selected puzzle's picture stretched to the picture box, once per
    // choice (the model's selection serial), and the choice whose statement
    // the viewer shows, so that a refresh keeps the reader's place.
    QImage stretched_;
    std::uint64_t stretchedFor_ = 0;
    std::uint64_t shownText_ = 0;
};
