#include <gtest/gtest.h>

#include "game/match.h"
#include "persist_test_util.h"

using namespace persisttest;

using MatchSaveScoreTest = PersistTest;

TEST_F(MatchSaveScoreTest, AMatchHandsItsScoreToTheSaveFile)
{
    testsupport::VideoSession video;
    write_config("[ \xA7Visor ] -> 1\n[ \xA7" "Difficulte ] -> 2");
    write_save("[ ! ] -> False\n[\xA7saved:Visor=1][\xA7saved:Diff=2][\xA7saved:GameScore=0]");

    Match* left_early = new Match(1, 2, 150);
    left_early->save_score();
    delete left_early;
    EXPECT_EQ(save_file(),
              "[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=2][\xA7saved:GameScore=150]");

    Match* ran_out = new Match(1, 2, 0);
    ran_out->save_score();
    delete ran_out;
    EXPECT_EQ(save_file(),
              "[ ! ] -> False\n[\xA7saved:Visor=1][\xA7saved:Diff=2][\xA7saved:GameScore=0]");

    Match* largest = new Match(1, 2, 2147483647);
    largest->save_score();
    delete largest;
    EXPECT_EQ(save_file(), "[ ! ] -> True\n[\xA7saved:Visor=1][\xA7saved:Diff=2]"
                           "[\xA7saved:GameScore=2147483647]");
}
