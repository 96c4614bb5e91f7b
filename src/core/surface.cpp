#include "core/surface.h"

SurfacePtr load_bmp(const char* path)
{
    SDL_RWops* reader = SDL_RWFromFile(path, "rb");
    if (!reader) {
        return nullptr;
    }
    return SurfacePtr(SDL_LoadBMP_RW(reader, 1));
}

SurfacePtr load_keyed_bmp(const char* path)
{
    SurfacePtr picture = load_bmp(path);
    if (picture) {
        SDL_SetColorKey(picture.get(), SDL_SRCCOLORKEY,
                        SDL_MapRGB(picture->format, kColourKey.r, kColourKey.g, kColourKey.b));
    }
    return picture;
}

SurfacePtr create_filled_surface(int width, int height, SDL_Color colour)
{
    SurfacePtr surface(SDL_CreateRGBSurface(SDL_HWSURFACE, width, height, 32, 0, 0, 0, 0));
    if (surface) {
        SDL_FillRect(surface.get(), nullptr,
                     SDL_MapRGB(surface->format, colour.r, colour.g, colour.b));
    }
    return surface;
}

SurfacePtr create_black_surface(int width, int height)
{
    return create_filled_surface(width, height, kBlack);
}

FontPtr open_font(const char* font_file, int point_size)
{
    return FontPtr(TTF_OpenFont(font_file, point_size));
}

SurfacePtr render_shaded(TTF_Font* font, const char* text, SDL_Color colour,
                         SDL_Color background)
{
    return font ? SurfacePtr(TTF_RenderText_Shaded(font, text, colour, background)) : nullptr;
}

namespace {

template <typename Render>
SurfacePtr with_font(const char* font_file, int point_size, Render render)
{
    const FontPtr font = open_font(font_file, point_size);
    if (!font) {
        return nullptr;
    }
    return SurfacePtr(render(font.get()));
}

}  // namespace

SurfacePtr render_blended(const char* font_file, int point_size, const char* text,
                          SDL_Color colour)
{
    return with_font(font_file, point_size,
                     [&](TTF_Font* font) { return TTF_RenderText_Blended(font, text, colour); });
}

SurfacePtr render_shaded(const char* font_file, int point_size, const char* text,
                         SDL_Color colour, SDL_Color background)
{
    return render_shaded(open_font(font_file, point_size).get(), text, colour, background);
}

SDL_Rect blit_at(SDL_Surface* source, SDL_Surface* screen, SDL_Rect pos)
{
    if (source && screen) {
        SDL_UpperBlit(source, nullptr, screen, &pos);
    }
    return pos;
}
