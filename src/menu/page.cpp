#include "menu/page.h"

Page::Page(const char* path) : Menu(false), picture(load_bmp(path)), picture_pos(rect_at(0, 0))
{
}

void Page::draw(SDL_Surface* screen)
{
    blit_at(picture, screen, picture_pos);
    Menu::draw(screen);
}
