#pragma once
// What start-up and shutdown do for the player store: one game at a time
// (a second start brings the running game to the front and ends), a damaged
// store recovered from its newest good backup with a word to the player, and
// backup files written at start (daily) and after a session that changed a player.
// A store it cannot lock, read or write is left untouched, with a word to the player.
#include "platform/InstanceLock.h"

#include <QObject>
#include <QString>
#include <memory>

class IMessages;

namespace platform
{
class LocalBell;
class UserStore;
} // namespace platform

namespace app
{

class StoreGuard : public QObject
{
  public:
    // store: the game's player store, opened here (openStore) and closed
    // before the locks go.
    explicit StoreGuard(platform::UserStore &store);
    ~StoreGuard() override;

    // False when another game runs on the store: it has been asked to come to
    // the front, and this process must end with exitCode().
    bool start();
    // Checks the store, recovers it if damaged and opens it, once; before
    // anything reads it, and after start() said this game may run.
    void openStore();
    int exitCode() const { return exitCode_; }
    // Shows what start() and openStore() found in the game's message box, once.
    void showNotice(IMessages &messages);
    // After the event loop: a backup when the session changed the store.
    void finish();

    QString notice() const { return notice_; }
    // The local socket name a running game listens on, for its store.
    static QString serverName(const QString &storePath);

  private:
    void bringToFront();

    void refuseStore(const QString &notice, const QString &why);

    platform::UserStore &store_;
    QString storePath_;
    platform::InstanceLock lock_;
    // Shared while the store is open, exclusive while it is checked and recovered.
    platform::StoreLock storeLock_;
    platform::LocalBell *bell_ = nullptr;
    QString notice_;
    bool opened_ = false;
    bool openTried_ = false;
    int exitCode_ = 0;
};

} // namespace app
