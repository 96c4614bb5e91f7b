#ifndef TIREVANE_APP_GAME_MAIN_H
#define TIREVANE_APP_GAME_MAIN_H

// The whole program: start-up, intro, main menu, shutdown. Returns the
// process exit status.
int tirevane_main(int argc, char** argv);

struct SDL_Surface;
// What the player sees once the window is open: the menu music, the intro
// and the main menu, until the main menu closes.
void run_game(SDL_Surface* screen);

#endif
