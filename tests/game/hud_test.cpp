#include <filesystem>
#include <utility>

#include "core/assets.h"
#include "game/hud.h"
#include "game_test_support.h"

using gametest::colour_is;
using gametest::same_pixels;

namespace {

constexpr SDL_Color kTextWhite = {255, 255, 255, 0};
constexpr SDL_Color kCountdownGreen = {0, 255, 0, 0};

// The text as the bar should show it: the HUD face, shaded on black.
SurfacePtr hud_text(int size, const char* text, SDL_Color colour)
{
    return render_shaded(assets::kHudFont, size, text, colour, kBlack);
}

// Shaded texts are palette surfaces: a mark in the text colour over the
// whole box is something a fresh rendering never shows at its corner.
void mark(SDL_Surface* text, SDL_Color colour)
{
    SDL_FillRect(text, nullptr, SDL_MapRGB(text->format, colour.r, colour.g, colour.b));
}

bool marked(SDL_Surface* text, SDL_Color colour)
{
    return testsupport::same_colour(testsupport::pixel_at(text, 0, 0), colour, 0);
}

// How many pixels of `text` the screen shows at `at`, and how many of it
// fit on the screen.
std::pair<int, int> text_on_screen(SDL_Surface* screen, SDL_Surface* text, SDL_Rect at)
{
    int matching = 0;
    int visible = 0;
    for (int y = 0; y < text->h && at.y + y < screen->h; ++y) {
        for (int x = 0; x < text->w; ++x) {
            ++visible;
            matching += testsupport::same_colour(testsupport::pixel_at(screen, at.x + x, at.y + y),
                                                 testsupport::pixel_at(text, x, y));
        }
    }
    return {matching, visible};
}

class HudTest : public ::testing::Test {
protected:
    SDL_Surface* screen() const { return video.screen(); }
    void paint_screen_white()
    {
        SDL_FillRect(screen(), nullptr, SDL_MapRGB(screen()->format, 255, 255, 255));
    }

    testsupport::GameDir dir;
    testsupport::VideoSession video;
};

}  // namespace

TEST_F(HudTest, DifficultyShowsItsNumberFromOneOn20PxFromTheLeft)
{
    struct Case {
        Sint16 difficulty;
        const char* text;
    };
    for (const Case& c : {Case{0, "Difficulte : 1"}, Case{1, "Difficulte : 2"},
                          Case{2, "Difficulte : 3"}}) {
        Hud hud(c.difficulty, 0, 5);
        SurfacePtr expected = hud_text(22, c.text, kTextWhite);
        EXPECT_TRUE(same_pixels(hud.difficulty_text(), expected.get())) << c.text;
        EXPECT_EQ(hud.difficulty_position().x, 20);
        EXPECT_EQ(hud.difficulty_position().y, 566);
    }
}

TEST_F(HudTest, ScoreEndsAt780WhateverItsWidth)
{
    struct Case {
        Sint32 score;
        const char* text;
    };
    for (const Case& c : {Case{0, "Score : 0"}, Case{7, "Score : 7"}, Case{12345, "Score : 12345"},
                          Case{2147483647, "Score : 2147483647"}}) {
        Hud hud(0, c.score, 5);
        SurfacePtr expected = hud_text(22, c.text, kTextWhite);
        ASSERT_NE(expected, nullptr);
        EXPECT_TRUE(same_pixels(hud.score_text(), expected.get())) << c.text;
        EXPECT_EQ(hud.score_position().x, 780 - expected->w) << c.text;
        EXPECT_EQ(hud.score_position().y, 566);
        EXPECT_EQ(hud.shown_score(), c.score);
    }
}

TEST_F(HudTest, CountdownKeepsTheLeftEdgeOfItsFirstSmallRendering)
{
    Hud hud(2, 0, 15);
    SurfacePtr small = hud_text(22, "15", kCountdownGreen);
    ASSERT_NE(small, nullptr);
    EXPECT_TRUE(same_pixels(hud.countdown_text(), small.get()));
    EXPECT_EQ(hud.countdown_position().x, 400 - small->w / 2);
    EXPECT_EQ(hud.countdown_position().y, 558);
    EXPECT_TRUE(hud.countdown_needs_rendering());

    // The first frame renders it at full size, where the small one stood.
    hud.draw(screen(), 0, 15);
    SurfacePtr large = hud_text(40, "15", kCountdownGreen);
    EXPECT_TRUE(same_pixels(hud.countdown_text(), large.get()));
    EXPECT_FALSE(hud.countdown_needs_rendering());
    EXPECT_EQ(hud.countdown_position().x, 400 - small->w / 2);

    hud.mark_countdown_dirty();
    hud.draw(screen(), 0, 9);
    SurfacePtr nine = hud_text(40, "9", kCountdownGreen);
    EXPECT_TRUE(same_pixels(hud.countdown_text(), nine.get()));
    EXPECT_EQ(hud.countdown_position().x, 400 - small->w / 2);
    EXPECT_EQ(hud.countdown_position().y, 558);
}

TEST_F(HudTest, ScoreTextIsRenderedAgainOnlyWhenTheScoreDiffersFromTheShownOne)
{
    Hud hud(0, 5, 5);
    mark(hud.score_text(), kTextWhite);
    for (int i = 0; i < 3; ++i) {
        hud.draw(screen(), 5, 5);
    }
    EXPECT_TRUE(marked(hud.score_text(), kTextWhite));

    hud.draw(screen(), 1234, 5);
    EXPECT_EQ(hud.shown_score(), 1234);
    SurfacePtr expected = hud_text(22, "Score : 1234", kTextWhite);
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(same_pixels(hud.score_text(), expected.get()));
    EXPECT_EQ(hud.score_position().x, 780 - expected->w);
}

TEST_F(HudTest, CountdownIsRenderedAgainOnlyWhenMarked)
{
    Hud hud(1, 0, 10);
    hud.draw(screen(), 0, 10);
    mark(hud.countdown_text(), kCountdownGreen);
    // Seconds won by a hit show only at the next tick.
    hud.draw(screen(), 0, 3);
    EXPECT_TRUE(marked(hud.countdown_text(), kCountdownGreen));

    hud.mark_countdown_dirty();
    hud.draw(screen(), 0, 3);
    SurfacePtr expected = hud_text(40, "3", kCountdownGreen);
    EXPECT_TRUE(same_pixels(hud.countdown_text(), expected.get()));
}

TEST_F(HudTest, DrawsTheRedWhiteAndBlackBarAndItsTextsOverTheFrame)
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

    struct Text {
        const char* name;
        SDL_Surface* surface;
        SDL_Rect at;
    };
    for (const Text& text : {Text{"difficulty", hud.difficulty_text(), hud.difficulty_position()},
                             Text{"score", hud.score_text(), hud.score_position()},
                             Text{"countdown", hud.countdown_text(), hud.countdown_position()}}) {
        ASSERT_NE(text.surface, nullptr) << text.name;
        const auto [matching, visible] = text_on_screen(screen(), text.surface, text.at);
        EXPECT_GT(visible, 0) << text.name;
        EXPECT_EQ(matching, visible) << text.name;
    }
}

TEST_F(HudTest, WithoutItsFontTheBarStillShowsAndTextsStandWhereEmptyOnesWould)
{
    std::filesystem::remove(dir.path() / assets::kHudFont);
    Hud hud(1, 77, 10);
    EXPECT_EQ(hud.difficulty_text(), nullptr);
    EXPECT_EQ(hud.score_text(), nullptr);
    EXPECT_EQ(hud.countdown_text(), nullptr);
    EXPECT_EQ(hud.score_position().x, 780);
    EXPECT_EQ(hud.countdown_position().x, 400);

    paint_screen_white();
    hud.draw(screen(), 80, 9);
    hud.mark_countdown_dirty();
    hud.draw(screen(), 80, 8);
    EXPECT_EQ(hud.shown_score(), 80);
    EXPECT_TRUE(colour_is(screen(), 300, 553, 255, 0, 0));
    EXPECT_TRUE(colour_is(screen(), 300, 555, 255, 255, 255));
    for (int y = 556; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            ASSERT_TRUE(colour_is(screen(), x, y, 0, 0, 0)) << "no text drawn, at " << x << "," << y;
        }
    }
}
