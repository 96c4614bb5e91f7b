#ifndef TIREVANE_AUDIO_AUDIO_STREAM_H
#define TIREVANE_AUDIO_AUDIO_STREAM_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/audio_clip.h"
#include "audio/mp3_decoder.h"
#include "core/non_copyable.h"

// A sound played on a voice of its own, so shots never cut it: either a
// clip held whole (WAV and WMA files, short by nature) or an MP3 decoded a
// piece at a time while it plays (the music). Played only by the mixer,
// under the device's lock.
class AudioStream : NonCopyable {
public:
    // Frames decoded at a time: one piece every 93 ms of music.
    static constexpr std::size_t kPieceFrames = 4096;

    explicit AudioStream(AudioClip clip);
    explicit AudioStream(std::unique_ptr<Mp3Decoder> decoder);

    // From the first frame; `loops` more times after the first (-1: for ever).
    void start(int loops);
    void stop() { playing_ = false; }
    bool playing() const { return playing_; }
    bool decoded_while_playing() const { return decoder_ != nullptr; }

    // Adds the next `frames` stereo frames onto `acc`; stops itself at the
    // end. Going round to the start happens inside one call, so a loop has
    // no gap.
    void mix_into(std::int32_t* acc, std::size_t frames);

private:
    bool next_piece();

    AudioClip clip_;
    std::unique_ptr<Mp3Decoder> decoder_;
    std::vector<std::int16_t> piece_;  // stereo, decoded music
    std::size_t piece_frames_ = 0;
    std::size_t pos_ = 0;  // in the clip, or in the piece
    int loops_left_ = 0;
    bool playing_ = false;
};

// Adds `frames` frames of `pcm` (`channels` 1 or 2) onto the stereo
// accumulator; mono goes to both sides at full level.
void add_frames(std::int32_t* acc, const std::int16_t* pcm, int channels, std::size_t frames);

#endif
