#include "menu/menu_item_list.h"

#include "menu/menu_item.h"

MenuItemList::~MenuItemList()
{
    delete head;
}

void MenuItemList::append(const char* text, Sint16 y, MenuAction action)
{
    if (head) {
        head->append(text, y, action);
    } else {
        head = new MenuItem(text, y, action);
    }
}

void MenuItemList::draw_all(SDL_Surface* screen)
{
    if (head) {
        head->draw(screen, true);
    }
}

int MenuItemList::count() const
{
    return head ? head->count_from(0) : 0;
}

MenuItem* MenuItemList::item_at(Uint16 index) const
{
    MenuItem* item = head;
    for (Uint16 i = 0; item && i < index; ++i) {
        item = item->next_item();
    }
    return item;
}

void MenuItemList::clear()
{
    delete head;
    head = nullptr;
}
