#include "audio/wma_client.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "wma_decoder/pcm_pipe.h"

extern char** environ;

namespace {

constexpr const char* kDecoderName = "tirevane-wma-decoder";

void report(const char* path, const std::string& why)
{
    std::fprintf(stderr, "tirevane: the sound %s stays silent: %s\n", path, why.c_str());
}

// Why the helper ended as it did, for the report; empty when it succeeded.
std::string exit_reason(int status, const std::string& decoder)
{
    if (WIFSIGNALED(status)) {
        return decoder + " was killed by signal " + std::to_string(WTERMSIG(status));
    }
    if (!WIFEXITED(status)) {
        return decoder + " ended abnormally";
    }
    switch (WEXITSTATUS(status)) {
    case 0:
        return "";
    case pcm_pipe::kExitUndecodable:
        return "it is not a sound " + decoder + " can decode";
    case 127:
        // The dynamic loader's status: a library it needs is missing.
        return decoder + " could not start (are FFmpeg's libraries, libavformat59 and "
                         "libavcodec59, installed?)";
    default:
        return decoder + " failed with status " + std::to_string(WEXITSTATUS(status));
    }
}

class Child {
public:
    ~Child()
    {
        if (fd_ >= 0) {
            close(fd_);
        }
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            reap();
        }
    }

    // Starts `decoder path` with its output on a pipe read here, its input
    // and errors on /dev/null. Returns 0 or an errno value.
    int start(const std::string& decoder, const char* path)
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            return errno;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::string arg0 = kDecoderName;
        std::string arg1 = path;
        char* argv[] = {arg0.data(), arg1.data(), nullptr};
        const int failed = posix_spawn(&pid_, decoder.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        fd_ = fds[0];
        if (failed != 0) {
            pid_ = -1;
        }
        return failed;
    }

    // Reads everything until the helper closes its output; false when the
    // deadline passes first.
    bool read_all(std::vector<char>& out, std::chrono::steady_clock::time_point deadline)
    {
        char piece[65536];
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            pollfd wait_for{fd_, POLLIN, 0};
            const int ready = poll(&wait_for, 1, static_cast<int>(left.count()) + 1);
            if (ready < 0 && errno != EINTR) {
                return false;
            }
            if (ready <= 0) {
                continue;
            }
            const ssize_t n = read(fd_, piece, sizeof piece);
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
                continue;
            }
            if (n <= 0) {
                return n == 0;
            }
            out.insert(out.end(), piece, piece + n);
            if (out.size() > sizeof(pcm_pipe::Header) + std::size_t{pcm_pipe::kMaxFrames} * 4) {
                return false;
            }
        }
    }

    void kill_now()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
        }
    }

    // Waits until the deadline for the helper to end, as a helper may close
    // its output and go on running; its status, nothing when still running.
    std::optional<int> reap_by(std::chrono::steady_clock::time_point deadline)
    {
        while (pid_ > 0) {
            int status = 0;
            const pid_t ended = waitpid(pid_, &status, WNOHANG);
            if (ended == pid_ || (ended < 0 && errno != EINTR)) {
                pid_ = -1;
                return status;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return std::nullopt;
    }

    // Waits for the helper to end; its status.
    int reap()
    {
        int status = 0;
        while (pid_ > 0 && waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
    int fd_ = -1;
};

}  // namespace

namespace wma_client {

std::string decoder_path()
{
    if (const char* chosen = std::getenv("TIREVANE_WMA_DECODER"); chosen && *chosen) {
        return chosen;
    }
    std::vector<char> self(4096);
    const ssize_t n = readlink("/proc/self/exe", self.data(), self.size() - 1);
    std::string dir = n > 0 ? std::string(self.data(), static_cast<std::size_t>(n)) : "";
    const std::size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? "." : dir.substr(0, slash);
    return dir + "/" + kDecoderName;
}

std::optional<AudioClip> decode(const char* path, const std::string& decoder,
                                double deadline_seconds)
{
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(deadline_seconds));
    Child child;
    if (const int failed = child.start(decoder, path); failed != 0) {
        report(path, "the WMA decoder " + decoder + " cannot be started: " + std::strerror(failed));
        return std::nullopt;
    }
    std::vector<char> output;
    std::optional<int> status;
    if (child.read_all(output, deadline)) {
        status = child.reap_by(deadline);
    }
    if (!status) {
        child.kill_now();
        child.reap();
        report(path, decoder + " did not finish within " +
                         std::to_string(static_cast<int>(deadline_seconds * 1000)) + " ms");
        return std::nullopt;
    }
    const std::string why = exit_reason(*status, decoder);
    if (!why.empty()) {
        report(path, why);
        return std::nullopt;
    }
    std::optional<AudioClip> clip = parse_answer(output);
    if (!clip) {
        report(path, decoder + " gave a malformed answer");
    }
    return clip;
}

}  // namespace wma_client
