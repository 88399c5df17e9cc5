#pragma once

// The value a sample must become, including where IEEE arithmetic has no number to
// give: an invalid operation yields x86's default NaN (sign bit set), and a NaN
// operand passes on its own sign, scale before offset, as SSE picks its first operand.

#include <cmath>
#include <cstdint>
#include <limits>

#include "reference.hpp"

namespace wfconv::test {

inline float expected_sample(std::int16_t raw, float scale, float offset) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    if (std::isnan(scale)) return std::copysign(nan, scale);
    if (raw == 0 && std::isinf(scale)) return -nan;
    if (std::isnan(offset)) return std::copysign(nan, offset);
    const float sum = reference_sample(raw, scale, offset);
    return std::isnan(sum) ? -nan : sum;  // infinities of opposite sign
}

}  // namespace wfconv::test
