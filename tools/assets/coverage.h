#ifndef TIREVANE_TOOLS_COVERAGE_H
#define TIREVANE_TOOLS_COVERAGE_H

#include <vector>

// A grey-level stencil (0 = empty, 1 = full): rendered text, and the soft
// glows and outlines derived from it.
class Coverage {
public:
    Coverage() = default;
    Coverage(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    float at(int x, int y) const;
    void set(int x, int y, float value);

    // A copy grown by `radius` on each side and blurred over it (three box
    // passes approximate a Gaussian), for glows.
    Coverage blurred(int radius) const;
    // A copy grown by `radius` on each side whose every pixel takes the
    // strongest value within that distance, for solid outlines.
    Coverage dilated(int radius) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<float> values_;
};

#endif
