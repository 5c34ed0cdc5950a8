#include "platform/desktop/SdlSoundPlayer.h"

#include <SDL.h>
#include <climits>
#include <dlfcn.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {
// 512 frames at 44.1 kHz is under 12 ms: the most a cut-off sound can linger.
constexpr int DeviceSamples = 512;

// SDL and the sound libraries it pulls in (about thirty) are loaded when the
// sound device is opened, off the start-up path, instead of with the program.
struct SdlApi {
    decltype(&::SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&::SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&::SDL_GetError) GetError = nullptr;
    decltype(&::SDL_OpenAudioDevice) OpenAudioDevice = nullptr;
    decltype(&::SDL_CloseAudioDevice) CloseAudioDevice = nullptr;
    decltype(&::SDL_PauseAudioDevice) PauseAudioDevice = nullptr;
    decltype(&::SDL_LockAudioDevice) LockAudioDevice = nullptr;
    decltype(&::SDL_UnlockAudioDevice) UnlockAudioDevice = nullptr;
    decltype(&::SDL_ClearQueuedAudio) ClearQueuedAudio = nullptr;
    decltype(&::SDL_QueueAudio) QueueAudio = nullptr;
    decltype(&::SDL_RWFromConstMem) RWFromConstMem = nullptr;
    decltype(&::SDL_LoadWAV_RW) LoadWAV_RW = nullptr;
    decltype(&::SDL_FreeWAV) FreeWAV = nullptr;
    decltype(&::SDL_BuildAudioCVT) BuildAudioCVT = nullptr;
    decltype(&::SDL_ConvertAudio) ConvertAudio = nullptr;
    decltype(&::SDL_TLSCleanup) TLSCleanup = nullptr;
    bool loaded = false;
};

template <typename F>
bool resolve(void *library, const char *name, F &f)
{
    f = reinterpret_cast<F>(::dlsym(library, name));
    return f != nullptr;
}

// Loaded once per process and never unloaded: SDL keeps threads of its own.
const SdlApi &sdl()
{
    static const SdlApi api = [] {
        SdlApi a;
        void *lib = ::dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!lib)
            return a;
        a.loaded = resolve(lib, "SDL_InitSubSystem", a.InitSubSystem) &&
                   resolve(lib, "SDL_QuitSubSystem", a.QuitSubSystem) && resolve(lib, "SDL_GetError", a.GetError) &&
                   resolve(lib, "SDL_OpenAudioDevice", a.OpenAudioDevice) &&
                   resolve(lib, "SDL_CloseAudioDevice", a.CloseAudioDevice) &&
                   resolve(lib, "SDL_PauseAudioDevice", a.PauseAudioDevice) &&
                   resolve(lib, "SDL_LockAudioDevice", a.LockAudioDevice) &&
                   resolve(lib, "SDL_UnlockAudioDevice", a.UnlockAudioDevice) &&
                   resolve(lib, "SDL_ClearQueuedAudio", a.ClearQueuedAudio) &&
                   resolve(lib, "SDL_QueueAudio", a.QueueAudio) &&
                   resolve(lib, "SDL_RWFromConstMem", a.RWFromConstMem) &&
                   resolve(lib, "SDL_LoadWAV_RW", a.LoadWAV_RW) && resolve(lib, "SDL_FreeWAV", a.FreeWAV) &&
                   resolve(lib, "SDL_BuildAudioCVT", a.BuildAudioCVT) &&
                   resolve(lib, "SDL_ConvertAudio", a.ConvertAudio) && resolve(lib, "SDL_TLSCleanup", a.TLSCleanup);
        return a;
    }();
    return api;
}
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
    if (opening == Opening::InBackground)
        opener_ = std::thread([this] {
            openQuietly();
            if (sdl().loaded)
                sdl().TLSCleanup();  // SDL's per-thread error buffer would outlive this thread
        });
    else
        openQuietly();
}

void SdlSoundPlayer::waitOpened() const
{
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
    if (!sdl().loaded)
        return QStringLiteral("libSDL2-2.0.so.0 cannot be loaded");
    if (sdl().InitSubSystem(SDL_INIT_AUDIO) != 0)
        return QString::fromUtf8(sdl().GetError());
    initialised_ = true;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = DeviceSamples;
    SDL_AudioSpec have{};
    device_ = sdl().OpenAudioDevice(nullptr, 0, &want, &have,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0)
        return QString::fromUtf8(sdl().GetError());
    format_ = {have.freq, have.channels, have.format, have.samples};
    sdl().PauseAudioDevice(device_, 0);
    return {};
}

SdlSoundPlayer::~SdlSoundPlayer()
{
    waitOpened();
    if (device_)
        sdl().CloseAudioDevice(device_);
    if (initialised_)
        sdl().QuitSubSystem(SDL_INIT_AUDIO);
}

QByteArray SdlSoundPlayer::convert(const QByteArray &waveImage) const
{
    waitOpened();
    if (!device_ || waveImage.isEmpty())
        return {};
    SDL_RWops *rw = sdl().RWFromConstMem(waveImage.constData(), int(waveImage.size()));
    if (!rw)
        return {};
    SDL_AudioSpec source{};
    Uint8 *buffer = nullptr;
    Uint32 length = 0;
    if (!sdl().LoadWAV_RW(rw, 1, &source, &buffer, &length))
        return {};
    QByteArray pcm;
    SDL_AudioCVT cvt;
    const int built = sdl().BuildAudioCVT(&cvt, source.format, source.channels, source.freq, format_.format,
                                        Uint8(format_.channels), format_.frequency);
    if (built == 0) {
        pcm = QByteArray(reinterpret_cast<const char *>(buffer), int(length));
    } else if (built > 0 && cvt.len_mult > 0 && length <= Uint32(INT_MAX / cvt.len_mult)) {
        // The conversion works in place in a buffer len_mult times the input.
        pcm.resize(qsizetype(length) * cvt.len_mult);
        memcpy(pcm.data(), buffer, length);
        cvt.buf = reinterpret_cast<Uint8 *>(pcm.data());
        cvt.len = int(length);
        if (sdl().ConvertAudio(&cvt) == 0)
            pcm.resize(cvt.len_cvt);
        else
            pcm.clear();
    }
    sdl().FreeWAV(buffer);
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
    sdl().LockAudioDevice(device_);
    sdl().ClearQueuedAudio(device_);
    if (!it->pcm.isEmpty())
        sdl().QueueAudio(device_, it->pcm.constData(), Uint32(it->pcm.size()));
    sdl().UnlockAudioDevice(device_);
}

void SdlSoundPlayer::stop()
{
    waitOpened();
    if (device_)
        sdl().ClearQueuedAudio(device_);
}

}  // namespace platform
