#ifndef TIREVANE_CORE_NOTICE_H
#define TIREVANE_CORE_NOTICE_H

#include <SDL.h>

#include <functional>

// One line the player must not miss, such as a save that failed: a player
// who started the game from a desktop menu or a web page sees no terminal.
// It shows at the foot of the next screen drawn, in the game's own face,
// for a few seconds or until another screen takes that one's place; the
// game plays on meanwhile.
namespace notice {

constexpr Uint32 kShownMs = 5000;

// Replaces any line still pending. Latin-1, as every text the game draws.
void post(const char* line);

// Draws the pending line centred on `screen`, its lower edge at `bottom`.
// `owner` names the screen drawing: the first to draw it keeps it; any
// other drawing later means the player has moved on, and the line goes.
void draw(SDL_Surface* screen, const void* owner, int bottom);

// The next event, as input::wait gives it. While a line is shown, `redraw`
// shows the screen again once its time is up, so that it goes also for a
// player who does nothing.
bool wait_event(SDL_Event& event, const std::function<void()>& redraw);

}  // namespace notice

#endif
