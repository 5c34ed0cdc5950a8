#include "app/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace app
{

FirstPaint::FirstPaint(QWidget *form, std::function<void()> then) : QObject(form), then_(std::move(then))
{
    form->installEventFilter(this);
}

bool FirstPaint::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !done_) {
        done_ = true;
        watched->removeEventFilter(this);
        // After this paint has reached the screen.
        QTimer::singleShot(0, this, then_);
    }
    return false;
}

} // namespace app
