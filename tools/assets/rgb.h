#ifndef TIREVANE_TOOLS_RGB_H
#define TIREVANE_TOOLS_RGB_H

#include <algorithm>
#include <cmath>
#include <cstdint>

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

constexpr bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
constexpr bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// Linear mix: t = 0 gives a, t = 1 gives b.
inline Rgb mix(Rgb a, Rgb b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    auto lerp = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
    };
    return Rgb{lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

// The colour key of every cursor and visor picture.
constexpr Rgb kKeyYellow{255, 255, 0};

#endif
