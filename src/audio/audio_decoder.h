#ifndef TIREVANE_AUDIO_AUDIO_DECODER_H
#define TIREVANE_AUDIO_AUDIO_DECODER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/non_copyable.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

// Reads a sound file of any format FFmpeg knows (WAV, MP3, WMA...) as
// interleaved signed 16-bit stereo at 44100 Hz, a piece at a time, so long
// music can be played without decoding it whole. Mono is copied to both
// sides at full level.
class AudioDecoder : NonCopyable {
public:
    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

    AudioDecoder() = default;
    ~AudioDecoder();

    // False for a missing file or one without a decodable audio stream.
    bool open(const char* path);
    // Writes up to `frames` stereo frames into `out`; fewer only at the end.
    std::size_t read(std::int16_t* out, std::size_t frames);
    // Back to the first frame; false when the file cannot seek.
    bool rewind();
    // Length from the container's header, in seconds; negative if unknown.
    double duration_seconds() const;

    // Everything from here to the end; false when nothing could be decoded.
    bool read_all(std::vector<std::int16_t>& pcm);

    // The whole file at once (samples); false when nothing could be decoded.
    static bool decode_file(const char* path, std::vector<std::int16_t>& pcm);

private:
    bool decode_more();
    bool convert(const AVFrame* frame);
    bool prepare_resampler(const AVFrame* frame);
    void flush_resampler();
    void release();

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    SwrContext* swr_ = nullptr;
    int stream_index_ = -1;
    // The resampler's input as last configured, to notice a mid-file change.
    int swr_format_ = -1;
    int swr_rate_ = 0;
    int swr_channels_ = 0;

    std::vector<std::int16_t> pending_;  // converted, not yet read
    std::size_t pending_pos_ = 0;
    bool draining_ = false;
    bool finished_ = false;
    bool at_start_ = true;
};

#endif
