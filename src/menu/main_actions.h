#ifndef TIREVANE_MENU_MAIN_ACTIONS_H
#define TIREVANE_MENU_MAIN_ACTIONS_H

#include <SDL.h>

// The actions behind the main menu, the play menu and the two pages.
void play_action(SDL_Surface* screen, Uint8* close);
void how_to_play_action(SDL_Surface* screen, Uint8* close);
void about_action(SDL_Surface* screen, Uint8* close);
void quit_action(SDL_Surface* screen, Uint8* close);
void new_game_action(SDL_Surface* screen, Uint8* close);
void resume_action(SDL_Surface* screen, Uint8* close);
void back_action(SDL_Surface* screen, Uint8* close);

// Closes the menu that ran the action after the 1500 ms pause that lets
// the click's sound and frame linger. Clicks made during the pause stay
// queued, and the screen that shows next drops them.
void close_after_delay(Uint8* close);

#endif
