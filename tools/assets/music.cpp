#include "music.h"

#include <array>
#include <cmath>
#include <vector>

#include "dsp.h"
#include "sound.h"

namespace {

// 100 beats per minute gives a whole number of samples per beat, so every
// note lands on an exact sample and the loop is exactly 16 bars long.
constexpr long kBeat = Sound::kRate * 60 / 100;
constexpr int kBars = 16;
constexpr long kLoop = kBeat * 4 * kBars;
constexpr double kRate = Sound::kRate;

struct Chord {
    int bass;                 // MIDI note
    std::array<int, 4> pad;  // MIDI notes, low to high
};

// Two bars each: Am F C G | Am F Dm E, the E leading back to the first Am.
constexpr Chord kChords[8] = {
    {45, {57, 60, 64, 69}}, {41, {57, 60, 65, 69}}, {48, {55, 60, 64, 67}},
    {43, {55, 59, 62, 67}}, {45, {57, 60, 64, 69}}, {41, {57, 60, 65, 69}},
    {38, {57, 62, 65, 69}}, {40, {56, 59, 64, 68}},
};

struct Note {
    int midi;
    double beat;    // from the start of the loop
    double length;  // in beats
};

// The tune of the second half, over Am F Dm E.
const std::vector<Note> kMelody = {
    {76, 32, 1.5}, {74, 33.5, 0.5}, {72, 34, 1}, {69, 35, 1}, {72, 36, 3},
    {77, 40, 1.5}, {76, 41.5, 0.5}, {74, 42, 1}, {72, 43, 1}, {69, 44, 3},
    {74, 48, 1.5}, {72, 49.5, 0.5}, {74, 50, 1}, {77, 51, 1}, {76, 52, 3},
    {71, 56, 1.5}, {72, 57.5, 0.5}, {71, 58, 1}, {68, 59, 1}, {69, 60, 2.5},
};

double midi_hz(double midi)
{
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

long beat_frame(double beat)
{
    return std::lround(beat * kBeat);
}

// One cycle of a band-limited waveform, read with linear interpolation.
class Wavetable {
public:
    // `amplitude(n)` of harmonic n, for n = 1 .. harmonics.
    template <typename Amplitude>
    Wavetable(int harmonics, Amplitude amplitude) : table_(kSize + 1, 0.0)
    {
        double peak = 0.0;
        for (int i = 0; i < kSize; ++i) {
            double v = 0.0;
            for (int n = 1; n <= harmonics; ++n) {
                v += amplitude(n) * std::sin(2.0 * kPi * n * i / kSize);
            }
            table_[i] = v;
            peak = std::max(peak, std::fabs(v));
        }
        for (double& v : table_) {
            v /= peak;
        }
        table_[kSize] = table_[0];
    }

    double at(double phase) const
    {
        const double x = phase * kSize;
        const int i = static_cast<int>(x);
        return table_[i] + (table_[i + 1] - table_[i]) * (x - i);
    }

private:
    static constexpr int kSize = 4096;
    std::vector<double> table_;
};

// Where the tracks go: the dry stereo mix and a mono send to the reverb.
struct Mix {
    Sound dry{kLoop, 2};
    Sound send{kLoop, 1};

    void add(long frame, double value, double pan, double reverb)
    {
        const double angle = (pan + 1.0) * kPi / 4.0;
        dry.add_wrapped(frame, 0, value * std::cos(angle));
        dry.add_wrapped(frame, 1, value * std::sin(angle));
        send.add_wrapped(frame, 0, value * reverb);
    }
};

double smooth_attack(double t, double attack)
{
    if (t >= attack) {
        return 1.0;
    }
    const double x = t / attack;
    return x * x * (3.0 - 2.0 * x);
}

// Soft chords: three slightly detuned voices per note, slow to rise, long
// to fade, so the harmony never stops, not even where the loop joins.
void pad(Mix& mix, const Wavetable& saw, Noise& random)
{
    constexpr double kLevel = 0.035;
    constexpr double kRelease = 1.4;
    const double detune[] = {0.0, 0.07, -0.07};
    for (int c = 0; c < 8; ++c) {
        const long start = beat_frame(c * 8.0);
        const long length = beat_frame(8.0);
        const long total = length + std::lround(kRelease * 3.0 * kRate);
        for (int v = 0; v < 4; ++v) {
            const double pan = -0.6 + 0.4 * v;
            for (double cents : detune) {
                const double hz = midi_hz(kChords[c].pad[v] + cents);
                double phase = 0.5 * (random.next() + 1.0);
                for (long i = 0; i < total; ++i) {
                    const double t = i / kRate;
                    double env = smooth_attack(t, 0.5);
                    if (i >= length) {
                        env *= std::exp(-(i - length) / kRate / kRelease);
                    }
                    mix.add(start + i, kLevel * env * saw.at(phase), pan, 0.5);
                    phase += hz / kRate;
                    phase -= std::floor(phase);
                }
            }
        }
    }
}

// A round, syncopated bass line on the chord roots.
void bass(Mix& mix)
{
    constexpr int kSteps[] = {0, 3, 4, 6, 8, 11, 12, 14};  // eighths in two bars
    for (int c = 0; c < 8; ++c) {
        for (int step : kSteps) {
            const long start = beat_frame(c * 8.0 + step * 0.5);
            const long length = beat_frame(0.8);
            const double hz = midi_hz(kChords[c].bass);
            Oscillator osc;
            const long total = length + std::lround(0.04 * kRate);
            for (long i = 0; i < total; ++i) {
                const double t = i / kRate;
                double env = strike(t, 0.45, 0.006);
                if (i >= length) {
                    env *= 1.0 - static_cast<double>(i - length) / (total - length);
                }
                const double ph = osc.phase();
                const double v = std::sin(2 * kPi * ph) + 0.3 * std::sin(4 * kPi * ph);
                osc.advance(hz);
                mix.add(start + i, 0.22 * env * std::tanh(1.2 * v), 0.0, 0.05);
            }
        }
    }
}

void pluck(Mix& mix, const Wavetable& tone, int midi, long start, double level, double pan)
{
    const double hz = midi_hz(midi);
    const long total = std::lround(0.5 * kRate);
    double phase = 0.0;
    for (long i = 0; i < total; ++i) {
        const double t = i / kRate;
        const double fade = i > total - 400 ? (total - i) / 400.0 : 1.0;
        mix.add(start + i, level * strike(t, 0.1, 0.002) * fade * tone.at(phase), pan, 0.3);
        phase += hz / kRate;
        phase -= std::floor(phase);
    }
}

// Sixteenth-note arpeggios from bar 5 on, each note echoed from side to
// side a dotted eighth later.
void arpeggio(Mix& mix, const Wavetable& tone)
{
    constexpr int kOrder[] = {0, 1, 2, 3, 2, 1, 2, 3};
    for (int sixteenth = 64; sixteenth < kBars * 16; ++sixteenth) {
        const Chord& chord = kChords[sixteenth / 32];
        const int midi = chord.pad[kOrder[sixteenth % 8]] + 12;
        const long start = beat_frame(sixteenth * 0.25);
        const double accent = sixteenth % 4 == 0 ? 1.0 : 0.75;
        pluck(mix, tone, midi, start, 0.06 * accent, -0.3);
        pluck(mix, tone, midi, start + beat_frame(0.75), 0.025 * accent, 0.7);
        pluck(mix, tone, midi, start + beat_frame(1.5), 0.01 * accent, -0.7);
    }
}

// A gentle flute-like lead for the second half.
void melody(Mix& mix)
{
    for (const Note& note : kMelody) {
        const double hz = midi_hz(note.midi);
        const long start = beat_frame(note.beat);
        const long length = beat_frame(note.length) - std::lround(0.03 * kRate);
        const long total = length + std::lround(0.6 * kRate);
        Oscillator osc, vibrato;
        for (long i = 0; i < total; ++i) {
            const double t = i / kRate;
            double env = smooth_attack(t, 0.03);
            if (i >= length) {
                env *= std::exp(-(i - length) / kRate / 0.12);
            }
            const double depth = 0.004 * smooth_attack(t, 0.4);
            const double ph = osc.phase();
            const double v = std::sin(2 * kPi * ph) + 0.15 * std::sin(4 * kPi * ph) +
                             0.06 * std::sin(6 * kPi * ph);
            osc.advance(hz * (1.0 + depth * vibrato.sine(5.2)));
            mix.add(start + i, 0.11 * env * v, 0.15, 0.45);
        }
    }
}

// Soft kick on 1 and 3, hats on every eighth, and from bar 5 a snare on 2
// and 4.
void drums(Mix& mix)
{
    Noise noise(0x5eed0100u);
    for (int beat = 0; beat < kBars * 4; ++beat) {
        const long at = beat_frame(beat);
        if (beat % 2 == 0) {
            Oscillator osc;
            for (long i = 0; i < std::lround(0.35 * kRate); ++i) {
                const double t = i / kRate;
                const double v = osc.sine(48.0 + 80.0 * std::exp(-t / 0.03)) * strike(t, 0.14, 0.002);
                mix.add(at + i, 0.32 * v, 0.0, 0.0);
            }
        } else if (beat >= 16) {
            BandPass body;
            Oscillator osc;
            for (long i = 0; i < std::lround(0.3 * kRate); ++i) {
                const double t = i / kRate;
                const double v = body.process(noise.next(), 1900.0, 0.9) * strike(t, 0.07, 0.001) +
                                 0.4 * osc.sine(185.0) * strike(t, 0.045, 0.001);
                mix.add(at + i, 0.16 * v, 0.05, 0.35);
            }
        }
        for (int half = 0; half < 2; ++half) {
            OnePole air;
            const long start = at + beat_frame(half * 0.5);
            const double level = half ? 0.05 : 0.03;
            for (long i = 0; i < std::lround(0.12 * kRate); ++i) {
                const double t = i / kRate;
                mix.add(start + i, level * air.highpass(noise.next(), 7000.0) * strike(t, 0.025, 0.0005),
                        -0.35, 0.1);
            }
        }
    }
}

// A small room: four damped combs into two all-passes per side (Schroeder).
class Reverb {
public:
    Reverb()
    {
        const int combs[] = {1557, 1617, 1491, 1422};
        for (int side = 0; side < 2; ++side) {
            for (int length : combs) {
                combs_[side].emplace_back(length + side * 23);
            }
            allpasses_[side].emplace_back(556 + side * 23);
            allpasses_[side].emplace_back(225 + side * 23);
        }
    }

    double process(double in, int side)
    {
        double out = 0.0;
        for (Comb& c : combs_[side]) {
            out += c.process(in);
        }
        for (AllPass& a : allpasses_[side]) {
            out = a.process(out);
        }
        return out * 0.25;
    }

private:
    struct Comb {
        explicit Comb(int length) : buffer(length, 0.0) {}
        double process(double in)
        {
            const double out = buffer[pos];
            damped = out * 0.75 + damped * 0.25;
            buffer[pos] = in + damped * 0.8;
            pos = (pos + 1) % buffer.size();
            return out;
        }
        std::vector<double> buffer;
        size_t pos = 0;
        double damped = 0.0;
    };
    struct AllPass {
        explicit AllPass(int length) : buffer(length, 0.0) {}
        double process(double in)
        {
            const double delayed = buffer[pos];
            buffer[pos] = in + delayed * 0.5;
            pos = (pos + 1) % buffer.size();
            return delayed - in * 0.5;
        }
        std::vector<double> buffer;
        size_t pos = 0;
    };
    std::vector<Comb> combs_[2];
    std::vector<AllPass> allpasses_[2];
};

// Runs the reverb over the loop twice and keeps the second pass: its tail
// from the end of the loop is then already ringing at the start.
void add_reverb(Mix& mix, double wet)
{
    Reverb reverb;
    for (int pass = 0; pass < 2; ++pass) {
        for (long i = 0; i < kLoop; ++i) {
            const double in = mix.send.at(i, 0);
            for (int side = 0; side < 2; ++side) {
                const double out = reverb.process(in, side);
                if (pass == 1) {
                    mix.dry.add(i, side, wet * out);
                }
            }
        }
    }
}

}  // namespace

void make_music(const std::string& path)
{
    Mix mix;
    Noise random(0x5eed0200u);
    const Wavetable saw(14, [](int n) { return 1.0 / std::pow(n, 1.4); });
    const Wavetable hollow(9, [](int n) { return n % 2 ? 1.0 / n : 0.15 / n; });
    pad(mix, saw, random);
    bass(mix);
    arpeggio(mix, hollow);
    melody(mix);
    drums(mix);
    add_reverb(mix, 0.9);
    // Headroom for the MP3 encoder, whose output can overshoot the input.
    mix.dry.normalise(-2.0);
    mix.dry.save_wav(path);
}
