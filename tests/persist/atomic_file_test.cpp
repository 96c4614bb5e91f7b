#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "persist/atomic_file.h"
#include "persist/config_file.h"
#include "persist_test_util.h"

using namespace persisttest;
namespace fs = std::filesystem;

namespace {

// A write seam that lets `budget` bytes through, then fails.
std::size_t budget = 0;
ssize_t write_with_budget(int fd, const void* data, std::size_t size)
{
    if (budget == 0) {
        errno = ENOSPC;
        return -1;
    }
    std::size_t n = size < budget ? size : budget;
    budget -= n;
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

}  // namespace

using AtomicFileTest = PersistTest;

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
    const std::string saved = save_layout(kTrue, '1', '2', "987");
    ASSERT_TRUE(replace_file_atomically(assets::kSaveFile, saved));
    EXPECT_EQ(save_file(), saved);
}

TEST_F(AtomicFileTest, AWriteFailingAfterAnyNumberOfBytesLeavesTheOldFile)
{
    const std::string old_save = save_layout(kFalse, '2', '1', "0");
    const std::string new_save = save_layout(kTrue, '2', '1', "150");
    write_save(old_save);
    SeamGuard guard(write_with_budget);
    for (std::size_t k = 0; k < new_save.size(); ++k) {
        budget = k;
        EXPECT_FALSE(replace_file_atomically(assets::kSaveFile, new_save)) << k;
        ASSERT_EQ(save_file(), old_save) << "failed after " << k << " bytes";
        ASSERT_TRUE(only_data_files_in("System/02")) << k;
    }
    budget = new_save.size();
    EXPECT_TRUE(replace_file_atomically(assets::kSaveFile, new_save));
    EXPECT_EQ(save_file(), new_save);
}

TEST_F(AtomicFileTest, FailedRewritesThroughTheGameLeaveTheOldFiles)
{
    const std::string old_options = options_text('4', '2');
    const std::string old_save = save_layout(kFalse, '2', '1', "0");
    write_config(old_options);
    write_save(old_save);
    SeamGuard guard(write_with_budget);
    for (std::size_t k = 0; k < old_options.size(); ++k) {
        budget = k;
        ConfigFile config;
        config.write_visor('1');
        ASSERT_EQ(config_file(), old_options) << k;
        budget = k;
        save_score_through_profile(150);
        ASSERT_EQ(save_file(), old_save) << k;
        budget = k;
        Profile profile;
        profile.load();
        profile.write_visor_difficulty(assets::kSaveFile);
        ASSERT_EQ(save_file(), old_save) << k;
    }
}

TEST_F(AtomicFileTest, AProcessKilledDuringRewritesLeavesAWholeFile)
{
    // A child rewrites the save file over and over, alternating two
    // contents of different lengths; it is killed at arbitrary moments.
    const std::string first = save_layout(kFalse, '2', '1', "0");
    const std::string second = save_layout(kTrue, '2', '1', "123456789");
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
