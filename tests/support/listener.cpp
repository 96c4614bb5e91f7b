#include "listener.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "audio/audio_layer.h"
#include "audio/fsound.h"
#include "test_support.h"

namespace testsupport {

namespace {

// Enough of a sound's start to tell the hit from the miss.
constexpr std::size_t kOnsetFrames = 256;
// Past the longer sound: must be silent.
constexpr std::size_t kTailFrames = 441;

std::uint32_t le(const std::string& bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::int32_t at(const std::vector<std::int16_t>& samples, std::size_t i)
{
    return i < samples.size() ? samples[i] : 0;
}

}  // namespace

Heard& Heard::operator+=(const Heard& more)
{
    hits += more.hits;
    misses += more.misses;
    others += more.others;
    return *this;
}

bool Heard::operator==(const Heard& other) const
{
    return hits == other.hits && misses == other.misses && others == other.others;
}

std::ostream& operator<<(std::ostream& out, const Heard& heard)
{
    return out << heard.hits << " hit(s), " << heard.misses << " miss(es), " << heard.others
               << " other sound(s)";
}

std::vector<std::int16_t> wav_samples(const std::filesystem::path& path)
{
    const std::string bytes = read_file(path);
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        return {};
    }
    bool pcm_mono_16 = false;
    for (std::size_t chunk = 12; chunk + 8 <= bytes.size();) {
        const std::string id = bytes.substr(chunk, 4);
        const std::size_t size = le(bytes, chunk + 4, 4);
        const std::size_t body = chunk + 8;
        if (body + size > bytes.size()) {
            return {};
        }
        if (id == "fmt " && size >= 16) {
            pcm_mono_16 = le(bytes, body, 2) == 1 && le(bytes, body + 2, 2) == 1 &&
                          le(bytes, body + 4, 4) == 44100 && le(bytes, body + 14, 2) == 16;
        } else if (id == "data" && pcm_mono_16) {
            std::vector<std::int16_t> samples(size / 2);
            for (std::size_t i = 0; i < samples.size(); ++i) {
                samples[i] = static_cast<std::int16_t>(le(bytes, body + 2 * i, 2));
            }
            return samples;
        }
        chunk = body + size + size % 2;
    }
    return {};
}

Listener::Listener(const char* hit, const char* miss)
    : hit_(wav_samples(source_dir() / hit)), miss_(wav_samples(source_dir() / miss))
{
    FSOUND_Close();
    AudioLayer::instance().init_unplugged(32);
}

Listener::~Listener()
{
    FSOUND_Close();
}

Heard Listener::listen()
{
    const std::size_t frames = std::max(hit_.size(), miss_.size()) + kTailFrames;
    std::vector<std::int16_t> out(std::max(frames, kOnsetFrames) * 2);
    AudioLayer::instance().render(out.data(), kOnsetFrames);
    if (std::all_of(out.begin(), out.begin() + kOnsetFrames * 2, [](std::int16_t s) { return s == 0; })) {
        return {};  // both shots are heard within their first frames
    }
    AudioLayer::instance().render(out.data() + kOnsetFrames * 2, out.size() / 2 - kOnsetFrames);

    // hits * hit + misses * miss fitted to the start where it is not
    // clipped, then checked whole.
    double hh = 0, hm = 0, mm = 0, hr = 0, mr = 0;
    for (std::size_t i = 0; i < kOnsetFrames; ++i) {
        const double h = at(hit_, i);
        const double m = at(miss_, i);
        const double r = out[2 * i];
        if (r <= -32768 || r >= 32767) {
            continue;
        }
        hh += h * h;
        hm += h * m;
        mm += m * m;
        hr += h * r;
        mr += m * r;
    }
    const double det = hh * mm - hm * hm;
    if (det == 0) {
        return {0, 0, 1};
    }
    const long hits = std::lround((hr * mm - mr * hm) / det);
    const long misses = std::lround((mr * hh - hr * hm) / det);
    // No more shots than the mixer has voices: beyond, the fit is no sum.
    if (hits < 0 || misses < 0 || hits + misses > AudioMixer::kMaxVoices) {
        return {0, 0, 1};
    }
    for (std::size_t i = 0; i < out.size() / 2; ++i) {
        const std::int32_t sum = static_cast<std::int32_t>(hits) * at(hit_, i) +
                                 static_cast<std::int32_t>(misses) * at(miss_, i);
        const std::int16_t expected = static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
        if (out[2 * i] != expected || out[2 * i + 1] != expected) {
            return {0, 0, 1};
        }
    }
    return {static_cast<unsigned>(hits), static_cast<unsigned>(misses), 0};
}

}  // namespace testsupport
