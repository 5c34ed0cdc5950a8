#pragma once
// The player selection dialog: creates a new player or picks a stored one,
// shows a stored player's level, points and answer counts, and deletes stored
// players. The caller reads SelectedUser after a result of 1 and frees the dialog.
#include "controls/LabelImage.h"
#include "core/User.h"
#include "platform/InputLimits.h"
#include "widgets/FlatButton.h"
#include "widgets/FlatControls.h"
#include "widgets/Form.h"
#include "widgets/Label.h"

#include <QStringList>
#include <memory>

namespace platform
{
class Registry;
}

struct GameContext;

class TUserSelectDialog : public TForm
{
    Q_OBJECT
  public:
    static constexpr int MaxNameLength = limits::MaxNameLength;

    // The players are read from and deleted in the context's store, their
    // logos come from its media.
    explicit TUserSelectDialog(GameContext &context, QWidget *owner = nullptr);
    ~TUserSelectDialog() override;

    bool NewGameMode = false;
    // The player OK hands out; the caller takes it with takeSelectedUser().
    TUser *SelectedUser() const { return selectedUser_.get(); }
    std::unique_ptr<TUser> takeSelectedUser() { return std::move(selectedUser_); }
    const QStringList &UserNames() const { return userNames_; }

    // Whether a typed name may become a new player's name (playername::normalise).
    static bool isValidName(const QString &name);

    TFlatPanel *MainPanel;
    TFlatRadioButton *NewGameRB;
    TFlatRadioButton *LoadGameRB;
    TLabel *LogoCaption;
    TLabel *LabelName;
    TLabelImage *UserImage;
    TFlatButton *OKButton;
    TFlatButton *BackButton;
    TLabel *NameCaption;
    TFlatComboBox *UserSelectComboBox;
    TFlatButton *DeleteButton;
    // «статистика»: the statistics screen of the chosen stored player.
    TFlatButton *StatisticsButton;
    TFlatPanel *ProgressPanel;
    TLabel *LevelCaption, *LevelLabel, *ScoresCaption, *ScoresLabel, *AnswersCaption;
    TLabel *EasyCaption, *MediumCaption, *HardCaption;
    TLabel *LDLabel, *MDLabel, *HDLabel;
    TLabel *EasySlash, *MediumSlash, *HardSlash;
    TLabel *LULabel, *MULabel, *HULabel;

    void SetNewGameMode(bool mode);
    void OKButtonClick();
    void DeleteButtonClick();
    void StatisticsButtonClick();

  protected:
    bool FormKeyDown(QKeyEvent *event) override;
    void FormClose(CloseAction &action) override;
    void FormShow() override;

  private:
    // The radio buttons, the logo, the name box and the buttons; then the
    // panel with the chosen player's level, scores and answers.
    void createChoiceControls(QWidget *p);
    void createProgressPanel(QWidget *p);
    void FormCreate();
    void NewGameRBClick();
    void LoadGameRBClick();
    void UserSelectComboBoxChange();
    void BackButtonClick();
    void UserImageLabelChange();
    void ShowUser(const TUser &user);
    bool nameTaken(const QString &name) const;
    platform::Registry &registry() const;

    GameContext &context_;
    QStringList userNames_;
    std::unique_ptr<TUser> selectedUser_;
};
