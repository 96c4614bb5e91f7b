#include "flip_probe.h"

#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>

namespace {

// A child forked from the test program starts its own count, so its first
// flip is told even when the parent has flipped before.
pid_t counting_process = 0;
unsigned flip_count = 0;

void count_from_this_process()
{
    if (counting_process != ::getpid()) {
        counting_process = ::getpid();
        flip_count = 0;
    }
}

}  // namespace

unsigned flip_probe::flips()
{
    count_from_this_process();
    return flip_count;
}

extern "C" int SDL_Flip(SDL_Surface* screen)
{
    using Flip = int (*)(SDL_Surface*);
    static const auto sdl_flip = reinterpret_cast<Flip>(dlsym(RTLD_NEXT, "SDL_Flip"));
    count_from_this_process();
    if (flip_count++ == 0) {
        std::fputs(flip_probe::kFirstFrame, stderr);
    }
    return sdl_flip(screen);
}
