// The event queue of classic SDL 1.2, for the browser. Emscripten's SDL
// keeps the page's events in JavaScript and hands them out one at a time:
// no SDL_PEEKEVENT, one event per SDL_PeepEvents, pushed events cut short,
// no SDL_WaitEvent, focus as SDL2 window events. The game's screens are
// written against classic SDL 1.2, so the browser build keeps a queue of
// its own here: the page's events move into it, in their order, each turned
// into what classic SDL 1.2 would have queued.
#include <SDL.h>

#include <cstring>

extern "C" {
// sdl_browser.js: the page's next event as Emscripten's SDL makes it; 0
// when there is none.
int tirevane_take_page_event(SDL_Event* event);
// sdl_browser.js: sleeps until the page has an event for the game.
void tirevane_wait_page_event(void);
}

namespace {

// Classic SDL 1.2 holds 127 events; SDL_PushEvent fails beyond that.
constexpr int kSlots = 128;
constexpr int kCapacity = kSlots - 1;
SDL_Event queue[kSlots];
int first = 0;
int count = 0;

SDL_Event& at(int i)
{
    return queue[(first + i) % kSlots];
}

bool add(const SDL_Event& event)
{
    if (count >= kCapacity) {
        return false;
    }
    at(count) = event;
    ++count;
    return true;
}

void remove_at(int i)
{
    for (int j = i; j + 1 < count; ++j) {
        at(j) = at(j + 1);
    }
    --count;
}

bool activation(SDL_Event& event, Uint8 gain, Uint8 state)
{
    std::memset(&event, 0, sizeof event);
    event.type = SDL_ACTIVEEVENT;
    event.active.gain = gain;
    event.active.state = state;
    return true;
}

// Keys, buttons, motion and quit pass as they are; window events become
// the activation events of SDL 1.2 (input focus for the page's focus,
// mouse focus for the pointer over the canvas, the application for the
// tab shown or hidden); what SDL 1.2 never sends (fingers, text, wheel
// deltas: the wheel also comes as buttons 4 and 5) is dropped.
bool make_classic(SDL_Event& event)
{
    switch (event.type) {
    case SDL_QUIT:
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return true;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            return activation(event, 1, SDL_APPINPUTFOCUS);
        case SDL_WINDOWEVENT_FOCUS_LOST:
            return activation(event, 0, SDL_APPINPUTFOCUS);
        case SDL_WINDOWEVENT_ENTER:
            return activation(event, 1, SDL_APPMOUSEFOCUS);
        case SDL_WINDOWEVENT_LEAVE:
            return activation(event, 0, SDL_APPMOUSEFOCUS);
        case SDL_WINDOWEVENT_SHOWN:
            return activation(event, 1, SDL_APPACTIVE);
        case SDL_WINDOWEVENT_HIDDEN:
            return activation(event, 0, SDL_APPACTIVE);
        default:
            return false;
        }
    default:
        return false;
    }
}

bool in_range(const SDL_Event& event, Uint32 from, Uint32 to)
{
    return from <= event.type && event.type <= to;
}

}  // namespace

void SDL_PumpEvents(void)
{
    SDL_Event event;
    for (;;) {
        std::memset(&event, 0, sizeof event);
        if (!tirevane_take_page_event(&event)) {
            return;
        }
        // A full queue loses the event, as classic SDL's does.
        if (make_classic(event)) {
            add(event);
        }
    }
}

int SDL_PeepEvents(SDL_Event* events, int numevents, SDL_eventaction action, Uint32 minType,
                   Uint32 maxType)
{
    if (action == SDL_ADDEVENT) {
        int added = 0;
        while (added < numevents && add(events[added])) {
            ++added;
        }
        return added == numevents ? added : -1;
    }
    int found = 0;
    for (int i = 0; i < count && found < numevents;) {
        if (!in_range(at(i), minType, maxType)) {
            ++i;
            continue;
        }
        if (events) {
            events[found] = at(i);
        }
        ++found;
        if (action == SDL_GETEVENT) {
            remove_at(i);
        } else {
            ++i;
        }
    }
    return found;
}

int SDL_PollEvent(SDL_Event* event)
{
    SDL_PumpEvents();
    return SDL_PeepEvents(event, 1, event ? SDL_GETEVENT : SDL_PEEKEVENT, SDL_FIRSTEVENT,
                          SDL_LASTEVENT);
}

// Sleeps until the page has an event (asyncify) rather than looking every
// 10 ms as classic SDL 1.2 does: an idle screen costs the browser nothing,
// and the game's modal loops stay as they are.
int SDL_WaitEvent(SDL_Event* event)
{
    while (!SDL_PollEvent(event)) {
        tirevane_wait_page_event();
    }
    return 1;
}

int SDL_PushEvent(SDL_Event* event)
{
    return SDL_PeepEvents(event, 1, SDL_ADDEVENT, 0, 0) == 1 ? 0 : -1;
}
