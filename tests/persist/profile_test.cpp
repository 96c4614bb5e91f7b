#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "persist/profile.h"
#include "persist_test_util.h"

using namespace persisttest;

using ProfileTest = PersistTest;

namespace {

// The profile's part of a play action before the match starts; returns
// the score a resumed match would start at.
Sint32 start_game()
{
    Profile profile;
    profile.load();
    profile.load_score_digits();
    profile.write_visor_difficulty(assets::kSaveFile);
    return profile.score_to_number();
}

// The save file once a profile has written the score digits it loaded
// from it back into it, between the score key and its "]".
std::string written_back()
{
    Profile profile;
    profile.load_score_digits();
    profile.write_score();
    return save_file();
}

Sint32 loaded_score()
{
    Profile profile;
    profile.load_score_digits();
    return profile.score_to_number();
}

}  // namespace

TEST_F(ProfileTest, SaveFileWalksThroughItsStatesRowByRow)
{
    write_config("[ \xA7Visor ] -> 2\n[ \xA7" "Difficulte ] -> 1");
    write_save("[ ! ] -> False\n[\xA7saved:Visor=0][\xA7saved:Diff=0][\xA7saved:GameScore=0]");

    // A new game copies the options into the save file and starts at 0.
    start_game();
    EXPECT_EQ(save_file(),
              "[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]");

    // Escape at 150.
    save_digits("150");
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=150]");

    // Resumed at 150 (positions found again after the marker shrank), left at 300.
    EXPECT_EQ(start_game(), 150);
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=150]");
    save_digits("300");
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=300]");

    // A match that ran out hands over 0.
    start_game();
    save_digits("0");
    EXPECT_EQ(save_file(),
              "[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]");
    EXPECT_EQ(loaded_score(), 0);
}

TEST_F(ProfileTest, LoadTakesTheOptionsAndFindsTheSavedPositions)
{
    write_config("[ \xA7Visor ] -> 7\n[ \xA7" "Difficulte ] -> x");
    write_save("[ ! ] -> True\n[\xA7saved:Visor=3][\xA7saved:Diff=2][\xA7saved:GameScore=12]");
    Profile profile;
    profile.load();
    EXPECT_EQ(profile.visor_index(), 7) << "the range is not limited to existing visors";
    EXPECT_EQ(profile.difficulty_index(), 0);
    profile.write_visor_difficulty(assets::kSaveFile);
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=7][\xA7saved:Diff=x][\xA7saved:GameScore=12]");

    write_config("[ \xA7Visor ] -> \xB5\n[ \xA7" "Difficulte ] -> 1");
    Profile high_byte;
    high_byte.load();
    EXPECT_EQ(high_byte.visor_index(), 0);
    EXPECT_EQ(high_byte.difficulty_index(), 1);

    std::filesystem::remove(assets::kConfigFile);
    std::filesystem::remove(assets::kSaveFile);
    Profile nothing;
    nothing.load();
    EXPECT_EQ(nothing.visor_index(), 0);
    EXPECT_EQ(nothing.difficulty_index(), 0);
}

TEST_F(ProfileTest, ScoreDigitsComeFromTheSaveFileAsLoadReadIt)
{
    // One read per load: the positions and the score come from the same
    // text, even when the file changes in between.
    write_save("[ ! ] -> True\n[\xA7saved:Visor=3][\xA7saved:Diff=2][\xA7saved:GameScore=150]");
    Profile profile;
    profile.load();
    write_save("[\xA7saved:GameScore=999]");
    profile.load_score_digits();
    EXPECT_EQ(profile.score_to_number(), 150);

    // After read_text the text is no longer the loaded save file: the
    // digits are read from the save file again.
    Profile reread;
    reread.load();
    testsupport::write_file("other.txt", "[\xA7saved:GameScore=7]");
    reread.read_text("other.txt");
    reread.load_score_digits();
    EXPECT_EQ(reread.score_to_number(), 999);
}

TEST_F(ProfileTest, ScoreDigitsLoadSkippingBlanks)
{
    write_save("[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=1 2]");
    EXPECT_EQ(loaded_score(), 12);
    EXPECT_EQ(written_back(),
              "[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=12]");

    write_save("[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=00]");
    EXPECT_EQ(loaded_score(), 0);
    EXPECT_EQ(written_back(),
              "[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=00]");

    // No "]": the walk ends with the text and keeps what it read.
    write_save("[ ! ] -> True\n[\xA7saved:GameScore=4 5");
    EXPECT_EQ(written_back(), "[ ! ] -> True\n[\xA7saved:GameScore=45");

    // The key ends the file: nothing to read, nothing to resume.
    write_save("[ ! ] -> True\n[\xA7saved:GameScore=");
    EXPECT_EQ(written_back(), "[ ! ] -> False\n[\xA7saved:GameScore=");

    std::filesystem::remove(assets::kSaveFile);
    EXPECT_EQ(loaded_score(), 0);
    EXPECT_EQ(written_back(), "");
    EXPECT_FALSE(std::filesystem::exists(assets::kSaveFile));
}

TEST_F(ProfileTest, ScoreToNumberStopsAtANonDigitAndSaturates)
{
    write_save("[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=12a4]");
    Profile profile;
    profile.load_score_digits();
    profile.write_score();
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=12a4]");
    EXPECT_EQ(profile.score_to_number(), 4);
    // The non-digit reset the digits themselves.
    profile.write_score();
    EXPECT_EQ(save_file(),
              "[ ! ] -> False\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=0]");
    EXPECT_EQ(profile.score_to_number(), 0);

    const struct {
        const char* digits;
        Sint32 value;
    } cases[] = {
        {"", 0},
        {"7", 7},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999", INT_MAX},
        {"0000000000000000000000042", 42},
        {"1000000000", 1000000000},
        {"9x99999999999999", INT_MAX},
        {"99999999999x12", 12},
        {"\xB9" "5", 5},
    };
    for (const auto& c : cases) {
        CharList list;
        list.assign(c.digits);
        Profile p;
        p.set_score_digits(list);
        EXPECT_EQ(p.score_to_number(), c.value) << c.digits;
        EXPECT_EQ(list.to_bytes(), c.digits) << "the source list is not changed";
    }
}

TEST_F(ProfileTest, FreshFileIsCreatedAndTakesTheScoreEntryAndMarker)
{
    write_config("[ \xA7Visor ] -> 2\n[ \xA7" "Difficulte ] -> 1");
    start_game();
    EXPECT_EQ(save_file(), "[\xA7saved:Visor=2][\xA7saved:Diff=1]");
    EXPECT_EQ(save_file().size(), 31u);

    save_digits("150");
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=150]");
    EXPECT_EQ(loaded_score(), 150);

    // The next games go on in the documented layout.
    EXPECT_EQ(start_game(), 150);
    save_digits("0");
    EXPECT_EQ(save_file(),
              "[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]");

    // A fresh file left at 0 gets the "False" marker.
    std::filesystem::remove(assets::kSaveFile);
    start_game();
    save_digits("0");
    EXPECT_EQ(save_file(),
              "[ ! ] -> False\n[\xA7saved:Visor=2][\xA7saved:Diff=1][\xA7saved:GameScore=0]");
}

TEST_F(ProfileTest, ScoreWriteOnAMissingFileWritesNothing)
{
    save_digits("150");
    EXPECT_FALSE(std::filesystem::exists(assets::kSaveFile));
}

TEST_F(ProfileTest, ScoreWritesReplaceTheDigitsAndSetTheMarkerByThem)
{
    const struct {
        const char* before;
        const char* digits;
        const char* after;
    } cases[] = {
        {"[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=55]", "0",
         "[ ! ] -> False\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=0]"},
        {"[ ! ] -> False\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=0]", "00",
         "[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=00]"},
        {"[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=00]", "7",
         "[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=7]"},
        {"[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=7]", "",
         "[ ! ] -> False\n[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=]"},
        // Without a score entry one is added, and an existing marker kept.
        {"[ ! ] -> True\n[\xA7saved:Visor=3][\xA7saved:Diff=2]", "0",
         "[ ! ] -> False\n[\xA7saved:Visor=3][\xA7saved:Diff=2][\xA7saved:GameScore=0]"},
        {"", "9", "[ ! ] -> True\n[\xA7saved:GameScore=9]"},
        // Without a marker only the digits change.
        {"[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=5]", "1234",
         "[\xA7saved:Visor=1][\xA7saved:Diff=1][\xA7saved:GameScore=1234]"},
        // Nothing before the entry shifts; after it only the "]" stay.
        {"[ ! ] -> True\n[\xA7saved:Visor=4][\xA7saved:Diff=2][\xA7saved:GameScore=123456]"
         "\ntrailing ] text]", "9",
         "[ ! ] -> True\n[\xA7saved:Visor=4][\xA7saved:Diff=2][\xA7saved:GameScore=9]]]"},
        {"[ ! ] -> True\n[\xA7saved:Visor=4][\xA7saved:Diff=2][\xA7saved:GameScore=9]", "2147483647",
         "[ ! ] -> True\n[\xA7saved:Visor=4][\xA7saved:Diff=2][\xA7saved:GameScore=2147483647]"},
        // A hand-edited marker without its line break loses no character.
        {"[ ! ] -> False[\xA7saved:Visor=0][\xA7saved:Diff=0][\xA7saved:GameScore=0]", "7",
         "[ ! ] -> True\n[\xA7saved:Visor=0][\xA7saved:Diff=0][\xA7saved:GameScore=7]"},
    };
    for (const auto& c : cases) {
        write_save(c.before);
        save_digits(c.digits);
        EXPECT_EQ(save_file(), c.after) << c.before;
    }
}

TEST_F(ProfileTest, GameStartsWriteTheOptionsIntoTheSaveFile)
{
    const struct {
        char visor;
        char difficulty;
        const char* before;
        const char* after;
    } cases[] = {
        // Unchanged options keep the file as it was.
        {'3', '2', "[ ! ] -> True\n[\xA7saved:Visor=3][\xA7saved:Diff=2][\xA7saved:GameScore=77]",
         "[ ! ] -> True\n[\xA7saved:Visor=3][\xA7saved:Diff=2][\xA7saved:GameScore=77]"},
        // A missing entry is added after the marker line, or first without one.
        {'5', '2', "[ ! ] -> False\n[\xA7saved:Diff=0][\xA7saved:GameScore=0]",
         "[ ! ] -> False\n[\xA7saved:Visor=5][\xA7saved:Diff=2][\xA7saved:GameScore=0]"},
        {'5', '2', "[ ! ] -> True\n[\xA7saved:Visor=0][\xA7saved:GameScore=40]",
         "[ ! ] -> True\n[\xA7saved:Diff=2][\xA7saved:Visor=5][\xA7saved:GameScore=40]"},
        {'5', '2', "[ ! ] -> True\n[\xA7saved:GameScore=40]",
         "[ ! ] -> True\n[\xA7saved:Visor=5][\xA7saved:Diff=2][\xA7saved:GameScore=40]"},
        {'5', '2', "junk", "[\xA7saved:Visor=5][\xA7saved:Diff=2]junk"},
        {'3', '1', "[ ! ] -> False[\xA7saved:GameScore=0]",
         "[ ! ] -> False\n[\xA7saved:Visor=3][\xA7saved:Diff=1][\xA7saved:GameScore=0]"},
        // A visor key ending the file gets its value appended.
        {'4', '1', "[\xA7saved:Diff=0][\xA7saved:Visor=", "[\xA7saved:Diff=1][\xA7saved:Visor=4"},
    };
    for (const auto& c : cases) {
        write_config(std::string("[ \xA7Visor ] -> ") + c.visor + "\n[ \xA7" "Difficulte ] -> " +
                     c.difficulty);
        write_save(c.before);
        start_game();
        EXPECT_EQ(save_file(), c.after) << c.before;
    }
}

TEST_F(ProfileTest, TheSaveFileIsReadUpToAByte0xFF)
{
    // The byte reads as the end of the file: the score and what follows go.
    write_save("[\xA7saved:GameScore=12\xFF" "34]");
    EXPECT_EQ(loaded_score(), 12);
    EXPECT_EQ(written_back(), "[\xA7saved:GameScore=12");
}

TEST_F(ProfileTest, SetScoreDigitsReplacesAndCopies)
{
    write_save("[\xA7saved:GameScore=0]");
    Profile profile;
    CharList first;
    first.assign("123");
    profile.set_score_digits(first);
    CharList second;
    second.assign("45");
    profile.set_score_digits(second);
    EXPECT_EQ(second.to_bytes(), "45");
    second.assign("9");  // the profile holds a copy
    profile.write_score();
    EXPECT_EQ(save_file(), "[\xA7saved:GameScore=45]");
}
