// The browser's WMA client. A page cannot start a program, so
// tools/web-build runs the game's WMA decoder on every WMA file when it
// builds the page and packs each answer beside its file (FILE.pcm); the
// client reads that answer where the desktop one reads the decoder's pipe.
#include "audio/wma_client.h"

#include <cstdio>
#include <iterator>
#include <fstream>

namespace wma_client {

std::string decoder_path()
{
    return "the answers decoded when the page was built";
}

std::optional<AudioClip> decode(const char* path, const std::string&, double)
{
    const std::string answer_path = std::string(path) + ".pcm";
    std::ifstream in(answer_path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::optional<AudioClip> clip = parse_answer(bytes);
    if (!clip) {
        std::fprintf(stderr, "tirevane: the sound %s stays silent: %s\n", path,
                     in ? "its decoded answer is malformed" : "the page carries no decoded answer");
    }
    return clip;
}

}  // namespace wma_client
