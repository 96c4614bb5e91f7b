// The sound readers over arbitrary bytes: the WAV parser and the reading of
// the WMA decoder's answer. Input: a mode byte, then either the bytes as
// they are, or the payload of a well-formed file built here, whose samples
// must come back exactly.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "audio/wav_reader.h"
#include "audio/wma_client.h"
#include "fuzz_support.h"
#include "wma_decoder/pcm_pipe.h"

namespace {

constexpr int kRate = 44100;

void check_shape(const AudioClip& clip)
{
    FUZZ_CHECK(clip.channels == 1 || clip.channels == 2);
    FUZZ_CHECK(clip.pcm.size() % static_cast<std::size_t>(clip.channels) == 0);
    FUZZ_CHECK(!clip.empty());
}

void put32(std::string& s, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xff));
    }
}

void put16(std::string& s, std::uint16_t v)
{
    s.push_back(static_cast<char>(v & 0xff));
    s.push_back(static_cast<char>(v >> 8));
}

// A WAV at 44100 Hz around `payload`; `flags` adds a chunk before the data,
// makes the data chunk claim more than there is, or declares another rate.
void check_model_wav(std::uint8_t flags, const std::uint8_t* payload, std::size_t size)
{
    const int channels = (flags & 1) ? 2 : 1;
    const int bits = (flags & 2) ? 16 : 8;
    const int block = channels * bits / 8;
    std::string wav = "RIFF";
    put32(wav, 0);  // the readers ignore the RIFF size
    wav += "WAVEfmt ";
    put32(wav, 16);
    put16(wav, 1);
    put16(wav, static_cast<std::uint16_t>(channels));
    const std::uint32_t rate = (flags & 16) ? 22050 : kRate;
    put32(wav, rate);
    put32(wav, rate * static_cast<std::uint32_t>(block));
    put16(wav, static_cast<std::uint16_t>(block));
    put16(wav, static_cast<std::uint16_t>(bits));
    if (flags & 4) {
        wav += "LIST";
        put32(wav, 3);
        wav += "abc";
        wav.push_back('\0');  // padding to an even size
    }
    wav += "data";
    put32(wav, static_cast<std::uint32_t>(size + ((flags & 8) ? 1000 : 0)));
    wav.append(reinterpret_cast<const char*>(payload), size);

    const auto clip = wav_reader::decode(reinterpret_cast<const unsigned char*>(wav.data()), wav.size(), kRate);
    const std::size_t frames = size / static_cast<std::size_t>(block);
    if (frames == 0) {
        FUZZ_CHECK(!clip);
        return;
    }
    FUZZ_CHECK(clip);
    check_shape(*clip);
    FUZZ_CHECK(clip->channels == channels);
    if (rate != kRate) {
        FUZZ_CHECK(clip->frames() == frames * 2);  // 22050 Hz doubled
        return;
    }
    FUZZ_CHECK(clip->frames() == frames);
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i) {
        const int expected = bits == 8 ? (payload[i] - 128) * 256
                                       : static_cast<std::int16_t>(payload[2 * i] | payload[2 * i + 1] << 8);
        FUZZ_CHECK(clip->pcm[i] == expected);
    }
}

void check_model_answer(std::uint8_t flags, const std::uint8_t* payload, std::size_t size)
{
    pcm_pipe::Header header{};
    std::memcpy(header.magic, pcm_pipe::kMagic, sizeof header.magic);
    header.channels = (flags & 1) ? 2 : 1;
    header.rate = pcm_pipe::kRate;
    const std::size_t frames = size / (2 * header.channels);
    header.frames = static_cast<std::uint32_t>(frames);
    std::vector<char> answer(sizeof header + frames * 2 * header.channels);
    std::memcpy(answer.data(), &header, sizeof header);
    std::memcpy(answer.data() + sizeof header, payload, answer.size() - sizeof header);
    if (flags & 4) {
        answer.pop_back();  // cut short: refused
    }
    const auto clip = wma_client::parse_answer(answer);
    if (frames == 0 || (flags & 4)) {
        FUZZ_CHECK(!clip);
        return;
    }
    FUZZ_CHECK(clip);
    check_shape(*clip);
    FUZZ_CHECK(clip->frames() == frames);
    FUZZ_CHECK(std::memcmp(clip->pcm.data(), payload, frames * 2 * header.channels) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    const std::uint8_t mode = data[0];
    const std::uint8_t* rest = data + 1;
    const std::size_t left = size - 1;
    switch (mode % 4) {
    case 0:
        if (const auto clip = wav_reader::decode(rest, left, kRate)) {
            check_shape(*clip);
        }
        break;
    case 1:
        if (const auto clip = wma_client::parse_answer(std::vector<char>(rest, rest + left))) {
            check_shape(*clip);
        }
        break;
    case 2:
        check_model_wav(static_cast<std::uint8_t>(mode >> 2), rest, left);
        break;
    default:
        check_model_answer(static_cast<std::uint8_t>(mode >> 2), rest, left);
        break;
    }
    return 0;
}
