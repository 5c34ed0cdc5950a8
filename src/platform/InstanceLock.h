#pragma once
// "A game runs on this store": an exclusive lock on a file beside the store,
// held for the life of the game. The system drops it when the process ends,
// however it ends, so a crashed game never leaves it behind. The profile tool
// takes the same lock for its commands that change the store.
#include <QString>

namespace platform {

class InstanceLock {
public:
    explicit InstanceLock(const QString &storePath);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Without waiting; false when another process holds it, or when the lock
    // file cannot be made at all (then unavailable() is true).
    bool tryLock();
    bool unavailable() const { return unavailable_; }
    void unlock();
    bool isLocked() const { return fd_ >= 0; }
    QString path() const { return path_; }

    static QString lockPath(const QString &storePath);

private:
    QString path_;
    int fd_ = -1;
    bool unavailable_ = false;
};

}  // namespace platform
