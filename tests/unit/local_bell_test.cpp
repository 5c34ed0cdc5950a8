// The bell a second start of the game rings to bring the first to the front.
#include "platform/LocalBell.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::LocalBell;

namespace
{

QString testName()
{
    return QStringLiteral("zentrika-bell-test-%1").arg(::getpid());
}

// What a game killed with SIGKILL leaves: a bound socket file nobody listens on.
void leaveStaleSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
}

bool waitFor(const int &count, int wanted)
{
    const QDeadlineTimer deadline(3000);
    while (count < wanted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return count == wanted;
}

TEST(LocalBell, ASecondStartRingsTheFirstInPlaceOfAStaleSocket)
{
    const QString name = testName();
    const QString path = LocalBell::socketPath(name);
    QFile::remove(path);
    EXPECT_FALSE(LocalBell::ring(name, "raise\n", 200)) << "nobody listens";
    leaveStaleSocket(path);
    EXPECT_FALSE(LocalBell::ring(name, "raise\n", 200)) << "a dead game's socket takes no call";

    int rings = 0;
    {
        LocalBell bell;
        ASSERT_TRUE(bell.listen(name));
        QObject::connect(&bell, &LocalBell::rung, [&] { ++rings; });
        // Only this user may ring.
        EXPECT_EQ(QFileInfo(path).permissions() &
                      (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                  QFile::Permissions());
        EXPECT_TRUE(LocalBell::ring(name, "raise\n", 500));
        EXPECT_TRUE(LocalBell::ring(name, QByteArray(), 500));
        EXPECT_TRUE(waitFor(rings, 2)) << rings;
        EXPECT_FALSE(LocalBell().listen(QString(200, QLatin1Char('x')))) << "too long for a socket address";
    }
    // The game ended: its socket is gone with it.
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(LocalBell::ring(name, "raise\n", 200));
}

// Sets an environment variable for one scope; null unsets it.
class ScopedEnv
{
  public:
    ScopedEnv(const char *name, const QByteArray &value, bool set = true)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
    {
        if (set)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char *name_;
    QByteArray old_;
    bool had_;
};

TEST(LocalBell, LivesInAFolderOnlyThisUserCanReach)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString runtime = base.filePath(QStringLiteral("runtime"));
    const QString tmp = base.filePath(QStringLiteral("tmp"));
    ASSERT_EQ(::mkdir(QFile::encodeName(runtime).constData(), 0700), 0);
    ASSERT_EQ(::mkdir(QFile::encodeName(tmp).constData(), 01777), 0);
    ::chmod(QFile::encodeName(tmp).constData(), 01777);
    const ScopedEnv tmpdir("TMPDIR", QFile::encodeName(tmp));
    const QString own = tmp + QStringLiteral("/zentrika-%1").arg(::geteuid());

    struct Case {
        const char *what;
        QByteArray runtimeDir;
        bool set;
        mode_t runtimeMode;
        QString expected;
    };
    const Case cases[] = {
        {"a private runtime folder", QFile::encodeName(runtime), true, 0700, runtime},
        {"a runtime folder others may enter", QFile::encodeName(runtime), true, 0755, own},
        {"a relative runtime folder", "runtime", true, 0700, own},
        {"no runtime folder", {}, false, 0700, own},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ::chmod(QFile::encodeName(runtime).constData(), c.runtimeMode);
        const ScopedEnv env("XDG_RUNTIME_DIR", c.runtimeDir, c.set);
        EXPECT_EQ(LocalBell::socketPath(testName()), c.expected + QLatin1Char('/') + testName());
        if (c.expected == own) {
            struct stat st;
            ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0700u);
        }
    }

    // Our folder's name in the shared folder, taken first by a link elsewhere:
    // no socket at all rather than one where somebody else can reach it.
    ::rmdir(QFile::encodeName(own).constData());
    ASSERT_EQ(::symlink(QFile::encodeName(runtime).constData(), QFile::encodeName(own).constData()), 0);
    const ScopedEnv env("XDG_RUNTIME_DIR", {}, false);
    EXPECT_TRUE(LocalBell::socketPath(testName()).isEmpty());
    EXPECT_FALSE(LocalBell().listen(testName()));
    EXPECT_FALSE(LocalBell::ring(testName(), "raise\n", 200));
}

// Another local user listening under our name: as root, a child that gives
// itself up to nobody.
TEST(LocalBell, NeverRingsAListenerOfAnotherUser)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    // Open for a moment so that the other user can make the socket there; the
    // same folder as TMPDIR, where the socket used to live.
    ::chmod(folder.constData(), 0777);
    const ScopedEnv runtime("XDG_RUNTIME_DIR", folder);
    const ScopedEnv tmpdir("TMPDIR", folder);
    const QByteArray path = folder + '/' + QFile::encodeName(testName());

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
            ::listen(fd, 8) != 0)
            ::_exit(3);
        [[maybe_unused]] const auto n = ::write(ready[1], "1", 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char c = 0;
    const bool listening = ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
    ::chmod(folder.constData(), 0700);
    if (listening) {
        EXPECT_FALSE(LocalBell::ring(testName(), "raise\n", 500)) << "a socket another user made";
        // The file made ours, the listener still is not.
        ASSERT_EQ(::lchown(path.constData(), ::geteuid(), ::getegid()), 0);
        EXPECT_FALSE(LocalBell::ring(testName(), "raise\n", 500)) << "a listener running as another user";
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(listening) << "the other user's listener did not start";
}

} // namespace
