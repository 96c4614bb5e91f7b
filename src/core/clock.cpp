#include "core/clock.h"

namespace {

class SdlClock final : public Clock {
public:
    Uint32 ticks() override { return SDL_GetTicks(); }
    void delay(Uint32 ms) override { SDL_Delay(ms); }
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
