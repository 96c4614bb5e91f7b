#include "game/match.h"

#include <algorithm>
#include <cstdio>

#include "core/assets.h"
#include "core/surface.h"

namespace {

constexpr Sint16 kLastDifficulty = 2;
constexpr int kHudPointSize = 22;
constexpr Sint16 kBarY = 555;
constexpr Sint16 kTextY = 566;
constexpr Sint16 kScoreRight = 780;

SDL_Event no_event()
{
    SDL_Event e;
    SDL_memset(&e, 0, sizeof e);
    e.type = SDL_NOEVENT;
    return e;
}

SDL_Event pointer_at(Uint16 x, Uint16 y)
{
    SDL_Event e = no_event();
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

}  // namespace

Match::Match(Sint16 visor, Sint16 difficulty_index, Sint32 start_score)
    : event(no_event()),
      ended(0),
      visor_idle(1),
      now_ms(0),
      last_tick_ms(0),
      difficulty(std::clamp<Sint16>(difficulty_index, 0, kLastDifficulty)),
      score(start_score),
      shown_score(start_score),
      window_active(1),
      countdown_dirty(1),
      seconds_left(static_cast<Uint16>((difficulty + 1) * 5)),
      pointer(pointer_at(kScreenCentreX, kScreenCentreY))
{
    create_status_bar();
    render_hud_texts();
    load_visor(visor);
}

Match::~Match()
{
    FSOUND_Sample_Free(hit_sound);
    FSOUND_Sample_Free(miss_sound);
    targets.clear();
}

void Match::create_status_bar()
{
    white_line = create_filled_surface(kScreenWidth, 1, kWhite);
    // Never filled: a new surface is all zeros, so the bar shows black.
    bar.reset(SDL_CreateRGBSurface(SDL_HWSURFACE, kScreenWidth, 45, 32, 0, 0, 0, 0xFF));
    bar_pos = rect_at(0, kBarY);
    red_line = create_filled_surface(kScreenWidth, 2, kRed);
    red_line_pos = rect_at(0, static_cast<Sint16>(bar_pos.y - 2));
}

void Match::render_hud_texts()
{
    char text[32];
    std::snprintf(text, sizeof text, "Difficulte : %c", static_cast<char>('1' + difficulty));
    difficulty_text = render_shaded(assets::kHudFont, kHudPointSize, text, kWhite, kBlack);
    difficulty_pos = rect_at(20, kTextY);

    // The countdown keeps the left edge of its first, smaller rendering.
    render_countdown_text(kHudPointSize);
    countdown_pos = rect_at(centred_x(width_of(countdown_text)),
                            static_cast<Sint16>(difficulty_pos.y - 8));

    render_score_text();
}

void Match::load_visor(Sint16 visor)
{
    const int row = visor >= 0 && visor < assets::kVisorCount ? visor : 0;
    const assets::VisorAssets& files = assets::kVisors[row];
    visor_normal = load_keyed_bmp(files.normal);
    visor_over = load_keyed_bmp(files.over);
    hit_sound = FSOUND_Sample_Load(-1, files.hit_sound, 0, 0, 0);
    miss_sound = FSOUND_Sample_Load(-1, assets::kMissShot, 0, 0, 0);
    // Centred on the middle of the screen until the pointer first moves.
    move_visor(kScreenCentreX, kScreenCentreY);
}

void Match::move_visor(Uint16 x, Uint16 y)
{
    visor_pos = rect_at(static_cast<Sint16>(x - width_of(visor_normal) / 2),
                        static_cast<Sint16>(y - height_of(visor_normal) / 2));
}

void Match::render_score_text()
{
    char text[32];
    std::snprintf(text, sizeof text, "Score : %ld", static_cast<long>(score));
    score_text = render_shaded(assets::kHudFont, kHudPointSize, text, kWhite, kBlack);
    score_pos = rect_at(static_cast<Sint16>(kScoreRight - width_of(score_text)), kTextY);
    shown_score = score;
}

void Match::render_countdown_text(int point_size)
{
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(seconds_left));
    countdown_text = render_shaded(assets::kHudFont, point_size, text, kGreen, kBlack);
}

void Match::draw_frame(SDL_Surface* screen)
{
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
    targets.update_and_draw_all(screen);
    // The blit writes a clipped position back; the visor keeps its own.
    SDL_Rect visor_at = visor_pos;
    blit_at(visor_idle ? visor_normal : visor_over, screen, visor_at);
    blit_at(bar, screen, bar_pos);
    blit_at(white_line, screen, bar_pos);
    blit_at(red_line, screen, red_line_pos);
    blit_at(difficulty_text, screen, difficulty_pos);
    if (score != shown_score) {
        render_score_text();
    }
    blit_at(score_text, screen, score_pos);
    if (countdown_dirty) {
        countdown_dirty = 0;
        render_countdown_text(40);
    }
    blit_at(countdown_text, screen, countdown_pos);
    SDL_Flip(screen);
}
