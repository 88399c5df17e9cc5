#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace wfconv {

// A float's decimal exponent lies in -45..+38, so "%11.4e" always fills exactly
// 11 characters; CR LF ends every line.
inline constexpr std::size_t kChannelLineSize = 13;

struct ChannelLine {
    std::array<char, kChannelLineSize> text{};
    [[nodiscard]] std::string_view view() const { return {text.data(), text.size()}; }
};

// Writes the kChannelLineSize bytes of value's line to out: the text that
// format_sci gives at width 11 and precision 4, then CR LF. Works on the float's
// exact value with integer arithmetic, without format_sci's general expansion.
void write_channel_line(float value, char* out);

// The same line as a value.
ChannelLine channel_line(float value);

}  // namespace wfconv
