#pragma once
// Reads a whole file that must be a regular file of at most a given size. A
// FIFO, a device or a folder in its place is refused at once instead of
// blocking or being read without end, and a file over the limit is refused
// before anything is allocated for it.
#include <QByteArray>
#include <QString>

namespace platform
{

struct BoundedRead {
    enum class Status { Ok, Missing, NotAFile, TooLarge, ReadError };
    Status status = Status::Missing;
    QByteArray bytes;
    QString detail; // English, with the path: for logs and tools
    bool ok() const { return status == Status::Ok; }
};

BoundedRead readBoundedFile(const QString &path, qsizetype maxBytes);

} // namespace platform
