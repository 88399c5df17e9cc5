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

// One line of a channel file: value as format_sci gives it at width 11, precision 4.
ChannelLine channel_line(float value);

}  // namespace wfconv
