#pragma once
// The player's sound switch, shared by the main menu's speaker button and the
// key M: one state, and a signal so that every view of it follows.
#include <QObject>

class QKeyEvent;
class QWidget;

class TSoundSwitch : public QObject {
    Q_OBJECT
public:
    static TSoundSwitch &instance();

    bool isOn() const;
    void setOn(bool on);
    void toggle() { setOn(!isOn()); }

    // M (or the key in its place on a Russian layout) with no modifier, unless
    // the focused control takes typed text: there the key types a letter.
    static bool isSwitchKey(const QKeyEvent *event, const QWidget *focused);

signals:
    void changed(bool on);
};

#include "widgets/FlatButton.h"

// The main menu's speaker: a flat speed button like "?" with a speaker drawn
// on it, sounding waves when the sounds are on and a cross when they are off.
class TSoundButton : public TFlatSpeedButton {
    Q_OBJECT
public:
    explicit TSoundButton(QWidget *parent = nullptr);

    // The description shown under the pointer, for the state the click brings.
    static QString description(bool soundOn);

signals:
    void mouseEntered();
    void mouseLeft();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
