#ifndef TIREVANE_MENU_OPTIONS_SCREEN_H
#define TIREVANE_MENU_OPTIONS_SCREEN_H

#include <SDL.h>

#include "core/surface.h"

class Menu;

// The options menu: edit the visor or the difficulty.
class OptionsScreen : NonCopyable {
public:
    OptionsScreen();
    ~OptionsScreen();

    void run(SDL_Surface* screen);

private:
    Menu* menu;
};

#endif
