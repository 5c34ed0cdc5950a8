// The game on any display: the settings file and the options over it, the
// scale chosen for a screen, the stage that holds every form in one window,
// and the sound switch.
#include "FakeResourceLibrary.h"
#include "app/GameDisplay.h"
#include "app/Settings.h"
#include "app/Startup.h"
#include "app/VideoMode.h"
#include "platform/Sounds.h"
#include "screens/SoundSwitch.h"
#include "widgets/FlatButton.h"
#include "widgets/FlatEdit.h"
#include "widgets/Form.h"
#include "widgets/Stage.h"

#include "platform/ResourceLibrary.h"
#include "platform/desktop/GameApplication.h"
#include "platform/desktop/WindowScale.h"
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace
{

// ---- settings and options ---------------------------------------------------

TEST(Settings, SurviveARunAndDamagedValuesFallBackToDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/zentrika/zentrika.conf"));
    const app::Settings fresh = app::Settings::load(path); // no file yet
    EXPECT_EQ(fresh.video, app::VideoOption::Auto);
    EXPECT_FALSE(fresh.windowSize.isValid());
    EXPECT_TRUE(fresh.sound);

    app::Settings s;
    s.video = app::VideoOption::Window;
    s.windowSize = QSize(1200, 900);
    s.windowMaximised = true;
    s.sound = false;
    ASSERT_TRUE(s.save(path)); // makes the folders
    const app::Settings back = app::Settings::load(path);
    EXPECT_EQ(back.video, app::VideoOption::Window);
    EXPECT_EQ(back.windowSize, QSize(1200, 900));
    EXPECT_TRUE(back.windowMaximised);
    EXPECT_FALSE(back.sound);

    struct Case {
        std::string text;
        app::VideoOption video;
        QSize window;
        bool sound;
    };
    const Case cases[] = {
        {"[video]\nmode=fullscreen\nwindow-size=banana\n[sound]\non=maybe\n",
         app::VideoOption::Auto,
         {},
         true},
        {"[video]\nmode=SWITCH\nwindow-size=10x10\n[sound]\non=off\n", app::VideoOption::Switch, {}, false},
        {"[video]\nmode=scale\nwindow-size=99999x600\n", app::VideoOption::Scale, {}, true},
        {"[video]\nwindow-size=1000x750\n[sound]\non=0\n", app::VideoOption::Auto, QSize(1000, 750), false},
        {"\x01\x02 not an ini file at all", app::VideoOption::Auto, {}, true},
        // Good values in a file no settings file is as large as: not read at all.
        {"[video]\nmode=window\nwindow-size=1000x750\n[sound]\non=off\n" + std::string(70000, ';'),
         app::VideoOption::Auto,
         {},
         true},
    };
    for (const Case &c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.text.data(), qint64(c.text.size()));
        f.close();
        const app::Settings got = app::Settings::load(path);
        const std::string shown = c.text.substr(0, 80);
        EXPECT_EQ(got.video, c.video) << shown;
        EXPECT_EQ(got.windowSize, c.window) << shown;
        EXPECT_EQ(got.sound, c.sound) << shown;
    }
    // Saving over such a file writes a file of our own size.
    ASSERT_TRUE(s.save(path));
    EXPECT_LT(QFileInfo(path).size(), 1024);
    EXPECT_EQ(app::Settings::load(path).windowSize, QSize(1200, 900));
}

TEST(Settings, StarsAreKeptBesideTheOtherSettingsAndJunkIsSkipped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("zentrika/zentrika.conf"));
    app::SettingsStarStore store(path);
    EXPECT_EQ(store.LoadStars().Count(), 0); // no file yet

    TStars stars;
    stars.Toggle(7);
    ASSERT_TRUE(store.SaveStars(stars));
    EXPECT_EQ(store.LoadStars().Ids(), std::vector<ProblemId>{7});
    stars.Toggle(120);
    stars.Toggle(3);
    ASSERT_TRUE(store.SaveStars(stars));
    // The other settings, saved at the end of a run, leave the marks be.
    app::Settings s;
    s.sound = false;
    ASSERT_TRUE(s.save(path));
    EXPECT_EQ(store.LoadStars().Ids(), (std::vector<ProblemId>{7, 120, 3}));
    EXPECT_FALSE(app::Settings::load(path).sound);

    struct Case {
        std::string text;
        std::vector<ProblemId> ids;
    };
    const Case cases[] = {
        {"[collection]\nstars=5, x, -1, 70000, 5, 9\n", {5, 9}},
        {"[collection]\nstars=@Variant(\\0\\0\\0\\x7f)\n", {}},
        {"[collection]\nstars=\"12\"\n", {12}},
        {"[collection]\nstars=12\n[sound]\non=off\n" + std::string(70000, ';'), {}},
    };
    for (const Case &c : cases) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.text.data(), qint64(c.text.size()));
        f.close();
        EXPECT_EQ(store.LoadStars().Ids(), c.ids) << c.text.substr(0, 60);
    }
    // Clearing the last mark leaves no empty value behind.
    ASSERT_TRUE(store.SaveStars(TStars{}));
    EXPECT_EQ(store.LoadStars().Count(), 0);
}

TEST(Settings, AKeptWindowOpensFittedToTheScreen)
{
    struct Case {
        QSize kept, available, opens;
    };
    const Case cases[] = {
        {{3840, 2160}, {1280, 1024}, {1280, 1024}}, // kept on a larger screen
        {{16384, 16384}, {1920, 1080}, {1920, 1080}},
        {{3840, 600}, {1920, 1050}, {1920, 600}}, // only the side that does not fit
        {{1000, 750}, {1920, 1080}, {1000, 750}},
        {{1000, 750}, {}, {1000, 750}},        // screen unknown
        {{}, {1920, 1080}, {}},                // no window kept
        {{1000, 750}, {320, 200}, {400, 300}}, // never below the smallest window
    };
    for (const Case &c : cases)
        EXPECT_EQ(app::fittedWindowSize(c.kept, c.available), c.opens)
            << c.kept.width() << "x" << c.kept.height();
}

TEST(Settings, LiveUnderTheUsersConfigFolder)
{
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(app::Settings::defaultPath(), QStringLiteral("/tmp/cfg/zentrika/zentrika.conf"));
    qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
    EXPECT_TRUE(app::Settings::defaultPath().endsWith(QStringLiteral("/.config/zentrika/zentrika.conf")));
    EXPECT_TRUE(QDir::isAbsolutePath(app::Settings::defaultPath()));
    if (old.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", old);
}

TEST(Options, VideoAndSoundOverTheSettings)
{
    struct Case {
        QStringList args;
        app::VideoOption video;
        bool given;
        std::optional<bool> sound;
        bool error;
    };
    const Case cases[] = {
        {{}, app::VideoOption::Auto, false, std::nullopt, false},
        {{QStringLiteral("--video=scale")}, app::VideoOption::Scale, true, std::nullopt, false},
        {{QStringLiteral("--video=auto")}, app::VideoOption::Auto, true, std::nullopt, false},
        {{QStringLiteral("--video=window"), QStringLiteral("--sound=off")},
         app::VideoOption::Window,
         true,
         false,
         false},
        {{QStringLiteral("--sound=on")}, app::VideoOption::Auto, false, true, false},
        {{QStringLiteral("--sound=loud")}, app::VideoOption::Auto, false, std::nullopt, true},
        {{QStringLiteral("--video=")}, app::VideoOption::Auto, false, std::nullopt, true},
    };
    for (const Case &c : cases) {
        const app::Options o = app::parseOptions(c.args);
        EXPECT_EQ(o.video, c.video) << c.args.join(' ').toStdString();
        EXPECT_EQ(o.videoGiven, c.given) << c.args.join(' ').toStdString();
        EXPECT_EQ(o.sound, c.sound) << c.args.join(' ').toStdString();
        EXPECT_EQ(!o.error.isEmpty(), c.error) << c.args.join(' ').toStdString();
    }
}

// ---- the scale --------------------------------------------------------------

TEST(Scale, LargestFactorThatKeepsTheAspect)
{
    const QSize picture(800, 600);
    struct Case {
        QSize area;
        double factor;
    };
    const Case cases[] = {
        {{1920, 1080}, 1.8}, // 1440 x 1080, bars left and right
        {{3840, 2160}, 3.6}, {{1366, 768}, 1.28},
        {{1280, 1024}, 1.6}, // 1280 x 960, bars above and below
        {{800, 600}, 1.0},   {{2560, 1600}, 2.6666666666666665},
        {{320, 200}, 0.5}, // never below half size
        {{}, 1.0},         // unknown screen
    };
    for (const Case &c : cases) {
        const double f = app::fitFactor(c.area, picture);
        EXPECT_DOUBLE_EQ(f, c.factor) << c.area.width() << "x" << c.area.height();
        if (!c.area.isEmpty() && f > 0.5) {
            EXPECT_LE(qRound(800 * f), c.area.width());
            EXPECT_LE(qRound(600 * f), c.area.height());
        }
    }
}

TEST(Scale, WindowModeStartsAtItsLastSizeAndAutoMeansScale)
{
    // Offscreen: no display server to ask, so the screen is unknown.
    EXPECT_EQ(app::planVideo(app::VideoOption::Auto, {}, {800, 600}).mode, app::VideoOption::Scale);
    EXPECT_DOUBLE_EQ(app::planVideo(app::VideoOption::Window, {}, {800, 600}).factor, 1.0);
    EXPECT_DOUBLE_EQ(app::planVideo(app::VideoOption::Window, {1200, 900}, {800, 600}).factor, 1.5);
    EXPECT_DOUBLE_EQ(app::planVideo(app::VideoOption::Switch, {1200, 900}, {800, 600}).factor, 1.0);
}

// ---- the stage --------------------------------------------------------------

class Dialog : public TForm
{
  public:
    explicit Dialog(QWidget *owner, QSize size = {300, 200}) : TForm(owner)
    {
        if (owner)
            setCloseAction(CloseAction::Free);
        setClientSize(size.width(), size.height());
        setKeyPreview(true);
        first = new TFlatButton(this);
        first->setGeometry(10, 10, 80, 30);
        first->setTabStop(true);
        second = new TFlatButton(this);
        second->setGeometry(100, 10, 80, 30);
        second->setTabStop(true);
    }
    bool FormKeyDown(QKeyEvent *e) override
    {
        if (e->key() == Qt::Key_Escape) {
            setModalResult(mrCancel);
            return true;
        }
        return false;
    }
    TFlatButton *first;
    TFlatButton *second;
};

class StageTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        stage = std::make_unique<TStage>(QSize(800, 600));
        stage->resize(1000, 700);
        menu = new Dialog(nullptr, {800, 600});
        menu->setStage(stage.get());
        menu->show();
        stage->show();
        QApplication::setActiveWindow(stage.get());
        QApplication::processEvents();
    }
    void TearDown() override
    {
        delete menu;
        stage.reset();
    }
    std::unique_ptr<TStage> stage;
    Dialog *menu = nullptr;
};

TEST_F(StageTest, FormsShowCentredInsideThePictureAndOnlyTheTopOneTakesInput)
{
    EXPECT_EQ(stage->board()->geometry(), QRect(100, 50, 800, 600)); // centred, bars around
    EXPECT_EQ(menu->parentWidget(), stage->board());
    EXPECT_EQ(menu->pos(), QPoint(0, 0));

    int menuClicks = 0;
    QObject::connect(menu->first, &QAbstractButton::clicked, [&] { ++menuClicks; });
    auto *dialog = new Dialog(menu);
    int result = -1;
    bool checked = false;
    QTimer::singleShot(0, [&] {
        // Inside the picture, centred, on top and holding the keyboard.
        EXPECT_EQ(dialog->parentWidget(), stage->board());
        EXPECT_EQ(dialog->geometry(), QRect(250, 200, 300, 200));
        EXPECT_EQ(stage->topForm(), dialog);
        EXPECT_TRUE(dialog->isAncestorOf(QApplication::focusWidget()));
        // The menu under it hears no click, and the keyboard stays on top.
        QTest::mouseClick(menu->first, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_TRUE(dialog->isAncestorOf(QApplication::focusWidget()));
        // Tab goes round the dialog's own buttons only.
        QWidget *start = QApplication::focusWidget();
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_TRUE(dialog->isAncestorOf(QApplication::focusWidget()));
        }
        EXPECT_EQ(QApplication::focusWidget(), start);
        checked = true;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        if (dialog->isVisible())
            dialog->close(); // never hang the suite
    });
    result = dialog->ShowModal();
    EXPECT_TRUE(checked);
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(menuClicks, 0);
    // The menu takes input and the keyboard back.
    EXPECT_EQ(stage->topForm(), menu);
    QTest::mouseClick(menu->first, Qt::LeftButton);
    EXPECT_EQ(menuClicks, 1);
}

TEST_F(StageTest, NestedDialogsCentreOnTheirOwnerAndGoWithIt)
{
    auto *screen = new Dialog(menu, {600, 400});
    screen->show();
    EXPECT_EQ(screen->geometry(), QRect(100, 100, 600, 400));
    QPointer<Dialog> inner = new Dialog(screen, {200, 100});
    inner->setCentreOnScreen(false);
    inner->show();
    EXPECT_EQ(inner->geometry(), QRect(300, 250, 200, 100));
    EXPECT_EQ(stage->topForm(), inner.data());
    // Freed with its owner although the board holds it while it shows.
    delete screen;
    EXPECT_TRUE(inner.isNull());
    EXPECT_EQ(stage->topForm(), menu);
}

TEST_F(StageTest, HiddenFormGoesBackToItsOwnerAndTheStageCloseAsksTheMainForm)
{
    auto *dialog = new Dialog(menu);
    dialog->show();
    dialog->hide();
    EXPECT_EQ(dialog->parentWidget(), menu);
    EXPECT_TRUE(dialog->isWindow());
    delete dialog;
    // The window manager's close reaches the main form, which closes; a
    // stage with no form left lets the application end.
    QCloseEvent close;
    QApplication::sendEvent(stage.get(), &close);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(close.isAccepted());
    QCloseEvent again;
    QApplication::sendEvent(stage.get(), &again);
    EXPECT_TRUE(again.isAccepted());
}

// ---- the sound switch ---------------------------------------------------------

TEST(SoundSwitch, MTogglesExceptWhereTextIsTyped)
{
    QWidget plain;
    TFlatEdit edit;
    QLineEdit readOnly;
    readOnly.setReadOnly(true);
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        QWidget *focused;
        bool toggles;
    };
    const Case cases[] = {
        {Qt::Key_M, Qt::NoModifier, &plain, true},
        {Qt::Key_M, Qt::ShiftModifier, nullptr, true},
        {0x042C, Qt::NoModifier, &plain, true}, // the same key on a Russian layout
        {Qt::Key_M, Qt::ControlModifier, &plain, false},
        {Qt::Key_M, Qt::AltModifier, &plain, false},
        {Qt::Key_N, Qt::NoModifier, &plain, false},
        {Qt::Key_M, Qt::NoModifier, &edit, false}, // a name or an answer being typed
        {Qt::Key_M, Qt::NoModifier, &readOnly, true},
    };
    for (const Case &c : cases) {
        QKeyEvent e(QEvent::KeyPress, c.key, c.mods);
        EXPECT_EQ(TSoundSwitch::isSwitchKey(&e, c.focused), c.toggles) << c.key << " " << int(c.mods);
    }
}

TEST(SoundSwitch, OffSilencesEverySoundAndCutsThePlayingOne)
{
    struct Recorder : platform::ISoundPlayer {
        void play(const QString &name, const QByteArray &) override { played << name; }
        void stop() override { ++stops; }
        QStringList played;
        int stops = 0;
    } rec;
    platform::FakeResourceLibrary lib;
    lib.addResource(QStringLiteral("WAVE"), QStringLiteral("CLICK"), QByteArray("RIFF"));
    platform::Sounds sounds;
    sounds.setPlayer(&rec);
    sounds.load(lib);
    QList<bool> seen;
    QObject::connect(&sounds, &platform::Sounds::enabledChanged, [&](bool on) { seen << on; });
    // The menu's speaker shows the same switch and turns it.
    TSoundButton button(&sounds);
    sounds.setEnabled(false);
    sounds.click();
    EXPECT_EQ(button.accessibleName(), TSoundButton::description(false));
    sounds.setEnabled(false); // no change, no signal
    button.click();
    sounds.click();
    sounds.free();
    EXPECT_EQ(rec.played, QStringList{QStringLiteral("CLICK")});
    EXPECT_GE(rec.stops, 1);
    EXPECT_EQ(seen, (QList<bool>{false, true}));
    EXPECT_TRUE(sounds.enabled());
    EXPECT_EQ(button.accessibleName(), TSoundButton::description(true));
}

} // namespace

namespace
{

// The keys that work on every screen are the application's for as long as the
// display that installed them lives; a key they take reaches no widget.
TEST(GameDisplay, ItsKeysGoThroughTheApplicationWhileItLives)
{
    platform::GameApplication *application = platform::GameApplication::instance();
    ASSERT_NE(application, nullptr);
    struct Keys : QWidget {
        void keyPressEvent(QKeyEvent *e) override
        {
            if (e->key() != Qt::Key_Alt) // Alt+Enter's own press of Alt
                seen << e->key();
        }
        QList<int> seen;
    } target;
    QTemporaryDir dir;
    app::VideoPlan plan;
    plan.mode = app::VideoOption::Window;
    platform::Sounds sounds;
    const bool soundBefore = sounds.enabled();
    {
        app::GameDisplay display(*application, sounds, plan, app::Settings{}, false, {800, 600},
                                 dir.filePath(QStringLiteral("zentrika.conf")));
        ASSERT_NE(display.stage(), nullptr);
        QTest::keyClick(&target, Qt::Key_M);
        EXPECT_EQ(sounds.enabled(), !soundBefore);
        QTest::keyClick(&target, Qt::Key_F11);
        EXPECT_TRUE(display.stage()->isFullScreenState());
        QTest::keyClick(&target, Qt::Key_Return, Qt::AltModifier);
        EXPECT_FALSE(display.stage()->isFullScreenState());
        QTest::keyClick(&target, Qt::Key_N);
        EXPECT_EQ(target.seen, QList<int>{Qt::Key_N});
        // What the keys changed is kept for the next run.
        EXPECT_EQ(app::Settings::load(dir.filePath(QStringLiteral("zentrika.conf"))).sound, !soundBefore);
    }
    QTest::keyClick(&target, Qt::Key_M);
    EXPECT_EQ(sounds.enabled(), !soundBefore);
    EXPECT_EQ(target.seen, (QList<int>{Qt::Key_N, Qt::Key_M}));
}

// A screen opened straight from the command line is the stage's only form;
// opening it again after it was freed must find nothing of the old one.
TEST(StageAlone, AFormOpenedAgainAfterTheOnlyOneWasFreed)
{
    TStage stage;
    stage.show();
    for (int round = 0; round < 3; ++round) {
        auto *form = new Dialog(nullptr, {400, 300});
        form->setStage(&stage);
        auto *text = new QTextEdit(form);
        text->setGeometry(10, 50, 200, 100);
        form->show();
        text->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), text);
        form->hide();
        EXPECT_EQ(QApplication::focusWidget(), nullptr);
        delete form;
        QApplication::processEvents();
    }
}

// Two stages in one process: a form shows on the stage it was told or on its
// owner's, takes its keys there, and comes back there after hiding; a form
// told nothing is a window of its own.
TEST(StageTwo, EachStageKeepsItsOwnForms)
{
    TStage first, second;
    first.show();
    second.show();
    Dialog menus[2] = {Dialog(nullptr, {800, 600}), Dialog(nullptr, {800, 600})};
    TStage *stages[2] = {&first, &second};
    for (int i : {0, 1}) {
        menus[i].setStage(stages[i]);
        menus[i].show();
    }
    for (int i : {0, 1}) {
        SCOPED_TRACE(i);
        TStage &stage = *stages[i];
        EXPECT_EQ(menus[i].parentWidget(), stage.board());
        auto *dialog = new Dialog(&menus[i]);
        int result = -1;
        QObject::connect(dialog, &TForm::modalFinished, [&result](int r) { result = r; });
        dialog->ShowModalAsync();
        EXPECT_EQ(dialog->parentWidget(), stage.board());
        EXPECT_EQ(stage.topForm(), dialog);
        EXPECT_EQ(stages[1 - i]->topForm(), &menus[1 - i]);
        EXPECT_TRUE(dialog->holdsControl(dialog->first));
        QTest::keyClick(dialog->first, Qt::Key_Escape); // the form's own key handler
        QApplication::processEvents();
        EXPECT_EQ(result, int(mrCancel));
        EXPECT_EQ(stage.topForm(), &menus[i]);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // Hidden, the menu is no one's child; it and what it owns come back here.
        menus[i].hide();
        ASSERT_TRUE(menus[i].isWindow());
        QPointer<Dialog> owned = new Dialog(&menus[i]);
        owned->show();
        EXPECT_EQ(owned->parentWidget(), stage.board());
        menus[i].show();
        EXPECT_EQ(menus[i].parentWidget(), stage.board());
        delete owned.data();
    }
    Dialog alone(nullptr);
    alone.show();
    EXPECT_TRUE(alone.isWindow());
    EXPECT_FALSE(first.holds(&alone) || second.holds(&alone));
    alone.hide();
}

} // namespace

namespace
{

// A window the player resizes: the picture takes the largest scale at which it
// fits, centred, as full screen shows it; full screen and back give each its own.
TEST(StageScale, ThePictureFollowsTheWindowWithItsAspectKept)
{
    TStage stage;
    stage.setScalesWithWindow(true);
    stage.resize(800, 600);
    stage.show();
    QApplication::processEvents();
    QWindow *window = stage.windowHandle();
    ASSERT_NE(window, nullptr);
    const auto restore = qScopeGuard([window] { platform::setWindowScale(window, 1.0); });

    struct Case {
        QSize asked;  // the window's new size in the display's pixels
        QSize device; // what it gets
        double scale;
    };
    const Case cases[] = {
        {{1000, 750}, {1000, 750}, 1.25},        // the picture's aspect
        {{1600, 700}, {1600, 700}, 700.0 / 600}, // wider: bars left and right
        {{900, 1000}, {900, 1000}, 900.0 / 800}, // taller: bars above and below
        {{300, 200}, {400, 300}, 0.5},           // never below half the picture
        {{800, 600}, {800, 600}, 1.0},
    };
    QSignalSpy scaled(&stage, &TStage::scaleChanged); // the game's cursors follow it
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(c.asked.width()).arg(c.asked.height()).toStdString());
        const double before = stage.devicePixelRatioF();
        scaled.clear();
        stage.resize(qRound(c.asked.width() / before), qRound(c.asked.height() / before));
        QApplication::processEvents();
        EXPECT_NEAR(stage.devicePixelRatioF(), c.scale, 0.005);
        EXPECT_EQ(scaled.count(), 1);
        const QSize device = platform::windowDevicePixels(window);
        EXPECT_NEAR(device.width(), c.device.width(), 2);
        EXPECT_NEAR(device.height(), c.device.height(), 2);
        // The whole picture shows, in the middle.
        const QRect board = stage.board()->geometry();
        EXPECT_TRUE(stage.rect().adjusted(-1, -1, 1, 1).contains(board)) << board.x() << "," << board.y();
        EXPECT_LE((board.center() - stage.rect().center()).manhattanLength(), 2);
    }

    // Full screen at the screen's scale, then the window at its own again.
    stage.resize(qRound(1000 / stage.devicePixelRatioF()), qRound(750 / stage.devicePixelRatioF()));
    QApplication::processEvents();
    const QSize screen = platform::screenDevicePixels(window);
    stage.showFullScreenOrWindow(true);
    QApplication::processEvents();
    EXPECT_NEAR(stage.devicePixelRatioF(), platform::fitFactor(screen, {800, 600}), 0.005);
    stage.showFullScreenOrWindow(false);
    QApplication::processEvents();
    EXPECT_NEAR(stage.devicePixelRatioF(), 1.25, 0.005);
    EXPECT_NEAR(platform::windowDevicePixels(window).width(), 1000, 2);

    // A scale the player fixed holds whatever the window's size.
    stage.setScalesWithWindow(false);
    stage.resize(1000, 800);
    QApplication::processEvents();
    EXPECT_NEAR(stage.devicePixelRatioF(), 1.25, 0.005);
    EXPECT_EQ(stage.minimumSize(), QSize(800, 600));
    scaled.clear();
    stage.resize(900, 700);
    QApplication::processEvents();
    EXPECT_EQ(scaled.count(), 0);
}

// Qt places widgets on whole logical pixels; the picture is centred to the
// display's pixel all the same, at factors that put its edge inside one, and
// the report says where it was drawn.
TEST(StageScale, ThePictureIsCentredToTheDisplaysPixel)
{
    TStage stage;
    auto *picture = new QWidget(stage.board());
    picture->setGeometry(stage.board()->rect());
    picture->setAutoFillBackground(true);
    picture->setPalette(QPalette(QColor(200, 60, 40)));
    stage.setScalesWithWindow(true);
    stage.resize(800, 600);
    stage.show();
    QApplication::processEvents();
    QWindow *window = stage.windowHandle();
    ASSERT_NE(window, nullptr);
    const auto restore = qScopeGuard([window] { platform::setWindowScale(window, 1.0); });

    const QSize sizes[] = {{1920, 1080}, {3840, 2160}, {1000, 700}, {1200, 1000}, {1000, 750}, {640, 470}};
    for (const QSize asked : sizes) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(asked.width()).arg(asked.height()).toStdString());
        platform::setWindowPixels(window, asked);
        QApplication::processEvents();
        const QSize device = platform::windowDevicePixels(window);
        ASSERT_EQ(device, asked);
        // The sides counted on the drawn pixels, across the middle row and
        // down the middle column.
        const QImage shot = stage.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb border = qRgb(28, 26, 23);
        auto firstPicture = [&](int length, auto at) {
            int n = 0;
            while (n < length && at(n) == border)
                ++n;
            return n;
        };
        const int midY = device.height() / 2, midX = device.width() / 2;
        const QRect drawn(
            QPoint(firstPicture(device.width(), [&](int x) { return shot.pixel(x, midY); }),
                   firstPicture(device.height(), [&](int y) { return shot.pixel(midX, y); })),
            QPoint(device.width() - 1 -
                       firstPicture(device.width(),
                                    [&](int x) { return shot.pixel(device.width() - 1 - x, midY); }),
                   device.height() - 1 - firstPicture(device.height(), [&](int y) {
                       return shot.pixel(midX, device.height() - 1 - y);
                   })));
        const int left = drawn.left(), right = device.width() - 1 - drawn.right();
        const int top = drawn.top(), bottom = device.height() - 1 - drawn.bottom();
        EXPECT_LE(std::abs(left - right), 1) << left << " | " << right;
        EXPECT_LE(std::abs(top - bottom), 1) << top << " / " << bottom;
        EXPECT_EQ(stage.pictureDrawn(), drawn);
    }
}

// Shows the stage scaling with its window, its board filled red with one blue
// part at the given place; returns the part.
QWidget *showRedBoardWithBluePart(TStage &stage, QRect part)
{
    auto *picture = new QWidget(stage.board());
    picture->setGeometry(stage.board()->rect());
    picture->setAutoFillBackground(true);
    picture->setPalette(QPalette(QColor(200, 60, 40)));
    auto *blue = new QWidget(picture);
    blue->setGeometry(part);
    blue->setAutoFillBackground(true);
    blue->setPalette(QPalette(QColor(40, 60, 200)));
    stage.setScalesWithWindow(true);
    stage.show();
    return blue;
}

// From a factor of 1 up the picture layer draws the board into the window one
// to one: at the picture's place the window shows what the board renders at
// that factor, every pixel, whatever fraction of a logical pixel it lies off.
TEST(StageScale, ThePictureIsTheBoardPixelForPixel)
{
    TStage stage;
    // Edges that fall between display pixels at both factors.
    showRedBoardWithBluePart(stage, QRect(101, 53, 333, 77));
    QWindow *window = stage.windowHandle();
    ASSERT_NE(window, nullptr);
    const auto restore = qScopeGuard([window] { platform::setWindowScale(window, 1.0); });
    for (const QSize asked : {QSize(1920, 1080), QSize(1000, 750), QSize(1200, 1000)}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(asked.width()).arg(asked.height()).toStdString());
        platform::setWindowPixels(window, asked);
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        const QRect target = stage.pictureDrawn();
        ASSERT_FALSE(target.isEmpty());
        QImage board(target.size(), QImage::Format_RGB32);
        board.setDevicePixelRatio(platform::windowScale(window));
        board.fill(Qt::black);
        stage.board()->render(&board, QPoint(), QRegion(), QWidget::DrawChildren);
        board.setDevicePixelRatio(1.0);
        const QImage shown = stage.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(target);
        ASSERT_EQ(shown.size(), board.size());
        int differing = 0;
        for (int y = 0; y < board.height(); ++y)
            for (int x = 0; x < board.width(); ++x)
                differing += shown.pixel(x, y) != board.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

// A form repainting a part of itself at 1.8: the picture lies a third of a
// logical pixel off the form, and the part's last display column on the
// screen changes too, not only on the next full paint.
TEST(StageScale, ARepaintBetweenLogicalPixelsLeavesNothingOld)
{
    TStage stage;
    // Its right edge at 7 of the board: 12.6 display pixels in, 252.6 on the screen.
    QWidget *part = showRedBoardWithBluePart(stage, QRect(2, 2, 5, 20));
    QWindow *window = stage.windowHandle();
    ASSERT_NE(window, nullptr);
    const auto restore = qScopeGuard([window] { platform::setWindowScale(window, 1.0); });
    platform::setWindowPixels(window, {1920, 1080});
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    ASSERT_EQ(stage.pictureDrawn(), QRect(240, 0, 1440, 1080));

    part->setPalette(QPalette(QColor(40, 200, 60)));
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const QImage screen = window->screen()->grabWindow(stage.winId()).toImage();
    ASSERT_GE(screen.width(), 260);
    const QColor last = screen.pixelColor(240 + 12, 20); // the part's last column
    EXPECT_EQ(last, QColor(40, 200, 60));
}

} // namespace
