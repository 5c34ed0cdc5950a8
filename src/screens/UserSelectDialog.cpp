#include "screens/UserSelectDialog.h"

#include "core/PlayerName.h"
#include "core/ProfileBackup.h"
#include "platform/Registry.h"
#include "platform/Sounds.h"
#include "platform/UserStore.h"
#include "screens/GameContext.h"
#include "screens/Messages.h"
#include "screens/StatisticsForm.h"
#include "screens/Texts.h"

#include <QKeyEvent>
#include <algorithm>

namespace
{

void styleButton(TFlatButton *b)
{
    b->setColorFace(zw::clPanel);
    b->setColorFocused(zw::clFocus);
    b->setColorDown(zw::clPanel);
    b->setColorBorder(zw::clGray);
    b->setColorHighLight(zw::clBlack);
    b->setFont(zw::gameFont(11));
}

TLabel *makeLabel(QWidget *parent, const char *name, int left, int top, const QString &text, int size,
                  zw::ColorValue color = zw::clBlack)
{
    auto *l = new TLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(zw::gameFont(size));
    l->setTextColor(color);
    l->setCaption(text);
    l->move(left, top);
    return l;
}

// A label whose right edge stays where the layout puts it.
TLabel *makeRightLabel(QWidget *parent, const char *name, int right, int top, int size)
{
    auto *l = new TLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(zw::gameFont(size));
    l->setAutoSize(false);
    l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int w = 48;
    l->setGeometry(right - w, top, w, QFontMetrics(l->font()).height());
    return l;
}

} // namespace

TUserSelectDialog::TUserSelectDialog(GameContext &context, QWidget *owner) : TForm(owner), context_(context)
{
    setObjectName(QStringLiteral("UserSelectDialog"));
    setStage(context.stage);
    setKeyPreview(true);
    setColor(zw::clPanel);
    setClientSize(433, 251);

    MainPanel = new TFlatPanel(this);
    MainPanel->setObjectName(QStringLiteral("FlatTabControl1"));
    MainPanel->setGeometry(8, 8, 417, 237);
    MainPanel->setColor(zw::clPanel);
    MainPanel->setColorBorder(zw::clGray);
    createChoiceControls(MainPanel);
    createProgressPanel(MainPanel);

    // The logo and its arrows once the picture has its place.
    UserImage->Loaded(&context_.media);

    FormCreate();
}

void TUserSelectDialog::createChoiceControls(QWidget *p)
{
    // Created in tab order.
    NewGameRB = new TFlatRadioButton(p);
    NewGameRB->setObjectName(QStringLiteral("NewGameRB"));
    NewGameRB->setGeometry(8, 8, 113, 25);
    NewGameRB->setText(texts::NewGame);
    NewGameRB->setFont(zw::gameFont(13, true));

    LoadGameRB = new TFlatRadioButton(p);
    LoadGameRB->setObjectName(QStringLiteral("LoadGameRB"));
    LoadGameRB->setGeometry(8, 32, 137, 33);
    LoadGameRB->setText(QStringLiteral("Продолжить игру"));
    LoadGameRB->setFont(zw::gameFont(13, true));

    LogoCaption = makeLabel(p, "Label2", 0, 8, QStringLiteral("Логотип"), 13);
    // Centred on the name label below it.
    LogoCaption->move(160 + (81 - LogoCaption->width()) / 2, 8);

    LabelName = new TLabel(p);
    LabelName->setObjectName(QStringLiteral("LabelName"));
    LabelName->setFont(zw::gameFont(13));
    LabelName->setTextColor(zw::rgbValue(0, 0, 128));
    LabelName->setAutoSize(false);
    LabelName->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    LabelName->setGeometry(160, 32, 81, QFontMetrics(LabelName->font()).height());

    UserImage = new TLabelImage(p);
    UserImage->setObjectName(QStringLiteral("UserImage"));
    UserImage->setAccessibleDescription(QStringLiteral("Логотип"));
    UserImage->setGeometry(264, 8, 50, 50);
    UserImage->BorderColor = zw::clGray;
    UserImage->FocusedColor = zw::clFocus;
    UserImage->DownColor = zw::clPanel;
    UserImage->setCursor(Qt::PointingHandCursor);
    connect(UserImage, &TLabelImage::LabelChange, this, &TUserSelectDialog::UserImageLabelChange);

    OKButton = new TFlatButton(p);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(336, 8, 73, 22);
    OKButton->setText(QStringLiteral("OK"));
    styleButton(OKButton);
    connect(OKButton, &QAbstractButton::clicked, this, &TUserSelectDialog::OKButtonClick);

    BackButton = new TFlatButton(p);
    BackButton->setObjectName(QStringLiteral("BackButton"));
    BackButton->setGeometry(336, 36, 73, 22);
    BackButton->setText(QStringLiteral("Назад"));
    BackButton->setModalResult(mrCancel);
    styleButton(BackButton);
    connect(BackButton, &QAbstractButton::clicked, this, &TUserSelectDialog::BackButtonClick);

    NameCaption = makeLabel(p, "Label1", 8, 70, texts::PlayerName, 13);

    UserSelectComboBox = new TFlatComboBox(p);
    UserSelectComboBox->setObjectName(QStringLiteral("UserSelectComboBox"));
    UserSelectComboBox->setAccessibleName(QStringLiteral("Имя пользователя"));
    UserSelectComboBox->setGeometry(136, 69, 161, 21);
    UserSelectComboBox->setSorted(true);
    UserSelectComboBox->setMaxLength(MaxNameLength);
    UserSelectComboBox->setColor(zw::clWhite);
    UserSelectComboBox->setColorArrowBackground(zw::clFocus);
    UserSelectComboBox->setColorBorder(zw::clGray);
    UserSelectComboBox->setFont(zw::gameFont(11));
    connect(UserSelectComboBox, &QComboBox::currentTextChanged, this,
            &TUserSelectDialog::UserSelectComboBoxChange);

    DeleteButton = new TFlatButton(p);
    DeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    DeleteButton->setGeometry(304, 69, 73, 21);
    DeleteButton->setText(QStringLiteral("Удалить"));
    styleButton(DeleteButton);
    connect(DeleteButton, &QAbstractButton::clicked, this, &TUserSelectDialog::DeleteButtonClick);
}

void TUserSelectDialog::createProgressPanel(QWidget *p)
{
    ProgressPanel = new TFlatPanel(p);
    ProgressPanel->setObjectName(QStringLiteral("FlatTabControl2"));
    ProgressPanel->setGeometry(8, 112, 401, 89);
    ProgressPanel->setColor(zw::clFocus);
    ProgressPanel->setColorBorder(zw::clGray);
    QWidget *s = ProgressPanel;
    LevelCaption = makeLabel(s, "Label3", 8, 16, QStringLiteral("Уровень:"), 19);
    LevelLabel = makeLabel(s, "LevelLabel", 88, 16, QString(), 19);
    LevelLabel->setAccessibleDescription(QStringLiteral("Уровень"));
    ScoresCaption = makeLabel(s, "Label4", 8, 48, QStringLiteral("Очки:"), 19);
    ScoresLabel = makeLabel(s, "ScoresLabel", 88, 48, QString(), 19);
    ScoresLabel->setAccessibleDescription(QStringLiteral("Очки"));
    // The values keep clear of their captions, whose width depends on the face.
    const int valueLeft = std::max(
        {88, LevelCaption->x() + LevelCaption->width() + 6, ScoresCaption->x() + ScoresCaption->width() + 6});
    LevelLabel->move(valueLeft, 16);
    ScoresLabel->move(valueLeft, 48);
    AnswersCaption =
        makeLabel(s, "Label5", 144, 8, QStringLiteral("К-во правильных/неправильных ответов"), 12);
    EasyCaption = makeLabel(s, "Label6", 144, 32, QStringLiteral("На лёгкие задачи:"), 11);
    MediumCaption = makeLabel(s, "Label7", 144, 48, QStringLiteral("На средние задачи:"), 11);
    HardCaption = makeLabel(s, "Label8", 144, 64, QStringLiteral("На тяжёлые задачи:"), 11);
    LDLabel = makeRightLabel(s, "LDLabel", 366, 32, 11);
    MDLabel = makeRightLabel(s, "MDLabel", 366, 48, 11);
    HDLabel = makeRightLabel(s, "HDLabel", 366, 64, 11);
    EasySlash = makeLabel(s, "Label9", 368, 32, QStringLiteral("/"), 11);
    MediumSlash = makeLabel(s, "Label10", 368, 48, QStringLiteral("/"), 11);
    HardSlash = makeLabel(s, "Label11", 368, 64, QStringLiteral("/"), 11);
    LULabel = makeLabel(s, "LULabel", 377, 32, QString(), 11);
    MULabel = makeLabel(s, "MULabel", 377, 48, QString(), 11);
    HULabel = makeLabel(s, "HULabel", 377, 64, QString(), 11);

    // Under the player's progress, after «Удалить» in tab order.
    StatisticsButton = new TFlatButton(p);
    StatisticsButton->setObjectName(QStringLiteral("StatisticsButton"));
    StatisticsButton->setGeometry(289, 208, 120, 22);
    StatisticsButton->setText(QStringLiteral("статистика"));
    styleButton(StatisticsButton);
    connect(StatisticsButton, &QAbstractButton::clicked, this, &TUserSelectDialog::StatisticsButtonClick);
}

TUserSelectDialog::~TUserSelectDialog() = default;

platform::Registry &TUserSelectDialog::registry() const
{
    return context_.store.get();
}

bool TUserSelectDialog::isValidName(const QString &name)
{
    return playername::normalise(name).ok();
}

bool TUserSelectDialog::nameTaken(const QString &name) const
{
    // As the list shows them: a stored name with a trailing space or an
    // invisible character looks the same as the one typed.
    const QString key = playername::compareKey(name);
    return std::any_of(userNames_.begin(), userNames_.end(),
                       [&](const QString &n) { return playername::compareKey(n) == key; });
}

void TUserSelectDialog::FormCreate()
{
    DeleteButton->setEnabled(false);
    StatisticsButton->setEnabled(false);
    userNames_ = registry().subKeyNames(TUser::UsersKey);
    SetNewGameMode(true);
    {
        const QSignalBlocker block(NewGameRB);
        NewGameRB->setChecked(true);
    }
    connect(NewGameRB, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            NewGameRBClick();
    });
    connect(LoadGameRB, &QAbstractButton::toggled, this, [this](bool on) {
        if (on)
            LoadGameRBClick();
    });
    setCursor(Qt::ArrowCursor);
}

void TUserSelectDialog::FormShow()
{
    // A new player's name can be typed at once. Given here, as the dialog
    // shows: on the stage a form becomes the board's child first, and a focus
    // chosen before that would be lost with the move.
    if (NewGameMode)
        UserSelectComboBox->setFocus(Qt::OtherFocusReason);
}

void TUserSelectDialog::SetNewGameMode(bool mode)
{
    if (mode == NewGameMode)
        return;
    platform::PlayClick(context_.sounds);
    NewGameMode = mode;
    if (mode) {
        {
            const QSignalBlocker block(UserSelectComboBox);
            UserSelectComboBox->setItems({});
            UserSelectComboBox->setStyle(TFlatComboBox::Style::Simple);
            UserSelectComboBox->setText(QString());
        }
        UserImage->SetLocked(false);
        UserImage->SetLabelIndex(1);
        LabelName->setCaption(UserImage->LabelCaption());
        DeleteButton->setEnabled(false);
        StatisticsButton->setEnabled(false);
        LevelLabel->setCaption(QStringLiteral("1"));
        ScoresLabel->setCaption(QString::number(30));
        for (TLabel *l : {LDLabel, MDLabel, HDLabel, LULabel, MULabel, HULabel})
            l->setCaption(QStringLiteral("0"));
    } else {
        {
            const QSignalBlocker block(UserSelectComboBox);
            UserSelectComboBox->setStyle(TFlatComboBox::Style::DropDownList);
            UserSelectComboBox->setItems(userNames_);
            UserSelectComboBox->setCurrentIndex(-1);
        }
        UserImage->SetLocked(true);
        UserImage->SetLabelIndex(TLabelImage::NoLabel);
        LabelName->setCaption(UserImage->LabelCaption());
    }
}

void TUserSelectDialog::NewGameRBClick()
{
    selectedUser_.reset();
    SetNewGameMode(true);
    UserSelectComboBox->setFocus(Qt::OtherFocusReason);
}

void TUserSelectDialog::LoadGameRBClick()
{
    selectedUser_.reset();
    SetNewGameMode(false);
}

void TUserSelectDialog::UserSelectComboBoxChange()
{
    const QString name = UserSelectComboBox->text();
    if (NewGameMode || name.isEmpty()) {
        selectedUser_.reset();
        DeleteButton->setEnabled(false);
        StatisticsButton->setEnabled(false);
        return;
    }
    // The previous player goes before the next one is read.
    selectedUser_.reset();
    DeleteButton->setEnabled(true);
    StatisticsButton->setEnabled(true);
    QString path;
    try {
        path = TUser::PlayerPath(name);
        selectedUser_ = TUser::CreateFromRegistry(path, registry(), &context_.media);
        ShowUser(*selectedUser_);
    } catch (const std::exception &) {
        if (context_.messages)
            context_.messages->ShowNotice(
                QStringLiteral("Невозможно загрузить данные о пользователе. Пользователь будет удалён"));
        try {
            if (!path.isEmpty())
                registry().deleteKey(path);
        } catch (const std::exception &) {
            // Gone already or the store refuses: there is nothing more to do.
        }
        selectedUser_.reset();
        {
            const QSignalBlocker block(UserSelectComboBox);
            UserSelectComboBox->setCurrentIndex(-1);
        }
        DeleteButton->setEnabled(false);
        StatisticsButton->setEnabled(false);
    }
}

void TUserSelectDialog::ShowUser(const TUser &user)
{
    UserImage->SetLabelIndex(user.LabelIndex);
    LabelName->setCaption(UserImage->LabelCaption());
    LevelLabel->setCaption(QString::number(user.Level));
    ScoresLabel->setCaption(QString::number(user.Scores));
    LDLabel->setCaption(QString::number(user.LD));
    MDLabel->setCaption(QString::number(user.MD));
    HDLabel->setCaption(QString::number(user.HD));
    LULabel->setCaption(QString::number(user.LU));
    MULabel->setCaption(QString::number(user.MU));
    HULabel->setCaption(QString::number(user.HU));
}

void TUserSelectDialog::OKButtonClick()
{
    platform::PlayClick(context_.sounds);
    auto notice = [this](const QString &text) {
        if (context_.messages)
            context_.messages->ShowNotice(text);
    };
    if (NewGameMode) {
        const PlayerName name = playername::normalise(UserSelectComboBox->text());
        if (!name.ok()) {
            notice(playername::faultText(name.fault));
            return;
        }
        if (nameTaken(name.text)) {
            notice(QStringLiteral("Пользователь с данным именем уже существует."));
            return;
        }
        selectedUser_ = TUser::CreateNew(name.text, std::uint8_t(UserImage->LabelIndex()), &context_.media);
        setModalResult(mrOk);
        return;
    }
    if (selectedUser_) {
        setModalResult(mrOk);
        return;
    }
    notice(QStringLiteral("Выберите пользователя."));
}

void TUserSelectDialog::DeleteButtonClick()
{
    platform::PlayClick(context_.sounds);
    if (!selectedUser_)
        return;
    const QString name = UserSelectComboBox->text();
    if (context_.messages &&
        context_.messages->Ask(QStringLiteral("Удалить игрока %1?").arg(name)) != Reply::Yes)
        return;
    // A look-alike typed name finds the stored one; delete that one, under its own key.
    const QString key = selectedUser_->KeyName.isEmpty() ? name : selectedUser_->KeyName;
    try {
        // The deleted profile stays as its newest backup: the profile tool's restore brings it back.
        ProfileBackup::deletePlayer(registry(), key);
    } catch (const std::exception &) {
        // A key already gone is no error.
    }
    for (qsizetype i = userNames_.size() - 1; i >= 0; --i) {
        if (playername::compareKey(userNames_[i]) == playername::compareKey(key))
            userNames_.removeAt(i);
    }
    {
        const QSignalBlocker block(UserSelectComboBox);
        UserSelectComboBox->setItems(userNames_);
        UserSelectComboBox->setCurrentIndex(-1);
    }
    selectedUser_.reset();
    DeleteButton->setEnabled(false);
    StatisticsButton->setEnabled(false);
}

void TUserSelectDialog::StatisticsButtonClick()
{
    platform::PlayClick(context_.sounds);
    if (!selectedUser_ || NewGameMode)
        return;
    // The screen frees itself when it closes; the dialog goes on as it was.
    auto *screen = new TStatisticsForm(context_, *selectedUser_, this);
    screen->ShowModal();
}

void TUserSelectDialog::BackButtonClick()
{
    platform::PlayClick(context_.sounds);
}

void TUserSelectDialog::UserImageLabelChange()
{
    LabelName->setCaption(UserImage->LabelCaption());
}

bool TUserSelectDialog::FormKeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OKButtonClick();
        return true;
    }
    if (event->key() == Qt::Key_Escape) {
        BackButton->Click();
        return true;
    }
    return false;
}

void TUserSelectDialog::FormClose(CloseAction &action)
{
    // The main menu frees the dialog after reading its result.
    action = CloseAction::Hide;
}
