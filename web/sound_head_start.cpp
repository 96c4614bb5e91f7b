// The page keeps its sound queued ahead of the audio clock; a sound the
// game starts must not wait behind that queue. sdl_browser.js calls this
// when the game flips or waits: what started since the page last took
// sound is mixed alone, to play at once over the queue.
#include <emscripten.h>

#include <cstdint>

#include "audio/audio_layer.h"

extern "C" EMSCRIPTEN_KEEPALIVE int tirevane_mix_started(std::int16_t* out, int frames)
{
    return frames > 0 && AudioLayer::instance().mix_started(out, static_cast<std::size_t>(frames));
}
