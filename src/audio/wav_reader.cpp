#include "audio/wav_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "wma_decoder/pcm_pipe.h"

namespace {

// A shot sound is a few hundred kilobytes; nothing sane is larger.
constexpr long kMaxFileBytes = 64L << 20;
constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t le32(const unsigned char* p)
{
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool read_file(const char* path, std::vector<unsigned char>& bytes)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        return false;
    }
    const long size = std::ftell(file.get());
    if (size < 12 || size > kMaxFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    return std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

struct Layout {
    std::uint16_t format = 0;
    int channels = 0;
    int bits = 0;
    std::uint32_t rate = 0;
    const unsigned char* data = nullptr;
    std::size_t data_bytes = 0;
};

// Walks the chunks; a chunk claiming more than the file holds is cut to
// what is there, so a truncated file still yields its sound.
Layout parse(const unsigned char* b, std::size_t size)
{
    Layout layout;
    std::size_t pos = 12;
    while (pos + 8 <= size) {
        const std::size_t body = pos + 8;
        const std::size_t len = std::min<std::size_t>(le32(&b[pos + 4]), size - body);
        if (std::memcmp(&b[pos], "fmt ", 4) == 0 && len >= 16) {
            layout.format = le16(&b[body]);
            layout.channels = le16(&b[body + 2]);
            layout.rate = le32(&b[body + 4]);
            layout.bits = le16(&b[body + 14]);
            if (layout.format == kFormatExtensible && len >= 26) {
                layout.format = le16(&b[body + 24]);  // the sub-format's first bytes
            }
        } else if (std::memcmp(&b[pos], "data", 4) == 0 && !layout.data) {
            layout.data = &b[body];
            layout.data_bytes = len;
        }
        pos = body + len + (len & 1);
    }
    return layout;
}

std::uint64_t frames_at(std::uint64_t frames, std::uint32_t from_rate, int to_rate)
{
    return (frames * static_cast<std::uint64_t>(to_rate) + from_rate / 2) / from_rate;
}

// Linear interpolation: plenty for shot sounds, and the same on every
// machine. SDL 1.2's own converter is exact only for ratios that are
// powers of two (48000 Hz stayed 48000 frames a second).
void resample(AudioClip& clip, std::uint32_t from_rate, int to_rate)
{
    const std::size_t in_frames = clip.frames();
    const auto out_frames = static_cast<std::size_t>(frames_at(in_frames, from_rate, to_rate));
    const int channels = clip.channels;
    std::vector<std::int16_t> out(out_frames * channels);
    const double step = static_cast<double>(from_rate) / to_rate;
    for (std::size_t i = 0; i < out_frames; ++i) {
        const double at = static_cast<double>(i) * step;
        const auto left = std::min(static_cast<std::size_t>(at), in_frames - 1);
        const std::size_t right = std::min(left + 1, in_frames - 1);
        const double weight = at - static_cast<double>(left);
        for (int c = 0; c < channels; ++c) {
            const double a = clip.pcm[left * channels + c];
            const double b = clip.pcm[right * channels + c];
            out[i * channels + c] = static_cast<std::int16_t>(std::lround(a + (b - a) * weight));
        }
    }
    clip.pcm = std::move(out);
}

}  // namespace

namespace wav_reader {

bool looks_like_wav(const unsigned char* head, std::size_t size)
{
    return size >= 12 && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
}

std::optional<AudioClip> load(const char* path, int rate)
{
    std::vector<unsigned char> bytes;
    if (!path || !read_file(path, bytes)) {
        return std::nullopt;
    }
    return decode(bytes.data(), bytes.size(), rate);
}

std::optional<AudioClip> decode(const unsigned char* bytes, std::size_t size, int rate)
{
    if (!looks_like_wav(bytes, size) || rate <= 0) {
        return std::nullopt;
    }
    const Layout in = parse(bytes, size);
    if (in.format != kFormatPcm || (in.channels != 1 && in.channels != 2) ||
        (in.bits != 8 && in.bits != 16) || in.rate == 0 || in.rate > 384000 || !in.data) {
        return std::nullopt;
    }
    const std::size_t frames = in.data_bytes / (static_cast<std::size_t>(in.channels) * in.bits / 8);
    // A header claiming a rate of a few hertz would turn a small file into
    // gigabytes once brought to `rate`: longer than the WMA decoder's limit,
    // it is refused like any other file that is not a shot sound.
    if (frames == 0 || frames_at(frames, in.rate, rate) > pcm_pipe::kMaxFrames) {
        return std::nullopt;
    }
    AudioClip clip;
    clip.channels = in.channels;
    clip.pcm.resize(frames * in.channels);
    for (std::size_t i = 0; i < clip.pcm.size(); ++i) {
        clip.pcm[i] = in.bits == 8 ? static_cast<std::int16_t>((in.data[i] - 128) * 256)
                                   : static_cast<std::int16_t>(le16(in.data + 2 * i));
    }
    if (static_cast<int>(in.rate) != rate) {
        resample(clip, in.rate, rate);
    }
    if (clip.empty()) {
        return std::nullopt;
    }
    return clip;
}

}  // namespace wav_reader
