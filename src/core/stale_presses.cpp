#include "core/stale_presses.h"

#include <SDL.h>

#include <utility>

namespace {

std::function<void()>& after_drop_hook()
{
    static std::function<void()> hook;
    return hook;
}

bool is_button_event(const SDL_Event& event)
{
    return event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP;
}

// SDL 1.2's queue holds 127 events; one more slot reads it whole.
constexpr int kQueueSlots = 128;

}  // namespace

int drop_stale_presses()
{
    SDL_PumpEvents();
    SDL_Event queued[kQueueSlots];
    const int count = SDL_PeepEvents(queued, kQueueSlots, SDL_GETEVENT, SDL_ALLEVENTS);

    int last_dropped = -1;
    int dropped = 0;
    for (int i = 0; i < count; ++i) {
        if (is_button_event(queued[i])) {
            last_dropped = i;
            ++dropped;
        }
    }
    // Put the rest back in order, the motion where the last press was.
    for (int i = 0; i < count; ++i) {
        if (i == last_dropped) {
            SDL_Event motion = SDL_Event();
            motion.type = SDL_MOUSEMOTION;
            motion.motion.which = queued[i].button.which;
            motion.motion.x = queued[i].button.x;
            motion.motion.y = queued[i].button.y;
            SDL_PushEvent(&motion);
        } else if (!is_button_event(queued[i])) {
            SDL_PushEvent(&queued[i]);
        }
    }

    // A copy: the hook may install the next one while it runs.
    const std::function<void()> hook = after_drop_hook();
    if (hook) {
        hook();
    }
    return dropped;
}

void set_stale_press_hook(std::function<void()> hook)
{
    after_drop_hook() = std::move(hook);
}
