#ifndef TIREVANE_AUDIO_WMA_CLIENT_H
#define TIREVANE_AUDIO_WMA_CLIENT_H

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio_clip.h"

// WMA sounds are decoded by a helper program, tirevane-wma-decoder, in a
// process of its own: FFmpeg's libraries would otherwise double the game's
// memory for three short visor sounds. The helper is looked for beside the
// game's executable; the environment variable TIREVANE_WMA_DECODER names
// another one (the tests point it at the build's copy).
namespace wma_client {

constexpr double kDeadlineSeconds = 2.0;

// Whether the bytes start like an ASF (WMA) file.
bool looks_like_wma(const unsigned char* head, std::size_t size);

// The helper's path: TIREVANE_WMA_DECODER, else beside /proc/self/exe.
std::string decoder_path();

// Runs `decoder` on `path` and reads its sound back, killing it after
// `deadline_seconds`. On failure prints one line naming the file and
// why, and gives nothing: that sound stays silent.
std::optional<AudioClip> decode(const char* path, const std::string& decoder,
                                double deadline_seconds = kDeadlineSeconds);

// The clip in the decoder's whole output, if it is complete and well formed.
std::optional<AudioClip> parse_answer(const std::vector<char>& bytes);

}  // namespace wma_client

#endif
