#ifndef TIREVANE_APP_INTRO_H
#define TIREVANE_APP_INTRO_H

#include <SDL.h>

#include "core/frame_pacer.h"
#include "core/surface.h"

// The opening sequence: "presents" fades in, cross-fades into the game's
// title card, which fades to black while the red title comes up where the
// main menu's title starts. Any key or a left click skips it; Escape or
// closing the window aborts the program. Every flip is held to a 60 Hz display's pace.
class Intro : NonCopyable {
public:
    Intro();
    ~Intro() = default;

    // true: aborted (Escape or quit request); false: completed or skipped.
    bool run(SDL_Surface* screen);
    // Drains pending events; true means abort.
    bool poll_input();

    void fade_presents(Uint8 step, SDL_Surface* screen);
    void fade_name(Uint8 step, SDL_Surface* screen);
    void fade_title(Uint8 step, SDL_Surface* screen);
    void fade_black(Uint8 step, SDL_Surface* screen);

private:
    // Sets the layer's alpha to its counter, blits it, then moves the counter
    // by `step` (8-bit: a step of 254 lowers it by 2).
    void fade(const SurfacePtr& layer, SDL_Rect pos, Uint8& counter, Uint8 step, SDL_Surface* screen);
    void flip(SDL_Surface* screen);

    SurfacePtr presents;
    SurfacePtr name_picture;
    SurfacePtr title;
    SurfacePtr black_layer;
    SDL_Rect picture_pos;
    SDL_Rect title_pos;
    FramePacer pacer;
    SDL_Event event;
    Uint8 skip;
    Uint8 alpha_presents;
    Uint8 alpha_name;
    Uint8 alpha_black;
    Uint8 alpha_title;
};

#endif
