// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "wfconv/waveform.hpp"

namespace wfconv {

// How wfconv-csv writes its table; the defaults give the channel files' text.
struct CsvOptions {
    bool exact = false;          // each value as the shortest text that reads back as the same float
    bool decimal_comma = false;  // ';' between fields and ',' as the decimal mark
    double interval = 0.0;       // seconds per sample; a time column when above 0
};

// The most bytes one row takes: a 20-digit sample number, a 24-character time, two
// 15-character values, three separators and CR LF make 79.
inline constexpr std::size_t kMaxCsvRowSize = 96;

// One row per sample number up to the longer channel's end; a channel that has
// ended leaves its cell empty.
std::size_t csv_row_count(const Waveform& waveform);

// "sample,channel1,channel2" (with "time" after "sample" when there is an interval)
// and CR LF.
std::string csv_header_row(const CsvOptions& options);

// A channel's values rounded to the channel lines' five digits. A channel holds at most
// 65,536 different values, one per raw sample, so each is rounded once and kept under
// its raw sample: estimated from the value and checked against the value's bits, so
// that a wrong estimate costs only a fresh rounding. An entry is 8 bytes, so that the
// table (512 KiB) stays in the processor's cache, as the line cache's does.
class ChannelDecimals {
public:
    explicit ChannelDecimals(const ChannelDescriptor& channel);
    // Each value's Decimal, packed in 32 bits (never 0), one after the other from out.
    void fill(std::span<const float> values, std::uint32_t* out);

private:
    struct Entry {
        std::uint32_t bits;
        std::uint32_t decimal;  // 0 while not made
    };
    struct Free {
        void operator()(Entry* entries) const { std::free(entries); }
    };

    double offset_;
    double inverse_scale_;
    // From calloc, as in the line cache: only the pages of values that occur are touched.
    std::unique_ptr<Entry[], Free> entries_;
};

// Writes a waveform's rows; one serves many calls, its tables filling as it goes.
class CsvRows {
public:
    CsvRows(const Waveform& waveform, const CsvOptions& options);

    // Writes the rows first .. last - 1 to out, which has room for kMaxCsvRowSize
    // bytes per row, and returns the end of what it wrote.
    char* write(std::size_t first, std::size_t last, char* out);

private:
    static void fill_decimals(const std::vector<float>& values, ChannelDecimals& decimals, std::size_t first,
                              std::size_t rows, std::uint32_t* out);
    char* write_step(std::size_t first, std::size_t rows, const std::uint32_t* decimals1,
                     const std::uint32_t* decimals2, char* out) const;

    const Waveform& waveform_;
    CsvOptions options_;
    ChannelDecimals decimals1_;
    ChannelDecimals decimals2_;
    // Both channels' packed decimals of the rows from window_first_ (not with --exact).
    std::size_t window_first_ = std::numeric_limits<std::size_t>::max();
    std::vector<std::uint32_t> window1_;
    std::vector<std::uint32_t> window2_;
};

// Rows first .. last - 1 (clamped to the table) as one text, after the header row when
// first is 0: the pieces of first = 0, n, 2n, ... joined make the whole file.
std::string csv_text(const Waveform& waveform, const CsvOptions& options, std::size_t first, std::size_t last);

}  // namespace wfconv
