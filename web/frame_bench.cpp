// One match frame with twelve live targets, timed in the browser as
// bench/ times it on the desktop; prints the median for tools/figures.
#include <SDL.h>
#include <SDL_ttf.h>
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "audio/fsound.h"
#include "core/geometry.h"
#include "game/match.h"

int main()
{
    SDL_Init(SDL_INIT_VIDEO);
    TTF_Init();
    SDL_Surface* screen =
        SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    std::vector<double> times;
    {
        Match match(0, 2, 0);
        for (int i = 0; i < 12; ++i) {
            MatchSeam::add_target(match, 40 + 60 * i, 120 + 30 * i);
        }
        for (int i = 0; i < 300; ++i) {
            const double start = emscripten_get_now();
            match.draw_frame(screen);
            times.push_back(emscripten_get_now() - start);
            if (i % 20 == 0) {
                emscripten_sleep(0);  // lets the page draw, as the game does
            }
        }
    }
    std::sort(times.begin(), times.end());
    std::printf("draw_frame_ms=%.3f\n", times[times.size() / 2]);
    return 0;
}
