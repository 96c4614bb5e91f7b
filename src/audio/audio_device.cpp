#include "audio/audio_device.h"

#include <AL/alext.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

#ifdef TIREVANE_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace {

// More voices than this would starve the streams' own sources.
constexpr int kMaxVoices = 128;

#ifdef TIREVANE_HAVE_ALSA
void ignore_alsa_error(const char*, int, const char*, int, const char*, ...) {}
#endif

// OpenAL Soft and libasound print to the terminal when no device can be
// opened; the game prints nothing unless the user asked for OpenAL's log.
void silence_chatter()
{
    const char* level = std::getenv("ALSOFT_LOGLEVEL");
    if (level && std::strtol(level, nullptr, 10) > 0) {
        return;
    }
    setenv("ALSOFT_LOGLEVEL", "0", 0);
#ifdef TIREVANE_HAVE_ALSA
    snd_lib_error_set_handler(ignore_alsa_error);
#endif
}

// OpenAL Soft 1.19 ignores ALC_REFRESH for real devices: its mixing block
// size comes only from its configuration, read once at its first use. When
// the user has no configuration of their own (ALSOFT_CONF), hand it one
// through an anonymous in-memory file for the duration of the first open.
class LatencyConfig : NonCopyable {
public:
    LatencyConfig()
    {
        if (std::getenv("ALSOFT_CONF")) {
            return;
        }
        fd_ = memfd_create("tirevane-alsoft", MFD_CLOEXEC);
        if (fd_ < 0) {
            return;
        }
        const std::string text = "[general]\nperiod_size = " +
                                 std::to_string(AudioDevice::kUpdateFrames) +
                                 "\nperiods = " + std::to_string(AudioDevice::kUpdates) + "\n";
        if (write(fd_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
            return;
        }
        const std::string path = "/proc/self/fd/" + std::to_string(fd_);
        set_ = setenv("ALSOFT_CONF", path.c_str(), 0) == 0;
    }
    ~LatencyConfig()
    {
        if (set_) {
            unsetenv("ALSOFT_CONF");
        }
        if (fd_ >= 0) {
            close(fd_);
        }
    }

private:
    int fd_ = -1;
    bool set_ = false;
};

void configure_source(ALuint source)
{
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
    if (alIsExtensionPresent("AL_SOFT_direct_channels")) {
        // Left to left and right to right at full level, no panning.
        alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
    }
}

bool is_playing(ALuint source)
{
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

}  // namespace

AudioDevice::AudioDevice(ALCdevice* device, bool loopback) : device_(device), loopback_(loopback)
{
}

std::unique_ptr<AudioDevice> AudioDevice::open_default(int rate, int voices)
{
    silence_chatter();
    ALCdevice* device = nullptr;
    {
        LatencyConfig config;
        device = alcOpenDevice(nullptr);
    }
    if (!device) {
        return nullptr;
    }
    std::unique_ptr<AudioDevice> result(new AudioDevice(device, false));
    const ALCint attributes[] = {ALC_FREQUENCY, rate, 0};
    if (!result->start(attributes, voices)) {
        return nullptr;
    }
    return result;
}

std::unique_ptr<AudioDevice> AudioDevice::open_loopback(int rate, int voices)
{
    silence_chatter();
    ALCdevice* device = nullptr;
    {
        LatencyConfig config;  // in case this is OpenAL's first use
        auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
            alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        device = open ? open(nullptr) : nullptr;
    }
    if (!device) {
        return nullptr;
    }
    std::unique_ptr<AudioDevice> result(new AudioDevice(device, true));
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,     ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,            rate,
                                 ALC_OUTPUT_LIMITER_SOFT,  ALC_FALSE,
                                 ALC_HRTF_SOFT,            ALC_FALSE,
                                 0};
    if (!result->start(attributes, voices)) {
        return nullptr;
    }
    return result;
}

bool AudioDevice::start(const ALCint* attributes, int voices)
{
    context_ = alcCreateContext(device_, attributes);
    if (!context_ || !alcMakeContextCurrent(context_)) {
        return false;
    }
    const int count = std::clamp(voices, 1, kMaxVoices);
    voices_.reserve(count);
    for (int i = 0; i < count; ++i) {
        const ALuint source = make_source();
        if (source == 0) {
            break;
        }
        voices_.push_back(Voice{source, 0, 0});
    }
    return !voices_.empty();
}

AudioDevice::~AudioDevice()
{
    for (Voice& voice : voices_) {
        alSourceStop(voice.source);
        alSourcei(voice.source, AL_BUFFER, 0);
        alDeleteSources(1, &voice.source);
    }
    if (context_) {
        if (alcGetCurrentContext() == context_) {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(context_);
    }
    alcCloseDevice(device_);
}

ALuint AudioDevice::make_source() const
{
    // Judged by the result: the context's error flag is shared with the
    // feeder threads.
    ALuint source = 0;
    alGenSources(1, &source);
    if (source == 0 || !alIsSource(source)) {
        return 0;
    }
    configure_source(source);
    return source;
}

void AudioDevice::play(ALuint buffer)
{
    if (buffer == 0 || voices_.empty()) {
        return;
    }
    // Prefer the free voice idle longest; if none is free, the oldest start.
    Voice* chosen = nullptr;
    bool chosen_free = false;
    for (Voice& voice : voices_) {
        const bool free = !is_playing(voice.source);
        if (!chosen || (free && !chosen_free) ||
            (free == chosen_free && voice.started < chosen->started)) {
            chosen = &voice;
            chosen_free = free;
        }
    }
    alSourceStop(chosen->source);
    alSourcei(chosen->source, AL_BUFFER, static_cast<ALint>(buffer));
    alSourcePlay(chosen->source);
    chosen->buffer = buffer;
    chosen->started = ++starts_;
}

void AudioDevice::release(ALuint buffer)
{
    if (buffer == 0) {
        return;
    }
    for (Voice& voice : voices_) {
        if (voice.buffer == buffer) {
            alSourceStop(voice.source);
            alSourcei(voice.source, AL_BUFFER, 0);
            voice.buffer = 0;
        }
    }
}

void AudioDevice::render(float* out, int frames)
{
    if (!loopback_) {
        std::fill(out, out + static_cast<std::ptrdiff_t>(frames) * 2, 0.0f);
        return;
    }
    auto render_samples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(device_, "alcRenderSamplesSOFT"));
    if (render_samples) {
        render_samples(device_, out, frames);
    }
}

double AudioDevice::configured_latency_ms() const
{
    ALCint rate = 0;
    ALCint refresh = 0;
    alcGetIntegerv(device_, ALC_FREQUENCY, 1, &rate);
    alcGetIntegerv(device_, ALC_REFRESH, 1, &refresh);
    if (rate <= 0 || refresh <= 0) {
        return 0.0;
    }
    // ALC_REFRESH reads back as rate / block size.
    const double block_frames = static_cast<double>(rate) / refresh;
    return block_frames * kUpdates * 1000.0 / rate;
}

double AudioDevice::reported_latency_ms() const
{
    if (!alcIsExtensionPresent(device_, "ALC_SOFT_device_clock")) {
        return 0.0;
    }
    auto get = reinterpret_cast<LPALCGETINTEGER64VSOFT>(
        alcGetProcAddress(device_, "alcGetInteger64vSOFT"));
    ALCint64SOFT latency = 0;
    if (get) {
        get(device_, ALC_DEVICE_LATENCY_SOFT, 1, &latency);
    }
    return static_cast<double>(latency) / 1.0e6;
}
