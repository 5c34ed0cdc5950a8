#include "platform/desktop/GameApplication.h"

#include <QMessageBox>
#include <cstdio>

namespace platform {

namespace {
ErrorReporter g_reporter;
ErrorTranslator g_translator;
EventGate g_gate;
KeyInterceptor g_keys;
bool g_reporting = false;
}  // namespace

void setErrorReporter(ErrorReporter reporter)
{
    g_reporter = std::move(reporter);
}

void reportError(const QString &message)
{
    // An error raised while the report is up (a paint handler that fails on
    // every repaint) would stack boxes without end; it goes to stderr instead.
    if (g_reporting) {
        std::fprintf(stderr, "zentrika: %s\n", qPrintable(message));
        return;
    }
    g_reporting = true;
    try {
        if (g_reporter) {
            g_reporter(message);
        } else {
            QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), message,
                            QMessageBox::Ok);
            box.exec();
        }
    } catch (...) {
        g_reporting = false;
        throw;
    }
    g_reporting = false;
}

void reportError(const QString &shown, const QString &detail)
{
    if (!detail.isEmpty())
        std::fprintf(stderr, "zentrika: %s\n", qPrintable(detail));
    reportError(shown);
}

void setErrorTranslator(ErrorTranslator translator)
{
    g_translator = std::move(translator);
}

void reportError(const std::exception *error)
{
    const QString detail = error ? QString::fromUtf8(error->what()) : QStringLiteral("Unknown error");
    QString shown = g_translator ? g_translator(error) : QString();
    if (shown.isEmpty())
        shown = QStringLiteral("В игре произошла ошибка. Вернитесь в главное меню и повторите; "
                               "если ошибка повторяется, переустановите игру.");
    reportError(shown, detail);
}

GameApplication::GameApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

void GameApplication::setEventGate(EventGate gate)
{
    g_gate = std::move(gate);
}

void GameApplication::setKeyInterceptor(KeyInterceptor interceptor)
{
    g_keys = std::move(interceptor);
}

bool GameApplication::notify(QObject *receiver, QEvent *event)
{
    return deliverReportingErrors([&] {
        if (g_gate && g_gate(receiver, event))
            return true;
        if (g_keys && event->type() == QEvent::KeyPress && g_keys(receiver, static_cast<QKeyEvent *>(event)))
            return true;
        return QApplication::notify(receiver, event);
    });
}

}  // namespace platform
