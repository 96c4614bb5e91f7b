#ifndef TIREVANE_TESTS_GAME_TEST_SUPPORT_H
#define TIREVANE_TESTS_GAME_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/clock.h"
#include "game/match.h"
#include "game/target.h"
#include "game/target_list.h"
#include "game/target_node.h"
#include "scripted_clock.h"
#include "test_support.h"

// Read and poke access to the targets' state, for tests only.
struct TargetProbe {
    static SDL_Surface* surface(Target& t) { return t.surface.get(); }
    static SDL_Rect& rect(Target& t) { return t.rect; }
    static Uint8& alpha(Target& t) { return t.alpha; }
    static double& speed(Target& t) { return t.speed; }
    static Sint32 colour_type(const Target& t) { return t.colour_type; }
    static Sint16 size_class(const Target& t) { return t.size_class; }
    static Target& target(TargetNode& n) { return *n.target; }
    static TargetNode* next(TargetNode& n) { return n.next; }

    static Target& at(TargetList& list, Uint32 index) { return target(*list.node_at(index)); }
    static void place(Target& t, int x, int y)
    {
        t.rect.x = static_cast<Sint16>(x);
        t.rect.y = static_cast<Sint16>(y);
    }
    static int width(Target& t) { return t.surface->w; }
    static int height(Target& t) { return t.surface->h; }
};

// Read and poke access to a match's state, for tests only.
struct MatchProbe {
    static Sint32& score(Match& m) { return m.score; }
    static Sint32 shown_score(const Match& m) { return m.shown_score; }
    static Uint16& seconds_left(Match& m) { return m.seconds_left; }
    static Sint16 difficulty(const Match& m) { return m.difficulty; }
    static TargetList& targets(Match& m) { return m.targets; }
    static double speed_bonus(const Match& m) { return m.loop.speed_bonus; }
    static bool shot_latched(const Match& m) { return m.loop.shot_latched; }
    static Uint32 last_spawn_ms(const Match& m) { return m.loop.last_spawn_ms; }
    static Uint32 spawn_interval_ms(const Match& m) { return m.loop.spawn_interval_ms; }
    static Uint32 last_tick_ms(const Match& m) { return m.last_tick_ms; }
    static Uint8 ended(const Match& m) { return m.ended; }
    static Uint8 visor_idle(const Match& m) { return m.visor_idle; }
    static Uint8& window_active(Match& m) { return m.window_active; }
    static Uint8& countdown_dirty(Match& m) { return m.countdown_dirty; }
    static SDL_Event& event(Match& m) { return m.event; }
    static SDL_Surface* score_text(Match& m) { return m.score_text.get(); }
    static SDL_Surface* countdown_text(Match& m) { return m.countdown_text.get(); }
    static SDL_Surface* difficulty_text(Match& m) { return m.difficulty_text.get(); }
    static SDL_Surface* visor_normal(Match& m) { return m.visor_normal.get(); }
    static SDL_Surface* visor_over(Match& m) { return m.visor_over.get(); }
    static FSOUND_SAMPLE* hit_sound(Match& m) { return m.hit_sound; }
    static FSOUND_SAMPLE* miss_sound(Match& m) { return m.miss_sound; }
    static SDL_Rect score_pos(const Match& m) { return m.score_pos; }
    static SDL_Rect countdown_pos(const Match& m) { return m.countdown_pos; }
    static SDL_Rect difficulty_pos(const Match& m) { return m.difficulty_pos; }
    static SDL_Rect visor_pos(const Match& m) { return m.visor_pos; }
    static void remove_faded_targets(Match& m) { m.remove_faded_targets(); }
};

namespace gametest {

using testsupport::ScriptedClock;
using testsupport::Watchdog;

// A game folder, the dummy window and a scripted clock for one match.
class MatchTest : public ::testing::Test {
protected:
    void make(Sint16 visor, Sint16 difficulty, Sint32 start_score = 0)
    {
        match = std::make_unique<Match>(visor, difficulty, start_score);
    }

    // Plays the match to its end; fails instead of hanging when a screen
    // waits for an event that never comes. Returns how many events the
    // match left in the queue.
    int play()
    {
        bool fired = false;
        {
            Watchdog dog;
            match->run(screen());
            fired = dog.fired();
        }
        int left = 0;
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            ++left;
        }
        EXPECT_FALSE(fired) << "the match blocked and had to be ended from outside";
        return left;
    }

    // Runs one step at each sleep of the loop (each step's events are taken
    // in the two iterations before the next sleep), then presses Escape.
    void script(std::vector<std::function<void()>> steps)
    {
        clock.on_delay = [this, steps, k = std::size_t(0), done = false](Uint32) mutable {
            if (k < steps.size()) {
                steps[k++]();
            } else if (!done) {
                done = true;
                testsupport::push_key(SDLK_ESCAPE);
            }
        };
    }

    SDL_Surface* screen() const { return video.screen(); }
    Match& m() { return *match; }
    TargetList& targets() { return MatchProbe::targets(*match); }

    // Puts a fresh target of the match's size class at (x, y).
    Target& add_target_at(int x, int y)
    {
        TargetList& list = targets();
        list.append(MatchProbe::difficulty(*match), 0.0);
        Target& t = TargetProbe::at(list, list.count() - 1);
        TargetProbe::place(t, x, y);
        return t;
    }

    // Pushes `events` so that they are waiting when the countdown reaches
    // 0, behind one harmless event that the loop takes in that iteration.
    void at_expiry(std::function<void()> events)
    {
        clock.on_delay = [this, events, done = false](Uint32 now) mutable {
            if (!done && MatchProbe::seconds_left(*match) == 1 &&
                now - MatchProbe::last_tick_ms(*match) >= 1000) {
                done = true;
                testsupport::push_motion(400, 300);
                events();
            }
        };
    }

    testsupport::GameDir dir;
    testsupport::VideoSession video;
    ScriptedClock clock;
    std::unique_ptr<Match> match;
};

inline unsigned hits(Match& m)
{
    return audio_probe::sample_play_count(MatchProbe::hit_sound(m));
}

inline unsigned misses(Match& m)
{
    return audio_probe::sample_play_count(MatchProbe::miss_sound(m));
}

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

}  // namespace gametest

#endif
