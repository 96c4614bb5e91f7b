#ifndef TIREVANE_TESTS_GAME_ON_SCREEN_H
#define TIREVANE_TESTS_GAME_ON_SCREEN_H

#include <algorithm>

#include "core/surface.h"
#include "test_support.h"

// What a frame shows, read from the screen surface the way a player sees it.
namespace gametest {

// Whether the screen shows `picture` with its top-left corner at (x, y):
// every pixel of it that is not the colour key and falls on the screen.
inline bool shows_at(SDL_Surface* screen, const SurfacePtr& picture, int x, int y)
{
    if (!picture) {
        return false;
    }
    for (int py = std::max(0, -y); py < picture->h && y + py < screen->h; ++py) {
        for (int px = std::max(0, -x); px < picture->w && x + px < screen->w; ++px) {
            const SDL_Color own = testsupport::pixel_at(picture.get(), px, py);
            if (!testsupport::same_colour(own, kColourKey, 0) &&
                !testsupport::same_colour(testsupport::pixel_at(screen, x + px, y + py), own)) {
                return false;
            }
        }
    }
    return true;
}

// The same with the picture centred on (x, y), as the visor stands.
inline bool shows_centred(SDL_Surface* screen, const SurfacePtr& picture, int x, int y)
{
    return picture && shows_at(screen, picture, x - picture->w / 2, y - picture->h / 2);
}

}  // namespace gametest

#endif
