#ifndef TIREVANE_TOOLS_FONT_H
#define TIREVANE_TOOLS_FONT_H

#include <SDL_ttf.h>

#include <string>

#include "coverage.h"

// One TrueType face at one size. Texts are UTF-8 here (the game itself
// renders Latin-1), so the pictures can carry French accents and quotes.
class Font {
public:
    Font(const std::string& path, int point_size);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The text's anti-aliased shape; empty for an empty text.
    Coverage render(const std::string& utf8) const;
    int text_width(const std::string& utf8) const;
    int line_height() const;

private:
    TTF_Font* font_ = nullptr;
};

#endif
