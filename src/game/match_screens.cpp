#include "game/match.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "core/assets.h"
#include "core/clock.h"
#include "core/fullscreen.h"
#include "core/input.h"
#include "core/notice.h"
#include "core/surface.h"

namespace {

constexpr Uint32 kGameOverClickGuardMs = 1000;
// Above the status bar.
constexpr int kNoticeMargin = 4;

struct Caption {
    SurfacePtr text;
    SDL_Rect at;
};

Caption centred_caption(SurfacePtr text, int top)
{
    const SDL_Rect at = rect_at(centred_x(width_of(text)), static_cast<Sint16>(top));
    return Caption{std::move(text), at};
}

}  // namespace

struct Match::StillFrame {
    // The targets as they stand, drawn once: nothing moves on these screens.
    SurfacePtr targets_layer;
    // What the status bar shows: game over has already reset the score.
    Sint32 shown_score;
    std::vector<Caption> captions;
};

Match::StillFrame Match::freeze(Sint32 shown_score)
{
    StillFrame still{create_black_surface(kScreenWidth, kScreenHeight), shown_score, {}};
    if (still.targets_layer) {
        targets.draw_all(still.targets_layer.get());
    }
    return still;
}

void Match::show(SDL_Surface* screen, const StillFrame& still)
{
    blit_at(still.targets_layer, screen, rect_at(0, 0));
    visor.show_over_target(pointer_over_live_target(input::pointer_motion()));
    visor.draw(screen);
    hud.draw(screen, still.shown_score, seconds_left);
    for (const Caption& caption : still.captions) {
        blit_at(caption.text, screen, caption.at);
    }
    notice::draw(screen, this, Hud::kTop - kNoticeMargin);
    SDL_Flip(screen);
}

bool Match::wait_still(SDL_Surface* screen, const StillFrame& still, SDL_Event& event)
{
    if (!notice::wait_event(event, [&] { show(screen, still); })) {
        return false;
    }
    // The screen also shows again in its new mode, and where the window
    // system lost part of it.
    bool again = handle_fullscreen_key(event) || event.type == SDL_VIDEOEXPOSE;
    if (event.type == SDL_MOUSEMOTION) {
        visor.centre_on(event.motion.x, event.motion.y);
        again = true;
    }
    if (again) {
        show(screen, still);
    }
    return true;
}

void Match::pause(SDL_Surface* screen, SDL_Event& wait_event)
{
    StillFrame still = freeze(score);
    SurfacePtr text = render_blended(assets::kHudFont, 50, ".:: PAusE ::.", kMagenta);
    const int top = centred_y(height_of(text));
    still.captions.push_back(centred_caption(std::move(text), top));
    show(screen, still);

    // Play goes on only with the keyboard back and the pointer over the
    // game: the pointer merely crossing the window while another one has
    // the keyboard must not run the countdown behind the player's back.
    while (!window_active) {
        // Once no event can arrive any more, nothing could end the pause.
        if (!wait_still(screen, still, wait_event) || wait_event.type == SDL_QUIT ||
            input::game_in_front()) {
            window_active = 1;
        }
    }
    // The click that brought the window back is no shot.
    input::screen_shown();
}

void Match::game_over(SDL_Surface* screen)
{
    char line[64];
    std::snprintf(line, sizeof line, ".:: Votre Score : %ld ::.", static_cast<long>(score));
    StillFrame still = freeze(score);
    score = 0;

    SurfacePtr title = render_blended(assets::kHudFont, 50, ".:: Game Over ::.", kRed);
    SurfacePtr score_line = render_blended(assets::kHudFont, 20, line, kRed);
    SurfacePtr prompt = render_blended(
        assets::kHudFont, 20, ".:: Appuyez sur une touche pour continuer ::.", kMagenta);
    // One block centred on the screen, the three lines one under the other.
    const int title_top = centred_y(height_of(title) + height_of(score_line) + height_of(prompt));
    const int score_top = title_top + height_of(title);
    const int prompt_top = score_top + height_of(score_line);
    still.captions.push_back(centred_caption(std::move(title), title_top));
    still.captions.push_back(centred_caption(std::move(score_line), score_top));
    still.captions.push_back(centred_caption(std::move(prompt), prompt_top));
    show(screen, still);
    ended = 1;
    const Uint32 shown_at = game_clock().ticks();

    SDL_Event own;
    while (wait_still(screen, still, own)) {
        if ((own.type == SDL_KEYDOWN && !is_fullscreen_key(own)) || own.type == SDL_QUIT) {
            break;
        }
        // A click ends it too, once it has been seen: the shots a player
        // still fires as the countdown runs out must not dismiss it unread.
        if (own.type == SDL_MOUSEBUTTONDOWN && own.button.button == SDL_BUTTON_LEFT &&
            game_clock().ticks() - shown_at >= kGameOverClickGuardMs) {
            break;
        }
    }
}
