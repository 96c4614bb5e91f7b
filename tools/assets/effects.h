#ifndef TIREVANE_TOOLS_EFFECTS_H
#define TIREVANE_TOOLS_EFFECTS_H

#include <string>

// The shot sounds as 16-bit WAV files. The four the game reads as WAV go
// straight to their places under `root`; the three it reads as WMA go to
// `work` as future_plasma.wav, high_flight_combat.wav and heavy_weapon.wav
// for tools/make-assets to encode.
void make_effects(const std::string& root, const std::string& work);

#endif
