#include "app/GameDisplay.h"

#include "platform/Sounds.h"
#include "platform/desktop/GameApplication.h"
#include "platform/desktop/WindowScale.h"
#include "screens/SoundSwitch.h"
#include "widgets/Form.h"
#include "widgets/Label.h"
#include "widgets/Stage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace app
{

namespace
{

QString rectText(QRect r)
{
    return QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y());
}

// A widget's rectangle on the screen in the display's own pixels.
QRect devicePixels(const QWidget *w)
{
    const qreal dpr = w->devicePixelRatioF();
    const QPoint topLeft = w->mapToGlobal(QPoint(0, 0));
    return QRect(qRound(topLeft.x() * dpr), qRound(topLeft.y() * dpr), qRound(w->width() * dpr),
                 qRound(w->height() * dpr));
}

bool isFullScreenKey(const QKeyEvent *e)
{
    if (e->isAutoRepeat())
        return false;
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (e->key() == Qt::Key_F11 && mods == Qt::NoModifier)
        return true;
    return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && mods == Qt::AltModifier;
}

int g_reportFd = -1;

void onReportSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_reportFd, &c, 1);
}

} // namespace

GameDisplay::GameDisplay(platform::GameApplication &application, platform::Sounds &sounds,
                         const VideoPlan &plan, Settings settings, bool videoFromCommandLine, QSize picture,
                         QString settingsPath)
    : application_(application), sounds_(sounds), plan_(plan), settings_(std::move(settings)),
      videoFromCommandLine_(videoFromCommandLine), settingsPath_(std::move(settingsPath))
{
    if (plan_.mode != VideoOption::Switch) {
        stage_ = std::make_unique<TStage>(picture);
        stage_->setWindowTitle(QStringLiteral("Zentrika"));
        // A factor the player set holds for the whole run; ours follows the window.
        stage_->setScalesWithWindow(!plan_.userFactor);
        if (plan_.mode == VideoOption::Scale && !plan_.output.isEmpty()) {
            // F11 leaves full screen for the window's last size, centred.
            const double compositorScale = plan_.factor / plan_.qtFactor;
            const QSize device = settings_.windowSize.isValid() ? settings_.windowSize : picture;
            const QSize native =
                (QSizeF(device) / compositorScale).toSize().boundedTo(plan_.output / compositorScale);
            const QSize output = (QSizeF(plan_.output) / compositorScale).toSize();
            stage_->setWindowGeometry(
                QRect(QPoint((output.width() - native.width()) / 2, (output.height() - native.height()) / 2),
                      native));
        }
        QObject::connect(stage_.get(), &TStage::fullScreenChanged, stage_.get(), [this](bool fullScreen) {
            if (!videoFromCommandLine_) {
                settings_.video = fullScreen ? VideoOption::Scale : VideoOption::Window;
                saveSettings();
            }
        });
    }
    QObject::connect(&sounds_, &platform::Sounds::enabledChanged, &sounds_, [this](bool on) {
        settings_.sound = on;
        saveSettings();
    });
    application_.setKeyInterceptor([this](QObject *, QKeyEvent *e) {
        if (stage_ && isFullScreenKey(e)) {
            stage_->toggleFullScreen();
            return true;
        }
        if (TSoundSwitch::isSwitchKey(e, QApplication::focusWidget())) {
            sounds_.toggle();
            return true;
        }
        return false;
    });
}

GameDisplay::~GameDisplay()
{
    if (reportPipe_[0] >= 0) {
        std::signal(SIGUSR1, SIG_DFL);
        g_reportFd = -1;
        ::close(reportPipe_[0]);
        ::close(reportPipe_[1]);
    }
    application_.setKeyInterceptor({});
    QObject::disconnect(&sounds_, &platform::Sounds::enabledChanged, &sounds_, nullptr);
    // The window as the player left it, however the game ends: by the leave
    // question the stage has closed already, by a signal it still shows.
    if (stage_) {
        // A pixel off is a fractional factor's rounding (a compositor's
        // decorations, say), never the player's doing: it would otherwise
        // shrink the window by a pixel at each start.
        const QSize size = sanitisedWindowSize(stage_->normalWindowPixels());
        const QSize off = size - settings_.windowSize;
        if (size.isValid() &&
            !(settings_.windowSize.isValid() && std::abs(off.width()) <= 1 && std::abs(off.height()) <= 1))
            settings_.windowSize = size;
        settings_.windowMaximised = stage_->windowWasMaximised();
        saveSettings();
    }
}

void GameDisplay::saveSettings()
{
    settings_.save(settingsPath_);
}

void GameDisplay::show()
{
    if (!stage_)
        return;
    if (plan_.mode == VideoOption::Scale) {
        stage_->showFullScreenOrWindow(true);
    } else {
        showWindow();
    }
    stage_->raise();
    stage_->activateWindow();
}

void GameDisplay::showWindow()
{
    const QSize logical = settings_.windowSize.isValid()
                              ? QSize(qRound(settings_.windowSize.width() / plan_.factor),
                                      qRound(settings_.windowSize.height() / plan_.factor))
                              : stage_->minimumSize();
    stage_->resize(logical.expandedTo(stage_->minimumSize()));
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        stage_->move(area.x() + std::max(0, (area.width() - stage_->width()) / 2),
                     area.y() + std::max(0, (area.height() - stage_->height()) / 2));
    }
    // The logical size rounds at a fractional factor: the window system
    // gets the saved size itself, also as the size to come back to from
    // maximised.
    stage_->winId();
    if (settings_.windowSize.isValid())
        platform::setWindowPixels(stage_->windowHandle(), settings_.windowSize);
    stage_->setWindowWasMaximised(settings_.windowMaximised);
    if (settings_.windowMaximised) {
        stage_->showMaximized();
        return;
    }
    stage_->show();
    // The window manager's frame is known once it has taken the window (X11;
    // a Wayland window has no place of its own): the frame too must fit.
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        keepFrameOnScreen(20);
}

void GameDisplay::keepFrameOnScreen(int tries)
{
    QScreen *screen = stage_->screen();
    const QMargins m = stage_->windowHandle() ? stage_->windowHandle()->frameMargins() : QMargins();
    if (!screen || !stage_->isVisible() || stage_->windowState() != Qt::WindowNoState)
        return;
    if (m.isNull()) {
        // No frame yet, or none at all: asked again a little later, a few times.
        if (tries > 0)
            QTimer::singleShot(50, stage_.get(), [this, tries] { keepFrameOnScreen(tries - 1); });
        return;
    }
    const QRect area = screen->availableGeometry();
    if (area.contains(stage_->frameGeometry()))
        return;
    const QSize client = stage_->size().boundedTo(area.size().shrunkBy(m));
    stage_->setGeometry(QRect(area.topLeft() + QPoint(m.left(), m.top()), client));
}

QStringList GameDisplay::diagnostics() const
{
    QStringList lines;
    lines << QStringLiteral("video=%1").arg(videoName(plan_.mode));
    lines << QStringLiteral("qpa=%1").arg(QGuiApplication::platformName());
    lines << QStringLiteral("scale-factor=%1").arg(plan_.factor, 0, 'g', 6);
    if (!plan_.output.isEmpty())
        lines << QStringLiteral("output=%1x%2").arg(plan_.output.width()).arg(plan_.output.height());
    if (stage_) {
        QRect stage = devicePixels(stage_.get());
        // A fractional factor rounds the logical size up by a pixel; the
        // window itself is never larger than the output.
        if (!plan_.output.isEmpty())
            stage = stage.intersected(QRect(QPoint(0, 0), plan_.output));
        lines << QStringLiteral("stage=%1%2")
                     .arg(rectText(stage),
                          stage_->isFullScreen() ? QStringLiteral(" full-screen") : QString());
        // Where the pixels went, not where they were meant to go.
        lines << QStringLiteral("picture=%1")
                     .arg(rectText(stage_->pictureDrawn().translated(devicePixels(stage_.get()).topLeft())));
        // The window's own ratio: a widget's is cut to four decimals.
        if (const QWindow *window = stage_->windowHandle())
            lines << QStringLiteral("scale-now=%1").arg(window->devicePixelRatio(), 0, 'g', 6);
    }
    lines << QStringLiteral("sound-switch=%1")
                 .arg(sounds_.enabled() ? QStringLiteral("on") : QStringLiteral("off"));
    return lines;
}

} // namespace app

namespace app
{

QStringList GameDisplay::layoutReport() const
{
    QStringList lines = diagnostics();
    QWidget *top = stage_ ? static_cast<QWidget *>(stage_->topForm()) : QApplication::activeModalWidget();
    if (!top)
        top = QApplication::activeWindow();
    if (top) {
        lines << QStringLiteral("top-form=%1 %2").arg(top->objectName(), rectText(devicePixels(top)));
        for (const QAbstractButton *b : top->findChildren<QAbstractButton *>()) {
            if (b->isVisible() && !b->objectName().isEmpty())
                lines << QStringLiteral("control=%1 %2").arg(b->objectName(), rectText(devicePixels(b)));
        }
        // What the labels say (the chosen puzzle, the filter's count), and where the keyboard is.
        for (const TLabel *label : top->findChildren<TLabel *>()) {
            if (label->isVisible() && !label->objectName().isEmpty())
                lines
                    << QStringLiteral("label=%1 %2").arg(label->objectName(), label->caption().simplified());
        }
        if (const QWidget *focus = QApplication::focusWidget(); focus && top->isAncestorOf(focus))
            lines << QStringLiteral("focus=%1").arg(focus->objectName());
    }
    lines << QStringLiteral("report-end");
    return lines;
}

void GameDisplay::reportOnSignal()
{
    if (reportPipe_[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, reportPipe_) != 0)
        return;
    g_reportFd = reportPipe_[1];
    auto *notifier = new QSocketNotifier(reportPipe_[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [this] {
        char c;
        [[maybe_unused]] const auto n = ::read(reportPipe_[0], &c, 1);
        const QByteArray text = (layoutReport().join(QLatin1Char('\n')) + QLatin1Char('\n')).toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        std::fflush(stdout);
    });
    struct sigaction sa {
    };
    sa.sa_handler = onReportSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &sa, nullptr);
}

} // namespace app
