// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "text/wide_uint.hpp"

namespace wfconv {
namespace {

// The formatter's 128-bit arithmetic against the compiler's own 128-bit integers.
#ifdef __SIZEOF_INT128__
using Native = unsigned __int128;

Native native(detail::Uint128 a) { return (Native{a.hi} << 64U) | a.lo; }
detail::Uint128 wide(Native a) { return {static_cast<std::uint64_t>(a >> 64U), static_cast<std::uint64_t>(a)}; }


TEST(Uint128, AgreesWithNativeIntegers) {
    std::mt19937_64 rng(3);
    for (int i = 0; i < 200'000; ++i) {
        const Native a = (Native{rng()} << 64U) | rng();
        const Native b = (Native{rng()} << 64U) | rng();
        const auto small = static_cast<std::uint32_t>(rng());
        const Native narrow = a >> (rng() % 128);  // so that some products fit
        const auto shift = static_cast<unsigned>(rng() % 128);
        if ((narrow >> 96U) == 0) {
            EXPECT_TRUE(native(detail::multiply(wide(narrow), small)) == narrow * small);
        }
        EXPECT_EQ(detail::less(wide(a), wide(b)), a < b);
        EXPECT_TRUE(native(detail::subtract(wide(a > b ? a : b), wide(a > b ? b : a))) == (a > b ? a - b : b - a));
        EXPECT_TRUE(native(detail::shift_left(wide(a), shift)) == a << shift);
        EXPECT_TRUE(native(detail::shift_right(wide(a), shift)) == a >> shift);
        EXPECT_EQ(detail::bit_set(wide(a), shift), ((a >> shift) & 1U) != 0);
        const Native below = shift == 0 ? 0 : a & ((Native{1} << shift) - 1);
        EXPECT_EQ(detail::low_bits_set(wide(a), shift), below != 0);
        // Patterns whose only set bit sits right at or below the boundary.
        EXPECT_TRUE(detail::low_bits_set(wide(Native{1} << (shift == 0 ? 0 : shift - 1)), shift) == (shift != 0));
        EXPECT_FALSE(detail::low_bits_set(wide(Native{1} << shift), shift));
    }
}

// Numerators right next to a multiple of the divisor, where the double estimate of
// the quotient can land on the wrong side of a whole number.
TEST(Uint128, SmallQuotientsAreExactNextToWholeNumbers) {
    std::mt19937_64 rng(4);
    int wrong = 0;
    for (int i = 0; i < 100'000; ++i) {
        const Native divisor = ((Native{rng()} << 64U) | rng()) >> (25 + rng() % 60);  // below 2^103
        if (divisor == 0) continue;
        const Native quotient = rng() & 0xFFFFFFU;
        for (const Native remainder : {Native{0}, Native{1}, divisor - 1, divisor / 2, divisor - divisor / 3}) {
            const detail::SmallQuotient got = detail::divide_small(wide(quotient * divisor + remainder), wide(divisor));
            if (got.quotient != quotient || native(got.remainder) != remainder) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
}

#endif

}  // namespace
}  // namespace wfconv
