#include "FakeResourceLibrary.h"
#include "platform/ResourceLibrary.h"
#include "platform/Sounds.h"

#include <gtest/gtest.h>

using namespace platform;

namespace
{

struct RecordingPlayer : ISoundPlayer {
    std::vector<std::pair<QString, QByteArray>> played;
    int stops = 0;
    void play(const QString &name, const QByteArray &image) override { played.emplace_back(name, image); }
    void stop() override { ++stops; }
};

QImage image(int w)
{
    QImage img(w, 2, QImage::Format_RGB888);
    img.fill(Qt::red);
    return img;
}

} // namespace

TEST(ResourceLibrary, FakeFindsByNameWithoutCaseAndByNumber)
{
    FakeResourceLibrary lib;
    lib.addBitmap("Logo_Big", image(3));
    lib.addBitmap(4, image(4));
    lib.addString(101, QStringLiteral("Ёжик"));
    lib.addResource("wave", "Click", "RIFF....");

    EXPECT_EQ(lib.loadBitmap("LOGO_big").width(), 3);
    EXPECT_EQ(lib.loadBitmap(4).width(), 4);
    EXPECT_THROW(lib.loadBitmap("nothing"), EResourceError);
    EXPECT_THROW(lib.loadBitmap(5), EResourceError);
    EXPECT_EQ(lib.loadString(101), QStringLiteral("Ёжик"));
    EXPECT_TRUE(lib.loadString(102).isEmpty());
    EXPECT_EQ(lib.findResource("WAVE", "click"), QByteArray("RIFF...."));
    EXPECT_TRUE(lib.findResource("BITMAP", "click").isEmpty());
}

TEST(Sounds, PlaysLoadedImagesThroughTheCurrentPlayer)
{
    EXPECT_EQ(waveName(Wave::Click), QStringLiteral("CLICK"));
    EXPECT_EQ(waveName(Wave::Error), QStringLiteral("ERROR"));
    EXPECT_EQ(waveName(Wave::LevelUp), QStringLiteral("LEVELUP"));
    EXPECT_EQ(waveName(Wave::TrueAnswer), QStringLiteral("TRUEANSWER"));
    EXPECT_EQ(waveName(Wave::FalseAnswer), QStringLiteral("FALSEANSWER"));

    FakeResourceLibrary lib;
    lib.addResource("WAVE", "click", "click-image");
    lib.addResource("WAVE", "TrueAnswer", "true-image");
    Sounds sounds;
    sounds.load(lib);

    sounds.click();     // no player: silence, no crash
    PlayClick(nullptr); // no sounds at all: the same
    RecordingPlayer player;
    sounds.setPlayer(&player);
    EXPECT_EQ(sounds.player(), &player);
    PlayClick(&sounds);
    PlayWave(&sounds, Wave::TrueAnswer);
    sounds.play(Wave::LevelUp); // not in the library: silent
    ASSERT_EQ(player.played.size(), 2u);
    EXPECT_EQ(player.played[0], std::make_pair(QStringLiteral("CLICK"), QByteArray("click-image")));
    EXPECT_EQ(player.played[1], std::make_pair(QStringLiteral("TRUEANSWER"), QByteArray("true-image")));

    sounds.free();
    EXPECT_EQ(player.stops, 1);
    sounds.click();
    EXPECT_EQ(player.played.size(), 2u);
}
