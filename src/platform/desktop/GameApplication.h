#pragma once
// The application object of the game. An error that escapes an event handler
// is not fatal: its message is shown in a message dialog and the program goes
// on, as every screen of the game expects.
#include <QApplication>
#include <QKeyEvent>
#include <exception>
#include <functional>

namespace platform {

// How an escaped error is shown: a modal critical message box titled with the
// application's name, unless a reporter is set (tests record instead).
using ErrorReporter = std::function<void(const QString &message)>;
void setErrorReporter(ErrorReporter reporter);
void reportError(const QString &message);
// Shows what a player should read and writes the technical detail (English,
// with paths) to stderr.
void reportError(const QString &shown, const QString &detail);

// Turns an escaped error into what a player reads; start-up sets the game's
// own. Without one a player reads a general Russian notice.
using ErrorTranslator = std::function<QString(const std::exception *error)>;
void setErrorTranslator(ErrorTranslator translator);
void reportError(const std::exception *error);

// Runs deliver() and turns an exception escaping it into an error report.
template <class Deliver> bool deliverReportingErrors(Deliver &&deliver)
{
    try {
        return deliver();
    } catch (const std::exception &e) {
        reportError(&e);
    } catch (...) {
        reportError(nullptr);
    }
    return false;
}

// Sees every event before any event filter; true drops it. The game's stage
// holds back input for forms under a modal one, before those forms' own filters.
using EventGate = std::function<bool(QObject *receiver, QEvent *event)>;

// Sees every key press before anything else; true consumes it. Keys that work
// on every screen (full screen, the sound switch) go here.
using KeyInterceptor = std::function<bool(QObject *receiver, QKeyEvent *event)>;

class GameApplication : public QApplication {
    Q_OBJECT
public:
    GameApplication(int &argc, char **argv);

    static void setEventGate(EventGate gate);
    static void setKeyInterceptor(KeyInterceptor interceptor);

    bool notify(QObject *receiver, QEvent *event) override;
};

}  // namespace platform
