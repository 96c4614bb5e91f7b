#ifndef TIREVANE_TESTS_AUDIO_TEST_UTIL_H
#define TIREVANE_TESTS_AUDIO_TEST_UTIL_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "audio/audio_layer.h"
#include "audio/fsound.h"
#include "test_support.h"

namespace audiotest {

namespace fs = std::filesystem;

inline fs::path fixture(const char* name)
{
    return testsupport::source_dir() / "tests" / "audio" / "fixtures" / name;
}

// A private folder for the sounds a test writes.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "tirevane-audio-XXXXXX").string();
        if (mkdtemp(pattern.data())) {
            dir_ = pattern;
        }
    }
    ~TempDir()
    {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const char* name) const { return (dir_ / name).string(); }

private:
    fs::path dir_;
};

// Interleaved samples in [-1, 1] written as a PCM WAV of 8 or 16 bits.
inline void write_wav(const std::string& path, int rate, int channels, int bits,
                      const std::vector<double>& samples)
{
    std::string data;
    for (double v : samples) {
        if (bits == 8) {
            data.push_back(static_cast<char>(static_cast<int>(std::lround(128 + v * 127))));
        } else {
            const auto s = static_cast<std::int16_t>(std::lround(v * 32767));
            data.push_back(static_cast<char>(s & 0xff));
            data.push_back(static_cast<char>((s >> 8) & 0xff));
        }
    }
    auto u32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                           static_cast<char>((v >> 16) & 0xff), static_cast<char>((v >> 24) & 0xff)};
    };
    auto u16 = [](std::uint16_t v) {
        return std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)};
    };
    const int block = channels * bits / 8;
    std::string wav = "RIFF" + u32(static_cast<std::uint32_t>(36 + data.size())) + "WAVEfmt " +
                      u32(16) + u16(1) + u16(static_cast<std::uint16_t>(channels)) +
                      u32(static_cast<std::uint32_t>(rate)) +
                      u32(static_cast<std::uint32_t>(rate * block)) +
                      u16(static_cast<std::uint16_t>(block)) + u16(static_cast<std::uint16_t>(bits)) +
                      "data" + u32(static_cast<std::uint32_t>(data.size())) + data;
    std::ofstream(path, std::ios::binary) << wav;
}

// `frames` frames of a sine, the same on every channel.
inline std::vector<double> sine(int rate, int channels, int frames, double freq, double amp)
{
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(frames) * channels);
    for (int i = 0; i < frames; ++i) {
        const double v = amp * std::sin(2 * M_PI * freq * i / rate);
        for (int c = 0; c < channels; ++c) {
            out.push_back(v);
        }
    }
    return out;
}

// A constant level: its mix with others is easy to predict exactly. As a
// 16-bit sample, `value` becomes lround(value * 32767).
inline std::vector<double> level(int frames, double value, int channels = 2)
{
    return std::vector<double>(static_cast<std::size_t>(frames) * channels, value);
}

template <typename T>
double rms(const std::vector<T>& samples, std::size_t from, std::size_t to, double scale = 1.0)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double v = samples[i] / scale;
        sum += v * v;
    }
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

// Frames from the first to the last one whose left sample is beyond
// `floor` in magnitude.
inline std::size_t audible_frames(const std::vector<std::int16_t>& stereo, int floor = 0)
{
    std::size_t first = stereo.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < stereo.size(); i += 2) {
        if (std::abs(stereo[i]) > floor) {
            first = std::min(first, i / 2);
            last = i / 2;
        }
    }
    return first > last ? 0 : last - first + 1;
}

// The layer on its mixer alone: what it plays is rendered on demand, frame
// for frame as SDL's callback would get it.
class Unplugged {
public:
    explicit Unplugged(int voices = 32) { AudioLayer::instance().init_unplugged(voices); }
    ~Unplugged() { FSOUND_Close(); }
    Unplugged(const Unplugged&) = delete;
    Unplugged& operator=(const Unplugged&) = delete;

    std::vector<std::int16_t> render(std::size_t frames)
    {
        std::vector<std::int16_t> out(frames * 2, 0x5555);
        AudioLayer::instance().render(out.data(), frames);
        return out;
    }
};

}  // namespace audiotest

#endif
