#pragma once
// The application object of the game. An error that escapes an event handler
// is not fatal: its message is shown in a message dialog and the program goes
// on, as every screen of the game expects.
#include <QApplication>
#include <functional>

namespace platform {

class GameApplication : public QApplication {
    Q_OBJECT
public:
    GameApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // How an escaped error is shown; a modal critical message box by default.
    // Tests put a recorder here.
    using Reporter = std::function<void(const QString &message)>;
    void setErrorReporter(Reporter reporter) { reporter_ = std::move(reporter); }
    void reportError(const QString &message);

private:
    Reporter reporter_;
    bool reporting_ = false;
};

}  // namespace platform
