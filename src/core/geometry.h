#ifndef TIREVANE_CORE_GEOMETRY_H
#define TIREVANE_CORE_GEOMETRY_H

#include <SDL.h>

// The one window the game draws in, and where things stand on it.
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kScreenCentreX = kScreenWidth / 2;
constexpr int kScreenCentreY = kScreenHeight / 2;

// A blit destination: only x and y count, SDL writes the rest back.
inline SDL_Rect rect_at(Sint16 x, Sint16 y)
{
    SDL_Rect r;
    r.x = x;
    r.y = y;
    r.w = 0;
    r.h = 0;
    return r;
}

// Left edge that centres something `width` wide (integer halving).
inline Sint16 centred_x(int width)
{
    return static_cast<Sint16>(kScreenCentreX - width / 2);
}

// Top edge that centres something `height` tall.
inline Sint16 centred_y(int height)
{
    return static_cast<Sint16>(kScreenCentreY - height / 2);
}

#endif
