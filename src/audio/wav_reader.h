#ifndef TIREVANE_AUDIO_WAV_READER_H
#define TIREVANE_AUDIO_WAV_READER_H

#include <cstddef>
#include <optional>

#include "audio/audio_clip.h"

// RIFF/WAVE files of 8-bit unsigned or 16-bit signed PCM, mono or stereo,
// at any rate (brought to `rate` when it differs).
namespace wav_reader {

// Whether the bytes start like a RIFF/WAVE file.
bool looks_like_wav(const unsigned char* head, std::size_t size);

// Nothing for a missing file, another format or one without sound. A file
// cut short plays what it holds.
std::optional<AudioClip> load(const char* path, int rate);
// The same on the file's bytes.
std::optional<AudioClip> decode(const unsigned char* bytes, std::size_t size, int rate);

}  // namespace wav_reader

#endif
