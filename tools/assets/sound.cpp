#include "sound.h"

#include "little_endian.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

Sound::Sound(long frames, int channels)
    : frames_(frames), channels_(channels), samples_(static_cast<size_t>(frames) * channels, 0.0f)
{
}

Sound Sound::of_seconds(double seconds, int channels)
{
    return Sound(std::lround(seconds * kRate), channels);
}

float Sound::at(long frame, int channel) const
{
    return samples_[static_cast<size_t>(frame) * channels_ + channel];
}

void Sound::add(long frame, int channel, double value)
{
    if (frame < 0 || frame >= frames_) {
        return;
    }
    samples_[static_cast<size_t>(frame) * channels_ + channel] += static_cast<float>(value);
}

void Sound::add_wrapped(long frame, int channel, double value)
{
    frame %= frames_;
    if (frame < 0) {
        frame += frames_;
    }
    samples_[static_cast<size_t>(frame) * channels_ + channel] += static_cast<float>(value);
}

double Sound::peak() const
{
    double p = 0.0;
    for (float s : samples_) {
        p = std::max(p, static_cast<double>(std::fabs(s)));
    }
    return p;
}

void Sound::normalise(double dbfs)
{
    const double p = peak();
    if (p <= 0.0) {
        return;
    }
    const double gain = std::pow(10.0, dbfs / 20.0) / p;
    for (float& s : samples_) {
        s = static_cast<float>(s * gain);
    }
}

void Sound::fade_out(double seconds)
{
    const long n = std::min(frames_, std::lround(seconds * kRate));
    for (long i = 0; i < n; ++i) {
        const double g = static_cast<double>(i) / n;
        for (int c = 0; c < channels_; ++c) {
            samples_[static_cast<size_t>(frames_ - 1 - i) * channels_ + c] *= static_cast<float>(g);
        }
    }
}

Sound Sound::padded(long before, long after) const
{
    Sound out(before + frames_ + after, channels_);
    std::copy(samples_.begin(), samples_.end(),
              out.samples_.begin() + static_cast<long>(before) * channels_);
    return out;
}

namespace {

void put_tag(std::vector<unsigned char>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

void Sound::save_wav(const std::string& path) const
{
    const unsigned long data_size = samples_.size() * 2;
    std::vector<unsigned char> out;
    out.reserve(44 + data_size);
    put_tag(out, "RIFF");
    put_u32(out, 36 + data_size);
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put_u32(out, 16);
    put_u16(out, 1);  // PCM
    put_u16(out, static_cast<unsigned>(channels_));
    put_u32(out, kRate);
    put_u32(out, static_cast<unsigned long>(kRate) * channels_ * 2);
    put_u16(out, static_cast<unsigned>(channels_ * 2));
    put_u16(out, 16);
    put_tag(out, "data");
    put_u32(out, data_size);
    for (float s : samples_) {
        const long v = std::lround(std::clamp(static_cast<double>(s), -1.0, 1.0) * 32767.0);
        put_u16(out, static_cast<unsigned>(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))));
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    if (std::fclose(file) != 0 || !ok) {
        throw std::runtime_error("cannot write " + path);
    }
}
