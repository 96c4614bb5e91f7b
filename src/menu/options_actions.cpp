#include "menu/options_actions.h"

#include <array>
#include <cstddef>
#include <utility>

#include "core/assets.h"
#include "menu/main_actions.h"
#include "menu/menu.h"
#include "menu/options_screen.h"
#include "menu/screen_blanker.h"
#include "persist/config_file.h"

namespace {

struct Choice {
    const char* label;
    Sint16 y;
    MenuAction action;
};

// One item per visor row, from the top of the screen down, 100 px apart;
// each item's action writes its row's digit.
constexpr Sint16 kVisorRowSpacing = 100;

template <std::size_t... Row>
constexpr std::array<Choice, sizeof...(Row)> visor_choices(std::index_sequence<Row...>)
{
    return {{{assets::kVisors[Row].label, static_cast<Sint16>(Row * kVisorRowSpacing),
              visor_choice_action<static_cast<char>('0' + Row)>}...}};
}

const auto kVisorChoices = visor_choices(std::make_index_sequence<assets::kVisorCount>());

const Choice kDifficultyChoices[] = {
    {"Easy", 150, difficulty_choice_action<'0'>},
    {"Medium", 255, difficulty_choice_action<'1'>},
    {"Insane", 360, difficulty_choice_action<'2'>},
};

template <typename Choices>
void run_choice_menu(SDL_Surface* screen, const Choices& choices)
{
    ScreenBlanker blanker;
    Menu* menu = new Menu(false);
    for (const Choice& choice : choices) {
        menu->add_item(choice.label, choice.y, choice.action);
    }
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
    run_choice_menu(screen, kVisorChoices);
    *close = 1;
}

void edit_difficulty_action(SDL_Surface* screen, Uint8* close)
{
    run_choice_menu(screen, kDifficultyChoices);
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
