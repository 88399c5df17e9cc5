// SPDX-License-Identifier: MIT
#include "text/csv_text.hpp"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <span>
#include <string_view>

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
// Rows are written this many at a time, each column's lines or values taken first.
constexpr std::size_t kRowsPerStretch = 4096;

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

// A separator and a non-finite line's cell, or only the separator for no line.
char* write_other_cell(char separator, const PackedLine& line, char* out) {
    *out++ = separator;
    if (line.tail == 0) return out;
    const int word = line.tail - kFirstNonFiniteTail;  // as the tails: +INF, -INF, +NAN, -NAN
    return write_non_finite(word >= 2, word == 1, out);
}

// A separator and the channel line's number without its padding and line end. A
// finite value's line is blank only in the sign's place, where the separator goes.
inline char* write_line_cell(char separator, const PackedLine& line, bool decimal_comma, char* out) {
    if (static_cast<unsigned char>(line.tail - 1) >= static_cast<unsigned char>(kFirstNonFiniteTail - 1)) [[unlikely]] {
        return write_other_cell(separator, line, out);
    }
    const std::size_t sign = line.head[0] == '-' ? 1 : 0;
    std::memcpy(out + sign, &line, sizeof line);
    out[0] = separator;
    std::memcpy(out + sign + kLineHeadSize, line_tail(line.tail).data(), sizeof(LineTail));
    constexpr std::size_t kPointInHead = 2;  // after the sign's place and the first digit
    if (decimal_comma) out[sign + kPointInHead] = ',';
    return out + sign + kLineHeadSize + kLineTailSize;
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

// How many of a stretch's rows the column has a sample for.
std::size_t rows_held(const CsvColumn& column, std::size_t first, std::size_t rows) {
    return std::clamp(column.size(), first, first + rows) - first;
}

}  // namespace

ValueColumn::ValueColumn(const std::vector<float>& values, const ChannelDescriptor& channel)
    : values_(values), offset_(channel.offset), inverse_scale_(1.0 / static_cast<double>(channel.scale)),
      entries_(static_cast<Entry*>(std::calloc(kRawSamples, sizeof(Entry)))) {}

void ValueColumn::lines(std::size_t first, std::size_t count, PackedLine* out) {
    Entry* const entries = entries_.get();  // in a local: the stores to out cannot move it
    for (const float value : std::span(values_).subspan(first, count)) {
        // The raw sample plus 32,768, rounded. A place outside the table (from a scale
        // of 0, say) or a table that could not be had: the line is made afresh.
        const double place = (static_cast<double>(value) - offset_) * inverse_scale_ + kPlaceOfRawZero;
        if (!(place >= 0 && place < kRawSamples) || entries == nullptr) [[unlikely]] {
            *out++ = pack_line(value);
            continue;
        }
        Entry& entry = entries[static_cast<std::size_t>(place)];
        const auto bits = std::bit_cast<std::uint32_t>(value);
        if (entry.line.tail == 0 || entry.bits != bits) [[unlikely]] {
            entry.line = pack_line(value);
            entry.bits = bits;
        }
        *out++ = entry.line;
    }
}

void ValueColumn::values(std::size_t first, std::size_t count, float* out) {
    std::copy_n(values_.begin() + static_cast<std::ptrdiff_t>(first), count, out);
}

CsvRows::CsvRows(CsvColumn& channel1, CsvColumn& channel2, const CsvOptions& options)
    : channel1_(channel1), channel2_(channel2), options_(options) {
    sample_.set(0);
    if (options.exact) {
        values1_.resize(kRowsPerStretch);
        values2_.resize(kRowsPerStretch);
    } else {
        lines1_.resize(kRowsPerStretch);
        lines2_.resize(kRowsPerStretch);
    }
}

std::size_t CsvRows::size() const { return std::max(channel1_.size(), channel2_.size()); }

char* CsvRows::write(std::size_t first, std::size_t last, char* out) {
    if (first != next_row_) sample_.set(first);
    const bool timed = options_.interval > 0;
    for (std::size_t row = first; row < last; row += kRowsPerStretch) {
        const std::size_t rows = std::min(kRowsPerStretch, last - row);
        if (options_.exact) {
            out = timed ? write_stretch<true, true>(row, rows, out) : write_stretch<true, false>(row, rows, out);
        } else {
            out = timed ? write_stretch<false, true>(row, rows, out) : write_stretch<false, false>(row, rows, out);
        }
    }
    next_row_ = last;
    return out;
}

template <bool kExact, bool kTimed>
char* CsvRows::write_stretch(std::size_t first, std::size_t rows, char* out) {
    const char separator = options_.decimal_comma ? ';' : ',';
    const bool decimal_comma = options_.decimal_comma;
    const std::size_t held1 = rows_held(channel1_, first, rows);
    const std::size_t held2 = rows_held(channel2_, first, rows);
    if constexpr (kExact) {
        channel1_.values(first, held1, values1_.data());
        channel2_.values(first, held2, values2_.data());
    } else {
        // A channel that has ended leaves its cell empty: no line.
        channel1_.lines(first, held1, lines1_.data());
        std::fill_n(lines1_.begin() + static_cast<std::ptrdiff_t>(held1), rows - held1, PackedLine{});
        channel2_.lines(first, held2, lines2_.data());
        std::fill_n(lines2_.begin() + static_cast<std::ptrdiff_t>(held2), rows - held2, PackedLine{});
    }
    const PackedLine* const lines1 = lines1_.data();  // in locals: the stores to out cannot move them
    const PackedLine* const lines2 = lines2_.data();
    const float* const values1 = values1_.data();
    const float* const values2 = values2_.data();
    DecimalCounter sample = sample_;
    for (std::size_t row = 0; row < rows; ++row) {
        out = sample.write(out);
        if constexpr (kTimed) {
            *out++ = separator;
            out = write_time(first + row, options_.interval, decimal_comma, out);
        }
        if constexpr (kExact) {
            *out++ = separator;
            if (row < held1) out = write_exact_value(values1[row], decimal_comma, out);
            *out++ = separator;
            if (row < held2) out = write_exact_value(values2[row], decimal_comma, out);
        } else {
            out = write_line_cell(separator, lines1[row], decimal_comma, out);
            out = write_line_cell(separator, lines2[row], decimal_comma, out);
        }
        *out++ = '\r';
        *out++ = '\n';
        sample.increment();
    }
    sample_ = sample;
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
    ValueColumn channel1(waveform.channel1, waveform.header.channel1);
    ValueColumn channel2(waveform.channel2, waveform.header.channel2);
    char* const end = CsvRows(channel1, channel2, options).write(first, last, text.data() + header_size);
    text.resize(static_cast<std::size_t>(end - text.data()));
    return text;
}

}  // namespace wfconv
