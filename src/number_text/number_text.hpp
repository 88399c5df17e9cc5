#pragma once

#include <string>

namespace wfconv {

// Scientific notation of value's exact binary value rounded to precision + 1
// significant digits (ties to even), right-justified in width: "d.dddde+XX",
// a minus sign for any set sign bit, "+INF", "-INF", "+NAN" or "-NAN" otherwise.
std::string format_sci(double value, int width, int precision);

}  // namespace wfconv
