#ifndef TIREVANE_TOOLS_DSP_H
#define TIREVANE_TOOLS_DSP_H

#include <algorithm>
#include <cmath>
#include <cstdint>

// Small signal-processing parts for the synthesised sounds. Everything is
// seeded and stateful per instance, so every run renders the same samples.

constexpr double kPi = 3.14159265358979323846;

// White noise in [-1, 1] from a fixed seed (xorshift32).
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1u) {}
    double next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483647.5 - 1.0;
    }

private:
    std::uint32_t state_;
};

// One-pole low-pass; the high-pass is the input minus it.
class OnePole {
public:
    double lowpass(double in, double cutoff_hz, double rate = 44100.0)
    {
        const double a = 1.0 - std::exp(-2.0 * kPi * cutoff_hz / rate);
        state_ += a * (in - state_);
        return state_;
    }
    double highpass(double in, double cutoff_hz, double rate = 44100.0)
    {
        return in - lowpass(in, cutoff_hz, rate);
    }

private:
    double state_ = 0.0;
};

// State-variable filter (two integrators): band-pass with resonance.
class BandPass {
public:
    double process(double in, double centre_hz, double q, double rate = 44100.0)
    {
        const double f = 2.0 * std::sin(kPi * std::min(centre_hz, rate / 6.0) / rate);
        const double high = in - low_ - band_ / q;
        band_ += f * high;
        low_ += f * band_;
        return band_;
    }

private:
    double low_ = 0.0;
    double band_ = 0.0;
};

// A sine whose frequency may change every sample without clicks.
class Oscillator {
public:
    explicit Oscillator(double phase = 0.0) : phase_(phase) {}
    double sine(double hz, double rate = 44100.0)
    {
        const double v = std::sin(2.0 * kPi * phase_);
        advance(hz, rate);
        return v;
    }
    double phase() const { return phase_; }
    void advance(double hz, double rate = 44100.0)
    {
        phase_ += hz / rate;
        phase_ -= std::floor(phase_);
    }

private:
    double phase_;
};

// Exponential decay with a short linear attack, so no sound starts on a step.
inline double strike(double t, double decay_s, double attack_s = 0.0015)
{
    if (t < 0.0) {
        return 0.0;
    }
    const double rise = t < attack_s ? t / attack_s : 1.0;
    return rise * std::exp(-t / decay_s);
}

#endif
