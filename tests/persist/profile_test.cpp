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

std::string loaded_digits()
{
    Profile profile;
    profile.load_score_digits();
    return list_text(profile.digits());
}

Sint32 loaded_score()
{
    Profile profile;
    profile.load_score_digits();
    return profile.score_to_number();
}

void save_digits(const char* digits)
{
    Profile profile;
    CharList list;
    list.assign(digits);
    profile.set_score_digits(list);
    profile.write_score();
}

}  // namespace

TEST_F(ProfileTest, SaveFileWalksThroughItsStatesRowByRow)
{
    write_config(options_text('2', '1'));
    write_save(save_layout(kFalse, '0', '0', "0"));

    // A new game copies the options into the save file and starts at 0.
    start_game();
    EXPECT_EQ(save_file(), save_layout(kFalse, '2', '1', "0"));

    // Escape at 150.
    save_score_through_profile(150);
    EXPECT_EQ(save_file(), save_layout(kTrue, '2', '1', "150"));

    // Resumed at 150 (positions found again after the marker shrank), left at 300.
    EXPECT_EQ(start_game(), 150);
    EXPECT_EQ(save_file(), save_layout(kTrue, '2', '1', "150"));
    save_score_through_profile(300);
    EXPECT_EQ(save_file(), save_layout(kTrue, '2', '1', "300"));

    // A match that ran out hands over 0.
    start_game();
    save_score_through_profile(0);
    EXPECT_EQ(save_file(), save_layout(kFalse, '2', '1', "0"));
    EXPECT_EQ(loaded_score(), 0);
}

TEST_F(ProfileTest, LoadTakesTheOptionsAndFindsTheSavedPositions)
{
    write_config(options_text('7', 'x'));
    write_save(save_layout(kTrue, '3', '2', "12"));
    Profile profile;
    profile.load();
    EXPECT_EQ(profile.visor_index(), 7) << "the range is not limited to existing visors";
    EXPECT_EQ(profile.difficulty_index(), 0);
    EXPECT_EQ(profile.visor_at(), 14 + 14);
    EXPECT_EQ(profile.difficulty_at(), 14 + 29);

    write_config(options_text('\xB5', '1'));
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
    EXPECT_EQ(nothing.visor_at(), 0);
    EXPECT_EQ(nothing.difficulty_at(), 0);
}

TEST_F(ProfileTest, MarkerFollowsTheScoreDigits)
{
    write_save(save_layout(kTrue, '1', '1', "55"));
    save_digits("0");
    EXPECT_EQ(save_file(), save_layout(kFalse, '1', '1', "0"));

    save_digits("00");
    EXPECT_EQ(save_file(), save_layout(kTrue, '1', '1', "00"));

    save_digits("7");
    EXPECT_EQ(save_file(), save_layout(kTrue, '1', '1', "7"));

    save_digits("");
    EXPECT_EQ(save_file(), save_layout(kFalse, '1', '1', ""));
    EXPECT_EQ(loaded_score(), 0);
}

TEST_F(ProfileTest, ScoreDigitsLoadSkippingBlanks)
{
    write_save(save_layout(kTrue, '1', '1', "1 2"));
    EXPECT_EQ(loaded_digits(), "12");
    EXPECT_EQ(loaded_score(), 12);

    write_save(save_layout(kTrue, '1', '1', "00"));
    EXPECT_EQ(loaded_digits(), "00");
    EXPECT_EQ(loaded_score(), 0);

    // No "]": the walk ends with the text and keeps what it read.
    write_save(kTrue + kScoreKey + "4 5");
    EXPECT_EQ(loaded_digits(), "45");

    // The key ends the file: nothing to read.
    write_save(kTrue + kScoreKey);
    EXPECT_EQ(loaded_digits(), "");

    std::filesystem::remove(assets::kSaveFile);
    EXPECT_EQ(loaded_digits(), "");
    EXPECT_EQ(loaded_score(), 0);
}

TEST_F(ProfileTest, ScoreToNumberStopsAtANonDigitAndSaturates)
{
    write_save(save_layout(kTrue, '1', '1', "12a4"));
    Profile profile;
    profile.load_score_digits();
    EXPECT_EQ(list_text(profile.digits()), "12a4");
    EXPECT_EQ(profile.score_to_number(), 4);
    EXPECT_EQ(list_text(profile.digits()), "0");
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
    };
    for (const auto& c : cases) {
        CharList list;
        list.assign(c.digits);
        Profile p;
        p.set_score_digits(list);
        EXPECT_EQ(p.score_to_number(), c.value) << c.digits;
        EXPECT_EQ(list_text(list), c.digits) << "the source list is not changed";
    }
}

TEST_F(ProfileTest, FreshFileIsCreatedAndTakesTheScoreEntryAndMarker)
{
    write_config(options_text('2', '1'));
    start_game();
    const std::string fresh = kVisorKey + "2]" + kDiffKey + "1]";
    EXPECT_EQ(save_file(), fresh);
    EXPECT_EQ(save_file().size(), 31u);

    save_score_through_profile(150);
    EXPECT_EQ(save_file(), save_layout(kTrue, '2', '1', "150"));
    EXPECT_EQ(loaded_score(), 150);

    // The next games go on in the documented layout.
    EXPECT_EQ(start_game(), 150);
    save_score_through_profile(0);
    EXPECT_EQ(save_file(), save_layout(kFalse, '2', '1', "0"));

    // A fresh file left at 0 gets the "False" marker.
    std::filesystem::remove(assets::kSaveFile);
    start_game();
    save_score_through_profile(0);
    EXPECT_EQ(save_file(), save_layout(kFalse, '2', '1', "0"));
}

TEST_F(ProfileTest, ScoreWriteOnAFileWithoutScoreEntryKeepsAnExistingMarker)
{
    write_save(kTrue + kVisorKey + "3]" + kDiffKey + "2]");
    save_score_through_profile(0);
    EXPECT_EQ(save_file(), save_layout(kFalse, '3', '2', "0"));

    write_save("");
    save_score_through_profile(9);
    EXPECT_EQ(save_file(), kTrue + kScoreKey + "9]");
    EXPECT_EQ(loaded_score(), 9);
}

TEST_F(ProfileTest, ScoreWriteOnAMissingFileWritesNothing)
{
    save_score_through_profile(150);
    EXPECT_FALSE(std::filesystem::exists(assets::kSaveFile));
}

TEST_F(ProfileTest, ScoreWriteWithoutMarkerWritesTheDigitsOnly)
{
    const std::string no_marker = kVisorKey + "1]" + kDiffKey + "1]" + kScoreKey;
    write_save(no_marker + "5]");
    save_score_through_profile(1234);
    EXPECT_EQ(save_file(), no_marker + "1234]");
}

TEST_F(ProfileTest, ScoreWriteShiftsNothingBeforeTheEntryAndKeepsOnlyBracketsAfter)
{
    write_save(save_layout(kTrue, '4', '2', "123456") + "\ntrailing ] text]");
    save_score_through_profile(9);
    EXPECT_EQ(save_file(), save_layout(kTrue, '4', '2', "9") + "]]");

    write_save(save_layout(kTrue, '4', '2', "9"));
    save_score_through_profile(2147483647);
    EXPECT_EQ(save_file(), save_layout(kTrue, '4', '2', "2147483647"));
}

TEST_F(ProfileTest, VisorDifficultyWriteWithUnchangedOptionsKeepsTheFile)
{
    write_config(options_text('3', '2'));
    const std::string saved = save_layout(kTrue, '3', '2', "77");
    write_save(saved);
    start_game();
    EXPECT_EQ(save_file(), saved);
}

TEST_F(ProfileTest, MissingVisorOrDifficultyEntryIsAddedAfterTheMarkerLine)
{
    write_config(options_text('5', '2'));

    write_save(kFalse + kDiffKey + "0]" + kScoreKey + "0]");
    start_game();
    EXPECT_EQ(save_file(), save_layout(kFalse, '5', '2', "0"));

    write_save(kTrue + kVisorKey + "0]" + kScoreKey + "40]");
    start_game();
    EXPECT_EQ(save_file(), kTrue + kDiffKey + "2]" + kVisorKey + "5]" + kScoreKey + "40]");

    write_save(kTrue + kScoreKey + "40]");
    start_game();
    EXPECT_EQ(save_file(), save_layout(kTrue, '5', '2', "40"));
    save_score_through_profile(41);
    EXPECT_EQ(save_file(), save_layout(kTrue, '5', '2', "41"));

    // No marker line: the entries go first.
    write_save("junk");
    start_game();
    EXPECT_EQ(save_file(), kVisorKey + "5]" + kDiffKey + "2]junk");
}

TEST_F(ProfileTest, HandEditedMarkerWithoutLineBreakLosesNoCharacter)
{
    write_config(options_text('3', '1'));
    const std::string unbroken = "[ ! ] -> False";

    write_save(unbroken + kVisorKey + "0]" + kDiffKey + "0]" + kScoreKey + "0]");
    save_score_through_profile(7);
    EXPECT_EQ(save_file(), kTrue + kVisorKey + "0]" + kDiffKey + "0]" + kScoreKey + "7]");

    write_save(unbroken + kScoreKey + "0]");
    start_game();
    EXPECT_EQ(save_file(), unbroken + "\n" + kVisorKey + "3]" + kDiffKey + "1]" + kScoreKey + "0]");
}

TEST_F(ProfileTest, VisorKeyEndingTheFileGetsItsValueAppended)
{
    write_config(options_text('4', '1'));
    write_save(kDiffKey + "0]" + kVisorKey);
    start_game();
    EXPECT_EQ(save_file(), kDiffKey + "1]" + kVisorKey + "4");
}

TEST_F(ProfileTest, ReadTextTakesTheWholeFileOrNothing)
{
    Profile profile;
    write_save("abc\xFF" "def");
    profile.read_text(assets::kSaveFile);
    EXPECT_EQ(list_text(profile.current_text()), "abc");
    std::filesystem::remove(assets::kSaveFile);
    profile.read_text(assets::kSaveFile);
    EXPECT_TRUE(profile.current_text().is_empty());
}

TEST_F(ProfileTest, SetScoreDigitsReplacesAndCopies)
{
    Profile profile;
    CharList first;
    first.assign("123");
    profile.set_score_digits(first);
    CharList second;
    second.assign("45");
    profile.set_score_digits(second);
    EXPECT_EQ(list_text(profile.digits()), "45");
    EXPECT_EQ(list_text(second), "45");
    second.assign("9");
    EXPECT_EQ(list_text(profile.digits()), "45");
}
