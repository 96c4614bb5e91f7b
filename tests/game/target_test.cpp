#include <cstdlib>

#include "core/random_range.h"
#include "game_test_support.h"

using gametest::colour_is;

namespace {

// The four draws a target makes, replayed from the same seed.
struct Draws {
    int orientation;
    int colour;
    int x;
    double speed;
};

Draws replay(unsigned seed, int long_side, int short_side, int size_class, double bonus)
{
    std::srand(seed);
    Draws d{};
    d.orientation = static_cast<int>(RandomRange(2, 1));
    d.colour = static_cast<int>(RandomRange(7, 0));
    const int width = d.orientation == 1 ? long_side : short_side;
    d.x = static_cast<int>(RandomRange(800 - width, 0));
    d.speed = RandomRange(static_cast<int>(size_class + 1.6), size_class + 1) + bonus;
    return d;
}

const SDL_Color kTable[8] = {
    {255, 255, 255, 0}, {255, 255, 0, 0}, {255, 121, 0, 0}, {255, 0, 0, 0},
    {128, 0, 128, 0},   {0, 0, 255, 0},   {92, 49, 10, 0},  {2, 2, 2, 0},
};

// Runs frames of one target on a scratch surface.
class TargetFrames : public ::testing::Test {
protected:
    TargetFrames() : screen(SDL_CreateRGBSurface(SDL_SWSURFACE, 800, 600, 32, 0, 0, 0, 0)) {}
    ~TargetFrames() override { SDL_FreeSurface(screen); }

    void frames(Target& t, int n)
    {
        for (int i = 0; i < n; ++i) {
            t.update_and_draw(screen);
        }
    }

    SDL_Surface* screen;
};

}  // namespace

TEST(TargetCreation, DrawsSizeOrientationColourPositionAndSpeedInOrder)
{
    const int sides[3][2] = {{140, 50}, {70, 25}, {35, 13}};
    for (int size_class = 0; size_class < 3; ++size_class) {
        for (unsigned seed = 1; seed <= 40; ++seed) {
            std::srand(seed);
            Target t(static_cast<Sint16>(size_class), 0.0);
            const Draws d = replay(seed, sides[size_class][0], sides[size_class][1], size_class, 0.0);
            const bool lying = d.orientation == 1;
            SDL_Surface* s = TargetProbe::surface(t);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(s->w, lying ? sides[size_class][0] : sides[size_class][1]);
            EXPECT_EQ(s->h, lying ? sides[size_class][1] : sides[size_class][0]);
            EXPECT_EQ(TargetProbe::colour_type(t), d.colour);
            EXPECT_EQ(TargetProbe::rect(t).x, d.x);
            EXPECT_LE(TargetProbe::rect(t).x + s->w, 800);
            EXPECT_EQ(TargetProbe::rect(t).y, 553);
            EXPECT_EQ(TargetProbe::speed(t), size_class + 1.0);
            EXPECT_EQ(t.points(), (d.colour + 1) * (size_class + 1));
            EXPECT_TRUE(t.is_alive());
            EXPECT_EQ(t.current_alpha(), 255);
            EXPECT_TRUE(colour_is(s, s->w / 2, s->h / 2, kTable[d.colour].r, kTable[d.colour].g,
                                  kTable[d.colour].b));
        }
    }
}

TEST(TargetCreation, MakesExactlyFourDraws)
{
    std::srand(99);
    Target t(1, 0.0);
    const int after_target = std::rand();
    std::srand(99);
    for (int i = 0; i < 4; ++i) {
        std::rand();
    }
    EXPECT_EQ(std::rand(), after_target);
}

TEST(TargetCreation, StandingMediumTargetIs25By70WithinThePlayfield)
{
    bool seen = false;
    for (unsigned seed = 1; seed < 200 && !seen; ++seed) {
        std::srand(seed);
        Target t(1, 0.0);
        if (TargetProbe::surface(t)->w == 25) {
            seen = true;
            EXPECT_EQ(TargetProbe::surface(t)->h, 70);
            EXPECT_GE(TargetProbe::rect(t).x, 0);
            EXPECT_LE(TargetProbe::rect(t).x, 775);
        }
    }
    EXPECT_TRUE(seen);
}

TEST(TargetCreation, SpeedBonusAddsToTheClassSpeed)
{
    Target t(2, 0.4);
    EXPECT_DOUBLE_EQ(TargetProbe::speed(t), 3.4);
}

TEST(TargetCreation, UnknownSizeClassesMeasureLikeTheNearestKnownOne)
{
    Target big(9, 0.0);
    EXPECT_EQ(TargetProbe::size_class(big), 2);
    EXPECT_EQ(std::max(TargetProbe::width(big), TargetProbe::height(big)), 35);
    EXPECT_EQ(TargetProbe::speed(big), 3.0);
    EXPECT_LE(big.points(), 24);

    Target small(-4, 0.0);
    EXPECT_EQ(TargetProbe::size_class(small), 0);
    EXPECT_EQ(std::max(TargetProbe::width(small), TargetProbe::height(small)), 140);
}

TEST(TargetCreation, PointsOfColourFourAtSizeClassOneAreTen)
{
    for (unsigned seed = 1; seed < 500; ++seed) {
        std::srand(seed);
        Target t(1, 0.0);
        if (TargetProbe::colour_type(t) == 4) {
            EXPECT_EQ(t.points(), 10);
            return;
        }
    }
    FAIL() << "no purple target drawn";
}

TEST_F(TargetFrames, SpeedOneFadesOutIn43FramesFromTheTopBand)
{
    Target t(0, 0.0);
    frames(t, 553 - 86);
    EXPECT_EQ(TargetProbe::rect(t).y, 86);
    EXPECT_EQ(t.current_alpha(), 255);
    frames(t, 1);
    EXPECT_EQ(TargetProbe::rect(t).y, 85);
    EXPECT_EQ(t.current_alpha(), 249);
    frames(t, 41);
    EXPECT_EQ(t.current_alpha(), 3);
    frames(t, 1);
    EXPECT_EQ(t.current_alpha(), 0);
    EXPECT_TRUE(t.is_alive());
}

TEST_F(TargetFrames, TargetReachingTheTopStopsAndDies)
{
    Target t(2, 0.0);
    TargetProbe::place(t, 100, 1);
    frames(t, 1);
    EXPECT_EQ(TargetProbe::rect(t).y, -2);
    EXPECT_TRUE(t.is_alive());
    EXPECT_EQ(t.current_alpha(), 255 - 12);
    frames(t, 1);
    EXPECT_EQ(TargetProbe::rect(t).y, -2);
    EXPECT_FALSE(t.is_alive());
    EXPECT_EQ(t.current_alpha(), 255 - 12 - 24);
}

TEST_F(TargetFrames, FractionalSpeedsRiseByTheNextWholePixel)
{
    Target fast(2, 0.4);
    frames(fast, 1);
    EXPECT_EQ(TargetProbe::rect(fast).y, 549);

    Target slow(0, 0.2);
    frames(slow, 3);
    EXPECT_EQ(TargetProbe::rect(slow).y, 553 - 6);

    // Above the edge the truncation goes toward zero.
    TargetProbe::place(fast, 10, 1);
    frames(fast, 1);
    EXPECT_EQ(TargetProbe::rect(fast).y, -2);
}

TEST_F(TargetFrames, AlphaStopsAtZero)
{
    Target t(0, 0.0);
    TargetProbe::place(t, 0, 50);
    TargetProbe::alpha(t) = 5;
    frames(t, 1);
    EXPECT_EQ(t.current_alpha(), 0);
    frames(t, 3);
    EXPECT_EQ(t.current_alpha(), 0);
}

TEST_F(TargetFrames, KilledTargetFadesOnceBelowAndTwiceInTheBand)
{
    Target t(0, 0.0);
    TargetProbe::place(t, 0, 300);
    t.kill();
    frames(t, 1);
    EXPECT_EQ(TargetProbe::rect(t).y, 299);
    EXPECT_EQ(t.current_alpha(), 255 - 6);
    TargetProbe::place(t, 0, 91);
    frames(t, 5);
    EXPECT_EQ(TargetProbe::rect(t).y, 86);
    EXPECT_EQ(t.current_alpha(), 255 - 6 * 5 - 6);
    frames(t, 1);
    EXPECT_EQ(t.current_alpha(), 255 - 6 * 6 - 12);
}

TEST_F(TargetFrames, SpeedsPastTheBandFadeOutAtOnce)
{
    for (double speed : {84.0, 84.5, 100.0, 5000.0}) {
        Target t(0, 0.0);
        TargetProbe::speed(t) = speed;
        TargetProbe::place(t, 0, 80);
        frames(t, 1);
        EXPECT_EQ(t.current_alpha(), 0) << speed;
    }
    // Slower targets keep the usual step: 255 / trunc(85 / 41) = 127.
    Target t(0, 0.0);
    TargetProbe::speed(t) = 40.0;
    TargetProbe::place(t, 0, 90);
    frames(t, 1);
    EXPECT_EQ(t.current_alpha(), 128);
}

TEST_F(TargetFrames, HugeSpeedsStayWithinPositionRange)
{
    Target t(0, 0.0);
    TargetProbe::speed(t) = 1e9;
    frames(t, 1);
    EXPECT_EQ(TargetProbe::rect(t).y, -32768);
    frames(t, 1);
    EXPECT_FALSE(t.is_alive());
}

TEST_F(TargetFrames, FadedTargetIsBlendedOverTheBackground)
{
    std::srand(5);
    Target t(0, 0.0);
    TargetProbe::place(t, 200, 87);
    frames(t, 1);
    SDL_Surface* s = TargetProbe::surface(t);
    const SDL_Color full = testsupport::pixel_at(s, 0, 0);
    EXPECT_TRUE(testsupport::same_colour(testsupport::pixel_at(screen, 201, 86), full));
    SDL_FillRect(screen, nullptr, 0);
    TargetProbe::alpha(t) = 134;
    frames(t, 1);  // into the band: alpha 128
    const SDL_Color half = testsupport::pixel_at(screen, 201, 85);
    EXPECT_NEAR(half.r, full.r / 2, 2);
    EXPECT_NEAR(half.g, full.g / 2, 2);
    EXPECT_NEAR(half.b, full.b / 2, 2);
}

TEST(TargetHitTest, BoxIsInclusiveOnAllFourSides)
{
    Target t(0, 0.0);
    TargetProbe::place(t, 100, 200);
    const int w = TargetProbe::width(t);
    const int h = TargetProbe::height(t);
    auto press = [](int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        return e;
    };
    EXPECT_TRUE(t.hit_test(press(100, 200)));
    EXPECT_TRUE(t.hit_test(press(100 + w, 200 + h)));
    EXPECT_FALSE(t.hit_test(press(99, 200)));
    EXPECT_FALSE(t.hit_test(press(100 + w + 1, 200)));
    EXPECT_FALSE(t.hit_test(press(100, 199)));
    EXPECT_FALSE(t.hit_test(press(100, 200 + h + 1)));

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 110;
    motion.motion.y = 210;
    EXPECT_TRUE(t.hit_test(motion));

    t.kill();
    EXPECT_TRUE(t.hit_test(press(100, 200))) << "a dead target still answers";
}

TEST(TargetHitTest, EventsWithoutAPositionHitNothing)
{
    Target t(0, 0.0);
    TargetProbe::place(t, 0, 0);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_ESCAPE;
    SDL_Event none{};
    SDL_Event active{};
    active.type = SDL_ACTIVEEVENT;
    EXPECT_FALSE(t.hit_test(key));
    EXPECT_FALSE(t.hit_test(none));
    EXPECT_FALSE(t.hit_test(active));
}
