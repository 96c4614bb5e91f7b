// What the mixer makes of the game's calls, rendered frame by frame on the
// mixer alone (no device): levels add up, voices are reused oldest first,
// streams restart, loop without a gap and stop at once.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "audio/mp3_decoder.h"
#include "audio_test_util.h"

using audiotest::TempDir;
using audiotest::Unplugged;
using audiotest::write_wav;

namespace {

constexpr int kRate = 44100;

// Every left sample of frames [from, to) equals `value`, and so does the right.
::testing::AssertionResult level_between(const std::vector<std::int16_t>& out, std::size_t from,
                                         std::size_t to, int value)
{
    for (std::size_t f = from; f < to; ++f) {
        if (out[2 * f] != value || out[2 * f + 1] != value) {
            return ::testing::AssertionFailure()
                   << "frame " << f << " is " << out[2 * f] << "/" << out[2 * f + 1] << ", not " << value;
        }
    }
    return ::testing::AssertionSuccess();
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

std::int16_t ramp_at(int i, int frames)
{
    return static_cast<std::int16_t>(std::lround((0.05 + 0.9 * i / frames) * 32767));
}

class Mixing : public testing::Test {
protected:
    std::string wav(const char* name, const std::vector<double>& samples, int channels = 2)
    {
        const std::string path = dir_.file(name);
        write_wav(path, kRate, channels, 16, samples);
        return path;
    }
    FSOUND_SAMPLE* sample(const char* name, const std::vector<double>& samples, int channels = 2)
    {
        return FSOUND_Sample_Load(-1, wav(name, samples, channels).c_str(), 0, 0, 0);
    }

    TempDir dir_;
    Unplugged mixer_;
    const std::string tone_ = audiotest::fixture("tone.mp3").string();
};

}  // namespace

TEST_F(Mixing, NothingPlayingIsSilence)
{
    EXPECT_TRUE(level_between(mixer_.render(3000), 0, 3000, 0));
}

TEST_F(Mixing, SamplePlaysOnceAsItIsStereoOrMono)
{
    const std::vector<double> tone = audiotest::sine(kRate, 2, 4410, 441, 0.5);
    FSOUND_SAMPLE* stereo = sample("stereo.wav", tone);
    EXPECT_EQ(FSOUND_PlaySound(-1, stereo), 0);
    const std::vector<std::int16_t> out = mixer_.render(8820);
    for (std::size_t i = 0; i < tone.size(); ++i) {
        ASSERT_EQ(out[i], static_cast<std::int16_t>(std::lround(tone[i] * 32767))) << i;
    }
    EXPECT_TRUE(level_between(out, 4410, 8820, 0));  // once

    // Mono reaches both sides at full level.
    FSOUND_SAMPLE* mono = sample("mono.wav", audiotest::level(1000, 0.25, 1), 1);
    FSOUND_PlaySound(-1, mono);
    const std::vector<std::int16_t> both = mixer_.render(2000);
    EXPECT_TRUE(level_between(both, 0, 1000, 8192));
    EXPECT_TRUE(level_between(both, 1000, 2000, 0));
    FSOUND_Sample_Free(stereo);
    FSOUND_Sample_Free(mono);
}

TEST_F(Mixing, OverlappingPlaysSumAndFullScaleIsClipped)
{
    FSOUND_SAMPLE* hum = sample("hum.wav", audiotest::level(8820, 0.2));  // 6553
    FSOUND_PlaySound(-1, hum);
    EXPECT_TRUE(level_between(mixer_.render(2205), 0, 2205, 6553));
    FSOUND_PlaySound(-1, hum);
    EXPECT_TRUE(level_between(mixer_.render(2205), 0, 2205, 13106));
    // The first play has 4410 frames left, the second 6615.
    const std::vector<std::int16_t> tail = mixer_.render(8820);
    EXPECT_TRUE(level_between(tail, 0, 4410, 13106));
    EXPECT_TRUE(level_between(tail, 4410, 6615, 6553));
    EXPECT_TRUE(level_between(tail, 6615, 8820, 0));

    FSOUND_SAMPLE* loud = sample("loud.wav", audiotest::level(100, 0.8));
    FSOUND_SAMPLE* low = sample("low.wav", audiotest::level(100, -0.8));
    FSOUND_PlaySound(-1, loud);
    FSOUND_PlaySound(-1, loud);
    EXPECT_TRUE(level_between(mixer_.render(100), 0, 100, 32767));
    FSOUND_PlaySound(-1, low);
    FSOUND_PlaySound(-1, low);
    EXPECT_TRUE(level_between(mixer_.render(100), 0, 100, -32768));
    for (FSOUND_SAMPLE* s : {hum, loud, low}) {
        FSOUND_Sample_Free(s);
    }
}

TEST_F(Mixing, WhenEveryVoiceIsBusyTheOldestPlayIsCut)
{
    FSOUND_SAMPLE* first = sample("a.wav", audiotest::level(kRate, 0.3));    // 9830
    FSOUND_SAMPLE* filler = sample("b.wav", audiotest::level(kRate, 0.01));  // 328
    FSOUND_SAMPLE* newest = sample("c.wav", audiotest::level(kRate, 0.05));  // 1638
    FSOUND_PlaySound(-1, first);
    for (int i = 0; i < 31; ++i) {
        FSOUND_PlaySound(-1, filler);
    }
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 9830 + 31 * 328));
    FSOUND_PlaySound(-1, newest);  // the 33rd replaces `first`
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 31 * 328 + 1638));
    FSOUND_PlaySound(-1, newest);  // then the oldest filler
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 30 * 328 + 2 * 1638));
    for (FSOUND_SAMPLE* s : {first, filler, newest}) {
        FSOUND_Sample_Free(s);
    }
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 0));
}

TEST_F(Mixing, FreeingAPlayingSampleSilencesOnlyIt)
{
    FSOUND_SAMPLE* a = sample("a.wav", audiotest::level(kRate, 0.1));  // 3277
    FSOUND_SAMPLE* b = sample("b.wav", audiotest::level(kRate, 0.2));  // 6553
    FSOUND_PlaySound(-1, a);
    FSOUND_PlaySound(-1, b);
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 9830));
    FSOUND_Sample_Free(a);
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 6553));
    FSOUND_Sample_Free(b);
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 0));
}

TEST_F(Mixing, WholeStreamRestartsFromTheStartAndStops)
{
    FSOUND_STREAM* shot = FSOUND_Stream_Open(wav("shot.wav", ramp(22050)).c_str(), 0, 0, 0);
    ASSERT_TRUE(shot->audio && !shot->audio->decoded_while_playing());
    FSOUND_Stream_Play(-1, shot);
    const std::vector<std::int16_t> start = mixer_.render(11025);
    EXPECT_EQ(start[0], ramp_at(0, 22050));
    EXPECT_EQ(start[2 * 11024], ramp_at(11024, 22050));
    FSOUND_Stream_Play(-1, shot);  // again while playing
    EXPECT_EQ(mixer_.render(441)[0], ramp_at(0, 22050));
    FSOUND_Stream_Stop(shot);
    EXPECT_TRUE(level_between(mixer_.render(4410), 0, 4410, 0));
    FSOUND_Stream_Close(shot);
}

TEST_F(Mixing, WholeStreamLoopsWithoutAGapAndCountsItsLoops)
{
    const std::vector<double> tone = audiotest::sine(kRate, 2, 10000, 441, 0.5);
    FSOUND_STREAM* hum = FSOUND_Stream_Open(wav("hum.wav", tone).c_str(), 0, 0, 0);
    FSOUND_Stream_SetLoopCount(hum, -1);
    FSOUND_Stream_Play(-1, hum);
    const std::vector<std::int16_t> out = mixer_.render(35000);
    for (std::size_t i = 0; i < out.size(); ++i) {
        ASSERT_EQ(out[i], static_cast<std::int16_t>(std::lround(tone[i % tone.size()] * 32767))) << i;
    }
    FSOUND_Stream_Close(hum);

    FSOUND_STREAM* shot = FSOUND_Stream_Open(wav("shot.wav", audiotest::level(4410, 0.2)).c_str(), 0, 0, 0);
    FSOUND_Stream_SetLoopCount(shot, 2);  // two more times after the first
    FSOUND_Stream_Play(-1, shot);
    const std::vector<std::int16_t> thrice = mixer_.render(20000);
    EXPECT_TRUE(level_between(thrice, 0, 3 * 4410, 6553));
    EXPECT_TRUE(level_between(thrice, 3 * 4410, 20000, 0));
    FSOUND_Stream_Close(shot);
}

TEST_F(Mixing, Mp3StreamIsDecodedWhilePlayingAndEnds)
{
    const std::optional<AudioClip> whole = Mp3Decoder::decode_file(tone_.c_str());
    ASSERT_TRUE(whole);
    FSOUND_STREAM* music = FSOUND_Stream_Open(tone_.c_str(), 0, 0, 0);
    ASSERT_TRUE(music->audio && music->audio->decoded_while_playing());
    FSOUND_Stream_Play(-1, music);
    const std::vector<std::int16_t> out = mixer_.render(30000);
    ASSERT_EQ(whole->frames(), 22050u);
    EXPECT_TRUE(std::equal(whole->pcm.begin(), whole->pcm.end(), out.begin()));
    EXPECT_TRUE(level_between(out, 22050, 30000, 0));
    EXPECT_FALSE(music->audio->playing());
    FSOUND_Stream_Close(music);
}

TEST_F(Mixing, Mp3StreamLoopsAcrossItsEndWithoutAGap)
{
    const std::optional<AudioClip> whole = Mp3Decoder::decode_file(tone_.c_str());
    ASSERT_TRUE(whole);
    FSOUND_STREAM* music = FSOUND_Stream_Open(tone_.c_str(), 0, 0, 0);
    FSOUND_Stream_SetLoopCount(music, -1);
    FSOUND_Stream_Play(-1, music);
    // Rendered in callback-sized pieces that do not divide the file or
    // the decoding pieces: every joint lands somewhere else.
    std::vector<std::int16_t> out;
    while (out.size() < 2 * (3 * whole->frames() + 1000)) {
        const std::vector<std::int16_t> piece = mixer_.render(511);
        out.insert(out.end(), piece.begin(), piece.end());
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        ASSERT_EQ(out[i], whole->pcm[i % whole->pcm.size()]) << "frame " << i / 2;
    }
    FSOUND_Stream_Close(music);
}

TEST_F(Mixing, Mp3StreamRestartsStopsAndCountsItsLoops)
{
    const std::optional<AudioClip> whole = Mp3Decoder::decode_file(tone_.c_str());
    ASSERT_TRUE(whole);
    FSOUND_STREAM* music = FSOUND_Stream_Open(tone_.c_str(), 0, 0, 0);
    FSOUND_Stream_Play(-1, music);
    mixer_.render(10000);
    FSOUND_Stream_Play(-1, music);  // from the start again
    const std::vector<std::int16_t> again = mixer_.render(5000);
    EXPECT_TRUE(std::equal(again.begin(), again.end(), whole->pcm.begin()));
    FSOUND_Stream_Stop(music);
    EXPECT_TRUE(level_between(mixer_.render(kRate), 0, kRate, 0));
    FSOUND_Stream_Stop(music);  // stopping a stopped stream changes nothing

    FSOUND_Stream_SetLoopCount(music, 1);  // read at the next play
    FSOUND_Stream_Play(-1, music);
    const std::vector<std::int16_t> twice = mixer_.render(3 * 22050);
    EXPECT_EQ(audiotest::audible_frames(twice), 2 * 22050u);
    EXPECT_TRUE(std::equal(whole->pcm.begin(), whole->pcm.end(), twice.begin() + 2 * 22050));
    EXPECT_TRUE(level_between(twice, 2 * 22050, 3 * 22050, 0));
    FSOUND_Stream_Close(music);
}

// The page keeps sound queued ahead: what starts meanwhile is mixed alone
// at once, and the queue's next buffer takes each sound on where it left.
TEST_F(Mixing, SoundsStartedOverAQueueAreMixedAloneAndGoOnFromThere)
{
    FSOUND_SAMPLE* hum = sample("hum.wav", audiotest::level(kRate, 0.1));  // 3277, already queued
    FSOUND_SAMPLE* click = sample("click.wav", audiotest::level(1000, 0.02));  // 655
    FSOUND_STREAM* shot = FSOUND_Stream_Open(wav("shot.wav", ramp(22050)).c_str(), 0, 0, 0);
    FSOUND_PlaySound(-1, hum);
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 3277));
    std::vector<std::int16_t> ahead(2 * 300, 0x5555);
    EXPECT_FALSE(AudioLayer::instance().mix_started(ahead.data(), 300));
    EXPECT_EQ(ahead[0], 0x5555);

    FSOUND_Stream_Play(-1, shot);
    FSOUND_PlaySound(-1, click);
    ASSERT_TRUE(AudioLayer::instance().mix_started(ahead.data(), 300));
    EXPECT_EQ(ahead[0], ramp_at(0, 22050) + 655);
    EXPECT_EQ(ahead[2 * 299 + 1], ramp_at(299, 22050) + 655);
    EXPECT_FALSE(AudioLayer::instance().mix_started(ahead.data(), 300));  // once only

    const std::vector<std::int16_t> next = mixer_.render(800);
    EXPECT_EQ(next[0], 3277 + ramp_at(300, 22050) + 655);
    EXPECT_EQ(next[2 * 699], 3277 + ramp_at(999, 22050) + 655);
    EXPECT_EQ(next[2 * 700], 3277 + ramp_at(1000, 22050));  // the click has ended

    // A stream started again is new again; one stopped before the queue
    // took it is not.
    FSOUND_Stream_Play(-1, shot);
    ASSERT_TRUE(AudioLayer::instance().mix_started(ahead.data(), 10));
    EXPECT_EQ(ahead[0], ramp_at(0, 22050));
    FSOUND_Stream_Play(-1, shot);
    FSOUND_Stream_Stop(shot);
    EXPECT_FALSE(AudioLayer::instance().mix_started(ahead.data(), 10));
    FSOUND_Stream_Close(shot);
    FSOUND_Sample_Free(click);
    FSOUND_Sample_Free(hum);
}

TEST_F(Mixing, BusySampleVoicesNeverCutAStream)
{
    FSOUND_STREAM* music = FSOUND_Stream_Open(wav("music.wav", audiotest::level(kRate, 0.1)).c_str(), 0, 0, 0);
    FSOUND_SAMPLE* shot = sample("shot.wav", audiotest::level(kRate, 0.01));  // 328
    FSOUND_Stream_Play(-1, music);  // 3277
    for (int i = 0; i < 40; ++i) {
        FSOUND_PlaySound(-1, shot);
    }
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 3277 + 32 * 328));
    FSOUND_Sample_Free(shot);
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 3277));
    FSOUND_Stream_Close(music);
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 0));
}

TEST_F(Mixing, ClosingHandlesWhilePlayingAndAfterCloseIsSafe)
{
    FSOUND_STREAM* music = FSOUND_Stream_Open(tone_.c_str(), 0, 0, 0);
    FSOUND_STREAM* shot = FSOUND_Stream_Open(wav("shot.wav", ramp(4410)).c_str(), 0, 0, 0);
    FSOUND_SAMPLE* hum = sample("hum.wav", audiotest::level(kRate, 0.1));
    FSOUND_Stream_SetLoopCount(music, -1);
    FSOUND_Stream_Play(-1, music);
    FSOUND_Stream_Play(-1, shot);
    FSOUND_PlaySound(-1, hum);
    mixer_.render(4410);
    FSOUND_Stream_Close(shot);  // while playing
    FSOUND_Close();             // music still playing, handles still open
    EXPECT_EQ(FSOUND_Stream_Play(-1, music), -1);
    EXPECT_EQ(FSOUND_PlaySound(-1, hum), -1);
    EXPECT_TRUE(level_between(mixer_.render(441), 0, 441, 0));
    FSOUND_Stream_Stop(music);
    EXPECT_EQ(FSOUND_Stream_Close(music), 1);
    FSOUND_Sample_Free(hum);
}
