#include "menu/screen_blanker.h"

ScreenBlanker::ScreenBlanker() : layer(create_black_surface(800, 600))
{
    if (layer) {
        SDL_SetAlpha(layer, SDL_SRCALPHA, 255);
    }
}

ScreenBlanker::~ScreenBlanker()
{
    free_surface(layer);
}

void ScreenBlanker::blank(SDL_Surface* screen)
{
    SDL_Rect origin = rect_at(0, 0);
    blit_at(layer, screen, origin);
}
