// What a WMA decoder answers, read the same way by every client of it: the
// one that runs the decoder program and the browser's, which reads answers
// made when its page was built.
#include "audio/wma_client.h"

#include <cstdint>
#include <cstring>

#include "wma_decoder/pcm_pipe.h"

namespace wma_client {

bool looks_like_wma(const unsigned char* head, std::size_t size)
{
    // The ASF header object's GUID.
    static const unsigned char kAsf[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                           0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
    return size >= sizeof kAsf && std::memcmp(head, kAsf, sizeof kAsf) == 0;
}

std::optional<AudioClip> parse_answer(const std::vector<char>& bytes)
{
    pcm_pipe::Header header{};
    if (bytes.size() < sizeof header) {
        return std::nullopt;
    }
    std::memcpy(&header, bytes.data(), sizeof header);
    const std::size_t body = bytes.size() - sizeof header;
    if (std::memcmp(header.magic, pcm_pipe::kMagic, sizeof header.magic) != 0 ||
        (header.channels != 1 && header.channels != 2) || header.rate != pcm_pipe::kRate ||
        header.frames == 0 || header.frames > pcm_pipe::kMaxFrames ||
        body != static_cast<std::size_t>(header.frames) * header.channels * sizeof(std::int16_t)) {
        return std::nullopt;
    }
    AudioClip clip;
    clip.channels = static_cast<int>(header.channels);
    clip.pcm.resize(body / sizeof(std::int16_t));
    std::memcpy(clip.pcm.data(), bytes.data() + sizeof header, body);
    return clip;
}

}  // namespace wma_client
