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

namespace platform
{

namespace
{

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

// A directory, not a link to one, that only this user can enter or list.
bool isPrivateFolder(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

// A socket file this user made.
bool isOwnSocket(const char *path)
{
    struct stat st;
    return ::lstat(path, &st) == 0 && S_ISSOCK(st.st_mode) && st.st_uid == ::geteuid();
}

// The program at the other end runs as this user.
bool peerIsThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
}

} // namespace

LocalBell::LocalBell(QObject *parent) : QObject(parent) {}

LocalBell::~LocalBell()
{
    if (fd_ < 0)
        return;
    delete notifier_;
    ::close(fd_);
    ::unlink(QFile::encodeName(path_).constData());
}

QString LocalBell::folder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.startsWith('/') && isPrivateFolder(runtime))
        return QFile::decodeName(runtime);
    // The temporary folder is shared: a folder of our own there, and one
    // somebody else made under our name (to listen in it) is refused.
    const QByteArray own =
        QFile::encodeName(QDir::tempPath()) + "/zentrika-" + QByteArray::number(::geteuid());
    if (::mkdir(own.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(own) ? QFile::decodeName(own) : QString();
}

QString LocalBell::socketPath(const QString &name)
{
    const QString dir = folder();
    return dir.isEmpty() ? QString() : QDir(dir).filePath(name);
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
    // Only a socket of ours is replaced; anything else there keeps the name.
    if (isOwnSocket(address.sun_path))
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
            break;       // EAGAIN: no more waiting
        ::close(client); // the call itself is the message
        ++rings;
    }
    for (int i = 0; i < rings; ++i)
        emit rung();
}

bool LocalBell::ring(const QString &name, const QByteArray &message, int timeoutMs)
{
    sockaddr_un address;
    if (!addressOf(socketPath(name), address) || !isOwnSocket(address.sun_path))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    bool connected = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    if (!connected && errno == EAGAIN) {
        // The listener's queue is full: wait for room.
        pollfd p{fd, POLLOUT, 0};
        connected = ::poll(&p, 1, timeoutMs) == 1 &&
                    ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    }
    // The file was ours a moment ago; the listener must be ours too.
    connected = connected && peerIsThisUser(fd);
    if (connected && !message.isEmpty()) [[maybe_unused]]
        const auto n = ::send(fd, message.constData(), size_t(message.size()), MSG_NOSIGNAL);
    ::close(fd);
    return connected;
}

} // namespace platform
