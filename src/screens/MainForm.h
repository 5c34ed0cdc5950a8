#pragma once
// The main menu and the program's main form: the start-screen picture, three
// large buttons with descriptions that fade in under the pointer, and "?" for
// the about box. It starts the game through the player selection, opens the
// collection, asks before quitting, and gives the display mode back while the
// game is in the background.
#include "controls/AlphaLabel.h"
#include "widgets/FlatButton.h"
#include "widgets/FlatControls.h"
#include "widgets/Form.h"

#include <QImage>
#include <functional>

class IStarStore;
class TSoundButton;
class TUser;
class TUserSelectDialog;

namespace platform
{
class ApplicationEvents;
class IDisplayModes;
} // namespace platform

struct GameContext;

class TMainForm : public TForm
{
    Q_OBJECT
  public:
    // The screens the menu runs modally, each a fresh instance. The game and
    // collection screens made with the menu's context where a field is empty;
    // tests put recorders in their place.
    struct Screens {
        std::function<int(QWidget *owner, TUser &player)> game;
        std::function<int(QWidget *owner)> problems;
    };
    static Screens defaultScreens(GameContext &context);
    static Screens withDefaults(Screens screens, GameContext &context);

    static constexpr int Width = 800;
    static constexpr int Height = 600;
    static inline const QString QuitQuestion = QStringLiteral("Хотите выйти из игры?");
    // Asked after the victory; yes opens the statistics screen.
    static inline const QString VictoryStatisticsQuestion = QStringLiteral("Посмотреть статистику игры?");

    explicit TMainForm(GameContext &context, QWidget *owner = nullptr, Screens screens = {});
    ~TMainForm() override;

    TGradientButton *NewGameButton;
    TGradientButton *GolovolomkiButton; // "Головоломки": opens the collection
    TGradientButton *ExitButton;
    TAlphaLabel *GameLabel;
    TAlphaLabel *ProblemsLabel;
    TAlphaLabel *ExitLabel;
    TFlatSpeedButton *AboutButton;
    // In the corner opposite "?": the sounds off and on, with its description.
    TSoundButton *SoundButton;
    TAlphaLabel *SoundLabel;
    platform::ApplicationEvents *ApplicationEvents;

    const QImage &background() const { return background_; }
    // The display back end to give back while the game is in the background
    // and to retake after; none (the default) when the game plays in a window.
    void setDisplayModes(platform::IDisplayModes *display) { display_ = display; }

    void NewGameButtonClick();
    void GolovolomkiButtonClick(); // runs the collection screen
    void FlatButton1Click();       // the exit button: closes the menu, which asks first
    void AboutButtonClick();
    void ApplicationEventsDeactivate();
    void ApplicationEventsMinimize();
    void ApplicationEventsRestore();

  signals:
    // The menu has closed: the program ends.
    void closed();
    // A player selection dialog was made; tests drive it from here.
    void userSelectDialogCreated(TUserSelectDialog *dialog);

  protected:
    bool FormKeyDown(QKeyEvent *event) override;
    bool FormCloseQuery() override;
    void FormClose(CloseAction &action) override;
    void FormShow() override;
    void paintEvent(QPaintEvent *event) override;

  private:
    GameContext &context_;
    Screens screens_;
    QImage background_;
    platform::IDisplayModes *display_ = nullptr;
};
