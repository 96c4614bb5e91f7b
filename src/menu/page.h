#ifndef TIREVANE_MENU_PAGE_H
#define TIREVANE_MENU_PAGE_H

#include "menu/menu.h"

// A menu without title that shows a full-screen picture behind its items.
class Page : public Menu {
public:
    explicit Page(const char* path);
    ~Page() override = default;

    void draw(SDL_Surface* screen) override;

private:
    SurfacePtr picture;
    SDL_Rect picture_pos;
};

#endif
