#ifndef TIREVANE_AUDIO_AUDIO_LAYER_H
#define TIREVANE_AUDIO_AUDIO_LAYER_H

#include <memory>
#include <unordered_set>

#include "audio/audio_clip.h"
#include "audio/audio_device.h"
#include "audio/audio_stream.h"
#include "audio/fsound.h"
#include "core/non_copyable.h"

// What the game's handles hold. A handle outlives the device: after
// FSOUND_Close it keeps only its play counter and is still freed normally.
struct FSOUND_STREAM {
    unsigned plays = 0;
    int loops = 0;
    std::unique_ptr<AudioStream> audio;  // null: silent
};

struct FSOUND_SAMPLE {
    unsigned plays = 0;
    std::unique_ptr<AudioClip> clip;  // null: silent
};

// The state behind the FSOUND calls: the open device, if any, and every
// handle given out and not yet released, so that a stale or repeated
// release is recognised and ignored, and FSOUND_Close can let go of the
// device's objects held by handles still open. Used from one thread.
class AudioLayer : NonCopyable {
public:
    static AudioLayer& instance();
    ~AudioLayer();

    bool init(int rate, int voices);
    // The same on a device that only mixes when rendered (tests).
    bool init_loopback(int rate, int voices);
    void close();
    AudioDevice* device() const { return device_.get(); }

    FSOUND_STREAM* open_stream(const char* path);
    void close_stream(FSOUND_STREAM* stream);
    bool owns(const FSOUND_STREAM* stream) const;

    FSOUND_SAMPLE* load_sample(const char* path);
    void free_sample(FSOUND_SAMPLE* sample);
    bool owns(const FSOUND_SAMPLE* sample) const;

private:
    AudioLayer() = default;
    void detach_all();

    std::unique_ptr<AudioDevice> device_;
    std::unordered_set<const FSOUND_STREAM*> streams_;
    std::unordered_set<const FSOUND_SAMPLE*> samples_;
};

#endif
