#pragma once
// A Unix socket in the temporary folder that one running program listens on
// and another rings: how a second start of the game asks the first to come
// to the front. Plain sockets rather than Qt's network module, which would
// load nine more libraries (Kerberos, a proxy resolver) at every start.
// The socket is the one QLocalServer makes for the same name, so games of
// either kind find each other.
#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace platform {

class LocalBell : public QObject {
    Q_OBJECT
public:
    explicit LocalBell(QObject *parent = nullptr);
    ~LocalBell() override;

    static QString socketPath(const QString &name);
    // Listens under the name, in place of a socket a program that died left
    // there (the caller holds the lock that says none runs). Only this user
    // may ring. False where the socket cannot be made.
    bool listen(const QString &name);
    bool isListening() const { return fd_ >= 0; }
    // Rings where a program listens under the name: true when one took the
    // call within the time.
    static bool ring(const QString &name, const QByteArray &message, int timeoutMs);

signals:
    void rung();

private:
    void acceptAll();

    int fd_ = -1;
    QString path_;
    QSocketNotifier *notifier_ = nullptr;
};

}  // namespace platform
