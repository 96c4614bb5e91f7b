#ifndef TIREVANE_MENU_MENU_ITEM_H
#define TIREVANE_MENU_MENU_ITEM_H

#include <SDL.h>

#include "core/surface.h"
#include "menu/menu_action.h"

class ItemLabel;

// One link of a menu's item chain: a label and the action it runs. Each item
// owns the rest of the chain after it.
class MenuItem : NonCopyable {
public:
    MenuItem(const char* text, Sint16 y, MenuAction action);
    ~MenuItem();

    // Draws this label and, with `with_rest`, every item after it.
    void draw(SDL_Surface* screen, bool with_rest);
    MenuItem* append(const char* text, Sint16 y, MenuAction action);
    MenuItem* next_item() const { return next; }
    int count_from(int depth) const;

    bool hit_test(const SDL_Event& event) const;
    bool click_test(const SDL_Event& event) const;
    void run_action(SDL_Surface* screen, Uint8* close) const;


private:
    ItemLabel* label;
    MenuItem* next;
    MenuAction action;
};

#endif
