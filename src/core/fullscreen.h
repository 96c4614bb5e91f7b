#ifndef TIREVANE_CORE_FULLSCREEN_H
#define TIREVANE_CORE_FULLSCREEN_H

#include <SDL.h>

#include <functional>

// F11 switches between the window and full screen on every screen. Each
// event loop hands every event it takes here first: true means the event
// was that key, already acted upon, and means nothing else on any screen
// (it does not skip the intro, close the game-over screen or count in a
// match).
bool handle_fullscreen_key(const SDL_Event& event);
// Whether the event is that key (acted upon or not).
bool is_fullscreen_key(const SDL_Event& event);

// Switches the open window to or from full screen. The screen surface stays
// the same object and keeps its 800x600 picture, so whoever holds it keeps
// drawing as before; the pointer is put back where the cursor stands. Where
// the platform cannot switch, the game stays as it is and says so in one
// line on its standard error. Returns whether it switched.
bool toggle_fullscreen();

// Test seam: stands in for SDL_WM_ToggleFullScreen (non-zero when it
// switched), so tests can count switches and make them fail. An empty
// function restores SDL's.
void set_fullscreen_switch(std::function<int(SDL_Surface*)> replacement);

#endif
