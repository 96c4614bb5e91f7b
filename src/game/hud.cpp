#include "game/hud.h"

#include <cstdio>

#include "core/assets.h"

namespace {

constexpr int kTextPointSize = 22;
constexpr int kCountdownPointSize = 40;
constexpr Sint16 kTextY = 566;
// The difficulty starts this far from the left edge; the score ends as far
// from the right one.
constexpr Sint16 kTextMargin = 20;

}  // namespace

Hud::Hud(Sint16 difficulty, Sint32 score, Uint16 seconds_left)
    : text_font(open_font(assets::kHudFont, kTextPointSize)),
      countdown_font(open_font(assets::kHudFont, kCountdownPointSize))
{
    white_line = create_filled_surface(kScreenWidth, 1, kWhite);
    // Never filled: a new surface is all zeros, so the bar shows black.
    bar.reset(SDL_CreateRGBSurface(SDL_HWSURFACE, kScreenWidth, kScreenHeight - kBarY, 32, 0, 0,
                                   0, 0xFF));
    bar_pos = rect_at(0, kBarY);
    red_line = create_filled_surface(kScreenWidth, 2, kRed);
    red_line_pos = rect_at(0, kTop);

    char text[32];
    std::snprintf(text, sizeof text, "Difficulte : %c", static_cast<char>('1' + difficulty));
    difficulty_surface = render_shaded(text_font.get(), text, kWhite, kBlack);
    difficulty_pos = rect_at(kTextMargin, kTextY);

    render_countdown(seconds_left, text_font.get());
    countdown_pos = rect_at(centred_x(width_of(countdown_surface)),
                            static_cast<Sint16>(difficulty_pos.y - 8));

    render_score(score);
}

void Hud::render_score(Sint32 score)
{
    char text[32];
    std::snprintf(text, sizeof text, "Score : %ld", static_cast<long>(score));
    score_surface = render_shaded(text_font.get(), text, kWhite, kBlack);
    score_pos = rect_at(static_cast<Sint16>(kScreenWidth - kTextMargin - width_of(score_surface)),
                        kTextY);
    score_shown = score;
}

void Hud::render_countdown(Uint16 seconds_left, TTF_Font* font)
{
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(seconds_left));
    countdown_surface = render_shaded(font, text, kGreen, kBlack);
}

void Hud::draw(SDL_Surface* screen, Sint32 score, Uint16 seconds_left)
{
    blit_at(bar, screen, bar_pos);
    blit_at(white_line, screen, bar_pos);
    blit_at(red_line, screen, red_line_pos);
    blit_at(difficulty_surface, screen, difficulty_pos);
    if (score != score_shown) {
        render_score(score);
    }
    blit_at(score_surface, screen, score_pos);
    if (countdown_dirty) {
        countdown_dirty = false;
        render_countdown(seconds_left, countdown_font.get());
    }
    blit_at(countdown_surface, screen, countdown_pos);
}
