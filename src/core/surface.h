#ifndef TIREVANE_CORE_SURFACE_H
#define TIREVANE_CORE_SURFACE_H

#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>

#include "core/colours.h"
#include "core/geometry.h"
#include "core/non_copyable.h"

// Surfaces the game owns free themselves.
struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Each maker returns a new surface, or null when the file or font is
// missing; every user tolerates null, so a missing asset degrades to
// nothing drawn, never a crash.
SurfacePtr load_bmp(const char* path);
// A picture whose colour-key (yellow) pixels are transparent.
SurfacePtr load_keyed_bmp(const char* path);
// 32-bit surface with all masks 0 (SDL picks its own format), filled with
// one colour.
SurfacePtr create_filled_surface(int width, int height, SDL_Color colour);
SurfacePtr create_black_surface(int width, int height);

struct FontCloser {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
using FontPtr = std::unique_ptr<TTF_Font, FontCloser>;

// Null when the font file is missing.
FontPtr open_font(const char* font_file, int point_size);

// With a font opened once, for texts rendered again and again; null
// without a font.
SurfacePtr render_shaded(TTF_Font* font, const char* text, SDL_Color colour,
                         SDL_Color background);
// Each of these opens the font, renders and closes it at once.
SurfacePtr render_blended(const char* font_file, int point_size, const char* text,
                          SDL_Color colour);
SurfacePtr render_shaded(const char* font_file, int point_size, const char* text,
                         SDL_Color colour, SDL_Color background);

// Blits the whole of `source` with its top-left corner at `pos` and returns
// the part drawn, clipped to the screen (`pos` itself when nothing is
// drawn). `pos` is taken by value: SDL writes the clipped rectangle back
// into the one it is given, and a position kept across frames would drift
// once it crossed the left or top edge.
SDL_Rect blit_at(SDL_Surface* source, SDL_Surface* screen, SDL_Rect pos);
inline SDL_Rect blit_at(const SurfacePtr& source, SDL_Surface* screen, SDL_Rect pos)
{
    return blit_at(source.get(), screen, pos);
}

// Sizes of surfaces that could not be made count as 0, so every layout
// stays defined.
inline int width_of(const SDL_Surface* surface)
{
    return surface ? surface->w : 0;
}
inline int height_of(const SDL_Surface* surface)
{
    return surface ? surface->h : 0;
}
inline int width_of(const SurfacePtr& surface)
{
    return width_of(surface.get());
}
inline int height_of(const SurfacePtr& surface)
{
    return height_of(surface.get());
}

#endif
