#include <gtest/gtest.h>

#include "game/match.h"
#include "persist_test_util.h"

using namespace persisttest;

using MatchSaveScoreTest = PersistTest;

TEST_F(MatchSaveScoreTest, AMatchHandsItsScoreToTheSaveFile)
{
    testsupport::VideoSession video;
    write_config(options_text('1', '2'));
    write_save(save_layout(kFalse, '1', '2', "0"));

    Match* left_early = new Match(1, 2, 150);
    left_early->save_score();
    delete left_early;
    EXPECT_EQ(save_file(), save_layout(kTrue, '1', '2', "150"));

    Match* ran_out = new Match(1, 2, 0);
    ran_out->save_score();
    delete ran_out;
    EXPECT_EQ(save_file(), save_layout(kFalse, '1', '2', "0"));

    Match* largest = new Match(1, 2, 2147483647);
    largest->save_score();
    delete largest;
    EXPECT_EQ(save_file(), save_layout(kTrue, '1', '2', "2147483647"));
}
