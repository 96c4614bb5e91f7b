#include "game/match.h"

#include <algorithm>

namespace {

constexpr Sint16 kLastDifficulty = 2;

SDL_Event no_event()
{
    SDL_Event e;
    SDL_memset(&e, 0, sizeof e);
    e.type = SDL_NOEVENT;
    return e;
}

// 5 s to play per difficulty step, 5 s at the easiest.
Uint16 starting_seconds(Sint16 difficulty)
{
    return static_cast<Uint16>((difficulty + 1) * 5);
}

}  // namespace

Match::Match(Sint16 visor_row, Sint16 difficulty_index, Sint32 start_score)
    : difficulty(std::clamp<Sint16>(difficulty_index, 0, kLastDifficulty)),
      score(start_score),
      seconds_left(starting_seconds(difficulty)),
      hud(difficulty, score, seconds_left),
      visor(visor_row),
      event(no_event())
{
}

void Match::draw_frame(SDL_Surface* screen)
{
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, kBlack.r, kBlack.g, kBlack.b));
    targets.update_and_draw_all(screen);
    visor.draw(screen);
    hud.draw(screen, score, seconds_left);
    SDL_Flip(screen);
}
