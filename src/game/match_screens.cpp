#include "game/match.h"

#include <cstdio>

#include "app/assets.h"
#include "game/surface_size.h"

namespace {

const SDL_Color kMagenta = rgb(193, 0, 165);
const SDL_Color kRed = rgb(255, 0, 0);

// x that centres `text` on the 800-pixel width.
Sint16 centred_x(const SDL_Surface* text)
{
    return static_cast<Sint16>(400 - width_of(text) / 2);
}

void wait_for_key()
{
    SDL_Event own;
    do {
        if (!SDL_WaitEvent(&own)) {
            return;  // the event system is gone: nothing can ever arrive
        }
    } while (own.type != SDL_KEYDOWN);
}

}  // namespace

void Match::pause(SDL_Surface* screen, SDL_Event& wait_event)
{
    SDL_Surface* text = render_blended(assets::kHudFont, 50, ".:: PAusE ::.", kMagenta);
    SDL_Rect at = rect_at(centred_x(text), static_cast<Sint16>(300 - height_of(text) / 2));
    blit_at(text, screen, at);
    SDL_Flip(screen);
    free_surface(text);

    while (!window_active) {
        // Once no event can arrive any more, nothing could end the pause.
        const bool events_lost = !SDL_WaitEvent(&wait_event);
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

    SDL_Surface* title = render_blended(assets::kHudFont, 50, ".:: Game Over ::.", kRed);
    SDL_Surface* score_line = render_blended(assets::kHudFont, 20, line, kRed);
    SDL_Surface* prompt = render_blended(
        assets::kHudFont, 20, ".:: Appuyez sur une touche pour continuer ::.", kMagenta);

    const int block_height = height_of(title) + height_of(score_line) + height_of(prompt);
    const int top = 300 - block_height / 2;
    SDL_Rect title_at = rect_at(centred_x(title), static_cast<Sint16>(top));
    SDL_Rect score_at = rect_at(centred_x(score_line), static_cast<Sint16>(top + height_of(title)));
    SDL_Rect prompt_at = rect_at(
        centred_x(prompt), static_cast<Sint16>(top + height_of(title) + height_of(score_line)));
    blit_at(title, screen, title_at);
    blit_at(score_line, screen, score_at);
    blit_at(prompt, screen, prompt_at);
    SDL_Flip(screen);

    ended = 1;
    free_surface(title);
    free_surface(score_line);
    free_surface(prompt);
    wait_for_key();
}
