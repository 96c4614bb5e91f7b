#ifndef TIREVANE_TOOLS_MUSIC_H
#define TIREVANE_TOOLS_MUSIC_H

#include <string>

// The menu music as a stereo WAV at `path`, for tools/make-assets to encode
// as MP3: 16 bars at 100 beats per minute (38.4 s), a loop whose last
// sample leads straight into its first.
void make_music(const std::string& path);

#endif
