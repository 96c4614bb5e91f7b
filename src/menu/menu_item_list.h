#ifndef TIREVANE_MENU_MENU_ITEM_LIST_H
#define TIREVANE_MENU_MENU_ITEM_LIST_H

#include <SDL.h>

#include "core/surface.h"
#include "menu/menu_action.h"

class MenuItem;

// The items of one menu, in the order they were added; owns the chain.
class MenuItemList : NonCopyable {
public:
    MenuItemList() = default;
    ~MenuItemList();

    void append(const char* text, Sint16 y, MenuAction action);
    void draw_all(SDL_Surface* screen);
    int count() const;
    // nullptr for an empty list or an index at or beyond the count.
    MenuItem* item_at(Uint16 index) const;
    void clear();

private:
    MenuItem* head = nullptr;
};

#endif
