#ifndef TIREVANE_TOOLS_TYPESET_H
#define TIREVANE_TOOLS_TYPESET_H

#include <string>
#include <vector>

#include "canvas.h"
#include "font.h"

// Text placement on a canvas. Texts are UTF-8.
enum class Align { Left, Centre, Right };

// Draws `text` with its top edge at y; x is the left edge, centre or right
// edge by `align`. Returns the text's width.
int draw_text(Canvas& canvas, const Font& font, const std::string& text, int x, int y, Rgb colour,
              Align align = Align::Left);
// The same over a soft halo of `glow` colour, for titles.
int draw_glowing_text(Canvas& canvas, const Font& font, const std::string& text, int x, int y,
                      Rgb colour, Rgb glow, int radius, double strength, Align align = Align::Left);
// Splits `text` into lines no wider than `width`, at spaces.
std::vector<std::string> wrap(const Font& font, const std::string& text, int width);

#endif
