#ifndef TIREVANE_GAME_SURFACE_SIZE_H
#define TIREVANE_GAME_SURFACE_SIZE_H

#include <SDL.h>

// Sizes of surfaces that could not be made count as 0, so a missing font or
// picture only leaves that piece undrawn and every layout stays defined.
inline int width_of(const SDL_Surface* surface)
{
    return surface ? surface->w : 0;
}

inline int height_of(const SDL_Surface* surface)
{
    return surface ? surface->h : 0;
}

#endif
