#include <vector>

#include "game_test_support.h"

namespace {

// The nodes of a list from its head, by identity.
std::vector<TargetNode*> nodes(TargetList& list)
{
    std::vector<TargetNode*> out;
    for (Uint32 i = 0; i < list.count(); ++i) {
        out.push_back(list.node_at(i));
    }
    return out;
}

void fill(TargetList& list, int n)
{
    for (int i = 0; i < n; ++i) {
        list.append(0, 0.0);
    }
}

void fade_out(TargetList& list, std::initializer_list<Uint32> indices)
{
    for (Uint32 i : indices) {
        TargetProbe::alpha(TargetProbe::at(list, i)) = 0;
    }
}

}  // namespace

TEST(TargetList, EmptyListHasNothingToDo)
{
    TargetList list;
    EXPECT_EQ(list.count(), 0u);
    EXPECT_FALSE(list.any_faded_out());
    EXPECT_EQ(list.node_at(0), nullptr);
    list.update_and_draw_all(nullptr);
    list.clear();
    EXPECT_EQ(list.count(), 0u);
}

TEST(TargetList, AppendsAtTheTailAndIndexesStayOnTheTail)
{
    TargetList list;
    fill(list, 1);
    TargetNode* first = list.node_at(0);
    fill(list, 2);
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(list.node_at(0), first);
    EXPECT_EQ(TargetProbe::next(*list.node_at(1)), list.node_at(2));
    EXPECT_EQ(TargetProbe::next(*list.node_at(2)), nullptr);
    EXPECT_EQ(list.node_at(5), list.node_at(2));
    EXPECT_EQ(list.node_at(0xFFFFFFFFu), list.node_at(2));
}

TEST(TargetList, FadedOutIsSeenAnywhereInTheChain)
{
    TargetList list;
    fill(list, 4);
    EXPECT_FALSE(list.any_faded_out());
    fade_out(list, {3});
    EXPECT_TRUE(list.any_faded_out());
    EXPECT_TRUE(list.node_at(3)->is_faded_out());
    EXPECT_FALSE(list.node_at(2)->is_faded_out());
}

TEST(TargetList, DeletingANodeTakesTheRestOfTheChainWithIt)
{
    TargetList list;
    fill(list, 4);
    TargetNode* second = list.node_at(1);
    list.node_at(0)->set_next(nullptr);
    delete second;  // nodes 1, 2 and 3
    EXPECT_EQ(list.count(), 1u);
}

TEST(TargetList, RunAtTheHeadIsUnlinked)
{
    TargetList list;
    fill(list, 5);
    const auto before = nodes(list);
    before[1]->clear_next();
    delete before[0];
    list.set_head(before[2]);
    EXPECT_EQ(nodes(list), (std::vector<TargetNode*>{before[2], before[3], before[4]}));
}

TEST(TargetList, RunInTheMiddleIsUnlinked)
{
    TargetList list;
    fill(list, 5);
    const auto before = nodes(list);
    before[3]->clear_next();
    delete before[3];
    before[2]->set_next(before[4]);
    EXPECT_EQ(nodes(list), (std::vector<TargetNode*>{before[0], before[1], before[2], before[4]}));
}

TEST(TargetList, RemovingTheOnlyNodeEmptiesTheList)
{
    TargetList list;
    fill(list, 1);
    TargetNode* only = list.node_at(0);
    only->clear_next();
    delete only;
    list.set_head(nullptr);
    EXPECT_EQ(list.count(), 0u);
    fill(list, 2);
    EXPECT_EQ(list.count(), 2u);
}

TEST(TargetList, ClearEmptiesAndAppendingStartsANewChain)
{
    TargetList list;
    fill(list, 6);
    list.clear();
    EXPECT_EQ(list.count(), 0u);
    EXPECT_FALSE(list.any_faded_out());
    fill(list, 1);
    EXPECT_EQ(list.count(), 1u);
}

TEST(TargetList, DrawsEveryTargetOncePerFrameInChainOrder)
{
    SDL_Surface* screen = SDL_CreateRGBSurface(SDL_SWSURFACE, 800, 600, 32, 0, 0, 0, 0);
    TargetList list;
    fill(list, 3);
    TargetProbe::speed(TargetProbe::at(list, 1)) = 2.0;
    list.update_and_draw_all(screen);
    EXPECT_EQ(TargetProbe::rect(TargetProbe::at(list, 0)).y, 552);
    EXPECT_EQ(TargetProbe::rect(TargetProbe::at(list, 1)).y, 551);
    EXPECT_EQ(TargetProbe::rect(TargetProbe::at(list, 2)).y, 552);

    // A newer target is drawn over an older one.
    TargetProbe::place(TargetProbe::at(list, 0), 0, 100);
    TargetProbe::place(TargetProbe::at(list, 2), 0, 100);
    list.update_and_draw_all(screen);
    SDL_Surface* newest = TargetProbe::surface(TargetProbe::at(list, 2));
    EXPECT_TRUE(testsupport::same_colour(testsupport::pixel_at(screen, 1, 100),
                                         testsupport::pixel_at(newest, 0, 0)));
    SDL_FreeSurface(screen);
}

// The loop's removal of faded runs, on a real match.
class FadedRunRemoval : public gametest::MatchTest {
protected:
    void SetUp() override
    {
        make(0, 0);
        fill(targets(), 7);
        before = nodes(targets());
    }

    std::vector<TargetNode*> after(std::initializer_list<int> kept)
    {
        std::vector<TargetNode*> out;
        for (int i : kept) {
            out.push_back(before[i]);
        }
        return out;
    }

    std::vector<TargetNode*> before;
};

TEST_F(FadedRunRemoval, NothingFadedLeavesTheChainAlone)
{
    MatchProbe::remove_faded_targets(m());
    EXPECT_EQ(nodes(targets()), before);
}

TEST_F(FadedRunRemoval, RunsAtTheHeadInTheMiddleAndAtTheTailGoInOrder)
{
    fade_out(targets(), {0, 1, 3, 5, 6});
    MatchProbe::remove_faded_targets(m());
    EXPECT_EQ(nodes(targets()), after({2, 4}));
    EXPECT_FALSE(targets().any_faded_out());
}

TEST_F(FadedRunRemoval, SingleFadedNodeBetweenLiveOnes)
{
    fade_out(targets(), {4});
    MatchProbe::remove_faded_targets(m());
    EXPECT_EQ(nodes(targets()), after({0, 1, 2, 3, 5, 6}));
}

TEST_F(FadedRunRemoval, EveryNodeFadedEmptiesTheList)
{
    fade_out(targets(), {0, 1, 2, 3, 4, 5, 6});
    MatchProbe::remove_faded_targets(m());
    EXPECT_EQ(targets().count(), 0u);
}

TEST_F(FadedRunRemoval, KilledButVisibleTargetsStay)
{
    targets().node_at(2)->kill();
    fade_out(targets(), {3});
    MatchProbe::remove_faded_targets(m());
    EXPECT_EQ(nodes(targets()), after({0, 1, 2, 4, 5, 6}));
}
