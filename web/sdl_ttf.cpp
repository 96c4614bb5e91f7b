// SDL_ttf's text rendering on FreeType, for the browser. Emscripten's own
// TTF_* draw with the canvas in whatever face the browser picks, at other
// sizes; this renders with the packaged faces through the same FreeType
// version as the desktop and lays text out as SDL_ttf 2.0.11 does (its
// surface sizes, bearings and 256 shades), so texts land on the same pixels.
#include <SDL.h>
#include <SDL_ttf.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <string>
#include <vector>

namespace {

FT_Library library = nullptr;

// FreeType's 26.6 fixed point, rounded as SDL_ttf rounds it.
int ft_floor(FT_Pos x)
{
    return static_cast<int>((x & -64) / 64);
}
int ft_ceil(FT_Pos x)
{
    return static_cast<int>(((x + 63) & -64) / 64);
}

struct Glyph {
    FT_UInt index = 0;
    int minx = 0;
    int maxx = 0;
    int miny = 0;
    int maxy = 0;
    int yoffset = 0;
    int advance = 0;
    int rows = 0;
    int width = 0;
    int pitch = 0;
    std::vector<unsigned char> pixmap;  // 256 levels of coverage
};

}  // namespace

struct _TTF_Font {
    FT_Face face = nullptr;
    int ascent = 0;
    int height = 0;
    std::map<unsigned char, Glyph> glyphs;
};

namespace {

const Glyph* glyph_of(TTF_Font* font, unsigned char c)
{
    auto found = font->glyphs.find(c);
    if (found != font->glyphs.end()) {
        return &found->second;
    }
    FT_Face face = font->face;
    Glyph glyph;
    glyph.index = FT_Get_Char_Index(face, c);
    if (FT_Load_Glyph(face, glyph.index, FT_LOAD_DEFAULT) != 0) {
        return nullptr;
    }
    const FT_Glyph_Metrics& metrics = face->glyph->metrics;
    glyph.minx = ft_floor(metrics.horiBearingX);
    glyph.maxx = glyph.minx + ft_ceil(metrics.width);
    glyph.maxy = ft_floor(metrics.horiBearingY);
    glyph.miny = glyph.maxy - ft_ceil(metrics.height);
    glyph.yoffset = font->ascent - glyph.maxy;
    glyph.advance = ft_ceil(metrics.horiAdvance);
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
        return nullptr;
    }
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.width = static_cast<int>(bitmap.width);
    glyph.pitch = bitmap.pitch;
    glyph.pixmap.assign(bitmap.buffer, bitmap.buffer + glyph.rows * glyph.pitch);
    return &font->glyphs.emplace(c, std::move(glyph)).first->second;
}

bool uses_kerning(const TTF_Font* font)
{
    return FT_HAS_KERNING(font->face);
}

int kerning(const TTF_Font* font, FT_UInt previous, FT_UInt index)
{
    if (!uses_kerning(font) || !previous || !index) {
        return 0;
    }
    FT_Vector delta;
    FT_Get_Kerning(font->face, previous, index, FT_KERNING_DEFAULT, &delta);
    return static_cast<int>(delta.x >> 6);
}

bool size_of(TTF_Font* font, const char* text, int* w, int* h)
{
    int x = 0;
    int minx = 0;
    int maxx = 0;
    int miny = 0;
    FT_UInt previous = 0;
    for (const char* p = text; *p; ++p) {
        const Glyph* glyph = glyph_of(font, static_cast<unsigned char>(*p));
        if (!glyph) {
            return false;
        }
        x += kerning(font, previous, glyph->index);
        minx = std::min(minx, x + glyph->minx);
        maxx = std::max(maxx, x + std::max(glyph->advance, glyph->maxx));
        x += glyph->advance;
        miny = std::min(miny, glyph->miny);
        previous = glyph->index;
    }
    *w = maxx - minx;
    *h = std::max(font->ascent - miny, font->height);
    return true;
}

// The text's coverage, 0 to 255 a pixel, laid out as SDL_ttf lays it out;
// overlapping glyphs are OR-ed.
bool coverage_of(TTF_Font* font, const char* text, int* w, int* h, std::vector<unsigned char>& out)
{
    if (!text || !size_of(font, text, w, h) || *w == 0) {
        return false;
    }
    out.assign(static_cast<size_t>(*w) * *h, 0);
    int xstart = 0;
    FT_UInt previous = 0;
    bool first = true;
    for (const char* p = text; *p; ++p) {
        const Glyph* glyph = glyph_of(font, static_cast<unsigned char>(*p));
        const int width = std::min(glyph->width, glyph->maxx - glyph->minx);
        xstart += kerning(font, previous, glyph->index);
        if (first && glyph->minx < 0) {
            xstart -= glyph->minx;
        }
        first = false;
        for (int row = 0; row < glyph->rows; ++row) {
            const int y = row + glyph->yoffset;
            if (y < 0 || y >= *h) {
                continue;
            }
            const long start = static_cast<long>(y) * *w + xstart + glyph->minx;
            const unsigned char* src = glyph->pixmap.data() + row * glyph->pitch;
            for (int col = 0; col < width; ++col) {
                const long at = start + col;
                if (at >= 0 && at < static_cast<long>(out.size())) {
                    out[at] |= src[col];
                }
            }
        }
        xstart += glyph->advance;
        previous = glyph->index;
    }
    return true;
}

// A 32-bit surface in the browser's byte order (R, G, B, A), filled from
// `pixel(coverage)`; `with_alpha` marks it as blended text.
template <typename Pixel>
SDL_Surface* surface_from(int w, int h, const std::vector<unsigned char>& coverage, bool with_alpha,
                          Pixel pixel)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x000000FF, 0x0000FF00,
                                                0x00FF0000, with_alpha ? 0xFF000000 : 0);
    if (!surface) {
        return nullptr;
    }
    SDL_LockSurface(surface);
    auto* pixels = static_cast<Uint32*>(surface->pixels);
    for (size_t i = 0; i < coverage.size(); ++i) {
        pixels[i] = pixel(coverage[i]);
    }
    SDL_UnlockSurface(surface);
    return surface;
}

Uint32 rgba(int r, int g, int b, int a)
{
    return static_cast<Uint32>(r) | static_cast<Uint32>(g) << 8 | static_cast<Uint32>(b) << 16 |
           static_cast<Uint32>(a) << 24;
}

}  // namespace

int TTF_Init(void)
{
    return library || FT_Init_FreeType(&library) == 0 ? 0 : -1;
}

void TTF_Quit(void)
{
    if (library) {
        FT_Done_FreeType(library);
        library = nullptr;
    }
}

int TTF_WasInit(void)
{
    return library != nullptr;
}

TTF_Font* TTF_OpenFont(const char* file, int ptsize)
{
    FT_Face face = nullptr;
    if (!library || FT_New_Face(library, file, 0, &face) != 0) {
        return nullptr;
    }
    if (!FT_IS_SCALABLE(face) || FT_Set_Char_Size(face, 0, ptsize * 64, 0, 0) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    auto* font = new TTF_Font;
    font->face = face;
    const FT_Fixed scale = face->size->metrics.y_scale;
    font->ascent = ft_ceil(FT_MulFix(face->ascender, scale));
    const int descent = ft_ceil(FT_MulFix(face->descender, scale));
    font->height = font->ascent - descent + 1;
    return font;
}

void TTF_CloseFont(TTF_Font* font)
{
    if (font) {
        FT_Done_Face(font->face);
        delete font;
    }
}

int TTF_SizeText(TTF_Font* font, const char* text, int* w, int* h)
{
    int width = 0;
    int height = 0;
    if (!font || !text || !size_of(font, text, &width, &height)) {
        return -1;
    }
    if (w) {
        *w = width;
    }
    if (h) {
        *h = height;
    }
    return 0;
}

SDL_Surface* TTF_RenderText_Blended(TTF_Font* font, const char* text, SDL_Color fg)
{
    int w = 0;
    int h = 0;
    std::vector<unsigned char> coverage;
    if (!font || !coverage_of(font, text, &w, &h, coverage)) {
        return nullptr;
    }
    return surface_from(w, h, coverage, true,
                        [&](unsigned char a) { return rgba(fg.r, fg.g, fg.b, a); });
}

SDL_Surface* TTF_RenderText_Shaded(TTF_Font* font, const char* text, SDL_Color fg, SDL_Color bg)
{
    int w = 0;
    int h = 0;
    std::vector<unsigned char> coverage;
    if (!font || !coverage_of(font, text, &w, &h, coverage)) {
        return nullptr;
    }
    // SDL_ttf's palette: 256 shades from the background to the colour.
    return surface_from(w, h, coverage, false, [&](unsigned char i) {
        return rgba(bg.r + i * (fg.r - bg.r) / 255, bg.g + i * (fg.g - bg.g) / 255,
                    bg.b + i * (fg.b - bg.b) / 255, 255);
    });
}
