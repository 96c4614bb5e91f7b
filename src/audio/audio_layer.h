#ifndef TIREVANE_AUDIO_AUDIO_LAYER_H
#define TIREVANE_AUDIO_AUDIO_LAYER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_set>

#include "audio/audio_clip.h"
#include "audio/audio_device.h"
#include "audio/audio_mixer.h"
#include "audio/audio_stream.h"
#include "audio/fsound.h"
#include "core/non_copyable.h"

// What the game's handles hold. A handle outlives the device: after
// FSOUND_Close it is silent and still freed normally.
struct FSOUND_STREAM {
    int loops = 0;
    std::unique_ptr<AudioStream> audio;  // null: silent
};

struct FSOUND_SAMPLE {
    std::unique_ptr<AudioClip> clip;  // null: silent
};

// The state behind the FSOUND calls: the mixer and its output, if any, and
// every handle given out and not yet released, so that a stale or repeated
// release is recognised and ignored and FSOUND_Close can silence handles
// still open. Called from the game's thread; what plays is changed under
// the device's lock, the callback mixing on SDL's audio thread.
class AudioLayer : NonCopyable {
public:
    static AudioLayer& instance();
    ~AudioLayer();

    // The mixer on SDL's output; false (and silent) without a device.
    bool init(int voices);
    // Seam for tests and benchmarks, standing in for the sound device: the
    // mixer alone, mixed only when render() asks, so they hear exactly what
    // would be played, frame by frame.
    bool init_unplugged(int voices);
    void close();
    AudioDevice* device() const { return device_.get(); }
    // Unplugged only: the next `frames` stereo frames.
    void render(std::int16_t* out, std::size_t frames);
    // The sounds started since the device last took sound, alone, for their
    // next `frames` frames (AudioMixer::mix_started); false without any.
    bool mix_started(std::int16_t* out, std::size_t frames);

    FSOUND_STREAM* open_stream(const char* path);
    // False when the stream or the layer is silent.
    bool play_stream(FSOUND_STREAM* stream);
    void stop_stream(FSOUND_STREAM* stream);
    void close_stream(FSOUND_STREAM* stream);
    bool owns(const FSOUND_STREAM* stream) const;

    FSOUND_SAMPLE* load_sample(const char* path);
    bool play_sample(FSOUND_SAMPLE* sample);
    void free_sample(FSOUND_SAMPLE* sample);
    bool owns(const FSOUND_SAMPLE* sample) const;

private:
    AudioLayer() = default;
    void silence_handles();

    std::unique_ptr<AudioMixer> mixer_;
    std::unique_ptr<AudioDevice> device_;  // null when unplugged
    std::unordered_set<const FSOUND_STREAM*> streams_;
    std::unordered_set<const FSOUND_SAMPLE*> samples_;
};

#endif
