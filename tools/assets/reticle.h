#ifndef TIREVANE_TOOLS_RETICLE_H
#define TIREVANE_TOOLS_RETICLE_H

#include <functional>
#include <vector>

#include "canvas.h"

// A crosshair picture on the transparent yellow key. Pixels are either
// fully design or fully key, never blended: an anti-aliased edge would mix
// with yellow and show as a yellow fringe in the game. Shapes are placed
// around the pixel the game puts under the pointer, (size/2, size/2), in
// offsets from that pixel's centre. That pixel sits one past the middle, so
// a design reaches at most size/2 - 2 to the right and down, rim included.
class Reticle {
public:
    explicit Reticle(int size);

    // Sets every pixel whose area is at least half inside `inside(dx, dy)`.
    void shape(const std::function<bool(double, double)>& inside, Rgb colour);
    void ring(double radius, double thickness, Rgb colour);
    void disc(double radius, Rgb colour);
    // Axis-aligned box between two corners.
    void box(double x0, double y0, double x1, double y1, Rgb colour);
    void segment(double x0, double y0, double x1, double y1, double thickness, Rgb colour);
    // A one-pixel dark rim around everything drawn so far, so the design
    // reads on black and on every target colour alike.
    void outline(Rgb colour);

    Canvas picture() const;

private:
    int size_;
    std::vector<bool> set_;
    std::vector<Rgb> colours_;
};

#endif
