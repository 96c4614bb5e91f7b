#include "menu/main_actions.h"

#include "app/assets.h"
#include "app/clock.h"
#include "menu/page.h"
#include "menu/screen_blanker.h"

namespace {

void close_after_delay(Uint8* close)
{
    *close = 1;
    game_clock().delay(kCloseDelayMs);
}

void show_page(SDL_Surface* screen, const char* picture)
{
    ScreenBlanker blanker;
    Menu* page = new Page(picture);
    page->add_item("Retour", 510, back_action);
    blanker.blank(screen);
    page->run(screen);
    delete page;
}

}  // namespace

void play_action(SDL_Surface*, Uint8* close)
{
    *close = 0;
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

void new_game_action(SDL_Surface*, Uint8* close)
{
    close_after_delay(close);
}

void resume_action(SDL_Surface*, Uint8* close)
{
    close_after_delay(close);
}

void back_action(SDL_Surface*, Uint8* close)
{
    close_after_delay(close);
}
