// SPDX-License-Identifier: MIT
#pragma once

// What the end-to-end tests share: waveform files written here, the text expected of
// them made independently, and a fixture that runs the built program on them and
// holds both its output and the library's reading to that text.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "library_matches_command.hpp"
#include "program_runner.hpp"
#include "reference.hpp"
#include "waveform_writer.hpp"

namespace wfconv::e2e {

namespace fs = std::filesystem;
using test::float_from_bits;
using test::read_file;
using writer::ChannelFields;

constexpr std::size_t kBlock = writer::kBlock;
constexpr int kSamples = static_cast<int>(writer::kSamples);

// Sample k of data block b: different in every block, both signs, and a zero first.
inline std::int16_t sample_at(int block, int k) {
    if (k == 0) return 0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((block * 40503 + k * 2731) * 7));
}

// Header, data blocks 1..blocks, then the file cut to `size` bytes if given.
struct Waveform {
    Waveform(ChannelFields c1, ChannelFields c2, int data_blocks, std::optional<std::size_t> cut = std::nullopt)
        : channel1(c1), channel2(c2), blocks(data_blocks), size(cut) {}

    ChannelFields channel1;
    ChannelFields channel2;
    int blocks;
    std::optional<std::size_t> size;

    void save(const fs::path& path) const {
        writer::WaveformBuilder builder(channel1, channel2);
        for (int b = 1; b <= blocks; ++b) {
            std::vector<std::int16_t> values;
            values.reserve(kSamples);
            for (int k = 0; k < kSamples; ++k) values.push_back(sample_at(b, k));
            builder.samples(values);
        }
        if (size) builder.truncate(*size);
        builder.save(path);
    }
};

// Two ordinary channels: a millivolt-like scale with an offset, and a binary fraction.
inline ChannelFields first(std::int16_t start, std::uint32_t length) { return writer::channel(start, length, 0.001F, -0.5F); }
inline ChannelFields second(std::int16_t start, std::uint32_t length) {
    return writer::channel(start, length, 0.03125F, 1.0F);
}

// `count` lines of a channel whose data starts at data block `first_block`.
inline std::string channel_text(int first_block, int count, const ChannelFields& fields) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::int16_t raw = sample_at(first_block + i / kSamples, i % kSamples);
        const float value =
            test::reference_sample(raw, float_from_bits(fields.scale_bits), float_from_bits(fields.offset_bits));
        text += test::reference_sci(value, 11, 4) + "\r\n";
    }
    return text;
}

inline std::string report(const Waveform& w) {
    const auto pair = [](std::uint32_t a, std::uint32_t b) {
        return test::reference_sci(float_from_bits(a), 0, 6) + ' ' + test::reference_sci(float_from_bits(b), 0, 6) +
               "\r\n";
    };
    char counts[64];
    std::snprintf(counts, sizeof counts, "%d %d %u %u\r\n", w.channel1.start_block, w.channel2.start_block,
                  w.channel1.byte_length, w.channel2.byte_length);
    return counts + pair(w.channel1.scale_bits, w.channel2.scale_bits) +
           pair(w.channel1.offset_bits, w.channel2.offset_bits);
}

// Names as the program prints them: UTF-8 on every platform.
inline std::string converting(const std::string& input, int channel) {
    return "converting : " + input + " -> " + input + std::to_string(channel) + ".txt\r\n";
}
inline std::string converting(const fs::path& input, int channel) { return converting(test::utf8_of(input), channel); }

inline fs::path channel_path(const fs::path& input, int channel) {
    return test::path_of_utf8(test::utf8_of(input) + std::to_string(channel) + ".txt");
}

class EndToEnd : public ::testing::Test {
protected:
    struct Result {
        int status;
        std::string out;
    };

    void SetUp() override {
        root_ = test::make_scratch_dir("wfconv-e2e-");
        work_ = root_ / "work";
        fs::create_directory(work_);
    }
    void TearDown() override { test::remove_scratch_dir(root_); }

    // Runs the program with standard output and error captured outside the work directory.
    Result run(const std::vector<std::string>& args, const fs::path& cwd = {}) {
        std::vector<std::string> argv = test::wfconv_command({});
        argv.insert(argv.end(), args.begin(), args.end());
        const test::ProgramResult got = test::run_program(argv, root_, cwd);
        EXPECT_TRUE(got.exited) << "the program did not exit normally";
        EXPECT_EQ(got.err, "") << "nothing may go to standard error";
        return {got.status, got.out};
    }

    // Checks a run: status, standard output and each channel file, absent when nullopt.
    void expect_run(const fs::path& input, const Result& got, int status, const std::string& out,
                    const std::optional<std::string>& channel1, const std::optional<std::string>& channel2) {
        EXPECT_EQ(got.status, status);
        EXPECT_EQ(got.out, out);
        for (int c = 1; c <= 2; ++c) {
            const std::optional<std::string>& want = c == 1 ? channel1 : channel2;
            const fs::path path = channel_path(input, c);
            if (!want) {
                EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << path;
            } else {
                EXPECT_TRUE(fs::is_regular_file(path)) << path;
                EXPECT_TRUE(read_file(path) == *want)
                    << path << " differs: " << read_file(path).size() << " bytes, want " << want->size();
            }
        }
        test::expect_library_matches_command(input, status, out);
    }

    // A run that must succeed, with the channels' data at the given blocks.
    void expect_success(const fs::path& input, const Waveform& w, int first1, int first2,
                        const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{test::utf8_of(input)};
        args.insert(args.end(), extra.begin(), extra.end());
        expect_run(input, run(args), 0, report(w) + converting(input, 1) + converting(input, 2),
                   channel_text(first1, static_cast<int>(w.channel1.byte_length / kBlock) * kSamples, w.channel1),
                   channel_text(first2, static_cast<int>(w.channel2.byte_length / kBlock) * kSamples, w.channel2));
    }

    fs::path root_;
    fs::path work_;
};

}  // namespace wfconv::e2e
