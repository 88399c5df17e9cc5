// SPDX-License-Identifier: MIT
// libFuzzer target: runs the whole program on arbitrary bytes and checks its
// status, console text and channel files against a model of the block walk that
// is worked out here from the raw bytes, independently of the converter; and the
// library's reading of the same bytes against the channel files.

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "../reference.hpp"
#include "../test_files.hpp"
#include "app/driver.hpp"
#include "text/number_text.hpp"
#include "wfconv/wfconv.hpp"

namespace {

constexpr std::int64_t kBlock = 256;
constexpr std::int64_t kSamplesPerBlock = kBlock / 2;
constexpr std::size_t kLineBytes = 13;  // 11 characters and CR LF

using wfconv::test::read_file;
using wfconv::test::reference_sample;
using wfconv::test::reference_sci;

// x87's 64-bit significand is the reference for the sample arithmetic; elsewhere
// only the shape of the lines is checked.
constexpr bool kHaveReference = wfconv::test::kExtendedLongDouble;

void check(bool ok, std::string_view what) {
    if (ok) return;
    std::fprintf(stderr, "wfconv_fuzz: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

std::uint32_t read_be(const std::uint8_t* at, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) value = (value << 8U) | at[i];
    return value;
}

struct Channel {
    std::int64_t start = 0;
    std::int64_t blocks = 0;
    float scale = 0.0F;
    float offset = 0.0F;
};

// Header fields sit at 146 (channel 1) and 162 (channel 2): start, a byte not
// read, length, scale, offset.
Channel channel_at(const std::uint8_t* header, std::size_t at) {
    return Channel{
        .start = static_cast<std::int16_t>(read_be(header + at, 2)),
        .blocks = read_be(header + at + 3, 3) / kBlock,
        .scale = std::bit_cast<float>(read_be(header + at + 6, 4)),
        .offset = std::bit_cast<float>(read_be(header + at + 10, 4)),
    };
}

bool digits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// " d.dddde+XX" / "-d.dddde-XX", or seven spaces and a non-finite word.
bool well_shaped(std::string_view line) {
    if (line.size() != kLineBytes || line.substr(11) != "\r\n") return false;
    const std::string_view text = line.substr(0, 11);
    if (text.substr(0, 7) == "       ") {
        const std::string_view word = text.substr(7);
        return word == "+INF" || word == "-INF" || word == "+NAN" || word == "-NAN";
    }
    return (text[0] == ' ' || text[0] == '-') && digits(text.substr(1, 1)) && text[2] == '.' &&
           digits(text.substr(3, 4)) && text[7] == 'e' && (text[8] == '+' || text[8] == '-') &&
           digits(text.substr(9, 2));
}

// A fresh directory, memory-backed where possible (every input makes four files
// there), removed again when the process exits normally.
class TempDir {
public:
    TempDir() {
        std::error_code error;
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "wfconv-fuzz-XXXXXX").string();
        check(::mkdtemp(pattern.data()) != nullptr, "cannot create a temporary directory");
        path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct Paths {
    std::string input;
    std::string output1;
    std::string output2;
    std::string console;
};

const Paths& paths() {
    static const TempDir dir;
    static const Paths instance = [] {
        Paths made;
        made.input = (dir.path() / "in put.wfm").string();
        made.output1 = made.input + "1.txt";
        made.output2 = made.input + "2.txt";
        made.console = (dir.path() / "console").string();
        check(std::freopen(made.console.c_str(), "w+b", stdout) != nullptr, "cannot redirect standard output");
        return made;
    }();
    return instance;
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

// The channel file holds exactly `lines` lines, each the sample at its place in
// the input, starting at block `first`.
void check_channel_file(const std::string& path, const std::uint8_t* data, std::int64_t first, std::int64_t lines,
                        const Channel& channel) {
    const std::string text = read_file(path);
    check(text.size() == static_cast<std::size_t>(lines) * kLineBytes, "channel file holds the wrong number of lines");
    for (std::int64_t i = 0; i < lines; ++i) {
        const std::string_view line = std::string_view(text).substr(static_cast<std::size_t>(i) * kLineBytes, kLineBytes);
        check(well_shaped(line), "badly shaped line");
        if constexpr (kHaveReference) {
            const auto at = static_cast<std::size_t>(first * kBlock + 2 * i);
            const auto raw = static_cast<std::int16_t>(read_be(data + at, 2));
            const std::string want = reference_sci(reference_sample(raw, channel.scale, channel.offset), 11, 4);
            check(line.substr(0, 11) == want, "line " + std::to_string(i) + " is '" +
                                                  std::string(line.substr(0, 11)) + "', not '" + want + "'");
        }
    }
}

// Whole samples of a channel that begins at block `first` that the input holds.
std::int64_t samples_held(std::int64_t size, std::int64_t first, std::int64_t blocks) {
    return std::clamp<std::int64_t>(size - first * kBlock, 0, blocks * kBlock) / 2;
}

// The library, from the bytes and from the file, reports the run's outcome and holds
// exactly the values of the channel files (none where a file is absent).
void check_library(std::span<const std::uint8_t> bytes, const Paths& files, int status) {
    const wfconv::ReadOutcome want = status == 0   ? wfconv::ReadOutcome::complete
                                     : status == 3 ? wfconv::ReadOutcome::ended_early
                                                   : wfconv::ReadOutcome::too_short;
    const auto lines = [](const std::vector<float>& values) {
        std::string text(values.size() * kLineBytes, '\0');
        for (std::size_t i = 0; i < values.size(); ++i) wfconv::write_channel_line(values[i], &text[i * kLineBytes]);
        return text;
    };
    for (const wfconv::ReadResult& got : {wfconv::read_waveform(bytes), wfconv::read_waveform(files.input)}) {
        check(got.outcome == want, "library: wrong outcome");
        check(lines(got.waveform.channel1) == read_file(files.output1), "library: channel 1 differs from its file");
        check(lines(got.waveform.channel2) == read_file(files.output2), "library: channel 2 differs from its file");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Paths& files = paths();
    {
        std::FILE* input = std::fopen(files.input.c_str(), "wb");
        check(input != nullptr && std::fwrite(data, 1, size, input) == size && std::fclose(input) == 0,
              "cannot write the input file");
    }
    std::filesystem::remove(files.output1);
    std::filesystem::remove(files.output2);
    std::rewind(stdout);
    check(::ftruncate(::fileno(stdout), 0) == 0, "cannot empty the console file");

    const char* argv[] = {"wfconv", files.input.c_str(), nullptr};
    const int status = wfconv::run(2, argv);
    std::fflush(stdout);
    const std::string console = read_file(files.console);
    const std::string& path = files.input;
    check_library(std::span(data, size), files, status);

    const auto length = static_cast<std::int64_t>(size);
    if (length < kBlock) {
        check(status == 2, "short input: status is not 2");
        check(console == "Cannot read " + path + "\r\n", "short input: wrong console text");
        check(!exists(files.output1) && !exists(files.output2), "short input: a channel file was created");
        return 0;
    }

    const Channel channel1 = channel_at(data, 146);
    const Channel channel2 = channel_at(data, 162);
    std::string expected = std::to_string(channel1.start) + ' ' + std::to_string(channel2.start) + ' ' +
                           std::to_string(read_be(data + 149, 3)) + ' ' + std::to_string(read_be(data + 165, 3)) +
                           "\r\n" + reference_sci(channel1.scale, 0, 6) + ' ' + reference_sci(channel2.scale, 0, 6) +
                           "\r\n" + reference_sci(channel1.offset, 0, 6) + ' ' + reference_sci(channel2.offset, 0, 6) +
                           "\r\n";
    expected += "converting : " + path + " -> " + files.output1 + "\r\n";

    // Channel 1 starts right after the header at the earliest; channel 2 where
    // channel 1's walk left off at the earliest.
    const std::int64_t first1 = std::max<std::int64_t>(channel1.start, 1);
    const std::int64_t lines1 = samples_held(length, first1, channel1.blocks);
    check_channel_file(files.output1, data, first1, lines1, channel1);
    if (lines1 < channel1.blocks * kSamplesPerBlock) {
        expected += "Unexpected end of " + path + "\r\n";
        check(console == expected, "channel 1 cut: wrong console text");
        check(status == 3, "channel 1 cut: status is not 3");
        check(!exists(files.output2), "channel 1 cut: channel 2 was created");
        return 0;
    }

    const std::int64_t first2 = std::max(first1 + channel1.blocks, channel2.start);
    const std::int64_t lines2 = samples_held(length, first2, channel2.blocks);
    expected += "converting : " + path + " -> " + files.output2 + "\r\n";
    check_channel_file(files.output2, data, first2, lines2, channel2);
    const bool cut = lines2 < channel2.blocks * kSamplesPerBlock;
    if (cut) expected += "Unexpected end of " + path + "\r\n";
    check(console == expected, "wrong console text");
    check(status == (cut ? 3 : 0), "wrong status");
    return 0;
}
