// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace wfconv {

// raw * scale + offset, with the sum rounded first to a 64-bit significand and then
// to binary32 (both to nearest, ties to even), bit-identical on every platform.
// Never traps: invalid operations give the NaN x86 makes (sign bit set), overflow
// gives an infinity, and a NaN scale or offset comes through quieted. Where two NaNs
// meet (a NaN product and a NaN offset), the one x87 keeps comes through: the larger
// significand, the positive one on a tie.
float scale_sample(std::int16_t raw, float scale, float offset);

}  // namespace wfconv
