#pragma once
// The application object of the game. An error that escapes an event handler
// is not fatal: its message is shown in a message dialog and the program goes
// on, as every screen of the game expects.
#include <QApplication>
#include <exception>
#include <functional>

namespace platform {

// How an escaped error is shown: a modal critical message box titled with the
// application's name, unless a reporter is set (tests record instead).
using ErrorReporter = std::function<void(const QString &message)>;
void setErrorReporter(ErrorReporter reporter);
void reportError(const QString &message);

// Runs deliver() and turns an exception escaping it into an error report.
template <class Deliver> bool deliverReportingErrors(Deliver &&deliver)
{
    try {
        return deliver();
    } catch (const std::exception &e) {
        reportError(QString::fromUtf8(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
    return false;
}

class GameApplication : public QApplication {
    Q_OBJECT
public:
    GameApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

}  // namespace platform
