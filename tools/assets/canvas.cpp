#include "canvas.h"

#include "little_endian.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

Canvas::Canvas(int width, int height, Rgb background)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, background)
{
}

Rgb Canvas::at(int x, int y) const
{
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::put(int x, int y, Rgb colour)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    pixels_[static_cast<size_t>(y) * width_ + x] = colour;
}

void Canvas::blend(int x, int y, Rgb colour, double alpha)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0.0) {
        return;
    }
    Rgb& p = pixels_[static_cast<size_t>(y) * width_ + x];
    p = mix(p, colour, alpha);
}

void Canvas::vertical_gradient(Rgb top, Rgb bottom, int y0, int y1)
{
    for (int y = y0; y < y1; ++y) {
        const Rgb c = mix(top, bottom, static_cast<double>(y - y0) / std::max(1, y1 - y0 - 1));
        for (int x = 0; x < width_; ++x) {
            put(x, y, c);
        }
    }
}

void Canvas::fill_rect(int x, int y, int w, int h, Rgb colour, double alpha)
{
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) {
            blend(i, j, colour, alpha);
        }
    }
}

void Canvas::glow(double cx, double cy, double radius, Rgb colour, double strength)
{
    const int r = static_cast<int>(std::ceil(radius));
    for (int y = static_cast<int>(cy) - r; y <= static_cast<int>(cy) + r; ++y) {
        for (int x = static_cast<int>(cx) - r; x <= static_cast<int>(cx) + r; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (d < 1.0) {
                const double falloff = (1.0 - d) * (1.0 - d);
                blend(x, y, colour, strength * falloff);
            }
        }
    }
}

template <typename Distance>
void Canvas::shape(int x0, int y0, int x1, int y1, Rgb colour, double alpha, Distance distance)
{
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double d = distance(x + 0.5, y + 0.5);
            const double cover = std::clamp(0.5 - d, 0.0, 1.0);
            blend(x, y, colour, alpha * cover);
        }
    }
}

void Canvas::disc(double cx, double cy, double radius, Rgb colour, double alpha)
{
    const int r = static_cast<int>(std::ceil(radius)) + 1;
    shape(static_cast<int>(cx) - r, static_cast<int>(cy) - r, static_cast<int>(cx) + r,
          static_cast<int>(cy) + r, colour, alpha,
          [&](double px, double py) { return std::hypot(px - cx, py - cy) - radius; });
}

void Canvas::ring(double cx, double cy, double radius, double thickness, Rgb colour,
                  double alpha)
{
    const int r = static_cast<int>(std::ceil(radius + thickness)) + 1;
    shape(static_cast<int>(cx) - r, static_cast<int>(cy) - r, static_cast<int>(cx) + r,
          static_cast<int>(cy) + r, colour, alpha, [&](double px, double py) {
              return std::fabs(std::hypot(px - cx, py - cy) - radius) - thickness / 2;
          });
}

void Canvas::line(double x0, double y0, double x1, double y1, double thickness, Rgb colour,
                  double alpha)
{
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double len2 = std::max(1e-9, dx * dx + dy * dy);
    const int pad = static_cast<int>(std::ceil(thickness)) + 1;
    shape(static_cast<int>(std::min(x0, x1)) - pad, static_cast<int>(std::min(y0, y1)) - pad,
          static_cast<int>(std::max(x0, x1)) + pad, static_cast<int>(std::max(y0, y1)) + pad,
          colour, alpha, [&](double px, double py) {
              const double t = std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0, 1.0);
              return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy)) - thickness / 2;
          });
}

void Canvas::round_rect(double x, double y, double w, double h, double radius, Rgb colour,
                        double alpha)
{
    const double cx = x + w / 2;
    const double cy = y + h / 2;
    shape(static_cast<int>(x) - 1, static_cast<int>(y) - 1, static_cast<int>(x + w) + 1,
          static_cast<int>(y + h) + 1, colour, alpha, [&](double px, double py) {
              const double qx = std::fabs(px - cx) - (w / 2 - radius);
              const double qy = std::fabs(py - cy) - (h / 2 - radius);
              const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
              return outside + std::min(std::max(qx, qy), 0.0) - radius;
          });
}

void Canvas::paint(const Coverage& shape_mask, int x, int y, Rgb colour, double alpha)
{
    for (int j = 0; j < shape_mask.height(); ++j) {
        for (int i = 0; i < shape_mask.width(); ++i) {
            blend(x + i, y + j, colour, alpha * shape_mask.at(i, j));
        }
    }
}

void Canvas::save_bmp(const std::string& path) const
{
    const unsigned long row_size = (static_cast<unsigned long>(width_) * 3 + 3) & ~3UL;
    const unsigned long image_size = row_size * height_;
    std::vector<unsigned char> out;
    out.reserve(54 + image_size);
    // File header, then a BITMAPINFOHEADER: bottom-up rows, BI_RGB (no RLE).
    out.push_back('B');
    out.push_back('M');
    put_u32(out, 54 + image_size);
    put_u32(out, 0);
    put_u32(out, 54);
    put_u32(out, 40);
    put_u32(out, static_cast<unsigned long>(width_));
    put_u32(out, static_cast<unsigned long>(height_));
    put_u16(out, 1);
    put_u16(out, 24);
    put_u32(out, 0);
    put_u32(out, image_size);
    put_u32(out, 2835);  // 72 dpi, as image tools expect
    put_u32(out, 2835);
    put_u32(out, 0);
    put_u32(out, 0);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const Rgb p = at(x, y);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (unsigned long pad = static_cast<unsigned long>(width_) * 3; pad < row_size; ++pad) {
            out.push_back(0);
        }
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (std::fclose(file) != 0 || !ok) {
        throw std::runtime_error("cannot write " + path);
    }
}
