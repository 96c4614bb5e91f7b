#ifndef TIREVANE_WMA_DECODER_PCM_PIPE_H
#define TIREVANE_WMA_DECODER_PCM_PIPE_H

#include <cstdint>

// What tirevane-wma-decoder writes on its standard output for the game to
// read: this header, then `frames` frames of interleaved signed 16-bit
// samples in the machine's byte order. Exit status 0 only when all of it
// was written.
namespace pcm_pipe {

constexpr char kMagic[4] = {'T', 'V', 'P', 'C'};
constexpr std::uint32_t kRate = 44100;
// Ten minutes: anything longer is not a shot sound and is refused.
constexpr std::uint32_t kMaxFrames = 10u * 60u * kRate;

struct Header {
    char magic[4];
    std::uint32_t channels;  // 1 or 2
    std::uint32_t rate;      // always kRate
    std::uint32_t frames;
};

// Exit statuses besides 0.
constexpr int kExitUsage = 2;
constexpr int kExitUndecodable = 3;
constexpr int kExitWriteFailed = 4;

}  // namespace pcm_pipe

#endif
