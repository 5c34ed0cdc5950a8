#pragma once
// The values of a player's key: their names, kinds, the ranges an imported
// profile must keep, and how each maps onto TUser. TUser's load and save and
// the profile tool's show, export and import all walk this one table, so a
// new value is one new row in it.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

class TUser;

namespace profileformat
{

inline constexpr int FirstLevel = 1;
inline constexpr int LastLevel = 5;
inline constexpr int FirstLabelIndex = 1;
inline constexpr int LastLabelIndex = 5; // the logo bitmaps of the media library

enum class Kind {
    Text,    // a string value
    Integer, // a 32-bit integer value, narrowed to its field on reading
    Count,   // a 32-bit integer: how many elements the list value after it holds
    List,    // a binary value: count elements of little-endian unsigned fields
};

// One field of a list element, stored little-endian and unsigned.
struct Field {
    const char *name;
    int bytes;
    std::int64_t min;
    std::int64_t max;
};

using Element = std::vector<std::int64_t>; // one list element, field by field

struct Value {
    const char *name;
    Kind kind;
    std::int64_t min = 0; // Integer, Count: what an imported profile may hold
    std::int64_t max = 0; // Count: the list's capacity
    // Integer, Count: the field's value; Text: unused.
    std::int64_t (*get)(const TUser &) = nullptr;
    // Integer: sets the field from the stored 32 bits, narrowed to its type.
    void (*set)(TUser &, std::int64_t) = nullptr;
    QString (*getText)(const TUser &) = nullptr;
    void (*setText)(TUser &, const QString &) = nullptr;
    // List: the element's fields, the elements and how they are put back.
    std::span<const Field> fields = {};
    std::vector<Element> (*elements)(const TUser &) = nullptr;
    void (*setElements)(TUser &, const std::vector<Element> &) = nullptr;
    // Count: the load error when the stored count exceeds max.
    const char *tooLong = nullptr;
    // Added after the first stored profiles: a profile may lack it, and one
    // that is missing or unreadable reads as empty without failing the rest.
    // Set on a Count and on its List. An export leaves it out while empty, so
    // that builds from before it still import the file.
    bool optional = false;
};

// Every value in the order it is written and exported.
std::span<const Value> values();
const Value *find(const QString &name);
// The value holding the player's name.
const Value &nameValue();
// The Count value a List value follows.
const Value &countOf(const Value &list);

int elementBytes(const Value &list);
QByteArray encode(const Value &list, const std::vector<Element> &elements);
// The first count elements of the stored bytes; bytes missing at the end read
// as zero, as the game has always read a short value.
std::vector<Element> decode(const Value &list, const QByteArray &bytes, int count);

} // namespace profileformat
