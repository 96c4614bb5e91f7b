#include "audio/audio_device.h"

#include <SDL.h>

#include <dlfcn.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/audio_mixer.h"

namespace {

using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);

void ignore_alsa_error(const char*, int, const char*, int, const char*, ...) {}

// libasound prints to the terminal when there is no sound card; the game
// prints nothing. Bound at run time: the game does not link libasound,
// which Debian's SDL 1.2 has already mapped and SDL2 (under sdl12-compat)
// loads itself. It is loaded here only when SDL is about to try ALSA.
void quiet_alsa()
{
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (!alsa && (!driver || std::strcmp(driver, "alsa") == 0)) {
        alsa = dlopen("libasound.so.2", RTLD_LAZY);
    }
    if (!alsa) {
        return;
    }
    using SetHandler = int (*)(AlsaErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
        set(ignore_alsa_error);
    }
    // Kept loaded: the handler must outlive every later use of ALSA.
}

void feed(void* mixer, Uint8* stream, int len)
{
    static_cast<AudioMixer*>(mixer)->mix(reinterpret_cast<std::int16_t*>(stream),
                                         static_cast<std::size_t>(len) / 4);
}

}  // namespace

std::unique_ptr<AudioDevice> AudioDevice::open(AudioMixer& mixer)
{
    quiet_alsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return nullptr;
    }
    SDL_AudioSpec wanted;
    std::memset(&wanted, 0, sizeof wanted);
    wanted.freq = AudioMixer::kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kCallbackFrames;
    wanted.callback = feed;
    wanted.userdata = &mixer;
    // No `obtained`: SDL converts to the hardware's format itself, and
    // writes the period it settled on back into `wanted`.
    if (SDL_OpenAudio(&wanted, nullptr) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    const int frames = wanted.samples > 0 ? wanted.samples : kCallbackFrames;
    std::unique_ptr<AudioDevice> device(new AudioDevice(AudioMixer::kRate, frames));
    SDL_PauseAudio(0);
    return device;
}

AudioDevice::~AudioDevice()
{
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::lock()
{
    SDL_LockAudio();
}

void AudioDevice::unlock()
{
    SDL_UnlockAudio();
}

bool AudioDevice::still_open() const
{
    return SDL_GetAudioStatus() != SDL_AUDIO_STOPPED;
}

double AudioDevice::latency_ms() const
{
    return 2.0 * callback_frames_ * 1000.0 / rate_;
}
