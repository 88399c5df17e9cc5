// SPDX-License-Identifier: MIT
#include "text/number_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

namespace wfconv {

namespace {

constexpr std::array<std::string_view, 4> kNonFiniteWords = {"+INF", "-INF", "+NAN", "-NAN"};

// "00" to "99", for writing two digits at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

void write_pair(char* out, std::uint32_t value) { std::copy_n(kDigitPairs.data() + 2 * std::size_t{value}, 2, out); }

}  // namespace

std::string_view non_finite_word(bool nan, bool negative) {
    return kNonFiniteWords[(nan ? 2U : 0U) + (negative ? 1U : 0U)];
}

void write_line_head(const Decimal& decimal, char* out) {
    if (decimal.kind != Decimal::Kind::finite) {
        std::fill_n(out, kLineHeadSize, ' ');
        return;
    }
    constexpr std::uint32_t kFirstDigit = 10000;
    out[0] = decimal.negative ? '-' : ' ';
    out[1] = static_cast<char>('0' + decimal.digits / kFirstDigit);
    out[2] = '.';
    const std::uint32_t fraction = decimal.digits % kFirstDigit;
    write_pair(out + 3, fraction / 100);
    write_pair(out + 5, fraction % 100);
}

void write_line_tail(const Decimal& decimal, char* out) {
    if (decimal.kind != Decimal::Kind::finite) {
        std::copy_n(non_finite_word(decimal.kind == Decimal::Kind::nan, decimal.negative).data(), kLineTailSize, out);
        return;
    }
    const int exponent = decimal.exponent;
    out[0] = 'e';
    out[1] = exponent < 0 ? '-' : '+';
    write_pair(out + 2, static_cast<std::uint32_t>(exponent < 0 ? -exponent : exponent));
}

void write_channel_line(float value, char* out) {
    const Decimal decimal = round_to_five_digits(value);
    write_line_head(decimal, out);
    write_line_tail(decimal, out + kLineHeadSize);
    out[kLineHeadSize + kLineTailSize] = '\r';
    out[kLineHeadSize + kLineTailSize + 1] = '\n';
}

ChannelLine channel_line(float value) {
    ChannelLine line;
    write_channel_line(value, line.text.data());
    return line;
}

std::string format_sci(double value, int width, int precision) {
    std::string text;
    if (std::isfinite(value)) {
        // The standard conversion rounds like printf, exactly; only the channel
        // lines need the hand-written speed above.
        constexpr std::size_t kBesideDigits = 8;  // "-d." and "e-308"
        text.resize(static_cast<std::size_t>(precision) + kBesideDigits);
        const std::to_chars_result written =
            std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific, precision);
        text.resize(static_cast<std::size_t>(written.ptr - text.data()));
    } else {
        text = non_finite_word(std::isnan(value), std::signbit(value));
    }
    if (std::cmp_less(text.size(), width)) text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

}  // namespace wfconv
