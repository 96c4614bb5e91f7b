#ifndef TIREVANE_MENU_ITEM_LABEL_H
#define TIREVANE_MENU_ITEM_LABEL_H

#include <SDL.h>

#include "core/surface.h"

// A menu text in green, centred horizontally, that fades in over its first
// draws and knows whether a pointer lies on it.
class ItemLabel : NonCopyable {
public:
    ItemLabel(const char* text, Sint16 y);
    ~ItemLabel() = default;

    void draw(SDL_Surface* screen);
    // Inclusive of the right and bottom edges; reads the pointer position of
    // the event whatever its type.
    bool hit_test(const SDL_Event& event) const;
    // A left-button press on the text.
    bool click_test(const SDL_Event& event) const;


private:
    SurfacePtr surface;
    SDL_Rect pos;
    Uint8 fade;
};

#endif
