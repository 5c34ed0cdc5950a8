#include "core/ProfileFormat.h"
#include "core/ProfileImport.h"
#include "core/User.h"
#include "platform/Registry.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::Registry;
using profileformat::Kind;

namespace
{

class ProfileFormat : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    Registry registry{dir.filePath(QStringLiteral("registry.sqlite3"))};

    std::unique_ptr<TUser> roundTrip(const TUser &user)
    {
        user.SaveToRegistry(registry);
        return TUser::CreateFromRegistry(user.KeyPath(), registry);
    }
};

// Every list filled to its capacity with each field at its largest value.
void fillLists(TUser &user)
{
    for (const profileformat::Value &v : profileformat::values()) {
        if (v.kind != Kind::List)
            continue;
        profileformat::Element largest;
        for (const profileformat::Field &f : v.fields)
            largest.push_back(f.max);
        v.setElements(
            user, std::vector<profileformat::Element>(std::size_t(profileformat::countOf(v).max), largest));
    }
}

} // namespace

// Each integer value gets a value of its own, at the ends of its range: two
// rows wired to one field, or a field narrowed on save, would lose one.
TEST_F(ProfileFormat, EveryValueSurvivesTheStoreAndAnImportAtItsLimits)
{
    for (const bool atMax : {false, true}) {
        SCOPED_TRACE(atMax ? "largest" : "smallest");
        TUser user;
        user.Name = QStringLiteral("Вася");
        std::int64_t offset = 0;
        for (const profileformat::Value &v : profileformat::values())
            if (v.kind == Kind::Integer)
                v.set(user, atMax ? v.max - offset++ : v.min + offset++);
        fillLists(user);

        const auto back = roundTrip(user);
        QJsonObject exported;
        for (const profileformat::Value &v : profileformat::values()) {
            SCOPED_TRACE(v.name);
            const QString name = QLatin1String(v.name);
            if (v.kind == Kind::Text) {
                EXPECT_EQ(v.getText(*back), v.getText(user));
                exported.insert(name, v.getText(user));
            } else if (v.kind == Kind::List) {
                EXPECT_EQ(v.elements(*back), v.elements(user));
                QJsonArray a;
                for (const profileformat::Element &e : v.elements(user)) {
                    QJsonObject o;
                    for (std::size_t i = 0; i < v.fields.size(); ++i)
                        o.insert(QLatin1String(v.fields[i].name), qint64(e[i]));
                    a.append(v.fields.size() == 1 ? QJsonValue(qint64(e[0])) : QJsonValue(o));
                }
                exported.insert(name, a);
            } else {
                EXPECT_EQ(v.get(*back), v.get(user));
                exported.insert(name, qint64(v.get(user)));
            }
        }
        const auto imported = profileimport::fromJson(exported);
        for (const profileformat::Value &v : profileformat::values()) {
            SCOPED_TRACE(v.name);
            if (v.kind == Kind::List) {
                EXPECT_EQ(v.elements(*imported), v.elements(user));
            } else if (v.kind != Kind::Text) {
                EXPECT_EQ(v.get(*imported), v.get(user));
            }
        }
    }
}

// What the game reads from a short or damaged list value is what the tool
// shows: both decode through the same code.
TEST(ProfileFormatCodec, StoredBytesDecodeAsTheGameReadsThem)
{
    const profileformat::Value &entries = *profileformat::find(QStringLiteral("Problems on Level Info"));
    const profileformat::Value &ids = *profileformat::find(QStringLiteral("Used Problems Info"));
    struct Case {
        const profileformat::Value *list;
        QByteArray bytes;
        int count;
        std::vector<profileformat::Element> expected;
    } cases[] = {
        {&ids, QByteArray("\x34\x12\xff\xff", 4), 2, {{0x1234}, {0xffff}}},
        {&ids, QByteArray("\x34\x12\x07", 3), 3, {{0x1234}, {7}, {0}}},
        {&ids, QByteArray("\x01\x00\x02\x00", 4), 1, {{1}}},
        {&entries, QByteArray("\x02\x01\x01\x00\x05\x01", 6), 1, {{0x102, 1, 0, 0x105}}},
        {&entries,
         QByteArray("\x02\x01\x01\x00\x05\x01\x09\x00\x01", 9),
         2,
         {{0x102, 1, 0, 0x105}, {9, 1, 0, 0}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        EXPECT_EQ(profileformat::decode(*c.list, c.bytes, c.count), c.expected);
        if (c.bytes.size() == c.count * profileformat::elementBytes(*c.list)) {
            EXPECT_EQ(profileformat::encode(*c.list, c.expected), c.bytes);
        }
    }
}
