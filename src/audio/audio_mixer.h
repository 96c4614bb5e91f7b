#ifndef TIREVANE_AUDIO_AUDIO_MIXER_H
#define TIREVANE_AUDIO_AUDIO_MIXER_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/audio_clip.h"
#include "core/non_copyable.h"
#include "wma_decoder/pcm_pipe.h"

class AudioStream;

// Sums what plays into 16-bit stereo at 44100 Hz: a fixed set of voices
// for samples (a shot started on the first free one, or on the one started
// longest ago when all are busy) and the streams, each on its own. Only
// what plays costs anything: with nothing playing, mixing is one memset.
// Not locked itself: the device's callback calls mix() under the device's
// lock, and whoever changes what plays holds that lock too.
class AudioMixer : NonCopyable {
public:
    // The one rate of every sound the game plays, the WMA decoder's answer
    // included.
    static constexpr int kRate = static_cast<int>(pcm_pipe::kRate);
    static constexpr int kMaxVoices = 128;

    explicit AudioMixer(int voices);

    // Writes the next `frames` stereo frames to `out`.
    void mix(std::int16_t* out, std::size_t frames);
    // For an output that keeps its sound queued far ahead (the page's): the
    // sounds started since the last mix, alone, for their next `frames`
    // frames, to be played at once over what is queued; mix() goes on from
    // there. False, writing nothing, when none started.
    bool mix_started(std::int16_t* out, std::size_t frames);

    void play(const AudioClip* clip);
    // Silences every voice playing `clip`, so it can go.
    void stop(const AudioClip* clip);
    void add(AudioStream* stream);
    // Forgets `stream`, so it can go or be started again.
    void remove(AudioStream* stream);

private:
    // Mixed this many frames at a time, into a fixed accumulator.
    static constexpr std::size_t kBlock = 1024;

    struct Voice {
        const AudioClip* clip = nullptr;  // null: free
        std::size_t pos = 0;
        std::uint64_t started = 0;
        bool fresh = false;  // started since the last mix
    };

    void mix_block(std::int16_t* out, std::size_t frames, bool started_only);
    void forget_started();

    std::vector<Voice> voices_;
    std::vector<AudioStream*> streams_;
    std::vector<AudioStream*> started_streams_;  // since the last mix
    std::uint64_t starts_ = 0;
    int busy_ = 0;
    std::array<std::int32_t, kBlock * 2> acc_{};
};

#endif
