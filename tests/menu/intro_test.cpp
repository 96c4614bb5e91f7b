#include <gtest/gtest.h>

#include "app/intro.h"
#include "menu_fixture.h"

using namespace testsupport;

using IntroTest = ScreenTest;

TEST_F(IntroTest, WithoutInputPlaysEveryFrameAndCountersMeet)
{
    Intro intro;
    push_click(10, 10);  // mouse input is discarded
    push_motion(300, 300);
    EXPECT_FALSE(intro.run(screen()));
    // 3 phases of 127 frames, phase 3 flipping twice per frame.
    EXPECT_EQ(intro.flips(), 381u + 127u);
    EXPECT_EQ(intro.presents_alpha(), 0);
    EXPECT_EQ(intro.name_alpha(), 0);
    EXPECT_EQ(intro.black_alpha(), 254);
    EXPECT_EQ(intro.title_alpha(), 254);
}

TEST_F(IntroTest, KeyBeforeTheFirstFrameSkipsWithinTwoFrames)
{
    Intro intro;
    push_key(SDLK_SPACE);
    EXPECT_FALSE(intro.run(screen()));
    EXPECT_EQ(intro.flips(), 2u);
    EXPECT_EQ(intro.presents_alpha(), 0);
    EXPECT_EQ(intro.name_alpha(), 0);
    EXPECT_EQ(intro.black_alpha(), 254);
    // The black layer and title are never drawn after a skip.
    EXPECT_EQ(intro.title_alpha(), 0);
    // The name picture was drawn last, at full strength: the screen is not black.
    SDL_Color c = pixel_at(screen(), 400, 300);
    SDL_Color corner = pixel_at(screen(), 10, 10);
    EXPECT_TRUE(c.r + c.g + c.b + corner.r + corner.g + corner.b > 0);
}

TEST_F(IntroTest, EscapeOrQuitAbortsAndLeavesLaterEventsQueued)
{
    {
        Intro intro;
        push_key(SDLK_ESCAPE);
        push_key(SDLK_a);
        EXPECT_TRUE(intro.run(screen()));
        EXPECT_EQ(intro.flips(), 0u);
        SDL_Event left;
        ASSERT_EQ(SDL_PollEvent(&left), 1);
        EXPECT_EQ(left.type, SDL_KEYDOWN);
    }
    {
        Intro intro;
        push_quit();
        EXPECT_TRUE(intro.run(screen()));
    }
}

TEST_F(IntroTest, FadeStepsWrapAsEightBitCounters)
{
    Intro intro;
    intro.fade_presents(2, screen());
    EXPECT_EQ(intro.presents_alpha(), 2);
    intro.fade_presents(254, screen());  // lowers by two
    EXPECT_EQ(intro.presents_alpha(), 0);
    intro.fade_presents(254, screen());
    EXPECT_EQ(intro.presents_alpha(), 254);
}
