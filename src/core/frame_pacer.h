#ifndef TIREVANE_CORE_FRAME_PACER_H
#define TIREVANE_CORE_FRAME_PACER_H

#include <SDL.h>

// Keeps animations made for a 60 Hz display at that pace: SDL_Flip does not
// wait for the screen's refresh, so without it they run as fast as the
// machine draws. After each flip that came sooner than the next refresh
// would, wait out the rest through game_clock(). Deadlines are counted from
// the start in exact 1000/60 ms steps, so 508 flips last about 8.47 s rather
// than 508 x 16 or 508 x 17 ms. A display slower than the rate gets no added
// wait.
class FramePacer {
public:
    static constexpr Uint32 kRateHz = 60;

    // Starts counting from now.
    FramePacer();

    void restart();
    // Call right after each flip.
    void wait_after_flip();

private:
    Uint32 start_ms;
    Uint32 frames;
};

#endif
