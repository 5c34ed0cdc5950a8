#include "platform/LocalBell.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// False when the path does not fit a socket address.
bool addressOf(const QString &path, sockaddr_un &address)
{
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || size_t(bytes.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

}  // namespace

LocalBell::LocalBell(QObject *parent) : QObject(parent) {}

LocalBell::~LocalBell()
{
    if (fd_ < 0)
        return;
    delete notifier_;
    ::close(fd_);
    ::unlink(QFile::encodeName(path_).constData());
}

QString LocalBell::socketPath(const QString &name)
{
    return QDir(QDir::tempPath()).filePath(name);
}

bool LocalBell::listen(const QString &name)
{
    if (fd_ >= 0)
        return false;
    sockaddr_un address;
    const QString path = socketPath(name);
    if (!addressOf(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    ::unlink(address.sun_path);
    // The socket file's mode comes from the umask at bind: this user only.
    const mode_t mask = ::umask(077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &LocalBell::acceptAll);
    return true;
}

void LocalBell::acceptAll()
{
    int rings = 0;
    for (;;) {
        const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            break;  // EAGAIN: no more waiting
        ::close(client);  // the call itself is the message
        ++rings;
    }
    for (int i = 0; i < rings; ++i)
        emit rung();
}

bool LocalBell::ring(const QString &name, const QByteArray &message, int timeoutMs)
{
    sockaddr_un address;
    if (!addressOf(socketPath(name), address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    bool connected = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    if (!connected && errno == EAGAIN) {
        // The listener's queue is full: wait for room.
        pollfd p{fd, POLLOUT, 0};
        connected = ::poll(&p, 1, timeoutMs) == 1 && ::connect(fd, reinterpret_cast<const sockaddr *>(&address),
                                                               sizeof address) == 0;
    }
    if (connected && !message.isEmpty())
        [[maybe_unused]] const auto n = ::send(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL);
    ::close(fd);
    return connected;
}

}  // namespace platform
