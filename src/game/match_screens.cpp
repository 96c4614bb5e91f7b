#include "game/match.h"

#include <cstdio>

#include "core/assets.h"
#include "core/fullscreen.h"
#include "core/surface.h"

namespace {

// The screen holds exactly what is shown; showing it again after a switch
// spares the player a blank screen until the next event. Returns whether
// the event was the full-screen key.
bool switch_and_show(const SDL_Event& event, SDL_Surface* screen)
{
    if (!handle_fullscreen_key(event)) {
        return false;
    }
    SDL_Flip(screen);
    return true;
}

void wait_for_key(SDL_Surface* screen)
{
    SDL_Event own;
    bool fullscreen_key = false;
    do {
        if (!SDL_WaitEvent(&own)) {
            return;  // the event system is gone: nothing can ever arrive
        }
        fullscreen_key = switch_and_show(own, screen);
    } while (fullscreen_key || own.type != SDL_KEYDOWN);
}

}  // namespace

void Match::pause(SDL_Surface* screen, SDL_Event& wait_event)
{
    SurfacePtr text = render_blended(assets::kHudFont, 50, ".:: PAusE ::.", kMagenta);
    SDL_Rect at = rect_at(centred_x(width_of(text)), centred_y(height_of(text)));
    blit_at(text, screen, at);
    SDL_Flip(screen);
    text.reset();

    while (!window_active) {
        // Once no event can arrive any more, nothing could end the pause.
        const bool events_lost = !SDL_WaitEvent(&wait_event);
        if (!events_lost) {
            switch_and_show(wait_event, screen);
        }
        if (events_lost || (wait_event.type == SDL_ACTIVEEVENT && wait_event.active.gain)) {
            window_active = 1;
        }
    }
}

void Match::game_over(SDL_Surface* screen)
{
    char line[64];
    std::snprintf(line, sizeof line, ".:: Votre Score : %ld ::.", static_cast<long>(score));
    score = 0;

    SurfacePtr title = render_blended(assets::kHudFont, 50, ".:: Game Over ::.", kRed);
    SurfacePtr score_line = render_blended(assets::kHudFont, 20, line, kRed);
    SurfacePtr prompt = render_blended(
        assets::kHudFont, 20, ".:: Appuyez sur une touche pour continuer ::.", kMagenta);

    const int block_height = height_of(title) + height_of(score_line) + height_of(prompt);
    const int top = centred_y(block_height);
    SDL_Rect title_at = rect_at(centred_x(width_of(title)), static_cast<Sint16>(top));
    SDL_Rect score_at =
        rect_at(centred_x(width_of(score_line)), static_cast<Sint16>(top + height_of(title)));
    SDL_Rect prompt_at = rect_at(centred_x(width_of(prompt)),
                                 static_cast<Sint16>(top + height_of(title) + height_of(score_line)));
    blit_at(title, screen, title_at);
    blit_at(score_line, screen, score_at);
    blit_at(prompt, screen, prompt_at);
    SDL_Flip(screen);

    ended = 1;
    title.reset();
    score_line.reset();
    prompt.reset();
    wait_for_key(screen);
}
