#pragma once
// A picture box showing one of the five player logos of the media library
// with its name, and two arrow buttons at its sides that step through them.
#include "widgets/Colors.h"
#include "widgets/Shape.h"

#include <QPointer>
#include <QString>

#include "widgets/FlatButton.h"

namespace platform
{
class IResourceLibrary;
}

class TLabelImage : public TPictureBox
{
    Q_OBJECT
  public:
    static constexpr int LogoCount = 5;
    static constexpr int NoLabel = -1;

    explicit TLabelImage(QWidget *parent = nullptr);

    zw::ColorValue BorderColor = zw::clGray;
    zw::ColorValue FocusedColor = zw::clFocus;
    zw::ColorValue DownColor = zw::clPanel;

    // Once the control has its place and colours: loads logo 1 from media
    // (logos and their names; null shows none) and puts the arrow buttons on
    // the parent at the control's sides.
    void Loaded(const platform::IResourceLibrary *media);

    void SetLabelIndex(int n);
    void SetLocked(bool locked);
    int LabelIndex() const { return labelIndex_; }
    QString LabelCaption() const { return caption_; }
    bool Locked() const { return locked_; }

    TFlatButton *PrevButton() const { return prev_; }
    TFlatButton *NextButton() const { return next_; }

    void PrevClick();
    void NextClick();

  signals:
    // After a logo was loaded.
    void LabelChange(TLabelImage *sender);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    bool LoadLabel(int n);

    int labelIndex_ = 0;
    const platform::IResourceLibrary *media_ = nullptr;
    QString caption_;
    bool locked_ = false;
    QPointer<TFlatButton> prev_;
    QPointer<TFlatButton> next_;
};
