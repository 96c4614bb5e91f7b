#ifndef TIREVANE_AUDIO_MP3_DECODER_H
#define TIREVANE_AUDIO_MP3_DECODER_H

#include <cstddef>
#include <cstdint>
#include <optional>

#include "audio/audio_clip.h"
#include "audio/audio_mixer.h"
#include "core/non_copyable.h"

struct mpg123_handle_struct;

// An MP3 file read a piece at a time as interleaved 16-bit stereo at
// 44100 Hz (libmpg123 converts mono and other rates itself), so the music
// is decoded while it plays instead of held whole.
class Mp3Decoder : NonCopyable {
public:
    Mp3Decoder() = default;
    ~Mp3Decoder();

    // False unless the file yields sound: opening reads up to its first
    // frame.
    bool open(const char* path);
    // Writes up to `frames` stereo frames; fewer only at the end.
    std::size_t read(std::int16_t* out, std::size_t frames);
    // Back to the first frame; false if the file cannot seek.
    bool rewind();

    // The whole file as a clip; nothing when it yields no sound.
    static std::optional<AudioClip> decode_file(const char* path);

private:
    void release();

    mpg123_handle_struct* handle_ = nullptr;
};

#endif
