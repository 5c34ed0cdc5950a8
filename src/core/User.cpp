#include "core/User.h"

#include "core/ProfileBackup.h"
#include "core/ProfileFormat.h"

#include "core/Errors.h"
#include "core/HintBlock.h"
#include "platform/Registry.h"
#include "platform/ResourceLibrary.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

namespace
{

EListError outOfBounds()
{
    return EListError(QStringLiteral("List index out of bounds."));
}

// The logo is decoration: a library that is not loaded yet or lacks the
// picture leaves it empty rather than making the profile unreadable.
QImage loadLogo(const platform::IResourceLibrary *media, std::uint8_t index)
{
    if (!media)
        return {};
    try {
        return media->loadBitmap(int(index));
    } catch (const platform::EResourceError &) {
        return {};
    }
}

// A list's binary value is read only when its count is not 0.
void readValue(TUser &user, const platform::RegistryKey &key, const profileformat::Value &v,
               std::uint32_t &count)
{
    using profileformat::Kind;
    const QString name = QLatin1String(v.name);
    switch (v.kind) {
    case Kind::Text:
        v.setText(user, key.valueExists(name) ? key.readString(name) : QString());
        break;
    case Kind::Integer:
        v.set(user, key.readInteger(name));
        break;
    case Kind::Count:
        count = 0;
        if (v.optional && !key.valueExists(name))
            break;
        // Compared as unsigned: a negative count is as unusable as a huge one.
        count = std::uint32_t(key.readInteger(name));
        if (count > std::uint64_t(v.max))
            throw EInternalError(QLatin1String(v.tooLong));
        break;
    case Kind::List: {
        if (count == 0)
            break;
        QByteArray bytes(int(count) * profileformat::elementBytes(v), '\0');
        if (key.valueExists(name))
            key.readBinaryData(name, bytes.data(), int(bytes.size()));
        v.setElements(user, profileformat::decode(v, bytes, int(count)));
        break;
    }
    }
}

// The stored values in the order they are read and written. An optional value
// that cannot be read is left empty: the rest of the profile is worth more.
void readValues(TUser &user, const platform::RegistryKey &key)
{
    std::uint32_t count = 0;
    for (const profileformat::Value &v : profileformat::values()) {
        if (!v.optional) {
            readValue(user, key, v, count);
            continue;
        }
        try {
            readValue(user, key, v, count);
        } catch (const std::exception &) {
            count = 0; // its list, read next, stays empty
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TUsedIdList

void TUsedIdList::Clear()
{
    ids_.fill(0);
    count_ = 0;
}

void TUsedIdList::Add(ProblemId id)
{
    if (count_ >= kCapacity)
        throw outOfBounds();
    ids_[count_++] = id;
}

bool TUsedIdList::Contains(ProblemId id) const
{
    return std::find(ids_.begin(), ids_.begin() + count_, id) != ids_.begin() + count_;
}

void TUsedIdList::LoadFromArray(const ProblemId *ids, int n)
{
    if (n == 0)
        return;
    if (n < 0 || n > kCapacity)
        throw outOfBounds();
    Clear();
    std::copy(ids, ids + n, ids_.begin());
    count_ = std::uint16_t(n);
}

int TUsedIdList::SaveToArray(ProblemId *dest) const
{
    std::copy(ids_.begin(), ids_.begin() + count_, dest);
    return count_;
}

// ---------------------------------------------------------------------------
// TProblemsList

void TProblemsList::Clear()
{
    entries_.fill(LevelEntry{});
    hints_.fill(0);
    count_ = 0;
}

void TProblemsList::Add(ProblemId id)
{
    if (count_ >= kCapacity)
        throw outOfBounds();
    hints_[count_] = 0;
    entries_[count_++] = LevelEntry{id, 0, 0, 0};
}

LevelEntry TProblemsList::GetItem(int position) const
{
    if (position < 0 || position >= count_)
        throw outOfBounds();
    return entries_[std::size_t(position)];
}

LevelEntry *TProblemsList::FindEntry(ProblemId id)
{
    for (int i = 0; i < count_; ++i)
        if (entries_[std::size_t(i)].Id == id)
            return &entries_[std::size_t(i)];
    return nullptr;
}

const LevelEntry *TProblemsList::FindEntry(ProblemId id) const
{
    return const_cast<TProblemsList *>(this)->FindEntry(id);
}

int TProblemsList::SolvedCount() const
{
    if (count_ == 0)
        throw EInternalError(QStringLiteral("No Problems in problem list."));
    return int(std::count_if(entries_.begin(), entries_.begin() + count_,
                             [](const LevelEntry &e) { return e.Solved == 1; }));
}

void TProblemsList::LoadFromArray(const LevelEntry *entries, int n)
{
    if (n < 0 || n > kCapacity)
        throw outOfBounds();
    Clear();
    std::copy(entries, entries + n, entries_.begin());
    count_ = std::uint16_t(n);
}

int TProblemsList::SaveToArray(LevelEntry *dest) const
{
    std::copy(entries_.begin(), entries_.begin() + count_, dest);
    return count_;
}

void TProblemsList::RemoveAt(int position)
{
    if (position < 0 || position >= count_)
        throw outOfBounds();
    std::copy(entries_.begin() + position + 1, entries_.begin() + count_, entries_.begin() + position);
    std::copy(hints_.begin() + position + 1, hints_.begin() + count_, hints_.begin() + position);
    hints_[count_ - 1] = 0;
    entries_[--count_] = LevelEntry{};
}

int TProblemsList::HintsBought(ProblemId id) const
{
    for (int i = 0; i < count_; ++i)
        if (entries_[std::size_t(i)].Id == id)
            return hints_[std::size_t(i)];
    return 0;
}

void TProblemsList::SetHintsBought(ProblemId id, int count)
{
    for (int i = 0; i < count_; ++i)
        if (entries_[std::size_t(i)].Id == id)
            hints_[std::size_t(i)] = std::uint8_t(std::clamp(count, 0, MaxHints));
}

// ---------------------------------------------------------------------------
// TUser

std::unique_ptr<TUser> TUser::CreateNew(const QString &name, std::uint8_t logo,
                                        const platform::IResourceLibrary *media)
{
    auto user = std::make_unique<TUser>();
    user->Name = name;
    user->LabelIndex = logo;
    user->Level = 1;
    user->Logo = loadLogo(media, logo);
    user->Scores = 30;
    return user;
}

std::unique_ptr<TUser> TUser::CreateFromRegistry(const QString &keyPath, platform::Registry &registry,
                                                 const platform::IResourceLibrary *media)
{
    auto user = std::make_unique<TUser>();
    const auto key = registry.openKeyReadOnly(keyPath);
    if (!key)
        throw EInternalError(QStringLiteral("%1 does not exist!").arg(keyPath));

    const QStringList segments = key->path().split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    user->KeyName = segments.isEmpty() ? QString() : segments.last();
    readValues(*user, *key);
    user->Logo = loadLogo(media, user->LabelIndex);
    return user;
}

void TUser::ChangeScores(int delta)
{
    const std::int64_t sum = std::int64_t(Scores) + delta;
    Scores = std::int32_t(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

QString TUser::PlayerPath(const QString &keyName)
{
    return platform::Registry::subKeyPath(UsersKey, keyName);
}

void TUser::SaveToRegistry(platform::Registry &registry) const
{
    const QString keyName = KeyName.isEmpty() ? Name : KeyName;
    registry.transaction([&] {
        ProfileBackup::keepPrevious(registry, keyName);
        std::unique_ptr<platform::RegistryKey> key;
        try {
            key = registry.openKey(KeyPath(), true);
        } catch (const platform::ERegistryError &) {
            key.reset();
        }
        if (!key)
            return; // the profile is not stored, as when the key cannot be created

        using profileformat::Kind;
        for (const profileformat::Value &v : profileformat::values()) {
            const QString name = QLatin1String(v.name);
            switch (v.kind) {
            case Kind::Text:
                key->writeString(name, v.getText(*this));
                break;
            case Kind::Integer:
            case Kind::Count:
                key->writeInteger(name, std::int32_t(v.get(*this)));
                break;
            case Kind::List:
                key->writeBinary(name, profileformat::encode(v, v.elements(*this)));
                break;
            }
        }
        QString detail;
        if (!answerlog::append(registry, key->path(), PendingLog, &detail))
            std::fprintf(stderr, "zentrika: the answer log of %s was not written: %s\n", qPrintable(keyName),
                         qPrintable(detail));
    });
}
