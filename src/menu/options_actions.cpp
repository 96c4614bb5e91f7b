#include "menu/options_actions.h"

void options_action(SDL_Surface*, Uint8* close)
{
    *close = 0;
}
