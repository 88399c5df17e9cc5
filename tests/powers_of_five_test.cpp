// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>

#include "text/powers_of_five.hpp"

namespace wfconv {
namespace {

#ifdef __SIZEOF_INT128__
using Native = unsigned __int128;

Native native(detail::Uint128 a) { return (Native{a.hi} << 64U) | a.lo; }

// Recomputed by repeated multiplication in native 128-bit integers.
TEST(PowersOfFive, TableIsExact) {
    Native power = 1;
    for (std::size_t i = 0; i < detail::kPowersOfFive.size(); ++i, power *= 5) {
        EXPECT_TRUE(native(detail::kPowersOfFive[i]) == power) << "5^" << i;
    }
    // 10^(4 - k) for the smallest subnormal's k = -45 needs 5^49.
    EXPECT_EQ(detail::kPowersOfFive.size(), 50U);
}

#endif

}  // namespace
}  // namespace wfconv
