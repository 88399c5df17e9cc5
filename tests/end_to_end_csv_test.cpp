// SPDX-License-Identifier: MIT
// wfconv-csv held to the command's channel files and to the library's values, on the
// end-to-end tests' files.

#include <algorithm>
#include <bit>
#include <charconv>
#include <iterator>
#include <limits>
#include <set>

#include "end_to_end.hpp"
#include "text/csv_text.hpp"
#include "wfconv/wfconv.hpp"

namespace wfconv::e2e {
namespace {

using Table = std::vector<std::vector<std::string>>;

// Rows split on CR LF (each must end in it) and cells on the separator.
Table parse_csv(const std::string& text, char separator) {
    Table rows;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "a row without CR LF";
        if (end == std::string::npos) break;
        std::vector<std::string>& row = rows.emplace_back(1);
        for (const char c : text.substr(at, end - at)) {
            if (c == separator) {
                row.emplace_back();
            } else {
                row.back().push_back(c);
            }
        }
        at = end + 2;
    }
    return rows;
}

// A channel file's lines as cells: the padding and line end dropped, the words renamed.
std::vector<std::string> channel_cells(const fs::path& path) {
    std::vector<std::string> cells;
    const std::string text = read_file(path);
    for (std::size_t at = 0; at + 13 <= text.size(); at += 13) {
        std::string cell = text.substr(at, 11);
        cell.erase(0, cell.find_first_not_of(' '));
        if (cell == "+INF") cell = "inf";
        if (cell == "-INF") cell = "-inf";
        if (cell.ends_with("NAN")) cell = "nan";
        cells.push_back(cell);
    }
    return cells;
}

class Csv : public EndToEnd {
protected:
    test::ProgramResult run_csv(const std::vector<std::string>& args) {
        return test::run_program(test::program_command(WFCONV_CSV_EXE, args), root_, work_);
    }
    std::set<std::string> work_files() {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(work_)) names.insert(test::utf8_of(entry.path().filename()));
        return names;
    }
};

// Whole, cut in either channel, channels of different lengths, non-finite values, long
// channels (their lines from the line cache, the rows written by two threads): each row
// holds the sample number and the command's lines, the status is the command's, and the
// page's CSV is the same text.
TEST_F(Csv, RowsAreTheChannelFilesLines) {
    const std::vector<Waveform> files = {
        Waveform(first(1, 2 * kBlock), second(3, 3 * kBlock), 5),
        Waveform(first(1, 3 * kBlock), second(4, kBlock), 4, 2 * kBlock + 100),   // channel 1 cut
        Waveform(first(1, kBlock), second(2, 4 * kBlock), 5, 4 * kBlock + 1),      // channel 2 cut
        Waveform(writer::channel(1, kBlock, std::numeric_limits<float>::infinity(), 0), second(2, 0), 2),
        Waveform(writer::channel(1, kBlock, std::numeric_limits<float>::quiet_NaN(), 0), first(2, kBlock), 2),
        Waveform(first(1, 520 * kBlock), second(521, 300 * kBlock), 800),
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(i);
        const fs::path input = work_ / ("file" + std::to_string(i));
        files[i].save(input);
        const int status = run({test::utf8_of(input)}).status;
        const test::ProgramResult csv = run_csv({test::utf8_of(input)});
        EXPECT_EQ(csv.status, status);
        const std::string text = read_file(test::utf8_of(input) + ".csv");
        EXPECT_EQ(csv_text(read_waveform(input).waveform, {}, 0, std::numeric_limits<std::size_t>::max()), text);
        const Table rows = parse_csv(text, ',');
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0], (std::vector<std::string>{"sample", "channel1", "channel2"}));
        const std::vector<std::string> lines1 = channel_cells(channel_path(input, 1));
        const std::vector<std::string> lines2 = channel_cells(channel_path(input, 2));
        EXPECT_EQ(rows.size(), 1 + std::max(lines1.size(), lines2.size()));
        for (std::size_t r = 1; r < rows.size(); ++r) {
            const std::size_t sample = r - 1;
            EXPECT_EQ(rows[r], (std::vector<std::string>{std::to_string(sample), sample < lines1.size() ? lines1[sample] : "",
                                                         sample < lines2.size() ? lines2[sample] : ""}));
        }
    }
}

// --exact gives the library's floats bit for bit; --decimal-comma and --interval change
// only the separators, the decimal mark and the time column.
TEST_F(Csv, ExactValuesAreTheLibrarysBits) {
    const fs::path input = work_ / "tiny";
    // A subnormal scale, a negative zero offset, and an ordinary channel.
    Waveform(writer::channel(1, kBlock, 1e-41F, -0.0F), first(2, 2 * kBlock), 3).save(input);
    ASSERT_EQ(run_csv({"--exact", "--decimal-comma", "--interval", "0.001", "tiny"}).status, 0);
    const ReadResult read = read_waveform(input);
    const Table rows = parse_csv(read_file(test::utf8_of(input) + ".csv"), ';');
    ASSERT_EQ(rows.size(), 1 + read.waveform.channel2.size());
    EXPECT_EQ(rows[0], (std::vector<std::string>{"sample", "time", "channel1", "channel2"}));
    const auto number = [](std::string cell, auto value) {
        EXPECT_EQ(cell.find('.'), std::string::npos) << cell;
        std::replace(cell.begin(), cell.end(), ',', '.');
        EXPECT_EQ(std::from_chars(cell.data(), cell.data() + cell.size(), value).ptr, cell.data() + cell.size()) << cell;
        return value;
    };
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::size_t sample = r - 1;
        EXPECT_EQ(number(rows[r][1], 0.0), static_cast<double>(sample) * 0.001) << rows[r][1];
        const std::vector<float>& one = read.waveform.channel1;
        if (sample < one.size()) {
            EXPECT_EQ(std::bit_cast<std::uint32_t>(number(rows[r][2], 0.0F)), std::bit_cast<std::uint32_t>(one[sample]));
        }
        EXPECT_EQ(rows[r][2].empty(), sample >= one.size());
        EXPECT_EQ(std::bit_cast<std::uint32_t>(number(rows[r][3], 0.0F)), std::bit_cast<std::uint32_t>(read.waveform.channel2[sample]));
    }
}

// One run over good, missing, cut and too short files: each failure reported in order, the
// status the first failure's, and each CSV the same bytes as from a run of its own.
TEST_F(Csv, BatchGoesOnPastFailures) {
    Waveform(first(1, kBlock), second(2, kBlock), 2).save(work_ / "good");
    Waveform(first(1, 2 * kBlock), second(3, kBlock), 3, 2 * kBlock).save(work_ / "cut");
    Waveform(first(1, kBlock), second(2, kBlock), 0, 100).save(work_ / "short");
    fs::create_directory(work_ / "out");
    const test::ProgramResult batch = run_csv({"-o", "out", "good", "missing", "cut", "short", "--", "-o"});
    EXPECT_EQ(batch.status, 2);
    const std::vector<std::string> failed{"missing", "cut", "short", "-o"};
    std::size_t at = 0;
    for (const std::string& name : failed) {
        at = batch.err.find("wfconv-csv: " + name + ": ", at);
        EXPECT_NE(at, std::string::npos) << name << " in " << batch.err;
    }
    EXPECT_EQ(test::read_file(root_ / "stdout"), "");
    for (const std::string name : {"good", "cut"}) {
        EXPECT_EQ(run_csv({name}).status, name == std::string("good") ? 0 : 3);
        EXPECT_EQ(read_file(work_ / "out" / (name + ".csv")), read_file(work_ / (name + ".csv"))) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(work_ / "out"), fs::directory_iterator()), 2);
}

// Runs that must write nothing new: usage errors, a CSV that would be its own input, and a
// write that fails (a directory where the CSV must go) leaves no file behind either.
TEST_F(Csv, FailuresLeaveNoFile) {
    Waveform(first(1, kBlock), second(2, kBlock), 2).save(work_ / "in");
    fs::create_directory(work_ / "blocked.csv");
    Waveform(first(1, kBlock), second(2, kBlock), 2).save(work_ / "blocked");
    std::error_code linked;
    fs::create_hard_link(work_ / "in", work_ / "in.csv", linked);
    const std::set<std::string> before = work_files();
    const std::vector<std::vector<std::string>> runs = {
        {"--frobnicate", "in"}, {}, {"--interval", "0", "in"}, {"--interval", "x", "in"}, {"-o"}, {"blocked"},
        {"in"}};
    for (const std::vector<std::string>& args : runs) {
        if (args == std::vector<std::string>{"in"} && linked) continue;
        SCOPED_TRACE(args.empty() ? "" : args[0]);
        const test::ProgramResult got = run_csv(args);
        EXPECT_EQ(got.status, 1);
        EXPECT_NE(got.err, "");
        EXPECT_EQ(work_files(), before);
    }
    EXPECT_EQ(read_file(work_ / "in").size(), 3 * kBlock);
}

}  // namespace
}  // namespace wfconv::e2e
