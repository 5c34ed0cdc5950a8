#pragma once
// The game screen: a thin window over TGameRules. It lays out the controls,
// turns clicks, keys and wheel turns into the operations of the game and
// shows what the rules compute.
#include "core/GameRules.h"
#include "screens/AbstractForm.h"
#include "widgets/GlyphButton.h"

#include <QImage>

class TUser;

class TGameForm : public TAbstractForm, private IGamePresentation
{
    Q_OBJECT
  public:
    static constexpr int ThumbnailWidth = 335;
    static constexpr int ThumbnailHeight = 350;

    // The player is kept, changed and saved at close, never freed here.
    TGameForm(GameContext &context, TUser &player, QWidget *owner = nullptr,
              const QString &programDir = QString());
    ~TGameForm() override = default;

    TGameRules &Rules() { return rules_; }
    TUser &Player() { return player_; }
    const QImage &Thumbnail() const { return Thumbnail_; }

    TPictureBox *UserImage;
    TShape *UserImageFrame;
    TLabel *NameLabel;
    TLabel *LevelCaption;
    TLabel *LevelLabel;
    TGauge *ProgressBar;
    TLabel *ScoresLabel;
    TFlatPanel *StatusPanel;
    TLabel *DifficultyCaption;
    TLabel *BonusCaption;
    TLabel *AnswerCaption;
    TPictureBox *BonusImage;
    TPictureBox *AnswerImage;
    TShape *BonusFrame;
    TShape *AnswerFrame;
    TGlyphButton *BuyButton;

  private:
    void FormCreate();
    void createTopPanel();
    void createStatusPanel();
    // The selected puzzle's picture at the thumbnail's size, or white.
    void TakeThumbnail();
    // Room for every digit of the score.
    void PlaceScore();
    // The selected puzzle's difficulty, bonus and solution price, drawn and named.
    void ShowFacts(const TProblem &item, const GameView &view);

    // IGamePresentation, beyond what the base does for both screens
    void PlayWave(platform::Wave wave) override;
    void ShowNotice(const QString &text) override;
    void ShowPictureNotice(const QString &picture, const QString &text) override;
    void ShowPictureIdNotice(int picture, const QString &text) override;
    void ShowView(const GameView &view) override;

    TUser &player_;
    TGameRules rules_;
    QImage Thumbnail_;
    // The choice (the model's selection serial) whose thumbnail is shown.
    std::uint64_t thumbnailFor_ = 0;
};
