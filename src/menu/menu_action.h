#ifndef TIREVANE_MENU_MENU_ACTION_H
#define TIREVANE_MENU_MENU_ACTION_H

#include <SDL.h>

// What a menu item does when clicked. The menu sets *close to 0 before the
// call; the action sets it to 1 when the menu that ran it must close.
using MenuAction = void (*)(SDL_Surface* screen, Uint8* close);

#endif
