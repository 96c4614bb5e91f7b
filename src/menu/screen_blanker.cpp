#include "menu/screen_blanker.h"

ScreenBlanker::ScreenBlanker() : layer(create_black_surface(kScreenWidth, kScreenHeight))
{
    if (layer) {
        SDL_SetAlpha(layer.get(), SDL_SRCALPHA, 255);
    }
}

void ScreenBlanker::blank(SDL_Surface* screen)
{
    blit_at(layer, screen, rect_at(0, 0));
}
