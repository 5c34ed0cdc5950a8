// The bell a second start of the game rings to bring the first to the front.
#include "platform/LocalBell.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using platform::LocalBell;

namespace {

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
        EXPECT_EQ(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther |
                                                    QFile::WriteOther),
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

}  // namespace
