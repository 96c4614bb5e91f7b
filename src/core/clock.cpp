#include "core/clock.h"

#include <algorithm>

namespace {

class SdlClock final : public Clock {
public:
    Uint32 ticks() override { return SDL_GetTicks(); }
    void delay(Uint32 ms) override { SDL_Delay(ms); }
    bool wait_event(SDL_Event& event) override { return SDL_WaitEvent(&event) == 1; }
    // SDL 1.2 has no timed wait; its own SDL_WaitEvent looks every 10 ms too.
    bool wait_event_until(SDL_Event& event, Uint32 deadline) override
    {
        for (;;) {
            if (SDL_PollEvent(&event) == 1) {
                return true;
            }
            const Sint32 left = static_cast<Sint32>(deadline - SDL_GetTicks());
            if (left <= 0) {
                return false;
            }
            SDL_Delay(static_cast<Uint32>(std::min<Sint32>(left, kLookMs)));
        }
    }

private:
    static constexpr Sint32 kLookMs = 10;
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
