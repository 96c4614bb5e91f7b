#ifndef TIREVANE_AUDIO_AUDIO_DEVICE_H
#define TIREVANE_AUDIO_AUDIO_DEVICE_H

#include <AL/al.h>
#include <AL/alc.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/non_copyable.h"

// The output device with its mixing context and the pool of voices
// (sources) that samples are played on. Streams get sources of their own
// from it, so a burst of shots never cuts the music.
class AudioDevice : NonCopyable {
public:
    // Mixing blocks of this many frames, this many blocks queued: the
    // output latency is their product (about 22 ms at 44100 Hz).
    static constexpr int kUpdateFrames = 320;
    static constexpr int kUpdates = 3;

    // The system's default output; null without a usable device.
    static std::unique_ptr<AudioDevice> open_default(int rate, int voices);
    // A device that mixes only when asked to render (float stereo), for
    // checking what would be heard.
    static std::unique_ptr<AudioDevice> open_loopback(int rate, int voices);
    ~AudioDevice();

    // Starts `buffer` on a free voice, or on the one started longest ago.
    void play(ALuint buffer);
    // Stops every voice playing `buffer` and detaches it, so it can go.
    void release(ALuint buffer);
    // A source configured like the voices (plain stereo, no 3D); 0 if none.
    ALuint make_source() const;
    // Loopback only: mixes `frames` stereo float frames into `out`.
    void render(float* out, int frames);

    int voice_count() const { return static_cast<int>(voices_.size()); }
    // Latency from the configured mixing blocks, in milliseconds.
    double configured_latency_ms() const;
    // Latency as the device reports it (0 when it cannot tell).
    double reported_latency_ms() const;

private:
    AudioDevice(ALCdevice* device, bool loopback);
    bool start(const ALCint* attributes, int voices);

    struct Voice {
        ALuint source;
        ALuint buffer;
        std::uint64_t started;
    };

    ALCdevice* device_;
    ALCcontext* context_ = nullptr;
    bool loopback_;
    std::vector<Voice> voices_;
    std::uint64_t starts_ = 0;
};

#endif
