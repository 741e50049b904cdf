#pragma once

#include <cstdint>

namespace fw {

// The framework's one conversion of a real number to an integer: to the
// nearest integer, a half going away from zero (304.5 gives 305, -0.5 gives
// -1); values beyond the Int32 range give its nearest end, and NaN gives 0.
std::int32_t RealToInt32(double value);

}  // namespace fw
