#include "app/game_main.h"

#include <SDL.h>
#include <cstdio>

int tirevane_main(int, char**)
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "tirevane: cannot start the video system: %s\n", SDL_GetError());
        return 1;
    }
    SDL_WM_SetCaption("Tirevane", nullptr);
    SDL_Surface* screen = SDL_SetVideoMode(800, 600, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (!screen) {
        std::fprintf(stderr, "tirevane: cannot open the 800x600 window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_Event e;
    while (SDL_WaitEvent(&e) && e.type != SDL_QUIT && e.type != SDL_KEYDOWN) {
    }
    SDL_Quit();
    return 0;
}
