#include "screens/GameForm.h"

#include "core/DifficultyName.h"
#include "core/User.h"
#include "platform/Sounds.h"
#include "screens/Messages.h"
#include "screens/Texts.h"

#include <QKeyEvent>
#include <algorithm>

namespace
{

TLabel *makeLabel(QWidget *parent, const char *name, int x, int y, int w, int h, int px, bool fixed,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop, bool bold = false)
{
    auto *l = new TLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(zw::gameFont(px, bold));
    l->setAutoSize(!fixed);
    l->setAlignment(align);
    l->setTransparent(true);
    l->setGeometry(x, y, w, h);
    return l;
}

TPictureBox *makePicture(QWidget *parent, const char *name, const QRect &r)
{
    auto *p = new TPictureBox(parent);
    p->setObjectName(QLatin1String(name));
    p->setGeometry(r);
    return p;
}

} // namespace

TGameForm::TGameForm(GameContext &context, TUser &player, QWidget *owner, const QString &programDir)
    : TAbstractForm(context, "GameForm", owner, programDir), player_(player),
      rules_(Catalogue, player, Problems, *this, context.store)
{
    SetFlow(rules_);
    FormCreate();
}

void TGameForm::FormCreate()
{
    createTopPanel();
    SetUpPuzzleViews(450, true, QColor(128, 128, 0));
    createStatusPanel();

    ProblemImage = makePicture(this, "ProblemImage", {460, 190, ThumbnailWidth, ThumbnailHeight});
    ImageShape = screens::makeFrame(this, "ImageShape", ProblemImage->geometry(), texts::PictureHint);
    BuyButton = CreateButtons<TGlyphButton>("BuyButton", {5, 120}, {460, 197}, {675, 120});

    // What the design file shows before UpdateView has run is never seen.
    ProblemName->setCaption(QString());
    ScoresLabel->setCaption(QString());
    LevelLabel->setCaption(QString());

    screens::Guarded([this] {
        SetBackgroundTile(screens::mediaBitmap(Context.media, QStringLiteral("TEXTURE")));
        PanelImage->setTile(screens::mediaBitmap(Context.media, QStringLiteral("GAMEPANEL")));
    });

    // The start of the game: the thumbnail, the catalogue, the player, the level.
    Thumbnail_ = QImage(ThumbnailWidth, ThumbnailHeight, QImage::Format_RGB888);
    Thumbnail_.fill(Qt::white);
    UserImage->setPicture(player_.Logo);
    NameLabel->setCaption(player_.Name);
    screens::Guarded([this] {
        if (!rules_.Start())
            MarkStartFailed();
    });
}

void TGameForm::createTopPanel()
{
    TopPanel = screens::makeTopPanel(this, "TopPanel", PanelImage);
    UserImage = makePicture(TopPanel, "UserImage", {12, 12, 50, 50});
    UserImage->setStretch(true);
    UserImageFrame =
        screens::makeFrame(TopPanel, "Shape4", {12, 12, 50, 50}, QStringLiteral("Логотип пользователя"));
    NameLabel = makeLabel(TopPanel, "NameLabel", 67, 20, 182, 29, 21, true);
    NameLabel->setToolTip(texts::PlayerName);
    ProblemName =
        makeLabel(TopPanel, "ProblemName", 241, 35, 312, 26, 21, true, Qt::AlignHCenter | Qt::AlignTop);
    ProblemName->setToolTip(texts::PuzzleNameHint);
    LevelCaption = makeLabel(TopPanel, "Label1", 592, 7, 84, 28, 20, false);
    LevelCaption->setCaption(QStringLiteral("Уровень "));
    LevelLabel = makeLabel(TopPanel, "LevelLabel", 695, 2, 12, 38, 27, false);
    LevelLabel->setAccessibleDescription(QStringLiteral("Уровень"));
    ProgressBar = new TGauge(TopPanel);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(593, 42, 113, 25);
    ProgressBar->setColor(zw::clPanel);
    ProgressBar->setColorBorder(zw::clGray);
    ProgressBar->setColorBar(zw::clGray);
    ProgressBar->setFont(zw::gameFont(16));
    ProgressBar->setToolTip(QStringLiteral("Решённые головоломки"));
    ScoresLabel =
        makeLabel(TopPanel, "ScoresLabel", 728, 15, 54, 40, 29, true, Qt::AlignRight | Qt::AlignTop, true);
    ScoresLabel->setToolTip(QStringLiteral("Очки"));
    // Labels with hints must see the pointer for the hint to show.
    for (TLabel *l : {NameLabel, ProblemName, ScoresLabel})
        l->setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

void TGameForm::createStatusPanel()
{
    StatusPanel = new TFlatPanel(this);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusPanel->setGeometry(460, 80, 335, 105);
    StatusPanel->setColor(zw::clPanel);
    StatusPanel->setColorBorder(zw::clGray);
    const Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignTop;
    DifficultyCaption = makeLabel(StatusPanel, "Label4", 24, 2, 97, 39, 13, true, centred);
    DifficultyCaption->setWordWrap(true);
    DifficultyCaption->setCaption(QStringLiteral("Сложность головоломки"));
    BonusCaption = makeLabel(StatusPanel, "Label6", 134, 2, 73, 39, 13, true, centred);
    BonusCaption->setWordWrap(true);
    BonusCaption->setCaption(QStringLiteral("Бонус за решение"));
    AnswerCaption = makeLabel(StatusPanel, "Label7", 224, 3, 81, 36, 13, true, centred);
    AnswerCaption->setWordWrap(true);
    AnswerCaption->setCaption(QStringLiteral("Посмотреть ответ"));
    DiffImage = makePicture(StatusPanel, "DiffImage", {45, 45, 50, 50});
    BonusImage = makePicture(StatusPanel, "BonusImage", {144, 45, 50, 50});
    AnswerImage = makePicture(StatusPanel, "AnswerImage", {240, 45, 50, 50});
    DiffImage->setAccessibleDescription(DifficultyCaption->caption());
    BonusImage->setAccessibleDescription(BonusCaption->caption());
    AnswerImage->setAccessibleDescription(AnswerCaption->caption());
    DiffFrame = screens::makeFrame(StatusPanel, "Shape1", DiffImage->geometry());
    BonusFrame = screens::makeFrame(StatusPanel, "Shape2", BonusImage->geometry());
    AnswerFrame = screens::makeFrame(StatusPanel, "Shape3", AnswerImage->geometry());
}

void TGameForm::TakeThumbnail()
{
    // Scaled once per choice; every later refresh shows this bitmap as it is.
    const TProblem *item = Problems.Selected();
    if (item && !item->Picture.isNull()) {
        Thumbnail_ =
            item->Picture.convertToFormat(QImage::Format_RGB888)
                .scaled(ThumbnailWidth, ThumbnailHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else {
        // No picture rather than the previous puzzle's under the new title.
        Thumbnail_.fill(Qt::white);
    }
}

// ---- the presentation the rules use -----------------------------------------

void TGameForm::PlayWave(platform::Wave wave)
{
    platform::PlayWave(Context.sounds, wave);
}

void TGameForm::ShowNotice(const QString &text)
{
    if (Context.messages)
        Context.messages->ShowNotice(text);
}

void TGameForm::ShowPictureNotice(const QString &picture, const QString &text)
{
    if (Context.messages)
        Context.messages->ShowPictureNotice(picture, text);
}

void TGameForm::ShowPictureIdNotice(int picture, const QString &text)
{
    if (Context.messages)
        Context.messages->ShowPictureIdNotice(picture, text);
}

void TGameForm::ShowView(const GameView &view)
{
    textMode_ = view.textMode;
    if (Problems.SelectionSerial() != thumbnailFor_) {
        thumbnailFor_ = Problems.SelectionSerial();
        TakeThumbnail();
    }
    const TProblem *item = Problems.Selected();
    if (view.textMode && item) {
        ProblemImage->setPicture(item->Picture, item->PictureSvg);
        StatusPanel->hide();
        ProblemsList->hide();
        ProblemText->show();
        DecideButton->setText(texts::Answer);
        ShowStatement(*item, view.hintsShown);
        ProblemImage->setGeometry(355, 80, 440, 460);
        ImageShape->setGeometry(355, 80, 440, 460);
    } else {
        StatusPanel->show();
        ProblemsList->show();
        ProblemText->hide();
        ForgetStatement();
        ProblemImage->setGeometry(460, 190, ThumbnailWidth, ThumbnailHeight);
        ImageShape->setGeometry(460, 190, ThumbnailWidth, ThumbnailHeight);
        for (TPictureBox *fact : {DiffImage, AnswerImage, BonusImage}) {
            fact->clearPicture();
            fact->setAccessibleName(QString());
        }
        DecideButton->setText(texts::Decide);
        if (item) {
            // The thumbnail is white when the puzzle has no picture to draw.
            ProblemImage->setPicture(Thumbnail_, item->Picture.isNull() ? QByteArray() : item->PictureSvg);
            ProblemName->setCaption(item->Name);
            ShowFacts(*item, view);
        } else {
            ProblemImage->clearPicture();
            ProblemName->setCaption(QString());
            BuyButton->setEnabled(false);
            DecideButton->setEnabled(false);
        }
    }
    HintButton->setEnabled(view.hintEnabled);
    ScoresLabel->setCaption(view.scoreText);
    PlaceScore();
    ProgressBar->setProgress(view.progress);
    LevelLabel->setCaption(view.levelText);
    if (item) {
        DecideButton->setEnabled(view.decideEnabled);
        BuyButton->setEnabled(true);
        if (view.pricePictureVisible)
            BuyButton->setGlyph(screens::mediaBitmap(Context.media, QStringLiteral("PRICE")));
        else
            BuyButton->clearGlyph();
        BuyButton->setEnabled(view.viewSolutionEnabled);
    }
    ProblemsList->Refresh();
    ShowMemo();
    FocusForMode();
}

void TGameForm::ShowFacts(const TProblem &item, const GameView &view)
{
    const std::optional<Difficulty> grade = knownDifficulty(item.Difficult);
    if (!grade)
        return;
    const std::size_t d = indexOf(*grade);
    // A solution paid for, or earned by a right answer, costs nothing more:
    // the coin shows 0 rather than a price the player would not pay.
    const bool free = !view.pricePictureVisible;
    const std::uint32_t price = free ? 0 : SolutionCost[d];
    DiffImage->setPicture(screens::mediaBitmap(Context.media, QStringLiteral("DIFF%1").arg(d + 1)));
    BonusImage->setPicture(screens::mediaBitmap(Context.media, QStringLiteral("COST%1").arg(AnswerBonus[d])));
    AnswerImage->setPicture(screens::mediaBitmap(Context.media, QStringLiteral("COST%1").arg(price)));
    // The coins are pictures: a screen reader reads what they show from here,
    // with the caption above each as its description.
    DiffImage->setAccessibleName(difficultyName(*grade));
    BonusImage->setAccessibleName(texts::Points(AnswerBonus[d]));
    AnswerImage->setAccessibleName(free ? QStringLiteral("бесплатно") : texts::Points(price));
}

void TGameForm::PlaceScore()
{
    // The score keeps its right edge and grows to the left; when it would reach
    // the level and the gauge, they move left over the free part of the bar.
    constexpr int right = 782, top = 15, height = 40, minWidth = 54;
    constexpr int levelRight = 707, gap = 6, nameLeft = 241, nameWidth = 312;
    const int width = std::max(minWidth, ScoresLabel->textWidth() + 2);
    ScoresLabel->setGeometry(right - width, top, width, height);
    const int shift = std::max(0, levelRight + gap - (right - width));
    LevelCaption->move(592 - shift, LevelCaption->y());
    LevelLabel->move(695 - shift, LevelLabel->y());
    ProgressBar->move(593 - shift, ProgressBar->y());
    ProblemName->resize(std::min(nameWidth, LevelCaption->x() - gap - nameLeft), ProblemName->height());
}
