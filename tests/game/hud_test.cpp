#include <filesystem>

#include "core/assets.h"
#include "game/hud.h"
#include "game_test_support.h"
#include "on_screen.h"

using gametest::colour_is;
using gametest::shows_at;

namespace {

constexpr SDL_Color kTextWhite = {255, 255, 255, 0};
constexpr SDL_Color kCountdownGreen = {0, 255, 0, 0};

// The text as the bar should show it: the HUD face, shaded on black.
SurfacePtr hud_text(int size, const char* text, SDL_Color colour)
{
    return render_shaded(assets::kHudFont, size, text, colour, kBlack);
}

class HudTest : public ::testing::Test {
protected:
    SDL_Surface* screen() const { return video.screen(); }
    void paint_screen_white()
    {
        SDL_FillRect(screen(), nullptr, SDL_MapRGB(screen()->format, 255, 255, 255));
    }
    // The left edge of the countdown: fixed by its first, small rendering.
    static int countdown_x(const char* first_seconds)
    {
        return 400 - hud_text(22, first_seconds, kCountdownGreen)->w / 2;
    }

    testsupport::GameDir dir;
    testsupport::VideoSession video;
};

}  // namespace

TEST_F(HudTest, DifficultyFromOneAt20PxAndScoreEndingAt780WhateverItsWidth)
{
    struct Case {
        Sint16 difficulty;
        Sint32 score;
        const char* difficulty_text;
        const char* score_text;
    };
    for (const Case& c : {Case{0, 0, "Difficulte : 1", "Score : 0"},
                          Case{1, 7, "Difficulte : 2", "Score : 7"},
                          Case{2, 12345, "Difficulte : 3", "Score : 12345"},
                          Case{0, 2147483647, "Difficulte : 1", "Score : 2147483647"}}) {
        Hud hud(c.difficulty, c.score, 5);
        hud.draw(screen(), c.score, 5);
        EXPECT_TRUE(shows_at(screen(), hud_text(22, c.difficulty_text, kTextWhite), 20, 566))
            << c.difficulty_text;
        const SurfacePtr score = hud_text(22, c.score_text, kTextWhite);
        ASSERT_NE(score, nullptr);
        EXPECT_TRUE(shows_at(screen(), score, 780 - score->w, 566)) << c.score_text;
    }
}

TEST_F(HudTest, CountdownShowsLargeFromTheLeftEdgeOfItsFirstSmallRendering)
{
    Hud hud(2, 0, 15);
    hud.draw(screen(), 0, 15);
    EXPECT_TRUE(shows_at(screen(), hud_text(40, "15", kCountdownGreen), countdown_x("15"), 558));

    hud.mark_countdown_dirty();
    hud.draw(screen(), 0, 9);
    EXPECT_TRUE(shows_at(screen(), hud_text(40, "9", kCountdownGreen), countdown_x("15"), 558));
}

TEST_F(HudTest, ScoreTextFollowsTheScoreDrawn)
{
    Hud hud(0, 5, 5);
    hud.draw(screen(), 5, 5);
    hud.draw(screen(), 1234, 5);
    const SurfacePtr expected = hud_text(22, "Score : 1234", kTextWhite);
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(shows_at(screen(), expected, 780 - expected->w, 566));
}

TEST_F(HudTest, CountdownIsRenderedAgainOnlyWhenMarked)
{
    Hud hud(1, 0, 10);
    hud.draw(screen(), 0, 10);
    // Seconds won by a hit show only at the next tick.
    hud.draw(screen(), 0, 3);
    EXPECT_TRUE(shows_at(screen(), hud_text(40, "10", kCountdownGreen), countdown_x("10"), 558));

    hud.mark_countdown_dirty();
    hud.draw(screen(), 0, 3);
    EXPECT_TRUE(shows_at(screen(), hud_text(40, "3", kCountdownGreen), countdown_x("10"), 558));
}

TEST_F(HudTest, DrawsTheRedWhiteAndBlackBarOverTheFrame)
{
    Hud hud(0, 42, 5);
    paint_screen_white();
    hud.draw(screen(), 42, 5);
    for (int x : {0, 300, 799}) {
        EXPECT_TRUE(colour_is(screen(), x, 552, 255, 255, 255)) << "above the bar, x " << x;
        EXPECT_TRUE(colour_is(screen(), x, 553, 255, 0, 0)) << x;
        EXPECT_TRUE(colour_is(screen(), x, 554, 255, 0, 0)) << x;
        EXPECT_TRUE(colour_is(screen(), x, 555, 255, 255, 255)) << x;
        EXPECT_TRUE(colour_is(screen(), x, 556, 0, 0, 0)) << x;
        EXPECT_TRUE(colour_is(screen(), x, 599, 0, 0, 0)) << x;
    }
    EXPECT_TRUE(colour_is(screen(), 5, 580, 0, 0, 0)) << "left of the difficulty";
    EXPECT_TRUE(colour_is(screen(), 795, 580, 0, 0, 0)) << "right of the score";
    EXPECT_TRUE(shows_at(screen(), hud_text(22, "Difficulte : 1", kTextWhite), 20, 566));
}

TEST_F(HudTest, WithoutItsFontTheBarStillShowsWithoutTexts)
{
    std::filesystem::remove(dir.path() / assets::kHudFont);
    Hud hud(1, 77, 10);
    paint_screen_white();
    hud.draw(screen(), 80, 9);
    hud.mark_countdown_dirty();
    hud.draw(screen(), 80, 8);
    EXPECT_TRUE(colour_is(screen(), 300, 553, 255, 0, 0));
    EXPECT_TRUE(colour_is(screen(), 300, 555, 255, 255, 255));
    for (int y = 556; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            ASSERT_TRUE(colour_is(screen(), x, y, 0, 0, 0)) << "no text drawn, at " << x << "," << y;
        }
    }
}
