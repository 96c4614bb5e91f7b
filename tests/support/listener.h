#ifndef TIREVANE_TEST_LISTENER_H
#define TIREVANE_TEST_LISTENER_H

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <vector>

#include "core/assets.h"

namespace testsupport {

// What one or more listens heard: whole hit and miss sounds, and listens
// that heard something else (a cut or foreign sound, shots out of step).
struct Heard {
    unsigned hits = 0;
    unsigned misses = 0;
    unsigned others = 0;

    Heard& operator+=(const Heard& more);
    bool operator==(const Heard& other) const;
};
std::ostream& operator<<(std::ostream& out, const Heard& heard);

// The player's ears on the game's shots. The sound layer runs unplugged,
// in place of any device (the game's sounds must be opened after it, or
// they stay silent): nothing is mixed until a listen. Each listen renders
// what started since the one before to its end and tells it apart as a
// sum of whole hit and miss sounds, known by the samples of their WAV
// files (16-bit PCM mono at 44100 Hz) as read here. Shots started between
// two listens are heard together; a stream started again before a listen
// is heard once, as a player would hear it.
class Listener {
public:
    explicit Listener(const char* hit = assets::kHitShot, const char* miss = assets::kMissShot);
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    Heard listen();

private:
    std::vector<std::int16_t> hit_;
    std::vector<std::int16_t> miss_;
};

// The samples of a 16-bit PCM mono WAV file at 44100 Hz; empty for
// anything else.
std::vector<std::int16_t> wav_samples(const std::filesystem::path& path);

}  // namespace testsupport

#endif
