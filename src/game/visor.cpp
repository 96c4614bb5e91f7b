#include "game/visor.h"

#include "core/assets.h"

namespace {

const assets::VisorAssets& row_or_default(Sint16 row)
{
    return assets::kVisors[row >= 0 && row < assets::kVisorCount ? row : 0];
}

}  // namespace

Visor::Visor(Sint16 row)
{
    const assets::VisorAssets& files = row_or_default(row);
    normal = load_keyed_bmp(files.normal);
    over = load_keyed_bmp(files.over);
    hit = FSOUND_Sample_Load(-1, files.hit_sound, 0, 0, 0);
    miss = FSOUND_Sample_Load(-1, assets::kMissShot, 0, 0, 0);
    centre_on(kScreenCentreX, kScreenCentreY);
}

Visor::~Visor()
{
    FSOUND_Sample_Free(hit);
    FSOUND_Sample_Free(miss);
}

void Visor::centre_on(Uint16 x, Uint16 y)
{
    pos = rect_at(static_cast<Sint16>(x - width_of(normal) / 2),
                  static_cast<Sint16>(y - height_of(normal) / 2));
}

void Visor::draw(SDL_Surface* screen) const
{
    blit_at(over_target ? over : normal, screen, pos);
}

void Visor::play_hit() const
{
    FSOUND_PlaySound(-1, hit);
}

void Visor::play_miss() const
{
    FSOUND_PlaySound(-1, miss);
}
