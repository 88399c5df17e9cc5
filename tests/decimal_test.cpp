// SPDX-License-Identifier: MIT
// The rounding to five digits (text/decimal), seen through the channel line:
// the reference, printf, gives text.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "text/number_text.hpp"
#include "float_sweep.hpp"
#include "sweep_size.hpp"
#include "reference.hpp"

namespace wfconv {
namespace {

using test::float_from_bits;

// Lines worked out by hand from the exact binary values, as bit patterns.
TEST(Decimal, KnownLines) {
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
TEST(Decimal, SampledPatternsMatchPrintf) {
    constexpr std::uint64_t kStride = 1021;
    const test::SweepResult result =
        test::sweep(test::channel_line_matches, 0, std::uint64_t{1} << 32, (kStride * test::sweep_divisor()) | 1U, 1);
    EXPECT_EQ(result.mismatches, 0U) << test::describe(result);
    EXPECT_GT(result.checked, 4'000'000U / test::sweep_divisor());
}

// Every float that is an exact tie at five digits, and its two neighbours, which
// must round away from the tie's choice.
TEST(Decimal, EveryTieAndItsNeighbours) {
    const std::vector<std::uint32_t> ties = test::exact_ties(5, test::sweep_divisor());
    EXPECT_GT(ties.size(), 700'000U / test::sweep_divisor());  // about 353,000 of each sign
    const test::SweepResult result = test::sweep_around(test::channel_line_matches, ties, 1);
    EXPECT_EQ(result.mismatches, 0U) << test::describe(result);
}

// Around every 10^k and 9.99995 * 10^k: where the first digit is found and where
// rounding carries into a new one.
TEST(Decimal, DecadeEdgesAndCarries) {
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

}  // namespace
}  // namespace wfconv
