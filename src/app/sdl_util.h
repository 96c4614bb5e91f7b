#ifndef TIREVANE_APP_SDL_UTIL_H
#define TIREVANE_APP_SDL_UTIL_H

#include <SDL.h>

// Small helpers shared by every screen. Each returns a new surface owned by
// the caller (or nullptr when the file or font is missing) and tolerates a
// null source, so a missing asset degrades to nothing drawn, never a crash.

// Base for owners of SDL resources: copying would free them twice.
class NonCopyable {
protected:
    NonCopyable() = default;
    ~NonCopyable() = default;

public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;
};

SDL_Surface* load_bmp(const char* path);
// A picture whose yellow (255, 255, 0) pixels are transparent.
SDL_Surface* load_keyed_bmp(const char* path);
// 32-bit surface with all masks 0 (SDL picks its own format), filled with
// one colour.
SDL_Surface* create_filled_surface(int width, int height, Uint8 r, Uint8 g, Uint8 b);
SDL_Surface* create_black_surface(int width, int height);

// Each rendering opens the font, renders and closes it at once.
SDL_Surface* render_blended(const char* font_file, int point_size, const char* text,
                            SDL_Color colour);
SDL_Surface* render_shaded(const char* font_file, int point_size, const char* text,
                           SDL_Color colour, SDL_Color background);

// Blits the whole of `source` with its top-left corner at `pos`.
void blit_at(SDL_Surface* source, SDL_Surface* screen, SDL_Rect& pos);
void free_surface(SDL_Surface*& surface);

inline SDL_Color rgb(Uint8 r, Uint8 g, Uint8 b)
{
    SDL_Color c;
    c.r = r;
    c.g = g;
    c.b = b;
    c.unused = 0;
    return c;
}

inline SDL_Rect rect_at(Sint16 x, Sint16 y)
{
    SDL_Rect r;
    r.x = x;
    r.y = y;
    r.w = 0;
    r.h = 0;
    return r;
}

#endif
