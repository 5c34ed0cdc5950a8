#include "platform/InstanceLock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform
{

namespace
{

// The lock file, made if missing. -1 with the reason in *error when it cannot
// be opened (a file left by another user, a folder in its place).
int openLockFile(const QString &path, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        *error = QStringLiteral("cannot open the lock file %1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    else
        error->clear();
    return fd;
}

} // namespace

QString InstanceLock::lockPath(const QString &storePath)
{
    return QFileInfo(storePath).absolutePath() + QStringLiteral("/zentrika.lock");
}

InstanceLock::InstanceLock(const QString &storePath) : path_(lockPath(storePath)) {}

InstanceLock::~InstanceLock()
{
    unlock();
}

bool InstanceLock::tryLock()
{
    if (fd_ >= 0)
        return true;
    const int fd = openLockFile(path_, &error_);
    if (fd < 0)
        return false;
    // flock, not fcntl locks: it belongs to the open file, so closing another
    // descriptor of the same file in this process does not drop it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void InstanceLock::unlock()
{
    if (fd_ < 0)
        return;
    ::close(fd_); // the file stays: removing it would race with a process opening it
    fd_ = -1;
}

QString StoreLock::lockPath(const QString &storePath)
{
    return QFileInfo(storePath).absoluteFilePath() + QStringLiteral(".lock");
}

StoreLock::StoreLock(const QString &storePath) : path_(lockPath(storePath)) {}

StoreLock::~StoreLock()
{
    unlock();
}

bool StoreLock::lock(Mode mode, int timeoutMs)
{
    if (fd_ < 0) {
        fd_ = openLockFile(path_, &error_);
        if (fd_ < 0)
            return false;
    }
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const QDeadlineTimer deadline(timeoutMs);
    while (::flock(fd_, operation) != 0) {
        // Changing mode may give the lock up for a moment: it is not held now.
        locked_ = false;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error_ =
                QStringLiteral("cannot lock %1: %2").arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    locked_ = true;
    return true;
}

void StoreLock::unlock()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    locked_ = false;
}

} // namespace platform
