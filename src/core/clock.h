#ifndef TIREVANE_CORE_CLOCK_H
#define TIREVANE_CORE_CLOCK_H

#include <SDL.h>

// Where the game reads the time and waits: the match loop, the 1500 ms
// pauses after menu choices, and every wait for the player's next event.
// Tests replace it with a clock that only moves when asked, and play a
// whole match in milliseconds or a player who takes their time.
class Clock {
public:
    Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;
    virtual ~Clock() = default;

    virtual Uint32 ticks() = 0;
    virtual void delay(Uint32 ms) = 0;
    // Blocks until the next event comes; false once the event system is gone.
    virtual bool wait_event(SDL_Event& event) = 0;
    // The same, giving up at `deadline` (in ticks): false when it came first.
    virtual bool wait_event_until(SDL_Event& event, Uint32 deadline) = 0;
};

// The clock in force: SDL's own unless a test installed another.
Clock& game_clock();
// Installs `clock` (not owned); nullptr restores SDL's clock.
void set_game_clock(Clock* clock);

#endif
