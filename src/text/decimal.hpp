// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace wfconv {

// A float rounded to five significant digits, the precision of the channel lines,
// or the kind of non-finite value it is. The sign is the float's sign bit.
// Eight bytes in this order, so that it is returned in one register: other layouts
// made g++ assemble it on the stack, 40% slower per line.
struct Decimal {
    enum class Kind : std::uint8_t { finite, infinity, nan };
    std::uint32_t digits = 0;   // in [10^4, 10^5), or 0 for a zero
    std::int16_t exponent = 0;  // of the first digit: -45 to 38, 0 for a zero
    Kind kind = Kind::finite;
    bool negative = false;
};

// Rounds value's exact binary value to nearest, ties to even.
Decimal round_to_five_digits(float value);

}  // namespace wfconv
