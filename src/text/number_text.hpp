// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "text/decimal.hpp"

namespace wfconv {

// A float's decimal exponent lies in -45..+38, so "%11.4e" always fills exactly
// 11 characters; CR LF ends every line.
inline constexpr std::size_t kChannelLineSize = 13;

// Those 11 characters are a head, "-d.dddd" or seven spaces, and a tail, "e+05" or a
// word such as "+INF". The line cache keeps the two apart.
inline constexpr std::size_t kLineHeadSize = 7;
inline constexpr std::size_t kLineTailSize = 4;
void write_line_head(const Decimal& decimal, char* out);
void write_line_tail(const Decimal& decimal, char* out);

// "+INF", "-INF", "+NAN" or "-NAN": the sign is always written.
std::string_view non_finite_word(bool nan, bool negative);

struct ChannelLine {
    std::array<char, kChannelLineSize> text{};
    [[nodiscard]] std::string_view view() const { return {text.data(), text.size()}; }
};

// Writes the kChannelLineSize bytes of value's line to out: the text that
// format_sci gives at width 11 and precision 4, then CR LF.
void write_channel_line(float value, char* out);

// The same line as a value.
ChannelLine channel_line(float value);

// Scientific notation of value's exact binary value rounded to precision + 1
// significant digits (ties to even), right-justified in width: "d.dddde+XX",
// a minus sign for any set sign bit, or a non-finite word. precision >= 0.
std::string format_sci(double value, int width, int precision);

}  // namespace wfconv
