#include <gtest/gtest.h>

#include <string>

#include "core/fullscreen.h"
#include "core/input.h"
#include "menu/menu.h"
#include "screen_test.h"

using namespace testsupport;

namespace {

// The display's switches counted, succeeding or failing as told.
class FullscreenKeyTest : public ScreenTest {
protected:
    FakeDisplaySwitch display;
};

SDL_Event key_event(Uint8 type, SDLKey key)
{
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    return e;
}

void keep_open(SDL_Surface*, Uint8* close)
{
    *close = 0;
}

}  // namespace

TEST_F(FullscreenKeyTest, OnlyAPressOfF11SwitchesTheOpenScreen)
{
    EXPECT_TRUE(handle_fullscreen_key(key_event(SDL_KEYDOWN, SDLK_F11)));
    EXPECT_EQ(display.switches, 1);
    EXPECT_EQ(display.switched_surface, screen());
    for (const SDL_Event& other : {key_event(SDL_KEYUP, SDLK_F11), key_event(SDL_KEYDOWN, SDLK_F10),
                                   key_event(SDL_KEYDOWN, SDLK_f), key_event(SDL_KEYDOWN, SDLK_ESCAPE)}) {
        EXPECT_FALSE(handle_fullscreen_key(other)) << "type " << int(other.type) << " key " << other.key.keysym.sym;
    }
    EXPECT_EQ(display.switches, 1);
    EXPECT_EQ(SDL_GetVideoSurface(), screen()) << "the screen every holder keeps is still the one";
}

TEST_F(FullscreenKeyTest, ADisplayThatCannotSwitchIsToldInOneLine)
{
    testing::internal::CaptureStderr();
    EXPECT_TRUE(toggle_fullscreen());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    display.can_switch = false;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(toggle_fullscreen());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tirevane: this display cannot switch to full screen; the game stays in its window\n");

    // In full screen the line names the other way.
    screen()->flags |= SDL_FULLSCREEN;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(handle_fullscreen_key(key_event(SDL_KEYDOWN, SDLK_F11)));
    screen()->flags &= ~SDL_FULLSCREEN;
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tirevane: this display cannot switch back to a window; the game stays in full "
              "screen\n");
    EXPECT_EQ(display.switches, 3);
}

TEST_F(FullscreenKeyTest, ASwitchPutsThePointerBackUnderTheCursor)
{
    // Where the pointer went is the game's to say after a switch: SDL moves
    // the picture under it without a word.
    toggle_fullscreen();
    EXPECT_EQ(SDL_PollEvent(nullptr), 0) << "no pointer seen yet, none to put back";
    SDL_Event seen;
    push_motion(250, 260);
    ASSERT_TRUE(input::poll(seen));
    display.can_switch = false;
    testing::internal::CaptureStderr();
    toggle_fullscreen();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(SDL_PollEvent(nullptr), 0) << "a failed switch moved the pointer";
    display.can_switch = true;
    toggle_fullscreen();
    SDL_Event put_back;
    ASSERT_EQ(SDL_PollEvent(&put_back), 1);
    EXPECT_EQ(put_back.type, SDL_MOUSEMOTION);
    EXPECT_EQ(put_back.motion.x, 250);
    EXPECT_EQ(put_back.motion.y, 260);
}

TEST_F(FullscreenKeyTest, F11SwitchesOnAMenuWhichStaysOpen)
{
    Menu menu(true);
    menu.add_item("Jouer", 111, keep_open);
    push_key(SDLK_F11);
    push_key(SDLK_F11);
    push_key(SDLK_ESCAPE);
    menu.run(screen());
    EXPECT_EQ(display.switches, 2);
    SDL_Event left;
    EXPECT_EQ(SDL_PollEvent(&left), 0) << "the menu stayed open until Escape";
}
