#include "app/Startup.h"

#include "app/DataFolder.h"
#include "app/GameDisplay.h"
#include "app/ScreenEntry.h"
#include "app/StoreGuard.h"
#include "app/VideoMode.h"
#include "controls/Accessibility.h"
#include "core/Errors.h"
#include "screens/AbstractForm.h"
#include "screens/MainForm.h"
#include "screens/MessageBoxForm.h"
#include "platform/DisplayModes.h"
#include "platform/Sounds.h"
#include "platform/desktop/ApplicationEvents.h"
#include "platform/desktop/DisplayWatcher.h"
#include "platform/desktop/GameApplication.h"
#include "platform/desktop/GameCursors.h"
#include "platform/desktop/OutputSize.h"
#include "platform/desktop/RandrDisplayModes.h"
#include "platform/desktop/SdlSoundPlayer.h"

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <optional>
#include <vector>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace app {

// ---- options ---------------------------------------------------------------

Options parseOptions(const QStringList &arguments)
{
    Options o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.help = true;
        } else if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            o.version = true;
        } else if (a == QLatin1String("--diagnostics")) {
            o.diagnostics = true;
        } else if (a.startsWith(QLatin1String("--video="))) {
            const QString v = a.mid(8);
            bool known = false;
            o.video = videoFromName(v, &known);
            o.videoGiven = known;
            if (!known)
                o.error = QStringLiteral("Неизвестный видеорежим: %1 (ждём auto, scale, window или switch)").arg(v);
        } else if (a.startsWith(QLatin1String("--sound="))) {
            const QString v = a.mid(8);
            if (v == QLatin1String("on"))
                o.sound = true;
            else if (v == QLatin1String("off"))
                o.sound = false;
            else
                o.error = QStringLiteral("Неизвестное значение звука: %1 (ждём on или off)").arg(v);
        } else if (a.startsWith(QLatin1String("--screen="))) {
            o.screen = a.mid(9);
            if (o.screen != QLatin1String("game") && o.screen != QLatin1String("collection"))
                o.error = QStringLiteral("Неизвестный экран: %1 (ждём game или collection)").arg(o.screen);
        } else if (a.startsWith(QLatin1String("--player="))) {
            o.player = a.mid(9);
        } else if (a.startsWith(QLatin1String("--data="))) {
            o.dataDir = a.mid(7);
        } else if (a == QLatin1String("--data")) {
            if (i + 1 < arguments.size())
                o.dataDir = arguments[++i];
            else
                o.error = QStringLiteral("После --data нужна папка с головоломками");
        } else if (a.startsWith(QLatin1Char('-'))) {
            o.error = QStringLiteral("Неизвестный параметр: %1").arg(a);
        }
        // Anything else (Qt's own -platform and the like are taken earlier) is ignored.
    }
    if (o.error.isEmpty() && o.screen == QLatin1String("game") && o.player.trimmed().isEmpty())
        o.error = QStringLiteral("Для --screen=game нужно имя игрока: --player=ИМЯ");
    return o;
}

QString helpText()
{
    return QStringLiteral("Использование: zentrika [параметры]\n"
                          "Zentrika — игра-головоломка.\n"
                          "\n"
                          "  --video=scale    на весь экран в его собственном режиме: картинка\n"
                          "                   800 × 600 увеличена, насколько позволяет экран\n"
                          "  --video=auto     то же, что scale (по умолчанию)\n"
                          "  --video=window   играть в окне, размер которого можно менять\n"
                          "  --video=switch   переключить экран в 800 × 600 (без окна); если\n"
                          "                   нельзя — предложить играть без переключения\n"
                          "  --sound=on|off   включить или выключить звуки на этот запуск\n"
                          "  F11, Alt+Enter   весь экран или окно;  M  звук вкл./выкл.\n"
                          "  Настройки: $XDG_CONFIG_HOME/zentrika/zentrika.conf\n"
                          "  --diagnostics    напечатать, что сделал запуск (экран, цвета, шрифт)\n"
                          "  --screen=collection          сразу открыть сборник головоломок\n"
                          "  --screen=game --player=ИМЯ   сразу начать игру за игрока (новый\n"
                          "                               игрок создаётся)\n"
                          "  --data ПАПКА     взять list.lst, Data и Images из другой папки\n"
                          "  --help           эта справка\n"
                          "  --version        версия игры\n");
}

QString versionText()
{
    return QStringLiteral("Zentrika " ZENTRIKA_VERSION "\n");
}

// ---- start-up and shutdown -------------------------------------------------

namespace {
// ZENTRIKA_STARTUP_TIMES=1: how long each start-up step took, on stderr.
void mark(const char *step)
{
    static const bool on = qEnvironmentVariableIntValue("ZENTRIKA_STARTUP_TIMES") != 0;
    static const auto origin = std::chrono::steady_clock::now();
    if (on)
        std::fprintf(stderr, "%8.1f ms  %s\n",
                     std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - origin).count(), step);
}
}  // namespace

GameSession::GameSession(platform::IDisplayModes *display, platform::ISoundPlayer *player, QStringList folders)
    : display_(display)
    , player_(player)
    , folders_(std::move(folders))
{
}

GameSession::~GameSession()
{
    shutdown();
}

QStringList GameSession::defaultFolders()
{
    QStringList folders{dataFolder(), QCoreApplication::applicationDirPath(), QDir::currentPath()};
    folders.removeDuplicates();
    return folders;
}

QString GameSession::locate(const QString &relativeName, const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(relativeName);
        if (QFileInfo::exists(path))
            return path;
    }
    return relativeName;
}

bool GameSession::start()
{
    started_ = true;
    // A missing or damaged library is not checked here: it shows up as
    // silence, and as an error when a screen asks for a picture.
    media_ = platform::PeResourceLibrary::fromFile(locate(QStringLiteral("Media.dll"), folders_));
    if (!media_.isLoaded())
        std::fprintf(stderr, "zentrika: %s\n", qPrintable(media_.errorString()));
    platform::setMediaLibrary(&media_);
    mark("media library");

    platform::setSoundPlayer(player_);
    platform::loadSounds(media_);
    mark("sounds");

    font_.add({locate(QStringLiteral("Fonts/comic.ttf"), folders_), locate(QStringLiteral("Fonts/comicbd.ttf"), folders_)});
    mark("font");

    colours_.apply();
    mark("colours");

    cursors_ = platform::installGameCursors(locate(QStringLiteral("cursor.cur"), folders_),
                                            locate(QStringLiteral("hand.cur"), folders_));
    mark("cursors");

    platform::setDisplayModes(display_);
    if (!platform::SwitchDisplayMode(ScreenWidth, ScreenHeight)) {
        // Leave the desktop as it was found: the mode, and also the font,
        // colours, sounds and library, which nothing else would give back.
        shutdown();
        return false;
    }
    mark("display mode");
    running_ = true;
    return true;
}

void GameSession::shutdown()
{
    if (!started_)
        return;
    started_ = false;
    running_ = false;
    font_.remove();
    colours_.restore();
    platform::freeSounds();
    platform::setSoundPlayer(nullptr);
    platform::setMediaLibrary(nullptr);
    media_ = platform::PeResourceLibrary();
    platform::RestoreDisplayMode();
    platform::setDisplayModes(nullptr);
    platform::removeGameCursors();
    cursors_ = 0;
}

QStringList GameSession::diagnostics() const
{
    QStringList lines;
    const QPalette palette = QGuiApplication::palette();
    lines << QStringLiteral("media=%1").arg(media_.isLoaded() ? media_.fileName()
                                                               : QStringLiteral("not loaded: ") + media_.errorString());
    lines << QStringLiteral("font-family=%1").arg(font_.family());
    lines << QStringLiteral("comic-sans-ms=%1").arg(QFontInfo(QFont(QLatin1String(platform::PrivateFont::Face))).family());
    lines << QStringLiteral("highlight=%1").arg(palette.color(QPalette::Active, QPalette::Highlight).name());
    lines << QStringLiteral("highlighted-text=%1").arg(palette.color(QPalette::Active, QPalette::HighlightedText).name());
    lines << QStringLiteral("cursors=%1").arg(cursors_);
    return lines;
}

// ---- the main routine --------------------------------------------------------

namespace {

MainFormFactory &mainFormFactory()
{
    static MainFormFactory factory = [] { return std::unique_ptr<QWidget>(new TMainForm); };
    return factory;
}

// A terminating signal ends the event loop like a closed main form, so that
// the shutdown still gives the desktop its display mode back.
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &c, 1);
}

void quitOnSignals(QObject *owner)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char c;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &c, 1);
        // exit(), not quit(): quit() first asks every window to close, and
        // the main menu answers a close with its question to the player.
        QCoreApplication::exit(0);
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &sa, nullptr);
}

// Waits for the main form's first paint: prints the diagnostics when asked,
// and for start-up timing prints the moment and ends the program.
class FirstPaint : public QObject {
public:
    FirstPaint(QWidget *form, std::function<void()> then)
        : QObject(form)
        , then_(std::move(then))
    {
        form->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            watched->removeEventFilter(this);
            // After this paint has reached the screen.
            QTimer::singleShot(0, this, then_);
        }
        return false;
    }

private:
    std::function<void()> then_;
    bool done_ = false;
};

void print(const QString &text, FILE *to = stdout)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

// An error in the options, --help or --version: answered on the console, no window.
std::optional<int> answerOnConsole(const Options &options)
{
    if (!options.error.isEmpty()) {
        print(options.error + QLatin1Char('\n') + helpText(), stderr);
        return 2;
    }
    if (options.help) {
        print(helpText());
        return 0;
    }
    if (options.version) {
        print(versionText());
        return 0;
    }
    return std::nullopt;
}

struct NoModes : platform::IDisplayModes {
    std::vector<platform::DisplayMode> modes() override { return {}; }
    bool change(const platform::DisplayMode &, bool) override { return false; }
    void restore() override {}
};

// The display back end: RandR where the X server has it, and only where the
// game switches the mode; the other modes leave the display as it is.
platform::IDisplayModes *chooseDisplay(const VideoPlan &plan, std::unique_ptr<platform::RandrDisplayModes> &randr,
                                       NoModes &noModes)
{
    if (plan.mode != VideoOption::Switch)
        return nullptr;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        randr = platform::RandrDisplayModes::open();
    return randr ? static_cast<platform::IDisplayModes *>(randr.get()) : &noModes;
}

void printDiagnostics(GameSession &session, GameDisplay &screen, platform::SdlSoundPlayer &player,
                      const QPointer<QWidget> &form)
{
    QStringList lines = session.diagnostics() + screen.diagnostics();
    lines << QStringLiteral("sound=%1").arg(player.isOpen() ? QStringLiteral("on") : QStringLiteral("off"));
    lines << QStringLiteral("message-box=%1").arg(MessageBoxForm ? QStringLiteral("ready") : QStringLiteral("missing"));
    if (form)
        lines << QStringLiteral("main-form=%1x%2+%3+%4").arg(form->width()).arg(form->height()).arg(form->x()).arg(form->y());
    print(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

// The colours the desktop has again once the game has ended.
void printAfterShutdown()
{
    const QPalette palette = QGuiApplication::palette();
    print(QStringLiteral("after-shutdown highlight=%1 highlighted-text=%2\n")
              .arg(palette.color(QPalette::Active, QPalette::Highlight).name(),
                   palette.color(QPalette::Active, QPalette::HighlightedText).name()));
}

// The main menu and the game's one message box, until the menu closes.
int runMainMenu(platform::GameApplication &application, GameSession &session, GameDisplay &screen,
                StoreGuard &storeGuard, const Options &options, platform::SdlSoundPlayer &player)
{
    std::unique_ptr<QWidget> mainForm = mainFormFactory()();
    // The main menu hides when it closes; the program ends with it.
    if (auto *menu = qobject_cast<TMainForm *>(mainForm.get()))
        QObject::connect(menu, &TMainForm::closed, &application, &QCoreApplication::quit, Qt::QueuedConnection);
    mark("main form");
    // What the menu needs only once a player can act on it: the player store
    // (checked, recovered if damaged, and opened) and the game's one message
    // box. Both wait until the start screen is on the screen, so that neither
    // holds up the first picture; nothing reads the store or shows a message
    // before a player's action on a painted screen.
    std::unique_ptr<TMessageBoxForm> messageBox;
    const auto forgetMessageBox = qScopeGuard([] { MessageBoxForm = nullptr; });
    auto afterFirstPicture = [&messageBox, &storeGuard] {
        if (messageBox)
            return;
        storeGuard.openStore();
        mark("player store");
        messageBox.reset(new TMessageBoxForm);
        MessageBoxForm = messageBox.get();
        mark("message box");
        // Its own turn: a notice is modal, and the caller has more to do first.
        QTimer::singleShot(0, &storeGuard, [&storeGuard] { storeGuard.showNotice(); });
    };
    // A main form that is never painted (started minimised) still gets them.
    QTimer::singleShot(1000, mainForm.get(), afterFirstPicture);
    if (!screen.stage())
        platform::keepCentredOnScreen(mainForm.get());

    const bool exitAfterPaint = qEnvironmentVariableIntValue("ZENTRIKA_EXIT_AFTER_FIRST_PAINT") != 0;
    new FirstPaint(mainForm.get(), [&session, &options, &player, &screen, exitAfterPaint, afterFirstPicture,
                                    form = QPointer<QWidget>(mainForm.get())] {
        mark("first paint");
        player.openInBackground();
        if (exitAfterPaint)
            print(QStringLiteral("first-paint-us=%1\n")
                      .arg(std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count()));
        afterFirstPicture();
        if (options.diagnostics)
            printDiagnostics(session, screen, player, form);
        // exit(), not quit(): quit() asks the main menu to close, and the
        // menu answers with its quit question, which nobody is there to answer.
        if (exitAfterPaint)
            QCoreApplication::exit(0);
    });
    mainForm->show();
    screen.show();
    return application.exec();
}

// The display could not be switched (no RandR under Wayland, no 800 x 600
// mode): the game's own box says so and offers the mode that needs no switch.
bool askScaledInstead(platform::ISoundPlayer *player)
{
    GameSession plain(nullptr, player); // the media, font and cursors; the display as it is
    plain.start();
    TMessageBoxForm box;
    // The box has one line.
    return box.Ask(QStringLiteral("Экран не удалось переключить в 800 × 600. Играть на весь экран без "
                                  "переключения?")) == Reply::Yes;
}

// The program again in the scaled mode, for this run only: Qt's platform and
// scale are settled once a process has its application object.
void restartScaled(char **argv, bool platformWasOurs)
{
    std::vector<QByteArray> args{QByteArray(argv[0])};
    for (int i = 1; argv[i]; ++i)
        if (!QByteArray(argv[i]).startsWith("--video="))
            args.emplace_back(argv[i]);
    args.emplace_back("--video=scale");
    std::vector<char *> pointers;
    for (QByteArray &a : args)
        pointers.push_back(a.data());
    pointers.push_back(nullptr);
    if (platformWasOurs)
        qunsetenv("QT_QPA_PLATFORM");
    // By its own name, which the process then keeps.
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        self[n] = '\0';
        ::execv(self, pointers.data());
    }
    std::perror("zentrika: could not start again");
}

int runOnce(int argc, char **argv, bool &scaledInstead);

}  // namespace

void setMainFormFactory(MainFormFactory factory)
{
    mainFormFactory() = std::move(factory);
}

int run(int argc, char **argv)
{
    const bool platformAsked = qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
    bool scaledInstead = false;
    const int code = runOnce(argc, argv, scaledInstead);
    // Everything of this run is given back by now: the lock, the bell, the watcher.
    if (scaledInstead)
        restartScaled(argv, !platformAsked);
    return code;
}

namespace
{

// What every window relies on: the names, the signals that quit, the player's
// texts for errors and the accessible faces of the painted controls.
void prepareApplication(platform::GameApplication &application)
{
    QCoreApplication::setApplicationName(QStringLiteral("Zentrika"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Zentrika"));
    quitOnSignals(&application);
    platform::setErrorTranslator(
        [](const std::exception *e) { return e ? playerMessage(*e) : playerMessage(); });
    controls::installAccessibility();
}

int runOnce(int argc, char **argv, bool &scaledInstead)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const Options options = parseOptions(arguments);
    if (const auto answered = answerOnConsole(options))
        return *answered;

    mark("main");
    // The mode and the platform are decided before Qt starts; the scale once
    // Qt knows the screen, before any window exists.
    const Settings settings = Settings::load();
    const VideoOption video = options.videoGiven ? options.video : settings.video;
    VideoPlan plan = planVideo(video, settings.windowSize, {ScreenWidth, ScreenHeight});
    mark("video plan");
    // Forked before any thread starts: gives the display back should the game die.
    std::optional<platform::DisplayWatcher> watcher;
    if (plan.mode == VideoOption::Switch)
        watcher.emplace();
    applyVideoPlan(plan);
    platform::setSoundsEnabled(options.sound.value_or(settings.sound));

    // The sound device opens after the first picture is on the screen: the
    // audio probe would otherwise compete with the first paint.
    platform::SdlSoundPlayer player(platform::SdlSoundPlayer::Opening::Later);
    platform::GameApplication application(argc, argv);
    const platform::OutputSize output = platform::primaryOutput();
    // A size kept from a larger screen opens fitted to this one.
    Settings fitted = settings;
    fitted.windowSize = fittedWindowSize(settings.windowSize, output.available);
    plan = planVideo(video, fitted.windowSize, {ScreenWidth, ScreenHeight}, output);
    applyVideoScale(plan);
    mark("Qt application");
    prepareApplication(application);
    mark("application");
    // One game at a time on a store. The store itself is checked and opened
    // before anything reads it: here for a screen opened straight away, after
    // the menu's first picture otherwise.
    StoreGuard storeGuard;
    if (!storeGuard.start())
        return storeGuard.exitCode();

    // The display back end: RandR where the X server has it, and only where
    // the game switches the mode; the other modes leave the display as it is.
    std::unique_ptr<platform::RandrDisplayModes> randr;
    NoModes noModes;
    platform::IDisplayModes *display = chooseDisplay(plan, randr, noModes);
    GameDisplay screen(plan, fitted, options.videoGiven, {ScreenWidth, ScreenHeight});
    if (options.diagnostics)
        screen.reportOnSignal();

    mark("display back end");
    GameSession session(display, &player);
    if (!session.start()) {
        scaledInstead = askScaledInstead(&player);
        return 1;
    }

    TAbstractForm::SetDefaultProgramDir(options.dataDir.isEmpty() ? dataFolder()
                                                                  : QDir(options.dataDir).absolutePath());
    if (!options.screen.isEmpty()) {
        // A screen opened straight away reads the store at once.
        storeGuard.openStore();
        player.openInBackground();
        screen.show();
        storeGuard.showNotice();
    }
    const int code = options.screen.isEmpty()
                         ? runMainMenu(application, session, screen, storeGuard, options, player)
                         : runScreen(options.screen, options.player);
    storeGuard.finish();
    session.shutdown();
    if (options.diagnostics && options.screen.isEmpty())
        printAfterShutdown();
    return code;
}

} // namespace

}  // namespace app
