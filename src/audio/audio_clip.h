#ifndef TIREVANE_AUDIO_AUDIO_CLIP_H
#define TIREVANE_AUDIO_AUDIO_CLIP_H

#include <AL/al.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/non_copyable.h"

// A whole sound held by OpenAL, ready to start at once on any source.
// Whoever attached it to a source must detach it before it is destroyed.
class AudioClip : NonCopyable {
public:
    // `pcm` is interleaved 16-bit stereo at 44100 Hz.
    explicit AudioClip(const std::vector<std::int16_t>& pcm);
    ~AudioClip();

    bool valid() const { return buffer_ != 0; }
    ALuint buffer() const { return buffer_; }
    std::size_t frames() const { return frames_; }

private:
    ALuint buffer_ = 0;
    std::size_t frames_ = 0;
};

#endif
