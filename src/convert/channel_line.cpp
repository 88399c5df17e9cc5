#include "convert/channel_line.hpp"

#include <algorithm>

#include "convert/number_text.hpp"

namespace wfconv {

ChannelLine channel_line(float value) {
    constexpr int kWidth = 11;
    constexpr int kPrecision = 4;
    ChannelLine line;
    const std::string text = format_sci(value, kWidth, kPrecision);
    std::copy_n(text.begin(), kWidth, line.text.begin());
    line.text[kWidth] = '\r';
    line.text[kWidth + 1] = '\n';
    return line;
}

}  // namespace wfconv
