#include "screens/MainForm.h"

#include "core/User.h"
#include "platform/DisplayModes.h"
#include "platform/Registry.h"
#include "platform/ResourceLibrary.h"
#include "platform/Sounds.h"
#include "platform/desktop/ApplicationEvents.h"
#include "screens/AboutForm.h"
#include "screens/GameContext.h"
#include "screens/GameForm.h"
#include "screens/MessageBoxForm.h"
#include "screens/ProblemsForm.h"
#include "screens/SoundSwitch.h"
#include "screens/StatisticsForm.h"
#include "screens/Texts.h"
#include "screens/UserSelectDialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <cstdio>

namespace
{

constexpr zw::ColorValue clNavy = zw::rgbValue(0, 0, 128);

// Runs a screen modally and frees it before returning, whether or not it
// frees itself on close: the player it was given must outlive it.
template <class Form> int runAndFree(Form *form)
{
    QPointer<Form> guard(form);
    const int result = form->ShowModal();
    delete guard.data();
    return result;
}

} // namespace

TMainForm::Screens TMainForm::defaultScreens(GameContext &context)
{
    Screens s;
    s.game = [&context](QWidget *owner, TUser &player) {
        QPointer<TGameForm> game(new TGameForm(context, player, owner));
        const int result = game->ShowModal();
        const bool won = game && game->Rules().Won();
        delete game.data();
        // After the victory (the game saved by now) the player may look back
        // over the whole game.
        if (won && MessageBoxForm && MessageBoxForm->Ask(VictoryStatisticsQuestion) == Reply::Yes)
            runAndFree(new TStatisticsForm(context, player, owner));
        return result;
    };
    s.problems = [&context](QWidget *owner) { return runAndFree(new TProblemsForm(context, owner)); };
    return s;
}

namespace
{

TGradientButton *bigButton(QWidget *parent, const char *name, int top, const QString &text)
{
    auto *b = new TGradientButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(272, top, 249, 41);
    b->setText(text);
    b->setTextColor(clNavy);
    b->setFont(zw::gameFont(35));
    b->setCursor(Qt::PointingHandCursor);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

TAlphaLabel *fadingLabel(QWidget *parent, const char *name, QRect geometry, const QString &text, bool wrap,
                         Qt::Alignment alignment)
{
    auto *l = new TAlphaLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(zw::gameFont(13));
    l->setTextColor(clNavy);
    l->setAutoSize(false);
    l->setWordWrap(wrap);
    l->setAlignment(alignment);
    l->setCaption(text);
    l->setGeometry(geometry);
    // In the layout's order: ShowTime before the range, so the step is 5.
    l->setAlpha(0);
    l->setShowTime(500);
    l->setMinAlpha(0);
    l->setMaxAlpha(255);
    l->Loaded();
    return l;
}

// The two small buttons in the top corners look alike.
void cornerButton(TFlatSpeedButton *b, int left)
{
    b->setGeometry(left, -5, 41, 41);
    b->setCursor(Qt::PointingHandCursor);
    b->setColorFace(zw::clPanel);
    b->setColorFocused(zw::clFocus);
    b->setColorDown(zw::clPanel);
    b->setColorBorder(zw::clGray);
}

} // namespace

// The screens a test left empty are the game's own.
TMainForm::Screens TMainForm::withDefaults(Screens screens, GameContext &context)
{
    const Screens defaults = defaultScreens(context);
    if (!screens.game)
        screens.game = defaults.game;
    if (!screens.problems)
        screens.problems = defaults.problems;
    return screens;
}

TMainForm::TMainForm(GameContext &context, QWidget *owner, Screens screens)
    : TForm(owner), context_(context), screens_(withDefaults(std::move(screens), context))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zentrika"));
    setKeyPreview(true);
    setColor(zw::rgbValue(251, 254, 244));
    setClientSize(Width, Height);
    setCursor(Qt::ArrowCursor);

    try {
        background_ = context.media.loadBitmap(QStringLiteral("StartScreen"));
    } catch (const platform::EResourceError &) {
        // The menu still works over its own colour.
    }

    // Created in tab order.
    NewGameButton = bigButton(this, "NewGameButton", 440, texts::NewGame);
    GolovolomkiButton = bigButton(this, "GolovolomkiButton", 488, QStringLiteral("Головоломки"));
    ExitButton = bigButton(this, "ExitButton", 536, QStringLiteral("Выйти"));

    GameLabel = fadingLabel(
        this, "GameLabel", QRect(8, 424, 257, 72),
        QStringLiteral("   Войти в игровой режим. Здесь вам предложат пройти по нескольким уровням "
                       "и набрать максимальное кол-во очков, решая головоломки."),
        true, Qt::AlignRight | Qt::AlignTop);
    ProblemsLabel =
        fadingLabel(this, "ProblemsLabel", QRect(528, 472, 254, 72),
                    QStringLiteral("Войти в сборник головоломок. В нём представлены все головоломки, "
                                   "встречающиеся в игре, здесь же можно посмотреть все ответы к ним."),
                    true, Qt::AlignLeft | Qt::AlignTop);
    ExitLabel = fadingLabel(this, "ExitLabel", QRect(154, 547, 110, 18), QStringLiteral("Выйти из игры"),
                            false, Qt::AlignLeft | Qt::AlignTop);

    AboutButton = new TFlatSpeedButton(this);
    AboutButton->setObjectName(QStringLiteral("AboutButton"));
    cornerButton(AboutButton, 760);
    AboutButton->setText(QStringLiteral("?"));
    // Named for what it opens: "?" alone tells a screen reader's user nothing.
    AboutButton->setAccessibleName(QStringLiteral("О программе"));
    AboutButton->setFont(zw::gameFont(29));

    SoundButton = new TSoundButton(context_.sounds, this);
    cornerButton(SoundButton, -1);
    SoundLabel = fadingLabel(this, "SoundLabel", QRect(46, 8, 180, 18),
                             TSoundButton::description(!context_.sounds || context_.sounds->enabled()), false,
                             Qt::AlignLeft | Qt::AlignTop);
    connect(SoundButton, &TSoundButton::mouseEntered, SoundLabel, &TAlphaLabel::FadeIn);
    connect(SoundButton, &TSoundButton::mouseLeft, SoundLabel, &TAlphaLabel::FadeOut);
    if (context_.sounds)
        connect(context_.sounds, &platform::Sounds::enabledChanged, SoundLabel,
                [this](bool on) { SoundLabel->setCaption(TSoundButton::description(on)); });

    connect(NewGameButton, &QAbstractButton::clicked, this, &TMainForm::NewGameButtonClick);
    connect(GolovolomkiButton, &QAbstractButton::clicked, this, &TMainForm::GolovolomkiButtonClick);
    connect(ExitButton, &QAbstractButton::clicked, this, &TMainForm::FlatButton1Click);
    connect(AboutButton, &QAbstractButton::clicked, this, &TMainForm::AboutButtonClick);
    connect(NewGameButton, &TGradientButton::mouseEntered, GameLabel, &TAlphaLabel::FadeIn);
    connect(NewGameButton, &TGradientButton::mouseLeft, GameLabel, &TAlphaLabel::FadeOut);
    connect(GolovolomkiButton, &TGradientButton::mouseEntered, ProblemsLabel, &TAlphaLabel::FadeIn);
    connect(GolovolomkiButton, &TGradientButton::mouseLeft, ProblemsLabel, &TAlphaLabel::FadeOut);
    connect(ExitButton, &TGradientButton::mouseEntered, ExitLabel, &TAlphaLabel::FadeIn);
    connect(ExitButton, &TGradientButton::mouseLeft, ExitLabel, &TAlphaLabel::FadeOut);

    ApplicationEvents = new platform::ApplicationEvents(this);
    connect(ApplicationEvents, &platform::ApplicationEvents::deactivated, this,
            &TMainForm::ApplicationEventsDeactivate);
    connect(ApplicationEvents, &platform::ApplicationEvents::minimized, this,
            &TMainForm::ApplicationEventsMinimize);
    connect(ApplicationEvents, &platform::ApplicationEvents::restored, this,
            &TMainForm::ApplicationEventsRestore);

    NewGameButton->setFocus();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormShow()
{
    // The game takes the keyboard when it comes up, so Enter starts at once.
    activateWindow();
    NewGameButton->setFocus();
}

void TMainForm::paintEvent(QPaintEvent *event)
{
    if (background_.isNull()) {
        TForm::paintEvent(event);
        return;
    }
    QPainter p(this);
    // The picture as it is: converting it to a pixmap and tiling it, at a
    // fractional scale, made the first paint of the menu twice as slow.
    if (background_.width() >= width() && background_.height() >= height()) {
        // A logical pixel more on each side: at a fractional factor the edge
        // rows of display pixels of a part drawn again are otherwise left out.
        const QRect r = event->rect().adjusted(-1, -1, 1, 1) & rect();
        p.drawImage(r, background_, r);
        return;
    }
    // Tiled like a brush, should the picture be smaller than the form.
    p.drawTiledPixmap(rect(), QPixmap::fromImage(background_));
}

void TMainForm::NewGameButtonClick()
{
    std::unique_ptr<TUser> player;
    try {
        auto dialog = std::make_unique<TUserSelectDialog>(context_, this);
        emit userSelectDialogCreated(dialog.get());
        if (dialog->ShowModal() == mrOk)
            player = dialog->takeSelectedUser();
    } catch (const platform::ERegistryError &e) {
        // A store that cannot be opened (a folder that refuses writes): said
        // in the player's words; the detail goes to the log.
        std::fprintf(stderr, "zentrika: %s\n", e.what());
        if (MessageBoxForm)
            MessageBoxForm->ShowNotice(QStringLiteral("Не удалось открыть данные игроков."));
        return;
    }
    if (player)
        screens_.game(this, *player);
}

void TMainForm::GolovolomkiButtonClick()
{
    screens_.problems(this);
}

void TMainForm::FlatButton1Click()
{
    close();
}

void TMainForm::AboutButtonClick()
{
    auto *about = new TAboutForm(this, context_.openLink);
    about->ShowModal();
}

bool TMainForm::FormKeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The focused big button takes Enter as it takes Space.
        for (TGradientButton *b : {NewGameButton, GolovolomkiButton, ExitButton}) {
            if (b->hasFocus()) {
                b->click();
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

bool TMainForm::FormCloseQuery()
{
    if (!MessageBoxForm)
        return true;
    return MessageBoxForm->Ask(QuitQuestion) == Reply::Yes;
}

void TMainForm::FormClose(CloseAction &action)
{
    action = CloseAction::Hide;
    emit closed();
}

void TMainForm::ApplicationEventsDeactivate()
{
    // In a window the desktop keeps its own mode and the game need not hide.
    if (display_)
        showMinimized();
}

void TMainForm::ApplicationEventsMinimize()
{
    if (display_)
        display_->restore();
}

void TMainForm::ApplicationEventsRestore()
{
    // A refused switch leaves the game at whatever mode the display has.
    if (display_)
        platform::SwitchDisplayMode(*display_, Width, Height);
}
