#include "menu/menu_layouts.h"

#include <array>
#include <cstddef>
#include <utility>

#include "core/assets.h"
#include "menu/main_actions.h"
#include "menu/menu.h"
#include "menu/options_actions.h"

namespace {

template <std::size_t N>
constexpr MenuLayout layout_of(const MenuRow (&rows)[N])
{
    return MenuLayout{rows, static_cast<int>(N)};
}

const MenuRow kMainRows[] = {
    {"Jouer", 111, play_action},
    {"Comment jouer", 210, how_to_play_action},
    {"Options", 309, options_action},
    {"A propos...", 408, about_action},
    {"Quitter", 507, quit_action},
};

const MenuRow kPlayRows[] = {{"Nouvelle partie", 255, new_game_action}};
const MenuRow kPlayResumableRows[] = {
    {"Reprendre partie", 120, resume_action},
    {"Nouvelle partie", 390, new_game_action},
};

const MenuRow kOptionsRows[] = {
    {"Editer viseur", 120, edit_visor_action},
    {"Editer difficulte", 390, edit_difficulty_action},
};

// From the top of the screen down, 100 px apart; each item's action writes
// its row's digit.
constexpr Sint16 kVisorRowSpacing = 100;

template <std::size_t... Row>
constexpr std::array<MenuRow, sizeof...(Row)> visor_rows(std::index_sequence<Row...>)
{
    return {{{assets::kVisors[Row].label, static_cast<Sint16>(Row * kVisorRowSpacing),
              visor_choice_action<static_cast<char>('0' + Row)>}...}};
}

const auto kVisorRows = visor_rows(std::make_index_sequence<assets::kVisorCount>());

const MenuRow kDifficultyRows[] = {
    {"Easy", 150, difficulty_choice_action<'0'>},
    {"Medium", 255, difficulty_choice_action<'1'>},
    {"Insane", 360, difficulty_choice_action<'2'>},
};

const MenuRow kPageRows[] = {{"Retour", 510, back_action}};

}  // namespace

namespace layouts {

const MenuLayout kMain = layout_of(kMainRows);
const MenuLayout kPlay = layout_of(kPlayRows);
const MenuLayout kPlayResumable = layout_of(kPlayResumableRows);
const MenuLayout kOptions = layout_of(kOptionsRows);
const MenuLayout kVisors{kVisorRows.data(), static_cast<int>(kVisorRows.size())};
const MenuLayout kDifficulties = layout_of(kDifficultyRows);
const MenuLayout kPage = layout_of(kPageRows);

}  // namespace layouts

void add_items(Menu& menu, const MenuLayout& layout)
{
    for (const MenuRow& row : layout) {
        menu.add_item(row.label, row.y, row.action);
    }
}
