#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

#include "game_test_support.h"

using gametest::hits;
using gametest::misses;
using testsupport::push_click;
using testsupport::push_key;

namespace {

constexpr Uint32 kStart = 1000;

}  // namespace

class MatchLoop : public gametest::MatchTest {};

TEST_F(MatchLoop, FirstIterationSpawnsATarget)
{
    make(0, 0);
    Uint32 count = 0;
    Uint32 spawned_at = 0;
    script({[&] {
        count = targets().count();
        spawned_at = MatchProbe::last_spawn_ms(m());
    }});
    play();
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(spawned_at, kStart);
    EXPECT_EQ(targets().count(), 0u) << "the loop clears its targets when it ends";
    EXPECT_TRUE(MatchProbe::ended(m()));
}

TEST_F(MatchLoop, SpawnIntervalsFollowTheDifficulty)
{
    struct Case {
        Sint16 difficulty;
        Uint32 shortest;
        Uint32 longest;
    };
    for (const Case& c : {Case{0, 500, 1500}, Case{1, 300, 1300}, Case{2, 100, 1100},
                          Case{9, 100, 1100}, Case{-3, 500, 1500}}) {
        std::srand(1234);  // the same draws on every run
        make(0, c.difficulty);
        std::vector<std::pair<Uint32, Uint32>> spawns;  // (time, interval drawn then)
        const Uint32 begin = clock.now();
        clock.on_delay = [&](Uint32 now) {
            MatchProbe::seconds_left(m()) = 100;
            const Uint32 at = MatchProbe::last_spawn_ms(m());
            if (spawns.empty() || spawns.back().first != at) {
                spawns.emplace_back(at, MatchProbe::spawn_interval_ms(m()));
            }
            if (now - begin > 20000) {
                push_key(SDLK_ESCAPE);
            }
        };
        play();
        ASSERT_GT(spawns.size(), 12u) << c.difficulty;
        Uint32 shortest = 0xFFFFFFFFu;
        Uint32 longest = 0;
        for (std::size_t i = 1; i < spawns.size(); ++i) {
            const Uint32 interval = spawns[i - 1].second;
            const Uint32 gap = spawns[i].first - spawns[i - 1].first;
            EXPECT_GE(gap, interval);
            EXPECT_LT(gap, interval + 30) << "spawns wait only for the next iteration";
            shortest = std::min(shortest, interval);
            longest = std::max(longest, interval);
        }
        EXPECT_GE(shortest, c.shortest) << c.difficulty;
        EXPECT_LE(longest, c.longest) << c.difficulty;
        EXPECT_LT(shortest, c.shortest + 300) << c.difficulty;
        EXPECT_GT(longest, c.longest - 300) << c.difficulty;
    }
}

TEST_F(MatchLoop, SpeedBonusGrowsEvery45Seconds)
{
    make(0, 0);
    clock.jump = 485;  // half a second per sleep keeps the test short
    std::map<Uint32, double> bonus_at;
    std::vector<std::pair<double, double>> new_target_speeds;  // (bonus, speed)
    Uint32 last_spawn = 0;
    clock.on_delay = [&](Uint32 now) {
        MatchProbe::seconds_left(m()) = 100;
        bonus_at[now - kStart] = MatchProbe::speed_bonus(m());
        if (MatchProbe::last_spawn_ms(m()) != last_spawn) {
            last_spawn = MatchProbe::last_spawn_ms(m());
            Target& newest = TargetProbe::at(targets(), targets().count() - 1);
            new_target_speeds.emplace_back(MatchProbe::speed_bonus(m()), TargetProbe::speed(newest));
        }
        if (now - kStart > 140000) {
            push_key(SDLK_ESCAPE);
        }
    };
    play();
    for (const auto& [elapsed, bonus] : bonus_at) {
        if (elapsed < 45000) {
            EXPECT_EQ(bonus, 0.0) << elapsed;
        } else if (elapsed >= 45500 && elapsed < 90000) {
            EXPECT_DOUBLE_EQ(bonus, 0.2) << elapsed;
        } else if (elapsed >= 91000 && elapsed < 135000) {
            EXPECT_DOUBLE_EQ(bonus, 0.4) << elapsed;
        }
    }
    EXPECT_DOUBLE_EQ(MatchProbe::speed_bonus(m()), 0.6);
    bool saw_faster = false;
    for (const auto& [bonus, speed] : new_target_speeds) {
        EXPECT_DOUBLE_EQ(speed, 1.0 + bonus);
        saw_faster |= bonus > 0.0;
    }
    EXPECT_TRUE(saw_faster);
}

TEST_F(MatchLoop, OnePressOverTwoLiveTargetsScoresBoth)
{
    make(0, 1);
    int points = 0;
    Target* first = nullptr;
    Target* second = nullptr;
    script({[&] {
                first = &add_target_at(300, 200);
                second = &add_target_at(300, 200);
                points = first->points() + second->points();
                push_click(320, 220);
            },
            [&] {
                EXPECT_EQ(MatchProbe::score(m()), points);
                EXPECT_EQ(hits(m()), 2u);
                EXPECT_EQ(misses(m()), 0u);
                EXPECT_EQ(MatchProbe::seconds_left(m()), 10 + 2 + 2);
                EXPECT_FALSE(first->is_alive());
                EXPECT_FALSE(second->is_alive());
            }});
    play();
    EXPECT_EQ(MatchProbe::score(m()), points);
}

TEST_F(MatchLoop, HeldButtonShootsOnceUntilReleased)
{
    make(0, 0);
    int points = 0;
    Target* later = nullptr;
    const auto idle = [] {};
    script({[&] {
                points = add_target_at(300, 200).points();
                testsupport::push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 320, 220);
            },
            idle,
            [&] { later = &add_target_at(300, 200); },
            idle, idle,
            [&] {
                EXPECT_EQ(hits(m()), 1u);
                EXPECT_TRUE(later->is_alive()) << "the held press must not shoot again";
                EXPECT_EQ(MatchProbe::score(m()), points);
                EXPECT_TRUE(MatchProbe::shot_latched(m()));
                testsupport::push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 320, 220);
                testsupport::push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 320, 220);
            },
            idle,
            [&] {
                EXPECT_EQ(hits(m()), 2u);
                EXPECT_FALSE(later->is_alive());
                EXPECT_EQ(MatchProbe::score(m()), points + later->points());
            }});
    play();
}

TEST_F(MatchLoop, AnyButtonShoots)
{
    make(0, 0);
    script({[&] {
                add_target_at(100, 150);
                push_click(110, 160, SDL_BUTTON_RIGHT);
            },
            [&] {
                add_target_at(500, 150);
                push_click(510, 160, 4);  // a wheel step
            },
            [&] { EXPECT_EQ(hits(m()), 2u); }});
    play();
    EXPECT_EQ(misses(m()), 0u);
}

TEST_F(MatchLoop, MissCostsPointsByDifficulty)
{
    for (const auto& [difficulty, penalty] :
         std::vector<std::pair<Sint16, int>>{{0, 17}, {1, 19}, {2, 21}, {9, 21}, {-5, 17}}) {
        make(0, difficulty, 100);
        script({[] { push_click(400, 40); }});
        play();
        EXPECT_EQ(MatchProbe::score(m()), 100 - penalty) << difficulty;
        EXPECT_EQ(misses(m()), 1u);
        EXPECT_EQ(hits(m()), 0u);
    }
}

TEST_F(MatchLoop, PressOverAKilledTargetIsAMiss)
{
    make(0, 0, 50);
    script({[&] {
        add_target_at(300, 200).kill();
        push_click(320, 220);
    }});
    play();
    EXPECT_EQ(MatchProbe::score(m()), 50 - 17);
    EXPECT_EQ(misses(m()), 1u);
}

TEST_F(MatchLoop, ScoreNeverShowsBelowZero)
{
    make(0, 2, 10);
    Sint32 lowest = 0;
    Sint32 lowest_shown = 0;
    const auto miss_and_watch = [&] {
        lowest = std::min(lowest, MatchProbe::score(m()));
        lowest_shown = std::min(lowest_shown, MatchProbe::shown_score(m()));
        push_click(400, 40);
    };
    script({miss_and_watch, miss_and_watch, miss_and_watch, miss_and_watch});
    play();
    EXPECT_EQ(misses(m()), 4u);
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(lowest_shown, 0);
    EXPECT_EQ(MatchProbe::score(m()), 0);
}

TEST_F(MatchLoop, HitAddsSecondsByDifficulty)
{
    for (const auto& [difficulty, bonus] :
         std::vector<std::pair<Sint16, int>>{{0, 6}, {1, 2}, {2, 3}, {9, 3}, {-1, 6}}) {
        make(0, difficulty);
        int before = 0;
        script({[&] {
                    before = MatchProbe::seconds_left(m());
                    add_target_at(300, 200);
                    push_click(310, 210);
                },
                [&] { EXPECT_EQ(MatchProbe::seconds_left(m()), before + bonus) << difficulty; }});
        play();
        EXPECT_EQ(hits(m()), 1u);
    }
}

TEST_F(MatchLoop, TimeAndScoreSaturateInsteadOfWrapping)
{
    make(0, 0, 2147483646);
    script({[&] {
                MatchProbe::seconds_left(m()) = 65533;
                add_target_at(300, 200);
                add_target_at(300, 200);
                push_click(310, 210);
            },
            [&] {
                EXPECT_EQ(MatchProbe::seconds_left(m()), 65535);
                EXPECT_EQ(MatchProbe::score(m()), 2147483647);
            }});
    play();
    EXPECT_EQ(hits(m()), 2u);
}

TEST_F(MatchLoop, EscapeAndWindowCloseKeepTheScoreAndSkipGameOver)
{
    for (bool close : {false, true}) {
        make(0, 0, 250);
        SDL_FillRect(screen(), nullptr, SDL_MapRGB(screen()->format, 255, 255, 255));
        close ? testsupport::push_quit() : push_key(SDLK_ESCAPE);
        play();
        EXPECT_TRUE(MatchProbe::ended(m()));
        EXPECT_EQ(MatchProbe::score(m()), 250);
        EXPECT_EQ(targets().count(), 0u);
        EXPECT_TRUE(gametest::colour_is(screen(), 0, 553, 0, 0, 0)) << "no frame after leaving";
        EXPECT_TRUE(gametest::colour_is(screen(), 400, 300, 0, 0, 0));
    }
}

TEST_F(MatchLoop, OtherKeysDoNothing)
{
    make(0, 0, 30);
    script({[] { push_key(SDLK_SPACE); }, [] { push_key(SDLK_q); },
            [&] { EXPECT_FALSE(MatchProbe::ended(m())); }});
    play();
    EXPECT_EQ(MatchProbe::score(m()), 30);
}

TEST_F(MatchLoop, CountdownReachingZeroShowsGameOverAndZeroesTheScore)
{
    make(0, 0, 40);
    at_expiry([] {
        push_click(400, 40);
        testsupport::push_quit();
        testsupport::push_active(0, SDL_APPINPUTFOCUS);
        push_key(SDLK_a);
    });
    const int left = play();
    EXPECT_EQ(left, 0) << "game over waits for the key and swallows the rest";
    EXPECT_EQ(MatchProbe::seconds_left(m()), 0);
    EXPECT_EQ(MatchProbe::score(m()), 0);
    EXPECT_EQ(misses(m()), 0u);
    EXPECT_GE(clock.now() - kStart, 5000u);
    EXPECT_LT(clock.now() - kStart, 5200u);
    // The game-over texts stand over the last frame.
    int red = 0;
    for (int y = 200; y < 400; ++y) {
        for (int x = 200; x < 600; ++x) {
            red += gametest::colour_is(screen(), x, y, 255, 0, 0);
        }
    }
    EXPECT_GT(red, 50);
    EXPECT_TRUE(gametest::colour_is(screen(), 0, 553, 255, 0, 0));
}

TEST_F(MatchLoop, FocusLossPausesUntilAnyGain)
{
    for (Uint8 lost : {SDL_APPMOUSEFOCUS, SDL_APPINPUTFOCUS, SDL_APPACTIVE}) {
        make(0, 0, 100);
        testsupport::push_active(0, lost);
        push_key(SDLK_ESCAPE);
        push_click(400, 40);
        testsupport::push_quit();
        testsupport::push_active(0, SDL_APPINPUTFOCUS);
        testsupport::push_active(1, lost == SDL_APPACTIVE ? SDL_APPACTIVE : SDL_APPMOUSEFOCUS);
        bool went_on = false;
        script({[&] {
            went_on = !MatchProbe::ended(m());
            EXPECT_EQ(MatchProbe::window_active(m()), 1);
        }});
        play();
        EXPECT_TRUE(went_on) << "keys, clicks and quit requests during the pause are ignored";
        EXPECT_EQ(MatchProbe::score(m()), 100);
        EXPECT_EQ(misses(m()), 0u);
    }
}

TEST_F(MatchLoop, VisorFollowsThePointerAndKeepsItThroughOtherEvents)
{
    make(0, 0);
    SDL_Surface* visor = MatchProbe::visor_normal(m());
    ASSERT_NE(visor, nullptr);
    script({[&] {
                EXPECT_EQ(MatchProbe::visor_pos(m()).x, 400 - visor->w / 2) << "warped to the centre";
                add_target_at(300, 200);
                testsupport::push_motion(320, 220);
            },
            [&] {
                EXPECT_EQ(MatchProbe::visor_idle(m()), 0);
                EXPECT_EQ(MatchProbe::visor_pos(m()).x, 320 - visor->w / 2);
                EXPECT_EQ(MatchProbe::visor_pos(m()).y, 220 - visor->h / 2);
                push_key(SDLK_SPACE);
                testsupport::push_active(1, SDL_APPINPUTFOCUS);
            },
            [&] {
                EXPECT_EQ(MatchProbe::visor_idle(m()), 0) << "aim kept through key and focus events";
                testsupport::push_motion(700, 50);
            },
            [&] { EXPECT_EQ(MatchProbe::visor_idle(m()), 1); }});
    play();
}
