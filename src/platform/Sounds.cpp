#include "platform/Sounds.h"

#include "platform/ResourceLibrary.h"

#include <array>

namespace platform {

namespace {

constexpr std::array kWaves{Wave::Click, Wave::Error, Wave::LevelUp, Wave::TrueAnswer, Wave::FalseAnswer};

std::array<QByteArray, kWaves.size()> &images()
{
    static std::array<QByteArray, kWaves.size()> loaded;
    return loaded;
}

ISoundPlayer *g_player = nullptr;
bool g_enabled = true;

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
    for (Wave w : kWaves)
        images()[std::size_t(w)] = library.findResource(QStringLiteral("WAVE"), waveName(w));
}

void freeSounds()
{
    if (g_player)
        g_player->stop();  // the player may still read the image being freed
    for (auto &image : images())
        image.clear();
}

void setSoundPlayer(ISoundPlayer *player)
{
    g_player = player;
}

ISoundPlayer *soundPlayer()
{
    return g_player;
}

void setSoundsEnabled(bool on)
{
    g_enabled = on;
    if (!on && g_player)
        g_player->stop();
}

bool soundsEnabled()
{
    return g_enabled;
}

void PlayWave(Wave wave)
{
    const std::size_t i = std::size_t(wave);
    if (!g_enabled || !g_player || i >= images().size() || images()[i].isEmpty())
        return;
    g_player->play(waveName(wave), images()[i]);
}

void PlayClick()
{
    PlayWave(Wave::Click);
}

}  // namespace platform
