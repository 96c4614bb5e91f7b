#include "menu/options_screen.h"

#include "menu/menu.h"
#include "menu/options_actions.h"

OptionsScreen::OptionsScreen() : menu(new Menu(false))
{
    menu->add_item("Editer viseur", 120, edit_visor_action);
    menu->add_item("Editer difficulte", 390, edit_difficulty_action);
}

OptionsScreen::~OptionsScreen()
{
    delete menu;
}

void OptionsScreen::run(SDL_Surface* screen)
{
    menu->run(screen);
}
