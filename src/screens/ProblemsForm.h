#pragma once
// The collection screen: a thin window over TCollectionFlow. It lays out the
// controls, turns clicks and keys into the flow's operations and shows what
// the flow computes.
#include "core/CollectionFlow.h"
#include "screens/AbstractForm.h"
#include "screens/ScreenParts.h"
#include "widgets/FlatControls.h"
#include "widgets/Label.h"
#include "widgets/Shape.h"
#include "widgets/TiledShape.h"

#include <QImage>

class TProblemsForm : public TAbstractForm, private ICollectionPresentation {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 440;
    static constexpr int PictureHeight = 460;

    explicit TProblemsForm(QWidget *owner = nullptr, const QString &programDir = QString());
    ~TProblemsForm() override;

    void SetTextMode(bool on) override;
    void UpdateView() override;
    TCollectionFlow &Flow() { return flow_; }

    void CloseButtonClick();
    void DecideButtonClick();
    void AnswerButtonClick();

    TFlatPanel *TopPanel;
    TTiledShape *PanelImage;
    TLabel *ProblemName;
    TPictureBox *DiffImage;
    TShape *DiffFrame;
    TPictureBox *ProblemImage;
    TShape *ImageShape;
    TFlatButton *CloseButton;
    TFlatButton *AnswerButton;
    TFlatButton *DecideButton;

protected:
    bool FormKeyDown(QKeyEvent *event) override;
    bool FormCloseQuery() override;
    void FormClose(CloseAction &action) override;

private:
    void FormCreate();
    void createTopPanel();
    void ProblemsListChangeItem() override;
    void ProblemsListDblClick() override;
    void ShowView(const CollectionView &view) override;

    TCollectionFlow flow_;
    // The selected puzzle's picture stretched to the picture box, once per
    // choice (the model's selection serial), and the choice whose statement
    // the viewer shows, so that a refresh keeps the reader's place.
    QImage stretched_;
    std::uint64_t stretchedFor_ = 0;
    std::uint64_t shownText_ = 0;
};
