#ifndef TIREVANE_TEST_SUPPORT_H
#define TIREVANE_TEST_SUPPORT_H

#include <SDL.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>

#include "core/clock.h"
#include "menu/menu_layouts.h"

namespace testsupport {

// A private copy of the game's folder (System/ and the fonts) made the
// working directory for the test's lifetime, so tests never touch the
// committed data files and can run in parallel.
class GameDir {
public:
    GameDir();
    ~GameDir();
    GameDir(const GameDir&) = delete;
    GameDir& operator=(const GameDir&) = delete;

    const std::filesystem::path& path() const { return dir_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};

// SDL video (dummy driver unless the environment says otherwise), the font
// renderer and the 800x600x32 window, as the game opens them.
class VideoSession {
public:
    VideoSession();
    ~VideoSession();
    VideoSession(const VideoSession&) = delete;
    VideoSession& operator=(const VideoSession&) = delete;

    SDL_Surface* screen() const { return screen_; }

private:
    SDL_Surface* screen_ = nullptr;
};

// The clock, and the player's pace, standing in for SDL's. Time moves only
// when the game sleeps (by what it asks, plus `jump`), when it waits for the
// player's next event (by `think_ms`, 0 unless a test sets it), when a test
// advances it, or by what `busy` says the game's own work took so far (a
// slow display, say). Waiting for an event never blocks: with none queued,
// `when_idle` may queue the player's next move; with still none, the event
// system counts as gone and every screen returns.
class FakeClock final : public Clock {
public:
    explicit FakeClock(Uint32 start = 1000) : now_(start) { set_game_clock(this); }
    ~FakeClock() override { set_game_clock(nullptr); }

    Uint32 ticks() override { return now_ + (busy ? busy() : 0); }
    void delay(Uint32 ms) override
    {
        now_ += ms + jump;
        total_delay_ += ms;
        ++delays_;
        if (each_sleep) {
            each_sleep();
        }
        if (on_delay) {
            on_delay(now_);
        }
    }
    bool wait_event(SDL_Event& event) override
    {
        now_ += think_ms;
        if (SDL_PollEvent(&event) == 1) {
            return true;
        }
        if (when_idle) {
            when_idle();
        }
        return SDL_PollEvent(&event) == 1;
    }
    // With nothing more to come, the time runs on to the deadline.
    bool wait_event_until(SDL_Event& event, Uint32 deadline) override
    {
        if (wait_event(event)) {
            return true;
        }
        if (static_cast<Sint32>(deadline - now_) > 0) {
            now_ = deadline;
        }
        return false;
    }
    void advance(Uint32 ms) { now_ += ms; }
    Uint32 now() const { return now_; }
    unsigned delays() const { return delays_; }
    Uint64 total_delay() const { return total_delay_; }

    Uint32 jump = 0;
    Uint32 think_ms = 0;
    std::function<Uint32()> busy;
    // Runs at every sleep before on_delay, for what goes on all along
    // whatever a test scripts (a listener hearing each frame's shots).
    std::function<void()> each_sleep;
    // Runs at the end of every sleep, e.g. to queue what the player does.
    std::function<void(Uint32 now)> on_delay;
    std::function<void()> when_idle;

private:
    Uint32 now_;
    Uint64 total_delay_ = 0;
    unsigned delays_ = 0;
};

// Event injection; each returns false when SDL's queue is full.
bool push_key(SDLKey key);
bool push_key_up(SDLKey key);
bool push_quit();
bool push_motion(int x, int y);
bool push_button(Uint8 type, Uint8 button, int x, int y);
bool push_click(int x, int y, Uint8 button = SDL_BUTTON_LEFT);  // press + release
bool push_active(Uint8 gain, Uint8 state);
void drain_events();

// The player's input, one step for each time a screen waits with nothing
// queued: the player looks at it for `look_ms`, then acts. A step pushed
// up front would reach a screen too early for its presses to count
// (input::kSettleMs). Installed on the clock for the object's lifetime.
class ScreenScript {
public:
    explicit ScreenScript(FakeClock& clock, Uint32 look_ms = 1000);
    ~ScreenScript();
    ScreenScript(const ScreenScript&) = delete;
    ScreenScript& operator=(const ScreenScript&) = delete;

    ScreenScript& then(std::function<void()> push_events);
    ScreenScript& then_click(int x, int y);

    size_t steps_left() const { return steps_.size(); }

private:
    FakeClock& clock_;
    Uint32 look_ms_;
    std::deque<std::function<void()>> steps_;
};

// Stands in for the display's full-screen switch while it lives: counts the
// switches asked of it, which succeed unless `can_switch` is false.
class FakeDisplaySwitch {
public:
    FakeDisplaySwitch();
    ~FakeDisplaySwitch();
    FakeDisplaySwitch(const FakeDisplaySwitch&) = delete;
    FakeDisplaySwitch& operator=(const FakeDisplaySwitch&) = delete;

    int switches = 0;
    SDL_Surface* switched_surface = nullptr;
    bool can_switch = true;
};

// A player's click on an item of one of the game's menus, on its text.
void click_item(const MenuLayout& layout, const char* label);

// The pixel at (x, y) of a surface as (r, g, b).
SDL_Color pixel_at(SDL_Surface* surface, int x, int y);
bool same_colour(SDL_Color a, SDL_Color b, int tolerance = 1);

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// Where the repository (with the committed assets) lives.
std::filesystem::path source_dir();

}  // namespace testsupport

#endif
