#include "core/frame_pacer.h"

#include "core/clock.h"

namespace {

// Falling behind by more than this (a stall, a slow display) starts the
// count afresh instead of rushing through frames to catch up.
constexpr Uint32 kMaxLagMs = 1000 / FramePacer::kRateHz;

}  // namespace

FramePacer::FramePacer() : start_ms(game_clock().ticks()), frames(0)
{
}

void FramePacer::restart()
{
    start_ms = game_clock().ticks();
    frames = 0;
}

void FramePacer::wait_after_flip()
{
    ++frames;
    const Uint32 due = start_ms + static_cast<Uint32>(
                                      static_cast<Uint64>(frames) * 1000 / kRateHz);
    const Uint32 now = game_clock().ticks();
    // Signed difference: right across the 49-day wrap of SDL's ticks.
    if (static_cast<Sint32>(due - now) > 0) {
        game_clock().delay(due - now);
    } else if (now - due > kMaxLagMs) {
        start_ms = now;
        frames = 0;
    }
}
