#ifndef TIREVANE_TEST_SUPPORT_H
#define TIREVANE_TEST_SUPPORT_H

#include <SDL.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>

#include "core/clock.h"

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

// A clock that moves only when the game waits on it (or a test advances it).
class FakeClock final : public Clock {
public:
    explicit FakeClock(Uint32 start = 1000) : now_(start) { set_game_clock(this); }
    ~FakeClock() override { set_game_clock(nullptr); }

    Uint32 ticks() override { return now_; }
    void delay(Uint32 ms) override
    {
        now_ += ms;
        total_delay_ += ms;
        if (on_delay) {
            on_delay(ms);
        }
    }
    void advance(Uint32 ms) { now_ += ms; }
    Uint64 total_delay() const { return total_delay_; }

    // Runs at the end of every wait, e.g. to queue what the player does
    // during a pause.
    std::function<void(Uint32 ms)> on_delay;

private:
    Uint32 now_;
    Uint64 total_delay_ = 0;
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

// The input of the screens a test opens, one step per screen. The game drops
// the mouse presses queued before a screen takes input (drop_stale_presses),
// so a path of clicks cannot be queued up front: each step is pushed right
// after the next drop, i.e. for the screen about to take over. Drops past the
// last step push nothing. Installed for the object's lifetime.
class ScreenScript {
public:
    ScreenScript();
    ~ScreenScript();
    ScreenScript(const ScreenScript&) = delete;
    ScreenScript& operator=(const ScreenScript&) = delete;

    ScreenScript& then(std::function<void()> push_events);
    ScreenScript& then_click(int x, int y);

    unsigned drops() const { return drops_; }
    size_t steps_left() const { return steps_.size(); }

private:
    void on_drop();

    std::deque<std::function<void()>> steps_;
    unsigned drops_ = 0;
};

// The pixel at (x, y) of a surface as (r, g, b).
SDL_Color pixel_at(SDL_Surface* surface, int x, int y);
bool same_colour(SDL_Color a, SDL_Color b, int tolerance = 1);

std::string read_file(const std::filesystem::path& path);
void write_file(const std::filesystem::path& path, const std::string& bytes);

// Where the repository (with the committed assets) lives.
std::filesystem::path source_dir();

}  // namespace testsupport

#endif
