#ifndef TIREVANE_GAME_TARGET_H
#define TIREVANE_GAME_TARGET_H

#include <SDL.h>

#include "core/surface.h"

// One coloured rectangle rising from the status bar. Its colour and size
// decide its points; it fades out in the top band and once it is dead.
class Target : NonCopyable {
public:
    // Draws orientation, colour, x position and speed from RandomRange, in
    // that order (four rand() calls).
    Target(Sint16 size_class, double speed_bonus);
    ~Target() = default;

    // Advances one frame (move, fades) and blits the target.
    void update_and_draw(SDL_Surface* screen);
    // Blits it where it stands, without moving it.
    void draw(SDL_Surface* screen);
    // Inclusive test of the event's pointer position against the rectangle;
    // events that carry no position hit nothing. Ignores `alive`.
    bool hit_test(const SDL_Event& event) const;
    Sint16 points() const { return point_value; }
    bool is_alive() const { return alive != 0; }
    void kill() { alive = 0; }
    Uint8 current_alpha() const { return alpha; }
    // Where the target stands and its size, as hit_test sees it.
    SDL_Rect box() const;

private:
    friend struct MatchSeam;  // places targets for tests and benchmarks

    Uint8 fade_step() const;
    void fade();

    SurfacePtr surface;
    SDL_Rect rect;
    Uint8 alpha = 255;
    Sint16 long_side;
    Sint16 short_side;
    Sint32 colour_type = 0;
    Sint16 point_value = 0;
    Uint8 alive = 1;
    double rise = 0.0;
    Sint16 size_class;
};

#endif
