#include "core/fullscreen.h"
#include "game_test_support.h"

namespace {

// A match whose display display.switches always succeed, counted.
class MatchFullscreenKey : public gametest::MatchTest {
protected:
    testsupport::FakeDisplaySwitch display;
};

}  // namespace

// The loop handles its last event again while none waits: F11 must switch
// once, not at every frame after it, and never shoot, pause or end.
TEST_F(MatchFullscreenKey, F11InAMatchSwitchesOnceAndCountsAsNothingElse)
{
    make(0, 0, 40);
    Uint16 seconds_then = 0;
    bool ended_then = true;
    script({[&] { testsupport::push_key(SDLK_F11); },
            [] {}, [] {}, [] {}, [] {},
            [&] {
                seconds_then = seconds_left();
                ended_then = MatchSeam::ended(m());
            }});
    play();
    EXPECT_EQ(display.switches, 1);
    EXPECT_EQ(score(), 40);
    EXPECT_EQ(misses(), 0u);
    EXPECT_EQ(hits(), 0u);
    EXPECT_EQ(seconds_then, 5);
    EXPECT_FALSE(ended_then) << "only the Escape after the steps ends it";
}

TEST_F(MatchFullscreenKey, F11SwitchesDuringThePauseWhichWaitsOnForTheGameToBeInFront)
{
    make(0, 0, 12);
    testsupport::push_active(0, SDL_APPACTIVE);
    testsupport::push_key(SDLK_F11);
    testsupport::push_key(SDLK_F11);
    bool paused_through_f11 = false;
    clock.when_idle = [&] {
        if (!paused_through_f11) {
            paused_through_f11 = !MatchSeam::ended(m());
            testsupport::push_active(1, SDL_APPACTIVE);
        }
    };
    script({});
    play();
    EXPECT_EQ(display.switches, 2);
    EXPECT_TRUE(paused_through_f11) << "the pause ended at F11";
    EXPECT_TRUE(MatchSeam::ended(m()));
    EXPECT_EQ(score(), 12);
}

TEST_F(MatchFullscreenKey, F11IsNotTheKeyThatLeavesTheGameOverScreen)
{
    make(0, 0, 57);
    m().draw_frame(screen());
    testsupport::push_key(SDLK_F11);
    testsupport::push_key(SDLK_a);
    testsupport::push_key(SDLK_b);
    m().game_over(screen());
    EXPECT_EQ(display.switches, 1);
    SDL_Event rest;
    ASSERT_TRUE(SDL_PollEvent(&rest));
    EXPECT_EQ(rest.key.keysym.sym, SDLK_b) << "the game-over screen waited on to the next key, a";
    EXPECT_TRUE(gametest::colour_is(screen(), 0, 553, 255, 0, 0)) << "the game-over picture stays";
}
