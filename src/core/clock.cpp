#include "core/clock.h"

namespace {

class SdlClock final : public Clock {
public:
    Uint32 ticks() override { return SDL_GetTicks(); }
    void delay(Uint32 ms) override { SDL_Delay(ms); }
    bool wait_event(SDL_Event& event) override { return SDL_WaitEvent(&event) == 1; }
};

SdlClock sdl_clock;
Clock* current = &sdl_clock;

}  // namespace

Clock& game_clock()
{
    return *current;
}

void set_game_clock(Clock* clock)
{
    current = clock ? clock : &sdl_clock;
}
