#include "app/StoreGuard.h"

#include "core/StoreNotice.h"
#include "core/User.h"
#include "platform/LocalBell.h"
#include "platform/Registry.h"
#include "platform/StoreFiles.h"
#include "platform/UserStore.h"
#include "screens/Messages.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QThread>
#include <QWidget>
#include <csignal>
#include <cstdio>

namespace app
{

namespace
{

constexpr int kBackupAgeSeconds = 24 * 60 * 60;

void report(const QString &text)
{
    std::fprintf(stderr, "zentrika: %s\n", qPrintable(text));
}

} // namespace

StoreGuard::StoreGuard(platform::UserStore &store)
    : store_(store), storePath_(store.path()), lock_(storePath_), storeLock_(storePath_)
{
}

StoreGuard::~StoreGuard()
{
    // The store is closed (its log folded in) before the locks go.
    store_.close();
}

QString StoreGuard::serverName(const QString &storePath)
{
    const QByteArray id = QCryptographicHash::hash(platform::InstanceLock::lockPath(storePath).toUtf8(),
                                                   QCryptographicHash::Sha1)
                              .toHex()
                              .left(16);
    return QStringLiteral("zentrika-") + QString::fromLatin1(id);
}

bool StoreGuard::start()
{
    // A file size limit makes a save fail (and be reported) instead of killing the game.
    std::signal(SIGXFSZ, SIG_IGN);

    // The lock is held by a running game, or for a moment by the profile tool.
    const QDeadlineTimer deadline(5000);
    while (!lock_.tryLock()) {
        if (platform::LocalBell::ring(serverName(storePath_), "raise\n", 500)) {
            report(QStringLiteral("the game is already running; its window was brought to the front"));
            return false;
        }
        // A lock file this user cannot open (left by another user): nothing
        // would keep a second game off the store, so this one leaves it alone.
        if (lock_.unavailable()) {
            refuseStore(StoreNotice::NoLock(), lock_.error());
            break;
        }
        if (deadline.hasExpired()) {
            report(QStringLiteral("the player store %1 is in use by another program").arg(storePath_));
            exitCode_ = 1;
            return false;
        }
        QThread::msleep(100);
    }

    if (lock_.isLocked() || lock_.unavailable()) {
        // A second start rings here. A socket a crashed game left is replaced:
        // the lock says no game owns it now (without a lock, no one answered).
        bell_ = new platform::LocalBell(this);
        if (bell_->listen(serverName(storePath_)))
            connect(bell_, &platform::LocalBell::rung, this, &StoreGuard::bringToFront);
    }

    return true;
}

void StoreGuard::refuseStore(const QString &notice, const QString &why)
{
    if (notice_.isEmpty())
        notice_ = notice;
    report(why);
    store_.setUnavailable(why);
    openTried_ = true;
}

void StoreGuard::openStore()
{
    if (openTried_)
        return;
    openTried_ = true;
    // The profile tool's readers hold the store lock for a moment only.
    if (!storeLock_.lock(platform::StoreLock::Mode::Exclusive, 10000)) {
        const QString why = storeLock_.error();
        refuseStore(why.isEmpty() ? StoreNotice::Failed() : StoreNotice::NoLock(),
                    why.isEmpty() ? QStringLiteral("the player store %1 stays locked").arg(storePath_) : why);
        return;
    }
    try {
        platform::store::Recovery recovery;
        if (platform::store::checkAndRecover(storePath_, &recovery)) {
            notice_ = StoreNotice::Recovered(recovery);
            report(platform::store::recoveryDetail(recovery));
        }
        platform::Registry &registry = store_.get();
        opened_ = true;
        storeLock_.lock(platform::StoreLock::Mode::Shared, 10000);
        const QDateTime newest = platform::store::newestBackupTime(storePath_);
        const bool stale =
            !newest.isValid() || newest.secsTo(QDateTime::currentDateTime()) > kBackupAgeSeconds;
        if (stale && !registry.subKeyNames(TUser::UsersKey).isEmpty())
            platform::store::writeBackup(registry);
    } catch (const platform::store::EStoreAccess &e) {
        refuseStore(StoreNotice::NoAccess(), QString::fromUtf8(e.what()));
    } catch (const std::exception &e) {
        // The game still runs: the collection needs no store. The message box
        // has one line; the detail goes to the log.
        if (notice_.isEmpty())
            notice_ = StoreNotice::Failed();
        report(QString::fromUtf8(e.what()));
    }
    if (!opened_)
        storeLock_.unlock();
}

void StoreGuard::showNotice(IMessages &messages)
{
    if (notice_.isEmpty())
        return;
    const QString text = notice_;
    notice_.clear();
    messages.ShowNotice(text);
}

void StoreGuard::finish()
{
    if (!opened_)
        return;
    try {
        platform::Registry &registry = store_.get();
        if (registry.changesSinceOpen() > 0)
            platform::store::writeBackup(registry);
    } catch (const std::exception &e) {
        report(QString::fromUtf8(e.what()));
    }
}

void StoreGuard::bringToFront()
{
    QWidget *front = QApplication::activeModalWidget();
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->parentWidget())
            continue;
        if (w->windowState() & Qt::WindowMinimized)
            w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        if (!front)
            front = w;
    }
    if (front) {
        front->raise();
        front->activateWindow();
    }
}

} // namespace app
