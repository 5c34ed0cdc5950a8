// The yardstick for start-up timing: a bare Qt Widgets program that opens one
// 800 x 600 window, or with --full-screen one that fills the screen. With ZENTRIKA_EXIT_AFTER_FIRST_PAINT=1
// it prints the moment of its first paint and the CPU time it took to get there, as the game does, and ends.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace
{
class Window : public QWidget
{
  protected:
    bool event(QEvent *e) override
    {
        const bool handled = QWidget::event(e);
        if (e->type() == QEvent::Paint && !painted_ &&
            qEnvironmentVariableIntValue("ZENTRIKA_EXIT_AFTER_FIRST_PAINT")) {
            painted_ = true;
            QTimer::singleShot(0, [] {
                const auto us = std::chrono::duration_cast<std::chrono::microseconds>(
                    std::chrono::system_clock::now().time_since_epoch());
                rusage usage{};
                getrusage(RUSAGE_SELF, &usage);
                const long long cpu = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL +
                                      usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
                std::printf("first-paint-us=%lld\nfirst-paint-cpu-us=%lld\n",
                            static_cast<long long>(us.count()), cpu);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return handled;
    }

  private:
    bool painted_ = false;
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Window w;
    w.resize(800, 600);
    // The reference for the game's scaled full screen: the same screen
    // filled, at the factor the caller gives Qt (QT_SCALE_FACTOR).
    if (QCoreApplication::arguments().contains(QStringLiteral("--full-screen")))
        w.showFullScreen();
    else
        w.show();
    return app.exec();
}
