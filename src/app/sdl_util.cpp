#include "app/sdl_util.h"

#include <SDL_ttf.h>

SDL_Surface* load_bmp(const char* path)
{
    SDL_RWops* reader = SDL_RWFromFile(path, "rb");
    if (!reader) {
        return nullptr;
    }
    return SDL_LoadBMP_RW(reader, 1);
}

SDL_Surface* load_keyed_bmp(const char* path)
{
    SDL_Surface* picture = load_bmp(path);
    if (picture) {
        SDL_SetColorKey(picture, SDL_SRCCOLORKEY, SDL_MapRGB(picture->format, 255, 255, 0));
    }
    return picture;
}

SDL_Surface* create_filled_surface(int width, int height, Uint8 r, Uint8 g, Uint8 b)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_HWSURFACE, width, height, 32, 0, 0, 0, 0);
    if (surface) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, r, g, b));
    }
    return surface;
}

SDL_Surface* create_black_surface(int width, int height)
{
    return create_filled_surface(width, height, 0, 0, 0);
}

namespace {

template <typename Render>
SDL_Surface* with_font(const char* font_file, int point_size, Render render)
{
    TTF_Font* font = TTF_OpenFont(font_file, point_size);
    if (!font) {
        return nullptr;
    }
    SDL_Surface* text = render(font);
    TTF_CloseFont(font);
    return text;
}

}  // namespace

SDL_Surface* render_blended(const char* font_file, int point_size, const char* text,
                            SDL_Color colour)
{
    return with_font(font_file, point_size,
                     [&](TTF_Font* font) { return TTF_RenderText_Blended(font, text, colour); });
}

SDL_Surface* render_shaded(const char* font_file, int point_size, const char* text,
                           SDL_Color colour, SDL_Color background)
{
    return with_font(font_file, point_size, [&](TTF_Font* font) {
        return TTF_RenderText_Shaded(font, text, colour, background);
    });
}

void blit_at(SDL_Surface* source, SDL_Surface* screen, SDL_Rect& pos)
{
    if (source && screen) {
        SDL_UpperBlit(source, nullptr, screen, &pos);
    }
}

void free_surface(SDL_Surface*& surface)
{
    if (surface) {
        SDL_FreeSurface(surface);
        surface = nullptr;
    }
}
