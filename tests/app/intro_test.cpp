#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "app/intro.h"
#include "core/assets.h"
#include "core/fullscreen.h"
#include "flip_probe.h"
#include "screen_test.h"

using namespace testsupport;

using IntroTest = ScreenTest;

namespace {

// The display's switches to and from full screen, all successful, counted.
class IntroFullscreenTest : public ScreenTest {
protected:
    FakeDisplaySwitch display;
};

// Spots of the screen whose colour in each picture is known, so what the
// screen shows there tells how strongly each layer was drawn. The pictures'
// colours there are checked in PicturesHaveTheColoursTheSpotsAssume.
struct Spot {
    const char* name;
    int x;
    int y;
};
constexpr Spot kPresentsBright{"presents bright", 204, 276};  // presents (245,248,255), name (36,11,39)
constexpr Spot kNameBright{"name bright", 78, 512};           // presents (1,2,5), name (246,238,246)
constexpr Spot kInTitle{"in the red title", 263, 271};        // presents (12,24,51), name (41,12,40)
constexpr Spot kDark{"dark", 4, 4};                           // presents (0,0,0), name (6,8,28)
constexpr std::array<Spot, 4> kSpots = {kPresentsBright, kNameBright, kInTitle, kDark};

// Neither picture is green at those spots: painted under each frame, it
// shows how strongly a layer covers it, and the black layer shows as the
// green it takes away.
void paint_green(SDL_Surface* screen)
{
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 255, 0));
}

struct Rgb {
    int r;
    int g;
    int b;
};
constexpr Rgb kGreenUnder{0, 255, 0};

// The colours at kSpots, in that order.
using Sample = std::array<Rgb, kSpots.size()>;

Rgb rgb_at(SDL_Surface* surface, Spot spot)
{
    const SDL_Color c = pixel_at(surface, spot.x, spot.y);
    return {c.r, c.g, c.b};
}

Sample sample(SDL_Surface* screen)
{
    Sample seen{};
    for (size_t i = 0; i < kSpots.size(); ++i) {
        seen[i] = rgb_at(screen, kSpots[i]);
    }
    return seen;
}

bool near(Rgb a, Rgb b, int tolerance)
{
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// The values below are SDL 1.2's; sdl12-compat rounds some of them down by 2.
constexpr int kRounding = 2;

void expect_sample(const Sample& seen, const Sample& expected)
{
    for (size_t i = 0; i < kSpots.size(); ++i) {
        const Rgb s = seen[i];
        const Rgb e = expected[i];
        EXPECT_TRUE(near(s, e, kRounding)) << kSpots[i].name << ": (" << s.r << ", " << s.g << ", "
                                           << s.b << "), expected about (" << e.r << ", " << e.g
                                           << ", " << e.b << ")";
    }
}

}  // namespace

TEST_F(IntroTest, PicturesHaveTheColoursTheSpotsAssume)
{
    const SurfacePtr presents(SDL_LoadBMP(assets::kIntroPresents));
    const SurfacePtr name(SDL_LoadBMP(assets::kIntroName));
    ASSERT_TRUE(presents && name);
    const struct {
        Spot spot;
        Rgb presents;
        Rgb name;
    } cases[] = {{kPresentsBright, {245, 248, 255}, {36, 11, 39}},
                 {kNameBright, {1, 2, 5}, {246, 238, 246}},
                 {kInTitle, {12, 24, 51}, {41, 12, 40}},
                 {kDark, {0, 0, 0}, {6, 8, 28}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spot.name);
        EXPECT_TRUE(near(rgb_at(presents.get(), c.spot), c.presents, 0));
        EXPECT_TRUE(near(rgb_at(name.get(), c.spot), c.name, 0));
    }
}

// What each flip shows, read from the screen: after each flip's wait the
// spots are read and the screen painted green again, so the next reading
// holds only what the next frame drew. "presents" rises by 2 a frame, then
// falls by 2 while the name rises under it; then the black layer rises by 2
// and the red title is drawn whole, both under the name falling by 2, two
// flips a frame. A layer drawn at strength a over what is there shows about
// there + (picture - there) * a / 255.
TEST_F(IntroTest, WithoutInputEachFrameDrawsItsLayersAtTheirStrength)
{
    Intro intro;
    const flip_probe::Counter flips;
    std::vector<Sample> after_flip(1);  // index 0: before any flip
    paint_green(screen());
    clock.on_delay = [&](Uint32) {
        after_flip.push_back(sample(screen()));
        paint_green(screen());
    };
    push_click(10, 10, SDL_BUTTON_RIGHT);  // only a left click skips
    push_click(10, 10, SDL_BUTTON_WHEELDOWN);
    push_motion(300, 300);
    EXPECT_FALSE(intro.run(screen()));
    clock.on_delay = nullptr;
    // 3 phases of 127 frames, phase 3 flipping twice per frame.
    EXPECT_EQ(flips.count(), 381u + 127u);
    ASSERT_EQ(after_flip.size(), 509u) << "one wait after each flip";
    // At the spots: presents bright, name bright, in the title, dark.
    const std::pair<unsigned, Sample> checkpoints[] = {
        // presents at 0: nothing covers the green.
        {1, {{{0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}}}},
        // presents at 2.
        {2, {{{2, 255, 2}, {1, 254, 1}, {1, 254, 1}, {0, 254, 0}}}},
        // presents at 126: about half.
        {64, {{{121, 252, 126}, {1, 131, 3}, {6, 142, 26}, {0, 130, 0}}}},
        // presents at 252.
        {127, {{{242, 249, 252}, {1, 6, 5}, {12, 28, 51}, {0, 4, 0}}}},
        // name at 0, presents at 254 over it.
        {128, {{{244, 249, 254}, {1, 4, 5}, {12, 26, 51}, {0, 2, 0}}}},
        // name at 2, presents at 252.
        {129, {{{242, 249, 252}, {2, 6, 5}, {12, 28, 51}, {1, 4, 1}}}},
        // name at 126, presents at 128: the cross-fade's middle.
        {191, {{{132, 192, 138}, {62, 125, 64}, {17, 80, 36}, {2, 67, 7}}}},
        // name at 252, presents at 2.
        {254, {{{38, 17, 41}, {242, 238, 242}, {41, 17, 41}, {6, 12, 28}}}},
        // black at 0, the title, name at 254 over them.
        {255, {{{36, 13, 39}, {245, 239, 245}, {43, 12, 40}, {6, 10, 28}}}},
        // The frame's second flip: nothing drawn since the first.
        {256, {{{0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}}}},
        // black at 2, the title, name at 252.
        {257, {{{36, 15, 39}, {243, 239, 243}, {45, 12, 40}, {6, 12, 28}}}},
        // black at 126, the title, name at 128: the red shows through.
        {381, {{{18, 70, 20}, {123, 184, 123}, {148, 6, 20}, {3, 69, 14}}}},
        {382, {{{0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}}}},
        // black at 252, the title, name at 2: black but for the red title.
        {507, {{{1, 4, 1}, {2, 5, 2}, {254, 1, 1}, {1, 4, 1}}}},
        {508, {{{0, 255, 0}, {0, 255, 0}, {0, 255, 0}, {0, 255, 0}}}}};
    for (const auto& [flip, expected] : checkpoints) {
        SCOPED_TRACE(testing::Message() << "after flip " << flip);
        expect_sample(after_flip[flip], expected);
    }
}

TEST_F(IntroTest, KeyOrLeftClickBeforeTheFirstFrameSkipsWithinTwoFrames)
{
    for (const bool by_key : {true, false}) {
        SCOPED_TRACE(by_key ? "a key" : "a left click");
        Intro intro;
        const flip_probe::Counter flips;
        paint_green(screen());
        if (by_key) {
            push_key(SDLK_SPACE);
        } else {
            push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 400, 300);
        }
        EXPECT_FALSE(intro.run(screen()));
        EXPECT_EQ(flips.count(), 2u);
        // The first frame draws "presents" at full strength, the second the
        // name over it: the name's picture is left, neither darkened by the
        // black layer nor covered by the title, which a skip never draws.
        expect_sample(sample(screen()), {{{38, 13, 41}, {245, 237, 245}, {41, 13, 41}, {6, 8, 28}}});
        drain_events();
    }
}

TEST_F(IntroTest, EscapeOrQuitAbortsBeforeAnyFrameAndLeavesLaterEventsQueued)
{
    {
        Intro intro;
        const flip_probe::Counter flips;
        paint_green(screen());
        push_key(SDLK_ESCAPE);
        push_key(SDLK_a);
        EXPECT_TRUE(intro.run(screen()));
        EXPECT_EQ(flips.count(), 0u);
        expect_sample(sample(screen()), {{kGreenUnder, kGreenUnder, kGreenUnder, kGreenUnder}});
        SDL_Event left;
        ASSERT_EQ(SDL_PollEvent(&left), 1);
        EXPECT_EQ(left.type, SDL_KEYDOWN);
    }
    {
        Intro intro;
        const flip_probe::Counter flips;
        push_quit();
        EXPECT_TRUE(intro.run(screen()));
        EXPECT_EQ(flips.count(), 0u);
    }
}

// Each fade draws its own layer at its strength, then moves that strength
// by the step as a byte: a step of 2 raises it by two, a step of 254 lowers
// it by two, both wrap past 0 and 255, and no other layer's strength moves.
// Each drawing is read over green at the layer's spot: presents' blue and
// the name's red show about the strength (the name is a little dimmer), the
// black layer leaves 255 minus it of the green.
TEST_F(IntroTest, EachFadeDrawsItsLayerThenMovesItsOwnStrengthAsAByte)
{
    using Fade = void (Intro::*)(Uint8, SDL_Surface*);
    using Read = int (*)(Rgb);
    const struct {
        const char* name;
        Fade fade;
        Spot spot;
        Read read;
        std::vector<int> seen;  // one reading per fade below
    } layers[] = {
        {"presents", &Intro::fade_presents, kPresentsBright, [](Rgb c) { return c.b; },
         {0, 2, 4, 2, 0, 254, 254, 0, 2, 102}},
        {"name", &Intro::fade_name, kNameBright, [](Rgb c) { return c.r; },
         {0, 2, 4, 2, 0, 245, 245, 0, 2, 99}},
        {"black", &Intro::fade_black, kDark, [](Rgb c) { return c.g; },
         {255, 253, 251, 253, 255, 1, 1, 255, 253, 153}},
        // A picture with its own alpha channel is drawn by that channel: the
        // title shows whole, whatever its strength.
        {"title", &Intro::fade_title, kInTitle, [](Rgb c) { return c.r; },
         {255, 255, 255, 255, 255, 255, 255, 255, 255, 255}},
    };
    // The last step, 0, only draws the layer where the one before left it.
    const Uint8 steps[] = {2, 2, 254, 254, 254, 0, 2, 2, 100, 0};
    for (const auto& layer : layers) {
        SCOPED_TRACE(layer.name);
        Intro intro;
        std::vector<int> seen;
        for (Uint8 step : steps) {
            paint_green(screen());
            (intro.*layer.fade)(step, screen());
            seen.push_back(layer.read(rgb_at(screen(), layer.spot)));
        }
        ASSERT_EQ(seen.size(), layer.seen.size());
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_NEAR(seen[i], layer.seen[i], 1) << "fade " << i + 1;
        }
        // Every other layer is still at 0: drawn, it leaves the green.
        for (const auto& other : layers) {
            if (other.fade == layer.fade || other.fade == &Intro::fade_title) {
                continue;
            }
            paint_green(screen());
            (intro.*other.fade)(0, screen());
            EXPECT_TRUE(near(rgb_at(screen(), other.spot), kGreenUnder, 0))
                << other.name << " moved";
        }
    }
}

TEST_F(IntroTest, FramesKeepSixtyASecondUnlessTheDisplayIsSlower)
{
    {
        SCOPED_TRACE("flips return at once");
        Intro intro;
        const flip_probe::Counter flips;
        EXPECT_FALSE(intro.run(screen()));
        EXPECT_EQ(flips.count(), 508u);
        // 508 / 60 s, not 508 x 16 ms (8128) nor 508 x 17 ms (8636).
        EXPECT_GE(clock.total_delay(), 8440u);
        EXPECT_LE(clock.total_delay(), 8490u);
    }
    for (Uint32 per_flip : {17u, 20u}) {
        SCOPED_TRACE(testing::Message() << "each flip takes " << per_flip << " ms");
        Intro intro;
        const flip_probe::Counter flips;
        const Uint64 waited_before = clock.total_delay();
        clock.busy = [&flips, per_flip] { return per_flip * flips.count(); };
        EXPECT_FALSE(intro.run(screen()));
        clock.busy = nullptr;
        EXPECT_EQ(flips.count(), 508u);
        EXPECT_EQ(clock.total_delay() - waited_before, 0u);
    }
    {
        SCOPED_TRACE("a one-second stall at the 100th flip");
        Intro intro;
        const flip_probe::Counter flips;
        const Uint64 waited_before = clock.total_delay();
        clock.busy = [&flips] { return flips.count() >= 100 ? 1000u : 0u; };
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
        const flip_probe::Counter flips;
        const Uint64 start = clock.total_delay();
        unsigned flips_at_press = 0;
        Uint64 waited_at_press = 0;
        clock.on_delay = [&](Uint32) {
            if (flips_at_press == 0 && clock.total_delay() - start >= press_at) {
                flips_at_press = flips.count();
                waited_at_press = clock.total_delay();
                push_key(SDLK_SPACE);
            }
        };
        EXPECT_FALSE(intro.run(screen()));
        clock.on_delay = nullptr;
        ASSERT_GT(flips_at_press, 0u);
        EXPECT_LE(flips.count() - flips_at_press, 2u);
        EXPECT_LE(clock.total_delay() - waited_at_press, 34u);  // two frames at 60 Hz
        EXPECT_LT(flips.count(), 508u);
    }
}

TEST_F(IntroFullscreenTest, F11NeitherSkipsNorEndsTheIntro)
{
    {
        Intro intro;
        const flip_probe::Counter flips;
        push_key(SDLK_F11);
        EXPECT_FALSE(intro.run(screen()));
        EXPECT_EQ(flips.count(), 508u) << "played whole, as without input";
        EXPECT_EQ(display.switches, 1);
    }
    {
        // Another key still skips right after it, and Escape still aborts.
        Intro intro;
        const flip_probe::Counter flips;
        push_key(SDLK_F11);
        push_key(SDLK_SPACE);
        EXPECT_FALSE(intro.run(screen()));
        EXPECT_LE(flips.count(), 3u);
        Intro aborted;
        push_key(SDLK_F11);
        push_key(SDLK_ESCAPE);
        EXPECT_TRUE(aborted.run(screen()));
        EXPECT_EQ(display.switches, 3);
    }
}
