#include "core/User.h"

#include "core/ProfileBackup.h"

#include "core/Errors.h"
#include "platform/Registry.h"
#include "platform/ResourceLibrary.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

EListError outOfBounds()
{
    return EListError(QStringLiteral("List index out of bounds."));
}

// The logo is decoration: a library that is not loaded yet or lacks the
// picture leaves it empty rather than making the profile unreadable.
QImage loadLogo(std::uint8_t index)
{
    platform::IResourceLibrary *media = platform::mediaLibrary();
    if (!media)
        return {};
    try {
        return media->loadBitmap(int(index));
    } catch (const platform::EResourceError &) {
        return {};
    }
}

const QString kName = QStringLiteral("Name");
const QString kScores = QStringLiteral("Scores");
const QString kLevel = QStringLiteral("Level");
const QString kLabelIndex = QStringLiteral("Label Index");
const QString kUsedCount = QStringLiteral("Used Problems count");
const QString kUsedInfo = QStringLiteral("Used Problems Info");
const QString kLevelCount = QStringLiteral("Problems on Level count");
const QString kLevelInfo = QStringLiteral("Problems on Level Info");

}  // namespace

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
    count_ = 0;
}

void TProblemsList::Add(ProblemId id)
{
    if (count_ >= kCapacity)
        throw outOfBounds();
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
    entries_[--count_] = LevelEntry{};
}

// ---------------------------------------------------------------------------
// TUser

std::unique_ptr<TUser> TUser::CreateNew(const QString &name, std::uint8_t logo)
{
    auto user = std::make_unique<TUser>();
    user->Name = name;
    user->LabelIndex = logo;
    user->Level = 1;
    user->Logo = loadLogo(logo);
    user->Scores = 30;
    return user;
}

std::unique_ptr<TUser> TUser::CreateFromRegistry(const QString &keyPath)
{
    return CreateFromRegistry(keyPath, platform::Registry::user());
}

std::unique_ptr<TUser> TUser::CreateFromRegistry(const QString &keyPath, platform::Registry &registry)
{
    auto user = std::make_unique<TUser>();
    const auto key = registry.openKeyReadOnly(keyPath);
    if (!key)
        throw EInternalError(QStringLiteral("%1 does not exist!").arg(keyPath));

    const QStringList segments = key->path().split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    user->KeyName = segments.isEmpty() ? QString() : segments.last();
    if (key->valueExists(kName))
        user->Name = key->readString(kName);
    else
        user->Name.clear();
    user->Scores = key->readInteger(kScores);
    user->Level = std::uint8_t(key->readInteger(kLevel));
    user->LabelIndex = std::uint8_t(key->readInteger(kLabelIndex));
    std::uint16_t *counters[] = {&user->LD, &user->MD, &user->HD, &user->LU, &user->MU, &user->HU};
    static const QString counterNames[] = {QStringLiteral("LD"), QStringLiteral("MD"), QStringLiteral("HD"),
                                           QStringLiteral("LU"), QStringLiteral("MU"), QStringLiteral("HU")};
    for (int i = 0; i < 6; ++i)
        *counters[i] = std::uint16_t(key->readInteger(counterNames[i]));

    // Counts compare as unsigned: a negative count is as unusable as a huge one.
    const auto n = std::uint32_t(key->readInteger(kUsedCount));
    if (n != 0) {
        if (n > std::uint32_t(user->UsedIds.Capacity()))
            throw EInternalError(QStringLiteral("Length of the UsedIdList - too small."));
        std::array<std::uint8_t, TUsedIdList::kCapacity * 2> buffer{};
        if (key->valueExists(kUsedInfo))
            key->readBinaryData(kUsedInfo, buffer.data(), int(n * 2));
        std::array<ProblemId, TUsedIdList::kCapacity> ids{};
        for (std::uint32_t i = 0; i < n; ++i)
            ids[i] = ProblemId(buffer[2 * i] | buffer[2 * i + 1] << 8);
        user->UsedIds.LoadFromArray(ids.data(), int(n));
    }

    const auto m = std::uint32_t(key->readInteger(kLevelCount));
    if (m != 0) {
        if (m > std::uint32_t(user->LevelList.Capacity()))
            throw EInternalError(QStringLiteral("Length of the ProblemsList too small."));
        std::array<std::uint8_t, TProblemsList::kCapacity * sizeof(LevelEntry)> buffer{};
        if (key->valueExists(kLevelInfo))
            key->readBinaryData(kLevelInfo, buffer.data(), int(m * sizeof(LevelEntry)));
        std::array<LevelEntry, TProblemsList::kCapacity> entries{};
        for (std::uint32_t i = 0; i < m; ++i) {
            const std::uint8_t *p = buffer.data() + i * sizeof(LevelEntry);
            entries[i] = LevelEntry{ProblemId(p[0] | p[1] << 8), p[2], p[3], std::uint16_t(p[4] | p[5] << 8)};
        }
        user->LevelList.LoadFromArray(entries.data(), int(m));
    }

    user->Logo = loadLogo(user->LabelIndex);
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

void TUser::SaveToRegistry() const
{
    SaveToRegistry(platform::Registry::user());
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
            return;  // the profile is not stored, as when the key cannot be created

        key->writeString(kName, Name);
        key->writeInteger(kScores, Scores);
        key->writeInteger(kLevel, Level);
        key->writeInteger(kLabelIndex, LabelIndex);
        const std::uint16_t counters[] = {LD, MD, HD, LU, MU, HU};
        static const QString counterNames[] = {QStringLiteral("LD"), QStringLiteral("MD"), QStringLiteral("HD"),
                                               QStringLiteral("LU"), QStringLiteral("MU"), QStringLiteral("HU")};
        for (int i = 0; i < 6; ++i)
            key->writeInteger(counterNames[i], counters[i]);

        QByteArray used(UsedIds.Count() * 2, Qt::Uninitialized);
        for (int i = 0; i < UsedIds.Count(); ++i) {
            used[2 * i] = char(UsedIds.At(i) & 0xFF);
            used[2 * i + 1] = char(UsedIds.At(i) >> 8);
        }
        key->writeInteger(kUsedCount, UsedIds.Count());
        key->writeBinary(kUsedInfo, used);

        QByteArray level(LevelList.Count() * int(sizeof(LevelEntry)), Qt::Uninitialized);
        for (int i = 0; i < LevelList.Count(); ++i) {
            const LevelEntry e = LevelList.GetItem(i);
            char *p = level.data() + i * int(sizeof(LevelEntry));
            p[0] = char(e.Id & 0xFF);
            p[1] = char(e.Id >> 8);
            p[2] = char(e.Solved);
            p[3] = char(e.Bought);
            p[4] = char(e.WrongAnswers & 0xFF);
            p[5] = char(e.WrongAnswers >> 8);
        }
        key->writeInteger(kLevelCount, LevelList.Count());
        key->writeBinary(kLevelInfo, level);
    });
}
