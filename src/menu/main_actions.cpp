#include "menu/main_actions.h"

#include "core/assets.h"
#include "core/clock.h"
#include "game/match.h"
#include "menu/menu.h"
#include "menu/menu_layouts.h"
#include "menu/page.h"
#include "menu/screen_blanker.h"
#include "persist/key_scanner.h"
#include "persist/profile.h"
#include "persist/save_format.h"

namespace {

void show_page(SDL_Surface* screen, const char* picture)
{
    ScreenBlanker blanker;
    Menu* page = new Page(picture);
    add_items(*page, layouts::kPage);
    blanker.blank(screen);
    page->run(screen);
    delete page;
}

// One match from the current options, saved when it ends. A resumed match
// starts from the saved score, a new one from 0.
void play_match(SDL_Surface* screen, bool resume)
{
    Profile* profile = new Profile();
    profile->load();
    profile->load_score_digits();
    profile->write_visor_difficulty(assets::kSaveFile);

    const Sint32 start_score = resume ? profile->score_to_number() : 0;
    Match* match = new Match(static_cast<Sint16>(profile->visor_index()),
                             static_cast<Sint16>(profile->difficulty_index()), start_score);
    match->run(screen);
    match->save_score();

    delete profile;
    delete match;
}

}  // namespace

void play_action(SDL_Surface* screen, Uint8* close)
{
    ScreenBlanker blanker;
    KeyScanner* scanner = new KeyScanner();
    const bool resumable = scanner->find_key(assets::kSaveFile, save_format::kResumableMarker);

    Menu* play_menu = new Menu(false);
    add_items(*play_menu, resumable ? layouts::kPlayResumable : layouts::kPlay);
    blanker.blank(screen);
    play_menu->run(screen);
    delete play_menu;
    delete scanner;
    *close = 0;
}

void close_after_delay(Uint8* close)
{
    *close = 1;
    game_clock().delay(1500);
}

void how_to_play_action(SDL_Surface* screen, Uint8* close)
{
    show_page(screen, assets::kHowToPlayPage);
    *close = 0;
}

void about_action(SDL_Surface* screen, Uint8* close)
{
    show_page(screen, assets::kAboutPage);
    *close = 0;
}

void quit_action(SDL_Surface*, Uint8* close)
{
    close_after_delay(close);
}

void new_game_action(SDL_Surface* screen, Uint8* close)
{
    play_match(screen, false);
    close_after_delay(close);
}

void resume_action(SDL_Surface* screen, Uint8* close)
{
    play_match(screen, true);
    close_after_delay(close);
}

void back_action(SDL_Surface*, Uint8* close)
{
    close_after_delay(close);
}
