#include "core/ProfileFormat.h"

#include "core/GameRules.h"
#include "core/HintBlock.h"
#include "core/User.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace profileformat
{

namespace
{

static_assert(LastLevel == TGameRules::LastLevel, "a stored level is one the game plays");

constexpr std::int64_t kU16 = std::numeric_limits<std::uint16_t>::max();

constexpr Field kIdFields[] = {{"id", 2, 0, kU16}};
constexpr Field kEntryFields[] = {
    {"Id", 2, 0, kU16}, {"Solved", 1, 0, 1}, {"Bought", 1, 0, 1}, {"WrongAnswers", 2, 0, kU16}};
static_assert(sizeof(LevelEntry) == 2 + 1 + 1 + 2, "the level entry is stored as its fields");
constexpr Field kHintFields[] = {{"Id", 2, 0, kU16}, {"Hints", 1, 0, MaxHints}};

std::vector<Element> usedIds(const TUser &u)
{
    std::vector<Element> out;
    for (int i = 0; i < u.UsedIds.Count(); ++i)
        out.push_back({u.UsedIds.At(i)});
    return out;
}

void setUsedIds(TUser &u, const std::vector<Element> &elements)
{
    std::vector<ProblemId> ids;
    for (const Element &e : elements)
        ids.push_back(ProblemId(e.at(0)));
    u.UsedIds.LoadFromArray(ids.data(), int(ids.size()));
}

std::vector<Element> levelEntries(const TUser &u)
{
    std::vector<Element> out;
    for (int i = 0; i < u.LevelList.Count(); ++i) {
        const LevelEntry e = u.LevelList.GetItem(i);
        out.push_back({e.Id, e.Solved, e.Bought, e.WrongAnswers});
    }
    return out;
}

void setLevelEntries(TUser &u, const std::vector<Element> &elements)
{
    std::vector<LevelEntry> entries;
    for (const Element &e : elements)
        entries.push_back(
            {ProblemId(e.at(0)), std::uint8_t(e.at(1)), std::uint8_t(e.at(2)), std::uint16_t(e.at(3))});
    u.LevelList.LoadFromArray(entries.data(), int(entries.size()));
}

// Only the entries with hints bought are stored, by id: a row for an id that
// is not on the level is dropped on reading, so the value never has to follow
// the order of the level entries, which it is read after.
std::vector<Element> hintEntries(const TUser &u)
{
    std::vector<Element> out;
    for (int i = 0; i < u.LevelList.Count(); ++i) {
        const ProblemId id = u.LevelList.GetItem(i).Id;
        if (const int n = u.LevelList.HintsBought(id))
            out.push_back({id, n});
    }
    return out;
}

void setHintEntries(TUser &u, const std::vector<Element> &elements)
{
    for (const Element &e : elements)
        u.LevelList.SetHintsBought(ProblemId(e.at(0)), int(std::min<std::int64_t>(e.at(1), MaxHints)));
}

// A 16-bit answer counter: reading keeps the low 16 bits.
#define ZENTRIKA_COUNTER(field)                                                                              \
    Value                                                                                                    \
    {                                                                                                        \
        .name = #field, .kind = Kind::Integer, .min = 0, .max = kU16,                                        \
        .get = [](const TUser &u) -> std::int64_t { return u.field; },                                       \
        .set = [](TUser &u, std::int64_t v) { u.field = std::uint16_t(v); },                                 \
    }

const Value kValues[] = {
    {.name = "Name",
     .kind = Kind::Text,
     .getText = [](const TUser &u) { return u.Name; },
     .setText = [](TUser &u, const QString &s) { u.Name = s; }},
    {.name = "Scores",
     .kind = Kind::Integer,
     .min = TUser::MinScores,
     .max = TUser::MaxScores,
     .get = [](const TUser &u) -> std::int64_t { return u.Scores; },
     .set = [](TUser &u, std::int64_t v) { u.Scores = std::int32_t(v); }},
    {.name = "Level",
     .kind = Kind::Integer,
     .min = FirstLevel,
     .max = LastLevel,
     .get = [](const TUser &u) -> std::int64_t { return u.Level; },
     .set = [](TUser &u, std::int64_t v) { u.Level = std::uint8_t(v); }},
    {.name = "Label Index",
     .kind = Kind::Integer,
     .min = FirstLabelIndex,
     .max = LastLabelIndex,
     .get = [](const TUser &u) -> std::int64_t { return u.LabelIndex; },
     .set = [](TUser &u, std::int64_t v) { u.LabelIndex = std::uint8_t(v); }},
    ZENTRIKA_COUNTER(LD),
    ZENTRIKA_COUNTER(MD),
    ZENTRIKA_COUNTER(HD),
    ZENTRIKA_COUNTER(LU),
    ZENTRIKA_COUNTER(MU),
    ZENTRIKA_COUNTER(HU),
    {.name = "Used Problems count",
     .kind = Kind::Count,
     .min = 0,
     .max = TUsedIdList::kCapacity,
     .get = [](const TUser &u) -> std::int64_t { return u.UsedIds.Count(); },
     .tooLong = "Length of the UsedIdList - too small."},
    {.name = "Used Problems Info",
     .kind = Kind::List,
     .fields = kIdFields,
     .elements = usedIds,
     .setElements = setUsedIds},
    {.name = "Problems on Level count",
     .kind = Kind::Count,
     .min = 0,
     .max = TProblemsList::kCapacity,
     .get = [](const TUser &u) -> std::int64_t { return u.LevelList.Count(); },
     .tooLong = "Length of the ProblemsList too small."},
    {.name = "Problems on Level Info",
     .kind = Kind::List,
     .fields = kEntryFields,
     .elements = levelEntries,
     .setElements = setLevelEntries},
    {.name = "Hints Bought count",
     .kind = Kind::Count,
     .min = 0,
     .max = TProblemsList::kCapacity,
     .get = [](const TUser &u) -> std::int64_t { return std::int64_t(hintEntries(u).size()); },
     .tooLong = "Length of the hints list too small.",
     .optional = true},
    {.name = "Hints Bought Info",
     .kind = Kind::List,
     .fields = kHintFields,
     .elements = hintEntries,
     .setElements = setHintEntries,
     .optional = true},
};

#undef ZENTRIKA_COUNTER

} // namespace

std::span<const Value> values()
{
    return kValues;
}

const Value *find(const QString &name)
{
    for (const Value &v : kValues)
        if (name == QLatin1String(v.name))
            return &v;
    return nullptr;
}

const Value &nameValue()
{
    return kValues[0];
}

const Value &countOf(const Value &list)
{
    // A list's count is written just before it.
    return *(&list - 1);
}

int elementBytes(const Value &list)
{
    int n = 0;
    for (const Field &f : list.fields)
        n += f.bytes;
    return n;
}

QByteArray encode(const Value &list, const std::vector<Element> &elements)
{
    QByteArray out;
    out.reserve(int(elements.size()) * elementBytes(list));
    for (const Element &e : elements) {
        for (std::size_t i = 0; i < list.fields.size(); ++i) {
            const auto v = std::uint64_t(e.at(i));
            for (int b = 0; b < list.fields[i].bytes; ++b)
                out.append(char((v >> (8 * b)) & 0xFF));
        }
    }
    return out;
}

std::vector<Element> decode(const Value &list, const QByteArray &bytes, int count)
{
    const int size = elementBytes(list);
    QByteArray whole(count * size, '\0');
    std::memcpy(whole.data(), bytes.constData(), std::size_t(std::min(bytes.size(), whole.size())));
    std::vector<Element> out;
    const auto *p = reinterpret_cast<const std::uint8_t *>(whole.constData());
    for (int i = 0; i < count; ++i) {
        Element e;
        for (const Field &f : list.fields) {
            std::int64_t v = 0;
            for (int b = 0; b < f.bytes; ++b)
                v |= std::int64_t(*p++) << (8 * b);
            e.push_back(v);
        }
        out.push_back(std::move(e));
    }
    return out;
}

} // namespace profileformat
