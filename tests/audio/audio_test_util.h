#ifndef TIREVANE_TESTS_AUDIO_TEST_UTIL_H
#define TIREVANE_TESTS_AUDIO_TEST_UTIL_H

#include <AL/al.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_feeder.h"
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

// A constant level: its mix with others is easy to predict exactly.
inline std::vector<double> level(int frames, double value)
{
    return std::vector<double>(static_cast<std::size_t>(frames) * 2, value);
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

// Frames from the first to the last one louder than `floor` (left channel).
inline std::size_t audible_frames(const std::vector<float>& stereo, float floor = 1e-3f)
{
    std::size_t first = stereo.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < stereo.size(); i += 2) {
        if (std::fabs(stereo[i]) > floor) {
            first = std::min(first, i / 2);
            last = i / 2;
        }
    }
    return first > last ? 0 : last - first + 1;
}

// The layer on a loopback device: what it plays is rendered on demand.
class Loopback {
public:
    explicit Loopback(int voices = 32) { ok_ = AudioLayer::instance().init_loopback(44100, voices); }
    ~Loopback() { FSOUND_Close(); }
    Loopback(const Loopback&) = delete;
    Loopback& operator=(const Loopback&) = delete;

    bool ok() const { return ok_; }

    std::vector<float> render(int frames)
    {
        std::vector<float> out(static_cast<std::size_t>(frames) * 2);
        AudioLayer::instance().device()->render(out.data(), frames);
        return out;
    }

    // Renders a streamed sound in small steps, letting its feeder thread
    // top the queue up in between, as the real-time mixer would. A feeder
    // that falls behind fails the test instead of leaving a silent gap that
    // looks like a fault of the mixing.
    std::vector<float> render_fed(FSOUND_STREAM* stream, int frames)
    {
        std::vector<float> out;
        const int step = 2205;
        bool fed = true;
        for (int done = 0; done < frames; done += step) {
            if (fed && !wait_fed(stream)) {
                ADD_FAILURE() << "the feeder queued nothing for " << kFeedLimit.count()
                              << " s after frame " << done;
                fed = false;  // one failure is enough; render the rest as it is
            }
            const std::vector<float> piece = render(std::min(step, frames - done));
            out.insert(out.end(), piece.begin(), piece.end());
        }
        return out;
    }

private:
    // Far beyond any scheduling delay on a loaded machine (a sanitizer
    // build, the memory checker, end-to-end sessions running beside it).
    static constexpr std::chrono::seconds kFeedLimit{20};

    // Waits until the source holds at least two unplayed buffers (more
    // than one render step) or the feeder has queued the whole sound.
    static bool wait_fed(FSOUND_STREAM* stream)
    {
        if (!stream || !stream->audio) {
            return true;
        }
        const ALuint source = stream->audio->source();
        const auto deadline = std::chrono::steady_clock::now() + kFeedLimit;
        for (;;) {
            ALint queued = 0;
            ALint processed = 0;
            alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
            alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
            if (queued - processed >= 2 || !stream->audio->feeding()) {
                return true;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    bool ok_ = false;
};

}  // namespace audiotest

#endif
