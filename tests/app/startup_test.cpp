// The whole program's start-up, run in a child process as `main` would run
// it: which missing files stop the game before its window shows a frame
// and which only get a line on stderr.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/assets.h"
#include "app/game_main.h"
#include "flip_probe.h"
#include "test_support.h"

namespace fs = std::filesystem;

using flip_probe::kFirstFrame;

namespace {

// A game started in a child process, its stderr read through a pipe.
class GameProcess {
public:
    GameProcess()
    {
        int ends[2];
        if (::pipe(ends) != 0) {
            return;
        }
        std::fflush(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ends[0]);
            ::dup2(ends[1], STDERR_FILENO);
            ::close(ends[1]);
            char name[] = "tirevane";
            char* argv[] = {name, nullptr};
            const int status = tirevane_main(1, argv);
            std::fflush(nullptr);
            ::_exit(status);
        }
        ::close(ends[1]);
        err_ = ends[0];
    }
    ~GameProcess()
    {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (err_ >= 0) {
            ::close(err_);
        }
    }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    bool started() const { return pid_ > 0 && err_ >= 0; }

    // Reads stderr until it holds `text` (true) or the game closes it or
    // the time runs out (false).
    bool read_until(const std::string& text)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (stderr_.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline || !read_some()) {
                return false;
            }
        }
        return true;
    }

    // Reads stderr to its end and returns the exit status, or -1 when the
    // game was ended by a signal or did not end in time.
    int wait()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (read_some()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return -1;
            }
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // SDL turns SIGTERM into a quit request, which the intro and the menu
    // both obey: the way to close a game no input can reach.
    void ask_to_quit() { ::kill(pid_, SIGTERM); }

    const std::string& stderr_text() const { return stderr_; }

private:
    // False once stderr is closed.
    bool read_some()
    {
        pollfd fd{err_, POLLIN, 0};
        if (::poll(&fd, 1, 1000) <= 0) {
            return true;  // nothing yet; the caller's deadline decides
        }
        char buffer[512];
        const ssize_t n = ::read(err_, buffer, sizeof buffer);
        if (n <= 0) {
            return false;
        }
        stderr_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int err_ = -1;
    bool exited_ = false;
    std::string stderr_;
};

}  // namespace

struct MissingFile {
    const char* path;
    const char* told;
};

TEST(StartUp, AMissingPagePictureIsToldAndTheGameStillStarts)
{
    for (const MissingFile& c :
         {MissingFile{assets::kAboutPage, "tirevane: 'System/02/About.bmp' is missing; its page "
                                          "will show black behind \"Retour\"\n"},
          MissingFile{assets::kHowToPlayPage, "tirevane: 'System/02/How_play.bmp' is missing; "
                                              "its page will show black behind \"Retour\"\n"}}) {
        SCOPED_TRACE(c.path);
        testsupport::GameDir dir;
        fs::remove(c.path);
        GameProcess game;
        ASSERT_TRUE(game.started());
        ASSERT_TRUE(game.read_until(std::string(c.told) + kFirstFrame)) << game.stderr_text();
        game.ask_to_quit();
        EXPECT_EQ(game.wait(), 0) << "the game went on and closed normally";
        EXPECT_EQ(game.stderr_text(), std::string(c.told) + kFirstFrame);
    }
}

TEST(StartUp, AMissingOrDamagedPictureOrFontStopsTheGameSayingWhich)
{
    const char* const kWrongFolder = "start the game from the folder that holds System/ and the font files\n";
    const char* const kRestore = "put back the file from the game's own copy (reinstall it)\n";
    struct Case {
        const char* path;
        bool damaged;  // random bytes instead of the file
        std::string told;
    };
    const Case cases[] = {
        {"System/01/Menu/Cursor_Curs02.bmp", false,
         std::string("tirevane: 'System/01/Menu/Cursor_Curs02.bmp' is missing; ") + kWrongFolder},
        {"System/01/Visors/Visor_Visor04b.bmp", false,
         std::string("tirevane: 'System/01/Visors/Visor_Visor04b.bmp' is missing; ") + kWrongFolder},
        {"System/01/Menu/Menu_Composed.bmp", false,
         std::string("tirevane: 'System/01/Menu/Menu_Composed.bmp' is missing; ") + kWrongFolder},
        {"spaceage.ttf", false, std::string("tirevane: 'spaceage.ttf' is missing; ") + kWrongFolder},
        {"System/01/Introduce/Intro_presents.bmp", true,
         std::string("tirevane: 'System/01/Introduce/Intro_presents.bmp' cannot be read: damaged "
                     "or not a BMP; ") + kRestore},
        {"alphamalemodern.ttf", true,
         std::string("tirevane: 'alphamalemodern.ttf' cannot be read: damaged or not a font; ") +
             kRestore},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        testsupport::GameDir dir;
        fs::remove(c.path);
        if (c.damaged) {
            testsupport::write_file(c.path, "\x8f\x13 not what it claims \x01\xfe");
        }
        GameProcess game;
        ASSERT_TRUE(game.started());
        EXPECT_EQ(game.wait(), 1);
        EXPECT_EQ(game.stderr_text(), c.told);
    }
}
