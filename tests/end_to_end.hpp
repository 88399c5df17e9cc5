// SPDX-License-Identifier: MIT
#pragma once

// What the tests of the built command share: waveform files written here, the text
// expected of them made independently, and a fixture that runs the program on them and
// holds both its output and the library's reading to that text.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "expected_sample.hpp"
#include "library_matches_command.hpp"
#include "program_runner.hpp"
#include "reader/open_file.hpp"
#include "reference.hpp"
#include "waveform_writer.hpp"

namespace wfconv::e2e {

namespace fs = std::filesystem;
using test::float_from_bits;
using test::ProgramResult;
using test::read_file;
using writer::ChannelFields;

constexpr std::int64_t kBlock = writer::kBlock;
constexpr std::int64_t kSamples = writer::kSamples;

// Sample k of data block b: different in every block, both signs, and a zero first.
inline std::int16_t sample_at(std::int64_t block, std::int64_t k) {
    if (k == 0) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((block * 40503 + k * 2731) * 7));
}

// `count` samples from data block `first_block` on.
inline std::vector<std::int16_t> samples_from(std::int64_t first_block, std::int64_t count) {
    std::vector<std::int16_t> raws;
    for (std::int64_t i = 0; i < count; ++i) raws.push_back(sample_at(first_block + i / kSamples, i % kSamples));
    return raws;
}

// Through the program's own opener, which reaches any path the program can.
inline void write_file(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::FILE* out = open_file(path, FileMode::write);
    ASSERT_NE(out, nullptr) << path;
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), out), bytes.size());
    EXPECT_EQ(std::fclose(out), 0);
}

// Header, data blocks 1..blocks, then the file cut to `size` bytes if given.
struct Waveform {
    Waveform(ChannelFields c1, ChannelFields c2, std::int64_t data_blocks,
             std::optional<std::int64_t> cut = std::nullopt)
        : channel1(c1), channel2(c2), blocks(data_blocks), size(cut) {}

    ChannelFields channel1;
    ChannelFields channel2;
    std::int64_t blocks;
    std::optional<std::int64_t> size;

    [[nodiscard]] std::vector<std::uint8_t> bytes() const {
        writer::WaveformBuilder builder(channel1, channel2);
        for (std::int64_t b = 1; b <= blocks; ++b) builder.samples(samples_from(b, kSamples));
        if (size) builder.truncate(static_cast<std::size_t>(*size));
        return builder.bytes();
    }
    void save(const fs::path& path) const { write_file(path, bytes()); }
};

// Two ordinary channels: a millivolt-like scale with an offset, and a binary fraction.
inline ChannelFields first(std::int16_t start, std::uint32_t length) { return writer::channel(start, length, 0.001F, -0.5F); }
inline ChannelFields second(std::int16_t start, std::uint32_t length) {
    return writer::channel(start, length, 0.03125F, 1.0F);
}

inline std::string channel_text(const ChannelFields& fields, const std::vector<std::int16_t>& raws) {
    const float scale = float_from_bits(fields.scale_bits);
    const float offset = float_from_bits(fields.offset_bits);
    std::string text;
    for (const std::int16_t raw : raws) text += test::reference_sci(test::expected_sample(raw, scale, offset), 11, 4) + "\r\n";
    return text;
}

// `count` lines of a channel whose data starts at data block `first_block`.
inline std::string channel_text(std::int64_t first_block, std::int64_t count, const ChannelFields& fields) {
    return channel_text(fields, samples_from(first_block, count));
}

inline std::string report(const ChannelFields& channel1, const ChannelFields& channel2) {
    const auto pair = [](std::uint32_t a, std::uint32_t b) {
        return test::reference_sci(float_from_bits(a), 0, 6) + ' ' + test::reference_sci(float_from_bits(b), 0, 6) +
               "\r\n";
    };
    return std::to_string(channel1.start_block) + ' ' + std::to_string(channel2.start_block) + ' ' +
           std::to_string(channel1.byte_length) + ' ' + std::to_string(channel2.byte_length) + "\r\n" +
           pair(channel1.scale_bits, channel2.scale_bits) + pair(channel1.offset_bits, channel2.offset_bits);
}
inline std::string report(const Waveform& w) { return report(w.channel1, w.channel2); }

// Names as the program prints them: UTF-8 on every platform.
inline std::string converting(const std::string& input, int channel) {
    return "converting : " + input + " -> " + input + std::to_string(channel) + ".txt\r\n";
}
inline std::string converting(const fs::path& input, int channel) { return converting(test::utf8_of(input), channel); }

inline fs::path channel_path(const fs::path& input, int channel) {
    return test::path_of_utf8(test::utf8_of(input) + std::to_string(channel) + ".txt");
}

// Empty when equal, else the first line (13 bytes each) where the texts part.
inline std::string first_difference(const std::string& got, const std::string& want) {
    if (got == want) return {};
    std::size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
    const std::size_t line = at / 13;
    return "line " + std::to_string(line) + ": '" + got.substr(line * 13, 11) + "', want '" +
           want.substr(line * 13, 11) + "' (" + std::to_string(got.size()) + " bytes, want " +
           std::to_string(want.size()) + ")";
}

// What a run must give: status, standard output and each channel file.
struct Expected {
    int status = 0;
    std::string out;
    std::optional<std::string> channel1;  // nullopt: the file must not exist
    std::optional<std::string> channel2;
};

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = test::make_scratch_dir("wfconv-e2e-");
        work_ = root_ / "work";
        fs::create_directory(work_);
    }
    void TearDown() override { test::remove_scratch_dir(root_); }

    // Runs the program with standard output and error captured outside the work directory.
    ProgramResult run(const std::vector<std::string>& args, const fs::path& cwd = {}) {
        std::vector<std::string> argv = test::wfconv_command({});
        argv.insert(argv.end(), args.begin(), args.end());
        return test::run_program(argv, root_, cwd);
    }

    // Checks a run of `input` (where the input really is: the channel files lie beside it).
    static void expect_run(const fs::path& input, const ProgramResult& got, const Expected& want) {
        EXPECT_TRUE(got.exited) << "the program did not exit normally";
        EXPECT_EQ(got.err, "") << "nothing may go to standard error";
        EXPECT_EQ(got.status, want.status);
        EXPECT_EQ(got.out, want.out);
        for (const int c : {1, 2}) {
            const std::optional<std::string>& text = c == 1 ? want.channel1 : want.channel2;
            const fs::path path = channel_path(input, c);
            if (!text) {
                EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path;
            } else {
                EXPECT_TRUE(fs::is_regular_file(path)) << path;
                EXPECT_EQ(first_difference(read_file(path), *text), "") << path;
            }
        }
        test::expect_library_matches_command(input, want.status, want.out);
    }

    // A run that must succeed, with the channels' data at the given blocks.
    void expect_success(const fs::path& input, const Waveform& w, std::int64_t first1, std::int64_t first2,
                        const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{test::utf8_of(input)};
        args.insert(args.end(), extra.begin(), extra.end());
        expect_run(input, run(args),
                   {0, report(w) + converting(input, 1) + converting(input, 2),
                    channel_text(first1, w.channel1.byte_length / kBlock * kSamples, w.channel1),
                    channel_text(first2, w.channel2.byte_length / kBlock * kSamples, w.channel2)});
    }

    fs::path root_;
    fs::path work_;
};

}  // namespace wfconv::e2e
