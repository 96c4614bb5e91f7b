// Preloaded into the game by tools/measure to time start-up: on the first
// screen flip it writes the wall-clock time (ns) to the file named by
// TIREVANE_PROBE_OUT, then hands the call to SDL.
#include <SDL.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" int SDL_Flip(SDL_Surface* screen)
{
    static bool reported = false;
    using FlipFn = int (*)(SDL_Surface*);
    static FlipFn real_flip = reinterpret_cast<FlipFn>(dlsym(RTLD_NEXT, "SDL_Flip"));
    if (!reported) {
        reported = true;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        if (const char* out = std::getenv("TIREVANE_PROBE_OUT")) {
            if (FILE* f = std::fopen(out, "w")) {
                std::fprintf(f, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fclose(f);
            }
        }
    }
    return real_flip ? real_flip(screen) : -1;
}
