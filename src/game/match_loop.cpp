#include "game/match.h"

#include <algorithm>
#include <cstdint>

#include "core/clock.h"
#include "core/fullscreen.h"
#include "core/random_range.h"
#include "core/input.h"

namespace {

constexpr Uint32 kFrameMs = 15;
constexpr Uint32 kCountdownStepMs = 1000;
constexpr Uint32 kSpeedStepMs = 45000;
constexpr double kSpeedStep = 0.2;

// Left, middle and right fire; the wheel (4, 5) and any extra buttons are
// rolled or pressed by accident far too easily to cost a miss.
bool is_trigger(Uint8 button)
{
    return button == SDL_BUTTON_LEFT || button == SDL_BUTTON_MIDDLE || button == SDL_BUTTON_RIGHT;
}

}  // namespace

void Match::run(SDL_Surface* screen)
{
    start_loop();
    while (!ended) {
        run_iteration(screen);
    }
    targets.clear();
}

void Match::start_loop()
{
    loop = LoopState();
    loop.speed_base_ms = game_clock().ticks();
    loop.last_tick_ms = game_clock().ticks();
    // The motion this queues centres the visor in the first iteration.
    SDL_WarpMouse(kScreenCentreX, kScreenCentreY);
    // The first frame follows at once: the click that chose the match, or
    // the rest of a double click, is no shot.
    input::screen_shown();
}

void Match::run_iteration(SDL_Surface* screen)
{
    const Uint32 now = game_clock().ticks();
    loop.now_ms = now;
    // With no event waiting, the previous one is handled again; every
    // handler gives the same result when repeated.
    // F11 is taken here, as it arrives: handle_event sees it again in the
    // frames after it and must not switch back.
    if (input::poll(event)) {
        handle_fullscreen_key(event);
    }
    handle_event(screen);
    visor.show_over_target(pointer_over_live_target(input::pointer_motion()));
    step_speed(now);
    step_countdown();
    spawn(now);
    targets.remove_faded_out();
    floor_score();
    pace(screen, now);
    if (seconds_left == 0) {
        game_over(screen);
    }
}

void Match::handle_event(SDL_Surface* screen)
{
    switch (event.type) {
    case SDL_ACTIVEEVENT:
        if (event.active.gain == 0) {
            window_active = 0;
            pause(screen, event);
            // Closing the window leaves a paused match as it leaves one in play.
            if (event.type == SDL_QUIT) {
                end_match(screen);
            }
        }
        break;
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) {
            end_match(screen);
        }
        break;
    case SDL_QUIT:
        end_match(screen);
        break;
    case SDL_MOUSEMOTION:
        visor.centre_on(event.motion.x, event.motion.y);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (is_trigger(event.button.button)) {
            shoot(event);
            loop.shot_latched = true;
        }
        break;
    case SDL_MOUSEBUTTONUP:
        // A wheel step sends a press and a release at once; its release must
        // not re-arm a trigger that is still held.
        if (is_trigger(event.button.button)) {
            loop.shot_latched = false;
        }
        break;
    default:
        break;
    }
}

void Match::end_match(SDL_Surface* screen)
{
    loop.draw_enabled = false;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, kBlack.r, kBlack.g, kBlack.b));
    ended = 1;
}

bool Match::pointer_over_live_target(const SDL_Event& at)
{
    const Uint32 count = targets.count();
    for (Uint32 i = 0; i < count; ++i) {
        const TargetNode* node = targets.node_at(i);
        if (node->is_alive() && node->hit_test(at)) {
            return true;
        }
    }
    return false;
}

void Match::shoot(const SDL_Event& shot)
{
    if (pointer_over_live_target(shot)) {
        // Every live target under the pointer is hit by the same press; the
        // latch is set only after the whole pass.
        const Uint32 count = targets.count();
        for (Uint32 i = 0; i < count; ++i) {
            TargetNode* node = targets.node_at(i);
            if (node->hit_test(shot) && node->is_alive() && !loop.shot_latched) {
                visor.play_hit();
                add_to_score(static_cast<Uint16>(node->points()));
                node->kill();
                add_time_bonus();
            }
        }
    } else if (!loop.shot_latched) {
        visor.play_miss();
        add_to_score(-(2 * difficulty + 17));
    }
}

void Match::add_to_score(Sint64 amount)
{
    const Sint64 sum = static_cast<Sint64>(score) + amount;
    score = static_cast<Sint32>(std::clamp<Sint64>(sum, INT32_MIN, INT32_MAX));
}

void Match::add_time_bonus()
{
    // 6 s at difficulty 0, 2 s at 1 and 3 s at 2.
    const int bonus = 5 * ((1000 / (difficulty + 1)) / 1000) + difficulty + 1;
    seconds_left = static_cast<Uint16>(std::min<int>(seconds_left + bonus, UINT16_MAX));
}

void Match::step_speed(Uint32 now)
{
    if (now - loop.speed_base_ms >= kSpeedStepMs) {
        loop.speed_bonus += kSpeedStep;
        loop.speed_base_ms = now;
    }
}

void Match::step_countdown()
{
    if (loop.now_ms - loop.last_tick_ms >= kCountdownStepMs) {
        if (seconds_left > 0) {
            --seconds_left;
        }
        hud.mark_countdown_dirty();
        loop.last_tick_ms = loop.now_ms;
    }
}

void Match::spawn(Uint32 now)
{
    if (now - loop.last_spawn_ms >= loop.spawn_interval_ms) {
        targets.append(difficulty, loop.speed_bonus);
        const double interval = RandomRange(1500, 500) - 200.0 * difficulty;
        loop.spawn_interval_ms = interval > 0.0 ? static_cast<Uint32>(interval) : 0;
        loop.last_spawn_ms = now;
    }
}

void Match::floor_score()
{
    if (score <= 0) {
        score = 0;
    }
}

void Match::pace(SDL_Surface* screen, Uint32 now)
{
    const Uint32 since_frame = now - loop.last_frame_ms;
    if (since_frame >= kFrameMs) {
        if (loop.draw_enabled) {
            draw_frame(screen);
        }
        loop.last_frame_ms = now;
    } else {
        game_clock().delay(kFrameMs - since_frame);
    }
}
