#include "reticle.h"

#include <algorithm>
#include <cmath>

Reticle::Reticle(int size)
    : size_(size), set_(static_cast<size_t>(size) * size, false),
      colours_(static_cast<size_t>(size) * size, kKeyYellow)
{
}

void Reticle::shape(const std::function<bool(double, double)>& inside, Rgb colour)
{
    constexpr int kSub = 4;
    const double centre = size_ / 2 + 0.5;
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSub; ++sy) {
                for (int sx = 0; sx < kSub; ++sx) {
                    const double px = x + (sx + 0.5) / kSub - centre;
                    const double py = y + (sy + 0.5) / kSub - centre;
                    hits += inside(px, py) ? 1 : 0;
                }
            }
            if (hits * 2 >= kSub * kSub) {
                const size_t i = static_cast<size_t>(y) * size_ + x;
                set_[i] = true;
                colours_[i] = colour;
            }
        }
    }
}

void Reticle::ring(double radius, double thickness, Rgb colour)
{
    shape([=](double x, double y) { return std::fabs(std::hypot(x, y) - radius) <= thickness / 2; },
          colour);
}

void Reticle::disc(double radius, Rgb colour)
{
    shape([=](double x, double y) { return std::hypot(x, y) <= radius; }, colour);
}

void Reticle::box(double x0, double y0, double x1, double y1, Rgb colour)
{
    const double left = std::min(x0, x1), right = std::max(x0, x1);
    const double top = std::min(y0, y1), bottom = std::max(y0, y1);
    shape([=](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; },
          colour);
}

void Reticle::segment(double x0, double y0, double x1, double y1, double thickness, Rgb colour)
{
    const double dx = x1 - x0, dy = y1 - y0;
    const double len2 = dx * dx + dy * dy;
    shape(
        [=](double x, double y) {
            const double t = std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0, 1.0);
            return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= thickness / 2;
        },
        colour);
}

void Reticle::outline(Rgb colour)
{
    std::vector<bool> rim(set_.size(), false);
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            if (set_[static_cast<size_t>(y) * size_ + x]) {
                continue;
            }
            for (int dy = -1; dy <= 1 && !rim[static_cast<size_t>(y) * size_ + x]; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < size_ && ny < size_ &&
                        set_[static_cast<size_t>(ny) * size_ + nx]) {
                        rim[static_cast<size_t>(y) * size_ + x] = true;
                        break;
                    }
                }
            }
        }
    }
    for (size_t i = 0; i < rim.size(); ++i) {
        if (rim[i]) {
            set_[i] = true;
            colours_[i] = colour;
        }
    }
}

Canvas Reticle::picture() const
{
    Canvas out(size_, size_, kKeyYellow);
    for (int y = 0; y < size_; ++y) {
        for (int x = 0; x < size_; ++x) {
            out.put(x, y, colours_[static_cast<size_t>(y) * size_ + x]);
        }
    }
    return out;
}
