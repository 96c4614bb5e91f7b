// Frame composition cost and the CPU share of a real-clock match.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <SDL_ttf.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "core/clock.h"
#include "core/geometry.h"
#include "game/match.h"

namespace {

// Dummy video, fonts and the 800x600x32 window, run from the game folder.
class GameWindow {
public:
    GameWindow()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        if (chdir(TIREVANE_SOURCE_DIR) != 0) {
            return;
        }
        SDL_Init(SDL_INIT_VIDEO);
        TTF_Init();
        screen = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
    }
    ~GameWindow()
    {
        TTF_Quit();
        SDL_Quit();
    }
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    SDL_Surface* screen = nullptr;
};

// Twelve live, opaque targets spread over the playfield, well below the
// fading band so they stay opaque for a few hundred frames.
void twelve_targets(Match& match)
{
    MatchSeam::targets(match).clear();
    for (int i = 0; i < 12; ++i) {
        MatchSeam::add_target(match, (i % 6) * 110, 400 + (i / 6) * 60);
    }
}

constexpr int kFramesPerSet = 250;

void BM_DrawFrameTwelveTargets(benchmark::State& state)
{
    GameWindow window;
    if (!window.screen) {
        state.SkipWithError("no video");
        return;
    }
    Match match(0, 0, 0);
    twelve_targets(match);
    int frames = 0;
    for (auto _ : state) {
        match.draw_frame(window.screen);
        if (++frames % kFramesPerSet == 0) {
            state.PauseTiming();
            twelve_targets(match);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_DrawFrameTwelveTargets)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

double process_cpu_seconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A whole match on SDL's own clock for 10 s, ended by an Escape pushed from
// another thread: the loop must sleep between frames, never spin.
void BM_RealClockMatchCpuShare(benchmark::State& state)
{
    GameWindow window;
    if (!window.screen) {
        state.SkipWithError("no video");
        return;
    }
    set_game_clock(nullptr);
    double cpu = 0.0;
    double wall = 0.0;
    for (auto _ : state) {
        Match match(0, 2, 0);  // a 15 s countdown outlasts the 10 s run
        std::thread escape([] {
            std::this_thread::sleep_for(std::chrono::seconds(10));
            SDL_Event e{};
            e.type = SDL_KEYDOWN;
            e.key.state = SDL_PRESSED;
            e.key.keysym.sym = SDLK_ESCAPE;
            SDL_PushEvent(&e);
        });
        const double cpu_start = process_cpu_seconds();
        const auto wall_start = std::chrono::steady_clock::now();
        match.run(window.screen);
        cpu = process_cpu_seconds() - cpu_start;
        wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
        escape.join();
    }
    state.counters["cpu_s"] = cpu;
    state.counters["wall_s"] = wall;
    state.counters["cpu_share_pct"] = wall > 0.0 ? 100.0 * cpu / wall : 0.0;
}
BENCHMARK(BM_RealClockMatchCpuShare)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
