#include "menu/options_actions.h"

#include "menu/main_actions.h"
#include "menu/menu.h"
#include "menu/menu_layouts.h"
#include "menu/options_screen.h"
#include "menu/screen_blanker.h"
#include "persist/config_file.h"

namespace {

void run_choice_menu(SDL_Surface* screen, const MenuLayout& choices)
{
    ScreenBlanker blanker;
    Menu* menu = new Menu(false);
    add_items(*menu, choices);
    blanker.blank(screen);
    menu->run(screen);
    delete menu;
}

// Writes one option into the options file at once, keeping the other.
void write_option(void (ConfigFile::*write)(char), char option, Uint8* close)
{
    ConfigFile* config = new ConfigFile();
    (config->*write)(option);
    delete config;
    close_after_delay(close);
}

}  // namespace

void options_action(SDL_Surface* screen, Uint8* close)
{
    ScreenBlanker blanker;
    OptionsScreen* options = new OptionsScreen();
    blanker.blank(screen);
    options->run(screen);
    delete options;
    *close = 0;
}

void edit_visor_action(SDL_Surface* screen, Uint8* close)
{
    run_choice_menu(screen, layouts::kVisors);
    *close = 1;
}

void edit_difficulty_action(SDL_Surface* screen, Uint8* close)
{
    run_choice_menu(screen, layouts::kDifficulties);
    *close = 1;
}

template <char Visor>
void visor_choice_action(SDL_Surface*, Uint8* close)
{
    write_option(&ConfigFile::write_visor, Visor, close);
}

template <char Difficulty>
void difficulty_choice_action(SDL_Surface*, Uint8* close)
{
    write_option(&ConfigFile::write_difficulty, Difficulty, close);
}

template void visor_choice_action<'0'>(SDL_Surface*, Uint8*);
template void visor_choice_action<'1'>(SDL_Surface*, Uint8*);
template void visor_choice_action<'2'>(SDL_Surface*, Uint8*);
template void visor_choice_action<'3'>(SDL_Surface*, Uint8*);
template void visor_choice_action<'4'>(SDL_Surface*, Uint8*);
template void visor_choice_action<'5'>(SDL_Surface*, Uint8*);
template void difficulty_choice_action<'0'>(SDL_Surface*, Uint8*);
template void difficulty_choice_action<'1'>(SDL_Surface*, Uint8*);
template void difficulty_choice_action<'2'>(SDL_Surface*, Uint8*);
