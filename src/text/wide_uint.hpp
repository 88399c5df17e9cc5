// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace wfconv::detail {

// An unsigned 128-bit integer in two 64-bit halves, with portable arithmetic: a
// float's significand times the powers of five that the channel lines need.
struct Uint128 {
    std::uint64_t hi = 0;
    std::uint64_t lo = 0;
    friend constexpr bool operator==(const Uint128&, const Uint128&) = default;
};

// a * b; the caller keeps the product below 2^128.
constexpr Uint128 multiply(Uint128 a, std::uint32_t b) {
    constexpr std::uint64_t kLow32 = 0xFFFFFFFFU;
    const std::uint64_t low = (a.lo & kLow32) * b;
    const std::uint64_t middle = (a.lo >> 32U) * b;
    const std::uint64_t lo = low + (middle << 32U);
    const std::uint64_t carry = lo < low ? 1 : 0;
    return {a.hi * b + (middle >> 32U) + carry, lo};
}

constexpr bool less(Uint128 a, Uint128 b) { return a.hi < b.hi || (a.hi == b.hi && a.lo < b.lo); }

// a - b for b <= a.
constexpr Uint128 subtract(Uint128 a, Uint128 b) {
    return {a.hi - b.hi - (a.lo < b.lo ? 1 : 0), a.lo - b.lo};
}

// shift in 0..127.
constexpr Uint128 shift_left(Uint128 a, unsigned shift) {
    if (shift == 0) return a;
    if (shift >= 64) return {a.lo << (shift - 64), 0};
    return {(a.hi << shift) | (a.lo >> (64 - shift)), a.lo << shift};
}

// shift in 0..127.
constexpr Uint128 shift_right(Uint128 a, unsigned shift) {
    if (shift == 0) return a;
    if (shift >= 64) return {0, a.hi >> (shift - 64)};
    return {a.hi >> shift, (a.lo >> shift) | (a.hi << (64 - shift))};
}

// Whether bit `index` (0..127) is set.
constexpr bool bit_set(Uint128 a, unsigned index) {
    return index >= 64 ? ((a.hi >> (index - 64)) & 1U) != 0 : ((a.lo >> index) & 1U) != 0;
}

// Whether any of the lowest `count` bits (0..127) is set.
constexpr bool low_bits_set(Uint128 a, unsigned count) {
    if (count == 0) return false;
    if (count == 64) return a.lo != 0;
    if (count > 64) return a.lo != 0 || (a.hi << (128 - count)) != 0;
    return (a.lo << (64 - count)) != 0;
}

// Within a few units in the last place of a double; only ever used as an estimate.
constexpr double approximate(Uint128 a) {
    constexpr double kTwoTo64 = 18446744073709551616.0;
    return static_cast<double>(a.hi) * kTwoTo64 + static_cast<double>(a.lo);
}

struct SmallQuotient {
    std::uint32_t quotient;
    Uint128 remainder;
};

// numerator / divisor for a quotient below 2^24, exactly. The quotient of the two
// doubles is off from the true one by far less than 1, so its integer part is at
// most one away; the exact remainder then settles it.
constexpr SmallQuotient divide_small(Uint128 numerator, Uint128 divisor) {
    auto quotient = static_cast<std::uint32_t>(approximate(numerator) / approximate(divisor));
    Uint128 product = multiply(divisor, quotient);
    while (less(numerator, product)) {
        --quotient;
        product = subtract(product, divisor);
    }
    Uint128 remainder = subtract(numerator, product);
    while (!less(remainder, divisor)) {
        ++quotient;
        remainder = subtract(remainder, divisor);
    }
    return {quotient, remainder};
}

}  // namespace wfconv::detail
