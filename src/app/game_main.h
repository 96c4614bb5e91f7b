#ifndef TIREVANE_APP_GAME_MAIN_H
#define TIREVANE_APP_GAME_MAIN_H

// The whole program: start-up, intro, main menu, shutdown. Returns the
// process exit status.
int tirevane_main(int argc, char** argv);

#endif
