#ifndef TIREVANE_TESTS_PERSIST_TEST_UTIL_H
#define TIREVANE_TESTS_PERSIST_TEST_UTIL_H

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/assets.h"
#include "persist/char_list.h"
#include "persist/profile.h"
#include "test_support.h"

namespace persisttest {

// The data files hold bytes: 0xA7 is the section sign of the keys.
inline const std::string kSection = "\xA7";
inline const std::string kVisorKey = "[" + kSection + "saved:Visor=";
inline const std::string kDiffKey = "[" + kSection + "saved:Diff=";
inline const std::string kScoreKey = "[" + kSection + "saved:GameScore=";
inline const std::string kTrue = "[ ! ] -> True\n";
inline const std::string kFalse = "[ ! ] -> False\n";

inline std::string save_layout(const std::string& marker_line, char visor, char difficulty,
                               const std::string& digits)
{
    return marker_line + kVisorKey + visor + "]" + kDiffKey + difficulty + "]" + kScoreKey +
           digits + "]";
}

inline std::string options_text(char visor, char difficulty)
{
    return "[ " + kSection + "Visor ] -> " + visor + "\n[ " + kSection + "Difficulte ] -> " +
           difficulty;
}

inline std::string list_text(const CharList& list)
{
    return list.to_bytes();
}

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

// What a match does with its score when it ends, through a profile.
inline void save_score_through_profile(Sint32 score)
{
    Profile profile;
    char formatted[45] = {};
    std::snprintf(formatted, sizeof formatted, "%ld", static_cast<long>(score));
    CharList digits;
    digits.assign(formatted);
    profile.set_score_digits(digits);
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
