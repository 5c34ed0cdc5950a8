#include "platform/desktop/GameApplication.h"

#include <cstdio>

namespace platform
{

namespace
{

void printLine(const QString &text)
{
    std::fprintf(stderr, "zentrika: %s\n", qPrintable(text));
}

QString detailOf(const std::exception *error)
{
    return error ? QString::fromUtf8(error->what()) : QStringLiteral("Unknown error");
}

} // namespace

GameApplication::GameApplication(int &argc, char **argv) : QApplication(argc, argv) {}

GameApplication *GameApplication::instance()
{
    return qobject_cast<GameApplication *>(QCoreApplication::instance());
}

void GameApplication::setEventGate(EventGate gate)
{
    gate_ = std::move(gate);
}

void GameApplication::setKeyInterceptor(KeyInterceptor interceptor)
{
    keys_ = std::move(interceptor);
}

void GameApplication::setErrorReporter(ErrorReporter reporter)
{
    reporter_ = std::move(reporter);
}

void GameApplication::setErrorTranslator(ErrorTranslator translator)
{
    translator_ = std::move(translator);
}

void GameApplication::reportError(const QString &shown, const QString &detail)
{
    if (!detail.isEmpty())
        printLine(detail);
    if (reporting_ || !reporter_) {
        printLine(shown);
        return;
    }
    reporting_ = true;
    try {
        reporter_(shown);
    } catch (...) {
        reporting_ = false;
        throw;
    }
    reporting_ = false;
}

void GameApplication::reportError(const std::exception *error)
{
    const QString detail = detailOf(error);
    // Without the game's texts the detail is all there is to show.
    const QString shown = translator_ ? translator_(error) : QString();
    reportError(shown.isEmpty() ? detail : shown, detail);
}

bool GameApplication::notify(QObject *receiver, QEvent *event)
{
    return deliverReportingErrors([&] {
        if (gate_ && gate_(receiver, event))
            return true;
        if (keys_ && event->type() == QEvent::KeyPress && keys_(receiver, static_cast<QKeyEvent *>(event)))
            return true;
        return QApplication::notify(receiver, event);
    });
}

void reportError(const QString &message)
{
    reportError(message, QString());
}

void reportError(const QString &shown, const QString &detail)
{
    if (GameApplication *app = GameApplication::instance()) {
        app->reportError(shown, detail);
        return;
    }
    if (!detail.isEmpty())
        printLine(detail);
    printLine(shown);
}

void reportError(const std::exception *error)
{
    if (GameApplication *app = GameApplication::instance())
        app->reportError(error);
    else
        printLine(detailOf(error));
}

} // namespace platform
