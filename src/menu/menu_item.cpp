#include "menu/menu_item.h"

#include "menu/item_label.h"

MenuItem::MenuItem(const char* text, Sint16 y, MenuAction action)
    : label(new ItemLabel(text, y)), next(nullptr), action(action)
{
}

MenuItem::~MenuItem()
{
    delete label;
    delete next;
}

void MenuItem::draw(SDL_Surface* screen, bool with_rest)
{
    label->draw(screen);
    if (with_rest && next) {
        next->draw(screen, true);
    }
}

MenuItem* MenuItem::append(const char* text, Sint16 y, MenuAction action_to_run)
{
    if (next) {
        return next->append(text, y, action_to_run);
    }
    next = new MenuItem(text, y, action_to_run);
    return next;
}

int MenuItem::count_from(int depth) const
{
    return next ? next->count_from(depth + 1) : depth + 1;
}

bool MenuItem::hit_test(const SDL_Event& event) const
{
    return label->hit_test(event);
}

bool MenuItem::click_test(const SDL_Event& event) const
{
    return label->click_test(event);
}

void MenuItem::run_action(SDL_Surface* screen, Uint8* close) const
{
    if (action) {
        action(screen, close);
    }
}
