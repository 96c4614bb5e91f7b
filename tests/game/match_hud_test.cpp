#include <filesystem>

#include "core/assets.h"
#include "game_test_support.h"

using gametest::colour_is;
using gametest::same_pixels;

namespace {

SDL_Surface* hud_text(int size, const char* text, SDL_Color colour)
{
    return render_shaded(assets::kHudFont, size, text, colour, kBlack).release();
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

}  // namespace

class MatchSetUp : public gametest::MatchTest {};

TEST_F(MatchSetUp, DifficultySetsCountdownAndHudDigit)
{
    struct Case {
        Sint16 difficulty;
        Sint16 played_as;
        Uint16 seconds;
        const char* text;
    };
    for (const Case& c : {Case{0, 0, 5, "Difficulte : 1"}, Case{1, 1, 10, "Difficulte : 2"},
                          Case{2, 2, 15, "Difficulte : 3"}, Case{9, 2, 15, "Difficulte : 3"},
                          Case{-1, 0, 5, "Difficulte : 1"}}) {
        make(0, c.difficulty, 0);
        EXPECT_EQ(MatchProbe::difficulty(m()), c.played_as);
        EXPECT_EQ(MatchProbe::seconds_left(m()), c.seconds);
        SDL_Surface* expected = hud_text(22, c.text, rgb(255, 255, 255));
        EXPECT_TRUE(same_pixels(MatchProbe::difficulty_text(m()), expected)) << c.text;
        SDL_FreeSurface(expected);
        const SDL_Rect at = MatchProbe::difficulty_pos(m());
        EXPECT_EQ(at.x, 20);
        EXPECT_EQ(at.y, 566);
    }
}

TEST_F(MatchSetUp, CountdownKeepsTheLeftEdgeOfItsFirstRendering)
{
    make(0, 2, 0);
    SDL_Surface* small = hud_text(22, "15", rgb(0, 255, 0));
    ASSERT_NE(small, nullptr);
    const SDL_Rect at = MatchProbe::countdown_pos(m());
    EXPECT_EQ(at.x, 400 - small->w / 2);
    EXPECT_EQ(at.y, 558);
    EXPECT_TRUE(same_pixels(MatchProbe::countdown_text(m()), small));

    m().draw_frame(screen());
    SDL_Surface* large = hud_text(40, "15", rgb(0, 255, 0));
    EXPECT_TRUE(same_pixels(MatchProbe::countdown_text(m()), large));
    EXPECT_EQ(MatchProbe::countdown_dirty(m()), 0);

    MatchProbe::seconds_left(m()) = 9;
    MatchProbe::countdown_dirty(m()) = 1;
    m().draw_frame(screen());
    EXPECT_EQ(MatchProbe::countdown_pos(m()).x, at.x);
    EXPECT_EQ(MatchProbe::countdown_pos(m()).y, 558);
    SDL_FreeSurface(small);
    SDL_FreeSurface(large);
}

TEST_F(MatchSetUp, ScoreKeepsItsRightEdgeAt780)
{
    for (Sint32 score : {0, 7, 12345, 2147483647}) {
        make(0, 0, score);
        SDL_Surface* text = MatchProbe::score_text(m());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(MatchProbe::score_pos(m()).x + text->w, 780);
        EXPECT_EQ(MatchProbe::score_pos(m()).y, 566);
    }
}

TEST_F(MatchSetUp, VisorRowChoosesPicturesAndOutOfRangeUsesRowZero)
{
    struct Case {
        Sint16 visor;
        int row;
    };
    for (const Case& c : {Case{0, 0}, Case{3, 3}, Case{5, 5}, Case{6, 0}, Case{9, 0}, Case{-2, 0}}) {
        make(c.visor, 0, 0);
        SurfacePtr normal = load_bmp(assets::kVisors[c.row].normal);
        SurfacePtr over = load_bmp(assets::kVisors[c.row].over);
        EXPECT_TRUE(same_pixels(MatchProbe::visor_normal(m()), normal.get())) << c.visor;
        EXPECT_TRUE(same_pixels(MatchProbe::visor_over(m()), over.get())) << c.visor;
    }
}

TEST_F(MatchSetUp, VisorStartsCentredAndEventRecordIsEmpty)
{
    make(2, 0, 0);
    SDL_Surface* visor = MatchProbe::visor_normal(m());
    ASSERT_NE(visor, nullptr);
    const SDL_Rect at = MatchProbe::visor_pos(m());
    EXPECT_EQ(at.x, 400 - visor->w / 2);
    EXPECT_EQ(at.y, 300 - visor->h / 2);
    const SDL_Event& e = MatchProbe::event(m());
    EXPECT_EQ(e.type, SDL_NOEVENT);
    EXPECT_EQ(e.button.x, 0);
    EXPECT_EQ(e.button.y, 0);
    EXPECT_EQ(MatchProbe::visor_idle(m()), 1);
}

class MatchFrame : public gametest::MatchTest {};

TEST_F(MatchFrame, StatusBarLinesAndBarAreDrawnOverTargets)
{
    make(0, 0, 0);
    // A white target standing behind the whole status bar.
    Target& t = add_target_at(290, 540);
    SDL_FillRect(TargetProbe::surface(t), nullptr,
                 SDL_MapRGB(TargetProbe::surface(t)->format, 255, 255, 255));
    m().draw_frame(screen());
    for (int x : {0, 300, 799}) {
        EXPECT_TRUE(colour_is(screen(), x, 553, 255, 0, 0)) << x;
        EXPECT_TRUE(colour_is(screen(), x, 554, 255, 0, 0)) << x;
        EXPECT_TRUE(colour_is(screen(), x, 555, 255, 255, 255)) << x;
    }
    EXPECT_TRUE(colour_is(screen(), 300, 552 - 1, 255, 255, 255)) << "target above the bar";
    EXPECT_TRUE(colour_is(screen(), 300, 580, 0, 0, 0)) << "bar hides the target";
    EXPECT_TRUE(colour_is(screen(), 300, 599, 0, 0, 0));
    EXPECT_TRUE(colour_is(screen(), 600, 300, 0, 0, 0)) << "background cleared";
}

TEST_F(MatchFrame, TextsStandOnTheBarAtTheirPositions)
{
    make(0, 0, 42);
    m().draw_frame(screen());
    struct Text {
        SDL_Surface* surface;
        SDL_Rect at;
    };
    for (const Text& text : {Text{MatchProbe::difficulty_text(m()), MatchProbe::difficulty_pos(m())},
                             Text{MatchProbe::score_text(m()), MatchProbe::score_pos(m())},
                             Text{MatchProbe::countdown_text(m()), MatchProbe::countdown_pos(m())}}) {
        ASSERT_NE(text.surface, nullptr);
        int matching = 0;
        for (int y = 0; y < text.surface->h && text.at.y + y < 600; ++y) {
            for (int x = 0; x < text.surface->w; ++x) {
                matching += testsupport::same_colour(
                    testsupport::pixel_at(screen(), text.at.x + x, text.at.y + y),
                    testsupport::pixel_at(text.surface, x, y));
            }
        }
        const int visible = text.surface->w * std::min<int>(text.surface->h, 600 - text.at.y);
        EXPECT_EQ(matching, visible);
    }
}

TEST_F(MatchFrame, ScoreTextIsRenderedAgainOnlyWhenTheScoreChanges)
{
    make(0, 0, 5);
    SDL_Surface* text = MatchProbe::score_text(m());
    ASSERT_NE(text, nullptr);
    const SDL_Color white = rgb(255, 255, 255);
    mark(text, white);
    for (int i = 0; i < 3; ++i) {
        m().draw_frame(screen());
    }
    EXPECT_TRUE(marked(MatchProbe::score_text(m()), white));

    MatchProbe::score(m()) = 1234;
    m().draw_frame(screen());
    EXPECT_EQ(MatchProbe::shown_score(m()), 1234);
    EXPECT_FALSE(marked(MatchProbe::score_text(m()), white));
    SDL_Surface* expected = hud_text(22, "Score : 1234", rgb(255, 255, 255));
    EXPECT_TRUE(same_pixels(MatchProbe::score_text(m()), expected));
    EXPECT_EQ(MatchProbe::score_pos(m()).x + expected->w, 780);
    SDL_FreeSurface(expected);
}

TEST_F(MatchFrame, CountdownTextIsRenderedAgainOnlyWhenMarkedDirty)
{
    make(0, 1, 0);
    m().draw_frame(screen());
    const SDL_Color green = rgb(0, 255, 0);
    mark(MatchProbe::countdown_text(m()), green);
    MatchProbe::seconds_left(m()) = 3;
    m().draw_frame(screen());
    EXPECT_TRUE(marked(MatchProbe::countdown_text(m()), green));
    MatchProbe::countdown_dirty(m()) = 1;
    m().draw_frame(screen());
    SDL_Surface* expected = hud_text(40, "3", rgb(0, 255, 0));
    EXPECT_TRUE(same_pixels(MatchProbe::countdown_text(m()), expected));
    SDL_FreeSurface(expected);
}

TEST_F(MatchFrame, YellowVisorPixelsAreTransparent)
{
    make(0, 0, 0);
    m().draw_frame(screen());
    SDL_Surface* visor = MatchProbe::visor_normal(m());
    ASSERT_NE(visor, nullptr);
    const SDL_Rect at = MatchProbe::visor_pos(m());
    int keyed = 0;
    int drawn = 0;
    for (int y = 0; y < visor->h; ++y) {
        for (int x = 0; x < visor->w; ++x) {
            const SDL_Color own = testsupport::pixel_at(visor, x, y);
            const SDL_Color shown = testsupport::pixel_at(screen(), at.x + x, at.y + y);
            if (testsupport::same_colour(own, rgb(255, 255, 0), 0)) {
                ++keyed;
                EXPECT_TRUE(testsupport::same_colour(shown, rgb(0, 0, 0)));
            } else {
                drawn += testsupport::same_colour(shown, own);
            }
        }
    }
    EXPECT_GT(keyed, 0);
    EXPECT_EQ(drawn, visor->w * visor->h - keyed);
}

TEST_F(MatchFrame, VisorOverALiveTargetShowsTheSecondPicture)
{
    make(0, 0, 0);
    m().draw_frame(screen());
    SDL_Surface* over = MatchProbe::visor_over(m());
    ASSERT_NE(over, nullptr);
    SDL_Event at{};
    at.type = SDL_MOUSEMOTION;
    at.motion.x = 400;
    at.motion.y = 300;
    EXPECT_FALSE(m().pointer_over_live_target(at));
    Target& t = add_target_at(380, 280);
    EXPECT_TRUE(m().pointer_over_live_target(at));
    t.kill();
    EXPECT_FALSE(m().pointer_over_live_target(at));
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
    EXPECT_EQ(MatchProbe::score_text(m()), nullptr);
    EXPECT_EQ(MatchProbe::visor_normal(m()), nullptr);
    EXPECT_EQ(MatchProbe::score_pos(m()).x, 780);
    EXPECT_EQ(MatchProbe::countdown_pos(m()).x, 400);
    EXPECT_EQ(MatchProbe::visor_pos(m()).x, 400);
    EXPECT_EQ(MatchProbe::visor_pos(m()).y, 300);
    add_target_at(100, 100);
    m().draw_frame(screen());
    MatchProbe::score(m()) = 80;
    m().draw_frame(screen());
    EXPECT_TRUE(colour_is(screen(), 300, 553, 255, 0, 0));

    testsupport::push_active(1, SDL_APPACTIVE);
    testsupport::push_key(SDLK_SPACE);
    m().pause(screen(), MatchProbe::event(m()));
    m().game_over(screen());
    EXPECT_EQ(MatchProbe::score(m()), 0);
}
