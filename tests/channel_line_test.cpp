#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "convert/channel_line.hpp"
#include "convert/powers_of_five.hpp"
#include "convert/wide_uint.hpp"
#include "float_sweep.hpp"
#include "reference.hpp"

namespace wfconv {
namespace {

using test::float_from_bits;

// Lines worked out by hand from the exact binary values, as bit patterns.
TEST(ChannelLine, KnownLines) {
    const struct { std::uint32_t bits; const char* want; } cases[] = {
        {0x3DCCCCCDU, " 1.0000e-01"},  // 0.100000001490116...
        {0xC7000000U, "-3.2768e+04"},
        {0x3F000000U, " 5.0000e-01"},
        {0x400F020CU, " 2.2345e+00"},  // 2.23449993...
        {0x3F840000U, " 1.0312e+00"},  // 1.03125: tie, 2 is even
        {0x47F30E80U, " 1.2444e+05"},  // 124445: tie, 4 is even
        {0x4640E600U, " 1.2346e+04"},  // 12345.5: tie, 5 is odd
        {0x3B800000U, " 3.9062e-03"},  // 2^-8 = 0.00390625: the smallest tie
        {0x47C34FC0U, " 1.0000e+05"},  // 99999.5: tie carries into a new digit
        {0x47C34F40U, " 9.9998e+04"},  // 99998.5
        {0x411FFFCBU, " 9.9999e+00"},  // 9.99994945...
        {0x411FFFCCU, " 1.0000e+01"},  // 9.99995040...: carries
        {0x3F7FFFFFU, " 1.0000e+00"},  // 0.99999994...: carries up a decade
        {0x501502F9U, " 1.0000e+10"},
        {0x4F800000U, " 4.2950e+09"},
        {0x7F7FFFFFU, " 3.4028e+38"},  // the largest float
        {0x00800000U, " 1.1755e-38"},  // the smallest normal
        {0x007FFFFFU, " 1.1755e-38"},  // the largest subnormal
        {0x800116C2U, "-9.9999e-41"},
        {0x00000001U, " 1.4013e-45"},  // the smallest subnormal
        {0x00000000U, " 0.0000e+00"},
        {0x80000000U, "-0.0000e+00"},
        {0x7F800000U, "       +INF"},
        {0xFF800000U, "       -INF"},
        {0x7FC00000U, "       +NAN"},
        {0xFFC00000U, "       -NAN"},
        {0x7F800001U, "       +NAN"},  // signalling
        {0xFFFFFFFFU, "       -NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(channel_line(float_from_bits(c.bits)).view(), std::string(c.want) + "\r\n") << std::hex << c.bits;
    }
}

// The everyday share of the exhaustive check: about four million patterns spread over
// every exponent and both signs (a prime stride walks all the significand bits).
TEST(ChannelLine, SampledPatternsMatchPrintf) {
    constexpr std::uint64_t kStride = 1021;
    const test::SweepResult result = test::sweep(test::channel_line_matches, 0, std::uint64_t{1} << 32, kStride, 1);
    EXPECT_EQ(result.mismatches, 0U) << test::describe(result);
    EXPECT_GT(result.checked, 4'000'000U);
}

// Every float that is an exact tie at five digits, and its two neighbours, which
// must round away from the tie's choice.
TEST(ChannelLine, EveryTieAndItsNeighbours) {
    const std::vector<std::uint32_t> ties = test::exact_ties(5, 1);
    EXPECT_GT(ties.size(), 700'000U);  // about 353,000 of each sign
    const test::SweepResult result = test::sweep_around(test::channel_line_matches, ties, 1);
    EXPECT_EQ(result.mismatches, 0U) << test::describe(result);
}

// Around every 10^k and 9.99995 * 10^k: where the first digit is found and where
// rounding carries into a new one.
TEST(ChannelLine, DecadeEdgesAndCarries) {
    std::vector<std::uint32_t> patterns;
    for (int k = -45; k <= 38; ++k) {
        for (const char* digits : {"1e", "9.99995e"}) {
            const float edge = std::strtof((digits + std::to_string(k)).c_str(), nullptr);
            const std::int64_t magnitude = test::bits_of(edge);
            for (std::int64_t near = magnitude - 32; near <= magnitude + 32; ++near) {
                if (near < 0 || near >= 0x7F800000) continue;  // stay finite
                patterns.push_back(static_cast<std::uint32_t>(near));
                patterns.push_back(static_cast<std::uint32_t>(near) | 0x80000000U);
            }
        }
    }
    const test::SweepResult result = test::sweep_list(test::channel_line_matches, patterns);
    EXPECT_EQ(result.mismatches, 0U) << test::describe(result);
    EXPECT_GT(result.checked, 20'000U);
}

// The formatter's 128-bit arithmetic against the compiler's own 128-bit integers.
#ifdef __SIZEOF_INT128__
using Native = unsigned __int128;

Native native(detail::Uint128 a) { return (Native{a.hi} << 64U) | a.lo; }
detail::Uint128 wide(Native a) { return {static_cast<std::uint64_t>(a >> 64U), static_cast<std::uint64_t>(a)}; }

// Recomputed by repeated multiplication in native 128-bit integers.
TEST(PowersOfFive, TableIsExact) {
    Native power = 1;
    for (std::size_t i = 0; i < detail::kPowersOfFive.size(); ++i, power *= 5) {
        EXPECT_TRUE(native(detail::kPowersOfFive[i]) == power) << "5^" << i;
    }
    // 10^(4 - k) for the smallest subnormal's k = -45 needs 5^49.
    EXPECT_EQ(detail::kPowersOfFive.size(), 50U);
}

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
