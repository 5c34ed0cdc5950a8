#include "screens/SoundSwitch.h"

#include "platform/Sounds.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

bool TSoundSwitch::isSwitchKey(const QKeyEvent *event, const QWidget *focused)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (mods != Qt::NoModifier && mods != Qt::ShiftModifier)
        return false;
    // Qt names the key by the letter it types: "Ь" where the layout is Russian.
    if (event->key() != Qt::Key_M && event->key() != 0x042C)
        return false;
    if (event->isAutoRepeat())
        return false;
    if (const auto *edit = qobject_cast<const QLineEdit *>(focused); edit && !edit->isReadOnly())
        return false;
    return !(focused && focused->testAttribute(Qt::WA_InputMethodEnabled));
}

#include <QPainter>
#include <QPainterPath>

TSoundButton::TSoundButton(platform::Sounds *sounds, QWidget *parent)
    : TFlatSpeedButton(parent), sounds_(sounds)
{
    setObjectName(QStringLiteral("SoundButton"));
    if (sounds_) {
        connect(this, &QAbstractButton::clicked, sounds_, &platform::Sounds::toggle);
        connect(sounds_, &platform::Sounds::enabledChanged, this, [this](bool on) {
            setAccessibleName(description(on));
            update();
        });
    }
    setAccessibleName(description(soundOn()));
}

bool TSoundButton::soundOn() const
{
    return !sounds_ || sounds_->enabled();
}

QString TSoundButton::description(bool soundOn)
{
    return soundOn ? QStringLiteral("Выключить звук (M)") : QStringLiteral("Включить звук (M)");
}

void TSoundButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill =
        zw::toQColor(isDown() ? colors().down : (highlighted() ? colors().focused : colors().face));
    paintFace(p, fill);
    // Drawn in a 41-pixel box as "?" is; the part above the screen's edge is hidden.
    p.translate(width() / 2.0 - 20.5 + (isDown() ? 1 : 0), height() / 2.0 - 20.5 + 2.5 + (isDown() ? 1 : 0));
    QPainterPath speaker;
    speaker.moveTo(9, 17);
    speaker.lineTo(14, 17);
    speaker.lineTo(21, 10);
    speaker.lineTo(21, 32);
    speaker.lineTo(14, 25);
    speaker.lineTo(9, 25);
    speaker.closeSubpath();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::black);
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    if (soundOn()) {
        p.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(18, 15, 8, 12), -50 * 16, 100 * 16);
        p.drawArc(QRectF(17, 11, 14, 20), -50 * 16, 100 * 16);
    } else {
        p.setPen(QPen(QColor(160, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(25, 16), QPointF(33, 26));
        p.drawLine(QPointF(33, 16), QPointF(25, 26));
    }
}

void TSoundButton::enterEvent(QEnterEvent *event)
{
    TFlatSpeedButton::enterEvent(event);
    emit mouseEntered();
}

void TSoundButton::leaveEvent(QEvent *event)
{
    TFlatSpeedButton::leaveEvent(event);
    emit mouseLeft();
}
