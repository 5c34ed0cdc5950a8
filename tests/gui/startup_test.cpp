// Start-up and shutdown of the game's process-wide resources, and the desktop
// services behind them: font, colours, cursors, the error report.
#include "FakeResourceLibrary.h"
#include "app/Startup.h"
#include "core/Errors.h"
#include "platform/DisplayModes.h"
#include "platform/ResourceLibrary.h"
#include "platform/Sounds.h"
#include "platform/UserStore.h"
#include "platform/desktop/GameApplication.h"
#include "platform/desktop/GameCursors.h"
#include "platform/desktop/HighlightColours.h"
#include "platform/desktop/PrivateFont.h"
#include "platform/desktop/WindowScale.h"
#include "screens/GameContext.h"
#include "screens/MainForm.h"
#include "widgets/Colors.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPalette>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace
{

const char *SystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const QString SeedDll = QStringLiteral(ZENTRIKA_SOURCE_DIR "/tests/fuzz/corpus/peresources/media_small.dll");

// A .cur file as the Windows cursor format lays it out, with a PNG image.
QByteArray cursorFile(const QImage &image, int hotX, int hotY)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray cur(22, '\0');
    qToLittleEndian<quint16>(2, cur.data() + 2);
    qToLittleEndian<quint16>(1, cur.data() + 4);
    cur[6] = char(image.width());
    cur[7] = char(image.height());
    qToLittleEndian<quint16>(quint16(hotX), cur.data() + 10);
    qToLittleEndian<quint16>(quint16(hotY), cur.data() + 12);
    qToLittleEndian<quint32>(quint32(png.size()), cur.data() + 14);
    qToLittleEndian<quint32>(22, cur.data() + 18);
    return cur + png;
}

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray read(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

class ScriptedDisplay : public platform::IDisplayModes
{
  public:
    explicit ScriptedDisplay(std::vector<platform::DisplayMode> list) : list_(std::move(list)) {}
    std::vector<platform::DisplayMode> modes() override { return list_; }
    bool change(const platform::DisplayMode &mode, bool) override
    {
        current = mode;
        return true;
    }
    void restore() override
    {
        current = {};
        ++restores;
    }
    platform::DisplayMode current;
    int restores = 0;

  private:
    std::vector<platform::DisplayMode> list_;
};

class Recorder : public platform::ISoundPlayer
{
  public:
    void play(const QString &name, const QByteArray &) override { played << name; }
    void stop() override {}
    QStringList played;
};

// A game folder with the seed DLL as Media.dll, a font and the two cursors.
class GameFolder : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        write(dir_.filePath(QStringLiteral("Media.dll")), read(SeedDll));
        write(dir_.filePath(QStringLiteral("Fonts/comic.ttf")), read(QString::fromLatin1(SystemFont)));
        QImage arrow(32, 32, QImage::Format_ARGB32);
        arrow.fill(Qt::transparent);
        arrow.setPixel(3, 5, qRgb(255, 0, 0));
        write(dir_.filePath(QStringLiteral("cursor.cur")), cursorFile(arrow, 3, 5));
        write(dir_.filePath(QStringLiteral("hand.cur")), cursorFile(arrow, 9, 1));
        originalHighlight_ = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
        originalText_ = QApplication::palette().color(QPalette::Active, QPalette::HighlightedText);
    }
    QStringList folders() const { return {dir_.path()}; }

    void expectDesktopAsBefore()
    {
        EXPECT_EQ(QApplication::palette().color(QPalette::Active, QPalette::Highlight), originalHighlight_);
        EXPECT_EQ(QApplication::palette().color(QPalette::Inactive, QPalette::HighlightedText),
                  originalText_);
        EXPECT_TRUE(QFont::substitutes(QStringLiteral("Comic Sans MS")).isEmpty());
        EXPECT_EQ(zw::gameFont(13).family(), QStringLiteral("Comic Sans MS"));
        // What a widget sets from now on is Qt's own cursor.
        QWidget button;
        button.setCursor(Qt::PointingHandCursor);
        EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
    }

    QTemporaryDir dir_;
    QColor originalHighlight_, originalText_;
};

TEST_F(GameFolder, StartUpTakesTheDesktopAndShutdownGivesItBack)
{
    ASSERT_NE(originalHighlight_, QColor(253, 237, 196));
    ScriptedDisplay display({{1024, 768, 60, 32}, {800, 600, 60, 32}, {800, 600, 75, 32}});
    Recorder sounds;
    {
        // As the game starts: the font configuration read on its own thread, then the font added.
        platform::PrivateFont::readConfigurationAhead();
        platform::Sounds waves;
        app::GameSession session(&display, waves, &sounds, folders());
        ASSERT_TRUE(session.start());

        EXPECT_EQ(display.current, (platform::DisplayMode{800, 600, 75, 32}));
        ASSERT_TRUE(session.media().isLoaded()) << session.media().errorString().toStdString();
        EXPECT_FALSE(session.media().loadBitmap(QStringLiteral("startscreen")).isNull());
        waves.click();
        waves.play(platform::Wave::Error); // not in this library: silence
        EXPECT_EQ(sounds.played, QStringList{QStringLiteral("CLICK")});

        const QPalette palette = QApplication::palette();
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            EXPECT_EQ(palette.color(group, QPalette::Highlight), QColor(253, 237, 196));
            EXPECT_EQ(palette.color(group, QPalette::HighlightedText), QColor(Qt::black));
        }
        EXPECT_EQ(session.font().family(), QStringLiteral("DejaVu Sans"));
        EXPECT_EQ(QFont::substitutes(QStringLiteral("Comic Sans MS")).value(0).toLower(),
                  QStringLiteral("dejavu sans"));
        EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Comic Sans MS"))).family(), QStringLiteral("DejaVu Sans"));
        // The screens ask for the family itself, never the face Qt would search fallbacks for.
        EXPECT_EQ(zw::gameFont(13).family().toLower(), session.font().family().toLower());

        EXPECT_EQ(session.cursorsLoaded(), 2);
        // Qt's arrow and hand become the game's wherever a widget sets them,
        // and every window that does not choose its own cursor gets the arrow.
        QWidget window;
        auto *hand = new QWidget(&window);
        hand->setCursor(Qt::PointingHandCursor);
        auto *arrow = new QWidget(&window);
        arrow->setCursor(Qt::ArrowCursor);
        auto *text = new QWidget(&window);
        text->setCursor(Qt::IBeamCursor);
        window.show();
        EXPECT_EQ(window.cursor().hotSpot(), QPoint(3, 5));
        EXPECT_EQ(hand->cursor().hotSpot(), QPoint(9, 1));
        EXPECT_EQ(arrow->cursor().hotSpot(), QPoint(3, 5));
        EXPECT_EQ(arrow->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(text->cursor().shape(), Qt::IBeamCursor);
        window.hide();

        session.shutdown();
        EXPECT_EQ(display.restores, 1);
        expectDesktopAsBefore();
        EXPECT_EQ(waves.player(), nullptr);
        session.shutdown(); // twice is harmless
        EXPECT_EQ(display.restores, 1);
    }
}

// At another scale the cursors are loaded again at the new size, and the
// widgets that had the old ones get the new, hot spot and all.
TEST_F(GameFolder, CursorsFollowTheScale)
{
    platform::Sounds waves;
    app::GameSession session(nullptr, waves, nullptr, folders());
    ASSERT_TRUE(session.start());
    QWidget window;
    auto *hand = new QWidget(&window);
    hand->setCursor(Qt::PointingHandCursor);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QSize before = hand->cursor().pixmap().size();
    const auto restore = qScopeGuard([&] { platform::setWindowScale(window.windowHandle(), 1.0); });
    ASSERT_TRUE(platform::setWindowScale(window.windowHandle(), 2.0));
    session.cursors().rescale();
    EXPECT_EQ(hand->cursor().pixmap().size(), before * 2);
    EXPECT_EQ(hand->cursor().hotSpot(), QPoint(18, 2));
    EXPECT_EQ(window.cursor().hotSpot(), QPoint(6, 10));
    session.shutdown();
}

// Without an 800 x 600 mode the program ends; it must not leave the desktop
// with the game's colours and font behind it.
TEST_F(GameFolder, FailedSwitchUndoesEverythingBeforeIt)
{
    ScriptedDisplay display({{1024, 768, 60, 32}, {640, 480, 60, 32}});
    Recorder sounds;
    platform::Sounds waves;
    app::GameSession session(&display, waves, &sounds, folders());
    EXPECT_FALSE(session.start());
    EXPECT_FALSE(session.isRunning());
    EXPECT_EQ(display.restores, 1);
    expectDesktopAsBefore();
    waves.click();
    EXPECT_TRUE(sounds.played.isEmpty());
    EXPECT_EQ(waves.player(), nullptr); // the session let go of its player
}

TEST_F(GameFolder, MissingFilesLeaveTheGameRunnable)
{
    QTemporaryDir empty;
    platform::Sounds waves;
    app::GameSession session(nullptr, waves, nullptr, {empty.path()});
    ASSERT_TRUE(session.start()); // in a window nothing needs switching
    EXPECT_FALSE(session.media().isLoaded());
    EXPECT_THROW(session.media().loadBitmap(QStringLiteral("StartScreen")), platform::EResourceError);
    EXPECT_FALSE(session.font().isAdded());
    EXPECT_EQ(session.cursorsLoaded(), 0);
    EXPECT_EQ(session.cursors().cursorFor(Qt::PointingHandCursor).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(QApplication::palette().color(QPalette::Active, QPalette::Highlight), QColor(253, 237, 196));
    session.shutdown();
    expectDesktopAsBefore();
}

TEST(Locate, ProgramFolderFirstThenTheNext)
{
    QTemporaryDir a, b;
    write(b.filePath(QStringLiteral("Media.dll")), "b");
    EXPECT_EQ(app::GameSession::locate(QStringLiteral("Media.dll"), {a.path(), b.path()}),
              b.filePath(QStringLiteral("Media.dll")));
    write(a.filePath(QStringLiteral("Media.dll")), "a");
    EXPECT_EQ(app::GameSession::locate(QStringLiteral("Media.dll"), {a.path(), b.path()}),
              a.filePath(QStringLiteral("Media.dll")));
    EXPECT_EQ(app::GameSession::locate(QStringLiteral("Fonts/comic.ttf"), {a.path()}),
              QStringLiteral("Fonts/comic.ttf"));
}

TEST(Options, VideoHelpVersionAndMistakes)
{
    EXPECT_EQ(app::parseOptions({}).video, app::VideoOption::Auto);
    EXPECT_EQ(app::parseOptions({QStringLiteral("--video=switch")}).video, app::VideoOption::Switch);
    EXPECT_EQ(app::parseOptions({QStringLiteral("--video=window")}).video, app::VideoOption::Window);
    EXPECT_TRUE(app::parseOptions({QStringLiteral("--help")}).help);
    EXPECT_TRUE(app::parseOptions({QStringLiteral("--version")}).version);
    EXPECT_FALSE(app::parseOptions({QStringLiteral("--video=fullscreen")}).error.isEmpty());
    EXPECT_FALSE(app::parseOptions({QStringLiteral("--frobnicate")}).error.isEmpty());
}

// What the console answers before any window: a mistake wins over --help and
// ends with 2, --help and --version with 0, anything else starts the game.
TEST(Options, ConsoleAnswersBeforeAnyWindow)
{
    const struct {
        QStringList arguments;
        std::optional<int> code;
    } cases[] = {
        {{}, std::nullopt},
        {{QStringLiteral("--help")}, 0},
        {{QStringLiteral("-v")}, 0},
        {{QStringLiteral("--help"), QStringLiteral("--frobnicate")}, 2},
        {{QStringLiteral("--version"), QStringLiteral("--sound=loud")}, 2},
        {{QStringLiteral("--screen=game")}, 2},
        {{QStringLiteral("--screen=game"), QStringLiteral("--player= ")}, 2},
        {{QStringLiteral("--data")}, 2},
        {{QStringLiteral("--screen=game"), QStringLiteral("--player=Ира"), QStringLiteral("--data"),
          QStringLiteral("/x")},
         std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(app::answerOnConsole(app::parseOptions(c.arguments)), c.code)
            << qPrintable(c.arguments.join(' '));
}

TEST(CursorFile, HotSpotAndImageFromTheFile)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 255, 255));
    const auto png = platform::readCursorFile(cursorFile(image, 7, 15));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->hotSpot, QPoint(7, 15));
    EXPECT_EQ(png->image.pixel(0, 0), qRgb(0, 0, 255));

    // icotool writes 32-bit DIB images by default: the alpha channel is the shape.
    const QString icotool = QStandardPaths::findExecutable(QStringLiteral("icotool"));
    if (!icotool.isEmpty()) {
        QTemporaryDir dir;
        QImage shape(32, 32, QImage::Format_ARGB32);
        shape.fill(Qt::transparent);
        for (int i = 0; i < 20; ++i)
            shape.setPixel(i, i, qRgb(0, 128, 0));
        shape.save(dir.filePath(QStringLiteral("a.png")));
        QProcess p;
        p.start(icotool, {QStringLiteral("-c"), QStringLiteral("--cursor"), QStringLiteral("--hotspot-x=4"),
                          QStringLiteral("--hotspot-y=6"), QStringLiteral("-o"),
                          dir.filePath(QStringLiteral("a.cur")), dir.filePath(QStringLiteral("a.png"))});
        ASSERT_TRUE(p.waitForFinished());
        const auto dib = platform::readCursorFile(dir.filePath(QStringLiteral("a.cur")));
        ASSERT_TRUE(dib);
        EXPECT_EQ(dib->hotSpot, QPoint(4, 6));
        EXPECT_EQ(dib->image.size(), QSize(32, 32));
        EXPECT_EQ(dib->image.pixel(5, 5), qRgb(0, 128, 0));
        EXPECT_EQ(qAlpha(dib->image.pixel(5, 6)), 0);
    }

    // Damaged files are refused, never read past their end.
    QByteArray cur = cursorFile(image, 1, 1);
    EXPECT_FALSE(platform::readCursorFile(cur.left(21)));
    EXPECT_FALSE(platform::readCursorFile(cur.left(40)));
    QByteArray far = cur;
    qToLittleEndian<quint32>(0x7FFFFFF0, far.data() + 18);
    EXPECT_FALSE(platform::readCursorFile(far));
    EXPECT_FALSE(platform::readCursorFile(QByteArray("\0\0\2\0\0\0", 6)));
    EXPECT_FALSE(platform::readCursorFile(QStringLiteral("/nonexistent/cursor.cur")));
}

// A handler that fails the first time, as a screen does when its picture is
// missing. (A user event rather than a mouse press: Qt's pointer-event
// bookkeeping leaks a little when an exception unwinds through it, which the
// leak checker of the sanitizer build would report against this test.)
class Throwing : public QWidget
{
  public:
    int presses = 0;

  protected:
    void customEvent(QEvent *) override
    {
        if (++presses == 1)
            throw platform::EResourceError("Bitmap \"GAMEPANEL\" not found in Media.dll");
    }
};

// An escaped error shows the player a Russian text that says what to do; its
// English detail, with paths, goes to stderr. The program goes on.
TEST(ErrorReport, EscapedErrorIsShownInRussianAndTheProgramGoesOn)
{
    QStringList shown;
    platform::GameApplication *application = platform::GameApplication::instance();
    ASSERT_TRUE(application);
    app::installErrorReport(*application); // the game's texts
    application->setErrorReporter([&](const QString &m) { shown << m; });
    Throwing w;
    auto press = [&] {
        QEvent e(QEvent::User);
        return platform::deliverReportingErrors([&] { return QApplication::sendEvent(&w, &e); });
    };
    testing::internal::CaptureStderr();
    EXPECT_FALSE(press());
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(QStringLiteral("Переустановите игру"))) << shown[0].toStdString();
    EXPECT_FALSE(shown[0].contains(QStringLiteral("not found")));
    EXPECT_NE(err.find("Bitmap \"GAMEPANEL\" not found in Media.dll"), std::string::npos);
    press(); // the widget still works
    EXPECT_EQ(w.presses, 2);
    EXPECT_EQ(shown.size(), 1);

    // The errors a player meets, each in Russian without the English or the path.
    const std::pair<std::exception_ptr, QString> errors[] = {
        {std::make_exception_ptr(
             ELoadError(QStringLiteral("Can not open the text file /g/Data/002.dat for the problem id - 2"))),
         QStringLiteral("головоломку")},
        {std::make_exception_ptr(EListError(QStringLiteral("List index out of bounds."))),
         QStringLiteral("главное меню")},
        {std::make_exception_ptr(platform::EResourceError("Resource mDIFF1 not found")),
         QStringLiteral("Media.dll")},
    };
    for (const auto &[error, says] : errors) {
        testing::internal::CaptureStderr();
        platform::deliverReportingErrors([&]() -> bool { std::rethrow_exception(error); });
        err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(shown.last().contains(says)) << shown.last().toStdString();
        EXPECT_FALSE(shown.last().contains(QLatin1Char('/')) ||
                     shown.last().contains(QStringLiteral("List index")));
        EXPECT_NE(err.find("zentrika: "), std::string::npos);
    }

    // An error while the report is up goes to stderr, not into a second box.
    application->setErrorReporter([&](const QString &m) {
        shown << m;
        platform::deliverReportingErrors([]() -> bool { throw std::runtime_error("again"); });
    });
    const qsizetype before = shown.size();
    testing::internal::CaptureStderr();
    platform::deliverReportingErrors([]() -> bool { throw 42; });
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(shown.size(), before + 1);
    EXPECT_EQ(shown.last(), playerMessage());
    EXPECT_NE(err.find("again"), std::string::npos);

    // Without the game's texts the platform shows the detail: it has no player text of its own.
    application->setErrorReporter([&](const QString &m) { shown << m; });
    application->setErrorTranslator({});
    testing::internal::CaptureStderr();
    platform::deliverReportingErrors([]() -> bool { throw std::runtime_error("Disk full"); });
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(shown.last(), QStringLiteral("Disk full"));

    // The game's own report is a modal box with the player's text.
    app::installErrorReport(*application);
    QString boxText;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxText = box->text();
            box->accept();
        }
    });
    testing::internal::CaptureStderr();
    platform::deliverReportingErrors(
        []() -> bool { throw EListError(QStringLiteral("List index out of bounds.")); });
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(boxText, playerMessage(EListError(QStringLiteral("List index out of bounds."))));
    application->setErrorReporter({});
    application->setErrorTranslator({});
}

TEST(HighlightColours, OnlyTheirRolesGoBack)
{
    const QPalette before = QApplication::palette();
    platform::HighlightColours colours;
    colours.apply();
    colours.apply(); // a second apply keeps the first saved colours
    QPalette changed = QApplication::palette();
    changed.setColor(QPalette::Window, QColor(1, 2, 3));
    QApplication::setPalette(changed);
    colours.restore();
    EXPECT_EQ(QApplication::palette().color(QPalette::Highlight), before.color(QPalette::Highlight));
    EXPECT_EQ(QApplication::palette().color(QPalette::HighlightedText),
              before.color(QPalette::HighlightedText));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(1, 2, 3));
    QApplication::setPalette(before);
}

TEST(StartScreen, BorderlessMainMenuOverTheLibrarysPicture)
{
    platform::FakeResourceLibrary media;
    QImage start(800, 600, QImage::Format_RGB32);
    start.fill(qRgb(10, 200, 30));
    media.addBitmap(QStringLiteral("StartScreen"), start);
    platform::UserStore store{QString()}; // the menu alone opens no store
    GameContext context{media, store, QString()};
    {
        TMainForm form(context);
        EXPECT_EQ(form.objectName(), QStringLiteral("MainForm"));
        EXPECT_EQ(form.size(), QSize(800, 600));
        EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
        const QImage shot = form.grab().toImage();
        EXPECT_EQ(shot.pixel(400, 300), qRgb(10, 200, 30));
    }
    platform::FakeResourceLibrary none;
    GameContext bare{none, store, QString()};
    TMainForm plain(bare); // no picture: the menu over its own colour, no error
    EXPECT_EQ(plain.grab().toImage().pixel(400, 300), qRgb(251, 254, 244));
}

} // namespace

namespace
{

TEST(StartScreen, MinimisingGivesTheDisplayBackAndRestoringRetakesIt)
{
    ScriptedDisplay display({{800, 600, 60, 32}});
    ASSERT_TRUE(platform::SwitchDisplayMode(display, 800, 600));
    platform::FakeResourceLibrary media;
    platform::UserStore store{QString()};
    GameContext context{media, store, QString()};
    {
        TMainForm form(context);
        form.setDisplayModes(&display);
        form.show();
        form.showMinimized();
        QApplication::processEvents();
        EXPECT_EQ(display.restores, 1);
        EXPECT_EQ(display.current, platform::DisplayMode{});
        form.showNormal();
        QApplication::processEvents();
        EXPECT_EQ(display.current, (platform::DisplayMode{800, 600, 60, 32}));
        EXPECT_EQ(display.restores, 1);
    }
}

} // namespace
