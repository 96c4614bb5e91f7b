#include "game_test_support.h"

#include "core/assets.h"

using gametest::colour_is;

namespace {

int pixels_of(SDL_Surface* screen, Uint8 r, Uint8 g, Uint8 b)
{
    int n = 0;
    for (int y = 200; y < 400; ++y) {
        for (int x = 150; x < 650; ++x) {
            n += colour_is(screen, x, y, r, g, b);
        }
    }
    return n;
}

}  // namespace

class MatchScreens : public gametest::MatchTest {};

TEST_F(MatchScreens, PauseShowsItsOverlayOverTheLastFrameWithTheVisorAtThePointer)
{
    SurfacePtr visor = load_bmp(assets::kCursorNormal);  // the Default visor's
    ASSERT_NE(visor, nullptr);
    make(0, 0, 12);
    testsupport::push_active(0, SDL_APPINPUTFOCUS);
    int overlay = -1;
    bool last_frame_kept = false;
    int visor_shown = 0;
    int idle = 0;
    // The pointer moves while paused; what the screen shows then, and the
    // keyboard comes back.
    clock.when_idle = [&] {
        if (++idle == 1) {
            testsupport::push_motion(120, 130);
        } else if (idle == 2) {
            overlay = pixels_of(screen(), 193, 0, 165);
            last_frame_kept = colour_is(screen(), 0, 553, 255, 0, 0);
            visor_shown = gametest::opaque_pixels_shown(visor.get(), screen(),
                                                        rect_at(120 - visor->w / 2, 130 - visor->h / 2));
            testsupport::push_active(1, SDL_APPINPUTFOCUS);
        }
    };
    script({[] {}});
    play();
    EXPECT_GT(overlay, 50);
    EXPECT_TRUE(last_frame_kept) << "the last frame stays around the overlay";
    EXPECT_EQ(visor_shown, gametest::opaque_pixels(visor.get()));
    EXPECT_EQ(score(), 12);
}

TEST_F(MatchScreens, GameOverShowsTheScoreResetsItAndWaitsForAKeyOrACloseRequest)
{
    SurfacePtr visor = load_bmp(assets::kCursorNormal);
    ASSERT_NE(visor, nullptr);
    for (const bool by_key : {true, false}) {
        make(0, 0, 57);
        m().draw_frame(screen());
        testsupport::push_click(400, 300);
        testsupport::push_active(0, SDL_APPINPUTFOCUS);
        testsupport::push_motion(120, 130);
        testsupport::push_key_up(SDLK_c);
        if (by_key) {
            testsupport::push_key(SDLK_a);
        } else {
            testsupport::push_quit();
        }
        testsupport::push_key(SDLK_b);
        m().game_over(screen());
        EXPECT_EQ(score(), 0);
        EXPECT_TRUE(MatchSeam::ended(m()));
        SDL_Event rest;
        ASSERT_TRUE(SDL_PollEvent(&rest));
        EXPECT_EQ(rest.key.keysym.sym, SDLK_b) << "the screen ended at the key or close request";
        EXPECT_GT(pixels_of(screen(), 255, 0, 0), 50);
        EXPECT_GT(pixels_of(screen(), 193, 0, 165), 20);
        EXPECT_TRUE(colour_is(screen(), 0, 553, 255, 0, 0));
        EXPECT_EQ(gametest::opaque_pixels_shown(visor.get(), screen(),
                                                rect_at(120 - visor->w / 2, 130 - visor->h / 2)),
                  gametest::opaque_pixels(visor.get()))
            << "the visor follows the pointer";
    }
}

TEST_F(MatchScreens, GameOverEndsAtALeftClickOnlyOnceItHasShownASecond)
{
    // Shots still fired as the countdown runs out land on the screen in its
    // first second: they must not dismiss it unread.
    make(0, 0, 57);
    m().draw_frame(screen());
    int clicks = 0;
    clock.think_ms = 250;
    clock.when_idle = [&] {
        if (clicks < 5) {
            testsupport::push_click(400, 300);
            ++clicks;
        }
    };
    m().game_over(screen());
    EXPECT_EQ(clicks, 3) << "the presses at 250 and 750 ms were let pass, the one at 1250 ended it";
    EXPECT_TRUE(MatchSeam::ended(m()));
}
