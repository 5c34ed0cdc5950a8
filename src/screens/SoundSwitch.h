#pragma once
// The player's sound switch (platform::Sounds::enabled) is turned by the main
// menu's speaker button and the key M.
class QKeyEvent;
class QWidget;

namespace platform
{
class Sounds;
}

class TSoundSwitch
{
  public:
    // M (or the key in its place on a Russian layout) with no modifier, unless
    // the focused control takes typed text: there the key types a letter.
    static bool isSwitchKey(const QKeyEvent *event, const QWidget *focused);
};

#include "widgets/FlatButton.h"

// The main menu's speaker: a flat speed button like "?" with a speaker drawn
// on it, sounding waves when the sounds are on and a cross when they are off.
class TSoundButton : public TFlatSpeedButton
{
    Q_OBJECT
  public:
    // sounds: whose switch it shows and turns; null shows it on and turns nothing.
    explicit TSoundButton(platform::Sounds *sounds, QWidget *parent = nullptr);

    // The description shown under the pointer, for the state the click brings.
    static QString description(bool soundOn);

  signals:
    void mouseEntered();
    void mouseLeft();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

  private:
    bool soundOn() const;

    platform::Sounds *sounds_;
};
