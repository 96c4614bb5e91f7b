#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "app/intro.h"
#include "core/fullscreen.h"
#include "screen_test.h"

using namespace testsupport;

using IntroTest = ScreenTest;

namespace {

// The display's switches to and from full screen, all successful, counted.
class IntroFullscreenTest : public ScreenTest {
protected:
    FakeDisplaySwitch display;
};

}  // namespace

// The counters (presents, name, black, title) after given flips: "presents"
// rises by 2 a frame, then falls by 2 while the name rises; then the black
// layer and the title rise while the name falls, two flips a frame.
TEST_F(IntroTest, WithoutInputPlaysEveryFrameAndCountersMeet)
{
    using Counters = std::array<int, 4>;
    Intro intro;
    std::vector<Counters> after_flip(1);  // index 0: before any flip
    clock.on_delay = [&](Uint32) {
        after_flip.push_back(
            {intro.presents_alpha(), intro.name_alpha(), intro.black_alpha(), intro.title_alpha()});
    };
    push_click(10, 10, SDL_BUTTON_RIGHT);  // only a left click skips
    push_click(10, 10, SDL_BUTTON_WHEELDOWN);
    push_motion(300, 300);
    EXPECT_FALSE(intro.run(screen()));
    clock.on_delay = nullptr;
    // 3 phases of 127 frames, phase 3 flipping twice per frame.
    EXPECT_EQ(intro.flips(), 381u + 127u);
    ASSERT_EQ(after_flip.size(), 509u) << "one wait after each flip";
    const std::pair<unsigned, Counters> checkpoints[] = {
        {1, {2, 0, 0, 0}},         {2, {4, 0, 0, 0}},       {64, {128, 0, 0, 0}},
        {126, {252, 0, 0, 0}},     {127, {254, 0, 0, 0}},   {128, {252, 2, 0, 0}},
        {129, {250, 4, 0, 0}},     {253, {2, 252, 0, 0}},   {254, {0, 254, 0, 0}},
        {255, {0, 252, 2, 2}},     {256, {0, 252, 2, 2}},   {258, {0, 250, 4, 4}},
        {382, {0, 126, 128, 128}}, {506, {0, 2, 252, 252}}, {507, {0, 0, 254, 254}},
        {508, {0, 0, 254, 254}}};
    for (const auto& [flip, counters] : checkpoints) {
        EXPECT_EQ(after_flip[flip], counters) << "after flip " << flip;
    }
    EXPECT_EQ(intro.presents_alpha(), 0);
    EXPECT_EQ(intro.name_alpha(), 0);
    EXPECT_EQ(intro.black_alpha(), 254);
    EXPECT_EQ(intro.title_alpha(), 254);
}

TEST_F(IntroTest, KeyOrLeftClickBeforeTheFirstFrameSkipsWithinTwoFrames)
{
    for (const bool by_key : {true, false}) {
        SCOPED_TRACE(by_key ? "a key" : "a left click");
        Intro intro;
        if (by_key) {
            push_key(SDLK_SPACE);
        } else {
            push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 400, 300);
        }
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
        drain_events();
    }
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

// Each fade moves its own counter only, as a byte: a step of 2 raises it by
// two, a step of 254 lowers it by two, and both wrap past 0 and 255.
TEST_F(IntroTest, EachFadeMovesItsOwnCounterAsAByte)
{
    using Fade = void (Intro::*)(Uint8, SDL_Surface*);
    using Read = Uint8 (Intro::*)() const;
    const struct {
        const char* name;
        Fade fade;
        Read counter;
    } layers[] = {{"presents", &Intro::fade_presents, &Intro::presents_alpha},
                  {"name", &Intro::fade_name, &Intro::name_alpha},
                  {"title", &Intro::fade_title, &Intro::title_alpha},
                  {"black", &Intro::fade_black, &Intro::black_alpha}};
    const Uint8 steps[] = {2, 2, 254, 254, 254, 0, 2, 2, 1};
    const std::vector<int> expected = {2, 4, 2, 0, 254, 254, 0, 2, 3};
    for (const auto& layer : layers) {
        SCOPED_TRACE(layer.name);
        Intro intro;
        std::vector<int> seen;
        for (Uint8 step : steps) {
            (intro.*layer.fade)(step, screen());
            seen.push_back((intro.*layer.counter)());
            int others = 0;
            for (const auto& other : layers) {
                others += other.counter == layer.counter ? 0 : (intro.*other.counter)();
            }
            EXPECT_EQ(others, 0) << "another counter moved";
        }
        EXPECT_EQ(seen, expected);
    }
}

TEST_F(IntroTest, FramesKeepSixtyASecondUnlessTheDisplayIsSlower)
{
    {
        SCOPED_TRACE("flips return at once");
        Intro intro;
        EXPECT_FALSE(intro.run(screen()));
        EXPECT_EQ(intro.flips(), 508u);
        // 508 / 60 s, not 508 x 16 ms (8128) nor 508 x 17 ms (8636).
        EXPECT_GE(clock.total_delay(), 8440u);
        EXPECT_LE(clock.total_delay(), 8490u);
    }
    for (Uint32 per_flip : {17u, 20u}) {
        SCOPED_TRACE(testing::Message() << "each flip takes " << per_flip << " ms");
        Intro intro;
        const Uint64 waited_before = clock.total_delay();
        clock.busy = [&intro, per_flip] { return per_flip * intro.flips(); };
        EXPECT_FALSE(intro.run(screen()));
        clock.busy = nullptr;
        EXPECT_EQ(intro.flips(), 508u);
        EXPECT_EQ(clock.total_delay() - waited_before, 0u);
    }
    {
        SCOPED_TRACE("a one-second stall at the 100th flip");
        Intro intro;
        const Uint64 waited_before = clock.total_delay();
        clock.busy = [&intro] { return intro.flips() >= 100 ? 1000u : 0u; };
        EXPECT_FALSE(intro.run(screen()));
        clock.busy = nullptr;
        // The frames after the stall keep their pace instead of rushing to
        // catch up: the stall adds to the 8.47 s.
        EXPECT_GE(clock.total_delay() - waited_before, 8400u);
        EXPECT_LE(clock.total_delay() - waited_before, 8490u);
    }
}

TEST_F(IntroTest, KeyDuringThePacedIntroSkipsWithinTwoFrames)
{
    for (Uint64 press_at : {1000u, 3000u, 6000u}) {
        SCOPED_TRACE(press_at);
        Intro intro;
        const Uint64 start = clock.total_delay();
        unsigned flips_at_press = 0;
        Uint64 waited_at_press = 0;
        clock.on_delay = [&](Uint32) {
            if (flips_at_press == 0 && clock.total_delay() - start >= press_at) {
                flips_at_press = intro.flips();
                waited_at_press = clock.total_delay();
                push_key(SDLK_SPACE);
            }
        };
        EXPECT_FALSE(intro.run(screen()));
        clock.on_delay = nullptr;
        ASSERT_GT(flips_at_press, 0u);
        EXPECT_LE(intro.flips() - flips_at_press, 2u);
        EXPECT_LE(clock.total_delay() - waited_at_press, 34u);  // two frames at 60 Hz
        EXPECT_LT(intro.flips(), 508u);
    }
}

TEST_F(IntroFullscreenTest, F11NeitherSkipsNorEndsTheIntro)
{
    {
        Intro intro;
        push_key(SDLK_F11);
        EXPECT_FALSE(intro.run(screen()));
        EXPECT_EQ(intro.flips(), 508u) << "played whole, as without input";
        EXPECT_EQ(display.switches, 1);
    }
    {
        // Another key still skips right after it, and Escape still aborts.
        Intro intro;
        push_key(SDLK_F11);
        push_key(SDLK_SPACE);
        EXPECT_FALSE(intro.run(screen()));
        EXPECT_LE(intro.flips(), 3u);
        Intro aborted;
        push_key(SDLK_F11);
        push_key(SDLK_ESCAPE);
        EXPECT_TRUE(aborted.run(screen()));
        EXPECT_EQ(display.switches, 3);
    }
}
