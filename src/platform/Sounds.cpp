#include "platform/Sounds.h"

#include "platform/ResourceLibrary.h"

namespace platform
{

namespace
{

constexpr std::array kWaves{Wave::Click, Wave::Error, Wave::LevelUp, Wave::TrueAnswer, Wave::FalseAnswer};

} // namespace

QString waveName(Wave wave)
{
    switch (wave) {
    case Wave::Click:
        return QStringLiteral("CLICK");
    case Wave::Error:
        return QStringLiteral("ERROR");
    case Wave::LevelUp:
        return QStringLiteral("LEVELUP");
    case Wave::TrueAnswer:
        return QStringLiteral("TRUEANSWER");
    case Wave::FalseAnswer:
        return QStringLiteral("FALSEANSWER");
    }
    return {};
}

void Sounds::load(const IResourceLibrary &library)
{
    static_assert(kWaves.size() == std::tuple_size_v<decltype(images_)>);
    for (Wave w : kWaves)
        images_[std::size_t(w)] = library.findResource(QStringLiteral("WAVE"), waveName(w));
}

void Sounds::free()
{
    if (player_)
        player_->stop(); // the player may still read the image being freed
    for (auto &image : images_)
        image.clear();
}

void Sounds::setPlayer(ISoundPlayer *player)
{
    player_ = player;
}

void Sounds::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    if (!on && player_)
        player_->stop();
    emit enabledChanged(on);
}

void Sounds::play(Wave wave) const
{
    const std::size_t i = std::size_t(wave);
    if (!enabled_ || !player_ || i >= images_.size() || images_[i].isEmpty())
        return;
    player_->play(waveName(wave), images_[i]);
}

void PlayWave(const Sounds *sounds, Wave wave)
{
    if (sounds)
        sounds->play(wave);
}

void PlayClick(const Sounds *sounds)
{
    PlayWave(sounds, Wave::Click);
}

} // namespace platform
