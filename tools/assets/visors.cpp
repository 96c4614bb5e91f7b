#include "visors.h"

#include <cmath>

#include "reticle.h"

namespace {

constexpr Rgb kRim{12, 12, 16};
// "Over a live target" is red in every design, so the player learns it once.
constexpr Rgb kLockRed{255, 48, 48};

// Four arms pointing at the centre, from radius `inner` to `outer`.
void arms(Reticle& r, double inner, double outer, double half_width, Rgb colour)
{
    r.box(-half_width, -outer, half_width, -inner, colour);
    r.box(-half_width, inner, half_width, outer, colour);
    r.box(-outer, -half_width, -inner, half_width, colour);
    r.box(inner, -half_width, outer, half_width, colour);
}

// Menu cursor and "Default" visor: an open cross; over an item it turns red
// and gains a ring.
Reticle default_cursor(bool over)
{
    Reticle r(32);
    const Rgb c = over ? kLockRed : Rgb{255, 255, 255};
    arms(r, 4, 11, 1.5, c);
    r.disc(0.7, c);
    if (over) {
        r.ring(12.6, 1.4, c);
    }
    r.outline(kRim);
    return r;
}

// "FPS": a shooter's open cross with a centre dot; on a target the arms
// close in.
Reticle fps_visor(bool over)
{
    Reticle r(48);
    const Rgb c = over ? kLockRed : Rgb{70, 255, 110};
    if (over) {
        arms(r, 4, 13, 1.5, c);
        r.disc(2.5, c);
    } else {
        arms(r, 7, 16, 1.5, c);
        r.disc(1.6, c);
    }
    r.outline(kRim);
    return r;
}

// "High Flight Combat": a head-up display ring with a flight-path marker;
// on a target, lock-on brackets appear.
Reticle flight_visor(bool over)
{
    Reticle r(64);
    const Rgb c = over ? Rgb{255, 50, 110} : Rgb{0, 215, 255};
    r.ring(20, 2.2, c);
    arms(r, 22.5, 27, 1.0, c);
    r.ring(4.5, 1.6, c);
    r.box(-13, -0.8, -6, 0.8, c);
    r.box(6, -0.8, 13, 0.8, c);
    r.box(-0.8, -10, 0.8, -6, c);
    if (over) {
        for (int sx : {-1, 1}) {
            for (int sy : {-1, 1}) {
                r.box(sx * 27.5, sy * 27.5, sx * 20.5, sy * 26, c);
                r.box(sx * 27.5, sy * 27.5, sx * 26, sy * 20.5, c);
            }
        }
    }
    r.outline(kRim);
    return r;
}

// "Heavy Weapon": a thick ring with heavy posts; on a target the centre
// fills in.
Reticle heavy_visor(bool over)
{
    Reticle r(64);
    const Rgb c = over ? Rgb{235, 30, 30} : Rgb{255, 140, 20};
    r.ring(18, 4, c);
    arms(r, 21, 28, 2.5, c);
    arms(r, 7, 12, 1.5, c);
    r.disc(over ? 4.2 : 2.0, c);
    r.outline(kRim);
    return r;
}

// "Simple": a small ring; on a target it gets a solid centre.
Reticle simple_visor(bool over)
{
    Reticle r(32);
    const Rgb c = over ? kLockRed : Rgb{255, 255, 255};
    r.ring(7, 2, c);
    r.disc(over ? 3.5 : 0.9, c);
    r.outline(kRim);
    return r;
}

// "Sniper": a scope reticle, thin lines with mil-dots and heavy posts.
Reticle sniper_visor(bool over)
{
    Reticle r(64);
    const Rgb c = over ? kLockRed : Rgb{200, 255, 200};
    arms(r, 3, 26, 0.5, c);
    arms(r, 18, 27, 1.5, c);
    r.ring(27.5, 2, c);
    for (double d : {8.0, 13.0}) {
        for (int s : {-1, 1}) {
            r.shape([=](double x, double y) { return std::hypot(x - s * d, y) <= 1.4; }, c);
            r.shape([=](double x, double y) { return std::hypot(x, y - s * d) <= 1.4; }, c);
        }
    }
    if (over) {
        r.ring(3.6, 1.2, c);
    }
    r.outline(kRim);
    return r;
}

void save_pair(const std::string& root, const std::string& a, const std::string& b,
               Reticle (*design)(bool))
{
    design(false).picture().save_bmp(root + "/" + a);
    design(true).picture().save_bmp(root + "/" + b);
}

}  // namespace

void make_visors(const std::string& root)
{
    save_pair(root, "System/01/Menu/Cursor_Curs01.bmp", "System/01/Menu/Cursor_Curs02.bmp",
              default_cursor);
    const std::string dir = "System/01/Visors/Visor_Visor";
    save_pair(root, dir + "02a.bmp", dir + "02b.bmp", fps_visor);
    save_pair(root, dir + "03a.bmp", dir + "03b.bmp", flight_visor);
    save_pair(root, dir + "04a.bmp", dir + "04b.bmp", heavy_visor);
    save_pair(root, dir + "05a.bmp", dir + "05b.bmp", simple_visor);
    save_pair(root, dir + "06a.bmp", dir + "06b.bmp", sniper_visor);
}
