#ifndef TIREVANE_AUDIO_AUDIO_FEEDER_H
#define TIREVANE_AUDIO_AUDIO_FEEDER_H

#include <AL/al.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "core/non_copyable.h"

class AudioDecoder;

// Plays a long file on one source from a small ring of queued buffers,
// refilled by a thread of its own as they are used up. While it lives, the
// thread alone touches the decoder; destroying it stops the source and
// joins the thread at once.
class AudioFeeder : NonCopyable {
public:
    static constexpr int kBuffers = 4;
    static constexpr int kBufferFrames = 11025;  // a quarter of a second
    static constexpr int kPollMs = 20;

    // `loops`: how many more times to play after the first; -1 for ever.
    AudioFeeder(ALuint source, AudioDecoder& decoder, int loops);
    ~AudioFeeder();

    // True once the whole sound has been queued (or the feeder gave up):
    // nothing more will be added to the source.
    bool finished() const { return finished_.load(); }

    // Bytes of sound data this feeder holds (its buffers and scratch piece).
    static std::size_t held_bytes();

private:
    void run();
    void feed();
    bool fill(ALuint buffer);
    bool wait_poll();
    void refill_processed();

    ALuint source_;
    AudioDecoder& decoder_;
    int loops_;
    bool ended_ = false;
    std::array<ALuint, kBuffers> buffers_{};
    std::vector<std::int16_t> piece_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

#endif
