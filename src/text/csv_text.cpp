// SPDX-License-Identifier: MIT
#include "text/csv_text.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "text/number_text.hpp"

namespace wfconv {

namespace {

// Enough for any shortest float or double text.
constexpr std::size_t kCellRoom = 32;
// Raw samples are 16-bit.
constexpr std::size_t kRawSamples = std::size_t{1} << 16U;
// Raw sample 0's place in a table of every raw sample from -32,768 up, plus a half, so
// that truncating rounds to the nearest place.
constexpr double kPlaceOfRawZero = 32768.5;
// Each channel's rounded values are made this many rows ahead, with only that channel's
// table in use: one table fits the processor's cache, both do not. 512 KiB of decimals.
constexpr std::size_t kRowsPerWindow = std::size_t{1} << 16U;

char* write_word(std::string_view word, char* out) {
    std::memcpy(out, word.data(), word.size());
    return out + word.size();
}

// The words a spreadsheet and Python's float() read as non-finite numbers.
char* write_non_finite(bool nan, bool negative, char* out) {
    if (nan) return write_word("nan", out);
    return write_word(negative ? "-inf" : "inf", out);
}

void use_decimal_comma(char* first, char* last) { std::replace(first, last, '.', ','); }

// The channel line's number without its padding and line end. A finite value's line
// is blank only in the sign's place: the blank is written one place early, over the
// separator before out, which is put back.
char* write_line_value(const Decimal& decimal, bool decimal_comma, char* out) {
    if (decimal.kind != Decimal::Kind::finite) {
        return write_non_finite(decimal.kind == Decimal::Kind::nan, decimal.negative, out);
    }
    const std::size_t blank = decimal.negative ? 0 : 1;
    const char separator = out[-1];
    write_line_head(decimal, out - blank);
    write_line_tail(decimal, out - blank + kLineHeadSize);
    out[-1] = separator;
    constexpr std::size_t kPointInHead = 2;  // after the sign's place and the first digit
    if (decimal_comma) out[kPointInHead - blank] = ',';
    return out + kLineHeadSize + kLineTailSize - blank;
}

char* write_exact_value(float value, bool decimal_comma, char* out) {
    if (!std::isfinite(value)) return write_non_finite(std::isnan(value), std::signbit(value), out);
    char* const end = std::to_chars(out, out + kCellRoom, value).ptr;
    if (decimal_comma) use_decimal_comma(out, end);
    return end;
}

char* write_time(std::size_t sample, double interval, bool decimal_comma, char* out) {
    // Multiplied, not summed step by step: no error builds up down the column.
    const double time = static_cast<double>(sample) * interval;
    if (!std::isfinite(time)) return write_non_finite(std::isnan(time), time < 0, out);
    char* const end = std::to_chars(out, out + kCellRoom, time).ptr;
    if (decimal_comma) use_decimal_comma(out, end);
    return end;
}

// A Decimal in 32 bits, 0 for none (a channel that has ended): a mark, the kind in 2
// bits, the sign, the exponent (-45 to 38) plus 64 in 7 bits and the digits (below
// 10^5) in 17.
constexpr std::uint32_t kMade = 1U << 31U;
constexpr unsigned kKindShift = 25;
constexpr std::uint32_t kNegative = 1U << 24U;
constexpr unsigned kExponentShift = 17;
constexpr int kExponentBias = 64;
constexpr std::uint32_t kDigitsMask = (1U << kExponentShift) - 1;

std::uint32_t pack(const Decimal& decimal) {
    return kMade | (static_cast<std::uint32_t>(decimal.kind) << kKindShift) | (decimal.negative ? kNegative : 0U) |
           (static_cast<std::uint32_t>(decimal.exponent + kExponentBias) << kExponentShift) | decimal.digits;
}

Decimal unpack(std::uint32_t packed) {
    Decimal decimal;
    decimal.digits = packed & kDigitsMask;
    decimal.exponent = static_cast<std::int16_t>(static_cast<int>((packed >> kExponentShift) & 0x7FU) - kExponentBias);
    decimal.kind = static_cast<Decimal::Kind>((packed >> kKindShift) & 3U);
    decimal.negative = (packed & kNegative) != 0;
    return decimal;
}

}  // namespace

ChannelDecimals::ChannelDecimals(const ChannelDescriptor& channel)
    : offset_(channel.offset), inverse_scale_(1.0 / static_cast<double>(channel.scale)),
      entries_(static_cast<Entry*>(std::calloc(kRawSamples, sizeof(Entry)))) {}

void ChannelDecimals::fill(std::span<const float> values, std::uint32_t* out) {
    Entry* const entries = entries_.get();  // in a local: the stores to out cannot move it
    for (const float value : values) {
        // The raw sample plus 32,768, rounded. A place outside the table (from a scale
        // of 0, say) or a table that could not be had: the value is rounded afresh.
        const double place = (static_cast<double>(value) - offset_) * inverse_scale_ + kPlaceOfRawZero;
        if (!(place >= 0 && place < kRawSamples) || entries == nullptr) [[unlikely]] {
            *out++ = pack(round_to_five_digits(value));
            continue;
        }
        Entry& entry = entries[static_cast<std::size_t>(place)];
        const auto bits = std::bit_cast<std::uint32_t>(value);
        if (entry.decimal == 0 || entry.bits != bits) [[unlikely]] {
            entry.decimal = pack(round_to_five_digits(value));
            entry.bits = bits;
        }
        *out++ = entry.decimal;
    }
}

CsvRows::CsvRows(const Waveform& waveform, const CsvOptions& options)
    : waveform_(waveform), options_(options), decimals1_(waveform.header.channel1),
      decimals2_(waveform.header.channel2) {}

char* CsvRows::write(std::size_t first, std::size_t last, char* out) {
    if (options_.exact) return write_step(first, last - first, nullptr, nullptr, out);
    for (std::size_t row = first; row < last;) {
        if (row < window_first_ || row >= window_first_ + kRowsPerWindow) {
            window_first_ = row;
            window1_.resize(kRowsPerWindow);
            window2_.resize(kRowsPerWindow);
            fill_decimals(waveform_.channel1, decimals1_, row, kRowsPerWindow, window1_.data());
            fill_decimals(waveform_.channel2, decimals2_, row, kRowsPerWindow, window2_.data());
        }
        const std::size_t end = std::min(last, window_first_ + kRowsPerWindow);
        const std::size_t at = row - window_first_;
        out = write_step(row, end - row, window1_.data() + at, window2_.data() + at, out);
        row = end;
    }
    return out;
}

void CsvRows::fill_decimals(const std::vector<float>& values, ChannelDecimals& decimals, std::size_t first,
                            std::size_t rows, std::uint32_t* out) {
    const std::size_t end = std::clamp(values.size(), first, first + rows);
    decimals.fill(std::span(values).subspan(first, end - first), out);
    std::fill_n(out + (end - first), first + rows - end, 0U);
}

char* CsvRows::write_step(std::size_t first, std::size_t rows, const std::uint32_t* decimals1,
                          const std::uint32_t* decimals2, char* out) const {
    const CsvOptions& options = options_;
    const char separator = options.decimal_comma ? ';' : ',';
    const bool timed = options.interval > 0;
    const auto write_cell = [&](const std::vector<float>& values, std::size_t sample, std::uint32_t decimal) {
        if (options.exact) {
            if (sample < values.size()) out = write_exact_value(values[sample], options.decimal_comma, out);
        } else if (decimal != 0) {
            out = write_line_value(unpack(decimal), options.decimal_comma, out);
        }
    };
    for (std::size_t row = 0; row < rows; ++row) {
        const std::size_t sample = first + row;
        out = std::to_chars(out, out + kCellRoom, sample).ptr;
        *out++ = separator;
        if (timed) {
            out = write_time(sample, options.interval, options.decimal_comma, out);
            *out++ = separator;
        }
        // A channel that has ended leaves its cell empty.
        write_cell(waveform_.channel1, sample, decimals1 == nullptr ? 0 : decimals1[row]);
        *out++ = separator;
        write_cell(waveform_.channel2, sample, decimals2 == nullptr ? 0 : decimals2[row]);
        *out++ = '\r';
        *out++ = '\n';
    }
    return out;
}

std::size_t csv_row_count(const Waveform& waveform) {
    return std::max(waveform.channel1.size(), waveform.channel2.size());
}

std::string csv_header_row(const CsvOptions& options) {
    const char separator = options.decimal_comma ? ';' : ',';
    std::string row = "sample";
    if (options.interval > 0) row += std::string(1, separator) + "time";
    row += std::string(1, separator) + "channel1" + separator + "channel2\r\n";
    return row;
}

std::string csv_text(const Waveform& waveform, const CsvOptions& options, std::size_t first, std::size_t last) {
    last = std::min(last, csv_row_count(waveform));
    first = std::min(first, last);
    std::string text = first == 0 ? csv_header_row(options) : std::string();
    const std::size_t header_size = text.size();
    text.resize(header_size + (last - first) * kMaxCsvRowSize);
    char* const end = CsvRows(waveform, options).write(first, last, text.data() + header_size);
    text.resize(static_cast<std::size_t>(end - text.data()));
    return text;
}

}  // namespace wfconv
