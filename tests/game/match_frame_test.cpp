#include <filesystem>

#include "core/assets.h"
#include "game_test_support.h"
#include "on_screen.h"

using gametest::colour_is;
using gametest::opaque_pixels_shown;
using gametest::shows_centred;

namespace {

// The first visor's two pictures.
SurfacePtr normal_visor()
{
    return load_keyed_bmp("System/01/Menu/Cursor_Curs01.bmp");
}
SurfacePtr over_visor()
{
    return load_keyed_bmp("System/01/Menu/Cursor_Curs02.bmp");
}

}  // namespace

class MatchSetUp : public gametest::MatchTest {};

TEST_F(MatchSetUp, DifficultySetsTheSecondsAndTheBarsNumberOutOfRangePlaysTheNearest)
{
    struct Case {
        Sint16 difficulty;
        Uint16 seconds;
        const char* text;
    };
    for (const Case& c : {Case{0, 5, "Difficulte : 1"}, Case{1, 10, "Difficulte : 2"},
                          Case{2, 15, "Difficulte : 3"}, Case{9, 15, "Difficulte : 3"},
                          Case{-1, 5, "Difficulte : 1"}}) {
        make(0, c.difficulty, 0);
        EXPECT_EQ(seconds_left(), c.seconds) << c.difficulty;
        m().draw_frame(screen());
        SurfacePtr expected = render_shaded(assets::kHudFont, 22, c.text, kWhite, kBlack);
        EXPECT_TRUE(gametest::shows_at(screen(), expected, 20, 566)) << c.difficulty;
    }
}

TEST_F(MatchSetUp, VisorRowChoosesPicturesAndOutOfRangeUsesRowZero)
{
    struct Case {
        Sint16 visor;
        const char* normal;
        const char* over;
    };
    for (const Case& c :
         {Case{0, "System/01/Menu/Cursor_Curs01.bmp", "System/01/Menu/Cursor_Curs02.bmp"},
          Case{3, "System/01/Visors/Visor_Visor04a.bmp", "System/01/Visors/Visor_Visor04b.bmp"},
          Case{5, "System/01/Visors/Visor_Visor06a.bmp", "System/01/Visors/Visor_Visor06b.bmp"},
          Case{6, "System/01/Menu/Cursor_Curs01.bmp", "System/01/Menu/Cursor_Curs02.bmp"},
          Case{-2, "System/01/Menu/Cursor_Curs01.bmp", "System/01/Menu/Cursor_Curs02.bmp"}}) {
        make(c.visor, 0, 0);
        const SurfacePtr normal = load_keyed_bmp(c.normal);
        const SurfacePtr over = load_keyed_bmp(c.over);
        bool normal_shown = false;
        bool over_shown = false;
        script({[&] {
                    normal_shown = shows_centred(screen(), normal, 400, 300);
                    add_target_at(380, 280);  // under the centre, standing or lying
                    testsupport::push_motion(400, 300);
                },
                [&] { over_shown = shows_centred(screen(), over, 400, 300); }});
        play();
        EXPECT_TRUE(normal_shown) << c.visor;
        EXPECT_TRUE(over_shown) << c.visor;
    }
}

TEST_F(MatchSetUp, VisorStartsCentredAndNoEventIsRecordedYet)
{
    make(0, 0, 0);
    m().draw_frame(screen());
    EXPECT_TRUE(shows_centred(screen(), normal_visor(), 400, 300));
    EXPECT_FALSE(shows_centred(screen(), over_visor(), 400, 300));
    const SDL_Event& e = MatchSeam::last_event(m());
    EXPECT_EQ(e.type, SDL_NOEVENT);
    EXPECT_EQ(e.button.x, 0);
    EXPECT_EQ(e.button.y, 0);
}

class MatchFrame : public gametest::MatchTest {};

TEST_F(MatchFrame, ClearsToBlackAndDrawsTheStatusBarOverTargets)
{
    make(0, 0, 0);
    SDL_FillRect(screen(), nullptr, SDL_MapRGB(screen()->format, 255, 255, 255));
    // A target reaching down behind the status bar, whatever its colour.
    add_target_at(290, 540);
    m().draw_frame(screen());
    EXPECT_FALSE(colour_is(screen(), 300, 551, 0, 0, 0)) << "the target above the bar";
    for (int x : {0, 300, 799}) {
        EXPECT_TRUE(colour_is(screen(), x, 553, 255, 0, 0)) << x;
        EXPECT_TRUE(colour_is(screen(), x, 554, 255, 0, 0)) << x;
        EXPECT_TRUE(colour_is(screen(), x, 555, 255, 255, 255)) << x;
    }
    EXPECT_TRUE(colour_is(screen(), 300, 580, 0, 0, 0)) << "the bar hides the target";
    EXPECT_TRUE(colour_is(screen(), 300, 599, 0, 0, 0));
    EXPECT_TRUE(colour_is(screen(), 600, 300, 0, 0, 0)) << "the background cleared";
}

TEST_F(MatchFrame, YellowVisorPixelsAreTransparent)
{
    make(0, 0, 0);
    m().draw_frame(screen());
    const SurfacePtr normal = normal_visor();
    SDL_Surface* picture = normal.get();
    ASSERT_NE(picture, nullptr);
    const SDL_Rect at = rect_at(static_cast<Sint16>(400 - picture->w / 2),
                                static_cast<Sint16>(300 - picture->h / 2));
    int keyed = 0;
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            if (testsupport::same_colour(testsupport::pixel_at(picture, x, y), rgb(255, 255, 0), 0)) {
                ++keyed;
                EXPECT_TRUE(colour_is(screen(), at.x + x, at.y + y, 0, 0, 0));
            }
        }
    }
    EXPECT_GT(keyed, 0);
    EXPECT_EQ(opaque_pixels_shown(picture, screen(), at), picture->w * picture->h - keyed);
}

TEST_F(MatchFrame, VisorOverALiveTargetShowsTheSecondPicture)
{
    make(0, 0, 0);
    const SurfacePtr normal = normal_visor();
    const SurfacePtr over = over_visor();
    ASSERT_TRUE(normal && over);
    Target* target = nullptr;
    script({[&] {
                EXPECT_TRUE(shows_centred(screen(), normal, 400, 300));
                EXPECT_FALSE(shows_centred(screen(), over, 400, 300));
                target = &add_target_at(300, 200);
                testsupport::push_motion(320, 220);
            },
            [&] {
                EXPECT_TRUE(shows_centred(screen(), over, 320, 220));
                EXPECT_FALSE(shows_centred(screen(), normal, 320, 220));
                target->kill();
            },
            [&] {
                EXPECT_TRUE(shows_centred(screen(), normal, 320, 220)) << "a killed target no longer counts";
                EXPECT_FALSE(shows_centred(screen(), over, 320, 220));
            }});
    play();
}

TEST_F(MatchFrame, MissingFontAndPicturesDrawNothingAndDoNotCrash)
{
    namespace fs = std::filesystem;
    fs::remove(dir.path() / assets::kHudFont);
    for (const auto& row : assets::kVisors) {
        fs::remove(dir.path() / row.normal);
        fs::remove(dir.path() / row.over);
    }
    make(4, 1, 77);
    add_target_at(100, 100);
    m().draw_frame(screen());
    m().draw_frame(screen());
    EXPECT_FALSE(colour_is(screen(), 110, 110, 0, 0, 0)) << "the target is drawn";
    EXPECT_TRUE(colour_is(screen(), 400, 300, 0, 0, 0)) << "no visor";
    EXPECT_TRUE(colour_is(screen(), 300, 553, 255, 0, 0));

    SDL_Event waited{};
    testsupport::push_active(1, SDL_APPACTIVE);
    testsupport::push_key(SDLK_SPACE);
    m().pause(screen(), waited);
    m().game_over(screen());
    EXPECT_EQ(MatchSeam::score(m()), 0);
}
