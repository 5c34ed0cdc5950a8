// The memo's record: what goes in comes back, the cap drops the oldest strokes,
// and damaged or huge records give what they can without reading past the cap.
// Then the player's memos in the store.
#include "core/Memo.h"
#include "core/MemoBook.h"
#include "core/User.h"
#include "platform/Registry.h"
#include "platform/UserStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

MemoStroke stroke(MemoInk ink, int points, qreal x0 = 10, qreal width = 2.5)
{
    MemoStroke s{ink, width, {}};
    for (int i = 0; i < points; ++i)
        s.points.emplace_back(x0 + i * 0.5, 20 + (i % 7) * 1.25);
    return s;
}

TMemo memoOf(std::initializer_list<MemoStroke> strokes)
{
    TMemo m;
    for (const MemoStroke &s : strokes)
        m.Add(s);
    return m;
}

} // namespace

TEST(Memo, RoundTripKeepsStrokesToASixteenthOfAPixel)
{
    TMemo m = memoOf({stroke(MemoInk::Pen, 1), stroke(MemoInk::Red, 300, 100, 6.25)});
    m.Add({MemoInk::Pen, 1, {{440, 460}, {0, 0}, {123.4375, 77.0625}}});
    const TMemo::Parsed back = TMemo::Parse(m.Serialize());
    EXPECT_FALSE(back.damaged);
    EXPECT_EQ(back.memo, m);
    EXPECT_TRUE(TMemo::Parse(TMemo().Serialize()).memo.IsEmpty());
    EXPECT_FALSE(TMemo::Parse(QByteArray()).damaged);
}

TEST(Memo, AddKeepsPointsAndWidthsInsideThePicture)
{
    TMemo m;
    m.Add({MemoInk::Red, 1000, {{-5, 500}, {qQNaN(), 3}, {441, -0.1}}});
    m.Add({MemoInk::Pen, 2, {}}); // no points: not kept
    ASSERT_EQ(m.Strokes().size(), 1u);
    const MemoStroke &s = m.Strokes().front();
    EXPECT_EQ(s.width, TMemo::MaxWidth);
    EXPECT_EQ(s.points, (std::vector<QPointF>{{0, 460}, {0, 3}, {440, 0}}));
    m.Add(stroke(MemoInk::Pen, TMemo::MaxStrokePoints + 10));
    EXPECT_EQ(m.Strokes().back().points.size(), std::size_t(TMemo::MaxStrokePoints));
}

TEST(Memo, TheCapDropsTheOldestStrokes)
{
    // Each stroke is 4 + 4 × 2000 bytes: eight fit in 64 KB, a ninth does not.
    TMemo m;
    for (int i = 0; i < 10; ++i)
        m.Add(stroke(i % 2 ? MemoInk::Red : MemoInk::Pen, 2000, i));
    const QByteArray bytes = m.Serialize();
    EXPECT_LE(bytes.size(), TMemo::MaxBytes);
    const TMemo::Parsed back = TMemo::Parse(bytes);
    EXPECT_FALSE(back.damaged);
    ASSERT_EQ(back.memo.Strokes().size(), 8u);
    EXPECT_EQ(back.memo.Strokes().front(), m.Strokes()[2]);
    EXPECT_EQ(back.memo.Strokes().back(), m.Strokes()[9]);
}

TEST(Memo, DamagedRecordsGiveTheStrokesBeforeTheDamage)
{
    const TMemo two = memoOf({stroke(MemoInk::Pen, 3), stroke(MemoInk::Red, 4)});
    const QByteArray good = two.Serialize();
    const int firstEnd = 6 + 4 + 3 * 4;
    struct Case {
        const char *what;
        QByteArray bytes;
        std::size_t strokes;
    };
    QByteArray badInk = good, zeroWidth = good, noPoints = good, manyPoints = good, lyingCount = good,
               badVersion = good;
    badInk[firstEnd] = char(7);
    zeroWidth[firstEnd + 1] = 0;
    noPoints[firstEnd + 2] = 0;
    noPoints[firstEnd + 3] = 0;
    manyPoints[firstEnd + 2] = char(0xff);
    manyPoints[firstEnd + 3] = char(0xff);
    lyingCount[4] = char(0xff);
    lyingCount[5] = char(0xff);
    badVersion[3] = 2;
    const Case cases[] = {
        {"truncated in the second stroke", good.left(good.size() - 3), 1},
        {"truncated in the header", good.left(5), 0},
        {"unknown ink", badInk, 1},
        {"zero width", zeroWidth, 1},
        {"stroke without points", noPoints, 1},
        {"point count past the data", manyPoints, 1},
        {"stroke count past the data", lyingCount, 2},
        {"trailing bytes", good + QByteArray(5, 'x'), 2},
        {"newer version", badVersion, 0},
        {"not a memo", QByteArray("hello, world"), 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const TMemo::Parsed r = TMemo::Parse(c.bytes);
        EXPECT_TRUE(r.damaged);
        ASSERT_EQ(r.memo.Strokes().size(), c.strokes);
        for (std::size_t i = 0; i < c.strokes; ++i)
            EXPECT_EQ(r.memo.Strokes()[i], two.Strokes()[i]);
    }
}

TEST(Memo, AHugeRecordIsReadNoFurtherThanTheCap)
{
    TMemo m;
    for (int i = 0; i < 8; ++i)
        m.Add(stroke(MemoInk::Pen, 2000, i));
    QByteArray huge = m.Serialize();
    // Claims twice as many strokes, and goes on for megabytes.
    huge[4] = char(16);
    huge.append(QByteArray(4 * 1024 * 1024, char(0xff)));
    const TMemo::Parsed r = TMemo::Parse(huge);
    EXPECT_TRUE(r.damaged);
    EXPECT_EQ(r.memo, m);
}

TEST(Memo, TheEraserTakesWholeStrokesItTouches)
{
    TMemo m;
    m.Add({MemoInk::Pen, 2, {{10, 10}, {100, 10}}});
    m.Add({MemoInk::Red, 2, {{10, 50}}});
    m.Add({MemoInk::Pen, 2, {{200, 200}, {210, 260}}});
    EXPECT_FALSE(m.EraseAt({50, 30}, 5)); // between the first two
    EXPECT_TRUE(m.EraseAt({55, 14}, 3));  // near the middle of a segment
    ASSERT_EQ(m.Strokes().size(), 2u);
    EXPECT_TRUE(m.EraseAt({12, 52}, 2)); // a dot
    EXPECT_TRUE(m.EraseAt({205, 230}, 1));
    EXPECT_TRUE(m.IsEmpty());
}

// ---- in the store -----------------------------------------------------------

class PlayerMemos : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    platform::Registry registry{dir.filePath(QStringLiteral("r.sqlite3"))};
    std::unique_ptr<TUser> player = TUser::CreateNew(QStringLiteral("Маша"), 1);
    TMemo memo = memoOf({stroke(MemoInk::Red, 5)});
};

TEST_F(PlayerMemos, ANewPlayersMemoWaitsForTheProfileThenLandsBesideIt)
{
    platform::UserStore bookStore{registry};
    TPlayerMemos book(*player, bookStore);
    book.Put(7, memo);
    // No key without a profile: the player list would show an empty player.
    EXPECT_FALSE(registry.keyExists(player->KeyPath()));
    EXPECT_EQ(book.Memo(7), memo);
    player->SaveToRegistry(registry);
    book.Flush();
    EXPECT_EQ(TPlayerMemos::Load(registry, player->KeyPath(), 7).memo, memo);

    // The profile reads as before, and another book reads the memo back.
    const auto again = TUser::CreateFromRegistry(player->KeyPath(), registry);
    EXPECT_EQ(again->Scores, player->Scores);
    platform::UserStore rereadStore{registry};
    TPlayerMemos reread(*again, rereadStore);
    EXPECT_EQ(reread.Memo(7), memo);
    EXPECT_TRUE(reread.HasDrawings(7));
    EXPECT_FALSE(reread.HasDrawings(8));

    reread.Remove(7);
    EXPECT_TRUE(TPlayerMemos::Load(registry, player->KeyPath(), 7).memo.IsEmpty());
    // The player's deletion takes the memos with it.
    book.Put(9, memo);
    ASSERT_TRUE(registry.keyExists(TPlayerMemos::KeyPath(player->KeyPath())));
    registry.deleteKey(player->KeyPath());
    EXPECT_FALSE(registry.keyExists(TPlayerMemos::KeyPath(player->KeyPath())));
}

TEST_F(PlayerMemos, BadStoredRecordsLoadWhatTheyCanAndLeaveTheProfile)
{
    player->SaveToRegistry(registry);
    const auto key = registry.openKey(TPlayerMemos::KeyPath(player->KeyPath()), true);
    QByteArray huge = memo.Serialize();
    huge.append(QByteArray(3 * TMemo::MaxBytes, 'z'));
    key->writeBinary(QStringLiteral("1"), huge);
    key->writeString(QStringLiteral("2"), QStringLiteral("not a memo"));
    key->writeBinary(QStringLiteral("3"), QByteArray("ZMM"));
    platform::UserStore bookStore{registry};
    TPlayerMemos book(*player, bookStore);
    EXPECT_EQ(book.Memo(1), memo);
    const TMemo::Parsed huged = TPlayerMemos::Load(registry, player->KeyPath(), 1);
    EXPECT_TRUE(huged.damaged);
    EXPECT_TRUE(TPlayerMemos::Load(registry, player->KeyPath(), 2).damaged);
    EXPECT_TRUE(book.Memo(2).IsEmpty());
    EXPECT_TRUE(book.Memo(3).IsEmpty());
    const auto again = TUser::CreateFromRegistry(player->KeyPath(), registry);
    EXPECT_EQ(again->Name, player->Name);
    EXPECT_EQ(registry.subKeyNames(TUser::UsersKey), QStringList{player->Name});
}
