#ifndef TIREVANE_MENU_OPTIONS_ACTIONS_H
#define TIREVANE_MENU_OPTIONS_ACTIONS_H

#include <SDL.h>

// The main menu's "Options" entry and the screens behind it. Every way out
// of a choice menu leads back to the main menu.
void options_action(SDL_Surface* screen, Uint8* close);
void edit_visor_action(SDL_Surface* screen, Uint8* close);
void edit_difficulty_action(SDL_Surface* screen, Uint8* close);

// One action per option character, bound to its item: '0'..'5' for the
// visor, '0'..'2' for the difficulty. Each writes the options file at once.
template <char Visor>
void visor_choice_action(SDL_Surface* screen, Uint8* close);
template <char Difficulty>
void difficulty_choice_action(SDL_Surface* screen, Uint8* close);

#endif
