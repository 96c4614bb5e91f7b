#ifndef TIREVANE_GAME_HUD_H
#define TIREVANE_GAME_HUD_H

#include <SDL.h>

#include "core/surface.h"

// The status bar at the foot of the match: a black bar under a white line,
// edged above in red, with the difficulty on the left, the seconds left in
// the middle and the score on the right. Texts are rendered only when what
// they show changes, not every frame, with fonts opened once.
class Hud : NonCopyable {
public:
    static constexpr Sint16 kBarY = 555;
    // The red edge above the bar: what a screen shows over the match
    // stands above it.
    static constexpr Sint16 kTop = kBarY - 2;

    // Renders the three texts; the countdown is rendered small first, which
    // fixes its left edge, and at full size on the first frame.
    Hud(Sint16 difficulty, Sint32 score, Uint16 seconds_left);
    ~Hud() = default;

    // A second went by: the countdown is rendered again on the next frame.
    // Until then it keeps showing what it showed, even if the seconds left
    // grew in between.
    void mark_countdown_dirty() { countdown_dirty = true; }
    // Draws the bar and its texts over the frame; the score text is
    // rendered again when `score` is not the one it shows.
    void draw(SDL_Surface* screen, Sint32 score, Uint16 seconds_left);

private:
    void render_score(Sint32 score);
    void render_countdown(Uint16 seconds_left, TTF_Font* font);

    FontPtr text_font;
    FontPtr countdown_font;
    SurfacePtr white_line;
    SurfacePtr bar;
    SurfacePtr red_line;
    SurfacePtr difficulty_surface;
    SurfacePtr score_surface;
    SurfacePtr countdown_surface;
    SDL_Rect bar_pos;
    SDL_Rect red_line_pos;
    SDL_Rect difficulty_pos;
    SDL_Rect score_pos;
    SDL_Rect countdown_pos;
    Sint32 score_shown = 0;
    bool countdown_dirty = true;
};

#endif
