#pragma once
// Plays the game's wave images through SDL audio. The device is opened once
// with a small buffer, so a new sound cuts the one playing within a few
// milliseconds; each image is converted to the device format once and kept.
#include "platform/Sounds.h"

#include <QHash>
#include <cstdint>
#include <thread>

namespace platform
{

class SdlSoundPlayer : public ISoundPlayer
{
  public:
    struct DeviceFormat {
        int frequency = 0;
        int channels = 0;
        std::uint16_t format = 0; // SDL_AudioFormat
        int samples = 0;
    };

    // Later: nothing is opened until openInBackground() (or the first use),
    // so that start-up can paint its first picture before the audio probe.
    enum class Opening { Now, InBackground, Later };

    // Opens the default output. Without a device the player stays silent and
    // says so once on stderr. Probing the audio back ends takes tens of
    // milliseconds; InBackground lets it overlap the rest of start-up, and the
    // first use waits for it.
    explicit SdlSoundPlayer(Opening opening = Opening::Now);
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer &) = delete;
    SdlSoundPlayer &operator=(const SdlSoundPlayer &) = delete;

    bool isOpen() const
    {
        waitOpened();
        return device_ != 0;
    }
    DeviceFormat deviceFormat() const
    {
        waitOpened();
        return format_;
    }

    // Starts opening the device in the background, once.
    void openInBackground();

    void play(const QString &name, const QByteArray &waveImage) override;
    void stop() override;

    // Converts a RIFF WAVE image to the device format; empty when it is not a
    // wave SDL can read.
    QByteArray convert(const QByteArray &waveImage) const;

  private:
    void openQuietly();
    QString open(); // empty, or why there is no sound
    void waitOpened() const;

    mutable std::thread opener_;
    mutable bool opening_ = false; // opening has started (or is over)
    std::uint32_t device_ = 0;     // SDL_AudioDeviceID
    bool initialised_ = false;
    DeviceFormat format_;
    struct Cached {
        QByteArray image;
        QByteArray pcm;
    };
    QHash<QString, Cached> cache_;
};

} // namespace platform
