// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "text/decimal_counter.hpp"
#include "text/line_cache.hpp"
#include "wfconv/waveform.hpp"

namespace wfconv {

// How wfconv-csv writes its table; the defaults give the channel files' text.
struct CsvOptions {
    bool exact = false;          // each value as the shortest text that reads back as the same float
    bool decimal_comma = false;  // ';' between fields and ',' as the decimal mark
    double interval = 0.0;       // seconds per sample; a time column when above 0
};

// The most bytes one row takes: a 20-digit sample number, a 24-character time, two
// 15-character values, three separators and CR LF make 79, and the rows' 8-byte
// copies run a few bytes past.
inline constexpr std::size_t kMaxCsvRowSize = 96;

// "sample,channel1,channel2" (with "time" after "sample" when there is an interval)
// and CR LF.
std::string csv_header_row(const CsvOptions& options);

// One channel of the table, as the rows take it a stretch at a time.
class CsvColumn {
public:
    CsvColumn() = default;
    CsvColumn(const CsvColumn&) = delete;
    CsvColumn& operator=(const CsvColumn&) = delete;
    virtual ~CsvColumn() = default;

    [[nodiscard]] virtual std::size_t size() const = 0;
    // The channel lines of samples first .. first + count - 1, all below size().
    virtual void lines(std::size_t first, std::size_t count, PackedLine* out) = 0;
    // Their values.
    virtual void values(std::size_t first, std::size_t count, float* out) = 0;
};

// A column of the library's values (the page's). A channel holds at most 65,536
// different values, one per raw sample, so each line is made once and kept under its
// raw sample: estimated from the value and checked against the value's bits, so that
// a wrong estimate costs only a line made afresh.
class ValueColumn final : public CsvColumn {
public:
    ValueColumn(const std::vector<float>& values, const ChannelDescriptor& channel);

    [[nodiscard]] std::size_t size() const override { return values_.size(); }
    void lines(std::size_t first, std::size_t count, PackedLine* out) override;
    void values(std::size_t first, std::size_t count, float* out) override;

private:
    struct Entry {
        std::uint32_t bits;
        PackedLine line;  // tail 0 while not made
    };
    struct Free {
        void operator()(Entry* entries) const { std::free(entries); }
    };

    const std::vector<float>& values_;
    double offset_;
    double inverse_scale_;
    // From calloc, as in the line cache: only the pages of values that occur are touched.
    std::unique_ptr<Entry[], Free> entries_;
};

// Writes the rows of two columns; one serves many calls.
class CsvRows {
public:
    CsvRows(CsvColumn& channel1, CsvColumn& channel2, const CsvOptions& options);

    // One row per sample number up to the longer channel's end; a channel that has
    // ended leaves its cell empty.
    [[nodiscard]] std::size_t size() const;

    // Writes the rows first .. last - 1 to out, which has room for kMaxCsvRowSize
    // bytes per row, and returns the end of what it wrote.
    char* write(std::size_t first, std::size_t last, char* out);

private:
    template <bool kExact, bool kTimed>
    char* write_stretch(std::size_t first, std::size_t rows, char* out);

    CsvColumn& channel1_;
    CsvColumn& channel2_;
    CsvOptions options_;
    DecimalCounter sample_;
    std::size_t next_row_ = 0;  // the row that sample_ holds
    // A stretch's lines or values of each channel, taken one channel at a time: each
    // column's table stays in the processor's cache while it is read.
    std::vector<PackedLine> lines1_;
    std::vector<PackedLine> lines2_;
    std::vector<float> values1_;
    std::vector<float> values2_;
};

std::size_t csv_row_count(const Waveform& waveform);

// Rows first .. last - 1 (clamped to the table) of the library's values as one text,
// after the header row when first is 0: the pieces of first = 0, n, 2n, ... joined
// make the whole file.
std::string csv_text(const Waveform& waveform, const CsvOptions& options, std::size_t first, std::size_t last);

}  // namespace wfconv
