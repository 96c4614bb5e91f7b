#ifndef TIREVANE_TEST_SCRIPTED_CLOCK_H
#define TIREVANE_TEST_SCRIPTED_CLOCK_H

#include <SDL.h>

#include <functional>

#include "core/clock.h"
#include "test_support.h"

namespace testsupport {

// A clock that moves only when the loop sleeps, by the time asked plus an
// optional jump, and lets a test act at each sleep (push events, inspect).
class ScriptedClock final : public Clock {
public:
    explicit ScriptedClock(Uint32 start = 1000) : now_(start) { set_game_clock(this); }
    ~ScriptedClock() override { set_game_clock(nullptr); }

    Uint32 ticks() override { return now_; }
    void delay(Uint32 ms) override
    {
        now_ += ms + jump;
        ++delays_;
        if (on_delay) {
            on_delay(now_);
        }
    }
    Uint32 now() const { return now_; }
    unsigned delays() const { return delays_; }

    Uint32 jump = 0;
    std::function<void(Uint32 now)> on_delay;

private:
    Uint32 now_;
    unsigned delays_ = 0;
};

}  // namespace testsupport

#endif
