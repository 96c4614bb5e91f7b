#ifndef TIREVANE_TESTS_GAME_TEST_SUPPORT_H
#define TIREVANE_TESTS_GAME_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/clock.h"
#include "core/input.h"
#include "game/match.h"
#include "listener.h"
#include "test_support.h"

namespace gametest {

using testsupport::FakeClock;

// A game folder, the dummy window, a scripted clock and the player's ears
// for one match, reached through its public operations and MatchSeam.
class MatchTest : public ::testing::Test {
protected:
    MatchTest() { listen_at_every_sleep(clock); }

    void make(Sint16 visor, Sint16 difficulty, Sint32 start_score = 0)
    {
        listener.listen();  // what the match before left playing
        heard_so_far = {};
        match = std::make_unique<Match>(visor, difficulty, start_score);
    }

    // Plays the match to its end and returns how many events it left in the
    // queue; fails the test when the match ended before every scripted step
    // ran, since the checks inside those steps never did.
    int play()
    {
        shown_at = clock.now();
        match->run(screen());
        EXPECT_EQ(steps_run, steps_scripted) << "the match ended before every scripted step ran";
        int left = 0;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            ++left;
        }
        return left;
    }

    // Runs one step at each sleep of the loop (each step's events are taken
    // in the two iterations before the next sleep), once the match has been
    // shown long enough for a press to count, then presses Escape.
    void script(std::vector<std::function<void()>> steps)
    {
        steps_scripted = steps.size();
        steps_run = 0;
        clock.on_delay = [this, steps, done = false](Uint32 now) mutable {
            if (now - shown_at < input::kSettleMs) {
                return;
            }
            if (steps_run < steps.size()) {
                steps[steps_run++]();
            } else if (!done) {
                done = true;
                testsupport::push_key(SDLK_ESCAPE);
            }
        };
    }

    // Pushes `events` so that they are waiting when the countdown reaches
    // 0, behind one harmless event that the loop takes in that iteration.
    void at_expiry(std::function<void()> events)
    {
        clock.on_delay = [this, events, done = false](Uint32 now) mutable {
            if (!done && seconds_left() == 1 && now - MatchSeam::loop(*match).last_tick_ms >= 1000) {
                done = true;
                testsupport::push_motion(400, 300);
                events();
            }
        };
    }

    SDL_Surface* screen() const { return video.screen(); }
    Match& m() { return *match; }
    TargetList& targets() { return MatchSeam::targets(*match); }
    Target& add_target_at(int x, int y) { return MatchSeam::add_target(*match, x, y); }
    Sint32 score() const { return MatchSeam::score(*match); }
    Uint16 seconds_left() const { return MatchSeam::seconds_left(*match); }

    // The shots of the current match heard so far, as hit and miss sounds
    // of the first visor (the one these tests shoot with). Listening at
    // every sleep of the loop hears each frame's shots apart, the way they
    // reach a player.
    unsigned hits() { return heard().hits; }
    unsigned misses() { return heard().misses; }
    const testsupport::Heard& heard()
    {
        heard_so_far += listener.listen();
        EXPECT_EQ(heard_so_far.others, 0u) << "heard a sound that is no whole hit or miss";
        return heard_so_far;
    }
    // For a test that runs the match on a clock of its own.
    void listen_at_every_sleep(FakeClock& sleeper)
    {
        sleeper.each_sleep = [this] { heard_so_far += listener.listen(); };
    }

    testsupport::GameDir dir;
    testsupport::VideoSession video;
    FakeClock clock;
    testsupport::Listener listener;
    testsupport::Heard heard_so_far;
    std::unique_ptr<Match> match;
    Uint32 shown_at = 0;
    std::size_t steps_scripted = 0;
    std::size_t steps_run = 0;
};

inline bool same_pixels(SDL_Surface* a, SDL_Surface* b)
{
    if (!a || !b || a->w != b->w || a->h != b->h) {
        return false;
    }
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            if (!testsupport::same_colour(testsupport::pixel_at(a, x, y),
                                          testsupport::pixel_at(b, x, y), 0)) {
                return false;
            }
        }
    }
    return true;
}

inline bool colour_is(SDL_Surface* s, int x, int y, Uint8 r, Uint8 g, Uint8 b)
{
    return testsupport::same_colour(testsupport::pixel_at(s, x, y), rgb(r, g, b));
}

// How many of the picture's pixels that are not the colour key stand on
// the screen with their top-left corner at `at` (clipped at the edges).
inline int opaque_pixels_shown(SDL_Surface* picture, SDL_Surface* screen, SDL_Rect at)
{
    int shown = 0;
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            const int sx = at.x + x;
            const int sy = at.y + y;
            const SDL_Color own = testsupport::pixel_at(picture, x, y);
            if (sx < 0 || sy < 0 || sx >= screen->w || sy >= screen->h ||
                testsupport::same_colour(own, kColourKey, 0)) {
                continue;
            }
            shown += testsupport::same_colour(testsupport::pixel_at(screen, sx, sy), own);
        }
    }
    return shown;
}

inline int opaque_pixels(SDL_Surface* picture)
{
    int n = 0;
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            n += !testsupport::same_colour(testsupport::pixel_at(picture, x, y), kColourKey, 0);
        }
    }
    return n;
}

}  // namespace gametest

#endif
