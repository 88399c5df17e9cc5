// SPDX-License-Identifier: MIT
#include "reader/sample_math.hpp"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

// The error-free transformations below need every double operation rounded once,
// straight to double; excess precision (x87 without SSE2) would break them.
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must not carry excess precision");
static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<float>::is_iec559);

namespace wfconv {

namespace {

// The NaN that x86 produces for an invalid operation: sign bit set, quiet, payload 0.
constexpr std::uint32_t kDefaultNanBits = 0xFFC00000U;
constexpr std::uint32_t kQuietBit = 0x00400000U;
constexpr std::uint32_t kSignBit = 0x80000000U;

// A signalling NaN becomes the quiet NaN of the same sign and payload.
std::uint32_t quieted_bits(float nan) { return std::bit_cast<std::uint32_t>(nan) | kQuietBit; }

// The NaN that x87 passes on when both operands are NaNs (quiet by now): the larger
// significand, and on a tie the positive one. A float's significand widens to x87's
// by a shift, so comparing the float bits without the sign compares the same.
float nan_of_two(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t magnitude_a = a & ~kSignBit;
    const std::uint32_t magnitude_b = b & ~kSignBit;
    if (magnitude_a != magnitude_b) return std::bit_cast<float>(magnitude_a > magnitude_b ? a : b);
    return std::bit_cast<float>(a & b);  // the sign stays only if both carry it
}

struct DoubleDouble {
    double hi;
    double lo;  // exact remainder: hi + lo is the exact sum
};

// Knuth's TwoSum: exact for any finite doubles whose sum does not overflow.
DoubleDouble two_sum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    const double err = (a - (s - bb)) + (b - bb);
    return {s, err};
}

// The double operations below stand in for libm's ilogb, ldexp, fmod and nextafter
// with bit operations on the values this file meets, all normal and finite: the
// program then loads no maths library at start-up (bench/README.md, Start-up).
constexpr int kDoubleFractionBits = 52;
constexpr int kDoubleExponentBias = 1023;
constexpr std::uint64_t kDoubleFractionMask = (std::uint64_t{1} << kDoubleFractionBits) - 1U;

int binary_exponent(double normal) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(normal);
    return static_cast<int>((bits >> kDoubleFractionBits) & 0x7FFU) - kDoubleExponentBias;
}

bool is_power_of_two(double normal) { return (std::bit_cast<std::uint64_t>(normal) & kDoubleFractionMask) == 0U; }

// 2^exponent, for exponents of normal doubles.
double power_of_two(int exponent) {
    return std::bit_cast<double>(static_cast<std::uint64_t>(exponent + kDoubleExponentBias) << kDoubleFractionBits);
}

// The neighbour of a normal double one step nearer to or further from zero.
double step_away_from_zero(double normal, bool away) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(normal);
    return std::bit_cast<double>(away ? bits + 1U : bits - 1U);
}

// y rounded to an integer, ties to even, for |y| < 2^62; whatever the rounding mode.
double round_half_even(double y) {
    const auto whole = static_cast<std::int64_t>(y);  // towards zero
    const double frac = y - static_cast<double>(whole);  // exact
    std::int64_t rounded = whole;
    if (frac > 0.5 || (frac == 0.5 && whole % 2 != 0)) ++rounded;
    if (frac < -0.5 || (frac == -0.5 && whole % 2 != 0)) --rounded;
    return static_cast<double>(rounded);
}

// Rounds hi + lo (hi = hi + lo rounded to double) to a 64-bit significand and
// returns it again as an exact pair. hi is normal whenever lo is not zero: both
// terms are multiples of 2^-149, so an inexact sum spans more than 53 bits above that.
DoubleDouble round_to_64_bits(DoubleDouble x) {
    if (x.lo == 0.0) return x;  // 53 bits already fit
    // The exact value drops a binade below hi when hi is a power of two and lo pulls
    // towards zero; its 64-bit grid is then twice as fine.
    int exponent = binary_exponent(x.hi);
    if (is_power_of_two(x.hi) && std::signbit(x.hi) != std::signbit(x.lo)) --exponent;
    const double unit = power_of_two(exponent - 63);
    // hi lies on the 64-bit grid with an even last bit (it has 11 bits fewer),
    // so rounding lo to the grid rounds the whole value, ties to even included.
    // lo is at most half of hi's last place, so lo / unit stays below 2^11.
    return {x.hi, round_half_even(x.lo / unit) * unit};
}

// Rounds hi + lo to 53 bits towards the neighbour with an odd significand unless it
// is exact. A second rounding of the result to nearest float is then correct,
// because 53 bits leave at least two spare bits over float's 24.
double round_to_odd(DoubleDouble x) {
    // Exact already; TwoSum would also turn -0 + +0 (the pair of a -0 sum) into +0.
    if (x.lo == 0.0) return x.hi;
    const DoubleDouble sum = two_sum(x.hi, x.lo);
    if (sum.lo == 0.0) return sum.hi;
    if ((std::bit_cast<std::uint64_t>(sum.hi) & 1U) != 0U) return sum.hi;
    return step_away_from_zero(sum.hi, std::signbit(sum.hi) == std::signbit(sum.lo));
}

// Halfway between FLT_MAX and 2^128: from here on, rounding to float gives infinity.
constexpr double kFloatOverflowThreshold = 0x1.ffffffp127;

float round_to_float(double odd_rounded) {
    if (std::fabs(odd_rounded) >= kFloatOverflowThreshold) {
        constexpr float inf = std::numeric_limits<float>::infinity();
        return odd_rounded > 0.0 ? inf : -inf;
    }
    return static_cast<float>(odd_rounded);
}

}  // namespace

float scale_sample(std::int16_t raw, float scale, float offset) {
    // The product is a NaN when the scale is one, or when 0 × ∞ is invalid; it then
    // meets the offset, which may be a NaN too.
    if (std::isnan(scale) || (std::isinf(scale) && raw == 0)) {
        const std::uint32_t product = std::isnan(scale) ? quieted_bits(scale) : kDefaultNanBits;
        return std::isnan(offset) ? nan_of_two(product, quieted_bits(offset)) : std::bit_cast<float>(product);
    }
    if (std::isnan(offset)) return std::bit_cast<float>(quieted_bits(offset));

    // 16 bits times 24 bits fits a double's 53: the product is exact.
    const double product = static_cast<double>(raw) * static_cast<double>(scale);
    if (std::isinf(product) || std::isinf(offset)) {
        if (std::isinf(product) && std::isinf(offset) && std::signbit(product) != std::signbit(offset)) {
            return std::bit_cast<float>(kDefaultNanBits);
        }
        return static_cast<float>(product + static_cast<double>(offset));
    }
    // Both terms are below 2^144, so the double sum cannot overflow.
    const DoubleDouble exact = two_sum(product, static_cast<double>(offset));
    return round_to_float(round_to_odd(round_to_64_bits(exact)));
}

}  // namespace wfconv
