#include "screens/MessageBoxForm.h"

#include "platform/ResourceLibrary.h"
#include "platform/Sounds.h"

#include <QKeyEvent>

namespace
{
constexpr int kHeight = 78;

void styleButton(TFlatButton *b)
{
    b->setColorFace(zw::clPanel);
    b->setColorFocused(zw::clFocus);
    b->setColorDown(zw::clPanel);
    b->setColorBorder(zw::clGray);
    b->setColorHighLight(zw::clBlack);
    b->setFont(zw::gameFont(13));
}

const platform::IResourceLibrary &media(const platform::IResourceLibrary *library)
{
    if (!library)
        throw platform::EResourceError("The media library is not loaded");
    return *library;
}
} // namespace

TMessageBoxForm::TMessageBoxForm(const platform::IResourceLibrary *media, QWidget *owner,
                                 const platform::Sounds *sounds)
    : TForm(owner, Qt::WindowStaysOnTopHint), media_(media), sounds_(sounds)
{
    setObjectName(QStringLiteral("MessageBoxForm"));
    setKeyPreview(true);
    setColor(zw::clPanel);
    setClientSize(233, kHeight);

    Frame = new TShape(this);
    Frame->setObjectName(QStringLiteral("Ramka"));
    Frame->setGeometry(8, 8, 226, 62);
    Frame->setPenColor(zw::clGray);

    Image = new TPictureBox(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(14, 14, PictureWidth, 50);
    Image->hide();

    Text = new TLabel(this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setFont(zw::gameFont(13));
    Text->move(25, 17);

    OKButton = new TFlatButton(this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(161, 42, 65, 20);
    OKButton->setModalResult(mrOk);
    styleButton(OKButton);
    connect(OKButton, &QAbstractButton::clicked, this, &TMessageBoxForm::OKButtonClick);

    CancelBtn = new TFlatButton(this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(89, 42, 65, 20);
    CancelBtn->setModalResult(mrCancel);
    CancelBtn->setText(QStringLiteral("Нет"));
    styleButton(CancelBtn);
    CancelBtn->hide();
    connect(CancelBtn, &QAbstractButton::clicked, this, &TMessageBoxForm::CancelBtnClick);
}

int TMessageBoxForm::Execute()
{
    return ShowModal();
}

void TMessageBoxForm::ResetLayout()
{
    Text->move(18, Text->y());
    Image->hide();
    CancelBtn->hide();
    OKButton->setText(QStringLiteral("Ok"));
}

void TMessageBoxForm::LoadPicture(const QString &name)
{
    Image->clearPicture();
    Image->setPicture(media(media_).loadBitmap(name));
}

void TMessageBoxForm::LoadPicture(int id)
{
    Image->clearPicture();
    Image->setPicture(media(media_).loadBitmap(id));
}

void TMessageBoxForm::ShowNotice(const QString &text)
{
    ResetLayout();
    Text->setCaption(text);
    const int w = Text->width();
    setClientSize(w + 36, kHeight);
    Frame->resize(w + 20, Frame->height());
    OKButton->move(w - 45, OKButton->y());
    centre();
    platform::PlayWave(sounds_, platform::Wave::Error);
    Execute();
}

void TMessageBoxForm::LayOutWithPicture()
{
    const int w = Text->width();
    Text->move(PictureWidth + 27, Text->y());
    Frame->resize(w + PictureWidth + 25, Frame->height());
    setClientSize(Frame->width() + 16, kHeight);
}

void TMessageBoxForm::ShowPictureNotice(const QString &bitmapName, const QString &text)
{
    ResetLayout();
    LoadPicture(bitmapName);
    Image->show();
    Text->setCaption(text);
    LayOutWithPicture();
    OKButton->move(width() - OKButton->width() - 16, OKButton->y());
    centre();
    Execute();
}

void TMessageBoxForm::ShowPictureIdNotice(int bitmapId, const QString &text)
{
    ResetLayout();
    LoadPicture(bitmapId);
    Image->show();
    Text->setCaption(text);
    LayOutWithPicture();
    OKButton->move(width() - OKButton->width() - 16, OKButton->y());
    centre();
    Execute();
}

Reply TMessageBoxForm::Ask(const QString &question)
{
    LoadPicture(QStringLiteral("QUESTION"));
    Image->show();
    Text->setCaption(question);
    CancelBtn->show();
    LayOutWithPicture();
    CancelBtn->move(width() - OKButton->width() - 16, CancelBtn->y());
    OKButton->move(CancelBtn->x() - 72, OKButton->y());
    OKButton->setText(QStringLiteral("Да"));
    centre();
    platform::PlayWave(sounds_, platform::Wave::Error);
    return Execute() == mrOk ? Reply::Yes : Reply::No;
}

void TMessageBoxForm::ShowTrueAnswer()
{
    platform::PlayWave(sounds_, platform::Wave::TrueAnswer);
    ShowPictureNotice(QStringLiteral("TRUEANSWERB"), QStringLiteral("Поздравляем с правильным ответом!"));
}

void TMessageBoxForm::ShowFalseAnswer()
{
    platform::PlayWave(sounds_, platform::Wave::FalseAnswer);
    ShowPictureNotice(QStringLiteral("FALSEANSWERB"),
                      QStringLiteral("Ответ неправильный, подумайте получше!"));
}

bool TMessageBoxForm::FormKeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        setModalResult(mrOk);
        break;
    case Qt::Key_Escape:
        setModalResult(mrCancel);
        break;
    default:
        break;
    }
    return false;
}

void TMessageBoxForm::OKButtonClick()
{
    platform::PlayClick(sounds_);
}

void TMessageBoxForm::CancelBtnClick()
{
    platform::PlayClick(sounds_);
}
