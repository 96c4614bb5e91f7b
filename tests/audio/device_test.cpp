// The real output path on SDL's dummy driver, which plays in real time
// without a sound card: sounds take as long to play out as they last, and
// the layer survives SDL closing the audio behind its back.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "audio_test_util.h"

namespace {

// Half a second of music; silent when opened without a device.
FSOUND_STREAM* open_tune()
{
    return FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
}

// Milliseconds from starting `stream` until it has played out, polled
// under the device's lock; -1 when it still plays after 5 s.
double play_out_ms(FSOUND_STREAM* stream)
{
    const auto start = std::chrono::steady_clock::now();
    FSOUND_Stream_Play(-1, stream);
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        {
            AudioLock lock(AudioLayer::instance().device());
            if (!stream->audio->playing()) {
                const auto took = std::chrono::steady_clock::now() - start;
                return std::chrono::duration<double, std::milli>(took).count();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}

class DummyDevice : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_EQ(FSOUND_Init(44100, 32, 0), 1);
    }
    void TearDown() override { FSOUND_Close(); }
};

}  // namespace

TEST_F(DummyDevice, PlaysInRealTimeWithLowLatency)
{
    AudioDevice* device = AudioLayer::instance().device();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 1);  // a second init keeps the device
    EXPECT_EQ(AudioLayer::instance().device(), device);
    EXPECT_LE(device->latency_ms(), 30.0);

    FSOUND_STREAM* tune = open_tune();
    FSOUND_SAMPLE* shot = FSOUND_Sample_Load(-1, audiotest::fixture("tone_v2.wma").c_str(), 0, 0, 0);
    ASSERT_NE(tune->audio, nullptr);
    ASSERT_NE(shot->clip, nullptr);
    for (int i = 0; i < 40; ++i) {
        FSOUND_PlaySound(-1, shot);
    }
    // Mixed on SDL's thread as the device asks, not ahead of it.
    EXPECT_GE(play_out_ms(tune), 400) << "ms to play 500 ms of music (-1: still playing at 5 s)";
    FSOUND_Stream_SetLoopCount(tune, -1);
    FSOUND_Stream_Play(-1, tune);
    FSOUND_Close();  // while the music plays
    FSOUND_Stream_Close(tune);
    FSOUND_Sample_Free(shot);
}

TEST_F(DummyDevice, OpensAgainAfterSdlClosedItsAudio)
{
    SDL_Quit();
    EXPECT_FALSE(AudioLayer::instance().device()->still_open());
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 1);
    ASSERT_NE(AudioLayer::instance().device(), nullptr);
    EXPECT_TRUE(AudioLayer::instance().device()->still_open());
    FSOUND_STREAM* tune = open_tune();
    ASSERT_NE(tune->audio, nullptr);
    EXPECT_GE(play_out_ms(tune), 400) << "ms to play 500 ms of music (-1: still playing at 5 s)";
    FSOUND_Stream_Close(tune);
}
