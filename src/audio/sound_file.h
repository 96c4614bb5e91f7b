#ifndef TIREVANE_AUDIO_SOUND_FILE_H
#define TIREVANE_AUDIO_SOUND_FILE_H

#include <memory>
#include <optional>

#include "audio/audio_clip.h"
#include "audio/audio_stream.h"

// Opening a sound file by what it holds, not by its name: RIFF/WAVE is read
// here, ASF (WMA) by the decoder program, anything else is tried as MP3.
// A missing or undecodable file gives nothing and prints nothing, except a
// WMA the decoder program fails on, which is told in one line.
namespace sound_file {

// The whole sound (samples).
std::optional<AudioClip> load(const char* path);

// A stream: MP3 decoded while it plays, the other formats held whole.
std::unique_ptr<AudioStream> open_stream(const char* path);

}  // namespace sound_file

#endif
