#ifndef TIREVANE_TESTS_PERSIST_TEST_UTIL_H
#define TIREVANE_TESTS_PERSIST_TEST_UTIL_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/assets.h"
#include "persist/char_list.h"
#include "persist/profile.h"
#include "test_support.h"

// The data files hold bytes: in the literals of these tests the section
// sign of the labels and keys is the byte 0xA7, and "\xA7" "D" is split in
// two because D would continue the hexadecimal escape.
namespace persisttest {

inline std::string save_file()
{
    return testsupport::read_file(assets::kSaveFile);
}

inline std::string config_file()
{
    return testsupport::read_file(assets::kConfigFile);
}

inline void write_save(const std::string& bytes)
{
    testsupport::write_file(assets::kSaveFile, bytes);
}

inline void write_config(const std::string& bytes)
{
    testsupport::write_file(assets::kConfigFile, bytes);
}

// Hands a score's digits to a fresh profile and writes them, as a match
// does when it ends.
inline void save_digits(const std::string& digits)
{
    Profile profile;
    CharList list;
    list.append_bytes(digits);
    profile.set_score_digits(list);
    profile.write_score();
}

// A private game folder as the working directory, with both data folders
// present and neither data file: each test writes the files it needs.
class PersistTest : public ::testing::Test {
protected:
    PersistTest()
    {
        std::filesystem::create_directories("System/01");
        std::filesystem::create_directories("System/02");
        std::filesystem::remove(assets::kConfigFile);
        std::filesystem::remove(assets::kSaveFile);
    }

    testsupport::GameDir dir;
};

}  // namespace persisttest

#endif
