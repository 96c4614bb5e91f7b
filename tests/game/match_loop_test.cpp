#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "core/assets.h"
#include "game_test_support.h"
#include "on_screen.h"

using gametest::shows_centred;
using testsupport::push_click;
using testsupport::push_key;

namespace {

constexpr Uint32 kStart = 1000;

}  // namespace

class MatchLoop : public gametest::MatchTest {};

TEST_F(MatchLoop, FirstIterationSpawnsATargetSizedAndSpedByDifficulty)
{
    struct Case {
        Sint16 difficulty;
        int long_side;
        int rise;  // pixels in its first frame
    };
    for (const Case& c : {Case{0, 140, 1}, Case{1, 70, 2}, Case{2, 35, 3}, Case{9, 35, 3},
                          Case{-3, 140, 1}}) {
        make(0, c.difficulty);
        const Uint32 start = clock.now();
        Uint32 count = 0;
        Uint32 spawned_at = 0;
        SDL_Rect box{};
        bool first_sleep = true;
        clock.on_delay = [&](Uint32) {  // the loop sleeps after its first frame
            if (first_sleep) {
                first_sleep = false;
                count = targets().count();
                spawned_at = MatchSeam::loop(m()).last_spawn_ms;
                box = targets().node_at(0)->target().box();
                push_key(SDLK_ESCAPE);
            }
        };
        play();
        EXPECT_EQ(count, 1u) << c.difficulty;
        EXPECT_EQ(spawned_at, start);
        EXPECT_EQ(std::max(box.w, box.h), c.long_side) << c.difficulty;
        EXPECT_EQ(box.y, 553 - c.rise) << c.difficulty;
        EXPECT_EQ(targets().count(), 0u) << "the loop clears its targets when it ends";
    }
}

TEST_F(MatchLoop, TargetsThatFadedOutAreGoneBeforeTheLoopSleeps)
{
    make(0, 0);
    const Target* kept[2] = {};
    bool seen_fading = false;
    std::vector<std::function<void()>> steps;
    steps.push_back([&] {
        kept[0] = &add_target_at(100, 300);
        // At the top edge a killed target fades twice a frame: out in 22.
        add_target_at(300, 2).kill();
        kept[1] = &add_target_at(500, 300);
    });
    for (int i = 0; i < 40; ++i) {
        steps.push_back([&] {
            for (Uint32 n = 0; n < targets().count(); ++n) {
                EXPECT_FALSE(targets().node_at(n)->is_faded_out()) << "step " << i;
                seen_fading |= !targets().node_at(n)->is_alive();
            }
        });
    }
    std::vector<const Target*> left;
    steps.push_back([&] {
        for (Uint32 n = 0; n < targets().count(); ++n) {
            EXPECT_TRUE(targets().node_at(n)->is_alive()) << "the killed target is gone";
            left.push_back(&targets().node_at(n)->target());
        }
    });
    script(steps);
    play();
    EXPECT_TRUE(seen_fading);
    EXPECT_NE(std::find(left.begin(), left.end(), kept[0]), left.end());
    EXPECT_NE(std::find(left.begin(), left.end(), kept[1]), left.end());
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
        std::vector<Uint32> spawns;  // when each newest target was first seen
        const TargetNode* newest = nullptr;
        const Uint32 begin = clock.now();
        clock.on_delay = [&](Uint32 now) {
            MatchSeam::set_seconds_left(m(), 100);
            const TargetNode* last = targets().node_at(targets().count() - 1);
            if (last && last != newest) {
                newest = last;
                spawns.push_back(now);
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
            shortest = std::min(shortest, spawns[i] - spawns[i - 1]);
            longest = std::max(longest, spawns[i] - spawns[i - 1]);
        }
        // A spawn waits for the next frame, 15 ms at most.
        EXPECT_GE(shortest, c.shortest) << c.difficulty;
        EXPECT_LE(longest, c.longest + 15) << c.difficulty;
        EXPECT_LT(shortest, c.shortest + 300) << c.difficulty;
        EXPECT_GT(longest, c.longest - 300) << c.difficulty;
    }
}

TEST_F(MatchLoop, SpeedBonusGrowsEvery45Seconds)
{
    make(0, 0);
    clock.jump = 485;  // half a second per sleep keeps the test short
    std::map<Uint32, double> bonus_at;
    // When each new target was seen, and how far it rose in its first frame
    // (1 px at speed 1, 2 px at 1.2 to 2).
    std::vector<std::pair<Uint32, int>> first_rises;
    const TargetNode* newest = nullptr;
    clock.on_delay = [&](Uint32 now) {
        MatchSeam::set_seconds_left(m(), 100);
        bonus_at[now - kStart] = MatchSeam::loop(m()).speed_bonus;
        const TargetNode* last = targets().node_at(targets().count() - 1);
        if (last && last != newest) {
            newest = last;
            first_rises.emplace_back(now - kStart, 553 - last->target().box().y);
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
    EXPECT_DOUBLE_EQ(MatchSeam::loop(m()).speed_bonus, 0.6);
    int faster = 0;
    for (const auto& [seen, rise] : first_rises) {
        EXPECT_EQ(rise, seen < 45500 ? 1 : 2) << seen;  // seen one sleep after the spawn
        faster += rise == 2;
    }
    EXPECT_GT(faster, 50);
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
                EXPECT_EQ(score(), points);
                EXPECT_EQ(hits(), 2u);
                EXPECT_EQ(misses(), 0u);
                EXPECT_EQ(seconds_left(), 10 + 2 + 2);
                EXPECT_FALSE(first->is_alive());
                EXPECT_FALSE(second->is_alive());
            }});
    play();
    EXPECT_EQ(score(), points);
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
                EXPECT_EQ(hits(), 1u);
                EXPECT_TRUE(later->is_alive()) << "the held press must not shoot again";
                EXPECT_EQ(score(), points);
                EXPECT_TRUE(MatchSeam::loop(m()).shot_latched);
                testsupport::push_button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 320, 220);
                testsupport::push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 320, 220);
            },
            idle,
            [&] {
                EXPECT_EQ(hits(), 2u);
                EXPECT_FALSE(later->is_alive());
                EXPECT_EQ(score(), points + later->points());
            }});
    play();
}

TEST_F(MatchLoop, OnlyTheLeftMiddleAndRightButtonsShoot)
{
    make(0, 0);
    int points = 0;
    script({[&] {
                // One target per trigger button, each clicked where it lies.
                for (Uint8 button : {SDL_BUTTON_LEFT, SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT}) {
                    const int x = 100 + 200 * (button - 1);
                    points += add_target_at(x, 150).points();
                    push_click(x + 10, 160, button);
                }
            },
            [] {}, [] {},
            [&] {
                EXPECT_EQ(hits(), 3u);
                EXPECT_EQ(score(), points);
                // Wheel steps both ways and the extra buttons, over empty
                // space and over a live target.
                add_target_at(600, 300);
                for (Uint8 button : {4, 5, 6, 7}) {
                    push_click(400, 40, button);
                    push_click(610, 310, button);
                }
            }});
    play();
    EXPECT_EQ(hits(), 3u);
    EXPECT_EQ(misses(), 0u);
    EXPECT_EQ(score(), points) << "neither a miss nor a hit";
}

TEST_F(MatchLoop, AWheelStepWhileTheTriggerIsHeldDoesNotReArmIt)
{
    make(0, 0);
    Target* second = nullptr;
    script({[&] {
                add_target_at(300, 200);
                testsupport::push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 320, 220);
            },
            [&] {
                ASSERT_EQ(hits(), 1u);
                push_click(400, 40, 5);
                push_click(400, 40, 4);
            },
            [&] {
                EXPECT_TRUE(MatchSeam::loop(m()).shot_latched);
                // Pressing another trigger while the left one is held does
                // not shoot, wheel or not.
                second = &add_target_at(500, 200);
                testsupport::push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 520, 220);
            },
            [&] {
                EXPECT_EQ(hits(), 1u);
                EXPECT_TRUE(second->is_alive());
            }});
    play();
    EXPECT_EQ(misses(), 0u);
}

TEST_F(MatchLoop, MissCostsPointsByDifficulty)
{
    for (const auto& [difficulty, penalty] :
         std::vector<std::pair<Sint16, int>>{{0, 17}, {1, 19}, {2, 21}, {9, 21}, {-5, 17}}) {
        make(0, difficulty, 100);
        script({[] { push_click(400, 40); }});
        play();
        EXPECT_EQ(score(), 100 - penalty) << difficulty;
        EXPECT_EQ(misses(), 1u);
        EXPECT_EQ(hits(), 0u);
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
    EXPECT_EQ(score(), 50 - 17);
    EXPECT_EQ(misses(), 1u);
}

TEST_F(MatchLoop, ScoreNeverShowsBelowZero)
{
    make(0, 2, 0);
    const SurfacePtr zero = render_shaded(assets::kHudFont, 22, "Score : 0", kWhite, kBlack);
    ASSERT_NE(zero, nullptr);
    Sint32 lowest = 0;
    int frames_at_zero = 0;
    const auto miss_and_watch = [&] {
        lowest = std::min(lowest, score());
        frames_at_zero += gametest::shows_at(screen(), zero, 780 - zero->w, 566);
        push_click(400, 40);
    };
    script({miss_and_watch, miss_and_watch, miss_and_watch, miss_and_watch});
    play();
    EXPECT_EQ(misses(), 4u);
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(frames_at_zero, 4) << "each frame after a miss shows 0";
    EXPECT_EQ(score(), 0);
}

TEST_F(MatchLoop, HitAddsSecondsByDifficulty)
{
    for (const auto& [difficulty, bonus] :
         std::vector<std::pair<Sint16, int>>{{0, 6}, {1, 2}, {2, 3}, {9, 3}, {-1, 6}}) {
        make(0, difficulty);
        int before = 0;
        script({[&] {
                    before = seconds_left();
                    add_target_at(300, 200);
                    push_click(310, 210);
                },
                [&] { EXPECT_EQ(seconds_left(), before + bonus) << difficulty; }});
        play();
        EXPECT_EQ(hits(), 1u);
    }
}

TEST_F(MatchLoop, TimeAndScoreSaturateInsteadOfWrapping)
{
    make(0, 0, 2147483646);
    script({[&] {
                MatchSeam::set_seconds_left(m(), 65533);
                add_target_at(300, 200);
                add_target_at(300, 200);
                push_click(310, 210);
            },
            [&] {
                EXPECT_EQ(seconds_left(), 65535);
                EXPECT_EQ(score(), 2147483647);
            }});
    play();
    EXPECT_EQ(hits(), 2u);
}

TEST_F(MatchLoop, EscapeAndWindowCloseKeepTheScoreAndSkipGameOver)
{
    for (bool close : {false, true}) {
        make(0, 0, 250);
        SDL_FillRect(screen(), nullptr, SDL_MapRGB(screen()->format, 255, 255, 255));
        close ? testsupport::push_quit() : push_key(SDLK_ESCAPE);
        play();
        EXPECT_TRUE(MatchSeam::ended(m()));
        EXPECT_EQ(score(), 250);
        EXPECT_EQ(targets().count(), 0u);
        EXPECT_TRUE(gametest::colour_is(screen(), 0, 553, 0, 0, 0)) << "no frame after leaving";
        EXPECT_TRUE(gametest::colour_is(screen(), 400, 300, 0, 0, 0));
    }
}

TEST_F(MatchLoop, OtherKeysDoNothing)
{
    make(0, 0, 30);
    script({[] { push_key(SDLK_SPACE); }, [] { push_key(SDLK_q); },
            [&] { EXPECT_FALSE(MatchSeam::ended(m())); }});
    play();
    EXPECT_EQ(score(), 30);
}

TEST_F(MatchLoop, CountdownReachingZeroShowsGameOverAndZeroesTheScore)
{
    make(0, 0, 40);
    at_expiry([] {
        push_click(400, 40);
        testsupport::push_active(0, SDL_APPINPUTFOCUS);
        push_key(SDLK_a);
    });
    const int left = play();
    EXPECT_EQ(left, 0) << "game over waits for the key and swallows the rest";
    EXPECT_EQ(seconds_left(), 0);
    EXPECT_EQ(score(), 0);
    EXPECT_EQ(misses(), 0u);
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

TEST_F(MatchLoop, PauseLastsUntilTheKeyboardAndThePointerAreBackAndItsEndIsNoShot)
{
    using testsupport::push_active;
    struct Change {
        Uint8 gain;
        Uint8 state;
    };
    const struct {
        const char* what;
        Uint8 lost;
        std::vector<Change> not_yet;  // these must not end the pause
        Uint8 regained;
    } cases[] = {
        {"another window took the keyboard; the pointer crosses the game",
         SDL_APPINPUTFOCUS, {{0, SDL_APPMOUSEFOCUS}, {1, SDL_APPMOUSEFOCUS}}, SDL_APPINPUTFOCUS},
        {"the pointer left, then the keyboard; the pointer comes back",
         SDL_APPMOUSEFOCUS, {{0, SDL_APPINPUTFOCUS}, {1, SDL_APPMOUSEFOCUS}}, SDL_APPINPUTFOCUS},
        {"iconified", SDL_APPACTIVE, {}, SDL_APPACTIVE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        make(0, 0, 100);
        bool went_on = false;
        script({[&] {
                    push_active(0, c.lost);
                    for (const Change& change : c.not_yet) {
                        push_active(change.gain, change.state);
                    }
                    push_key(SDLK_ESCAPE);  // keys and clicks do nothing while paused
                    push_click(400, 40);
                    push_active(1, c.regained);
                    push_click(400, 40);  // the click that brought the window back: no miss
                },
                [&] { went_on = !MatchSeam::ended(m()); }});
        play();
        EXPECT_TRUE(went_on) << "the pause ended before the game was in front again";
        EXPECT_EQ(score(), 100);
        EXPECT_EQ(misses(), 0u);
    }

    // Closing the window leaves a paused match, its score kept, no game over.
    make(0, 0, 100);
    push_active(0, SDL_APPINPUTFOCUS);
    testsupport::push_quit();
    push_active(1, SDL_APPINPUTFOCUS);
    play();
    EXPECT_TRUE(MatchSeam::ended(m()));
    EXPECT_EQ(score(), 100);
    EXPECT_GT(seconds_left(), 0);
}

// Each step sees the frame drawn after the first event of the step before.
TEST_F(MatchLoop, VisorFollowsThePointerAndKeepsItThroughOtherEvents)
{
    make(0, 0);
    const SurfacePtr normal = load_keyed_bmp("System/01/Menu/Cursor_Curs01.bmp");
    const SurfacePtr over = load_keyed_bmp("System/01/Menu/Cursor_Curs02.bmp");
    ASSERT_TRUE(normal && over);
    script({[&] {
                EXPECT_TRUE(shows_centred(screen(), normal, 400, 300)) << "warped to the centre";
                add_target_at(300, 200);
                testsupport::push_motion(320, 220);
            },
            [&] {
                EXPECT_TRUE(shows_centred(screen(), over, 320, 220));
                push_key(SDLK_SPACE);
                testsupport::push_active(1, SDL_APPINPUTFOCUS);
            },
            [] {},
            [&] {
                EXPECT_TRUE(shows_centred(screen(), over, 320, 220)) << "aim kept through key and focus events";
                testsupport::push_motion(700, 50);
            },
            [&] { EXPECT_TRUE(shows_centred(screen(), normal, 700, 50)); }});
    play();
}

namespace {

// A motion with a relative step, as a real mouse sends it.
bool push_step(int x, int y, Sint16 xrel, Sint16 yrel)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    e.motion.xrel = xrel;
    e.motion.yrel = yrel;
    return SDL_PushEvent(&e) == 0;
}

int queued_events()
{
    SDL_Event peek[128];
    return SDL_PeepEvents(peek, 128, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

}  // namespace

TEST_F(MatchLoop, QueuedMotionIsTakenAtOnceAndTheVisorGoesWhereTheLastOnePoints)
{
    make(0, 0);
    const SurfacePtr picture = load_keyed_bmp("System/01/Menu/Cursor_Curs01.bmp");
    ASSERT_NE(picture, nullptr);
    // Four full queues of 125 motions, 500 in all; each burst is queued
    // at one sleep and must be gone by the next.
    constexpr int kBursts = 4;
    constexpr int kPerBurst = 125;
    std::vector<std::function<void()>> steps;
    int pushed = 0;
    for (int burst = 0; burst <= kBursts; ++burst) {
        steps.push_back([&, burst] {
            if (burst > 0) {
                EXPECT_EQ(queued_events(), 0) << "burst " << burst;
                const int last = pushed - 1;
                EXPECT_TRUE(shows_centred(screen(), picture, 100 + last % 600, 50 + last % 400)) << burst;
                const SDL_Event& taken = MatchSeam::last_event(m());
                EXPECT_EQ(taken.type, SDL_MOUSEMOTION);
                EXPECT_EQ(taken.motion.xrel, 2 * kPerBurst) << "the steps add up";
                EXPECT_EQ(taken.motion.yrel, -kPerBurst);
            }
            if (burst < kBursts) {
                for (int i = 0; i < kPerBurst; ++i, ++pushed) {
                    ASSERT_TRUE(push_step(100 + pushed % 600, 50 + pushed % 400, 2, -1)) << pushed;
                }
            }
        });
    }
    script(steps);
    play();
    EXPECT_EQ(pushed, kBursts * kPerBurst);
}

TEST_F(MatchLoop, APressAmongMotionsKeepsItsPlaceAndItsPosition)
{
    make(0, 0);
    const SurfacePtr picture = load_keyed_bmp("System/01/Menu/Cursor_Curs01.bmp");
    ASSERT_NE(picture, nullptr);
    Target* target = nullptr;
    script({[&] {
                target = &add_target_at(300, 200);
                for (int i = 0; i < 40; ++i) {
                    ASSERT_TRUE(testsupport::push_motion(600 + i, 450));
                }
                ASSERT_TRUE(push_click(320, 220));
                for (int i = 0; i < 40; ++i) {
                    ASSERT_TRUE(testsupport::push_motion(100, 400 + i));
                }
            },
            [&] {
                // Two iterations: the first 40 motions as one, then the press.
                EXPECT_TRUE(shows_centred(screen(), picture, 639, 450));
                EXPECT_EQ(hits(), 1u) << "shot where it was pressed";
                EXPECT_FALSE(target->is_alive());
                EXPECT_EQ(MatchSeam::last_event(m()).type, SDL_MOUSEBUTTONDOWN);
                SDL_Event head;
                ASSERT_EQ(SDL_PeepEvents(&head, 1, SDL_PEEKEVENT, SDL_ALLEVENTS), 1);
                EXPECT_EQ(head.type, SDL_MOUSEBUTTONUP);
                EXPECT_EQ(queued_events(), 41) << "the release and the 40 motions behind it";
            },
            [&] {
                EXPECT_EQ(queued_events(), 0);
                EXPECT_FALSE(MatchSeam::loop(m()).shot_latched);
            },
            [&] { EXPECT_TRUE(shows_centred(screen(), picture, 100, 439)); }});
    play();
    EXPECT_EQ(misses(), 0u);
}

TEST_F(MatchLoop, PressesWithinADoubleClickOfTheFirstFrameAreNotShots)
{
    // The second click of a double click on "Nouvelle partie" comes while
    // the match opens or just after it showed: no miss, no hit. A click 400
    // ms on is a shot again (here a miss: -17).
    make(0, 0, 250);
    push_click(700, 100);
    int pushed = 0;
    clock.on_delay = [&](Uint32 now) {
        const Uint32 shown_for = now - shown_at;
        if ((pushed == 0 && shown_for >= 200) || (pushed == 1 && shown_for >= 450)) {
            push_click(700, 100);
            ++pushed;
        } else if (pushed == 2 && misses() > 0) {
            push_key(SDLK_ESCAPE);
            pushed = 3;
        }
    };
    play();
    EXPECT_EQ(pushed, 3);
    EXPECT_EQ(misses(), 1u);
    EXPECT_EQ(score(), 233);
}

TEST_F(MatchLoop, ALonePressDroppedInTheSettleTimeIsNeverHandledAfterwards)
{
    // A hand holds the button a tenth of a second: the press waits alone in
    // the queue, its release not yet sent. Dropped as the rest of a double
    // click (after the first frame) or as the click that brought the window
    // back (after a pause), it must not be shot by the frames that follow.
    using testsupport::push_active;
    using testsupport::push_button;
    const auto lone_press = [] { push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 700, 100); };
    const auto pause_then_lone_press = [&] {
        push_active(0, SDL_APPINPUTFOCUS);
        push_active(1, SDL_APPINPUTFOCUS);
        lone_press();
    };
    const struct {
        const char* what;
        Uint32 at_ms;  // after the first frame
        std::function<void()> events;
    } cases[] = {
        {"200 ms after the first frame", 200, lone_press},
        {"as a pause ends", 600, pause_then_lone_press},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        make(0, 0, 250);
        int step = 0;
        Uint32 pressed_at = 0;
        clock.on_delay = [&](Uint32 now) {
            if (step == 0 && now - shown_at >= c.at_ms) {
                c.events();
                pressed_at = now;
                ++step;
            } else if (step == 1 && now - pressed_at >= 200) {
                push_key(SDLK_ESCAPE);
                ++step;
            }
        };
        play();
        EXPECT_EQ(step, 2);
        EXPECT_EQ(misses(), 0u);
        EXPECT_EQ(score(), 250);
    }
}
