#include "game_test_support.h"

// Hours of play in large clock steps: the speed bonus passes 84 (targets
// cross the fading band in under a frame) and the tick counter wraps.
class MatchSoak : public gametest::MatchTest {};

TEST_F(MatchSoak, HoursOfPlayWithClicksStayBoundedAndEndCleanly)
{
    // Start an hour before the 32-bit tick counter wraps.
    gametest::FakeClock wrapping(0xFFFFFFFFu - 3600000u);
    wrapping.jump = 45000;
    listen_at_every_sleep(wrapping);
    make(0, 0);
    Uint32 most_targets = 0;
    int hits_aimed = 0;
    Sint32 lowest_score = 0;
    unsigned sleeps = 0;
    wrapping.on_delay = [&](Uint32) {
        ++sleeps;
        TargetList& list = targets();
        most_targets = std::max(most_targets, list.count());
        lowest_score = std::min(lowest_score, score());
        // Aim at the newest live target, or shoot into the sky.
        int x = 400;
        int y = 5;
        for (Uint32 i = list.count(); i-- > 0;) {
            const TargetNode* node = list.node_at(i);
            const SDL_Rect at = node->target().box();
            if (node->is_alive() && at.y > 0) {
                x = at.x + 2;
                y = at.y + 2;
                ++hits_aimed;
                break;
            }
        }
        if (MatchSeam::loop(m()).speed_bonus > 90.0) {
            testsupport::push_key(SDLK_ESCAPE);
        } else {
            testsupport::push_click(x, y);
        }
    };
    play();
    EXPECT_GT(MatchSeam::loop(m()).speed_bonus, 90.0);
    EXPECT_GT(sleeps, 400u);
    EXPECT_GT(hits_aimed, 300);
    EXPECT_GT(hits(), 300u);
    EXPECT_EQ(lowest_score, 0);
    EXPECT_LT(most_targets, 600u);
    EXPECT_EQ(targets().count(), 0u);
    EXPECT_TRUE(MatchSeam::ended(m()));
}
