// Costs of the sound layer as the game meets them: opening the menu music,
// a shot's play call, one callback's mixing, the output latency and the
// memory of playing music.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "core/assets.h"
#include "audio/audio_layer.h"
#include "audio/fsound.h"

namespace {

namespace fs = std::filesystem;

// The shipped music, or three minutes of generated music like it.
std::string music_file()
{
    const fs::path shipped = fs::path(TIREVANE_SOURCE_DIR) / assets::kMenuMusic;
    if (fs::exists(shipped)) {
        return shipped.string();
    }
    const std::string generated = "/tmp/tirevane-bench-music.mp3";
    if (!fs::exists(generated)) {
        const std::string command =
            "ffmpeg -v error -y -f lavfi -i 'aevalsrc=0.3*sin(2*PI*220*t)*sin(2*PI*0.5*t)|"
            "0.3*sin(2*PI*330*t):s=44100:d=180' -c:a libmp3lame -b:a 128k " + generated;
        if (std::system(command.c_str()) != 0) {
            return shipped.string();
        }
    }
    return generated;
}

std::string shot_file()
{
    const fs::path shipped = fs::path(TIREVANE_SOURCE_DIR) / assets::kHitShot;
    if (fs::exists(shipped)) {
        return shipped.string();
    }
    return (fs::path(TIREVANE_SOURCE_DIR) / "tests/audio/fixtures/tone.mp3").string();
}

// The layer on SDL's dummy output unless the environment names a driver:
// it mixes in real time like a sound card, without one.
bool open_layer()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return FSOUND_Init(44100, 32, 0) != 0;
}

std::size_t heap_in_use()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_StreamOpenMusic(benchmark::State& state)
{
    if (!open_layer()) {
        state.SkipWithError("no output device");
        return;
    }
    const std::string path = music_file();
    for (auto _ : state) {
        FSOUND_STREAM* music = FSOUND_Stream_Open(path.c_str(), 0, 0, 0);
        benchmark::DoNotOptimize(music);
        state.PauseTiming();
        if (!music->audio || !music->audio->decoded_while_playing()) {
            state.SkipWithError("the music was not opened as a stream");
        }
        FSOUND_Stream_Close(music);
        state.ResumeTiming();
    }
    FSOUND_Close();
}
BENCHMARK(BM_StreamOpenMusic)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_PlaySound(benchmark::State& state)
{
    if (!open_layer()) {
        state.SkipWithError("no output device");
        return;
    }
    FSOUND_SAMPLE* shot = FSOUND_Sample_Load(-1, shot_file().c_str(), 0, 0, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FSOUND_PlaySound(-1, shot));
    }
    FSOUND_Sample_Free(shot);
    FSOUND_Close();
}
BENCHMARK(BM_PlaySound)->Unit(benchmark::kMicrosecond);

void BM_StreamPlayShot(benchmark::State& state)
{
    if (!open_layer()) {
        state.SkipWithError("no output device");
        return;
    }
    FSOUND_STREAM* shot = FSOUND_Stream_Open(shot_file().c_str(), 0, 0, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FSOUND_Stream_Play(-1, shot));
    }
    FSOUND_Stream_Close(shot);
    FSOUND_Close();
}
BENCHMARK(BM_StreamPlayShot)->Unit(benchmark::kMicrosecond);

// One callback's work while the menu music plays: 512 frames decoded (a
// piece of 4096 every eighth call) and mixed, on the mixer alone.
void BM_MixMusicCallback(benchmark::State& state)
{
    AudioLayer::instance().init_unplugged(32);
    FSOUND_STREAM* music = FSOUND_Stream_Open(music_file().c_str(), 0, 0, 0);
    FSOUND_Stream_SetLoopCount(music, -1);
    FSOUND_Stream_Play(-1, music);
    std::int16_t out[512 * 2];
    for (auto _ : state) {
        AudioLayer::instance().render(out, 512);
        benchmark::DoNotOptimize(out);
    }
    FSOUND_Stream_Close(music);
    FSOUND_Close();
}
BENCHMARK(BM_MixMusicCallback)->Unit(benchmark::kMicrosecond);

// Latency of the opened output: two callback periods on the device.
void BM_OutputLatency(benchmark::State& state)
{
    if (!open_layer()) {
        state.SkipWithError("no output device");
        return;
    }
    AudioDevice* device = AudioLayer::instance().device();
    for (auto _ : state) {
        benchmark::DoNotOptimize(device->latency_ms());
    }
    state.counters["configured_ms"] = device->latency_ms();
    state.counters["callback_frames"] = device->callback_frames();
    FSOUND_Close();
}
BENCHMARK(BM_OutputLatency)->Iterations(1);

// Heap held by the music while it plays (its MP3 decoder and piece), after
// a first open has paid for libmpg123's one-time tables.
void BM_PlayingMusicMemory(benchmark::State& state)
{
    if (!open_layer()) {
        state.SkipWithError("no output device");
        return;
    }
    const std::string path = music_file();
    FSOUND_Stream_Close(FSOUND_Stream_Open(path.c_str(), 0, 0, 0));
    std::size_t held = 0;
    for (auto _ : state) {
        const std::size_t before = heap_in_use();
        FSOUND_STREAM* music = FSOUND_Stream_Open(path.c_str(), 0, 0, 0);
        FSOUND_Stream_SetLoopCount(music, -1);
        FSOUND_Stream_Play(-1, music);
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        held = heap_in_use() - before;
        FSOUND_Stream_Close(music);
    }
    state.counters["heap_bytes"] = static_cast<double>(held);
    FSOUND_Close();
}
BENCHMARK(BM_PlayingMusicMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
