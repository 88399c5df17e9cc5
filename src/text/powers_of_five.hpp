// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>

#include "text/wide_uint.hpp"

namespace wfconv::detail {

// 5^0 .. 5^49, exact. A float's value v = m * 2^e is scaled by 10^(4 - k) to give
// five digits, where 10^k <= v: k runs from -45 (2^-149) to 38 (FLT_MAX), so the
// scale needs 10^49 at the small end and 1 / 10^34 at the large one. 5^49 is below
// 2^114, so every entry fits 128 bits.
inline constexpr std::size_t kPowersOfFiveCount = 50;

inline constexpr std::array<Uint128, kPowersOfFiveCount> kPowersOfFive = [] {
    std::array<Uint128, kPowersOfFiveCount> powers{};
    powers[0] = Uint128{0, 1};
    for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = multiply(powers[i - 1], 5);
    return powers;
}();

}  // namespace wfconv::detail
