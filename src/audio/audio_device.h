#ifndef TIREVANE_AUDIO_AUDIO_DEVICE_H
#define TIREVANE_AUDIO_AUDIO_DEVICE_H

#include <memory>

#include "core/non_copyable.h"

class AudioMixer;

// SDL's audio output, pulling 16-bit stereo at 44100 Hz from a mixer on
// SDL's audio thread. SDL converts if the hardware wants another format.
class AudioDevice : NonCopyable {
public:
    // Frames asked for each callback: SDL's ALSA driver keeps two such
    // periods on the device, so a sound reaches it within about 23 ms.
    static constexpr int kCallbackFrames = 512;

    // Null without a usable device (quickly, and printing nothing).
    static std::unique_ptr<AudioDevice> open(AudioMixer& mixer);
    ~AudioDevice();

    // Keeps the callback out while what plays is changed.
    void lock();
    void unlock();
    // False once SDL has closed the output behind our back (SDL_Quit).
    bool still_open() const;

    int callback_frames() const { return callback_frames_; }
    // Two callback periods on the device, in milliseconds.
    double latency_ms() const;

private:
    AudioDevice(int rate, int callback_frames) : rate_(rate), callback_frames_(callback_frames) {}

    int rate_;
    int callback_frames_;
};

// Holds the device's lock for a scope; does nothing without a device.
class AudioLock : NonCopyable {
public:
    explicit AudioLock(AudioDevice* device) : device_(device)
    {
        if (device_) {
            device_->lock();
        }
    }
    ~AudioLock()
    {
        if (device_) {
            device_->unlock();
        }
    }

private:
    AudioDevice* device_;
};

#endif
