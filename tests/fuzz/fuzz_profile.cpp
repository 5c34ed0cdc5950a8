// The profile reader over arbitrary registry values: it either reads a
// profile that saves and reads back the same, or raises one of its errors.
//
// Input: records of [value name index][type][length][bytes...].
#include "core/Errors.h"
#include "core/User.h"
#include "platform/Registry.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace
{

const char *const kNames[] = {"Name",
                              "Scores",
                              "Level",
                              "Label Index",
                              "LD",
                              "MD",
                              "HD",
                              "LU",
                              "MU",
                              "HU",
                              "Used Problems count",
                              "Used Problems Info",
                              "Problems on Level count",
                              "Problems on Level Info",
                              "Other"};

platform::Registry &registry()
{
    static QTemporaryDir dir;
    static platform::Registry reg(dir.filePath("fuzz.sqlite3"));
    return reg;
}

bool sameProfile(const TUser &a, const TUser &b)
{
    if (a.Name != b.Name || a.Scores != b.Scores || a.Level != b.Level || a.LabelIndex != b.LabelIndex ||
        a.LD != b.LD || a.MD != b.MD || a.HD != b.HD || a.LU != b.LU || a.MU != b.MU || a.HU != b.HU ||
        a.UsedIds.Count() != b.UsedIds.Count() || a.LevelList.Count() != b.LevelList.Count())
        return false;
    for (int i = 0; i < a.UsedIds.Count(); ++i)
        if (a.UsedIds.At(i) != b.UsedIds.At(i))
            return false;
    for (int i = 0; i < a.LevelList.Count(); ++i)
        if (!(a.LevelList.GetItem(i) == b.LevelList.GetItem(i)))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    platform::Registry &reg = registry();
    const QString path = QStringLiteral("\\Software\\Quorvane\\Zentrika\\Users info\\fuzz\\");
    // One transaction for the set-up: the reader is what is being tried, and
    // a commit per value would make each run a hundred times slower.
    reg.transaction([&] {
        reg.deleteKey(path);
        auto key = reg.openKey(path, true);
        std::size_t pos = 0;
        while (pos + 3 <= size) {
            const QString name = QString::fromLatin1(kNames[data[pos] % std::size(kNames)]);
            const int type = data[pos + 1] % 3;
            const std::size_t len = std::min<std::size_t>(data[pos + 2], size - pos - 3);
            const QByteArray bytes(reinterpret_cast<const char *>(data + pos + 3), qsizetype(len));
            pos += 3 + len;
            if (type == 0) {
                key->writeString(name, QString::fromUtf8(bytes));
            } else if (type == 1) {
                std::uint32_t v = 0;
                for (std::size_t i = 0; i < std::min<std::size_t>(len, 4); ++i)
                    v |= std::uint32_t(std::uint8_t(bytes[qsizetype(i)])) << (8 * i);
                key->writeInteger(name, std::int32_t(v));
            } else {
                key->writeBinary(name, bytes);
            }
        }
    });
    std::unique_ptr<TUser> user;
    try {
        user = TUser::CreateFromRegistry(path, reg);
    } catch (const EInternalError &) {
        return 0;
    } catch (const platform::ERegistryError &) {
        return 0;
    }
    // Saved under another key and read back, the profile is the same.
    const QString name = user->Name;
    user->Name = QStringLiteral("copy");
    user->SaveToRegistry(reg);
    auto back = TUser::CreateFromRegistry(user->KeyPath(), reg);
    if (!sameProfile(*user, *back))
        std::abort();
    reg.deleteKey(user->KeyPath());
    (void)name;
    return 0;
}
