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

    // What the visor shows and where, for tests: null pictures where the
    // files are missing.
    SDL_Surface* normal_picture() const { return normal.get(); }
    SDL_Surface* over_picture() const { return over.get(); }
    SDL_Rect position() const { return pos; }
    bool is_over_target() const { return over_target; }
    const FSOUND_SAMPLE* hit_sound() const { return hit; }
    const FSOUND_SAMPLE* miss_sound() const { return miss; }

private:
    SurfacePtr normal;
    SurfacePtr over;
    SDL_Rect pos;
    bool over_target = false;
    FSOUND_SAMPLE* hit = nullptr;
    FSOUND_SAMPLE* miss = nullptr;
};

#endif
