// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace wfconv::test {

// Header floats at the edges of the arithmetic, as bit patterns: each pairing of a
// scale and an offset from this list meets a different IEEE special case.
inline constexpr std::uint32_t kEdgeFloatBits[] = {
    0x00000000U, 0x80000000U,  // +0, -0
    0x00000001U, 0x807FFFFFU,  // smallest subnormal, largest negative subnormal
    0x7F800000U, 0xFF800000U,  // +inf, -inf
    0x7FC00000U, 0xFFC00001U,  // quiet NaNs
    0x7F800001U, 0xFFA00000U,  // signalling NaNs
    0x7F7FFFFFU, 0xFF7FFFFFU,  // largest finite
    0x3F800000U,               // 1.0: a plain product meeting each special offset
};

}  // namespace wfconv::test
