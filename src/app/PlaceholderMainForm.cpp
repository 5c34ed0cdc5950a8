#include "app/PlaceholderMainForm.h"

#include "app/Startup.h"
#include "platform/DisplayModes.h"
#include "platform/ResourceLibrary.h"
#include "platform/desktop/ApplicationEvents.h"

#include <QKeyEvent>
#include <QPainter>

namespace app {

PlaceholderMainForm::PlaceholderMainForm(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Zentrika"));
    setFixedSize(ScreenWidth, ScreenHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (platform::IResourceLibrary *media = platform::mediaLibrary()) {
        try {
            background_ = media->loadBitmap(QStringLiteral("StartScreen"));
        } catch (const platform::EResourceError &) {
            // Painted plain below: a start screen without its picture still starts.
        }
    }

    auto *events = new platform::ApplicationEvents(this);
    connect(events, &platform::ApplicationEvents::deactivated, this, [this] {
        // In a window the desktop keeps its mode and the game need not hide.
        if (platform::displayModes())
            showMinimized();
    });
    connect(events, &platform::ApplicationEvents::minimized, this, [] { platform::RestoreDisplayMode(); });
    connect(events, &platform::ApplicationEvents::restored, this,
            [] { platform::SwitchDisplayMode(ScreenWidth, ScreenHeight); });
}

void PlaceholderMainForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!background_.isNull()) {
        p.drawImage(0, 0, background_);
        return;
    }
    p.fillRect(rect(), QColor(253, 237, 196));
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPixelSize(64);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    p.drawText(rect(), Qt::AlignCenter, QStringLiteral("Zentrika"));
}

void PlaceholderMainForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

}  // namespace app
