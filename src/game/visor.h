#ifndef TIREVANE_GAME_VISOR_H
#define TIREVANE_GAME_VISOR_H

#include <SDL.h>

#include "audio/fsound.h"
#include "core/surface.h"

// The player's sight: one row of the visor table, drawn centred on the
// pointer, its second picture while it rests on a live target, and the
// sounds of a shot through it (the row's hit sound, the common miss).
class Visor : NonCopyable {
public:
    // Rows outside the table (a hand-edited options file) play as row 0.
    // Starts centred on the middle of the screen, until the pointer moves.
    explicit Visor(Sint16 row);
    ~Visor();

    void centre_on(Uint16 x, Uint16 y);
    void show_over_target(bool over) { over_target = over; }
    void draw(SDL_Surface* screen) const;
    void play_hit() const;
    void play_miss() const;

private:
    SurfacePtr normal;
    SurfacePtr over;
    SDL_Rect pos;
    bool over_target = false;
    FSOUND_SAMPLE* hit = nullptr;
    FSOUND_SAMPLE* miss = nullptr;
};

#endif
