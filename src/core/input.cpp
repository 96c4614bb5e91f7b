#include "core/input.h"

#include <algorithm>
#include <cstdint>

#include "core/clock.h"

namespace {

constexpr Uint8 kInFront = SDL_APPINPUTFOCUS | SDL_APPMOUSEFOCUS | SDL_APPACTIVE;

input::Point last_pointer = {0, 0};
bool pointer_seen = false;
Uint8 focus = kInFront;

bool settling = false;
Uint32 shown_at = 0;
// Buttons whose press was dropped: their release goes too, whenever it comes.
Uint32 swallowed = 0;

Uint32 button_bit(Uint8 button)
{
    return button < 32 ? Uint32{1} << button : 0;
}

input::Point point(int x, int y)
{
    return {static_cast<Uint16>(x), static_cast<Uint16>(y)};
}

void note(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_MOUSEMOTION:
        last_pointer = point(event.motion.x, event.motion.y);
        pointer_seen = true;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        last_pointer = point(event.button.x, event.button.y);
        pointer_seen = true;
        break;
    case SDL_ACTIVEEVENT:
        focus = event.active.gain ? (focus | event.active.state) : (focus & ~event.active.state);
        break;
    default:
        break;
    }
}

bool still_settling()
{
    if (settling && game_clock().ticks() - shown_at >= input::kSettleMs) {
        settling = false;
    }
    return settling;
}

bool dropped(const SDL_Event& event)
{
    if (event.type == SDL_MOUSEBUTTONDOWN) {
        const Uint32 bit = button_bit(event.button.button);
        if (still_settling()) {
            swallowed |= bit;
            return true;
        }
        swallowed &= ~bit;
    } else if (event.type == SDL_MOUSEBUTTONUP) {
        const Uint32 bit = button_bit(event.button.button);
        if (swallowed & bit) {
            swallowed &= ~bit;
            return true;
        }
    }
    return false;
}

// A long burst of steps must not wrap around.
Sint16 clamped_sum(Sint16 a, Sint16 b)
{
    return static_cast<Sint16>(std::clamp<int>(a + b, INT16_MIN, INT16_MAX));
}

void fold_queued_motions(SDL_Event& event)
{
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) == 1 &&
           next.type == SDL_MOUSEMOTION &&
           SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_MOUSEMOTIONMASK) == 1) {
        event.motion.state = next.motion.state;
        event.motion.x = next.motion.x;
        event.motion.y = next.motion.y;
        event.motion.xrel = clamped_sum(event.motion.xrel, next.motion.xrel);
        event.motion.yrel = clamped_sum(event.motion.yrel, next.motion.yrel);
    }
    note(event);
}

// The first event `take` gives that is not dropped. It is read into an
// event of its own and handed over only then: a dropped press must never
// reach a caller that handles whatever its event holds.
template <typename Take>
bool first_kept(SDL_Event& event, Take take)
{
    SDL_Event taken;
    while (take(taken)) {
        note(taken);
        if (!dropped(taken)) {
            event = taken;
            return true;
        }
    }
    return false;
}

}  // namespace

namespace input {

void window_opened()
{
    last_pointer = point(0, 0);
    pointer_seen = false;
    focus = kInFront;
    settling = false;
    swallowed = 0;
}

bool wait(SDL_Event& event)
{
    return first_kept(event, [](SDL_Event& taken) { return game_clock().wait_event(taken); });
}

bool wait_until(SDL_Event& event, Uint32 deadline)
{
    return first_kept(event, [deadline](SDL_Event& taken) {
        return game_clock().wait_event_until(taken, deadline);
    });
}

bool poll(SDL_Event& event)
{
    SDL_Event taken;
    while (SDL_PollEvent(&taken)) {
        note(taken);
        if (dropped(taken)) {
            continue;
        }
        if (taken.type == SDL_MOUSEMOTION) {
            fold_queued_motions(taken);
        }
        event = taken;
        return true;
    }
    return false;
}

void screen_shown()
{
    settling = true;
    shown_at = game_clock().ticks();
}

Point pointer()
{
    return last_pointer;
}

SDL_Event pointer_motion()
{
    SDL_Event at = SDL_Event();
    at.type = SDL_MOUSEMOTION;
    at.motion.x = last_pointer.x;
    at.motion.y = last_pointer.y;
    return at;
}

bool pointer_in_window()
{
    return pointer_seen && (focus & SDL_APPMOUSEFOCUS) != 0;
}

bool game_in_front()
{
    return (focus & kInFront) == kInFront;
}

}  // namespace input
