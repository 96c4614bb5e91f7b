#ifndef TIREVANE_CORE_STALE_PRESSES_H
#define TIREVANE_CORE_STALE_PRESSES_H

#include <functional>

// A screen acts only on the mouse presses made while it is shown: clicks
// that piled up during a pause, or that were meant for the screen before,
// must not choose anything on the one that takes over.
//
// Removes every mouse button press and release from SDL's queue (after
// fetching what the system holds), keeping keys, window close, motion and
// the rest in their order. When presses were dropped, one pointer motion
// to where the last of them happened takes its place, so the new screen
// draws its first frame at once with the cursor under the pointer instead
// of staying black until the mouse moves. Returns how many were dropped.
// Call it, from the thread that owns the window, right before a screen
// reads its first event and right after a pause in which the player may
// have clicked.
int drop_stale_presses();

// Test seam: `hook` runs right after every drop_stale_presses(), so a test
// can queue the input meant for the screen about to take over (input
// queued earlier would be dropped). An empty function removes it.
void set_stale_press_hook(std::function<void()> hook);

#endif
