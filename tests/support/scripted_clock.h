#ifndef TIREVANE_TEST_SCRIPTED_CLOCK_H
#define TIREVANE_TEST_SCRIPTED_CLOCK_H

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

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

// Keeps a blocked screen from hanging the test run: after a real-time limit
// it feeds the events that end every wait and records that it had to.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit = std::chrono::seconds(30))
        : thread_([this, limit] { watch(limit); })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    bool fired() const { return fired_; }

private:
    void watch(std::chrono::seconds limit)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (wake_.wait_for(lock, limit, [this] { return stop_; })) {
            return;
        }
        fired_ = true;
        while (!wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return stop_; })) {
            testsupport::push_active(1, SDL_APPINPUTFOCUS);
            testsupport::push_key(SDLK_ESCAPE);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

}  // namespace testsupport

#endif
