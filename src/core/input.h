#ifndef TIREVANE_CORE_INPUT_H
#define TIREVANE_CORE_INPUT_H

#include <SDL.h>

// Every screen takes its events here, so that what one screen learnt of the
// pointer and of the window's focus still holds on the next one, and so
// that a click aimed at one screen never acts on the screen replacing it.
//
// The pointer and the focus are read from the events themselves, never
// from SDL_GetMouseState or SDL_GetAppState: both SDL 1.2 implementations
// report motions, presses and focus changes alike, while their own state
// lags behind or, for pushed events, never moves.
namespace input {

// The usual desktop double-click interval. A press this soon after a screen
// showed (or came back, or left a pause) was aimed at what stood there
// before: the second click of a double click, or one made during a pause.
constexpr Uint32 kSettleMs = 400;

// A new window: in front, the pointer not seen yet, nothing to drop.
void window_opened();

// The next event, waiting for one; false once the event system is gone.
// `event` is written only when one is returned.
bool wait(SDL_Event& event);
// The same, giving up at `deadline` (in game clock ticks): false when it
// came first.
bool wait_until(SDL_Event& event, Uint32 deadline);
// The next event if one is waiting, written into `event` only then.
// Motions queued right behind a motion are folded into it: a loop that
// takes one event a frame keeps up with the hand, and presses keep their
// place and their own position.
bool poll(SDL_Event& event);

// The caller has just shown a screen (its first frame, again after a screen
// it opened closed, or after a pause): mouse presses that begin within
// kSettleMs from now are dropped, and so are their releases. Keys and the
// window's close request are never dropped.
void screen_shown();

struct Point {
    Uint16 x;
    Uint16 y;
};
// Where the pointer was last seen in the window: (0, 0) until it moves.
Point pointer();
// The same as a motion event there, for the hit tests, which read events.
SDL_Event pointer_motion();
// Whether a pointer position was seen and the pointer is still in the window.
bool pointer_in_window();
// Whether the game has the keyboard focus, the pointer is in its window and
// the window is not iconified, as the window system last reported. The game
// starts in front: it was just opened by the player.
bool game_in_front();

}  // namespace input

#endif
