#include "app/Diagnostics.h"

#include "app/GameDisplay.h"
#include "app/GameSession.h"
#include "platform/desktop/SdlSoundPlayer.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <chrono>

#include <sys/resource.h>

namespace app
{

namespace
{

// User and system time of the whole process so far: on a busy machine the
// wall clock mostly says how long the game waited for a core.
double cpuMilliseconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1000.0 + double(t.tv_usec) / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace

void markStep(const char *step)
{
    static const bool on = qEnvironmentVariableIntValue("ZENTRIKA_STARTUP_TIMES") != 0;
    static const auto origin = std::chrono::steady_clock::now();
    if (on)
        std::fprintf(
            stderr, "%8.1f ms  (cpu %6.1f ms)  %s\n",
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - origin).count(),
            cpuMilliseconds(), step);
}

void printFirstPaint()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("first-paint-us=%lld\nfirst-paint-cpu-us=%lld\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()),
                static_cast<long long>(cpuMilliseconds() * 1000.0));
    std::fflush(stdout);
}

void print(const QString &text, FILE *to)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

void printDiagnostics(const GameSession &session, const GameDisplay &screen,
                      const platform::SdlSoundPlayer &player, bool messageBoxReady,
                      const QPointer<QWidget> &form)
{
    QStringList lines = session.diagnostics() + screen.diagnostics();
    lines << QStringLiteral("sound=%1").arg(player.isOpen() ? QStringLiteral("on") : QStringLiteral("off"));
    lines << QStringLiteral("message-box=%1")
                 .arg(messageBoxReady ? QStringLiteral("ready") : QStringLiteral("missing"));
    if (form)
        lines << QStringLiteral("main-form=%1x%2+%3+%4")
                     .arg(form->width())
                     .arg(form->height())
                     .arg(form->x())
                     .arg(form->y());
    print(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void printAfterShutdown()
{
    const QPalette palette = QGuiApplication::palette();
    print(QStringLiteral("after-shutdown highlight=%1 highlighted-text=%2\n")
              .arg(palette.color(QPalette::Active, QPalette::Highlight).name(),
                   palette.color(QPalette::Active, QPalette::HighlightedText).name()));
}

} // namespace app
