// SPDX-License-Identifier: MIT
#pragma once

// The value a sample must become, including where IEEE arithmetic has no number to
// give, on any host: an invalid operation yields x86's default NaN (sign bit set,
// payload 0), a NaN operand passes on quieted, and where a NaN product meets a NaN
// offset the one that x87 keeps: the larger significand, the positive one on a tie.

#include <cmath>
#include <cstdint>

#include "reference.hpp"

namespace wfconv::test {

inline float expected_sample(std::int16_t raw, float scale, float offset) {
    constexpr std::uint32_t kQuiet = 0x00400000U;
    constexpr std::uint32_t kDefaultNan = 0xFFC00000U;
    constexpr std::uint32_t kMagnitude = 0x7FFFFFFFU;
    std::uint32_t product = 0;  // a NaN product's bits, quieted; 0 for a number
    if (std::isnan(scale)) product = bits_of(scale) | kQuiet;
    if (raw == 0 && std::isinf(scale)) product = kDefaultNan;
    const std::uint32_t added = std::isnan(offset) ? bits_of(offset) | kQuiet : 0;
    if (product != 0 && added != 0) {
        const std::uint32_t a = product & kMagnitude;
        const std::uint32_t b = added & kMagnitude;
        return float_from_bits(a > b ? product : b > a ? added : product & added);
    }
    if (product != 0 || added != 0) return float_from_bits(product | added);
    const float sum = reference_sample(raw, scale, offset);
    return std::isnan(sum) ? float_from_bits(kDefaultNan) : sum;  // infinities of opposite sign
}

}  // namespace wfconv::test
