#include "typeset.h"

#include <sstream>

namespace {

int left_edge(int x, int width, Align align)
{
    switch (align) {
    case Align::Centre:
        return x - width / 2;
    case Align::Right:
        return x - width;
    case Align::Left:
        break;
    }
    return x;
}

}  // namespace

int draw_text(Canvas& canvas, const Font& font, const std::string& text, int x, int y, Rgb colour,
              Align align)
{
    const Coverage shape = font.render(text);
    canvas.paint(shape, left_edge(x, shape.width(), align), y, colour);
    return shape.width();
}

int draw_glowing_text(Canvas& canvas, const Font& font, const std::string& text, int x, int y,
                      Rgb colour, Rgb glow, int radius, double strength, Align align)
{
    const Coverage shape = font.render(text);
    const int left = left_edge(x, shape.width(), align);
    const Coverage halo = shape.blurred(radius);
    for (int pass = 0; pass < 2; ++pass) {
        canvas.paint(halo, left - radius, y - radius, glow, strength);
    }
    canvas.paint(shape, left, y, colour);
    return shape.width();
}

std::vector<std::string> wrap(const Font& font, const std::string& text, int width)
{
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word;
    std::string line;
    while (words >> word) {
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && font.text_width(candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}
