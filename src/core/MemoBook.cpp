#include "core/MemoBook.h"

#include "core/User.h"
#include "platform/Registry.h"
#include "platform/UserStore.h"

TMemo TMemoBook::Memo(ProblemId id)
{
    const auto it = memos_.find(id);
    return it == memos_.end() ? TMemo() : it->second;
}

void TMemoBook::Put(ProblemId id, const TMemo &memo)
{
    if (memo.IsEmpty())
        memos_.erase(id);
    else
        memos_[id] = memo;
}

void TMemoBook::Remove(ProblemId id)
{
    memos_.erase(id);
}

// ---- a player's memos in the store ------------------------------------------

platform::Registry &TPlayerMemos::registry() const
{
    return store_.get();
}

bool TPlayerMemos::playerStored() const
{
    return registry().keyExists(player_.KeyPath());
}

TMemo::Parsed TPlayerMemos::Load(platform::Registry &registry, const QString &playerPath, ProblemId id)
{
    const auto key = registry.openKeyReadOnly(KeyPath(playerPath));
    const QString name = ValueName(id);
    if (!key || !key->valueExists(name))
        return {};
    if (key->valueType(name) != platform::RegType::Binary)
        return {TMemo(), true};
    // One byte past the limit tells a record that was cut from one that fits.
    return TMemo::Parse(key->readBinaryPrefix(name, TMemo::MaxBytes + 1));
}

void TPlayerMemos::Store(platform::Registry &registry, const QString &playerPath, ProblemId id,
                         const TMemo &memo)
{
    if (memo.IsEmpty()) {
        if (const auto key = registry.openKey(KeyPath(playerPath), false))
            key->deleteValue(ValueName(id));
        return;
    }
    registry.openKey(KeyPath(playerPath), true)->writeBinary(ValueName(id), memo.Serialize());
}

TMemo TPlayerMemos::Memo(ProblemId id)
{
    if (const auto it = memos_.find(id); it != memos_.end())
        return it->second;
    TMemo memo;
    if (!pending_.contains(id)) {
        try {
            memo = Load(registry(), player_.KeyPath(), id).memo;
        } catch (const platform::ERegistryError &) {
            // An unreadable record is no memo; the profile itself is untouched.
        }
    }
    memos_[id] = memo;
    return memo;
}

void TPlayerMemos::Put(ProblemId id, const TMemo &memo)
{
    memos_[id] = memo;
    if (!playerStored()) {
        pending_.insert(id);
        return;
    }
    Store(registry(), player_.KeyPath(), id, memo);
    pending_.erase(id);
}

void TPlayerMemos::Remove(ProblemId id)
{
    Put(id, TMemo());
}

void TPlayerMemos::Flush()
{
    if (pending_.empty() || !playerStored())
        return;
    registry().transaction([&] {
        for (ProblemId id : pending_)
            Store(registry(), player_.KeyPath(), id, memos_[id]);
    });
    pending_.clear();
}
