#include "menu/screen_blanker.h"

ScreenBlanker::ScreenBlanker() : layer(create_black_surface(kScreenWidth, kScreenHeight))
{
    if (layer) {
        SDL_SetAlpha(layer.get(), SDL_SRCALPHA, 255);
    }
}

void ScreenBlanker::blank(SDL_Surface* screen)
{
    SDL_Rect origin = rect_at(0, 0);
    blit_at(layer, screen, origin);
}
