#include "platform/BoundedFile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

namespace
{

BoundedRead failure(BoundedRead::Status status, const QString &detail)
{
    BoundedRead r;
    r.status = status;
    r.detail = detail;
    return r;
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

BoundedRead readBoundedFile(const QString &path, qsizetype maxBytes)
{
    using Status = BoundedRead::Status;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const Status status = errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::ReadError;
        return failure(status, QStringLiteral("%1: %2").arg(path, systemError()));
    }
    struct stat st {
    };
    BoundedRead r;
    if (::fstat(fd, &st) != 0) {
        r = failure(Status::ReadError, QStringLiteral("%1: %2").arg(path, systemError()));
    } else if (!S_ISREG(st.st_mode)) {
        r = failure(Status::NotAFile, QStringLiteral("%1: not a regular file").arg(path));
    } else if (st.st_size > maxBytes) {
        r = failure(Status::TooLarge, QStringLiteral("%1: %2 bytes; at most %3 are read")
                                          .arg(path)
                                          .arg(qint64(st.st_size))
                                          .arg(qint64(maxBytes)));
    } else {
        // The file may still grow while it is read: at most one byte past the
        // limit is read, which tells a grown file from one at the limit.
        r.bytes.resize(qsizetype(st.st_size) + 1);
        qsizetype got = 0;
        while (got < r.bytes.size()) {
            const ssize_t n = ::read(fd, r.bytes.data() + got, std::size_t(r.bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n < 0)
                    r = failure(Status::ReadError, QStringLiteral("%1: %2").arg(path, systemError()));
                break;
            }
            got += n;
            if (got == r.bytes.size() && got <= maxBytes)
                r.bytes.resize(std::min<qsizetype>(maxBytes + 1, got * 2));
        }
        if (r.status != Status::ReadError) {
            r.bytes.truncate(got);
            r.status = got > maxBytes ? Status::TooLarge : Status::Ok;
            if (!r.ok()) {
                r.detail = QStringLiteral("%1: more than %2 bytes").arg(path).arg(qint64(maxBytes));
                r.bytes.clear();
            }
        }
    }
    ::close(fd);
    return r;
}

} // namespace platform
