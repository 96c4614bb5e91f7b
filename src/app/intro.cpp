#include "app/intro.h"

#include "core/assets.h"
#include "core/fullscreen.h"
#include "core/input.h"

Intro::Intro()
    : presents(load_bmp(assets::kIntroPresents)),
      name_picture(load_bmp(assets::kIntroName)),
      title(render_blended(assets::kMenuFont, 90, "Tirevane", kRed)),
      black_layer(create_black_surface(kScreenWidth, kScreenHeight)),
      picture_pos(rect_at(0, 0)),
      title_pos(rect_at(centred_x(width_of(title)), centred_y(height_of(title)))),
      pacer(),
      event(),
      skip(0),
      alpha_presents(0),
      alpha_name(0),
      alpha_black(0),
      alpha_title(0)
{
}

bool Intro::poll_input()
{
    while (input::poll(event)) {
        if (handle_fullscreen_key(event)) {
            continue;
        }
        if (event.type == SDL_KEYDOWN) {
            skip = 1;
            if (event.key.keysym.sym == SDLK_ESCAPE) {
                return true;
            }
        } else if (event.type == SDL_QUIT) {
            skip = 1;
            return true;
        } else if (event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT) {
            // A player with only a pointer or a finger skips as a key does.
            skip = 1;
        }
        // Other buttons, motion and focus changes neither skip nor abort.
    }
    return false;
}

bool Intro::run(SDL_Surface* screen)
{
    pacer.restart();
    fade_black(0, screen);

    while (alpha_presents < 254) {
        if (poll_input()) {
            return true;
        }
        if (!skip) {
            fade_presents(2, screen);
        } else {
            alpha_presents = 254;
            fade_presents(0, screen);
        }
        flip(screen);
    }

    while (alpha_name < 254) {
        if (poll_input()) {
            return true;
        }
        if (!skip) {
            fade_name(2, screen);
            if (alpha_presents != 0) {
                fade_presents(254, screen);
            }
        } else {
            alpha_presents = 0;
            alpha_name = 254;
            fade_presents(0, screen);
            fade_name(0, screen);
        }
        flip(screen);
    }

    while (alpha_black < 254) {
        if (poll_input()) {
            return true;
        }
        if (skip) {
            alpha_name = 0;
            alpha_black = 254;
            break;
        }
        fade_black(2, screen);
        fade_title(2, screen);
        if (alpha_name != 0) {
            fade_name(254, screen);
            flip(screen);
        }
        flip(screen);
    }
    return false;
}

void Intro::fade(const SurfacePtr& layer, SDL_Rect pos, Uint8& counter, Uint8 step, SDL_Surface* screen)
{
    if (layer) {
        SDL_SetAlpha(layer.get(), SDL_SRCALPHA, counter);
        blit_at(layer, screen, pos);
    }
    counter = static_cast<Uint8>(counter + step);
}

void Intro::fade_presents(Uint8 step, SDL_Surface* screen)
{
    fade(presents, picture_pos, alpha_presents, step, screen);
}

void Intro::fade_name(Uint8 step, SDL_Surface* screen)
{
    fade(name_picture, picture_pos, alpha_name, step, screen);
}

void Intro::fade_title(Uint8 step, SDL_Surface* screen)
{
    fade(title, title_pos, alpha_title, step, screen);
}

void Intro::fade_black(Uint8 step, SDL_Surface* screen)
{
    fade(black_layer, picture_pos, alpha_black, step, screen);
}

void Intro::flip(SDL_Surface* screen)
{
    SDL_Flip(screen);
    pacer.wait_after_flip();
}
