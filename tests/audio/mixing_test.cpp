#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio_test_util.h"

using audiotest::Loopback;
using audiotest::TempDir;
using audiotest::write_wav;

namespace {

constexpr int kRate = 44100;

// Mean of the left channel over [from, to) frames.
double mean_left(const std::vector<float>& out, int from, int to)
{
    double sum = 0;
    for (int i = from; i < to; ++i) {
        sum += out[2 * static_cast<std::size_t>(i)];
    }
    return sum / (to - from);
}

double rms_frames(const std::vector<float>& out, int from, int to)
{
    return audiotest::rms(out, 2 * static_cast<std::size_t>(from), 2 * static_cast<std::size_t>(to));
}

class Mixing : public testing::Test {
protected:
    void SetUp() override
    {
        if (!loopback_.ok()) {
            GTEST_SKIP() << "OpenAL Soft without its loopback device";
        }
    }
    std::string wav(const char* name, const std::vector<double>& samples, int channels = 2)
    {
        const std::string path = dir_.file(name);
        write_wav(path, kRate, channels, 16, samples);
        return path;
    }

    TempDir dir_;
    Loopback loopback_;
};

}  // namespace

TEST_F(Mixing, SamplePlaysOnceAtItsLengthAndLevel)
{
    FSOUND_SAMPLE* shot = FSOUND_Sample_Load(-1, wav("shot.wav", audiotest::sine(kRate, 2, 4410, 441, 0.5)).c_str(), 0, 0, 0);
    EXPECT_TRUE(loopback_.render(4410) == std::vector<float>(2 * 4410, 0.0f));  // nothing yet
    EXPECT_EQ(FSOUND_PlaySound(-1, shot), 0);
    const std::vector<float> out = loopback_.render(8820);
    EXPECT_NEAR(audiotest::audible_frames(out), 4410, 30);
    EXPECT_NEAR(rms_frames(out, 0, 4410), 0.5 / std::sqrt(2.0), 0.01);
    EXPECT_NEAR(rms_frames(out, 4500, 8820), 0.0, 1e-4);
    // Left and right reach their own sides unchanged.
    for (int i = 0; i < 4410; i += 97) {
        ASSERT_NEAR(out[2 * i], out[2 * i + 1], 1e-4);
    }
    EXPECT_EQ(audio_probe::sample_play_count(shot), 1u);
    FSOUND_Sample_Free(shot);
}

TEST_F(Mixing, OverlappingPlaysOfOneSampleSum)
{
    FSOUND_SAMPLE* hum = FSOUND_Sample_Load(-1, wav("hum.wav", audiotest::level(8820, 0.2)).c_str(), 0, 0, 0);
    FSOUND_PlaySound(-1, hum);
    const std::vector<float> first = loopback_.render(2205);
    FSOUND_PlaySound(-1, hum);
    const std::vector<float> both = loopback_.render(2205);
    EXPECT_NEAR(mean_left(first, 100, 2205), 0.2, 1e-3);
    EXPECT_NEAR(mean_left(both, 100, 2205), 0.4, 1e-3);
    // The first ends a quarter second before the second.
    const std::vector<float> tail = loopback_.render(8820);
    EXPECT_NEAR(mean_left(tail, 100, 4000), 0.4, 1e-3);
    EXPECT_NEAR(mean_left(tail, 4600, 6500), 0.2, 1e-3);
    EXPECT_NEAR(mean_left(tail, 6800, 8820), 0.0, 1e-4);
    FSOUND_Sample_Free(hum);
}

TEST_F(Mixing, WhenEveryVoiceIsBusyTheOldestPlayIsCut)
{
    FSOUND_SAMPLE* first = FSOUND_Sample_Load(-1, wav("a.wav", audiotest::level(kRate, 0.3)).c_str(), 0, 0, 0);
    FSOUND_SAMPLE* filler = FSOUND_Sample_Load(-1, wav("b.wav", audiotest::level(kRate, 0.01)).c_str(), 0, 0, 0);
    FSOUND_SAMPLE* newest = FSOUND_Sample_Load(-1, wav("c.wav", audiotest::level(kRate, 0.05)).c_str(), 0, 0, 0);
    FSOUND_PlaySound(-1, first);
    for (int i = 0; i < 31; ++i) {
        FSOUND_PlaySound(-1, filler);
    }
    EXPECT_NEAR(mean_left(loopback_.render(441), 10, 441), 0.3 + 31 * 0.01, 1e-3);
    FSOUND_PlaySound(-1, newest);  // 33rd: replaces `first`
    EXPECT_NEAR(mean_left(loopback_.render(441), 10, 441), 31 * 0.01 + 0.05, 1e-3);
    FSOUND_PlaySound(-1, newest);  // then the oldest filler
    EXPECT_NEAR(mean_left(loopback_.render(441), 10, 441), 30 * 0.01 + 2 * 0.05, 1e-3);
    for (FSOUND_SAMPLE* s : {first, filler, newest}) {
        FSOUND_Sample_Free(s);
    }
}

TEST_F(Mixing, FreeingAPlayingSampleSilencesOnlyIt)
{
    FSOUND_SAMPLE* a = FSOUND_Sample_Load(-1, wav("a.wav", audiotest::level(kRate, 0.1)).c_str(), 0, 0, 0);
    FSOUND_SAMPLE* b = FSOUND_Sample_Load(-1, wav("b.wav", audiotest::level(kRate, 0.2)).c_str(), 0, 0, 0);
    FSOUND_PlaySound(-1, a);
    FSOUND_PlaySound(-1, b);
    loopback_.render(441);
    FSOUND_Sample_Free(a);
    EXPECT_NEAR(mean_left(loopback_.render(441), 10, 441), 0.2, 1e-3);
    FSOUND_Sample_Free(b);
    EXPECT_NEAR(mean_left(loopback_.render(441), 10, 441), 0.0, 1e-4);
}

// A ramp tells how far into the sound the output is.
std::vector<double> ramp(int frames)
{
    std::vector<double> out;
    for (int i = 0; i < frames; ++i) {
        out.push_back(0.05 + 0.9 * i / frames);
        out.push_back(0.05 + 0.9 * i / frames);
    }
    return out;
}

TEST_F(Mixing, ShortStreamRestartsFromTheStartAndStops)
{
    FSOUND_STREAM* shot = FSOUND_Stream_Open(wav("shot.wav", ramp(22050)).c_str(), 0, 0, 0);
    ASSERT_TRUE(shot->audio && !shot->audio->streamed());
    FSOUND_Stream_Play(-1, shot);
    const std::vector<float> start = loopback_.render(11025);
    EXPECT_NEAR(start[0], 0.05, 2e-3);
    EXPECT_NEAR(start[2 * 11024], 0.05 + 0.9 * 11024 / 22050, 2e-3);
    FSOUND_Stream_Play(-1, shot);  // again while playing
    EXPECT_NEAR(loopback_.render(441)[0], 0.05, 2e-3);
    FSOUND_Stream_Stop(shot);
    EXPECT_NEAR(rms_frames(loopback_.render(4410), 0, 4410), 0.0, 1e-5);
    EXPECT_EQ(audio_probe::stream_play_count(shot), 2u);
    FSOUND_Stream_Close(shot);
}

TEST_F(Mixing, ShortStreamLoopsWithoutAGap)
{
    // Exactly 100 cycles, so the joint continues the sine.
    FSOUND_STREAM* hum = FSOUND_Stream_Open(wav("hum.wav", audiotest::sine(kRate, 2, 10000, 441, 0.5)).c_str(), 0, 0, 0);
    FSOUND_Stream_SetLoopCount(hum, -1);
    FSOUND_Stream_Play(-1, hum);
    const std::vector<float> out = loopback_.render(35000);
    for (int i = 1; i < 35000; ++i) {
        const double expected = 0.5 * std::sin(2 * M_PI * 441 * (i % 10000) / kRate);
        ASSERT_NEAR(out[2 * i], expected, 2e-3) << "frame " << i;
    }
    FSOUND_Stream_Close(hum);
}

TEST_F(Mixing, LongStreamIsFedWhilePlayingAndEnds)
{
    // Longer than what is decoded whole: played through the feeder thread.
    FSOUND_STREAM* music = FSOUND_Stream_Open(wav("music.wav", ramp(3 * kRate)).c_str(), 0, 0, 0);
    ASSERT_TRUE(music->audio && music->audio->streamed());
    FSOUND_Stream_Play(-1, music);
    const std::vector<float> out = loopback_.render_fed(music, 4 * kRate);
    EXPECT_EQ(audiotest::audible_frames(out), static_cast<std::size_t>(3 * kRate));
    // The ramp arrives whole and in order: no piece lost or repeated.
    for (int i = 0; i < 3 * kRate; i += 331) {
        ASSERT_NEAR(out[2 * i], 0.05 + 0.9 * i / (3 * kRate), 2e-3) << "frame " << i;
    }
    FSOUND_Stream_Close(music);
}

TEST_F(Mixing, LongStreamRestartsAndStopsAtOnce)
{
    FSOUND_STREAM* music = FSOUND_Stream_Open(wav("music.wav", ramp(3 * kRate)).c_str(), 0, 0, 0);
    FSOUND_Stream_Play(-1, music);
    const std::vector<float> first = loopback_.render_fed(music, kRate);
    EXPECT_NEAR(first[2 * (kRate - 1)], 0.05 + 0.9 / 3, 2e-3);
    FSOUND_Stream_Play(-1, music);
    const std::vector<float> again = loopback_.render_fed(music, 4410);
    EXPECT_NEAR(again[0], 0.05, 2e-3);
    EXPECT_NEAR(again[2 * 4409], 0.05 + 0.9 * 4409 / (3 * kRate), 2e-3);
    FSOUND_Stream_Stop(music);
    EXPECT_NEAR(rms_frames(loopback_.render(kRate), 0, kRate), 0.0, 1e-5);
    FSOUND_Stream_Stop(music);  // stopping a stopped stream changes nothing
    FSOUND_Stream_Close(music);
}

TEST_F(Mixing, LongStreamLoopsAcrossItsEndWithoutAGap)
{
    // 2.5 s of exactly 1102.5... cycles would click: use a whole number.
    const int frames = 2 * kRate + 10000;  // 98200 frames = 982 cycles of 441 Hz
    FSOUND_STREAM* music = FSOUND_Stream_Open(wav("loop.wav", audiotest::sine(kRate, 2, frames, 441, 0.5)).c_str(), 0, 0, 0);
    ASSERT_TRUE(music->audio->streamed());
    FSOUND_Stream_SetLoopCount(music, -1);
    FSOUND_Stream_Play(-1, music);
    const int total = 2 * frames + 20000;
    const std::vector<float> out = loopback_.render_fed(music, total);
    for (int i = 0; i < total; ++i) {
        const double expected = 0.5 * std::sin(2 * M_PI * 441 * (i % frames) / kRate);
        ASSERT_NEAR(out[2 * static_cast<std::size_t>(i)], expected, 2e-3) << "frame " << i;
    }
    FSOUND_Stream_Close(music);
}

TEST_F(Mixing, FiniteLoopCountRepeatsThatManyTimes)
{
    FSOUND_STREAM* shot = FSOUND_Stream_Open(wav("shot.wav", audiotest::level(4410, 0.2)).c_str(), 0, 0, 0);
    FSOUND_Stream_SetLoopCount(shot, 2);
    FSOUND_Stream_Play(-1, shot);
    EXPECT_EQ(audiotest::audible_frames(loopback_.render(20000)), 3u * 4410);

    FSOUND_STREAM* music = FSOUND_Stream_Open(wav("music.wav", audiotest::level(kRate * 5 / 2, 0.2)).c_str(), 0, 0, 0);
    FSOUND_Stream_SetLoopCount(music, 1);
    FSOUND_Stream_Play(-1, music);
    EXPECT_EQ(audiotest::audible_frames(loopback_.render_fed(music, 6 * kRate)), 5u * kRate);
    FSOUND_Stream_Close(shot);
    FSOUND_Stream_Close(music);
}

TEST_F(Mixing, ClosingHandlesWhilePlayingAndAfterCloseIsSafe)
{
    FSOUND_STREAM* music = FSOUND_Stream_Open(wav("music.wav", ramp(3 * kRate)).c_str(), 0, 0, 0);
    FSOUND_STREAM* shot = FSOUND_Stream_Open(wav("shot.wav", ramp(4410)).c_str(), 0, 0, 0);
    FSOUND_SAMPLE* hum = FSOUND_Sample_Load(-1, wav("hum.wav", audiotest::level(kRate, 0.1)).c_str(), 0, 0, 0);
    FSOUND_Stream_SetLoopCount(music, -1);
    FSOUND_Stream_Play(-1, music);
    FSOUND_Stream_Play(-1, shot);
    FSOUND_PlaySound(-1, hum);
    loopback_.render_fed(music, 4410);
    FSOUND_Stream_Close(shot);  // while playing
    FSOUND_Close();             // music still playing, handles still open
    EXPECT_EQ(AudioLayer::instance().device(), nullptr);
    EXPECT_EQ(FSOUND_Stream_Play(-1, music), -1);
    EXPECT_EQ(audio_probe::stream_play_count(music), 2u);
    FSOUND_PlaySound(-1, hum);
    EXPECT_EQ(audio_probe::sample_play_count(hum), 2u);
    FSOUND_Stream_Stop(music);
    EXPECT_EQ(FSOUND_Stream_Close(music), 1);
    FSOUND_Sample_Free(hum);
}
