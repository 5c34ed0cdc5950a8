#include "FakeResourceLibrary.h"
#include "core/Errors.h"
#include "core/User.h"
#include "platform/Registry.h"
#include "platform/ResourceLibrary.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::Registry;

namespace
{

std::string errorOf(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const std::exception &e) {
        return e.what();
    }
    return "(no error)";
}

} // namespace

TEST(UsedIdList, AddContainsCapacityAndArrays)
{
    TUsedIdList list;
    EXPECT_EQ(list.Capacity(), 170);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Contains(0)); // zeroed slots are not held ids
    list.Add(5);
    list.Add(0);
    EXPECT_TRUE(list.Contains(5));
    EXPECT_TRUE(list.Contains(0));
    EXPECT_FALSE(list.Contains(6));

    ProblemId out[170] = {};
    EXPECT_EQ(list.SaveToArray(out), 2);
    EXPECT_EQ(out[0], 5);

    const ProblemId in[] = {9, 8, 7};
    list.LoadFromArray(in, 0); // zero changes nothing
    EXPECT_EQ(list.Count(), 2);
    list.LoadFromArray(in, 3);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_FALSE(list.Contains(5));
    EXPECT_EQ(list.At(2), 7);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.SaveToArray(out), 0);
}

TEST(UsedIdList, FullListRefusesAndNeverWritesPastTheEnd)
{
    TUsedIdList list;
    for (int i = 0; i < 170; ++i)
        list.Add(ProblemId(i + 1));
    EXPECT_EQ(errorOf([&] { list.Add(999); }), "List index out of bounds.");
    EXPECT_THROW(list.Add(999), EListError);
    EXPECT_EQ(list.Count(), 170);
    EXPECT_FALSE(list.Contains(999));
    std::vector<ProblemId> big(171, 1);
    EXPECT_THROW(list.LoadFromArray(big.data(), 171), EListError);
    EXPECT_THROW(list.LoadFromArray(big.data(), -1), EListError);
}

TEST(ProblemsList, AddGetFindAndSolvedCount)
{
    TProblemsList list;
    EXPECT_EQ(list.Capacity(), 33);
    EXPECT_EQ(errorOf([&] { list.SolvedCount(); }), "No Problems in problem list.");
    EXPECT_THROW(list.SolvedCount(), EInternalError);
    list.Add(3);
    list.Add(4);
    list.Add(3);
    EXPECT_EQ(list.GetItem(1), (LevelEntry{4, 0, 0, 0}));
    EXPECT_EQ(errorOf([&] { list.GetItem(3); }), "List index out of bounds.");
    EXPECT_THROW(list.GetItem(-1), EListError);
    EXPECT_EQ(list.FindEntry(3), list.FindEntry(3));
    list.FindEntry(3)->Solved = 1;
    EXPECT_EQ(list.GetItem(0).Solved, 1);
    EXPECT_EQ(list.GetItem(2).Solved, 0); // the second entry with the same id is untouched
    EXPECT_EQ(list.FindEntry(9), nullptr);
    EXPECT_EQ(list.SolvedCount(), 1);

    // Entries after a Clear start fresh.
    list.FindEntry(4)->WrongAnswers = 7;
    list.Clear();
    list.Add(4);
    EXPECT_EQ(list.GetItem(0), (LevelEntry{4, 0, 0, 0}));
    EXPECT_EQ(list.SolvedCount(), 0);
}

TEST(ProblemsList, HoldsTheLargestLevelQuotaAndNoMore)
{
    TProblemsList list;
    for (int i = 0; i < 33; ++i)
        list.Add(ProblemId(100 + i));
    EXPECT_EQ(list.Count(), 33);
    EXPECT_EQ(errorOf([&] { list.Add(1); }), "List index out of bounds.");
    EXPECT_EQ(list.Count(), 33);
    EXPECT_EQ(list.GetItem(32).Id, 132);

    LevelEntry out[33];
    EXPECT_EQ(list.SaveToArray(out), 33);
    TProblemsList copy;
    copy.LoadFromArray(out, 33);
    EXPECT_EQ(copy.GetItem(20), list.GetItem(20));
    copy.LoadFromArray(out, 0);
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_THROW(copy.LoadFromArray(out, 34), EListError);

    list.RemoveAt(0);
    EXPECT_EQ(list.Count(), 32);
    EXPECT_EQ(list.GetItem(0).Id, 101);
    EXPECT_THROW(list.RemoveAt(32), EListError);
}

// ---------------------------------------------------------------------------

namespace
{

class Profile : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    Registry registry{dir.filePath("registry.sqlite3")};
    platform::FakeResourceLibrary media;
    const QString key = TUser::UsersKey + QStringLiteral("Вася\\");

    void SetUp() override
    {
        for (int i = 1; i <= 5; ++i) {
            QImage logo(10 + i, 10, QImage::Format_RGB888);
            logo.fill(Qt::blue);
            media.addBitmap(i, logo);
        }
    }

    // A stored profile written value by value, to be spoiled by a test.
    std::unique_ptr<platform::RegistryKey> stored()
    {
        auto k = registry.openKey(key, true);
        k->writeString("Name", QStringLiteral("Вася"));
        for (const char *n : {"Scores", "Level", "Label Index", "LD", "MD", "HD", "LU", "MU", "HU"})
            k->writeInteger(QString::fromLatin1(n), 1);
        k->writeInteger("Used Problems count", 0);
        k->writeInteger("Problems on Level count", 0);
        return k;
    }
    std::string loadError()
    {
        return errorOf([&] { TUser::CreateFromRegistry(key, registry); });
    }
};

} // namespace

TEST_F(Profile, NewPlayerStartsAtLevelOneWithThirtyPoints)
{
    auto user = TUser::CreateNew(QStringLiteral("Вася"), 3, &media);
    EXPECT_EQ(user->Name, QStringLiteral("Вася"));
    EXPECT_EQ(user->LabelIndex, 3);
    EXPECT_EQ(user->Level, 1);
    EXPECT_EQ(user->Scores, 30);
    EXPECT_EQ(user->LD + user->MD + user->HD + user->LU + user->MU + user->HU, 0);
    EXPECT_EQ(user->UsedIds.Count(), 0);
    EXPECT_EQ(user->LevelList.Count(), 0);
    EXPECT_EQ(user->Logo.width(), 13);
    EXPECT_EQ(user->KeyPath(), QStringLiteral("\\Software\\Quorvane\\Zentrika\\Users info\\Вася\\"));
    EXPECT_FALSE(registry.keyExists(user->KeyPath())); // not stored until saved

    user->SaveToRegistry(registry);
    auto k = registry.openKeyReadOnly(user->KeyPath());
    EXPECT_EQ(k->valueNames(),
              QStringList({"Name", "Scores", "Level", "Label Index", "LD", "MD", "HD", "LU", "MU", "HU",
                           "Used Problems count", "Used Problems Info", "Problems on Level count",
                           "Problems on Level Info", "Hints Bought count", "Hints Bought Info"}));
    EXPECT_EQ(k->readInteger("Used Problems count"), 0);
    EXPECT_EQ(k->readBinary("Used Problems Info"), QByteArray());
    EXPECT_EQ(k->valueType("Used Problems Info"), platform::RegType::Binary);
    EXPECT_EQ(k->readBinary("Problems on Level Info"), QByteArray());
    EXPECT_EQ(k->readInteger("Scores"), 30);
}

TEST_F(Profile, MissingLogoLeavesItEmpty)
{
    EXPECT_TRUE(TUser::CreateNew("x", 9, &media)->Logo.isNull());
    EXPECT_TRUE(TUser::CreateNew("x", 1)->Logo.isNull()); // no library
}

TEST_F(Profile, SaveThenReadGivesTheSameProfile)
{
    auto user = TUser::CreateNew(QStringLiteral("Вася"), 2, &media);
    user->Scores = -17;
    user->Level = 4;
    user->LD = 1, user->MD = 2, user->HD = 3, user->LU = 4, user->MU = 5, user->HU = 65535;
    for (int i = 0; i < 170; ++i)
        user->UsedIds.Add(ProblemId(1000 + i));
    for (int i = 0; i < 33; ++i)
        user->LevelList.Add(ProblemId(2000 + i));
    *user->LevelList.FindEntry(2005) = LevelEntry{2005, 1, 1, 513};
    user->SaveToRegistry(registry);

    auto k = registry.openKeyReadOnly(key);
    const QByteArray info = k->readBinary("Problems on Level Info");
    ASSERT_EQ(info.size(), 33 * 6);
    EXPECT_EQ(info.mid(30, 6), QByteArray("\xD5\x07\x01\x01\x01\x02", 6)); // little-endian, packed
    EXPECT_EQ(k->readBinary("Used Problems Info").left(2), QByteArray("\xE8\x03"));

    auto back = TUser::CreateFromRegistry(key, registry, &media);
    EXPECT_EQ(back->Name, QStringLiteral("Вася"));
    EXPECT_EQ(back->Scores, -17);
    EXPECT_EQ(back->Level, 4);
    EXPECT_EQ(back->LabelIndex, 2);
    EXPECT_EQ(back->Logo.width(), 12);
    EXPECT_EQ(back->HU, 65535);
    EXPECT_EQ(back->LU, 4);
    EXPECT_EQ(back->UsedIds.Count(), 170);
    EXPECT_EQ(back->UsedIds.At(169), 1169);
    EXPECT_EQ(back->LevelList.Count(), 33);
    EXPECT_EQ(back->LevelList.GetItem(5), (LevelEntry{2005, 1, 1, 513}));

    // Saved again with fewer entries: the counts and values shrink with it.
    back->LevelList.Clear();
    back->LevelList.Add(7);
    back->SaveToRegistry(registry);
    EXPECT_EQ(TUser::CreateFromRegistry(key, registry)->LevelList.Count(), 1);
}

TEST_F(Profile, SaveWritesIntoAKeyThatDiffersOnlyInCaseAndLeavesOtherValues)
{
    auto k = stored();
    k->writeString("Extra", "kept");
    auto user = TUser::CreateNew(QStringLiteral("ВАСЯ"), 1);
    user->Scores = 99;
    user->SaveToRegistry(registry);
    EXPECT_EQ(registry.subKeyNames(TUser::UsersKey), QStringList{QStringLiteral("Вася")});
    auto back = TUser::CreateFromRegistry(key, registry);
    EXPECT_EQ(back->Scores, 99);
    EXPECT_EQ(back->Name, QStringLiteral("ВАСЯ"));
    EXPECT_EQ(registry.openKeyReadOnly(key)->readString("Extra"), QStringLiteral("kept"));
}

TEST_F(Profile, NarrowFieldsKeepTheirLowBits)
{
    auto k = stored();
    k->writeInteger("Level", 257);
    k->writeInteger("Label Index", 0x103);
    k->writeInteger("LD", 65537);
    k->writeInteger("HU", -1);
    auto user = TUser::CreateFromRegistry(key, registry);
    EXPECT_EQ(user->Level, 1);
    EXPECT_EQ(user->LabelIndex, 3);
    EXPECT_EQ(user->LD, 1);
    EXPECT_EQ(user->HU, 65535);
}

TEST_F(Profile, FailureTable)
{
    EXPECT_EQ(loadError(), QStringLiteral("%1 does not exist!").arg(key).toStdString());
    EXPECT_THROW(TUser::CreateFromRegistry(key, registry), EInternalError);

    auto k = stored();
    k->writeInteger("Used Problems count", 171);
    EXPECT_EQ(loadError(), "Length of the UsedIdList - too small.");
    k->writeInteger("Used Problems count", -1); // as unsigned, far above the capacity
    EXPECT_EQ(loadError(), "Length of the UsedIdList - too small.");
    k->writeInteger("Used Problems count", 170);
    EXPECT_EQ(loadError(), "(no error)");

    k->writeInteger("Problems on Level count", 34);
    EXPECT_EQ(loadError(), "Length of the ProblemsList too small.");
    k->writeInteger("Problems on Level count", 33);
    EXPECT_EQ(loadError(), "(no error)");
    k->writeInteger("Problems on Level count", 0);

    // Registry read errors: missing integer, wrong type, binary too long.
    k->deleteValue("MU");
    EXPECT_THROW(TUser::CreateFromRegistry(key, registry), platform::ERegistryError);
    k->writeString("MU", "5");
    EXPECT_THROW(TUser::CreateFromRegistry(key, registry), platform::ERegistryError);
    k->writeInteger("MU", 5);
    k->writeInteger("Name", 5);
    EXPECT_THROW(TUser::CreateFromRegistry(key, registry), platform::ERegistryError);
    k->deleteValue("Name");
    EXPECT_EQ(TUser::CreateFromRegistry(key, registry)->Name, QString()); // a missing name reads empty

    k->writeInteger("Used Problems count", 2);
    k->writeBinary("Used Problems Info", QByteArray(6, '\1'));
    EXPECT_THROW(TUser::CreateFromRegistry(key, registry), platform::ERegistryError);
    k->writeString("Used Problems Info", "ab");
    EXPECT_THROW(TUser::CreateFromRegistry(key, registry), platform::ERegistryError);
}

TEST_F(Profile, ShortOrMissingBinaryValuesReadAsZeros)
{
    auto k = stored();
    k->writeInteger("Used Problems count", 2);
    auto user = TUser::CreateFromRegistry(key, registry);
    EXPECT_EQ(user->UsedIds.Count(), 2);
    EXPECT_EQ(user->UsedIds.At(0), 0);
    EXPECT_EQ(user->UsedIds.At(1), 0);

    k->writeInteger("Problems on Level count", 3);
    k->writeBinary("Problems on Level Info",
                   QByteArray("\x05\x00\x01\x00\x02\x00\x06\x00\x00\x01\x00\x00", 12));
    user = TUser::CreateFromRegistry(key, registry);
    ASSERT_EQ(user->LevelList.Count(), 3);
    EXPECT_EQ(user->LevelList.GetItem(0), (LevelEntry{5, 1, 0, 2}));
    EXPECT_EQ(user->LevelList.GetItem(1), (LevelEntry{6, 0, 1, 0}));
    EXPECT_EQ(user->LevelList.GetItem(2), (LevelEntry{}));

    // A count of 0 never reads its binary value, whatever it holds.
    k->writeInteger("Problems on Level count", 0);
    k->writeString("Problems on Level Info", "not binary");
    EXPECT_EQ(TUser::CreateFromRegistry(key, registry)->LevelList.Count(), 0);
}

TEST_F(Profile, SaveIsOneTransaction)
{
    auto user = TUser::CreateNew(QStringLiteral("Вася"), 1);
    user->Scores = 10;
    user->SaveToRegistry(registry);
    // Every value lands with the save or none does: a failed write inside a
    // surrounding transaction takes the whole save back.
    user->Scores = 20;
    EXPECT_THROW(registry.transaction([&] {
        user->SaveToRegistry(registry);
        throw std::runtime_error("crash after saving");
    }),
                 std::runtime_error);
    EXPECT_EQ(registry.openKeyReadOnly(key)->readInteger("Scores"), 10);
}
