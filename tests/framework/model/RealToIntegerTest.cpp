#include "framework/model/RealToInteger.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

TEST(RealToInt32, RoundsHalvesAwayFromZeroAndStaysInRange) {
    const std::pair<double, std::int32_t> cases[]{
        {304.5, 305},      {304.49, 304}, {-0.5, -1},         {-1.5, -2},
        {0.4, 0},          {-2.6, -3},    {1e12, 2147483647}, {-1e12, -2147483647 - 1},
        {std::nan(""), 0},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(fw::RealToInt32(in), out) << in;
}
