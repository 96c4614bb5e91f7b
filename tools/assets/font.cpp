#include "font.h"

#include <stdexcept>

Font::Font(const std::string& path, int point_size) : font_(TTF_OpenFont(path.c_str(), point_size))
{
    if (!font_) {
        throw std::runtime_error("cannot open font " + path + ": " + TTF_GetError());
    }
}

Font::~Font()
{
    TTF_CloseFont(font_);
}

Coverage Font::render(const std::string& utf8) const
{
    if (utf8.empty()) {
        return Coverage();
    }
    // Only the alpha channel matters: colour is applied when painting.
    SDL_Color white = {255, 255, 255, 0};
    SDL_Surface* text = TTF_RenderUTF8_Blended(font_, utf8.c_str(), white);
    if (!text) {
        throw std::runtime_error("cannot render \"" + utf8 + "\": " + TTF_GetError());
    }
    Coverage out(text->w, text->h);
    const SDL_PixelFormat* f = text->format;
    SDL_LockSurface(text);
    for (int y = 0; y < text->h; ++y) {
        const Uint32* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(text->pixels) +
                                                            y * text->pitch);
        for (int x = 0; x < text->w; ++x) {
            const Uint32 alpha = (row[x] & f->Amask) >> f->Ashift;
            out.set(x, y, static_cast<float>(alpha) / 255.0f);
        }
    }
    SDL_UnlockSurface(text);
    SDL_FreeSurface(text);
    return out;
}

int Font::text_width(const std::string& utf8) const
{
    int w = 0;
    int h = 0;
    TTF_SizeUTF8(font_, utf8.c_str(), &w, &h);
    return w;
}

int Font::line_height() const
{
    return TTF_FontLineSkip(font_);
}
