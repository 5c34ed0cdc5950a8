#include "TextUnits.h"

#include <QGuiApplication>
#include <QScreen>

namespace richtext
{

double pixelsPerPoint()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            return screen->logicalDotsPerInchY() / 72.0;
    return 96.0 / 72.0;
}

} // namespace richtext
