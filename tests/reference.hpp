// SPDX-License-Identifier: MIT
#pragma once

// Independent references that the tests hold the converter to. They use what the
// program must not: x87 long double and glibc's printf.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>

namespace wfconv::test {

// The sample arithmetic rounds to a 64-bit significand first, which is what x87
// extended precision does natively.
inline constexpr bool kExtendedLongDouble = std::numeric_limits<long double>::digits == 64;

// The product of a 16-bit integer and a 24-bit significand is exact in 64 bits, so
// only the sum rounds, then the conversion to float rounds once more. Each float is
// loaded on its own, which quiets a signalling NaN before it meets another NaN; an
// optimiser would otherwise take it straight from memory into the arithmetic, where
// x87 prefers the quiet operand instead.
inline float reference_sample(std::int16_t raw, float scale, float offset) {
    const volatile long double wide_scale = scale;
    const volatile long double wide_offset = offset;
    const long double sum = static_cast<long double>(raw) * wide_scale + wide_offset;
    return static_cast<float>(sum);
}

// glibc's "%*.*e" rounds correctly from the exact binary value; only its texts for
// infinities and NaNs differ from the converter's.
inline std::string reference_sci(double value, int width, int precision) {
    char text[64];
    if (std::isfinite(value)) {
        std::snprintf(text, sizeof text, "%*.*e", width, precision, value);
    } else {
        const std::string word = std::string(std::signbit(value) ? "-" : "+") + (std::isnan(value) ? "NAN" : "INF");
        std::snprintf(text, sizeof text, "%*s", width, word.c_str());
    }
    return text;
}

inline float float_from_bits(std::uint32_t bits) { return std::bit_cast<float>(bits); }
inline std::uint32_t bits_of(float value) { return std::bit_cast<std::uint32_t>(value); }

}  // namespace wfconv::test
