#pragma once
// A Unix socket in a folder only this user can reach that one running program
// listens on and another rings: how a second start of the game asks the first
// to come to the front. Plain sockets rather than Qt's network module, which
// would load nine more libraries (Kerberos, a proxy resolver) at every start.
// The folder is $XDG_RUNTIME_DIR, else one of our own in the temporary folder;
// a shared folder would let another user listen under the name first.
#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace platform
{

class LocalBell : public QObject
{
    Q_OBJECT
  public:
    explicit LocalBell(QObject *parent = nullptr);
    ~LocalBell() override;

    // The folder the sockets live in: $XDG_RUNTIME_DIR where it is this
    // user's alone, else <temporary folder>/zentrika-<uid>, made here with
    // mode 0700. Empty where neither is safe (one made by somebody else).
    static QString folder();
    // Empty where there is no safe folder.
    static QString socketPath(const QString &name);
    // Listens under the name, in place of a socket a program that died left
    // there (the caller holds the lock that says none runs). Only this user
    // may ring. False where the socket cannot be made.
    bool listen(const QString &name);
    bool isListening() const { return fd_ >= 0; }
    // Rings where a program listens under the name: true when one took the
    // call within the time. A socket this user did not make, or a listener
    // running as another user, is not rung.
    static bool ring(const QString &name, const QByteArray &message, int timeoutMs);

  signals:
    void rung();

  private:
    void acceptAll();

    int fd_ = -1;
    QString path_;
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace platform
