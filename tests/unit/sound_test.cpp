// The SDL sound player heard through SDL's disk driver, which writes every
// sample the device plays into a file at the real playing pace.
#include "FakeResourceLibrary.h"
#include "platform/ResourceLibrary.h"
#include "platform/Sounds.h"
#include "platform/desktop/SdlSoundPlayer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <SDL.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using platform::SdlSoundPlayer;

namespace
{

QByteArray wave(int rate, int channels, int bits, int frames, const std::function<int(int, int)> &sample)
{
    QByteArray pcm;
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            const int v = sample(f, c);
            if (bits == 8) {
                pcm.append(char(v));
            } else {
                pcm.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
            }
        }
    }
    QByteArray w(44, '\0');
    memcpy(w.data(), "RIFF", 4);
    qToLittleEndian<quint32>(quint32(36 + pcm.size()), w.data() + 4);
    memcpy(w.data() + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, w.data() + 16);
    qToLittleEndian<quint16>(1, w.data() + 20);
    qToLittleEndian<quint16>(quint16(channels), w.data() + 22);
    qToLittleEndian<quint32>(quint32(rate), w.data() + 24);
    qToLittleEndian<quint32>(quint32(rate * channels * bits / 8), w.data() + 28);
    qToLittleEndian<quint16>(quint16(channels * bits / 8), w.data() + 32);
    qToLittleEndian<quint16>(quint16(bits), w.data() + 34);
    memcpy(w.data() + 36, "data", 4);
    qToLittleEndian<quint32>(quint32(pcm.size()), w.data() + 40);
    return w + pcm;
}

QByteArray constant(int ms, int value)
{
    return wave(44100, 2, 16, 44100 * ms / 1000, [=](int, int) { return value; });
}

class DiskAudio : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("out.raw"));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", path_.toLocal8Bit());
    }
    void TearDown() override
    {
        qunsetenv("SDL_AUDIODRIVER");
        qunsetenv("SDL_DISKAUDIOFILE");
    }
    // Left channel of everything written, as signed 16-bit values.
    std::vector<int> written() const
    {
        QFile f(path_);
        f.open(QIODevice::ReadOnly);
        const QByteArray raw = f.readAll();
        std::vector<int> left;
        for (qsizetype i = 0; i + 4 <= raw.size(); i += 4)
            left.push_back(qFromLittleEndian<qint16>(raw.constData() + i));
        return left;
    }
    static bool expectedFormat(const SdlSoundPlayer &player)
    {
        const auto f = player.deviceFormat();
        return f.frequency == 44100 && f.channels == 2 && f.format == AUDIO_S16LSB;
    }

    QTemporaryDir dir_;
    QString path_;
};

TEST_F(DiskAudio, WritesTheWaveSamplesUnchanged)
{
    const int frames = 4410;
    {
        SdlSoundPlayer player;
        ASSERT_TRUE(player.isOpen());
        EXPECT_LE(player.deviceFormat().samples, 1024);
        if (!expectedFormat(player))
            GTEST_SKIP() << "the disk device chose another format";
        player.play(QStringLiteral("RAMP"),
                    wave(44100, 2, 16, frames, [](int f, int c) { return c ? -f : f + 1; }));
        QThread::msleep(400);
    }
    const std::vector<int> out = written();
    const auto first = std::find(out.begin(), out.end(), 1);
    ASSERT_NE(first, out.end());
    ASSERT_GE(out.end() - first, frames);
    for (int f = 0; f < frames; ++f)
        ASSERT_EQ(first[f], f + 1) << "frame " << f;
    EXPECT_TRUE(std::all_of(first + frames, out.end(), [](int v) { return v == 0; }));
}

TEST_F(DiskAudio, NewSoundCutsOffThePlayingOne)
{
    {
        SdlSoundPlayer player;
        ASSERT_TRUE(player.isOpen());
        if (!expectedFormat(player))
            GTEST_SKIP() << "the disk device chose another format";
        player.play(QStringLiteral("LONG"), constant(2000, 7000));
        QThread::msleep(150);
        player.play(QStringLiteral("SHORT"), constant(100, -5000));
        QThread::msleep(400);
    }
    const std::vector<int> out = written();
    const auto firstLong = std::find(out.begin(), out.end(), 7000);
    const auto firstShort = std::find(out.begin(), out.end(), -5000);
    ASSERT_NE(firstLong, out.end());
    ASSERT_NE(firstShort, out.end());
    EXPECT_LT(firstLong, firstShort);
    EXPECT_EQ(std::find(firstShort, out.end(), 7000), out.end()) << "the first sound went on";
    EXPECT_EQ(std::count(out.begin(), out.end(), -5000), 4410);
    // The long sound stopped well before its two seconds were up.
    EXPECT_LT(std::count(out.begin(), out.end(), 7000), 44100);
}

TEST_F(DiskAudio, ConvertsOtherFormatsToTheDevice)
{
    {
        SdlSoundPlayer player;
        ASSERT_TRUE(player.isOpen());
        if (!expectedFormat(player))
            GTEST_SKIP() << "the disk device chose another format";
        // 8-bit unsigned mono at 22050 Hz: 100 ms of a loud square wave.
        player.play(QStringLiteral("OLD"),
                    wave(22050, 1, 8, 2205, [](int f, int) { return (f / 50) % 2 ? 228 : 28; }));
        QThread::msleep(400);
    }
    const std::vector<int> out = written();
    auto loud = [](int v) { return std::abs(v) > 1000; };
    const auto first = std::find_if(out.begin(), out.end(), loud);
    const auto last = std::find_if(out.rbegin(), out.rend(), loud);
    ASSERT_NE(first, out.end());
    const auto frames = (out.rend() - last) - (first - out.begin());
    EXPECT_NEAR(double(frames), 4410.0, 441.0); // 100 ms at the device rate
    EXPECT_GT(*std::max_element(out.begin(), out.end()), 20000);
}

TEST_F(DiskAudio, OpeningInTheBackgroundLosesNothing)
{
    {
        SdlSoundPlayer player(SdlSoundPlayer::Opening::InBackground);
        player.play(QStringLiteral("FIRST"), constant(50, 4321)); // waits for the device
        QThread::msleep(250);
        ASSERT_TRUE(player.isOpen());
    }
    const std::vector<int> out = written();
    EXPECT_EQ(std::count(out.begin(), out.end(), 4321), 2205);
}

TEST_F(DiskAudio, GarbageIsSilence)
{
    {
        SdlSoundPlayer player;
        ASSERT_TRUE(player.isOpen());
        player.play(QStringLiteral("BAD"), QByteArray("RIFF\x10\0\0\0WAVEjunkjunkjunk", 24));
        QByteArray cut = constant(100, 1234);
        player.play(QStringLiteral("CUT"), cut.left(30));
        player.play(QStringLiteral("EMPTY"), QByteArray());
        QThread::msleep(100);
    }
    const std::vector<int> out = written();
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int v) { return v == 0; }));
}

TEST(SoundWithoutDevice, IsSilentWithOneLine)
{
    qputenv("SDL_AUDIODRIVER", "no-such-driver");
    testing::internal::CaptureStderr();
    {
        SdlSoundPlayer player;
        EXPECT_FALSE(player.isOpen());
        player.play(QStringLiteral("CLICK"), constant(10, 1));
        player.stop();
    }
    const std::string err = testing::internal::GetCapturedStderr();
    qunsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

// The probe silences the audio back ends' own complaints only: what other
// threads print meanwhile (the store's recovery, say) still reaches stderr.
TEST(SoundWithoutDevice, OtherThreadsKeepTheirStderrWhileTheDeviceOpens)
{
    qputenv("SDL_AUDIODRIVER", "alsa"); // ALSA without a card complains a dozen lines
    qputenv("ALSA_CONFIG_PATH", "/nonexistent/alsa.conf");
    std::atomic<bool> done = false;
    int written = 0;
    testing::internal::CaptureStderr();
    std::thread other([&] {
        while (!done) {
            std::fprintf(stderr, "other %d\n", written++);
            std::fflush(stderr);
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    {
        SdlSoundPlayer player(SdlSoundPlayer::Opening::InBackground);
        EXPECT_FALSE(player.isOpen());
    }
    done = true;
    other.join();
    const std::string err = testing::internal::GetCapturedStderr();
    qunsetenv("SDL_AUDIODRIVER");
    qunsetenv("ALSA_CONFIG_PATH");
    int seen = 0;
    for (std::size_t at = err.find("other "); at != std::string::npos; at = err.find("other ", at + 1))
        ++seen;
    EXPECT_EQ(seen, written);
    EXPECT_EQ(err.find("ALSA lib"), std::string::npos) << err;
}

// The sound routines hand the library's wave images to whatever player is set.
class Recorder : public platform::ISoundPlayer
{
  public:
    void play(const QString &name, const QByteArray &image) override
    {
        played << name + QString::number(image.size());
    }
    void stop() override { ++stops; }
    QStringList played;
    int stops = 0;
};

TEST(SoundRoutines, PlayTheLoadedImagesByName)
{
    platform::FakeResourceLibrary lib;
    lib.addResource(QStringLiteral("wave"), QStringLiteral("click"), QByteArray(3, 'c'));
    lib.addResource(QStringLiteral("WAVE"), QStringLiteral("TrueAnswer"), QByteArray(5, 't'));
    Recorder rec;
    platform::Sounds sounds;
    sounds.setPlayer(&rec);
    sounds.load(lib);
    sounds.click();
    sounds.play(platform::Wave::TrueAnswer);
    sounds.play(platform::Wave::LevelUp); // missing: silence
    sounds.free();
    sounds.click(); // after shutdown: nothing
    sounds.setPlayer(nullptr);
    sounds.click();
    EXPECT_EQ(rec.played, (QStringList{QStringLiteral("CLICK3"), QStringLiteral("TRUEANSWER5")}));
    EXPECT_EQ(rec.stops, 1);
}

} // namespace
