#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "audio_test_util.h"

using audiotest::Loopback;
using audiotest::TempDir;

namespace {

// Every operation on `stream` and `sample`, in the order the game uses them.
void exercise(FSOUND_STREAM* stream, FSOUND_SAMPLE* sample)
{
    FSOUND_Stream_SetLoopCount(stream, -1);
    FSOUND_Stream_Play(-1, stream);
    FSOUND_Stream_Play(-1, stream);
    FSOUND_Stream_Stop(stream);
    FSOUND_PlaySound(-1, sample);
}

}  // namespace

TEST(AudioFailures, WithoutInitHandlesExistCountTheirPlaysAndStaySilent)
{
    ASSERT_EQ(AudioLayer::instance().device(), nullptr);
    FSOUND_STREAM* stream = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    ASSERT_NE(stream, nullptr);
    ASSERT_NE(sample, nullptr);
    exercise(stream, sample);
    EXPECT_EQ(audio_probe::stream_play_count(stream), 2u);
    EXPECT_EQ(audio_probe::sample_play_count(sample), 1u);
    EXPECT_EQ(FSOUND_Stream_Close(stream), 1);
    FSOUND_Sample_Free(sample);
}

TEST(AudioFailures, NullAndReleasedHandlesAreIgnored)
{
    exercise(nullptr, nullptr);
    EXPECT_EQ(FSOUND_Stream_Close(nullptr), 0);
    FSOUND_Sample_Free(nullptr);
    EXPECT_EQ(audio_probe::stream_play_count(nullptr), 0u);
    EXPECT_EQ(audio_probe::sample_play_count(nullptr), 0u);

    Loopback loopback;
    FSOUND_STREAM* stream = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, audiotest::fixture("tone_v1.wma").c_str(), 0, 0, 0);
    EXPECT_EQ(FSOUND_Stream_Close(stream), 1);
    FSOUND_Sample_Free(sample);
    // A second release of the same handle must not free it twice.
    EXPECT_EQ(FSOUND_Stream_Close(stream), 0);
    FSOUND_Sample_Free(sample);
    EXPECT_EQ(FSOUND_Stream_Play(-1, stream), -1);
    EXPECT_EQ(FSOUND_PlaySound(-1, sample), -1);
}

TEST(AudioFailures, MissingAndCorruptFilesGiveSilentHandles)
{
    Loopback loopback;
    ASSERT_TRUE(loopback.ok());
    TempDir dir;
    testsupport::write_file(dir.file("noise.wav"), std::string(3000, '\x11'));
    testsupport::write_file(dir.file("bad.mp3"), "ID3 but nothing after");
    for (std::string path : {dir.file("absent.mp3"), dir.file("noise.wav"), dir.file("bad.mp3")}) {
        SCOPED_TRACE(path);
        FSOUND_STREAM* stream = FSOUND_Stream_Open(path.c_str(), 0, 0, 0);
        FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, path.c_str(), 0, 0, 0);
        ASSERT_NE(stream, nullptr);
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(stream->audio, nullptr);
        EXPECT_EQ(sample->clip, nullptr);
        exercise(stream, sample);
        EXPECT_EQ(audio_probe::stream_play_count(stream), 2u);
        EXPECT_EQ(audio_probe::sample_play_count(sample), 1u);
        const std::vector<float> out = loopback.render(4410);
        EXPECT_EQ(audiotest::audible_frames(out, 0.0f), 0u);
        FSOUND_Stream_Close(stream);
        FSOUND_Sample_Free(sample);
    }
    FSOUND_STREAM* unnamed = FSOUND_Stream_Open(nullptr, 0, 0, 0);
    EXPECT_NE(unnamed, nullptr);
    FSOUND_Stream_Close(unnamed);
}

TEST(AudioFailures, CloseTwiceAndCallsAfterCloseDoNothing)
{
    {
        Loopback loopback;
        ASSERT_TRUE(loopback.ok());
        FSOUND_Close();
        FSOUND_Close();
    }
    FSOUND_STREAM* stream = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    exercise(stream, sample);
    EXPECT_EQ(stream->audio, nullptr);
    FSOUND_Stream_Close(stream);
    FSOUND_Sample_Free(sample);
    FSOUND_Close();
}

// The real output device, when the environment provides one (the test
// runner names OpenAL Soft's null driver): it opens, plays in real time,
// and its configured buffering keeps the latency low.
TEST(AudioDevice, DefaultDeviceOpensPlaysAndHasLowLatency)
{
    if (!FSOUND_Init(44100, 32, 0)) {
        GTEST_SKIP() << "no output device here";
    }
    AudioDevice* device = AudioLayer::instance().device();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->voice_count(), 32);
    EXPECT_EQ(FSOUND_Init(44100, 32, 0), 1);  // a second init keeps the device
    EXPECT_EQ(AudioLayer::instance().device(), device);
    EXPECT_LE(device->configured_latency_ms(), 30.0);

    FSOUND_STREAM* music = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* shot = FSOUND_Sample_Load(-1, audiotest::fixture("tone_v2.wma").c_str(), 0, 0, 0);
    ASSERT_NE(music->audio, nullptr);
    ASSERT_NE(shot->clip, nullptr);
    FSOUND_Stream_SetLoopCount(music, -1);
    FSOUND_Stream_Play(-1, music);
    for (int i = 0; i < 40; ++i) {
        FSOUND_PlaySound(-1, shot);
    }
    ALint state = AL_STOPPED;
    alGetSourcei(music->audio->source(), AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_PLAYING);
    FSOUND_Close();  // while everything plays
    FSOUND_Stream_Close(music);
    FSOUND_Sample_Free(shot);
}

// OpenAL reads its environment once per process, so a missing device is
// tried in a fresh copy of this program: ALSA asked for a device that
// does not exist, the log level left unset. It must fail quietly.
TEST(AudioFailures, NoDeviceIsQuietAndQuick)
{
    if (std::getenv("TIREVANE_AUDIO_NO_DEVICE_CHILD")) {
        EXPECT_EQ(FSOUND_Init(44100, 32, 0), 0);
        FSOUND_STREAM* stream = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
        FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
        exercise(stream, sample);
        EXPECT_EQ(audio_probe::sample_play_count(sample), 1u);
        FSOUND_Stream_Close(stream);
        FSOUND_Sample_Free(sample);
        FSOUND_Close();
        return;
    }
    TempDir dir;
    const std::string conf = dir.file("alsoft.conf");
    const std::string err = dir.file("stderr.txt");
    std::ofstream(conf) << "[alsa]\ndevice = tirevane_no_such_pcm\n";
    // Resolved here, not by exec: under valgrind /proc/self/exe is valgrind.
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("TIREVANE_AUDIO_NO_DEVICE_CHILD", "1", 1);
        setenv("ALSOFT_DRIVERS", "alsa", 1);
        setenv("ALSOFT_CONF", conf.c_str(), 1);
        unsetenv("ALSOFT_LOGLEVEL");
        if (!freopen(err.c_str(), "w", stderr) || !freopen("/dev/null", "w", stdout)) {
            _exit(3);
        }
        execl(self.c_str(), "test_audio", "--gtest_filter=AudioFailures.NoDeviceIsQuietAndQuick",
              static_cast<char*>(nullptr));
        _exit(4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(testsupport::read_file(err), "");
}
