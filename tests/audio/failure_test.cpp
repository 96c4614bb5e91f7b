// Every failure is a silent no-op: no device, no init, missing or damaged
// files, stale handles, calls after FSOUND_Close. The one thing ever
// printed is a WMA its decoder program cannot turn into sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "audio/wma_client.h"
#include "audio_test_util.h"
#include "listener.h"

using audiotest::TempDir;
using audiotest::Unplugged;

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

std::string wma_fixture()
{
    return audiotest::fixture("tone_v1.wma").string();
}

// A stand-in decoder program: a shell script.
std::string script(const TempDir& dir, const char* name, const std::string& body)
{
    const std::string path = dir.file(name);
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path;
}

int lines_in(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

TEST(AudioFailures, HandlesOpenedWithoutInitExistAndStaySilentAfterIt)
{
    testing::internal::CaptureStderr();
    FSOUND_STREAM* stream = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, wma_fixture().c_str(), 0, 0, 0);
    ASSERT_NE(stream, nullptr);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(stream->audio, nullptr);  // nothing decoded without a device
    EXPECT_EQ(sample->clip, nullptr);
    exercise(stream, sample);
    {
        testsupport::Listener listener;  // the mixer, once the handles exist
        exercise(stream, sample);
        EXPECT_EQ(FSOUND_Stream_Play(-1, stream), -1);
        EXPECT_EQ(FSOUND_PlaySound(-1, sample), -1);
        EXPECT_EQ(listener.listen(), testsupport::Heard{});
    }
    EXPECT_EQ(FSOUND_Stream_Close(stream), 1);
    FSOUND_Sample_Free(sample);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(AudioFailures, NullAndReleasedHandlesAreIgnored)
{
    Unplugged mixer;
    exercise(nullptr, nullptr);
    EXPECT_EQ(FSOUND_Stream_Play(-1, nullptr), -1);
    EXPECT_EQ(FSOUND_PlaySound(-1, nullptr), -1);
    EXPECT_EQ(FSOUND_Stream_Close(nullptr), 0);
    FSOUND_Sample_Free(nullptr);
    EXPECT_EQ(audiotest::audible_frames(mixer.render(4410)), 0u);

    FSOUND_STREAM* stream = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, wma_fixture().c_str(), 0, 0, 0);
    ASSERT_NE(sample->clip, nullptr);
    FSOUND_Stream_Play(-1, stream);
    FSOUND_PlaySound(-1, sample);
    EXPECT_EQ(FSOUND_Stream_Close(stream), 1);
    FSOUND_Sample_Free(sample);
    // A second release of the same handle must not free it twice.
    EXPECT_EQ(FSOUND_Stream_Close(stream), 0);
    FSOUND_Sample_Free(sample);
    EXPECT_EQ(FSOUND_Stream_Play(-1, stream), -1);
    EXPECT_EQ(FSOUND_PlaySound(-1, sample), -1);
    EXPECT_EQ(audiotest::audible_frames(mixer.render(4410)), 0u);
}

TEST(AudioFailures, MissingAndCorruptFilesGiveSilentHandlesQuietly)
{
    Unplugged mixer;
    TempDir dir;
    testsupport::write_file(dir.file("noise.wav"), std::string(3000, '\x11'));
    testsupport::write_file(dir.file("bad.mp3"), "ID3 but nothing after");
    testing::internal::CaptureStderr();
    for (std::string path : {dir.file("absent.mp3"), dir.file("absent.wma"), dir.file("noise.wav"),
                             dir.file("bad.mp3")}) {
        SCOPED_TRACE(path);
        FSOUND_STREAM* stream = FSOUND_Stream_Open(path.c_str(), 0, 0, 0);
        FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, path.c_str(), 0, 0, 0);
        ASSERT_NE(stream, nullptr);
        ASSERT_NE(sample, nullptr);
        EXPECT_EQ(stream->audio, nullptr);
        EXPECT_EQ(sample->clip, nullptr);
        exercise(stream, sample);
        EXPECT_EQ(FSOUND_Stream_Play(-1, stream), -1);
        EXPECT_EQ(FSOUND_PlaySound(-1, sample), -1);
        EXPECT_EQ(audiotest::audible_frames(mixer.render(4410)), 0u);
        FSOUND_Stream_Close(stream);
        FSOUND_Sample_Free(sample);
    }
    FSOUND_STREAM* unnamed = FSOUND_Stream_Open(nullptr, 0, 0, 0);
    EXPECT_NE(unnamed, nullptr);
    FSOUND_Stream_Close(unnamed);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(AudioFailures, CloseTwiceAndCallsAfterCloseDoNothing)
{
    {
        Unplugged mixer;
        FSOUND_Close();
        FSOUND_Close();
    }
    FSOUND_STREAM* stream = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    exercise(stream, sample);
    EXPECT_EQ(stream->audio, nullptr);
    EXPECT_EQ(sample->clip, nullptr);
    FSOUND_Stream_Close(stream);
    FSOUND_Sample_Free(sample);
    FSOUND_Close();
}

// Each way the decoder program can fail: one line naming the file and
// why, no sound, and the program never left behind.
TEST(WmaDecoderFailures, AreToldInOneLineNamingTheFile)
{
    TempDir dir;
    const std::string wma = wma_fixture();
    const std::string pid_file = dir.file("pid");
    const std::string lingering_pid_file = dir.file("lingering-pid");
    struct Case {
        std::string decoder;
        const char* why;
    };
    const Case cases[] = {
        {dir.file("absent-decoder"), "cannot be started: No such file or directory"},
        {script(dir, "refuses", "exit 3"), "it is not a sound"},
        {script(dir, "libraries", "exit 127"), "are FFmpeg's libraries"},
        {script(dir, "crashes", "kill -SEGV $$"), "killed by signal 11"},
        {script(dir, "babbles", "echo hello; exit 0"), "gave a malformed answer"},
        {script(dir, "hangs", "echo $$ >" + pid_file + "; exec sleep 30"), "did not finish within 300 ms"},
        // Its output closed, yet still running: no waiting for it past the deadline.
        {script(dir, "lingers", "exec >&-; echo $$ >" + lingering_pid_file + "; exec sleep 60"),
         "did not finish within 300 ms"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.decoder);
        testing::internal::CaptureStderr();
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(wma_client::decode(wma.c_str(), c.decoder, 0.3));
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        EXPECT_LT(waited.count(), 20000) << "ms waited for a decoder given 300 ms";
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(lines_in(said), 1) << said;
        EXPECT_EQ(said.rfind("tirevane: the sound " + wma + " stays silent: ", 0), 0u) << said;
        EXPECT_NE(said.find(c.why), std::string::npos) << said;
    }
    // The hung decoders were killed and reaped: no process, not even a zombie.
    for (const std::string& file : {pid_file, lingering_pid_file}) {
        const pid_t hung = std::stoi(testsupport::read_file(file));
        EXPECT_EQ(kill(hung, 0), -1);
        EXPECT_EQ(errno, ESRCH);
    }
}

TEST(WmaDecoderFailures, LeaveTheSampleSilentAndTheRestPlaying)
{
    Unplugged mixer;
    const std::string build_decoder = wma_client::decoder_path();
    setenv("TIREVANE_WMA_DECODER", "/nonexistent/tirevane-wma-decoder", 1);
    testing::internal::CaptureStderr();
    FSOUND_SAMPLE* wma = FSOUND_Sample_Load(-1, wma_fixture().c_str(), 0, 0, 0);
    const std::string said = testing::internal::GetCapturedStderr();
    setenv("TIREVANE_WMA_DECODER", build_decoder.c_str(), 1);
    EXPECT_EQ(said, "tirevane: the sound " + wma_fixture() +
                        " stays silent: the WMA decoder /nonexistent/tirevane-wma-decoder cannot be "
                        "started: No such file or directory\n");
    EXPECT_EQ(wma->clip, nullptr);
    EXPECT_EQ(FSOUND_PlaySound(-1, wma), -1);
    FSOUND_SAMPLE* mp3 = FSOUND_Sample_Load(-1, audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
    EXPECT_EQ(FSOUND_PlaySound(-1, mp3), 0);
    EXPECT_GT(audiotest::audible_frames(mixer.render(4410)), 4000u);
    FSOUND_Sample_Free(wma);
    FSOUND_Sample_Free(mp3);
}

// libasound prints when asked for a device that does not exist; the game
// must not. Tried in a fresh copy of this program, with SDL told to use
// ALSA on a device name that exists nowhere.
TEST(AudioFailures, NoDeviceIsQuiet)
{
    if (std::getenv("TIREVANE_AUDIO_NO_DEVICE_CHILD")) {
        EXPECT_EQ(FSOUND_Init(44100, 32, 0), 0);
        FSOUND_STREAM* stream = FSOUND_Stream_Open(audiotest::fixture("tone.mp3").c_str(), 0, 0, 0);
        EXPECT_EQ(stream->audio, nullptr) << "nothing decoded without a device";
        FSOUND_SAMPLE* sample = FSOUND_Sample_Load(-1, wma_fixture().c_str(), 0, 0, 0);
        exercise(stream, sample);
        EXPECT_EQ(FSOUND_Stream_Play(-1, stream), -1);
        EXPECT_EQ(FSOUND_PlaySound(-1, sample), -1);
        FSOUND_Stream_Close(stream);
        FSOUND_Sample_Free(sample);
        FSOUND_Close();
        return;
    }
    TempDir dir;
    const std::string err = dir.file("stderr.txt");
    // Resolved here, not by exec: under valgrind /proc/self/exe is valgrind.
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("TIREVANE_AUDIO_NO_DEVICE_CHILD", "1", 1);
        setenv("SDL_AUDIODRIVER", "alsa", 1);
        setenv("AUDIODEV", "tirevane_no_such_pcm", 1);
        if (!freopen(err.c_str(), "w", stderr) || !freopen("/dev/null", "w", stdout)) {
            _exit(3);
        }
        execl(self.c_str(), "test_audio", "--gtest_filter=AudioFailures.NoDeviceIsQuiet",
              static_cast<char*>(nullptr));
        _exit(4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(testsupport::read_file(err), "");
}
