// SPDX-License-Identifier: MIT
#include "text/decimal.hpp"

#include <bit>
#include <cstddef>
#include <cstdint>

#include "text/powers_of_five.hpp"
#include "text/wide_uint.hpp"

namespace wfconv {

// Hand-written rather than std::to_chars: every channel line comes through here,
// and exact 128-bit integer arithmetic on a float is four times as fast
// (bench/number_text_bench).

namespace {

using detail::Uint128;

// Five significant digits: an integer in [10^4, 10^5) times 10^(exponent - 4).
constexpr int kFractionDigits = 4;
constexpr std::uint32_t kFiveDigitsLow = 10000;
constexpr std::uint32_t kFiveDigitsEnd = 100000;

// What lies below the units of a scaled value, relative to one half.
enum class Rest { zero, below_half, half, above_half };

struct Digits {
    std::uint32_t value;  // integer part of the scaled value
    Rest rest;
};

// floor(n * log10(2)) for |n| <= 1650: 78913 / 2^18 falls short of log10(2) by
// 7.9e-7, too little to move the floor in that range (floats need -149..127).
constexpr int floor_log10_pow2(int n) { return (n * 78913) >> 18; }

// The rest once the lowest digit has joined the rest below it.
Rest rest_with_digit(std::uint32_t digit, Rest below) {
    const bool more = below != Rest::zero;
    if (digit < 5) return digit != 0 || more ? Rest::below_half : Rest::zero;
    return digit == 5 && !more ? Rest::half : Rest::above_half;
}

Rest rest_of_division(Uint128 remainder, Uint128 divisor) {
    if (remainder == Uint128{}) return Rest::zero;
    const Uint128 twice = detail::shift_left(remainder, 1);
    if (detail::less(twice, divisor)) return Rest::below_half;
    return twice == divisor ? Rest::half : Rest::above_half;
}

// m * 2^binary_exponent * 10^-scale, as its integer part and the rest, exactly.
// The caller picks scale so that the integer part lies in [10^4, 10^6).
Digits scaled(std::uint32_t m, int binary_exponent, int scale) {
    if (scale <= 0) {
        // m * 5^-scale * 2^(binary_exponent - scale): an exact product, then a shift.
        const Uint128 product = detail::multiply(detail::kPowersOfFive[static_cast<std::size_t>(-scale)], m);
        const int twos = binary_exponent - scale;
        // With no shift to the right the value is an integer, below 10^6.
        if (twos >= 0) return {static_cast<std::uint32_t>(product.lo << static_cast<unsigned>(twos)), Rest::zero};
        const auto shift = static_cast<unsigned>(-twos);
        const bool half = detail::bit_set(product, shift - 1);
        const bool beyond = detail::low_bits_set(product, shift - 1);
        const Rest rest = half ? (beyond ? Rest::above_half : Rest::half) : (beyond ? Rest::below_half : Rest::zero);
        return {static_cast<std::uint32_t>(detail::shift_right(product, shift).lo), rest};
    }
    // m * 2^twos / 5^scale. With twos < 0 the divisor 5^scale * 2^-twos is at most
    // m / 10^4, as the quotient is at least 10^4: below 2^11, so 64-bit division does.
    const int twos = binary_exponent - scale;
    const Uint128 five = detail::kPowersOfFive[static_cast<std::size_t>(scale)];
    if (twos < 0) {
        const std::uint64_t divisor = five.lo << static_cast<unsigned>(-twos);
        return {static_cast<std::uint32_t>(m / divisor), rest_of_division({0, m % divisor}, {0, divisor})};
    }
    const Uint128 numerator = detail::shift_left({0, m}, static_cast<unsigned>(twos));
    const detail::SmallQuotient q = detail::divide_small(numerator, five);
    return {q.quotient, rest_of_division(q.remainder, five)};
}

}  // namespace

Decimal round_to_five_digits(float value) {
    constexpr int kFractionBits = 23;
    constexpr std::uint32_t kFractionMask = (1U << kFractionBits) - 1;
    constexpr std::uint32_t kExponentMask = 0xFFU;
    constexpr int kExponentBias = 150;  // 127 plus the 23 fraction bits
    const auto bits = std::bit_cast<std::uint32_t>(value);
    Decimal result;
    result.negative = (bits >> 31U) != 0;
    const auto biased = static_cast<int>((bits >> kFractionBits) & kExponentMask);
    std::uint32_t m = bits & kFractionMask;

    if (biased == static_cast<int>(kExponentMask)) {
        result.kind = m != 0 ? Decimal::Kind::nan : Decimal::Kind::infinity;
        return result;
    }
    int binary_exponent = 1 - kExponentBias;
    if (biased != 0) {
        m |= 1U << kFractionBits;
        binary_exponent = biased - kExponentBias;
    }
    if (m == 0) return result;

    // 2^top <= value < 2^(top + 1), so 10^k <= value < 10^(k + 2).
    const int top = binary_exponent + static_cast<int>(std::bit_width(m)) - 1;
    int exponent = floor_log10_pow2(top);
    Digits d = scaled(m, binary_exponent, exponent - kFractionDigits);
    if (d.value >= kFiveDigitsEnd) {
        // Six digits: the value was at least 10^(k + 1). The sixth joins the rest.
        d.rest = rest_with_digit(d.value % 10, d.rest);
        d.value /= 10;
        ++exponent;
    }
    const bool round_up = d.rest == Rest::above_half || (d.rest == Rest::half && d.value % 2 != 0);
    if (round_up && ++d.value == kFiveDigitsEnd) {  // 9.99995 and up carry into a new digit
        d.value = kFiveDigitsLow;
        ++exponent;
    }
    result.digits = d.value;
    result.exponent = static_cast<std::int16_t>(exponent);
    return result;
}

}  // namespace wfconv
