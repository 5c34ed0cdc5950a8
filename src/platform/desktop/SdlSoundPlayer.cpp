#include "platform/desktop/SdlSoundPlayer.h"

#include <SDL.h>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {
// 512 frames at 44.1 kHz is under 12 ms: the most a cut-off sound can linger.
constexpr int DeviceSamples = 512;
}

// Audio back ends (ALSA above all) write their own complaints to stderr while
// SDL probes them; a machine without sound should hear of it in one line.
class QuietStderr {
public:
    QuietStderr()
    {
        std::fflush(stderr);
        saved_ = ::dup(2);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            ::dup2(null, 2);
        if (null >= 0)
            ::close(null);
    }
    ~QuietStderr()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, 2);
            ::close(saved_);
        }
    }

private:
    int saved_ = -1;
};

SdlSoundPlayer::SdlSoundPlayer(Opening opening)
{
    if (opening == Opening::InBackground) {
        openInBackground();
    } else if (opening == Opening::Now) {
        opening_ = true;
        openQuietly();
    }
}

void SdlSoundPlayer::openInBackground()
{
    if (opening_)
        return;
    opening_ = true;
    opener_ = std::thread([this] {
        openQuietly();
        SDL_TLSCleanup();  // SDL's per-thread error buffer would outlive this thread
    });
}

void SdlSoundPlayer::waitOpened() const
{
    if (!opening_) {
        // Used before anyone asked for the device: open it here and now.
        opening_ = true;
        const_cast<SdlSoundPlayer *>(this)->openQuietly();
    }
    if (opener_.joinable())
        opener_.join();
}

void SdlSoundPlayer::openQuietly()
{
    QString failure;
    {
        QuietStderr quiet;
        failure = open();
    }
    if (!failure.isEmpty())
        std::fprintf(stderr, "zentrika: no sound (%s)\n", qPrintable(failure));
}

QString SdlSoundPlayer::open()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return QString::fromUtf8(SDL_GetError());
    initialised_ = true;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = DeviceSamples;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0)
        return QString::fromUtf8(SDL_GetError());
    format_ = {have.freq, have.channels, have.format, have.samples};
    SDL_PauseAudioDevice(device_, 0);
    return {};
}

SdlSoundPlayer::~SdlSoundPlayer()
{
    if (opener_.joinable())
        opener_.join();  // never opened: nothing to open now
    if (device_)
        SDL_CloseAudioDevice(device_);
    if (initialised_)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

QByteArray SdlSoundPlayer::convert(const QByteArray &waveImage) const
{
    waitOpened();
    if (!device_ || waveImage.isEmpty())
        return {};
    SDL_RWops *rw = SDL_RWFromConstMem(waveImage.constData(), int(waveImage.size()));
    if (!rw)
        return {};
    SDL_AudioSpec source{};
    Uint8 *buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &source, &buffer, &length))
        return {};
    QByteArray pcm;
    SDL_AudioCVT cvt;
    const int built = SDL_BuildAudioCVT(&cvt, source.format, source.channels, source.freq, format_.format,
                                        Uint8(format_.channels), format_.frequency);
    if (built == 0) {
        pcm = QByteArray(reinterpret_cast<const char *>(buffer), int(length));
    } else if (built > 0 && cvt.len_mult > 0 && length <= Uint32(INT_MAX / cvt.len_mult)) {
        // The conversion works in place in a buffer len_mult times the input.
        pcm.resize(qsizetype(length) * cvt.len_mult);
        memcpy(pcm.data(), buffer, length);
        cvt.buf = reinterpret_cast<Uint8 *>(pcm.data());
        cvt.len = int(length);
        if (SDL_ConvertAudio(&cvt) == 0)
            pcm.resize(cvt.len_cvt);
        else
            pcm.clear();
    }
    SDL_FreeWAV(buffer);
    return pcm;
}

void SdlSoundPlayer::play(const QString &name, const QByteArray &waveImage)
{
    waitOpened();
    if (!device_)
        return;
    auto it = cache_.find(name);
    // The same name with another image (a reloaded library) is converted anew.
    if (it == cache_.end() || it->image != waveImage)
        it = cache_.insert(name, Cached{waveImage, convert(waveImage)});
    SDL_LockAudioDevice(device_);
    SDL_ClearQueuedAudio(device_);
    if (!it->pcm.isEmpty())
        SDL_QueueAudio(device_, it->pcm.constData(), Uint32(it->pcm.size()));
    SDL_UnlockAudioDevice(device_);
}

void SdlSoundPlayer::stop()
{
    waitOpened();
    if (device_)
        SDL_ClearQueuedAudio(device_);
}

}  // namespace platform
