#include "coverage.h"

#include <algorithm>

Coverage::Coverage(int width, int height)
    : width_(width), height_(height), values_(static_cast<size_t>(width) * height, 0.0f)
{
}

float Coverage::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0.0f;
    }
    return values_[static_cast<size_t>(y) * width_ + x];
}

void Coverage::set(int x, int y, float value)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    values_[static_cast<size_t>(y) * width_ + x] = value;
}

namespace {

Coverage padded(const Coverage& source, int pad)
{
    Coverage out(source.width() + 2 * pad, source.height() + 2 * pad);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            out.set(x + pad, y + pad, source.at(x, y));
        }
    }
    return out;
}

// One box-blur pass along x (horizontal) or y, of half-width r.
Coverage box_pass(const Coverage& in, int r, bool horizontal)
{
    Coverage out(in.width(), in.height());
    const float scale = 1.0f / static_cast<float>(2 * r + 1);
    for (int y = 0; y < in.height(); ++y) {
        for (int x = 0; x < in.width(); ++x) {
            float sum = 0.0f;
            for (int k = -r; k <= r; ++k) {
                sum += horizontal ? in.at(x + k, y) : in.at(x, y + k);
            }
            out.set(x, y, sum * scale);
        }
    }
    return out;
}

}  // namespace

Coverage Coverage::blurred(int radius) const
{
    Coverage out = padded(*this, radius);
    const int r = std::max(1, radius / 3);
    for (int pass = 0; pass < 3; ++pass) {
        out = box_pass(out, r, true);
        out = box_pass(out, r, false);
    }
    return out;
}

Coverage Coverage::dilated(int radius) const
{
    Coverage in = padded(*this, radius);
    Coverage out(in.width(), in.height());
    for (int y = 0; y < in.height(); ++y) {
        for (int x = 0; x < in.width(); ++x) {
            float best = 0.0f;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (dx * dx + dy * dy <= radius * radius) {
                        best = std::max(best, in.at(x + dx, y + dy));
                    }
                }
            }
            out.set(x, y, best);
        }
    }
    return out;
}
