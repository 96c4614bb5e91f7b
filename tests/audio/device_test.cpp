// The real output path on SDL's dummy driver, which plays in real time
// without a sound card: the callback runs, sounds play out, and the
// layer survives SDL closing the audio behind its back.
#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "audio_test_util.h"

namespace {

// Polls `done` under the device's lock until it holds; false after 5 s.
bool within_deadline(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        {
            AudioLock lock(AudioLayer::instance().device());
            if (done()) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
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
    EXPECT_EQ(AudioLayer::instance().mixer()->voice_count(), 32);
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 1);  // a second init keeps the device
    EXPECT_EQ(AudioLayer::instance().device(), device);
    EXPECT_EQ(device->rate(), 44100);
    EXPECT_LE(device->latency_ms(), 30.0);

    FSOUND_STREAM* music = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* shot = FSOUND_Sample_Load(-1, audiotest::fixture("tone_v2.wma").c_str(), 0, 0, 0);
    ASSERT_NE(music->audio, nullptr);
    ASSERT_NE(shot->clip, nullptr);
    FSOUND_Stream_SetLoopCount(music, -1);
    FSOUND_Stream_Play(-1, music);
    for (int i = 0; i < 40; ++i) {
        FSOUND_PlaySound(-1, shot);
    }
    AudioMixer* mixer = AudioLayer::instance().mixer();
    // The shots (half a second) play out on SDL's thread; the music loops on.
    EXPECT_TRUE(within_deadline([&] { return mixer->busy_voices() == 0; }));
    EXPECT_TRUE(within_deadline([&] { return music->audio->playing(); }));
    FSOUND_Close();  // while the music plays
    FSOUND_Stream_Close(music);
    FSOUND_Sample_Free(shot);
}

TEST_F(DummyDevice, OpensAgainAfterSdlClosedItsAudio)
{
    SDL_Quit();
    EXPECT_FALSE(AudioLayer::instance().device()->still_open());
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 1);
    ASSERT_NE(AudioLayer::instance().device(), nullptr);
    EXPECT_TRUE(AudioLayer::instance().device()->still_open());
    FSOUND_SAMPLE* shot = FSOUND_Sample_Load(-1, audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_PlaySound(-1, shot);
    AudioMixer* mixer = AudioLayer::instance().mixer();
    EXPECT_TRUE(within_deadline([&] { return mixer->busy_voices() == 0; }));
    FSOUND_Sample_Free(shot);
}
