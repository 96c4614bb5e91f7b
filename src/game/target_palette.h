#ifndef TIREVANE_GAME_TARGET_PALETTE_H
#define TIREVANE_GAME_TARGET_PALETTE_H

#include "core/colours.h"

// The targets' own colours, from the cheapest to the dearest: a target of
// colour type t is worth (t + 1) points per size class. The asset generator
// draws the how-to-play table and the intro's targets from it too.
constexpr int kTargetColourCount = 8;
constexpr SDL_Color kTargetColours[kTargetColourCount] = {
    rgb(255, 255, 255), rgb(255, 255, 0), rgb(255, 121, 0), rgb(255, 0, 0),
    rgb(128, 0, 128),   rgb(0, 0, 255),   rgb(92, 49, 10),  rgb(2, 2, 2),
};

#endif
