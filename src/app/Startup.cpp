#include "app/Startup.h"

#include "app/DataFolder.h"
#include "app/Diagnostics.h"
#include "app/GameDisplay.h"
#include "app/ScreenEntry.h"
#include "app/SignalPipe.h"
#include "app/StoreGuard.h"
#include "app/VideoMode.h"
#include "controls/Accessibility.h"
#include "core/Errors.h"
#include "core/MemoBook.h"
#include "platform/DisplayModes.h"
#include "platform/Sounds.h"
#include "platform/UserStore.h"
#include "platform/desktop/DisplayWatcher.h"
#include "platform/desktop/GameApplication.h"
#include "platform/desktop/OutputSize.h"
#include "platform/desktop/PrivateFont.h"
#include "platform/desktop/RandrDisplayModes.h"
#include "platform/desktop/SdlSoundPlayer.h"
#include "screens/GameContext.h"
#include "screens/MessageBoxForm.h"
#include "widgets/Stage.h"

#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <optional>
#include <vector>

#include <cstdio>
#include <unistd.h>

namespace app
{

namespace
{

struct NoModes : platform::IDisplayModes {
    std::vector<platform::DisplayMode> modes() override { return {}; }
    bool change(const platform::DisplayMode &, bool) override { return false; }
    void restore() override {}
};

// The display back end: RandR where the X server has it, and only where the
// game switches the mode; the other modes leave the display as it is.
platform::IDisplayModes *chooseDisplay(const VideoPlan &plan,
                                       std::unique_ptr<platform::RandrDisplayModes> &randr, NoModes &noModes)
{
    if (plan.mode != VideoOption::Switch)
        return nullptr;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        randr = platform::RandrDisplayModes::open();
    return randr ? static_cast<platform::IDisplayModes *>(randr.get()) : &noModes;
}

// The display could not be switched (no RandR under Wayland, no 800 x 600
// mode): the game's own box says so and offers the mode that needs no switch.
bool askScaledInstead(platform::Sounds &sounds, platform::ISoundPlayer *player)
{
    GameSession plain(nullptr, sounds, player); // the media, font and cursors; the display as it is
    plain.start();
    TMessageBoxForm box(&plain.media(), nullptr, &sounds);
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

} // namespace

void installErrorReport(platform::GameApplication &application)
{
    application.setErrorTranslator(
        [](const std::exception *e) { return e ? playerMessage(*e) : playerMessage(); });
    application.setErrorReporter([](const QString &message) {
        QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), message,
                        QMessageBox::Ok);
        box.exec();
    });
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
    installErrorReport(application);
    controls::installAccessibility();
}

// A screen opened straight away reads the store at once; what the guard found
// is said once the screen runs, in the message box the screen reports through.
int runScreenAtOnce(GameContext &context, GameSession &session, StoreGuard &storeGuard, GameDisplay &screen,
                    platform::SdlSoundPlayer &player, const Options &options)
{
    storeGuard.openStore();
    player.openInBackground();
    screen.show();
    TMessageBoxForm messages(&session.media());
    QTimer::singleShot(0, &messages, [&storeGuard, &messages] { storeGuard.showNotice(messages); });
    return runScreen(context, messages, options.screen, options.player);
}

int runOnce(int argc, char **argv, bool &scaledInstead)
{
    const Options options = parseOptions(argumentsOf(argc, argv));
    if (const auto answered = answerOnConsole(options))
        return *answered;

    markStep("main");
    // The mode and the platform are decided before Qt starts; the scale once
    // Qt knows the screen, before any window exists.
    const Settings settings = Settings::load();
    const VideoOption video = options.videoGiven ? options.video : settings.video;
    VideoPlan plan = planVideo(video, settings.windowSize, {ScreenWidth, ScreenHeight});
    markStep("video plan");
    // Forked before any thread starts: gives the display back should the game die.
    std::optional<platform::DisplayWatcher> watcher;
    if (plan.mode == VideoOption::Switch)
        watcher.emplace();
    applyVideoPlan(plan);
    platform::Sounds sounds; // for the display (the key M), the session and the screens
    sounds.setEnabled(options.sound.value_or(settings.sound));
    // The sound device opens after the first picture is on the screen: the
    // audio probe would otherwise compete with the first paint.
    platform::SdlSoundPlayer player(platform::SdlSoundPlayer::Opening::Later);
    // The menu's text needs fontconfig's configuration: read while Qt connects.
    platform::PrivateFont::readConfigurationAhead();
    platform::GameApplication application(argc, argv);
    const platform::OutputSize output = platform::primaryOutput();
    // A size kept from a larger screen opens fitted to this one.
    Settings fitted = settings;
    fitted.windowSize = fittedWindowSize(settings.windowSize, output.available);
    plan = planVideo(video, fitted.windowSize, {ScreenWidth, ScreenHeight}, output);
    applyVideoScale(plan);
    markStep("Qt application");
    prepareApplication(application);
    markStep("application");
    // One game at a time on a store. The store itself is checked and opened
    // before anything reads it: here for a screen opened straight away, after
    // the menu's first picture otherwise.
    platform::UserStore store(platform::Registry::defaultPath());
    StoreGuard storeGuard(store);
    if (!storeGuard.start())
        return storeGuard.exitCode();

    // The display back end: RandR where the X server has it, and only where
    // the game switches the mode; the other modes leave the display as it is.
    std::unique_ptr<platform::RandrDisplayModes> randr;
    NoModes noModes;
    platform::IDisplayModes *display = chooseDisplay(plan, randr, noModes);
    GameDisplay screen(application, sounds, plan, fitted, options.videoGiven, {ScreenWidth, ScreenHeight});
    if (options.diagnostics)
        screen.reportOnSignal();

    markStep("display back end");
    GameSession session(display, sounds, &player);
    if (!session.start()) {
        scaledInstead = askScaledInstead(sounds, &player);
        return 1;
    }
    if (TStage *stage = screen.stage())
        QObject::connect(stage, &TStage::scaleChanged, &session.cursors(), &platform::GameCursors::rescale);

    // What every screen is made with, for as long as the session runs.
    SettingsStarStore stars;
    TMemoBook runMemos;
    GameContext context{session.media(),
                        store,
                        options.dataDir.isEmpty() ? dataFolder() : QDir(options.dataDir).absolutePath(),
                        &stars,
                        &runMemos,
                        {},
                        &sounds};
    const int code = options.screen.isEmpty()
                         ? runMainMenu(application, context, session, screen, storeGuard, options, player)
                         : runScreenAtOnce(context, session, storeGuard, screen, player, options);
    storeGuard.finish();
    session.shutdown();
    if (options.diagnostics && options.screen.isEmpty())
        printAfterShutdown();
    return code;
}

} // namespace

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

} // namespace app
