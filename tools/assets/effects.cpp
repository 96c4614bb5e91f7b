#include "effects.h"

#include <cmath>

#include "dsp.h"
#include "sound.h"

namespace {

// Every effect peaks 1 dB under full scale: loud, never clipped.
constexpr double kPeakDb = -1.0;
constexpr double kRate = Sound::kRate;

double soft_clip(double x, double drive)
{
    return std::tanh(x * drive) / std::tanh(drive);
}

void finish(Sound& s, const std::string& path)
{
    s.fade_out(0.02);
    s.normalise(kPeakDb);
    s.save_wav(path);
}

// FFmpeg's WMA decoder drops the first 2048-sample block of a stream and
// everything after the last whole block, so the sound is framed by a block
// of silence before and enough after. The level is left low: the encoder
// can overshoot, and tools/make-assets sets the final peak after decoding.
void finish_for_wma(Sound& s, const std::string& path)
{
    constexpr long kBlock = 2048;
    s.fade_out(0.02);
    s.normalise(-3.0);
    const long tail = kBlock - s.frames() % kBlock + kBlock;
    s.padded(kBlock, tail).save_wav(path);
}

// A hit in the menus and the default visor: a sharp crack over a low thump,
// with a short noisy tail.
Sound gun_shot()
{
    Sound s = Sound::of_seconds(0.5);
    Noise noise(0x5eed0001u);
    OnePole body, crack;
    Oscillator thump;
    for (long i = 0; i < s.frames(); ++i) {
        const double t = i / kRate;
        const double n = noise.next();
        const double cutoff = 700.0 + 8000.0 * std::exp(-t / 0.05);
        const double noisy = body.lowpass(n, cutoff) * (strike(t, 0.06) + 0.3 * strike(t, 0.22));
        const double snap = crack.highpass(n, 2500.0) * strike(t, 0.004, 0.0003);
        const double low = thump.sine(45.0 + 100.0 * std::exp(-t / 0.035)) * strike(t, 0.09);
        s.add(i, 0, soft_clip(1.6 * noisy + 0.9 * snap + 0.9 * low, 1.5));
    }
    return s;
}

// A missed shot: a dry click and a ricochet whining away.
Sound missed_gun_shot()
{
    Sound s = Sound::of_seconds(0.6);
    Noise noise(0x5eed0002u);
    OnePole click_filter;
    BandPass hiss;
    Oscillator whine, wobble;
    for (long i = 0; i < s.frames(); ++i) {
        const double t = i / kRate;
        const double n = noise.next();
        const double click = click_filter.highpass(n, 1800.0) * strike(t, 0.006, 0.0003);
        const double tr = t - 0.035;
        const double hz = (1050.0 + 2300.0 * std::exp(-std::max(tr, 0.0) / 0.16)) *
                          (1.0 + 0.03 * wobble.sine(31.0));
        const double env = strike(tr, 0.17, 0.008);
        const double ping = whine.sine(hz) * env;
        const double air = hiss.process(n, hz, 6.0) * env;
        s.add(i, 0, 0.8 * click + 0.55 * ping + 0.35 * air);
    }
    return s;
}

// "Simple": a short, bright pop.
Sound simple_shot()
{
    Sound s = Sound::of_seconds(0.25);
    Noise noise(0x5eed0003u);
    OnePole click_filter;
    Oscillator pop;
    for (long i = 0; i < s.frames(); ++i) {
        const double t = i / kRate;
        const double hz = 280.0 + 900.0 * std::exp(-t / 0.012);
        const double tone = pop.sine(hz) * strike(t, 0.04, 0.0008);
        const double click = click_filter.highpass(noise.next(), 3000.0) * strike(t, 0.003, 0.0002);
        s.add(i, 0, tone + 0.6 * click);
    }
    return s;
}

// "Sniper": a hard supersonic crack, a boom, and its echo off distant hills.
Sound sniper_shot()
{
    Sound s = Sound::of_seconds(0.9);
    Noise noise(0x5eed0004u);
    OnePole crack_filter, boom_filter, tail_filter, echo_filter;
    Oscillator boom;
    for (long i = 0; i < s.frames(); ++i) {
        const double t = i / kRate;
        const double n = noise.next();
        const double crack = crack_filter.highpass(n, 3000.0) * strike(t, 0.007, 0.0002);
        const double body = boom_filter.lowpass(n, 900.0) * strike(t, 0.1) * 2.0 +
                            boom.sine(38.0 + 60.0 * std::exp(-t / 0.05)) * strike(t, 0.13);
        const double tail = tail_filter.lowpass(n, 1400.0) * 0.9 * strike(t - 0.04, 0.22, 0.03);
        double echo = 0.0;
        for (double delay : {0.19, 0.37}) {
            echo += strike(t - delay, 0.05, 0.004) * (delay < 0.3 ? 0.5 : 0.25);
        }
        echo *= echo_filter.lowpass(n, 1800.0) * 2.5;
        s.add(i, 0, soft_clip(crack + body + tail + echo, 1.3));
    }
    return s;
}

// "FPS": a sci-fi plasma bolt, a falling FM zap.
Sound future_plasma()
{
    Sound s = Sound::of_seconds(0.45);
    Oscillator carrier, modulator, shimmer;
    for (long i = 0; i < s.frames(); ++i) {
        const double t = i / kRate;
        const double hz = 170.0 + 1700.0 * std::exp(-t / 0.09);
        const double index = 2.5 * std::exp(-t / 0.2);
        const double m = modulator.sine(hz * 0.5);
        const double main = std::sin(2.0 * kPi * carrier.phase() + index * m);
        carrier.advance(hz);
        const double upper = shimmer.sine(hz * 1.07) * 0.35;
        s.add(i, 0, (main + upper) * strike(t, 0.13, 0.003));
    }
    return s;
}

// "High Flight Combat": a three-round burst from an aircraft cannon.
Sound high_flight_combat()
{
    Sound s = Sound::of_seconds(0.45);
    Noise noise(0x5eed0005u);
    OnePole body;
    Oscillator thump;
    const double starts[] = {0.0, 0.085, 0.17};
    const double pitches[] = {1.0, 0.94, 1.05};
    for (long i = 0; i < s.frames(); ++i) {
        const double t = i / kRate;
        const double n = noise.next();
        double env = 0.0;
        double hz = 60.0;
        for (int k = 0; k < 3; ++k) {
            const double dt = t - starts[k];
            if (dt >= 0.0) {
                env = std::max(env, strike(dt, 0.028, 0.0006) * (k == 2 ? 1.0 : 0.9));
                hz = (60.0 + 130.0 * std::exp(-dt / 0.02)) * pitches[k];
            }
        }
        const double tail = 0.12 * strike(t - 0.17, 0.12);
        const double noisy = body.lowpass(n, 5200.0) * (env + tail);
        const double low = thump.sine(hz) * env;
        s.add(i, 0, soft_clip(1.3 * noisy + 0.9 * low, 1.8));
    }
    return s;
}

// "Heavy Weapon": a cannon boom with a metallic clank of the breech.
Sound heavy_weapon()
{
    Sound s = Sound::of_seconds(0.8);
    Noise noise(0x5eed0006u);
    OnePole rumble, crack_filter;
    Oscillator boom;
    const double clank_hz[] = {417.0, 1131.0, 2209.0, 3340.0};
    for (long i = 0; i < s.frames(); ++i) {
        const double t = i / kRate;
        const double n = noise.next();
        const double low = boom.sine(27.0 + 55.0 * std::exp(-t / 0.07)) * strike(t, 0.24, 0.002);
        const double roar = rumble.lowpass(n, 500.0 + 1500.0 * std::exp(-t / 0.04)) * strike(t, 0.2);
        const double crack = crack_filter.highpass(n, 1500.0) * strike(t, 0.005, 0.0003);
        double clank = 0.0;
        for (double hz : clank_hz) {
            clank += std::sin(2.0 * kPi * hz * t) / 4.0;
        }
        clank *= strike(t - 0.012, 0.07, 0.001);
        s.add(i, 0, soft_clip(1.2 * low + 2.5 * roar + 0.6 * crack + 0.35 * clank, 2.2));
    }
    return s;
}

}  // namespace

void make_effects(const std::string& root, const std::string& work)
{
    Sound hit = gun_shot();
    finish(hit, root + "/System/01/Menu/gun_shot.wav");
    Sound miss = missed_gun_shot();
    finish(miss, root + "/System/01/Menu/missed_gun_shot.wav");
    Sound simple = simple_shot();
    finish(simple, root + "/System/Sounds/simple.wav");
    Sound sniper = sniper_shot();
    finish(sniper, root + "/System/Sounds/sniper.wav");
    Sound plasma = future_plasma();
    finish_for_wma(plasma, work + "/future_plasma.wav");
    Sound burst = high_flight_combat();
    finish_for_wma(burst, work + "/high_flight_combat.wav");
    Sound heavy = heavy_weapon();
    finish_for_wma(heavy, work + "/heavy_weapon.wav");
}
