#include <gtest/gtest.h>

#include <grp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "persist/atomic_file.h"
#include "persist/config_file.h"
#include "persist_test_util.h"

using namespace persisttest;
namespace fs = std::filesystem;

namespace {

// How many writes the seams below have failed. A failure case checks it:
// a save can also fail, or a file stay as it was, for reasons that have
// nothing to do with the write under test. The count lives in memory
// shared with the child processes that save as another user.
int& failed_writes()
{
    static int* count = [] {
        void* shared = ::mmap(nullptr, sizeof(int), PROT_READ | PROT_WRITE,
                              MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        return shared == MAP_FAILED ? new int(0) : static_cast<int*>(shared);
    }();
    return *count;
}

ssize_t fail_as_a_full_disk()
{
    ++failed_writes();
    errno = ENOSPC;
    return -1;
}

// A write seam that lets `budget` bytes through, then fails.
std::size_t budget = 0;
ssize_t write_with_budget(int fd, const void* data, std::size_t size)
{
    if (budget == 0) {
        return fail_as_a_full_disk();
    }
    std::size_t n = size < budget ? size : budget;
    budget -= n;
    return ::write(fd, data, n);
}

// Lets `budget` bytes through, fails once as a full disk does, then works
// again, as when another program frees some space.
bool failed_once = false;
ssize_t fail_once_after_budget(int fd, const void* data, std::size_t size)
{
    if (!failed_once && budget == 0) {
        failed_once = true;
        return fail_as_a_full_disk();
    }
    std::size_t n = failed_once || size < budget ? size : budget;
    if (!failed_once) {
        budget -= n;
    }
    return ::write(fd, data, n);
}

// A seam that writes one byte per call, as a slow device might.
ssize_t write_one_byte(int fd, const void* data, std::size_t size)
{
    return ::write(fd, data, size > 0 ? 1 : 0);
}

class SeamGuard {
public:
    explicit SeamGuard(atomic_file_seam::WriteFunction f) { atomic_file_seam::set_write_function(f); }
    ~SeamGuard() { atomic_file_seam::set_write_function(nullptr); }
};

bool only_data_files_in(const char* folder)
{
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".tmp") {
            return false;
        }
    }
    return true;
}

const char kSaveFull[] =
    "tirevane: cannot save 'System/02/user.saved': No space left on device (free some disk "
    "space); the game goes on without keeping this change\n";
const char kOptionsFull[] =
    "tirevane: cannot save 'System/01/config.conf': No space left on device (free some disk "
    "space); the game goes on without keeping this change\n";
const char kSaveDenied[] =
    "tirevane: cannot save 'System/02/user.saved': Permission denied (make the file and its "
    "folder writable); the game goes on without keeping this change\n";
const char kOptionsDenied[] =
    "tirevane: cannot save 'System/01/config.conf': Permission denied (make the file and its "
    "folder writable); the game goes on without keeping this change\n";

ino_t inode_of(const char* path)
{
    struct stat st;
    return ::stat(path, &st) == 0 ? st.st_ino : 0;
}

}  // namespace

using AtomicFileTest = PersistTest;

// Permission bits do not stop root, and the tests run as root in CI. The
// saves under test therefore run in a child process that switches to an
// unprivileged user first (or stays the user it is); its stderr is the
// parent's, so a capture started before sees its lines.
class UnprivilegedSaveTest : public PersistTest {
protected:
    static constexpr uid_t kNobody = 65534;
    static constexpr int kCannotSwitch = 90;
    static constexpr int kCannotEnter = 91;

    UnprivilegedSaveTest()
    {
        // The private game folder is made for its owner only.
        fs::permissions(dir.path(), fs::perms(0755));
    }
    ~UnprivilegedSaveTest() override
    {
        // Lets the folder be removed when the tests do not run as root.
        for (const char* folder : {"System/01", "System/02", "System/ro"}) {
            std::error_code ignored;
            fs::permissions(folder, fs::perms(0755), ignored);
        }
    }

    void SetUp() override
    {
        switch (run_child([] {})) {
        case kCannotSwitch:
            GTEST_SKIP() << "running as root without the right to switch to another user, so "
                            "permission bits cannot be made to count";
        case kCannotEnter:
            GTEST_SKIP() << "the temporary folder " << dir.path().parent_path()
                         << " cannot be entered by another user; set TMPDIR to one that can";
        default:
            break;
        }
    }

    // Runs `saves` as the unprivileged user; false when it did not end well.
    bool run_unprivileged(const std::function<void()>& saves)
    {
        const int code = run_child(saves);
        EXPECT_EQ(code, 0) << "the saving process did not end normally";
        return code == 0;
    }

private:
    int run_child(const std::function<void()>& saves)
    {
        std::fflush(nullptr);
        const pid_t child = ::fork();
        if (child < 0) {
            return -1;
        }
        if (child == 0) {
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 ||
                                     ::setuid(kNobody) != 0)) {
                ::_exit(kCannotSwitch);
            }
            // Links are resolved to full paths, which must be open to it.
            if (::access((dir.path() / "System/02").c_str(), X_OK) != 0) {
                ::_exit(kCannotEnter);
            }
            saves();
            std::fflush(nullptr);
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(AtomicFileTest, ReplacesWithExactlyTheGivenBytesAndKeepsThePermissions)
{
    const std::string bytes("a\0\xA7\n\xFE", 5);
    ASSERT_TRUE(replace_file_atomically(assets::kSaveFile, bytes));
    EXPECT_EQ(save_file(), bytes);

    ::chmod(assets::kSaveFile, 0640);
    ASSERT_TRUE(replace_file_atomically(assets::kSaveFile, "new"));
    EXPECT_EQ(save_file(), "new");
    struct stat st;
    ASSERT_EQ(::stat(assets::kSaveFile, &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(only_data_files_in("System/02"));

    ASSERT_TRUE(replace_file_atomically(assets::kSaveFile, ""));
    EXPECT_EQ(save_file(), "");
}

TEST_F(AtomicFileTest, ALinkIsWrittenThroughAndStaysALink)
{
    write_save("old");
    fs::rename(assets::kSaveFile, "System/real.saved");
    fs::create_symlink("../real.saved", assets::kSaveFile);
    ASSERT_TRUE(replace_file_atomically(assets::kSaveFile, "new"));
    EXPECT_TRUE(fs::is_symlink(assets::kSaveFile));
    EXPECT_EQ(testsupport::read_file("System/real.saved"), "new");
}

TEST_F(AtomicFileTest, AMissingFolderWritesNothing)
{
    EXPECT_FALSE(replace_file_atomically("System/none/user.saved", "x"));
    EXPECT_FALSE(fs::exists("System/none"));
}

TEST_F(AtomicFileTest, ShortWritesStillWriteEverything)
{
    SeamGuard guard(write_one_byte);
    const std::string saved =
        "[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=2][\xA7saved:GameScore=987]";
    ASSERT_TRUE(replace_file_atomically(assets::kSaveFile, saved));
    EXPECT_EQ(save_file(), saved);
}

TEST_F(AtomicFileTest, AWriteFailingAfterAnyNumberOfBytesLeavesTheOldFile)
{
    const std::string old_save =
        "[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]";
    const std::string new_save =
        "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=150]";
    write_save(old_save);
    SeamGuard guard(write_with_budget);
    for (std::size_t k = 0; k < new_save.size(); ++k) {
        budget = k;
        failed_writes() = 0;
        int error = 0;
        EXPECT_FALSE(replace_file_atomically(assets::kSaveFile, new_save, &error)) << k;
        EXPECT_EQ(error, ENOSPC) << k;
        ASSERT_EQ(failed_writes(), 1) << "the write did not fail after " << k << " bytes";
        ASSERT_EQ(save_file(), old_save) << "failed after " << k << " bytes";
        ASSERT_TRUE(only_data_files_in("System/02")) << k;
    }
    budget = new_save.size();
    EXPECT_TRUE(replace_file_atomically(assets::kSaveFile, new_save));
    EXPECT_EQ(save_file(), new_save);
}

TEST_F(AtomicFileTest, FailedRewritesThroughTheGameLeaveTheOldFilesAndSayWhyInOneLine)
{
    const std::string old_options = "[ \xA7Visor ] -> 4\n[ \xA7" "Difficulte ] -> 2";
    const std::string old_save =
        "[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]";
    write_config(old_options);
    write_save(old_save);
    SeamGuard guard(write_with_budget);
    for (std::size_t k = 0; k < old_options.size(); ++k) {
        budget = k;
        failed_writes() = 0;
        testing::internal::CaptureStderr();
        ConfigFile config;
        config.write_visor('1');
        EXPECT_EQ(testing::internal::GetCapturedStderr(), kOptionsFull) << k;
        ASSERT_EQ(config_file(), old_options) << k;

        budget = k;
        testing::internal::CaptureStderr();
        save_digits("150");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), kSaveFull) << k;
        ASSERT_EQ(save_file(), old_save) << k;

        budget = k;
        testing::internal::CaptureStderr();
        Profile profile;
        profile.load();
        profile.write_visor_difficulty(assets::kSaveFile);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), kSaveFull) << k;
        ASSERT_EQ(save_file(), old_save) << k;
        ASSERT_EQ(failed_writes(), 3) << "each of the three saves failed a write after " << k
                                      << " bytes";
        ASSERT_TRUE(only_data_files_in("System/01")) << k;
        ASSERT_TRUE(only_data_files_in("System/02")) << k;
    }
    // The game went on: the next save that can be written is.
    budget = 1000;
    testing::internal::CaptureStderr();
    save_digits("150");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=150]");
}

TEST_F(AtomicFileTest, AMissingFolderIsToldWithWhereToStartTheGame)
{
    fs::remove_all("System/02");
    testing::internal::CaptureStderr();
    save_digits("150");
    Profile profile;
    profile.load();
    profile.write_visor_difficulty(assets::kSaveFile);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tirevane: cannot save 'System/02/user.saved': No such file or directory (start "
              "the game from the folder that holds System/); the game goes on without keeping "
              "this change\n");
    EXPECT_FALSE(fs::exists("System/02"));
}

TEST_F(AtomicFileTest, AProcessKilledDuringRewritesLeavesAWholeFile)
{
    // A child rewrites the save file over and over, alternating two
    // contents of different lengths; it is killed at arbitrary moments.
    const std::string first =
        "[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]";
    const std::string second = "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1]"
                               "[\xA7saved:GameScore=123456789]";
    std::srand(12345);
    for (int round = 0; round < 60; ++round) {
        write_save(first);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (unsigned i = 0;; ++i) {
                replace_file_atomically(assets::kSaveFile, (i % 2) ? first : second);
            }
        }
        ::usleep(static_cast<useconds_t>(200 + std::rand() % 5000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = save_file();
        ASSERT_TRUE(now == first || now == second) << "round " << round << ": " << now.size();
    }
}

TEST_F(UnprivilegedSaveTest, AFolderThatRefusesTemporaryFilesGetsTheFileRewrittenInPlace)
{
    write_save("[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]");
    write_config("[ \xA7Visor ] -> 4\n[ \xA7" "Difficulte ] -> 2\n");
    fs::permissions(assets::kSaveFile, fs::perms(0666));
    fs::permissions(assets::kConfigFile, fs::perms(0666));
    fs::permissions("System/01", fs::perms(0555));
    fs::permissions("System/02", fs::perms(0555));
    const ino_t save_inode = inode_of(assets::kSaveFile);
    const ino_t options_inode = inode_of(assets::kConfigFile);

    // Longer, then shorter than what the file held before.
    testing::internal::CaptureStderr();
    std::string options_after_longer;
    std::string save_after_longer;
    ASSERT_TRUE(run_unprivileged([] {
        save_digits("123456789");
        ConfigFile config;
        config.write_visor('1');
    }));
    save_after_longer = save_file();
    options_after_longer = config_file();
    ASSERT_TRUE(run_unprivileged([] { save_digits("7"); }));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "nothing failed";

    EXPECT_EQ(save_after_longer,
              "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1]"
              "[\xA7saved:GameScore=123456789]");
    EXPECT_EQ(options_after_longer, "[ \xA7Visor ] -> 1\n[ \xA7" "Difficulte ] -> 2");
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=7]");
    EXPECT_EQ(inode_of(assets::kSaveFile), save_inode) << "written where it is";
    EXPECT_EQ(inode_of(assets::kConfigFile), options_inode);
    EXPECT_TRUE(only_data_files_in("System/01"));
    EXPECT_TRUE(only_data_files_in("System/02"));
}

TEST_F(UnprivilegedSaveTest, ALinkIntoAFolderThatRefusesTemporaryFilesStaysALink)
{
    fs::create_directories("System/ro");
    testsupport::write_file("System/ro/real.saved", "old");
    fs::permissions("System/ro/real.saved", fs::perms(0666));
    fs::permissions("System/ro", fs::perms(0555));
    fs::create_symlink("../ro/real.saved", assets::kSaveFile);
    fs::permissions("System/02", fs::perms(0777));

    testing::internal::CaptureStderr();
    ASSERT_TRUE(run_unprivileged([] { save_data_file(assets::kSaveFile, "new", "Score"); }));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(fs::is_symlink(assets::kSaveFile));
    EXPECT_EQ(testsupport::read_file("System/ro/real.saved"), "new");
    EXPECT_TRUE(only_data_files_in("System/02"));
}

TEST_F(UnprivilegedSaveTest, AReadOnlyFileKeepsItsContentAndTheReasonIsToldOnce)
{
    const std::string old_save =
        "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=40]";
    const std::string old_options = "[ \xA7Visor ] -> 4\n[ \xA7" "Difficulte ] -> 2";
    write_save(old_save);
    write_config(old_options);
    fs::permissions(assets::kSaveFile, fs::perms(0444));
    fs::permissions(assets::kConfigFile, fs::perms(0444));
    // Whether the folder would take a temporary file or not.
    for (const fs::perms folder : {fs::perms(0777), fs::perms(0555)}) {
        fs::permissions("System/01", folder);
        fs::permissions("System/02", folder);
        testing::internal::CaptureStderr();
        ASSERT_TRUE(run_unprivileged([] { save_digits("150"); }));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), kSaveDenied);
        testing::internal::CaptureStderr();
        ASSERT_TRUE(run_unprivileged([] {
            ConfigFile config;
            config.write_difficulty('0');
        }));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), kOptionsDenied);
        EXPECT_EQ(save_file(), old_save);
        EXPECT_EQ(config_file(), old_options);
        EXPECT_TRUE(only_data_files_in("System/01"));
        EXPECT_TRUE(only_data_files_in("System/02"));
    }
}

TEST_F(UnprivilegedSaveTest, AWriteInPlaceThatFailsPutsTheOldBytesBack)
{
    const std::string old_save =
        "[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]";
    write_save(old_save);
    fs::permissions(assets::kSaveFile, fs::perms(0666));
    fs::permissions("System/02", fs::perms(0555));
    SeamGuard guard(fail_once_after_budget);
    // The new content is 67 bytes, the old one 66.
    for (std::size_t k : {0u, 1u, 30u, 65u, 66u}) {
        budget = k;
        failed_once = false;
        failed_writes() = 0;
        testing::internal::CaptureStderr();
        ASSERT_TRUE(run_unprivileged([] { save_digits("150"); }));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), kSaveFull) << k;
        // The stderr line alone would also come from a reservation of disk
        // space that failed before any byte was written over.
        ASSERT_EQ(failed_writes(), 1) << "no write in place failed after " << k << " bytes";
        ASSERT_EQ(save_file(), old_save) << "failed after " << k << " bytes";
    }
}
