#pragma once
// The collection screen: every puzzle of the catalogue to browse, answer any
// number of times and read the solution of, with no player and nothing saved.
#include "screens/AbstractForm.h"
#include "screens/ScreenParts.h"
#include "widgets/FlatControls.h"
#include "widgets/Label.h"
#include "widgets/Shape.h"
#include "widgets/TiledShape.h"

#include <QImage>

class TProblemsForm : public TAbstractForm {
    Q_OBJECT
public:
    static constexpr int PictureWidth = 440;
    static constexpr int PictureHeight = 460;

    explicit TProblemsForm(QWidget *owner = nullptr, const QString &programDir = QString());
    ~TProblemsForm() override;

    void UpdateView() override;

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

    // The answer dialog for the puzzle, with no player.
    virtual AnswerVerdict RunAnswerDialog(TProblem &problem);
    virtual void RunAnswerViewer(const QByteArray &solution);

private:
    void FormCreate();
    void ProblemsListChangeItem() override;
    void ProblemsListDblClick() override;
    void SelectItem(int position);

    // The selected puzzle's picture stretched to the picture box, once per selection.
    QImage stretched_;
    const TProblem *shownText_ = nullptr;
};
