#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/assets.h"
#include "audio/audio_decoder.h"
#include "audio_test_util.h"

using audiotest::TempDir;
using audiotest::fixture;
using audiotest::write_wav;

namespace {

// Upward zero crossings per second on the left channel.
double frequency_of(const std::vector<std::int16_t>& pcm)
{
    int crossings = 0;
    for (std::size_t i = 2; i < pcm.size(); i += 2) {
        crossings += pcm[i - 2] < 0 && pcm[i] >= 0;
    }
    return crossings * 44100.0 / (pcm.size() / 2.0);
}

double left_right_difference(const std::vector<std::int16_t>& pcm)
{
    double worst = 0;
    for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
        worst = std::max(worst, std::fabs(double(pcm[i]) - pcm[i + 1]));
    }
    return worst;
}

}  // namespace

TEST(AudioDecoder, PcmWavOfEveryShapeBecomes44kStereoAtTheSameLevel)
{
    TempDir dir;
    struct Shape {
        int rate, channels, bits;
    };
    for (Shape shape : {Shape{44100, 2, 16}, Shape{44100, 1, 16}, Shape{22050, 1, 8},
                        Shape{48000, 2, 16}, Shape{11025, 2, 8}, Shape{8000, 1, 16}}) {
        SCOPED_TRACE(testing::Message() << shape.rate << " Hz, " << shape.channels << " ch, "
                                        << shape.bits << " bit");
        const std::string path = dir.file("shape.wav");
        // Half a second of 441 Hz at half scale.
        write_wav(path, shape.rate, shape.channels, shape.bits,
                  audiotest::sine(shape.rate, shape.channels, shape.rate / 2, 441, 0.5));
        std::vector<std::int16_t> pcm;
        ASSERT_TRUE(AudioDecoder::decode_file(path.c_str(), pcm));
        EXPECT_NEAR(pcm.size() / 2.0, 22050, 64);
        EXPECT_NEAR(audiotest::rms(pcm, 0, pcm.size(), 32768), 0.5 / std::sqrt(2.0), 0.01);
        EXPECT_NEAR(frequency_of(pcm), 441, 4);
        EXPECT_LE(left_right_difference(pcm), 1.0);  // mono reaches both sides in full
    }
}

TEST(AudioDecoder, Stereo16BitAt44kPassesThroughUnchanged)
{
    TempDir dir;
    std::vector<double> samples;
    for (int i = 0; i < 1000; ++i) {
        samples.push_back((i % 200 - 100) / 128.0);
        samples.push_back(-(i % 50) / 64.0);
    }
    write_wav(dir.file("exact.wav"), 44100, 2, 16, samples);
    std::vector<std::int16_t> pcm;
    ASSERT_TRUE(AudioDecoder::decode_file(dir.file("exact.wav").c_str(), pcm));
    ASSERT_EQ(pcm.size(), samples.size());
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        ASSERT_EQ(pcm[i], static_cast<std::int16_t>(std::lround(samples[i] * 32767))) << i;
    }
}

TEST(AudioDecoder, CompressedFormatsDecodeToTheirLengthAndTone)
{
    for (const char* name : {"tone.mp3", "tone_v1.wma", "tone_v2.wma"}) {
        SCOPED_TRACE(name);
        std::vector<std::int16_t> pcm;
        ASSERT_TRUE(AudioDecoder::decode_file(fixture(name).c_str(), pcm));
        // Encoders pad a little at either end.
        EXPECT_NEAR(pcm.size() / 2.0 / 44100.0, 0.5, 0.06);
        const std::size_t middle = pcm.size() / 2;
        EXPECT_NEAR(audiotest::rms(pcm, middle - 4410, middle + 4410, 32768), 0.5 / std::sqrt(2.0),
                    0.04);
        EXPECT_NEAR(frequency_of(pcm), 441, 15);
    }
}

TEST(AudioDecoder, ReadingInPiecesAndRewindingGiveTheWholeFileAgain)
{
    std::vector<std::int16_t> whole;
    ASSERT_TRUE(AudioDecoder::decode_file(fixture("tone.mp3").c_str(), whole));

    AudioDecoder decoder;
    ASSERT_TRUE(decoder.open(fixture("tone.mp3").c_str()));
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::int16_t> pieces;
        std::vector<std::int16_t> piece(2 * 1000);
        while (std::size_t got = decoder.read(piece.data(), 1000)) {
            pieces.insert(pieces.end(), piece.begin(), piece.begin() + got * 2);
        }
        EXPECT_EQ(pieces, whole) << "pass " << pass;
        EXPECT_EQ(decoder.read(piece.data(), 1000), 0u);  // stays at the end
        ASSERT_TRUE(decoder.rewind());
    }
}

TEST(AudioDecoder, MissingCorruptOrEmptyFilesAreRefused)
{
    TempDir dir;
    testsupport::write_file(dir.file("noise.mp3"), std::string(4096, '\x5a'));
    testsupport::write_file(dir.file("empty.wav"), "");
    testsupport::write_file(dir.file("text.wma"), "not a sound at all\n");
    std::vector<std::int16_t> pcm{1, 2, 3};
    for (std::string path : {dir.file("absent.wav"), dir.file("noise.mp3"), dir.file("empty.wav"),
                             dir.file("text.wma")}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(AudioDecoder::decode_file(path.c_str(), pcm));
        EXPECT_TRUE(pcm.empty());
    }
    AudioDecoder decoder;
    EXPECT_FALSE(decoder.open(nullptr));
    std::int16_t out[8];
    EXPECT_EQ(decoder.read(out, 4), 0u);
    EXPECT_FALSE(decoder.rewind());
}

TEST(AudioDecoder, TruncatedWavYieldsWhatItHolds)
{
    TempDir dir;
    write_wav(dir.file("full.wav"), 44100, 2, 16, audiotest::sine(44100, 2, 4410, 441, 0.5));
    std::string bytes = testsupport::read_file(dir.file("full.wav"));
    bytes.resize(44 + 4 * 1000);  // header still claims 4410 frames
    testsupport::write_file(dir.file("cut.wav"), bytes);
    std::vector<std::int16_t> pcm;
    ASSERT_TRUE(AudioDecoder::decode_file(dir.file("cut.wav").c_str(), pcm));
    EXPECT_EQ(pcm.size(), 2000u);
}

TEST(AudioDecoder, EveryShippedSoundDecodesAndIsAudible)
{
    std::vector<const char*> files = {assets::kMenuMusic, assets::kHitShot, assets::kMissShot};
    for (const auto& visor : assets::kVisors) {
        files.push_back(visor.hit_sound);
    }
    int present = 0;
    for (const char* file : files) {
        const auto path = testsupport::source_dir() / file;
        if (!audiotest::fs::exists(path)) {
            continue;
        }
        ++present;
        SCOPED_TRACE(file);
        std::vector<std::int16_t> pcm;
        ASSERT_TRUE(AudioDecoder::decode_file(path.c_str(), pcm));
        EXPECT_GT(pcm.size(), 2u * 441);  // more than 10 ms
        EXPECT_GT(audiotest::rms(pcm, 0, pcm.size(), 32768), 0.01);
    }
    if (present == 0) {
        GTEST_SKIP() << "the game's sound files are not in the repository yet";
    }
}
