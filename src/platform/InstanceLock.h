#pragma once
// Two locks beside the store, both `flock`s that the system drops when the
// process ends, however it ends.
// - InstanceLock, "a game runs on this store": exclusive, on zentrika.lock,
//   held for the life of the game. The profile tool takes it for its commands
//   that change the store, so it never writes under a running game.
// - StoreLock, "the store file stays the file it is": on <store>.lock, shared
//   by everyone who has the store open (the game for its whole run, the tool's
//   readers), exclusive for a recovery, which replaces the file, and for the
//   tool's writers. Without it a reader opening the store in the middle of a
//   recovery could create an empty store, or lay its log on the restored one.
#include <QString>

namespace platform
{

class InstanceLock
{
  public:
    explicit InstanceLock(const QString &storePath);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Without waiting; false when another process holds it, or when the lock
    // file cannot be opened at all (then unavailable() is true and error() says why).
    bool tryLock();
    bool unavailable() const { return !error_.isEmpty(); }
    QString error() const { return error_; }
    void unlock();
    bool isLocked() const { return fd_ >= 0; }
    QString path() const { return path_; }

    static QString lockPath(const QString &storePath);

  private:
    QString path_;
    int fd_ = -1;
    QString error_;
};

class StoreLock
{
  public:
    enum class Mode { Shared, Exclusive };

    explicit StoreLock(const QString &storePath);
    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    // Waits up to timeoutMs for the lock in that mode (a held lock changes
    // mode). False when it is still held elsewhere, or when the lock file
    // cannot be opened (error() says why).
    bool lock(Mode mode, int timeoutMs);
    QString error() const { return error_; }
    void unlock();
    bool isLocked() const { return fd_ >= 0 && locked_; }
    QString path() const { return path_; }

    static QString lockPath(const QString &storePath);

  private:
    QString path_;
    int fd_ = -1;
    bool locked_ = false;
    QString error_;
};

} // namespace platform
