#include "platform/desktop/SdlSoundPlayer.h"

#include <SDL.h>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace platform
{

namespace
{
// 512 frames at 44.1 kHz is under 12 ms: the most a cut-off sound can linger.
constexpr int DeviceSamples = 512;

// SDL is loaded when the device opens, after the first picture: linked, it
// and the forty libraries of its audio back ends would be loaded and
// relocated before main() runs, a good part of the game's start-up.
struct Sdl {
    decltype(&SDL_InitSubSystem) InitSubSystem;
    decltype(&SDL_QuitSubSystem) QuitSubSystem;
    decltype(&SDL_GetError) GetError;
    decltype(&SDL_OpenAudioDevice) OpenAudioDevice;
    decltype(&SDL_CloseAudioDevice) CloseAudioDevice;
    decltype(&SDL_PauseAudioDevice) PauseAudioDevice;
    decltype(&SDL_LockAudioDevice) LockAudioDevice;
    decltype(&SDL_UnlockAudioDevice) UnlockAudioDevice;
    decltype(&SDL_QueueAudio) QueueAudio;
    decltype(&SDL_ClearQueuedAudio) ClearQueuedAudio;
    decltype(&SDL_RWFromConstMem) RWFromConstMem;
    decltype(&SDL_LoadWAV_RW) LoadWAV_RW;
    decltype(&SDL_FreeWAV) FreeWAV;
    decltype(&SDL_BuildAudioCVT) BuildAudioCVT;
    decltype(&SDL_ConvertAudio) ConvertAudio;
    decltype(&SDL_TLSCleanup) TLSCleanup;
};

template <class F> bool resolve(void *library, const char *name, F &function)
{
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

// The library as loaded, or why it could not be.
struct LoadedSdl {
    std::optional<Sdl> api;
    QString why; // when api is missing
};

LoadedSdl loadSdl()
{
    void *library = ::dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return {std::nullopt, QString::fromLocal8Bit(::dlerror())};
    Sdl s{};
    const bool all = resolve(library, "SDL_InitSubSystem", s.InitSubSystem) &&
                     resolve(library, "SDL_QuitSubSystem", s.QuitSubSystem) &&
                     resolve(library, "SDL_GetError", s.GetError) &&
                     resolve(library, "SDL_OpenAudioDevice", s.OpenAudioDevice) &&
                     resolve(library, "SDL_CloseAudioDevice", s.CloseAudioDevice) &&
                     resolve(library, "SDL_PauseAudioDevice", s.PauseAudioDevice) &&
                     resolve(library, "SDL_LockAudioDevice", s.LockAudioDevice) &&
                     resolve(library, "SDL_UnlockAudioDevice", s.UnlockAudioDevice) &&
                     resolve(library, "SDL_QueueAudio", s.QueueAudio) &&
                     resolve(library, "SDL_ClearQueuedAudio", s.ClearQueuedAudio) &&
                     resolve(library, "SDL_RWFromConstMem", s.RWFromConstMem) &&
                     resolve(library, "SDL_LoadWAV_RW", s.LoadWAV_RW) &&
                     resolve(library, "SDL_FreeWAV", s.FreeWAV) &&
                     resolve(library, "SDL_BuildAudioCVT", s.BuildAudioCVT) &&
                     resolve(library, "SDL_ConvertAudio", s.ConvertAudio) &&
                     resolve(library, "SDL_TLSCleanup", s.TLSCleanup);
    if (!all)
        return {std::nullopt, QStringLiteral("libSDL2-2.0.so.0 lacks a function the game uses")};
    return {s, QString()}; // the library stays loaded for the rest of the run
}

// The library once loaded; null (with the reason) where it is missing.
const Sdl *sdl(QString *failure = nullptr)
{
    static const LoadedSdl loaded = loadSdl();
    if (failure && !loaded.api)
        *failure = loaded.why;
    return loaded.api ? &*loaded.api : nullptr;
}
} // namespace

// Audio back ends write their own complaints to stderr while SDL probes
// them (ALSA a dozen lines per device); a machine without sound should hear
// of it in one line. Each is silenced through its own switch rather than by
// pointing stderr elsewhere, which would also swallow what other threads
// print meanwhile. The libraries are those SDL opens, so the switch holds for it.
namespace
{

void alsaSilent(const char *, int, const char *, int, const char *, ...) {}
void jackSilent(const char *) {}

template <class R, class F> void callIn(const char *library, const char *name, F argument)
{
    void *handle = ::dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return; // not installed: SDL cannot use it either
    using Setter = R (*)(F);
    if (auto set = reinterpret_cast<Setter>(::dlsym(handle, name)))
        set(argument);
    // The handle stays open, as SDL's own does, so the switch is kept.
}

void quietAudioBackEnds()
{
    static std::once_flag once;
    std::call_once(once, [] {
        callIn<int>("libasound.so.2", "snd_lib_error_set_handler", &alsaSilent);
        callIn<void>("libjack.so.0", "jack_set_error_function", &jackSilent);
        callIn<void>("libjack.so.0", "jack_set_info_function", &jackSilent);
    });
}

} // namespace

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
        if (const Sdl *api = sdl())
            api->TLSCleanup(); // SDL's per-thread error buffer would outlive this thread
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
    quietAudioBackEnds();
    const QString failure = open();
    if (!failure.isEmpty())
        std::fprintf(stderr, "zentrika: no sound (%s)\n", qPrintable(failure));
}

QString SdlSoundPlayer::open()
{
    QString missing;
    const Sdl *api = sdl(&missing);
    if (!api)
        return missing;
    if (api->InitSubSystem(SDL_INIT_AUDIO) != 0)
        return QString::fromUtf8(api->GetError());
    initialised_ = true;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = DeviceSamples;
    SDL_AudioSpec have{};
    device_ = api->OpenAudioDevice(nullptr, 0, &want, &have,
                                   SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0)
        return QString::fromUtf8(api->GetError());
    format_ = {have.freq, have.channels, have.format, have.samples};
    api->PauseAudioDevice(device_, 0);
    return {};
}

SdlSoundPlayer::~SdlSoundPlayer()
{
    if (opener_.joinable())
        opener_.join(); // never opened: nothing to open now
    // Both mean the library was loaded.
    if (device_)
        sdl()->CloseAudioDevice(device_);
    if (initialised_)
        sdl()->QuitSubSystem(SDL_INIT_AUDIO);
}

QByteArray SdlSoundPlayer::convert(const QByteArray &waveImage) const
{
    waitOpened();
    if (!device_ || waveImage.isEmpty())
        return {};
    const Sdl *api = sdl();
    SDL_RWops *rw = api->RWFromConstMem(waveImage.constData(), int(waveImage.size()));
    if (!rw)
        return {};
    SDL_AudioSpec source{};
    Uint8 *buffer = nullptr;
    Uint32 length = 0;
    if (!api->LoadWAV_RW(rw, 1, &source, &buffer, &length))
        return {};
    QByteArray pcm;
    SDL_AudioCVT cvt;
    const int built = api->BuildAudioCVT(&cvt, source.format, source.channels, source.freq, format_.format,
                                         Uint8(format_.channels), format_.frequency);
    if (built == 0) {
        pcm = QByteArray(reinterpret_cast<const char *>(buffer), int(length));
    } else if (built > 0 && cvt.len_mult > 0 && length <= Uint32(INT_MAX / cvt.len_mult)) {
        // The conversion works in place in a buffer len_mult times the input.
        pcm.resize(qsizetype(length) * cvt.len_mult);
        memcpy(pcm.data(), buffer, length);
        cvt.buf = reinterpret_cast<Uint8 *>(pcm.data());
        cvt.len = int(length);
        if (api->ConvertAudio(&cvt) == 0)
            pcm.resize(cvt.len_cvt);
        else
            pcm.clear();
    }
    api->FreeWAV(buffer);
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
    const Sdl *api = sdl();
    api->LockAudioDevice(device_);
    api->ClearQueuedAudio(device_);
    if (!it->pcm.isEmpty())
        api->QueueAudio(device_, it->pcm.constData(), Uint32(it->pcm.size()));
    api->UnlockAudioDevice(device_);
}

void SdlSoundPlayer::stop()
{
    waitOpened();
    if (device_)
        sdl()->ClearQueuedAudio(device_);
}

} // namespace platform
