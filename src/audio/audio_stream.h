#ifndef TIREVANE_AUDIO_AUDIO_STREAM_H
#define TIREVANE_AUDIO_AUDIO_STREAM_H

#include <AL/al.h>

#include <memory>

#include "core/non_copyable.h"

class AudioClip;
class AudioDecoder;
class AudioDevice;
class AudioFeeder;

// A sound file played on a source of its own. A short file (the menu shots)
// is decoded whole when opened so that replaying it costs nothing; a long
// one (the music) is only opened and is decoded while it plays.
class AudioStream : NonCopyable {
public:
    // Files up to this length are decoded whole when opened.
    static constexpr double kWholeSeconds = 2.0;
    // A finite loop count queues the whole sound this many times at most.
    static constexpr int kMaxQueuedLoops = 1024;

    // Null for a missing or undecodable file, or when no source is left.
    static std::unique_ptr<AudioStream> open(AudioDevice& device, const char* path);
    ~AudioStream();

    // From the start, also when already playing; `loops` more times after
    // the first (-1: for ever). Returns at once.
    void play(int loops);
    // Silent at once; the feeder thread, if any, is joined.
    void stop();

    ALuint source() const { return source_; }
    bool streamed() const { return decoder_ != nullptr; }
    // Whether a feeder thread still has sound to add to the source.
    bool feeding() const;

private:
    explicit AudioStream(ALuint source);
    void play_whole(int loops);

    ALuint source_;
    std::unique_ptr<AudioClip> clip_;
    std::unique_ptr<AudioDecoder> decoder_;
    std::unique_ptr<AudioFeeder> feeder_;
};

#endif
