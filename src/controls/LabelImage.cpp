#include "controls/LabelImage.h"

#include "platform/ResourceLibrary.h"
#include "widgets/FlatButton.h"

#include <QPainter>

TLabelImage::TLabelImage(QWidget *parent) : TPictureBox(parent) {}

void TLabelImage::Loaded(const platform::IResourceLibrary *media)
{
    media_ = media;
    labelIndex_ = 1;
    LoadLabel(1);

    QWidget *host = parentWidget();
    if (!host || prev_)
        return;
    prev_ = new TFlatButton(host);
    next_ = new TFlatButton(host);
    prev_->setObjectName(QStringLiteral("PrevButton"));
    next_->setObjectName(QStringLiteral("NextButton"));
    connect(prev_, &QAbstractButton::clicked, this, &TLabelImage::PrevClick);
    connect(next_, &QAbstractButton::clicked, this, &TLabelImage::NextClick);

    // Each button overlaps the picture by one pixel.
    const int bw = width() / 5;
    prev_->setGeometry(x() - bw + 1, y(), bw, height());
    next_->setGeometry(x() + width() - 1, y(), bw, height());
    for (TFlatButton *b : {prev_.data(), next_.data()}) {
        b->setColorBorder(BorderColor);
        b->setColorHighLight(BorderColor);
        b->setColorFocused(FocusedColor);
        b->setColorDown(DownColor);
        b->setColorFace(zw::clPanel);
        QFont f = zw::gameFont(19);
        b->setFont(f);
        QPalette pal = b->palette();
        pal.setColor(QPalette::ButtonText, zw::toQColor(BorderColor));
        pal.setColor(QPalette::WindowText, zw::toQColor(BorderColor));
        b->setPalette(pal);
        b->setCursor(cursor());
        b->show();
    }
    prev_->setText(QStringLiteral("<"));
    next_->setText(QStringLiteral(">"));
    prev_->setAccessibleName(QStringLiteral("Предыдущий логотип"));
    next_->setAccessibleName(QStringLiteral("Следующий логотип"));
    // The picture's frame stays on top of the buttons' overlapping pixel.
    raise();
    SetLocked(false);
}

void TLabelImage::SetLabelIndex(int n)
{
    if (n == labelIndex_)
        return;
    if (n == NoLabel) {
        labelIndex_ = NoLabel;
        QImage white(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        white.fill(Qt::white);
        setPicture(white);
        caption_.clear();
        return;
    }
    if (n > LogoCount)
        n = 1;
    if (n < 1)
        n = LogoCount;
    labelIndex_ = n;
    LoadLabel(n);
}

void TLabelImage::SetLocked(bool locked)
{
    locked_ = locked;
    if (prev_)
        prev_->setEnabled(!locked);
    if (next_)
        next_->setEnabled(!locked);
    update();
}

void TLabelImage::PrevClick()
{
    SetLabelIndex(labelIndex_ - 1);
}

void TLabelImage::NextClick()
{
    SetLabelIndex(labelIndex_ + 1);
}

bool TLabelImage::LoadLabel(int n)
{
    clearPicture();
    if (!media_)
        return false;
    try {
        setPicture(media_->loadBitmap(n));
        caption_ = media_->loadString(n).left(255);
    } catch (const std::exception &) {
        // A missing logo shows blank; the dialog carries on with the old name.
        return false;
    }
    emit LabelChange(this);
    return true;
}

void TLabelImage::paintEvent(QPaintEvent *event)
{
    TPictureBox::paintEvent(event);
    QPainter p(this);
    p.setPen(zw::toQColor(BorderColor));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
