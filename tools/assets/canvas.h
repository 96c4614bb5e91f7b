#ifndef TIREVANE_TOOLS_CANVAS_H
#define TIREVANE_TOOLS_CANVAS_H

#include <string>
#include <vector>

#include "coverage.h"
#include "rgb.h"

// An RGB picture drawn in memory and saved as an uncompressed 24-bit BMP,
// the one picture format every SDL 1.2 build reads and colour-keys alike.
class Canvas {
public:
    Canvas(int width, int height, Rgb background = Rgb{});

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const;
    // Writes outside the picture are ignored, so shapes may overhang.
    void put(int x, int y, Rgb colour);
    void blend(int x, int y, Rgb colour, double alpha);

    void vertical_gradient(Rgb top, Rgb bottom, int y0, int y1);
    void fill_rect(int x, int y, int w, int h, Rgb colour, double alpha = 1.0);
    // Anti-aliased shapes, coordinates in pixels (pixel centres at +0.5).
    void glow(double cx, double cy, double radius, Rgb colour, double strength);
    void disc(double cx, double cy, double radius, Rgb colour, double alpha = 1.0);
    void ring(double cx, double cy, double radius, double thickness, Rgb colour,
              double alpha = 1.0);
    void line(double x0, double y0, double x1, double y1, double thickness, Rgb colour,
              double alpha = 1.0);
    void round_rect(double x, double y, double w, double h, double radius, Rgb colour,
                    double alpha = 1.0);
    void paint(const Coverage& shape, int x, int y, Rgb colour, double alpha = 1.0);

    // Throws when the file cannot be written.
    void save_bmp(const std::string& path) const;

private:
    // Blends `colour` wherever `inside(px, py)` (signed distance, negative
    // inside) says, with one pixel of anti-aliasing at the edge.
    template <typename Distance>
    void shape(int x0, int y0, int x1, int y1, Rgb colour, double alpha, Distance distance);

    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

#endif
