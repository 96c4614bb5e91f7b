#include "pictures.h"

#include <cmath>

#include "dsp.h"
#include "game/target_palette.h"
#include "typeset.h"

namespace {

void emblem(Canvas& c, double cx, double cy, double r, Rgb colour)
{
    c.ring(cx, cy, r, 3.0, colour);
    c.ring(cx, cy, r * 0.45, 2.0, colour);
    c.disc(cx, cy, 3.0, colour);
    for (int s : {-1, 1}) {
        c.line(cx + s * r * 0.6, cy, cx + s * r * 1.35, cy, 3.0, colour);
        c.line(cx, cy + s * r * 0.6, cx, cy + s * r * 1.35, 3.0, colour);
    }
}

void presents_card(const std::string& root)
{
    Canvas c(800, 600);
    c.glow(400, 290, 520, Rgb{20, 40, 90}, 0.9);
    c.glow(400, 290, 260, Rgb{40, 80, 140}, 0.35);
    emblem(c, 400, 180, 46, Rgb{90, 200, 255});
    const Font name(root + "/alphamalemodern.ttf", 64);
    const Font small(root + "/spaceage.ttf", 30);
    draw_glowing_text(c, name, "Tirevane Studio", 400, 262, Rgb{245, 248, 255}, Rgb{60, 150, 255},
                      12, 0.6, Align::Centre);
    c.line(260, 362, 540, 362, 2.0, Rgb{90, 200, 255}, 0.8);
    draw_text(c, small, "présente", 400, 378, Rgb{175, 190, 215}, Align::Centre);
    c.save_bmp(root + "/System/01/Introduce/Intro_presents.bmp");
}

// A receding floor grid under the horizon, for depth.
void floor_grid(Canvas& c, int horizon, Rgb colour)
{
    for (int k = 1; k < 14; ++k) {
        const double y = horizon + 6.0 * k * k / 1.7;
        if (y < c.height()) {
            c.line(0, y, c.width(), y, 1.2, colour, 0.18 + 0.02 * k);
        }
    }
    for (int k = -12; k <= 12; ++k) {
        c.line(400 + k * 12, horizon, 400 + k * 120, 600, 1.2, colour, 0.3);
    }
}

void title_card(const std::string& root)
{
    Canvas c(800, 600);
    c.vertical_gradient(Rgb{6, 8, 28}, Rgb{52, 10, 48}, 0, 600);
    c.glow(400, 430, 420, Rgb{255, 60, 90}, 0.25);
    floor_grid(c, 430, Rgb{255, 70, 160});
    // Targets rising and fading, as in a match.
    Noise random(0x5eed0300u);
    for (int i = 0; i < 64; ++i) {
        const double x = 20 + (random.next() + 1.0) * 360;
        const double y = 40 + (random.next() + 1.0) * 250;
        if (x > 90 && x < 760 && y > 150 && y < 440) {
            continue;  // keep the title clear
        }
        const int size = 14 + static_cast<int>((random.next() + 1.0) * 14);
        const SDL_Color target = kTargetColours[i % kTargetColourCount];
        const Rgb colour{target.r, target.g, target.b};
        const double alpha = 0.35 + 0.6 * (y / 540.0);
        if (i % 8 == 7) {
            c.fill_rect(static_cast<int>(x) - 1, static_cast<int>(y) - 1, size + 2, size + 2,
                        Rgb{160, 160, 170}, alpha);
        }
        c.glow(x + size / 2.0, y + size / 2.0, size * 1.6, colour, 0.25 * alpha);
        c.fill_rect(static_cast<int>(x), static_cast<int>(y), size, size, colour, alpha);
    }
    // No title of its own: the intro draws the game's red title over the
    // middle of this card while it fades out.
    const Font small(root + "/spaceage.ttf", 30);
    draw_text(c, small, "Le tir aux cibles", 400, 395, Rgb{255, 200, 210}, Align::Centre);
    c.save_bmp(root + "/System/01/Introduce/Intro_Tirevane.bmp");
}

// A red and white target with a crosshair, readable at 32x32.
void window_icon(const std::string& root)
{
    Canvas c(32, 32, Rgb{18, 20, 44});
    const double m = 16.0;
    c.disc(m, m, 14.0, Rgb{230, 30, 30});
    c.disc(m, m, 10.5, Rgb{250, 250, 250});
    c.disc(m, m, 7.0, Rgb{230, 30, 30});
    c.disc(m, m, 3.5, Rgb{250, 250, 250});
    c.line(m, 0, m, 32, 1.4, Rgb{20, 20, 20});
    c.line(0, m, 32, m, 1.4, Rgb{20, 20, 20});
    c.save_bmp(root + "/System/01/Menu/Menu_Composed.bmp");
}

}  // namespace

void make_intro_and_icon(const std::string& root)
{
    presents_card(root);
    title_card(root);
    window_icon(root);
}
