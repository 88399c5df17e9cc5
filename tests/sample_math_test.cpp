// SPDX-License-Identifier: MIT
#include "reader/sample_math.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "edge_floats.hpp"
#include "reference.hpp"
#include "text/number_text.hpp"

namespace wfconv {
namespace {

using test::bits_of;
using test::float_from_bits;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::uint32_t kDefaultNan = 0xFFC00000U;

struct Operands {
    std::int16_t raw;
    float scale;
    float offset;
};

std::string describe(const Operands& s) {
    char text[128];
    std::snprintf(text, sizeof text, "raw %d scale %a offset %a", s.raw, static_cast<double>(s.scale),
                  static_cast<double>(s.offset));
    return text;
}

// m * 2^e, exact whenever the caller keeps m below 2^24 and the result in float range.
float make_float(std::uint64_t m, int e) { return static_cast<float>(std::ldexp(static_cast<double>(m), e)); }

// The values written for the documented raw / scale / offset examples, text included.
TEST(SampleMath, WorkedExamplesGiveTheirLines) {
    const struct {
        std::int16_t raw;
        std::uint32_t scale, offset;
        const char* line;
    } cases[] = {
        {100, 0x3A83126F, 0, " 1.0000e-01"},
        {-32768, 0x3F800000, 0, "-3.2768e+04"},
        {1, 0x3F800000, 0xBF000000, " 5.0000e-01"},
        {12345, 0x38D1B717, 0x3F800000, " 2.2345e+00"},
        {33, 0x3D000000, 0, " 1.0312e+00"},
        {24889, 0x40A00000, 0, " 1.2444e+05"},
        {0, 0xBF800000, 0x80000000, "-0.0000e+00"},
        {5, 0x7F800000, 0, "       +INF"},
        {0, 0x7FC00000, 0, "       +NAN"},
        {-1, 0x3F800000, 0, "-1.0000e+00"},
        {32767, 0x3F800000, 0, " 3.2767e+04"},
        // Rounding the exact sum to double first would give 1.0000501: " 1.0001e+00".
        {4995, 0x2D51ECD5, 0x3F8001A3, " 1.0000e+00"},
    };
    for (const auto& c : cases) {
        const float value = scale_sample(c.raw, float_from_bits(c.scale), float_from_bits(c.offset));
        EXPECT_EQ(channel_line(value).view(), std::string(c.line) + "\r\n") << c.raw << ' ' << std::hex << c.scale;
    }
}

// Overflow, invalid operations and NaN operands give IEEE default results: NaNs
// keep the sign of the operand they came from, invalid operations give x86's -NaN.
TEST(SampleMath, NonFiniteResultsFollowIeeeDefaults) {
    const float max = FLT_MAX;
    const float nan_plus = float_from_bits(0x7FC00000U);
    const float nan_minus = float_from_bits(0xFFC01234U);
    const float snan_plus = float_from_bits(0x7F800001U);
    const float snan_minus = float_from_bits(0xFFA00000U);
    const struct {
        Operands in;
        float want;
        bool exact_bits;
    } cases[] = {
        {{1, max, max}, kInf, true},
        {{-32768, max, 0.0F}, -kInf, true},
        {{2, max, -max}, max, true},
        {{2, kInf, 5.0F}, kInf, true},
        {{-2, kInf, 5.0F}, -kInf, true},
        {{3, 1.0F, -kInf}, -kInf, true},
        {{0, kInf, 1.0F}, float_from_bits(kDefaultNan), true},
        {{0, -kInf, 0.0F}, float_from_bits(kDefaultNan), true},
        {{1, kInf, -kInf}, float_from_bits(kDefaultNan), true},
        {{-1, kInf, kInf}, float_from_bits(kDefaultNan), true},
        {{7, nan_plus, 1.0F}, nan_plus, false},
        {{0, nan_minus, 1.0F}, nan_minus, false},
        {{5, 1.0F, nan_plus}, nan_plus, false},
        {{5, kInf, nan_minus}, nan_minus, false},
        {{5, snan_plus, 0.0F}, nan_plus, false},
        {{5, 1.0F, snan_minus}, nan_minus, false},
    };
    for (const auto& c : cases) {
        const float got = scale_sample(c.in.raw, c.in.scale, c.in.offset);
        SCOPED_TRACE(describe(c.in));
        if (c.exact_bits) {
            EXPECT_EQ(bits_of(got), bits_of(c.want));
        } else {
            EXPECT_TRUE(std::isnan(got));
            EXPECT_EQ(std::signbit(got), std::signbit(c.want));
            EXPECT_NE(bits_of(got) & 0x00400000U, 0U) << "NaN is not quiet";
        }
    }
}

// Halfway between FLT_MAX and 2^128 a sum within half a 64-bit unit rounds to the
// midpoint first, which then ties up to infinity; a single rounding would give FLT_MAX.
TEST(SampleMath, DoubleRoundingAtTheOverflowThreshold) {
    // 31 * 1082401 = 2^25 - 1, so raw * scale is exactly (2^25 - 1) * 2^103.
    const float scale = make_float(1082401, 103);
    const struct {
        float offset;
        float want;
    } cases[] = {
        {0.0F, kInf},        {-0x1p63F, kInf},  // a tie at 64 bits that goes to the even midpoint
        {-0x1p62F, kInf},                       // below half a 64-bit unit
        {-0x3p62F, FLT_MAX},                    // beyond it
        {0x1p62F, kInf},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(scale_sample(31, scale, c.offset), c.want) << c.offset;
        EXPECT_EQ(scale_sample(-31, scale, -c.offset), -c.want) << c.offset;
    }
}

// Generated operands checked bit for bit against x87 extended arithmetic.
class SampleMathReference : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::kExtendedLongDouble) GTEST_SKIP() << "needs long double with a 64-bit significand";
    }

    template <class Generate>
    void expect_matches(int count, Generate generate) {
        int failures = 0;
        for (int i = 0; i < count; ++i) {
            const Operands s = generate();
            const float got = scale_sample(s.raw, s.scale, s.offset);
            const float want = test::reference_sample(s.raw, s.scale, s.offset);
            if (bits_of(got) != bits_of(want) && ++failures <= 5) {
                ADD_FAILURE() << describe(s) << ": got " << std::hexfloat << got << ", want " << want;
            }
        }
        EXPECT_EQ(failures, 0) << "of " << count;
    }

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    std::uint32_t bits(int n) { return n == 0 ? 0U : static_cast<std::uint32_t>(rng_() >> (64 - n)); }
    bool coin() { return (rng_() & 1U) != 0; }
    float with_sign(float v) { return coin() ? -v : v; }
    std::int16_t raw() { return static_cast<std::int16_t>(bits(16)); }
    // Random sign and significand with the biased exponent field in [lo, hi].
    float finite(int lo, int hi) {
        return float_from_bits(bits(1) << 31 | static_cast<std::uint32_t>(uniform(lo, hi)) << 23 | bits(23));
    }
    // An odd number of exactly n bits.
    std::uint64_t odd_of_width(int n) { return n == 1 ? 1 : (std::uint64_t{1} << (n - 1)) | bits(n - 1) | 1U; }

    std::mt19937_64 rng_{20261208};
};

// Any raw value, any finite scale and offset, and offsets of similar size to the
// product, where the rounding of the sum decides the result.
TEST_F(SampleMathReference, RandomOperands) {
    expect_matches(1'000'000, [&] { return Operands{raw(), finite(0, 254), finite(0, 254)}; });
    expect_matches(1'000'000, [&] {
        for (;;) {
            const Operands s{raw(), finite(1, 254), 0.0F};
            if (s.raw == 0) continue;  // ilogb(0) is INT_MIN: the exponent sum below would overflow
            const int e = std::ilogb(static_cast<double>(s.raw) * s.scale) + uniform(-70, 30);
            const float offset = with_sign(make_float(odd_of_width(uniform(1, 24)), e - 23));
            if (std::isfinite(offset)) return Operands{s.raw, s.scale, offset};
        }
    });
}

// Every pairing of the special scales and offsets with raw 0, 1 and -1, NaN payloads
// included: where a NaN scale or 0 × ∞ meets a NaN offset, x87 keeps the NaN with the
// larger significand, the positive one on a tie.
TEST_F(SampleMathReference, SpecialScalesAndOffsets) {
    constexpr std::size_t kCount = std::size(test::kEdgeFloatBits);
    std::size_t next = 0;
    expect_matches(static_cast<int>(3 * kCount * kCount), [&] {
        const std::size_t k = next++;
        const auto raw = static_cast<std::int16_t>(static_cast<int>(k % 3) - 1);
        return Operands{raw, float_from_bits(test::kEdgeFloatBits[k / 3 % kCount]),
                        float_from_bits(test::kEdgeFloatBits[k / 3 / kCount])};
    });
}

// Offsets that nearly cancel the product, operands so small that results are
// subnormal, and results around the largest float and beyond it.
TEST_F(SampleMathReference, CancellationSubnormalsAndOverflow) {
    expect_matches(500'000, [&] {
        for (;;) {
            const std::int16_t r = raw();
            const float scale = finite(0, 254);
            float offset = -static_cast<float>(static_cast<double>(r) * scale);
            for (int k = uniform(-3, 3); k != 0; k += k > 0 ? -1 : 1) {
                offset = std::nextafter(offset, k > 0 ? kInf : -kInf);
            }
            if (std::isfinite(offset)) return Operands{r, scale, offset};
        }
    });
    expect_matches(500'000, [&] { return Operands{raw(), finite(0, 30), finite(0, 30)}; });
    expect_matches(500'000, [&] { return Operands{raw(), finite(236, 254), finite(240, 254)}; });
}

// Products exactly halfway between two floats, nudged by offsets from far below half
// a 64-bit unit to well beyond half a double unit: exact ties at both stages, double
// rounding, and the sums that rounding to double would misplace. Only near these
// midpoints can the 64-bit stage change the float.
TEST_F(SampleMathReference, NearFloatMidpoints) {
    expect_matches(1'500'000, [&] {
        for (;;) {
            const int raw_width = uniform(2, 15);
            const std::uint64_t r = odd_of_width(raw_width);
            const std::uint64_t m = odd_of_width(25 - raw_width + uniform(0, 1));
            if (std::bit_width(r * m) != 25) continue;  // 25 bits ending in 1: a float midpoint
            const int top = uniform(-50, 127);          // exponent of the sum's leading bit
            const float scale = make_float(m, top - 24);
            const auto signed_raw = static_cast<std::int16_t>(coin() ? -static_cast<int>(r) : static_cast<int>(r));
            if (uniform(0, 7) == 0) return Operands{signed_raw, scale, with_sign(0.0F)};
            // Leading bit j places away from half a 64-bit unit, 2^(top - 64).
            const int j = uniform(0, 3) == 0 ? 0 : uniform(-12, 14);
            const int width = uniform(0, 3) == 0 ? 1 : uniform(1, 24);
            const float nudge = make_float(odd_of_width(width), top - 64 + j - (width - 1));
            return Operands{signed_raw, scale, with_sign(nudge)};
        }
    });
}

}  // namespace
}  // namespace wfconv
