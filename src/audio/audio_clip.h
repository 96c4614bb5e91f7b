#ifndef TIREVANE_AUDIO_AUDIO_CLIP_H
#define TIREVANE_AUDIO_AUDIO_CLIP_H

#include <cstddef>
#include <cstdint>
#include <vector>

// A whole sound in memory, ready to start at once: interleaved signed
// 16-bit samples at the mixer's rate, mono or stereo as the file was.
struct AudioClip {
    int channels = 0;  // 1 or 2
    std::vector<std::int16_t> pcm;

    std::size_t frames() const { return channels > 0 ? pcm.size() / channels : 0; }
    bool empty() const { return frames() == 0; }
};

#endif
