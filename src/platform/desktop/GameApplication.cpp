#include "platform/desktop/GameApplication.h"

#include <QMessageBox>
#include <cstdio>
#include <exception>

namespace platform {

GameApplication::GameApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool GameApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportError(QString::fromUtf8(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
    return false;
}

void GameApplication::reportError(const QString &message)
{
    // An error raised while the report is up (a paint handler that fails on
    // every repaint) would stack boxes without end; it goes to stderr instead.
    if (reporting_) {
        std::fprintf(stderr, "zentrika: %s\n", qPrintable(message));
        return;
    }
    reporting_ = true;
    if (reporter_) {
        reporter_(message);
    } else {
        QMessageBox box(QMessageBox::Critical, applicationDisplayName(), message, QMessageBox::Ok);
        box.exec();
    }
    reporting_ = false;
}

}  // namespace platform
