// SPDX-License-Identifier: MIT
// The page's way into the library: JavaScript hands over a file's bytes and reads
// back the report, the messages, the values and their channel lines, all made by the
// same code as the command's. One file is held at a time.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "reader/header.hpp"
#include "text/csv_text.hpp"
#include "text/number_text.hpp"
#include "text/report_text.hpp"
#include "wfconv/waveform.hpp"

#define WFCONV_EXPORT(name) __attribute__((export_name(#name)))

namespace {

wfconv::ReadResult shown;
std::string text;  // the last text made, read by JavaScript through text_data()

// Lines are made in pieces of this many: 832 KiB of text per call, so that a
// channel's download needs no more than one piece in memory at a time here.
constexpr std::size_t kLinesPerPiece = std::size_t{1} << 16U;
std::array<char, kLinesPerPiece * wfconv::kChannelLineSize> lines;

// The file's first block, from which bytes_needed() tells how much of the file the walk
// reads: the page reads no more of a file than the command does.
std::array<std::uint8_t, wfconv::kBlockSize> first_block;

const std::vector<float>& channel_values(int channel) {
    return channel == 1 ? shown.waveform.channel1 : shown.waveform.channel2;
}

const std::string& keep(std::string value) {
    text = std::move(value);
    return text;
}

}  // namespace

extern "C" {

// The sizes the page works in: a channel line's bytes (CR LF included) and a block's.
WFCONV_EXPORT(line_size) std::size_t line_size() { return wfconv::kChannelLineSize; }
WFCONV_EXPORT(block_size) std::size_t block_size() { return wfconv::kBlockSize; }

WFCONV_EXPORT(first_block_data) std::uint8_t* first_block_data() { return first_block.data(); }
WFCONV_EXPORT(bytes_needed) std::uint32_t bytes_needed() {
    return static_cast<std::uint32_t>(wfconv::data_end(wfconv::decode_header(first_block))) * wfconv::kBlockSize;
}

// Room for a file's bytes; the page copies them in and hands them to read_file.
WFCONV_EXPORT(allocate) std::uint8_t* allocate(std::size_t size) {
    return static_cast<std::uint8_t*>(std::malloc(size));
}

// Reads the file and frees its bytes. Returns the outcome as wfconv::ReadOutcome.
WFCONV_EXPORT(read_file) int read_file(std::uint8_t* bytes, std::size_t size) {
    shown = {};  // the last file's values go first: two files never share the memory
    shown = wfconv::read_waveform(std::span<const std::uint8_t>(bytes, size));
    std::free(bytes);
    return static_cast<int>(shown.outcome);
}

// Where the text that a make_ function made lies; each returns its size.
WFCONV_EXPORT(text_data) const char* text_data() { return text.data(); }

// The report's three lines, joined by LF; empty when there is no header.
WFCONV_EXPORT(make_report) std::size_t make_report() {
    if (shown.outcome == wfconv::ReadOutcome::too_short) return keep({}).size();
    const std::array<std::string, 3> report = wfconv::report_lines(shown.waveform.header);
    return keep(report[0] + '\n' + report[1] + '\n' + report[2]).size();
}

// The command's message for the file named by the last text handed in through
// name_buffer(); empty when the command succeeds.
WFCONV_EXPORT(name_buffer) char* name_buffer(std::size_t size) {
    text.resize(size);
    return text.data();
}
WFCONV_EXPORT(make_message) std::size_t make_message() {
    switch (shown.outcome) {
    case wfconv::ReadOutcome::too_short:
    case wfconv::ReadOutcome::read_failed:
        return keep(wfconv::cannot_read_message(text)).size();
    case wfconv::ReadOutcome::ended_early:
        return keep(wfconv::unexpected_end_message(text)).size();
    default:
        return keep({}).size();
    }
}

// Whether the command creates the channel's file: channel 1's once the header is
// read, channel 2's once channel 1 is whole.
WFCONV_EXPORT(has_file) int has_file(int channel) {
    if (shown.outcome == wfconv::ReadOutcome::too_short) return 0;
    return channel == 1 || shown.cut_channel != 1;
}

// The channel that ended early, 1 or 2; 0 when none did.
WFCONV_EXPORT(cut_channel) int cut_channel() { return shown.cut_channel; }

WFCONV_EXPORT(channel_blocks) int channel_blocks(int channel) {
    const wfconv::WaveformHeader& header = shown.waveform.header;
    return (channel == 1 ? header.channel1 : header.channel2).block_count();
}
WFCONV_EXPORT(channel_data) const float* channel_data(int channel) { return channel_values(channel).data(); }
WFCONV_EXPORT(channel_size) std::size_t channel_size(int channel) { return channel_values(channel).size(); }

// The channel file's lines first .. first + count - 1 (count at most lines_per_piece()).
WFCONV_EXPORT(lines_per_piece) std::size_t lines_per_piece() { return kLinesPerPiece; }
WFCONV_EXPORT(make_lines) const char* make_lines(int channel, std::size_t first, std::size_t count) {
    const std::vector<float>& values = channel_values(channel);
    count = std::min({count, kLinesPerPiece, values.size() - std::min(first, values.size())});
    for (std::size_t i = 0; i < count; ++i) {
        wfconv::write_channel_line(values[first + i], &lines[i * wfconv::kChannelLineSize]);
    }
    return lines.data();
}

// A value's line of a channel file, without its line end.
WFCONV_EXPORT(make_line) std::size_t make_line(float value) {
    return keep(std::string(wfconv::channel_line(value).view().substr(0, wfconv::kChannelLineSize - 2))).size();
}

// The CSV that wfconv-csv writes of the file (default options), in pieces of
// lines_per_piece() rows: rows first .. first + count - 1, after the header row when
// first is 0. Returns the piece's size; text_data() holds it.
WFCONV_EXPORT(csv_rows) std::size_t csv_rows() { return wfconv::csv_row_count(shown.waveform); }
WFCONV_EXPORT(make_csv) std::size_t make_csv(std::size_t first, std::size_t count) {
    count = std::min(count, kLinesPerPiece);
    return keep(wfconv::csv_text(shown.waveform, {}, first, first + count)).size();
}

}  // extern "C"
