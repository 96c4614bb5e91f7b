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

TEST_F(MatchScreens, PauseShowsItsOverlayAndWaitsForAGain)
{
    make(0, 0, 12);
    m().draw_frame(screen());
    testsupport::push_key(SDLK_ESCAPE);
    testsupport::push_click(400, 300);
    testsupport::push_quit();
    testsupport::push_active(0, SDL_APPMOUSEFOCUS);
    testsupport::push_active(1, SDL_APPACTIVE);
    testsupport::push_key(SDLK_b);
    SDL_Event event{};
    MatchSeam::lose_focus(m());
    m().pause(screen(), event);
    EXPECT_EQ(event.type, SDL_ACTIVEEVENT);
    EXPECT_EQ(event.active.gain, 1);
    SDL_Event rest;
    ASSERT_TRUE(SDL_PollEvent(&rest));
    EXPECT_EQ(rest.type, SDL_KEYDOWN) << "the pause ends at the gain and takes nothing more";
    EXPECT_GT(pixels_of(screen(), 193, 0, 165), 50);
    EXPECT_TRUE(colour_is(screen(), 0, 553, 255, 0, 0)) << "the last frame stays around it";
    EXPECT_EQ(score(), 12);
    EXPECT_FALSE(MatchSeam::ended(m()));
}

TEST_F(MatchScreens, GameOverShowsTheScoreResetsItAndWaitsForAKey)
{
    make(0, 0, 57);
    m().draw_frame(screen());
    testsupport::push_click(400, 300);
    testsupport::push_quit();
    testsupport::push_active(0, SDL_APPINPUTFOCUS);
    testsupport::push_motion(10, 10);
    testsupport::push_key_up(SDLK_c);
    testsupport::push_key(SDLK_a);
    testsupport::push_key(SDLK_b);
    m().game_over(screen());
    EXPECT_EQ(score(), 0);
    EXPECT_TRUE(MatchSeam::ended(m()));
    EXPECT_EQ(MatchSeam::last_event(m()).type, SDL_NOEVENT) << "game over waits in its own record";
    SDL_Event rest;
    ASSERT_TRUE(SDL_PollEvent(&rest));
    EXPECT_EQ(rest.type, SDL_KEYDOWN);
    EXPECT_EQ(rest.key.keysym.sym, SDLK_b);
    EXPECT_GT(pixels_of(screen(), 255, 0, 0), 50);
    EXPECT_GT(pixels_of(screen(), 193, 0, 165), 20);
    EXPECT_TRUE(colour_is(screen(), 0, 553, 255, 0, 0));
}

TEST_F(MatchScreens, VisorFollowsThePointerOverThePauseAndTheGameOverScreen)
{
    SurfacePtr visor = load_bmp(assets::kCursorNormal);  // the Default visor's
    ASSERT_NE(visor, nullptr);
    for (const bool game_over : {false, true}) {
        SCOPED_TRACE(game_over ? "game over" : "pause");
        make(0, 0, 12);
        m().draw_frame(screen());
        testsupport::push_motion(120, 130);
        if (game_over) {
            testsupport::push_key(SDLK_a);
            m().game_over(screen());
        } else {
            testsupport::push_active(1, SDL_APPINPUTFOCUS);
            SDL_Event event{};
            MatchSeam::lose_focus(m());
            m().pause(screen(), event);
        }
        const SDL_Rect at = rect_at(120 - visor->w / 2, 130 - visor->h / 2);
        EXPECT_EQ(gametest::opaque_pixels_shown(visor.get(), screen(), at),
                  gametest::opaque_pixels(visor.get()));
    }
}
