#pragma once
// The answer entry dialog: shows the puzzle's question, offers the entry
// control for its answer kind, checks the entry's shape, packs it into an
// AnswerValue and compares it with the puzzle's CheckAnswer. Its modal run ends
// with mrYes (right), mrNo (wrong) or mrCancel and frees the dialog; it scores
// nothing, the flow that runs it does.
#include "controls/MyMaskEdit.h"
#include "controls/RAFlatEdit.h"
#include "core/DialogResult.h"
#include "core/Problem.h"
#include "widgets/FlatButton.h"
#include "widgets/FlatControls.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/Shape.h"

#include <memory>
#include <optional>

namespace platform
{
class Sounds;
}
class IMessages;

class TReplyForm : public TForm
{
    Q_OBJECT
  public:
    // sounds: what clicks its buttons; null is silence. messages: where an
    // entry that cannot be taken is explained; null refuses it unexplained.
    TReplyForm(QWidget *owner, TProblem &problem, const platform::Sounds *sounds = nullptr,
               IMessages *messages = nullptr);
    ~TReplyForm() override;

    // Runs the dialog for the puzzle modally. A puzzle whose data could not be
    // read is read again first, so that its error is reported instead of an
    // answer checked against nothing. Gives the entry, or that the player left.
    static EnteredAnswer Run(QWidget *owner, TProblem &problem, const platform::Sounds *sounds = nullptr,
                             IMessages *messages = nullptr);
    static AnswerVerdict VerdictOf(int modalResult);

    TShape *OuterFrame = nullptr;
    TShape *QuestionFrame = nullptr;
    TLabel *QText = nullptr;
    TLabel *AnswerCaption = nullptr;
    TRAFlatEdit *Edit = nullptr;
    TFlatComboBox *List = nullptr;
    TShape *TimeFrame = nullptr;
    TMyMaskEdit *TimeEdit = nullptr;
    TFlatButton *OkButton = nullptr;
    TFlatButton *CancelButton = nullptr;

    // One text per number of a kind-4 answer; none for other kinds.
    std::unique_ptr<QStringList> NumberTexts;
    // The record built at the last accepted OK.
    const AnswerValue &answer() const { return answer_; }

    // The standard conversions the dialog uses, with their ranges.
    static std::optional<std::int32_t> StrToInt(const QString &text);
    static std::optional<double> StrToTime(const QString &text);

  protected:
    bool FormKeyDown(QKeyEvent *event) override;
    void FormClose(CloseAction &action) override;
    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    const platform::Sounds *sounds_;
    IMessages *messages_;
    void createEntries();
    void createButtons();
    void FormCreate();
    void OkButtonClick();
    void CancelButtonClick();
    void ListChange();
    void EditExit();
    bool refuseNotice(const QString &text);

    TProblem &problem_;
    AnswerValue answer_;
    bool digitsOnly_ = false;
};
