#ifndef TIREVANE_MENU_MENU_LAYOUTS_H
#define TIREVANE_MENU_MENU_LAYOUTS_H

#include <SDL.h>

#include "menu/menu_action.h"

class Menu;

// One item as the player sees it: its label, the row of its top edge, and
// what choosing it does.
struct MenuRow {
    const char* label;
    Sint16 y;
    MenuAction action;
};

// The items of one menu, top to bottom.
struct MenuLayout {
    const MenuRow* rows;
    int count;

    const MenuRow* begin() const { return rows; }
    const MenuRow* end() const { return rows + count; }
};

// Every menu the game shows: the one place where labels and rows are set.
// The screens are built from here, and whoever needs to know where an item
// stands reads it here.
namespace layouts {

extern const MenuLayout kMain;
// "Nouvelle partie" alone, when there is no match to resume.
extern const MenuLayout kPlay;
extern const MenuLayout kPlayResumable;
extern const MenuLayout kOptions;
// A row per visor of the visor table, in its order.
extern const MenuLayout kVisors;
extern const MenuLayout kDifficulties;
// "Retour", under either page's picture.
extern const MenuLayout kPage;

}  // namespace layouts

// Adds the layout's items to `menu`, in order.
void add_items(Menu& menu, const MenuLayout& layout);

#endif
