#ifndef TIREVANE_TOOLS_SOUND_H
#define TIREVANE_TOOLS_SOUND_H

#include <string>
#include <vector>

// A synthesised sound at 44100 Hz in floating point, one or two channels,
// saved as 16-bit PCM WAV.
class Sound {
public:
    static constexpr int kRate = 44100;

    Sound(long frames, int channels);
    static Sound of_seconds(double seconds, int channels = 1);

    long frames() const { return frames_; }
    int channels() const { return channels_; }
    float at(long frame, int channel) const;
    void add(long frame, int channel, double value);
    // Adds at frame modulo the length: a loop's tails wrap into its start,
    // so its end joins its beginning seamlessly.
    void add_wrapped(long frame, int channel, double value);

    double peak() const;
    // Scales so the loudest sample sits at `dbfs` (e.g. -1.0).
    void normalise(double dbfs);
    // Linear fade to silence over the last `seconds`, so a sound never
    // stops on a step.
    void fade_out(double seconds);
    // A copy with `before` and `after` frames of silence around it.
    Sound padded(long before, long after) const;

    // Throws when the file cannot be written.
    void save_wav(const std::string& path) const;

private:
    long frames_;
    int channels_;
    std::vector<float> samples_;
};

#endif
