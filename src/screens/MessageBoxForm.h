#pragma once
// The game's one message box: notices, yes/no questions, the verdicts on an
// answer and the level and victory announcements. Every show lays the box out
// anew for its text and picture, plays its sound and runs the box modally.
#include "screens/Messages.h"
#include "widgets/FlatButton.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/Shape.h"

namespace platform
{
class IResourceLibrary;
class Sounds;
} // namespace platform

class TMessageBoxForm : public TForm, public IMessages
{
    Q_OBJECT
  public:
    // Pictures come from media; without it a picture notice raises EResourceError.
    // sounds: what sounds its notices, verdicts and clicks; null is silence.
    explicit TMessageBoxForm(const platform::IResourceLibrary *media = nullptr, QWidget *owner = nullptr,
                             const platform::Sounds *sounds = nullptr);

    void ShowNotice(const QString &text) override;
    void ShowPictureNotice(const QString &bitmapName, const QString &text) override;
    void ShowPictureIdNotice(int bitmapId, const QString &text) override;
    Reply Ask(const QString &question) override;
    void ShowTrueAnswer() override;
    void ShowFalseAnswer() override;

    static constexpr int PictureWidth = 50; // P

    TShape *Frame = nullptr;
    TLabel *Text = nullptr;
    TPictureBox *Image = nullptr;
    TFlatButton *OKButton = nullptr;
    TFlatButton *CancelBtn = nullptr;

  protected:
    // The modal run of every show; tests replace it to read the layout.
    virtual int Execute();
    bool FormKeyDown(QKeyEvent *event) override;

  private:
    void ResetLayout();
    void LoadPicture(const QString &name);
    void LoadPicture(int id);
    void LayOutWithPicture();
    void OKButtonClick();
    void CancelBtnClick();

    const platform::IResourceLibrary *media_;
    const platform::Sounds *sounds_;
};
