#include "menu/options_screen.h"

#include "menu/menu.h"
#include "menu/menu_layouts.h"

OptionsScreen::OptionsScreen() : menu(new Menu(false))
{
    add_items(*menu, layouts::kOptions);
}

OptionsScreen::~OptionsScreen()
{
    delete menu;
}

void OptionsScreen::run(SDL_Surface* screen)
{
    menu->run(screen);
}
