#pragma once
// The player store as the game holds it: opened at its path on first use,
// once, by whoever owns this object (the game's start-up, a tool, a test),
// and passed to what reads or saves players. A store the game found unusable
// is never created: get() then raises ERegistryError with the reason.
#include "platform/Registry.h"

#include <QString>
#include <memory>

namespace platform
{

class UserStore
{
  public:
    // The store at path, opened by the first get().
    explicit UserStore(QString path);
    // A store already open, not owned (tests, tools that opened their own).
    explicit UserStore(Registry &open);
    ~UserStore();
    UserStore(const UserStore &) = delete;
    UserStore &operator=(const UserStore &) = delete;

    Registry &get();
    bool isOpen() const { return open_ != nullptr; }
    QString path() const { return path_; }
    // While set, get() raises ERegistryError with this reason instead of
    // opening the store; an empty reason lifts it.
    void setUnavailable(const QString &reason) { unavailable_ = reason; }
    // Closes a store this object opened (its log folded in); the next get()
    // opens it again.
    void close();

  private:
    QString path_;
    std::unique_ptr<Registry> owned_;
    Registry *open_ = nullptr;
    QString unavailable_;
};

} // namespace platform
