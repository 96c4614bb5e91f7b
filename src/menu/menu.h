#ifndef TIREVANE_MENU_MENU_H
#define TIREVANE_MENU_MENU_H

#include <SDL.h>

#include "audio/fsound.h"
#include "core/surface.h"
#include "menu/menu_action.h"
#include "menu/menu_item_list.h"

// A modal menu screen: a column of clickable texts on black, an optional
// red title, a two-state cursor picture that follows the pointer and a shot
// sound per item on every left click, which runs the action of at most one
// item. It draws a frame for every event it takes, and at once when it is
// shown or comes back from a screen an action opened, with the cursor
// where the pointer is; mouse presses in its first moments are not its own
// (see input::screen_shown). run() returns once Escape, a quit request or
// an item's action closes it; the caller then deletes it.
class Menu : NonCopyable {
public:
    explicit Menu(bool with_title);
    virtual ~Menu();

    void add_item(const char* text, Sint16 y, MenuAction action);
    // The main menu's title rises from the centre to the top, revealing the
    // first five items one by one, at a 60 Hz display's pace.
    void slide_in(SDL_Surface* screen);
    // Shows its first frame at once, then handles events until closed.
    void run(SDL_Surface* screen);
    // One turn of the loop: reacts to `received`, draws and shows the frame,
    // then runs the action of the item a left press chooses.
    void handle(SDL_Surface* screen, const SDL_Event& received);
    virtual void draw(SDL_Surface* screen);
    // 1 draws the normal cursor, 2 the one shown over an item, others nothing.
    void draw_cursor(SDL_Surface* screen, Sint16 kind);
    bool pointer_on_item(const SDL_Event& pointer) const;
    // The first item, in the order added, whose box holds the pointer.
    const MenuItem* item_under(const SDL_Event& pointer) const;
    // One frame of the slide-in; returns the title's new top edge (10 at the end).
    Sint16 slide_step(SDL_Surface* screen);

private:
    // A whole frame, from the screen cleared to the flip.
    void draw_frame(SDL_Surface* screen);
    // A frame drawn as the screen comes (back) before the player's eyes.
    void show(SDL_Surface* screen);
    void play_shot_sounds();
    // Whether an action ran.
    bool run_clicked_action(SDL_Surface* screen);

    SurfacePtr backdrop;
    SurfacePtr title;
    SurfacePtr cursor_normal;
    SurfacePtr cursor_over;
    MenuItemList items;
    SDL_Rect backdrop_pos;
    SDL_Rect title_pos;
    SDL_Rect cursor_pos;
    SDL_Event event;
    FSOUND_STREAM* hit_sound;
    FSOUND_STREAM* miss_sound;
    Uint8 has_title;
    Uint8 done;
};

#endif
