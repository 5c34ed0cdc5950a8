#include "platform/Sounds.h"

#include "platform/ResourceLibrary.h"

#include <array>

namespace platform {
namespace {

constexpr int WaveCount = 5;

struct SoundState {
    std::array<QByteArray, WaveCount> images;
    ISoundPlayer *player = nullptr;
};

SoundState &state()
{
    static SoundState s;
    return s;
}

}  // namespace

QString waveName(Wave wave)
{
    switch (wave) {
    case Wave::Click: return QStringLiteral("CLICK");
    case Wave::Error: return QStringLiteral("ERROR");
    case Wave::LevelUp: return QStringLiteral("LEVELUP");
    case Wave::TrueAnswer: return QStringLiteral("TRUEANSWER");
    case Wave::FalseAnswer: return QStringLiteral("FALSEANSWER");
    }
    return {};
}

void loadSounds(const IResourceLibrary &library)
{
    for (int i = 0; i < WaveCount; ++i)
        state().images[std::size_t(i)] = library.findResource(QStringLiteral("WAVE"), waveName(Wave(i)));
}

void freeSounds()
{
    // The player may still be reading the last image; it keeps its own copy.
    if (state().player)
        state().player->stop();
    for (QByteArray &image : state().images)
        image.clear();
}

void setSoundPlayer(ISoundPlayer *player)
{
    state().player = player;
}

ISoundPlayer *soundPlayer()
{
    return state().player;
}

void PlayWave(Wave wave)
{
    const int i = int(wave);
    if (i < 0 || i >= WaveCount)
        return;
    const QByteArray &image = state().images[std::size_t(i)];
    if (state().player && !image.isEmpty())
        state().player->play(waveName(wave), image);
}

void PlayClick()
{
    PlayWave(Wave::Click);
}

}  // namespace platform
