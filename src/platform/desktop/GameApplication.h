#pragma once
// The application object of the game. An error that escapes an event handler
// is not fatal: it is reported and the program goes on, as every screen of the
// game expects. What the player reads and how it is shown are the game's: the
// app installs them here; this layer only catches, keeps reports from
// stacking and writes the technical detail to stderr.
#include <QApplication>
#include <QKeyEvent>
#include <exception>
#include <functional>

namespace platform
{

// Shows what a player should read (the game: a modal message box; tests record).
using ErrorReporter = std::function<void(const QString &message)>;
// Turns an escaped error (null: not a std::exception) into what a player reads.
using ErrorTranslator = std::function<QString(const std::exception *error)>;

// Sees every event before any event filter; true drops it. The game's stage
// holds back input for forms under a modal one, before those forms' own filters.
using EventGate = std::function<bool(QObject *receiver, QEvent *event)>;

// Sees every key press before anything else; true consumes it. Keys that work
// on every screen (full screen, the sound switch) go here.
using KeyInterceptor = std::function<bool(QObject *receiver, QKeyEvent *event)>;

class GameApplication : public QApplication
{
    Q_OBJECT
  public:
    GameApplication(int &argc, char **argv);

    // The application object of this process when it is a GameApplication
    // (tools and benchmarks run a plain one).
    static GameApplication *instance();

    // Each handler belongs to whoever sets it, who sets an empty one before it goes.
    void setEventGate(EventGate gate);
    void setKeyInterceptor(KeyInterceptor interceptor);
    void setErrorReporter(ErrorReporter reporter);
    void setErrorTranslator(ErrorTranslator translator);

    // Shows `shown` through the reporter (stderr without one) and writes the
    // detail to stderr. A report raised while one is up (a paint handler that
    // fails on every repaint) goes to stderr instead of stacking boxes.
    void reportError(const QString &shown, const QString &detail = QString());
    void reportError(const std::exception *error);

    bool notify(QObject *receiver, QEvent *event) override;

  private:
    EventGate gate_;
    KeyInterceptor keys_;
    ErrorReporter reporter_;
    ErrorTranslator translator_;
    bool reporting_ = false;
};

// The same through this process's GameApplication; on stderr where there is none.
void reportError(const QString &message);
void reportError(const QString &shown, const QString &detail);
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

} // namespace platform
