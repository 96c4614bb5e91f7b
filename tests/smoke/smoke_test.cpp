#include <gtest/gtest.h>

#include "core/random_range.h"

#include <cstdlib>

TEST(RandomRange, StaysWithinInclusiveBounds)
{
    std::srand(7);
    bool seen_lo = false;
    bool seen_hi = false;
    for (int i = 0; i < 2000; ++i) {
        const double v = RandomRange(7, 0);
        ASSERT_GE(v, 0.0);
        ASSERT_LE(v, 7.0);
        seen_lo |= v == 0.0;
        seen_hi |= v == 7.0;
        const double pair = RandomRange(2, 1);
        ASSERT_TRUE(pair == 1.0 || pair == 2.0);
        ASSERT_EQ(RandomRange(5, 5), 5.0);
    }
    EXPECT_TRUE(seen_lo && seen_hi);
}
