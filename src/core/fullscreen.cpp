#include "core/fullscreen.h"

#include <cstdio>
#include <utility>

#include "core/input.h"

namespace {

std::function<int(SDL_Surface*)>& switch_override()
{
    static std::function<int(SDL_Surface*)> replacement;
    return replacement;
}

}  // namespace

bool is_fullscreen_key(const SDL_Event& event)
{
    return event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_F11;
}

bool handle_fullscreen_key(const SDL_Event& event)
{
    if (!is_fullscreen_key(event)) {
        return false;
    }
    toggle_fullscreen();
    return true;
}

bool toggle_fullscreen()
{
    SDL_Surface* screen = SDL_GetVideoSurface();
    if (!screen) {
        return false;
    }
    const bool was_fullscreen = (screen->flags & SDL_FULLSCREEN) != 0;
    // SDL_WM_ToggleFullScreen keeps the surface; reopening the video mode
    // instead would free the one every screen holds.
    const std::function<int(SDL_Surface*)>& replacement = switch_override();
    const bool switched = (replacement ? replacement(screen) : SDL_WM_ToggleFullScreen(screen)) != 0;
    if (switched && input::pointer_in_window()) {
        // The picture moved under the pointer (one SDL re-centres it, the
        // other scales it) without saying where the pointer now falls on
        // it: putting the pointer back under the cursor, which SDL reports
        // as a motion there, keeps the two together.
        const input::Point at = input::pointer();
        SDL_WarpMouse(at.x, at.y);
    }
    if (!switched) {
        std::fprintf(stderr, "tirevane: this display cannot switch %s; the game stays %s\n",
                     was_fullscreen ? "back to a window" : "to full screen",
                     was_fullscreen ? "in full screen" : "in its window");
    }
    return switched;
}

void set_fullscreen_switch(std::function<int(SDL_Surface*)> replacement)
{
    switch_override() = std::move(replacement);
}
