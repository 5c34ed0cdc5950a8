#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

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
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const int fd = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    unavailable_ = fd < 0;
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
    ::close(fd_);  // the file stays: removing it would race with a process opening it
    fd_ = -1;
}

}  // namespace platform
