#include "core/notice.h"

#include <string>

#include "core/assets.h"
#include "core/clock.h"
#include "core/colours.h"
#include "core/geometry.h"
#include "core/input.h"
#include "core/surface.h"

namespace {

// Small enough to fit under the lowest label of the main menu.
constexpr int kPointSize = 14;
// Amber: apart from the labels' green, the titles' red and the magenta of
// the match's own messages.
constexpr SDL_Color kNoticeColour = rgb(255, 190, 0);

std::string pending;
SurfacePtr rendered;
const void* shown_by = nullptr;
Uint32 shown_at = 0;

void clear()
{
    pending.clear();
    rendered.reset();
    shown_by = nullptr;
}

}  // namespace

namespace notice {

void post(const char* line)
{
    clear();
    pending = line;
}

void draw(SDL_Surface* screen, const void* owner, int bottom)
{
    if (pending.empty()) {
        return;
    }
    if (!shown_by) {
        shown_by = owner;
        shown_at = game_clock().ticks();
    }
    if (shown_by != owner || game_clock().ticks() - shown_at >= kShownMs) {
        clear();
        return;
    }
    if (!rendered) {
        // On black, so it reads wherever it stands.
        rendered = render_shaded(assets::kHudFont, kPointSize, pending.c_str(), kNoticeColour, kBlack);
    }
    blit_at(rendered, screen,
            rect_at(centred_x(width_of(rendered)), static_cast<Sint16>(bottom - height_of(rendered))));
}

bool wait_event(SDL_Event& event, const std::function<void()>& redraw)
{
    while (shown_by) {
        if (input::wait_until(event, shown_at + kShownMs)) {
            return true;
        }
        redraw();
        // A screen that does not draw the line any more lets it go.
        if (shown_by && game_clock().ticks() - shown_at >= kShownMs) {
            clear();
        }
    }
    return input::wait(event);
}

}  // namespace notice
