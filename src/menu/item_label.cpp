#include "menu/item_label.h"

#include "core/assets.h"

ItemLabel::ItemLabel(const char* text, Sint16 y)
    : surface(render_blended(assets::kMenuFont, 90, text, kGreen)),
      pos(rect_at(centred_x(width_of(surface)), y)),
      fade(0)
{
}

void ItemLabel::draw(SDL_Surface* screen)
{
    if (!surface) {
        return;
    }
    // Once fully faded in, the last alpha set (254) stays in force.
    if (fade != 255) {
        SDL_SetAlpha(surface.get(), SDL_SRCALPHA, fade);
        blit_at(surface, screen, pos);
        ++fade;
    } else {
        blit_at(surface, screen, pos);
    }
}

bool ItemLabel::hit_test(const SDL_Event& event) const
{
    if (!surface) {
        return false;
    }
    const int x = event.button.x;
    const int y = event.button.y;
    return x >= pos.x && x <= pos.x + surface->w && y >= pos.y && y <= pos.y + surface->h;
}

bool ItemLabel::click_test(const SDL_Event& event) const
{
    return hit_test(event) && event.type == SDL_MOUSEBUTTONDOWN &&
           event.button.button == SDL_BUTTON_LEFT;
}
