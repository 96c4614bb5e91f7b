#ifndef TIREVANE_MENU_SCREEN_BLANKER_H
#define TIREVANE_MENU_SCREEN_BLANKER_H

#include <SDL.h>

#include "core/surface.h"

// A black full-screen layer that an action blits right before running the
// screen it opens: menus draw their first frame over whatever is there.
class ScreenBlanker : NonCopyable {
public:
    ScreenBlanker();
    ~ScreenBlanker() = default;

    void blank(SDL_Surface* screen);

private:
    SurfacePtr layer;
};

#endif
