// Reading every format the game ships into what the mixer plays:
// 16-bit samples at 44100 Hz, mono or stereo as the file was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "audio/mp3_decoder.h"
#include "audio/sound_file.h"
#include "audio_test_util.h"
#include "core/assets.h"

using audiotest::TempDir;
using audiotest::fixture;
using audiotest::write_wav;

namespace {

// Upward zero crossings per second on the first channel.
double frequency_of(const AudioClip& clip)
{
    int crossings = 0;
    const std::size_t step = static_cast<std::size_t>(clip.channels);
    for (std::size_t i = step; i < clip.pcm.size(); i += step) {
        crossings += clip.pcm[i - step] < 0 && clip.pcm[i] >= 0;
    }
    return crossings * 44100.0 / static_cast<double>(clip.frames());
}

double rms_of(const AudioClip& clip, std::size_t from_frame, std::size_t to_frame)
{
    return audiotest::rms(clip.pcm, from_frame * clip.channels, to_frame * clip.channels, 32768);
}

}  // namespace

TEST(SoundFiles, PcmWavOfEveryShapeComesOutAt44kAndTheSameLevel)
{
    TempDir dir;
    struct Shape {
        int rate, channels, bits;
    };
    for (Shape shape : {Shape{44100, 2, 16}, Shape{44100, 1, 16}, Shape{44100, 1, 8},
                        Shape{44100, 2, 8}, Shape{22050, 1, 8}, Shape{48000, 2, 16},
                        Shape{11025, 2, 8}, Shape{8000, 1, 16}}) {
        SCOPED_TRACE(testing::Message() << shape.rate << " Hz, " << shape.channels << " ch, "
                                        << shape.bits << " bit");
        const std::string path = dir.file("shape.wav");
        // Half a second of 441 Hz at half scale.
        write_wav(path, shape.rate, shape.channels, shape.bits,
                  audiotest::sine(shape.rate, shape.channels, shape.rate / 2, 441, 0.5));
        const std::optional<AudioClip> clip = sound_file::load(path.c_str());
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->channels, shape.channels);
        EXPECT_NEAR(static_cast<double>(clip->frames()), 22050, 64);
        EXPECT_NEAR(rms_of(*clip, 0, clip->frames()), 0.5 / std::sqrt(2.0), 0.01);
        EXPECT_NEAR(frequency_of(*clip), 441, 4);
    }
}

TEST(SoundFiles, SixteenBitAt44kPassesThroughUnchangedAndEightBitMapsExactly)
{
    TempDir dir;
    std::vector<double> samples;
    for (int i = 0; i < 1000; ++i) {
        samples.push_back((i % 200 - 100) / 128.0);
        samples.push_back(-(i % 50) / 64.0);
    }
    write_wav(dir.file("exact.wav"), 44100, 2, 16, samples);
    const std::optional<AudioClip> exact = sound_file::load(dir.file("exact.wav").c_str());
    ASSERT_TRUE(exact);
    ASSERT_EQ(exact->pcm.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_EQ(exact->pcm[i], static_cast<std::int16_t>(std::lround(samples[i] * 32767))) << i;
    }

    // Unsigned bytes around 128: written as lround(128 + v * 127).
    write_wav(dir.file("bytes.wav"), 44100, 1, 8, {-128 / 127.0, -1 / 127.0, 0.0, 1 / 127.0, 1.0});
    const std::optional<AudioClip> bytes = sound_file::load(dir.file("bytes.wav").c_str());
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->pcm, (std::vector<std::int16_t>{-32768, -256, 0, 256, 32512}));
}

TEST(SoundFiles, OtherRatesAreInterpolatedBetweenNeighbours)
{
    // 22050 Hz doubled: every second frame lies halfway between two
    // neighbours, and the last is held.
    TempDir dir;
    write_wav(dir.file("half.wav"), 22050, 1, 16,
              {0.0, 1000 / 32767.0, 3000 / 32767.0, -1000 / 32767.0});
    const std::optional<AudioClip> half = sound_file::load(dir.file("half.wav").c_str());
    ASSERT_TRUE(half);
    EXPECT_EQ(half->pcm, (std::vector<std::int16_t>{0, 500, 1000, 2000, 3000, 1000, -1000, -1000}));
}

TEST(SoundFiles, CompressedFormatsDecodeToTheirLengthLevelAndTone)
{
    struct Expected {
        const char* name;
        int channels;
        std::size_t frames;
    };
    // tone.mp3: 0.5 s at 44100 Hz stereo, its padding trimmed; the WMA
    // decoder drops the last partial block of tone_v1 (stereo, 44100 Hz)
    // and tone_v2 (mono, 22050 Hz, brought to 44100 Hz).
    for (Expected e : {Expected{"tone.mp3", 2, 22050}, Expected{"tone_v1.wma", 2, 20480},
                       Expected{"tone_v2.wma", 1, 20480}}) {
        SCOPED_TRACE(e.name);
        const std::optional<AudioClip> clip = sound_file::load(fixture(e.name).c_str());
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->channels, e.channels);
        EXPECT_EQ(clip->frames(), e.frames);
        const std::size_t middle = clip->frames() / 2;
        EXPECT_NEAR(rms_of(*clip, middle - 4410, middle + 4410), 0.5 / std::sqrt(2.0), 0.04);
        EXPECT_NEAR(frequency_of(*clip), 441, 15);
    }
}

TEST(SoundFiles, Mp3ReadInPiecesAndRewoundGivesTheWholeFileAgain)
{
    const std::optional<AudioClip> whole = Mp3Decoder::decode_file(fixture("tone.mp3").c_str());
    ASSERT_TRUE(whole);

    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.open(fixture("tone.mp3").c_str()));
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::int16_t> pieces;
        std::vector<std::int16_t> piece(2 * 1000);
        while (std::size_t got = decoder.read(piece.data(), 1000)) {
            pieces.insert(pieces.end(), piece.begin(), piece.begin() + static_cast<long>(got) * 2);
        }
        EXPECT_EQ(pieces, whole->pcm) << "pass " << pass;
        EXPECT_EQ(decoder.read(piece.data(), 1000), 0u);  // stays at the end
        ASSERT_TRUE(decoder.rewind());
    }
}

TEST(SoundFiles, MissingCorruptOrEmptyFilesGiveNothing)
{
    TempDir dir;
    testsupport::write_file(dir.file("noise.mp3"), std::string(4096, '\x5a'));
    testsupport::write_file(dir.file("empty.wav"), "");
    testsupport::write_file(dir.file("text.wma"), "not a sound at all\n");
    testsupport::write_file(dir.file("id3.mp3"), "ID3 but nothing after");
    write_wav(dir.file("silent.wav"), 44100, 2, 16, {});
    std::string floats = testsupport::read_file(
        (write_wav(dir.file("float.wav"), 44100, 1, 16, audiotest::level(100, 0.5, 1)), dir.file("float.wav")));
    floats[20] = 3;  // IEEE float, which the game does not ship
    testsupport::write_file(dir.file("float.wav"), floats);
    for (std::string path : {dir.file("absent.wav"), dir.file("noise.mp3"), dir.file("empty.wav"),
                             dir.file("text.wma"), dir.file("id3.mp3"), dir.file("silent.wav"),
                             dir.file("float.wav")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(sound_file::load(path.c_str()));
        EXPECT_EQ(sound_file::open_stream(path.c_str()), nullptr);
    }
    EXPECT_FALSE(sound_file::load(nullptr));
    Mp3Decoder decoder;
    EXPECT_FALSE(decoder.open(nullptr));
    std::int16_t out[8];
    EXPECT_EQ(decoder.read(out, 4), 0u);
    EXPECT_FALSE(decoder.rewind());
}

TEST(SoundFiles, WavLongerThanTenMinutesAtTheGamesRateIsRefused)
{
    // A header claiming a rate of a few hertz: 200 KB at 1 Hz would be
    // 8.8 billion frames at 44100 Hz.
    TempDir dir;
    write_wav(dir.file("one_hertz.wav"), 1, 1, 8, audiotest::level(200000, 0.5, 1));
    EXPECT_FALSE(sound_file::load(dir.file("one_hertz.wav").c_str()));
    EXPECT_EQ(sound_file::open_stream(dir.file("one_hertz.wav").c_str()), nullptr);

    // At 10 Hz, 6000 frames are exactly ten minutes; one frame more is over.
    write_wav(dir.file("ten_minutes.wav"), 10, 1, 8, audiotest::level(6000, 0.5, 1));
    const std::optional<AudioClip> longest = sound_file::load(dir.file("ten_minutes.wav").c_str());
    ASSERT_TRUE(longest);
    EXPECT_EQ(longest->frames(), 26460000u);
    write_wav(dir.file("over.wav"), 10, 1, 8, audiotest::level(6001, 0.5, 1));
    EXPECT_FALSE(sound_file::load(dir.file("over.wav").c_str()));
}

TEST(SoundFiles, TruncatedWavYieldsWhatItHolds)
{
    TempDir dir;
    write_wav(dir.file("full.wav"), 44100, 2, 16, audiotest::sine(44100, 2, 4410, 441, 0.5));
    std::string bytes = testsupport::read_file(dir.file("full.wav"));
    bytes.resize(44 + 4 * 1000 + 3);  // header still claims 4410 frames; a partial frame after
    testsupport::write_file(dir.file("cut.wav"), bytes);
    const std::optional<AudioClip> clip = sound_file::load(dir.file("cut.wav").c_str());
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->frames(), 1000u);
}

TEST(SoundFiles, EveryShippedSoundDecodesWhole)
{
    struct Expected {
        const char* file;
        int channels;
        std::size_t frames;
    };
    const Expected shipped[] = {
        {assets::kMenuMusic, 2, 1693440},  // 38.4 s,
        {assets::kHitShot, 1, 22050},
        {assets::kMissShot, 1, 26460},
        {"System/Sounds/future_plasma.wma", 1, 22528},
        {"System/Sounds/high_flight_combat.wma", 1, 22528},
        {"System/Sounds/heavy_weapon.wma", 1, 38912},
        {"System/Sounds/simple.wav", 1, 11025},
        {"System/Sounds/sniper.wav", 1, 39690},
    };
    for (const Expected& e : shipped) {
        SCOPED_TRACE(e.file);
        const std::optional<AudioClip> clip = sound_file::load((testsupport::source_dir() / e.file).c_str());
        ASSERT_TRUE(clip);
        EXPECT_EQ(clip->channels, e.channels);
        EXPECT_EQ(clip->frames(), e.frames);
        EXPECT_GT(rms_of(*clip, 0, clip->frames()), 0.01);
    }
    for (const auto& visor : assets::kVisors) {
        EXPECT_TRUE(std::any_of(std::begin(shipped), std::end(shipped),
                                [&](const Expected& e) { return std::string(e.file) == visor.hit_sound; }))
            << visor.hit_sound << " is not checked";
    }
}
