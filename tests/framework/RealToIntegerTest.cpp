#include "framework/model/RealToInteger.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

TEST(RealToInt32, RoundsHalvesAwayFromZeroAndStaysInRange) {
    const struct {
        double in;
        std::int32_t out;
    } cases[]{
        {304.0, 304}, {304.5, 305}, {304.49, 304}, {-0.5, -1}, {-1.5, -2}, {0.4, 0}, {-2.6, -3},
        {1e12, 2147483647}, {-1e12, -2147483647 - 1}, {std::nan(""), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(fw::RealToInt32(c.in), c.out) << c.in;
}

}  // namespace
