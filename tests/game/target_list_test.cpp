#include <string>
#include <vector>

#include "game_test_support.h"

namespace {

// The nodes of a list from its head, by identity.
std::vector<TargetNode*> nodes(const TargetList& list)
{
    std::vector<TargetNode*> out;
    for (Uint32 i = 0; i < list.count(); ++i) {
        out.push_back(list.node_at(i));
    }
    return out;
}

// A scratch screen to run frames on.
class TargetListTest : public ::testing::Test {
protected:
    TargetListTest() : screen(SDL_CreateRGBSurface(SDL_SWSURFACE, 800, 600, 32, 0, 0, 0, 0)) {}
    ~TargetListTest() override { SDL_FreeSurface(screen); }

    // One target per character, oldest first: '.' rises at speed 1 and stays
    // opaque for hundreds of frames; 'x' rises past the fading band within
    // its first frame and so fades out in it. Then runs that one frame.
    void fill_and_run_a_frame(const std::string& pattern)
    {
        for (char c : pattern) {
            list.append(0, c == 'x' ? 600.0 : 0.0);
        }
        before = nodes(list);
        list.update_and_draw_all(screen);
    }

    // The nodes at `kept` positions of the chain as filled.
    std::vector<TargetNode*> survivors(std::initializer_list<int> kept) const
    {
        std::vector<TargetNode*> out;
        for (int i : kept) {
            out.push_back(before[i]);
        }
        return out;
    }

    SDL_Surface* screen;
    TargetList list;
    std::vector<TargetNode*> before;
};

}  // namespace

TEST_F(TargetListTest, EmptyListHasNothingToDo)
{
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.node_at(0), nullptr);
    list.update_and_draw_all(screen);
    list.remove_faded_out();
    list.clear();
    EXPECT_EQ(list.count(), 0u);
}

TEST_F(TargetListTest, AppendsAtTheTailAndIndexesPastItStayOnTheTail)
{
    list.append(0, 0.0);
    TargetNode* first = list.node_at(0);
    list.append(0, 0.0);
    list.append(0, 0.0);
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(list.node_at(0), first) << "the oldest stays at the head";
    EXPECT_NE(list.node_at(1), first);
    EXPECT_NE(list.node_at(2), list.node_at(1));
    EXPECT_EQ(list.node_at(5), list.node_at(2));
    EXPECT_EQ(list.node_at(0xFFFFFFFFu), list.node_at(2));
}

TEST_F(TargetListTest, DrawsEveryTargetOncePerFrameNewestOnTop)
{
    list.append(0, 0.0);
    list.append(0, 1.0);
    list.append(0, 0.0);
    list.update_and_draw_all(screen);
    EXPECT_EQ(list.node_at(0)->target().box().y, 552);
    EXPECT_EQ(list.node_at(1)->target().box().y, 551);
    EXPECT_EQ(list.node_at(2)->target().box().y, 552);

    // The newest is drawn last, over an older one standing at the same
    // place: told apart by their colours, seen apart first.
    TargetNode* oldest = list.node_at(0);
    TargetNode* newest = list.node_at(2);
    for (int redraw = 0; redraw < 20; ++redraw) {
        MatchSeam::place(oldest->target(), 0, 101);
        MatchSeam::place(newest->target(), 200, 101);
        list.update_and_draw_all(screen);
        const SDL_Color old_colour = testsupport::pixel_at(screen, 1, 100);
        const SDL_Color new_colour = testsupport::pixel_at(screen, 201, 100);
        if (testsupport::same_colour(old_colour, new_colour)) {
            list.append(0, 0.0);  // try the next pair
            newest = list.node_at(list.count() - 1);
            continue;
        }
        MatchSeam::place(oldest->target(), 0, 301);
        MatchSeam::place(newest->target(), 0, 301);
        list.update_and_draw_all(screen);
        EXPECT_TRUE(testsupport::same_colour(testsupport::pixel_at(screen, 1, 300), new_colour));
        return;
    }
    FAIL() << "no two colours drawn";
}

TEST_F(TargetListTest, RemovingFadedTargetsKeepsTheOthersInTheirOrder)
{
    struct Case {
        const char* pattern;
        std::initializer_list<int> kept;
    };
    for (const Case& c : {Case{".......", {0, 1, 2, 3, 4, 5, 6}},
                          Case{"xx.x.xx", {2, 4}},
                          Case{"....x..", {0, 1, 2, 3, 5, 6}},
                          Case{"xxx....", {3, 4, 5, 6}},
                          Case{"...xxx.", {0, 1, 2, 6}},
                          Case{"....xxx", {0, 1, 2, 3}},
                          Case{"x.x.x.x", {1, 3, 5}},
                          Case{"xxxxxxx", {}},
                          Case{"x", {}}}) {
        list.clear();
        fill_and_run_a_frame(c.pattern);
        list.remove_faded_out();
        EXPECT_EQ(nodes(list), survivors(c.kept)) << c.pattern;
        // The chain stays whole behind the survivors: a new target goes to
        // its tail.
        list.append(0, 0.0);
        EXPECT_EQ(list.count(), c.kept.size() + 1) << c.pattern;
    }
}

TEST_F(TargetListTest, KilledButStillVisibleTargetsStay)
{
    fill_and_run_a_frame("...x...");
    list.node_at(2)->kill();
    list.update_and_draw_all(screen);
    list.remove_faded_out();
    EXPECT_EQ(nodes(list), survivors({0, 1, 2, 4, 5, 6}));
    EXPECT_FALSE(list.node_at(2)->is_alive());
}

TEST_F(TargetListTest, ClearEmptiesAndAppendingStartsANewChain)
{
    fill_and_run_a_frame("..x...");
    list.clear();
    EXPECT_EQ(list.count(), 0u);
    list.append(0, 0.0);
    EXPECT_EQ(list.count(), 1u);
}
