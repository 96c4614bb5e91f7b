#include "game/target.h"

#include <algorithm>
#include <cmath>

#include "core/random_range.h"
#include "game/target_palette.h"

namespace {

constexpr Sint16 kSpawnY = 553;
constexpr Sint16 kTopBand = 85;

struct Size {
    Sint16 long_side;
    Sint16 short_side;
};

constexpr Size kSizes[] = {{140, 50}, {70, 25}, {35, 13}};
constexpr Sint16 kLastSizeClass = 2;

// A size class without dimensions (a hand-edited difficulty) measures like
// the nearest one that has them.
Sint16 known_size_class(Sint16 size_class)
{
    return std::clamp<Sint16>(size_class, 0, kLastSizeClass);
}

// Positions are 16-bit; a speed grown over many hours must not push the
// truncated result outside that range.
Sint16 to_position(double y)
{
    return static_cast<Sint16>(std::clamp(std::trunc(y), -32768.0, 32767.0));
}

}  // namespace

Target::Target(Sint16 size_class_arg, double speed_bonus)
    : size_class(known_size_class(size_class_arg))
{
    long_side = kSizes[size_class].long_side;
    short_side = kSizes[size_class].short_side;

    const bool lying = static_cast<int>(RandomRange(2, 1)) == 1;
    const int width = lying ? long_side : short_side;
    const int height = lying ? short_side : long_side;
    colour_type = static_cast<Sint32>(RandomRange(7, 0));
    surface = create_filled_surface(width, height, kTargetColours[colour_type]);

    rect.x = static_cast<Sint16>(RandomRange(kScreenWidth - width, 0));
    rect.y = kSpawnY;
    rect.w = 0;
    rect.h = 0;

    rise = RandomRange(static_cast<int>(size_class + 1.6), size_class + 1) + speed_bonus;
    point_value = static_cast<Sint16>((colour_type + 1) * (size_class + 1));
}

Uint8 Target::fade_step() const
{
    const int frames = static_cast<int>(kTopBand / (rise + 1.0));
    // Past speed 84 the band is crossed in under one frame: fade out at once.
    if (frames <= 0) {
        return alpha;
    }
    return static_cast<Uint8>(255 / frames);
}

void Target::fade()
{
    const Uint8 step = fade_step();
    alpha = alpha > step ? static_cast<Uint8>(alpha - step) : 0;
    if (surface) {
        SDL_SetAlpha(surface.get(), SDL_SRCALPHA, alpha);
    }
}

void Target::update_and_draw(SDL_Surface* screen)
{
    if (rect.y < 1) {
        alive = 0;
    } else {
        rect.y = to_position(rect.y - rise);
    }
    if (rect.y <= kTopBand) {
        fade();
    }
    if (!alive) {
        fade();
    }
    draw(screen);
}

void Target::draw(SDL_Surface* screen)
{
    const SDL_Rect drawn = blit_at(surface, screen, rect);
    rect.w = drawn.w;
    rect.h = drawn.h;
}

SDL_Rect Target::box() const
{
    SDL_Rect at = rect;
    at.w = static_cast<Uint16>(width_of(surface));
    at.h = static_cast<Uint16>(height_of(surface));
    return at;
}

bool Target::hit_test(const SDL_Event& event) const
{
    int mx = 0;
    int my = 0;
    switch (event.type) {
    case SDL_MOUSEMOTION:
        mx = event.motion.x;
        my = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        mx = event.button.x;
        my = event.button.y;
        break;
    default:
        return false;
    }
    const SDL_Rect at = box();
    return at.x <= mx && mx <= at.x + at.w && at.y <= my && my <= at.y + at.h;
}
