#ifndef TIREVANE_CORE_COLOURS_H
#define TIREVANE_CORE_COLOURS_H

#include <SDL.h>

inline constexpr SDL_Color rgb(Uint8 r, Uint8 g, Uint8 b)
{
    return SDL_Color{r, g, b, 0};
}

// The game's palette, named once.
constexpr SDL_Color kBlack = rgb(0, 0, 0);
constexpr SDL_Color kWhite = rgb(255, 255, 255);
constexpr SDL_Color kRed = rgb(255, 0, 0);
constexpr SDL_Color kGreen = rgb(0, 255, 0);
constexpr SDL_Color kMagenta = rgb(193, 0, 165);
// Pixels of this colour in cursor and visor pictures are transparent.
constexpr SDL_Color kColourKey = rgb(255, 255, 0);

#endif
