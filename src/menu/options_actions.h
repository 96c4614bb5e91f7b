#ifndef TIREVANE_MENU_OPTIONS_ACTIONS_H
#define TIREVANE_MENU_OPTIONS_ACTIONS_H

#include <SDL.h>

// The main menu's "Options" entry and the screens behind it.
void options_action(SDL_Surface* screen, Uint8* close);

#endif
